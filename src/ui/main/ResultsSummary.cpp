#include "ui/main/ResultsSummary.h"

#include "engine/OriginalsBackup.h"
#include "model/SVGFileList.h"

#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>

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
