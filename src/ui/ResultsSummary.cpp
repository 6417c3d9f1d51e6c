#include "ui/ResultsSummary.h"

#include "model/SVGFileList.h"

#include <QKeyEvent>
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
    connect(files, &QAbstractItemModel::rowsInserted, this, &ResultsSummary::refresh);
    connect(files, &QAbstractItemModel::rowsRemoved, this, &ResultsSummary::refresh);
    connect(files, &QAbstractItemModel::modelReset, this, &ResultsSummary::refresh);
    refresh();
}

void ResultsSummary::refresh() {
    const FileResults::Totals totals = m_files->resultTotals();
    const QString text = FileResults::summary(totals);
    setText(text);
    setToolTip(text);
    m_hasFailures = !totals.failedIds.isEmpty();
    setCursor(m_hasFailures ? Qt::PointingHandCursor : Qt::ArrowCursor);
    setFocusPolicy(m_hasFailures ? Qt::TabFocus : Qt::NoFocus);
    if (m_hasFailures)
        setToolTip(text + QLatin1Char('\n') + tr("Click to select the files that failed."));
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
