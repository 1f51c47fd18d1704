#include "CThumbMemoryCache.h"

#include <QMutexLocker>

#include <limits>

namespace {

// A failure still costs its key and bookkeeping; counting it keeps a flood of
// unreadable files from growing the cache without bound.
constexpr int kEntryOverhead = 128;

int costOf(const QString &strPath, const QImage &image)
{
    const qint64 i64Bytes = image.sizeInBytes() + strPath.size() * 2 + kEntryOverhead;
    return static_cast<int>(qMin<qint64>(i64Bytes, std::numeric_limits<int>::max()));
}

} // namespace

CThumbMemoryCache::CThumbMemoryCache(int iBudgetBytes)
    : m_cache(iBudgetBytes)
{
}

void CThumbMemoryCache::insert(const QString &strPath, const QImage &image)
{
    QMutexLocker locker(&m_mutex);
    // QCache refuses (and forgets) an entry dearer than the whole budget.
    m_cache.insert(strPath, new QImage(image), costOf(strPath, image));
}

bool CThumbMemoryCache::find(const QString &strPath, QImage &image)
{
    QMutexLocker locker(&m_mutex);
    const QImage *pImage = m_cache.object(strPath);
    if (!pImage)
        return false;
    image = *pImage;
    return true;
}

bool CThumbMemoryCache::contains(const QString &strPath) const
{
    QMutexLocker locker(&m_mutex);
    return m_cache.contains(strPath);
}

void CThumbMemoryCache::clear()
{
    QMutexLocker locker(&m_mutex);
    m_cache.clear();
}

int CThumbMemoryCache::usedBytes() const
{
    QMutexLocker locker(&m_mutex);
    return m_cache.totalCost();
}

int CThumbMemoryCache::budgetBytes() const
{
    QMutexLocker locker(&m_mutex);
    return m_cache.maxCost();
}
