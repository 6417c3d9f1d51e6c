#include "ui/profiles/SvgoOptionsForm.h"

#include "ui/profiles/FormRows.h"
#include "ui/profiles/OutputFormatSection.h"

#include <QCheckBox>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// Below the digits the spin box holds two choices: "Default", no precision set (svgo rounds as
// its plugins like), and below it "Automatic", the lowest per file that still looks the same.
constexpr int svgoDefault = -1;
constexpr int automatic = -2;

class PrecisionBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int value) const override {
        if (value == automatic)
            return SvgoOptionsForm::tr("Automatic");
        if (value == svgoDefault)
            return SvgoOptionsForm::tr("Default");
        return QSpinBox::textFromValue(value);
    }
    int valueFromText(const QString &text) const override {
        for (const int choice : {automatic, svgoDefault})
            if (text.trimmed().compare(textFromValue(choice), Qt::CaseInsensitive) == 0)
                return choice;
        return QSpinBox::valueFromText(text);
    }
    QValidator::State validate(QString &text, int &position) const override {
        for (const int choice : {automatic, svgoDefault})
            if (textFromValue(choice).startsWith(text.trimmed(), Qt::CaseInsensitive))
                return text.trimmed().size() == textFromValue(choice).size()
                           ? QValidator::Acceptable
                           : QValidator::Intermediate;
        return QSpinBox::validate(text, position);
    }
};

} // namespace

SvgoOptionsForm::SvgoOptionsForm(QWidget *parent)
    : QWidget(parent), m_svgoSection(formSection("svgoOptionsSection", this)),
      m_checksSection(formSection("checksSection", this)),
      m_outputFormat(new OutputFormatSection(this)), m_precision(new PrecisionBox(m_svgoSection)) {
    auto *sections = new QVBoxLayout(this);
    sections->setContentsMargins(0, 0, 0, 0);
    sections->setSpacing(12);
    sections->addWidget(m_svgoSection);
    sections->addWidget(m_checksSection);
    sections->addWidget(m_outputFormat);
    connect(m_outputFormat, &OutputFormatSection::changeRequested, this,
            &SvgoOptionsForm::changeRequested);
    QLayout *layout = m_svgoSection->layout();

    m_precision->setObjectName(QStringLiteral("precision"));
    // svgo takes 0 to 20 digits after the point.
    m_precision->setRange(automatic, 20);
    m_precision->setAlignment(Qt::AlignRight);
    m_precision->setToolTip(tr("Digits after the decimal point in numbers and path data; "
                               "Automatic: per file the fewest that still look the same"));
    layout->addWidget(formRow(tr("Precision"), m_precision, m_svgoSection));
    connect(m_precision, &QSpinBox::valueChanged, this, [this](int value) {
        const std::optional<qint64> precision =
            value < 0 ? std::nullopt : std::optional<qint64>(value);
        emit changeRequested([precision, value](Profile &p) {
            p.automaticPrecision = value == automatic;
            p.precision = precision;
        });
    });

    m_multipass = addOption(m_svgoSection, "multipass", tr("Multipass"), &Profile::multipass);
    m_multipass->setToolTip(tr("Optimizes again while the result still gets smaller"));
    addOption(m_svgoSection, "keepViewBox", tr("Keep viewBox"), &Profile::keepViewBox);
    addOption(m_svgoSection, "keepTitleAndDesc", tr("Keep Title and Description"),
              &Profile::keepTitleAndDesc);
    addOption(m_svgoSection, "colorsToCurrentColor", tr("Colors to currentColor"),
              &Profile::colorsToCurrentColor);
    addOption(m_svgoSection, "removeDimensions", tr("Remove Width and Height"),
              &Profile::removeDimensions);
    addOption(m_svgoSection, "removeScripts", tr("Remove Scripts"), &Profile::removeScripts)
        ->setToolTip(tr("Drops <script> elements, event handlers such as onload and javascript: "
                        "links"));

    addOption(m_checksSection, "checkRendering", tr("Check rendering"), &Profile::checkRendering)
        ->setToolTip(tr("Compares the rendering of each optimized file with its original and "
                        "keeps the original where they differ"));
    m_findBreakingPlugins =
        addOption(m_checksSection, "findBreakingPlugins",
                  tr("Find plugins that change the drawing"), &Profile::findBreakingPlugins);
    m_findBreakingPlugins->setToolTip(
        tr("When an output looks different, optimizes the file again without the svgo plugins "
           "that change its drawing; off: keeps the original"));
    m_keepOriginal =
        addOption(m_checksSection, "keepOriginalWhenNotSmaller",
                  tr("Keep original when not smaller"), &Profile::keepOriginalWhenNotSmaller);
    m_uniqueIdsInFiles = addOption(m_checksSection, "uniqueIdsInFiles",
                                   tr("Unique IDs in each file"), &Profile::uniqueIdsInFiles);
    m_uniqueIdsInFiles->setToolTip(
        tr("Puts each file's name in front of its IDs and style classes, so icons inlined in one "
           "page stay apart"));
}

QCheckBox *SvgoOptionsForm::addOption(QFrame *section, const char *name, const QString &title,
                                      bool Profile::*field) {
    auto *box = new QCheckBox(title, section);
    box->setObjectName(QLatin1String(name));
    section->layout()->addWidget(box);
    connect(box, &QCheckBox::clicked, this, [this, field](bool on) {
        emit changeRequested([field, on](Profile &p) { p.*field = on; });
    });
    m_options.append({box, field});
    return box;
}

void SvgoOptionsForm::setProfile(const Profile &profile) {
    m_outputFormat->setProfile(profile);
    m_outputFormat->setVisible(profile.mode == OperationMode::Text);
    // Text mode always takes svgo's output, smaller or not.
    m_keepOriginal->setVisible(profile.mode == OperationMode::File);
    m_uniqueIdsInFiles->setVisible(profile.mode == OperationMode::File);
    const bool fileDecides = profile.svgoConfigFile.has_value();
    m_svgoSection->setEnabled(!fileDecides);
    m_svgoSection->setToolTip(
        fileDecides ? tr("The chosen configuration file decides these options.") : QString());
    {
        // Showing a value is no edit.
        const QSignalBlocker blocker(m_precision);
        m_precision->setValue(profile.automaticPrecision ? automatic
                              : profile.precision        ? int(*profile.precision)
                                                         : svgoDefault);
    }
    for (const auto &[box, field] : std::as_const(m_options))
        box->setChecked(profile.*field);
    // The search judges its tries with the rendering check.
    m_findBreakingPlugins->setEnabled(profile.checkRendering);
}
