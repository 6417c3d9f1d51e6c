#include "ui/components/OverlayNotification.h"

#include <QEvent>
#include <QGraphicsDropShadowEffect>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTimer>

namespace {

constexpr int horizontalPadding = 24;
constexpr int verticalPadding = 12;
constexpr int iconSize = 16;
constexpr int iconSpacing = 6;
// Room around the capsule for the shadow and for the grow-in scale.
constexpr int outerMargin = 12;
constexpr int animationMs = 220;

QColor withAlpha(QColor color, qreal alpha) {
    color.setAlphaF(alpha);
    return color;
}

} // namespace

OverlayNotification::OverlayNotification(const QString &title, const QIcon &icon, int dismissAfter,
                                         QWidget *parent)
    : QWidget(parent), m_title(title), m_icon(icon), m_dismissAfter(dismissAfter) {
    setObjectName(QStringLiteral("overlayNotification"));
    // A notice over the text must not take clicks meant for it.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    setFocusPolicy(Qt::NoFocus);

    auto *shadow = new QGraphicsDropShadowEffect(this);
    shadow->setColor(QColor(0, 0, 0, 64));
    shadow->setBlurRadius(16);
    shadow->setOffset(0, 4);
    setGraphicsEffect(shadow);

    m_animation.setDuration(animationMs);
    connect(&m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_presence = value.toReal();
        update();
    });
    connect(&m_animation, &QVariantAnimation::finished, this, [this] {
        if (!m_triggered)
            hide();
    });

    if (parent)
        parent->installEventFilter(this);
    hide();
}

void OverlayNotification::setTriggered(bool triggered) {
    if (triggered == m_triggered)
        return;
    m_triggered = triggered;
    if (triggered) {
        QTimer::singleShot(m_dismissAfter, this, [this] { setTriggered(false); });
        recenter();
        show();
        raise();
        animateTo(1);
    } else {
        animateTo(0);
    }
    emit triggeredChanged(triggered);
}

void OverlayNotification::animateTo(qreal presence) {
    m_animation.stop();
    m_animation.setEasingCurve(presence > m_presence ? QEasingCurve::OutCubic
                                                     : QEasingCurve::InCubic);
    m_animation.setStartValue(m_presence);
    m_animation.setEndValue(presence);
    m_animation.start();
}

QSize OverlayNotification::sizeHint() const {
    const QFontMetrics metrics(font());
    int contentWidth = metrics.horizontalAdvance(m_title);
    if (!m_icon.isNull())
        contentWidth += iconSize + iconSpacing;
    const int contentHeight = qMax(metrics.height(), m_icon.isNull() ? 0 : iconSize);
    return {contentWidth + 2 * (horizontalPadding + outerMargin),
            contentHeight + 2 * (verticalPadding + outerMargin)};
}

void OverlayNotification::recenter() {
    if (!parentWidget())
        return;
    const QSize size = sizeHint();
    const QRect area = parentWidget()->rect();
    setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
}

bool OverlayNotification::eventFilter(QObject *watched, QEvent *event) {
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        recenter();
    return QWidget::eventFilter(watched, event);
}

void OverlayNotification::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(m_presence);
    // Grow in from, and shrink out to, a slightly smaller capsule.
    const QPointF centre = QRectF(rect()).center();
    const qreal scale = 0.85 + 0.15 * m_presence;
    painter.translate(centre);
    painter.scale(scale, scale);
    painter.translate(-centre);

    const QRectF capsule =
        QRectF(rect()).adjusted(outerMargin, outerMargin, -outerMargin, -outerMargin);
    const qreal radius = capsule.height() / 2;
    QPainterPath shape;
    shape.addRoundedRect(capsule, radius, radius);

    const QColor accent = palette().color(QPalette::Highlight);
    const bool dark = palette().color(QPalette::Window).lightness() < 128;

    // Bottom to top: a thin translucent material with a faint accent outline, an accent tint, and
    // a white sheen fading out towards the bottom.
    // There is no blur of what lies behind, so the material is nearly opaque to stay readable.
    painter.fillPath(shape, withAlpha(palette().color(QPalette::Window), 0.95));
    painter.fillPath(shape, withAlpha(accent, dark ? 0.05 : 0.1));
    QLinearGradient sheen(capsule.topLeft(), capsule.bottomLeft());
    sheen.setColorAt(0, withAlpha(Qt::white, dark ? 0.05 : 0.6));
    sheen.setColorAt(1, withAlpha(Qt::white, 0));
    painter.fillPath(shape, sheen);
    painter.setPen(QPen(withAlpha(accent, 0.025), 1));
    painter.drawPath(shape);

    QRectF content =
        capsule.adjusted(horizontalPadding, verticalPadding, -horizontalPadding, -verticalPadding);
    if (!m_icon.isNull()) {
        const QRectF iconRect(content.left(), content.center().y() - iconSize / 2.0, iconSize,
                              iconSize);
        m_icon.paint(&painter, iconRect.toRect());
        content.setLeft(content.left() + iconSize + iconSpacing);
    }
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(content, Qt::AlignLeft | Qt::AlignVCenter, m_title);
}
