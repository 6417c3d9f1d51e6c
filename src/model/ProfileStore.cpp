#include "model/ProfileStore.h"

#include "model/IncrementedName.h"
#include "model/Settings.h"

#include <QCoreApplication>

#include <algorithm>

namespace ProfileStore {

Profile defaultProfile() {
    return Keys::defaultProfile().get();
}

QList<Profile> profiles() {
    return Keys::profiles().get();
}

std::optional<Profile> find(const QString &id) {
    const Profile fallback = defaultProfile();
    if (id == fallback.id)
        return fallback;
    const QList<Profile> saved = profiles();
    const auto found = std::find_if(saved.cbegin(), saved.cend(),
                                    [&id](const Profile &profile) { return profile.id == id; });
    if (found == saved.cend())
        return std::nullopt;
    return *found;
}

namespace {

// Every name in use, the default profile's included, except that of the profile `exceptId`.
QList<Profile> namedProfiles(const QString &exceptId = {}) {
    QList<Profile> all{defaultProfile()};
    all += profiles();
    all.removeIf([&exceptId](const Profile &profile) { return profile.id == exceptId; });
    return all;
}

QStringList namesOf(const QList<Profile> &list) {
    QStringList names;
    for (const Profile &profile : list)
        names.append(profile.name);
    return names;
}

Profile append(const Profile &profile) {
    QList<Profile> saved = profiles();
    saved.append(profile);
    Keys::profiles().set(saved);
    return profile;
}

} // namespace

QString nameProblem(const QString &name, const QString &exceptId) {
    if (name.trimmed().isEmpty())
        return QCoreApplication::translate("ProfileStore", "A profile needs a name.");
    for (const Profile &profile : namedProfiles(exceptId))
        if (sameName(profile.name, name))
            return QCoreApplication::translate("ProfileStore",
                                               "There is already a profile named “%1”.")
                .arg(profile.name);
    return {};
}

QString freeName(const QString &wanted) {
    // A free name is kept exactly as given; numbering starts from the name without its blanks.
    const QString trimmed = wanted.trimmed();
    const QString free =
        ::freeName(trimmed.isEmpty() ? newProfileName() : trimmed, namesOf(namedProfiles()));
    return !trimmed.isEmpty() && sameName(free, wanted) ? wanted : free;
}

Profile addNew() {
    // A new profile starts from the factory options, not from whatever the default holds now.
    Profile fresh = Profile::makeNew();
    fresh.name = freeName(fresh.name);
    return append(fresh);
}

Profile addDuplicate(const Profile &profile) {
    Profile copy = profile.duplicated();
    copy.name = freeName(copy.name);
    return append(copy);
}

Profile addNamed(const Profile &profile, const QString &name) {
    Profile copy = profile;
    copy.id = newIdentifier();
    copy.name = freeName(name);
    return append(copy);
}

bool update(const Profile &profile) {
    if (profile.isDefault()) {
        Keys::defaultProfile().set(profile);
        return true;
    }
    QList<Profile> saved = profiles();
    for (Profile &stored : saved) {
        if (stored.id == profile.id) {
            const QString keptName = stored.name;
            stored = profile;
            // Only a change of name is checked: repeated names from older stores stay editable.
            if (profile.name != keptName && !nameProblem(profile.name, profile.id).isEmpty())
                stored.name = keptName;
            Keys::profiles().set(saved);
            return true;
        }
    }
    return false;
}

void storeAsDefault(const Profile &profile) {
    Profile copy = profile;
    copy.id = Profile::defaultId;
    copy.name = defaultProfileName();
    Keys::defaultProfile().set(copy);
}

QString remove(const QString &id) {
    QList<Profile> saved = profiles();
    const auto found = std::find_if(saved.cbegin(), saved.cend(),
                                    [&id](const Profile &profile) { return profile.id == id; });
    if (found == saved.cend())
        return {};
    const qsizetype index = found - saved.cbegin();
    saved.removeAt(index);
    Keys::profiles().set(saved);
    return index == 0 ? defaultProfile().id : saved.at(index - 1).id;
}

QList<Profile> moved(QList<Profile> profiles, QList<int> offsets, int toOffset) {
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    QList<Profile> moving;
    // Taking entries out from the back keeps the smaller offsets valid; every entry taken out
    // before the destination moves the destination one place up.
    int destination = std::clamp(toOffset, 0, int(profiles.size()));
    for (auto it = offsets.crbegin(); it != offsets.crend(); ++it) {
        if (*it < 0 || *it >= profiles.size())
            continue;
        moving.prepend(profiles.takeAt(*it));
        if (*it < destination)
            --destination;
    }
    for (int i = 0; i < moving.size(); ++i)
        profiles.insert(destination + i, moving.at(i));
    return profiles;
}

void move(const QList<int> &fromOffsets, int toOffset) {
    Keys::profiles().set(moved(profiles(), fromOffsets, toOffset));
}

} // namespace ProfileStore
