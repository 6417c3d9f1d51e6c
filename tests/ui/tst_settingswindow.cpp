// The settings window, which opens on the tab chosen last and fits its screen; what the General
// and Updates tabs store; and the Profiles tab's list and editor against the real settings store.

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
#include "ui/profiles/SaveProfileSheet.h"
#include "ui/settings/GeneralSettingsTab.h"
#include "ui/settings/ProfilesSettingsTab.h"
#include "ui/settings/SettingsWindow.h"
#include "ui/settings/UpdatesSettingsTab.h"

Q_DECLARE_METATYPE(SettingsTab)

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

// Checks the question about deleting `name` and presses its button `answer`.
void answerDeletion(const QString &name, const QString &answer) {
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    QVERIFY(box && box->windowModality() == Qt::WindowModal);
    QCOMPARE(box->text(), QStringLiteral("Delete “%1”?").arg(name));
    QCOMPARE(box->informativeText(), "This cannot be undone.");
    QCOMPARE(box->defaultButton(), buttonOf(box, "Cancel"));
    QVERIFY(clickButtonOf(box, answer));
}

// The parts of a profile that survive duplication and applying.
Profile optionsOf(Profile profile) {
    profile.id.clear();
    profile.name.clear();
    return profile;
}

} // namespace

class TestSettingsWindow : public QObject {
    Q_OBJECT
    QTemporaryDir settingsDir;
    std::unique_ptr<Application> application;
    std::unique_ptr<ProfilesSettingsTab> tab;
    // An updater of the Updates tab's own, apart from the application's.
    std::unique_ptr<AppcastUpdater> updater;
    std::unique_ptr<UpdatesSettingsTab> updates;

    void showUpdatesTab() {
        updates = std::make_unique<UpdatesSettingsTab>(updater.get());
        updates->show();
    }

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
        useSettingsIn(settingsDir.path(), "SettingsWindow");
        application = std::make_unique<Application>(new AppcastUpdater({.presentsDialogs = false}));
    }

    void init() {
        QSettings().clear();
        updater =
            std::make_unique<AppcastUpdater>(AppcastUpdater::Options{.presentsDialogs = false});
    }

    void cleanup() {
        tab.reset();
        updates.reset();
        updater.reset();
    }
    void cleanupTestCase() { application.reset(); }

    void windowOpensOnSelectedTab_data() {
        QTest::addColumn<SettingsTab>("opened");
        QTest::newRow("profiles") << SettingsTab::Profiles;
        QTest::newRow("advanced") << SettingsTab::Advanced;
    }
    void windowOpensOnSelectedTab() {
        QFETCH(SettingsTab, opened);
        application->state()->setSelectedSettingsTab(opened);
        application->openSettings();
        SettingsWindow *window = application->settingsWindow();
        QVERIFY(window->isVisible());
        QCOMPARE(window->currentTab(), opened);

        // The user's choice of tab goes back to the application, and a second open brings the
        // same window forward.
        window->tabWidget()->setCurrentIndex(int(SettingsTab::Updates));
        QCOMPARE(application->state()->selectedSettingsTab(), SettingsTab::Updates);
        window->hide();
        application->openSettings();
        QCOMPARE(application->settingsWindow(), window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->currentTab(), SettingsTab::Updates);
        window->hide();
    }

    // Settings fits the free area of its screen on every tab, and every button in a tab can be
    // scrolled into full view (the Profiles list's bar included). Twice the scale on a screen
    // of 1600 × 1000 pixels, which is 800 × 500 then, is fixed when the application starts, so
    // a child process of this test checks that.
    void everyTabFitsTheScreen_data() {
        QTest::addColumn<bool>("doubleScale");
        QTest::newRow("as started") << false;
        QTest::newRow("double scale") << true;
    }
    void everyTabFitsTheScreen() {
        QFETCH(bool, doubleScale);
        if (doubleScale) {
            QTemporaryDir dir;
            const QString config = writeFile(dir.filePath("screen.json"),
                                             R"({"screens": [{"width": 1600, "height": 1000}]})");
            QProcess child;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert("QT_QPA_PLATFORM", "offscreen:configfile=" + config);
            environment.insert("QT_SCALE_FACTOR", "2");
            child.setProcessEnvironment(environment);
            child.setProcessChannelMode(QProcess::MergedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {"everyTabFitsTheScreen:as started"});
            QVERIFY(child.waitForFinished(-1));
            const QByteArray output = child.readAll();
            QVERIFY2(output.contains("Totals: 3 passed, 0 failed"), output.constData());
            return;
        }
        SettingsWindow *window = application->settingsWindow();
        for (int index = 0; index < window->tabWidget()->count(); ++index) {
            application->state()->setSelectedSettingsTab(SettingsTab(index));
            application->openSettings();
            QVERIFY(QTest::qWaitForWindowExposed(window));
            const QRect available = window->screen()->availableGeometry();
            if (qEnvironmentVariable("QT_SCALE_FACTOR") == "2")
                QCOMPARE(available.size(), QSize(800, 500));
            QVERIFY(available.contains(window->frameGeometry()));
            const auto buttons =
                window->tabWidget()->currentWidget()->findChildren<QAbstractButton *>();
            QVERIFY(!buttons.isEmpty());
            for (QAbstractButton *button : buttons) {
                for (QWidget *in = button->parentWidget(); button->isVisible() && in != window;
                     in = in->parentWidget())
                    if (auto *area = qobject_cast<QScrollArea *>(in))
                        area->ensureWidgetVisible(button, 0, 0);
                QVERIFY(!button->isVisible() ||
                        button->visibleRegion().boundingRect() == button->rect());
            }
        }
        window->hide();
    }

    // The results cache is turned off and on by its box, and the box follows the store.
    void cacheResultsBox() {
        GeneralSettingsTab general;
        QVERIFY(showOnScreen(&general));
        QCheckBox *box = general.cacheResultsBox();
        QVERIFY(box->isChecked());
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        QCOMPARE(Keys::cacheResults().get(), false);
        Keys::cacheResults().set(true);
        QVERIFY(box->isChecked());
    }

    // Escape on an open drop-down closes only the drop-down; the next one closes the window.
    void escapeClosesTheDropDownFirst() {
        application->state()->setSelectedSettingsTab(SettingsTab::General);
        application->openSettings();
        SettingsWindow *window = application->settingsWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QComboBox *picker = window->generalTab()->lineEndingPicker();
        QTest::mouseClick(picker, Qt::LeftButton);
        QTRY_VERIFY(picker->view()->isVisible());
        QTest::keyClick(picker->view(), Qt::Key_Escape);
        QTRY_VERIFY(!picker->view()->isVisible());
        QVERIFY(window->isVisible());
        QTest::keyClick(picker, Qt::Key_Escape);
        QTRY_VERIFY(!window->isVisible());
    }

    // The download choice only applies with checks on; turning checks off keeps it, greyed out.
    void downloadBoxFollowsChecks() {
        updater->setAutomaticallyDownloadsUpdates(true);
        showUpdatesTab();
        QCheckBox *checks = updates->automaticChecksBox();
        QCheckBox *download = updates->automaticDownloadsBox();
        QVERIFY(!download->isEnabled());
        QVERIFY(download->isChecked());
        checks->click();
        QVERIFY(updater->automaticallyChecksForUpdates());
        QVERIFY(download->isEnabled());
        download->click();
        QVERIFY(!updater->automaticallyDownloadsUpdates());
        checks->click();
        QVERIFY(!download->isEnabled());
        QVERIFY(!download->isChecked());
    }

    // The stored interval shows as its entry, or as a blank when the list lacks it, and is not
    // written back; a choice made with the keyboard goes to the updater.
    void frequency_data() {
        QTest::addColumn<qint64>("interval");
        QTest::newRow("listed") << qint64(604800);
        QTest::newRow("not listed") << qint64(7200);
    }
    void frequency() {
        QFETCH(qint64, interval);
        updater->setUpdateCheckInterval(interval);
        showUpdatesTab();
        QComboBox *box = updates->frequencyBox();
        QCOMPARE(box->currentIndex(), box->findData(interval));
        QCOMPARE(box->currentText().isEmpty(), box->findData(interval) < 0);
        QCOMPARE(updater->updateCheckInterval(), interval);
        QTest::keyClick(box, Qt::Key_Down);
        QVERIFY(box->currentData().toLongLong() != interval);
        QCOMPARE(updater->updateCheckInterval(), box->currentData().toLongLong());
    }

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

    // Every way to delete asks first; only "Delete" deletes.
    void deleteProfile_data() {
        QTest::addColumn<QString>("way");
        // The profile selected, the one deleted, the answer, the one selected afterwards; the
        // bar and the key always delete the selected profile.
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("selected third, bar") << "bar" << QStringList{"C", "C", "Delete", "B"};
        QTest::newRow("unselected, row menu") << "menu" << QStringList{"C", "A", "Delete", "C"};
        QTest::newRow("Delete key, cancelled") << "key" << QStringList{"B", "B", "Cancel", "B"};
    }
    void deleteProfile() {
        QFETCH(QString, way);
        QFETCH(QStringList, steps);
        const QString selected = steps[0], deleted = steps[1], answer = steps[2];
        const QString selectedAfter = steps[3];
        start({savedProfile("A"), savedProfile("B"), savedProfile("C")}, selected);
        QVERIFY(QTest::qWaitForWindowExposed(tab.get()));
        QListView *list = tab->listView();
        if (way == "bar") {
            QTest::mouseClick(tab->listActions()->removeButton(), Qt::LeftButton);
        } else if (way == "key") {
            QTest::keyClick(list, Qt::Key_Delete);
        } else {
            // A right click on another row acts on that row and leaves the highlight alone.
            const QModelIndex row = tab->model()->index(tab->model()->rowOf(idNamed(deleted)));
            QVERIFY(chooseFromContextMenu(list->viewport(), list->visualRect(row).center(),
                                          QStringLiteral("Delete")));
        }
        QCOMPARE(Keys::profiles().get().size(), 3); // nothing yet
        answerDeletion(deleted, answer);
        QCOMPARE(names(Keys::profiles().get()).contains(deleted), answer == "Cancel");
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

    // A rename to a taken or empty name is not stored and says why above the editor; leaving
    // the field brings back the name from before. The sheet that saves a new profile refuses
    // the same names, and proposes a free one.
    void namesStayUnique_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("problem");
        QTest::newRow("free") << "Glyphs" << QString();
        QTest::newRow("taken, other case") << "LOGOS"
                                           << "There is already a profile named “Logos”.";
        QTest::newRow("empty") << QString() << "A profile needs a name.";
    }
    void namesStayUnique() {
        QFETCH(QString, typed);
        QFETCH(QString, problem);
        start({savedProfile("Logos"), savedProfile("new profile")}, "new profile");
        SaveProfileSheet sheet(tab.get());
        QSignalSpy saved(&sheet, &SaveProfileSheet::saveRequested);
        sheet.open();
        QCOMPARE(sheet.profileName(), "New Profile 2");
        auto *field = tab->editor()->findChild<QLineEdit *>("profileName");
        for (QLineEdit *typing : {sheet.nameField(), field}) {
            QVERIFY(QTest::qWaitForWindowExposed(typing->window()));
            typing->setFocus();
            QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(typing, Qt::Key_Backspace);
            QTest::keyClicks(typing, typed);
            QLabel *hint = typing == field ? tab->nameProblemLabel() : sheet.nameProblemLabel();
            QCOMPARE(hint->text(), problem);
            QCOMPARE(hint->isVisible(), !problem.isEmpty());
            QCOMPARE(sheet.saveButton()->isEnabled(), problem.isEmpty());
            // Half-typed names on the way ("LOGO") do not stay either.
            QTest::keyClick(typing, Qt::Key_Return);
        }
        QCOMPARE(saved.size(), problem.isEmpty() ? 1 : 0);
        QCOMPARE(sheet.isVisible(), !problem.isEmpty());
        const QString kept = problem.isEmpty() ? typed : "new profile";
        QCOMPARE(names(Keys::profiles().get()), (QStringList{"Logos", kept}));
        QCOMPARE(field->text(), kept);
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

QTEST_MAIN(TestSettingsWindow)
#include "tst_settingswindow.moc"
