#include "ui/main/PluginSavingsDialog.h"

#include "model/FileResults.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

double percentOf(qint64 part, qint64 whole) {
    return whole > 0 ? 100.0 * double(part) / double(whole) : 0.0;
}

QString savedText(qint64 saved, qint64 original) {
    return PluginSavingsDialog::tr("%Ln byte(s) (%1)", nullptr, int(saved))
        .arg(FileResults::percentText(percentOf(saved, original)));
}

} // namespace

PluginSavingsDialog::PluginSavingsDialog(const QString &file, const Profile &profile,
                                         QWidget *parent)
    : QDialog(parent, Qt::Window), m_file(file), m_savings(new PluginSavings(this)) {
    setWindowTitle(tr("Why Smaller?"));
    auto *layout = new QVBoxLayout(this);

    auto *name = new QLabel(QFileInfo(file).fileName(), this);
    QFont bold = name->font();
    bold.setBold(true);
    name->setFont(bold);
    name->setToolTip(file);
    name->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(name);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(m_status);

    m_table = new QTreeWidget(this);
    m_table->setRootIsDecorated(false);
    m_table->setUniformRowHeights(true);
    m_table->setAlternatingRowColors(true);
    m_table->setHeaderLabels({tr("Plugin"), tr("Saved"), tr("Changed the drawing")});
    m_table->header()->setStretchLastSection(false);
    m_table->header()->setSectionResizeMode(Plugin, QHeaderView::Stretch);
    m_table->header()->setSectionResizeMode(Saved, QHeaderView::ResizeToContents);
    m_table->header()->setSectionResizeMode(ChangedDrawing, QHeaderView::ResizeToContents);
    layout->addWidget(m_table, 1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(520, 460);

    connect(m_savings, &PluginSavings::stageChanged, this, &PluginSavingsDialog::showStage);
    connect(m_savings, &PluginSavings::finished, this, &PluginSavingsDialog::showResult);
    m_savings->start(file, profile);
    showStage(m_savings->stage());
}

PluginSavingsDialog *PluginSavingsDialog::showFor(const QString &file, const Profile &profile,
                                                  QWidget *parent) {
    PluginSavingsDialog *dialog = nullptr;
    for (PluginSavingsDialog *open : parent->findChildren<PluginSavingsDialog *>())
        if (open->file() == file && open->isVisible())
            dialog = open;
    if (!dialog) {
        dialog = new PluginSavingsDialog(file, profile, parent);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
    return dialog;
}

QString PluginSavingsDialog::pluginText(const QString &plugin) {
    return plugin.isEmpty() ? tr("Reading and writing (no plugin)") : plugin;
}

void PluginSavingsDialog::showStage(PluginSavings::Stage stage) {
    switch (stage) {
    case PluginSavings::Stage::RunningSvgo:
        m_status->setText(tr("Running svgo…"));
        break;
    case PluginSavings::Stage::Drawing:
        m_status->setText(tr("Drawing…"));
        break;
    case PluginSavings::Stage::Idle:
    case PluginSavings::Stage::Done:
        break;
    }
}

void PluginSavingsDialog::showResult(const PluginSavingsResult &result) {
    m_table->clear();
    if (!result.error.isEmpty()) {
        m_status->setText(result.error);
        m_table->hide();
        return;
    }
    // Plugins that left the text as it was are counted, not listed: a preset has dozens.
    int unchanged = 0;
    const QIcon changedMark = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const PluginStep &step : result.steps) {
        if (!step.changedText) {
            ++unchanged;
            continue;
        }
        auto *row = new QTreeWidgetItem(m_table);
        row->setText(Plugin, pluginText(step.plugin));
        row->setText(Saved, savedText(step.saved(), result.original));
        row->setTextAlignment(Saved, Qt::AlignRight | Qt::AlignVCenter);
        if (step.changedDrawing) {
            row->setIcon(ChangedDrawing, changedMark);
            row->setText(ChangedDrawing, tr("Yes"));
            row->setToolTip(ChangedDrawing, step.reason);
        } else if (step.couldNotDraw) {
            row->setText(ChangedDrawing, tr("Unknown"));
            row->setToolTip(ChangedDrawing, step.reason);
        }
    }
    QStringList lines;
    lines << tr("svgo %1 saved %2 in all (%3 → %4 bytes).")
                 .arg(result.version, savedText(result.saved(), result.original),
                      QLocale().toString(result.original), QLocale().toString(result.optimized));
    if (unchanged > 0)
        lines << tr("%n plugin(s) changed nothing and are not listed.", nullptr, unchanged);
    if (result.finalLooksDifferent)
        lines << tr("The result looks different from the file.");
    m_status->setText(lines.join(u'\n'));
}
