#include "model/Settings.h"
#include "ui/UiTestSupport.h"
#include "ui/components/OverlayNotification.h"
#include "ui/components/TextView.h"
#include "ui/output/TextOutputWindow.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestTextOutputWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_settingsDir;
    const QString m_text = QStringLiteral("<ul>\r\n\t<li><svg/></li>\r\n</ul>");

private slots:
    void initTestCase() { useSettingsIn(m_settingsDir.path(), "tst_textoutputwindow"); }

    void init() {
        Keys::copyTextOutputAutomatically().remove();
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
    }

    void automaticCopy_data() {
        QTest::addColumn<bool>("automatic");
        QTest::addColumn<bool>("hasText");
        QTest::addColumn<bool>("copied");
        QTest::newRow("on") << true << true << true;
        QTest::newRow("off") << false << true << false;
        QTest::newRow("on without a text") << true << false << false;
    }

    void automaticCopy() {
        QFETCH(bool, automatic);
        QFETCH(bool, hasText);
        QFETCH(bool, copied);
        Keys::copyTextOutputAutomatically().set(automatic);
        TextOutputWindow window(hasText ? std::optional(m_text) : std::nullopt);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        QCOMPARE(QGuiApplication::clipboard()->text(),
                 copied ? m_text : QStringLiteral("untouched"));
        QCOMPARE(window.notification()->isTriggered(), copied);
        QCOMPARE(window.text(), hasText ? m_text : QString());

        // Only the first appearance copies.
        QGuiApplication::clipboard()->setText(QStringLiteral("untouched"));
        window.hide();
        window.show();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    }

    void manualCopyTakesEditedText() {
        TextOutputWindow window(m_text);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.textView()->setFocus();
        window.textView()->moveCursor(QTextCursor::End);
        QTest::keyClicks(window.textView(), QStringLiteral("<!-- x -->"));

        QTest::keySequence(&window, QKeySequence(QStringLiteral("Ctrl+Shift+C")));

        QCOMPARE(QGuiApplication::clipboard()->text(), m_text + QStringLiteral("<!-- x -->"));
        QVERIFY(window.notification()->isTriggered());
    }

    // Each run's window: brought forward for the same text, else a new one beside the others,
    // told apart by its title, and closed with the usual shortcut.
    void openingSameTextBringsWindowForward() {
        TextOutputWindow *first = TextOutputWindow::open(m_text);
        QCOMPARE(TextOutputWindow::open(m_text), first);
        TextOutputWindow *other = TextOutputWindow::open(QStringLiteral("other"));
        QVERIFY(other != first);
        QCOMPARE(TextOutputWindow::openWindows().size(), 2);
        QVERIFY(other->geometry().topLeft() != first->geometry().topLeft());
        QVERIFY(other->windowTitle() != first->windowTitle());

        QPointer<TextOutputWindow> closed = first;
        first->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(first));
        QTest::keySequence(first, QKeySequence::Close);
        QTRY_VERIFY(closed.isNull());
        TextOutputWindow *reopened = TextOutputWindow::open(m_text);
        QCOMPARE(TextOutputWindow::openWindows().size(), 2);
        delete reopened;
        delete other;
    }

    void noticeHidesOnceAfterFirstPress() {
        TextOutputWindow window(m_text);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        OverlayNotification *notice = window.notification();
        notice->setDismissAfter(50);
        QSignalSpy changes(notice, &OverlayNotification::triggeredChanged);

        window.copyAction()->trigger();
        QVERIFY(notice->isVisible());
        window.copyAction()->trigger(); // while showing: no second change, no second hide
        QCOMPARE(changes.count(), 1);
        QTRY_VERIFY(!notice->isTriggered());
        QTRY_VERIFY(!notice->isVisible());

        window.copyAction()->trigger();
        QVERIFY(notice->isTriggered());
        QTRY_VERIFY(!notice->isTriggered());
        QCOMPARE(changes.count(), 4); // on, off, on, off
    }
};

QTEST_MAIN(TestTextOutputWindow)
#include "tst_textoutputwindow.moc"
