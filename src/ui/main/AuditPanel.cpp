#include "ui/main/AuditPanel.h"

#include "engine/InputGuard.h"
#include "model/SVGFileList.h"
#include "ui/main/WindowSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

constexpr int idRole = Qt::UserRole;
constexpr int findingRole = Qt::UserRole + 1;

// The profile option that mends a kind of finding, where there is one.
struct Fix {
    QString label;
    std::function<void(Profile &)> change;
    bool done = false;       // the profile does it already
    bool svgoOption = false; // a configuration file of the profile's own decides it
};

std::optional<Fix> fixFor(SetAudit::Finding::Kind kind, const Profile &profile) {
    using Kind = SetAudit::Finding::Kind;
    switch (kind) {
    case Kind::CollidingIds:
    case Kind::CollidingIdsAfterOptimizing:
        if (profile.mode == OperationMode::Text)
            return Fix{AuditPanel::tr("Make IDs Unique"), [](Profile &p) { p.uniqueIds = true; },
                       profile.uniqueIds, false};
        return Fix{AuditPanel::tr("Make IDs Unique"), [](Profile &p) { p.uniqueIdsInFiles = true; },
                   profile.uniqueIdsInFiles, false};
    case Kind::HardCodedColours:
        return Fix{AuditPanel::tr("Use currentColor"),
                   [](Profile &p) { p.colorsToCurrentColor = true; }, profile.colorsToCurrentColor,
                   true};
    case Kind::Script:
    case Kind::EventHandlers:
        return Fix{AuditPanel::tr("Remove Scripts"), [](Profile &p) { p.removeScripts = true; },
                   profile.removeScripts, true};
    default:
        return std::nullopt;
    }
}

// What the worker reads: each file as it is on disk, and what the last run made of it where
// that is somewhere else (an output folder, the text).
struct Inputs {
    QList<std::pair<QString, QString>> files;   // id, path
    QList<std::pair<QString, QString>> outputs; // id, path of the output
    QList<SetAudit::Document> documents;        // id, text-mode output
};

std::optional<QByteArray> readSvg(const QString &path) {
    const std::optional<QByteArray> bytes = InputGuard::readFile(path);
    if (!bytes)
        return std::nullopt;
    const InputGuard::Checked checked = InputGuard::check(*bytes);
    return checked.failure.isEmpty() ? std::optional(checked.svg) : std::nullopt;
}

QList<SetAudit::Finding> audit(const Inputs &inputs) {
    QList<SetAudit::Document> asTheyAre;
    for (const auto &[id, path] : inputs.files)
        if (const std::optional<QByteArray> svg = readSvg(path))
            asTheyAre.append({id, *svg});
    QList<SetAudit::Finding> findings = SetAudit::audit(asTheyAre);
    QList<SetAudit::Document> optimized = inputs.documents;
    for (const auto &[id, path] : inputs.outputs)
        if (const std::optional<QByteArray> svg = readSvg(path))
            optimized.append({id, *svg});
    if (!optimized.isEmpty())
        findings += SetAudit::collidingIds(optimized, true);
    return findings;
}

} // namespace

AuditPanel::AuditPanel(SVGFileList *files, WindowSession *session, QWidget *parent)
    : QWidget(parent), m_files(files), m_session(session), m_header(new QToolButton(this)),
      m_view(new QTreeWidget(this)) {
    setObjectName(QStringLiteral("auditPanel"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    m_header->setObjectName(QStringLiteral("auditHeader"));
    m_header->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_header->setAutoRaise(true);
    m_header->setCheckable(true);
    m_header->setArrowType(Qt::RightArrow);
    m_header->setText(tr("Set Audit"));
    m_header->setToolTip(tr("What the files show as a set: ids that collide in one page, odd "
                            "sizes, colours, scripts and more. Choose a finding to select its "
                            "files."));
    layout->addWidget(m_header);
    m_view->setHeaderHidden(true);
    m_view->setWordWrap(true);
    m_view->setUniformRowHeights(false);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setMinimumHeight(120);
    m_view->setVisible(false);
    layout->addWidget(m_view);
    m_fix = new QPushButton(this);
    m_fix->setObjectName(QStringLiteral("auditFix"));
    m_fix->setVisible(false);
    layout->addWidget(m_fix, 0, Qt::AlignRight);
    connect(m_header, &QToolButton::toggled, this, [this](bool open) {
        m_header->setArrowType(open ? Qt::DownArrow : Qt::RightArrow);
        m_view->setVisible(open);
        updateFix();
    });
    connect(m_view, &QTreeWidget::currentItemChanged, this, &AuditPanel::updateFix);
    connect(m_fix, &QPushButton::clicked, this, [this] {
        const QTreeWidgetItem *item = m_view->currentItem();
        while (item && item->parent())
            item = item->parent();
        const int finding = item ? item->data(0, findingRole).toInt() : -1;
        if (finding < 0 || finding >= m_findings.size())
            return;
        if (const std::optional<Fix> fix = fixFor(m_findings.at(finding).kind, m_profile))
            emit fixRequested(fix->change);
    });
    connect(m_view, &QTreeWidget::itemClicked, this, &AuditPanel::select);
    connect(m_view, &QTreeWidget::itemActivated, this, &AuditPanel::select);

    m_delay.setSingleShot(true);
    m_delay.setInterval(300);
    connect(&m_delay, &QTimer::timeout, this, &AuditPanel::startAudit);
    for (auto signal : {&SVGFileList::rowsAdded, &SVGFileList::rowsRemoved, &SVGFileList::resetDone,
                        &SVGFileList::resultsChanged})
        connect(files, signal, this, &AuditPanel::scheduleAudit);
    connect(&m_watcher, &QFutureWatcher<QList<SetAudit::Finding>>::finished, this, [this] {
        const QList<SetAudit::Finding> findings = m_watcher.result();
        if (m_again) {
            m_again = false;
            startAudit();
            return;
        }
        showFindings(findings);
    });
    scheduleAudit();
}

// An audit under way reads nothing of this object; its answer is dropped with the watcher.
AuditPanel::~AuditPanel() = default;

void AuditPanel::scheduleAudit() {
    m_delay.start();
}

void AuditPanel::startAudit() {
    if (m_watcher.isRunning()) {
        m_again = true; // the answer under way is out of date before it comes
        return;
    }
    Inputs inputs;
    for (const SVGFile &file : m_files->files()) {
        inputs.files.append({file.id, file.url.toLocalFile()});
        const FileResult *result = m_files->result(file.id);
        // An output in a folder of its own: what a page would inline after the run.
        if (result && result->status == FileResult::Status::Optimized &&
            !result->destination.isEmpty() &&
            QFileInfo(result->destination) != QFileInfo(file.url.toLocalFile()))
            inputs.outputs.append({file.id, result->destination});
    }
    if (const auto &last = m_session->lastRun(); last && last->profile.mode == OperationMode::Text)
        for (qsizetype index = 0; index < last->textRun.files.size(); ++index)
            if (last->textRun.outcomes.value(index).status == FileResult::Status::Optimized &&
                m_files->contains(last->textRun.files.at(index).id))
                inputs.documents.append(
                    {last->textRun.files.at(index).id, last->textRun.documents.value(index)});
    m_watcher.setFuture(QtConcurrent::run([inputs] { return audit(inputs); }));
}

void AuditPanel::showFindings(const QList<SetAudit::Finding> &findings) {
    m_findings = findings;
    m_view->clear();
    for (const SetAudit::Finding &finding : findings) {
        auto *item = new QTreeWidgetItem(m_view, {finding.summary});
        item->setToolTip(0, finding.summary);
        item->setData(0, findingRole, int(m_view->topLevelItemCount() - 1));
        for (const QString &id : finding.files) {
            auto *file = new QTreeWidgetItem(item, {QFileInfo(id).fileName()});
            file->setToolTip(0, QDir::toNativeSeparators(id));
            file->setData(0, idRole, id);
        }
    }
    if (findings.isEmpty()) {
        auto *item = new QTreeWidgetItem(
            m_view, {m_files->files().isEmpty() ? tr("No files.") : tr("Nothing to report.")});
        item->setData(0, findingRole, -1);
    }
    updateFix();
    m_header->setText(findings.isEmpty()
                          ? tr("Set Audit")
                          : tr("Set Audit: %n finding(s)", nullptr, int(findings.size())));
    emit audited();
}

void AuditPanel::select(QTreeWidgetItem *item) {
    QSet<QString> ids;
    if (const QString id = item->data(0, idRole).toString(); !id.isEmpty()) {
        ids.insert(id);
    } else {
        for (int child = 0; child < item->childCount(); ++child)
            ids.insert(item->child(child)->data(0, idRole).toString());
    }
    // Only files still listed: the list may have changed since the audit.
    QSet<QString> listed;
    for (const QString &id : std::as_const(ids))
        if (m_files->contains(id))
            listed.insert(id);
    if (!listed.isEmpty())
        m_files->setSelection(listed);
}

void AuditPanel::setProfile(const Profile &profile) {
    m_profile = profile;
    updateFix();
}

void AuditPanel::updateFix() {
    const QTreeWidgetItem *item = m_view->currentItem();
    while (item && item->parent())
        item = item->parent();
    const int finding = item ? item->data(0, findingRole).toInt() : -1;
    const std::optional<Fix> fix = finding >= 0 && finding < m_findings.size()
                                       ? fixFor(m_findings.at(finding).kind, m_profile)
                                       : std::nullopt;
    m_fix->setVisible(fix && m_header->isChecked());
    if (!fix)
        return;
    const bool decidedByFile = fix->svgoOption && m_profile.svgoConfigFile;
    m_fix->setText(fix->label);
    m_fix->setEnabled(!fix->done && !decidedByFile);
    m_fix->setToolTip(fix->done       ? tr("The profile does this already: optimize the files to "
                                                 "apply it.")
                      : decidedByFile ? tr("The profile's configuration file decides svgo's "
                                           "options.")
                                      : tr("Turns this on in the profile; optimize the files to "
                                           "apply it."));
}
