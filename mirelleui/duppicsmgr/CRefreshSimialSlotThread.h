#pragma once

#include "CBaseThread.h"
#include "CCollectionThread.h"

// Everything a regroup reads, copied when it starts.
struct CRegroupJob
{
    IScanEngine *pEngine = nullptr;
    IScanEngineExtras *pExtras = nullptr;
    IDuplicationGatherSink *pSink = nullptr;
    COperateTaskQueue *pQueue = nullptr;
    CEngineExtrasSettings extras;
    quint8 iSimilarity = 0;
};

// Regroups the stored results at the current threshold without reading files again.
// Deletes itself when done; the manager follows it through a QPointer.
class CRefreshSimialSlotThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CRefreshSimialSlotThread(CRegroupJob job) : m_job(std::move(job)) {}

Q_SIGNALS:
    // Earlier intake has landed: the results are to be emptied now; sent on this thread.
    void sigResetResults();
    // The regroup's results are all filed; sent on this thread.
    void sigRegrouped();

protected:
    int doRun() override;

private:
    CRegroupJob m_job;
};
