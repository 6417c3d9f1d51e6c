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

// Names are unique among the default and the saved profiles, compared as sameName() does, so
// that a name (as in `mirandel --batch --profile NAME`) picks one profile. Stores written before
// this rule may hold repeated names; those profiles load and work as they are.

// Why `name` cannot be given to a profile, as a sentence for the user; empty when it can. The
// profile with `exceptId` (the one being renamed) does not count.
QString nameProblem(const QString &name, const QString &exceptId = {});
// `wanted` when it is free, otherwise the next free name in its numbering.
QString freeName(const QString &wanted);

// A saved profile with the factory options and the name "New Profile" (numbered when that is
// taken); returns it.
Profile addNew();
// A saved copy under a fresh identifier: a copy of the default is a "New Profile", a copy of a
// saved one gets the next free number in its name. Returns the copy.
Profile addDuplicate(const Profile &profile);
// A saved copy of `profile` named `name`; an empty or taken name is replaced by the next free
// one, so callers check nameProblem() first to tell the user.
Profile addNamed(const Profile &profile, const QString &name);

// Replaces the stored profile with `profile.id` (the default one included); false when there
// is none. A rename to an empty or taken name is not stored; the rest of the change is.
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
