#include "GameLauncher.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace revlane::platform {

LaunchCommand ChooseLaunchCommand(const QString& executable, const QString& workingFolder, bool windows,
                                  const QString& winePath)
{
    if (windows)
        return {LaunchCommand::Kind::Direct, executable, {}, workingFolder};
    if (!winePath.isEmpty())
        return {LaunchCommand::Kind::Wine, winePath, {executable}, workingFolder};
    return {LaunchCommand::Kind::DesktopOpener, executable, {}, workingFolder};
}

SystemGameLauncher::Services SystemGameLauncher::SystemServices()
{
    Services services;
#ifdef Q_OS_WIN
    services.windows = true;
#else
    services.windows = false;
#endif
    services.findExecutable = [](const QString& name) { return QStandardPaths::findExecutable(name); };
    services.startDetached = [](const QString& program, const QStringList& arguments, const QString& folder) {
        return QProcess::startDetached(program, arguments, folder);
    };
    services.openWithDesktop = [](const QString& file, const QString& folder) {
        // The opener takes no working folder, but what it starts inherits ours; the game
        // finds its data relative to it.
        const QString previous = QDir::currentPath();
        const bool moved = QDir::setCurrent(folder);
        const bool opened = QDesktopServices::openUrl(QUrl::fromLocalFile(file));
        if (moved)
            QDir::setCurrent(previous);
        return opened;
    };
    return services;
}

SystemGameLauncher::SystemGameLauncher() : services_(SystemServices()) {}

SystemGameLauncher::SystemGameLauncher(Services services) : services_(std::move(services)) {}

bool SystemGameLauncher::Launch(const QString& executable, const QString& workingFolder)
{
    const QString wine = services_.windows ? QString() : services_.findExecutable(QStringLiteral("wine"));
    const LaunchCommand command = ChooseLaunchCommand(executable, workingFolder, services_.windows, wine);
    if (command.kind == LaunchCommand::Kind::DesktopOpener)
        return services_.openWithDesktop(command.program, command.workingFolder);
    return services_.startDetached(command.program, command.arguments, command.workingFolder);
}

}  // namespace revlane::platform
