#pragma once

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <memory>

class QGridLayout;
class QLabel;
class QPushButton;
class QToolButton;
class SvgRenderer;
struct FileResult;

// One SVG drawn by librsvg to fit on a checkerboard, so transparent parts show as such; "No
// preview" when the file cannot be drawn.
//
// A large drawing takes librsvg seconds, so reading, parsing and drawing happen on the render
// pool and the window never waits for them. Until a drawing arrives the pane shows the previous
// one of the same document, scaled, or "Drawing…". Each new document starts a new generation;
// answers for an older one are dropped. Only one drawing per document is on its way at a time:
// a resize meanwhile is remembered and drawn at its latest size when the running one ends. A file
// shown again unchanged (same size and modification time) is not read or drawn again.
class SvgPane : public QWidget {
    Q_OBJECT
public:
    explicit SvgPane(QWidget *parent = nullptr);
    ~SvgPane() override;

    void setFile(const QString &path);
    void setData(const QByteArray &svg);
    // A picture made elsewhere (the highlighted difference), scaled to fit without smoothing.
    void setImage(const QImage &image);
    // "Drawing…" until setImage() brings the picture being made elsewhere.
    void setWaiting();
    QString file() const { return m_path; }
    // Panes side by side differ by a pixel when their row does not divide evenly; drawn no wider
    // than `width`, they show their files at one size. 0: the whole pane.
    void setDrawingWidth(int width);
    // The box the drawing is fitted into.
    QRect drawingArea() const;
    // Whether a drawing is shown. While the first drawing of a document is on its way this is
    // false; drawn() tells when it has been decided.
    bool isRenderable() const { return !m_image.isNull(); }
    // Whether the pane still waits for a drawing of what it shows (at its current size).
    bool isDrawing() const { return m_state == State::Drawing || m_running; }
    // What is shown: the last drawing or setImage's picture; null when none.
    QImage drawing() const { return m_image; }

    QSize sizeHint() const override { return {tallest, tallest}; }
    // Square while narrow, so three panes side by side take no more height than they use.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return std::clamp(width, 80, tallest); }

signals:
    // A drawing arrived, or the pane decided there is none to show.
    void drawn();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int tallest = 160;
    enum class State { Empty, Drawing, Drawn, Fixed };

    // Forgets the document shown; `keepImage` leaves its drawing up until the next one arrives.
    void begin(bool keepImage);
    void showNone();
    // Asks the render pool for the document at `box` device pixels, unless that is on its way.
    void requestDrawing(QSize box);

    State m_state = State::Empty;
    QString m_path;
    QByteArray m_svg; // setData's document; empty when it comes from m_path
    QString m_stamp;  // m_path's size and modification time when it was asked for
    quint64 m_generation = 0;
    // The generation wanted now, shared with the jobs so stale ones stop before their next step.
    std::shared_ptr<std::atomic<quint64>> m_latest;
    // The document parsed by the last job, handed to the next one; only one job holds it at a time.
    std::shared_ptr<SvgRenderer> m_renderer;
    bool m_running = false;
    QSize m_drawnBox; // the box m_image was drawn for
    QSizeF m_natural{1, 1};
    QImage m_image;
    int m_drawingWidth = 0;
};

// A collapsible area showing the selected file: the original and, after a run that wrote it,
// the optimized file beside it, with the sizes under each; for a file that failed, svgo's
// message. For output that looks different, the two drawings and their difference side by side
// at one size, below them what changed, what became of the file and a button that uses the
// output all the same.
class SvgPreview : public QWidget {
    Q_OBJECT
public:
    explicit SvgPreview(QWidget *parent = nullptr);

    // `optimized` and `message` may be empty. Shows the area.
    void showFiles(const QString &original, const QString &optimized, const QString &message);
    // A file whose output looks different (`result` holds it): the original, the output and
    // their difference with the changed pixels marked.
    void showLooksDifferent(const QString &original, const FileResult &result);
    // Hides the area (no single file is selected).
    void clear();

    bool isExpanded() const;
    void setExpanded(bool expanded);
    // Whether "Use Optimized Anyway" may be pressed: not while the window is busy with its files.
    void setActionsAllowed(bool allowed);

    SvgPane *originalPane() const { return m_original; }
    SvgPane *optimizedPane() const { return m_optimized; }
    SvgPane *differencePane() const { return m_difference; }
    QLabel *reviewLabel() const { return m_review; }
    QPushButton *useOptimizedButton() const { return m_useOptimized; }
    QString message() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    // "Use Optimized Anyway" was pressed for the file shown.
    void useOptimizedAnywayRequested();

private:
    void setColumnsShown(int count);
    void equalizePanes();
    void showOriginal(const QString &original);
    void forgetReview();
    void showDifference();

    // The held-back review's difference: computed on the render pool for this original and
    // output; answers for another one are dropped.
    quint64 m_reviewGeneration = 0;
    QString m_reviewOriginal;
    QByteArray m_reviewOutput;

    QToolButton *m_header;
    QWidget *m_body;
    QGridLayout *m_grid;
    SvgPane *m_original;
    SvgPane *m_optimized;
    SvgPane *m_difference;
    QLabel *m_originalCaption;
    QLabel *m_optimizedCaption;
    QLabel *m_differenceCaption;
    QLabel *m_review;
    QPushButton *m_useOptimized;
    QLabel *m_message;
};
