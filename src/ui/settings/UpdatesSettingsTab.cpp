#include "ui/settings/UpdatesSettingsTab.h"

#include "platform/Updater.h"
#include "ui/settings/SettingsSpacer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

QString intervalTitle(qint64 seconds) {
    switch (seconds) {
    case 3600:
        return QCoreApplication::translate("UpdateCheckInterval", "Hourly");
    case 86400:
        return QCoreApplication::translate("UpdateCheckInterval", "Daily");
    case 604800:
        return QCoreApplication::translate("UpdateCheckInterval", "Weekly");
    case 2629800:
        return QCoreApplication::translate("UpdateCheckInterval", "Monthly");
    }
    return {};
}

// Small, muted text for remarks under the controls.
void makeFootnote(QLabel *label) {
    QFont font = label->font();
    font.setPointSizeF(font.pointSizeF() * 0.85);
    label->setFont(font);
    label->setForegroundRole(QPalette::PlaceholderText);
}

} // namespace

const QList<qint64> &UpdatesSettingsTab::standardIntervals() {
    // Hourly, daily, weekly, and a twelfth of an average year.
    static const QList<qint64> intervals{3600, 86400, 604800, 2629800};
    return intervals;
}

UpdatesSettingsTab::UpdatesSettingsTab(Updater *updater, QWidget *parent)
    : QWidget(parent), m_updater(updater),
      m_automaticChecks(new QCheckBox(tr("Automatically check for updates"), this)),
      m_automaticDownloads(new QCheckBox(tr("Automatically download updates"), this)),
      m_frequency(new QComboBox(this)),
      m_checkButton(new QPushButton(tr("Check for Updates"), this)),
      m_lastChecked(new QLabel(this)),
      m_unavailable(new QLabel(tr("This copy of Mirandel has no update feed, so it cannot check "
                                  "for updates."),
                               this)) {
    auto *form = new QFormLayout(this);
    form->setLabelAlignment(Qt::AlignRight);
    form->setFieldGrowthPolicy(QFormLayout::FieldsStayAtSizeHint);

    auto *boxes = new QVBoxLayout;
    boxes->addWidget(m_automaticChecks);
    boxes->addWidget(m_automaticDownloads);
    form->addRow(tr("App Updates:"), boxes);
    form->addItem(new SettingsSpacer(1));

    for (qint64 seconds : standardIntervals())
        m_frequency->addItem(intervalTitle(seconds), seconds);
    m_frequency->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    form->addRow(tr("Frequency:"), m_frequency);
    form->addItem(new SettingsSpacer(2));

    form->addRow(QString(), m_checkButton);
    makeFootnote(m_lastChecked);
    form->addRow(QString(), m_lastChecked);
    makeFootnote(m_unavailable);
    form->addRow(QString(), m_unavailable);

    reload();

    connect(m_automaticChecks, &QCheckBox::toggled, this, [this](bool enabled) {
        // The download box keeps its value while disabled, so turning checks back on
        // restores what the user chose before.
        m_automaticDownloads->setEnabled(enabled);
        if (m_updater)
            m_updater->setAutomaticallyChecksForUpdates(enabled);
    });
    connect(m_automaticDownloads, &QCheckBox::toggled, this, [this](bool enabled) {
        if (m_updater)
            m_updater->setAutomaticallyDownloadsUpdates(enabled);
    });
    connect(m_frequency, &QComboBox::activated, this, [this](int index) {
        if (m_updater && index >= 0)
            m_updater->setUpdateCheckInterval(m_frequency->itemData(index).toLongLong());
    });
    connect(m_checkButton, &QPushButton::clicked, this, [this] {
        if (m_updater)
            m_updater->checkForUpdates();
    });
    if (m_updater)
        // A check that ends makes checking possible again and has just set a new date.
        connect(m_updater, &Updater::canCheckForUpdatesChanged, this, [this] {
            refreshCheckButton();
            refreshLastChecked();
        });
}

void UpdatesSettingsTab::reload() {
    const QSignalBlocker blockChecks(m_automaticChecks);
    const QSignalBlocker blockDownloads(m_automaticDownloads);
    const QSignalBlocker blockFrequency(m_frequency);
    const bool checks = m_updater && m_updater->automaticallyChecksForUpdates();
    m_automaticChecks->setChecked(checks);
    m_automaticDownloads->setChecked(m_updater && m_updater->automaticallyDownloadsUpdates());
    m_automaticDownloads->setEnabled(checks);
    // An interval set some other way matches no entry; the menu then shows none rather than
    // pretending to know it.
    m_frequency->setCurrentIndex(
        m_updater ? standardIntervals().indexOf(m_updater->updateCheckInterval()) : -1);
    m_unavailable->setVisible(!m_updater || !m_updater->isAvailable());
    refreshCheckButton();
    refreshLastChecked();
}

void UpdatesSettingsTab::showEvent(QShowEvent *event) {
    // The updater's own dialogs may have changed its settings while the tab was hidden.
    reload();
    QWidget::showEvent(event);
}

void UpdatesSettingsTab::refreshCheckButton() {
    m_checkButton->setEnabled(m_updater && m_updater->canCheckForUpdates());
}

void UpdatesSettingsTab::refreshLastChecked() {
    const std::optional<QDateTime> date =
        m_updater ? m_updater->lastUpdateCheckDate() : std::nullopt;
    m_lastChecked->setVisible(date.has_value());
    if (!date)
        return;
    const QLocale locale;
    const QString format = locale.dateFormat(QLocale::LongFormat) + QLatin1Char(' ') +
                           locale.timeFormat(QLocale::ShortFormat);
    m_lastChecked->setText(tr("Last checked: ") + locale.toString(date->toLocalTime(), format));
}
