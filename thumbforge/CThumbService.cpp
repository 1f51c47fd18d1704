#include "CThumbService.h"

#include "CExifReader.h"
#include "CImageDecoder.h"
#include "ThumbForgeLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QMutexLocker>
#include <QReadLocker>
#include <QThread>
#include <QWriteLocker>

#include <libheif/heif.h>

namespace {

constexpr int kIdHexLength = 128;

bool isId(const QString &strKey)
{
    if (strKey.size() != kIdHexLength)
        return false;
    for (const QChar ch : strKey) {
        const bool bDigit = ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
        const bool bLetter = ch >= QLatin1Char('a') && ch <= QLatin1Char('f');
        if (!bDigit && !bLetter)
            return false;
    }
    return true;
}

QByteArray digestOf(const QString &strPath)
{
    return QCryptographicHash::hash(strPath.toUtf8(), QCryptographicHash::Sha512);
}

} // namespace

CThumbService::CThumbService(const QString &strDiskRoot, int iThreads, int iThumbBudgetBytes)
    : m_thumbCache(iThumbBudgetBytes)
    , m_diskCache(strDiskRoot)
    , m_strDiskRoot(strDiskRoot.isEmpty() ? QString() : QDir::cleanPath(strDiskRoot) + QLatin1Char('/'))
{
    m_pool.setMaxThreadCount(qMax(1, iThreads));
    CExifReader::initialize();
    heif_init(nullptr);
}

CThumbService::~CThumbService()
{
    stop();
    heif_deinit();
}

int CThumbService::defaultThreadCount()
{
    return qMax(1, QThread::idealThreadCount() - 1);
}

QString CThumbService::idOf(const QString &strPath)
{
    return QString::fromLatin1(digestOf(strPath).toHex());
}

void CThumbService::setCallbacks(ThumbResultFn fnThumb, BigResultFn fnBig)
{
    QMutexLocker locker(&m_mutex);
    Q_ASSERT(!m_bRunning);
    m_fnThumb = std::move(fnThumb);
    m_fnBig = std::move(fnBig);
}

void CThumbService::start()
{
    QMutexLocker locker(&m_mutex);
    m_bRunning = true;
    scheduleLocked();
}

void CThumbService::stop()
{
    {
        QMutexLocker locker(&m_mutex);
        m_bRunning = false;
        m_queue.clear();
    }
    m_pool.waitForDone();
    m_thumbCache.clear();
    m_bigCache.clear();
    QMutexLocker pageLocker(&m_pageMutex);
    m_setPagePaths.clear();
    m_mapPage.clear();
}

void CThumbService::pushThumb(quint64 group, const QString &strPath, bool bFront)
{
    remember(strPath);
    QMutexLocker locker(&m_mutex);
    m_queue.pushThumb(CThumbRequest{group, strPath}, bFront);
    scheduleLocked();
}

void CThumbService::setReserved(const QList<CThumbRequest> &listRequests)
{
    QList<CThumbRequest> listMissing;
    {
        QMutexLocker pageLocker(&m_pageMutex);
        QSet<QString> setPaths;
        for (const CThumbRequest &request : listRequests)
            setPaths.insert(request.path);
        for (auto it = m_mapPage.begin(); it != m_mapPage.end();) {
            if (setPaths.contains(it.key()))
                ++it;
            else
                it = m_mapPage.erase(it);
        }
        m_setPagePaths = setPaths;
        for (const CThumbRequest &request : listRequests) {
            if (m_mapPage.contains(request.path))
                continue;
            QImage image;
            if (m_thumbCache.find(request.path, image))
                m_mapPage.insert(request.path, image);
            else
                listMissing.append(request);
        }
    }
    for (const CThumbRequest &request : qAsConst(listMissing))
        remember(request.path);
    QMutexLocker locker(&m_mutex);
    m_queue.setReserved(listMissing);
    scheduleLocked();
}

void CThumbService::pushBigImage(const QVariant &group, const QString &strPath)
{
    remember(strPath);
    QMutexLocker locker(&m_mutex);
    m_queue.pushBigImage(group, strPath);
    scheduleLocked();
}

void CThumbService::clearThumbs()
{
    QMutexLocker locker(&m_mutex);
    m_queue.clearThumbs();
}

bool CThumbService::findThumb(const QString &strKey, QImage &image)
{
    const QString strPath = pathOf(strKey);
    if (m_thumbCache.find(strPath, image))
        return true;
    // A thumbnail in view may have left the memory cache under a flood of queued
    // ones; the page still holds it.
    QMutexLocker locker(&m_pageMutex);
    const auto it = m_mapPage.constFind(strPath);
    if (it == m_mapPage.constEnd())
        return false;
    image = it.value();
    return true;
}

bool CThumbService::findPageThumb(const QString &strKey, QImage &image)
{
    const QString strPath = pathOf(strKey);
    QMutexLocker locker(&m_pageMutex);
    const auto it = m_mapPage.constFind(strPath);
    if (it == m_mapPage.constEnd())
        return false;
    image = it.value();
    return true;
}

bool CThumbService::findBigImage(const QString &strKey, QImage &image)
{
    return m_bigCache.find(pathOf(strKey), image);
}

QString CThumbService::pathOf(const QString &strKey) const
{
    if (!isId(strKey))
        return strKey;
    QReadLocker locker(&m_idLock);
    return m_mapPathById.value(QByteArray::fromHex(strKey.toLatin1()), strKey);
}

void CThumbService::remember(const QString &strPath)
{
    const QByteArray digest = digestOf(strPath);
    QWriteLocker locker(&m_idLock);
    m_mapPathById.insert(digest, strPath);
}

void CThumbService::scheduleLocked()
{
    // Workers take their next task when they are free, not when it was queued, so a
    // new reserved list overtakes everything still waiting.
    while (m_bRunning && m_iPumps < m_pool.maxThreadCount() && !m_queue.isEmpty()) {
        ++m_iPumps;
        m_pool.start([this] { pump(); });
    }
}

void CThumbService::pump()
{
    for (;;) {
        CThumbJob job;
        {
            QMutexLocker locker(&m_mutex);
            if (!m_bRunning || !m_queue.take(job)) {
                --m_iPumps;
                return;
            }
        }
        if (job.kind == EnThumbJobKind::BigImage)
            runBigImage(job);
        else
            runThumb(job);
    }
}

void CThumbService::runThumb(const CThumbJob &job)
{
    QImage image;
    const bool bCached = m_thumbCache.find(job.path, image);
    // The reserved list only asks for what is missing; the caller reads the rest.
    if (bCached && job.kind == EnThumbJobKind::Reserved)
        return;
    if (!bCached) {
        // Thumbnails of our own cache files would only feed the cache with itself.
        const bool bInDiskCache = !m_strDiskRoot.isEmpty() && job.path.startsWith(m_strDiskRoot);
        if (bInDiskCache || !m_diskCache.load(job.path, image)) {
            QString strError;
            image = CImageDecoder::decode(job.path, CImageDecoder::kThumbSide, &strError);
            if (image.isNull())
                qCWarning(lcThumb) << "cannot make a thumbnail of" << job.path << ":" << strError;
            else if (!bInDiskCache)
                m_diskCache.store(job.path, image);
        }
        m_thumbCache.insert(job.path, image);
    }
    {
        QMutexLocker locker(&m_pageMutex);
        if (m_setPagePaths.contains(job.path))
            m_mapPage.insert(job.path, image);
    }
    if (m_fnThumb)
        m_fnThumb(job.group, job.path, !image.isNull());
}

void CThumbService::runBigImage(const CThumbJob &job)
{
    QImage image;
    if (!m_bigCache.find(job.path, image)) {
        QString strError;
        image = CImageDecoder::decode(job.path, CImageDecoder::kBigSide, &strError);
        if (image.isNull())
            qCWarning(lcThumb) << "cannot open the large image" << job.path << ":" << strError;
        m_bigCache.insert(job.path, image);
    }
    const QVariantMap mapMeta = image.isNull() ? QVariantMap() : CImageDecoder::readMeta(job.path);
    if (m_fnBig)
        m_fnBig(job.group, job.path, mapMeta, !image.isNull());
}
