#include "model/ProfileStore.h"
#include "model/Settings.h"

#include <QtTest>

// The rules every view relies on, against a real settings store in a temporary folder.
class ProfileStoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;

    static Profile savedProfile(const char *name) {
        Profile profile = Profile::makeNew();
        profile.name = QLatin1String(name);
        return profile;
    }

    static QStringList names() {
        QStringList result;
        for (const Profile &profile : ProfileStore::profiles())
            result.append(profile.name);
        return result;
    }

private slots:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_profilestore"));
    }
    void init() {
        Keys::profiles().remove();
        Keys::defaultProfile().remove();
    }

    void namesCopiesAndRemovesWithTheHighlightRule() {
        Profile defaults = ProfileStore::defaultProfile();
        defaults.prettyPrint = true;
        ProfileStore::storeAsDefault(defaults);
        const Profile fresh = ProfileStore::addNew();
        QVERIFY(!fresh.prettyPrint); // factory options, not the stored default's
        const Profile copyOfDefault = ProfileStore::addDuplicate(ProfileStore::defaultProfile());
        QVERIFY(copyOfDefault.prettyPrint);
        Profile icons = ProfileStore::addNamed(fresh, QStringLiteral("Icons 9"));
        const Profile copy = ProfileStore::addDuplicate(icons);
        QCOMPARE(names(), QStringList({"New Profile", "New Profile 2", "Icons 9", "Icons 10"}));
        QVERIFY(copy.id != icons.id);

        icons.overwrite = false;
        QVERIFY(ProfileStore::update(icons));
        QVERIFY(!ProfileStore::find(icons.id)->overwrite);
        Profile gone = icons;
        gone.id = newIdentifier();
        QVERIFY(!ProfileStore::update(gone));

        QCOMPARE(ProfileStore::remove(icons.id), copyOfDefault.id);   // the one before it
        QCOMPARE(ProfileStore::remove(fresh.id), Profile::defaultId); // the first one
        QVERIFY(ProfileStore::remove(fresh.id).isEmpty());
        QCOMPARE(names(), QStringList({"New Profile 2", "Icons 10"}));
    }

    // Names pick one profile: empty and taken ones (any case, any blanks around them) are
    // refused for renames and numbered for new profiles. Repeated names in older stores stay.
    void namesStayUnique_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("problem");
        QTest::addColumn<QString>("added"); // the name a new profile asked to have it gets
        QTest::newRow("free") << "Logos" << QString() << "Logos";
        QTest::newRow("taken in another case") << " ICONS "
                                               << "There is already a profile named “Icons”."
                                               << "ICONS 4";
        QTest::newRow("the default's") << "default profile"
                                       << "There is already a profile named “Default Profile”."
                                       << "default profile 2";
        QTest::newRow("blank") << "  "
                               << "A profile needs a name."
                               << "New Profile";
    }
    void namesStayUnique() {
        QFETCH(QString, name);
        QFETCH(QString, problem);
        QFETCH(QString, added);
        const Profile icons = ProfileStore::addNamed(Profile::makeNew(), QStringLiteral("Icons"));
        Profile second = ProfileStore::addNamed(Profile::makeNew(), QStringLiteral("Icons 2"));
        Keys::profiles().set(ProfileStore::profiles()
                             << savedProfile("Web") << savedProfile("web"));
        QCOMPARE(ProfileStore::addDuplicate(icons).name, QStringLiteral("Icons 3"));
        QCOMPARE(ProfileStore::nameProblem(name), problem);
        // Keeping a name is no rename, even where an older store repeats it.
        Profile web = ProfileStore::profiles().at(3);
        web.overwrite = false;
        QVERIFY(ProfileStore::update(web));
        QCOMPARE(ProfileStore::profiles().at(3), web);

        const Profile made = ProfileStore::addNamed(Profile::makeNew(), name);
        QCOMPARE(made.name, added);
        ProfileStore::remove(made.id);
        second.name = name;
        second.mode = OperationMode::Text;
        QVERIFY(ProfileStore::update(second));
        const Profile renamed = *ProfileStore::find(second.id);
        QCOMPARE(renamed.name, problem.isEmpty() ? name : QStringLiteral("Icons 2"));
        QCOMPARE(renamed.mode, OperationMode::Text);
    }

    void storesAsDefaultUnderTheDefaultsName() {
        Profile saved = ProfileStore::addNamed(Profile::makeNew(), QStringLiteral("Web"));
        saved.mode = OperationMode::Text;
        ProfileStore::storeAsDefault(saved);
        const Profile stored = ProfileStore::defaultProfile();
        QCOMPARE(stored.id, Profile::defaultId);
        QCOMPARE(stored.name, defaultProfileName());
        QCOMPARE(stored.mode, OperationMode::Text);
    }

    void moves_data() {
        QTest::addColumn<QList<int>>("from");
        QTest::addColumn<int>("to");
        QTest::addColumn<QString>("order");
        QTest::newRow("down lands where dropped") << QList<int>{0} << 2 << "BAC";
        QTest::newRow("up") << QList<int>{2} << 0 << "CAB";
        QTest::newRow("several keep their order") << QList<int>{2, 0} << 3 << "BAC";
        QTest::newRow("out of range ignored") << QList<int>{7, -1} << 0 << "ABC";
        QTest::newRow("past the end clamps") << QList<int>{0} << 99 << "BCA";
    }
    void moves() {
        QFETCH(QList<int>, from);
        QFETCH(int, to);
        QFETCH(QString, order);
        for (const char *name : {"A", "B", "C"})
            ProfileStore::addNamed(Profile::makeNew(), QLatin1String(name));
        ProfileStore::move(from, to);
        QCOMPARE(names().join(QString()), order);
    }
};

QTEST_GUILESS_MAIN(ProfileStoreTest)
#include "tst_profilestore.moc"
