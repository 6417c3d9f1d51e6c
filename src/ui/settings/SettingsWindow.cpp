#include "ui/settings/SettingsWindow.h"

#include "platform/SymbolIcons.h"
#include "ui/AppState.h"
#include "ui/settings/AdvancedSettingsTab.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/ProfilesSettingsTab.h"
#include "ui/settings/UpdatesSettingsTab.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTabWidget>
#include <QVBoxLayout>

SettingsWindow::SettingsWindow(AppState *application, QWidget *parent)
    : QWidget(parent, Qt::Window), m_application(application), m_tabs(new QTabWidget(this)),
      m_general(new GeneralSettingsTab), m_profiles(new ProfilesSettingsTab(application)),
      m_updates(new UpdatesSettingsTab(application ? application->updater() : nullptr)),
      m_advanced(new AdvancedSettingsTab) {
    setWindowTitle(tr("Settings"));
    // The order of the tabs is the order of SettingsTab.
    m_tabs->addTab(m_general, symbolIcon(QStringLiteral("gear")), tr("General"));
    m_tabs->addTab(m_profiles, symbolIcon(QStringLiteral("doc.badge.gearshape")), tr("Profiles"));
    m_tabs->addTab(m_updates, symbolIcon(QStringLiteral("arrow.triangle.2.circlepath")),
                   tr("Updates"));
    m_tabs->addTab(m_advanced, symbolIcon(QStringLiteral("gearshape.2")), tr("Advanced"));
    m_tabs->setMinimumWidth(minimumTabWidth);
    m_tabs->setMaximumWidth(maximumTabWidth);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    setMinimumWidth(minimumWindowWidth);

    if (m_application) {
        selectTab(m_application->selectedSettingsTab());
        connect(m_application, &AppState::selectedSettingsTabChanged, this,
                &SettingsWindow::selectTab);
    }
    connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
        if (m_application && index >= 0)
            m_application->setSelectedSettingsTab(SettingsTab(index));
    });
    // Sized to what the tabs need, within the limits above and the screen's free area.
    adjustSize();
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        resize(size().boundedTo(screen->availableGeometry().size()));
}

void SettingsWindow::keyPressEvent(QKeyEvent *event) {
    // Escape closes the window, as it does a dialog, but only when nothing inside used it: an
    // open drop-down or a name being edited takes it first (a shortcut would be matched before
    // them and close the whole window).
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void SettingsWindow::selectTab(SettingsTab tab) {
    m_tabs->setCurrentIndex(int(tab));
}

SettingsTab SettingsWindow::currentTab() const {
    return SettingsTab(m_tabs->currentIndex());
}
