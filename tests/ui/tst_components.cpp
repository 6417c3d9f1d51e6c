#include "ui/components/ListActions.h"

#include <QMenu>
#include <QToolButton>
#include <QtTest>

class TestComponents : public QObject {
    Q_OBJECT
private slots:
    // The list's add and remove buttons: a disabled remove takes neither clicks nor keys, and
    // the "more" button shows only with a menu to open.
    void listActionsButtons_data() {
        QTest::addColumn<bool>("withMenu");
        QTest::addColumn<bool>("removeDisabled");
        QTest::newRow("plain bar") << false << false;
        QTest::newRow("remove disabled") << false << true;
        QTest::newRow("with more menu") << true << false;
    }
    void listActionsButtons() {
        QFETCH(bool, withMenu);
        QFETCH(bool, removeDisabled);
        QWidget window;
        QMenu menu;
        menu.addAction(QStringLiteral("Duplicate"));
        auto *bar = new ListActions(QStringLiteral("Add Files"), QStringLiteral("Remove"), &window);
        int removes = 0;
        bar->setRemoveAction([&removes] { ++removes; });
        QSignalSpy adds(bar, &ListActions::addTriggered);
        bar->setRemoveButtonDisabled(true);
        bar->setRemoveButtonDisabled(removeDisabled);
        if (withMenu)
            bar->setMoreActions(&menu);
        bar->resize(300, bar->sizeHint().height());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QCOMPARE(bar->moreButton()->isVisibleTo(bar), withMenu);
        QCOMPARE(bar->moreButton()->menu() == &menu, withMenu);

        QTest::mouseClick(bar->removeButton(), Qt::LeftButton);
        bar->removeButton()->setFocus();
        QTest::keyClick(bar->removeButton(), Qt::Key_Space);
        QTest::mouseClick(bar->addButton(), Qt::LeftButton);
        QCOMPARE(removes, removeDisabled ? 0 : 2);
        QCOMPARE(adds.count(), 1);
    }
};

QTEST_MAIN(TestComponents)
#include "tst_components.moc"
