#pragma once

#include <QImage>
#include <QString>

#include <atomic>

class QFileInfo;

// Small thumbnails on disk in the shared desktop thumbnail layout
// (<cache>/thumbnails/large/<md5 of the file URI>.png with Thumb::URI and
// Thumb::MTime), so reopening results is instant and other viewers share them.
// A folder we cannot write turns the cache off quietly: thumbnails still work.
// Thread-safe: every call works on its own file.
class CThumbDiskCache
{
public:
    // strRoot is the "thumbnails" folder; an empty root disables the cache.
    explicit CThumbDiskCache(const QString &strRoot);

    // $XDG_CACHE_HOME/thumbnails, else the platform's generic cache location.
    [[nodiscard]] static QString defaultRoot();

    [[nodiscard]] bool isEnabled() const { return m_bEnabled; }
    // Only a thumbnail made from the file's current modification time counts.
    [[nodiscard]] bool load(const QString &strPath, QImage &image) const;
    bool store(const QString &strPath, const QImage &image);
    // The same with the photo's file information already read: one stat per thumbnail.
    [[nodiscard]] bool load(const QFileInfo &info, QImage &image) const;
    bool store(const QFileInfo &info, const QImage &image);
    [[nodiscard]] QString thumbPathFor(const QString &strPath) const;

private:
    QString m_strDir;
    std::atomic_bool m_bEnabled{false};
};
