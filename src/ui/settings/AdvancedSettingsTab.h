#pragma once

#include "engine/SvgoCheck.h"
#include "engine/SvgoInstallation.h"
#include "engine/SvgoResolver.h"

#include <QTimer>
#include <QWidget>

#include <optional>

class AsyncButton;
class CircularIndicator;
class QLabel;
class QLineEdit;
class QPushButton;

// The Advanced tab: which svgo executable the optimizer runs. The dot and the text beside it
// describe the path in the field (checked whenever it changes: version, where it comes from and
// which way a run takes with it, or why it cannot be used); the tab offers to take the svgo found
// on the login shell's PATH or shipped with Mirandel, and to install svgo with Homebrew.
class AdvancedSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit AdvancedSettingsTab(QWidget *parent = nullptr);

    // Looks for svgo and Homebrew again, on a worker thread. Runs each time the tab is shown.
    void lookUp();

    const std::optional<SvgoResolution> &resolution() const { return m_resolution; }
    const SvgoCheck &fieldCheck() const { return m_fieldCheck; }
    bool isChecking() const { return m_checking; }

    QLineEdit *pathField() const { return m_pathField; }
    CircularIndicator *indicator() const { return m_indicator; }
    QLabel *statusLabel() const { return m_status; }
    QPushButton *useInstalledButton() const { return m_useInstalled; }
    AsyncButton *installButton() const { return m_install; }

signals:
    // The path in the field has been checked (or looked up again); the status shows the result.
    void statusShown();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void checkField();
    void refresh();
    QString engineText() const;

    std::optional<SvgoResolution> m_resolution;
    bool m_hasHomebrew = false;
    SvgoCheck m_fieldCheck;
    SvgoInstallation::Engine m_engine = SvgoInstallation::Engine::CommandLine;
    QString m_whyNoWorker;
    bool m_checking = false;
    QTimer m_checkDelay;
    QLineEdit *m_pathField;
    CircularIndicator *m_indicator;
    QLabel *m_status;
    QPushButton *m_useInstalled;
    AsyncButton *m_install;
    QLabel *m_note;
};
