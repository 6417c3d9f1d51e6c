#pragma once

#include <QIcon>
#include <QVariantAnimation>
#include <QWidget>

// A short notice centred over its parent: icon and title in a translucent, accent-tinted capsule
// with a soft shadow. It fades and grows in, and shrinks and fades out on its own.
//
// It shows while it is triggered. Becoming triggered schedules the untrigger `dismissAfter`
// milliseconds later; triggering it again while it shows schedules nothing, so the first
// schedule stands and a repeated trigger never keeps it up longer. Scheduled hides are never
// cancelled.
class OverlayNotification : public QWidget {
    Q_OBJECT
public:
    OverlayNotification(const QString &title, const QIcon &icon, int dismissAfter, QWidget *parent);

    QString title() const { return m_title; }
    int dismissAfter() const { return m_dismissAfter; }
    // Applies from the next time the notice becomes triggered.
    void setDismissAfter(int milliseconds) { m_dismissAfter = milliseconds; }

    bool isTriggered() const { return m_triggered; }
    void setTriggered(bool triggered);
    void trigger() { setTriggered(true); }

    QSize sizeHint() const override;

signals:
    void triggeredChanged(bool triggered);

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void recenter();
    void animateTo(qreal presence);

    QString m_title;
    QIcon m_icon;
    int m_dismissAfter;
    bool m_triggered = false;
    qreal m_presence = 0; // 0 gone, 1 fully shown
    QVariantAnimation m_animation;
};
