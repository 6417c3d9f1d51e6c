#include "ui/GeneralSettingsTab.h"

#include "model/Settings.h"

#include <QCheckBox>
#include <QFormLayout>

GeneralSettingsTab::GeneralSettingsTab(QWidget *parent)
    : QWidget(parent), m_copyAutomatically(new QCheckBox(tr("Copy automatically"), this)) {
    auto *form = new QFormLayout(this);
    form->setLabelAlignment(Qt::AlignRight);
    form->addRow(tr("Text Output:"), m_copyAutomatically);

    // The output window reads the setting when text arrives; another process or window may
    // change it too, so the box follows the store rather than keeping its own copy.
    Defaults::observe<bool>(
        Keys::copyTextOutputAutomatically(), this,
        [this](bool copy) { m_copyAutomatically->setChecked(copy); },
        Defaults::ObserveOption::Initial);
    connect(m_copyAutomatically, &QCheckBox::toggled, this, [](bool copy) {
        if (Keys::copyTextOutputAutomatically().get() != copy)
            Keys::copyTextOutputAutomatically().set(copy);
    });
}
