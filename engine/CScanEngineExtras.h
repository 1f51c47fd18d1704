#pragma once

#include "IScanEngineExtras.h"

class CScanEngine;

// The engine's additions, handed out by GetImpExtras. Holds a reference to its
// engine, so the engine lives as long as either object is held.
class CScanEngineExtras : public IScanEngineExtras
{
public:
    explicit CScanEngineExtras(CScanEngine *pEngine);
    ~CScanEngineExtras() override;

    void SetRotationMatching(int32_t iOn) override;
    int32_t RotationMatching() override;
    void SetSeparatedPairs(const uint64_t *pKeys, uint32_t iPairs) override;
    uint64_t GetContentKey(uint64_t iFileId) override;
    void GetScanSkipped(uint64_t *pCounts, uint32_t iCount) override;
    void SetScanThumbnails(int32_t iOn) override;
    uint32_t GetScanThumbnail(const ZKChar *pPath, uint8_t *pBuffer, uint32_t iCapacity) override;
    int32_t GetFileStamp(uint64_t iFileId, uint64_t *pModTime, uint64_t *pContentKey) override;
    uint32_t GetScanSkippedMounts(ZKChar *pBuffer, uint32_t iCapacity) override;
    void SetExactFeatures(int32_t iOn) override;
    int32_t ExactFeatures() override;
    void GetScanProgress(uint64_t *pCounts, uint32_t iCount) override;

private:
    CScanEngine *m_pEngine;
};
