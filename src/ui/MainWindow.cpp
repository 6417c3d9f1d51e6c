#include "ui/MainWindow.h"

MainWindow::MainWindow(Application *application, QWidget *parent)
    : QMainWindow(parent), m_application(application) {
    setWindowTitle(QStringLiteral("Mirandel"));
    resize(1000, 600);
}
