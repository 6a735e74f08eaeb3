#include "MainWindow.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include <functional>

#include "ControlMaker.h"
#include "FindBar.h"
#include "GameCheckView.h"
#include "GridView.h"
#include "ImportBox.h"
#include "Layout.h"
#include "Pictures.h"
#include "RecordTabs.h"
#include "VehicleTableModel.h"
#include "WindowFrame.h"

// Building the main window's controls, and the layout pass that fits them to the window's size.
namespace revlane::ui {

namespace {

// The layout pass works on the window's outer size. Frames differ between systems and window
// managers (and there is none offscreen), so the outer size is the client area plus the frame
// of the classic fixed single-line window the layout was designed for.
constexpr int kFrameWidthTwips = 90;
constexpr int kFrameHeightTwips = 375;

}  // namespace

MainWindow::MainWindow(Services services, QWidget* parent)
    : QWidget(parent),
      serviceSet_(this, services),
      services_(serviceSet_.Get()),
      document(install, Document::Ports{*services_.messages, *services_.errors, *services_.clock, *services_.files}),
      marks(document, defaultLines, CaptionTable_),
      check_(document, defaultLines, install, *services_.files),
      import(document, ExpressImport::Ports{*services_.messages, *services_.errors}),
      restore(document, import, defaultLines, RestoreDefaults::Ports{*services_.messages, *services_.errors})
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(DialogFont());
    BuildControls();
    SetTabOrder();
    ConnectControls();
    SetUpEditing();
    SetUpValues();
    SetUpComparing();
    Form_Load();
}

MainWindow::MainWindow() : MainWindow(Services{}) {}

MainWindow::~MainWindow() = default;

int MainWindow::Px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

void MainWindow::BuildControls()
{
    resize(Px(9150), Px(6750));
    const ControlMaker make{this};
    const auto name = [](QWidget* widget, const char* text) {
        widget->setObjectName(QLatin1String(text));
        return widget;
    };

    lblMode = make.Label(this, "Editor mode", true, 120, 120, 1935, 255);
    name(make.Line(this, 120, 360, 2040), "Linea1");
    auto* image = new QLabel(this);
    make.Place(name(image, "Image1"), 120, 480, 480, 480);
    // From the window's own icon, which then needs not draw this size again.
    image->setPixmap(windowIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    optDefault = make.Option(this, "default.ide", 720, 480, 1335, 255);
    optHandling = make.Option(this, "handling.cfg", 720, 720, 1335, 255);
    name(make.Label(this, "GTA installation to use", true, 2280, 120, 3615, 255), "lblInstallpath");
    name(make.Line(this, 2280, 360, 9000), "Linea0");
    auto* games = name(new QWidget(this), "Picture1");
    make.Place(games, 2280, 480, 1215, 495);
    optGta3 = make.Option(games, "GTA III", 0, 0, 1095, 255);
    optVice = make.Option(games, "Vice City", 0, 240, 1095, 255);
    imgGame = new QLabel(this);
    make.Place(imgGame, 3510, 480, 495, 495);
    name(make.Label(this, "Installation path:", false, 4080, 480, 3735, 255), "lblPath");
    txtPath = make.ReadOnlyBox(this, 4080, 720, 3735, 285);
    cmdBrowse = make.Button(this, "Browse...", false, 7920, 720, 1095, 315);
    lblProcessed = make.Label(this, "Main file settings  [Enter or double-click to edit]  [any key to replace]", true,
                              120, 1200, 8895, 255);
    lblStatus = make.Label(this, "", false, 120, 1200, 8895, 255);
    lblStatus->hide();
    gridLine_ = name(make.Line(this, 120, 1440, 9000), "Linea2");
    Grid1 = new GridView(this);
    table_ = new VehicleTableModel(document, marks, CaptionTable_, undo_, Grid1);
    Grid1->SetTable(table_);
    table_->SetGameCheck(&check_);
    checkView_ = new GameCheckView({document, check_, Grid1, lblProcessed, *services_.messages, [this] { return Commit(); }}, this);
    connect(checkView_, &GameCheckView::told, this, [this](const QString& text) { ShowStatus(text); });
    connect(checkView_, &GameCheckView::fileChanged, this, [this](const QString& text) {
        const QString said = lblStatus->isVisible() ? lblStatus->text() : QString();
        ShowStatus(said.isEmpty() ? text : said + (said.endsWith(QLatin1Char('.')) ? " " : ". ") + text);
    });
    make.Place(Grid1, 120, 1560, 8895, 2175);
    recordTabs_ = new RecordTabs(document, [this] { return Commit(); }, this);
    connect(recordTabs_, &RecordTabs::viewChosen, this, [this] { Grid1->ShowStart(); });
    BuildBottomArea();

    const std::pair<QWidget*, const char*> named[] = {
        {Grid1, "Grid1"},     {lblMode, "lblMode"},   {optDefault, "optDefault"},     {optHandling, "optHandling"},
        {optGta3, "optGta3"}, {optVice, "optVice"},   {imgGame, "imgGame"},           {txtPath, "txtPath"},
        {cmdBrowse, "cmdBrowse"}, {lblProcessed, "lblProcessed"}, {lblStatus, "lblStatus"},
    };
    for (const auto& [widget, text] : named)
        name(widget, text);

    // Until a game's installation is set up and a file is read, these do nothing.
    for (QWidget* w : std::initializer_list<QWidget*>{lblMode, optDefault, optHandling, lblProcessed, Grid1, cmdRun,
                                                      cmdSave, cmdReload})
        w->setEnabled(false);
}

void MainWindow::BuildBottomArea()
{
    const ControlMaker make{this};
    picBottom = new QWidget(this);
    picBottom->setObjectName(QStringLiteral("picBottom"));
    make.Place(picBottom, 120, 3840, 9015, 2775);
    importBox_ = new ImportBox({document, import, restore, undo_, *services_.messages, [this] { return Commit(); }}, make,
                               picBottom);
    connect(importBox_, &ImportBox::told, this, [this](const QString& text) { ShowStatus(text); });
    connect(importBox_, &ImportBox::replaced, this, [this](int row) { Grid1->MoveTo(row, Grid1->currentIndex().column()); });
    make.Line(picBottom, 0, 2280, 8880)->setObjectName(QStringLiteral("Linea5"));
    auto* about = make.Button(picBottom, "About...", false, 0, 2400, 1215, 375);
    cmdRun = make.Button(picBottom, "Run GTA III", true, 2640, 2400, 2295, 375);
    cmdSave = make.Button(picBottom, "Save", true, 5040, 2400, 1215, 375);
    cmdReload = make.Button(picBottom, "Reload", false, 6360, 2400, 1215, 375);
    auto* exit = make.Button(picBottom, "Exit", false, 7680, 2400, 1215, 375);
    about->setObjectName(QStringLiteral("cmdAbout"));
    cmdRun->setObjectName(QStringLiteral("cmdRun"));
    cmdSave->setObjectName(QStringLiteral("cmdSave"));
    cmdReload->setObjectName(QStringLiteral("cmdReload"));
    exit->setObjectName(QStringLiteral("cmdExit"));
    connect(about, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(exit, &QPushButton::clicked, this, [this] { close(); });
}

void MainWindow::SetTabOrder()
{
    const char* const order[] = {"Grid1",     "cmdBrowse",  "txtPath",    "txtImport",  "cmdPaste",   "cmdImport",
                                 "cmdSave",   "cmdRun",     "cmdExit",    "comRestore", "cmdRestore", "cmdAbout",
                                 "txtImportv", "cmdReload", "optHandling", "optDefault", "optGta3",    "optVice"};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(findChild<QWidget*>(QLatin1String(order[i])), findChild<QWidget*>(QLatin1String(order[i + 1])));
    txtPath->setFocusPolicy(Qt::StrongFocus);
}

void MainWindow::ConnectControls()
{
    connect(optGta3, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            GameChoice(Game::Gta3);
    });
    connect(optVice, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            GameChoice(Game::ViceCity);
    });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] { cmdBrowse_Click(); });
    connect(cmdRun, &QPushButton::clicked, this, [this] { cmdRun_Click(); });
    connect(optDefault, &QRadioButton::clicked, this, [this] { ChooseFileKind(FileKind::DefaultIde); });
    connect(optHandling, &QRadioButton::clicked, this, [this] { ChooseFileKind(FileKind::HandlingCfg); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdReload, &QPushButton::clicked, this, [this] { cmdReload_Click(); });
}

void MainWindow::LayoutPass()
{
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    const int outerWidth = qRound(width() / pixelsPerTwip) + kFrameWidthTwips;
    const int outerHeight = qRound(height() / pixelsPerTwip) + kFrameHeightTwips;
    const auto pass = LayOut(outerWidth, outerHeight, isMinimized());
    if (!pass)
        return;
    // The tabs of the kinds of record, where there are any, take the grid's top.
    const int tabs = recordTabs_->isVisibleTo(this) ? recordTabs_->sizeHint().height() : 0;
    recordTabs_->setGeometry(Grid1->x(), Px(layout::GridTop), Px(pass->gridWidth), tabs);
    Grid1->setGeometry(Grid1->x(), Px(layout::GridTop) + tabs, Px(pass->gridWidth), Px(pass->gridHeight) - tabs);
    picBottom->move(picBottom->x(), Px(pass->bottomTop));
    gridLine_->resize(Px(pass->separatorRight) - gridLine_->x(), gridLine_->height());
    const int right = gridLine_->geometry().right() + 1;
    if (findBar_)
        findBar_->move(right - findBar_->width(), findBar_->y());
    lblStatus->resize((FindOpen() ? findBar_->x() - Px(120) : right) - lblStatus->x(), lblStatus->height());
    lblProcessed->resize(right - lblProcessed->x(), lblProcessed->height());
}

void MainWindow::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPass();
}

void MainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        LayoutPass();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (!isMaximized() && !isMinimized() && screen())
        move(screen()->availableGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    platform::KeepFrameFixed(this);
    LayoutPass();
    // The keys start in the grid, or, while it is off, in the control that follows it.
    (Grid1->isEnabled() ? static_cast<QWidget*>(Grid1) : cmdBrowse)->setFocus();
}

}  // namespace revlane::ui
