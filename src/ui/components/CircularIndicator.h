#pragma once

#include <QColor>
#include <QWidget>

class QVariantAnimation;

// A 14-point status dot: green when `condition` holds, otherwise red when `critical`, otherwise
// orange. A change of colour fades over a short animation.
class CircularIndicator : public QWidget {
    Q_OBJECT
    Q_PROPERTY(bool condition READ condition WRITE setCondition)
    Q_PROPERTY(bool critical READ isCritical WRITE setCritical)
    Q_PROPERTY(QColor color READ color)

public:
    explicit CircularIndicator(QWidget *parent = nullptr);
    CircularIndicator(bool condition, bool critical, QWidget *parent = nullptr);

    bool condition() const;
    void setCondition(bool condition);
    bool isCritical() const;
    void setCritical(bool critical);

    // The colour the dot settles on for the current state.
    QColor color() const;
    // The colour drawn right now, between the old and new colour while animating.
    QColor displayedColor() const;

    static QColor colorFor(bool condition, bool critical);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void animateToState();

    bool m_condition = false;
    bool m_critical = false;
    QColor m_displayed;
    QVariantAnimation *m_animation = nullptr;
};
