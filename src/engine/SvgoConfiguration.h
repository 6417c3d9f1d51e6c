#pragma once

#include "model/Profile.h"

#include <QString>

// The svgo configuration that carries a profile's svgo options, as an ES module svgo can load
// with --config and people can reuse in their own builds as svgo.config.mjs.
namespace SvgoConfiguration {

// The module text for the profile's options (its configuration file, if any, is not looked at).
QString text(const Profile &profile);

// The configuration file svgo should get for the profile: the one the profile names or, without
// one, a file with text(profile) written into `scratchFolder` (a private folder of this process
// when empty). Files are named after their content, so runs with the same options share one.
// When the file cannot be written its path is still returned: svgo then reports it missing for
// every file, which tells the user more than silently dropping the options.
QString effectiveFile(const Profile &profile, const QString &scratchFolder = {});

// Writes the effective configuration to `path`: a copy of the profile's configuration file, or
// text(profile). Returns an error text, empty on success.
QString exportTo(const Profile &profile, const QString &path);

} // namespace SvgoConfiguration
