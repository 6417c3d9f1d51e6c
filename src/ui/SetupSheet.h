#pragma once

#include <QDialog>
#include <QFuture>
#include <QMessageBox>
#include <QPointer>

#include <optional>

class AsyncButton;
class CircularIndicator;
class QLabel;
class QLineEdit;

// Shown over a main window when svgo cannot be found: it explains why the program needs svgo and
// offers to install it with Homebrew or to check the path of an svgo the user installed. It
// closes itself as soon as either succeeds.
class SetupSheet : public QDialog {
    Q_OBJECT
public:
    explicit SetupSheet(QWidget *parent = nullptr);
    ~SetupSheet() override;

    QLabel *homebrewStatus() const { return m_homebrewStatus; }
    CircularIndicator *homebrewIndicator() const { return m_homebrewIndicator; }
    AsyncButton *installButton() const { return m_installButton; }
    QLineEdit *pathField() const { return m_pathField; }
    AsyncButton *checkButton() const { return m_checkButton; }
    // The alert "SVGO could not be found" while it is shown, else null.
    QMessageBox *invalidInstallationAlert() const { return m_alert; }

    const std::optional<QString> &homebrewPath() const { return m_homebrewPath; }
    const std::optional<QString> &svgoPath() const { return m_svgoPath; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QFuture<void> install();
    void installationFinished();
    QFuture<void> check();
    void setAlertPresented(bool presented);
    void setHomebrewPath(const std::optional<QString> &path);

    std::optional<QString> m_homebrewPath;
    std::optional<QString> m_svgoPath;
    CircularIndicator *m_homebrewIndicator;
    QLabel *m_homebrewStatus;
    AsyncButton *m_installButton;
    QLineEdit *m_pathField;
    AsyncButton *m_checkButton;
    QPointer<QMessageBox> m_alert;
};
