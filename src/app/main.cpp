#include "ui/Application.h"

#include <QApplication>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // The preferences live under these names, so they must be set before any key is read.
    QApplication::setOrganizationName(QStringLiteral("Mirandel"));
    QApplication::setOrganizationDomain(QStringLiteral("mirandel.app"));
    QApplication::setApplicationName(QStringLiteral("Mirandel"));

    Application application;
    application.newMainWindow();
    return app.exec();
}
