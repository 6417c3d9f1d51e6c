#include "engine/SvgoOutputs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// The deepest folder that holds every path.
QString commonFolder(const QStringList &paths) {
    if (paths.isEmpty())
        return {};
    QStringList common = QFileInfo(paths.first()).absolutePath().split(QLatin1Char('/'));
    for (const QString &path : paths) {
        const QStringList parts = QFileInfo(path).absolutePath().split(QLatin1Char('/'));
        qsizetype shared = 0;
        while (shared < common.size() && shared < parts.size() &&
               common.at(shared) == parts.at(shared))
            ++shared;
        common.resize(shared);
    }
    return common.join(QLatin1Char('/'));
}

// Where an input lands in the output folder: at its path below the inputs' common folder.
QString destinationIn(const QString &outputFolder, const QString &common, const QString &input) {
    return QDir::cleanPath(QDir(outputFolder).filePath(QDir(common).relativeFilePath(input)));
}

// Names that the destination's file system takes for the same file.
QString nameKey(const QString &path) {
#if defined(Q_OS_MACOS) || defined(Q_OS_WIN)
    return path.toCaseFolded();
#else
    return path;
#endif
}

} // namespace

SvgoOutputs::SvgoOutputs(bool textMode, std::optional<QString> outputFolder,
                         const QStringList &inputs)
    : m_textMode(textMode), m_outputFolder(std::move(outputFolder)) {
    if (!m_textMode && m_outputFolder)
        m_commonFolder = commonFolder(inputs);
}

SvgoOutputs::~SvgoOutputs() = default;

QStringList SvgoOutputs::takenInFolder(const QString &outputFolder, const QStringList &inputs) {
    const QString common = commonFolder(inputs);
    QStringList taken;
    for (const QString &input : inputs) {
        const QString destination = destinationIn(outputFolder, common, input);
        const QFileInfo info(destination);
        if (info.exists() && info.canonicalFilePath() != QFileInfo(input).canonicalFilePath())
            taken.append(destination);
    }
    return taken;
}

QTemporaryDir *SvgoOutputs::privateFolderIn(const QString &folder, QString *error) {
    auto found = m_privateFolders.constFind(folder);
    if (found != m_privateFolders.constEnd())
        return found->get();
    std::shared_ptr<QTemporaryDir> created;
    if (folder.isEmpty()) {
        created = std::make_shared<QTemporaryDir>();
    } else {
        QDir().mkpath(folder);
        created = std::make_shared<QTemporaryDir>(folder + QStringLiteral("/.mirandel-XXXXXX"));
    }
    if (!created->isValid()) {
        *error = QCoreApplication::translate("Optimizer", "Cannot write into the folder %1: %2")
                     .arg(QDir::toNativeSeparators(folder.isEmpty() ? QDir::tempPath() : folder),
                          created->errorString());
        return nullptr;
    }
    m_privateFolders.insert(folder, created);
    return created.get();
}

QString SvgoOutputs::canonicalPath(const QString &path) {
    // Resolving every folder of every path again costs a system call per folder and file; the
    // folders of a run are few.
    const QFileInfo info(path);
    if (info.isSymLink() || !info.exists())
        return info.canonicalFilePath();
    const QString parent = info.absolutePath();
    auto folder = m_canonicalFolders.constFind(parent);
    if (folder == m_canonicalFolders.constEnd())
        folder = m_canonicalFolders.insert(parent, QFileInfo(parent).canonicalFilePath());
    return folder->isEmpty() ? QString() : *folder + QLatin1Char('/') + info.fileName();
}

SvgoOutputs::Slot SvgoOutputs::slotFor(int index, const QString &inputPath) {
    Slot slot;
    QString folder;
    if (!m_textMode) {
        const QString input = canonicalPath(inputPath);
        if (m_outputFolder) {
            slot.destination = destinationIn(*m_outputFolder, m_commonFolder, inputPath);
            slot.replacesInput = !input.isEmpty() && QFileInfo::exists(slot.destination) &&
                                 canonicalPath(slot.destination) == input;
        } else {
            // Replacing a symlink would cut the link; the file it points to takes the output.
            slot.destination = input.isEmpty() ? inputPath : input;
            slot.replacesInput = !input.isEmpty();
        }
        const QString key = nameKey(slot.destination);
        if (const auto taken = m_takenBy.constFind(key); taken != m_takenBy.constEnd()) {
            // Two entries for one file (a link and its target, say): optimized once, not twice.
            slot.error =
                m_outputFolder || QFileInfo(*taken).canonicalFilePath() != input
                    ? QCoreApplication::translate("Optimizer",
                                                  "%1 is written by %2 of this run already.")
                          .arg(QDir::toNativeSeparators(slot.destination),
                               QDir::toNativeSeparators(*taken))
                    : QCoreApplication::translate(
                          "Optimizer", "The same file as %1, which this run optimizes already.")
                          .arg(QDir::toNativeSeparators(*taken));
            return slot;
        }
        m_takenBy.insert(key, inputPath);
        folder = QFileInfo(slot.destination).absolutePath();
    }
    QTemporaryDir *privateFolder = privateFolderIn(folder, &slot.error);
    if (!privateFolder)
        return slot;
    slot.temporary = privateFolder->filePath(QString::number(index) + QStringLiteral(".svg"));
    return slot;
}
