#include "ui/AdvancedSettingsTab.h"

#include "engine/Utilities.h"
#include "model/SVGFile.h"
#include "model/Settings.h"
#include "ui/SvgoPathField.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

QString AdvancedSettingsTab::installedPath(const QString &located) {
    // The shell's answer ends in a line feed; spaces and percent signs are kept, as a path may
    // really have them.
    return trimmedLineBreaks(located);
}

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
    line->addWidget(m_status);
    line->addWidget(m_useInstalled);
    line->addWidget(m_install);
    line->addStretch();
    group->addLayout(line);

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

    // The field follows the stored path, so its text is the stored path the buttons compare with.
    connect(m_pathField, &QLineEdit::textChanged, this, &AdvancedSettingsTab::refresh);

    connect(m_useInstalled, &QPushButton::clicked, this, [this] {
        if (m_svgoPath)
            Keys::svgoExecutablePath().set(installedPath(*m_svgoPath));
    });

    m_install->setAction([this] {
        QPointer<AdvancedSettingsTab> tab(this);
        return Utilities::shared().installSVGO([tab] {
            // Called on a worker thread after brew succeeded; the new lookup belongs to the UI.
            QMetaObject::invokeMethod(
                QCoreApplication::instance(),
                [tab] {
                    if (tab)
                        tab->setSvgoPath(Utilities::shared().locateSVGO());
                },
                Qt::QueuedConnection);
        });
    });

    refresh();
}

void AdvancedSettingsTab::showEvent(QShowEvent *event) {
    QWidget::showEvent(event);
    // The user may have installed or removed svgo while the tab was hidden.
    lookUp();
}

void AdvancedSettingsTab::lookUp() {
    m_homebrewPath = Utilities::shared().locateHomebrew();
    setSvgoPath(Utilities::shared().locateSVGO());
}

void AdvancedSettingsTab::setSvgoPath(std::optional<QString> path) {
    m_svgoPath = std::move(path);
    // An svgo the shell knows wins over a path typed earlier: it is the one the user has now.
    if (m_svgoPath) {
        const QString installed = installedPath(*m_svgoPath);
        if (Keys::svgoExecutablePath().get() != installed)
            Keys::svgoExecutablePath().set(installed);
    }
    refresh();
}

void AdvancedSettingsTab::refresh() {
    const bool found = m_svgoPath.has_value();
    m_indicator->setCondition(found);
    m_status->setText(found ? tr("Installed") : tr("Not found"));
    m_useInstalled->setVisible(found);
    // The field's text rather than the store: a keystroke changes the text just before it is
    // stored.
    m_useInstalled->setEnabled(found && m_pathField->text() != installedPath(*m_svgoPath));
    m_install->setVisible(m_homebrewPath.has_value() && !found);
}
