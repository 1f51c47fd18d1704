#pragma once

#include <QCache>
#include <QImage>
#include <QMutex>
#include <QString>

// Decoded images by path under a byte budget; the least recently used go first.
// A null image is a remembered failure. Thread-safe: workers fill it, the GUI thread
// and the image providers read it.
class CThumbMemoryCache
{
public:
    explicit CThumbMemoryCache(int iBudgetBytes);

    void insert(const QString &strPath, const QImage &image);
    // Marks the entry as recently used.
    [[nodiscard]] bool find(const QString &strPath, QImage &image);
    [[nodiscard]] bool contains(const QString &strPath) const;
    void clear();

    [[nodiscard]] int usedBytes() const;
    [[nodiscard]] int budgetBytes() const;

private:
    mutable QMutex m_mutex;
    QCache<QString, QImage> m_cache;
};
