#pragma once

#include "platform/Appcast.h"

#include <QDialog>

class QBoxLayout;
class QDialogButtonBox;
class QLabel;
class QTextBrowser;

// The updater's window: offers a newer release with its notes, or reports that the application
// is up to date, that a check failed, or where an automatic download was saved. It is not modal,
// so the application stays usable while it is open; it deletes itself when closed.
class UpdateDialog : public QDialog {
    Q_OBJECT

public:
    static UpdateDialog *updateAvailable(const AppcastItem &item, const QString &currentVersion);
    static UpdateDialog *upToDate(const QString &currentVersion);
    static UpdateDialog *failed(const QString &reason);
    static UpdateDialog *downloaded(const AppcastItem &item, const QString &path);

    QString heading() const;
    QString informativeText() const;
    // The release notes as shown; empty when the dialog has none.
    QString releaseNotesText() const;

signals:
    void downloadRequested();
    void skipRequested();
    void remindLaterRequested();

private:
    UpdateDialog(const QString &heading, const QString &informativeText);
    void setReleaseNotes(const AppcastItem &item);

    QBoxLayout *m_textColumn;
    QLabel *m_heading;
    QLabel *m_informative;
    QTextBrowser *m_notes = nullptr;
    QDialogButtonBox *m_buttons;
};
