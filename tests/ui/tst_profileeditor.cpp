// The profile editor form: what typing and choosing store, and the save-profile sheet.

#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/CommandManager.h"
#include "ui/UiTestSupport.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/SaveProfileSheet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

class tst_ProfileEditor : public QObject {
    Q_OBJECT
    template <typename T> T *child(const char *name) {
        T *found = m_editor->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no child %s", name);
        return found;
    }

    QTemporaryDir m_settings;
    std::unique_ptr<Application> m_application;
    std::unique_ptr<QWidget> m_window;
    ProfileEditor *m_editor = nullptr;

    ProfileEditor *makeEditor(bool allowNameChange, bool allowSaving, const Profile &profile) {
        m_window = std::make_unique<QWidget>();
        m_editor =
            new ProfileEditor(m_application->state(), allowNameChange, allowSaving, m_window.get());
        m_editor->setProfile(profile);
        m_window->resize(400, 600);
        m_window->show();
        return m_editor;
    }

private slots:
    void initTestCase() { useSettingsIn(m_settings.path(), "tst_profileeditor"); }

    void init() {
        Keys::profiles().remove();
        Keys::defaultProfile().remove();
        m_application = std::make_unique<Application>();
    }

    void cleanup() {
        m_window.reset();
        m_application.reset();
    }

    void wrapFieldsStoreWhatIsTyped_data() {
        QTest::addColumn<QString>("section");
        QTest::addColumn<bool>("suffix");
        QTest::newRow("output prefix") << "wrapOutputSection" << false;
        QTest::newRow("output suffix") << "wrapOutputSection" << true;
        QTest::newRow("element prefix") << "wrapIndividualSection" << false;
        QTest::newRow("element suffix") << "wrapIndividualSection" << true;
    }

    void wrapFieldsStoreWhatIsTyped() {
        QFETCH(QString, section);
        QFETCH(bool, suffix);
        Profile profile = Profile::builtInDefault();
        profile.mode = OperationMode::Text;
        profile.wrapOutput = profile.wrapIndividual = true;
        makeEditor(false, true, profile);

        auto value = [&](const Profile &p) {
            if (section == "wrapOutputSection")
                return suffix ? p.wrapOutputSuffix : p.wrapOutputPrefix;
            return suffix ? p.wrapIndividualSuffix : p.wrapIndividualPrefix;
        };
        auto *field = m_editor->findChild<QWidget *>(section)->findChild<QLineEdit *>(
            suffix ? "suffix" : "prefix");
        // Absent shows as empty, with only the prompt in sight.
        QVERIFY(field->text().isEmpty());
        QVERIFY(!field->placeholderText().isEmpty());
        QCOMPARE(value(m_editor->profile()), std::nullopt);

        QTest::keyClicks(field, "<a>");
        QCOMPARE(value(m_editor->profile()), std::optional<QString>("<a>"));
        // Erasing everything stores the empty text, not "absent".
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(value(m_editor->profile()), std::optional<QString>(QString()));
    }

    // Only plain documents can sit inside the wrappers; for the other formats both toggles are
    // greyed out, say why, and ignore clicks.
    void wrappersFollowTheFormat_data() {
        QTest::addColumn<int>("downs"); // presses of the down arrow in the format picker
        QTest::addColumn<bool>("wraps");
        QTest::newRow("wrapped") << 0 << true;
        QTest::newRow("css") << 1 << false;
        QTest::newRow("sprite") << 2 << false;
        QTest::newRow("json") << 3 << false;
    }
    void wrappersFollowTheFormat() {
        QFETCH(int, downs);
        QFETCH(bool, wraps);
        Profile profile = Profile::builtInDefault();
        profile.mode = OperationMode::Text;
        makeEditor(false, true, profile);
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(child<QComboBox>("outputFormat"), Qt::Key_Down);
        QCOMPARE(m_editor->profile().outputFormat, allOutputFormats().at(downs));
        QCOMPARE(child<QLabel>("wrapperNote")->isVisible(), !wraps);
        for (const char *name : {"wrapOutputSectionToggle", "wrapIndividualSectionToggle"}) {
            auto *toggle = child<QCheckBox>(name);
            QVERIFY(toggle->isVisible());
            QCOMPARE(toggle->toolTip().isEmpty(), wraps);
            QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(8, toggle->height() / 2));
        }
        QCOMPARE(m_editor->profile().wrapOutput, wraps);
        QCOMPARE(m_editor->profile().wrapIndividual, wraps);
    }

    void widthRefusesNegatives() {
        Profile profile = Profile::builtInDefault();
        profile.mode = OperationMode::Text;
        profile.prettyPrint = true;
        profile.indentationStyle = IndentationStyle::Spaces;
        makeEditor(false, true, profile);
        auto *width = child<QLineEdit>("indentationWidth");
        width->selectAll();
        QTest::keyClicks(width, "-3x");
        QCOMPARE(width->text(), "3");
        QCOMPARE(m_editor->profile().indentationWidth, 3);
        // An emptied field is no number: the stored width comes back on leaving.
        width->selectAll();
        QTest::keyClick(width, Qt::Key_Backspace);
        emit width->editingFinished();
        QCOMPARE(width->text(), "3");
    }

    // The precision box takes its two words as well as digits, typed or stepped through.
    void precisionTakesWordsAndDigits_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<int>("precision"); // -1: none
        QTest::newRow("automatic") << "automatic" << true << -1;
        QTest::newRow("default") << "Default" << false << -1;
        QTest::newRow("digits") << "2" << false << 2;
    }
    void precisionTakesWordsAndDigits() {
        QFETCH(QString, typed);
        QFETCH(bool, automatic);
        QFETCH(int, precision);
        Profile profile = Profile::builtInDefault();
        profile.precision = 5;
        makeEditor(false, true, profile);
        auto *box = child<QSpinBox>("precision");
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(m_editor->profile().automaticPrecision, automatic);
        QCOMPARE(m_editor->profile().precision.value_or(-1), precision);
        // One step down from the lowest digits reaches "Default", and one more "Automatic".
        box->setValue(0);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), "Automatic");
        QVERIFY(m_editor->profile().automaticPrecision);
        // The search for breaking plugins needs the rendering check.
        auto *search = child<QCheckBox>("findBreakingPlugins");
        QVERIFY(search->isEnabled());
        QTest::mouseClick(child<QCheckBox>("checkRendering"), Qt::LeftButton, {},
                          QPoint(8, search->height() / 2));
        QVERIFY(!search->isEnabled());
    }

    // "Choose…" opens the file dialog; what is typed there and confirmed with Enter is stored.
    void choosersStoreThePick_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("typed");
        QTest::newRow("output folder") << QString("chooseOutputFolder") << "out";
        QTest::newRow("configuration") << QString("chooseConfiguration") << "pretty.config.mjs";
    }
    void choosersStoreThePick() {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("out"));
        QVERIFY(QFile::copy(MIRANDEL_SOURCE_DIR "/tests/data/pretty.config.mjs",
                            dir.filePath("pretty.config.mjs")));
        Profile profile = Profile::builtInDefault();
        profile.overwrite = false;
        makeEditor(false, true, profile);
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

        QTest::mouseClick(child<QPushButton>(qPrintable(button)), Qt::LeftButton);
        auto *dialog = m_window->findChild<QFileDialog *>();
        QVERIFY(dialog);
        dialog->setDirectory(dir.path());
        QVERIFY(typeIntoFileDialog(typed));
        const std::optional<QUrl> stored = button == "chooseOutputFolder"
                                               ? m_editor->profile().outputFolder
                                               : m_editor->profile().svgoConfigFile;
        QVERIFY(stored);
        QCOMPARE(QDir::cleanPath(stored->toLocalFile()), dir.filePath(typed));
        if (button == "chooseConfiguration") {
            child<QPushButton>("removeConfiguration")->click();
            QCOMPARE(m_editor->profile().svgoConfigFile, std::nullopt);
        }
    }

    void saveNewProfileOnlyWhereAllowed() {
        // The settings window's editor neither shows the sheet nor saves anything.
        makeEditor(true, false, Profile::builtInDefault());
        emit m_application->state()->commandManager()->saveNewProfile();
        QVERIFY(!m_editor->findChild<SaveProfileSheet *>() &&
                !m_window->findChild<SaveProfileSheet *>());

        // It still answers "store as default" (the naming is the profile store's test).
        Profile options = Profile::makeNew();
        options.mode = OperationMode::Text;
        m_editor->setProfile(options);
        emit m_application->state()->commandManager()->saveAsDefaultProfile();
        const Profile expected = Keys::defaultProfile().get();
        QCOMPARE(expected.mode, OperationMode::Text);

        // A hidden editor is not on screen and answers nothing.
        m_window->hide();
        m_editor->setProfile(Profile::builtInDefault());
        emit m_application->state()->commandManager()->saveAsDefaultProfile();
        QCOMPARE(Keys::defaultProfile().get(), expected);
    }
};

QTEST_MAIN(tst_ProfileEditor)
#include "tst_profileeditor.moc"
