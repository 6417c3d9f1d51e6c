#include "ui/components/AsyncButton.h"

#include <QPromise>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>
#include <stdexcept>

class TestAsyncButton : public QObject {
    Q_OBJECT
    QWidget window;
    AsyncButton *button = nullptr;
    // Each start hands out the future of a fresh promise that the test settles when it likes.
    std::unique_ptr<QPromise<void>> promise;
    int starts = 0;

private slots:
    void init() {
        delete button;
        starts = 0;
        button = new AsyncButton(QStringLiteral("Check"), &window);
        if (!window.layout())
            new QVBoxLayout(&window);
        window.layout()->addWidget(button);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(button->isVisible()); // a child added to a shown window appears later
        window.layout()->activate();
    }

    // Each outcome in turn: 'f' the work fails, 't' the action throws before handing out work,
    // 'c' the run is cancelled, 's' it succeeds. However the button is pressed while its work
    // runs, nothing starts twice; only failures count and shake, every shake ends with the
    // button back in its place, and a button disabled while loading comes back enabled.
    void outcomes_data() {
        QTest::addColumn<bool>("hitTesting");
        QTest::addColumn<bool>("disabledWhenLoading");
        QTest::addColumn<QByteArray>("outcomes");
        QTest::addColumn<qint64>("errors");
        QTest::newRow("two failures") << false << false << QByteArray("ff") << qint64(2);
        QTest::newRow("success after failure, clicks taken")
            << true << false << QByteArray("fs") << qint64(1);
        QTest::newRow("throwing action, disabled when loading")
            << false << true << QByteArray("ts") << qint64(1);
        QTest::newRow("cancelled") << false << false << QByteArray("c") << qint64(0);
    }
    void outcomes() {
        QFETCH(bool, hitTesting);
        QFETCH(bool, disabledWhenLoading);
        QFETCH(QByteArray, outcomes);
        QFETCH(qint64, errors);
        button->setAllowsHitTestingWhenLoading(hitTesting);
        button->setDisabledWhenLoading(disabledWhenLoading);
        const QPoint rest = button->pos();
        int expectedStarts = 0;
        for (char outcome : outcomes) {
            button->setAction([this, outcome]() -> QFuture<void> {
                ++starts;
                if (outcome == 't')
                    throw std::runtime_error("no svgo");
                promise = std::make_unique<QPromise<void>>();
                promise->start();
                return promise->future();
            });
            QTest::mouseClick(button, Qt::LeftButton);
            ++expectedStarts;
            if (outcome != 't') {
                QVERIFY(button->isLoading());
                QCOMPARE(button->isEnabled(), !disabledWhenLoading);
                QTest::mouseClick(button, Qt::LeftButton);
                QTest::keyClick(button, Qt::Key_Space);
                button->click();
                QCOMPARE(button->fractionCompleted(), std::nullopt);
                promise->setProgressRange(0, 4);
                promise->setProgressValue(1);
                QTRY_COMPARE(button->fractionCompleted(), std::optional<double>(0.25));
            }
            QCOMPARE(starts, expectedStarts);
            if (outcome == 'f')
                promise->setException(std::make_exception_ptr(std::runtime_error("svgo died")));
            if (outcome == 'c')
                button->cancel();
            else if (outcome != 't')
                promise->finish();
            QTRY_VERIFY(!button->isLoading());
            QVERIFY(button->isEnabled());
            QCOMPARE(button->isShaking(), outcome == 'f' || outcome == 't');
            QTRY_VERIFY(!button->isShaking());
            QCOMPARE(button->pos(), rest);
        }
        QCOMPARE(button->errorCount(), errors);
        if (outcomes == "c")
            QVERIFY(promise->isCanceled());
    }
};

QTEST_MAIN(TestAsyncButton)
#include "tst_asyncbutton.moc"
