#pragma once

#include <QHash>
#include <QString>

#include <memory>
#include <optional>

class QTemporaryDir;

// Private places where svgo writes, and the step that makes an output visible.
//
// svgo writes its outputs in place and dies at once on a file it cannot parse, so a write can be
// cut short. It therefore never writes to a destination itself: it writes to a private folder,
// and only a complete output is moved over its destination in one rename. For that rename to be
// atomic the private folder sits in the destination's own folder (a hidden one, removed at the
// end).
class SvgoOutputs {
public:
    struct Slot {
        QString temporary;   // the path svgo is told to write to
        QString destination; // file mode: the file that receives the output; empty in text mode
        QString error;       // why no private place could be made; the file cannot be run then
    };

    // Text mode: outputs go to one temporary folder and are only read back.
    // File mode: into `outputFolder` under the input's file name, or over the input when absent.
    SvgoOutputs(bool textMode, std::optional<QString> outputFolder);
    ~SvgoOutputs();
    SvgoOutputs(const SvgoOutputs &) = delete;
    SvgoOutputs &operator=(const SvgoOutputs &) = delete;

    // The slot of the index-th file of the run. A symlinked input keeps its link: the file it
    // points to is the destination.
    Slot slotFor(int index, const QString &inputPath);

    // Moves a complete output over its destination, giving it the permissions of the file it
    // replaces. Returns an error text, empty on success.
    static QString place(const Slot &slot);

private:
    QTemporaryDir *privateFolderIn(const QString &folder, QString *error);

    bool m_textMode;
    std::optional<QString> m_outputFolder;
    QHash<QString, std::shared_ptr<QTemporaryDir>> m_privateFolders;
};
