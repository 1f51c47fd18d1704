#pragma once

#include "CScanFiles.h"

#include <QByteArray>
#include <QHash>
#include <QString>

#include <atomic>
#include <cstdint>
#include <mutex>

class QImage;

// The small upright JPEGs of the large photos a scan decoded, so that a photo's
// thumbnail costs no second decode of the file. Owned by the engine and kept
// across its scans. The JPEGs go to one append-only pack file in the cache
// folder, unlinked as soon as it is open so that nothing outlives the process;
// the index stays in memory. Thread-safe: scan workers add while others read.
// A pack that cannot be written turns the store off; the scan goes on without it.
class CScanThumbs
{
public:
    static constexpr int kSide = 256;
    static constexpr int kQuality = 88;
    static constexpr uint64_t kDefaultCapacity = uint64_t(2) << 30;

    // An empty folder stands for the feature cache's folder, looked up at the first add.
    explicit CScanThumbs(QString strFolder = QString(), uint64_t i64Capacity = kDefaultCapacity);
    CScanThumbs(const CScanThumbs &) = delete;
    CScanThumbs &operator=(const CScanThumbs &) = delete;

    // The image fitted into kSide x kSide, turned upright by the EXIF orientation
    // code (0 or 1: as stored) and encoded; empty when encoding fails.
    static QByteArray makeJpeg(const QImage &image, int iOrientation);

    // Keeps the JPEG of the file as it was when it had this size and modification
    // time (FILETIME). A later add for the path replaces it.
    void add(const QString &strPath, uint64_t i64Size, uint64_t i64ModTime, const QByteArray &jpeg);
    // Copies the JPEG into pBuffer when iCapacity is enough and answers its size
    // either way; 0 when there is none or the file has changed since.
    uint32_t find(const QString &strPath, uint8_t *pBuffer, uint32_t iCapacity);

    uint64_t packBytes() const;

private:
    struct CEntry
    {
        uint64_t i64Offset = 0;
        uint32_t iLength = 0;
        uint64_t i64Size = 0;
        uint64_t i64ModTime = 0;
    };

    bool openPackLocked();

    const QString m_strFolder;
    const uint64_t m_i64Capacity;
    mutable std::mutex m_mutex;  // the members below
    QHash<QString, CEntry> m_mapEntries;
    dp::platform::CScratchFile m_pack;
    uint64_t m_i64End = 0;      // bytes reserved in the pack, written or being written
    bool m_bBroken = false;
};
