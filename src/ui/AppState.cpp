#include "ui/AppState.h"

#include "model/ProfileStore.h"

#include <QAction>

AppState::AppState(Updater *updater, QObject *parent)
    : QObject(parent), m_profile(ProfileStore::defaultProfile()), m_updater(updater),
      m_quitAction(new QAction(tr("Quit"), this)) {
    m_quitAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    m_quitAction->setMenuRole(QAction::QuitRole);
    // Quits from any of the program's windows, Settings and the output windows included, not
    // only from the main window whose menu holds it.
    m_quitAction->setShortcutContext(Qt::ApplicationShortcut);
}

void AppState::setProfile(const Profile &profile) {
    if (profile == m_profile)
        return;
    m_profile = profile;
    emit profileChanged(m_profile);
}

void AppState::setProfileEdited(bool edited) {
    if (edited == m_profileEdited)
        return;
    m_profileEdited = edited;
    emit profileEditedChanged(edited);
}

void AppState::setSelectedSettingsTab(SettingsTab tab) {
    if (tab == m_selectedSettingsTab)
        return;
    m_selectedSettingsTab = tab;
    emit selectedSettingsTabChanged(tab);
}
