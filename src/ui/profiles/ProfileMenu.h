#pragma once

#include "model/Profile.h"

#include <QMenu>

class AppState;

// Picks the current profile among the stored ones and applies, updates or saves it. Shown by the
// inspector's toolbar button and by the File menu.
class ProfileMenu : public QMenu {
    Q_OBJECT
public:
    explicit ProfileMenu(AppState *application, QWidget *parent = nullptr);

    // Fills the menu from the stored profiles and the current one. Runs before the menu shows and,
    // deferred, after every change it depends on.
    void rebuild();

    // A profile name as menus and buttons must be given it: "&" shown as itself, not taken for
    // the mark of a keyboard shortcut.
    static QString menuText(QString name);

private:
    void scheduleRebuild();
    void addChoice(const Profile &stored, const Profile &current);
    void applyToDefaultProfile();
    void updateProfile(const Profile &stored);
    void editProfiles();
    void storedDefaultChanged();
    void storedProfilesChanged();

    AppState *m_application;
    bool m_rebuildPending = false;
};
