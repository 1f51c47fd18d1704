#pragma once

#include "IScanEngine.h"

#include <QString>

#include <deque>

class CDupPicsMgr;

// Plays the engine's part for a manager: makes the files in a folder the test owns and
// reports them through the manager's result callbacks, as a scan would.
class CScanReplay
{
public:
    CScanReplay(CDupPicsMgr *pMgr, QString strDir);

    // Creates the file; the record stays valid for the replay's life, as the engine's
    // records must until their merge has been filed.
    const PhotoRecord &photo(const QString &strName, uint8_t flags = 0, uint64_t iSize = 1000);
    const PhotoRecord &create(const QString &strName, uint8_t flags = 0, uint64_t iSize = 1000);
    const PhotoRecord &join(const QString &strName, quint64 iGroup, uint8_t flags = 0, uint64_t iSize = 1000);
    void merge(const PhotoRecord &absorbed, const PhotoRecord &into);
    // True once the operation worker has run everything queued.
    bool isIdle() const;

    // Points every per-user location the manager and the thumbnail library write to into
    // strRoot, and keeps the manager from loading a scan engine.
    static void isolate(const QString &strRoot);

private:
    CDupPicsMgr *m_pMgr;
    QString m_strDir;
    uint64_t m_iNextId = 1000;
    std::deque<QString> m_listPaths;
    std::deque<PhotoRecord> m_listRecords;
};

// Waits for the worker, then delivers the queued signals it sent to the GUI thread.
#define DP_SETTLE(replay)                           \
    do {                                            \
        QTRY_VERIFY_WITH_TIMEOUT((replay).isIdle(), 20000); \
        QCoreApplication::sendPostedEvents();       \
    } while (false)
