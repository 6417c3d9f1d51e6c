#pragma once

#include "model/Profile.h"

#include <QFrame>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;

// The text-mode options of the profile editor that shape what is pasted: the output format and
// whether each file's ids get a prefix of its own.
class OutputFormatSection : public QFrame {
    Q_OBJECT
public:
    explicit OutputFormatSection(QWidget *parent = nullptr);

    // Shows the profile's options.
    void setProfile(const Profile &profile);

    // Why the format's text cannot be framed by the wrapper fields, or empty when it can.
    static QString wrapperRefusal(OutputFormat format);

    QComboBox *formatPicker() const { return m_format; }
    QCheckBox *uniqueIdsBox() const { return m_uniqueIds; }

signals:
    // The user changed an option; the editor applies the change to its profile.
    void changeRequested(const std::function<void(Profile &)> &change);

private:
    QComboBox *m_format;
    QCheckBox *m_uniqueIds;
    QLabel *m_wrapperNote; // why the wrappers below are greyed out, next to the cause
};
