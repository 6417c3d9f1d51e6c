// The file list and its table: what adding, dropping, moving and removing files leave, and a
// run's results in the rows: their columns, how long they stay, sorting, the summary.

#include "model/SVGFileList.h"
#include "model/SVGFileTableModel.h"

#include <QMimeData>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Creates `name` below `root`; a name ending in "/" is a folder.
void create(const QString &root, const QString &name, const QByteArray &content = {}) {
    const QString path = root + u'/' + name;
    if (name.endsWith(u'/')) {
        QVERIFY(QDir().mkpath(path));
        return;
    }
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QStringList fileNames(const SVGFileList &list) {
    QStringList names;
    for (const SVGFile &file : list.files())
        names.append(file.fileName);
    return names;
}

// One letter per entry, for compact expectations: "a" stands for <root>/a.svg.
void addLetters(SVGFileList &list, const QString &root, const QString &letters) {
    for (QChar letter : letters)
        list.addFile(QUrl::fromLocalFile(root + u'/' + letter + QStringLiteral(".svg")));
}

QString letters(const SVGFileList &list) {
    QString result;
    for (const SVGFile &file : list.files())
        result += file.fileName.front();
    return result;
}

const QByteArray svgMarkup = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";

} // namespace

using Status = FileResult::Status;

class SVGFileListTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<SVGFileList> m_list; // with m_table, for the results' tests
    std::unique_ptr<SVGFileTableModel> m_table;

    QString write(const QString &name, const QByteArray &bytes) {
        create(m_folder->path(), name, bytes);
        return m_folder->filePath(name);
    }
    // The listed files' ids, relative to the test's folder.
    QStringList ids() const {
        QStringList relative;
        for (const SVGFile &file : m_list->files())
            relative.append(QDir(m_folder->path()).relativeFilePath(file.id));
        return relative;
    }

    // Files of the given names and sizes, and a run's results for them; by default four files
    // of 1000, 400, 2000 and 300 bytes.
    void fill(const QList<std::tuple<QString, int, FileResult>> &files = {
                  {"b10.svg", 1000, {Status::Optimized, {}, 1000, 750}},
                  {"B2.svg", 400, {Status::Failed, "Error: bad", 400, -1}},
                  {"a.svg", 2000, {Status::Optimized, {}, 2000, 500}},
                  {"c.svg", 300, {Status::NotRun, {}, 300, -1}}}) {
        QList<std::pair<QString, FileResult>> results;
        for (const auto &[name, size, result] : files) {
            results.append({write(name, QByteArray(size, 'x')), result});
            m_list->addFile(QUrl::fromLocalFile(results.last().first));
        }
        m_list->setResults(results);
    }

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_folder = std::make_unique<QTemporaryDir>();
        m_list = std::make_unique<SVGFileList>();
        m_table = std::make_unique<SVGFileTableModel>(m_list.get());
    }

    void addFolder_data() {
        QTest::addColumn<QStringList>("present");
        QTest::addColumn<QStringList>("expected");
        // A folder's own files come first, then each visible subfolder's, in name order.
        QTest::newRow("case, extension, hidden, subfolders")
            << QStringList{"b.svg",     "A.svg",    "a.svg",      "c.SVG",       ".hidden.svg",
                           "sub/d.svg", "dir.svg/", "notes.txt",  "svg",         "sub/z/e.svg",
                           "sub/B.svg", "aa/f.svg", ".dot/g.svg", "sub/.h/x.svg"}
            << QStringList{"A.svg",     "a.svg",     "b.svg",      "aa/f.svg",
                           "sub/B.svg", "sub/d.svg", "sub/z/e.svg"};
        QTest::newRow("code points beyond the basic plane sort last")
            << QStringList{"\U0001F600.svg", "\uFF21.svg", "z.svg"}
            << QStringList{"z.svg", "\uFF21.svg", "\U0001F600.svg"};
        QTest::newRow("long shared prefixes")
            << QStringList{"icon-10.svg", "icon-9.svg", "icon-100.svg", "icon-1.svg",
                           "icon-1.svg.svg"}
            << QStringList{"icon-1.svg", "icon-1.svg.svg", "icon-10.svg", "icon-100.svg",
                           "icon-9.svg"};
    }
    void addFolder() {
        QFETCH(QStringList, present);
        QFETCH(QStringList, expected);
        for (const QString &name : present)
            create(m_folder->path(), name);
        QVERIFY(m_list->addFolder(QUrl::fromLocalFile(m_folder->path())));
        QCOMPARE(ids(), expected);
        // The same folder named with a trailing slash yields the same ids: nothing new.
        QVERIFY(m_list->addFolder(QUrl::fromLocalFile(m_folder->path() + u'/')));
        QCOMPARE(m_list->files().size(), expected.size());
    }

    void deduplication_data() {
        // URL texts relative to the folder's URL (holding a.svg, b.svg); a text ending in "/"
        // adds a folder, which fails for anything but a folder and then adds nothing.
        QTest::addColumn<QStringList>("adds");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("same URL") << QStringList{"a.svg", "a.svg"} << QStringList{"a.svg"};
        QTest::newRow("escaped space")
            << QStringList{"a%20b.svg", "a b.svg"} << QStringList{"a b.svg"};
        QTest::newRow("case differs")
            << QStringList{"A.svg", "a.svg"} << QStringList{"A.svg", "a.svg"};
        QTest::newRow("first keeps its place")
            << QStringList{"b.svg", "/", "a.svg", "b.svg"} << QStringList{"b.svg", "a.svg"};
        QTest::newRow("missing folder, plain file")
            << QStringList{"a.svg", "missing/", "b.svg/"} << QStringList{"a.svg"};
    }
    void deduplication() {
        QFETCH(QStringList, adds);
        QFETCH(QStringList, expected);
        create(m_folder->path(), "a.svg");
        create(m_folder->path(), "b.svg");
        const QString base = QUrl::fromLocalFile(m_folder->path() + u'/').toString();
        for (const QString &add : adds) {
            if (add.endsWith(u'/')) {
                const QUrl folder(base + add.chopped(1));
                QCOMPARE(m_list->addFolder(folder), QFileInfo(folder.toLocalFile()).isDir());
            } else {
                m_list->addFile(QUrl(base + add));
            }
        }
        QCOMPARE(ids(), expected);
    }

    void importAndDrop_data() {
        QTest::addColumn<bool>("drop");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("import x.SVG") << false << QStringList{"x.SVG"} << QStringList{} << false;
        QTest::newRow("import folder, file")
            << false << QStringList{"icons", "x.svg"} << QStringList{"in.svg", "x.svg"} << false;
        QTest::newRow("drop x.SVG") << true << QStringList{"x.SVG"} << QStringList{"x.SVG"} << true;
        QTest::newRow("drop folder, file")
            << true << QStringList{"icons", "x.svg"} << QStringList{"in.svg", "x.svg"} << true;
        QTest::newRow("drop SVG content under another name")
            << true << QStringList{"drawing.txt"} << QStringList{"drawing.txt"} << true;
        QTest::newRow("drop nothing usable")
            << true << QStringList{"notes.txt", "missing.svg"} << QStringList{} << false;
    }
    void importAndDrop() {
        QFETCH(bool, drop);
        QFETCH(QStringList, items);
        QFETCH(QStringList, expected);
        QFETCH(bool, accepted);
        for (const QString &name :
             {"x.SVG", "x.svg", "icons/in.svg", "icons/in.SVG", "drawing.txt"})
            write(name, svgMarkup);
        write("notes.txt", "hello");
        QList<QUrl> urls;
        for (const QString &item : items)
            urls.append(QUrl::fromLocalFile(m_folder->filePath(item)));
        if (drop) {
            QMimeData data;
            data.setUrls(urls);
            QCOMPARE(SVGFileList::hasDroppableItems(&data), accepted);
            QCOMPARE(m_list->dropItems(&data), accepted);
        } else {
            m_list->importFiles(urls);
        }
        QCOMPARE(fileNames(*m_list), expected);
    }

    void moveRows_data() {
        // Letters stand for files; dragged letters outside the list come from another window.
        QTest::addColumn<QString>("dragged");
        QTest::addColumn<int>("dropRow");
        QTest::addColumn<QString>("expected");
        QTest::newRow("up") << "e" << 1 << "aebcdf";
        QTest::newRow("down lands where dropped") << "b" << 4 << "acdbef";
        QTest::newRow("around the drop position") << "be" << 3 << "acbedf";
        QTest::newRow("onto itself") << "c" << 3 << "abcdef";
        QTest::newRow("beyond the end appends") << "a" << 99 << "bcdefa";
        QTest::newRow("no row appends") << "ca" << -1 << "bdefca";
        QTest::newRow("from another list") << "xb" << 0 << "xbacdef";
        QTest::newRow("new rows between moved ones") << "bxcy" << 5 << "adebxcyf";
    }
    void moveRows() {
        QFETCH(QString, dragged);
        QFETCH(int, dropRow);
        QFETCH(QString, expected);
        const QString root = QStringLiteral("/tmp/rows");
        SVGFileList sourceList;
        addLetters(sourceList, root, dragged);
        SVGFileTableModel source(&sourceList);
        QModelIndexList indexes;
        for (int row = source.rowCount() - 1; row >= 0; --row) // views hand rows in any order
            indexes << source.index(row, SVGFileTableModel::Path) << source.index(row, 0);
        std::unique_ptr<QMimeData> data(source.mimeData(indexes));
        QVERIFY(data);

        SVGFileList list;
        addLetters(list, root, "abcdef");
        list.setSelection({root + "/c.svg"});
        SVGFileTableModel table(&list);
        const QPersistentModelIndex tracked = table.index(list.rowOf(root + "/b.svg"), 1);
        QVERIFY(table.dropMimeData(data.get(), Qt::MoveAction, dropRow, 0, {}));
        QCOMPARE(letters(list), expected);
        QCOMPARE(tracked.data(SVGFileTableModel::IdRole).toString(), root + "/b.svg");
        QCOMPARE(list.selection(), QSet<QString>{root + "/c.svg"});
    }

    void removeSelected_data() {
        QTest::addColumn<QStringList>("initial");
        QTest::addColumn<QStringList>("selected");
        QTest::addColumn<QStringList>("expected");
        const QStringList five{"a", "b", "c", "d", "e"};
        QTest::newRow("some") << five << QStringList{"b", "d", "zz"} << QStringList{"a", "c", "e"};
        QTest::newRow("all") << five << five << QStringList{};
        QStringList many, even, odd;
        for (int i = 0; i < 1000; ++i) {
            many << QString::number(i);
            (i % 2 ? odd : even) << QString::number(i);
        }
        QTest::newRow("many separate runs") << many << even << odd;
    }
    void removeSelected() {
        QFETCH(QStringList, initial);
        QFETCH(QStringList, selected);
        QFETCH(QStringList, expected);
        SVGFileList list;
        for (const QString &name : initial)
            list.addFile(QUrl::fromLocalFile("/tmp/" + name));
        QSet<QString> selection;
        for (const QString &name : selected)
            selection.insert("/tmp/" + name);
        list.setSelection(selection);
        list.removeSelectedFiles();
        QCOMPARE(fileNames(list), expected);
        QVERIFY(list.selection().isEmpty());
        // The id index must forget removed files, or they could never be added again.
        for (const QString &name : selected)
            list.addFile(QUrl::fromLocalFile("/tmp/" + name));
        QCOMPARE(list.files().size(), expected.size() + selected.size());
    }

    void removeFile() {
        SVGFileList list;
        addLetters(list, "/tmp", "abc");
        list.setSelection({"/tmp/a.svg"});
        SVGFile lookalike = list.files().at(1);
        lookalike.fileName = "other.svg";
        list.removeFile(lookalike);
        QCOMPARE(letters(list), "abc");
        list.removeFile(list.files().at(1));
        QCOMPARE(letters(list), "ac");
        QCOMPARE(list.selection(), QSet<QString>{"/tmp/a.svg"});
    }

    void abbreviatedPath_data() {
        const QString home = QDir::homePath();
        QTest::addColumn<QUrl>("url");
        QTest::addColumn<QString>("expected");
        QTest::newRow("inside") << QUrl::fromLocalFile(home + "/Icons/a.svg") << "~/Icons/a.svg";
        QTest::newRow("outside") << QUrl::fromLocalFile("/opt/a.svg") << "/opt/a.svg";
        QTest::newRow("home itself") << QUrl::fromLocalFile(home) << home;
        QTest::newRow("escapes") << QUrl("file://" + home + "/a%20b.svg") << "~/a b.svg";
        QTest::newRow("line breaks")
            << QUrl::fromLocalFile("\n" + home + "/a.svg\r\n") << "~/a.svg";
    }
    void abbreviatedPath() {
        QFETCH(QUrl, url);
        QFETCH(QString, expected);
        QCOMPARE(::abbreviatedPath(url), expected);
    }

    void json_data() {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<bool>("valid");
        for (const char *path : {"/tmp/a.svg", "/tmp/ü dir/€ 1.svg", "/tmp/100%/#?.svg"})
            QTest::newRow(path) << SVGFile::fromUrl(QUrl::fromLocalFile(path)).toJson() << true;
        QTest::newRow("missing url")
            << QByteArray("{\"id\":\"/a.svg\",\"fileName\":\"a.svg\"}") << false;
        QTest::newRow("empty url")
            << QByteArray("{\"id\":\"/a\",\"fileName\":\"a\",\"url\":\"\"}") << false;
        QTest::newRow("garbage") << QByteArray("{") << false;
    }
    void json() {
        QFETCH(QByteArray, json);
        QFETCH(bool, valid);
        const std::optional<SVGFile> file = SVGFile::fromJson(json);
        QCOMPARE(file.has_value(), valid);
        if (!valid)
            return;
        // The id is the plain path, never a URL text.
        QCOMPARE(file->id, file->url.toLocalFile());
        QCOMPARE(file->toJson(), json);
    }

    void resultColumns_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<QStringList>("texts"); // Size, Optimized, Saved
        QTest::addColumn<QVariant>("status");
        QTest::addColumn<QString>("tooltip");

        QTest::newRow("optimized") << 0 << QStringList{"1,000 bytes", "750 bytes", "25.0 %"}
                                   << QVariant(int(Status::Optimized)) << QString();
        QTest::newRow("failed") << 1 << QStringList{"400 bytes", "", ""}
                                << QVariant(int(Status::Failed)) << "Error: bad";
        // A file listed after the run shows its own size.
        QTest::newRow("added after the run")
            << 4 << QStringList{"6 bytes", "", ""} << QVariant() << QString();
    }

    void resultColumns() {
        QFETCH(int, row);
        QFETCH(QStringList, texts);
        QFETCH(QVariant, status);
        QFETCH(QString, tooltip);
        fill();
        m_list->addFile(QUrl::fromLocalFile(write("new.svg", "<svg/>")));
        QStringList shown;
        for (int column :
             {SVGFileTableModel::Size, SVGFileTableModel::Optimized, SVGFileTableModel::Saved})
            shown.append(m_table->index(row, column).data().toString());
        QCOMPARE(shown, texts);
        QCOMPARE(m_table->index(row, 0).data(SVGFileTableModel::StatusRole), status);
        QCOMPARE(m_table->index(row, 0).data(Qt::ToolTipRole).toString(), tooltip);
    }

    void resultsBelongToUnchangedFiles_data() {
        QTest::addColumn<bool>("move");   // moved by a drag, else removed and added again
        QTest::addColumn<bool>("change"); // the file is written in between
        QTest::addColumn<bool>("kept");

        QTest::newRow("re-added unchanged") << false << false << true;
        QTest::newRow("re-added changed") << false << true << false;
        QTest::newRow("moved unchanged") << true << false << true;
        QTest::newRow("moved changed") << true << true << false;
    }

    void resultsBelongToUnchangedFiles() {
        QFETCH(bool, move);
        QFETCH(bool, change);
        QFETCH(bool, kept);
        fill();
        const SVGFile file = m_list->files().at(0);
        if (change)
            write(file.fileName, QByteArray(999, 'y'));
        QSignalSpy changed(m_list.get(), &SVGFileList::resultsChanged);
        if (move) {
            m_list->insertFiles({file}, 3);
        } else {
            m_list->removeFile(file);
            QCOMPARE(m_list->resultTotals().optimized, 1);
            m_list->addFile(file.url);
        }
        QCOMPARE(m_list->result(file.id) != nullptr, kept);
        QCOMPARE(changed.isEmpty(), kept);
        QCOMPARE(m_table->data(m_table->index(m_list->rowOf(file.id), SVGFileTableModel::Saved))
                     .isValid(),
                 kept);
    }

    void sortReordersTheList_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Qt::SortOrder>("order");
        QTest::addColumn<QStringList>("names");

        // Names compare by numbers within them and without regard to case.
        QTest::newRow("name") << int(SVGFileTableModel::FileName) << Qt::AscendingOrder
                              << QStringList{"a", "B2", "b10", "c", "new"};
        // Rows without a value go last in both directions and keep their order.
        QTest::newRow("size") << int(SVGFileTableModel::Size) << Qt::AscendingOrder
                              << QStringList{"new", "c", "B2", "b10", "a"};
        QTest::newRow("saved") << int(SVGFileTableModel::Saved) << Qt::AscendingOrder
                               << QStringList{"b10", "a", "B2", "c", "new"};
        QTest::newRow("saved, descending") << int(SVGFileTableModel::Saved) << Qt::DescendingOrder
                                           << QStringList{"a", "b10", "B2", "c", "new"};
    }

    void sortReordersTheList() {
        QFETCH(int, column);
        QFETCH(Qt::SortOrder, order);
        QFETCH(QStringList, names);
        fill();
        m_list->addFile(QUrl::fromLocalFile(write("new.svg", "<svg/>")));
        m_list->setSelection({m_list->files().at(2).id});
        QPersistentModelIndex selected = m_table->index(2, 0);
        m_table->sort(column, order);
        QStringList shown;
        for (int row = 0; row < m_table->rowCount(); ++row)
            shown.append(m_table->index(row, 0).data().toString());
        QCOMPARE(shown, names);
        // The list itself is in that order, so the next run takes it so.
        QCOMPARE(QFileInfo(m_list->files().first().id).completeBaseName(), names.first());
        QCOMPARE(selected.data(SVGFileTableModel::IdRole).toString(), *m_list->selection().begin());
    }

    void summaryCountsListedRows() {
        QCOMPARE(m_list->resultsSummary(), QString());
        fill();
        QCOMPARE(m_list->resultsSummary(),
                 QString::fromUtf8("2 files optimized, 1 failed, 1 not run · 2.93 KiB → 1.22 KiB "
                                   "(saved 58.3 %)"));
        QCOMPARE(m_list->failedIds(), QStringList{m_list->files().at(1).id});
        // Removed rows no longer count.
        m_list->removeFile(m_list->files().at(3));
        m_list->removeFile(m_list->files().at(1));
        QCOMPARE(m_list->resultsSummary(),
                 QString::fromUtf8("2 files optimized, 0 failed · 2.93 KiB → 1.22 KiB (saved "
                                   "58.3 %)"));
        QVERIFY(m_list->failedIds().isEmpty());
        // A new run's results replace the last one's.
        const QString only = m_list->files().at(1).id;
        m_list->setResults({{only, {Status::Optimized, {}, 2000, 200}}});
        QCOMPARE(m_list->result(m_list->files().at(0).id), nullptr);
        QCOMPARE(m_list->result(only)->sizeAfter, 200);
    }

    // Files the searches changed say so in their tooltip, and the summary counts the culprits.
    void searchedFilesSayWhatTheyGot() {
        FileResult searched{Status::Optimized, "Optimized without convertPathData", 1000, 690};
        searched.withoutPlugins = {"convertPathData"};
        searched.sizeWithAllPlugins = 620;
        FileResult two = searched;
        two.withoutPlugins = {"convertPathData", "mergePaths"};
        FileResult lowered{Status::Optimized, {}, 1000, 500};
        lowered.precisionUsed = 1;
        fill({{"a.svg", 1000, searched}, {"b.svg", 1000, two}, {"c.svg", 1000, lowered}});
        // The most frequent first (the plural's ending comes from the English catalogue).
        QVERIFY2(m_list->resultsSummary().contains(
                     QString::fromUtf8(" · convertPathData: 2 files, mergePaths: 1 file")),
                 qPrintable(m_list->resultsSummary()));
        const auto tip = [&](int row) {
            return m_table->index(row, SVGFileTableModel::Saved).data(Qt::ToolTipRole).toString();
        };
        QCOMPARE(tip(0), QString::fromUtf8("Optimized without convertPathData\n−31.0 % instead of "
                                           "−38.0 %"));
        QCOMPARE(tip(2), QStringLiteral("Precision 1"));
    }
};

QTEST_GUILESS_MAIN(SVGFileListTest)
#include "tst_svgfilelist.moc"
