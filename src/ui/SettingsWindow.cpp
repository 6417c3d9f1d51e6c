#include "ui/SettingsWindow.h"

#include "ui/Application.h"

#include <QTabWidget>
#include <QVBoxLayout>

SettingsWindow::SettingsWindow(Application *application, QWidget *parent)
    : QWidget(parent, Qt::Window), m_application(application), m_tabs(new QTabWidget(this)) {
    setWindowTitle(tr("Settings"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    for (const QString &title : {tr("General"), tr("Profiles"), tr("Updates"), tr("Advanced")})
        m_tabs->addTab(new QWidget, title);
    setMinimumWidth(500);
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { m_application->setSelectedSettingsTab(SettingsTab(index)); });
}

void SettingsWindow::selectTab(SettingsTab tab) {
    m_tabs->setCurrentIndex(int(tab));
}

SettingsTab SettingsWindow::currentTab() const {
    return SettingsTab(m_tabs->currentIndex());
}
