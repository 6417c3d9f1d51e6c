#pragma once

#include <QWidget>

#include <optional>

class AsyncButton;
class CircularIndicator;
class QLabel;
class QLineEdit;
class QPushButton;

// The Advanced tab: which svgo executable the optimizer runs. It shows the stored path, whether
// the login shell knows an svgo, and offers to take that one or to install it with Homebrew.
class AdvancedSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedSettingsTab(QWidget *parent = nullptr);

    // The lookup's answer as a path: line breaks at either end removed, nothing else.
    static QString installedPath(const QString &located);

    // Asks the login shell again for Homebrew and svgo. Runs each time the tab is shown.
    void lookUp();

    std::optional<QString> svgoPath() const { return m_svgoPath; }
    std::optional<QString> homebrewPath() const { return m_homebrewPath; }

    QLineEdit *pathField() const { return m_pathField; }
    CircularIndicator *indicator() const { return m_indicator; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *useInstalledButton() const { return m_useInstalled; }
    AsyncButton *installButton() const { return m_install; }
    QLabel *noteLabel() const { return m_note; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void setSvgoPath(std::optional<QString> path);
    void refresh();

    std::optional<QString> m_homebrewPath;
    std::optional<QString> m_svgoPath;
    QLineEdit *m_pathField;
    CircularIndicator *m_indicator;
    QLabel *m_status;
    QPushButton *m_useInstalled;
    AsyncButton *m_install;
    QLabel *m_note;
};
