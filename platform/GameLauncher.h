#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace revlane::platform {

// Starts a game, detached from Revlane, in its installation folder.
class GameLauncher {
public:
    virtual ~GameLauncher() = default;
    // Returns whether the start was handed on; the game may still fail to come up.
    virtual bool Launch(const QString& executable, const QString& workingFolder) = 0;
};

// How a game is started on this system.
struct LaunchCommand {
    enum class Kind {
        Direct,         // the executable itself (Windows)
        Wine,           // wine, with the executable as its argument
        DesktopOpener,  // the executable handed to the desktop's opener for its type
    };
    Kind kind;
    QString program;
    QStringList arguments;
    QString workingFolder;
};

// Windows runs the game itself; elsewhere wine runs it when found on the PATH (winePath
// empty when not), else the desktop decides what opens a Windows program.
LaunchCommand ChooseLaunchCommand(const QString& executable, const QString& workingFolder, bool windows,
                                  const QString& winePath);

// The launcher of this system, with its services replaceable so that the choice can be
// tried without starting anything.
class SystemGameLauncher : public GameLauncher {
public:
    struct Services {
        bool windows;
        std::function<QString(const QString& name)> findExecutable;
        std::function<bool(const QString& program, const QStringList& arguments, const QString& workingFolder)>
            startDetached;
        std::function<bool(const QString& file, const QString& workingFolder)> openWithDesktop;
    };
    static Services SystemServices();

    SystemGameLauncher();
    explicit SystemGameLauncher(Services services);
    bool Launch(const QString& executable, const QString& workingFolder) override;

private:
    Services services_;
};

}  // namespace revlane::platform
