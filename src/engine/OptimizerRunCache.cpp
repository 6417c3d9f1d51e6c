// The results cache's part of a run (OptimizerRun.cpp has the rest): what goes into its
// context, and files answered from it.
#include "engine/OptimizerRun.h"

#include "engine/OutputReview.h"
#include "engine/ResultsCache.h"
#include "model/Settings.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QFile>
#include <QFileInfo>

void OptimizerRun::openCache(const SvgoInstallation &installation) {
    // An svgo of no known version (a script that runs some svgo) could change unseen.
    if (!m_options.resultsCache.value_or(Keys::cacheResults().get()) ||
        installation.version.isEmpty())
        return;
    QByteArray configuration = "svgo's defaults";
    if (!m_configFile.isEmpty()) {
        QFile file(m_configFile);
        if (!file.open(QIODevice::ReadOnly))
            return;
        configuration = file.readAll();
        if (m_profile.svgoConfigFile) {
            // A configuration of the user's own may read other files, which its bytes do not
            // show: then nothing is remembered. It may also look at the file's name.
            if (configuration.contains("import") || configuration.contains("require"))
                return;
            m_cacheByPath = true;
        }
    }
    // Ids named after the file make the output depend on the file's name.
    if (m_profile.uniqueIdsInFiles && !m_textMode)
        m_cacheByPath = true;
    // A new build of the program may review differently; its messages follow the language.
    const QFileInfo program(QCoreApplication::applicationFilePath());
    QByteArray context;
    QDataStream stream(&context, QIODevice::WriteOnly);
    stream << QCoreApplication::applicationVersion() << program.size()
           << program.lastModified().toMSecsSinceEpoch()
           << OutputReview::tr("svgo could not make the file smaller; it stays as it was.")
           << installation.executable << installation.packageFolder << installation.version
           << installation.node << int(installation.engine()) << configuration
           << int(m_profile.mode) << m_profile.checkRendering
           << m_profile.keepOriginalWhenNotSmaller << m_profile.uniqueIdsInFiles
           << m_profile.automaticPrecision << m_profile.findBreakingPlugins;
    m_cache = std::make_unique<ResultsCache>(
        m_options.cacheFolder.value_or(ResultsCache::defaultFolder()), context);
}

QByteArray OptimizerRun::cacheKeyInput(int index) const {
    return m_cacheByPath ? m_paths.at(index).toUtf8() + '\0' + m_originals.at(index)
                         : m_originals.at(index);
}

bool OptimizerRun::answerFromCache(int index) {
    if (!m_cache || m_originals.at(index).isEmpty())
        return false;
    std::optional<ResultsCache::Answer> answer = m_cache->find(cacheKeyInput(index));
    if (!answer)
        return false;
    // An output folder that holds this very output needs nothing written, not even the
    // temporary file: the usual case of a second run over unchanged files.
    const SvgoOutputs::Slot &slot = m_slots.at(index);
    const bool alreadyThere = !m_inMemory && !slot.replacesInput &&
                              FileReplacement::holds(slot.destination, answer->output);
    // Placed like svgo's own output, through the file's private temporary name; where that
    // cannot be written, svgo writes it, or says what is wrong with the place.
    if (!m_inMemory && !alreadyThere && !writeTemporary(index, answer->output).isEmpty())
        return false;
    m_fromCache.insert(index, answer->review);
    if (alreadyThere)
        m_alreadyThere.insert(index);
    finishFile(index, m_inMemory || alreadyThere ? &answer->output : nullptr);
    return true;
}
