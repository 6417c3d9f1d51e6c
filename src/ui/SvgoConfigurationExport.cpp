#include "ui/SvgoConfigurationExport.h"

#include "engine/SvgoConfiguration.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>

void exportSvgoConfiguration(const Profile &profile, QWidget *parent) {
    // Chosen from a menu, which is gone by now: the dialog belongs to the window behind it.
    QWidget *window = QApplication::activeWindow() ? QApplication::activeWindow() : parent;
    auto *dialog =
        new QFileDialog(window, QApplication::translate("ProfileMenu", "Export svgo Configuration"),
                        QDir::home().filePath(QStringLiteral("svgo.config.mjs")),
                        QApplication::translate("ProfileMenu", "JavaScript modules (*.mjs)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    QObject::connect(
        dialog, &QFileDialog::fileSelected, window, [profile, window](const QString &path) {
            const QString error = SvgoConfiguration::exportTo(profile, path);
            if (error.isEmpty())
                return;
            auto *box = new QMessageBox(
                QMessageBox::Warning,
                QApplication::translate("ProfileMenu", "The configuration could not be exported."),
                error, QMessageBox::Ok, window);
            box->setAttribute(Qt::WA_DeleteOnClose);
            box->open();
        });
    dialog->open();
}
