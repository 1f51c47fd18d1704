#include "CThumbService.h"

#include "CExifReader.h"
#include "CImageDecoder.h"
#include "ThumbForgeLog.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QReadLocker>
#include <QThread>
#include <QWriteLocker>
#include <QtEndian>

#include <libheif/heif.h>

#include <algorithm>

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

// The id table is keyed by the digest's first 64 bits rather than all 64 bytes, which
// matters at 100,000 photos; pathOf() checks the rest.
quint64 keyOf(const QByteArray &digest)
{
    return qFromUnaligned<quint64>(digest.constData());
}

} // namespace

CThumbService::CThumbService(const QString &strDiskRoot, int iThreads, int iThumbBudgetBytes, int iIdleThreads)
    : m_thumbCache(iThumbBudgetBytes)
    , m_diskCache(strDiskRoot)
    , m_strDiskRoot(strDiskRoot.isEmpty() ? QString() : QDir::cleanPath(strDiskRoot) + QLatin1Char('/'))
{
    m_pool.setMaxThreadCount(qMax(1, iThreads));
    m_idlePool.setMaxThreadCount(qMax(0, iIdleThreads));
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
    m_idlePool.waitForDone();
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
    QSet<QString> setMissing;
    for (const CThumbRequest &request : qAsConst(listMissing))
        setMissing.insert(request.path);
    QMutexLocker locker(&m_mutex);
    // A photo model reserves one photo each time a view reads it, so a page arrives as
    // sixteen lists of one. What a new list displaces was asked for all the same: it
    // goes to the head of the queue, in its order, and still ends in a result.
    const QList<CThumbRequest> listDisplaced = m_queue.takeReserved();
    for (auto it = listDisplaced.crbegin(); it != listDisplaced.crend(); ++it) {
        if (!setMissing.contains(it->path))
            m_queue.pushThumb(*it, true);
    }
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
    const QByteArray digest = QByteArray::fromHex(strKey.toLatin1());
    const quint64 iKey = keyOf(digest);
    QReadLocker locker(&m_idLock);
    for (auto it = m_mapPathById.constFind(iKey); it != m_mapPathById.cend() && it.key() == iKey; ++it) {
        if (digestOf(it.value()) == digest)
            return it.value();
    }
    return strKey;
}

void CThumbService::remember(const QString &strPath)
{
    const quint64 iKey = keyOf(digestOf(strPath));
    QWriteLocker locker(&m_idLock);
    if (!m_mapPathById.contains(iKey, strPath))
        m_mapPathById.insert(iKey, strPath);
}

void CThumbService::scheduleLocked()
{
    // Workers take their next task when they are free, not when it was queued, so a
    // new reserved list overtakes everything still waiting.
    while (m_bRunning && m_iPumps < m_pool.maxThreadCount() && !m_queue.isEmpty()) {
        ++m_iPumps;
        m_pool.start([this] { pump(false); });
    }
    scheduleIdleLocked();
}

void CThumbService::scheduleIdleLocked()
{
    while (m_bRunning && m_iIdlePumps < m_idlePool.maxThreadCount() && m_queue.size() > m_iPumps) {
        ++m_iIdlePumps;
        m_idlePool.start([this] { pump(true); });
    }
}

void CThumbService::pump(bool bIdle)
{
    // The interface thread must never wait for a decoder: on a busy machine this one
    // only gets the time nobody else wants.
    if (bIdle)
        QThread::currentThread()->setPriority(QThread::IdlePriority);
    int &iPumps = bIdle ? m_iIdlePumps : m_iPumps;
    for (;;) {
        CThumbJob job;
        quint64 iId = 0;
        {
            QMutexLocker locker(&m_mutex);
            if (!m_bRunning) {
                --iPumps;
                return;
            }
            if (!nextJobLocked(bIdle, job, iId)) {
                --iPumps;
                return;
            }
        }
        if (job.kind == EnThumbJobKind::BigImage)
            runBigImage(job, iId);
        else
            runThumb(job, iId);
    }
}

bool CThumbService::nextJobLocked(bool bIdle, CThumbJob &job, quint64 &iId)
{
    // Both workers make what is in view. Nothing queued starts before every photo in
    // view has been made, so the page is reported first; a free normal worker rather
    // takes over a photo in view that the idle one holds, which may be starved for
    // seconds: the first to finish reports it. Large images, which the user waits for,
    // are left to the normal worker, which makes them in the order asked.
    const bool bUrgentRunning = std::any_of(m_listRunning.cbegin(), m_listRunning.cend(), [](const CRunning &running) {
        return !running.bDone && running.job.kind != EnThumbJobKind::Thumb;
    });
    if (bIdle) {
        if (!m_queue.hasReserved() && (m_queue.hasUrgent() || bUrgentRunning))
            return false;
    } else if (!m_queue.hasUrgent()) {
        if (takeOverLocked(true, job, iId))
            return true;
        if (bUrgentRunning)
            return false;
    }
    if (m_queue.take(job, bIdle)) {
        iId = ++m_iLastId;
        m_listRunning.append(CRunning{iId, job, bIdle, false, false});
        return true;
    }
    return !bIdle && takeOverLocked(false, job, iId);
}

bool CThumbService::takeOverLocked(bool bUrgentOnly, CThumbJob &job, quint64 &iId)
{
    for (CRunning &running : m_listRunning) {
        if (running.bIdle && !running.bTakenOver && !running.bDone
            && (!bUrgentOnly || running.job.kind != EnThumbJobKind::Thumb)) {
            running.bTakenOver = true;
            job = running.job;
            iId = running.iId;
            return true;
        }
    }
    return false;
}

bool CThumbService::finish(quint64 iId)
{
    QMutexLocker locker(&m_mutex);
    for (CRunning &running : m_listRunning) {
        if (running.iId == iId) {
            if (running.bDone)
                return false;
            running.bDone = true;
            return true;
        }
    }
    return false;
}

void CThumbService::release(quint64 iId)
{
    QMutexLocker locker(&m_mutex);
    for (int i = 0; i < m_listRunning.size(); ++i) {
        if (m_listRunning.at(i).iId == iId) {
            m_listRunning.removeAt(i);
            break;
        }
    }
    // Only the idle worker can be waiting for this. A pool thread inherits the policy of
    // the thread that starts it, so a worker never starts a normal one.
    scheduleIdleLocked();
}

void CThumbService::setPreparedSource(PreparedSourceFn fnSource)
{
    QWriteLocker locker(&m_sourceLock);
    m_fnSource = std::move(fnSource);
}

QImage CThumbService::preparedThumb(const QString &strPath)
{
    QByteArray data;
    {
        QReadLocker locker(&m_sourceLock);
        if (!m_fnSource)
            return {};
        data = m_fnSource(strPath);
    }
    if (data.isEmpty())
        return {};
    QImage image = QImage::fromData(data);
    // Smaller than asked for would look blurred next to decoded ones; the file decides then.
    if (image.isNull() || qMax(image.width(), image.height()) < CImageDecoder::kThumbSide)
        return {};
    image = CImageDecoder::fitInto(image, CImageDecoder::kThumbSide);
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
}

QImage CThumbService::makeThumb(const QString &strPath, QFileInfo &info, bool &bStore)
{
    bStore = false;
    // One stat serves the disk cache's check and its store.
    info = QFileInfo(strPath);
    // Thumbnails of our own cache files would only feed the cache with itself.
    const bool bInDiskCache = !m_strDiskRoot.isEmpty() && strPath.startsWith(m_strDiskRoot);
    QImage image;
    if (!bInDiskCache && m_diskCache.load(info, image))
        return image;
    image = preparedThumb(strPath);
    if (image.isNull()) {
        QString strError;
        image = CImageDecoder::decode(strPath, CImageDecoder::kThumbSide, &strError);
        if (image.isNull())
            qCWarning(lcThumb) << "cannot make a thumbnail of" << strPath << ":" << strError;
    }
    bStore = !image.isNull() && !bInDiskCache;
    return image;
}

void CThumbService::runThumb(const CThumbJob &job, quint64 iId)
{
    QImage image;
    QFileInfo info;
    bool bStore = false;
    const bool bCached = m_thumbCache.find(job.path, image);
    if (!bCached)
        image = makeThumb(job.path, info, bStore);
    // Reported even when another task made it meanwhile: the reserved list only holds
    // what was missing when asked for, so its caller waits for this report.
    if (!finish(iId)) {
        if (bStore)
            m_diskCache.store(info, image);
        return;
    }
    if (!bCached)
        m_thumbCache.insert(job.path, image);
    {
        QMutexLocker locker(&m_pageMutex);
        if (m_setPagePaths.contains(job.path))
            m_mapPage.insert(job.path, image);
    }
    if (m_fnThumb)
        m_fnThumb(job.group, job.path, !image.isNull());
    release(iId);
    // Encoding for the disk costs more than a prepared thumbnail; the page need not wait for it.
    if (bStore)
        m_diskCache.store(info, image);
}

void CThumbService::runBigImage(const CThumbJob &job, quint64 iId)
{
    QImage image;
    const bool bCached = m_bigCache.find(job.path, image);
    if (!bCached) {
        QString strError;
        image = CImageDecoder::decode(job.path, CImageDecoder::kBigSide, &strError);
        if (image.isNull())
            qCWarning(lcThumb) << "cannot open the large image" << job.path << ":" << strError;
    }
    const QVariantMap mapMeta = image.isNull() ? QVariantMap() : CImageDecoder::readMeta(job.path);
    if (!finish(iId))
        return;
    if (!bCached)
        m_bigCache.insert(job.path, image);
    if (m_fnBig)
        m_fnBig(job.group, job.path, mapMeta, !image.isNull());
    release(iId);
}
