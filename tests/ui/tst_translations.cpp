#include "app/Translators.h"
#include "model/Profile.h"
#include "model/SVGFileList.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/SettingsWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

// The program under a German desktop: its own windows and Qt's standard buttons speak German.
class TestTranslations : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void languagesWithoutCatalogueKeepEnglish();
    void windowsSpeakGerman();

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

    // Qt's own catalogue is installed too.
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
}

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
