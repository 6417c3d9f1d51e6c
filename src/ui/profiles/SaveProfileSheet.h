#pragma once

#include <QDialog>

class QLineEdit;

// Asks for the name under which the current profile is saved as a new profile. Every time it
// closes, however that happens, the name goes back to "New Profile" for the next time.
class SaveProfileSheet : public QDialog {
    Q_OBJECT
public:
    explicit SaveProfileSheet(QWidget *parent = nullptr);

    QString profileName() const;
    void setProfileName(const QString &name);
    QLineEdit *nameField() const { return m_name; }

signals:
    // "Save Profile" was pressed with this name, exactly as typed; the sheet is already closed.
    void saveRequested(const QString &name);

private:
    QLineEdit *m_name;
};
