#include "ui/profiles/SaveProfileSheet.h"

#include "model/Profile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SaveProfileSheet::SaveProfileSheet(QWidget *parent)
    : QDialog(parent, Qt::Sheet), m_name(new QLineEdit(newProfileName(), this)) {
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Save Profile"));

    auto *title = new QLabel(tr("Save Profile"), this);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    auto *message = new QLabel(tr("Please enter a name for the profile."), this);
    m_name->setPlaceholderText(tr("Profile Name"));
    m_name->setAccessibleName(tr("Profile Name"));

    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setAutoDefault(false);
    auto *save = new QPushButton(tr("Save Profile"), this);
    save->setDefault(true);
    save->setObjectName(QStringLiteral("saveProfileButton"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(save, &QPushButton::clicked, this, [this] {
        const QString name = m_name->text();
        accept();
        emit saveRequested(name);
    });
    connect(this, &QDialog::finished, this, [this] { m_name->setText(newProfileName()); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(save);

    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(16);
    layout->addWidget(title);
    layout->addWidget(message);
    layout->addWidget(m_name);
    layout->addLayout(buttons);
    setMinimumWidth(320);
}

QString SaveProfileSheet::profileName() const {
    return m_name->text();
}

void SaveProfileSheet::setProfileName(const QString &name) {
    m_name->setText(name);
}
