#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <optional>

#include "AboutDialog.h"
#include "ErrorReport.h"
#include "ErrorDialog.h"
#include "ModelFakes.h"
#include "QtErrorPort.h"
#include "QtPorts.h"
#include "Shell.h"
#include "SystemInfo.h"

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

    // The error dialog: titled with the product, the report first; Send mails it to the maker once,
    // as shown, and Restart starts the program anew.
    void sendReportOnceThenRestart()
    {
        RecordedTargets recorded;
        RecordedRestarts restarts;
        ErrorDialog dialog(kReport);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.windowTitle() == "Revlane" && dialog.isModal());
        QCOMPARE(dialog.focusWidget(), dialog.txtReport);
        QCOMPARE(dialog.ReportText(), kReport);
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

    void reportsShowInTheDialog()
    {
        // A report as the model makes one, for a save whose folder has gone. Enter, also in the
        // report box, goes back to the operation: neither mailing nor restarting happens by accident.
        RecordedTargets recorded;
        RecordedRestarts restarts;
        QtErrorPort errors;
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            if (auto* dialog = qobject_cast<ErrorDialog*>(QApplication::activeModalWidget())) {
                seen << dialog->ReportText();
                QTest::keyClick(dialog->txtReport, Qt::Key_Return);
            }
        });
        ContinueOnError run("SaveFile", errors);
        run.Step([] { platform::Disk().WriteAll("gone/gone/default.ide", "x"); });
        run.Finish();
        QVERIFY(seen.size() == 1 && recorded.targets.isEmpty() && restarts.started.isEmpty());
        const QRegularExpression report("^Error code # \\d+\r\nDescription: .+\r\nRoutine: SaveFile\r\nOS: (.+)$");
        QCOMPARE(report.match(seen[0]).captured(1), platform::OsName());
    }

    // The window's messages: titled with the product; the button clicked is the answer, and closing
    // the box answers with its escape button.
    void messageBoxes_data()
    {
        QTest::addColumn<int>("buttons");
        QTest::addColumn<int>("click");  // a standard button; 0: the box is closed
        QTest::addColumn<int>("answer");
        using B = MsgButtons;
        using Q = QMessageBox;
        QTest::newRow("yes") << int(B::YesNoCancel) << int(Q::Yes) << int(MsgAnswer::Yes);
        QTest::newRow("closed: cancel") << int(B::YesNoCancel) << 0 << int(MsgAnswer::Cancel);
    }
    void messageBoxes()
    {
        QFETCH(int, buttons);
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
        QCOMPARE(int(port.ShowMessage("Save changes to caf\xc3\xa9?", MsgButtons(buttons), MsgIcon::Question)), answer);
        QCOMPARE(seen, QString("Revlane: Save changes to caf\u00e9?"));
    }

    void linksOpenOnLeftButtonDown()
    {
        RecordedTargets recorded;
        AboutDialog box(nullptr, [] { return std::optional<quint64>(1024); });
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        QTest::mouseClick(box.lblAuthor, Qt::LeftButton);
        QTest::mouseClick(box.lblWebsite, Qt::LeftButton);
        QCOMPARE(recorded.targets, (QStringList{"mailto:" + platform::MakerEmail() + "?subject=Revlane:&body=", platform::MakerWebsite()}));
    }
};

QTEST_MAIN(TestDialogs)
#include "test_dialogs.moc"
