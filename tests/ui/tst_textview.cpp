#include "ui/components/TextView.h"

#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

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

class TestTextView : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"
