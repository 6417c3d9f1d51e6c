#include "engine/PluginSavings.h"

#include "engine/RenderPool.h"
#include "engine/ShippedTools.h"
#include "engine/SvgoInstallation.h"
#include "engine/SvgoResolver.h"
#include "engine/VisualCheck.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QtConcurrent>

namespace {

// The last lines of what Node wrote to standard error: a stack trace's first lines say the most,
// but an error from the script itself never gets that far.
QString lastLines(const QByteArray &text) {
    const QStringList lines = QString::fromUtf8(text).trimmed().split(u'\n');
    return lines.mid(std::max<qsizetype>(0, lines.size() - 4)).join(u'\n');
}

} // namespace

// Two documents to compare, and the step (or -1: the whole run) the verdict belongs to.
struct PluginSavings::DrawingPair {
    int step = -1;
    QByteArray before;
    QByteArray after;
};

PluginSavings::Judged PluginSavings::judge(const DrawingPair &pair) {
    const VisualCheck::Verdict verdict = VisualCheck(pair.before).compare(pair.after);
    return {pair.step, verdict.looksDifferent, verdict.couldNotDraw, verdict.reason};
}

PluginSavings::PluginSavings(QObject *parent) : QObject(parent) {
    m_deadline.setSingleShot(true);
    connect(&m_deadline, &QTimer::timeout, this, [this] {
        if (!m_process)
            return;
        m_timedOut = true;
        m_process->kill();
    });
}

PluginSavings::~PluginSavings() {
    // Drawings under way finish on the render pool and are dropped; they hold copies of their
    // documents, nothing of this object.
    m_drawing.disconnect(this);
    m_drawing.cancel();
    if (m_process) {
        m_process->disconnect(this);
        m_process->kill();
        m_process->waitForFinished(1000);
    }
}

void PluginSavings::start(const QString &file, const Profile &profile) {
    start(file, SvgoResolver::forRun().path, svgoConfigFile(profile));
}

void PluginSavings::start(const QString &file, const QString &svgoPath, const QString &configFile) {
    if (m_stage == Stage::RunningSvgo || m_stage == Stage::Drawing)
        return;
    m_result = {};
    m_timedOut = false;
    const SvgoInstallation installation = SvgoInstallation::inspect(svgoPath);
    if (installation.engine() != SvgoInstallation::Engine::Worker) {
        fail(tr("The svgo at %1 can only be run as a program (%2), so its plugins cannot be "
                "applied one at a time. Choose an svgo Node package, such as the one that comes "
                "with Mirandel, in Settings.")
                 .arg(svgoPath.isEmpty() ? tr("(none)") : svgoPath, installation.whyNoWorker));
        return;
    }
    const QString script = ShippedTools::file(QStringLiteral("svgo-plugin-steps.mjs"));
    if (script.isEmpty()) {
        fail(tr("The script that applies svgo's plugins one at a time is not installed."));
        return;
    }
    QStringList arguments{script, installation.packageFolder, QFileInfo(file).absoluteFilePath()};
    if (!configFile.isEmpty())
        arguments.append(configFile);

    auto *process = new QProcess(this);
    m_process = process;
    process->setProgram(installation.node);
    process->setArguments(arguments);
    // The script reads the file itself; nothing should wait for input.
    process->setStandardInputFile(QProcess::nullDevice());
    connect(process, &QProcess::finished, this, &PluginSavings::svgoEnded);
    connect(process, &QProcess::errorOccurred, this, [this, process](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart || process != m_process)
            return;
        m_deadline.stop();
        m_process = nullptr;
        process->deleteLater();
        fail(tr("Node could not be started: %1").arg(process->errorString()));
    });
    setStage(Stage::RunningSvgo);
    m_deadline.start(m_timeLimit);
    process->start();
}

void PluginSavings::setStage(Stage stage) {
    if (m_stage == stage)
        return;
    m_stage = stage;
    emit stageChanged(stage);
}

void PluginSavings::fail(const QString &error) {
    m_result.error = error;
    setStage(Stage::Done);
    emit finished(m_result);
}

void PluginSavings::svgoEnded() {
    QProcess *process = m_process;
    if (!process)
        return;
    m_deadline.stop();
    m_process = nullptr;
    process->deleteLater();
    const QByteArray output = process->readAllStandardOutput();
    const QByteArray errors = process->readAllStandardError();
    if (m_timedOut) {
        fail(tr("svgo took longer than %n second(s) and was stopped.", nullptr,
                int(std::chrono::duration_cast<std::chrono::seconds>(m_timeLimit).count())));
        return;
    }
    const QJsonObject answer = QJsonDocument::fromJson(output).object();
    if (process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0 &&
        answer.contains(QLatin1String("steps"))) {
        takeAnswer(output);
        return;
    }
    QString why = answer.value(QLatin1String("error")).toString();
    if (why.isEmpty())
        why = lastLines(errors);
    if (why.isEmpty())
        why = process->exitStatus() == QProcess::CrashExit
                  ? tr("Node crashed.")
                  : tr("Node ended with status %1.").arg(process->exitCode());
    if (answer.value(QLatin1String("fallback")).toBool())
        fail(tr("svgo's module could not be loaded: %1").arg(why));
    else
        fail(tr("svgo failed: %1").arg(why));
}

void PluginSavings::takeAnswer(const QByteArray &answer) {
    const QJsonObject object = QJsonDocument::fromJson(answer).object();
    m_result.version = object.value(QLatin1String("version")).toString();
    m_result.original = object.value(QLatin1String("original")).toInteger();
    const QByteArray input = object.value(QLatin1String("input")).toString().toUtf8();
    QByteArray previous = input;
    QList<DrawingPair> pairs;
    qint64 before = m_result.original;
    for (const QJsonValue &value : object.value(QLatin1String("steps")).toArray()) {
        const QJsonObject entry = value.toObject();
        PluginStep step;
        step.plugin = entry.value(QLatin1String("plugin")).toString();
        step.before = before;
        step.after = entry.value(QLatin1String("bytes")).toInteger();
        step.changedText = entry.contains(QLatin1String("document"));
        if (step.changedText) {
            QByteArray document = entry.value(QLatin1String("document")).toString().toUtf8();
            // svgo's own reading and writing changes no drawing; judging it would only cost time.
            if (!step.plugin.isEmpty())
                pairs.append({int(m_result.steps.size()), previous, document});
            previous = std::move(document);
        }
        before = step.after;
        m_result.steps.append(step);
    }
    m_result.optimized = before;
    if (previous != input)
        pairs.append({-1, input, previous});
    if (pairs.isEmpty()) {
        setStage(Stage::Done);
        emit finished(m_result);
        return;
    }
    setStage(Stage::Drawing);
    connect(&m_drawing, &QFutureWatcher<Judged>::finished, this, &PluginSavings::drawingsJudged,
            Qt::UniqueConnection);
    m_drawing.setFuture(QtConcurrent::mapped(&renderPool(), std::move(pairs), &judge));
}

void PluginSavings::drawingsJudged() {
    if (m_stage != Stage::Drawing)
        return;
    for (const Judged &verdict : m_drawing.future().results()) {
        if (verdict.step < 0) {
            m_result.finalLooksDifferent = verdict.looksDifferent;
            continue;
        }
        PluginStep &step = m_result.steps[verdict.step];
        step.changedDrawing = verdict.looksDifferent;
        step.couldNotDraw = verdict.couldNotDraw;
        step.reason = verdict.reason;
    }
    setStage(Stage::Done);
    emit finished(m_result);
}
