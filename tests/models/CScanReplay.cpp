#include "CScanReplay.h"

#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "StoreFixture.h"

#include <QDir>
#include <QFile>

CScanReplay::CScanReplay(CDupPicsMgr *pMgr, QString strDir) : m_pMgr(pMgr), m_strDir(std::move(strDir)) {}

const PhotoRecord &CScanReplay::photo(const QString &strName, uint8_t flags, uint64_t iSize)
{
    const QString path = m_strDir + QLatin1Char('/') + strName;
    // A file the test wrote first keeps its bytes.
    QFile file(path);
    if (file.open(QIODevice::Append))
        file.close();
    m_listPaths.push_back(path);
    m_listRecords.push_back(testRecord(m_listPaths.back(), m_iNextId++, flags, iSize));
    return m_listRecords.back();
}

const PhotoRecord &CScanReplay::create(const QString &strName, uint8_t flags, uint64_t iSize)
{
    const PhotoRecord &record = photo(strName, flags, iSize);
    m_pMgr->OnGroupCreated(&record, record.fileId);
    return record;
}

const PhotoRecord &CScanReplay::join(const QString &strName, quint64 iGroup, uint8_t flags, uint64_t iSize)
{
    const PhotoRecord &record = photo(strName, flags, iSize);
    m_pMgr->OnFileJoined(&record, iGroup);
    return record;
}

void CScanReplay::merge(const PhotoRecord &absorbed, const PhotoRecord &into)
{
    m_pMgr->OnGroupsMerged(&absorbed, &into);
}

bool CScanReplay::isIdle() const
{
    return m_pMgr->taskQueue()->isDrained();
}

void CScanReplay::isolate(const QString &strRoot)
{
    for (const char *szName : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"}) {
        const QString dir = strRoot + QLatin1Char('/') + QString::fromLatin1(szName);
        QDir().mkpath(dir);
        qputenv(szName, dir.toLocal8Bit());
    }
    CDupPicsMgr::setEngineLibraryOverride(strRoot + QStringLiteral("/no-engine.so"));
}
