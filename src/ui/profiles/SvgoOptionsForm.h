#pragma once

#include "model/Profile.h"

#include <QWidget>

#include <functional>

class OutputFormatSection;
class QCheckBox;
class QFrame;
class QSpinBox;

// The profile editor's sections below the configuration file: the svgo options a profile carries
// for runs without a configuration file (greyed out when a file is chosen, which then decides),
// the checks of svgo's results, and in text mode the output format section.
class SvgoOptionsForm : public QWidget {
    Q_OBJECT
public:
    explicit SvgoOptionsForm(QWidget *parent = nullptr);

    // Shows the profile's options.
    void setProfile(const Profile &profile);

    QFrame *svgoSection() const { return m_svgoSection; }
    OutputFormatSection *outputFormatSection() const { return m_outputFormat; }
    QSpinBox *precisionBox() const { return m_precision; }
    QCheckBox *multipassBox() const { return m_multipass; }

signals:
    // The user changed an option; the editor applies the change to its profile.
    void changeRequested(const std::function<void(Profile &)> &change);

private:
    QCheckBox *addOption(QFrame *section, const char *name, const QString &title,
                         bool Profile::*field);

    QFrame *m_svgoSection;
    QFrame *m_checksSection; // the guards against damage, whatever configures svgo
    QCheckBox *m_keepOriginal = nullptr;
    QCheckBox *m_uniqueIdsInFiles = nullptr;
    QCheckBox *m_findBreakingPlugins = nullptr;
    OutputFormatSection *m_outputFormat;
    QSpinBox *m_precision;
    QCheckBox *m_multipass = nullptr;
    QList<std::pair<QCheckBox *, bool Profile::*>> m_options;
};
