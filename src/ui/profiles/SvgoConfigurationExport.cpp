#include "ui/profiles/SvgoConfigurationExport.h"

#include "engine/SvgoConfiguration.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

void exportSvgoConfiguration(const Profile &profile, QWidget *parent) {
    // Chosen from a menu, which is gone by now: the dialog belongs to the window behind it.
    QWidget *window = QApplication::activeWindow() ? QApplication::activeWindow() : parent;
    // A chosen file is copied as it is, so it keeps its kind of module (.js, .mjs or .cjs).
    const QString suffix = profile.svgoConfigFile
                               ? QFileInfo(profile.svgoConfigFile->toLocalFile()).suffix()
                               : QStringLiteral("mjs");
    auto *dialog = new QFileDialog(
        window, QApplication::translate("ProfileMenu", "Export svgo Configuration"),
        QDir::home().filePath(QStringLiteral("svgo.config.") + suffix),
        QApplication::translate("ProfileMenu", "JavaScript files (*.js *.mjs *.cjs)"));
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
