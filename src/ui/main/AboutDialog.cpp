#include "ui/main/AboutDialog.h"

#include "engine/ShippedTools.h"
#include "model/SVGFile.h"
#include "model/Settings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QProcess>
#include <QVBoxLayout>

#ifndef MIRANDEL_VERSION
#define MIRANDEL_VERSION "0"
#endif

AboutDialog::AboutDialog(QWidget *parent) : QDialog(parent), m_svgo(new QLabel(this)) {
    setWindowTitle(tr("About Mirandel"));
    auto *title = new QLabel(QStringLiteral("Mirandel"), this);
    QFont big = title->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    title->setFont(big);
    auto *version = new QLabel(tr("Version %1").arg(QStringLiteral(MIRANDEL_VERSION)), this);
    m_svgo->setObjectName(QStringLiteral("aboutSvgo"));
    m_svgo->setTextFormat(Qt::PlainText);
    m_svgo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_svgo->setText(tr("svgo: looking…"));
    auto *licence = new QLabel(tr("Released under the MIT licence."), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    for (QWidget *widget : {static_cast<QWidget *>(title), static_cast<QWidget *>(version),
                            static_cast<QWidget *>(m_svgo), static_cast<QWidget *>(licence)})
        layout->addWidget(widget);
    layout->addWidget(buttons);

    lookUpSvgo(this, [this](const QString &path, const QString &svgoVersion) {
        if (path.isEmpty())
            m_svgo->setText(tr("svgo: not found"));
        else if (svgoVersion.isEmpty())
            m_svgo->setText(
                tr("svgo: %1 (version unknown)").arg(abbreviatedPath(QUrl::fromLocalFile(path))));
        else
            m_svgo->setText(
                tr("svgo %1: %2").arg(svgoVersion, abbreviatedPath(QUrl::fromLocalFile(path))));
        emit svgoLookedUp();
    });
}

QString AboutDialog::svgoText() const {
    return m_svgo->text();
}

void AboutDialog::lookUpSvgo(
    QObject *context,
    const std::function<void(const QString &path, const QString &version)> &done) {
    // The program chosen in the settings, else the one shipped with Mirandel.
    QString path = Keys::svgoExecutablePath().get();
    if (path.isEmpty())
        path = ShippedTools::svgoPath();
    if (path.isEmpty()) {
        done(QString(), QString());
        return;
    }
    auto *process = new QProcess(context);
    QObject::connect(process, &QProcess::finished, context, [process, path, done] {
        process->deleteLater();
        const QString version = QString::fromUtf8(process->readAllStandardOutput()).trimmed();
        done(path, process->exitCode() == 0 ? version.section(QLatin1Char('\n'), 0, 0) : QString());
    });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, path, done](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         done(path, QString());
                     });
    process->start(path, {QStringLiteral("--version")});
}
