// Renders the windows the README shows, offscreen, as PNG files:
//
//     mirandel_screenshots <folder>
//
// writes main-window.png, text-output-window.png, contact-sheet-dark.png and set-audit.png into
// <folder>; `make screenshots` runs it into docs/. It is a program, not a test: pictures prove
// nothing, and making them should not slow the test run down.
#include "app/Translators.h"
#include "engine/ShippedTools.h"
#include "model/SVGFileList.h"
#include "ui/Application.h"
#include "ui/main/AuditPanel.h"
#include "ui/main/ContactSheet.h"
#include "ui/main/ContactSheetDrawer.h"
#include "ui/main/ContactSheetModel.h"
#include "ui/main/Inspector.h"
#include "ui/main/MainWindow.h"
#include "ui/main/SetupSheet.h"
#include "ui/output/TextOutputWindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QImage>
#include <QListView>
#include <QSettings>
#include <QTemporaryDir>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>
#include <QWindow>

#include <cstdio>
#include <functional>

namespace {

// Keeps the windows working until `done` holds; false when `limit` passes first.
bool waitFor(const std::function<bool()> &done, int limitMs) {
    const QDeadlineTimer deadline(limitMs);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

void settle(int ms) {
    const QDeadlineTimer deadline(ms);
    waitFor([&] { return deadline.hasExpired(); }, 2 * ms);
}

bool fail(const QString &message) {
    std::fprintf(stderr, "mirandel_screenshots: %s\n", qUtf8Printable(message));
    return false;
}

bool save(QWidget *widget, const QDir &folder, const QString &name) {
    widget->show();
    if (!waitFor([widget] { return widget->isVisible() && widget->windowHandle()->isExposed(); },
                 5000))
        return fail(QStringLiteral("%1: the window never appeared").arg(name));
    settle(400); // let fades and the first layout pass finish
    const QImage image = widget->grab().toImage();
    // A drawn window has many distinct colours; one that drew nothing has one or two.
    QSet<QRgb> colors;
    for (int y = 0; y < image.height() && colors.size() < 50; y += 3)
        for (int x = 0; x < image.width() && colors.size() < 50; x += 3)
            colors.insert(image.pixel(x, y));
    if (colors.size() < 10)
        return fail(QStringLiteral("%1: the window drew nothing").arg(name));
    if (!image.save(folder.filePath(name)))
        return fail(QStringLiteral("%1: cannot write into %2").arg(name, folder.path()));
    std::printf("%s\n", qUtf8Printable(folder.filePath(name)));
    return true;
}

QString outputSample() {
    QString text = QStringLiteral("<ul>");
    for (const char *shape : {"<circle cx=\"8\" cy=\"8\" r=\"6\"/>", "<path d=\"M2 8h12\"/>",
                              "<rect width=\"12\" height=\"12\" x=\"2\" y=\"2\" rx=\"2\"/>"})
        text += QStringLiteral("\r\n\t<li>\r\n\t\t<svg xmlns=\"http://www.w3.org/2000/svg\" "
                               "width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">%1</svg>"
                               "\r\n\t</li>")
                    .arg(QLatin1String(shape));
    return text + QStringLiteral("\r\n</ul>");
}

// A second window's contact sheet on dark: Bootstrap's icons as shipped with the tools, two of
// them with a colour of their own that vanishes on dark, and one whose held-back output lost a
// part, so both marks show.
bool saveContactSheet(Application &application, const QDir &folder, const QString &icons) {
    const QDir bootstrap(ShippedTools::folder() +
                         QStringLiteral("/node_modules/bootstrap-icons/icons"));
    const QStringList names =
        bootstrap.entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name);
    if (names.size() < 1000)
        return fail(QStringLiteral("contact-sheet-dark.png: no Bootstrap icons in %1")
                        .arg(bootstrap.path()));
    const QString set = icons + QStringLiteral("/Set");
    QDir().mkpath(set);
    MainWindow *window = application.newMainWindow();
    if (window->setupSheet())
        window->setupSheet()->hide();
    QString changed;
    QByteArray changedOutput;
    for (int i = 0; i < 120; ++i) {
        const QString name = names.at(i * 17 % names.size());
        QFile in(bootstrap.filePath(name));
        if (!in.open(QIODevice::ReadOnly))
            return fail(in.errorString());
        QByteArray svg = in.readAll();
        if (i == 23 || i == 58)
            svg.replace("currentColor", "#1c1c1e");
        QFile out(set + QLatin1Char('/') + name);
        if (!out.open(QIODevice::WriteOnly) || out.write(svg) < 0)
            return fail(out.errorString());
        out.close();
        window->files()->addFile(QUrl::fromLocalFile(out.fileName()));
        if (i == 41) {
            changed = out.fileName();
            // The output lost its last shape, as an over-eager plugin might leave it.
            changedOutput = svg.left(svg.lastIndexOf("<path")) + "</svg>";
        }
    }
    FileResult result;
    result.status = FileResult::Status::LooksDifferent;
    result.differentOutput = changedOutput;
    window->files()->setResult(changed, result);
    window->contactSheetAction()->trigger();
    ContactSheet *sheet = window->contactSheet();
    sheet->backgroundBox()->setCurrentIndex(
        sheet->backgroundBox()->findData(QStringLiteral("dark")));
    sheet->sizeBox()->setCurrentIndex(sheet->sizeBox()->findData(32));
    sheet->resize(760, 540);
    const auto drawn = [sheet] {
        for (int row = 0; row < sheet->model()->rowCount(); ++row)
            if (sheet->view()->viewport()->rect().intersects(
                    sheet->view()->visualRect(sheet->model()->index(row))) &&
                !sheet->model()->drawingOf(row))
                return false;
        return !sheet->model()->drawer()->isBusy();
    };
    sheet->show();
    if (!waitFor(drawn, 60000))
        return fail(QStringLiteral("contact-sheet-dark.png: the icons were never drawn"));
    return save(sheet, folder, QStringLiteral("contact-sheet-dark.png"));
}

} // namespace

// A third window auditing a small set: two flags that share their ids, an icon of another size
// and one with a script; the findings are open and the first one is chosen.
bool saveSetAudit(Application &application, const QDir &folder, const QString &icons) {
    const QString set = icons + QStringLiteral("/Audit");
    QDir().mkpath(set);
    const QByteArray flag =
        "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\"><defs><linearGradient "
        "id=\"a\"><stop stop-color=\"COLOUR\"/></linearGradient></defs><rect width=\"24\" "
        "height=\"16\" y=\"4\" fill=\"url(#a)\"/></svg>";
    const std::pair<const char *, QByteArray> files[] = {
        {"flag-green.svg", QByteArray(flag).replace("COLOUR", "#090")},
        {"flag-red.svg", QByteArray(flag).replace("COLOUR", "#c00")},
        {"logo.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 512 512\"><circle "
                     "cx=\"256\" cy=\"256\" r=\"200\"/></svg>"},
        {"widget.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 24 24\"><script>"
                       "alert(1)</script><path d=\"M2 2h20v20H2z\"/></svg>"},
    };
    for (const auto &[name, svg] : files) {
        QFile file(set + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(svg) != svg.size())
            return fail(file.errorString());
    }
    MainWindow *window = application.newMainWindow();
    AuditPanel *panel = window->inspector()->auditPanel();
    bool audited = false;
    QObject::connect(panel, &AuditPanel::audited, panel, [&audited] { audited = true; });
    window->files()->addFolder(QUrl::fromLocalFile(set));
    window->show();
    if (!waitFor([&audited] { return audited; }, 20000))
        return fail(QStringLiteral("set-audit.png: the audit never ended"));
    panel->header()->setChecked(true);
    if (QTreeWidgetItem *first = panel->findingsView()->topLevelItem(0)) {
        first->setExpanded(true);
        panel->findingsView()->setCurrentItem(first);
        window->files()->setSelection(
            {set + QStringLiteral("/flag-green.svg"), set + QStringLiteral("/flag-red.svg")});
    }
    return save(window, folder, QStringLiteral("set-audit.png"));
}

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    // In English as users see it, with "1 finding" and "3 findings" where the texts count.
    installTranslators(app, QLocale(QLocale::English));
    QApplication::setOrganizationName(QStringLiteral("Mirandel"));
    QApplication::setApplicationName(QStringLiteral("Mirandel"));
    if (QApplication::arguments().size() != 2) {
        std::fprintf(stderr, "usage: mirandel_screenshots <folder>\n");
        return 2;
    }
    const auto stop = [](const QString &message) { return fail(message) ? 0 : 1; };
    const QDir folder(QApplication::arguments().at(1));
    QTemporaryDir home;
    if (!QDir().mkpath(folder.path()) || !home.isValid())
        return stop(QStringLiteral("cannot make %1 or a temporary folder").arg(folder.path()));

    // Settings and a login shell of its own, so the user's settings and tools stay out of the
    // pictures. That shell knows no svgo; the shipped one is taken when there is one, else the
    // setup sheet comes up and is put away first.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("ZDOTDIR", QFile::encodeName(home.path()));
    QFile profile(home.filePath(QStringLiteral(".zprofile")));
    if (!profile.open(QIODevice::WriteOnly))
        return stop(profile.errorString());
    profile.write("export PATH='" + QFile::encodeName(home.filePath(QStringLiteral("bin"))) +
                  "'\n");
    profile.close();

    const QString icons = home.filePath(QStringLiteral("Icons"));
    QDir().mkpath(icons);
    for (const char *name : {"arrow-left.svg", "arrow-right.svg", "logo.svg.svg", "menu.svg",
                             "search.svg", "settings.svg"}) {
        QFile file(icons + QLatin1Char('/') + QLatin1String(name));
        if (!file.open(QIODevice::WriteOnly))
            return stop(file.errorString());
        file.write("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
    }

    Application application;
    MainWindow *window = application.newMainWindow();
    bool lookedUp = false;
    QObject::connect(window, &MainWindow::svgoLookedUp, window, [&lookedUp] { lookedUp = true; });
    window->show();
    if (!waitFor([&lookedUp] { return lookedUp; }, 20000))
        return stop(QStringLiteral("the svgo lookup never ended"));
    if (window->setupSheet())
        window->setupSheet()->hide();

    window->files()->addFolder(QUrl::fromLocalFile(icons));
    window->files()->setSelection({icons + QStringLiteral("/menu.svg")});
    bool saved = save(window, folder, QStringLiteral("main-window.png"));

    TextOutputWindow output(outputSample());
    saved = save(&output, folder, QStringLiteral("text-output-window.png")) && saved;
    saved = saveContactSheet(application, folder, icons) && saved;
    saved = saveSetAudit(application, folder, icons) && saved;
    return saved ? 0 : 1;
}
