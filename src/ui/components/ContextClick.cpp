#include "ContextClick.h"

#include <QAbstractItemView>
#include <QMouseEvent>

namespace {

class ContextClickFilter : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            // The window system still sends the context menu event after the press.
            if (static_cast<QMouseEvent *>(event)->button() == Qt::RightButton)
                return true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void keepSelectionOnContextClick(QAbstractItemView *view) {
    view->viewport()->installEventFilter(new ContextClickFilter(view));
}
