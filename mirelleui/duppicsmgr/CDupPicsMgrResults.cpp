// The manager's side of the result models and thumbnails.
#include "CDupPicsMgr.h"

#include "CGroupSortFilterProxyModel.h"
#include "CNodeItemModel.h"
#include "COperateTaskQueue.h"
#include "CPhotosItemModel.h"
#include "CPhotosSortFilterProxyModel.h"
#include "ThumbBridge.h"
#include "XLogging.h"

#include <QQmlEngine>

void CDupPicsMgr::createGroupModel()
{
    m_pGroupModel = new CNodeItemModel(&m_store, this);
    m_pGroupProxy = new CGroupSortFilterProxyModel(&m_store, this);
}

bool CDupPicsMgr::isThumbRefreshStopped() const
{
    return m_pGroupProxy->isWindowPaused();
}

void CDupPicsMgr::setThumbRefreshStopped(bool bStopped)
{
    m_pGroupProxy->setWindowPaused(bStopped);
}

void CDupPicsMgr::attachGroupModel()
{
    m_pGroupProxy->setSourceModel(m_pGroupModel);
}

QObject *CDupPicsMgr::model() const
{
    return m_pGroupProxy;
}

// Runs on the GUI thread or on the regroup worker.
void CDupPicsMgr::resetGroupModel()
{
    if (!m_pGroupModel)
        return;
    if (m_pGroupModel->thread() != QThread::currentThread()) {
        // Views live on the GUI thread; the queued clear runs before any row that intake
        // announces after this reset, since both travel through the same event queue.
        QMetaObject::invokeMethod(m_pGroupModel, &CNodeItemModel::clear, Qt::QueuedConnection);
        return;
    }
    m_pGroupModel->clear();
}

void CDupPicsMgr::destroyPhotoModels()
{
    QMutexLocker locker(&m_modelsLock);
    // QML may still hold these, and a model may be mid-emission: both go by deleteLater.
    for (CPhotosSortFilterProxyModel *pProxy : qAsConst(m_mapPhotoProxies))
        pProxy->deleteLater();
    for (CPhotosItemModel *pModel : qAsConst(m_mapPhotoModels))
        pModel->deleteLater();
    m_mapPhotoProxies.clear();
    m_mapPhotoModels.clear();
}

CPhotosItemModel *CDupPicsMgr::photoModelOf(quint64 pGroup) const
{
    QMutexLocker locker(&m_modelsLock);
    return m_mapPhotoModels.value(pGroup, nullptr);
}

void CDupPicsMgr::slotRefreshGroupHeader(QVariant pGroup)
{
    if (!pGroup.isValid()) {
        DP_ERROR_TRACE();
        return;
    }
    const quint64 key = pGroup.toULongLong();
    if (!m_store.groupSummary(key, nullptr))
        return;
    const int row = m_pGroupModel->rowOfGroup(key);
    if (row >= 0)
        m_pGroupModel->setData(m_pGroupModel->index(row, 0), QVariant(), CNodeItemModel::PhotosNumberRole);
}

void CDupPicsMgr::slotRefreshImgItem(QVariant pGroup, QString filePath)
{
    if (!pGroup.isValid()) {
        DP_ERROR_TRACE();
        return;
    }
    const quint64 key = pGroup.toULongLong();
    // Queued behind the intake: the group may have been merged away or the results reset
    // since, and a row for it would be a row the results no longer have.
    if (!m_store.groupSummary(key, nullptr))
        return;
    m_pGroupModel->addGroup(key);
    if (CPhotosItemModel *pModel = photoModelOf(key))
        pModel->addPhoto(filePath);
}

void CDupPicsMgr::slotDelImgGroup(QVariant pGroup, QStringList)
{
    if (!pGroup.isValid()) {
        DP_ERROR_TRACE();
        return;
    }
    const quint64 key = pGroup.toULongLong();
    m_pGroupModel->dropGroup(key);
    // A strip showing the absorbed group must let go of its rows: its records now
    // belong to the other group.
    if (CPhotosItemModel *pModel = photoModelOf(key))
        pModel->clear();
}

void CDupPicsMgr::slotDelOneImg(QVariant pGroup, QString filePath)
{
    if (!pGroup.isValid()) {
        DP_ERROR_TRACE();
        return;
    }
    const quint64 key = pGroup.toULongLong();
    m_pGroupModel->addGroup(key);
    if (CPhotosItemModel *pModel = photoModelOf(key))
        pModel->refreshPhoto(filePath);
}

void CDupPicsMgr::slotDelDupImgsResult(QStringList failList, QStringList succList)
{
    m_listFailed = std::move(failList);
    m_listSucceeded = std::move(succList);
}

bool CDupPicsMgr::hasMethod(const char *szSignature) const
{
    return metaObject()->indexOfMethod(szSignature) >= 0;
}

QObject *CDupPicsMgr::getPhotosModelByCreate(QVariant pGroup)
{
    if (!pGroup.isValid()) {
        DP_ERROR_TRACE();
        return nullptr;
    }
    const quint64 key = pGroup.toULongLong();
    {
        QMutexLocker locker(&m_modelsLock);
        if (CPhotosSortFilterProxyModel *pProxy = m_mapPhotoProxies.value(key, nullptr))
            return pProxy;
    }
    auto *pModel = new CPhotosItemModel(&m_store, key, this);
    auto *pProxy = new CPhotosSortFilterProxyModel(&m_store, key, this);
    pProxy->attachPhotosModel(pModel);
    QQmlEngine::setObjectOwnership(pModel, QQmlEngine::CppOwnership);
    connect(pModel, &CPhotosItemModel::sigMarkRequested, m_pTaskQueue, &COperateTaskQueue::pushSetPhotoMark,
            Qt::DirectConnection);
    connect(pModel, &CPhotosItemModel::sigClearMarksRequested, m_pTaskQueue, &COperateTaskQueue::pushClearGroupMarks,
            Qt::DirectConnection);
    QQmlEngine::setObjectOwnership(pProxy, QQmlEngine::CppOwnership);

    // The removal, recount and refresh handlers belong to other parts of the manager;
    // they are reached by name so that this file does not depend on their state.
    connect(pProxy, &CPhotosSortFilterProxyModel::sigDeleteOnePhotos, this, [this](QVariant group, QString strPath) {
        if (hasMethod("doDelSingleDupPic(QVariant,QString,int)"))
            QMetaObject::invokeMethod(this, "doDelSingleDupPic", Q_ARG(QVariant, group), Q_ARG(QString, strPath),
                                      Q_ARG(int, DupPicType_MoveToTrash));
    });
    connect(pProxy, &CPhotosSortFilterProxyModel::sigRefreshMarkInfo, this, [this] {
        if (hasMethod("slotRefreshMarkInfo()"))
            QMetaObject::invokeMethod(this, "slotRefreshMarkInfo");
    });
    connect(pProxy, &CPhotosSortFilterProxyModel::sigPhotosShowPosChanged, this, [this] {
        if (hasMethod("slot_newRefresh()"))
            QMetaObject::invokeMethod(this, "slot_newRefresh");
    });
    connect(pProxy, &CPhotosSortFilterProxyModel::sigNewBigImgTask, this, &CDupPicsMgr::sigNewBigImgTask);
    connect(pModel, &CPhotosItemModel::sigRefreshMaxThumb, pProxy, &CPhotosSortFilterProxyModel::sigRefreshMaxThumb);
    // Direct, so that requests keep the order in which they were made.
    connect(pModel, &CPhotosItemModel::sigMarkRequested, m_pTaskQueue, &COperateTaskQueue::pushSetPhotoMark,
            Qt::DirectConnection);
    connect(pModel, &CPhotosItemModel::sigClearMarksRequested, m_pTaskQueue, &COperateTaskQueue::pushClearGroupMarks,
            Qt::DirectConnection);
    connect(pModel, &CPhotosItemModel::sigMarkedNow, this, &CDupPicsMgr::sigCheckedItemCountChanged);

    QMutexLocker locker(&m_modelsLock);
    m_mapPhotoModels.insert(key, pModel);
    m_mapPhotoProxies.insert(key, pProxy);
    return pProxy;
}

QObject *CDupPicsMgr::getPhotosModelNoCreate(QVariant pGroup, bool)
{
    if (!pGroup.isValid())
        return nullptr;
    return photoModelOf(pGroup.toULongLong());
}

void CDupPicsMgr::notifyPhotoModelMarks(quint64 pGroup, const QStringList &listPaths, bool bMarked)
{
    CResultStore::CMarkChanges changes;
    auto &listState = changes[pGroup];
    for (const QString &path : listPaths)
        listState << qMakePair(path, bMarked);
    notifyPhotoModelMarks(changes);
}

void CDupPicsMgr::notifyPhotoModelMarks(const CResultStore::CMarkChanges &changes)
{
    if (changes.isEmpty())
        return;
    // Marks change on the operation worker; the models live on the GUI thread and are
    // looked up there, so a model destroyed meanwhile is simply not found.
    QMetaObject::invokeMethod(
        this,
        [this, changes] {
            for (auto it = changes.cbegin(); it != changes.cend(); ++it) {
                if (CPhotosItemModel *pModel = photoModelOf(it.key()))
                    pModel->setCheckState(it.value());
            }
        },
        Qt::QueuedConnection);
}
