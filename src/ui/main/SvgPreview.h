#pragma once

#include <QImage>
#include <QWidget>

#include <algorithm>
#include <memory>

class QGridLayout;
class QLabel;
class QPushButton;
class QToolButton;
class SvgRenderer;
struct FileResult;

// One SVG drawn by librsvg to fit on a checkerboard, so transparent parts show as such; "No
// preview" when the file cannot be drawn.
class SvgPane : public QWidget {
    Q_OBJECT
public:
    explicit SvgPane(QWidget *parent = nullptr);
    ~SvgPane() override;

    void setFile(const QString &path);
    void setData(const QByteArray &svg);
    // A picture made elsewhere (the highlighted difference), scaled to fit without smoothing.
    void setImage(const QImage &image);
    QString file() const { return m_path; }
    // Panes side by side differ by a pixel when their row does not divide evenly; drawn no wider
    // than `width`, they show their files at one size. 0: the whole pane.
    void setDrawingWidth(int width);
    // The box the drawing is fitted into.
    QRect drawingArea() const;
    bool isRenderable() const;

    QSize sizeHint() const override { return {tallest, tallest}; }
    // Square while narrow, so three panes side by side take no more height than they use.
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override { return std::clamp(width, 80, tallest); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int tallest = 160;

    QString m_path;
    std::unique_ptr<SvgRenderer> m_renderer;
    QImage m_image; // setImage's picture, or the last rendering
    bool m_fixedImage = false;
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
