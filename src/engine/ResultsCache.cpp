#include "engine/ResultsCache.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr QByteArrayView magic("MRCACHE2");
constexpr QCryptographicHash::Algorithm algorithm = QCryptographicHash::Blake2b_256;
constexpr int digestSize = 32;
const QString entrySuffix = QStringLiteral(".entry");
const QString totalFile = QStringLiteral("total");

QByteArray digest(QByteArrayView first, QByteArrayView second = {}) {
    QCryptographicHash hash(algorithm);
    hash.addData(first);
    hash.addData(second);
    return hash.result();
}

qint64 readTotal(const QString &path) {
    QFile file(path);
    bool ok = false;
    const qint64 total =
        file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toLongLong(&ok) : 0;
    return ok && total >= 0 ? total : -1;
}

void writeTotal(const QString &path, qint64 total) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(QByteArray::number(total));
}

} // namespace

QString ResultsCache::defaultFolder() {
    return QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
        .filePath(QStringLiteral("results"));
}

ResultsCache::ResultsCache(QString folder, const QByteArray &context, qint64 limit)
    : m_folder(std::move(folder)), m_context(digest(magic, context)), m_limit(limit) {}

ResultsCache::~ResultsCache() {
    if (m_added == 0)
        return;
    // The folder's size is kept in a file so that a run need not look at every entry; when
    // that file is missing or the folder seems over its limit, the entries are counted.
    const QString path = QDir(m_folder).filePath(totalFile);
    const qint64 known = readTotal(path);
    if (known < 0 || known + m_added > m_limit)
        trim();
    else
        writeTotal(path, known + m_added);
}

QByteArray ResultsCache::keyOf(const QByteArray &input) const {
    return digest(m_context, input);
}

QString ResultsCache::pathOf(const QByteArray &key) const {
    const QString hex = QString::fromLatin1(key.toHex());
    return m_folder + QLatin1Char('/') + hex.left(2) + QLatin1Char('/') + hex + entrySuffix;
}

std::optional<ResultsCache::Answer> ResultsCache::find(const QByteArray &input) const {
    const QByteArray key = keyOf(input);
    const QString path = pathOf(key);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    file.close();
    const auto damaged = [&] {
        QFile::remove(path); // the next run writes it anew
        return std::nullopt;
    };
    if (bytes.size() < magic.size() + digestSize || !bytes.startsWith(magic))
        return damaged();
    const QByteArrayView body = QByteArrayView(bytes).first(bytes.size() - digestSize);
    if (digest(body) != QByteArrayView(bytes).last(digestSize))
        return damaged();
    QDataStream stream(body.sliced(magic.size()).toByteArray());
    stream.setVersion(QDataStream::Qt_6_4);
    QByteArray storedKey;
    quint8 status = 0;
    Answer answer;
    qint64 changedPixels = -1;
    qint32 precisionUsed = -1;
    stream >> storedKey >> status >> answer.review.message >> changedPixels >>
        answer.review.comparedAt >> answer.review.withoutPlugins >>
        answer.review.sizeWithAllPlugins >> precisionUsed >> answer.output;
    using Status = FileResult::Status;
    const auto kept = {Status::Optimized, Status::AlreadyOptimal, Status::LooksDifferent};
    if (stream.status() != QDataStream::Ok || !stream.atEnd() || storedKey != key ||
        std::find(kept.begin(), kept.end(), Status(status)) == kept.end())
        return damaged();
    answer.review.status = Status(status);
    answer.review.changedPixels = changedPixels;
    answer.review.precisionUsed = precisionUsed;
    answer.review.sizeAfter = answer.output.size();
    if (answer.review.status == Status::LooksDifferent)
        answer.review.differentOutput = answer.output;
    // Used now: the last to go when the folder is trimmed.
    ::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), nullptr, 0);
    return answer;
}

void ResultsCache::store(const QByteArray &input, const FileResult &review,
                         const QByteArray &output) {
    using Status = FileResult::Status;
    if (review.status != Status::Optimized && review.status != Status::AlreadyOptimal &&
        review.status != Status::LooksDifferent)
        return;
    const QByteArray key = keyOf(input);
    QByteArray body(magic.data(), magic.size());
    {
        QDataStream stream(&body, QIODevice::Append);
        stream.setVersion(QDataStream::Qt_6_4);
        stream << key << quint8(review.status) << review.message << qint64(review.changedPixels)
               << review.comparedAt << review.withoutPlugins << review.sizeWithAllPlugins
               << qint32(review.precisionUsed) << output;
    }
    body += digest(body);
    const QString path = pathOf(key);
    const QString folder = QFileInfo(path).path();
    // Not flushed to disk: an entry a crash cut short fails its checksum and is written again.
    // Two runs (of this program or another) may write one entry at once: each its own name.
    static std::atomic<quint64> names{0};
    QFile temporary(path + QStringLiteral(".%1-%2.tmp")
                               .arg(QCoreApplication::applicationPid())
                               .arg(names.fetch_add(1)));
    if (!QDir().mkpath(folder) || !temporary.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return;
    const bool written = temporary.write(body) == body.size() && temporary.flush();
    temporary.close();
    if (!written || ::rename(QFile::encodeName(temporary.fileName()).constData(),
                             QFile::encodeName(path).constData()) != 0) {
        temporary.remove();
        return;
    }
    m_added += body.size();
}

void ResultsCache::trim() const {
    struct Entry {
        QString path;
        qint64 size;
        QDateTime used;
    };
    QList<Entry> entries;
    qint64 total = 0;
    const QDateTime stale = QDateTime::currentDateTimeUtc().addSecs(-3600);
    QDirIterator it(m_folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        const QFileInfo info = it.fileInfo();
        if (info.fileName() == totalFile)
            continue;
        const QDateTime used = info.lastModified();
        // What a run that ended halfway left behind.
        if (!info.fileName().endsWith(entrySuffix)) {
            if (used < stale)
                QFile::remove(info.filePath());
            continue;
        }
        entries.append({info.filePath(), info.size(), used});
        total += info.size();
    }
    if (total > m_limit) {
        std::sort(entries.begin(), entries.end(),
                  [](const Entry &a, const Entry &b) { return a.used < b.used; });
        // Down to nine tenths, so that the next few runs need not count again.
        const qint64 goal = m_limit - m_limit / 10;
        for (const Entry &entry : std::as_const(entries)) {
            if (total <= goal)
                break;
            if (QFile::remove(entry.path))
                total -= entry.size;
        }
    }
    writeTotal(QDir(m_folder).filePath(totalFile), total);
}
