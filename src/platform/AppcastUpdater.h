#pragma once

#include "platform/UpdateCheckResult.h"
#include "platform/Updater.h"

#include <QPointer>
#include <QTimer>

#include <chrono>
#include <optional>

class QNetworkAccessManager;
class QNetworkReply;
class UpdateDialog;
class UpdateDownloader;
class UpdatePresenter;

// The updater for platforms without the macOS update framework: it reads an appcast feed over
// HTTP(S), compares the newest release with the running version and tells the user about it.
//
// Its settings use the framework's own names in the application's settings store:
// "SUEnableAutomaticChecks" (off until the user turns it on; we never ask on our own),
// "SUAutomaticallyUpdate", "SUScheduledCheckInterval" (seconds, a day by default),
// "SULastCheckTime" (ISO 8601, UTC) and "SUSkippedVersion".
//
// A skipped version stays quiet for scheduled checks only: someone who asks by hand wants to
// hear about it again. With automatic downloads on, a scheduled check that finds a release saves
// its file to the downloads folder (UpdateDownloader) and says where, or why it could not;
// installing stays with the user, as there is no one way to install software on every Linux
// system. What the user sees comes from UpdatePresenter.
class AppcastUpdater : public Updater {
    Q_OBJECT

public:
    struct Options {
        // Where the feed lives; the build-time URL when empty.
        QUrl feedUrl;
        // How long a fetch may take before it counts as failed.
        std::chrono::milliseconds timeout{15000};
        // The version compared with the feed; the application's version when empty.
        QString currentVersion;
        // Tests turn dialogs off and watch checkFinished instead.
        bool presentsDialogs = true;
        // Where automatic downloads go; the user's downloads folder when empty.
        QString downloadDirectory;
    };

    using Result = UpdateCheckResult;

    // The feed URL given to the build; empty when the build has none.
    static QUrl builtInFeedUrl();

    explicit AppcastUpdater(QObject *parent = nullptr);
    explicit AppcastUpdater(Options options, QObject *parent = nullptr);
    ~AppcastUpdater() override;

    bool automaticallyChecksForUpdates() const override;
    void setAutomaticallyChecksForUpdates(bool enabled) override;
    bool automaticallyDownloadsUpdates() const override;
    void setAutomaticallyDownloadsUpdates(bool enabled) override;
    qint64 updateCheckInterval() const override;
    void setUpdateCheckInterval(qint64 seconds) override;
    std::optional<QDateTime> lastUpdateCheckDate() const override;
    bool canCheckForUpdates() const override;
    bool isAvailable() const override;
    QUrl feedUrl() const override;
    void start() override;
    void checkForUpdates() override;

    QString currentVersion() const;
    // The version the user chose to skip; empty when none.
    QString skippedVersion() const;
    // The dialog on screen, if any; lets tests press its buttons.
    UpdateDialog *currentDialog() const;
    // When the schedule runs the next check; nothing while scheduled checks are off.
    std::optional<QDateTime> nextScheduledCheck() const;

signals:
    void checkFinished(const UpdateCheckResult &result);
    void downloadFinished(const QString &path);
    void downloadFailed(const QString &error);

private:
    void startCheck(bool manual);
    void handleFeedReply(QNetworkReply *reply);
    void fetchReleaseNotes(Result result);
    void finishCheck(const Result &result);
    void fail(const QString &error);
    void setChecking(bool checking);
    void scheduleNextCheck();
    void scheduledTimerFired();
    QString downloadDirectory() const;

    Options m_options;
    QNetworkAccessManager *m_network;
    QTimer m_scheduleTimer;
    QTimer m_timeoutTimer;
    QPointer<QNetworkReply> m_checkReply;
    UpdateDownloader *m_downloader;
    // Only when dialogs are wanted and there is a screen to show them on.
    UpdatePresenter *m_presenter = nullptr;
    std::optional<QDateTime> m_nextCheck;
    bool m_checking = false;
    bool m_manual = false;
    bool m_timedOut = false;
    bool m_started = false;
};
