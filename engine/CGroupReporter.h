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
    CGroupReporter(std::shared_ptr<const CScanData> pData, IDuplicationGatherSink *pSink);

    void groupCreated(uint32_t iFirst) override;
    void fileJoined(uint32_t iItem, uint32_t iFirst) override;
    void groupsMerged(uint32_t iAbsorbedFirst, uint32_t iIntoFirst) override;

private:
    const PhotoRecord *recordOf(uint32_t i, uint8_t iSimilarity);

    std::shared_ptr<const CScanData> m_pData;
    IDuplicationGatherSink *m_pSink;
    std::deque<PhotoRecord> m_listRecords;       // a deque never moves what it holds
    std::vector<const PhotoRecord *> m_listByItem;
};
