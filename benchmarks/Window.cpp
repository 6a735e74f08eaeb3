#include "Window.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

#include <stdexcept>

#include "Settings.h"
#include "MainWindow.h"

namespace revlane::bench {

namespace {

QString Native(const std::filesystem::path& path)
{
    return QDir::toNativeSeparators(QString::fromStdU16String(path.u16string()));
}

}  // namespace

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
    ui::MainWindow::Services services;
    services.messages = &messages_;
    services.errors = &errors_;
    services.clock = &clock_;
    services.settings = settings_.get();
    window_ = std::make_unique<ui::MainWindow>(services);
    window_->show();
    Settle();
    if (!Option(FileKind::DefaultIde)->isEnabled())
        throw std::runtime_error("the window did not take the installation at " + install.folder.string());
}

BenchWindow::~BenchWindow() = default;

const Document& BenchWindow::File() const
{
    return window_->File();
}

QRadioButton* BenchWindow::Option(FileKind kind) const
{
    const char* name = kind == FileKind::DefaultIde ? "optDefault" : "optHandling";
    auto* option = window_->findChild<QRadioButton*>(QLatin1String(name));
    if (!option)
        throw std::runtime_error(std::string("the window has no ") + name);
    return option;
}

QPushButton* BenchWindow::SaveButton() const
{
    auto* button = window_->findChild<QPushButton*>(QStringLiteral("cmdSave"));
    if (!button)
        throw std::runtime_error("the window has no cmdSave");
    return button;
}

void BenchWindow::Click(FileKind kind) const
{
    Option(kind)->click();
}

void BenchWindow::MarkAllForPainting() const
{
    for (QWidget* widget : window_->findChildren<QWidget*>())
        widget->update();
    window_->update();
}

void BenchWindow::GoToEnd(bool last) const
{
    QWidget* grid = window_->findChild<QWidget*>(QStringLiteral("Grid1"));
    if (!grid)
        throw std::runtime_error("the window has no Grid1");
    grid->setFocus();
    QKeyEvent key(QEvent::KeyPress, last ? Qt::Key_End : Qt::Key_Home, Qt::ControlModifier);
    QCoreApplication::sendEvent(grid, &key);
}

void BenchWindow::TypeValue(const QString& value) const
{
    QWidget* grid = window_->findChild<QWidget*>(QStringLiteral("Grid1"));
    QKeyEvent first(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, value.left(1));
    QCoreApplication::sendEvent(grid, &first);
    auto* editor = window_->findChild<QLineEdit*>(QStringLiteral("txtGrid"));
    if (!editor || !editor->isVisible())
        throw std::runtime_error("no editor opened on the current cell");
    editor->setText(value);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(editor, &enter);
}

void BenchWindow::PaintWhole() const
{
    window_->repaint();
}

void BenchWindow::Settle()
{
    for (int i = 0; i < 3; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
    }
}

}  // namespace revlane::bench
