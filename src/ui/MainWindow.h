#pragma once

#include <QMainWindow>

class Application;

// Placeholder until the file table, the inspector and the menus move in.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Application *application, QWidget *parent = nullptr);

private:
    Application *m_application;
};
