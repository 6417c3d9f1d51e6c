#include "ui/profiles/SegmentedPicker.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QPushButton>

SegmentedPicker::SegmentedPicker(const QString &accessibleName, QWidget *parent)
    : QWidget(parent), m_group(new QButtonGroup(this)) {
    setAccessibleName(accessibleName);
    m_group->setExclusive(true);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    connect(m_group, &QButtonGroup::idClicked, this, &SegmentedPicker::activated);
}

void SegmentedPicker::addSegment(const QString &title, int id) {
    auto *button = new QPushButton(title, this);
    button->setCheckable(true);
    button->setAutoDefault(false);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_group->addButton(button, id);
    layout()->addWidget(button);
}

int SegmentedPicker::current() const {
    return m_group->checkedId();
}

void SegmentedPicker::setCurrent(int id) {
    if (QAbstractButton *button = m_group->button(id))
        button->setChecked(true);
}

QAbstractButton *SegmentedPicker::segment(int id) const {
    return m_group->button(id);
}
