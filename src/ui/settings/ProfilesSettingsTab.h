#pragma once

#include "model/Profile.h"

#include <QWidget>

class AppState;
class ListActions;
class ProfileEditor;
class ProfileListModel;
class QListView;
class QMenu;

// The Profiles tab: the default profile and the saved profiles in a list, a bar to add, delete,
// duplicate and apply them, and the profile editor for the highlighted one. The only state of
// its own is which row is highlighted; everything else is read from and written to the settings
// store, so every other window sees each change at once.
class ProfilesSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit ProfilesSettingsTab(AppState *application, QWidget *parent = nullptr);

    // The identifier of the highlighted profile; never empty. Kept equal to the stored
    // selected profile in both directions.
    QString selection() const { return m_selection; }
    void setSelection(const QString &id);

    // What the editor shows: the highlighted profile, or the default profile when the
    // highlighted one no longer exists (the highlight then moves to the default profile once
    // the current update is over).
    Profile editedProfile();
    // Stores an edit of the highlighted profile; dropped when that profile no longer exists.
    void setEditedProfile(const Profile &profile);

    void addProfile();
    void duplicate(const Profile &profile);
    void deleteProfile(const QString &id);

    // The menu a right click on `row` opens; the caller owns it.
    QMenu *contextMenu(int row);

    QListView *listView() const { return m_list; }
    ProfileListModel *model() const { return m_model; }
    ListActions *listActions() const { return m_actions; }
    QMenu *moreMenu() const { return m_moreMenu; }
    ProfileEditor *editor() const { return m_editor; }

private:
    // The saved profile with this identifier, if any.
    static std::optional<Profile> storedProfile(const QString &id);
    bool selectionIsDefault() const;
    void storedDataChanged();
    void showSelectionInList();
    void refreshEditor();
    void refreshActions();
    void duplicateSelected();
    void applySelectedToDefaultProfile();

    ProfileListModel *m_model;
    QListView *m_list;
    ListActions *m_actions;
    QMenu *m_moreMenu;
    ProfileEditor *m_editor;
    QString m_selection;
    bool m_fallbackScheduled = false;
};
