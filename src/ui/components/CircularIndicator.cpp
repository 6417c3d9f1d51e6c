#include "CircularIndicator.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QVariantAnimation>

namespace {

constexpr int diameter = 14;

} // namespace

CircularIndicator::CircularIndicator(QWidget *parent) : CircularIndicator(false, false, parent) {}

CircularIndicator::CircularIndicator(bool condition, bool critical, QWidget *parent)
    : QWidget(parent), m_condition(condition), m_critical(critical),
      m_displayed(colorFor(condition, critical)), m_animation(new QVariantAnimation(this)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_animation->setDuration(350);
    m_animation->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_animation, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_displayed = value.value<QColor>();
        update();
    });
}

bool CircularIndicator::condition() const {
    return m_condition;
}

void CircularIndicator::setCondition(bool condition) {
    if (m_condition == condition)
        return;
    m_condition = condition;
    animateToState();
}

bool CircularIndicator::isCritical() const {
    return m_critical;
}

void CircularIndicator::setCritical(bool critical) {
    if (m_critical == critical)
        return;
    m_critical = critical;
    animateToState();
}

QColor CircularIndicator::color() const {
    return colorFor(m_condition, m_critical);
}

QColor CircularIndicator::displayedColor() const {
    return m_displayed;
}

QColor CircularIndicator::colorFor(bool condition, bool critical) {
    // The system green, red and orange of the desktop the application was designed on.
    if (condition)
        return QColor(52, 199, 89);
    return critical ? QColor(255, 59, 48) : QColor(255, 149, 0);
}

QSize CircularIndicator::sizeHint() const {
    return {diameter, diameter};
}

QSize CircularIndicator::minimumSizeHint() const {
    return sizeHint();
}

void CircularIndicator::animateToState() {
    m_animation->stop();
    m_animation->setStartValue(m_displayed);
    m_animation->setEndValue(color());
    m_animation->start();
}

void CircularIndicator::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal size = std::min({diameter, width(), height()});
    const QRectF dot(QPointF((width() - size) / 2, (height() - size) / 2), QSizeF(size, size));

    painter.setPen(Qt::NoPen);
    painter.setBrush(m_displayed);
    painter.drawEllipse(dot);

    // Glossy shading: the lower half darkens a little...
    QLinearGradient shade(dot.topLeft(), dot.bottomLeft());
    shade.setColorAt(0.5, QColor(0, 0, 0, 0));
    shade.setColorAt(1.0, QColor(0, 0, 0, 70));
    painter.setBrush(shade);
    painter.drawEllipse(dot);

    // ...and a soft white light falls from the top towards the centre.
    QRadialGradient light(QPointF(dot.center().x(), dot.top() + size * 0.2), size * 0.55);
    light.setColorAt(0.0, QColor(255, 255, 255, 170));
    light.setColorAt(1.0, QColor(255, 255, 255, 0));
    painter.setBrush(light);
    painter.drawEllipse(dot);

    // A hairline rim keeps the dot distinct on a background of similar colour.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(0, 0, 0, 40), 0.75));
    painter.drawEllipse(dot.adjusted(0.4, 0.4, -0.4, -0.4));
}
