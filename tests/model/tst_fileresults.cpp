// Per-row results of a run in the file list: columns, how long they stay, sorting, the summary.

#include "model/SVGFileList.h"
#include "model/SVGFileTableModel.h"

#include <QtTest>

using Status = FileResult::Status;

class tst_FileResults : public QObject {
    Q_OBJECT

private slots:
    void init() {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        m_folder = std::make_unique<QTemporaryDir>();
        m_list = std::make_unique<SVGFileList>();
        m_table = std::make_unique<SVGFileTableModel>(m_list.get());
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

    void newRunReplacesResults() {
        fill();
        const QString only = m_list->files().at(3).id;
        m_list->setResults({{only, {Status::Optimized, {}, 300, 200}}});
        QCOMPARE(m_list->result(m_list->files().at(0).id), nullptr);
        QCOMPARE(m_list->result(only)->sizeAfter, 200);
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
        const QList<std::pair<QString, FileResult>> results{
            {write("a.svg", QByteArray(1000, 'x')), searched},
            {write("b.svg", QByteArray(1000, 'x')), two},
            {write("c.svg", QByteArray(1000, 'x')), lowered}};
        for (const auto &[path, result] : results)
            m_list->addFile(QUrl::fromLocalFile(path));
        m_list->setResults(results);
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

private:
    QString write(const QString &name, const QByteArray &bytes) {
        const QString path = m_folder->filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(bytes);
        return path;
    }

    void fill() {
        const QList<std::pair<QString, FileResult>> results{
            {write("b10.svg", QByteArray(1000, 'x')), {Status::Optimized, {}, 1000, 750}},
            {write("B2.svg", QByteArray(400, 'x')), {Status::Failed, "Error: bad", 400, -1}},
            {write("a.svg", QByteArray(2000, 'x')), {Status::Optimized, {}, 2000, 500}},
            {write("c.svg", QByteArray(300, 'x')), {Status::NotRun, {}, 300, -1}},
        };
        for (const auto &[path, result] : results)
            m_list->addFile(QUrl::fromLocalFile(path));
        m_list->setResults(results);
    }

    // Four files a..d with sizes 1000, 400, 2000, 300 and results as given.

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<SVGFileList> m_list;
    std::unique_ptr<SVGFileTableModel> m_table;
};

QTEST_GUILESS_MAIN(tst_FileResults)
#include "tst_fileresults.moc"
