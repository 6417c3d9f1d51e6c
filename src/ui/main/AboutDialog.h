#pragma once

#include <QDialog>

class QLabel;

// Help ▸ About Mirandel: the program's version, the svgo it optimizes with and that svgo's
// version, and the licence. The svgo version is asked for in the background (by the same check
// the settings use), so the dialog
// opens at once and fills the line in when the answer comes.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    QString svgoText() const;

signals:
    // The svgo line has its final text.
    void svgoLookedUp();

private:
    QLabel *m_svgo;
};
