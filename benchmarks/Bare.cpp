#include <QApplication>
#include <QCommandLineParser>
#include <QLabel>
#include <QMainWindow>

#include "FirstFrame.h"

// The least a Qt Widgets program does to show a window: what Revlane's start-up is measured against.
int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QCommandLineParser parser;
    const QCommandLineOption quit(QStringLiteral("quit-after-first-frame"));
    parser.addOption(quit);
    parser.process(app);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Revlane")));
    if (parser.isSet(quit))
        new revlane::ui::QuitAfterFirstFrame(&window);
    window.show();
    return app.exec();
}
