#include "ui/main/ResultsSummary.h"

#include "engine/OriginalsBackup.h"
#include "model/SVGFileList.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

namespace {

// The share the optimized files save once compressed, over those whose compressed sizes before
// and after the run are both known; none when no file has them.
struct CompressedSavings {
    std::optional<double> gzip;
    std::optional<double> brotli;
};

CompressedSavings compressedSavings(const SVGFileList &files) {
    qint64 sums[4] = {0, 0, 0, 0};
    bool known[2] = {false, false};
    for (const SVGFile &file : files.files()) {
        const FileResult *result = files.result(file.id);
        if (!result || result->status != FileResult::Status::Optimized)
            continue;
        const qint64 sizes[4] = {result->gzipBefore, result->gzipAfter, result->brotliBefore,
                                 result->brotliAfter};
        for (int k = 0; k < 2; ++k)
            if (sizes[2 * k] >= 0 && sizes[2 * k + 1] >= 0) {
                sums[2 * k] += sizes[2 * k];
                sums[2 * k + 1] += sizes[2 * k + 1];
                known[k] = true;
            }
    }
    const auto share = [&](int k) -> std::optional<double> {
        if (!known[k])
            return std::nullopt;
        const qint64 before = sums[2 * k], after = sums[2 * k + 1];
        return before > 0 ? 100.0 * double(before - after) / double(before) : 0.0;
    };
    return {share(0), share(1)};
}

} // namespace

ResultsSummary::ResultsSummary(SVGFileList *files, QWidget *parent)
    : QLabel(parent), m_files(files) {
    setObjectName(QStringLiteral("resultsSummary"));
    setTextFormat(Qt::PlainText);
    setForegroundRole(QPalette::PlaceholderText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // The summary only changes with the results or with the rows they count over.
    connect(files, &SVGFileList::resultsChanged, this, &ResultsSummary::refresh);
    connect(files, &SVGFileList::rowsAdded, this, &ResultsSummary::refresh);
    connect(files, &SVGFileList::rowsRemoved, this, &ResultsSummary::refresh);
    connect(files, &SVGFileList::resetDone, this, &ResultsSummary::refresh);
    refresh();
}

void ResultsSummary::setLastRun(qint64 milliseconds, bool keptOriginals) {
    m_lastRunMs = milliseconds;
    m_keptOriginals = keptOriginals;
    refresh();
}

QString ResultsSummary::durationText(qint64 milliseconds) {
    const QLocale locale;
    if (milliseconds < 60000)
        return tr("%1 s").arg(locale.toString(double(milliseconds) / 1000.0, 'f', 1));
    const qint64 seconds = (milliseconds + 500) / 1000;
    return tr("%1 min %2 s").arg(locale.toString(seconds / 60), locale.toString(seconds % 60));
}

void ResultsSummary::refresh() {
    const FileResults::Totals totals = m_files->resultTotals();
    QString text = FileResults::summary(totals);
    if (text.isEmpty()) {
        const int listed = int(m_files->files().size());
        if (listed > 0)
            text = tr("%Ln files listed", nullptr, listed);
    } else {
        // What a browser downloads shrinks by less than the raw bytes suggest.
        const CompressedSavings compressed = compressedSavings(*m_files);
        if (compressed.gzip)
            //: The share the optimized files save gzip-compressed, as in "18.0 % gzip"
            text += QStringLiteral(" · ") +
                    tr("%1 gzip").arg(FileResults::percentText(*compressed.gzip));
        if (compressed.brotli)
            //: The share the optimized files save brotli-compressed, as in "15.0 % brotli"
            text += QStringLiteral(" · ") +
                    tr("%1 brotli").arg(FileResults::percentText(*compressed.brotli));
        if (m_lastRunMs >= 0)
            text += QStringLiteral(" · ") + durationText(m_lastRunMs);
        if (m_keptOriginals)
            text +=
                QStringLiteral(" · ") + tr("Originals kept for %Ln days: Edit ▸ Restore Originals",
                                           nullptr, int(OriginalsBackup::maximumAgeDays));
    }
    m_fullText = text;
    showElided();
    setToolTip(text);
    m_hasFailures = !totals.failedIds.isEmpty();
    setCursor(m_hasFailures ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setFocusPolicy(m_hasFailures ? Qt::TabFocus : Qt::NoFocus);
    if (m_hasFailures)
        setToolTip(text + QLatin1Char('\n') + tr("Click to select the files that failed."));
}

void ResultsSummary::showElided() {
    // Cut at the end, so the counts at the start stay readable in a narrow window.
    setText(
        fontMetrics().elidedText(m_fullText, Qt::ElideRight, std::max(0, contentsRect().width())));
}

void ResultsSummary::resizeEvent(QResizeEvent *event) {
    QLabel::resizeEvent(event);
    showElided();
}

void ResultsSummary::selectFailedFiles() {
    const QStringList ids = m_files->failedIds();
    if (!ids.isEmpty())
        m_files->setSelection(QSet<QString>(ids.cbegin(), ids.cend()));
}

void ResultsSummary::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        selectFailedFiles();
    QLabel::mouseReleaseEvent(event);
}

void ResultsSummary::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return) {
        selectFailedFiles();
        return;
    }
    QLabel::keyPressEvent(event);
}
