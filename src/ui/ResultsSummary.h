#pragma once

#include <QLabel>

class SVGFileList;

// One line under the table about the last run: "N files optimized, M failed · X → Y (saved
// Z %)". While some listed files failed, a click on it selects them.
class ResultsSummary : public QLabel {
    Q_OBJECT
public:
    explicit ResultsSummary(SVGFileList *files, QWidget *parent = nullptr);

    bool selectsFailedFiles() const { return m_hasFailures; }

public slots:
    void refresh();
    // Selects the rows whose files failed in the last run.
    void selectFailedFiles();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    SVGFileList *m_files;
    bool m_hasFailures = false;
};
