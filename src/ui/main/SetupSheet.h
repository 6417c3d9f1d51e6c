#pragma once

#include <QDialog>
#include <QFuture>
#include <QMessageBox>
#include <QPointer>

class AsyncButton;
class CircularIndicator;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Shown over a main window when no svgo works: it explains why the program needs svgo and
// offers to install it (with Homebrew where it exists, else with npm) or to check the path of an
// svgo the user installed. It closes itself as soon as either succeeds; Esc, the window's close
// button and "Not Now" put it away without svgo, and the quit action added to it gets a button.
class SetupSheet : public QDialog {
    Q_OBJECT
public:
    enum class Installer { Unknown, Homebrew, Npm, None };

    explicit SetupSheet(QWidget *parent = nullptr);
    ~SetupSheet() override;

    Installer installer() const { return m_installer; }
    QWidget *installSection() const { return m_installSection; }
    QLabel *installerStatus() const { return m_installerStatus; }
    CircularIndicator *installerIndicator() const { return m_installerIndicator; }
    AsyncButton *installButton() const { return m_installButton; }
    // The line naming the packages that bring npm, shown where there is neither brew nor npm.
    QLabel *packagesHint() const { return m_packagesHint; }
    QLineEdit *pathField() const { return m_pathField; }
    // Why the svgo in the path field cannot be used (it names the path); hidden when empty.
    void setStoredProblem(const QString &problem);
    QLabel *storedProblem() const { return m_storedProblem; }
    AsyncButton *checkButton() const { return m_checkButton; }
    QPushButton *notNowButton() const { return m_notNowButton; }
    // Shown once an action with the quit role is added to the sheet, and triggers it.
    QPushButton *quitButton() const { return m_quitButton; }
    // The alert "SVGO could not be found" (or "… installed") while it is shown, else null.
    QMessageBox *alert() const { return m_alert; }

signals:
    // The lookup of Homebrew and npm has ended and the install section shows its result.
    void installerLookedUp();

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void actionEvent(QActionEvent *event) override;

private:
    void fitToContent();
    void setInstaller(Installer installer);
    QFuture<void> install();
    QFuture<void> check();
    void showAlert(const QString &title, const QString &message);

    Installer m_installer = Installer::Unknown;
    QLabel *m_installerParagraph;
    QWidget *m_installSection;
    QLabel *m_installTitle;
    CircularIndicator *m_installerIndicator;
    QLabel *m_installerStatus;
    AsyncButton *m_installButton;
    QLabel *m_packagesHint;
    QLineEdit *m_pathField;
    QLabel *m_storedProblem;
    AsyncButton *m_checkButton;
    QPushButton *m_notNowButton;
    QPushButton *m_quitButton;
    QPointer<QAction> m_quitAction;
    QPointer<QMessageBox> m_alert;
};
