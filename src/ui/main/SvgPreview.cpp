#include "ui/main/SvgPreview.h"

#include "engine/SvgRenderer.h"
#include "engine/VisualCheck.h"
#include "model/FileResults.h"

#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

SvgPane::SvgPane(QWidget *parent) : QWidget(parent) {
    setMinimumSize(80, 80);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

SvgPane::~SvgPane() = default;

void SvgPane::setFile(const QString &path) {
    // A file that is missing or not SVG leaves no renderer; nothing more is needed.
    QFile file(path);
    setData(!path.isEmpty() && file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    m_path = path;
}

void SvgPane::setData(const QByteArray &svg) {
    m_path.clear();
    m_renderer.reset(svg.isEmpty() ? nullptr : new SvgRenderer(svg));
    if (m_renderer && !m_renderer->isValid())
        m_renderer.reset();
    m_image = QImage();
    m_fixedImage = false;
    update();
}

void SvgPane::setImage(const QImage &image) {
    setData(QByteArray());
    m_image = image;
    m_fixedImage = !image.isNull();
}

bool SvgPane::isRenderable() const {
    return m_renderer || m_fixedImage;
}

void SvgPane::setDrawingWidth(int width) {
    if (width == m_drawingWidth)
        return;
    m_drawingWidth = width;
    update();
}

QRect SvgPane::drawingArea() const {
    QRect area = rect().adjusted(4, 4, -4, -4);
    if (m_drawingWidth > 0 && m_drawingWidth < width()) {
        area.setWidth(m_drawingWidth - 8);
        area.moveLeft((width() - area.width()) / 2);
    }
    return area;
}

void SvgPane::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    const QRect area = drawingArea();
    if (!isRenderable()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter, tr("No preview"));
        return;
    }
    QSizeF size = m_fixedImage ? QSizeF(m_image.size()) : m_renderer->naturalSize();
    size.scale(QSizeF(area.size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(QRectF(area).center());
    // Drawn at the screen's own pixel density, again only when the pane's size changed.
    const QSize pixels = (size * devicePixelRatioF()).toSize();
    if (!m_fixedImage && m_image.size() != pixels)
        m_image = m_renderer->render(pixels);
    if (!m_fixedImage && m_renderer->couldNotDraw()) {
        // Not tried again at the next size: the renderer crashed or ran out of time on it.
        m_renderer.reset();
        update();
        return;
    }

    // Light and slightly darker squares, the usual sign of transparency.
    constexpr int square = 8;
    QPixmap tile(2 * square, 2 * square);
    tile.fill(QColor(255, 255, 255));
    {
        QPainter tilePainter(&tile);
        tilePainter.fillRect(0, 0, square, square, QColor(204, 204, 204));
        tilePainter.fillRect(square, square, square, square, QColor(204, 204, 204));
    }
    painter.fillRect(target, QBrush(tile));
    painter.drawImage(target, m_image);
}

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

void SvgPreview::showFiles(const QString &original, const QString &optimized,
                           const QString &message) {
    m_original->setFile(original);
    m_originalCaption->setText(caption(tr("Original"), original));
    const bool hasOptimized = !optimized.isEmpty();
    m_optimized->setVisible(hasOptimized);
    m_optimizedCaption->setVisible(hasOptimized);
    m_optimized->setFile(optimized);
    m_optimizedCaption->setText(caption(tr("Optimized"), optimized));
    m_message->setText(message);
    m_message->setVisible(!message.isEmpty());
    // Shown panes share the width equally; an empty column takes none.
    setColumnsShown(hasOptimized ? 2 : 1);
    const QList<QWidget *> review{m_difference, m_differenceCaption, m_review, m_useOptimized};
    for (QWidget *widget : review)
        widget->hide();
    show();
}

void SvgPreview::showLooksDifferent(const QString &original, const FileResult &result) {
    showFiles(original, QString(), QString());
    const QByteArray &output = result.differentOutput;
    const bool fileMode = !result.destination.isEmpty();
    m_optimized->setData(output);
    m_optimizedCaption->setText((fileMode ? tr("Optimized, not written") : tr("Optimized")) +
                                QStringLiteral(" · ") + FileResults::sizeText(output.size()));
    m_optimized->show();
    m_optimizedCaption->show();
    // A lost structure has no picture of its own; the text says what happened.
    QFile file(original);
    const QImage difference = file.open(QIODevice::ReadOnly)
                                  ? VisualCheck(file.readAll()).compare(output).difference
                                  : QImage();
    const bool hasDifference = !difference.isNull();
    m_difference->setImage(difference);
    m_difference->setVisible(hasDifference);
    m_differenceCaption->setVisible(hasDifference);
    setColumnsShown(hasDifference ? 3 : 2);
    m_review->setText(FileResults::reviewSentences(result).join(QLatin1Char(' ')));
    m_review->show();
    m_useOptimized->show();
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
    m_original->setFile(QString());
    m_optimized->setFile(QString());
    m_difference->setImage(QImage());
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
