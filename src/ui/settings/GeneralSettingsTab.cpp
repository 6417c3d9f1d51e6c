#include "ui/settings/GeneralSettingsTab.h"

#include "model/Settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>

GeneralSettingsTab::GeneralSettingsTab(QWidget *parent)
    : QWidget(parent), m_copyAutomatically(new QCheckBox(tr("Copy automatically"), this)),
      m_lineEnding(new QComboBox(this)),
      m_cacheResults(new QCheckBox(tr("Remember the results of unchanged files"), this)) {
    auto *form = new QFormLayout(this);
    form->setLabelAlignment(Qt::AlignRight);
    form->addRow(tr("Text Output:"), m_copyAutomatically);
    m_lineEnding->addItem(tr("CRLF (Windows)"), QStringLiteral("crlf"));
    m_lineEnding->addItem(tr("LF (macOS, Linux)"), QStringLiteral("lf"));
    form->addRow(tr("Line Endings:"), m_lineEnding);
    m_cacheResults->setToolTip(
        tr("A file optimized before with the same bytes, options and svgo is answered at once "
           "instead of being optimized again."));
    form->addRow(tr("Optimizing:"), m_cacheResults);

    // The output window reads the settings when text arrives; another process or window may
    // change them too, so the controls follow the store rather than keeping their own copy.
    Defaults::observe<bool>(
        Keys::copyTextOutputAutomatically(), this,
        [this](bool copy) { m_copyAutomatically->setChecked(copy); },
        Defaults::ObserveOption::Initial);
    connect(m_copyAutomatically, &QCheckBox::toggled, this, [](bool copy) {
        if (Keys::copyTextOutputAutomatically().get() != copy)
            Keys::copyTextOutputAutomatically().set(copy);
    });
    Defaults::observe<QString>(
        Keys::lineEnding(), this,
        [this](const QString &ending) {
            // Anything but "lf" in the store means the default, CRLF.
            m_lineEnding->setCurrentIndex(qMax(0, m_lineEnding->findData(ending)));
        },
        Defaults::ObserveOption::Initial);
    Defaults::observe<bool>(
        Keys::cacheResults(), this, [this](bool cache) { m_cacheResults->setChecked(cache); },
        Defaults::ObserveOption::Initial);
    connect(m_cacheResults, &QCheckBox::toggled, this, [](bool cache) {
        if (Keys::cacheResults().get() != cache)
            Keys::cacheResults().set(cache);
    });
    connect(m_lineEnding, &QComboBox::activated, this, [this](int index) {
        Keys::lineEnding().set(m_lineEnding->itemData(index).toString());
    });
}
