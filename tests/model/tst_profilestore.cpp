#include "model/ProfileStore.h"
#include "model/Settings.h"

#include <QtTest>

// The rules every view relies on, against a real settings store in a temporary folder.
class ProfileStoreTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_settings;

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
        // Names stay unique in any case and with blanks around them.
        QCOMPARE(ProfileStore::addNamed(fresh, QStringLiteral(" icons 10 ")).name, "icons 11");

        icons.overwrite = false;
        icons.name = QStringLiteral("NEW PROFILE"); // taken: the old name stays
        QVERIFY(ProfileStore::update(icons));
        QVERIFY(!ProfileStore::find(icons.id)->overwrite);
        QCOMPARE(ProfileStore::find(icons.id)->name, "Icons 9");
        Profile gone = icons;
        gone.id = newIdentifier();
        QVERIFY(!ProfileStore::update(gone));

        QCOMPARE(ProfileStore::remove(icons.id), copyOfDefault.id);   // the one before it
        QCOMPARE(ProfileStore::remove(fresh.id), Profile::defaultId); // the first one
        QVERIFY(ProfileStore::remove(fresh.id).isEmpty());
        QCOMPARE(names(), QStringList({"New Profile 2", "Icons 10", "icons 11"}));
        // A name repeated by an older store is no rename when kept.
        Profile older = copy;
        older.id = newIdentifier();
        Keys::profiles().set(ProfileStore::profiles() << older);
        older.mode = OperationMode::Text;
        QVERIFY(ProfileStore::update(older));
        QCOMPARE(ProfileStore::profiles().last(), older);
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
