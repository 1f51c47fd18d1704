#pragma once

#include "CGroupBuilder.h"
#include "IScanEngine.h"

#include <deque>
#include <memory>
#include <vector>

struct CScanData;

// Turns the grouping into the sink's callbacks. It owns the records it hands
// out, together with a reference to the scan data their paths point into, so
// that they stay valid for as long as the engine keeps the reporter.
class CGroupReporter : public IGroupEvents
{
public:
    // bTurns: similarities count turned and mirrored views; listBurst: per photo,
    // reported with PhotoFlag_Burst; listDefinition: per photo, the definition to report
    // in place of the feature's (CEnlargedCopies).
    CGroupReporter(std::shared_ptr<const CScanData> pData, IDuplicationGatherSink *pSink, bool bTurns = false,
                   std::vector<uint8_t> listBurst = {}, std::vector<float> listDefinition = {});

    const std::shared_ptr<const CScanData> &data() const { return m_pData; }

    void groupCreated(uint32_t iFirst) override;
    void fileJoined(uint32_t iItem, uint32_t iFirst) override;
    void groupsMerged(uint32_t iAbsorbedFirst, uint32_t iIntoFirst) override;

private:
    const PhotoRecord *recordOf(uint32_t i, uint8_t iSimilarity);

    std::shared_ptr<const CScanData> m_pData;
    IDuplicationGatherSink *m_pSink;
    bool m_bTurns;
    std::vector<uint8_t> m_listBurst;
    std::vector<float> m_listDefinition;
    std::deque<PhotoRecord> m_listRecords;       // a deque never moves what it holds
    std::vector<const PhotoRecord *> m_listByItem;
};
