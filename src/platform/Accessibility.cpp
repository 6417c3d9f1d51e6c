#include "Accessibility.h"

#include <QAccessible>
#include <QWidget>

void announce(QWidget *source, const QString &message) {
    if (!source || message.isEmpty())
        return;
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QAccessibleAnnouncementEvent event(source, message);
    QAccessible::updateAccessibility(&event);
#else
    // Older Qt has no announcement event. An alert makes screen readers read the source's
    // description, so the message travels there.
    source->setAccessibleDescription(message);
    QAccessibleEvent changed(source, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent alert(source, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
#endif
}
