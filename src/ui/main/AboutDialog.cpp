#include "ui/main/AboutDialog.h"

#include "engine/ShippedTools.h"
#include "engine/SvgoCheck.h"
#include "model/SVGFile.h"
#include "model/Settings.h"
#include "ui/components/WhenFinished.h"

#include <QDialogButtonBox>
#include <QLabel>
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

    // The program chosen in the settings, else the one shipped with Mirandel.
    QString path = Keys::svgoExecutablePath().get();
    if (path.isEmpty())
        path = ShippedTools::svgoPath();
    if (path.isEmpty()) {
        m_svgo->setText(tr("svgo: not found"));
        return;
    }
    whenFinished(SvgoCheck::start(path), this, [this](const SvgoCheck &check) {
        const QString shown = abbreviatedPath(QUrl::fromLocalFile(check.path));
        if (check.works())
            m_svgo->setText(tr("svgo %1: %2").arg(check.version, shown));
        else
            m_svgo->setText(tr("svgo: %1 (version unknown)").arg(shown));
        emit svgoLookedUp();
    });
}

QString AboutDialog::svgoText() const {
    return m_svgo->text();
}
