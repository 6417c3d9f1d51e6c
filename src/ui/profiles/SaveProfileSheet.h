#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the name under which the current profile is saved as a new profile. Every time it
// closes, however that happens, the name goes back to "New Profile" (numbered when that name is
// taken) for the next time. A name that is empty or already used by a stored profile cannot be
// saved: the save button is disabled and a line under the field says why.
class SaveProfileSheet : public QDialog {
    Q_OBJECT
public:
    explicit SaveProfileSheet(QWidget *parent = nullptr);

    QString profileName() const;
    void setProfileName(const QString &name);
    QLineEdit *nameField() const { return m_name; }
    QPushButton *saveButton() const { return m_save; }
    QLabel *nameProblemLabel() const { return m_problem; }

signals:
    // "Save Profile" was pressed with this name, exactly as typed; the sheet is already closed.
    void saveRequested(const QString &name);

private:
    void resetName();
    void checkName();

    QLineEdit *m_name;
    QLabel *m_problem;
    QPushButton *m_save;
};
