#include "ui/settings/AdvancedSettingsTab.h"

#include "engine/Optimizer.h"
#include "engine/SvgoInstaller.h"
#include "engine/Utilities.h"
#include "model/Settings.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"
#include "ui/components/SvgoPathField.h"
#include "ui/components/WhenFinished.h"

#include <QDir>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

struct Lookup {
    SvgoResolution resolution;
    bool hasHomebrew = false;
};

// The field's check together with the way a run would take with that svgo.
struct FieldCheck {
    SvgoCheck check;
    SvgoInstallation::Engine engine = SvgoInstallation::Engine::CommandLine;
    QString whyNoWorker;
};

} // namespace

AdvancedSettingsTab::AdvancedSettingsTab(QWidget *parent)
    : QWidget(parent), m_pathField(new SvgoPathField(this)),
      m_indicator(new CircularIndicator(false, true, this)), m_status(new QLabel(this)),
      m_useInstalled(new QPushButton(tr("Use installed version"), this)),
      m_install(new AsyncButton(tr("Install using Homebrew"), this)), m_note(new QLabel(this)) {
    auto *form = new QFormLayout(this);
    form->setLabelAlignment(Qt::AlignRight);

    form->addRow(tr("SVGO Executable Path:"), m_pathField);

    auto *group = new QVBoxLayout;
    auto *line = new QHBoxLayout;
    line->addWidget(m_indicator);
    line->addWidget(m_status, 1);
    line->addWidget(m_useInstalled);
    line->addWidget(m_install);
    group->addLayout(line);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_note->setText(tr("%1 uses <a href=\"https://svgo.dev\">SVGO</a> for processing SVG files.")
                        .arg(QStringLiteral("Mirandel")));
    m_note->setTextFormat(Qt::RichText);
    m_note->setOpenExternalLinks(true);
    m_note->setWordWrap(true);
    QFont small = m_note->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    m_note->setFont(small);
    m_note->setForegroundRole(QPalette::PlaceholderText);
    group->addWidget(m_note);
    form->addRow(tr("SVGO:"), group);

    // Checked once typing pauses, not on every keystroke: each check starts a program.
    m_checkDelay.setSingleShot(true);
    m_checkDelay.setInterval(300);
    connect(&m_checkDelay, &QTimer::timeout, this, &AdvancedSettingsTab::checkField);
    connect(m_pathField, &QLineEdit::textChanged, this, [this] {
        m_checking = true;
        refresh();
        m_checkDelay.start();
    });

    connect(m_useInstalled, &QPushButton::clicked, this, [this] {
        if (m_resolution && m_resolution->installed.works())
            Keys::svgoExecutablePath().set(m_resolution->installed.path);
    });

    m_install->setAction([this] {
        return whenFinished(
            SvgoInstaller::withHomebrew(), this, [this](const SvgoInstallResult &done) {
                if (done.succeeded()) {
                    Keys::svgoExecutablePath().set(done.svgoPath);
                    lookUp();
                    return;
                }
                auto *alert =
                    new QMessageBox(QMessageBox::Warning, tr("SVGO could not be installed"),
                                    tr("SVGO could not be installed"), QMessageBox::Ok, this);
                alert->setInformativeText(done.problem);
                alert->setAttribute(Qt::WA_DeleteOnClose);
                alert->open();
            });
    });

    m_checking = true;
    refresh();
}

void AdvancedSettingsTab::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // The user may have installed or removed svgo while the tab was hidden.
    lookUp();
}

void AdvancedSettingsTab::lookUp() {
    const QString stored = Keys::svgoExecutablePath().get();
    QFuture<Lookup> lookup = QtConcurrent::run([stored] {
        return Lookup{SvgoResolver::resolve(stored),
                      Utilities::shared().locateHomebrew().has_value()};
    });
    whenFinished(lookup, this, [this](const Lookup &lookup) {
        m_resolution = lookup.resolution;
        m_hasHomebrew = lookup.hasHomebrew;
        // Fills an empty field; a typed path stays.
        SvgoResolver::remember(lookup.resolution);
        checkField();
    });
}

void AdvancedSettingsTab::checkField() {
    m_checkDelay.stop();
    const QString typed = m_pathField->text();
    m_checking = true;
    refresh();
    // The optimizer is made here, on the UI thread, so that its objects live there.
    const Optimizer *optimizer = &Optimizer::shared();
    QFuture<FieldCheck> future = QtConcurrent::run([typed, optimizer] {
        FieldCheck result;
        result.check = SvgoCheck::run(typed);
        // Only a working svgo has a way to run; finding it reads a few small files.
        if (result.check.works()) {
            result.engine = optimizer->engineKind(result.check.path);
            result.whyNoWorker = SvgoInstallation::inspect(result.check.path).whyNoWorker;
        }
        return result;
    });
    whenFinished(future, this, [this, typed](const FieldCheck &result) {
        // A check of an older text says nothing about the field any more.
        if (typed != m_pathField->text())
            return;
        m_fieldCheck = result.check;
        SvgoResolver::takeCheck(result.check);
        m_engine = result.engine;
        m_whyNoWorker = result.whyNoWorker;
        m_checking = false;
        refresh();
        emit statusShown();
    });
}

QString AdvancedSettingsTab::engineText() const {
    if (m_engine == SvgoInstallation::Engine::Worker)
        return tr("Runs in warm workers.");
    // The package looked fine but its workers could not load svgo in this session.
    const QString why =
        m_whyNoWorker.isEmpty() ? tr("the workers could not load svgo") : m_whyNoWorker;
    return tr("Runs svgo's command line (%1).").arg(why);
}

void AdvancedSettingsTab::refresh() {
    const bool works = !m_checking && m_fieldCheck.works();
    m_indicator->setCondition(works);
    m_indicator->setCritical(!m_checking);
    if (m_checking) {
        m_status->setText(tr("Checking…"));
    } else if (works) {
        QString origin = tr("custom path");
        if (m_resolution) {
            const auto source = m_resolution->sourceOf(m_fieldCheck.path);
            if (source == SvgoResolution::Source::Shipped)
                origin = tr("shipped with Mirandel");
            else if (source == SvgoResolution::Source::LoginShell)
                origin = tr("found on the login shell's PATH");
        }
        m_status->setText(tr("SVGO %1, %2").arg(m_fieldCheck.version, origin) + QLatin1Char('\n') +
                          engineText());
    } else {
        QString text = m_fieldCheck.problem();
        // A shell that did not answer may be why no svgo was found.
        if (m_resolution && !m_resolution->loginShellProblem.isEmpty())
            text += QLatin1Char(' ') + m_resolution->loginShellProblem;
        // A run never starts a path that does not work; it says which svgo it takes instead.
        const SvgoChoice inUse = SvgoResolver::forRun();
        const QString shown = QDir::toNativeSeparators(inUse.path);
        if (inUse.source == SvgoResolution::Source::Shipped)
            text += QLatin1Char('\n') +
                    tr("Optimizing uses the svgo shipped with Mirandel instead: %1").arg(shown);
        else if (inUse.source == SvgoResolution::Source::LoginShell)
            text += QLatin1Char('\n') +
                    tr("Optimizing uses the svgo found on the login shell's PATH instead: %1")
                        .arg(shown);
        m_status->setText(text);
    }

    const bool installed = m_resolution && m_resolution->installed.works();
    m_useInstalled->setVisible(installed);
    m_useInstalled->setEnabled(installed && SvgoCheck::expandedPath(m_pathField->text()) !=
                                                m_resolution->installed.path);
    m_install->setVisible(m_hasHomebrew && m_resolution && m_resolution->loginShellPath.isEmpty());
}
