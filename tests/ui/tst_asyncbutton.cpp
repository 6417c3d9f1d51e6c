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

    // However the button is pressed while its work runs, nothing starts twice; a button that is
    // disabled while loading comes back enabled.
    void secondPressStartsNothing_data() {
        QTest::addColumn<bool>("hitTesting");
        QTest::addColumn<bool>("disabledWhenLoading");
        QTest::newRow("clicks pass through") << false << false;
        QTest::newRow("clicks taken") << true << false;
        QTest::newRow("disabled when loading") << false << true;
    }
    void secondPressStartsNothing() {
        QFETCH(bool, hitTesting);
        QFETCH(bool, disabledWhenLoading);
        button->setAllowsHitTestingWhenLoading(hitTesting);
        button->setDisabledWhenLoading(disabledWhenLoading);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(button->isLoading());
        QCOMPARE(button->isEnabled(), !disabledWhenLoading);
        QTest::mouseClick(button, Qt::LeftButton);
        button->click();
        QTest::keyClick(button, Qt::Key_Space);
        QCOMPARE(work.starts, 1);
        work.succeed();
        QTRY_VERIFY(!button->isLoading());
        QVERIFY(button->isEnabled());
        button->click();
        QCOMPARE(work.starts, 2);
    }

    // Each outcome in turn: 'f' the work fails, 't' the action throws before handing out work,
    // 'c' the run is cancelled, 's' it succeeds. Only failures count and shake, and every
    // shake ends with the button back in its place.
    void outcomes_data() {
        QTest::addColumn<QByteArray>("outcomes");
        QTest::addColumn<qint64>("errors");
        QTest::newRow("two failures") << QByteArray("ff") << qint64(2);
        QTest::newRow("success after failure") << QByteArray("fs") << qint64(1);
        QTest::newRow("throwing action") << QByteArray("ts") << qint64(1);
        QTest::newRow("cancelled") << QByteArray("c") << qint64(0);
    }
    void outcomes() {
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
            else if (outcome == 'c')
                button->cancel();
            QTRY_VERIFY(!button->isLoading());
            QCOMPARE(button->isShaking(), outcome == 'f' || outcome == 't');
            QTRY_VERIFY(!button->isShaking());
            QCOMPARE(button->pos(), rest);
        }
        QCOMPARE(button->errorCount(), errors);
        if (outcomes == "c")
            QVERIFY(work.promise->isCanceled());
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
