#include "app/Translators.h"
#include "model/Profile.h"
#include "ui/TextOutputWindow.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTest>

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
};

QTEST_MAIN(TestTranslations)
#include "tst_translations.moc"
