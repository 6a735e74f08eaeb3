#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

#include "ConfigFile.h"
#include "FileSystem.h"
#include "ModelFakes.h"
#include "Pictures.h"
#include "QtErrorPort.h"
#include "Shell.h"
#include "SystemInfo.h"
#include "Views.h"
#include "frmAbout.h"
#include "frmError.h"

using namespace revlane;
using namespace revlane::ui;

namespace {

struct RecordedTargets {
    QStringList targets;
    platform::ShellOpener previous;
    RecordedTargets()
    {
        previous = platform::SetShellOpener([this](const QString& target) { targets << target; });
    }
    ~RecordedTargets() { platform::SetShellOpener(previous); }
};

const QString kReport = QStringLiteral("Error code # 2\r\nDescription: Cannot open 'C:\\Games & Mods\\data': No "
                                       "such file or directory\r\nRoutine: ReadFile\r\nOS: Windows XP");

// When the event loop next runs (inside the modal dialog's own), takes the report from the
// error dialog on top and leaves it through Ignore.
void IgnoreErrorDialogSoon(QStringList& seen)
{
    QTimer::singleShot(0, [&seen] {
        if (auto* dialog = qobject_cast<frmError*>(QApplication::activeModalWidget())) {
            seen << dialog->ReportText();
            QVERIFY(dialog->cmdReport->isEnabled());
            QTest::mouseClick(dialog->cmdIgnore, Qt::LeftButton);
        }
    });
}

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void sendReportOnce_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("body");
        QTest::newRow("four lines") << kReport
                                    << QStringLiteral("Error%20code%20%23%202%0ADescription:%20Cannot%20open%20'C:\\Games"
                                                      "%20%26%20Mods\\data':%20No%20such%20file%20or%20directory%0A"
                                                      "Routine:%20ReadFile%0AOS:%20Windows%20XP");
        QTest::newRow("two lines") << QStringLiteral("Error code # 7\r\nDescription: Out of memory")
                                   << QStringLiteral("Error%20code%20%23%207%0ADescription:%20Out%20of%20memory");
        QTest::newRow("empty") << QString() << QString();
    }
    void sendReportOnce()
    {
        QFETCH(QString, report);
        QFETCH(QString, body);
        RecordedTargets recorded;
        frmError dialog(report);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.ReportText(), report);
        QVERIFY(dialog.cmdReport->isEnabled());

        QTest::mouseClick(dialog.cmdReport, Qt::LeftButton);
        QCOMPARE(recorded.targets,
                 QStringList(QStringLiteral("mailto:") + platform::MakerEmail()
                             + QStringLiteral("?subject=Revlane%201.1.0%20error%20report&body=") + body));
        QVERIFY(!dialog.cmdReport->isEnabled());
        QVERIFY(dialog.isVisible());

        QTest::mouseClick(dialog.cmdReport, Qt::LeftButton);
        QCOMPARE(recorded.targets.size(), 1);
    }

    void restartStartsThisProgramInItsFolder()
    {
        QStringList started;
        const frmError::Restarter previous = frmError::SetRestarter(
            [&started](const QString& program, const QString& folder) { started << program << folder; });
        frmError dialog(kReport);
        dialog.show();
        QTest::mouseClick(dialog.cmdRestart, Qt::LeftButton);
        frmError::SetRestarter(previous);
        QCOMPARE(started, QStringList({QCoreApplication::applicationFilePath(), QCoreApplication::applicationDirPath()}));
    }

    void everyWayOutReturnsToTheOperation_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("Ignore") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("Enter") << 2;
        QTest::newRow("close box") << 3;
    }
    void everyWayOutReturnsToTheOperation()
    {
        QFETCH(int, way);
        RecordedTargets recorded;
        QStringList started;
        const frmError::Restarter previous =
            frmError::SetRestarter([&started](const QString& program, const QString&) { started << program; });
        frmError dialog(kReport);
        QTimer::singleShot(0, &dialog, [&dialog, way] {
            switch (way) {
            case 0: QTest::mouseClick(dialog.cmdIgnore, Qt::LeftButton); break;
            case 1: QTest::keyClick(&dialog, Qt::Key_Escape); break;
            case 2: QTest::keyClick(dialog.txtReport, Qt::Key_Return); break;
            default: dialog.close(); break;
            }
        });
        // Whatever goes wrong above, the test must not hang in the dialog.
        QTimer::singleShot(3000, &dialog, [&dialog] { dialog.done(99); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        frmError::SetRestarter(previous);
        QVERIFY(recorded.targets.isEmpty());
        QVERIFY(started.isEmpty());
    }

    void tabOrderStartsInTheReport()
    {
        frmError dialog(kReport);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(dialog.txtReport));
        QList<QWidget*> order;
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            order << QApplication::focusWidget();
        }
        QCOMPARE(order, (QList<QWidget*>{dialog.cmdRestart, dialog.cmdIgnore, dialog.cmdReport}));
    }

    void failedSaveShowsTheReport()
    {
        QTemporaryDir temp;
        QVERIFY(temp.isValid());
        QVERIFY(QDir(temp.path()).mkpath(QStringLiteral("game/data")));
        const QString path = temp.path() + QStringLiteral("/game/data/default.ide");
        test::WriteBytes(path, "# vehicles\r\ncars\r\n90, landstal, landstal, car, LANDSTAL, LANDSTK, null, "
                               "richfamily, 10, 7, 0, 255, 0.8\r\nend\r\n");

        test::Harness h;
        QtErrorPort errors;
        ConfigFile file(h.grid, ConfigFile::Ports{h.messages, errors, h.view, h.clock, StdFileSystem()});
        const ViewGeometry geometry = GeometryFor(FileKind::DefaultIde, Game::Gta3);
        PrepareGrid(h.grid, geometry);
        file.MaxVehicles = geometry.maxVehicles;
        file.DefaultMode = true;
        file.FirstVehicleId = "90,";
        file.DefaultFile = test::FsPath(path);

        QStringList seen;
        IgnoreErrorDialogSoon(seen);
        file.ReadFile();
        QCoreApplication::processEvents();
        QCOMPARE(seen, QStringList());
        QVERIFY(file.IsVehicleRow(1));

        // The installation goes away while the file is open.
        QVERIFY(QDir(temp.path() + QStringLiteral("/game")).removeRecursively());
        IgnoreErrorDialogSoon(seen);
        QVERIFY(!file.SaveFile());

        QCOMPARE(seen.size(), 1);
        const QStringList lines = seen[0].split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 4);
        QVERIFY2(lines[0].startsWith(QStringLiteral("Error code # ")), qPrintable(lines[0]));
        QVERIFY2(lines[1].startsWith(QStringLiteral("Description: ")), qPrintable(lines[1]));
        QCOMPARE(lines[2], QStringLiteral("Routine: SaveFile"));
        QCOMPARE(lines[3], QStringLiteral("OS: ") + platform::OsName());
        QCOMPARE(ErrorReport(), seen[0]);
        QVERIFY(h.messages.shown.empty());
    }

    void memoryLine_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("figure");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("half") << quint64(1536) << english << QStringLiteral("1.5");
        QTest::newRow("whole") << quint64(1024) << english << QStringLiteral("1");
        QTest::newRow("none") << quint64(0) << english << QStringLiteral("0");
        QTest::newRow("user's decimal comma") << quint64(1536) << german << QStringLiteral("1,5");
        QTest::newRow("no group separators") << quint64(16) * 1024 * 1024 * 1024 << english << QStringLiteral("16777216");
        QTest::newRow("no group dots either") << quint64(16) * 1024 * 1024 * 1024 << german << QStringLiteral("16777216");
        QTest::newRow("all the digits") << quint64(1234567) << english << QStringLiteral("1205.6318359375");
        QTest::newRow("a terabyte") << (quint64(1) << 40) << english << QStringLiteral("1073741824");
    }
    void memoryLine()
    {
        QFETCH(quint64, bytes);
        QFETCH(QLocale, locale);
        QFETCH(QString, figure);
        QCOMPARE(frmAbout::MemoLine(bytes, QStringLiteral("Windows"), locale),
                 QStringLiteral("Physical memory available to Windows: ") + figure + QStringLiteral(" KB"));
    }

    void aboutBoxShowsAndRefreshes()
    {
        quint64 available = 1536;
        frmAbout box(nullptr, [&available] { return std::optional<quint64>(available); });
        QCOMPARE(box.windowTitle(), QStringLiteral("About Revlane"));
        QCOMPARE(box.lblVersion->text(), QStringLiteral("Version 1.1.0"));
        QCOMPARE(box.lblOsName->text(), platform::OsName());
        const QString memo = QStringLiteral("Physical memory available to ") + platform::SystemShortName();
        QCOMPARE(box.lblMemo->text(), memo + QStringLiteral(": 1.5 KB"));
        // The maker's name is whole, however long the build made it.
        QVERIFY(box.lblAuthor->width() >= box.lblAuthor->sizeHint().width());
        QVERIFY(box.lblAuthor->geometry().right() < box.width());

        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        available = 3 * 1024;
        QTRY_COMPARE_WITH_TIMEOUT(box.lblMemo->text(), memo + QStringLiteral(": 3 KB"), 1500);
    }

    void memoryLineWaitsWhereTheSystemDoesNotSay()
    {
        frmAbout box(nullptr, [] { return std::optional<quint64>(); });
        QCOMPARE(box.lblMemo->text(), QStringLiteral("..."));
    }

    void aboutBoxDrawsTheProgramIcon()
    {
        frmAbout box(nullptr, [] { return std::optional<quint64>(1024); });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QImage shot = box.grab().toImage();
        const qreal scale = PixelScale(&box) * shot.devicePixelRatio();
        const QColor background = shot.pixelColor(QPoint(qRound(10 * scale), qRound(150 * scale)));
        // The middle of the icon's tile, left of the title: drawn over the plain background.
        QVERIFY(shot.pixelColor(QPoint(qRound(28 * scale), qRound(99 * scale))) != background);
        QVERIFY(shot.pixelColor(QPoint(qRound(42 * scale), qRound(113 * scale))) != background);
        QCOMPARE(shot.pixelColor(QPoint(qRound(70 * scale), qRound(113 * scale))), background);
    }

    void linksOpenOnLeftButtonDown_data()
    {
        QTest::addColumn<bool>("website");
        QTest::addColumn<Qt::MouseButton>("button");
        QTest::addColumn<bool>("opens");
        QTest::newRow("mail, left") << false << Qt::LeftButton << true;
        QTest::newRow("mail, right") << false << Qt::RightButton << false;
        QTest::newRow("mail, middle") << false << Qt::MiddleButton << false;
        QTest::newRow("web, left") << true << Qt::LeftButton << true;
        QTest::newRow("web, right") << true << Qt::RightButton << false;
        QTest::newRow("web, middle") << true << Qt::MiddleButton << false;
    }
    void linksOpenOnLeftButtonDown()
    {
        QFETCH(bool, website);
        QFETCH(Qt::MouseButton, button);
        QFETCH(bool, opens);
        RecordedTargets recorded;
        frmAbout box(nullptr, [] { return std::optional<quint64>(1024); });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QLabel* link = website ? box.lblWebsite : box.lblAuthor;
        QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);

        // Pressed only: the link must not wait for the button to come up.
        QTest::mousePress(link, button);
        const QString target = website ? platform::MakerWebsite()
                                       : QStringLiteral("mailto:") + platform::MakerEmail()
                                             + QStringLiteral("?subject=Revlane:&body=");
        QCOMPARE(recorded.targets, opens ? QStringList(target) : QStringList());
        QTest::mouseRelease(link, button);
        QCOMPARE(recorded.targets.size(), opens ? 1 : 0);
        QVERIFY(box.isVisible());
    }

    void okEnterAndEscapeClose_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("OK") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Escape") << 2;
    }
    void okEnterAndEscapeClose()
    {
        QFETCH(int, way);
        frmAbout box(nullptr, [] { return std::optional<quint64>(1024); });
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        if (way == 0)
            QTest::mouseClick(box.cmdOK, Qt::LeftButton);
        else
            QTest::keyClick(&box, way == 1 ? Qt::Key_Return : Qt::Key_Escape);
        QVERIFY(!box.isVisible());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
