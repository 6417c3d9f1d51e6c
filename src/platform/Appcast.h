#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// One release announced by an appcast feed (an RSS <item> with the update framework's
// "sparkle" namespace).
struct AppcastItem {
    QString title;
    // The machine version that decides which release is newer (sparkle:version).
    QString version;
    // The version shown to people (sparkle:shortVersionString); may be empty.
    QString shortVersionString;
    QUrl releaseNotesLink;
    // Release notes given inline, plain text or HTML.
    QString description;
    QUrl enclosureUrl;
    qint64 enclosureLength = -1;
    QString minimumSystemVersion;

    // What people see as the version: the short version when the feed gives one.
    QString displayVersion() const;
    friend bool operator==(const AppcastItem &, const AppcastItem &) = default;
};

// Reading appcast feeds and ordering versions; pure logic with no network or UI.
class Appcast {
public:
    // The items of the feed in document order, skipping items that name no version.
    // Nothing when the document is not a well-formed RSS feed; `error` then says why.
    static std::optional<QList<AppcastItem>> parse(const QByteArray &document,
                                                   QString *error = nullptr);

    // Negative when `a` is older than `b`, zero when they are the same release, positive when
    // `a` is newer. Numeric parts compare as numbers ("1.10" is newer than "1.9"); a letter part
    // where the other version ends or continues with a number marks a pre-release, so "1.0b1"
    // and "1.0-beta" are older than "1.0"; trailing ".0" parts change nothing.
    static int compareVersions(const QString &a, const QString &b);

    // Whether a release that needs `minimum` runs on `running`. A missing minimum or an unknown
    // running system (nothing to compare with) never excludes a release.
    static bool systemSatisfies(const QString &minimum, const std::optional<QString> &running);

    // The newest item this system can run, if any.
    static std::optional<AppcastItem> newestItem(const QList<AppcastItem> &items,
                                                 const std::optional<QString> &runningSystem);

    // The running system's version where feeds state minimums for it. Feeds written for the
    // update framework state macOS versions, so elsewhere there is nothing to compare.
    static std::optional<QString> runningSystemVersion();

    // The namespace of the update framework's feed elements and attributes.
    static const QString sparkleNamespace;
};
