#pragma once

#include <QMainWindow>
#include <optional>

class OverlayNotification;
class QAction;
class QLabel;
class TextView;

// The window a text-mode run ends in: the optimized markup in an editable code view, a toolbar
// button to copy it, and a short notice whenever it was copied. With the "copy automatically"
// setting on, it copies the text by itself when it first comes on screen. Its status bar gives
// the text's size, and what gzip and brotli make of it (measured on a worker thread).
class TextOutputWindow : public QMainWindow {
    Q_OBJECT
public:
    // `textOutput` is the value the window presents; without one it shows an empty text.
    explicit TextOutputWindow(std::optional<QString> textOutput = std::nullopt,
                              QWidget *parent = nullptr);
    ~TextOutputWindow() override;

    // Shows an output window for `text`: the one already open with the same text is brought
    // forward (and copies nothing again), otherwise a new window opens and is deleted on close.
    static TextOutputWindow *open(const QString &text);
    static QList<TextOutputWindow *> openWindows();

    const std::optional<QString> &textOutput() const { return m_textOutput; }
    // The text as shown now, the user's edits included.
    QString text() const;

    TextView *textView() const { return m_view; }
    OverlayNotification *notification() const { return m_notification; }
    QAction *copyAction() const { return m_copyAction; }
    // "12.3 KB · 3.4 KB gzip · 2.9 KB brotli"; the raw size alone until the others are measured.
    QLabel *sizesLabel() const { return m_sizes; }

public slots:
    // Copies the current text and shows the notice.
    void copyOutput();

protected:
    void showEvent(QShowEvent *event) override;

private:
    std::optional<QString> m_textOutput;
    TextView *m_view;
    OverlayNotification *m_notification;
    QAction *m_copyAction;
    QLabel *m_sizes;
    bool m_hasAppeared = false;
    int m_number = 0; // among the output windows open when it opened
};
