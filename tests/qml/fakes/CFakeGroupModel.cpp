#include "CFakeGroupModel.h"

#include "CFakeDupPicsMgr.h"

namespace {
constexpr int kRoleCount = Qt::UserRole + 1;
constexpr int kRoleSize = Qt::UserRole + 2;
constexpr int kRoleIdentical = Qt::UserRole + 3;
constexpr int kRoleKey = Qt::UserRole + 4;

QString sizeText(qlonglong i64Size)
{
    if (i64Size == 0)
        return QStringLiteral("0 KB");
    static const char *const kUnits[] = {"B", "KB", "MB", "GB", "TB"};
    double d = double(i64Size);
    int i = 0;
    while (i < 4 && d >= 1024.0) {
        d /= 1024.0;
        ++i;
    }
    return QString::asprintf("%.02f %s", d, kUnits[i]);
}
} // namespace

CFakeGroupModel::CFakeGroupModel(CFakeDupPicsMgr *pMgr) : QAbstractListModel(pMgr), m_pMgr(pMgr) {}

int CFakeGroupModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_pMgr->groupCount();
}

// Every role but the key answers with the same map, as the real group model does.
QVariant CFakeGroupModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const CFakePhotoModel *pGroup = m_pMgr->groupAt(index.row());
    if (role == kRoleKey)
        return QVariant::fromValue<quint64>(pGroup->groupKey());
    qlonglong i64Size = 0;
    for (const CFakePhoto &photo : pGroup->photos())
        i64Size += photo.i64Size;
    QVariantMap map;
    map.insert(QStringLiteral("photosNumber"), qlonglong(pGroup->photos().size()));
    map.insert(QStringLiteral("photosSize"), i64Size);
    map.insert(QStringLiteral("photoSimilar100"), pGroup->groupKey() % 3 == 0);
    map.insert(QStringLiteral("photosModel"), QVariant::fromValue<quint64>(pGroup->groupKey()));
    return map;
}

QHash<int, QByteArray> CFakeGroupModel::roleNames() const
{
    QHash<int, QByteArray> roles = QAbstractListModel::roleNames();
    roles.insert(kRoleCount, "photosNumber");
    roles.insert(kRoleSize, "photosSize");
    roles.insert(kRoleIdentical, "photoSimilar100");
    roles.insert(kRoleKey, "photosModel");
    return roles;
}

void CFakeGroupModel::reset()
{
    beginResetModel();
    endResetModel();
}

void CFakeGroupModel::refreshRow(int row)
{
    emit dataChanged(index(row), index(row));
}

QVariantList CFakeGroupModel::getCurrentShowGroup() const
{
    QVariantList list;
    for (int i = m_iShowPos; i < m_pMgr->groupCount() && i < m_iShowPos + 6; ++i)
        list << QVariant::fromValue<quint64>(m_pMgr->groupAt(i)->groupKey());
    return list;
}

void CFakeGroupModel::setCurrentShowPosition(double row)
{
    const int iRow = int(row);
    if (iRow == m_iShowPos)
        return;
    m_iShowPos = iRow;
    emit sigGroupShowPosChanged();
}

QString CFakeGroupModel::getGroupInfo(QAbstractItemModel *pModel) const
{
    auto *pPhotos = qobject_cast<CFakePhotoModel *>(pModel);
    if (!pPhotos)
        return {};
    for (int i = 0; i < m_pMgr->groupCount(); ++i) {
        if (m_pMgr->groupAt(i) != pPhotos)
            continue;
        qlonglong i64Size = 0;
        for (const CFakePhoto &photo : pPhotos->photos())
            i64Size += photo.i64Size;
        return tr("Group %1, %2 photos, %3").arg(i + 1).arg(pPhotos->photos().size()).arg(sizeText(i64Size));
    }
    return {};
}
