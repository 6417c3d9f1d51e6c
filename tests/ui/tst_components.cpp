#include "ui/components/CircularIndicator.h"
#include "ui/components/ListActions.h"

#include <QMenu>
#include <QToolButton>
#include <QtTest>

class TestComponents : public QObject {
    Q_OBJECT
private slots:
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

        // A disabled remove button takes neither clicks nor keys; add carries on regardless.
        QTest::mouseClick(bar->removeButton(), Qt::LeftButton);
        bar->removeButton()->setFocus();
        QTest::keyClick(bar->removeButton(), Qt::Key_Space);
        QTest::mouseClick(bar->addButton(), Qt::LeftButton);
        QCOMPARE(removes, removeDisabled ? 0 : 2);
        QCOMPARE(adds.count(), 1);
    }

    void indicatorColour_data() {
        QTest::addColumn<bool>("condition");
        QTest::addColumn<bool>("critical");
        QTest::addColumn<QColor>("expected");
        const QColor green(52, 199, 89), orange(255, 149, 0), red(255, 59, 48);
        QTest::newRow("condition wins over critical") << true << true << green;
        QTest::newRow("condition") << true << false << green;
        QTest::newRow("critical") << false << true << red;
        QTest::newRow("neither") << false << false << orange;
    }
    // The colour follows the state, through an animation rather than at once.
    void indicatorColour() {
        QFETCH(bool, condition);
        QFETCH(bool, critical);
        QFETCH(QColor, expected);
        CircularIndicator indicator(!condition, !critical);
        const QColor before = indicator.displayedColor();
        indicator.setCondition(condition);
        indicator.setCritical(critical);
        QCOMPARE(indicator.color(), expected);
        if (before != expected)
            QCOMPARE(indicator.displayedColor(), before);
        QTRY_COMPARE(indicator.displayedColor(), expected);
    }
};

QTEST_MAIN(TestComponents)
#include "tst_components.moc"
