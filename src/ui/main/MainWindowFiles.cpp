// How files come into the window: the Open panel and drops.
#include "ui/main/MainWindow.h"

#include "model/SVGFileList.h"

#include <QDragEnterEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>

#include <functional>

namespace {

// Platform panels pick either files or folders, never both in one go, so the panel is Qt's own
// dialog taught to take folders as a choice too. Opening a folder by double-click still enters
// it; "Open" with a folder selected chooses the folder.
class OpenPanel : public QFileDialog {
public:
    OpenPanel(QWidget *parent, std::function<void(const QList<QUrl> &)> onChoice)
        : QFileDialog(parent, QFileDialog::tr("Open")), m_onChoice(std::move(onChoice)) {
        setOption(QFileDialog::DontUseNativeDialog);
        setFileMode(QFileDialog::ExistingFiles);
        setAcceptMode(QFileDialog::AcceptOpen);
        setNameFilter(MainWindow::tr("SVG files and folders (*.svg)"));
    }

    void accept() override {
        const QStringList chosen = selectedFiles();
        if (chosen.isEmpty())
            return;
        QList<QUrl> urls;
        for (const QString &path : chosen) {
            // A name typed that does not exist: the dialog's own handling says so.
            if (!QFileInfo::exists(path)) {
                QFileDialog::accept();
                return;
            }
            urls.append(QUrl::fromLocalFile(path));
        }
        // Skips QFileDialog::accept(), which would walk into a chosen folder instead.
        QDialog::accept(); // NOLINT(bugprone-parent-virtual-call)
        m_onChoice(urls);
    }

private:
    std::function<void(const QList<QUrl> &)> m_onChoice;
};

} // namespace

void MainWindow::showOpenPanel() {
    if (m_openPanel) {
        m_openPanel->raise();
        m_openPanel->activateWindow();
        return;
    }
    QPointer<SVGFileList> files = m_files;
    auto *panel = new OpenPanel(this, [files](const QList<QUrl> &urls) {
        if (files)
            files->importFiles(urls);
    });
    panel->setAttribute(Qt::WA_DeleteOnClose);
    m_openPanel = panel;
    panel->open();
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event) {
    if (SVGFileList::hasDroppableItems(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dragMoveEvent(QDragMoveEvent *event) {
    if (SVGFileList::hasDroppableItems(event->mimeData()))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event) {
    if (m_files->dropItems(event->mimeData()))
        event->acceptProposedAction();
}
