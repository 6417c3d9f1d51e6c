#include "ui/components/LineNumberGutter.h"

#include "ui/components/TextView.h"

LineNumberGutter::LineNumberGutter(TextView *view) : QWidget(view), m_view(view) {
    setObjectName(QStringLiteral("lineNumberGutter"));
}

QSize LineNumberGutter::sizeHint() const {
    return {m_view->gutterWidth(), 0};
}

void LineNumberGutter::paintEvent(QPaintEvent *event) {
    m_view->paintGutter(event);
}
