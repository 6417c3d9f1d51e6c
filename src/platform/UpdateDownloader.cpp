#include "platform/UpdateDownloader.h"

#include "model/Diagnostics.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QNetworkAccessManager>
#include <QNetworkReply>

#include <memory>

namespace {

const QString partialSuffix = QStringLiteral(".download");

// A name in `directory` that no file has yet, keeping the whole suffix (".tar.gz") at the end.
QString unusedPath(const QString &directory, const QString &fileName) {
    const QDir dir(directory);
    if (!QFileInfo::exists(dir.filePath(fileName)))
        return dir.filePath(fileName);
    QString suffix = QMimeDatabase().suffixForFileName(fileName);
    if (suffix.isEmpty())
        suffix = QFileInfo(fileName).suffix();
    const QString base = suffix.isEmpty() ? fileName : fileName.chopped(suffix.size() + 1);
    const QString dot = suffix.isEmpty() ? QString() : QStringLiteral(".");
    for (int n = 2;; ++n) {
        QString candidate =
            dir.filePath(QStringLiteral("%1-%2%3%4").arg(base).arg(n).arg(dot, suffix));
        if (!QFileInfo::exists(candidate))
            return candidate;
    }
}

} // namespace

UpdateDownloader::UpdateDownloader(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent), m_network(network) {}

UpdateDownloader::~UpdateDownloader() {
    if (m_reply) {
        m_reply->disconnect(this);
        m_reply->abort();
    }
    if (m_file) {
        m_file->remove();
        delete m_file;
    }
}

void UpdateDownloader::download(const AppcastItem &item, const QString &directory,
                                std::chrono::milliseconds stallTimeout) {
    if (m_reply) // the same release is already on its way
        return;
    if (!item.enclosureUrl.isValid() || item.enclosureUrl.isEmpty())
        return fail(tr("The update feed names no file to download."));
    QDir().mkpath(directory);
    QString fileName = QFileInfo(item.enclosureUrl.path()).fileName();
    if (fileName.isEmpty()) {
        const QString name = QCoreApplication::applicationName();
        fileName = QStringLiteral("%1-%2").arg(name.isEmpty() ? QStringLiteral("Mirandel") : name,
                                               item.displayVersion());
    }
    // A finished earlier download of this release needs no second one.
    const QString plainTarget = QDir(directory).filePath(fileName);
    const QFileInfo earlier(plainTarget);
    if (earlier.exists() && item.enclosureLength > 0 && earlier.size() == item.enclosureLength) {
        emit finished(item, plainTarget);
        return;
    }
    auto file = std::make_unique<QFile>(unusedPath(directory, fileName) + partialSuffix);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
        return fail(tr("The download could not be saved as %1.")
                        .arg(file->fileName().chopped(partialSuffix.size())),
                    file->errorString());
    m_file = file.release();
    QNetworkRequest request(item.enclosureUrl);
    request.setTransferTimeout(int(stallTimeout.count()));
    QNetworkReply *reply = m_network->get(request);
    m_reply = reply;
    connect(reply, &QNetworkReply::readyRead, this, [this, reply] {
        if (m_file)
            m_file->write(reply->readAll());
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, item] { finish(reply, item); });
}

void UpdateDownloader::finish(QNetworkReply *reply, const AppcastItem &item) {
    reply->deleteLater();
    m_reply = nullptr;
    std::unique_ptr<QFile> file(std::exchange(m_file, nullptr));
    file->write(reply->readAll());
    file->close();
    const QString target = file->fileName().chopped(partialSuffix.size());
    QString error;
    const QString writeError =
        file->error() != QFileDevice::NoError ? file->errorString() : QString();
    if (reply->error() != QNetworkReply::NoError)
        error = tr("The update could not be downloaded: %1").arg(reply->errorString());
    else if (!writeError.isEmpty())
        error = tr("The download could not be saved as %1.").arg(target);
    else if (item.enclosureLength > 0 && file->size() != item.enclosureLength)
        error = tr("The download ended before the whole file arrived.");
    else if (QFileInfo::exists(target) || !file->rename(target))
        error = tr("The download could not be saved as %1.").arg(target);
    if (!error.isEmpty()) {
        file->remove();
        return fail(error, writeError);
    }
    emit finished(item, target);
}

void UpdateDownloader::fail(const QString &error, const QString &detail) {
    QString line = QStringLiteral("Update download failed: ") + error;
    if (!detail.isEmpty())
        line += QStringLiteral(" (%1)").arg(detail);
    qCWarning(lcMirandel).noquote() << line;
    emit failed(error);
}
