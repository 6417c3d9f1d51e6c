#include "platform/UpdateDialog.h"

#include "platform/FileManager.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

QString applicationName() {
    const QString name = QGuiApplication::applicationDisplayName();
    return name.isEmpty() ? QStringLiteral("Mirandel") : name;
}

} // namespace

UpdateDialog::UpdateDialog(const QString &heading, const QString &informativeText)
    : m_textColumn(new QVBoxLayout), m_heading(new QLabel(heading)),
      m_informative(new QLabel(informativeText)), m_buttons(new QDialogButtonBox) {
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(tr("Software Update"));

    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    m_heading->setFont(headingFont);
    m_heading->setWordWrap(true);
    m_informative->setWordWrap(true);
    m_informative->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *icon = new QLabel;
    const int size = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    QIcon appIcon = QApplication::windowIcon();
    if (appIcon.isNull())
        appIcon = style()->standardIcon(QStyle::SP_MessageBoxInformation, nullptr, this);
    icon->setPixmap(appIcon.pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);

    m_textColumn->addWidget(m_heading);
    m_textColumn->addWidget(m_informative);

    auto *body = new QHBoxLayout;
    body->addWidget(icon);
    body->addLayout(m_textColumn, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(m_buttons);
}

UpdateDialog *UpdateDialog::updateAvailable(const AppcastItem &item,
                                            const QString &currentVersion) {
    auto *dialog = new UpdateDialog(
        tr("A new version of %1 is available!").arg(applicationName()),
        tr("%1 %2 is now available; you have %3. Would you like to download it now?")
            .arg(applicationName(), item.displayVersion(), currentVersion));
    dialog->setReleaseNotes(item);

    QDialogButtonBox *buttons = dialog->m_buttons;
    QPushButton *skip = buttons->addButton(tr("Skip This Version"), QDialogButtonBox::ResetRole);
    QPushButton *later = buttons->addButton(tr("Remind Me Later"), QDialogButtonBox::RejectRole);
    QPushButton *download = buttons->addButton(tr("Download"), QDialogButtonBox::AcceptRole);
    download->setDefault(true);
    connect(skip, &QPushButton::clicked, dialog, [dialog] {
        emit dialog->skipRequested();
        dialog->close();
    });
    connect(later, &QPushButton::clicked, dialog, [dialog] {
        emit dialog->remindLaterRequested();
        dialog->close();
    });
    connect(download, &QPushButton::clicked, dialog, [dialog] {
        emit dialog->downloadRequested();
        dialog->close();
    });
    dialog->resize(dialog->sizeHint().expandedTo(QSize(520, 400)));
    return dialog;
}

UpdateDialog *UpdateDialog::upToDate(const QString &currentVersion) {
    auto *dialog = new UpdateDialog(tr("You’re up to date!"),
                                    tr("%1 %2 is currently the newest version available.")
                                        .arg(applicationName(), currentVersion));
    dialog->m_buttons->addButton(QDialogButtonBox::Ok);
    connect(dialog->m_buttons, &QDialogButtonBox::accepted, dialog, &QDialog::close);
    return dialog;
}

UpdateDialog *UpdateDialog::failed(const QString &reason) {
    auto *dialog = new UpdateDialog(tr("Update Error!"), reason);
    dialog->m_buttons->addButton(QDialogButtonBox::Ok);
    connect(dialog->m_buttons, &QDialogButtonBox::accepted, dialog, &QDialog::close);
    return dialog;
}

UpdateDialog *UpdateDialog::downloaded(const AppcastItem &item, const QString &path) {
    auto *dialog = new UpdateDialog(
        tr("%1 %2 has been downloaded.").arg(applicationName(), item.displayVersion()),
        tr("The update was saved to %1. Install it from there when it suits you.")
            .arg(QDir::toNativeSeparators(path)));
    QPushButton *reveal =
        dialog->m_buttons->addButton(revealActionLabel(), QDialogButtonBox::ActionRole);
    dialog->m_buttons->addButton(QDialogButtonBox::Ok);
    connect(reveal, &QPushButton::clicked, dialog, [dialog, path] {
        revealInFileManager(path);
        dialog->close();
    });
    connect(dialog->m_buttons, &QDialogButtonBox::accepted, dialog, &QDialog::close);
    return dialog;
}

QString UpdateDialog::heading() const {
    return m_heading->text();
}

QString UpdateDialog::informativeText() const {
    return m_informative->text();
}

QString UpdateDialog::releaseNotesText() const {
    return m_notes ? m_notes->toPlainText() : QString();
}

void UpdateDialog::setReleaseNotes(const AppcastItem &item) {
    const QString notes = item.description.trimmed();
    if (notes.isEmpty() && !item.releaseNotesLink.isValid())
        return;
    m_notes = new QTextBrowser;
    m_notes->setOpenExternalLinks(true);
    if (notes.isEmpty()) {
        // The notes could not be fetched with the check; a link still gets the user there.
        const QString url = item.releaseNotesLink.toString().toHtmlEscaped();
        m_notes->setHtml(tr("The release notes are at <a href=\"%1\">%1</a>.").arg(url));
    } else if (Qt::mightBeRichText(notes)) {
        m_notes->setHtml(notes);
    } else {
        m_notes->setPlainText(notes);
    }
    auto *label = new QLabel(tr("Release Notes:"));
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    m_textColumn->addWidget(label);
    m_textColumn->addWidget(m_notes, 1);
}
