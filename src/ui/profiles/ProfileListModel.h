#pragma once

#include "model/Profile.h"

#include <QAbstractListModel>

// The rows of the profile list in the settings window: the default profile first, then the
// saved profiles in their stored order. It follows the settings store, so an edit made in any
// window (or another process) shows here at once. Rows of saved profiles can be moved, which
// writes the new order to the store.
class ProfileListModel : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { IdRole = Qt::UserRole };

    explicit ProfileListModel(QObject *parent = nullptr);

    const Profile &defaultProfile() const { return m_default; }
    const QList<Profile> &profiles() const { return m_profiles; }

    Profile profileAt(int row) const;
    QString idAt(int row) const;
    // The row of the profile with this identifier; -1 when there is none.
    int rowOf(const QString &id) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    Qt::DropActions supportedDropActions() const override;
    Qt::DropActions supportedDragActions() const override;
    bool moveRows(const QModelIndex &sourceParent, int sourceRow, int count,
                  const QModelIndex &destinationParent, int destinationChild) override;

signals:
    // The rows or their names changed because the store changed.
    void profilesChanged();

private:
    void update(const Profile &defaultProfile, const QList<Profile> &profiles);

    Profile m_default;
    QList<Profile> m_profiles;
};
