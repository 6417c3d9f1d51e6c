#include "engine/SvgoOutputs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <filesystem>
#include <system_error>

namespace {

std::filesystem::path nativePath(const QString &path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

SvgoOutputs::SvgoOutputs(bool textMode, std::optional<QString> outputFolder)
    : m_textMode(textMode), m_outputFolder(std::move(outputFolder)) {}

SvgoOutputs::~SvgoOutputs() = default;

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

SvgoOutputs::Slot SvgoOutputs::slotFor(int index, const QString &inputPath) {
    Slot slot;
    QString folder;
    if (!m_textMode) {
        if (m_outputFolder) {
            slot.destination = QDir(*m_outputFolder).filePath(QFileInfo(inputPath).fileName());
        } else {
            // Replacing a symlink would cut the link; the file it points to takes the output.
            const QString target = QFileInfo(inputPath).canonicalFilePath();
            slot.destination = target.isEmpty() ? inputPath : target;
        }
        folder = QFileInfo(slot.destination).absolutePath();
    }
    QTemporaryDir *privateFolder = privateFolderIn(folder, &slot.error);
    if (!privateFolder)
        return slot;
    slot.temporary = privateFolder->filePath(QString::number(index) + QStringLiteral(".svg"));
    return slot;
}

QString SvgoOutputs::place(const Slot &slot) {
    QFile replaced(slot.destination);
    if (replaced.exists())
        QFile::setPermissions(slot.temporary, replaced.permissions());
    std::error_code error;
    std::filesystem::rename(nativePath(slot.temporary), nativePath(slot.destination), error);
    if (error) {
        return QCoreApplication::translate("Optimizer", "Cannot replace %1: %2")
            .arg(QDir::toNativeSeparators(slot.destination),
                 QString::fromStdString(error.message()));
    }
    return QString();
}
