#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;

// The General tab: how text output is handled once it arrives, and how its lines end.
class GeneralSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsTab(QWidget *parent = nullptr);

    QCheckBox *copyAutomaticallyBox() const { return m_copyAutomatically; }
    QComboBox *lineEndingPicker() const { return m_lineEnding; }
    QCheckBox *cacheResultsBox() const { return m_cacheResults; }

private:
    QCheckBox *m_copyAutomatically;
    QComboBox *m_lineEnding;
    QCheckBox *m_cacheResults;
};
