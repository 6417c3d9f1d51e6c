// The inspector: when "Optimize" may run, the edited flag and its asterisk, the profile menu's
// choices and actions against a real settings store, and what the preview ends up drawing. Its
// profile form: what typing and choosing store, and where the save-profile commands go.

#include "engine/RenderPool.h"
#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/CommandManager.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/main/Inspector.h"
#include "ui/main/SvgPreview.h"
#include "ui/main/WindowSession.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/ProfileMenu.h"
#include "ui/profiles/SaveProfileSheet.h"

namespace {

// One main window's worth of inspector: its own file list, toolbar and pane.
struct Window {
    explicit Window(Application *application) {
        window.resize(500, 700);
        inspector = new Inspector(application->state(), &files, &session, &window);
        window.setCentralWidget(inspector);
        inspector->addToolbarItems(window.addToolBar(QStringLiteral("Main")));
        window.show();
    }
    QMainWindow window;
    SVGFileList files;
    WindowSession session;
    Inspector *inspector;
};

// Runs events until the pane shows its drawing or has decided there is none.
bool waitUntilDrawn(SvgPane *pane) {
    QSignalSpy drawn(pane, &SvgPane::drawn);
    while (pane->isDrawing())
        if (!drawn.wait(30000))
            return false;
    return true;
}

// A square of one colour; with `paths`, that many small shapes over it, slow enough to draw that
// the selection can change meanwhile.
QString writeDrawing(const QTemporaryDir &folder, const QString &name, const char *fill,
                     int paths) {
    QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 100 100'>"
                     "<rect width='100' height='100' fill='" +
                     QByteArray(fill) + "'/>";
    for (int path = 0; path < paths; ++path)
        svg += "<path fill='#0f0' d='M" + QByteArray::number(path % 97) + ' ' +
               QByteArray::number(path % 89) + "l.5 .1-.2.4z'/>";
    return writeFile(folder.filePath(name), svg + "</svg>");
}

} // namespace

class tst_Inspector : public QObject {
    Q_OBJECT
    QString title() const { return shownText(m_main->inspector->profileButton()->text()); }

    QTemporaryDir m_settings;
    std::unique_ptr<Application> m_application;
    std::unique_ptr<Window> m_main;

    ProfileEditor *editor() const { return m_main->inspector->profileEditor(); }
    template <typename T = QAbstractButton> T *control(const char *name) const {
        T *found = editor()->findChild<T *>(QLatin1String(name));
        if (!found)
            qFatal("no control %s", name);
        return found;
    }
    // Makes the built-in profile as `change` leaves it the current one, in the form too.
    void useProfile(const std::function<void(Profile &)> &change) {
        Profile profile = Profile::builtInDefault();
        change(profile);
        m_application->state()->setProfile(profile);
    }

    QAction *menuItem(const QString &text) const {
        m_main->inspector->profileMenu()->rebuild();
        return findAction(m_main->inspector->profileMenu(), text);
    }

private slots:
    void initTestCase() { useSettingsIn(m_settings.path(), "tst_inspector"); }

    void init() {
        Keys::profiles().remove();
        Keys::defaultProfile().remove();
        m_application = std::make_unique<Application>();
        m_main = std::make_unique<Window>(m_application.get());
    }

    void cleanup() {
        m_main.reset();
        m_application.reset();
    }

    void optimizeDisabledRule_data() {
        QTest::addColumn<OperationMode>("mode");
        QTest::addColumn<bool>("overwrite");
        QTest::addColumn<bool>("hasFolder");
        QTest::addColumn<bool>("enabled");
        using M = OperationMode;
        QTest::newRow("overwrite") << M::File << true << false << true;
        QTest::newRow("no destination") << M::File << false << false << false;
        QTest::newRow("output folder") << M::File << false << true << true;
        QTest::newRow("text ignores destination") << M::Text << false << false << true;
    }

    void optimizeDisabledRule() {
        QFETCH(OperationMode, mode);
        QFETCH(bool, overwrite);
        QFETCH(bool, hasFolder);
        QFETCH(bool, enabled);
        useProfile([&](Profile &p) {
            p.mode = mode;
            p.overwrite = overwrite;
            p.outputFolder =
                hasFolder ? std::optional(QUrl::fromLocalFile(QDir::tempPath())) : std::nullopt;
        });
        AsyncButton *button = m_main->inspector->optimizeButton();
        QVERIFY(!button->isEnabled()); // no files yet
        const QString path = QDir::temp().filePath("a.svg");
        m_main->files.addFile(QUrl::fromLocalFile(path));
        QCOMPARE(button->isEnabled(), enabled);
        // Emptying the list disables it again.
        m_main->files.setSelection({path});
        m_main->files.removeSelectedFiles();
        QVERIFY(!button->isEnabled());
    }

    // Output that looks different: both drawings and their difference of one size, a text that
    // wraps and says what changed and what was kept, and a button that asks to use the output.
    void looksDifferentReview_data() {
        QTest::addColumn<bool>("fileMode");
        QTest::addColumn<QString>("kept");
        QTest::newRow("file mode") << true << "The file was left as it was.";
        QTest::newRow("text mode") << false << "Its original markup is in the output.";
    }
    void looksDifferentReview() {
        QFETCH(bool, fileMode);
        QFETCH(QString, kept);
        const QString path = QStringLiteral(MIRANDEL_SOURCE_DIR "/tests/data/icon.svg");
        FileResult result{FileResult::Status::LooksDifferent,
                          "The optimized file looks different."};
        result.differentOutput = "<svg xmlns='http://www.w3.org/2000/svg' viewBox='0 0 16 16'>"
                                 "<rect width='8' height='8'/></svg>";
        result.changedPixels = 123;
        result.comparedAt = {64, 64};
        result.destination = fileMode ? path : QString();
        m_main->files.addFile(QUrl::fromLocalFile(path));
        m_main->files.setResult(path, result);
        m_main->files.setSelection({path});
        SvgPreview *preview = m_main->inspector->preview();
        // The difference is drawn on the render pool; its pane waits beside the others.
        QVERIFY(preview->differencePane()->isVisible());
        QVERIFY(preview->differencePane()->isDrawing());
        for (SvgPane *pane :
             {preview->originalPane(), preview->optimizedPane(), preview->differencePane()}) {
            QVERIFY(waitUntilDrawn(pane));
            QVERIFY(pane->isRenderable());
        }
        QVERIFY(preview->differencePane()->isVisible());
        const QSize drawn = preview->originalPane()->drawingArea().size();
        QCOMPARE(preview->optimizedPane()->drawingArea().size(), drawn);
        QCOMPARE(preview->differencePane()->drawingArea().size(), drawn);
        QVERIFY(drawn.width() >= 80);
        QLabel *review = preview->reviewLabel();
        QVERIFY(review->text().contains("123 pixel") && review->text().endsWith(kept));
        QVERIFY(review->height() >= review->heightForWidth(review->width()));

        QSignalSpy asked(m_main->inspector, &Inspector::useOptimizedRequested);
        m_main->session.begin(WindowSession::Work::Restoring);
        QVERIFY(!preview->useOptimizedButton()->isEnabled());
        m_main->session.end();
        QTest::mouseClick(preview->useOptimizedButton(), Qt::LeftButton);
        QCOMPARE(asked, QList<QVariantList>{{QStringList{path}}});
    }

    // Files are drawn on the render pool: the pane ends with the file selected last, drawn, or
    // with "No preview" when it cannot be drawn; a drawing for an earlier selection that arrives
    // later is dropped.
    void previewDrawing_data() {
        QTest::addColumn<QString>("before"); // selected first, while it is being drawn
        QTest::addColumn<QString>("file");
        QTest::addColumn<QColor>("colour"); // at the drawing's centre; invalid: "No preview"
        const QColor blue(0, 0, 255);
        const QString red = QStringLiteral("large-red.svg");
        QTest::newRow("drawn") << QString() << "blue.svg" << blue;
        QTest::newRow("missing") << QString() << "missing.svg" << QColor();
        QTest::newRow("not SVG") << QString() << "not-svg.svg" << QColor();
        QTest::newRow("newer selection") << red << "blue.svg" << blue;
        QTest::newRow("newer selection missing") << red << "missing.svg" << QColor();
    }
    void previewDrawing() {
        QFETCH(QString, before);
        QFETCH(QString, file);
        QFETCH(QColor, colour);
        QTemporaryDir folder;
        writeDrawing(folder, "blue.svg", "#00f", 0);
        writeDrawing(folder, "large-red.svg", "#f00", 40000);
        writeFile(folder.filePath("not-svg.svg"), "just text\n");
        SvgPane *pane = m_main->inspector->preview()->originalPane();
        if (!before.isEmpty()) {
            m_main->files.addFile(QUrl::fromLocalFile(folder.filePath(before)));
            m_main->files.setSelection({folder.filePath(before)});
            QTRY_VERIFY(pane->isDrawing());
            QTest::qWait(100); // its drawing has begun
        }
        const QString path = folder.filePath(file);
        m_main->files.addFile(QUrl::fromLocalFile(path));
        m_main->files.setSelection({path});
        QVERIFY(!pane->isRenderable()); // another file: nothing of the previous one is shown
        QVERIFY(waitUntilDrawn(pane));
        // Whatever was still being drawn has arrived by now.
        renderPool().waitForDone();
        QTest::qWait(50);
        QCOMPARE(pane->file(), path);
        QCOMPARE(pane->isRenderable(), colour.isValid());
        if (colour.isValid()) {
            const QImage drawing = pane->drawing();
            QCOMPARE(drawing.pixelColor(drawing.rect().center()), colour);
        }
    }

    // A resize keeps the drawing up, scaled, until the one at the new size arrives.
    void paneRedrawsAtNewSize() {
        QTemporaryDir folder;
        SvgPane pane;
        pane.resize(150, 150);
        pane.setFile(writeDrawing(folder, "blue.svg", "#00f", 0));
        pane.show();
        QVERIFY(waitUntilDrawn(&pane));
        const QSize first = pane.drawing().size();
        pane.resize(100, 100);
        pane.repaint();
        QVERIFY(pane.isDrawing());
        QCOMPARE(pane.drawing().size(), first);
        QVERIFY(waitUntilDrawn(&pane));
        QCOMPARE(pane.drawing().size(),
                 (QSizeF(pane.drawingArea().size()) * pane.devicePixelRatioF()).toSize());
    }

    // The name holds "&", which must show as itself, not as a shortcut mark; the asterisk follows
    // edits, in every window.
    void pickerAndUpdateItem() {
        Window second(m_application.get());
        const Profile icons = savedProfile("Icons & Logos", OperationMode::Text);
        Keys::profiles().set({icons});
        QVERIFY(menuItem("Default Profile")->isChecked());
        QVERIFY(!menuItem("Apply to Default Profile")->isEnabled());

        menuItem("Icons & Logos")->trigger();
        QCOMPARE(m_application->state()->profile(), icons);
        QCOMPARE(title(), "Icons & Logos");
        QVERIFY(menuItem("Icons & Logos")->isChecked());

        // Setting an option back to its stored value is no edit.
        control("prettyPrint")->click();
        control("prettyPrint")->click();
        QVERIFY(!m_application->state()->profileEdited());
        QCOMPARE(title(), "Icons & Logos");
        control("prettyPrint")->click();
        QVERIFY(m_application->state()->profileEdited());
        QCOMPARE(title(), "Icons & Logos*");
        QCOMPARE(shownText(second.inspector->profileButton()->text()), "Icons & Logos*");
        // The mark stays on the profile the edits came from; the asterisk tells they differ.
        QVERIFY(menuItem("Icons & Logos")->isChecked());
        QAction *update = menuItem("Update Profile “Icons & Logos”");
        QVERIFY(update);

        update->trigger();
        QCOMPARE(Keys::profiles().get(), QList<Profile>{m_application->state()->profile()});
        QVERIFY(Keys::profiles().get().first().prettyPrint);
        QCOMPARE(title(), "Icons & Logos");
        QVERIFY(!menuItem("Update Profile “Icons & Logos”"));
        QVERIFY(menuItem("Icons & Logos")->isChecked());
    }

    // The sheet proposes a name no profile has, and a fresh one each time it closes: a name
    // typed and cancelled is gone, and the one just saved is taken.
    void saveAsNewProfile() {
        const Profile existing = savedProfile("New Profile", OperationMode::Text);
        Keys::profiles().set({existing});
        control("overwriteFiles")->click();
        const Profile edited = m_application->state()->profile();

        menuItem("Save as New Profile…")->trigger();
        SaveProfileSheet *sheet = m_main->inspector->profileEditor()->saveProfileSheet();
        QVERIFY(sheet->isVisible());
        sheet->nameField()->setText("Draft");
        sheet->reject();
        menuItem("Save as New Profile…")->trigger();
        QCOMPARE(sheet->profileName(), "New Profile 2");
        QSignalSpy edits(m_main->inspector->profileEditor(), &ProfileEditor::profileEdited);
        sheet->findChild<QPushButton *>("saveProfileButton")->click();
        QVERIFY(!sheet->isVisible());
        QCOMPARE(sheet->profileName(), "New Profile 3");
        QCOMPARE(edits.size(), 1);

        const QList<Profile> stored = Keys::profiles().get();
        QCOMPARE(stored, (QList<Profile>{existing, m_application->state()->profile()}));
        QCOMPARE(stored.last().name, "New Profile 2");
        QVERIFY(stored.last().id != existing.id && !stored.last().isDefault());
        QCOMPARE(stored.last().overwrite, edited.overwrite);
        QCOMPARE(title(), "New Profile 2");
        // The default profile itself was not touched.
        QCOMPARE(Keys::defaultProfile().get(), Profile::builtInDefault());
    }

    // Another window adds, renames, moves or deletes stored profiles: edits are never lost; an
    // unedited profile follows its source, and gives way to the default only when it was deleted.
    void storedProfilesChangeKeepsEdits_data() {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("fromDefault");
        QTest::addColumn<QString>("change");
        QTest::addColumn<QString>("expected"); // the current profile afterwards
        const auto row = [](const char *name, bool edit, bool fromDefault, const char *change,
                            const char *expected) {
            QTest::newRow(name) << edit << fromDefault << QString(change) << QString(expected);
        };
        row("saved, another added", false, false, "add", "icons");
        row("saved, renamed", false, false, "rename", "renamed");
        row("saved, deleted", false, false, "delete", "default");
        row("edited default, one added", true, true, "add", "edited");
        row("edited default, reordered", true, true, "move", "edited");
        row("edited saved, another added", true, false, "add", "edited");
        row("edited saved, renamed", true, false, "rename", "edited");
        row("edited saved, its source deleted", true, false, "delete", "edited");
    }
    void storedProfilesChangeKeepsEdits() {
        QFETCH(bool, edit);
        QFETCH(bool, fromDefault);
        QFETCH(QString, change);
        QFETCH(QString, expected);
        const Profile icons = savedProfile("Icons", OperationMode::Text),
                      other = savedProfile("Other");
        Keys::profiles().set({icons, other});
        if (!fromDefault)
            menuItem("Icons")->trigger();
        if (edit)
            control("overwriteFiles")->click();
        const Profile before = m_application->state()->profile();
        Profile renamed = icons;
        renamed.name = QStringLiteral("Renamed");
        const QMap<QString, QList<Profile>> changes{{"add", {icons, other, savedProfile("Third")}},
                                                    {"rename", {renamed, other}},
                                                    {"move", {other, icons}},
                                                    {"delete", {other}}};
        Keys::profiles().set(changes.value(change));
        const QMap<QString, Profile> profiles{{"icons", icons},
                                              {"renamed", renamed},
                                              {"default", Profile::builtInDefault()},
                                              {"edited", before}};
        QCOMPARE(m_application->state()->profile(), profiles.value(expected));
        QCOMPARE(m_application->state()->profileEdited(), edit);
        QCOMPARE(title().endsWith('*'), edit);
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
        useProfile([](Profile &p) {
            p.mode = OperationMode::Text;
            p.wrapOutput = p.wrapIndividual = true;
        });

        auto value = [&](const Profile &p) {
            if (section == "wrapOutputSection")
                return suffix ? p.wrapOutputSuffix : p.wrapOutputPrefix;
            return suffix ? p.wrapIndividualSuffix : p.wrapIndividualPrefix;
        };
        auto *field = editor()->findChild<QWidget *>(section)->findChild<QLineEdit *>(
            suffix ? "suffix" : "prefix");
        // Absent shows as empty, with only the prompt in sight.
        QVERIFY(field->text().isEmpty());
        QVERIFY(!field->placeholderText().isEmpty());
        QCOMPARE(value(editor()->profile()), std::nullopt);

        QTest::keyClicks(field, "<a>");
        QCOMPARE(value(editor()->profile()), std::optional<QString>("<a>"));
        // Erasing everything stores the empty text, not "absent".
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(value(editor()->profile()), std::optional<QString>(QString()));
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
        useProfile([](Profile &p) { p.mode = OperationMode::Text; });
        for (int i = 0; i < downs; ++i)
            QTest::keyClick(control<QComboBox>("outputFormat"), Qt::Key_Down);
        QCOMPARE(editor()->profile().outputFormat, allOutputFormats().at(downs));
        QCOMPARE(control<QLabel>("wrapperNote")->isVisible(), !wraps);
        for (const char *name : {"wrapOutputSectionToggle", "wrapIndividualSectionToggle"}) {
            auto *toggle = control<QCheckBox>(name);
            QVERIFY(toggle->isVisible());
            QCOMPARE(toggle->toolTip().isEmpty(), wraps);
            QTest::mouseClick(toggle, Qt::LeftButton, {}, QPoint(8, toggle->height() / 2));
        }
        QCOMPARE(editor()->profile().wrapOutput, wraps);
        QCOMPARE(editor()->profile().wrapIndividual, wraps);
    }

    void widthRefusesNegatives() {
        useProfile([](Profile &p) {
            p.mode = OperationMode::Text;
            p.prettyPrint = true;
            p.indentationStyle = IndentationStyle::Spaces;
        });
        auto *width = control<QLineEdit>("indentationWidth");
        width->selectAll();
        QTest::keyClicks(width, "-3x");
        QCOMPARE(width->text(), "3");
        QCOMPARE(editor()->profile().indentationWidth, 3);
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
        useProfile([](Profile &p) { p.precision = 5; });
        auto *box = control<QSpinBox>("precision");
        box->selectAll();
        QTest::keyClicks(box, typed);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(editor()->profile().automaticPrecision, automatic);
        QCOMPARE(editor()->profile().precision.value_or(-1), precision);
        // One step down from the lowest digits reaches "Default", and one more "Automatic".
        box->setValue(0);
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->text(), "Automatic");
        QVERIFY(editor()->profile().automaticPrecision);
        // The search for breaking plugins needs the rendering check.
        auto *search = control<QCheckBox>("findBreakingPlugins");
        QVERIFY(search->isEnabled());
        QTest::mouseClick(control<QCheckBox>("checkRendering"), Qt::LeftButton, {},
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
        useProfile([](Profile &p) { p.overwrite = false; });
        QVERIFY(QTest::qWaitForWindowExposed(&m_main->window));

        QTest::mouseClick(control<QPushButton>(qPrintable(button)), Qt::LeftButton);
        auto *dialog = m_main->window.findChild<QFileDialog *>();
        QVERIFY(dialog);
        dialog->setDirectory(dir.path());
        QVERIFY(typeIntoFileDialog(typed));
        const std::optional<QUrl> stored = button == "chooseOutputFolder"
                                               ? editor()->profile().outputFolder
                                               : editor()->profile().svgoConfigFile;
        QVERIFY(stored);
        QCOMPARE(QDir::cleanPath(stored->toLocalFile()), dir.filePath(typed));
        if (button == "chooseConfiguration") {
            control<QPushButton>("removeConfiguration")->click();
            QCOMPARE(editor()->profile().svgoConfigFile, std::nullopt);
        }
    }

    void saveNewProfileOnlyWhereAllowed() {
        // The settings window's editor neither shows the sheet nor saves anything.
        m_main->window.hide();
        QWidget window;
        auto *settings = new ProfileEditor(m_application->state(), true, false, &window);
        window.show();
        emit m_application->state()->commandManager()->saveNewProfile();
        QVERIFY(!window.findChild<SaveProfileSheet *>());

        // It still answers "store as default" (the naming is the profile store's test).
        Profile options = Profile::makeNew();
        options.mode = OperationMode::Text;
        settings->setProfile(options);
        emit m_application->state()->commandManager()->saveAsDefaultProfile();
        const Profile expected = Keys::defaultProfile().get();
        QCOMPARE(expected.mode, OperationMode::Text);

        // A hidden editor is not on screen and answers nothing.
        window.hide();
        settings->setProfile(Profile::builtInDefault());
        emit m_application->state()->commandManager()->saveAsDefaultProfile();
        QCOMPARE(Keys::defaultProfile().get(), expected);
    }
};

QTEST_MAIN(tst_Inspector)
#include "tst_inspector.moc"
