#pragma once

#include <QPointer>
#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class Updater;

// The Updates tab: the updater's own settings and a manual check. Every change goes to the
// updater at once; the updater keeps and stores them.
class UpdatesSettingsTab : public QWidget {
    Q_OBJECT
public:
    // The intervals the frequency menu offers, in seconds, in menu order.
    static const QList<qint64> &standardIntervals();

    explicit UpdatesSettingsTab(Updater *updater, QWidget *parent = nullptr);

    QCheckBox *automaticChecksBox() const { return m_automaticChecks; }
    QCheckBox *automaticDownloadsBox() const { return m_automaticDownloads; }
    QComboBox *frequencyBox() const { return m_frequency; }
    QPushButton *checkButton() const { return m_checkButton; }
    // Hidden until the updater has checked at least once.
    QLabel *lastCheckedLabel() const { return m_lastChecked; }
    // Shown instead of a working check button when this build has no update feed.
    QLabel *unavailableLabel() const { return m_unavailable; }

    // Reads the updater's settings into the controls without writing anything back.
    void reload();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refreshLastChecked();
    void refreshCheckButton();

    QPointer<Updater> m_updater;
    QCheckBox *m_automaticChecks;
    QCheckBox *m_automaticDownloads;
    QComboBox *m_frequency;
    QPushButton *m_checkButton;
    QLabel *m_lastChecked;
    QLabel *m_unavailable;
};
