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

#include "FolderPicker.h"
#include "GameLauncher.h"
#include "GridView.h"
#include "Layout.h"
#include "Pictures.h"
#include "QtErrorPort.h"
#include "QtPorts.h"
#include "Settings.h"
#include "DiskFileSystem.h"
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

// Helpers that make the controls at positions in twips.
struct Maker {
    MainWindow* window;
    std::function<int(int)> px;

    void Place(QWidget* w, int left, int top, int width, int height) const
    {
        w->setGeometry(px(left), px(top), px(width), px(height));
    }
    QLabel* Label(QWidget* parent, const char* text, bool bold, int l, int t, int w, int h) const
    {
        auto* label = new QLabel(QString::fromLatin1(text), parent);
        label->setFont(DialogFont(bold));
        label->setWordWrap(h > 300);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        Place(label, l, t, w, h);
        return label;
    }
    QPushButton* Button(QWidget* parent, const char* text, bool bold, int l, int t, int w, int h) const
    {
        auto* button = new QPushButton(QString::fromLatin1(text), parent);
        button->setFont(DialogFont(bold));
        Place(button, l, t, w, h);
        return button;
    }
    QRadioButton* Option(QWidget* parent, const char* text, int l, int t, int w, int h) const
    {
        auto* option = new QRadioButton(QString::fromLatin1(text), parent);
        Place(option, l, t, w, h);
        return option;
    }
    QWidget* Line(QWidget* parent, int x1, int y, int x2) const
    {
        return AddFill(parent, window->palette().color(QPalette::Dark), QRect(px(x1), px(y), px(x2 - x1), 1));
    }
    QLineEdit* ReadOnlyBox(QWidget* parent, int l, int t, int w, int h) const
    {
        auto* box = new QLineEdit(parent);
        box->setReadOnly(true);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Button));
        box->setPalette(pal);
        Place(box, l, t, w, h);
        return box;
    }
};

}  // namespace

MainWindow::MainWindow(Services services, QWidget* parent)
    : QWidget(parent),
      ownMessages_(services.messages ? nullptr : std::make_unique<QtMessagePort>(this)),
      ownErrors_(services.errors ? nullptr : std::make_unique<QtErrorPort>(this)),
      ownClock_(services.clock ? nullptr : std::make_unique<QtClockPort>()),
      ownSettings_(services.settings ? nullptr : std::make_unique<platform::Settings>()),
      ownPicker_(services.picker ? nullptr : std::make_unique<platform::DialogFolderPicker>()),
      ownLauncher_(services.launcher ? nullptr : std::make_unique<platform::SystemGameLauncher>()),
      ownNumbers_(services.numbers ? nullptr : std::make_unique<QtNumberPort>()),
      messages_(services.messages ? *services.messages : *ownMessages_),
      errors_(services.errors ? *services.errors : *ownErrors_),
      files_(services.files ? *services.files : platform::Disk()),
      settings_(services.settings ? *services.settings : *ownSettings_),
      picker_(services.picker ? *services.picker : *ownPicker_),
      launcher_(services.launcher ? *services.launcher : *ownLauncher_),
      numbers_(services.numbers ? *services.numbers : *ownNumbers_),
      AppVersion(QStringLiteral(REVLANE_VERSION)),
      document(install, Document::Ports{messages_, errors_, services.clock ? *services.clock : *ownClock_, files_}),
      import(document, ExpressImport::Ports{messages_, errors_}),
      restore(document, import, defaultLines, RestoreDefaults::Ports{messages_, errors_}),
      marks(document, defaultLines)
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(DialogFont());
    BuildControls();
    NameControls();
    SetTabOrder();
    ConnectControls();
    SetUpEditing();
    SetUpValues();
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
    const Maker make{this, [this](int twips) { return Px(twips); }};

    lblMode = make.Label(this, "Editor mode", true, 120, 120, 1935, 255);
    Linea[1] = make.Line(this, 120, 360, 2040);
    Image1 = new QLabel(this);
    make.Place(Image1, 120, 480, 480, 480);
    // From the window's own icon, which then needs not draw this size again.
    Image1->setPixmap(windowIcon().pixmap(QSize(32, 32), devicePixelRatioF()));
    optDefault = make.Option(this, "default.ide", 720, 480, 1335, 255);
    optHandling = make.Option(this, "handling.cfg", 720, 720, 1335, 255);
    lblInstallpath = make.Label(this, "GTA installation to use", true, 2280, 120, 3615, 255);
    Linea[0] = make.Line(this, 2280, 360, 9000);
    Picture1 = new QWidget(this);
    make.Place(Picture1, 2280, 480, 1215, 495);
    optGta3 = make.Option(Picture1, "GTA III", 0, 0, 1095, 255);
    optVice = make.Option(Picture1, "Vice City", 0, 240, 1095, 255);
    imgGame = new QLabel(this);
    make.Place(imgGame, 3510, 480, 495, 495);
    lblPath = make.Label(this, "Installation path:", false, 4080, 480, 3735, 255);
    txtPath = make.ReadOnlyBox(this, 4080, 720, 3735, 285);
    cmdBrowse = make.Button(this, "Browse...", false, 7920, 720, 1095, 315);
    lblProcessed = make.Label(this, "Main file settings  [Enter or double-click to edit]  [any key to replace]", true,
                              120, 1200, 8895, 255);
    lblStatus = make.Label(this, "", false, 120, 1200, 8895, 255);
    lblStatus->hide();
    Linea[2] = make.Line(this, 120, 1440, 9000);
    Grid1 = new GridView(this);
    table_ = new VehicleTableModel(document, marks, CaptionTable_, Grid1);
    Grid1->setModel(table_);
    make.Place(Grid1, 120, 1560, 8895, 2175);
    BuildBottomArea();

    // Until a game's installation is set up and a file is read, these do nothing.
    for (QWidget* w : std::initializer_list<QWidget*>{lblMode, optDefault, optHandling, lblProcessed, Grid1})
        w->setEnabled(false);
    SetFileControlsEnabled(false, false);
}

void MainWindow::BuildBottomArea()
{
    const Maker make{this, [this](int twips) { return Px(twips); }};
    picBottom = new QWidget(this);
    make.Place(picBottom, 120, 3840, 9015, 2775);
    lblImport = make.Label(picBottom, "Express import", true, 0, 0, 2895, 255);
    Linea[3] = make.Line(picBottom, 0, 240, 8880);
    lblMisc[0] = make.Label(
        picBottom, "To replace all parameters for a vehicle, insert its entire configuration line in the field below.",
        false, 0, 360, 8895, 495);
    txtImport = new QLineEdit(picBottom);
    make.Place(txtImport, 0, 600, 6975, 285);
    // The import box lays its text out anew at every switch of file, whose hint it then shows; the
    // lines it takes are plain Latin text, which needs no shaping, and without it the layout takes
    // half the time.
    QFont importFont = txtImport->font();
    importFont.setStyleStrategy(QFont::PreferNoShaping);
    txtImport->setFont(importFont);
    cmdPaste = make.Button(picBottom, "Paste", false, 7080, 600, 1815, 315);
    lblMisc[1] = make.Label(picBottom, "The config line above will be applied to the vehicle:", false, 0, 960, 5055, 255);
    txtImportv = make.ReadOnlyBox(picBottom, 5160, 960, 1815, 285);
    cmdImport = make.Button(picBottom, "Apply", false, 7080, 960, 1815, 315);
    cmdImport->setEnabled(false);
    lblRestore = make.Label(picBottom, "Restore default values", true, 0, 1320, 2895, 255);
    Linea[4] = make.Line(picBottom, 0, 1560, 8880);
    lblMisc[2] = make.Label(picBottom, "Select a vehicle to restore its original settings.", false, 0, 1680, 4215, 495);
    comRestore = new QComboBox(picBottom);
    // The document's own names: a read replaces the whole list in one go, whatever its length.
    restoreList_ = new RestoreListModel(document, comRestore);
    comRestore->setModel(restoreList_);
    comRestore->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    make.Place(comRestore, 5160, 1680, 1815, 315);
    cmdRestore = make.Button(picBottom, "Restore defaults", false, 7080, 1680, 1815, 315);
    Linea[5] = make.Line(picBottom, 0, 2280, 8880);
    cmdAbout = make.Button(picBottom, "About...", false, 0, 2400, 1215, 375);
    cmdRun = make.Button(picBottom, "Run GTA III", true, 2640, 2400, 2295, 375);
    cmdSave = make.Button(picBottom, "Save", true, 5040, 2400, 1215, 375);
    cmdReload = make.Button(picBottom, "Reload", false, 6360, 2400, 1215, 375);
    cmdExit = make.Button(picBottom, "Exit", false, 7680, 2400, 1215, 375);
}

// Every control answers to the name the rest of the program knows it by, for tests and tools.
void MainWindow::NameControls()
{
    const std::pair<QWidget*, const char*> named[] = {
        {Grid1, "Grid1"},           {lblMode, "lblMode"},
        {Image1, "Image1"},         {optDefault, "optDefault"}, {optHandling, "optHandling"},
        {lblInstallpath, "lblInstallpath"}, {Picture1, "Picture1"}, {optGta3, "optGta3"},
        {optVice, "optVice"},       {imgGame, "imgGame"},       {lblPath, "lblPath"},
        {txtPath, "txtPath"},       {cmdBrowse, "cmdBrowse"},   {lblProcessed, "lblProcessed"}, {lblStatus, "lblStatus"},
        {picBottom, "picBottom"},   {lblImport, "lblImport"},   {lblMisc[0], "lblMisc0"},
        {lblMisc[1], "lblMisc1"},   {lblMisc[2], "lblMisc2"},   {txtImport, "txtImport"},
        {cmdPaste, "cmdPaste"},     {txtImportv, "txtImportv"}, {cmdImport, "cmdImport"},
        {lblRestore, "lblRestore"}, {comRestore, "comRestore"}, {cmdRestore, "cmdRestore"},
        {cmdAbout, "cmdAbout"},     {cmdRun, "cmdRun"},         {cmdSave, "cmdSave"},
        {cmdReload, "cmdReload"},   {cmdExit, "cmdExit"},
    };
    for (const auto& [widget, name] : named)
        widget->setObjectName(QLatin1String(name));
    for (size_t i = 0; i < Linea.size(); ++i)
        Linea[i]->setObjectName(QStringLiteral("Linea%1").arg(i));
}

void MainWindow::SetTabOrder()
{
    QWidget* const order[] = {Grid1,  cmdBrowse, txtPath,    txtImport,  cmdPaste, cmdImport,  cmdSave,
                              cmdRun, cmdExit,   comRestore, cmdRestore, cmdAbout, txtImportv, cmdReload,
                              optHandling, optDefault, optGta3,   optVice};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
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
    connect(cmdAbout, &QPushButton::clicked, this, [this] { cmdAbout_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { close(); });
    connect(optDefault, &QRadioButton::clicked, this, [this] { optDefault_Click(); });
    connect(optHandling, &QRadioButton::clicked, this, [this] { optHandling_Click(); });
    connect(cmdSave, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdReload, &QPushButton::clicked, this, [this] { cmdReload_Click(); });
    connect(txtImport, &QLineEdit::textChanged, this, [this] { txtImport_Change(); });
    connect(cmdPaste, &QPushButton::clicked, this, [this] { cmdPaste_Click(); });
    connect(cmdImport, &QPushButton::clicked, this, [this] { cmdImport_Click(); });
    connect(cmdRestore, &QPushButton::clicked, this, [this] { cmdRestore_Click(); });
}

void MainWindow::LayoutPass()
{
    const double pixelsPerTwip = logicalDpiX() / 1440.0;
    const int outerWidth = qRound(width() / pixelsPerTwip) + kFrameWidthTwips;
    const int outerHeight = qRound(height() / pixelsPerTwip) + kFrameHeightTwips;
    const auto pass = LayOut(outerWidth, outerHeight, isMinimized());
    if (!pass)
        return;
    Grid1->resize(Px(pass->gridWidth), Px(pass->gridHeight));
    picBottom->move(picBottom->x(), Px(pass->bottomTop));
    Linea[2]->resize(Px(pass->separatorRight) - Linea[2]->x(), Linea[2]->height());
    const int right = Linea[2]->geometry().right() + 1;
    if (picFind)
        picFind->move(right - picFind->width(), picFind->y());
    lblStatus->resize((FindOpen() ? picFind->x() - Px(120) : right) - lblStatus->x(), lblStatus->height());
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
