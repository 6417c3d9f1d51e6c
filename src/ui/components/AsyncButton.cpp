#include "AsyncButton.h"

#include <QMouseEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QVariantAnimation>

#include <cmath>

namespace {

// The shake: 10 points to each side, four full swings per counted error, ending at rest.
constexpr qreal shakeAmount = 10.0;
constexpr int shakesPerError = 4;
constexpr int shakeDuration = 500;
constexpr int fadeDuration = 200;
constexpr int spinnerSpokes = 8;
constexpr int spinnerDiameter = 16;

} // namespace

AsyncButton::AsyncButton(QWidget *parent) : QPushButton(parent) {
    init();
}

AsyncButton::AsyncButton(const QString &text, QWidget *parent) : QPushButton(text, parent) {
    init();
}

AsyncButton::AsyncButton(const QIcon &icon, const QString &text, QWidget *parent)
    : QPushButton(icon, text, parent) {
    init();
}

AsyncButton::~AsyncButton() = default;

void AsyncButton::init() {
    m_fade = new QVariantAnimation(this);
    m_fade->setDuration(fadeDuration);
    m_fade->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_fade, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        m_labelOpacity = value.toReal();
        update();
    });
    connect(m_fade, &QVariantAnimation::finished, this, [this] {
        if (!m_loading)
            m_spin->stop();
    });

    // The spinner steps from spoke to spoke like the platform's own small activity indicator.
    m_spin = new QVariantAnimation(this);
    m_spin->setStartValue(0);
    m_spin->setEndValue(spinnerSpokes);
    m_spin->setDuration(800);
    m_spin->setLoopCount(-1);
    connect(m_spin, &QVariantAnimation::valueChanged, this, [this](const QVariant &value) {
        const qreal angle = value.toInt() * 360.0 / spinnerSpokes;
        if (angle != m_spinAngle) {
            m_spinAngle = angle;
            update();
        }
    });

    m_shake = new QVariantAnimation(this);
    m_shake->setDuration(shakeDuration);
    m_shake->setEasingCurve(QEasingCurve::InOutQuad);
    connect(m_shake, &QVariantAnimation::valueChanged, this,
            [this](const QVariant &value) { applyShake(value.toReal()); });
    connect(m_shake, &QVariantAnimation::finished, this, [this] { applyShake(m_errorCount); });

    connect(this, &QPushButton::clicked, this, &AsyncButton::start);
}

void AsyncButton::setAction(Action action) {
    m_action = std::move(action);
}

bool AsyncButton::isLoading() const {
    return m_loading;
}

qint64 AsyncButton::errorCount() const {
    return m_errorCount;
}

std::optional<double> AsyncButton::fractionCompleted() const {
    if (!m_loading || m_progressMaximum <= m_progressMinimum)
        return std::nullopt;
    const double done = m_progressValue - m_progressMinimum;
    return std::clamp(done / (m_progressMaximum - m_progressMinimum), 0.0, 1.0);
}

bool AsyncButton::disabledWhenLoading() const {
    return m_disabledWhenLoading;
}

void AsyncButton::setDisabledWhenLoading(bool disabled) {
    m_disabledWhenLoading = disabled;
    if (!m_loading)
        return;
    if (disabled && isEnabled()) {
        m_disabledByLoading = true;
        setEnabled(false);
    } else if (!disabled && m_disabledByLoading) {
        m_disabledByLoading = false;
        setEnabled(true);
    }
}

bool AsyncButton::allowsHitTestingWhenLoading() const {
    return m_allowsHitTestingWhenLoading;
}

void AsyncButton::setAllowsHitTestingWhenLoading(bool allows) {
    m_allowsHitTestingWhenLoading = allows;
    setAttribute(Qt::WA_TransparentForMouseEvents, refusesInput());
}

bool AsyncButton::isProminent() const {
    return m_prominent;
}

void AsyncButton::setProminent(bool prominent) {
    if (m_prominent == prominent)
        return;
    m_prominent = prominent;
    if (!prominent) {
        // Empty values drop the overrides, so the button inherits its parent's look again.
        setPalette(QPalette());
        setFont(QFont());
        setMinimumHeight(0);
        return;
    }
    QPalette accented = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        accented.setColor(group, QPalette::Button, accented.color(group, QPalette::Highlight));
        accented.setColor(group, QPalette::ButtonText,
                          accented.color(group, QPalette::HighlightedText));
    }
    setPalette(accented);
    QFont larger = font();
    larger.setPointSizeF(larger.pointSizeF() * 1.15);
    larger.setWeight(QFont::DemiBold);
    setFont(larger);
    setMinimumHeight(32);
}

qreal AsyncButton::labelOpacity() const {
    return m_labelOpacity;
}

qreal AsyncButton::shakeOffset() const {
    return m_shakeOffset;
}

bool AsyncButton::isShaking() const {
    return m_shake->state() == QAbstractAnimation::Running;
}

void AsyncButton::cancel() {
    if (!m_loading)
        return;
    m_future.cancel();
    delete m_watcher;
    end(false);
}

void AsyncButton::start() {
    // Only one run at a time, whatever reached the button while it was busy.
    if (m_loading || !isEnabled() || !m_action)
        return;
    QFuture<void> future;
    try {
        future = m_action();
    } catch (...) {
        end(true);
        return;
    }
    m_future = future;
    m_progressMinimum = m_progressMaximum = m_progressValue = 0;
    auto *watcher = new QFutureWatcher<void>(this);
    m_watcher = watcher;
    connect(watcher, &QFutureWatcher<void>::progressRangeChanged, this, [this](int min, int max) {
        m_progressMinimum = min;
        m_progressMaximum = max;
        emit progressChanged(fractionCompleted().value_or(-1.0));
        update();
    });
    connect(watcher, &QFutureWatcher<void>::progressValueChanged, this, [this](int value) {
        m_progressValue = value;
        emit progressChanged(fractionCompleted().value_or(-1.0));
        update();
    });
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher] {
        bool failed = false;
        try {
            // Rethrows what the work reported; a cancelled run without an exception is no failure.
            m_future.waitForFinished();
        } catch (...) {
            failed = true;
        }
        watcher->deleteLater();
        end(failed);
    });
    setLoading(true);
    watcher->setFuture(future);
}

void AsyncButton::end(bool failed) {
    m_future = QFuture<void>();
    setLoading(false);
    if (failed) {
        // A failure during a shake carries on from where the swing is, like any animation
        // retargeted mid-way.
        const qreal from = isShaking() ? m_shake->currentValue().toReal() : qreal(m_errorCount);
        if (!isShaking())
            m_restPosition = pos();
        ++m_errorCount;
        m_shake->stop();
        m_shake->setStartValue(from);
        m_shake->setEndValue(qreal(m_errorCount));
        m_shake->start();
        emit errorCountChanged(m_errorCount);
    }
    emit finished();
}

void AsyncButton::setLoading(bool loading) {
    if (m_loading == loading)
        return;
    m_loading = loading;
    if (loading && m_disabledWhenLoading && isEnabled()) {
        m_disabledByLoading = true;
        setEnabled(false);
    } else if (!loading && m_disabledByLoading) {
        m_disabledByLoading = false;
        setEnabled(true);
    }
    setAttribute(Qt::WA_TransparentForMouseEvents, refusesInput());
    if (loading) {
        setDown(false);
        m_spin->start();
    }
    m_fade->stop();
    m_fade->setStartValue(m_labelOpacity);
    m_fade->setEndValue(loading ? 0.0 : 1.0);
    m_fade->start();
    emit loadingChanged(loading);
}

bool AsyncButton::refusesInput() const {
    return m_loading && !m_allowsHitTestingWhenLoading;
}

void AsyncButton::applyShake(qreal phase) {
    const qreal offset = shakeAmount * std::sin(phase * M_PI * shakesPerError);
    m_shakeOffset = std::abs(offset) < 0.01 ? 0.0 : offset;
    // A window has no place to move within; only child buttons jiggle on screen.
    if (isWindow() || !isVisible())
        return;
    m_movingForShake = true;
    move(m_restPosition + QPoint(qRound(m_shakeOffset), 0));
    m_movingForShake = false;
}

void AsyncButton::moveEvent(QMoveEvent *event) {
    // A layout placing the button mid-shake defines the new resting place.
    if (!m_movingForShake)
        m_restPosition = event->pos() - QPoint(qRound(m_shakeOffset), 0);
    QPushButton::moveEvent(event);
}

void AsyncButton::mousePressEvent(QMouseEvent *event) {
    if (refusesInput()) {
        event->ignore();
        return;
    }
    QPushButton::mousePressEvent(event);
}

void AsyncButton::mouseReleaseEvent(QMouseEvent *event) {
    if (refusesInput()) {
        event->ignore();
        return;
    }
    QPushButton::mouseReleaseEvent(event);
}

void AsyncButton::mouseDoubleClickEvent(QMouseEvent *event) {
    if (refusesInput()) {
        event->ignore();
        return;
    }
    QPushButton::mouseDoubleClickEvent(event);
}

void AsyncButton::paintEvent(QPaintEvent *event) {
    if (m_labelOpacity >= 1.0 && !m_loading) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);
    QStyleOptionButton label = option;
    label.rect = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    if (m_labelOpacity > 0.0) {
        painter.setOpacity(m_labelOpacity);
        painter.drawControl(QStyle::CE_PushButtonLabel, label);
    }
    painter.setOpacity(1.0 - m_labelOpacity);
    paintSpinner(painter, label.rect);
}

void AsyncButton::paintSpinner(QPainter &painter, const QRect &area) {
    const int diameter = std::min({spinnerDiameter, area.height(), area.width()});
    if (diameter <= 4)
        return;
    const QRectF box(area.center().x() - diameter / 2.0 + 0.5,
                     area.center().y() - diameter / 2.0 + 0.5, diameter, diameter);
    QColor ink =
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal width = std::max(1.5, diameter / 8.0);

    if (const std::optional<double> fraction = fractionCompleted()) {
        // Known progress: a faint track and an arc growing clockwise from twelve o'clock.
        const QRectF ring = box.adjusted(width / 2, width / 2, -width / 2, -width / 2);
        QColor track = ink;
        track.setAlphaF(0.2f);
        painter.setPen(QPen(track, width));
        painter.drawEllipse(ring);
        painter.setPen(QPen(ink, width, Qt::SolidLine, Qt::RoundCap));
        painter.drawArc(ring, 90 * 16, -qRound(*fraction * 360 * 16));
        return;
    }

    painter.save();
    painter.translate(box.center());
    painter.rotate(m_spinAngle);
    const qreal outer = diameter / 2.0 - width / 2;
    const qreal inner = diameter / 4.0;
    for (int spoke = 0; spoke < spinnerSpokes; ++spoke) {
        QColor color = ink;
        // The leading spoke is darkest; the ones behind it fade like a trail.
        color.setAlphaF(float(1.0 - 0.8 * spoke / spinnerSpokes));
        painter.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(0, -inner), QPointF(0, -outer));
        painter.rotate(-360.0 / spinnerSpokes);
    }
    painter.restore();
}
