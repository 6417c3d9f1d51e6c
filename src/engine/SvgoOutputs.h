#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QTemporaryDir;

// Private places where svgo writes, and the step that makes an output visible.
//
// svgo is never let write to a destination itself: it writes to a private folder, and only a
// complete output is moved over its destination in one rename. For that rename to be atomic the
// private folder sits in the destination's own folder (a hidden one, removed at the end).
class SvgoOutputs {
public:
    struct Slot {
        QString temporary;   // the path svgo is told to write to
        QString destination; // file mode: the file that receives the output; empty in text mode
        bool replacesInput = false; // the destination is the input file itself
        QString error;              // why the file cannot be run
    };

    // Text mode: outputs go to one temporary folder and are only read back.
    // File mode: into `outputFolder`, each input at its path below the deepest folder that holds
    // all `inputs` (files of one folder land flat), or over the input when there is no folder.
    SvgoOutputs(bool textMode, std::optional<QString> outputFolder, const QStringList &inputs);
    ~SvgoOutputs();
    SvgoOutputs(const SvgoOutputs &) = delete;
    SvgoOutputs &operator=(const SvgoOutputs &) = delete;

    // The slot of the index-th file of the run. A symlinked input keeps its link: the file it
    // points to is the destination. A destination taken by an earlier file of the run is refused.
    Slot slotFor(int index, const QString &inputPath);

    // The files already in `outputFolder` that a run over `inputs` would replace, in list
    // order; an input that is its own destination is not among them. Creates nothing.
    static QStringList takenInFolder(const QString &outputFolder, const QStringList &inputs);

private:
    QTemporaryDir *privateFolderIn(const QString &folder, QString *error);
    QString canonicalPath(const QString &path);

    bool m_textMode;
    std::optional<QString> m_outputFolder;
    QString m_commonFolder; // of all inputs, when writing into an output folder
    QHash<QString, std::shared_ptr<QTemporaryDir>> m_privateFolders;
    QHash<QString, QString> m_takenBy; // destination -> the input that writes it
    QHash<QString, QString> m_canonicalFolders;
};
