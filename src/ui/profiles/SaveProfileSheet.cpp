#include "ui/profiles/SaveProfileSheet.h"

#include "model/Profile.h"
#include "model/ProfileStore.h"
#include "model/Settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

SaveProfileSheet::SaveProfileSheet(QWidget *parent)
    : QDialog(parent, Qt::Sheet), m_name(new QLineEdit(this)), m_problem(new QLabel(this)),
      m_save(new QPushButton(tr("Save Profile"), this)) {
    setWindowModality(Qt::WindowModal);
    setWindowTitle(tr("Save Profile"));

    auto *title = new QLabel(tr("Save Profile"), this);
    QFont headline = title->font();
    headline.setBold(true);
    title->setFont(headline);
    auto *message = new QLabel(tr("Please enter a name for the profile."), this);
    m_name->setPlaceholderText(tr("Profile Name"));
    m_name->setAccessibleName(tr("Profile Name"));
    m_problem->setObjectName(QStringLiteral("nameProblem"));
    m_problem->setWordWrap(true);
    m_problem->setVisible(false);

    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setAutoDefault(false);
    m_save->setDefault(true);
    m_save->setObjectName(QStringLiteral("saveProfileButton"));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_save, &QPushButton::clicked, this, [this] {
        const QString name = m_name->text();
        // The store may have changed since the last check; a name that became taken stays here.
        if (!ProfileStore::nameProblem(name).isEmpty()) {
            checkName();
            return;
        }
        accept();
        emit saveRequested(name);
        // The name just saved is taken now, so the next proposal is numbered.
        resetName();
    });
    connect(this, &QDialog::finished, this, &SaveProfileSheet::resetName);
    connect(m_name, &QLineEdit::textChanged, this, &SaveProfileSheet::checkName);
    // Another window may add, rename or delete profiles while the sheet is open.
    Defaults::observe<QList<Profile>>(Keys::profiles(), this,
                                      [this](const QList<Profile> &) { checkName(); });
    Defaults::observe<Profile>(Keys::defaultProfile(), this,
                               [this](const Profile &) { checkName(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancel);
    buttons->addWidget(m_save);

    const int margin = style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(16);
    layout->addWidget(title);
    layout->addWidget(message);
    layout->addWidget(m_name);
    layout->addWidget(m_problem);
    layout->addLayout(buttons);
    setMinimumWidth(320);
    resetName();
}

QString SaveProfileSheet::profileName() const {
    return m_name->text();
}

void SaveProfileSheet::setProfileName(const QString &name) {
    m_name->setText(name);
}

void SaveProfileSheet::resetName() {
    m_name->setText(ProfileStore::freeName(newProfileName()));
    checkName();
}

void SaveProfileSheet::checkName() {
    const QString problem = ProfileStore::nameProblem(m_name->text());
    m_problem->setText(problem);
    m_problem->setVisible(!problem.isEmpty());
    m_save->setEnabled(problem.isEmpty());
}
