// The settings store against a real settings file in a temporary folder: what it reads back,
// damaged or not, and whom it tells of changes; and the rules every view of the stored profiles
// relies on.

#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "model/Settings.h"

#include <QSaveFile>
#include <QtTest>

#include <atomic>

namespace {

// The first profile's texts need quoting and escaping both in JSON and in the INI file.
QList<Profile> someProfiles(int count) {
    QList<Profile> list;
    for (int i = 0; i < count; ++i) {
        Profile p = Profile::makeNew();
        p.name = i == 0 ? QStringLiteral("Icons, \"Web\" / ä") : QStringLiteral("P %1").arg(i);
        p.wrapOutputPrefix = QStringLiteral("<ul>\n");
        p.indentationWidth = i;
        list.append(p);
    }
    return list;
}

QByteArray readFile(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Rewrites the settings file in place, as an editor would. A comment of varying length makes
// sure QSettings notices a different size and reads the file again.
void writeSettingsFile(const QList<QByteArray> &lines) {
    static int generation = 0;
    QFile file(Defaults::settingsFileName());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("; " + QByteArray(++generation % 13 + 1, 'x') + "\n[General]\n");
    for (const QByteArray &line : lines)
        file.write(line + '\n');
}

QVariant readKey(const QString &name) {
    if (name == QLatin1String("svgoExecutablePath"))
        return Keys::svgoExecutablePath().get();
    if (name == QLatin1String("copyTextOutputAutomatically"))
        return Keys::copyTextOutputAutomatically().get();
    if (name == QLatin1String("defaultProfile"))
        return QVariant::fromValue(Keys::defaultProfile().get());
    if (name == QLatin1String("profiles"))
        return QVariant::fromValue(Keys::profiles().get());
    return Keys::chunkSize().get();
}

QStringList storedNames() {
    QStringList names;
    for (const Profile &profile : ProfileStore::profiles())
        names.append(profile.name);
    return names;
}

} // namespace

class DefaultsTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_home;

private slots:
    void initTestCase() {
        QVERIFY(m_home.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_home.path());
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_defaults"));
        QVERIFY(Defaults::settingsFileName().startsWith(m_home.path()));
    }

    void init() {
        QSettings settings;
        settings.clear();
        settings.sync();
    }

    void profileListsStayLists_data() {
        QTest::addColumn<int>("count");
        QTest::newRow("none") << 0;
        QTest::newRow("one") << 1;
        QTest::newRow("many") << 4;
    }

    // What one run writes, the next reads back: QSettings must not turn a list of one into a
    // plain string, and each profile is stored as its JSON text. Removing reads the default again.
    void profileListsStayLists() {
        QFETCH(int, count);
        const QList<Profile> profiles = someProfiles(count);
        Keys::profiles().set(profiles);
        writeSettingsFile(readFile(Defaults::settingsFileName()).split('\n'));
        QCOMPARE(Keys::profiles().get(), profiles);
        const QStringList raw = QSettings().value(QStringLiteral("profiles")).toStringList();
        for (int i = 0; count > 1 && i < count; ++i)
            QCOMPARE(raw.value(i).toUtf8(), profiles[i].toJson());
        Keys::profiles().remove();
        QCOMPARE(Keys::profiles().get(), QList<Profile>());
    }

    void readsDamagedDataAsDefault_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored"); // written as it is, as another run might have
        QTest::addColumn<QVariant>("expected");

        const QVariant builtIn = QVariant::fromValue(Profile::builtInDefault());
        const QList<Profile> three = someProfiles(3);
        QStringList json;
        for (const Profile &p : three)
            json.append(QString::fromUtf8(p.toJson()));
        json[1].replace(QStringLiteral("\"mode\":\"file\""), QStringLiteral("\"mode\":\"File\""));

        QTest::newRow("integer as text") << "chunkSize" << QVariant("12") << QVariant(12ll);
        QTest::newRow("integer garbage") << "chunkSize" << QVariant("12abc") << QVariant(50ll);
        QTest::newRow("boolean garbage")
            << "copyTextOutputAutomatically" << QVariant("yes") << QVariant(false);
        QTest::newRow("string as list")
            << "svgoExecutablePath" << QVariant(QStringList{"a", "b"}) << QVariant(QString());
        QTest::newRow("profile not JSON") << "defaultProfile" << QVariant("not json") << builtIn;
        QTest::newRow("profile as list") << "defaultProfile" << QVariant(json.mid(0, 2)) << builtIn;
        QTest::newRow("profile of another run")
            << "defaultProfile" << QVariant(json[0]) << QVariant::fromValue(three[0]);
        QTest::newRow("bad element dropped")
            << "profiles" << QVariant(json)
            << QVariant::fromValue(QList<Profile>{three[0], three[2]});
        QTest::newRow("invalid list")
            << "profiles" << QVariant() << QVariant::fromValue(QList<Profile>());
    }

    void readsDamagedDataAsDefault() {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QVariant, expected);
        QSettings().setValue(key, stored);
        QSettings().sync();
        const QByteArray before = readFile(Defaults::settingsFileName());
        QVERIFY(before.contains(key.toUtf8() + '='));
        QCOMPARE(readKey(key), expected);
        // Damaged data stays until the key is written again.
        QCOMPARE(readFile(Defaults::settingsFileName()), before);
    }

    // Views hear of every real change once, on their own thread, however it was made: through
    // any key of the same name (removing included), by a worker thread, or by another program
    // editing the file. A view that is gone hears nothing.
    void observesChanges_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("another key of the same name") << "key";
        QTest::newRow("file rewritten in place") << "inplace";
        QTest::newRow("file replaced atomically") << "atomic";
        QTest::newRow("worker thread") << "thread";
    }

    void observesChanges() {
        QFETCH(QString, how);
        Keys::copyTextOutputAutomatically().set(false);
        QObject view;
        QList<bool> seen;
        QThread *deliveredOn = nullptr;
        Defaults::observe<bool>(
            Keys::copyTextOutputAutomatically(), &view,
            [&](bool v) {
                seen.append(v);
                deliveredOn = QThread::currentThread();
            },
            Defaults::ObserveOption::Initial);
        {
            QObject gone;
            Defaults::observe<bool>(Keys::copyTextOutputAutomatically(), &gone,
                                    [](bool) { QFAIL("stale call"); });
        }

        // Two edits in a row: the second proves the watch survives the first.
        for (const bool value : {true, false}) {
            const QByteArray line =
                QByteArray("copyTextOutputAutomatically=") + (value ? "true" : "false");
            if (how == QLatin1String("key")) {
                const Defaults::Key<bool> same(QStringLiteral("copyTextOutputAutomatically"),
                                               [] { return false; });
                value ? same.set(value) : same.remove();
                same.set(value);                      // no change, no call
                Keys::chunkSize().set(value ? 1 : 2); // another setting, no call
            } else if (how == QLatin1String("thread")) {
                // The optimizer's threads may write settings too; views hear of it on their own.
                std::unique_ptr<QThread> worker(
                    QThread::create([value] { Keys::copyTextOutputAutomatically().set(value); }));
                worker->start();
                QVERIFY(worker->wait(5000));
            } else if (how == QLatin1String("inplace")) {
                writeSettingsFile({line});
            } else {
                QSaveFile file(Defaults::settingsFileName());
                QVERIFY(file.open(QIODevice::WriteOnly));
                file.write("[General]\n" + line + "\n; " + QByteArray(seen.size() + 1, 'x') + "\n");
                QVERIFY(file.commit());
            }
            QTRY_COMPARE(seen.size(), value ? 2 : 3); // after the initial value
            QCOMPARE(seen.last(), value);
            QCOMPARE(deliveredOn, QThread::currentThread());
        }
    }

    void concurrentReadersAndWriters() {
        // The optimizer reads settings on worker threads while the interface writes them.
        std::atomic<int> wrongReads = 0;
        QList<QThread *> threads;
        for (int t = 0; t < 4; ++t)
            threads.append(QThread::create([t, &wrongReads] {
                for (int i = 0; i < 40; ++i) {
                    if (t % 2 == 0)
                        Keys::chunkSize().set(100 + i);
                    const qint64 value = Keys::chunkSize().get();
                    wrongReads += (value != 50 && (value < 100 || value >= 140)) ? 1 : 0;
                }
            }));
        for (QThread *thread : threads)
            thread->start();
        for (QThread *thread : threads) {
            QVERIFY(thread->wait(60000));
            delete thread;
        }
        QCOMPARE(wrongReads.load(), 0);
        QCOMPARE(Keys::chunkSize().get(), 139);
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
        QCOMPARE(storedNames(),
                 QStringList({"New Profile", "New Profile 2", "Icons 9", "Icons 10"}));
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
        QCOMPARE(storedNames(), QStringList({"New Profile 2", "Icons 10", "icons 11"}));
        // A name repeated by an older store is no rename when kept.
        Profile older = copy;
        older.id = newIdentifier();
        Keys::profiles().set(ProfileStore::profiles() << older);
        older.mode = OperationMode::Text;
        QVERIFY(ProfileStore::update(older));
        QCOMPARE(ProfileStore::profiles().last(), older);
        // A saved profile stored as the default takes the default's id and name.
        ProfileStore::storeAsDefault(older);
        QCOMPARE(ProfileStore::defaultProfile().id, Profile::defaultId);
        QCOMPARE(ProfileStore::defaultProfile().name, defaultProfileName());
        QCOMPARE(ProfileStore::defaultProfile().mode, OperationMode::Text);
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
        QCOMPARE(storedNames().join(QString()), order);
    }
};

QTEST_GUILESS_MAIN(DefaultsTest)
#include "tst_defaults.moc"
