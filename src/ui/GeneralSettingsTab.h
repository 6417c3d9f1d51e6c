#pragma once

#include <QWidget>

class QCheckBox;

// The General tab: how text output is handled once it arrives.
class GeneralSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit GeneralSettingsTab(QWidget *parent = nullptr);

    QCheckBox *copyAutomaticallyBox() const { return m_copyAutomatically; }

private:
    QCheckBox *m_copyAutomatically;
};
