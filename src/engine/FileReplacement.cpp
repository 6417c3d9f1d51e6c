#include "engine/FileReplacement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <set>
#include <vector>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#endif

namespace {

QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString native(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// What a write to `target` that the system refused with `error` says.
QString cannotWrite(const QString &target, int error) {
    return FileReplacement::tr("Cannot write %1: %2").arg(native(target), systemReason(error));
}

#ifdef Q_OS_UNIX
FileIdentity identityOf(const struct stat &status) {
    return {qint64(status.st_size),
            qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
            quint64(status.st_ino), quint64(status.st_dev)};
}

// Extended attributes (a desktop's tags, an SELinux label) travel with the file they describe.
// Ones this user may not set are skipped: they are the system's, not the user's work.
void copyExtendedAttributes(const QByteArray &from, int to) {
    const ssize_t length = ::listxattr(from.constData(), nullptr, 0);
    if (length <= 0)
        return;
    QByteArray names(length, '\0');
    const ssize_t got = ::listxattr(from.constData(), names.data(), size_t(names.size()));
    for (qsizetype start = 0; got > 0 && start < got;) {
        const char *name = names.constData() + start;
        start += qsizetype(std::strlen(name)) + 1;
        const ssize_t size = ::getxattr(from.constData(), name, nullptr, 0);
        if (size < 0)
            continue;
        QByteArray value(size, '\0');
        if (::getxattr(from.constData(), name, value.data(), size_t(value.size())) == size)
            (void)::fsetxattr(to, name, value.constData(), size_t(value.size()), 0);
    }
}
#endif

} // namespace

FileIdentity FileIdentity::of(const QString &path) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return {};
    return identityOf(status);
#else
    const QFileInfo info(path);
    if (!info.exists())
        return {};
    return {info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000, 0, 0};
#endif
}

FileIdentity FileIdentity::ofOpen(int descriptor) {
#ifdef Q_OS_UNIX
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return {};
    return identityOf(status);
#else
    Q_UNUSED(descriptor);
    return {};
#endif
}

QString FileReplacement::resolved(const QString &path) {
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString target = info.canonicalFilePath();
        // A dangling link gets its target created, as any program writing through it would.
        return target.isEmpty() ? info.symLinkTarget() : target;
    }
    return info.absoluteFilePath();
}

QString FileReplacement::changedMessage() {
    return tr("Changed during the run; left as it is.");
}

QString FileReplacement::write(const QString &target, const QByteArray &contents,
                               const Identity &expected,
                               const std::function<QString(const QString &)> &beforeReplacing) {
    const QString destination = resolved(target);
    // A short fixed name: the target's own may already use up the file system's name limit.
    QTemporaryFile file(QFileInfo(destination).absolutePath() +
                        QStringLiteral("/.mirandel-XXXXXX"));
    if (!file.open())
        return tr("Cannot write %1: %2").arg(native(target), file.errorString());
    if (file.write(contents) != contents.size() || !file.flush())
        return tr("Cannot write %1: %2").arg(native(target), file.errorString());
    file.close();
    if (beforeReplacing)
        if (const QString error = beforeReplacing(file.fileName()); !error.isEmpty())
            return error;
    const QString error = place(file.fileName(), destination, expected);
    if (error.isEmpty())
        file.setAutoRemove(false); // it is the target now
    return error;
}

QStringList FileReplacement::flush(const QStringList &temporaries, const QStringList &targets) {
    QStringList errors(temporaries.size());
#ifdef Q_OS_UNIX
    std::vector<int> descriptors(size_t(temporaries.size()), -1);
    std::map<dev_t, int> filesOn; // temporaries on each file system
    std::set<dev_t> synced;
    std::vector<dev_t> devices(descriptors.size());
    for (qsizetype index = 0; index < temporaries.size(); ++index) {
        const int descriptor =
            ::open(QFile::encodeName(temporaries.at(index)).constData(), O_RDONLY | O_CLOEXEC);
        struct stat status {};
        if (descriptor < 0 || ::fstat(descriptor, &status) != 0) {
            errors[index] = cannotWrite(targets.at(index), errno);
            if (descriptor >= 0)
                ::close(descriptor);
            continue;
        }
        descriptors[size_t(index)] = descriptor;
        devices[size_t(index)] = status.st_dev;
        ++filesOn[status.st_dev];
    }
    for (size_t index = 0; index < descriptors.size(); ++index) {
        const int descriptor = descriptors[index];
        if (descriptor < 0)
            continue;
        // One pass over the file system writes all their blocks together. Each file's own flush
        // then finds little left to do, and still reports its own error (a full disk), which a
        // file system's flush does not name and older kernels do not report at all. A single
        // file gets its own flush only, not one of everything else on the disk.
        if (filesOn[devices[index]] > 1 && synced.insert(devices[index]).second)
            (void)::syncfs(descriptor);
        if (::fsync(descriptor) != 0)
            errors[qsizetype(index)] = cannotWrite(targets.at(qsizetype(index)), errno);
        ::close(descriptor);
    }
#else
    Q_UNUSED(temporaries);
    Q_UNUSED(targets);
#endif
    return errors;
}

QString FileReplacement::place(const QString &temporary, const QString &target,
                               const Identity &expected, bool flushed) {
    const QString destination = resolved(target);
#ifdef Q_OS_UNIX
    const QByteArray from = QFile::encodeName(temporary);
    const QByteArray to = QFile::encodeName(destination);
    const int descriptor = ::open(from.constData(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        return cannotWrite(target, errno);
    // A full disk can show only here, when the written blocks are given their place.
    if (!flushed && ::fsync(descriptor) != 0) {
        const int error = errno;
        ::close(descriptor);
        return cannotWrite(target, error);
    }
    struct stat replaced {};
    const bool exists = ::stat(to.constData(), &replaced) == 0;
    if (exists) {
        // Only the superuser may give a file away; others keep the group where they may.
        if (replaced.st_uid != ::geteuid() || replaced.st_gid != ::getegid())
            (void)!::fchown(descriptor, ::geteuid() == 0 ? replaced.st_uid : uid_t(-1),
                            replaced.st_gid);
        // The mode bits as they are: QFile's permissions would add the bits the current user
        // has (all of them for the superuser).
        ::fchmod(descriptor, replaced.st_mode & 07777);
        copyExtendedAttributes(to, descriptor);
    }
    ::close(descriptor);
    if (expected.isValid() && (!exists || !(identityOf(replaced) == expected)))
        return exists ? changedMessage() : tr("The file no longer exists.");
    if (::rename(from.constData(), to.constData()) != 0)
        return tr("Cannot replace %1: %2").arg(native(target), systemReason(errno));
    return QString();
#else
    if (expected.isValid() && !(Identity::of(destination) == expected))
        return changedMessage();
    if (QFile::exists(destination))
        QFile::setPermissions(temporary, QFile::permissions(destination));
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(temporary.toStdWString()),
                            std::filesystem::path(destination.toStdWString()), error);
    if (error)
        return tr("Cannot replace %1: %2")
            .arg(native(target), QString::fromStdString(error.message()));
    return QString();
#endif
}

bool FileReplacement::holds(const QString &path, const QByteArray &bytes) {
    const QFileInfo info(path);
    if (!info.isFile() || info.isSymLink() || info.size() != bytes.size())
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}
