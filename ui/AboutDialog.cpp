#include "AboutDialog.h"

#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>

#include "Diagnostics.h"
#include "Pictures.h"
#include "Shell.h"
#include "SystemInfo.h"

namespace revlane::ui {

namespace {

QLabel* AddLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry, bool bold = false)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(DialogFont(bold));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QLabel* AddLink(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    QLabel* link = AddLabel(parent, name, text, geometry);
    QFont font = link->font();
    font.setUnderline(true);
    link->setFont(font);
    QPalette palette = link->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 192));
    link->setPalette(palette);
    // The hand over the link; leaving the label gives the ordinary cursor back.
    link->setCursor(Qt::PointingHandCursor);
    // The maker's name is set when the program is built and may be longer than its place:
    // the link grows to show all of it, as far as the window's edge.
    const int room = parent->width() - geometry.left();
    link->resize(qMin(qMax(geometry.width(), link->sizeHint().width()), room), geometry.height());
    return link;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent) : AboutDialog(parent, &platform::AvailablePhysicalMemory) {}

AboutDialog::AboutDialog(QWidget* parent, MemorySource memory)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      memory_(std::move(memory))
{
    setWindowTitle(QStringLiteral("About Revlane"));
    setFont(DialogFont());
    setModal(true);
    setFixedSize(TwipRect(this, 0, 0, 6180, 4935).size());
    const auto twips = [this](int left, int top, int width, int height) {
        return TwipRect(this, left, top, width, height);
    };
    const qreal scale = PixelScale(this);

    // Wider than the box: its right part is cut off.
    auto* picTop = new QLabel(this);
    picTop->setObjectName(QStringLiteral("picTop"));
    picTop->setPixmap(AboutBanner(scale, devicePixelRatioF()));
    picTop->setGeometry(twips(0, 0, 9000, 1140));
    picTop->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    lblTitle = AddLabel(this, "lblTitle", QStringLiteral("Revlane"), twips(1200, 1440, 4695, 255), true);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);
    lblVersion = AddLabel(this, "lblVersion", QString(), twips(1200, 1680, 4695, 255), true);
    AddLabel(this, "lblFor", QStringLiteral("For GTA III / Vice City"), twips(1200, 2040, 1935, 195));
    AddLabel(this, "lblCredit", QString::fromUtf8(REVLANE_CREDIT_LINE), twips(1200, 2280, 1980, 195));
    lblAuthor = AddLink(this, "lblAuthor", QString::fromUtf8(REVLANE_MAKER_NAME), twips(3360, 2280, 1290, 195));
    lblWebsite = AddLink(this, "lblWebsite", QStringLiteral("Revlane website"), twips(1200, 2760, 1620, 195));
    lblAuthor->installEventFilter(this);
    lblWebsite->installEventFilter(this);

    const QRect line = twips(1200, 3720, 4800, 15);
    const int lineHeight = qMax(1, qRound(scale));
    AddFill(this, palette().color(QPalette::Dark), QRect(line.left(), line.top(), line.width(), lineHeight));
    AddFill(this, palette().color(QPalette::Light),
            QRect(line.left(), twips(0, 3735, 0, 0).top(), line.width(), lineHeight));

    lblOsName = AddLabel(this, "lblOsName", QStringLiteral("..."), twips(1200, 3840, 4815, 255));
    lblMemo = AddLabel(this, "lblMemo", QStringLiteral("..."), twips(1200, 4080, 4815, 255));

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setFont(DialogFont(true));
    cmdOK->setGeometry(twips(4680, 4440, 1335, 375));
    // Enter presses OK; Escape closes the dialog, which is the same.
    cmdOK->setDefault(true);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);

    lblVersion->setText(QStringLiteral("Version " REVLANE_VERSION));
    lblOsName->setText(platform::OsName());
    iconAt_ = QPoint(qRound(26 * scale), qRound(97 * scale));
    iconSize_ = qRound(32 * scale);
    ShowMemoStats();

    tmrMemo = new QTimer(this);
    tmrMemo->setObjectName(QStringLiteral("tmrMemo"));
    tmrMemo->setInterval(1000);
    connect(tmrMemo, &QTimer::timeout, this, &AboutDialog::ShowMemoStats);
    tmrMemo->start();
}

QString AboutDialog::MemoLine(quint64 bytes, const QString& systemName, const QLocale& locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(plain.numberOptions() | QLocale::OmitGroupSeparator);
    // Fifteen significant digits write every kilobyte count a machine can have in full,
    // and drop trailing zeros: 1536 bytes give 1.5, 1024 give 1.
    const QString kilobytes = plain.toString(static_cast<double>(bytes) / 1024.0, 'g', 15);
    return QStringLiteral("Physical memory available to ") + systemName + QStringLiteral(": ") + kilobytes
           + QStringLiteral(" KB");
}

void AboutDialog::ShowMemoStats()
{
    const std::optional<quint64> available = memory_ ? memory_() : std::nullopt;
    if (available)
        lblMemo->setText(MemoLine(*available, platform::SystemShortName()));
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event)
{
    // A link opens as the left button goes down on it; other buttons do nothing.
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblAuthor) {
            platform::SendMail(QStringLiteral("Revlane:"), QString());
            return true;
        }
        if (watched == lblWebsite) {
            platform::OpenWebsite();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void AboutDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    DrawAppIcon(painter, iconAt_, iconSize_);
}

}  // namespace revlane::ui
