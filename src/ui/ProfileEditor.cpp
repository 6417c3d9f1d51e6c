#include "ui/ProfileEditor.h"

#include "ui/Application.h"

ProfileEditor::ProfileEditor(Application *application, bool allowNameChange,
                             bool allowSavingProfile, QWidget *parent)
    : QWidget(parent), m_application(application), m_allowNameChange(allowNameChange),
      m_allowSavingProfile(allowSavingProfile), m_profile(application->profile()) {}

ProfileEditor::~ProfileEditor() = default;

void ProfileEditor::setProfile(const Profile &profile) {
    m_profile = profile;
}
