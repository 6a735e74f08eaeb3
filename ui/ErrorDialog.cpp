#include "ErrorDialog.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include <cstdlib>
#include <utility>

#include "Pictures.h"
#include "Shell.h"

namespace revlane::ui {

namespace {

ErrorDialog::Restarter& InstalledRestarter()
{
    static ErrorDialog::Restarter restarter;
    return restarter;
}

// Starts the program again and ends this instance on the spot: no window closes, no
// settings are written, nothing of the failed state is carried on. Whether the new
// instance started is not examined; this one ends all the same.
[[noreturn]] void RestartNow(const QString& program, const QString& folder)
{
    QProcess::startDetached(program, QStringList(), folder);
    std::_Exit(EXIT_SUCCESS);
}

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& geometry, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setFont(DialogFont(bold));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QPushButton* AddButton(QWidget* parent, const QString& text, const QRect& geometry, bool bold = false)
{
    auto* button = new QPushButton(text, parent);
    button->setFont(DialogFont(bold));
    button->setGeometry(geometry);
    return button;
}

}  // namespace

ErrorDialog::ErrorDialog(const QString& report, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("Revlane"));
    setFont(DialogFont());
    setModal(true);
    setFixedSize(TwipRect(this, 0, 0, 6285, 4095).size());

    const QPalette system = palette();
    const auto twips = [this](int left, int top, int width, int height) {
        return TwipRect(this, left, top, width, height);
    };

    AddFill(this, Qt::white, twips(0, 0, 6255, 855));
    auto* lblTop = AddLabel(this, QStringLiteral("Revlane has encountered an internal error."), twips(240, 120, 5055, 225), true);
    lblTop->setObjectName(QStringLiteral("lblTop"));
    lblTop->setWordWrap(false);

    auto* imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    const QRect iconRect = twips(5520, 165, 480, 480);
    imgIcon->setPixmap(ErrorPicture(iconRect.width(), devicePixelRatioF()));
    imgIcon->setGeometry(iconRect);

    // The etched separator under the header band, across the whole width.
    const int lineHeight = qMax(1, qRound(PixelScale(this)));
    AddFill(this, system.color(QPalette::Dark), QRect(0, twips(0, 850, 0, 0).top(), width(), lineHeight));
    AddFill(this, Qt::white, QRect(0, twips(0, 870, 0, 0).top(), width(), lineHeight));

    AddLabel(this,
             QStringLiteral("To avoid possible errors in the opened files, it is recommended to discard any changes "
                            "made to the last opened file."),
             twips(240, 960, 5895, 495))
        ->setObjectName(QStringLiteral("lblMain"));
    AddLabel(this,
             QStringLiteral("If this problem persist, try to replace the opened file with an original copy and retry."),
             twips(240, 1440, 5895, 495))
        ->setObjectName(QStringLiteral("lblSecond"));

    txtReport = new QPlainTextEdit(this);
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setReadOnly(true);
    txtReport->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtReport->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QPalette reportPalette = txtReport->palette();
    reportPalette.setColor(QPalette::Base, system.color(QPalette::Button));
    txtReport->setPalette(reportPalette);
    txtReport->setGeometry(twips(240, 2160, 5775, 1095));
    // The box shows lines; the report's CR LF pairs would show up as stray characters.
    QString shown = report;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    txtReport->setPlainText(shown);

    const QRect lower = twips(120, 3480, 6000, 15);
    AddFill(this, system.color(QPalette::Dark), QRect(lower.left(), lower.top(), lower.width(), lineHeight));
    AddFill(this, Qt::white, QRect(lower.left(), twips(0, 3495, 0, 0).top(), lower.width(), lineHeight));

    cmdReport = AddButton(this, QStringLiteral("Send Report"), twips(960, 3600, 1815, 375));
    cmdReport->setObjectName(QStringLiteral("cmdReport"));
    cmdRestart = AddButton(this, QStringLiteral("Restart Program"), twips(2880, 3600, 1815, 375));
    cmdRestart->setObjectName(QStringLiteral("cmdRestart"));
    cmdIgnore = AddButton(this, QStringLiteral("Ignore"), twips(4800, 3600, 1335, 375), true);
    cmdIgnore->setObjectName(QStringLiteral("cmdIgnore"));
    // Enter goes on with the operation: neither mailing nor restarting happens by accident.
    cmdIgnore->setDefault(true);

    setTabOrder(txtReport, cmdRestart);
    setTabOrder(cmdRestart, cmdIgnore);
    setTabOrder(cmdIgnore, cmdReport);
    txtReport->setFocus();

    connect(cmdReport, &QPushButton::clicked, this, &ErrorDialog::cmdReport_Click);
    connect(cmdRestart, &QPushButton::clicked, this, &ErrorDialog::cmdRestart_Click);
    connect(cmdIgnore, &QPushButton::clicked, this, &QDialog::reject);

    // Centred on the screen, also when the error comes before the main window shows.
    const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame(QPoint(), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

QString ErrorDialog::ReportText() const
{
    QString text = txtReport->toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

ErrorDialog::Restarter ErrorDialog::SetRestarter(Restarter restarter)
{
    return std::exchange(InstalledRestarter(), std::move(restarter));
}

void ErrorDialog::cmdReport_Click()
{
    platform::SendMail(QStringLiteral("Revlane " REVLANE_VERSION " error report"), ReportText());
    // Once per dialog, whatever the mail program made of it.
    cmdReport->setEnabled(false);
}

void ErrorDialog::cmdRestart_Click()
{
    const QString program = QCoreApplication::applicationFilePath();
    const QString folder = QCoreApplication::applicationDirPath();
    if (const Restarter& restarter = InstalledRestarter())
        restarter(program, folder);
    else
        RestartNow(program, folder);
}

}  // namespace revlane::ui
