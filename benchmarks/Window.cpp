#include "Window.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QTest>

#include <stdexcept>

#include "GameCheckView.h"
#include "GridView.h"
#include "MainWindow.h"
#include "Measure.h"
#include "Peer.h"
#include "QtPorts.h"
#include "Settings.h"

namespace revlane::bench {

namespace {

QString Native(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

// The user's answer to every question for a number: the factor of the gesture measured.
class FixedNumber : public ui::NumberPort {
public:
    std::optional<QString> AskNumber(QWidget*, const QString&) override { return QStringLiteral("1.1"); }
};

}  // namespace

void UntilIdle()
{
    // Idle only when a pass over the event loop found nothing twice over: one pass may post
    // what the next handles (a layout request its paint, a paint the flush of its frame).
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    for (int quiet = 0, passes = 0; quiet < 2; ++passes) {
        if (passes > 1'000'000)
            throw std::runtime_error("the event loop never became idle");
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        quiet = dispatcher->processEvents(QEventLoop::AllEvents) ? 0 : quiet + 1;
    }
}

double PaintWhole(QWidget* window)
{
    // A paint of the window alone leaves out the widgets that are not marked (the grid's cells).
    for (QWidget* widget : window->findChildren<QWidget*>())
        widget->update();
    window->update();
    const auto start = Clock::now();
    window->repaint();
    return MillisecondsSince(start);
}

void EditLast(QWidget* grid, const QString& value)
{
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(grid, value.left(1));
    QWidget* editor = FocusedEditor();
    QTest::keyClicks(editor, value.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
}

void SelectColumn(QAbstractItemView* grid, int col)
{
    QAbstractItemModel* model = grid->model();
    grid->setFocus();
    grid->setCurrentIndex(model->index(0, col));
    grid->selectionModel()->select(QItemSelection(model->index(0, col), model->index(model->rowCount() - 1, col)),
                                   QItemSelectionModel::ClearAndSelect);
}

GridShape ShapeOf(const BenchWindow& window)
{
    const ui::GridView* grid = window.Grid();
    return {grid->width(), grid->height(), grid->RowHeight()};
}

QWidget* FocusedEditor()
{
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!editor || !editor->isVisible())
        throw std::runtime_error("no cell editor has the keyboard");
    return editor;
}

BenchWindow::BenchWindow(const BenchInstall& install, const std::filesystem::path& work)
{
    const QString file = Native(work / ("settings-" + install.folder.filename().string() + ".conf"));
    QFile::remove(file);
    {
        QSettings store(file, QSettings::IniFormat);
        const bool vice = install.game == Game::ViceCity;
        store.setValue(vice ? "Vice/VicePath" : "GTA3/Gta3Path", Native(install.folder));
        store.setValue(vice ? "Vice/ViceExe" : "GTA3/Gta3Exe", Native(install.exe));
        store.setValue("General/LastUsed", vice ? "ViceCity" : "GTA3");
    }
    settings_ = std::make_unique<platform::Settings>(QSettings::IniFormat, file);
    numbers_ = std::make_unique<FixedNumber>();
    ui::MainWindow::Services services;
    services.messages = &messages_;
    services.errors = &errors_;
    services.clock = &clock_;
    services.settings = settings_.get();
    services.numbers = numbers_.get();
    window_ = std::make_unique<ui::MainWindow>(services);
    window_->show();
    // The keys' shortcuts work in the active window, as they do for the user.
    window_->activateWindow();
    UntilIdle();
    if (!Option(FileKind::DefaultIde)->isEnabled())
        throw std::runtime_error("the window did not take the installation at " + install.folder.string());
}

BenchWindow::~BenchWindow() = default;

const Document& BenchWindow::File() const
{
    return window_->File();
}

QWidget* BenchWindow::Control(const char* name) const
{
    auto* control = window_->findChild<QWidget*>(QLatin1String(name));
    if (!control)
        throw std::runtime_error(std::string("the window has no ") + name);
    return control;
}

QRadioButton* BenchWindow::Option(FileKind kind) const
{
    return static_cast<QRadioButton*>(Control(kind == FileKind::DefaultIde ? "optDefault" : "optHandling"));
}

QPushButton* BenchWindow::SaveButton() const
{
    return static_cast<QPushButton*>(Control("cmdSave"));
}

QWidget* BenchWindow::Window() const
{
    return window_.get();
}

ui::GridView* BenchWindow::Grid() const
{
    return static_cast<ui::GridView*>(Control("Grid1"));
}

QAction* BenchWindow::Action(const char* name) const
{
    auto* action = Grid()->findChild<QAction*>(QLatin1String(name));
    if (!action)
        throw std::runtime_error(std::string("the grid has no ") + name);
    return action;
}

void BenchWindow::Click(FileKind kind) const
{
    Option(kind)->click();
}

void BenchWindow::FinishCheck() const
{
    auto* check = window_->findChild<ui::GameCheckView*>();
    if (!check)
        throw std::runtime_error("the window has no check for the game");
    check->Go(true);
    UntilIdle();
    Grid()->MoveTo(0, 0);
    UntilIdle();
}

}  // namespace revlane::bench
