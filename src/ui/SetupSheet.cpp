#include "ui/SetupSheet.h"

#include "engine/Utilities.h"
#include "model/Diagnostics.h"
#include "model/SVGFile.h"
#include "model/Settings.h"
#include "ui/SvgoPathField.h"
#include "ui/components/AsyncButton.h"
#include "ui/components/CircularIndicator.h"

#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QProcess>
#include <QPromise>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include <atomic>
#include <cstdio>
#include <memory>

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
    : QDialog(parent), m_homebrewIndicator(new CircularIndicator(false, false)),
      m_homebrewStatus(new QLabel), m_installButton(new AsyncButton),
      m_pathField(new SvgoPathField), m_checkButton(new AsyncButton(tr("Check"))) {
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
    intro->addWidget(paragraph(
        tr("You can either install SVGO automatically using the "
           "<a href=\"https://brew.sh\">Homebrew</a> package manager or install it in your "
           "preferred way and enter the path to the executable file below.")));
    layout->addLayout(intro);

    auto *homebrew = new SectionFrame;
    QVBoxLayout *homebrewLayout = sectionLayout(homebrew);
    homebrewLayout->addWidget(headline(tr("Install using Homebrew")));
    auto *statusLine = new QHBoxLayout;
    statusLine->setSpacing(6);
    statusLine->addWidget(m_homebrewIndicator, 0, Qt::AlignVCenter);
    statusLine->addWidget(m_homebrewStatus, 1, Qt::AlignVCenter);
    statusLine->addWidget(m_installButton, 0, Qt::AlignVCenter);
    homebrewLayout->addLayout(statusLine);
    layout->addWidget(homebrew);

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
    layout->addWidget(custom);

    m_pathField->setClearButtonEnabled(true);

    m_installButton->setAction([this] { return install(); });
    m_checkButton->setAction([this] { return check(); });
    // Neither button may close the sheet by being the default one.
    m_installButton->setAutoDefault(false);
    m_checkButton->setAutoDefault(false);
    setHomebrewPath(std::nullopt);
    // The wrapped paragraphs decide the height once the width is fixed.
    resize(600, layout->totalHeightForWidth(600));
}

SetupSheet::~SetupSheet() = default;

void SetupSheet::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    // Synchronous, so the sheet never shows a Homebrew state it has not looked up.
    setHomebrewPath(Utilities::shared().locateHomebrew());
    m_svgoPath = Utilities::shared().locateSVGO();
}

void SetupSheet::setHomebrewPath(const std::optional<QString> &path) {
    m_homebrewPath = path;
    const bool found = path.has_value();
    m_homebrewIndicator->setCondition(found);
    m_homebrewStatus->setText(found ? tr("Homebrew is installed")
                                    : tr("Homebrew was not installed"));
    m_installButton->setText(found ? tr("Install SVGO using Homebrew")
                                   : tr("Install Homebrew and SVGO"));
}

QFuture<void> SetupSheet::install() {
    // The completion runs on a worker thread and only after a successful installation; the
    // follow-up on this thread looks at the flag, so the button stays busy until it is done.
    auto installed = std::make_shared<std::atomic<bool>>(false);
    return Utilities::shared()
        .installSVGO([installed] { installed->store(true); })
        .then(this, [this, installed] {
            if (installed->load())
                installationFinished();
        });
}

void SetupSheet::installationFinished() {
    m_svgoPath = Utilities::shared().locateSVGO();
    if (!m_svgoPath)
        return;
    const QString path = trimmedLineBreaks(QUrl::fromPercentEncoding(m_svgoPath->toUtf8()));
    Keys::svgoExecutablePath().set(path);
    accept();
}

QFuture<void> SetupSheet::check() {
    // Used as a file-system path the way the optimizer will use it: no trimming, no search
    // along PATH, relative to the working folder.
    const QString typed = Keys::svgoExecutablePath().get();
    const QString program = typed.isEmpty() ? QString() : QFileInfo(typed).absoluteFilePath();

    auto promise = std::make_shared<QPromise<void>>();
    promise->start();
    QFuture<void> future = promise->future();

    auto *process = new QProcess(this);
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    QPointer<SetupSheet> self = this;
    const auto done = [self, process, promise](bool passed) {
        promise->finish();
        process->deleteLater();
        if (!self)
            return;
        self->setAlertPresented(!passed);
        if (passed)
            self->accept();
    };
    connect(process, &QProcess::errorOccurred, this, [process, done](QProcess::ProcessError error) {
        // Only a failed start ends the check here; other errors still end in finished().
        if (error != QProcess::FailedToStart)
            return;
        qCWarning(lcMirandel).noquote() << process->errorString();
        done(false);
    });
    connect(process, &QProcess::finished, this, [done](int exitCode, QProcess::ExitStatus status) {
        done(status == QProcess::NormalExit && exitCode == 0);
    });
    process->setProgram(program);
    process->start();
    return future;
}

void SetupSheet::setAlertPresented(bool presented) {
    if (!presented) {
        if (m_alert)
            m_alert->close();
        return;
    }
    if (m_alert)
        return;
    const QString title = tr("SVGO could not be found");
    auto *alert = new QMessageBox(QMessageBox::Warning, title, title, QMessageBox::NoButton, this);
    alert->setInformativeText(tr("The SVGO executable file could not be found at the specified "
                                 "path. Please check again or install SVGO using Homebrew."));
    alert->addButton(tr("OK"), QMessageBox::AcceptRole);
    alert->setWindowModality(Qt::WindowModal);
    alert->setAttribute(Qt::WA_DeleteOnClose);
    m_alert = alert;
    alert->open();
}
