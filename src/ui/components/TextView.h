#pragma once

#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTimer>
#include <optional>

class LineNumberGutter;

// The code view the output window shows its text in: monospaced, 4 points between lines, line
// numbers in a gutter, the line holding the cursor highlighted, wrapped at the view's width,
// editable and selectable.
//
// Outputs of many megabytes are normal here (a whole icon set as one text). Filling a text
// document costs about a microsecond per line, so a large text is put in the view in slices: the
// first screen at once, the rest while the event loop idles. `text()` always answers with the
// whole text, loaded or not.
class TextView : public QPlainTextEdit {
    Q_OBJECT
public:
    enum Option {
        WrapLines = 1,             // wrap at the view's width instead of scrolling sideways
        HighlightSelectedLine = 2, // highlight the line holding the cursor (creation only)
        ShowLineNumbers = 4,       // line-number gutter (creation only)
    };
    Q_DECLARE_FLAGS(Options, Option)

    // A selection in the view's characters; every line break counts as one character.
    struct Selection {
        int location = 0;
        int length = 0;
        friend bool operator==(const Selection &, const Selection &) = default;
    };

    explicit TextView(Options options = {WrapLines, HighlightSelectedLine, ShowLineNumbers},
                      QWidget *parent = nullptr);
    ~TextView() override;

    Options options() const { return m_options; }
    // Only WrapLines can change after creation; the other two keep their creation value.
    void setOptions(Options options);

    qreal lineSpacing() const { return m_lineSpacing; }

    // The whole text. Until the user edits it, this is exactly the text last set; after an edit
    // every line break is written the way the set text wrote its first one (CR LF or LF).
    QString text() const;
    // Replaces the content and gives all of it the view's font and line spacing. The cursor goes
    // to the start. Typing in the view never calls this, so the cursor and scroll stay put.
    void setText(const QString &text);
    bool isEdited() const { return m_edited; }

    // True while the tail of a large text is still being put into the view.
    bool isLoading() const { return m_loaded < m_text.size(); }
    void finishLoading();

    Selection selection() const;
    // No selection leaves the view's own selection alone; one equal to the current selection does
    // not select again (which would scroll the cursor into view).
    void setSelection(const std::optional<Selection> &selection);

    bool hasLineNumbers() const { return m_gutter != nullptr; }
    int gutterWidth() const;

signals:
    // The user changed the text (not emitted by setText).
    void textEdited();
    void loadingFinished();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void paintGutter(QPaintEvent *event);
    void updateGutterGeometry();
    void onUpdateRequest(const QRect &rect, int dy);
    void onContentsChange(int position, int removed, int added);
    void loadSlice();
    void appendUpTo(qsizetype end);
    qsizetype sliceEnd(qsizetype from, qsizetype maxLength) const;
    void applyWrapMode();

    Options m_options;
    qreal m_lineSpacing = 4;
    QString m_text;         // the text last set from outside
    qsizetype m_loaded = 0; // how much of m_text is in the document
    bool m_crlf = false;
    bool m_edited = false;
    bool m_updating = false;
    QTimer m_loadTimer;
    LineNumberGutter *m_gutter = nullptr;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TextView::Options)
