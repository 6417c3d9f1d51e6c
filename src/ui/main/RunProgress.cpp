#include "ui/main/RunProgress.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// Early files say little about the rest (svgo starts up, the first chunks are small), so no
// estimate is shown before this share of the files is done and this much time has passed.
constexpr double estimateAfterShare = 0.05;
constexpr qint64 estimateAfterMs = 2000;

} // namespace

RunProgress::RunProgress(QWidget *parent)
    : QWidget(parent), m_bar(new QProgressBar(this)), m_status(new QLabel(this)),
      m_cancel(new QPushButton(tr("Cancel"), this)),
      m_escape(new QShortcut(QKeySequence(Qt::Key_Escape), this)) {
    setObjectName(QStringLiteral("runProgress"));
    m_bar->setTextVisible(false);
    m_bar->setMaximumHeight(m_bar->sizeHint().height());
    m_cancel->setObjectName(QStringLiteral("cancelRunButton"));
    m_cancel->setAutoDefault(false);
    m_status->setObjectName(QStringLiteral("runStatus"));
    m_status->setTextFormat(Qt::PlainText);
    QFont small = m_status->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_status->setFont(small);
    m_status->setForegroundRole(QPalette::PlaceholderText);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_status, 1);
    row->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    layout->addWidget(m_bar);
    layout->addLayout(row);

    // Escape anywhere in the window stops the run, but only while there is one to stop.
    m_escape->setContext(Qt::WindowShortcut);
    m_escape->setEnabled(false);
    connect(m_escape, &QShortcut::activated, this, &RunProgress::cancel);
    connect(m_cancel, &QPushButton::clicked, this, &RunProgress::cancel);

    connect(&m_watcher, &QFutureWatcherBase::progressRangeChanged, this, [this](int min, int max) {
        m_bar->setRange(min, max);
        updateText();
    });
    connect(&m_watcher, &QFutureWatcherBase::progressValueChanged, this, [this](int value) {
        m_bar->setValue(value);
        updateText();
    });
    connect(&m_watcher, &QFutureWatcherBase::finished, this, [this] {
        m_running = false;
        m_escape->setEnabled(false);
        hide();
    });
    hide();
}

void RunProgress::track(const QFuture<void> &future) {
    m_running = true;
    m_clock.start();
    m_bar->setRange(0, 0);
    m_bar->setValue(0);
    m_cancel->setEnabled(true);
    m_escape->setEnabled(true);
    updateText();
    show();
    m_watcher.setFuture(future);
}

void RunProgress::cancel() {
    if (!m_running)
        return;
    // The run stops its processes and finishes soon after; the bar goes when it has.
    m_cancel->setEnabled(false);
    m_escape->setEnabled(false);
    emit cancelRequested();
    m_watcher.cancel();
}

QString RunProgress::statusText() const {
    return m_status->text();
}

void RunProgress::updateText() {
    const int total = m_bar->maximum() - m_bar->minimum();
    const int done = m_bar->value() - m_bar->minimum();
    if (total <= 0) {
        m_status->setText(tr("Preparing…"));
        return;
    }
    QString text = tr("%1 of %Ln files", nullptr, total).arg(QLocale().toString(std::max(done, 0)));
    if (const QString left = timeLeftText(m_clock.elapsed(), done, total); !left.isEmpty())
        text += QStringLiteral(" · ") + left;
    m_status->setText(text);
}

QString RunProgress::timeLeftText(qint64 elapsedMs, int done, int total) {
    if (total <= 0 || done <= 0 || done >= total || elapsedMs < estimateAfterMs ||
        double(done) / total < estimateAfterShare)
        return QString();
    const qint64 seconds = elapsedMs * (total - done) / done / 1000;
    if (seconds < 60)
        return tr("Less than a minute left");
    const qint64 minutes = (seconds + 30) / 60;
    if (minutes < 60)
        return tr("About %Ln min left", nullptr, int(minutes));
    return tr("About %1 h %2 min left")
        .arg(QLocale().toString(minutes / 60), QLocale().toString(minutes % 60));
}
