// The manager's side of the result models and thumbnails.
#include "CDupPicsMgr.h"

#include "XLogging.h"

#include <QImageReader>

bool CDupPicsMgr::readImageSize(const QString &strPath, unsigned *pWidth, unsigned *pHeight)
{
    const QSize size = QImageReader(strPath).size();
    if (!size.isValid())
        return false;
    *pWidth = static_cast<unsigned>(size.width());
    *pHeight = static_cast<unsigned>(size.height());
    return true;
}

void CDupPicsMgr::queueThumbnail(quint64, const QString &) {}
void CDupPicsMgr::stopThumbRefresh() {}
void CDupPicsMgr::resetGroupModel() {}
void CDupPicsMgr::destroyPhotoModels()
{
    m_mapPhotoProxies.clear();
    m_mapPhotoModels.clear();
}

void CDupPicsMgr::slotRefreshGroupHeader(QVariant pGroup)
{
    Q_UNUSED(pGroup)
}

void CDupPicsMgr::slotRefreshImgItem(QVariant pGroup, QString filePath)
{
    Q_UNUSED(filePath)
    if (!pGroup.isValid())
        DP_ERROR_TRACE();
}

void CDupPicsMgr::slotDelImgGroup(QVariant pGroup, QStringList fileList)
{
    Q_UNUSED(fileList)
    if (!pGroup.isValid())
        DP_ERROR_TRACE();
}

void CDupPicsMgr::slotDelOneImg(QVariant pGroup, QString filePath)
{
    Q_UNUSED(filePath)
    if (!pGroup.isValid())
        DP_ERROR_TRACE();
}

void CDupPicsMgr::slotDelDupImgsResult(QStringList failList, QStringList succList)
{
    m_listFailed = std::move(failList);
    m_listSucceeded = std::move(succList);
}

QObject *CDupPicsMgr::getPhotosModelByCreate(QVariant pGroup)
{
    if (!pGroup.isValid()) {
        DP_ERROR_TRACE();
        return nullptr;
    }
    return nullptr;
}

QObject *CDupPicsMgr::getPhotosModelNoCreate(QVariant pGroup, bool)
{
    Q_UNUSED(pGroup)
    return nullptr;
}

void CDupPicsMgr::notifyPhotoModelMarks(quint64 pGroup, const QStringList &listPaths, bool bMarked)
{
    // TODO(#6): hand the changed rows to the group's photo model.
    Q_UNUSED(pGroup)
    Q_UNUSED(listPaths)
    Q_UNUSED(bMarked)
}
