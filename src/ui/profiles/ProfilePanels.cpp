#include "ui/profiles/ProfilePanels.h"

#include "platform/SecurityScope.h"

#include <QCoreApplication>
#include <QFileDialog>

// The texts keep the editor's context, where they were first translated.
namespace {

void openPanel(QFileDialog *dialog, const std::function<void(const QUrl &)> &onChosen) {
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // Only the native dialogs announce urlSelected; fileSelected comes from Qt's own dialog too.
    QObject::connect(dialog, &QFileDialog::fileSelected, dialog, [onChosen](const QString &path) {
        const QUrl url = QUrl::fromLocalFile(path);
        // Stored only when the system lets us use it; the access itself is not kept.
        if (!startAccessing(url))
            return;
        onChosen(url);
        stopAccessing(url);
    });
    dialog->open();
}

} // namespace

void openOutputFolderPanel(QWidget *parent, const std::function<void(const QUrl &)> &onChosen) {
    auto *dialog =
        new QFileDialog(parent, QCoreApplication::translate("ProfileEditor", "Output Folder"));
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    openPanel(dialog, onChosen);
}

void openConfigurationPanel(QWidget *parent, const std::function<void(const QUrl &)> &onChosen) {
    auto *dialog =
        new QFileDialog(parent, QCoreApplication::translate("ProfileEditor", "SVGO Configuration"));
    dialog->setFileMode(QFileDialog::ExistingFile);
    // svgo reads its configuration from a JavaScript module.
    dialog->setNameFilter(
        QCoreApplication::translate("ProfileEditor", "JavaScript files (*.js *.mjs *.cjs)"));
    openPanel(dialog, onChosen);
}
