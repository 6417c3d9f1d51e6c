#include "engine/StaleRunFolders.h"

#include "model/Diagnostics.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace StaleRunFolders {

#ifdef Q_OS_UNIX
namespace {

const QString prefix = QStringLiteral(".mirandel-");

// A folder made this moment may not be locked yet by the run that made it.
constexpr qint64 youngSeconds = 10;

QMutex s_mutex;
QHash<QString, int> s_locks; // private folders of this process's runs, with their locked handle

int openFolder(const QString &folder) {
    return ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Closes the handles of folders their runs have removed.
void forgetEndedRuns() {
    for (auto lock = s_locks.begin(); lock != s_locks.end();) {
        if (QFileInfo::exists(lock.key())) {
            ++lock;
            continue;
        }
        ::close(lock.value());
        lock = s_locks.erase(lock);
    }
}

void removeLeftoversBeside(const QString &own) {
    const QDir parent = QFileInfo(own).dir();
    const QDateTime young = QDateTime::currentDateTime().addSecs(-youngSeconds);
    const QFileInfoList entries = parent.entryInfoList(
        {prefix + QLatin1Char('*')}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        const QString path = entry.absoluteFilePath();
        if (entry.isSymLink() || s_locks.contains(path) || entry.lastModified() > young)
            continue;
        const int handle = openFolder(path);
        if (handle < 0)
            continue;
        // Another run holds its shared lock as long as it uses the folder.
        if (::flock(handle, LOCK_EX | LOCK_NB) == 0) {
            if (!QDir(path).removeRecursively())
                qCWarning(lcMirandel).noquote() << "Cannot remove the leftover folder" << path;
        }
        ::close(handle);
    }
}

} // namespace

void claim(const QString &pathInRunFolder) {
    if (pathInRunFolder.isEmpty())
        return;
    const QString folder = QFileInfo(pathInRunFolder).absolutePath();
    if (!QFileInfo(folder).fileName().startsWith(prefix))
        return;
    QMutexLocker locker(&s_mutex);
    if (s_locks.contains(folder))
        return;
    forgetEndedRuns();
    const int handle = openFolder(folder);
    if (handle < 0)
        return;
    ::flock(handle, LOCK_SH);
    s_locks.insert(folder, handle);
    removeLeftoversBeside(folder);
}
#else
void claim(const QString &) {}
#endif

} // namespace StaleRunFolders
