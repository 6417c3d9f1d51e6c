#include "ui/profiles/ProfileEditor.h"

#include "engine/Utilities.h"
#include "model/ProfileStore.h"
#include "model/SVGFile.h"
#include "model/Settings.h"
#include "platform/FileManager.h"
#include "platform/SymbolIcons.h"
#include "ui/AppState.h"
#include "ui/CommandManager.h"
#include "ui/profiles/FormRows.h"
#include "ui/profiles/OutputFormatSection.h"
#include "ui/profiles/ProfilePanels.h"
#include "ui/profiles/SegmentedPicker.h"
#include "ui/profiles/SvgoOptionsForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QList<ProfileEditor *> &editors() {
    static QList<ProfileEditor *> list;
    return list;
}

QString code(const QString &markup) {
    return QStringLiteral("<code>%1</code>").arg(markup.toHtmlEscaped());
}

// A wrapper the output format cannot hold stays in sight with what it stores, greyed out, and
// says why wherever the pointer rests on it.
void offerWrapper(QWidget *section, QCheckBox *toggle, const QString &refusal) {
    section->setEnabled(refusal.isEmpty());
    section->setToolTip(refusal);
    toggle->setToolTip(refusal);
}

} // namespace

ProfileEditor::ProfileEditor(AppState *application, bool allowNameChange, bool allowSavingProfile,
                             QWidget *parent)
    : QWidget(parent), m_application(application), m_allowNameChange(allowNameChange),
      m_allowSavingProfile(allowSavingProfile), m_profile(application->profile()) {
    editors().append(this);
    build();
    refresh();
    CommandManager *commands = application->commandManager();
    connect(commands, &CommandManager::saveAsDefaultProfile, this,
            &ProfileEditor::saveAsDefaultProfile);
    connect(commands, &CommandManager::saveNewProfile, this, &ProfileEditor::saveNewProfile);
}

ProfileEditor::~ProfileEditor() {
    editors().removeAll(this);
}

void ProfileEditor::setProfile(const Profile &profile) {
    if (profile == m_profile)
        return;
    m_profile = profile;
    refresh();
}

void ProfileEditor::build() {
    auto *form = new QWidget;
    auto *layout = new QVBoxLayout(form);
    layout->setSpacing(12);
    m_nameSection = buildNameSection();
    layout->addWidget(m_nameSection);
    layout->addWidget(buildOutputSection());
    layout->addWidget(buildConfigurationSection());
    layout->addWidget(m_svgoOptions = new SvgoOptionsForm(this));
    connect(m_svgoOptions, &SvgoOptionsForm::changeRequested, this, &ProfileEditor::edit);
    m_wrapOutputSection = buildWrapOutputSection();
    layout->addWidget(m_wrapOutputSection);
    m_wrapIndividualSection = buildWrapIndividualSection();
    layout->addWidget(m_wrapIndividualSection);
    m_prettyPrintSection = buildPrettyPrintSection();
    layout->addWidget(m_prettyPrintSection);
    layout->addStretch(1);

    // Sections come and go with the options; the scroll area keeps its offset meanwhile, so the
    // control under the pointer does not jump away.
    m_scrollArea = new QScrollArea(this);
    m_scrollArea->setWidgetResizable(true);
    m_scrollArea->setFrameShape(QFrame::NoFrame);
    m_scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scrollArea->setWidget(form);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(m_scrollArea);
}

QWidget *ProfileEditor::buildNameSection() {
    QFrame *frame = formSection("nameSection", this);
    m_name = formTextField("profileName", QString(), frame);
    frame->layout()->addWidget(formRow(tr("Profile Name"), m_name, frame));
    connect(m_name, &QLineEdit::textEdited, this,
            [this](const QString &text) { edit([&](Profile &p) { p.name = text; }); });
    frame->setVisible(m_allowNameChange);
    return frame;
}

QWidget *ProfileEditor::buildOutputSection() {
    QFrame *frame = formSection("outputSection", this);
    m_mode = new SegmentedPicker(tr("Mode"), frame);
    m_mode->setObjectName(QStringLiteral("modePicker"));
    for (OperationMode mode : allOperationModes())
        m_mode->addSegment(title(mode), int(mode));
    frame->layout()->addWidget(formRow(tr("Mode"), m_mode, frame));
    connect(m_mode, &SegmentedPicker::activated, this,
            [this](int id) { edit([&](Profile &p) { p.mode = OperationMode(id); }); });

    m_overwrite = new QCheckBox(tr("Overwrite Files"), frame);
    m_overwrite->setObjectName(QStringLiteral("overwriteFiles"));
    frame->layout()->addWidget(m_overwrite);
    connect(m_overwrite, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Profile &p) { p.overwrite = on; }); });

    m_outputFolderRow = new QWidget(frame);
    m_outputFolderRow->setObjectName(QStringLiteral("outputFolderRow"));
    auto *row = new QHBoxLayout(m_outputFolderRow);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(tr("Output Folder"), m_outputFolderRow), 0, Qt::AlignTop);
    auto *content = new QVBoxLayout;
    m_outputFolderPath = formDetailLabel(m_outputFolderRow);
    m_outputFolderPath->setObjectName(QStringLiteral("outputFolderPath"));
    m_outputFolderPath->setForegroundRole(QPalette::WindowText);
    auto *choose = new QPushButton(tr("Choose…"), m_outputFolderRow);
    choose->setObjectName(QStringLiteral("chooseOutputFolder"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &ProfileEditor::chooseOutputFolder);
    content->addWidget(m_outputFolderPath);
    content->addWidget(choose, 0, Qt::AlignRight);
    row->addLayout(content, 1);
    frame->layout()->addWidget(m_outputFolderRow);
    return frame;
}

QWidget *ProfileEditor::buildConfigurationSection() {
    QFrame *frame = formSection("configurationSection", this);
    auto *header = new QHBoxLayout;
    header->addWidget(new QLabel(tr("SVGO Configuration"), frame));
    header->addStretch(1);

    m_configurationMenuButton = new QToolButton(frame);
    m_configurationMenuButton->setObjectName(QStringLiteral("configurationMoreOptions"));
    m_configurationMenuButton->setIcon(symbolIcon(QStringLiteral("ellipsis.circle")));
    m_configurationMenuButton->setToolTip(tr("More Options"));
    m_configurationMenuButton->setAccessibleName(tr("More Options"));
    m_configurationMenuButton->setAutoRaise(true);
    m_configurationMenuButton->setPopupMode(QToolButton::InstantPopup);
    m_configurationMenuButton->setStyleSheet(QStringLiteral("::menu-indicator { image: none; }"));
    auto *menu = new QMenu(m_configurationMenuButton);
    menu->addAction(revealActionLabel(), this, [this] {
        if (m_profile.svgoConfigFile)
            revealInFileManager(plainPath(*m_profile.svgoConfigFile));
    });
    menu->addAction(tr("Copy File Path"), this, [this] {
        if (m_profile.svgoConfigFile)
            Utilities::shared().copyToPasteboard(
                plainPath(*m_profile.svgoConfigFile)
                    .remove(QRegularExpression(QStringLiteral("^[\\r\\n]+|[\\r\\n]+$"))));
    });
    m_configurationMenuButton->setMenu(menu);
    header->addWidget(m_configurationMenuButton);
    static_cast<QVBoxLayout *>(frame->layout())->addLayout(header);

    m_configurationPath = formDetailLabel(frame);
    m_configurationPath->setObjectName(QStringLiteral("configurationPath"));
    frame->layout()->addWidget(m_configurationPath);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_removeConfiguration = new QPushButton(tr("Remove"), frame);
    m_removeConfiguration->setObjectName(QStringLiteral("removeConfiguration"));
    m_removeConfiguration->setAutoDefault(false);
    connect(m_removeConfiguration, &QPushButton::clicked, this,
            [this] { edit([](Profile &p) { p.svgoConfigFile.reset(); }); });
    auto *choose = new QPushButton(tr("Choose…"), frame);
    choose->setObjectName(QStringLiteral("chooseConfiguration"));
    choose->setAutoDefault(false);
    connect(choose, &QPushButton::clicked, this, &ProfileEditor::chooseConfigurationFile);
    buttons->addWidget(m_removeConfiguration);
    buttons->addWidget(choose);
    static_cast<QVBoxLayout *>(frame->layout())->addLayout(buttons);
    return frame;
}

QWidget *ProfileEditor::buildWrapOutputSection() {
    QWidget *frame = formWrapSection("wrapOutputSection", tr("Wrap Whole Output"),
                                     QStringLiteral("<div class=\"icons\">"), this, m_wrapOutput,
                                     m_wrapOutputFields, m_wrapOutputPrefix, m_wrapOutputSuffix);
    connect(m_wrapOutput, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Profile &p) { p.wrapOutput = on; }); });
    connect(m_wrapOutputPrefix, &QLineEdit::textEdited, this,
            [this](const QString &text) { edit([&](Profile &p) { p.wrapOutputPrefix = text; }); });
    connect(m_wrapOutputSuffix, &QLineEdit::textEdited, this,
            [this](const QString &text) { edit([&](Profile &p) { p.wrapOutputSuffix = text; }); });
    return frame;
}

QWidget *ProfileEditor::buildWrapIndividualSection() {
    QWidget *frame =
        formWrapSection("wrapIndividualSection", tr("Wrap SVG Elements"),
                        QStringLiteral("<div class=\"icon\">"), this, m_wrapIndividual,
                        m_wrapIndividualFields, m_wrapIndividualPrefix, m_wrapIndividualSuffix);
    connect(m_wrapIndividual, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Profile &p) { p.wrapIndividual = on; }); });
    m_wrapIndividualFields->layout()->addWidget(formHintLabel(
        tr("{name} is replaced by each file's name without its extension; write {{ for a "
           "plain {."),
        m_wrapIndividualFields));
    m_fileNameExample = QStringLiteral("<p>%1</p>")
                            .arg(tr("For example, %1 becomes %2 for the file %3.")
                                     .arg(code(QStringLiteral("<li title=\"{name}\">")),
                                          code(QStringLiteral("<li title=\"arrow\">")),
                                          QStringLiteral("arrow.svg")));
    connect(m_wrapIndividualPrefix, &QLineEdit::textEdited, this, [this](const QString &text) {
        edit([&](Profile &p) { p.wrapIndividualPrefix = text; });
    });
    connect(m_wrapIndividualSuffix, &QLineEdit::textEdited, this, [this](const QString &text) {
        edit([&](Profile &p) { p.wrapIndividualSuffix = text; });
    });
    return frame;
}

QWidget *ProfileEditor::buildPrettyPrintSection() {
    QFrame *frame = formSection("prettyPrintSection", this);
    m_prettyPrint = new QCheckBox(tr("Pretty Print"), frame);
    m_prettyPrint->setObjectName(QStringLiteral("prettyPrint"));
    m_prettyPrint->setToolTip(tr("Adds line breaks and indentation"));
    frame->layout()->addWidget(m_prettyPrint);
    connect(m_prettyPrint, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Profile &p) { p.prettyPrint = on; }); });

    m_prettyPrintFields = new QWidget(frame);
    auto *fields = new QVBoxLayout(m_prettyPrintFields);
    fields->setContentsMargins(0, 0, 0, 0);
    m_indentation = new SegmentedPicker(tr("Indent Using"), m_prettyPrintFields);
    m_indentation->setObjectName(QStringLiteral("indentationStyle"));
    for (IndentationStyle style : allIndentationStyles())
        m_indentation->addSegment(title(style), int(style));
    fields->addWidget(formRow(tr("Indent Using"), m_indentation, m_prettyPrintFields));
    connect(m_indentation, &SegmentedPicker::activated, this, [this](int id) {
        edit([&](Profile &p) { p.indentationStyle = IndentationStyle(id); });
    });

    // A width is a count of spaces: digits only, so a minus sign cannot even be typed.
    m_width = formTextField("indentationWidth", QString(), m_prettyPrintFields);
    m_width->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[0-9]{0,18}")), m_width));
    m_width->setAlignment(Qt::AlignRight);
    m_widthRow = formRow(tr("Width"), m_width, m_prettyPrintFields);
    fields->addWidget(m_widthRow);
    connect(m_width, &QLineEdit::textEdited, this, [this](const QString &text) {
        bool ok = false;
        const qint64 width = text.toLongLong(&ok);
        if (ok)
            edit([&](Profile &p) { p.indentationWidth = width; });
    });
    // Leaving the field with something that is no number shows the stored width again.
    connect(m_width, &QLineEdit::editingFinished, this,
            [this] { showTextUnlessEqual(m_width, QString::number(m_profile.indentationWidth)); });

    m_keepTogether = new QCheckBox(tr("Keep Items and Wrapper Together"), m_prettyPrintFields);
    m_keepTogether->setObjectName(QStringLiteral("keepItemAndWrapperTogether"));
    m_keepTogether->setToolTip(tr("Choose whether each SVG element should be on a single line "
                                  "with its wrapping prefix and suffix"));
    fields->addWidget(m_keepTogether);
    connect(m_keepTogether, &QCheckBox::clicked, this,
            [this](bool on) { edit([&](Profile &p) { p.keepItemAndWrapperTogether = on; }); });
    frame->layout()->addWidget(m_prettyPrintFields);
    return frame;
}

void ProfileEditor::refresh() {
    const Profile &p = m_profile;
    const bool fileMode = p.mode == OperationMode::File;

    showTextUnlessEqual(m_name, p.name);
    m_name->setEnabled(!p.isDefault());

    m_mode->setCurrent(int(p.mode));
    m_overwrite->setVisible(fileMode);
    m_overwrite->setChecked(p.overwrite);
    m_outputFolderRow->setVisible(fileMode && !p.overwrite);
    m_outputFolderPath->setVisible(p.outputFolder.has_value());
    m_outputFolderPath->setText(p.outputFolder ? abbreviatedPath(*p.outputFolder) : QString());

    const bool hasConfiguration = p.svgoConfigFile.has_value();
    m_configurationMenuButton->setVisible(hasConfiguration);
    m_removeConfiguration->setVisible(hasConfiguration);
    m_configurationPath->setText(hasConfiguration ? abbreviatedPath(*p.svgoConfigFile)
                                                  : tr("Default Configuration"));
    m_svgoOptions->setProfile(p);

    const QString refusal = OutputFormatSection::wrapperRefusal(p.outputFormat);
    m_wrapOutputSection->setVisible(!fileMode);
    offerWrapper(m_wrapOutputSection, m_wrapOutput, refusal);
    m_wrapOutput->setChecked(p.wrapOutput);
    m_wrapOutputFields->setVisible(p.wrapOutput);
    showTextUnlessEqual(m_wrapOutputPrefix, p.wrapOutputPrefix.value_or(QString()));
    showTextUnlessEqual(m_wrapOutputSuffix, p.wrapOutputSuffix.value_or(QString()));

    m_wrapIndividualSection->setVisible(!fileMode);
    offerWrapper(m_wrapIndividualSection, m_wrapIndividual, refusal);
    for (QLineEdit *field : {m_wrapIndividualPrefix, m_wrapIndividualSuffix})
        field->setToolTip(refusal.isEmpty() ? m_fileNameExample : refusal);
    m_wrapIndividual->setChecked(p.wrapIndividual);
    m_wrapIndividualFields->setVisible(p.wrapIndividual);
    showTextUnlessEqual(m_wrapIndividualPrefix, p.wrapIndividualPrefix.value_or(QString()));
    showTextUnlessEqual(m_wrapIndividualSuffix, p.wrapIndividualSuffix.value_or(QString()));

    m_prettyPrintSection->setVisible(!fileMode);
    m_prettyPrint->setChecked(p.prettyPrint);
    m_prettyPrintFields->setVisible(p.prettyPrint);
    m_indentation->setCurrent(int(p.indentationStyle));
    m_widthRow->setVisible(p.indentationStyle == IndentationStyle::Spaces);
    bool ok = false;
    if (m_width->text().toLongLong(&ok) != p.indentationWidth || !ok)
        m_width->setText(QString::number(p.indentationWidth));
    m_keepTogether->setChecked(p.keepItemAndWrapperTogether);
}

void ProfileEditor::edit(const std::function<void(Profile &)> &change) {
    Profile edited = m_profile;
    change(edited);
    if (edited == m_profile)
        return;
    m_profile = edited;
    refresh();
    emit profileEdited(m_profile);
}

void ProfileEditor::chooseOutputFolder() {
    openOutputFolderPanel(
        this, [this](const QUrl &url) { edit([&](Profile &p) { p.outputFolder = url; }); });
}

void ProfileEditor::chooseConfigurationFile() {
    openConfigurationPanel(
        this, [this](const QUrl &url) { edit([&](Profile &p) { p.svgoConfigFile = url; }); });
}

SaveProfileSheet *ProfileEditor::saveProfileSheet() {
    if (!m_sheet) {
        m_sheet = new SaveProfileSheet(window());
        connect(m_sheet, &SaveProfileSheet::saveRequested, this, &ProfileEditor::saveProfileNamed);
    }
    return m_sheet;
}

void ProfileEditor::saveAsDefaultProfile() {
    // Menu commands only reach editors the user can see.
    if (!isVisible())
        return;
    ProfileStore::storeAsDefault(m_profile);
}

bool ProfileEditor::answersSaveNewProfile() const {
    if (!m_allowSavingProfile || !isVisible())
        return false;
    // Every main window has an editor for the same current profile; one sheet is enough, and it
    // belongs to the window the user works in (or, with none active, the first one).
    QList<const ProfileEditor *> candidates;
    for (const ProfileEditor *editor : editors())
        if (editor->m_allowSavingProfile && editor->isVisible())
            candidates.append(editor);
    for (const ProfileEditor *editor : candidates)
        if (editor->isActiveWindow())
            return editor == this;
    return candidates.constFirst() == this;
}

void ProfileEditor::saveNewProfile() {
    if (!answersSaveNewProfile())
        return;
    SaveProfileSheet *sheet = saveProfileSheet();
    sheet->open();
    sheet->nameField()->selectAll();
    sheet->nameField()->setFocus();
}

void ProfileEditor::saveProfileNamed(const QString &name) {
    // Exactly as typed: empty and repeated names are fine.
    const Profile copy = ProfileStore::addNamed(m_profile, name);
    m_profile = copy;
    refresh();
    emit profileEdited(copy);
}
