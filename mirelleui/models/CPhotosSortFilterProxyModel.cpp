#include "CPhotosSortFilterProxyModel.h"

#include "CPagingWindow.h"
#include "CPhotosItemModel.h"
#include "CResultStore.h"
#include "XLogging.h"

#include <cmath>

CPhotosSortFilterProxyModel::CPhotosSortFilterProxyModel(CResultStore *pStore, quint64 pGroup, QObject *parent)
    : QSortFilterProxyModel(parent), m_pStore(pStore), m_pGroup(pGroup)
{
    connect(this, &QAbstractItemModel::rowsInserted, this, &CPhotosSortFilterProxyModel::updateWindow);
    connect(this, &QAbstractItemModel::rowsRemoved, this, &CPhotosSortFilterProxyModel::updateWindow);
    connect(this, &QAbstractItemModel::modelReset, this, &CPhotosSortFilterProxyModel::updateWindow);
    connect(this, &QAbstractItemModel::layoutChanged, this, &CPhotosSortFilterProxyModel::updateWindow);
}

void CPhotosSortFilterProxyModel::attachPhotosModel(CPhotosItemModel *pModel)
{
    m_pPhotos = pModel;
    setSourceModel(pModel);
    if (!pModel)
        return;
    pModel->setPhotoProxy(this);
    connect(pModel, &CPhotosItemModel::sigCheckStateChanged, this, &CPhotosSortFilterProxyModel::sigCheckStateChanged);
    connect(pModel, &CPhotosItemModel::sigRefreshThumb, this, &CPhotosSortFilterProxyModel::sigRefreshThumb);
    updateWindow();
}

bool CPhotosSortFilterProxyModel::filterAcceptsRow(int source_row, const QModelIndex &) const
{
    if (source_row < 0 || !m_pPhotos)
        return false;
    bool bInGroup = false;
    // A group a removal or a rescan just took from the store has no rows left; its card
    // may still be asked before it goes.
    if (!m_pStore->readGroup(m_pGroup, [&](const GroupSummary &s) { bInGroup = source_row < s.files.size(); }))
        return false;
    if (!bInGroup || source_row >= m_pPhotos->rowCount())
        return false;
    CPhotoRecordCopy record;
    return m_pStore->readPhoto(m_pGroup, source_row, m_pPhotos->pathAt(source_row), &record) && !record.isHidden();
}

bool CPhotosSortFilterProxyModel::lessThan(const QModelIndex &left, const QModelIndex &right) const
{
    return left.row() < right.row();
}

void CPhotosSortFilterProxyModel::setCurrentShowPosition(double row)
{
    const int iPos = static_cast<int>(std::trunc(row));
    if (iPos == m_iShowPos)
        return;
    m_iShowPos = iPos;
    updateWindow();
    Q_EMIT sigPhotosShowPosChanged();
}

void CPhotosSortFilterProxyModel::updateWindow()
{
    QStringList listWindow;
    // A group merged away shows nothing, whatever rows are still mapped.
    if (m_pPhotos && m_pStore->readGroup(m_pGroup, [](const GroupSummary &) {})) {
        const CPagingWindow window =
            CPagingWindow::around(m_iShowPos, rowCount(), m_iPageSize, m_iPagesBefore, m_iPagesAfter);
        for (const QVector<int> *pRows : {&window.listBefore, &window.listAfter}) {
            for (int row : *pRows) {
                const QModelIndex source = mapToSource(index(row, 0));
                if (source.isValid())
                    listWindow.append(m_pPhotos->pathAt(source.row()));
            }
        }
    }
    QMutexLocker locker(&m_windowLock);
    m_listWindow = std::move(listWindow);
}

QStringList CPhotosSortFilterProxyModel::getCurrentShowPhotos()
{
    QMutexLocker locker(&m_windowLock);
    return m_listWindow;
}

bool CPhotosSortFilterProxyModel::getCheckState(int row)
{
    return data(index(row, 0), CPhotosItemModel::PhotosCheckRole).toBool();
}

QString CPhotosSortFilterProxyModel::markReasonAt(int row)
{
    return data(index(row, 0), CPhotosItemModel::MarkReasonRole).toString();
}

void CPhotosSortFilterProxyModel::setCheckState(int row, bool bState)
{
    setData(index(row, 0), bState, CPhotosItemModel::PhotosCheckRole);
}

void CPhotosSortFilterProxyModel::setCheckStateByDesktop(int row, bool bState)
{
    setCheckState(row, bState);
    Q_EMIT sigRefreshMarkInfo();
}

void CPhotosSortFilterProxyModel::setCheckStateByDesktop(int row)
{
    setCheckState(row, !getCheckState(row));
    Q_EMIT sigRefreshMarkInfo();
}

void CPhotosSortFilterProxyModel::deleteOnePhotos(int row)
{
    const QVariant path = row >= 0 && row < rowCount() ? data(index(row, 0), CPhotosItemModel::PhotosFilePathRole) : QVariant();
    if (!path.isValid()) {
        DP_ERROR_TRACE();
        return;
    }
    Q_EMIT sigDeleteOnePhotos(QVariant::fromValue(m_pGroup), path.toString());
}

void CPhotosSortFilterProxyModel::clearMark()
{
    if (m_pPhotos)
        m_pPhotos->clearMark();
}

QVariantList CPhotosSortFilterProxyModel::getFileInfo(int row)
{
    if (!m_pPhotos)
        return {};
    return m_pPhotos->getFileInfo(mapToSource(index(row, 0)));
}

void CPhotosSortFilterProxyModel::getMaxThumb(int row)
{
    const QString path = data(index(row, 0), CPhotosItemModel::PhotosFilePathRole).toString();
    Q_EMIT sigNewBigImgTask(QVariant::fromValue(m_pGroup), path);
}

QVariant CPhotosSortFilterProxyModel::checkedRowValue(int row, int role)
{
    if (row < 0 || row >= rowCount()) {
        DP_ERROR_TRACE();
        return {};
    }
    const QVariant value = data(index(row, 0), role);
    if (!value.isValid())
        DP_ERROR_TRACE();
    return value;
}

QVariant CPhotosSortFilterProxyModel::getPhotosWidth(int row)
{
    return checkedRowValue(row, CPhotosItemModel::PhotosWidthRole);
}

QVariant CPhotosSortFilterProxyModel::getPhotosHeight(int row)
{
    return checkedRowValue(row, CPhotosItemModel::PhotosHeightRole);
}

void CPhotosSortFilterProxyModel::refresh()
{
    beginResetModel();
    endResetModel();
}
