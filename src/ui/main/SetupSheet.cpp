#include "ui/main/SetupSheet.h"

#include "engine/SvgoCheck.h"
#include "engine/SvgoInstaller.h"
#include "engine/Utilities.h"
#include "model/Settings.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"
#include "ui/components/SvgoPathField.h"
#include "ui/components/WhenFinished.h"

#include <QAction>
#include <QActionEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QtConcurrent>

namespace {

// A section of the sheet: a faint rounded outline around its content.
class SectionFrame : public QWidget {
public:
    explicit SectionFrame(QWidget *parent = nullptr) : QWidget(parent) {}

protected:
    void paintEvent(QPaintEvent *) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        QColor line = palette().color(QPalette::WindowText);
        line.setAlphaF(0.15f);
        painter.setPen(QPen(line, 1));
        painter.setBrush(Qt::NoBrush);
        // Half a pixel in, so the 1-point line lies inside the bounds.
        painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }
};

QLabel *headline(const QString &text, qreal scale = 1.0) {
    auto *label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * scale);
    label->setFont(font);
    return label;
}

QLabel *paragraph(const QString &html) {
    auto *label = new QLabel(html);
    label->setTextFormat(Qt::RichText);
    label->setWordWrap(true);
    label->setOpenExternalLinks(true);
    label->setTextInteractionFlags(Qt::TextBrowserInteraction);
    return label;
}

QVBoxLayout *sectionLayout(SectionFrame *frame) {
    auto *layout = new QVBoxLayout(frame);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(8);
    return layout;
}

} // namespace

SetupSheet::SetupSheet(QWidget *parent)
    : QDialog(parent), m_installerParagraph(paragraph(QString())),
      m_installSection(new SectionFrame), m_installTitle(headline(QString())),
      m_installerIndicator(new CircularIndicator(true, false)), m_installerStatus(new QLabel),
      m_installButton(new AsyncButton), m_packagesHint(new QLabel), m_pathField(new SvgoPathField),
      m_storedProblem(new QLabel), m_checkButton(new AsyncButton(tr("Check"))),
      m_notNowButton(new QPushButton(tr("Not Now"))),
      m_quitButton(new QPushButton(tr("Quit %1").arg(QStringLiteral("Mirandel")))) {
#ifdef Q_OS_MACOS
    setWindowFlag(Qt::Sheet);
#endif
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Set Up SVGO"));
    setFixedWidth(600);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(16);

    auto *intro = new QVBoxLayout;
    intro->setSpacing(8);
    intro->addWidget(headline(tr("Wake up, Neo…"), 1.6));
    // The application's name stays outside the translated text, as it is never translated.
    intro->addWidget(paragraph(
        QStringLiteral("Mirandel") +
        tr(" uses <a href=\"https://svgo.dev\">SVGO</a> for processing and optimizing SVG files. "
           "It appears that SVGO is either not installed or it could not be found.")));
    intro->addWidget(m_installerParagraph);
    layout->addLayout(intro);

    QVBoxLayout *installLayout = sectionLayout(static_cast<SectionFrame *>(m_installSection));
    installLayout->addWidget(m_installTitle);
    auto *statusLine = new QHBoxLayout;
    statusLine->setSpacing(6);
    statusLine->addWidget(m_installerIndicator, 0, Qt::AlignVCenter);
    statusLine->addWidget(m_installerStatus, 1, Qt::AlignVCenter);
    statusLine->addWidget(m_installButton, 0, Qt::AlignVCenter);
    installLayout->addLayout(statusLine);
    m_packagesHint->setWordWrap(true);
    m_packagesHint->setText(tr("To install SVGO from here, first install the Debian packages "
                               "nodejs and npm (sudo apt install nodejs npm)."));
    installLayout->addWidget(m_packagesHint);
    layout->addWidget(m_installSection);

    auto *custom = new SectionFrame;
    QVBoxLayout *customLayout = sectionLayout(custom);
    customLayout->addWidget(headline(tr("Custom Installation")));
    auto *pathLabel = new QLabel(tr("SVGO Executable Path"));
    pathLabel->setBuddy(m_pathField);
    customLayout->addWidget(pathLabel);
    auto *pathLine = new QHBoxLayout;
    pathLine->setSpacing(8);
    pathLine->addWidget(m_pathField, 1, Qt::AlignVCenter);
    pathLine->addWidget(m_checkButton, 0, Qt::AlignVCenter);
    customLayout->addLayout(pathLine);
    m_storedProblem->setWordWrap(true);
    m_storedProblem->setTextFormat(Qt::PlainText);
    m_storedProblem->hide();
    customLayout->addWidget(m_storedProblem);
    layout->addWidget(custom);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_quitButton);
    buttons->addStretch(1);
    buttons->addWidget(m_notNowButton);
    layout->addLayout(buttons);
    m_quitButton->hide();
    connect(m_quitButton, &QPushButton::clicked, this, [this] {
        if (m_quitAction)
            m_quitAction->trigger();
    });
    connect(m_notNowButton, &QPushButton::clicked, this, &SetupSheet::reject);

    m_pathField->setClearButtonEnabled(true);

    m_installButton->setAction([this] { return install(); });
    m_checkButton->setAction([this] { return check(); });
    // Neither button may close the sheet by being the default one.
    m_installButton->setAutoDefault(false);
    m_checkButton->setAutoDefault(false);
    m_notNowButton->setAutoDefault(false);
    m_quitButton->setAutoDefault(false);
    setInstaller(Installer::Unknown);
}

SetupSheet::~SetupSheet() = default;

void SetupSheet::setStoredProblem(const QString &problem) {
    m_storedProblem->setText(problem);
    m_storedProblem->setVisible(!problem.isEmpty());
    if (isVisible())
        fitToContent();
}

void SetupSheet::fitToContent() {
    // The wrapped paragraphs are taller than their plain minimum size says; the minimum height
    // must come from their height at the fixed width, or the layout squeezes every row.
    layout()->invalidate();
    const int height = layout()->totalHeightForWidth(width());
    setMinimumHeight(height);
    resize(width(), height);
    layout()->activate();
}

void SetupSheet::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Only now are the fonts of the style known that the heights depend on.
    fitToContent();
    QFuture<Installer> lookup = QtConcurrent::run([] {
        if (Utilities::shared().locateHomebrew())
            return Installer::Homebrew;
        return Utilities::shared().locateNpm() ? Installer::Npm : Installer::None;
    });
    whenFinished(lookup, this, [this](Installer installer) {
        setInstaller(installer);
        emit installerLookedUp();
    });
}

void SetupSheet::reject() {
    // The window stays without svgo; it offers the sheet again when it needs svgo.
    if (m_alert)
        m_alert->close();
    QDialog::reject();
}

void SetupSheet::actionEvent(QActionEvent *event) {
    QDialog::actionEvent(event);
    if (event->type() != QEvent::ActionAdded || event->action()->menuRole() != QAction::QuitRole)
        return;
    // The sheet blocks the menus, so quitting gets a button that names the shortcut.
    m_quitAction = event->action();
    const QKeySequence shortcut = m_quitAction->shortcut();
    m_quitButton->setToolTip(shortcut.toString(QKeySequence::NativeText));
    m_quitButton->show();
    fitToContent();
}

void SetupSheet::setInstaller(Installer installer) {
    m_installer = installer;
    const bool homebrew = installer == Installer::Homebrew;
    m_installerParagraph->setText(
        homebrew ? tr("You can either install SVGO automatically using the "
                      "<a href=\"https://brew.sh\">Homebrew</a> package manager or install it in "
                      "your preferred way and enter the path to the executable file below.")
                 : tr("You can either install SVGO automatically using "
                      "<a href=\"https://www.npmjs.com\">npm</a>, the package manager of Node.js, "
                      "or install it in your preferred way and enter the path to the executable "
                      "file below."));
    m_installSection->setVisible(installer != Installer::Unknown);
    m_installTitle->setText(homebrew ? tr("Install using Homebrew") : tr("Install using npm"));
    const bool offered = homebrew || installer == Installer::Npm;
    m_installerIndicator->setVisible(offered);
    m_installerStatus->setVisible(offered);
    m_installButton->setVisible(offered);
    m_packagesHint->setVisible(installer == Installer::None);
    m_installerStatus->setText(homebrew ? tr("Homebrew is installed") : tr("npm is installed"));
    m_installButton->setText(homebrew ? tr("Install SVGO using Homebrew")
                                      : tr("Install SVGO with npm"));
    fitToContent();
}

QFuture<void> SetupSheet::install() {
    QFuture<SvgoInstallResult> installation = m_installer == Installer::Homebrew
                                                  ? SvgoInstaller::withHomebrew()
                                                  : SvgoInstaller::withNpm();
    return whenFinished(installation, this, [this](const SvgoInstallResult &done) {
        // The sheet may have been put away while the installation ran.
        if (!done.succeeded()) {
            if (isVisible())
                showAlert(tr("SVGO could not be installed"), done.problem);
            return;
        }
        Keys::svgoExecutablePath().set(done.svgoPath);
        if (isVisible())
            accept();
    });
}

QFuture<void> SetupSheet::check() {
    return whenFinished(SvgoCheck::start(m_pathField->text()), this,
                        [this](const SvgoCheck &check) {
                            if (!isVisible())
                                return;
                            if (!check.works()) {
                                showAlert(tr("SVGO could not be found"), check.problem());
                                return;
                            }
                            if (m_alert)
                                m_alert->close();
                            accept();
                        });
}

void SetupSheet::showAlert(const QString &title, const QString &message) {
    if (m_alert)
        m_alert->close();
    auto *alert = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::NoButton, this);
    alert->setInformativeText(message);
    alert->addButton(tr("OK"), QMessageBox::AcceptRole);
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    m_alert = alert;
    alert->open();
}
