#pragma once

#include <QFuture>
#include <QFutureWatcher>
#include <QPointer>
#include <QPushButton>

#include <functional>
#include <optional>

class QVariantAnimation;

// A push button whose action is long-running work handed back as a QFuture. While the future
// runs the button is "loading": its label fades out, a small spinner turns over its centre and
// further presses start nothing. A future that fails (carries an exception) counts an error and
// shakes the button sideways; the button itself never shows a message for it.
class AsyncButton : public QPushButton {
    Q_OBJECT
    Q_PROPERTY(bool loading READ isLoading NOTIFY loadingChanged)
    Q_PROPERTY(qint64 errorCount READ errorCount NOTIFY errorCountChanged)
    Q_PROPERTY(bool disabledWhenLoading READ disabledWhenLoading WRITE setDisabledWhenLoading)
    Q_PROPERTY(bool allowsHitTestingWhenLoading READ allowsHitTestingWhenLoading WRITE
                   setAllowsHitTestingWhenLoading)
    Q_PROPERTY(bool prominent READ isProminent WRITE setProminent)

public:
    using Action = std::function<QFuture<void>()>;

    explicit AsyncButton(QWidget *parent = nullptr);
    explicit AsyncButton(const QString &text, QWidget *parent = nullptr);
    AsyncButton(const QIcon &icon, const QString &text, QWidget *parent = nullptr);
    ~AsyncButton() override;

    // Called on the UI thread for every accepted press. Throwing counts as a failure too.
    void setAction(Action action);

    bool isLoading() const;
    qint64 errorCount() const;

    // The share of the running work that is done, when its future reports a progress range.
    std::optional<double> fractionCompleted() const;

    // Draw the button disabled while its work runs (the "Optimize" button does).
    bool disabledWhenLoading() const;
    void setDisabledWhenLoading(bool disabled);

    // By default clicks pass through a loading button to whatever lies beneath it. When this is
    // true the loading button takes them itself, though they still start nothing new.
    bool allowsHitTestingWhenLoading() const;
    void setAllowsHitTestingWhenLoading(bool allows);

    // The large, accented form for a window's main action.
    bool isProminent() const;
    void setProminent(bool prominent);

    // Opacity of the label, 0 while loading; animated in between.
    qreal labelOpacity() const;
    // Current sideways displacement of the shake, 0 at rest.
    qreal shakeOffset() const;
    bool isShaking() const;

public slots:
    // Asks the running work to stop and returns the button to idle at once.
    void cancel();

signals:
    void loadingChanged(bool loading);
    // The work ended: succeeded, failed or cancelled.
    void finished();
    void errorCountChanged(qint64 errorCount);
    // The fraction of the work done, or a negative value when no fraction is known.
    void progressChanged(double fraction);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;

private:
    void init();
    void start();
    void end(bool failed);
    void setLoading(bool loading);
    bool refusesInput() const;
    void applyShake(qreal phase);
    void paintSpinner(QPainter &painter, const QRect &area);

    Action m_action;
    QFuture<void> m_future;
    QPointer<QFutureWatcher<void>> m_watcher;
    bool m_loading = false;
    bool m_disabledByLoading = false;
    bool m_disabledWhenLoading = false;
    bool m_allowsHitTestingWhenLoading = false;
    bool m_prominent = false;
    qint64 m_errorCount = 0;
    int m_progressMinimum = 0;
    int m_progressMaximum = 0;
    int m_progressValue = 0;

    QVariantAnimation *m_fade = nullptr;
    QVariantAnimation *m_spin = nullptr;
    QVariantAnimation *m_shake = nullptr;
    qreal m_labelOpacity = 1.0;
    qreal m_spinAngle = 0.0;
    qreal m_shakeOffset = 0.0;
    QPoint m_restPosition;
    bool m_movingForShake = false;
};
