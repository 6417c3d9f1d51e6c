#pragma once

#include "engine/OriginalsBackup.h"

#include <QFuture>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QAbstractButton;

class QWidget;
class RunProgress;
class SVGFileList;

// Puts back the originals of files that runs overwrote. The originals are looked up and put back
// on a worker thread, followed by the window's progress bar with its "Cancel"; the window stays
// usable meanwhile. The user is asked once for all files (naming them), and again for each file
// that was changed after its run, in the list's order; at the end a message says what was put
// back and what could not be; the rows drop the results that no longer describe their files.
// The flow deletes itself when it is over.
class RestoreOriginals : public QObject {
    Q_OBJECT
public:
    // Starts the flow for the files with `ids`; `progress` shows the lookup and the restoring.
    static RestoreOriginals *start(QWidget *window, SVGFileList *files, RunProgress *progress,
                                   const QStringList &ids);

    // Whether any of `ids` has a kept original (for offering the command at all); from memory,
    // so asking at every right-click reads no file.
    static bool hasOriginals(const QStringList &ids);

    // "a.svg, b.svg, c.svg and 4 more": the first few names of `paths`.
    static QString namesText(const QStringList &paths, int shown = 5);

    // The question or report on screen, if any (for reaching it from the keyboard, and tests).
    QMessageBox *messageBox() const { return m_box; }

signals:
    // The flow is over; `restored` holds the paths put back (empty when nothing was).
    void finished(const QStringList &restored);

private:
    RestoreOriginals(QWidget *window, SVGFileList *files, RunProgress *progress,
                     const QStringList &ids);
    void lookUp();
    void confirm();
    void askNextChanged();
    void restore();
    void finish(const QStringList &restored, const QStringList &errors);
    // Shows `box` window-modal; `answered` gets the button that was pressed.
    void ask(QMessageBox *box, const std::function<void(QAbstractButton *)> &answered);

    QWidget *m_window;
    QPointer<SVGFileList> m_files;
    QPointer<RunProgress> m_progress;
    QStringList m_ids;
    QList<OriginalsBackup::Original> m_originals;
    QList<OriginalsBackup::Original> m_chosen; // confirmed, in list order
    qsizetype m_nextChanged = 0;
    QPointer<QMessageBox> m_box;
};
