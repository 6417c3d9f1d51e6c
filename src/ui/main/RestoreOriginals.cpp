#include "ui/main/RestoreOriginals.h"

#include "model/SVGFileList.h"
#include "ui/main/RunProgress.h"

#include <QFileInfo>
#include <QFutureWatcher>
#include <QHash>
#include <QLocale>
#include <QMessageBox>
#include <QPromise>
#include <QPushButton>
#include <QSet>
#include <QtConcurrent>

#include <algorithm>
#include <climits>
#include <memory>

namespace {

// A symlink and its target, both listed, come back as one file: putting it back twice would
// report the second attempt as an error.
QList<OriginalsBackup::Original> onePerFile(const QList<OriginalsBackup::Original> &originals) {
    QList<OriginalsBackup::Original> unique;
    QSet<QString> seen;
    for (const OriginalsBackup::Original &original : originals) {
        QString key = QFileInfo(original.target).canonicalFilePath();
        if (key.isEmpty())
            key = original.target;
        if (!seen.contains(key)) {
            seen.insert(key);
            unique.append(original);
        }
    }
    return unique;
}

struct Outcome {
    QStringList restored;
    QStringList errors;
};

} // namespace

RestoreOriginals *RestoreOriginals::start(QWidget *window, SVGFileList *files,
                                          RunProgress *progress, const QStringList &ids) {
    auto *flow = new RestoreOriginals(window, files, progress, ids);
    flow->lookUp();
    return flow;
}

RestoreOriginals::RestoreOriginals(QWidget *window, SVGFileList *files, RunProgress *progress,
                                   const QStringList &ids)
    : QObject(window), m_window(window), m_files(files), m_progress(progress), m_ids(ids) {}

bool RestoreOriginals::hasOriginals(const QStringList &ids) {
    return !OriginalsBackup::known(ids).isEmpty();
}

QString RestoreOriginals::namesText(const QStringList &paths, int shown) {
    QStringList names;
    for (const QString &path : paths.mid(0, shown))
        names.append(QFileInfo(path).fileName());
    const QString list = names.join(tr(", "));
    if (paths.size() <= shown)
        return list;
    return tr("%1 and %Ln more", nullptr, int(paths.size() - shown)).arg(list);
}

void RestoreOriginals::lookUp() {
    // Reading every kept file's state takes a while for thousands of files.
    const QString root = OriginalsBackup::root();
    auto found = std::make_shared<QList<OriginalsBackup::Original>>();
    QFuture<void> lookup = QtConcurrent::run([ids = m_ids, root, found] {
        *found = onePerFile(OriginalsBackup::originals(ids, root, true));
    });
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, found] {
        watcher->deleteLater();
        if (watcher->isCanceled())
            return finish({}, {});
        m_originals = *found;
        // Put back, asked about and named in the order the list shows, not the order they were
        // found in.
        if (m_files) {
            QHash<QString, int> rows;
            const QList<SVGFile> listed = m_files->files();
            for (int row = 0; row < listed.size(); ++row)
                rows.insert(listed.at(row).id, row);
            std::stable_sort(
                m_originals.begin(), m_originals.end(),
                [&rows](const OriginalsBackup::Original &a, const OriginalsBackup::Original &b) {
                    return rows.value(a.path, INT_MAX) < rows.value(b.path, INT_MAX);
                });
        }
        confirm();
    });
    watcher->setFuture(lookup);
    if (m_progress)
        m_progress->track(lookup);
}

void RestoreOriginals::ask(QMessageBox *box,
                           const std::function<void(QAbstractButton *)> &answered) {
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::WindowModal);
    m_box = box;
    connect(box, &QMessageBox::finished, this,
            [this, box, answered] { answered(box->clickedButton()); });
    box->open();
}

void RestoreOriginals::confirm() {
    if (m_originals.isEmpty()) {
        auto *box = new QMessageBox(QMessageBox::Information, tr("Restore Originals"),
                                    tr("No originals are kept for these files."), QMessageBox::Ok,
                                    m_window);
        return ask(box, [this](QAbstractButton *) { finish({}, {}); });
    }
    QStringList paths;
    for (const OriginalsBackup::Original &original : std::as_const(m_originals))
        paths.append(original.path);
    auto *box =
        new QMessageBox(QMessageBox::Question, tr("Restore Originals"),
                        tr("Restore the originals of %Ln files?", nullptr, int(m_originals.size())),
                        QMessageBox::Cancel, m_window);
    box->setInformativeText(namesText(paths) + QStringLiteral("\n\n") +
                            tr("The optimized files are replaced by the copies kept when "
                               "they were overwritten."));
    QPushButton *restore = box->addButton(tr("Restore"), QMessageBox::AcceptRole);
    box->setDefaultButton(restore);
    ask(box, [this, restore](QAbstractButton *clicked) {
        if (clicked != restore)
            return finish({}, {});
        m_nextChanged = 0;
        askNextChanged();
    });
}

void RestoreOriginals::askNextChanged() {
    // Files changed after their run are asked about one by one; the rest go back unasked.
    while (m_nextChanged < m_originals.size() && !m_originals.at(m_nextChanged).changedSinceRun)
        m_chosen.append(m_originals.at(m_nextChanged++));
    if (m_nextChanged >= m_originals.size())
        return restore();
    const OriginalsBackup::Original original = m_originals.at(m_nextChanged++);
    auto *box = new QMessageBox(
        QMessageBox::Warning, tr("Restore Originals"),
        tr("“%1” was changed after it was optimized.").arg(QFileInfo(original.path).fileName()),
        QMessageBox::Cancel, m_window);
    box->setInformativeText(
        tr("Replacing it with the original from %1 loses those changes.")
            .arg(QLocale().toString(original.runTime.toLocalTime(), QLocale::ShortFormat)));
    QPushButton *replace = box->addButton(tr("Replace"), QMessageBox::DestructiveRole);
    QPushButton *skip = box->addButton(tr("Skip"), QMessageBox::RejectRole);
    box->setDefaultButton(skip);
    ask(box, [this, original, replace, skip](QAbstractButton *clicked) {
        if (clicked == replace)
            m_chosen.append(original);
        else if (clicked != skip) // Cancel (or Escape) ends the flow; nothing is put back.
            return finish({}, {});
        askNextChanged();
    });
}

void RestoreOriginals::restore() {
    if (m_chosen.isEmpty())
        return finish({}, {});
    auto outcome = std::make_shared<Outcome>();
    QFuture<void> work = QtConcurrent::run([chosen = m_chosen, outcome](QPromise<void> &promise) {
        promise.setProgressRange(0, int(chosen.size()));
        for (qsizetype i = 0; i < chosen.size(); ++i) {
            if (promise.isCanceled())
                break;
            const OriginalsBackup::Original &original = chosen.at(i);
            if (const QString error = OriginalsBackup::restore(original); !error.isEmpty())
                outcome->errors.append(error);
            else
                outcome->restored.append(original.path);
            promise.setProgressValue(int(i + 1));
        }
    });
    auto *watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcher<void>::finished, this, [this, watcher, outcome] {
        watcher->deleteLater();
        finish(outcome->restored, outcome->errors);
    });
    watcher->setFuture(work);
    if (m_progress)
        m_progress->track(work);
}

void RestoreOriginals::finish(const QStringList &restored, const QStringList &errors) {
    // A file put back is no longer what its result describes; every listed path of it (a
    // symlink and its target) drops the result. So does one that was changed since its run and
    // skipped: its row then shows the file as it is now.
    if (m_files) {
        QSet<QString> files;
        for (const QString &path : restored)
            files.insert(QFileInfo(path).canonicalFilePath());
        QStringList putBack;
        for (const QString &id : std::as_const(m_ids))
            if (files.contains(QFileInfo(id).canonicalFilePath()))
                putBack.append(id);
        m_files->refreshResults(putBack, true);
        m_files->refreshResults(m_ids, false);
    }
    // Said when it is over, since the restore ran in the background; a flow the user cancelled
    // or that found nothing to do has said all there is already.
    if (restored.isEmpty() && errors.isEmpty()) {
        emit finished(restored);
        deleteLater();
        return;
    }
    QString text = tr("%Ln originals restored.", nullptr, int(restored.size()));
    if (!errors.isEmpty())
        text += QLatin1Char(' ') + tr("%Ln could not be restored.", nullptr, int(errors.size()));
    auto *box = new QMessageBox(errors.isEmpty() ? QMessageBox::Information : QMessageBox::Warning,
                                tr("Restore Originals"), text, QMessageBox::Ok, m_window);
    if (!restored.isEmpty())
        box->setInformativeText(namesText(restored));
    if (!errors.isEmpty())
        box->setDetailedText(errors.join(QLatin1Char('\n')));
    ask(box, [this, restored](QAbstractButton *) {
        emit finished(restored);
        deleteLater();
    });
}
