#include "ui/main/SvgPreview.h"

#include "engine/InputGuard.h"
#include "engine/RenderPool.h"
#include "engine/VisualCheck.h"
#include "model/FileResults.h"

#include <QEvent>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFutureWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

QString caption(const QString &title, const QString &path) {
    const QFileInfo info(path);
    return info.exists() ? title + QStringLiteral(" · ") + FileResults::sizeText(info.size())
                         : title;
}

} // namespace

SvgPreview::SvgPreview(QWidget *parent)
    : QWidget(parent), m_header(new QToolButton(this)), m_body(new QWidget(this)),
      m_grid(new QGridLayout(m_body)), m_original(new SvgPane(m_body)),
      m_optimized(new SvgPane(m_body)), m_difference(new SvgPane(m_body)),
      m_originalCaption(new QLabel(m_body)), m_optimizedCaption(new QLabel(m_body)),
      m_differenceCaption(new QLabel(m_body)), m_review(new QLabel(m_body)),
      m_useOptimized(new QPushButton(tr("Use Optimized Anyway"), m_body)),
      m_message(new QLabel(m_body)) {
    setObjectName(QStringLiteral("svgPreview"));
    m_header->setText(tr("Preview"));
    // A disclosure line, not a button that stays pressed: the arrow tells the state.
    m_header->setCheckable(true);
    m_header->setChecked(true);
    m_header->setAutoRaise(true);
    m_header->setStyleSheet(QStringLiteral("QToolButton { border: none; background: none; }"));
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setArrowType(Qt::DownArrow);
    connect(m_header, &QToolButton::toggled, this, &SvgPreview::setExpanded);

    m_message->setWordWrap(true);
    m_message->setTextFormat(Qt::PlainText);
    m_message->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_differenceCaption->setText(tr("Changed pixels in red"));
    // svgo points at the faulty column with a caret on the line below; only a fixed-width font
    // keeps the two lines aligned.
    m_message->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (QLabel *label : {m_originalCaption, m_optimizedCaption, m_differenceCaption, m_review}) {
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        // Texts wrap instead of widening their column: the columns stay equally wide, so the
        // drawings in them are of one size.
        QSizePolicy policy = label->sizePolicy();
        policy.setHorizontalPolicy(QSizePolicy::Ignored);
        label->setSizePolicy(policy);
    }
    for (QLabel *label : {m_originalCaption, m_optimizedCaption, m_differenceCaption}) {
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        label->setForegroundRole(QPalette::PlaceholderText);
    }
    m_review->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_review->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_useOptimized->setObjectName(QStringLiteral("useOptimizedAnyway"));
    connect(m_useOptimized, &QPushButton::clicked, this, &SvgPreview::useOptimizedAnywayRequested);

    for (SvgPane *pane : {m_original, m_optimized, m_difference})
        pane->installEventFilter(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_grid->addWidget(m_original, 0, 0);
    m_grid->addWidget(m_optimized, 0, 1);
    m_grid->addWidget(m_difference, 0, 2);
    m_grid->addWidget(m_originalCaption, 1, 0);
    m_grid->addWidget(m_optimizedCaption, 1, 1);
    m_grid->addWidget(m_differenceCaption, 1, 2);
    m_grid->addWidget(m_review, 2, 0, 1, 3);
    m_grid->addWidget(m_useOptimized, 3, 0, 1, 3, Qt::AlignLeft);
    m_grid->addWidget(m_message, 4, 0, 1, 3);

    auto *layout = new QVBoxLayout(this);
    const int margin = 8;
    layout->setContentsMargins(margin, 4, margin, margin);
    layout->setSpacing(4);
    layout->addWidget(m_header, 0, Qt::AlignLeft);
    layout->addWidget(m_body);
    hide();
}

void SvgPreview::showOriginal(const QString &original) {
    m_original->setFile(original);
    m_originalCaption->setText(caption(tr("Original"), original));
    m_message->clear();
    m_message->hide();
    const QList<QWidget *> review{m_difference, m_differenceCaption, m_review, m_useOptimized};
    for (QWidget *widget : review)
        widget->hide();
}

void SvgPreview::forgetReview() {
    ++m_reviewGeneration;
    m_reviewOriginal.clear();
    m_reviewOutput.clear();
    m_difference->setImage(QImage());
}

void SvgPreview::showFiles(const QString &original, const QString &optimized,
                           const QString &message) {
    forgetReview();
    showOriginal(original);
    const bool hasOptimized = !optimized.isEmpty();
    m_optimized->setVisible(hasOptimized);
    m_optimizedCaption->setVisible(hasOptimized);
    m_optimized->setFile(optimized);
    m_optimizedCaption->setText(caption(tr("Optimized"), optimized));
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
    // Shown panes share the width equally; an empty column takes none.
    setColumnsShown(hasOptimized ? 2 : 1);
    show();
}

namespace {

// Runs on the render pool: the visual check draws both documents twice, seconds for a large one.
QImage difference(const QString &original, const QByteArray &output) {
    const std::optional<QByteArray> svg = InputGuard::readFile(original);
    return svg ? VisualCheck(*svg).compare(output).difference : QImage();
}

} // namespace

void SvgPreview::showLooksDifferent(const QString &original, const FileResult &result) {
    const QByteArray &output = result.differentOutput;
    const bool sameReview = original == m_reviewOriginal && output == m_reviewOutput;
    showOriginal(original);
    const bool fileMode = !result.destination.isEmpty();
    m_optimized->setData(output);
    m_optimizedCaption->setText((fileMode ? tr("Optimized, not written") : tr("Optimized")) +
                                QStringLiteral(" · ") + FileResults::sizeText(output.size()));
    m_optimized->show();
    m_optimizedCaption->show();
    if (!sameReview) {
        // Three columns while the difference is drawn; most held-back outputs have one.
        const quint64 generation = ++m_reviewGeneration;
        m_reviewOriginal = original;
        m_reviewOutput = output;
        m_difference->setWaiting();
        auto *watcher = new QFutureWatcher<QImage>(this);
        connect(watcher, &QFutureWatcher<QImage>::finished, this, [this, watcher, generation] {
            watcher->deleteLater();
            if (generation != m_reviewGeneration)
                return;
            m_difference->setImage(watcher->result());
            showDifference();
        });
        watcher->setFuture(QtConcurrent::run(&renderPool(), difference, original, output));
    }
    showDifference();
    m_review->setText(FileResults::reviewSentences(result).join(QLatin1Char(' ')));
    m_review->show();
    m_useOptimized->show();
    show();
}

void SvgPreview::showDifference() {
    // A lost structure has no picture of its own; the text says what happened.
    const bool shown = m_difference->isDrawing() || m_difference->isRenderable();
    m_difference->setVisible(shown);
    m_differenceCaption->setVisible(shown);
    setColumnsShown(shown ? 3 : 2);
}

bool SvgPreview::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Resize)
        equalizePanes();
    return QWidget::eventFilter(watched, event);
}

void SvgPreview::equalizePanes() {
    int narrowest = 0;
    for (SvgPane *pane : {m_original, m_optimized, m_difference})
        if (!pane->isHidden())
            narrowest = narrowest > 0 ? std::min(narrowest, pane->width()) : pane->width();
    for (SvgPane *pane : {m_original, m_optimized, m_difference})
        pane->setDrawingWidth(narrowest);
}

void SvgPreview::setColumnsShown(int count) {
    for (int column = 0; column < 3; ++column)
        m_grid->setColumnStretch(column, column < count ? 1 : 0);
}

void SvgPreview::setActionsAllowed(bool allowed) {
    m_useOptimized->setEnabled(allowed);
}

void SvgPreview::clear() {
    forgetReview();
    m_original->setFile(QString());
    m_optimized->setFile(QString());
    hide();
}

bool SvgPreview::isExpanded() const {
    return m_header->isChecked();
}

void SvgPreview::setExpanded(bool expanded) {
    m_header->setChecked(expanded);
    m_header->setArrowType(expanded ? Qt::DownArrow : Qt::RightArrow);
    m_body->setVisible(expanded);
}

QString SvgPreview::message() const {
    return m_message->text();
}
