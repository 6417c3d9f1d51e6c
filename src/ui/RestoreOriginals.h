#pragma once

#include "engine/OriginalsBackup.h"

#include <QObject>
#include <QStringList>

#include <functional>

class QWidget;
class SVGFileList;

// Puts back the originals of files that runs overwrote: asks once for all of them, asks again
// for each file that was changed after its run, reports what could not be restored, and lets
// the rows drop results that no longer describe their files.
class RestoreOriginals : public QObject {
    Q_OBJECT
public:
    enum class Answer { Replace, Skip, Cancel };

    RestoreOriginals(QWidget *window, SVGFileList *files);

    // Whether any of `ids` has a kept original (for offering the command at all).
    static bool hasOriginals(const QStringList &ids);

    // Runs the whole flow for the files with `ids`; returns the ids that were restored.
    QStringList run(const QStringList &ids);

    // The questions, replaceable so that the flow can be driven without dialogs.
    std::function<bool(const QList<OriginalsBackup::Original> &)> confirm;
    std::function<Answer(const OriginalsBackup::Original &)> askChanged;
    std::function<void(const QStringList &errors)> reportErrors;
    std::function<void()> reportNothingKept;

private:
    QWidget *m_window;
    SVGFileList *m_files;
};
