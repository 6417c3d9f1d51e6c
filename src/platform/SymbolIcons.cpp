#include "SymbolIcons.h"

#include <QFile>
#include <QGuiApplication>
#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>

// Outside any namespace: the resource initializer of a static library is a global function.
static void initSymbolResources() {
    Q_INIT_RESOURCE(symbolicons);
}

namespace {

// Freedesktop names first, then names common themes (Breeze, Adwaita) use for the same idea.
const QHash<QString, QStringList> &themeNames() {
    static const QHash<QString, QStringList> names{
        {QStringLiteral("plus"), {QStringLiteral("list-add")}},
        {QStringLiteral("minus"), {QStringLiteral("list-remove")}},
        {QStringLiteral("ellipsis.circle"),
         {QStringLiteral("view-more-horizontal"), QStringLiteral("view-more")}},
        {QStringLiteral("sidebar.right"),
         {QStringLiteral("sidebar-show-right"), QStringLiteral("view-right-pane")}},
        {QStringLiteral("doc.on.clipboard"), {QStringLiteral("edit-copy")}},
        {QStringLiteral("gear"),
         {QStringLiteral("preferences-system"), QStringLiteral("configure")}},
        {QStringLiteral("doc.badge.gearshape"), {QStringLiteral("document-properties")}},
        {QStringLiteral("arrow.triangle.2.circlepath"), {QStringLiteral("view-refresh")}},
        {QStringLiteral("gearshape.2"),
         {QStringLiteral("preferences-other"), QStringLiteral("applications-system")}},
    };
    return names;
}

// The bundled drawings are black strokes; painting them in the current text colour keeps them
// legible on dark and light palettes alike, the way theme symbolic icons behave.
class TintedIconEngine : public QIconEngine {
public:
    explicit TintedIconEngine(const QString &resource) : m_resource(resource), m_source(resource) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap tinted = render(rect.size() * ratio, mode, state);
        tinted.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect, tinted);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override {
        return render(size, mode, state);
    }

    QIconEngine *clone() const override { return new TintedIconEngine(m_resource); }
    QString key() const override { return QStringLiteral("MirandelTintedIconEngine"); }

private:
    QPixmap render(const QSize &size, QIcon::Mode mode, QIcon::State state) const {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        m_source.paint(&painter, image.rect(), Qt::AlignCenter, QIcon::Normal, state);
        painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
        const QPalette palette = QGuiApplication::palette();
        const QPalette::ColorGroup group =
            mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
        painter.fillRect(image.rect(),
                         palette.color(group, mode == QIcon::Selected ? QPalette::HighlightedText
                                                                      : QPalette::WindowText));
        painter.end();
        return QPixmap::fromImage(image);
    }

    QString m_resource;
    QIcon m_source;
};

} // namespace

QIcon symbolIcon(const QString &symbolName) {
    static const bool resourcesReady = (initSymbolResources(), true);
    Q_UNUSED(resourcesReady);

    const auto names = themeNames().constFind(symbolName);
    if (names == themeNames().constEnd())
        return {};
    for (const QString &name : *names) {
        if (QIcon::hasThemeIcon(name))
            return QIcon::fromTheme(name);
    }
    const QString resource = QStringLiteral(":/mirandel/icons/%1.svg").arg(symbolName);
    if (!QFile::exists(resource))
        return {};
    return QIcon(new TintedIconEngine(resource));
}
