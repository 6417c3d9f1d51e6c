#pragma once

#include "model/Profile.h"
#include "ui/profiles/SaveProfileSheet.h"

#include <QPointer>
#include <QWidget>

#include <functional>

class AppState;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollArea;
class QToolButton;
class SegmentedPicker;
class SvgoOptionsForm;

// The form that edits one profile's options. The inspector shows it for the current profile;
// the settings window shows it for a saved profile (with the name field, without saving).
// setProfile() only shows a profile; the user's edits come back through profileEdited().
class ProfileEditor : public QWidget {
    Q_OBJECT
public:
    ProfileEditor(AppState *application, bool allowNameChange, bool allowSavingProfile,
                  QWidget *parent = nullptr);
    ~ProfileEditor() override;

    const Profile &profile() const { return m_profile; }
    void setProfile(const Profile &profile);

    bool allowNameChange() const { return m_allowNameChange; }
    bool allowSavingProfile() const { return m_allowSavingProfile; }

    // Created on first use.
    SaveProfileSheet *saveProfileSheet();
    QScrollArea *scrollArea() const { return m_scrollArea; }

signals:
    // The user changed the profile (or saved it as a new profile, which then becomes the one
    // being edited).
    void profileEdited(const Profile &profile);

private:
    void build();
    QWidget *buildNameSection();
    QWidget *buildOutputSection();
    QWidget *buildConfigurationSection();
    QWidget *buildWrapOutputSection();
    QWidget *buildWrapIndividualSection();
    QWidget *buildPrettyPrintSection();
    void refresh();
    void edit(const std::function<void(Profile &)> &change);
    void chooseOutputFolder();
    void chooseConfigurationFile();
    void saveAsDefaultProfile();
    void saveNewProfile();
    void saveProfileNamed(const QString &name);
    bool answersSaveNewProfile() const;

    AppState *m_application;
    bool m_allowNameChange;
    bool m_allowSavingProfile;
    Profile m_profile;
    QPointer<SaveProfileSheet> m_sheet;
    QScrollArea *m_scrollArea = nullptr;

    QWidget *m_nameSection = nullptr;
    QLineEdit *m_name = nullptr;
    SegmentedPicker *m_mode = nullptr;
    QCheckBox *m_overwrite = nullptr;
    QWidget *m_outputFolderRow = nullptr;
    QLabel *m_outputFolderPath = nullptr;
    QToolButton *m_configurationMenuButton = nullptr;
    QLabel *m_configurationPath = nullptr;
    QPushButton *m_removeConfiguration = nullptr;
    QWidget *m_wrapOutputSection = nullptr;
    QCheckBox *m_wrapOutput = nullptr;
    QWidget *m_wrapOutputFields = nullptr;
    QLineEdit *m_wrapOutputPrefix = nullptr;
    QLineEdit *m_wrapOutputSuffix = nullptr;
    QWidget *m_wrapIndividualSection = nullptr;
    QCheckBox *m_wrapIndividual = nullptr;
    QWidget *m_wrapIndividualFields = nullptr;
    QLineEdit *m_wrapIndividualPrefix = nullptr;
    QLineEdit *m_wrapIndividualSuffix = nullptr;
    QString m_fileNameExample; // the element fields' tooltip while they are usable
    QWidget *m_prettyPrintSection = nullptr;
    QCheckBox *m_prettyPrint = nullptr;
    QWidget *m_prettyPrintFields = nullptr;
    SegmentedPicker *m_indentation = nullptr;
    QWidget *m_widthRow = nullptr;
    QLineEdit *m_width = nullptr;
    QCheckBox *m_keepTogether = nullptr;
    SvgoOptionsForm *m_svgoOptions = nullptr;
};
