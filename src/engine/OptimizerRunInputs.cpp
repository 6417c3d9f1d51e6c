// How a run reads its inputs: only regular files, only up to a size, converted to UTF-8 where
// svgo needs it, and drawn for the rendering check while svgo works on them.

#include "engine/FileReplacement.h"
#include "engine/InputGuard.h"
#include "engine/OptimizerRun.h"
#include "engine/RenderPool.h"
#include "engine/VisualCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtConcurrent>

bool OptimizerRun::guardInput(int index) {
    // Only regular files are read (see InputGuard::open), and only up to a size.
    const QString &path = m_paths.at(index);
    QFile file(path);
    bool notRegular = false;
    if (const QString failure = InputGuard::open(file, &notRegular); !failure.isEmpty()) {
        if (notRegular) {
            failFile(index, failure);
            return false;
        }
        const QFileInfo info(path);
        if (info.isSymLink() && !info.exists()) {
            failFile(index,
                     QFileInfo(info.symLinkTarget()).isSymLink() || info.symLinkTarget() == path
                         ? tr("The link leads round in a circle and names no file.")
                         : tr("The link points to %1, which does not exist.")
                               .arg(QDir::toNativeSeparators(info.symLinkTarget())));
            return false;
        }
        // svgo says the same in its words; the file may also come back before it is run.
        return true;
    }
    m_read[index] = FileReplacement::Identity::ofOpen(file.handle());
    std::optional<QByteArray> bytes = InputGuard::read(file);
    if (!bytes) {
        failFile(index, InputGuard::tooLargeMessage());
        return false;
    }
    m_originals[index] = std::move(*bytes);
    const InputGuard::Checked checked = InputGuard::check(m_originals.at(index));
    if (!checked.failure.isEmpty()) {
        failFile(index, checked.failure);
        return false;
    }
    if (checked.svg != m_originals.at(index)) {
        // svgo reads UTF-8 only: it gets a converted copy, under the same name so that its
        // reports still name the file.
        if (!m_convertedInputs)
            m_convertedInputs = std::make_unique<QTemporaryDir>();
        const QString folder = m_convertedInputs->filePath(QString::number(index));
        QDir().mkpath(folder);
        QFile copy(folder + QLatin1Char('/') + QFileInfo(m_paths.at(index)).fileName());
        if (!copy.open(QIODevice::WriteOnly) || copy.write(checked.svg) != checked.svg.size()) {
            failFile(index, tr("Cannot convert the file to UTF-8: %1").arg(copy.errorString()));
            return false;
        }
        m_inputs[index] = copy.fileName();
        m_originals[index] = checked.svg;
    }
    return true;
}

void OptimizerRun::startCheck(int index) {
    if (m_profile.checkRendering && !m_originals.at(index).isEmpty())
        m_checks[index] = QtConcurrent::run(&renderPool(), [svg = m_originals.at(index)] {
            return std::make_shared<VisualCheck>(svg);
        });
}
