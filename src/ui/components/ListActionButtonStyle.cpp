#include "ListActionButtonStyle.h"

#include <QPainter>
#include <QToolButton>

namespace {

// Muted text the way the platform's secondary and tertiary label colours are: the text colour at
// reduced strength, so it follows light and dark palettes.
QColor foreground(const QPalette &palette, bool disabled) {
    QColor color = palette.color(QPalette::Active, QPalette::WindowText);
    color.setAlphaF(disabled ? 0.26f : 0.55f);
    return color;
}

QPixmap tintedPixmap(const QIcon &icon, int extent, qreal ratio, const QColor &color) {
    const QSize pixels = QSize(extent, extent) * ratio;
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    icon.paint(&painter, image.rect());
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), color);
    painter.end();
    QPixmap pixmap = QPixmap::fromImage(image);
    pixmap.setDevicePixelRatio(ratio);
    return pixmap;
}

} // namespace

QIcon ListActionButtonStyle::tinted(const QIcon &icon, const QPalette &palette, bool disabled) {
    if (icon.isNull())
        return icon;
    QIcon result;
    for (qreal ratio : {1.0, 2.0}) {
        // Both modes carry the same colour: the style itself decides how a disabled button looks.
        const QPixmap pixmap = tintedPixmap(icon, 16, ratio, foreground(palette, disabled));
        result.addPixmap(pixmap, QIcon::Normal);
        result.addPixmap(pixmap, QIcon::Disabled);
        result.addPixmap(pixmap, QIcon::Active);
    }
    return result;
}

void ListActionButtonStyle::apply(QToolButton *button, const QIcon &icon) const {
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setFixedSize(size, size);
    button->setIconSize(QSize(16, 16));
    button->setIcon(tinted(icon, button->palette(), m_disabled));
    button->setEnabled(!m_disabled);
    button->setFocusPolicy(m_disabled ? Qt::NoFocus : Qt::TabFocus);
}
