#include <QApplication>

#include "frmMain.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Revlane"));
    QApplication::setApplicationName(QStringLiteral("Revlane"));
    QApplication::setApplicationVersion(QStringLiteral(REVLANE_VERSION));
    revlane::ui::frmMain window;
    window.show();
    return app.exec();
}
