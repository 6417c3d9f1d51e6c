#include "ui/RestoreOriginals.h"

#include "model/SVGFileList.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>

RestoreOriginals::RestoreOriginals(QWidget *window, SVGFileList *files)
    : QObject(window), m_window(window), m_files(files) {
    confirm = [this](const QList<OriginalsBackup::Original> &originals) {
        QMessageBox box(QMessageBox::Question, tr("Restore Originals"),
                        tr("Restore the originals of %n file(s)?", nullptr, int(originals.size())),
                        QMessageBox::Cancel, m_window);
        box.setInformativeText(tr("The optimized files are replaced by the copies kept when "
                                  "they were overwritten."));
        QPushButton *restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
        box.setDefaultButton(restore);
        box.exec();
        return box.clickedButton() == restore;
    };
    askChanged = [this](const OriginalsBackup::Original &original) {
        QMessageBox box(
            QMessageBox::Warning, tr("Restore Originals"),
            tr("“%1” was changed after it was optimized.").arg(QFileInfo(original.path).fileName()),
            QMessageBox::Cancel, m_window);
        box.setInformativeText(
            tr("Replacing it with the original from %1 loses those changes.")
                .arg(QLocale().toString(original.runTime.toLocalTime(), QLocale::ShortFormat)));
        QPushButton *replace = box.addButton(tr("Replace"), QMessageBox::DestructiveRole);
        QPushButton *skip = box.addButton(tr("Skip"), QMessageBox::RejectRole);
        box.setDefaultButton(skip);
        box.exec();
        if (box.clickedButton() == replace)
            return Answer::Replace;
        return box.clickedButton() == skip ? Answer::Skip : Answer::Cancel;
    };
    reportErrors = [this](const QStringList &errors) {
        QMessageBox box(QMessageBox::Warning, tr("Restore Originals"),
                        tr("Some originals could not be restored."), QMessageBox::Ok, m_window);
        box.setDetailedText(errors.join(QLatin1Char('\n')));
        box.exec();
    };
    reportNothingKept = [this] {
        QMessageBox::information(m_window, tr("Restore Originals"),
                                 tr("No originals are kept for these files."));
    };
}

bool RestoreOriginals::hasOriginals(const QStringList &ids) {
    return !OriginalsBackup::originals(ids, OriginalsBackup::root(), false).isEmpty();
}

QStringList RestoreOriginals::run(const QStringList &ids) {
    const QList<OriginalsBackup::Original> originals = OriginalsBackup::originals(ids);
    if (originals.isEmpty()) {
        if (reportNothingKept)
            reportNothingKept();
        return {};
    }
    if (!confirm(originals))
        return {};
    QStringList restored;
    QStringList errors;
    for (const OriginalsBackup::Original &original : originals) {
        if (original.changedSinceRun) {
            const Answer answer = askChanged(original);
            if (answer == Answer::Cancel)
                break;
            if (answer == Answer::Skip)
                continue;
        }
        if (const QString error = OriginalsBackup::restore(original); !error.isEmpty())
            errors.append(error);
        else
            restored.append(original.path);
    }
    // The restored files are no longer what the results describe.
    m_files->refreshResults(restored);
    if (!errors.isEmpty() && reportErrors)
        reportErrors(errors);
    return restored;
}
