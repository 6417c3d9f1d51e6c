#include "FileManager.h"

#include "model/Diagnostics.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTextStream>
#include <QUrl>

#if !defined(Q_OS_MACOS) && !defined(Q_OS_WIN)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#endif

namespace {

#if !defined(Q_OS_MACOS) && !defined(Q_OS_WIN)
// Without a file manager that can select an item we still get the user close to the file.
void openContainingFolder(const QString &path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Could not open the folder %1").arg(folder);
}
#endif

} // namespace

void revealInFileManager(const QString &path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
#if defined(Q_OS_MACOS)
    if (!QProcess::startDetached(QStringLiteral("/usr/bin/open"), {QStringLiteral("-R"), absolute}))
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Could not reveal %1 in Finder").arg(absolute);
#elif defined(Q_OS_WIN)
    // explorer parses its own command line; the comma form only works when passed verbatim.
    QProcess process;
    process.setProgram(QStringLiteral("explorer.exe"));
    process.setNativeArguments(
        QStringLiteral("/select,\"%1\"").arg(QDir::toNativeSeparators(absolute)));
    if (!process.startDetached())
        qCWarning(lcMirandel).noquote()
            << QStringLiteral("Could not reveal %1 in Explorer").arg(absolute);
#else
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        openContainingFolder(absolute);
        return;
    }
    QDBusMessage message = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.FileManager1"),
        QStringLiteral("/org/freedesktop/FileManager1"),
        QStringLiteral("org.freedesktop.FileManager1"), QStringLiteral("ShowItems"));
    message << QStringList{QUrl::fromLocalFile(absolute).toString()} << QString();
    // Activating the file manager can take seconds; the window must stay responsive meanwhile.
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(message));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [absolute](QDBusPendingCallWatcher *call) {
                         if (call->isError())
                             openContainingFolder(absolute);
                         call->deleteLater();
                     });
#endif
}

QString revealActionLabel() {
#if defined(Q_OS_MACOS)
    return QCoreApplication::translate("FileManager", "Show in Finder");
#elif defined(Q_OS_WIN)
    return QCoreApplication::translate("FileManager", "Show in Explorer");
#else
    return QCoreApplication::translate("FileManager", "Show in File Manager");
#endif
}
