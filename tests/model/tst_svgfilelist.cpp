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

class SVGFileListTest : public QObject {
    Q_OBJECT
private slots:
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
        QTemporaryDir dir;
        for (const QString &name : present)
            create(dir.path(), name);

        SVGFileList list;
        QVERIFY(list.addFolder(QUrl::fromLocalFile(dir.path())));
        QStringList listed;
        for (const SVGFile &file : list.files())
            listed.append(QDir(dir.path()).relativeFilePath(file.id));
        QCOMPARE(listed, expected);
        // The same folder named with a trailing slash yields the same ids: nothing new.
        QVERIFY(list.addFolder(QUrl::fromLocalFile(dir.path() + u'/')));
        QCOMPARE(list.files().size(), expected.size());
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
        QTemporaryDir dir;
        create(dir.path(), "a.svg");
        create(dir.path(), "b.svg");
        const QString base = QUrl::fromLocalFile(dir.path() + u'/').toString();

        SVGFileList list;
        for (const QString &add : adds) {
            if (add.endsWith(u'/')) {
                const QUrl folder(base + add.chopped(1));
                QCOMPARE(list.addFolder(folder), QFileInfo(folder.toLocalFile()).isDir());
            } else {
                list.addFile(QUrl(base + add));
            }
        }
        QStringList ids;
        for (const SVGFile &file : list.files())
            ids.append(file.id.mid(dir.path().size() + 1));
        QCOMPARE(ids, expected);
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
        QTemporaryDir dir;
        for (const QString &name :
             {"x.SVG", "x.svg", "icons/in.svg", "icons/in.SVG", "drawing.txt"})
            create(dir.path(), name, svgMarkup);
        create(dir.path(), "notes.txt", "hello");
        QList<QUrl> urls;
        for (const QString &item : items)
            urls.append(QUrl::fromLocalFile(dir.filePath(item)));

        SVGFileList list;
        if (drop) {
            QMimeData data;
            data.setUrls(urls);
            QCOMPARE(SVGFileList::hasDroppableItems(&data), accepted);
            QCOMPARE(list.dropItems(&data), accepted);
        } else {
            list.importFiles(urls);
        }
        QCOMPARE(fileNames(list), expected);
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
};

QTEST_GUILESS_MAIN(SVGFileListTest)
#include "tst_svgfilelist.moc"
