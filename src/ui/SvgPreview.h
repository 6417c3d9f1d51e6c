#pragma once

#include <QWidget>

class QLabel;
class QSvgRenderer;
class QToolButton;

// One SVG drawn to fit on a checkerboard, so transparent parts show as such; "No preview" when
// the file cannot be drawn.
class SvgPane : public QWidget {
    Q_OBJECT
public:
    explicit SvgPane(QWidget *parent = nullptr);

    void setFile(const QString &path);
    QString file() const { return m_path; }
    bool isRenderable() const;

    QSize sizeHint() const override { return {160, 160}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_path;
    QSvgRenderer *m_renderer;
};

// A collapsible area showing the selected file: the original and, after a run that wrote it,
// the optimized file beside it, with the sizes under each; for a file that failed, svgo's
// message.
class SvgPreview : public QWidget {
    Q_OBJECT
public:
    explicit SvgPreview(QWidget *parent = nullptr);

    // `optimized` and `message` may be empty. Shows the area.
    void showFiles(const QString &original, const QString &optimized, const QString &message);
    // Hides the area (no single file is selected).
    void clear();

    bool isExpanded() const;
    void setExpanded(bool expanded);

    SvgPane *originalPane() const { return m_original; }
    SvgPane *optimizedPane() const { return m_optimized; }
    QString message() const;

private:
    QToolButton *m_header;
    QWidget *m_body;
    SvgPane *m_original;
    SvgPane *m_optimized;
    QLabel *m_originalCaption;
    QLabel *m_optimizedCaption;
    QLabel *m_message;
};
