#pragma once

#include <QAbstractItemModel>
#include <QHash>
#include <QList>
#include <QSet>

class CResultStore;

// The flat list of the groups a scan found, one row per group key in the order the
// groups entered the results. It stores only that order and reads what a row shows
// from the result store; the manager owns it and decides when rows appear or change.
class CNodeItemModel : public QAbstractItemModel
{
    Q_OBJECT
public:
    enum EnGroupRoles {
        PhotosNumberRole = Qt::UserRole + 1,
        PhotosSizeRole,
        PhotoSimilar100Role,
        PhotosModelRole
    };
    Q_ENUM(EnGroupRoles)

    explicit CNodeItemModel(CResultStore *pStore, QObject *parent = nullptr);

    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Stores nothing: asks the views to read that role of that row again.
    Q_INVOKABLE bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QHash<int, QByteArray> roleNames() const override;

    bool addGroup(quint64 pGroup);
    bool refreshGroup(quint64 pGroup);
    // The group left the results (merged into another): its row stays, so that no row moves,
    // but reads as hidden without asking the results for it.
    bool dropGroup(quint64 pGroup);
    bool isDroppedRow(int row) const { return m_setDroppedRows.contains(row); }
    bool containsGroup(quint64 pGroup) const { return m_mapRowOfGroup.contains(pGroup); }
    int rowOfGroup(quint64 pGroup) const { return m_mapRowOfGroup.value(pGroup, -1); }
    quint64 groupAt(int row) const { return row >= 0 && row < m_listGroups.size() ? m_listGroups.at(row) : 0; }
    void clear();

private:
    CResultStore *m_pStore;
    QHash<int, QByteArray> m_mapRoleNames;
    QList<quint64> m_listGroups;
    // Rows are only appended or all dropped, so a row never moves once given.
    QHash<quint64, int> m_mapRowOfGroup;
    QSet<int> m_setDroppedRows;
};
