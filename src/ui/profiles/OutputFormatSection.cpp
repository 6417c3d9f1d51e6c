#include "ui/profiles/OutputFormatSection.h"

#include "ui/profiles/FormRows.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
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
    // Rich text, so the tooltip wraps instead of running across the screen in one line.
    m_format->setToolTip(QStringLiteral("<p>%1</p>")
                             .arg(QStringList{tr("Wrapped: the SVG elements in their wrappers."),
                                              tr("CSS: one rule with a data URI per file."),
                                              tr("SVG Sprite: one symbol per file."),
                                              tr("JSON: file name to markup.")}
                                      .join(QStringLiteral("<br>"))));
    layout->addWidget(formRow(tr("Format"), m_format, this));
    m_wrapperNote = formHintLabel(QString(), this);
    m_wrapperNote->setObjectName(QStringLiteral("wrapperNote"));
    layout->addWidget(m_wrapperNote);
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

QString OutputFormatSection::wrapperRefusal(OutputFormat format) {
    switch (format) {
    case OutputFormat::Wrapped:
        break;
    case OutputFormat::CSS:
        return tr("CSS output cannot be wrapped: the result would no longer be CSS.");
    case OutputFormat::Sprite:
        return tr("SVG Sprite output cannot be wrapped: the result would no longer be one SVG "
                  "document.");
    case OutputFormat::JSON:
        return tr("JSON output cannot be wrapped: the result would no longer be JSON.");
    }
    return {};
}

void OutputFormatSection::setProfile(const Profile &profile) {
    m_format->setCurrentIndex(m_format->findData(int(profile.outputFormat)));
    m_uniqueIds->setChecked(profile.uniqueIds);
    m_wrapperNote->setText(wrapperRefusal(profile.outputFormat));
    m_wrapperNote->setVisible(!m_wrapperNote->text().isEmpty());
}
