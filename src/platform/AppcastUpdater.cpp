#include "platform/AppcastUpdater.h"

#include "model/Defaults.h"
#include "model/Diagnostics.h"
#include "platform/UpdateDownloader.h"
#include "platform/UpdatePresenter.h"

#include <QApplication>
#include <QDir>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QStandardPaths>

#ifndef MIRANDEL_UPDATE_FEED_URL
#define MIRANDEL_UPDATE_FEED_URL ""
#endif
#ifndef MIRANDEL_VERSION
#define MIRANDEL_VERSION "0"
#endif

namespace {

// A mistyped stored interval must not make us ask the server every few milliseconds.
constexpr qint64 minimumIntervalSeconds = 60;
// A QTimer waits at most INT_MAX milliseconds; longer waits are re-armed when it fires.
constexpr qint64 longestTimerWaitMs = qint64(24) * 24 * 3600 * 1000;
// Feeds are a few kilobytes; anything this big is not a feed and would only eat memory.
constexpr qint64 maximumFeedBytes = 16 * 1024 * 1024;

const Defaults::Key<bool> &automaticChecksKey() {
    static const Defaults::Key<bool> key(QStringLiteral("SUEnableAutomaticChecks"),
                                         [] { return false; });
    return key;
}

const Defaults::Key<bool> &automaticDownloadsKey() {
    static const Defaults::Key<bool> key(QStringLiteral("SUAutomaticallyUpdate"),
                                         [] { return false; });
    return key;
}

const Defaults::Key<qint64> &checkIntervalKey() {
    static const Defaults::Key<qint64> key(QStringLiteral("SUScheduledCheckInterval"),
                                           [] { return qint64(86400); });
    return key;
}

const Defaults::Key<QString> &lastCheckTimeKey() {
    static const Defaults::Key<QString> key(QStringLiteral("SULastCheckTime"),
                                            [] { return QString(); });
    return key;
}

const Defaults::Key<QString> &skippedVersionKey() {
    static const Defaults::Key<QString> key(QStringLiteral("SUSkippedVersion"),
                                            [] { return QString(); });
    return key;
}

QString applicationName() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Mirandel") : name;
}

} // namespace

// No build carries the macOS update framework yet, so every platform reads the appcast itself.
Updater *Updater::create(QObject *parent) {
    return new AppcastUpdater(parent);
}

QUrl AppcastUpdater::builtInFeedUrl() {
    return QUrl(QStringLiteral(MIRANDEL_UPDATE_FEED_URL).trimmed());
}

AppcastUpdater::AppcastUpdater(QObject *parent) : AppcastUpdater(Options{}, parent) {}

AppcastUpdater::AppcastUpdater(Options options, QObject *parent)
    : Updater(parent), m_options(std::move(options)), m_network(new QNetworkAccessManager(this)),
      m_downloader(new UpdateDownloader(m_network, this)) {
    qRegisterMetaType<UpdateCheckResult>();
    if (m_options.feedUrl.isEmpty())
        m_options.feedUrl = builtInFeedUrl();
    m_scheduleTimer.setSingleShot(true);
    connect(&m_scheduleTimer, &QTimer::timeout, this, &AppcastUpdater::scheduledTimerFired);
    m_timeoutTimer.setSingleShot(true);
    connect(&m_timeoutTimer, &QTimer::timeout, this, [this] {
        m_timedOut = true;
        if (m_checkReply)
            m_checkReply->abort();
    });
    connect(m_downloader, &UpdateDownloader::finished, this,
            [this](const AppcastItem &, const QString &path) { emit downloadFinished(path); });
    connect(m_downloader, &UpdateDownloader::failed, this, &AppcastUpdater::downloadFailed);
    if (m_options.presentsDialogs && qobject_cast<QApplication *>(QCoreApplication::instance())) {
        m_presenter = new UpdatePresenter(this);
        connect(m_downloader, &UpdateDownloader::finished, m_presenter,
                &UpdatePresenter::showDownloaded);
        connect(m_downloader, &UpdateDownloader::failed, m_presenter,
                &UpdatePresenter::showFailure);
        connect(m_presenter, &UpdatePresenter::skipRequested, this,
                [](const QString &version) { skippedVersionKey().set(version); });
    }
}

AppcastUpdater::~AppcastUpdater() {
    // The reply dies with the network manager after this body; it must not call back into a
    // half-destroyed updater.
    if (m_checkReply) {
        m_checkReply->disconnect(this);
        m_checkReply->abort();
    }
    // Before the network manager, which its transfer uses.
    delete m_downloader;
}

bool AppcastUpdater::automaticallyChecksForUpdates() const {
    return automaticChecksKey().get();
}

void AppcastUpdater::setAutomaticallyChecksForUpdates(bool enabled) {
    automaticChecksKey().set(enabled);
    scheduleNextCheck();
}

bool AppcastUpdater::automaticallyDownloadsUpdates() const {
    return automaticDownloadsKey().get();
}

void AppcastUpdater::setAutomaticallyDownloadsUpdates(bool enabled) {
    automaticDownloadsKey().set(enabled);
}

qint64 AppcastUpdater::updateCheckInterval() const {
    return checkIntervalKey().get();
}

void AppcastUpdater::setUpdateCheckInterval(qint64 seconds) {
    checkIntervalKey().set(seconds);
    scheduleNextCheck();
}

std::optional<QDateTime> AppcastUpdater::lastUpdateCheckDate() const {
    const QDateTime date = QDateTime::fromString(lastCheckTimeKey().get(), Qt::ISODateWithMs);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

bool AppcastUpdater::canCheckForUpdates() const {
    return isAvailable() && !m_checking;
}

bool AppcastUpdater::isAvailable() const {
    return m_options.feedUrl.isValid() && !m_options.feedUrl.isEmpty();
}

QUrl AppcastUpdater::feedUrl() const {
    return m_options.feedUrl;
}

void AppcastUpdater::start() {
    if (m_started)
        return;
    m_started = true;
    emit canCheckForUpdatesChanged(canCheckForUpdates());
    scheduleNextCheck();
}

void AppcastUpdater::checkForUpdates() {
    startCheck(true);
}

QString AppcastUpdater::currentVersion() const {
    if (!m_options.currentVersion.isEmpty())
        return m_options.currentVersion;
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? QStringLiteral(MIRANDEL_VERSION) : version;
}

QString AppcastUpdater::skippedVersion() const {
    return skippedVersionKey().get();
}

UpdateDialog *AppcastUpdater::currentDialog() const {
    return m_presenter ? m_presenter->currentDialog() : nullptr;
}

std::optional<QDateTime> AppcastUpdater::nextScheduledCheck() const {
    return m_nextCheck;
}

void AppcastUpdater::setChecking(bool checking) {
    if (m_checking == checking)
        return;
    m_checking = checking;
    emit canCheckForUpdatesChanged(canCheckForUpdates());
}

void AppcastUpdater::startCheck(bool manual) {
    if (!canCheckForUpdates())
        return;
    m_manual = manual;
    m_timedOut = false;
    setChecking(true);

    QNetworkRequest request(m_options.feedUrl);
    request.setHeader(QNetworkRequest::UserAgentHeader,
                      QStringLiteral("%1/%2").arg(applicationName(), currentVersion()));
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    QNetworkReply *reply = m_network->get(request);
    m_checkReply = reply;
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maximumFeedBytes) {
            reply->setProperty("tooLarge", true);
            reply->abort();
        }
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply] { handleFeedReply(reply); });
    m_timeoutTimer.start(m_options.timeout);
}

void AppcastUpdater::handleFeedReply(QNetworkReply *reply) {
    reply->deleteLater();
    m_timeoutTimer.stop();
    if (m_timedOut)
        return fail(tr("The update server did not answer in time."));
    if (reply->property("tooLarge").toBool())
        return fail(tr("The update information is too large to be an update feed."));
    if (reply->error() != QNetworkReply::NoError)
        return fail(
            tr("The update information could not be downloaded: %1").arg(reply->errorString()));
    QString parseError;
    const std::optional<QList<AppcastItem>> items = Appcast::parse(reply->readAll(), &parseError);
    if (!items)
        return fail(tr("The update information could not be read: %1").arg(parseError));

    Result result;
    result.manual = m_manual;
    result.item = Appcast::newestItem(*items, Appcast::runningSystemVersion());
    if (result.item) {
        // Feeds may name their files relative to themselves.
        const QUrl base = reply->url();
        if (!result.item->enclosureUrl.isEmpty())
            result.item->enclosureUrl = base.resolved(result.item->enclosureUrl);
        if (!result.item->releaseNotesLink.isEmpty())
            result.item->releaseNotesLink = base.resolved(result.item->releaseNotesLink);
    }
    if (!result.item || Appcast::compareVersions(result.item->version, currentVersion()) <= 0) {
        result.outcome = Result::Outcome::UpToDate;
    } else if (!m_manual && !skippedVersion().isEmpty() &&
               Appcast::compareVersions(result.item->version, skippedVersion()) == 0) {
        result.outcome = Result::Outcome::SkippedVersion;
    } else {
        result.outcome = Result::Outcome::UpdateAvailable;
        const QString scheme = result.item->releaseNotesLink.scheme();
        if (result.item->description.trimmed().isEmpty() &&
            (scheme == QLatin1String("https") || scheme == QLatin1String("http")))
            return fetchReleaseNotes(result);
    }
    finishCheck(result);
}

void AppcastUpdater::fetchReleaseNotes(Result result) {
    m_timedOut = false;
    QNetworkReply *reply = m_network->get(QNetworkRequest(result.item->releaseNotesLink));
    m_checkReply = reply;
    connect(reply, &QNetworkReply::finished, this, [this, reply, result]() mutable {
        reply->deleteLater();
        m_timeoutTimer.stop();
        // Without its notes the release is still worth offering; the dialog then links to them.
        if (!m_timedOut && reply->error() == QNetworkReply::NoError)
            result.item->description = QString::fromUtf8(reply->read(maximumFeedBytes));
        finishCheck(result);
    });
    m_timeoutTimer.start(m_options.timeout);
}

void AppcastUpdater::fail(const QString &error) {
    Result result;
    result.manual = m_manual;
    result.outcome = Result::Outcome::Failed;
    result.error = error;
    finishCheck(result);
}

void AppcastUpdater::finishCheck(const Result &result) {
    m_checkReply = nullptr;
    lastCheckTimeKey().set(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs));
    setChecking(false);
    scheduleNextCheck();
    if (result.outcome == Result::Outcome::Failed && !result.manual)
        qCWarning(lcMirandel).noquote() << "Scheduled update check failed:" << result.error;
    emit checkFinished(result);
    if (result.outcome == Result::Outcome::UpdateAvailable && !result.manual &&
        automaticallyDownloadsUpdates())
        m_downloader->download(*result.item, downloadDirectory(), m_options.timeout);
    else if (m_presenter)
        m_presenter->showResult(result, currentVersion());
}

void AppcastUpdater::scheduleNextCheck() {
    m_scheduleTimer.stop();
    m_nextCheck.reset();
    if (!m_started || !isAvailable() || !automaticallyChecksForUpdates())
        return;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const qint64 interval = qMax(minimumIntervalSeconds, updateCheckInterval());
    // Never checked, or a last check "in the future" after the clock was set back: from now on.
    const std::optional<QDateTime> last = lastUpdateCheckDate();
    const QDateTime due = (last && *last <= now) ? last->addSecs(interval) : now;
    m_nextCheck = due;
    m_scheduleTimer.start(int(qBound(qint64(0), now.msecsTo(due), longestTimerWaitMs)));
}

void AppcastUpdater::scheduledTimerFired() {
    if (m_checking) // the running check schedules the next one when it ends
        return;
    const std::optional<QDateTime> last = lastUpdateCheckDate();
    const qint64 interval = qMax(minimumIntervalSeconds, updateCheckInterval());
    const QDateTime now = QDateTime::currentDateTimeUtc();
    if (!last || *last > now || last->addSecs(interval) <= now)
        startCheck(false);
    else
        scheduleNextCheck();
}

QString AppcastUpdater::downloadDirectory() const {
    if (!m_options.downloadDirectory.isEmpty())
        return m_options.downloadDirectory;
    const QString downloads = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return downloads.isEmpty() ? QDir::homePath() : downloads;
}
