#include <QApplication>
#include <QCommandLineParser>

#include <algorithm>

#include "FirstFrame.h"
#include "MainWindow.h"

namespace {

// Whether an option is one that Qt's application classes or its X11 platform take for
// themselves; QApplication removes those from the arguments before the second parse.
bool IsQtOption(const QString& name)
{
    static const QStringList names = {
        QStringLiteral("platform"),  QStringLiteral("platformpluginpath"), QStringLiteral("platformtheme"),
        QStringLiteral("plugin"),    QStringLiteral("qwindowgeometry"),    QStringLiteral("qwindowtitle"),
        QStringLiteral("qwindowicon"), QStringLiteral("geometry"),         QStringLiteral("title"),
        QStringLiteral("icon"),      QStringLiteral("reverse"),            QStringLiteral("session"),
        QStringLiteral("testability"), QStringLiteral("qmljsdebugger"),    QStringLiteral("style"),
        QStringLiteral("stylesheet"), QStringLiteral("widgetcount"),       QStringLiteral("qdevel"),
        QStringLiteral("qdebug"),    QStringLiteral("display"),            QStringLiteral("name"),
        QStringLiteral("visual"),    QStringLiteral("ncols"),              QStringLiteral("cmap"),
        QStringLiteral("sync"),      QStringLiteral("nograb"),             QStringLiteral("dograb"),
    };
    return names.contains(name) || name.startsWith(QLatin1String("psn_"));
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication::setOrganizationName(QStringLiteral("Revlane"));
    QApplication::setApplicationName(QStringLiteral("Revlane"));
    QApplication::setApplicationVersion(QStringLiteral(REVLANE_VERSION));
    // The window names its desktop entry, so that the desktop groups it with its menu entry.
    QApplication::setDesktopFileName(QStringLiteral(REVLANE_APP_ID));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Edits the vehicle configuration files of GTA III and Vice City."));
    // Qt's own options are single-dash words, such as -style: read them as such, not as letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // For the benchmarks, which time start-up from outside: not for users, so not in the help.
    QCommandLineOption quitAfterFirstFrame(QStringLiteral("quit-after-first-frame"));
    quitAfterFirstFrame.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(quitAfterFirstFrame);

    // Help, the version and a refused option are answers in text: give them before the window
    // system is reached, so that they come in a terminal without a display too. Arguments with
    // an option that Qt may take wait for QApplication, which takes Qt's own out of them; so
    // does --help-all, which lists the options of Qt's window classes.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const bool parsed = parser.parse(arguments);
    const QStringList unknown = parser.unknownOptionNames();
    if (parsed ? parser.isSet(help) || parser.isSet(version) : std::none_of(unknown.begin(), unknown.end(), IsQtOption)) {
        QCoreApplication answer(argc, argv);
        parser.process(answer);  // prints, and exits with 0, or 1 for an unknown option
    }

    QApplication app(argc, argv);
    parser.process(app);
    revlane::ui::MainWindow window;
    if (parser.isSet(quitAfterFirstFrame))
        new revlane::ui::QuitAfterFirstFrame(&window);
    window.show();
    return app.exec();
}
