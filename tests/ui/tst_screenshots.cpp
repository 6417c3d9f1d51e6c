#include "engine/SvgoResolver.h"
#include "model/SVGFileList.h"
#include "ui/Application.h"
#include "ui/MainWindow.h"
#include "ui/SetupSheet.h"
#include "ui/TextOutputWindow.h"

#include <QDir>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// Renders the main window, the setup sheet and the output window offscreen into the build folder,
// for the README and for looking at them during review. A blank picture means a window drew
// nothing.
class TestScreenshots : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home;
    std::unique_ptr<Application> application;

    static QString outputFolder() { return QStringLiteral(MIRANDEL_BINARY_DIR "/screenshots"); }

    static void save(QWidget *widget, const QString &name) {
        const QImage image = widget->grab().toImage();
        QVERIFY(!image.isNull());
        // Not blank: a drawn window has many distinct colours; an empty one has one or two.
        QSet<QRgb> colors;
        for (int y = 0; y < image.height() && colors.size() < 50; y += 3)
            for (int x = 0; x < image.width() && colors.size() < 50; x += 3)
                colors.insert(image.pixel(x, y));
        QVERIFY2(colors.size() >= 10, qPrintable(name));
        QVERIFY(QDir().mkpath(outputFolder()));
        QVERIFY(image.save(outputFolder() + QLatin1Char('/') + name));
    }

private slots:
    void initTestCase() {
        QVERIFY(home.isValid());
        QCoreApplication::setOrganizationName(QStringLiteral("MirandelTest"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_screenshots"));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, home.path());
        // A login shell that knows no svgo, brew or npm, and no shipped svgo, so the sheet shows.
        SvgoResolver::setShippedSvgo(QString());
        qputenv("HOME", home.path().toUtf8());
        qputenv("ZDOTDIR", home.path().toUtf8());
        QFile profile(home.filePath(QStringLiteral(".zprofile")));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write("export PATH='" + home.filePath(QStringLiteral("bin")).toUtf8() + "'\n");
        profile.close();
        application = std::make_unique<Application>();
    }

    void cleanupTestCase() { application.reset(); }

    void mainWindowAndSetupSheet() {
        MainWindow *window = application->newMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTRY_VERIFY_WITH_TIMEOUT(window->setupSheet(), 20000);
        SetupSheet *sheet = window->setupSheet();
        QVERIFY(QTest::qWaitForWindowExposed(sheet));
        save(sheet, QStringLiteral("setup-sheet.png"));
        sheet->hide();

        const QString icons = home.filePath(QStringLiteral("Icons"));
        QVERIFY(QDir().mkpath(icons));
        for (const QString name : {"arrow-left.svg", "arrow-right.svg", "logo.svg.svg", "menu.svg",
                                   "search.svg", "settings.svg"}) {
            QFile file(icons + QLatin1Char('/') + name);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("<svg xmlns=\"http://www.w3.org/2000/svg\"/>");
        }
        window->files()->addFolder(QUrl::fromLocalFile(icons));
        window->files()->setSelection({icons + QStringLiteral("/menu.svg")});
        QTest::qWait(400); // let the fades of the list's controls settle
        save(window, QStringLiteral("main-window.png"));
    }

    void textOutputWindow() {
        QString text = QStringLiteral("<ul>");
        for (const char *shape : {"<circle cx=\"8\" cy=\"8\" r=\"6\"/>", "<path d=\"M2 8h12\"/>",
                                  "<rect width=\"12\" height=\"12\" x=\"2\" y=\"2\" rx=\"2\"/>"})
            text += QStringLiteral("\r\n\t<li>\r\n\t\t<svg xmlns=\"http://www.w3.org/2000/svg\" "
                                   "width=\"16\" height=\"16\" viewBox=\"0 0 16 16\">%1</svg>"
                                   "\r\n\t</li>")
                        .arg(QLatin1String(shape));
        text += QStringLiteral("\r\n</ul>");
        TextOutputWindow window(text);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        save(&window, QStringLiteral("text-output-window.png"));
    }
};

QTEST_MAIN(TestScreenshots)
#include "tst_screenshots.moc"
