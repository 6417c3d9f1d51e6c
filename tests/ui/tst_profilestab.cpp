// Mouse clicks go through the window system, which follows a right press with a context menu.
#define QTEST_QPA_MOUSE_HANDLING

#include "model/Settings.h"
#include "platform/AppcastUpdater.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/components/ListActions.h"
#include "ui/main/Inspector.h"
#include "ui/main/MainWindow.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/ProfileListModel.h"
#include "ui/settings/ProfilesSettingsTab.h"

#include <QListView>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QStringList names(const QList<Profile> &profiles) {
    QStringList result;
    for (const Profile &profile : profiles)
        result.append(profile.name);
    return result;
}

QString idNamed(const QString &name) {
    for (const Profile &profile : Keys::profiles().get())
        if (profile.name == name)
            return profile.id;
    return Profile::defaultId;
}

void trigger(QMenu *menu, const QString &text) {
    QAction *action = findAction(menu, text);
    QVERIFY2(action, qPrintable(text));
    action->trigger();
}

// The parts of a profile that survive duplication and applying.
Profile optionsOf(Profile profile) {
    profile.id.clear();
    profile.name.clear();
    return profile;
}

} // namespace

class TestProfilesTab : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir;
    std::unique_ptr<Application> application;
    std::unique_ptr<ProfilesSettingsTab> tab;

    // Stores `profiles`, selects the one named `selected` (the default when empty) and opens a
    // fresh tab on them.
    void start(const QList<Profile> &profiles = {}, const QString &selected = {}) {
        Keys::profiles().set(profiles);
        Keys::selectedProfile().set(idNamed(selected));
        tab = std::make_unique<ProfilesSettingsTab>(application->state());
        tab->show();
    }

    int selectedRow() const {
        const QModelIndexList rows = tab->listView()->selectionModel()->selectedRows();
        return rows.size() == 1 ? rows.constFirst().row() : -1;
    }

    // The selection as the tab, its list, the editor and the store each see it.
    void verifySelection(const QString &id) {
        QCOMPARE(tab->selection(), id);
        QCOMPARE(Keys::selectedProfile().get(), id);
        QCOMPARE(tab->model()->idAt(selectedRow()), id);
        QCOMPARE(tab->editor()->profile().id, id);
    }

private slots:
    void initTestCase() {
        useSettingsIn(settingsDir.path(), "ProfilesTab");
        AppcastUpdater::Options options;
        options.presentsDialogs = false;
        application = std::make_unique<Application>(new AppcastUpdater(options));
    }

    void init() { Keys::defaultProfile().remove(); } // start() sets the rest

    void cleanup() { tab.reset(); }
    void cleanupTestCase() { application.reset(); }

    void duplicate_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("fromRowMenu");
        QTest::newRow("default, more menu") << QString() << false;
        QTest::newRow("saved, row menu") << "Icons 2" << true;
    }
    void duplicate() {
        QFETCH(QString, source);
        QFETCH(bool, fromRowMenu);
        start({savedProfile("Icons 2", OperationMode::Text), savedProfile("Logos")}, source);
        const Profile original = tab->model()->profileAt(selectedRow());

        std::unique_ptr<QMenu> rowMenu(tab->contextMenu(selectedRow()));
        trigger(fromRowMenu ? rowMenu.get() : tab->moreMenu(), "Duplicate");

        const QList<Profile> stored = Keys::profiles().get();
        QCOMPARE(optionsOf(stored.last()), optionsOf(original));
        QVERIFY(stored.last().id != original.id);
        verifySelection(stored.last().id);
    }

    void deleteProfile_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<QString>("selectedAfter");
        // Deleting through the bar always deletes the selected profile.
        QTest::newRow("selected third, bar") << "C"
                                             << "C"
                                             << "B";
        QTest::newRow("unselected, row menu") << "C"
                                              << "A"
                                              << "C";
    }
    void deleteProfile() {
        QFETCH(QString, selected);
        QFETCH(QString, deleted);
        QFETCH(QString, selectedAfter);
        start({savedProfile("A"), savedProfile("B"), savedProfile("C")}, selected);
        if (selected == deleted) {
            tab->listActions()->removeButton()->click();
        } else {
            // A right click on another row acts on that row and leaves the highlight alone.
            QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
            QListView *list = tab->listView();
            const QModelIndex row = tab->model()->index(tab->model()->rowOf(idNamed(deleted)));
            QVERIFY(chooseFromContextMenu(list->viewport(), list->visualRect(row).center(),
                                          QStringLiteral("Delete")));
        }
        QCOMPARE(Keys::profiles().get().size(), 2);
        QVERIFY(!names(Keys::profiles().get()).contains(deleted));
        verifySelection(idNamed(selectedAfter));
        // The deferred fall-back to the default profile must not undo the new selection.
        QCoreApplication::processEvents();
        verifySelection(idNamed(selectedAfter));
    }

    // The main window's current default profile follows the new default when it was not edited,
    // and shows the asterisk when it was.
    void applyToDefaultProfile_data() {
        QTest::addColumn<bool>("edited");
        QTest::newRow("current default unedited") << false;
        QTest::newRow("current default edited") << true;
    }
    void applyToDefaultProfile() {
        QFETCH(bool, edited);
        Profile icons = savedProfile("Icons", OperationMode::Text);
        start({savedProfile("Logos"), icons}, "Icons");
        MainWindow window(application->state());
        Profile current = Keys::defaultProfile().get();
        current.overwrite = !edited;
        application->state()->setProfile(current);
        trigger(tab->moreMenu(), "Apply to Default Profile");

        const Profile stored = Keys::defaultProfile().get();
        QCOMPARE(optionsOf(stored), optionsOf(icons));
        QCOMPARE(Keys::profiles().get().last(), icons);
        verifySelection(icons.id);
        QCOMPARE(application->state()->profile(), edited ? current : stored);
        QCOMPARE(application->state()->profileEdited(), edited);
        QCOMPARE(window.inspector()->profileEditor()->profile(), application->state()->profile());
    }

    void reorder_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("up to the top") << 3 << 1 << QStringList{"C", "A", "B", "D"};
        QTest::newRow("above the default") << 4 << 0 << QStringList{"D", "A", "B", "C"};
    }
    void reorder() {
        QFETCH(int, row);
        QFETCH(int, destination);
        QFETCH(QStringList, order);
        start({savedProfile("A"), savedProfile("B"), savedProfile("C"), savedProfile("D")}, "C");
        // The list view makes exactly this call when a dragged row is dropped.
        QVERIFY(tab->model()->moveRows({}, row, 1, {}, destination));
        QCOMPARE(names(Keys::profiles().get()), order);
        QCOMPARE(tab->model()->index(0).data().toString(), QStringLiteral("Default Profile"));
        verifySelection(idNamed("C"));
        // The default profile's row stays where it is.
        QVERIFY(!tab->model()->moveRows({}, 0, 1, {}, 3));
    }

    void editsGoToTheSelectedProfile_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("vanishes");
        QTest::newRow("default") << QString() << false;
        QTest::newRow("saved") << "Icons" << false;
        QTest::newRow("deleted elsewhere") << "Icons" << true;
    }
    void editsGoToTheSelectedProfile() {
        QFETCH(QString, selected);
        QFETCH(bool, vanishes);
        start({savedProfile("Logos"), savedProfile("Icons")}, selected);
        Profile edited = tab->editor()->profile();
        if (vanishes)
            Keys::profiles().set({Keys::profiles().get().first()});
        edited.mode = OperationMode::Text;
        edited.name = selected.isEmpty() ? edited.name : QStringLiteral("Glyphs");
        emit tab->editor()->profileEdited(edited);

        const QList<Profile> stored = Keys::profiles().get();
        if (vanishes) {
            // The edit is dropped and the highlight goes to the default profile afterwards.
            QCOMPARE(names(stored), QStringList{"Logos"});
            QCOMPARE(Keys::defaultProfile().get(), Profile::builtInDefault());
            QTRY_COMPARE(tab->selection(), Profile::defaultId);
            verifySelection(Profile::defaultId);
            return;
        }
        QCOMPARE(selected.isEmpty() ? Keys::defaultProfile().get() : stored.last(), edited);
        QCOMPARE(tab->model()->profileAt(selectedRow()), edited);
        verifySelection(edited.id);
    }

    void selectionFollowsStoreAndList() {
        start({savedProfile("A"), savedProfile("B")});
        // The default profile's row cannot be deleted.
        QVERIFY(!tab->listActions()->removeButton()->isEnabled());
        Keys::selectedProfile().set(idNamed("B"));
        verifySelection(idNamed("B"));
        tab->listView()->selectionModel()->setCurrentIndex(tab->model()->index(1),
                                                           QItemSelectionModel::ClearAndSelect);
        verifySelection(idNamed("A"));
        // The list never ends up without a highlighted row.
        tab->listView()->clearSelection();
        QTRY_COMPARE(selectedRow(), 1);
    }
};

QTEST_MAIN(TestProfilesTab)
#include "tst_profilestab.moc"
