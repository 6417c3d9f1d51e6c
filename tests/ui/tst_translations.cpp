#include "app/Translators.h"
#include "model/FileResults.h"
#include "model/Profile.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/main/MainWindow.h"
#include "ui/output/TextOutputWindow.h"

// The program under a desktop language: its own texts, from every layer, and Qt's standard
// buttons follow it where a catalogue exists, and stay English where none does.
class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void followsTheDesktopLanguage_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<bool>("installed");
        // A model text, a window's and Qt's own; Qt's depends on what the machine has installed.
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("no catalogue") << QLocale(QLocale::French, QLocale::France) << false
                                      << QStringList{"File", "Copy Output"};
        // Austrian German falls back to the German catalogue, as a desktop set to de_AT expects.
        QTest::newRow("regional German") << QLocale(QLocale::German, QLocale::Austria) << true
                                         << QStringList{"Datei", "Ausgabe kopieren", "Abbrechen"};
    }
    void followsTheDesktopLanguage() {
        QFETCH(QLocale, locale);
        QFETCH(bool, installed);
        QFETCH(QStringList, texts);
        QCOMPARE(installTranslators(*qApp, locale), installed);
        TextOutputWindow window(QStringLiteral("<svg/>"));
        QStringList actions;
        for (const QAction *action : window.findChildren<QAction *>())
            actions << action->text();
        QDialogButtonBox box(QDialogButtonBox::Cancel);
        QCOMPARE(title(OperationMode::File), texts[0]);
        QVERIFY2(actions.contains(texts[1]), qPrintable(actions.join(", ")));
        if (installed) // Qt's catalogue comes with ours
            QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), texts[2]);
    }

    void germanMenusHaveDistinctMnemonics() {
        QTemporaryDir settings;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
        QVERIFY(installTranslators(*qApp, QLocale(QLocale::German, QLocale::Germany)));
        Application application;
        const MainWindow *window = application.newMainWindow();
        QSet<QKeySequence> mnemonics;
        for (const QAction *menu : window->menuBar()->actions())
            mnemonics.insert(QKeySequence::mnemonic(menu->text()));
        QCOMPARE(mnemonics.size(), window->menuBar()->actions().size());
    }
    void countsUsePluralsAndLocaleDigits_data() {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("expected");
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        const QLocale german(QLocale::German, QLocale::Germany);
        QTest::newRow("English, one") << english << 1 << "1 file optimized, 0 failed";
        QTest::newRow("English, many") << english << 2078 << "2,078 files optimized, 0 failed";
        QTest::newRow("German, one") << german << 1 << "1 Datei optimiert, 0 fehlgeschlagen";
        QTest::newRow("German, many")
            << german << 7447 << "7.447 Dateien optimiert, 0 fehlgeschlagen";
    }
    void countsUsePluralsAndLocaleDigits() {
        QFETCH(QLocale, locale);
        QFETCH(int, count);
        QFETCH(QString, expected);
        for (QTranslator *translator : qApp->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QLocale::setDefault(locale);
        installTranslators(*qApp, locale);
        FileResults::Totals totals;
        totals.optimized = count;
        QVERIFY2(FileResults::summary(totals).startsWith(expected),
                 qPrintable(FileResults::summary(totals)));
    }
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
