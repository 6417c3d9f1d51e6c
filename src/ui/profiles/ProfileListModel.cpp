#include "ui/profiles/ProfileListModel.h"

#include "model/ProfileStore.h"
#include "model/Settings.h"

#include <algorithm>

ProfileListModel::ProfileListModel(QObject *parent)
    : QAbstractListModel(parent), m_default(ProfileStore::defaultProfile()),
      m_profiles(ProfileStore::profiles()) {
    Defaults::observe<Profile>(Keys::defaultProfile(), this,
                               [this](const Profile &profile) { update(profile, m_profiles); });
    Defaults::observe<QList<Profile>>(
        Keys::profiles(), this, [this](const QList<Profile> &list) { update(m_default, list); });
}

Profile ProfileListModel::profileAt(int row) const {
    if (row == 0)
        return m_default;
    return m_profiles.value(row - 1, m_default);
}

QString ProfileListModel::idAt(int row) const {
    if (row < 0 || row > m_profiles.size())
        return {};
    return profileAt(row).id;
}

int ProfileListModel::rowOf(const QString &id) const {
    if (id == m_default.id)
        return 0;
    for (int i = 0; i < m_profiles.size(); ++i)
        if (m_profiles.at(i).id == id)
            return i + 1;
    return -1;
}

int ProfileListModel::rowCount(const QModelIndex &parent) const {
    return parent.isValid() ? 0 : int(m_profiles.size()) + 1;
}

QVariant ProfileListModel::data(const QModelIndex &index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return profileAt(index.row()).name;
    case IdRole:
        return profileAt(index.row()).id;
    }
    return {};
}

Qt::ItemFlags ProfileListModel::flags(const QModelIndex &index) const {
    // Drops land between rows (on the list itself), never on a row; the default profile always
    // stays on top, so only saved profiles can be picked up.
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.row() > 0)
        flags |= Qt::ItemIsDragEnabled;
    return flags;
}

Qt::DropActions ProfileListModel::supportedDropActions() const {
    return Qt::MoveAction;
}

Qt::DropActions ProfileListModel::supportedDragActions() const {
    return Qt::MoveAction;
}

bool ProfileListModel::moveRows(const QModelIndex &sourceParent, int sourceRow, int count,
                                const QModelIndex &destinationParent, int destinationChild) {
    if (sourceParent.isValid() || destinationParent.isValid() || count < 1 || sourceRow < 1 ||
        sourceRow + count > rowCount())
        return false;
    // A drop above the default profile puts the rows first among the saved ones.
    destinationChild = std::clamp(destinationChild, 1, rowCount());
    if (!beginMoveRows({}, sourceRow, sourceRow + count - 1, {}, destinationChild))
        return false;
    QList<int> offsets;
    for (int row = sourceRow; row < sourceRow + count; ++row)
        offsets.append(row - 1);
    m_profiles = ProfileStore::moved(m_profiles, offsets, destinationChild - 1);
    endMoveRows();
    // The store now says what the rows already show, so its change notice finds nothing to do.
    ProfileStore::move(offsets, destinationChild - 1);
    emit profilesChanged();
    return true;
}

void ProfileListModel::update(const Profile &defaultProfile, const QList<Profile> &profiles) {
    auto ids = [](const QList<Profile> &list) {
        QStringList result;
        for (const Profile &profile : list)
            result.append(profile.id);
        return result;
    };
    if (defaultProfile == m_default && profiles == m_profiles)
        return;
    if (defaultProfile.id == m_default.id && ids(profiles) == ids(m_profiles)) {
        // Same rows, new contents (a rename or an option edit): keep the view's selection.
        m_default = defaultProfile;
        m_profiles = profiles;
        emit dataChanged(index(0), index(rowCount() - 1));
    } else {
        beginResetModel();
        m_default = defaultProfile;
        m_profiles = profiles;
        endResetModel();
    }
    emit profilesChanged();
}
