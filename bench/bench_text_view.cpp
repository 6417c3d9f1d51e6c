// How long the output view takes to show large texts: for 1, 10 and 20 MB of svgo-like output,
// the time to set the text and paint the first screen, the time until the whole text is in the
// view, and the time to paint a screen in the middle and to read the text back after an edit.
// Run with QT_QPA_PLATFORM=offscreen.

#include "ui/components/TextView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTextStream>
#include <cstdio>

namespace {

// Pretty-printed icons wrapped as list items, one document of roughly 1 KB each, lines separated by
// CR LF as the text assembly writes them.
QString typicalOutput(qsizetype bytes) {
    QString text;
    text.reserve(bytes + 2048);
    text += QStringLiteral("<ul>\r\n");
    for (int icon = 0; text.size() < bytes; ++icon) {
        text +=
            QStringLiteral("\t<li>\r\n\t\t<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"24\" "
                           "height=\"24\" fill=\"none\" viewBox=\"0 0 24 24\" id=\"icon-%1\">\r\n")
                .arg(icon);
        for (int path = 0; path < 8; ++path)
            text += QStringLiteral("\t\t\t<path stroke=\"currentColor\" stroke-linecap=\"round\" "
                                   "stroke-width=\"2\" d=\"M%1 %2v14M5 12h14l-3 4-2.5 1.5\"/>\r\n")
                        .arg(path + 3)
                        .arg(icon % 19);
        text += QStringLiteral("\t\t</svg>\r\n\t</li>\r\n");
    }
    text += QStringLiteral("</ul>");
    return text;
}

double ms(const QElapsedTimer &timer) {
    return timer.nsecsElapsed() / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    std::printf("%-6s %10s %14s %14s %12s %14s %10s\n", "size", "lines", "first screen",
                "fully loaded", "mid screen", "edited text()", "set (ms)");
    for (const int megabytes : {1, 10, 20}) {
        const QString text = typicalOutput(qsizetype(megabytes) * 1024 * 1024);
        TextView view;
        view.resize(800, 400);
        view.show();
        QApplication::processEvents();

        QElapsedTimer timer;
        timer.start();
        view.setText(text);
        const double set = ms(timer);
        view.grab();
        const double firstScreen = ms(timer);

        // The tail comes in while the event loop idles, as it would in the window.
        while (view.isLoading())
            QApplication::processEvents();
        const double loaded = ms(timer);

        timer.restart();
        view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
        view.grab();
        const double middle = ms(timer);

        view.textCursor().insertText(QStringLiteral("x"));
        timer.restart();
        const qsizetype length = view.text().size();
        const double readBack = ms(timer);
        if (length != text.size() + 1)
            std::printf("unexpected length after an edit: %lld\n", static_cast<long long>(length));

        std::printf("%3d MB %10d %11.1f ms %11.1f ms %9.1f ms %11.1f ms %10.1f\n", megabytes,
                    view.blockCount(), firstScreen, loaded, middle, readBack, set);
        std::fflush(stdout);
    }
    return 0;
}
