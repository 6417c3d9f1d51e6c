#pragma once

#include "platform/UpdateCheckResult.h"

#include <QObject>
#include <QPointer>

class UpdateDialog;

// Shows the updater's findings in its window, one window at a time: a newer report replaces the
// older one. Scheduled checks speak only when there is a release to offer; a check the user asked
// for always answers, even "up to date".
class UpdatePresenter : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;
    ~UpdatePresenter() override;

    void showResult(const UpdateCheckResult &result, const QString &currentVersion);
    void showDownloaded(const AppcastItem &item, const QString &path);
    void showFailure(const QString &error);
    // The window on screen, if any.
    UpdateDialog *currentDialog() const;

signals:
    void skipRequested(const QString &version);

private:
    void present(UpdateDialog *dialog);

    QPointer<UpdateDialog> m_dialog;
};
