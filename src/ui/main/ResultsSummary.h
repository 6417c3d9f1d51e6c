#pragma once

#include <QLabel>

class SVGFileList;

// One line under the table. Before a run it counts the listed files; after one it sums the run
// up: "N files optimized, M failed · X → Y (saved Z %) · 12.5 s" (with "· G % gzip · B % brotli"
// after the saving where the run measured compressed sizes), and after a run that overwrote
// files, where their originals are kept and for how long. A line too long for the bar ends in an
// ellipsis; the tooltip has all of it. While some listed files failed, a click on it selects
// them.
class ResultsSummary : public QLabel {
    Q_OBJECT
public:
    explicit ResultsSummary(SVGFileList *files, QWidget *parent = nullptr);

    bool selectsFailedFiles() const { return m_hasFailures; }
    // The whole line, before eliding.
    QString fullText() const { return m_fullText; }

    // What the run that produced the current results took, and whether it kept originals.
    void setLastRun(qint64 milliseconds, bool keptOriginals);
    // "12.5 s", "3 min 4 s".
    static QString durationText(qint64 milliseconds);

    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }

public slots:
    void refresh();
    // Selects the rows whose files failed in the last run.
    void selectFailedFiles();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void showElided();

    SVGFileList *m_files;
    QString m_fullText;
    qint64 m_lastRunMs = -1;
    bool m_keptOriginals = false;
    bool m_hasFailures = false;
};
