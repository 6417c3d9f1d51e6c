#pragma once

#include "model/Profile.h"

#include <QWidget>

class AppState;
class ListActions;
class ProfileEditor;
class ProfileListModel;
class QLabel;
class QListView;
class QMenu;
class QMessageBox;

// The Profiles tab: the default profile and the saved profiles in a list, a bar to add, delete,
// duplicate and apply them, and the profile editor for the highlighted one. The only state of
// its own is which row is highlighted; everything else is read from and written to the settings
// store, so every other window sees each change at once. Profile names stay unique: a rename
// to an empty or taken name is not stored, and a line above the editor says why.
class ProfilesSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit ProfilesSettingsTab(AppState *application, QWidget *parent = nullptr);
    ~ProfilesSettingsTab() override;

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
    // Asks (window-modal, Cancel as the default) whether to delete the saved profile and
    // deletes it on "Delete"; what the bar's remove button, the Delete key and the row menu
    // do. Returns the open question, or null for the default or a missing profile.
    QMessageBox *askToDeleteProfile(const QString &id);
    // Deletes without asking.
    void deleteProfile(const QString &id);

    // The menu a right click on `row` opens; the caller owns it.
    QMenu *contextMenu(int row);

    QListView *listView() const { return m_list; }
    ProfileListModel *model() const { return m_model; }
    ListActions *listActions() const { return m_actions; }
    QMenu *moreMenu() const { return m_moreMenu; }
    ProfileEditor *editor() const { return m_editor; }
    QLabel *nameProblemLabel() const { return m_nameProblem; }

    QSize sizeHint() const override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The saved profile with this identifier, if any.
    static std::optional<Profile> storedProfile(const QString &id);
    bool selectionIsDefault() const;
    void storedDataChanged();
    void showNameProblem();
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
    QLabel *m_nameProblem;
    std::optional<QString> m_nameBeforeEditing;
    QMetaObject::Connection m_nameFieldLeft;
    QString m_selection;
    bool m_fallbackScheduled = false;
};
