#pragma once

// The main window as a user meets it: game installations in a temporary folder, a settings store
// beside them, and a window started on that store, with every question, folder, game start and
// file fault in the test's hands. Widgets are found by their names, and driven by events.

#include <QAbstractButton>
#include <QDir>
#include <QLineEdit>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <deque>
#include <memory>
#include <stdexcept>
#include <vector>

#include "FaultyFileSystem.h"
#include "FolderPicker.h"
#include "GameLauncher.h"
#include "GridView.h"
#include "MainWindow.h"
#include "ModelFakes.h"
#include "QtPorts.h"
#include "Settings.h"

namespace revlane::test {

// A folder picker that answers with the folders given, in turn; an empty text, or none left, cancels.
struct ScriptedFolderPicker : platform::FolderPicker {
    std::deque<QString> answers;
    int calls = 0;
    std::optional<QString> PickFolder(QWidget*) override
    {
        ++calls;
        const QString answer = answers.empty() ? QString() : answers.front();
        if (!answers.empty())
            answers.pop_front();
        return answer.isEmpty() ? std::nullopt : std::optional(answer);
    }
};

// A game launcher that remembers every start and starts nothing.
struct RecordingGameLauncher : platform::GameLauncher {
    struct Start {
        QString executable, workingFolder;
    };
    std::vector<Start> starts;
    bool Launch(const QString& executable, const QString& workingFolder) override
    {
        starts.push_back({executable, workingFolder});
        return true;
    }
};

// Answers the numbers asked for with those given, in turn; none left cancels.
struct ScriptedNumbers : ui::NumberPort {
    std::deque<QString> answers;
    int asked = 0;
    std::optional<QString> AskNumber(QWidget*, const QString&) override
    {
        ++asked;
        const std::optional<QString> answer = answers.empty() ? std::nullopt : std::optional(answers.front());
        if (!answers.empty())
            answers.pop_front();
        return answer;
    }
};

struct Desk {
    QTemporaryDir dir;
    QString settingsFile = dir.filePath("settings/Revlane.conf");
    FakeMessages messages;
    FakeErrors errors;
    FixedClock clock;
    FaultyFileSystem files;
    ScriptedFolderPicker picker;
    RecordingGameLauncher launcher;
    ScriptedNumbers numbers;
    std::unique_ptr<platform::Settings> settings;
    std::unique_ptr<ui::MainWindow> w;

    // An installation folder with the executables named and both data files; its path as the
    // system writes it.
    QString Install(const QString& name, const QStringList& exes, const QByteArray& ide = kSmallIde,
                    const QByteArray& cfg = kSmallCfg)
    {
        const QString folder = dir.filePath(name);
        QDir().mkpath(folder + "/data");
        for (const QString& exe : exes)
            WriteBytes(folder + "/" + exe, "");
        WriteBytes(folder + "/data/default.ide", ide);
        WriteBytes(folder + "/data/handling.cfg", cfg);
        return QDir::toNativeSeparators(folder);
    }
    // Installs a game (its executable only where asked) and remembers where; the folder.
    QString InstallGame(Game game, bool exe = true, const QByteArray& ide = kSmallIde, const QByteArray& cfg = kSmallCfg)
    {
        const bool vice = game == Game::ViceCity;
        const QString name = vice ? "gta-vc.exe" : "gta3.exe";
        const QString folder = Install(vice ? "vice" : "gta3", exe ? QStringList{name} : QStringList{}, ide, cfg);
        Store(vice ? "Vice/VicePath" : "GTA3/Gta3Path", folder);
        Store(vice ? "Vice/ViceExe" : "GTA3/Gta3Exe", folder + QDir::separator() + name);
        return folder;
    }
    // The same, the game remembered as the last one used, so that the window starts on it.
    QString InstallChosen(Game game, const QByteArray& ide = kSmallIde, const QByteArray& cfg = kSmallCfg)
    {
        Store("General/LastUsed", game == Game::ViceCity ? "ViceCity" : "GTA3");
        return InstallGame(game, true, ide, cfg);
    }
    // The chosen game installed, the window started on it and a file of the kind open; the folder.
    QString Ready(FileKind kind, Game game = Game::Gta3, const QByteArray& ide = kSmallIde, const QByteArray& cfg = kSmallCfg)
    {
        const QString folder = InstallChosen(game, ide, cfg);
        Start();
        Open(kind);
        return folder;
    }
    static QString DataFile(const QString& folder, const char* name)
    {
        return folder + QDir::separator() + "data" + QDir::separator() + name;
    }

    void Store(const QString& key, const QString& value) { QSettings(settingsFile, QSettings::IniFormat).setValue(key, value); }
    QStringList StoredKeys() const { return QSettings(settingsFile, QSettings::IniFormat).allKeys(); }
    QString Stored(const QString& key) const { return QSettings(settingsFile, QSettings::IniFormat).value(key).toString(); }

    ui::MainWindow& Start()
    {
        settings = std::make_unique<platform::Settings>(QSettings::IniFormat, settingsFile);
        w = std::make_unique<ui::MainWindow>(
            ui::MainWindow::Services{&messages, &errors, &files, &clock, settings.get(), &picker, &launcher, &numbers});
        w->show();
        if (!QTest::qWaitForWindowActive(w.get()))
            qWarning("the window did not become active");
        return *w;
    }

    template <class T = QWidget>
    T* Find(const char* name) const
    {
        T* widget = w->findChild<T*>(QLatin1String(name));
        if (!widget)
            qFatal("no widget named %s", name);
        return widget;
    }
    void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
    bool Checked(const char* name) const { return Find<QAbstractButton>(name)->isChecked(); }
    bool Enabled(const char* name) const { return Find(name)->isEnabled(); }
    void Open(FileKind kind) { Click(kind == FileKind::DefaultIde ? "optDefault" : "optHandling"); }

    ui::GridView* Grid() const { return Find<ui::GridView>("Grid1"); }
    QModelIndex Index(int row, int col) const { return Grid()->model()->index(row, col); }
    QModelIndex Current() const { return Grid()->currentIndex(); }
    // The middle of a cell, in the grid's viewport.
    QPoint Cell(int row, int col) const { return Grid()->visualRect(Index(row, col)).center(); }
    void ClickCell(int row, int col) { QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {}, Cell(row, col)); }
    // Makes a cell current with the keyboard's focus on the grid.
    void Select(int row, int col)
    {
        Grid()->setFocus();
        Grid()->MoveTo(row, col);
    }
    // The open cell editor; none while no cell is being edited (a closed one is hidden until it goes).
    QLineEdit* Editor() const
    {
        for (QLineEdit* editor : w->findChildren<QLineEdit*>(QStringLiteral("txtGrid")))
            if (editor->isVisible())
                return editor;
        return nullptr;
    }
    // Types a value into a cell as a user does: the first key opens the editor, Enter commits.
    void Edit(int row, int col, const QString& value)
    {
        Select(row, col);
        QTest::keyClicks(Grid(), value.left(1));
        QTest::keyClicks(Editor(), value.mid(1));
        QTest::keyClick(Editor(), Qt::Key_Return);
    }
    std::string CellText(int row, int col) const { return w->File().Cell(row, col); }
    std::string LineOf(int row) const { return w->File().LineAt(row); }
    bool Modified() const { return w->File().Modified(); }
};

}  // namespace revlane::test
