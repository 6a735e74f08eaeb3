#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

#include "ModelFakes.h"
#include "Pictures.h"
#include "QtErrorPort.h"
#include "QtPorts.h"
#include "Shell.h"
#include "SystemInfo.h"
#include "AboutDialog.h"
#include "ErrorDialog.h"
#include "GamePictures.h"

using namespace revlane;
using namespace revlane::ui;

namespace {

// Records what the desktop would have been asked to open, for as long as it lives.
struct RecordedTargets {
    QStringList targets;
    platform::ShellOpener previous =
        platform::SetShellOpener([this](const QString& target) { targets << target; });
    ~RecordedTargets() { platform::SetShellOpener(previous); }
};

// Records what Restart Program would start, for as long as it lives.
struct RecordedRestarts {
    QStringList started;
    ErrorDialog::Restarter previous = ErrorDialog::SetRestarter(
        [this](const QString& program, const QString& folder) { started << program << folder; });
    ~RecordedRestarts() { ErrorDialog::SetRestarter(previous); }
};

const QString kReport = QStringLiteral("Error code # 2\r\nDescription: Cannot open 'C:\\Games & Mods\\data': No "
                                       "such file or directory\r\nRoutine: ReadFile\r\nOS: Windows XP");

}  // namespace

class TestDialogs : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    // Every picture the program draws is drawn, whole to its middle and clear in its corner, also
    // at a fractional pixel ratio.
    void pictures()
    {
        for (const qreal ratio : {1.0, 1.5}) {
            for (const QPixmap& drawn : {AppIcon().pixmap(QSize(32, 32), ratio), ErrorPicture(32, ratio), GamePicture(Game::Gta3, ratio),
                                         GamePicture(Game::ViceCity, ratio)}) {
                const QImage image = drawn.toImage();
                QCOMPARE(image.deviceIndependentSize(), QSizeF(32, 32));
                QVERIFY(image.pixelColor(0, 0).alpha() == 0 && image.pixelColor(image.width() / 2, image.height() / 2).alpha() == 255);
            }
            QCOMPARE(AboutBanner(1.0, ratio).toImage().deviceIndependentSize(), QSizeF(600, 76));
        }
    }

    // The banner's name and lanes: bright text where the name is, lanes lighter than the band.
    void bannerText()
    {
        const QImage banner = AboutBanner().toImage();
        int white = 0;
        for (int y = 6; y < 46; ++y)
            for (int x = 20; x < 200; ++x)
                white += banner.pixelColor(x, y).lightness() > 240;
        QVERIFY(white > 100);
        QVERIFY(banner.pixelColor(282, 40).lightness() > banner.pixelColor(300, 40).lightness());
    }

    void sendReportOnceThenRestart()
    {
        RecordedTargets recorded;
        RecordedRestarts restarts;
        ErrorDialog dialog(kReport);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // A fixed dialog titled with the product, in the middle of the screen, the report box first.
        QVERIFY(dialog.windowTitle() == "Revlane" && dialog.minimumSize() == dialog.maximumSize() && dialog.isModal());
        QCOMPARE(dialog.focusWidget(), dialog.txtReport);
        QVERIFY((dialog.geometry().center() - dialog.screen()->availableGeometry().center()).manhattanLength() <= 20);
        // In the dialog font; the report and the buttons each in a place of their own, clear of
        // the texts (the bands and lines lie under everything).
        QCOMPARE(dialog.font().pointSizeF(), 8.25);
        QList<QWidget*> named = dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        named.removeIf([](QWidget* part) { return part->objectName().isEmpty(); });
        for (QWidget* a : QList<QWidget*>{dialog.txtReport, dialog.cmdReport, dialog.cmdRestart, dialog.cmdIgnore}) {
            QVERIFY(dialog.rect().contains(a->geometry()));
            for (QWidget* b : named)
                QVERIFY2(a == b || !a->geometry().intersects(b->geometry()), qPrintable(a->objectName() + " " + b->objectName()));
        }
        for (QLabel* label : dialog.findChildren<QLabel*>())  // each text on its line, or wrapped
            QVERIFY2(label->wordWrap() || label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), qPrintable(label->text()));
        QWidget* next = dialog.txtReport->nextInFocusChain();
        while (dialog.txtReport->isAncestorOf(next))
            next = next->nextInFocusChain();
        QCOMPARE(next, dialog.cmdRestart);
        QTest::mouseClick(dialog.cmdReport, Qt::LeftButton);
        QTest::mouseClick(dialog.cmdReport, Qt::LeftButton);
        // Mailed once, the report as shown with each line break one CR LF again; the dialog stays.
        QCOMPARE(recorded.targets,
                 QStringList(platform::MailTarget(platform::MakerEmail(), "Revlane 1.1.0 error report", kReport)));
        QVERIFY(dialog.isVisible());
        QTest::mouseClick(dialog.cmdRestart, Qt::LeftButton);
        QCOMPARE(restarts.started,
                 QStringList({QCoreApplication::applicationFilePath(), QCoreApplication::applicationDirPath()}));
    }

    void enterReturnsToTheOperation()
    {
        RecordedTargets recorded;
        RecordedRestarts restarts;
        ErrorDialog dialog(kReport);
        // Also in the report box: neither mailing nor restarting happens by accident.
        QTimer::singleShot(0, &dialog, [&dialog] { QTest::keyClick(dialog.txtReport, Qt::Key_Return); });
        // Whatever goes wrong above, the test must not hang in the dialog.
        QTimer::singleShot(3000, &dialog, [&dialog] { dialog.done(99); });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(recorded.targets.isEmpty() && restarts.started.isEmpty());
    }

    void failedSaveShowsTheReport()
    {
        // The installation has gone by the time the file is saved.
        QTemporaryDir temp;
        test::Harness h;
        QtErrorPort errors;
        const QString path = temp.filePath("data/default.ide");
        QDir().mkpath(temp.filePath("data"));
        test::WriteBytes(path, "# c\r\n");
        Document file(h.install, Document::Ports{h.messages, errors, h.clock, StdFileSystem()});
        h.install.DefaultFile = test::FsPath(path);
        QVERIFY(file.Open(FileKind::DefaultIde, Game::Gta3));
        QVERIFY(QDir(temp.filePath("data")).removeRecursively());
        QStringList seen;  // the report of each error dialog, left through Ignore
        QTimer::singleShot(0, [&seen] {
            if (auto* dialog = qobject_cast<ErrorDialog*>(QApplication::activeModalWidget())) {
                seen << dialog->ReportText();
                QTest::mouseClick(dialog->cmdIgnore, Qt::LeftButton);
            }
        });
        QVERIFY(!file.Save());
        QCOMPARE(seen.size(), 1);
        const QRegularExpression report("^Error code # \\d+\r\nDescription: .+\r\nRoutine: SaveFile\r\nOS: (.+)$");
        QCOMPARE(report.match(seen[0]).captured(1), platform::OsName());
    }

    // The window's messages: titled with the product; the button clicked is the answer, and closing
    // the box answers with its escape button.
    void messageBoxes_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("click");  // a standard button; 0: the box is closed
        QTest::addColumn<int>("answer");
        using B = MsgButtons;
        using Q = QMessageBox;
        QTest::newRow("yes") << int(B::YesNoCancel) << int(MsgIcon::Question) << int(Q::Yes) << int(MsgAnswer::Yes);
        QTest::newRow("no") << int(B::YesNo) << int(MsgIcon::Critical) << int(Q::No) << int(MsgAnswer::No);
        QTest::newRow("ok") << int(B::OKCancel) << int(MsgIcon::Exclamation) << int(Q::Ok) << int(MsgAnswer::OK);
        QTest::newRow("closed: cancel") << int(B::YesNoCancel) << int(MsgIcon::Question) << 0 << int(MsgAnswer::Cancel);
        QTest::newRow("closed: no") << int(B::YesNo) << int(MsgIcon::Question) << 0 << int(MsgAnswer::No);
        QTest::newRow("closed: ok") << int(B::OK) << int(MsgIcon::Information) << 0 << int(MsgAnswer::OK);
    }
    void messageBoxes()
    {
        QFETCH(int, buttons);
        QFETCH(int, icon);
        QFETCH(int, click);
        QFETCH(int, answer);
        QString seen;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box)
                return;
            seen = box->windowTitle() + ": " + box->text();
            click ? box->button(QMessageBox::StandardButton(click))->click() : void(box->close());
        });
        QtMessagePort port(nullptr);
        QCOMPARE(int(port.ShowMessage("Save changes to caf\xc3\xa9?", MsgButtons(buttons), MsgIcon(icon))), answer);
        QCOMPARE(seen, QString("Revlane: Save changes to caf\u00e9?"));
    }

    void memoryLine_data()
    {
        QTest::addColumn<quint64>("bytes");
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<QString>("figure");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("half") << quint64(1536) << english << "1.5";
        QTest::newRow("whole") << quint64(1024) << english << "1";
        QTest::newRow("user's decimal comma") << quint64(1536) << german << "1,5";
        QTest::newRow("no group separators") << quint64(16) * 1024 * 1024 * 1024 << german << "16777216";
    }
    void memoryLine()
    {
        QFETCH(quint64, bytes);
        QFETCH(QLocale, locale);
        QFETCH(QString, figure);
        QCOMPARE(AboutDialog::MemoLine(bytes, "Windows", locale),
                 "Physical memory available to Windows: " + figure + " KB");
    }

    void aboutBox()
    {
        // Where the system does not say, the memory line waits.
        QCOMPARE(AboutDialog(nullptr, [] { return std::optional<quint64>(); }).lblMemo->text(), QStringLiteral("..."));
        std::optional<quint64> available = 1536;
        AboutDialog box(nullptr, [&available] { return available; });
        const QString memo = "Physical memory available to " + platform::SystemShortName() + ": ";
        QCOMPARE(box.lblMemo->text(), memo + "1.5 KB");
        // The maker's name is whole, however long the build made it.
        QVERIFY(box.lblAuthor->width() >= box.lblAuthor->sizeHint().width());
        QVERIFY(box.lblAuthor->geometry().right() < box.width());
        box.show();
        QVERIFY(QTest::qWaitForWindowActive(&box));
        QVERIFY(box.windowTitle() == "About Revlane" && box.isModal() && box.minimumSize() == box.maximumSize());
        QCOMPARE(box.lblTitle->palette().color(QPalette::WindowText), QColor(Qt::black));
        QVERIFY(box.lblTitle->font().bold() && box.lblAuthor->font().underline() && box.lblWebsite->font().underline());
        QCOMPARE(box.lblVersion->text(), QString("Version 1.1.0"));

        // The icon's tile, left of the title, is drawn over the plain background.
        const QImage shot = box.grab().toImage();
        const qreal scale = PixelScale(&box) * shot.devicePixelRatio();
        const auto pixel = [&](int x, int y) { return shot.pixelColor(QPoint(qRound(x * scale), qRound(y * scale))); };
        QVERIFY(pixel(42, 113) != pixel(10, 150));
        QCOMPARE(pixel(70, 113), pixel(10, 150));

        // The memory line follows the system while the box is open.
        available = 3 * 1024;
        QTRY_COMPARE_WITH_TIMEOUT(box.lblMemo->text(), memo + "3 KB", 1500);
        QTest::keyClick(&box, Qt::Key_Return);  // OK is the default button
        QVERIFY(!box.isVisible());
    }

    void linksOpenOnLeftButtonDown()
    {
        RecordedTargets recorded;
        AboutDialog box(nullptr, [] { return std::optional<quint64>(1024); });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        const QStringList targets{"mailto:" + platform::MakerEmail() + "?subject=Revlane:&body=",
                                  platform::MakerWebsite()};
        for (int i = 0; i < 2; ++i) {
            QLabel* link = i == 0 ? box.lblAuthor : box.lblWebsite;
            QTest::mouseClick(link, Qt::RightButton);  // other buttons do nothing
            QTest::mouseClick(link, Qt::MiddleButton);
            // Pressed only: the link must not wait for the button to come up.
            QTest::mousePress(link, Qt::LeftButton);
            QCOMPARE(recorded.targets, targets.mid(0, i + 1));
            QTest::mouseRelease(link, Qt::LeftButton);
        }
        QCOMPARE(recorded.targets, targets);
        QVERIFY(box.isVisible());
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
