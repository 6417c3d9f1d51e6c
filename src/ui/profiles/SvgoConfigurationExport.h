#pragma once

#include "model/Profile.h"

class QWidget;

// Asks where to save and writes the profile's effective svgo configuration there, for builds and
// CI that run svgo themselves. Failures are shown in a message box; nothing waits for the user.
void exportSvgoConfiguration(const Profile &profile, QWidget *parent);
