#pragma once

#include "model/Profile.h"

#include <QList>
#include <QString>

#include <optional>

// The one owner of the stored profiles and the default profile. Every change to them goes
// through here, so the rules (naming of copies, where a deleted profile's highlight goes, what
// "store as default" keeps) live in one place and each change is one write of the store.
namespace ProfileStore {

Profile defaultProfile();
QList<Profile> profiles();
// The default profile or the saved profile with this identifier.
std::optional<Profile> find(const QString &id);

// A saved profile with the factory options and the name "New Profile"; returns it.
Profile addNew();
// A saved copy under a fresh identifier: a copy of the default is a "New Profile", a copy of a
// saved one gets the next number in its name. Returns the copy.
Profile addDuplicate(const Profile &profile);
// A saved copy of `profile` named exactly `name` (empty and repeated names are fine).
Profile addNamed(const Profile &profile, const QString &name);

// Replaces the stored profile with `profile.id` (the default one included); false when there
// is none.
bool update(const Profile &profile);
// Stores the options of `profile` as the default profile, under the default's id and name.
void storeAsDefault(const Profile &profile);

// Deletes a saved profile. Returns the identifier the highlight should move to (the profile
// before it, or the default for the first one); empty when nothing was deleted.
QString remove(const QString &id);
// Moves the saved profiles at `fromOffsets` to before `toOffset` (offsets into profiles()).
void move(const QList<int> &fromOffsets, int toOffset);
// The reordering itself, for views that show it before the store says so.
QList<Profile> moved(QList<Profile> profiles, QList<int> fromOffsets, int toOffset);

} // namespace ProfileStore
