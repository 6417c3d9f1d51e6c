#include "ui/SvgPreview.h"

#include "model/FileResults.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QPainter>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

SvgPane::SvgPane(QWidget *parent) : QWidget(parent), m_renderer(new QSvgRenderer(this)) {
    setMinimumSize(80, 80);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void SvgPane::setFile(const QString &path) {
    m_path = path;
    // A file that is missing or not SVG leaves the renderer invalid; nothing more is needed.
    if (path.isEmpty() || !m_renderer->load(path))
        m_renderer->load(QByteArray());
    update();
}

bool SvgPane::isRenderable() const {
    return m_renderer->isValid();
}

void SvgPane::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRect area = rect().adjusted(4, 4, -4, -4);
    if (!m_renderer->isValid()) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(area, Qt::AlignCenter, tr("No preview"));
        return;
    }
    QSizeF size = m_renderer->viewBoxF().size();
    if (size.isEmpty())
        size = m_renderer->defaultSize();
    if (size.isEmpty())
        size = QSizeF(area.size());
    size.scale(QSizeF(area.size()), Qt::KeepAspectRatio);
    QRectF target(QPointF(), size);
    target.moveCenter(QRectF(area).center());

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
    m_renderer->render(&painter, target);
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
      m_original(new SvgPane(m_body)), m_optimized(new SvgPane(m_body)),
      m_originalCaption(new QLabel(m_body)), m_optimizedCaption(new QLabel(m_body)),
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
    // svgo points at the faulty column with a caret on the line below; only a fixed-width font
    // keeps the two lines aligned.
    m_message->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    for (QLabel *label : {m_originalCaption, m_optimizedCaption}) {
        label->setAlignment(Qt::AlignCenter);
        label->setForegroundRole(QPalette::PlaceholderText);
    }

    auto *grid = new QGridLayout(m_body);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_original, 0, 0);
    grid->addWidget(m_optimized, 0, 1);
    grid->addWidget(m_originalCaption, 1, 0);
    grid->addWidget(m_optimizedCaption, 1, 1);
    grid->addWidget(m_message, 2, 0, 1, 2);

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
    show();
}

void SvgPreview::clear() {
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
