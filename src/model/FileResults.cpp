#include "model/FileResults.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cmath>

std::optional<double> FileResult::savedPercent() const {
    if ((status != Status::Optimized && status != Status::LooksDifferent) || sizeBefore <= 0 ||
        sizeAfter < 0)
        return std::nullopt;
    return 100.0 * double(sizeBefore - sizeAfter) / double(sizeBefore);
}

FileResults::Stamp FileResults::stampOf(const QString &id, const FileResult &result) {
    const QFileInfo info(id);
    return {result, info.exists() ? info.size() : -1,
            info.exists() ? info.lastModified() : QDateTime()};
}

void FileResults::replace(const QList<std::pair<QString, FileResult>> &results) {
    m_results.clear();
    m_results.reserve(results.size());
    for (const auto &[id, result] : results)
        m_results.insert(id, stampOf(id, result));
}

const FileResult *FileResults::find(const QString &id) const {
    const auto found = m_results.constFind(id);
    return found == m_results.constEnd() ? nullptr : &found->result;
}

bool FileResults::drop(const QString &id) {
    return m_results.remove(id);
}

bool FileResults::dropIfChanged(const QString &id) {
    const auto found = m_results.constFind(id);
    if (found == m_results.constEnd())
        return false;
    const QFileInfo info(id);
    const qint64 size = info.exists() ? info.size() : -1;
    if (size == found->fileSize && (!info.exists() || info.lastModified() == found->modified))
        return false;
    m_results.erase(found);
    return true;
}

FileResults::Totals FileResults::totals(const QList<SVGFile> &files) const {
    Totals totals;
    if (m_results.isEmpty())
        return totals;
    for (const SVGFile &file : files) {
        const FileResult *result = find(file.id);
        if (!result)
            continue;
        switch (result->status) {
        case FileResult::Status::Optimized:
            ++totals.optimized;
            for (const QString &plugin : result->withoutPlugins)
                ++totals.culprits[plugin];
            totals.before += std::max<qint64>(0, result->sizeBefore);
            totals.after += std::max<qint64>(0, result->sizeAfter);
            break;
        case FileResult::Status::Failed:
            ++totals.failed;
            totals.failedIds.append(file.id);
            break;
        case FileResult::Status::NotRun:
            ++totals.notRun;
            break;
        case FileResult::Status::LooksDifferent:
            ++totals.looksDifferent;
            break;
        case FileResult::Status::AlreadyOptimal:
            ++totals.alreadyOptimal;
            break;
        }
    }
    return totals;
}

QString FileResults::summary(const Totals &totals) {
    if (totals.optimized + totals.failed + totals.notRun + totals.looksDifferent +
            totals.alreadyOptimal ==
        0)
        return QString();
    QString counts = tr("%Ln files optimized", nullptr, totals.optimized) + tr(", ") +
                     tr("%Ln failed", nullptr, totals.failed);
    if (totals.looksDifferent > 0)
        counts += tr(", ") + tr("%Ln kept as they were", nullptr, totals.looksDifferent);
    if (totals.alreadyOptimal > 0)
        counts += tr(", ") + tr("%Ln already optimal", nullptr, totals.alreadyOptimal);
    // A cancelled run says how much it left; a complete run reads as before.
    if (totals.notRun > 0)
        counts += tr(", ") + tr("%Ln not run", nullptr, totals.notRun);
    const double saved = totals.before > 0
                             ? 100.0 * double(totals.before - totals.after) / double(totals.before)
                             : 0.0;
    QString text =
        tr("%1 · %2 → %3 (saved %4)")
            .arg(counts, sizeText(totals.before), sizeText(totals.after), percentText(saved));
    if (!totals.culprits.isEmpty()) {
        // The plugins that broke most files first.
        QList<std::pair<QString, int>> culprits(totals.culprits.keyValueBegin(),
                                                totals.culprits.keyValueEnd());
        std::stable_sort(culprits.begin(), culprits.end(),
                         [](const auto &a, const auto &b) { return a.second > b.second; });
        QStringList named;
        for (const auto &[plugin, files] : culprits)
            named.append(tr("%1: %Ln files", nullptr, files).arg(plugin));
        text += QStringLiteral(" · ") + named.join(tr(", "));
    }
    return text;
}

QString FileResults::toolTip(const FileResult &result) {
    QStringList lines;
    if (!result.message.isEmpty())
        lines.append(result.message);
    const std::optional<double> saved = result.savedPercent();
    if (!result.withoutPlugins.isEmpty() && saved && result.sizeWithAllPlugins >= 0) {
        const double withAll = 100.0 * double(result.sizeBefore - result.sizeWithAllPlugins) /
                               double(result.sizeBefore);
        const auto change = [](double percent) {
            return (percent >= 0 ? QStringLiteral("−") : QStringLiteral("+")) +
                   percentText(std::abs(percent));
        };
        lines.append(tr("%1 instead of %2").arg(change(*saved), change(withAll)));
    }
    if (result.precisionUsed >= 0)
        lines.append(tr("Precision %1").arg(result.precisionUsed));
    return lines.join(QLatin1Char('\n'));
}

QString FileResults::statusText(FileResult::Status status) {
    switch (status) {
    case FileResult::Status::Optimized:
        return tr("Optimized");
    case FileResult::Status::Failed:
        return tr("Failed");
    case FileResult::Status::NotRun:
        return tr("Not run");
    case FileResult::Status::LooksDifferent:
        return tr("Looks different");
    case FileResult::Status::AlreadyOptimal:
        return tr("Already optimal");
    }
    return QString();
}

QStringList FileResults::reviewSentences(const FileResult &result) {
    QStringList sentences;
    if (!result.message.isEmpty())
        sentences.append(result.message);
    if (result.changedPixels >= 0 && result.comparedAt.isValid())
        sentences.append(tr("%Ln pixel(s) changed at %1×%2 px.", nullptr, int(result.changedPixels))
                             .arg(result.comparedAt.width())
                             .arg(result.comparedAt.height()));
    // File mode knows where the output would have gone; text mode has no destination.
    sentences.append(result.destination.isEmpty() ? tr("Its original markup is in the output.")
                                                  : tr("The file was left as it was."));
    return sentences;
}

QString FileResults::reviewToolTip(const FileResult &result) {
    return reviewSentences(result).join(QLatin1Char('\n')) + QLatin1Char('\n') +
           (result.destination.isEmpty()
                ? tr("“Use Optimized Anyway” in the row's menu puts svgo's output in its place.")
                : tr("“Use Optimized Anyway” in the row's menu writes it."));
}

QString FileResults::sizeText(qint64 bytes) {
    return QLocale().formattedDataSize(bytes);
}

QString FileResults::percentText(double percent) {
    return tr("%1 %").arg(QLocale().toString(percent, 'f', 1));
}
