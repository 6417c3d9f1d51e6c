#include "model/Settings.h"
#include "platform/AppcastUpdater.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/ProfileEditor.h"
#include "ui/ProfileListModel.h"
#include "ui/ProfilesSettingsTab.h"
#include "ui/components/ListActions.h"

#include <QListView>
#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

Profile saved(const QString &name, OperationMode mode = OperationMode::File) {
    Profile profile = Profile::makeNew();
    profile.name = name;
    profile.mode = mode;
    return profile;
}

QStringList names(const QList<Profile> &profiles) {
    QStringList result;
    for (const Profile &profile : profiles)
        result.append(profile.name);
    return result;
}

QStringList actionTexts(const QMenu *menu) {
    QStringList texts;
    for (const QAction *action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

void trigger(QMenu *menu, const QString &text) {
    for (QAction *action : menu->actions())
        if (action->text() == text)
            return action->trigger();
    QFAIL(qPrintable(QStringLiteral("no menu item ") + text));
}

// Options alone: the parts of a profile that survive duplication and applying.
Profile optionsOf(Profile profile) {
    profile.id.clear();
    profile.name.clear();
    return profile;
}

} // namespace

class TestProfilesTab : public QObject {
    Q_OBJECT
private:
    QTemporaryDir settingsDir;
    std::unique_ptr<Application> application;
    std::unique_ptr<ProfilesSettingsTab> tab;

    // Stores `profiles` and selects the one named `selected` (the default when empty), then
    // opens a fresh tab, as the settings window would find things.
    void start(const QList<Profile> &profiles = {}, const QString &selected = {}) {
        Keys::profiles().set(profiles);
        QString id = Profile::defaultId;
        for (const Profile &profile : profiles)
            if (profile.name == selected)
                id = profile.id;
        Keys::selectedProfile().set(id);
        tab = std::make_unique<ProfilesSettingsTab>(application.get());
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
        QVERIFY(settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
        QCoreApplication::setApplicationName(QStringLiteral("ProfilesTab"));
        AppcastUpdater::Options options;
        options.presentsDialogs = false;
        application = std::make_unique<Application>(new AppcastUpdater(options));
    }

    void init() {
        Keys::defaultProfile().remove();
        Keys::profiles().remove();
        Keys::selectedProfile().remove();
    }

    void cleanup() { tab.reset(); }

    void cleanupTestCase() { application.reset(); }

    void freshStore() {
        start();
        QCOMPARE(tab->model()->rowCount(), 1);
        QCOMPARE(tab->model()->index(0).data().toString(), QStringLiteral("Default Profile"));
        verifySelection(Profile::defaultId);
        QCOMPARE(tab->editor()->profile(), Profile::builtInDefault());
    }

    void actionsFollowSelection_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<bool>("removeDisabled");
        QTest::addColumn<QStringList>("moreItems");
        QTest::addColumn<QStringList>("contextItems");
        const QStringList all{"Duplicate", "Apply to Default Profile", "-", "Delete"};
        QTest::newRow("default") << QString() << true << QStringList{"Duplicate"}
                                 << QStringList{"Duplicate"};
        QTest::newRow("saved") << "Icons" << false
                               << QStringList{"Duplicate", "Apply to Default Profile"} << all;
    }
    void actionsFollowSelection() {
        QFETCH(QString, selected);
        QFETCH(bool, removeDisabled);
        QFETCH(QStringList, moreItems);
        QFETCH(QStringList, contextItems);
        start({saved("Icons")}, selected);
        QCOMPARE(tab->listActions()->isRemoveButtonDisabled(), removeDisabled);
        QCOMPARE(tab->listActions()->removeButton()->isEnabled(), !removeDisabled);
        QCOMPARE(actionTexts(tab->moreMenu()), moreItems);
        std::unique_ptr<QMenu> menu(tab->contextMenu(selectedRow()));
        QCOMPARE(actionTexts(menu.get()), contextItems);
    }

    void newProfileHasFactoryOptions() {
        Profile changed = Keys::defaultProfile().get();
        changed.mode = OperationMode::Text;
        changed.indentationStyle = IndentationStyle::Spaces;
        changed.wrapOutput = true;
        Keys::defaultProfile().set(changed);
        start({saved("Icons")});
        tab->listActions()->addButton()->click();

        const QList<Profile> stored = Keys::profiles().get();
        QCOMPARE(names(stored), QStringList({"Icons", "New Profile"}));
        QCOMPARE(optionsOf(stored.last()), optionsOf(Profile::builtInDefault()));
        QVERIFY(stored.last().id != stored.first().id);
        QCOMPARE(selectedRow(), 2);
        verifySelection(stored.last().id);
    }

    void duplicate_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<bool>("fromContextMenu");
        QTest::addColumn<QString>("copyName");
        QTest::newRow("default, more menu") << QString() << false << "New Profile";
        QTest::newRow("default, row menu") << QString() << true << "New Profile";
        QTest::newRow("saved, more menu") << "Icons 2" << false << "Icons 3";
        QTest::newRow("saved, row menu") << "Icons 2" << true << "Icons 3";
    }
    void duplicate() {
        QFETCH(QString, source);
        QFETCH(bool, fromContextMenu);
        QFETCH(QString, copyName);
        Profile changedDefault = Keys::defaultProfile().get();
        changedDefault.prettyPrint = true;
        changedDefault.indentationWidth = 2;
        Keys::defaultProfile().set(changedDefault);
        start({saved("Icons 2", OperationMode::Text), saved("Logos")}, source);
        const Profile original = tab->model()->profileAt(selectedRow());

        if (fromContextMenu) {
            std::unique_ptr<QMenu> menu(tab->contextMenu(selectedRow()));
            trigger(menu.get(), "Duplicate");
        } else {
            trigger(tab->moreMenu(), "Duplicate");
        }

        const QList<Profile> stored = Keys::profiles().get();
        QCOMPARE(stored.size(), 3);
        const Profile copy = stored.last();
        QCOMPARE(copy.name, copyName);
        QCOMPARE(optionsOf(copy), optionsOf(original));
        QVERIFY(copy.id != original.id);
        QCOMPARE(copy.id.size(), 36);
        verifySelection(copy.id);
    }

    void deleteProfile_data() {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("deleted");
        QTest::addColumn<bool>("fromContextMenu");
        QTest::addColumn<QString>("selectedAfter");
        QTest::newRow("selected first") << "A"
                                        << "A" << false << QString();
        QTest::newRow("selected third") << "C"
                                        << "C" << false << "B";
        QTest::newRow("selected second, row menu") << "B"
                                                   << "B" << true << "A";
        QTest::newRow("unselected, row menu") << "B"
                                              << "C" << true << "B";
        QTest::newRow("unselected first, row menu") << "C"
                                                    << "A" << true << "C";
    }
    void deleteProfile() {
        QFETCH(QString, selected);
        QFETCH(QString, deleted);
        QFETCH(bool, fromContextMenu);
        QFETCH(QString, selectedAfter);
        const QList<Profile> profiles{saved("A"), saved("B"), saved("C")};
        start(profiles, selected);
        const int row = tab->model()->rowOf(
            std::find_if(profiles.begin(), profiles.end(), [&](const Profile &p) {
                return p.name == deleted;
            })->id);

        if (fromContextMenu) {
            std::unique_ptr<QMenu> menu(tab->contextMenu(row));
            trigger(menu.get(), "Delete");
        } else {
            tab->listActions()->removeButton()->click();
        }

        QStringList remaining{"A", "B", "C"};
        remaining.removeOne(deleted);
        QCOMPARE(names(Keys::profiles().get()), remaining);
        QString expected = Profile::defaultId;
        for (const Profile &profile : profiles)
            if (profile.name == selectedAfter)
                expected = profile.id;
        verifySelection(expected);
        // The deferred fall-back to the default must not undo the new selection.
        QTest::qWait(10);
        verifySelection(expected);
    }

    void applyToDefaultProfile() {
        Profile icons = saved("Icons", OperationMode::Text);
        icons.wrapIndividual = true;
        icons.wrapIndividualPrefix = QStringLiteral("<li>");
        start({saved("Logos"), icons}, "Icons");
        trigger(tab->moreMenu(), "Apply to Default Profile");

        const Profile stored = Keys::defaultProfile().get();
        QCOMPARE(stored.id, Profile::defaultId);
        QCOMPARE(stored.name, QStringLiteral("Default Profile"));
        QCOMPARE(optionsOf(stored), optionsOf(icons));
        QCOMPARE(Keys::profiles().get().last(), icons);
        verifySelection(icons.id);
    }

    void reorder_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("destination");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("up to the top") << 3 << 1 << QStringList{"C", "A", "B", "D"};
        QTest::newRow("down to the end") << 1 << 5 << QStringList{"B", "C", "D", "A"};
        QTest::newRow("down one") << 2 << 4 << QStringList{"A", "C", "B", "D"};
        QTest::newRow("above the default") << 4 << 0 << QStringList{"D", "A", "B", "C"};
    }
    void reorder() {
        QFETCH(int, row);
        QFETCH(int, destination);
        QFETCH(QStringList, order);
        start({saved("A"), saved("B"), saved("C"), saved("D")}, "C");
        const QString selected = tab->selection();
        // The list view makes exactly this call when a row is dropped between others.
        QVERIFY(tab->model()->moveRows({}, row, 1, {}, destination));
        QCOMPARE(names(Keys::profiles().get()), order);
        QCOMPARE(tab->model()->index(0).data().toString(), QStringLiteral("Default Profile"));
        for (int i = 0; i < order.size(); ++i)
            QCOMPARE(tab->model()->index(i + 1).data().toString(), order.at(i));
        verifySelection(selected);
    }

    void defaultRowStaysOnTop() {
        start({saved("A")});
        QVERIFY(!tab->model()->flags(tab->model()->index(0)).testFlag(Qt::ItemIsDragEnabled));
        QVERIFY(!tab->model()->moveRows({}, 0, 1, {}, 2));
        QCOMPARE(names(Keys::profiles().get()), QStringList{"A"});
    }

    void editsGoToTheSelectedProfile_data() {
        QTest::addColumn<QString>("selected");
        QTest::newRow("default") << QString();
        QTest::newRow("saved") << "Icons";
    }
    void editsGoToTheSelectedProfile() {
        QFETCH(QString, selected);
        start({saved("Logos"), saved("Icons")}, selected);
        Profile edited = tab->editor()->profile();
        edited.mode = OperationMode::Text;
        if (!selected.isEmpty())
            edited.name = QStringLiteral("Glyphs");
        emit tab->editor()->profileEdited(edited);

        if (selected.isEmpty()) {
            QCOMPARE(Keys::defaultProfile().get(), edited);
            QCOMPARE(names(Keys::profiles().get()), QStringList({"Logos", "Icons"}));
        } else {
            QCOMPARE(Keys::profiles().get().last(), edited);
            QCOMPARE(Keys::defaultProfile().get(), Profile::builtInDefault());
            QCOMPARE(tab->model()->index(2).data().toString(), QStringLiteral("Glyphs"));
        }
        verifySelection(edited.id);
    }

    void missingSelectionFallsBackLater() {
        start({saved("Icons")}, "Icons");
        const Profile icons = Keys::profiles().get().first();
        // Another window (or process) removes the highlighted profile behind the tab's back.
        Keys::profiles().set({});
        QCOMPARE(tab->editedProfile(), Keys::defaultProfile().get());
        QCOMPARE(tab->selection(), icons.id);
        // An edit of the vanished profile is dropped, not stored anywhere.
        Profile edited = icons;
        edited.name = QStringLiteral("Ghost");
        tab->setEditedProfile(edited);
        QVERIFY(Keys::profiles().get().isEmpty());
        QCOMPARE(Keys::defaultProfile().get(), Profile::builtInDefault());
        QTRY_COMPARE(tab->selection(), Profile::defaultId);
        verifySelection(Profile::defaultId);
    }

    void selectionFollowsStoreAndList() {
        start({saved("A"), saved("B")});
        const QList<Profile> stored = Keys::profiles().get();
        Keys::selectedProfile().set(stored.at(1).id);
        verifySelection(stored.at(1).id);
        tab->listView()->selectionModel()->setCurrentIndex(tab->model()->index(1),
                                                           QItemSelectionModel::ClearAndSelect);
        verifySelection(stored.at(0).id);
        // The list never ends up without a highlighted row.
        tab->listView()->clearSelection();
        QTRY_COMPARE(selectedRow(), 1);
        verifySelection(stored.at(0).id);
    }

    void mainWindowProfileFallsBack_data() {
        QTest::addColumn<QString>("change");
        QTest::addColumn<bool>("fallsBack");
        QTest::newRow("another profile deleted") << "delete Logos" << false;
        QTest::newRow("current profile deleted") << "delete Icons" << true;
        QTest::newRow("current profile edited") << "edit Icons" << true;
        QTest::newRow("profiles reordered") << "move" << false;
    }
    void mainWindowProfileFallsBack() {
        QFETCH(QString, change);
        QFETCH(bool, fallsBack);
        start({saved("Logos"), saved("Icons")}, "Icons");
        const Profile icons = Keys::profiles().get().last();
        MainWindow window(application.get());
        application->setProfile(icons);

        if (change == "delete Logos") {
            tab->deleteProfile(Keys::profiles().get().first().id);
        } else if (change == "delete Icons") {
            tab->listActions()->removeButton()->click();
        } else if (change == "edit Icons") {
            Profile edited = icons;
            edited.overwrite = false;
            emit tab->editor()->profileEdited(edited);
        } else {
            tab->moveProfiles({1}, 0);
        }
        QTest::qWait(10);
        QCOMPARE(application->profile(), fallsBack ? Keys::defaultProfile().get() : icons);
    }
};

QTEST_MAIN(TestProfilesTab)
#include "tst_profilestab.moc"
