// Renders the scalable application icon into the PNG sizes that desktops look up in the hicolor
// theme, so the raster icons always match the SVG and never need to be committed.
//
//   render_icon <icon.svg> <output folder> <size>...
//
// Writes <output folder>/<size>x<size>/apps/<icon base name>.png for every size.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

int main(int argc, char *argv[]) {
    // The offscreen platform keeps the tool usable on build machines without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QGuiApplication::arguments();
    QTextStream out(stdout);
    if (args.size() < 4) {
        out << "usage: render_icon <icon.svg> <output folder> <size>...\n";
        return 2;
    }
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        out << "render_icon: cannot read " << args.at(1) << '\n';
        return 1;
    }
    const QString name = QFileInfo(args.at(1)).completeBaseName();
    for (const QString &sizeText : args.mid(3)) {
        bool ok = false;
        const int size = sizeText.toInt(&ok);
        if (!ok || size <= 0) {
            out << "render_icon: not a size: " << sizeText << '\n';
            return 2;
        }
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
        if (!QDir().mkpath(folder) || !image.save(folder + QLatin1Char('/') + name + ".png")) {
            out << "render_icon: cannot write into " << folder << '\n';
            return 1;
        }
    }
    return 0;
}
