// The window's views of its set, against real files and driven by real mouse and key events.
// The contact sheet, drawn by the real librsvg helper: every file shown, the selection shared
// with the table, the marks, the tint and the export through the file dialog. The set audit:
// it follows the list as files come and go, and its findings select their files.

#include "UiTestSupport.h"

#include "model/SVGFileList.h"
#include "model/Settings.h"
#include "ui/main/AuditPanel.h"
#include "ui/main/ContactSheet.h"
#include "ui/main/ContactSheetDrawer.h"
#include "ui/main/ContactSheetModel.h"
#include "ui/main/FileTable.h"
#include "ui/main/WindowSession.h"

namespace {

QByteArray square(const char *fill) {
    return QByteArray("<?xml version=\"1.0\"?>\n<!-- an icon -->\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 16 16\">"
                      "<rect x=\"2\" y=\"2\" width=\"12\" height=\"12\" fill=\"") +
           fill + "\"/></svg>";
}

const QByteArray circle = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 16 16\">"
                          "<circle cx=\"5\" cy=\"5\" r=\"3\"/></svg>";

void choose(QComboBox *box, const QVariant &value) {
    box->setCurrentIndex(box->findData(value));
}

// One icon under one look, and the marks its drawing and tooltip must carry.
struct Look {
    QString name;
    QString background = "light";
    QString tint = "auto";
    QByteArray heldBack; // svgo's output kept back; empty: none
    bool invisible = false;
    bool differs = false;
    QColor centre; // the drawing's middle pixel; invalid: not checked
};

// Clicks the item in the middle of its row, as a user would.
void click(QTreeWidget *view, QTreeWidgetItem *item) {
    view->scrollToItem(item);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualItemRect(item).center());
}

} // namespace

Q_DECLARE_METATYPE(Look)
Q_DECLARE_METATYPE(std::function<void(Profile &)>)

class TestContactSheet : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    QTemporaryDir m_icons;
    std::unique_ptr<SVGFileList> m_files;
    std::unique_ptr<WindowSession> m_session;
    std::unique_ptr<ContactSheet> m_sheet;
    QStringList m_names{"black", "white", "current", "own", "doctype", "a", "b", "c", "d", "e"};

    QString path(const QString &name) const { return m_icons.filePath(name + ".svg"); }
    QString write(const QString &name, const QByteArray &svg) const {
        return writeFile(path(name), svg);
    }
    int rowOf(const QString &name) const { return m_files->rowOf(path(name)); }
    QPoint centreOf(int row) const {
        return m_sheet->view()->visualRect(m_sheet->model()->index(row)).center();
    }
    // Until every icon is drawn for the current look.
    bool allDrawn() const {
        QTest::qWait(1);
        for (int row = 0; row < m_sheet->model()->rowCount(); ++row)
            if (!m_sheet->model()->drawingOf(row))
                return false;
        return !m_sheet->model()->drawer()->isBusy();
    }

private slots:
    void initTestCase() {
        useSettingsIn(m_settings.path(), "tst_contactsheet");
        for (const QString &name : m_names) {
            QByteArray svg = name == "white"   ? square("#fff")
                             : name == "black" ? square("#000")
                                               : square("currentColor");
            // A root with a colour of its own; a doctype whose internal subset holds a '>'.
            if (name == "own")
                svg.replace("<svg ", "<svg color=\"#00ff00\" ");
            if (name == "doctype")
                svg.replace("<svg ", "<!DOCTYPE svg [ <!ENTITY more \"x>y\"> ]>\n<svg ");
            write(name, svg);
        }
    }

    void init() {
        for (const auto *key : {&Keys::contactSheetBackground(), &Keys::contactSheetTint()})
            key->remove();
        Keys::contactSheetIconSize().remove();
        Keys::contactSheetShowsOptimized().remove();
        m_files = std::make_unique<SVGFileList>();
        m_session = std::make_unique<WindowSession>();
        for (const QString &name : m_names)
            m_files->addFile(QUrl::fromLocalFile(path(name)));
        m_sheet = std::make_unique<ContactSheet>(m_files.get(), m_session.get());
        m_sheet->resize(640, 420);
        QVERIFY(showOnScreen(m_sheet.get()));
    }

    void cleanup() {
        m_sheet.reset();
        m_files.reset();
    }

    void showsEveryFile() {
        QTRY_VERIFY_WITH_TIMEOUT(allDrawn(), 30000);
        QCOMPARE(m_sheet->model()->rowCount(), m_names.size());
        QSet<QPoint> places;
        const QRect shown = m_sheet->view()->viewport()->rect();
        for (int row = 0; row < m_names.size(); ++row) {
            QVERIFY(shown.contains(centreOf(row)));
            places.insert(centreOf(row));
            // Drawn for the screen's pixel density (run with QT_SCALE_FACTOR=2 to see it matter).
            QCOMPARE(m_sheet->model()->drawingOf(row)->image.width(),
                     qRound(m_sheet->look().side * m_sheet->devicePixelRatioF()));
        }
        QCOMPARE(places.size(), m_names.size());
    }

    void sharesTheSelection_data() {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QStringList>("selected");
        QTest::newRow("click") << "click c" << QStringList{"c"};
        QTest::newRow("ctrl-click") << "click a, ctrl-click d" << QStringList{"a", "d"};
        QTest::newRow("arrow") << "click a, right" << QStringList{"b"};
        QTest::newRow("ctrl+a") << "click a, ctrl+a" << m_names;
        QTest::newRow("table") << "table e" << QStringList{"e"};
        // The arrow keys go on from the file chosen in the table.
        QTest::newRow("table, then right") << "table c, right" << QStringList{"d"};
    }

    void sharesTheSelection() {
        QFETCH(QString, how);
        QFETCH(QStringList, selected);
        QWidget *grid = m_sheet->view()->viewport();
        FileTable table(m_files.get());
        table.resize(400, 400);
        for (const QString &step : how.split(", ")) {
            const QString name = step.section(' ', -1);
            if (step.startsWith("click "))
                QTest::mouseClick(grid, Qt::LeftButton, {}, centreOf(rowOf(name)));
            else if (step.startsWith("ctrl-click "))
                QTest::mouseClick(grid, Qt::LeftButton, Qt::ControlModifier, centreOf(rowOf(name)));
            else if (step == "right")
                QTest::keyClick(m_sheet->view(), Qt::Key_Right);
            else if (step == "ctrl+a")
                QTest::keyClick(m_sheet->view(), Qt::Key_A, Qt::ControlModifier);
            else if (step.startsWith("table ")) {
                QVERIFY(showOnScreen(&table));
                const QRect cell = table.visualRect(table.model()->index(rowOf(name), 0));
                QTest::mouseClick(table.viewport(), Qt::LeftButton, {}, cell.center());
            }
        }
        // The list and the sheet's own selection agree.
        QSet<QString> expected, shown;
        for (const QString &name : selected)
            expected.insert(path(name));
        QCOMPARE(m_files->selection(), expected);
        for (const QModelIndex &index : m_sheet->view()->selectionModel()->selectedIndexes())
            shown.insert(m_files->files().at(index.row()).id);
        QCOMPARE(shown, expected);
    }

    void drawsAndMarks_data() {
        QTest::addColumn<Look>("look");
        QTest::newRow("white on light")
            << Look{.name = "white", .invisible = true, .centre = Qt::white};
        QTest::newRow("white on dark") << Look{.name = "white", .background = "dark"};
        QTest::newRow("black on dark")
            << Look{.name = "black", .background = "dark", .invisible = true};
        QTest::newRow("white on checkerboard")
            << Look{.name = "white", .background = "checkerboard", .invisible = true};
        QTest::newRow("currentColor takes the tint")
            << Look{.name = "current", .tint = "#e5202e", .centre = QColor("#e5202e")};
        QTest::newRow("currentColor follows the dark background")
            << Look{.name = "current", .background = "dark", .centre = Qt::white};
        QTest::newRow("a root's own colour is kept")
            << Look{.name = "own", .tint = "#e5202e", .centre = QColor(0, 255, 0)};
        QTest::newRow("tinted past a doctype") << Look{.name = "doctype",
                                                       .background = "dark",
                                                       .tint = "#0a84ff",
                                                       .centre = QColor("#0a84ff")};
        QTest::newRow("held-back output draws differently")
            << Look{.name = "a", .heldBack = circle, .differs = true};
        QTest::newRow("held-back output draws alike")
            << Look{.name = "b", .heldBack = square("#000"), .centre = Qt::black};
    }

    void drawsAndMarks() {
        QFETCH(Look, look);
        if (!look.heldBack.isEmpty()) {
            FileResult result;
            result.status = FileResult::Status::LooksDifferent;
            result.differentOutput = look.heldBack;
            m_files->setResult(path(look.name), result);
        }
        choose(m_sheet->backgroundBox(), look.background);
        choose(m_sheet->tintBox(), look.tint);
        QTRY_VERIFY_WITH_TIMEOUT(allDrawn(), 30000);
        const int row = rowOf(look.name);
        const IconDrawing *drawing = m_sheet->model()->drawingOf(row);
        QCOMPARE(drawing->invisible, look.invisible);
        QCOMPARE(drawing->differs(), look.differs);
        QCOMPARE(drawing->showsOptimized, !look.heldBack.isEmpty());
        const QString tip = m_sheet->model()->index(row).data(Qt::ToolTipRole).toString();
        QCOMPARE(tip.contains("Hardly visible"), look.invisible);
        QCOMPARE(tip.contains("Looks different after optimizing"), look.differs);
        QCOMPARE(tip.contains("No optimized version"), look.heldBack.isEmpty());
        if (look.centre.isValid()) {
            const QImage &image = drawing->image;
            QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), look.centre);
        }
    }

    void remembersTheLook() {
        choose(m_sheet->sizeBox(), 48);
        choose(m_sheet->backgroundBox(), "dark");
        choose(m_sheet->versionBox(), false);
        ContactSheet again(m_files.get(), m_session.get());
        QCOMPARE(again.look().side, 48);
        QCOMPARE(again.look().background, SheetLook::Background::Dark);
        QCOMPARE(again.look().optimized, false);
    }

    void exportsThroughTheDialog_data() {
        QTest::addColumn<int>("side");
        QTest::addColumn<QString>("background");
        QTest::newRow("16 px on light") << 16 << "light";
        QTest::newRow("48 px on dark") << 48 << "dark";
    }

    void exportsThroughTheDialog() {
        QFETCH(int, side);
        QFETCH(QString, background);
        choose(m_sheet->sizeBox(), side);
        choose(m_sheet->backgroundBox(), background);
        QSignalSpy finished(m_sheet.get(), &ContactSheet::exportFinished);
        QTest::mouseClick(m_sheet->exportButton(), Qt::LeftButton);
        QTRY_VERIFY(m_sheet->exportPanel() && m_sheet->exportPanel()->isVisible());
        const QString name = QStringLiteral("sheet-%1.png").arg(side);
        m_sheet->exportPanel()->setDirectory(m_icons.path());
        QVERIFY(typeIntoFileDialog(name));
        const QString target = m_icons.filePath(name);
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QCOMPARE(finished.at(0).at(1).toString(), QString());
        const QImage written(target);
        const int columns = std::min<int>(m_sheet->columns(), m_names.size());
        const int rows = (m_names.size() + columns - 1) / columns;
        const int cell = ContactSheet::cellSide(side);
        QCOMPARE(written.size(), QSize(columns * cell, rows * cell));
        // The background is the chosen one, and the icons are on it.
        const QColor corner = written.pixelColor(0, 0);
        QCOMPARE(corner.lightness() > 128, background == "light");
        QSet<QRgb> colours;
        for (int x = 0; x < written.width(); ++x)
            colours.insert(written.pixel(x, cell / 2));
        QVERIFY(colours.size() > 1);
    }

    void exportFailureSaysWhy() {
        QSignalSpy finished(m_sheet.get(), &ContactSheet::exportFinished);
        m_sheet->exportTo(path("black") + "/sheet.png"); // under a file: no folder to write in
        QTRY_COMPARE_WITH_TIMEOUT(finished.size(), 1, 30000);
        QVERIFY(!finished.at(0).at(1).toString().isEmpty());
        auto *box = m_sheet->findChild<QMessageBox *>("exportFailed");
        QVERIFY(box && box->isVisible());
        QVERIFY(box->text().contains("sheet.png"));
    }

    void findingsSelectTheirFiles_data() {
        QTest::addColumn<bool>("wholeFinding"); // the finding, or its second file
        QTest::newRow("a finding selects its files") << true;
        QTest::newRow("a file selects itself") << false;
    }
    void findingsSelectTheirFiles() {
        QFETCH(bool, wholeFinding);
        const QByteArray shared = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 16 16\">"
                                  "<linearGradient id=\"a\"/></svg>";
        const QString first = write("first", shared);
        const QString second = write("second", shared);
        const QString alone = write("alone", "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                             "viewBox=\"0 0 16 16\"><g id=\"b\"/></svg>");
        SVGFileList files;
        WindowSession session;
        AuditPanel panel(&files, &session);
        panel.resize(400, 400);
        QVERIFY(showOnScreen(&panel));
        QSignalSpy audited(&panel, &AuditPanel::audited);
        for (const QString &path : {first, second, alone})
            files.addFile(QUrl::fromLocalFile(path));
        QVERIFY(audited.wait(10000));
        QCOMPARE(panel.findings().size(), 1);
        QVERIFY2(panel.header()->text().contains(u'1'), qPrintable(panel.header()->text()));

        QTest::mouseClick(panel.header(), Qt::LeftButton);
        QVERIFY(panel.findingsView()->isVisible());
        QTreeWidgetItem *finding = panel.findingsView()->topLevelItem(0);
        QCOMPARE(finding->childCount(), 2);
        finding->setExpanded(true);
        click(panel.findingsView(), wholeFinding ? finding : finding->child(1));
        const QSet<QString> expected =
            wholeFinding ? QSet<QString>{files.files().at(0).id, files.files().at(1).id}
                         : QSet<QString>{files.files().at(1).id};
        QCOMPARE(files.selection(), expected);

        // The fix turns on the profile's option for the mode, once.
        QPushButton *fix = panel.fixButton();
        QVERIFY(fix->isVisible());
        QSignalSpy fixes(&panel, &AuditPanel::fixRequested);
        QTest::mouseClick(fix, Qt::LeftButton);
        QCOMPARE(fixes.size(), 1);
        Profile profile = Profile::builtInDefault();
        fixes.at(0).at(0).value<std::function<void(Profile &)>>()(profile);
        QVERIFY(profile.uniqueIdsInFiles);
        panel.setProfile(profile);
        QVERIFY(!fix->isEnabled());

        // One of the two taken out of the list: nothing collides any more.
        files.setSelection({files.files().at(0).id});
        files.removeSelectedFiles();
        QVERIFY(audited.wait(10000));
        QVERIFY(panel.findings().isEmpty());
        QCOMPARE(panel.findingsView()->topLevelItem(0)->text(0),
                 QStringLiteral("Nothing to report."));
    }
};

QTEST_MAIN(TestContactSheet)
#include "tst_contactsheet.moc"
