#include "CGroupSortFilterProxyModel.h"

#include "CNodeItemModel.h"
#include "CPagingWindow.h"
#include "CPhotosSortFilterProxyModel.h"
#include "CResultStore.h"
#include "XLogging.h"

#include <QThread>

#include <cmath>

CGroupSortFilterProxyModel::CGroupSortFilterProxyModel(CResultStore *pStore, QObject *parent)
    : QSortFilterProxyModel(parent), m_pStore(pStore)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &CGroupSortFilterProxyModel::updateWindow);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &CGroupSortFilterProxyModel::updateWindow);
    connect(this, &QAbstractItemModel::modelReset, this, &CGroupSortFilterProxyModel::updateWindow);
    connect(this, &QAbstractItemModel::layoutChanged, this, &CGroupSortFilterProxyModel::updateWindow);
}

void CGroupSortFilterProxyModel::setSourceModel(QAbstractItemModel *pSource)
{
    m_pGroups = qobject_cast<CNodeItemModel *>(pSource);
    QSortFilterProxyModel::setSourceModel(pSource);
    updateWindow();
}

QString CGroupSortFilterProxyModel::sizeText(quint64 iSize)
{
    if (iSize == 0)
        return QStringLiteral("0 KB");
    static const char *const kUnits[] = {"B", "KB", "MB", "GB", "TB", "PB", "EB", "ZB", "YB"};
    double dSize = static_cast<double>(iSize);
    int i = 0;
    while (i < 8 && dSize / 1024.0 >= 1.0) {
        dSize /= 1024.0;
        ++i;
    }
    return QString::asprintf("%.02f %s", dSize, kUnits[i]);
}

bool CGroupSortFilterProxyModel::filterAcceptsRow(int source_row, const QModelIndex &) const
{
    if (source_row < 0)
        return false;
    if (!m_pGroups || source_row >= m_pGroups->rowCount()) {
        DP_ERROR_TRACE();
        return false;
    }
    if (m_pGroups->isDroppedRow(source_row))
        return false;
    // The results change on the operation thread and this model follows through queued
    // notices: a row whose group was merged away or reset since is waiting for its notice,
    // and stays hidden until then.
    bool bShown = false;
    m_pStore->readGroup(m_pGroups->groupAt(source_row), [&](const GroupSummary &s) { bShown = s.shown; });
    return bShown;
}

bool CGroupSortFilterProxyModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return left.row() < right.row();
}

void CGroupSortFilterProxyModel::setCurrentShowPosition(double row)
{
    const int iPos = static_cast<int>(std::trunc(row));
    if (iPos == m_iShowPos)
        return;
    m_iShowPos = iPos;
    updateWindow();
    Q_EMIT sigGroupShowPosChanged();
}

void CGroupSortFilterProxyModel::updateWindow()
{
    QList<void *> listWindow;
    if (m_pGroups) {
        const CPagingWindow window =
            CPagingWindow::around(m_iShowPos, rowCount(), m_iPageSize, m_iPagesBefore, m_iPagesAfter);
        for (const QVector<int> *pRows : {&window.listBefore, &window.listAfter}) {
            for (int row : *pRows) {
                const QModelIndex source = mapToSource(index(row, 0));
                if (source.isValid())
                    listWindow.append(reinterpret_cast<void *>(static_cast<quintptr>(m_pGroups->groupAt(source.row()))));
            }
        }
    }
    QMutexLocker locker(&m_windowLock);
    m_listWindow = std::move(listWindow);
}

QList<void *> CGroupSortFilterProxyModel::getCurrentShowGroup()
{
    if (isWindowPaused())
        return {};
    QMutexLocker locker(&m_windowLock);
    return m_listWindow;
}

QString CGroupSortFilterProxyModel::getGroupInfo(QAbstractItemModel *pModel)
{
    const auto *pPhotos = qobject_cast<CPhotosSortFilterProxyModel *>(pModel);
    if (!pPhotos || pPhotos->groupKey() == 0 || !m_pGroups)
        return {};
    const quint64 key = pPhotos->groupKey();
    const int iSourceRow = m_pGroups->rowOfGroup(key);
    if (iSourceRow < 0 || !filterAcceptsRow(iSourceRow, QModelIndex()))
        return {};
    // The proxy already holds the shown rows in order, so the ordinal is its row: no walk
    // over all groups for every caption on the page.
    const int iProxyRow = mapFromSource(m_pGroups->index(iSourceRow, 0)).row();
    if (iProxyRow < 0)
        return {};
    qint64 iCount = 0;
    qint64 iSize = 0;
    if (!m_pStore->readGroup(key, [&](const GroupSummary &s) {
            iCount = s.photoCount;
            iSize = s.totalSize;
        }))
        return {};
    return QObject::tr("Group %1, %2 photos, %3")
        .arg(iProxyRow + 1)
        .arg(iCount)
        .arg(sizeText(static_cast<quint64>(iSize)));
}
