#pragma once

#include <QWidget>

#include <functional>

// The strip at a text view's leading edge that shows line numbers. It only hands its width and
// its painting to the view that owns it, which knows where the visible lines are.
class LineNumberGutter : public QWidget {
    Q_OBJECT
public:
    LineNumberGutter(QWidget *view, std::function<int()> width,
                     std::function<void(QPaintEvent *)> paint);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<int()> m_width;
    std::function<void(QPaintEvent *)> m_paint;
};
