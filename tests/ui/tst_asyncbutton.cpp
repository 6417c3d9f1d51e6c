#include "ui/components/AsyncButton.h"

#include <QPromise>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <stdexcept>

// Each press hands out the future of a fresh promise that the test settles when it likes.
class Work {
public:
    QFuture<void> run() {
        ++starts;
        promise = std::make_unique<QPromise<void>>();
        promise->start();
        return promise->future();
    }
    void succeed() { promise->finish(); }
    void fail() {
        promise->setException(std::make_exception_ptr(std::runtime_error("svgo went away")));
        promise->finish();
    }

    int starts = 0;
    std::unique_ptr<QPromise<void>> promise;
};

class TestAsyncButton : public QObject {
    Q_OBJECT
private:
    QWidget window;
    AsyncButton *button = nullptr;
    Work work;

private slots:
    void init() {
        delete button;
        work = Work();
        button = new AsyncButton(QStringLiteral("Check"), &window);
        button->setAction([this] { return work.run(); });
        if (!window.layout())
            new QVBoxLayout(&window);
        window.layout()->addWidget(button);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(button->isVisible());
        window.layout()->activate();
    }

    void secondPressStartsNothing_data() {
        QTest::addColumn<bool>("hitTesting");
        QTest::newRow("clicks pass through") << false;
        QTest::newRow("clicks taken") << true;
    }
    void secondPressStartsNothing() {
        QFETCH(bool, hitTesting);
        button->setAllowsHitTestingWhenLoading(hitTesting);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isLoading());
        QTest::mouseClick(button, Qt::LeftButton);
        button->click();
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(work.starts, 1);
        work.succeed();
        QTRY_VERIFY(!button->isLoading());
        button->click();
        QCOMPARE(work.starts, 2);
    }

    void enabledStateWhileLoading_data() {
        QTest::addColumn<bool>("disabledWhenLoading");
        QTest::newRow("default") << false;
        QTest::newRow("disabled when loading") << true;
    }
    // The label gives way to the spinner either way; only the enabled state differs.
    void enabledStateWhileLoading() {
        QFETCH(bool, disabledWhenLoading);
        button->setDisabledWhenLoading(disabledWhenLoading);
        button->click();
        QCOMPARE(button->isEnabled(), !disabledWhenLoading);
        QTRY_COMPARE(button->labelOpacity(), 0.0);
        work.succeed();
        QTRY_VERIFY(!button->isLoading());
        QVERIFY(button->isEnabled());
        QTRY_COMPARE(button->labelOpacity(), 1.0);
    }

    // Each outcome in turn: 'f' the work fails, 't' the action throws before handing out
    // work, 's' it succeeds. Only failures may count and shake; each shake ends at rest.
    void failuresShake_data() {
        QTest::addColumn<QByteArray>("outcomes");
        QTest::addColumn<qint64>("errors");
        QTest::newRow("two failures") << QByteArray("ff") << qint64(2);
        QTest::newRow("success after failure") << QByteArray("fs") << qint64(1);
        QTest::newRow("throwing action") << QByteArray("ts") << qint64(1);
    }
    void failuresShake() {
        QFETCH(QByteArray, outcomes);
        QFETCH(qint64, errors);
        const QPoint rest = button->pos();
        for (char outcome : outcomes) {
            if (outcome == 't')
                button->setAction([]() -> QFuture<void> { throw std::runtime_error("no svgo"); });
            else
                button->setAction([this] { return work.run(); });
            button->click();
            if (outcome == 'f')
                work.fail();
            else if (outcome == 's')
                work.succeed();
            QTRY_VERIFY(!button->isLoading());
            QCOMPARE(button->isShaking(), outcome != 's');
            int widest = 0;
            while (button->isShaking()) {
                widest = std::max(widest, std::abs(button->pos().x() - rest.x()));
                QTest::qWait(4);
            }
            QVERIFY2(outcome == 's' ? widest == 0 : widest >= 5, outcomes.constData());
            QCOMPARE(button->pos(), rest);
        }
        QCOMPARE(button->errorCount(), errors);
    }

    void cancelEndsRunWithoutFailure() {
        button->click();
        button->cancel();
        QVERIFY(!button->isLoading());
        QVERIFY(work.promise->isCanceled());
        QCOMPARE(button->errorCount(), 0);
    }

    void reportsProgress() {
        button->click();
        QCOMPARE(button->fractionCompleted(), std::nullopt);
        work.promise->setProgressRange(0, 4);
        work.promise->setProgressValue(1);
        QTRY_COMPARE(button->fractionCompleted(), std::optional<double>(0.25));
        work.succeed();
        QTRY_VERIFY(!button->isLoading());
    }
};

QTEST_MAIN(TestAsyncButton)
#include "tst_asyncbutton.moc"
