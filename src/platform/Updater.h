#pragma once

#include <QDateTime>
#include <QObject>
#include <QUrl>

#include <optional>

// What the application needs from a software updater: its stored settings, whether a check can
// start now, and a manual check. The application creates one with create(), calls start() once
// and keeps it for its whole run; the settings and the menu item talk only to this interface, so
// a macOS build can put the platform's update framework behind it instead of our own appcast
// reader.
class Updater : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool automaticallyChecksForUpdates READ automaticallyChecksForUpdates WRITE
                   setAutomaticallyChecksForUpdates)
    Q_PROPERTY(bool automaticallyDownloadsUpdates READ automaticallyDownloadsUpdates WRITE
                   setAutomaticallyDownloadsUpdates)
    Q_PROPERTY(qint64 updateCheckInterval READ updateCheckInterval WRITE setUpdateCheckInterval)
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)

public:
    // The updater for this build: the appcast reader over the feed URL fixed at build time.
    static Updater *create(QObject *parent = nullptr);

    using QObject::QObject;

    virtual bool automaticallyChecksForUpdates() const = 0;
    virtual void setAutomaticallyChecksForUpdates(bool enabled) = 0;
    virtual bool automaticallyDownloadsUpdates() const = 0;
    virtual void setAutomaticallyDownloadsUpdates(bool enabled) = 0;
    // Seconds between scheduled checks.
    virtual qint64 updateCheckInterval() const = 0;
    virtual void setUpdateCheckInterval(qint64 seconds) = 0;
    // When the last check finished; nothing before the first one.
    virtual std::optional<QDateTime> lastUpdateCheckDate() const = 0;

    // True while a manual check may start: a feed is configured and no check is running.
    virtual bool canCheckForUpdates() const = 0;
    // False when this build has nowhere to look for updates; checks then never become possible.
    virtual bool isAvailable() const = 0;
    virtual QUrl feedUrl() const = 0;

    // Begins scheduled checking according to the stored settings. Call once.
    virtual void start() = 0;

public slots:
    // A check asked for by the user: its outcome is always reported, even "up to date".
    virtual void checkForUpdates() = 0;

signals:
    void canCheckForUpdatesChanged(bool canCheck);
};
