#pragma once

#include <QDialog>

#include <functional>

class QLabel;

// Help ▸ About Mirandel: the program's version, the svgo it optimizes with and that svgo's
// version, and the licence. The svgo version is asked for in the background, so the dialog
// opens at once and fills the line in when the answer comes.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget *parent = nullptr);

    QString svgoText() const;

    // Finds the svgo in use and its version without blocking; `done` gets the program's path
    // (empty when there is none) and its version (empty when it did not say). The one place
    // that knows how to ask.
    static void
    lookUpSvgo(QObject *context,
               const std::function<void(const QString &path, const QString &version)> &done);

signals:
    // The svgo line has its final text.
    void svgoLookedUp();

private:
    QLabel *m_svgo;
};
