#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Mirandel"));
    QApplication::setOrganizationDomain(QStringLiteral("mirandel.app"));
    QApplication::setApplicationName(QStringLiteral("Mirandel"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Mirandel"));
    window.resize(1000, 600);
    window.show();
    return app.exec();
}
