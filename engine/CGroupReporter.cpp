#include "CGroupReporter.h"

#include "CScanData.h"
#include "CSimilarity.h"
#include "IScanEngineExtras.h"

CGroupReporter::CGroupReporter(std::shared_ptr<const CScanData> pData, IDuplicationGatherSink *pSink, bool bTurns,
                               std::vector<uint8_t> listBurst, std::vector<float> listDefinition)
    : m_pData(std::move(pData)), m_pSink(pSink), m_bTurns(bTurns), m_listBurst(std::move(listBurst)),
      m_listDefinition(std::move(listDefinition)), m_listByItem(m_pData->count(), nullptr)
{
}

const PhotoRecord *CGroupReporter::recordOf(uint32_t i, uint8_t iSimilarity)
{
    if (m_listByItem[i])
        return m_listByItem[i];
    const CPhotoFeature &f = m_pData->features[i];
    PhotoRecord record;
    record.pszPath = reinterpret_cast<const ZKChar *>(m_pData->listPaths[i].utf16());
    record.fileSize = m_pData->listSizes[i];
    record.dateTime = f.dateTime;
    const bool bBurst = i < m_listBurst.size() && m_listBurst[i];
    record.flags = uint8_t((m_pData->listHidden[i] ? PhotoFlag_Hidden : 0) | (f.bOriginal ? PhotoFlag_Preferred : 0)
                           | (bBurst ? PhotoFlag_Burst : 0));
    record.similarity = iSimilarity;
    record.width = f.width;
    record.height = f.height;
    record.definition = double(i < m_listDefinition.size() ? m_listDefinition[i] : f.definition);
    record.fileId = m_pData->fileIdOf(i);
    m_listRecords.push_back(record);
    m_listByItem[i] = &m_listRecords.back();
    return m_listByItem[i];
}

void CGroupReporter::groupCreated(uint32_t iFirst)
{
    const PhotoRecord *pRecord = recordOf(iFirst, 100);
    if (m_pSink)
        m_pSink->OnGroupCreated(pRecord, pRecord->fileId);
}

void CGroupReporter::fileJoined(uint32_t iItem, uint32_t iFirst)
{
    // The percent is to the group's first photo, whatever link brought this one in.
    const int score = CSimilarity::score(m_pData->features[iFirst], m_pData->features[iItem], m_bTurns);
    const PhotoRecord *pRecord = recordOf(iItem, uint8_t(score));
    if (m_pSink)
        m_pSink->OnFileJoined(pRecord, m_pData->fileIdOf(iFirst));
}

void CGroupReporter::groupsMerged(uint32_t iAbsorbedFirst, uint32_t iIntoFirst)
{
    if (m_pSink)
        m_pSink->OnGroupsMerged(m_listByItem[iAbsorbedFirst], m_listByItem[iIntoFirst]);
}
