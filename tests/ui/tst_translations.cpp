#include "app/Translators.h"
#include "model/Profile.h"
#include "model/SVGFileList.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/SettingsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

// The program under a German desktop: its own windows and Qt's standard buttons speak German.
class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void languagesWithoutCatalogueKeepEnglish();
    void windowsSpeakGerman();
    void countsUsePluralsAndLocaleDigits_data();
    void countsUsePluralsAndLocaleDigits();

private:
    QTemporaryDir m_settingsDir;
};

void TestTranslations::initTestCase() {
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QCoreApplication::setOrganizationName(QStringLiteral("MirandelTests"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_translations"));
}

void TestTranslations::languagesWithoutCatalogueKeepEnglish() {
    QVERIFY(!installTranslators(*qApp, QLocale(QLocale::French, QLocale::France)));
    QCOMPARE(title(OperationMode::File), QStringLiteral("File"));
}

void TestTranslations::windowsSpeakGerman() {
    // Austrian German falls back to the German catalogue, as a desktop set to de_AT expects.
    QVERIFY(installTranslators(*qApp, QLocale(QLocale::German, QLocale::Austria)));

    QCOMPARE(title(OperationMode::File), QStringLiteral("Datei"));
    QCOMPARE(defaultProfileName(), QStringLiteral("Standardprofil"));

    Application application;
    MainWindow *window = application.newMainWindow();
    QVERIFY(window);
    QCOMPARE(window->files()->headerData(SVGFileList::FileName, Qt::Horizontal).toString(),
             QStringLiteral("Dateiname"));
    QStringList buttons;
    for (const QAbstractButton *button : window->findChildren<QAbstractButton *>())
        buttons << button->text();
    QVERIFY2(buttons.contains(QStringLiteral("Optimieren")), qPrintable(buttons.join(", ")));

    SettingsWindow *settings = application.settingsWindow();
    QCOMPARE(settings->windowTitle(), QStringLiteral("Einstellungen"));
    QStringList tabs;
    for (int i = 0; i < settings->tabWidget()->count(); ++i)
        tabs << settings->tabWidget()->tabText(i);
    QCOMPARE(tabs, (QStringList{QStringLiteral("Allgemein"), QStringLiteral("Profile"),
                                QStringLiteral("Aktualisierungen"), QStringLiteral("Erweitert")}));

    // Every menu of the bar has a shortcut letter of its own.
    QSet<QKeySequence> mnemonics;
    for (const QAction *menu : window->menuBar()->actions())
        mnemonics.insert(QKeySequence::mnemonic(menu->text()));
    QCOMPARE(mnemonics.size(), window->menuBar()->actions().size());

    // Qt's own catalogue is installed too.
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

void TestTranslations::countsUsePluralsAndLocaleDigits_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("expected");
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("English, one") << english << 1 << "1 file optimized, 0 failed";
    QTest::newRow("English, many") << english << 2078 << "2,078 files optimized, 0 failed";
    QTest::newRow("German, one") << german << 1 << "1 Datei optimiert, 0 fehlgeschlagen";
    QTest::newRow("German, many") << german << 7447 << "7.447 Dateien optimiert, 0 fehlgeschlagen";
}

void TestTranslations::countsUsePluralsAndLocaleDigits() {
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

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
