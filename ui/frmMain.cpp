#include "frmMain.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>

#include <algorithm>

#include "ErrorReport.h"
#include "FlexGrid.h"
#include "FolderPicker.h"
#include "GameLauncher.h"
#include "GamePictures.h"
#include "Layout.h"
#include "Pictures.h"
#include "QtErrorPort.h"
#include "QtPorts.h"
#include "Settings.h"
#include "SyncedFileSystem.h"
#include "Text.h"
#include "frmAbout.h"

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace revlane::ui {

namespace {

const char* kDefaultHint = "[insert comma separated values and click Apply]";
const char* kHandlingHint = "[ insert values separated by one or more spaces or tabs and click Apply ]";

// The layout pass works on the window's outer size. Frames differ between systems and window
// managers (and there is none offscreen), so the outer size is the client area plus the frame
// of the classic fixed single-line window the layout was designed for.
constexpr int kFrameWidthTwips = 90;
constexpr int kFrameHeightTwips = 375;

QString PathQString(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

std::filesystem::path FsPathOf(const QString& text)
{
    return std::filesystem::path(text.toStdU16String());
}

}  // namespace

frmMain::frmMain(Services services, QWidget* parent)
    : QWidget(parent),
      ownMessages_(services.messages ? nullptr : std::make_unique<QtMessagePort>(this)),
      ownErrors_(services.errors ? nullptr : std::make_unique<QtErrorPort>(this)),
      ownClock_(services.clock ? nullptr : std::make_unique<QtClockPort>()),
      ownSettings_(services.settings ? nullptr : std::make_unique<platform::Settings>()),
      ownPicker_(services.picker ? nullptr : std::make_unique<platform::DialogFolderPicker>()),
      ownLauncher_(services.launcher ? nullptr : std::make_unique<platform::SystemGameLauncher>()),
      ownFiles_(services.files ? nullptr : std::make_unique<SyncedFileSystem>()),
      messages_(services.messages ? *services.messages : *ownMessages_),
      errors_(services.errors ? *services.errors : *ownErrors_),
      files_(services.files ? *services.files : *ownFiles_),
      settings_(services.settings ? *services.settings : *ownSettings_),
      picker_(services.picker ? *services.picker : *ownPicker_),
      launcher_(services.launcher ? *services.launcher : *ownLauncher_),
      AppVersion(QStringLiteral(REVLANE_VERSION)),
      AppFolder(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + QLatin1Char('/'))),
      file(grid, ConfigFile::Ports{messages_, errors_, *this, services.clock ? *services.clock : *ownClock_, files_}),
      import(grid, file, ExpressImport::Ports{messages_, errors_}),
      restore(grid, file, import, defaultLines, RestoreDefaults::Ports{messages_, errors_})
{
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint
                   | Qt::WindowCloseButtonHint);
    setWindowIcon(AppIcon());
    setFont(DialogFont());
    BuildControls();
    SetTabOrder();
    ConnectGrid();
    Form_Load();
}

frmMain::frmMain() : frmMain(Services{}) {}

frmMain::~frmMain() = default;

int frmMain::Px(int twips) const
{
    return TwipsToPixels(twips, logicalDpiX());
}

void frmMain::BuildControls()
{
    resize(Px(9150), Px(6750));
    const auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(Px(left), Px(top), Px(width), Px(height));
    };
    const auto label = [&](QWidget* parent, const char* text, bool bold, int l, int t, int w, int h) {
        auto* lbl = new QLabel(QString::fromLatin1(text), parent);
        lbl->setFont(DialogFont(bold));
        lbl->setWordWrap(h > 300);
        lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        place(lbl, l, t, w, h);
        return lbl;
    };
    const auto button = [&](QWidget* parent, const char* text, bool bold, int l, int t, int w, int h) {
        auto* btn = new QPushButton(QString::fromLatin1(text), parent);
        btn->setFont(DialogFont(bold));
        place(btn, l, t, w, h);
        return btn;
    };
    const auto line = [&](QWidget* parent, int x1, int y, int x2) {
        return AddFill(parent, palette().color(QPalette::Dark), QRect(Px(x1), Px(y), Px(x2 - x1), 1));
    };
    const auto readOnlyBox = [&](QWidget* parent, int l, int t, int w, int h) {
        auto* box = new QLineEdit(parent);
        box->setReadOnly(true);
        QPalette pal = box->palette();
        pal.setColor(QPalette::Base, pal.color(QPalette::Button));
        box->setPalette(pal);
        place(box, l, t, w, h);
        return box;
    };

    // Top area.
    lblMode = label(this, "Editor mode", true, 120, 120, 1935, 255);
    lblMode->setEnabled(false);
    Linea[1] = line(this, 120, 360, 2040);
    Image1 = new QLabel(this);
    place(Image1, 120, 480, 480, 480);
    optDefault = new QRadioButton(QStringLiteral("default.ide"), this);
    place(optDefault, 720, 480, 1335, 255);
    optDefault->setEnabled(false);
    optHandling = new QRadioButton(QStringLiteral("handling.cfg"), this);
    place(optHandling, 720, 720, 1335, 255);
    optHandling->setEnabled(false);
    lblInstallpath = label(this, "GTA installation to use", true, 2280, 120, 3615, 255);
    Linea[0] = line(this, 2280, 360, 9000);
    Picture1 = new QWidget(this);
    place(Picture1, 2280, 480, 1215, 495);
    optGta3 = new QRadioButton(QStringLiteral("GTA III"), Picture1);
    place(optGta3, 0, 0, 1095, 255);
    optVice = new QRadioButton(QStringLiteral("Vice City"), Picture1);
    place(optVice, 0, 240, 1095, 255);
    imgGame = new QLabel(this);
    place(imgGame, 3510, 480, 495, 495);
    lblPath = label(this, "Installation path:", false, 4080, 480, 3735, 255);
    txtPath = readOnlyBox(this, 4080, 720, 3735, 285);
    cmdBrowse = button(this, "Browse...", false, 7920, 720, 1095, 315);
    lblProcessed = label(this, "Main file settings  [Enter or double-click to edit]  [any key to replace]", true, 120,
                         1200, 8895, 255);
    lblProcessed->setEnabled(false);
    Linea[2] = line(this, 120, 1440, 9000);
    Grid1 = new FlexGrid(grid, this);
    place(Grid1, 120, 1560, 8895, 2175);
    txtGrid = new QLineEdit(this);
    place(txtGrid, 240, 1680, 1095, 255);
    txtGrid->setFrame(false);
    txtGrid->hide();

    // Bottom area.
    picBottom = new QWidget(this);
    place(picBottom, 120, 3840, 9015, 2775);
    lblImport = label(picBottom, "Express import", true, 0, 0, 2895, 255);
    Linea[3] = line(picBottom, 0, 240, 8880);
    lblMisc[0] = label(picBottom,
                       "To replace all parameters for a vehicle, insert its entire configuration line in the field "
                       "below.",
                       false, 0, 360, 8895, 495);
    txtImport = new QLineEdit(picBottom);
    place(txtImport, 0, 600, 6975, 285);
    cmdPaste = button(picBottom, "Paste", false, 7080, 600, 1815, 315);
    lblMisc[1] = label(picBottom, "The config line above will be applied to the vehicle:", false, 0, 960, 5055, 255);
    txtImportv = readOnlyBox(picBottom, 5160, 960, 1815, 285);
    cmdImport = button(picBottom, "Apply", false, 7080, 960, 1815, 315);
    lblRestore = label(picBottom, "Restore default values", true, 0, 1320, 2895, 255);
    Linea[4] = line(picBottom, 0, 1560, 8880);
    lblMisc[2] = label(picBottom, "Select a vehicle to restore its original settings.", false, 0, 1680, 4215, 495);
    comRestore = new QComboBox(picBottom);
    place(comRestore, 5160, 1680, 1815, 315);
    cmdRestore = button(picBottom, "Restore defaults", false, 7080, 1680, 1815, 315);
    Linea[5] = line(picBottom, 0, 2280, 8880);
    cmdAbout = button(picBottom, "About...", false, 0, 2400, 1215, 375);
    cmdRun = button(picBottom, "Run GTA III", true, 2640, 2400, 2295, 375);
    cmdSave = button(picBottom, "Save", true, 5040, 2400, 1215, 375);
    cmdReload = button(picBottom, "Reload", false, 6360, 2400, 1215, 375);
    cmdExit = button(picBottom, "Exit", false, 7680, 2400, 1215, 375);
    for (QWidget* w : {static_cast<QWidget*>(lblImport), static_cast<QWidget*>(lblMisc[0]),
                       static_cast<QWidget*>(lblMisc[1]), static_cast<QWidget*>(lblMisc[2]),
                       static_cast<QWidget*>(txtImport), static_cast<QWidget*>(cmdPaste),
                       static_cast<QWidget*>(cmdImport), static_cast<QWidget*>(lblRestore),
                       static_cast<QWidget*>(comRestore), static_cast<QWidget*>(cmdRestore),
                       static_cast<QWidget*>(cmdRun), static_cast<QWidget*>(cmdSave),
                       static_cast<QWidget*>(cmdReload)})
        w->setEnabled(false);

    Image1->setPixmap(AppIconPixmap(32, devicePixelRatioF()));
    lblMode->setEnabled(false);
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
    txtGrid->installEventFilter(this);
    NameControls();
    Grid1->setFocus();
}

// Every control answers to the name the rest of the program knows it by, for tests and tools.
void frmMain::NameControls()
{
    const std::pair<QWidget*, const char*> named[] = {
        {Grid1, "Grid1"},           {txtGrid, "txtGrid"},       {lblMode, "lblMode"},
        {Image1, "Image1"},         {optDefault, "optDefault"}, {optHandling, "optHandling"},
        {lblInstallpath, "lblInstallpath"}, {Picture1, "Picture1"}, {optGta3, "optGta3"},
        {optVice, "optVice"},       {imgGame, "imgGame"},       {lblPath, "lblPath"},
        {txtPath, "txtPath"},       {cmdBrowse, "cmdBrowse"},   {lblProcessed, "lblProcessed"},
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

void frmMain::SetTabOrder()
{
    const QWidget* order[] = {Grid1,      cmdBrowse, txtPath,   txtImport,  cmdPaste, cmdImport,   cmdSave,
                              cmdRun,     cmdExit,   comRestore, cmdRestore, cmdAbout, txtImportv, cmdReload,
                              txtGrid,    optHandling, optDefault, optGta3,  optVice};
    for (size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(const_cast<QWidget*>(order[i]), const_cast<QWidget*>(order[i + 1]));
    txtPath->setFocusPolicy(Qt::StrongFocus);
}

void frmMain::ConnectGrid()
{
    connect(Grid1, &FlexGrid::DblClick, this, [this] { GridEdit(32); });
    connect(Grid1, &FlexGrid::KeyPress, this, [this](int key) { GridEdit(key); });
    connect(Grid1, &FlexGrid::GotFocus, this, [this] { Commit(); });
    connect(Grid1, &FlexGrid::LeaveCell, this, [this] { Commit(); });
}

void frmMain::ApplyCaptions()
{
    CaptionTable_.Fill();
    defaultLines.Load();
}

// ----- Start-up, shutdown and the game installation -----

void frmMain::Form_Load()
{
    ContinueOnError run("frmMain Load", errors_);
    setWindowTitle(QStringLiteral("Revlane ") + AppVersion);
    run.Step([&] {
        switch (ParseWindowState(settings_.Read(platform::setting::WindowState).toStdString())) {
        case WindowState::Normal: break;
        case WindowState::Minimized: setWindowState(Qt::WindowMinimized); break;
        case WindowState::Maximized: setWindowState(Qt::WindowMaximized); break;
        }
    });
    run.Step([&] { ApplyCaptions(); });
    run.Step([&] {
        install.Gta3Path = FsPathOf(settings_.Read(platform::setting::Gta3Path));
        install.Gta3Exe = FsPathOf(settings_.Read(platform::setting::Gta3Exe));
        install.VicePath = FsPathOf(settings_.Read(platform::setting::VicePath));
        install.ViceExe = FsPathOf(settings_.Read(platform::setting::ViceExe));
    });
    run.Step([&] {
        // Selecting the option runs the game choice.
        if (const auto game = ParseLastUsed(settings_.Read(platform::setting::LastUsed).toStdString()))
            (*game == Game::ViceCity ? optVice : optGta3)->setChecked(true);
    });
    run.Finish();
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Leaving asks about unsaved changes as every other way of leaving the file does (Run has
    // asked already); Cancel, or a save that failed, keeps the window and the changes.
    Commit();
    if (!leaving_ && !AskToSave(MsgButtons::YesNoCancel)) {
        event->ignore();
        return;
    }
    settings_.Write(platform::setting::LastUsed, QString::fromStdString(LastUsedText(install.ViceMode)));
    const WindowState state = isMinimized()   ? WindowState::Minimized
                              : isMaximized() ? WindowState::Maximized
                                              : WindowState::Normal;
    settings_.Write(platform::setting::WindowState, QString::fromStdString(WindowStateText(state)));
    event->accept();
}

void frmMain::GameChoice(Game game)
{
    Commit();
    // No Cancel: the game changes whatever the answer, unless the save asked for failed. Then
    // the game that was chosen stays, with its open file and changes.
    if (!AskToSave(MsgButtons::YesNo)) {
        const Game previous = game == Game::ViceCity ? Game::Gta3 : Game::ViceCity;
        install.ViceMode = previous == Game::ViceCity;
        const QSignalBlocker gta3(optGta3);
        const QSignalBlocker vice(optVice);
        (install.ViceMode ? optVice : optGta3)->setChecked(true);
        return;
    }
    install.ViceMode = game == Game::ViceCity;
    CloseFile();
    if (install.ChosenGameInstalled(files_)) {
        InitMain();
        return;
    }
    // A game without an installation: its picture only, and no file can be opened.
    imgGame->setPixmap(GamePicture(game, devicePixelRatioF()));
    txtPath->clear();
    SetFileOption(optDefault, false);
    optHandling->setEnabled(false);
}

void frmMain::InitMain()
{
    ContinueOnError run("InitMain", errors_);
    run.Step([&] {
        const bool vice = install.ViceMode;
        // Selecting another game than the selected one runs its game choice first; where that
        // choice was refused, the installation of the game still chosen stays set up.
        (vice ? optVice : optGta3)->setChecked(true);
        if (install.ViceMode != vice)
            return;
        txtPath->setText(PathQString(install.ChosenFolder()));
        imgGame->setPixmap(GamePicture(vice ? Game::ViceCity : Game::Gta3, devicePixelRatioF()));
        install.SetUpFiles();
        file.DefaultFile = install.DefaultFile;
        file.HandlingFile = install.HandlingFile;
        cmdRun->setText(vice ? QStringLiteral("Run Vice City") : QStringLiteral("Run GTA III"));
    });
    for (QWidget* w : {static_cast<QWidget*>(optGta3), static_cast<QWidget*>(optVice),
                       static_cast<QWidget*>(lblMode), static_cast<QWidget*>(optHandling),
                       static_cast<QWidget*>(optDefault)})
        w->setEnabled(true);
    run.FinishShort();
}

void frmMain::cmdBrowse_Click()
{
    Commit();
    ContinueOnError run("cmdBrowse", errors_);
    std::optional<QString> folder;
    run.Step([&] { folder = picker_.PickFolder(this); });
    if (!folder) {
        run.Finish();
        return;
    }
    std::optional<FoundInstallation> found;
    run.Step([&] { found = install.Browse(FsPathOf(*folder), files_, messages_); });
    if (!found) {
        if (!run.Failed())
            return;  // the user was told the folder holds no game
        run.Finish();
        return;
    }
    run.Step([&] {
        const bool vice = found->game == Game::ViceCity;
        settings_.Write(vice ? platform::setting::VicePath : platform::setting::Gta3Path, *folder);
        settings_.Write(vice ? platform::setting::ViceExe : platform::setting::Gta3Exe, PathQString(found->exe));
    });
    run.Step([&] { InitMain(); });
    run.Finish();
}

void frmMain::cmdRun_Click()
{
    Commit();
    if (!AskToSave(MsgButtons::YesNoCancel))
        return;
    leaving_ = true;
    // Whether the game comes up or not, Revlane makes way for it.
    launcher_.Launch(PathQString(install.ChosenExe()), PathQString(install.ChosenFolder()));
    close();
}

void frmMain::cmdAbout_Click()
{
    frmAbout about(this);
    about.exec();
}

// ----- Layout -----

void frmMain::LayoutPass()
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
}

void frmMain::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LayoutPass();
}

void frmMain::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        LayoutPass();
}

void frmMain::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    if (!isMaximized() && !isMinimized() && screen())
        move(screen()->availableGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
#ifdef Q_OS_WIN
    // A fixed frame that still maximizes: no sizing border, the maximize box kept.
    const HWND hwnd = reinterpret_cast<HWND>(winId());
    SetWindowLongPtrW(hwnd, GWL_STYLE, GetWindowLongPtrW(hwnd, GWL_STYLE) & ~WS_THICKFRAME);
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
#endif
    LayoutPass();
}

// ----- The two views and the file choice -----

void frmMain::SetFileOption(QRadioButton* option, bool checked)
{
    // Exclusive options cannot be cleared one by one; lift the rule for the moment.
    option->setAutoExclusive(false);
    option->setChecked(checked);
    option->setAutoExclusive(true);
}

void frmMain::ShowOpenKind()
{
    const bool open = file.IsOpen();
    SetFileOption(optDefault, open && file.DefaultMode);
    SetFileOption(optHandling, open && !file.DefaultMode);
    chosenKind_ = open ? std::optional(file.DefaultMode ? FileKind::DefaultIde : FileKind::HandlingCfg) : std::nullopt;
}

void frmMain::OpenDefault()
{
    OpenView(FileKind::DefaultIde, optDefault);
}

void frmMain::OpenHandling()
{
    OpenView(FileKind::HandlingCfg, optHandling);
}

void frmMain::OpenView(FileKind kind, QRadioButton* option)
{
    if (!file.OpenView(kind, CurrentGame(), CaptionTable_)) {
        // Not found, or not read: the option stays clear, so that a second click tries again.
        SetFileOption(option, false);
        chosenKind_.reset();
        return;
    }
    chosenKind_ = kind;
    ShowFirstVehicle();
}

// A file just opened starts at its first vehicle's first value, scrolled to its start, with
// the keys going to the grid.
void frmMain::ShowFirstVehicle()
{
    if (grid.Rows() > grid.FixedRows() && grid.Cols() > grid.FixedCols()) {
        int row = file.FirstDataRow();
        while (row < grid.Rows() - 1 && !file.IsVehicleRow(row))
            ++row;
        if (!file.IsVehicleRow(row))
            row = file.FirstDataRow();
        grid.SetRow(row);
        grid.SetCol(grid.FixedCols());
        Grid1->horizontalScrollBar()->setValue(0);
        Grid1->verticalScrollBar()->setValue(0);
        Grid1->EnsureVisible(row, grid.FixedCols());
    }
    Grid1->setFocus();
}

bool frmMain::AskToSave(MsgButtons buttons)
{
    if (!file.Modified())
        return true;
    LastAnswer = messages_.ShowMessage("Save changes to " + text::PathText(file.OpenPath()) + "?", buttons,
                                       MsgIcon::Question);
    if (LastAnswer == MsgAnswer::Cancel)
        return false;
    // A failed save stops what asked for it, as Cancel does: going on would drop the changes.
    if (LastAnswer == MsgAnswer::Yes && !file.SaveFile())
        return false;
    return true;
}

void frmMain::optDefault_Click()
{
    ChooseFileKind(FileKind::DefaultIde);
}

void frmMain::optHandling_Click()
{
    ChooseFileKind(FileKind::HandlingCfg);
}

void frmMain::ChooseFileKind(FileKind kind)
{
    const bool ide = kind == FileKind::DefaultIde;
    if (chosenKind_ == kind)
        return;  // already the open file, and shown so
    Commit();
    if (!AskToSave(MsgButtons::YesNoCancel)) {
        // The options keep showing the file that stays open.
        ShowOpenKind();
        return;
    }
    if (ide)
        OpenDefault();
    else
        OpenHandling();
    txtImport->setText(QString::fromLatin1(ide ? kDefaultHint : kHandlingHint));
}

// ----- Save, Reload, closing -----

void frmMain::cmdSave_Click()
{
    Commit();
    file.SaveFile();
}

void frmMain::cmdReload_Click()
{
    Commit();
    const std::string name = file.DefaultMode ? "default.ide" : "handling.cfg";
    LastAnswer = messages_.ShowMessage("Discard changes and reload " + name + "?", MsgButtons::OKCancel,
                                       MsgIcon::Exclamation);
    if (LastAnswer != MsgAnswer::OK)
        return;
    if (file.DefaultMode)
        OpenDefault();
    else
        OpenHandling();
}

void frmMain::CloseFile()
{
    // Whatever is being typed in the cell is dropped with the file.
    editing_ = false;
    txtGrid->hide();
    file.CloseFile();
    for (QRadioButton* option : {optDefault, optHandling}) {
        option->setEnabled(false);
        SetFileOption(option, false);
    }
    chosenKind_.reset();
}

// ----- What the file model changes in the window -----

void frmMain::ClearRestoreList()
{
    comRestore->clear();
}

void frmMain::AddRestoreEntry(const std::string& name)
{
    comRestore->addItem(FromBytes(name));
}

void frmMain::SetImportText(const std::string& text)
{
    txtImport->setText(FromBytes(text));
}

void frmMain::ClearImport()
{
    import.ClearImport();
    txtImportv->clear();
    cmdImport->setEnabled(false);
}

// ----- Express import and restore -----

void frmMain::txtImport_Change()
{
    import.TextChanged(ToBytes(txtImport->text()), CurrentGame());
    txtImportv->setText(FromBytes(import.VehicleName()));
    cmdImport->setEnabled(import.ApplyEnabled());
}

void frmMain::cmdPaste_Click()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText()) {
        messages_.ShowMessage("Clipboard does not have text at this moment.", MsgButtons::OK, MsgIcon::Critical);
        return;
    }
    txtImport->setText(data->text());
}

void frmMain::cmdImport_Click()
{
    Commit();
    import.Apply();
}

void frmMain::cmdRestore_Click()
{
    Commit();
    restore.Restore(ToBytes(comRestore->currentText()), CurrentGame());
}

void frmMain::SetFileControlsEnabled(bool enabled, bool restore)
{
    for (QWidget* w : {static_cast<QWidget*>(lblProcessed), static_cast<QWidget*>(lblImport),
                       static_cast<QWidget*>(lblRestore), static_cast<QWidget*>(txtImport),
                       static_cast<QWidget*>(lblMisc[0]), static_cast<QWidget*>(lblMisc[1]),
                       static_cast<QWidget*>(lblMisc[2]), static_cast<QWidget*>(cmdPaste),
                       static_cast<QWidget*>(cmdRun), static_cast<QWidget*>(cmdSave),
                       static_cast<QWidget*>(cmdReload)})
        w->setEnabled(enabled);
    const bool restoreOn = enabled && restore;
    if (restoreOn)
        comRestore->setCurrentIndex(0);
    comRestore->setEnabled(restoreOn);
    cmdRestore->setEnabled(restoreOn);
}

// ----- In-place editing -----

void frmMain::GridEdit(int key)
{
    // Section titles, and the empty rows below the last vehicle, have no vehicle line to rebuild.
    if (!file.IsVehicleRow(grid.Row()) || grid.Col() < grid.FixedCols())
        return;
    if (key >= 0 && key <= 32) {
        const QString text = FromBytes(grid.TextMatrix(grid.Row(), grid.Col()));
        txtGrid->setText(text);
        txtGrid->setCursorPosition(std::min<int>(15, int(text.size())));
    } else {
        txtGrid->setText(QString(QChar(key)));
        txtGrid->setCursorPosition(1);
    }
    Grid1->EnsureVisible(grid.Row(), grid.Col());
    const QRect cell = Grid1->CellRect(grid.Row(), grid.Col());
    const QPoint topLeft = Grid1->mapTo(this, cell.topLeft());
    txtGrid->setGeometry(topLeft.x(), topLeft.y(), cell.width(), std::max(1, cell.height() - Px(20)));
    editing_ = true;
    txtGrid->show();
    txtGrid->raise();
    txtGrid->setFocus();
}

void frmMain::Commit()
{
    if (!editing_)
        return;
    editing_ = false;
    grid.SetTextMatrix(grid.Row(), grid.Col(), ToBytes(txtGrid->text()));
    txtGrid->hide();
    file.UpdateLine();
}

void frmMain::txtGrid_KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Escape:
        editing_ = false;
        txtGrid->hide();
        Grid1->setFocus();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Grid1->setFocus();
        Commit();  // the focus change commits; this covers a window that is not active
        break;
    case Qt::Key_Down:
    case Qt::Key_Up: {
        Grid1->setFocus();
        QCoreApplication::processEvents();
        Commit();
        const int row = grid.Row();
        if (key == Qt::Key_Down && row < grid.Rows() - 1)
            Grid1->MoveTo(row + 1, grid.Col());
        else if (key == Qt::Key_Up && row > grid.FixedRows())
            Grid1->MoveTo(row - 1, grid.Col());
        break;
    }
    default: break;
    }
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == txtGrid) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down
                || key == Qt::Key_Up) {
                txtGrid_KeyDown(key);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Switching to another program leaves the edit open, as it leaves the caret.
            const auto reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                Commit();
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace revlane::ui
