// The button kit and the text view on their own: the list's add and remove buttons, the button
// that runs its work in the background, and the text view that takes large texts in slices.

#include "ui/UiTestSupport.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/ListActions.h"
#include "ui/components/TextView.h"

#include <stdexcept>

namespace {

QString lines(int count, const QString &lineBreak, int width = 40) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("<path d=\"M%1\"/>").arg(i).leftJustified(width, u'.') + lineBreak;
    return text;
}

bool exposed(TextView &view) {
    view.resize(400, 300);
    view.show();
    return QTest::qWaitForWindowExposed(&view);
}

} // namespace

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

    // The button that runs work, one outcome after another: 'f' the work fails, 't' the action
    // throws before handing out work, 'c' the run is cancelled, 's' it succeeds. However it is
    // pressed while its work runs, nothing starts twice; only failures count and shake, every
    // shake ends with the button in its place, and one disabled while loading comes back enabled.
    void asyncButtonOutcomes_data() {
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
    void asyncButtonOutcomes() {
        QFETCH(bool, hitTesting);
        QFETCH(bool, disabledWhenLoading);
        QFETCH(QByteArray, outcomes);
        QFETCH(qint64, errors);
        QWidget window;
        auto *button = new AsyncButton(QStringLiteral("Check"), &window);
        (new QVBoxLayout(&window))->addWidget(button);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // Each start hands out the future of a fresh promise that the test settles when it likes.
        std::unique_ptr<QPromise<void>> promise;
        int starts = 0;
        button->setAllowsHitTestingWhenLoading(hitTesting);
        button->setDisabledWhenLoading(disabledWhenLoading);
        const QPoint rest = button->pos();
        int expectedStarts = 0;
        for (char outcome : outcomes) {
            button->setAction([&promise, &starts, outcome]() -> QFuture<void> {
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

    void textSurvivesEdits_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("editAt"); // -1: no edit
        QTest::addColumn<QString>("expected");
        QTest::addColumn<int>("lines");

        const QString crlf = lines(3, QStringLiteral("\r\n"));
        QTest::newRow("unedited keeps every byte") << QStringLiteral("a\rb\r\nc\nd\u00a0") << -1
                                                   << QStringLiteral("a\rb\r\nc\nd\u00a0") << 4;
        QTest::newRow("edited CR LF") << crlf << 0 << QStringLiteral("X") + crlf << 4;
        QTest::newRow("edited LF")
            << QStringLiteral("a\nb\n") << 2 << QStringLiteral("a\nXb\n") << 3;
        QTest::newRow("edited without breaks")
            << QStringLiteral("abc") << 3 << QStringLiteral("abcX") << 1;
        // Large enough to come in slices; the edit lands before the tail is in.
        const QString large = lines(20000, QStringLiteral("\r\n"));
        QTest::newRow("edited while loading")
            << large << 1 << large.left(1) + u'X' + large.mid(1) << 20001;
    }

    void textSurvivesEdits() {
        QFETCH(QString, text);
        QFETCH(int, editAt);
        QFETCH(QString, expected);
        QFETCH(int, lines);
        TextView view;
        QSignalSpy edited(&view, &TextView::textEdited);
        view.setText(text);
        QCOMPARE(edited.count(), 0);
        if (editAt >= 0) {
            QTextCursor cursor = view.textCursor();
            cursor.setPosition(editAt);
            cursor.insertText(QStringLiteral("X"));
            QCOMPARE(edited.count(), 1);
        }
        QCOMPARE(view.text(), expected);
        view.finishLoading();
        QCOMPARE(view.text(), expected);
        // Slices never cut a CR LF into two lines.
        QCOMPARE(view.blockCount(), lines);
    }

    void typingKeepsCursorAndScroll() {
        TextView view;
        QVERIFY(exposed(view));
        view.setText(lines(500, QStringLiteral("\r\n")));
        view.finishLoading();
        const int position = view.document()->findBlockByNumber(250).position();
        QTextCursor cursor(view.document());
        cursor.setPosition(position);
        view.setTextCursor(cursor);
        const int scroll = view.verticalScrollBar()->value();
        QVERIFY(scroll > 0);

        QTest::keyClicks(&view, QStringLiteral("abc"));

        QCOMPARE(view.textCursor().position(), position + 3);
        QCOMPARE(view.verticalScrollBar()->value(), scroll);
        QVERIFY(view.isEdited());
        QVERIFY(view.text().contains(QStringLiteral("\r\nabc<path d=\"M250\"/>")));
    }

    // Text set from outside drops every format an earlier edit left, whatever fonts the machine
    // has: no fragment keeps its own size or family.
    void outsideReplacementRestyles() {
        TextView view;
        view.setText(QStringLiteral("old"));
        QTextCharFormat odd;
        odd.setFontFamilies({QStringLiteral("Serif")});
        odd.setFontPointSize(30);
        view.textCursor().insertText(QStringLiteral("styled\nlines"), odd);

        view.setText(QStringLiteral("one\r\ntwo\r\nthree"));

        QCOMPARE(view.document()->defaultFont(), view.font());
        for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
            for (auto it = block.begin(); !it.atEnd(); ++it)
                QVERIFY(!it.fragment().charFormat().hasProperty(QTextFormat::FontPointSize) &&
                        !it.fragment().charFormat().hasProperty(QTextFormat::FontFamilies));
    }

    // The text never runs under the line numbers.
    void textStaysClearOfLineNumbers() {
        TextView view{TextView::ShowLineNumbers};
        QVERIFY(exposed(view));
        auto *strip = view.findChild<QWidget *>(QStringLiteral("lineNumberGutter"));
        QVERIFY(strip && strip->isVisible() && view.viewport()->x() >= strip->width());
    }

    void equalSelectionDoesNotReselect() {
        TextView view;
        QVERIFY(exposed(view));
        view.setText(lines(500, QStringLiteral("\n")));
        view.finishLoading();
        view.setSelection(TextView::Selection{10, 5});
        view.verticalScrollBar()->setValue(300); // the selection is now off screen

        view.setSelection(TextView::Selection{10, 5});
        view.setSelection(std::nullopt);
        QCOMPARE(view.verticalScrollBar()->value(), 300);

        view.setSelection(TextView::Selection{12, 3});
        QCOMPARE(view.selection(), (TextView::Selection{12, 3}));
        QCOMPARE(view.verticalScrollBar()->value(), 0);
    }
};

QTEST_MAIN(TestComponents)
#include "tst_components.moc"
