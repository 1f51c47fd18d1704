#include "CNodeItemModel.h"

#include "CResultStore.h"

#include <QVariantMap>

namespace {

// Every index carries all ones: the mark of a top-level row.
constexpr quintptr kTopLevelId = ~quintptr(0);

} // namespace

CNodeItemModel::CNodeItemModel(CResultStore *pStore, QObject *parent)
    : QAbstractItemModel(parent), m_pStore(pStore)
{
    m_mapRoleNames = QAbstractItemModel::roleNames();
    m_mapRoleNames.insert(PhotosNumberRole, "photosNumber");
    m_mapRoleNames.insert(PhotosSizeRole, "photosSize");
    m_mapRoleNames.insert(PhotoSimilar100Role, "photoSimilar100");
    m_mapRoleNames.insert(PhotosModelRole, "photosModel");
}

QModelIndex CNodeItemModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column, kTopLevelId);
}

QModelIndex CNodeItemModel::parent(const QModelIndex &) const
{
    return {};
}

int CNodeItemModel::rowCount(const QModelIndex &parent) const
{
    // A flat list: rows under a row would make views and testers walk an endless tree.
    return parent.isValid() ? 0 : m_listGroups.size();
}

int CNodeItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_mapRoleNames.size();
}

QVariant CNodeItemModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const quint64 key = m_listGroups.at(index.row());
    if (role == PhotosModelRole)
        return QVariant::fromValue(key);
    // The screens read every figure of a row through one map. The framework's own roles
    // stay empty: views and testers expect text, sizes and colours there.
    if (role < PhotosNumberRole || role > PhotoSimilar100Role)
        return {};
    // A group merged away reads as empty; the proxy has it hidden by then.
    qint64 iCount = 0;
    qint64 iSize = 0;
    bool bIdentical = true;
    m_pStore->readGroup(key, [&](const GroupSummary &summary) {
        iCount = summary.photoCount;
        iSize = summary.totalSize;
        bIdentical = summary.allIdentical;
    });
    return QVariantMap{{QStringLiteral("photosNumber"), iCount},
                       {QStringLiteral("photosSize"), iSize},
                       {QStringLiteral("photoSimilar100"), bIdentical},
                       {QStringLiteral("photosModel"), QVariant::fromValue(key)}};
}

bool CNodeItemModel::setData(const QModelIndex &index, const QVariant &, int role)
{
    if (!index.isValid() || index.model() != this)
        return false;
    Q_EMIT dataChanged(index, index, {role});
    return true;
}

Qt::ItemFlags CNodeItemModel::flags(const QModelIndex &) const
{
    return Qt::NoItemFlags;
}

QHash<int, QByteArray> CNodeItemModel::roleNames() const
{
    return m_mapRoleNames;
}

bool CNodeItemModel::addGroup(quint64 pGroup)
{
    if (const int row = rowOfGroup(pGroup); row >= 0) {
        // A key that comes back takes its old row again.
        if (m_setDroppedRows.remove(row))
            Q_EMIT dataChanged(index(row, 0), index(row, 0));
        return false;
    }
    const int row = m_listGroups.size();
    beginInsertRows(QModelIndex(), row, row);
    m_listGroups.append(pGroup);
    m_mapRowOfGroup.insert(pGroup, row);
    endInsertRows();
    return true;
}

bool CNodeItemModel::refreshGroup(quint64 pGroup)
{
    const int row = rowOfGroup(pGroup);
    if (row < 0)
        return false;
    const QModelIndex idx = index(row, 0);
    const QList<int> listRoles = m_mapRoleNames.keys();
    Q_EMIT dataChanged(idx, idx, QVector<int>(listRoles.cbegin(), listRoles.cend()));
    return true;
}

bool CNodeItemModel::dropGroup(quint64 pGroup)
{
    const int row = rowOfGroup(pGroup);
    if (row < 0 || m_setDroppedRows.contains(row))
        return false;
    m_setDroppedRows.insert(row);
    const QModelIndex idx = index(row, 0);
    Q_EMIT dataChanged(idx, idx);
    return true;
}

void CNodeItemModel::clear()
{
    beginResetModel();
    m_listGroups.clear();
    m_mapRowOfGroup.clear();
    m_setDroppedRows.clear();
    endResetModel();
}
