#include "CScanEngineExtras.h"

#include "CScanEngine.h"

#include <algorithm>

CScanEngineExtras::CScanEngineExtras(CScanEngine *pEngine)
    : m_pEngine(pEngine)
{
    m_pEngine->AddRef();
}

CScanEngineExtras::~CScanEngineExtras()
{
    m_pEngine->Release();
}

void CScanEngineExtras::SetRotationMatching(int32_t iOn)
{
    m_pEngine->setRotationMatching(iOn != 0);
}

int32_t CScanEngineExtras::RotationMatching()
{
    return m_pEngine->rotationMatching() ? 1 : 0;
}

void CScanEngineExtras::SetSeparatedPairs(const uint64_t *pKeys, uint32_t iPairs)
{
    std::vector<std::pair<uint64_t, uint64_t>> pairs;
    if (pKeys) {
        pairs.reserve(iPairs);
        for (uint32_t i = 0; i < iPairs; ++i)
            pairs.emplace_back(pKeys[2 * size_t(i)], pKeys[2 * size_t(i) + 1]);
    }
    m_pEngine->setSeparatedPairs(std::move(pairs));
}

uint64_t CScanEngineExtras::GetContentKey(uint64_t iFileId)
{
    return m_pEngine->contentKey(iFileId);
}

void CScanEngineExtras::GetScanSkipped(uint64_t *pCounts, uint32_t iCount)
{
    const std::array<uint64_t, ScanSkipped_Kinds> counts = m_pEngine->lastSkipped();
    for (uint32_t i = 0; pCounts && i < iCount; ++i)
        pCounts[i] = i < counts.size() ? counts[i] : 0;
}

void CScanEngineExtras::SetScanThumbnails(int32_t iOn)
{
    m_pEngine->setKeepScanThumbnails(iOn != 0);
}

uint32_t CScanEngineExtras::GetScanThumbnail(const ZKChar *pPath, uint8_t *pBuffer, uint32_t iCapacity)
{
    if (!pPath)
        return 0;
    return m_pEngine->scanThumbs().find(QString::fromUtf16(pPath), pBuffer, iCapacity);
}

int32_t CScanEngineExtras::GetFileStamp(uint64_t iFileId, uint64_t *pModTime, uint64_t *pContentKey)
{
    uint64_t iModTime = 0;
    uint64_t iKey = 0;
    if (!m_pEngine->fileStamp(iFileId, &iModTime, &iKey))
        return 0;
    if (pModTime)
        *pModTime = iModTime;
    if (pContentKey)
        *pContentKey = iKey;
    return 1;
}

uint32_t CScanEngineExtras::GetScanSkippedMounts(ZKChar *pBuffer, uint32_t iCapacity)
{
    QString joined;
    for (const QString &mount : m_pEngine->lastSkippedMounts())
        joined += mount + QChar(0);
    const auto iLength = uint32_t(joined.size());
    if (pBuffer && iCapacity >= iLength)
        std::copy_n(reinterpret_cast<const ZKChar *>(joined.utf16()), iLength, pBuffer);
    return iLength;
}

void CScanEngineExtras::SetExactFeatures(int32_t iOn)
{
    m_pEngine->setExactFeatures(iOn != 0);
}

int32_t CScanEngineExtras::ExactFeatures()
{
    return m_pEngine->exactFeatures() ? 1 : 0;
}

void CScanEngineExtras::GetScanProgress(uint64_t *pCounts, uint32_t iCount)
{
    const std::array<uint64_t, ScanProgress_Kinds> counts = m_pEngine->progress();
    for (uint32_t i = 0; pCounts && i < iCount; ++i)
        pCounts[i] = i < counts.size() ? counts[i] : 0;
}
