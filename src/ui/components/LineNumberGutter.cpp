#include "ui/components/LineNumberGutter.h"

LineNumberGutter::LineNumberGutter(QWidget *view, std::function<int()> width,
                                   std::function<void(QPaintEvent *)> paint)
    : QWidget(view), m_width(std::move(width)), m_paint(std::move(paint)) {
    setObjectName(QStringLiteral("lineNumberGutter"));
}

QSize LineNumberGutter::sizeHint() const {
    return {m_width(), 0};
}

void LineNumberGutter::paintEvent(QPaintEvent *event) {
    m_paint(event);
}
