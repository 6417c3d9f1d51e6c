#include "ui/components/TextView.h"

#include "ui/components/LineNumberGutter.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QtMath>

namespace {

// First slice: comfortably more than a screen, small enough to show at once.
constexpr qsizetype firstSliceLength = 32 * 1024;
// Later slices are cut this long and put in until the time budget of one idle turn is spent, so
// scrolling and typing stay smooth while the tail of a large text comes in.
constexpr qsizetype sliceLength = 64 * 1024;
constexpr qint64 sliceBudgetMs = 12;

constexpr int gutterMinimumWidth = 40;
constexpr int gutterPadding = 8;

// The plain-text layout ignores the line height of block formats, so the spacing is added here
// instead: each line of a block moves down by the spacing of the lines above it, and the block
// grows by one spacing per line. Only blocks that get measured (those near the visible area) pay
// for it, which keeps a text of hundreds of thousands of lines as quick as an unspaced one.
class SpacedPlainTextLayout : public QPlainTextDocumentLayout {
public:
    SpacedPlainTextLayout(QTextDocument *document, qreal spacing)
        : QPlainTextDocumentLayout(document), m_spacing(spacing) {}

    QRectF blockBoundingRect(const QTextBlock &block) const override {
        QRectF rect = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (!block.isVisible() || m_spacing <= 0)
            return rect;
        QTextLayout *layout = block.layout();
        qreal y = 0;
        for (int i = 0; i < layout->lineCount(); ++i) {
            QTextLine line = layout->lineAt(i);
            if (line.y() != y)
                line.setPosition(QPointF(line.x(), y));
            y += line.height() + m_spacing;
            if (line.leading() < 0)
                y += qCeil(line.leading());
        }
        if (!block.next().isValid())
            y += document()->documentMargin();
        rect.setHeight(y);
        return rect;
    }

private:
    qreal m_spacing;
};

QColor withAlpha(QColor color, qreal alpha) {
    color.setAlphaF(alpha);
    return color;
}

} // namespace

TextView::TextView(Options options, QWidget *parent) : QPlainTextEdit(parent), m_options(options) {
    auto *document = new QTextDocument(this);
    document->setDocumentLayout(new SpacedPlainTextLayout(document, m_lineSpacing));
    setDocument(document);

    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSizeF(QFontDatabase::systemFont(QFontDatabase::GeneralFont).pointSizeF());
    font.setWeight(QFont::Normal);
    setFont(font);
    setTabStopDistance(4 * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
    applyWrapMode();

    m_loadTimer.setInterval(0);
    connect(&m_loadTimer, &QTimer::timeout, this, &TextView::loadSlice);
    connect(document, &QTextDocument::contentsChange, this, &TextView::onContentsChange);

    if (m_options & ShowLineNumbers) {
        m_gutter = new LineNumberGutter(
            this, [this] { return gutterWidth(); }, [this](QPaintEvent *e) { paintGutter(e); });
        connect(this, &QPlainTextEdit::blockCountChanged, this, &TextView::updateGutterGeometry);
        connect(this, &QPlainTextEdit::updateRequest, this, &TextView::onUpdateRequest);
        updateGutterGeometry();
    }
    if (m_options & HighlightSelectedLine) {
        // The highlight follows the cursor's line, which moves without the text changing.
        connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
            viewport()->update();
            if (m_gutter)
                m_gutter->update();
        });
    }
}

TextView::~TextView() = default;

void TextView::setOptions(Options options) {
    const Options fixed = HighlightSelectedLine | ShowLineNumbers;
    m_options = (options & ~fixed) | (m_options & fixed);
    applyWrapMode();
}

void TextView::applyWrapMode() {
    setLineWrapMode((m_options & WrapLines) ? LineWrapMode::WidgetWidth : LineWrapMode::NoWrap);
}

QString TextView::text() const {
    if (!m_edited)
        return m_text;
    // The document keeps one separator per line break; write them back the way the text did.
    const QString lineBreak = m_crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QString text = document()->toRawText();
    text.replace(QChar(QChar::ParagraphSeparator), lineBreak);
    text.replace(QChar(QChar::LineSeparator), lineBreak);
    if (isLoading())
        text += QStringView(m_text).mid(m_loaded);
    return text;
}

void TextView::setText(const QString &text) {
    m_loadTimer.stop();
    m_text = text;
    m_edited = false;
    const qsizetype firstLineFeed = text.indexOf(QLatin1Char('\n'));
    // Without a line break to copy, follow this program's own habit of CR LF.
    m_crlf = firstLineFeed < 0 || (firstLineFeed > 0 && text.at(firstLineFeed - 1) == u'\r');
    {
        QScopedValueRollback guard(m_updating, true);
        // Slices put in later must not become undo steps the user could take back.
        document()->setUndoRedoEnabled(false);
        document()->setDefaultFont(font());
        m_loaded = sliceEnd(0, firstSliceLength);
        // Replacing the text keeps the cursor's character format; start from none so the new text
        // takes the view's font everywhere.
        setCurrentCharFormat(QTextCharFormat());
        setPlainText(m_text.left(m_loaded));
    }
    if (isLoading()) {
        m_loadTimer.start();
    } else {
        document()->setUndoRedoEnabled(true);
        emit loadingFinished();
    }
}

void TextView::finishLoading() {
    if (!isLoading())
        return;
    {
        QScopedValueRollback guard(m_updating, true);
        appendUpTo(m_text.size());
    }
    loadSlice();
}

void TextView::loadSlice() {
    QElapsedTimer timer;
    timer.start();
    {
        QScopedValueRollback guard(m_updating, true);
        while (isLoading() && timer.elapsed() < sliceBudgetMs)
            appendUpTo(sliceEnd(m_loaded, sliceLength));
    }
    if (!isLoading()) {
        m_loadTimer.stop();
        document()->setUndoRedoEnabled(true);
        emit loadingFinished();
    }
}

void TextView::appendUpTo(qsizetype end) {
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(m_text.mid(m_loaded, end - m_loaded), QTextCharFormat());
    m_loaded = end;
}

qsizetype TextView::sliceEnd(qsizetype from, qsizetype maxLength) const {
    if (m_text.size() - from <= maxLength)
        return m_text.size();
    // End slices after a line feed so that no CR LF is cut in two (that would make two lines).
    const qsizetype lineFeed = QStringView(m_text).mid(from, maxLength).lastIndexOf(u'\n');
    if (lineFeed >= 0)
        return from + lineFeed + 1;
    qsizetype end = from + maxLength;
    if (m_text.at(end - 1) == u'\r' || m_text.at(end - 1).isHighSurrogate())
        --end;
    return end;
}

void TextView::onContentsChange(int, int removed, int added) {
    if (m_updating || (removed == 0 && added == 0))
        return;
    m_edited = true;
    emit textEdited();
}

TextView::Selection TextView::selection() const {
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

void TextView::setSelection(const std::optional<Selection> &selection) {
    if (!selection || *selection == this->selection())
        return;
    const int last = document()->characterCount() - 1;
    const int start = qBound(0, selection->location, last);
    const int end = qBound(start, selection->location + selection->length, last);
    QTextCursor cursor(document());
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

int TextView::gutterWidth() const {
    if (!m_gutter)
        return 0;
    const int digits = QString::number(qMax(1, blockCount())).size();
    const int numbers = qCeil(digits * QFontMetricsF(font()).horizontalAdvance(QLatin1Char('9')));
    return qMax(gutterMinimumWidth, numbers + 2 * gutterPadding);
}

void TextView::updateGutterGeometry() {
    if (!m_gutter)
        return;
    const int width = gutterWidth();
    setViewportMargins(width, 0, 0, 0);
    const QRect contents = contentsRect();
    m_gutter->setGeometry(contents.left(), contents.top(), width, contents.height());
}

void TextView::onUpdateRequest(const QRect &rect, int dy) {
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

void TextView::resizeEvent(QResizeEvent *event) {
    QPlainTextEdit::resizeEvent(event);
    updateGutterGeometry();
}

void TextView::changeEvent(QEvent *event) {
    QPlainTextEdit::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        setTabStopDistance(4 * QFontMetricsF(font()).horizontalAdvance(QLatin1Char(' ')));
        updateGutterGeometry();
    }
}

void TextView::paintEvent(QPaintEvent *event) {
    if (m_options & HighlightSelectedLine) {
        const QTextBlock block = textCursor().block();
        const QRectF rect = blockBoundingGeometry(block).translated(contentOffset());
        if (block.isVisible() && rect.intersects(event->rect())) {
            QPainter painter(viewport());
            painter.fillRect(QRectF(0, rect.top(), viewport()->width(), rect.height()),
                             withAlpha(palette().color(QPalette::Highlight), 0.12));
        }
    }
    QPlainTextEdit::paintEvent(event);
}

void TextView::paintGutter(QPaintEvent *event) {
    QPainter painter(m_gutter);
    const int width = m_gutter->width();
    painter.fillRect(event->rect(), palette().color(QPalette::Base));
    painter.setFont(font());
    const QFontMetricsF metrics(font());
    const int current = (m_options & HighlightSelectedLine) ? textCursor().blockNumber() : -1;

    // Only the blocks on screen are visited, however long the text is.
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= event->rect().bottom()) {
        const qreal height = blockBoundingRect(block).height();
        if (block.isVisible() && top + height >= event->rect().top()) {
            if (block.blockNumber() == current)
                painter.fillRect(QRectF(0, top, width, height),
                                 withAlpha(palette().color(QPalette::Highlight), 0.25));
            const QTextLine line = block.layout()->lineAt(0);
            const QString number = QString::number(block.blockNumber() + 1);
            const qreal baseline =
                top + (line.isValid() ? line.y() + line.ascent() : metrics.ascent());
            painter.setPen(palette().color(QPalette::PlaceholderText));
            painter.drawText(
                QPointF(width - gutterPadding - metrics.horizontalAdvance(number), baseline),
                number);
        }
        top += height;
        block = block.next();
    }

    painter.setPen(withAlpha(palette().color(QPalette::Text), 0.1));
    painter.drawLine(QPointF(width - 0.5, event->rect().top()),
                     QPointF(width - 0.5, event->rect().bottom() + 1));
}
