#include "platform/UpdatePresenter.h"

#include "platform/UpdateDialog.h"

#include <QDesktopServices>

UpdatePresenter::~UpdatePresenter() {
    delete m_dialog.data();
}

void UpdatePresenter::showResult(const UpdateCheckResult &result, const QString &currentVersion) {
    using Outcome = UpdateCheckResult::Outcome;
    if (result.outcome == Outcome::UpdateAvailable) {
        const AppcastItem item = *result.item;
        UpdateDialog *dialog = UpdateDialog::updateAvailable(item, currentVersion);
        connect(dialog, &UpdateDialog::downloadRequested, this, [item] {
            QDesktopServices::openUrl(item.enclosureUrl.isEmpty() ? item.releaseNotesLink
                                                                  : item.enclosureUrl);
        });
        connect(dialog, &UpdateDialog::skipRequested, this,
                [this, item] { emit skipRequested(item.version); });
        // "Remind Me Later" needs nothing: the next scheduled check offers the release again.
        present(dialog);
    } else if (result.manual && result.outcome == Outcome::UpToDate) {
        present(UpdateDialog::upToDate(currentVersion));
    } else if (result.manual && result.outcome == Outcome::Failed) {
        showFailure(result.error);
    }
}

void UpdatePresenter::showDownloaded(const AppcastItem &item, const QString &path) {
    present(UpdateDialog::downloaded(item, path));
}

void UpdatePresenter::showFailure(const QString &error) {
    present(UpdateDialog::failed(error));
}

UpdateDialog *UpdatePresenter::currentDialog() const {
    return m_dialog;
}

void UpdatePresenter::present(UpdateDialog *dialog) {
    if (m_dialog)
        m_dialog->close();
    m_dialog = dialog;
    dialog->show();
    dialog->raise();
    dialog->activateWindow();
}
