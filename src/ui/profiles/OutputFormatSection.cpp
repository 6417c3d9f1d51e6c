#include "ui/profiles/OutputFormatSection.h"

#include "ui/profiles/FormRows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QVBoxLayout>

OutputFormatSection::OutputFormatSection(QWidget *parent)
    : QFrame(parent), m_format(new QComboBox(this)),
      m_uniqueIds(new QCheckBox(tr("Unique IDs"), this)) {
    setObjectName(QStringLiteral("outputFormatSection"));
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(8);

    m_format->setObjectName(QStringLiteral("outputFormat"));
    for (OutputFormat format : allOutputFormats())
        m_format->addItem(title(format), int(format));
    m_format->setToolTip(tr("Wrapped: the SVG elements in their wrappers. CSS: one rule with a "
                            "data URI per file. SVG Sprite: one symbol per file. JSON: file name "
                            "to markup. The wrappers may name the file with {name}; write {{ "
                            "for a brace."));
    layout->addWidget(formRow(tr("Format"), m_format, this));
    connect(m_format, &QComboBox::activated, this, [this](int index) {
        const auto format = OutputFormat(m_format->itemData(index).toInt());
        emit changeRequested([format](Profile &p) { p.outputFormat = format; });
    });

    m_uniqueIds->setObjectName(QStringLiteral("uniqueIds"));
    m_uniqueIds->setToolTip(tr("Puts each file's name in front of its IDs, so gradients and clip "
                               "paths of icons pasted into one page stay apart"));
    layout->addWidget(m_uniqueIds);
    connect(m_uniqueIds, &QCheckBox::clicked, this,
            [this](bool on) { emit changeRequested([on](Profile &p) { p.uniqueIds = on; }); });
}

void OutputFormatSection::setProfile(const Profile &profile) {
    m_format->setCurrentIndex(m_format->findData(int(profile.outputFormat)));
    m_uniqueIds->setChecked(profile.uniqueIds);
}
