#include "ui/profiles/ProfileMenu.h"

#include "model/ProfileStore.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/CommandManager.h"
#include "ui/profiles/SvgoConfigurationExport.h"

#include <QActionGroup>

ProfileMenu::ProfileMenu(AppState *application, QWidget *parent)
    : QMenu(tr("Profile"), parent), m_application(application) {
    connect(this, &QMenu::aboutToShow, this, &ProfileMenu::rebuild);
    connect(application, &AppState::profileChanged, this, &ProfileMenu::scheduleRebuild);
    connect(application, &AppState::profileEditedChanged, this, &ProfileMenu::scheduleRebuild);
    Defaults::observe<Profile>(Keys::defaultProfile(), this, [this](const Profile &) {
        storedDefaultChanged();
        scheduleRebuild();
    });
    Defaults::observe<QList<Profile>>(Keys::profiles(), this, [this](const QList<Profile> &) {
        storedProfilesChanged();
        scheduleRebuild();
    });
    rebuild();
}

void ProfileMenu::scheduleRebuild() {
    // Rebuilding deletes the actions, and the change may come from one of them while it is still
    // being triggered; so the menu is refilled once control is back in the event loop.
    if (m_rebuildPending)
        return;
    m_rebuildPending = true;
    QMetaObject::invokeMethod(this, &ProfileMenu::rebuild, Qt::QueuedConnection);
}

void ProfileMenu::rebuild() {
    m_rebuildPending = false;
    clear();
    const Profile defaultProfile = ProfileStore::defaultProfile();
    const QList<Profile> profiles = ProfileStore::profiles();
    const Profile &current = m_application->profile();

    addChoice(defaultProfile, current);
    addSeparator();
    for (const Profile &stored : profiles)
        addChoice(stored, current);
    addSeparator();

    QAction *apply =
        addAction(tr("Apply to Default Profile"), this, &ProfileMenu::applyToDefaultProfile);
    apply->setEnabled(current != defaultProfile);

    const auto source = std::find_if(profiles.begin(), profiles.end(),
                                     [&](const Profile &p) { return p.id == current.id; });
    if (source != profiles.end() && *source != current) {
        addAction(tr("Update Profile “%1”").arg(menuText(source->name)), this,
                  [this, stored = *source] { updateProfile(stored); });
    }

    addAction(tr("Save as New Profile…"), m_application->commandManager(),
              &CommandManager::saveNewProfile);
    addAction(tr("Export svgo.config.mjs…"), this,
              [this] { exportSvgoConfiguration(m_application->profile(), parentWidget()); });
    addSeparator();
    addAction(tr("Edit Profiles"), this, &ProfileMenu::editProfiles);
}

void ProfileMenu::addChoice(const Profile &stored, const Profile &current) {
    QAction *choice = addAction(menuText(stored.name));
    choice->setCheckable(true);
    // The mark names the profile the current one came from, edited or not: the asterisk in the
    // menu's title says whether it was changed.
    choice->setChecked(stored.id == current.id);
    connect(choice, &QAction::triggered, this, [this, stored] {
        // A checkable action unchecks itself when chosen again; the next rebuild sets it right.
        m_application->setProfile(stored);
        scheduleRebuild();
    });
}

void ProfileMenu::applyToDefaultProfile() {
    // The editors on screen store their profile as the default; whatever got stored is then
    // the current profile, also when no editor was there to store anything.
    emit m_application->commandManager()->saveAsDefaultProfile();
    m_application->setProfile(ProfileStore::defaultProfile());
    m_application->setProfileEdited(false);
}

void ProfileMenu::updateProfile(const Profile &stored) {
    Profile updated = m_application->profile();
    updated.id = stored.id;
    if (ProfileStore::update(updated))
        m_application->setProfileEdited(false);
}

void ProfileMenu::editProfiles() {
    m_application->setSelectedSettingsTab(SettingsTab::Profiles);
    Keys::selectedProfile().set(m_application->profile().id);
    m_application->openSettings();
}

QString ProfileMenu::menuText(QString name) {
    return name.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

void ProfileMenu::storedDefaultChanged() {
    // The default profile stored elsewhere (the settings window, another main window): an
    // unedited current default profile follows it; an edited one now differs from a new source.
    const Profile &current = m_application->profile();
    if (!current.isDefault())
        return;
    const Profile stored = ProfileStore::defaultProfile();
    if (!m_application->profileEdited())
        m_application->setProfile(stored);
    else
        m_application->setProfileEdited(current != stored);
}

void ProfileMenu::storedProfilesChanged() {
    // Adding, copying, renaming, moving or deleting other profiles never touches the current
    // one: edits are the user's work. An unedited profile follows its stored source (a rename,
    // say); an edited one whose source was deleted stays as an unsaved, edited copy; only an
    // unedited one whose source is gone starts again from the default.
    const Profile current = m_application->profile();
    if (current.isDefault())
        return;
    const std::optional<Profile> source = ProfileStore::find(current.id);
    if (m_application->profileEdited()) {
        if (source && *source == current)
            m_application->setProfileEdited(false);
        return;
    }
    if (!source)
        m_application->setProfile(ProfileStore::defaultProfile());
    else if (*source != current)
        m_application->setProfile(*source);
}
