// The set audit in a window: it follows the list as files come and go, and choosing a finding
// or one of its files with the mouse selects them in the list.

#include "model/SVGFileList.h"
#include "ui/UiTestSupport.h"
#include "ui/main/AuditPanel.h"
#include "ui/main/WindowSession.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

Q_DECLARE_METATYPE(std::function<void(Profile &)>)

class tst_AuditPanel : public QObject {
    Q_OBJECT

    QTemporaryDir m_settings;
    QTemporaryDir m_folder;

    QString write(const QString &name, const QByteArray &svg) {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Clicks the item in the middle of its row, as a user would.
    static void click(QTreeWidget *view, QTreeWidgetItem *item) {
        view->scrollToItem(item);
        const QRect row = view->visualItemRect(item);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    }

private slots:
    void initTestCase() { useSettingsIn(m_settings.path(), "AuditPanel"); }

    void findingsSelectTheirFiles_data() {
        QTest::addColumn<bool>("wholeFinding"); // the finding, or its second file
        QTest::newRow("a finding selects its files") << true;
        QTest::newRow("a file selects itself") << false;
    }
    void findingsSelectTheirFiles() {
        QFETCH(bool, wholeFinding);
        const QByteArray shared = "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 16 16\">"
                                  "<linearGradient id=\"a\"/></svg>";
        const QString first = write("first.svg", shared);
        const QString second = write("second.svg", shared);
        const QString alone = write("alone.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                                 "viewBox=\"0 0 16 16\"><g id=\"b\"/></svg>");
        SVGFileList files;
        WindowSession session;
        AuditPanel panel(&files, &session);
        panel.resize(400, 400);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
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

QTEST_MAIN(tst_AuditPanel)
#include "tst_auditpanel.moc"
