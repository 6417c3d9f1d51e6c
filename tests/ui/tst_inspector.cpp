// The inspector: when "Optimize" may run, the edited flag and its asterisk, the profile menu's
// choices and actions against a real settings store, and what the preview ends up drawing.

#include "engine/RenderPool.h"
#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/AppState.h"
#include "ui/Application.h"
#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/main/Inspector.h"
#include "ui/main/SvgPreview.h"
#include "ui/main/WindowSession.h"
#include "ui/profiles/ProfileEditor.h"
#include "ui/profiles/ProfileMenu.h"
#include "ui/profiles/SaveProfileSheet.h"

#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>

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
    QAbstractButton *editorControl(const char *name) const {
        return inspector->profileEditor()->findChild<QAbstractButton *>(QLatin1String(name));
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
    svg += "</svg>";
    QFile file(folder.filePath(name));
    if (file.open(QIODevice::WriteOnly))
        file.write(svg);
    return file.fileName();
}

} // namespace

class tst_Inspector : public QObject {
    Q_OBJECT
    QString title() const { return shownText(m_main->inspector->profileButton()->text()); }

    QTemporaryDir m_settings;
    std::unique_ptr<Application> m_application;
    std::unique_ptr<Window> m_main;

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
        Profile profile = Profile::builtInDefault();
        profile.mode = mode;
        profile.overwrite = overwrite;
        if (hasFolder)
            profile.outputFolder = QUrl::fromLocalFile(QDir::tempPath());
        m_application->state()->setProfile(profile);
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
        QFile text(folder.filePath("not-svg.svg"));
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("just text\n") > 0);
        text.close();
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
        m_main->editorControl("prettyPrint")->click();
        m_main->editorControl("prettyPrint")->click();
        QVERIFY(!m_application->state()->profileEdited());
        QCOMPARE(title(), "Icons & Logos");
        m_main->editorControl("prettyPrint")->click();
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
        m_main->editorControl("overwriteFiles")->click();
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
            m_main->editorControl("overwriteFiles")->click();
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
};

QTEST_MAIN(tst_Inspector)
#include "tst_inspector.moc"
