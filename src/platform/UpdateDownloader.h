#pragma once

#include "platform/Appcast.h"

#include <QObject>
#include <QPointer>

#include <chrono>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;

// Saves one release's file into a folder. The bytes go to "<name>.download" first and take the
// real name only once the whole file is in, so a transfer that breaks off leaves nothing behind
// that looks like a finished download. A name already taken by another file gets a number.
class UpdateDownloader : public QObject {
    Q_OBJECT

public:
    UpdateDownloader(QNetworkAccessManager *network, QObject *parent = nullptr);
    // A transfer still running is cut off and its partial file removed.
    ~UpdateDownloader() override;

    // Does nothing while a download is on its way; `stallTimeout` bounds a transfer that stops
    // sending, not a slow one.
    void download(const AppcastItem &item, const QString &directory,
                  std::chrono::milliseconds stallTimeout);

signals:
    void finished(const AppcastItem &item, const QString &path);
    // `error` is a whole sentence for people.
    void failed(const QString &error);

private:
    void finish(QNetworkReply *reply, const AppcastItem &item);
    // `detail` goes only to the diagnostics.
    void fail(const QString &error, const QString &detail = {});

    QNetworkAccessManager *m_network;
    QPointer<QNetworkReply> m_reply;
    QFile *m_file = nullptr;
};
