#include "app/BatchMode.h"
#include "app/Translators.h"
#include "model/SVGFileList.h"
#include "ui/Application.h"
#include "ui/main/MainWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char *argv[]) {
    // The preferences live under these names, so they must be set before any key is read.
    QCoreApplication::setOrganizationName(QStringLiteral("Mirandel"));
    QCoreApplication::setOrganizationDomain(QStringLiteral("mirandel.app"));
    QCoreApplication::setApplicationName(QStringLiteral("Mirandel"));
    // Scripts run without a display: answered before any window system is touched.
    if (BatchMode::isRequested(argc, argv))
        return BatchMode::run(argc, argv);

    QApplication app(argc, argv);
    installTranslators(app);

    Application application;
    MainWindow *window = application.newMainWindow();
    // The only command-line use: files and folders to list, as the desktop entry and file
    // managers' "Open With" pass them. Qt has already taken its own options out of the list.
    const QStringList paths = QApplication::arguments().mid(1);
    for (const QString &path : paths) {
        const QFileInfo info(path);
        const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
        if (info.isDir())
            window->files()->addFolder(url);
        else if (info.isFile())
            window->files()->addFile(url);
        else
            QTextStream(stdout) << "Not a file or folder: " << path << Qt::endl;
    }
    return app.exec();
}
