#pragma once

#include "CBaseThread.h"

#include <QMutex>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>

// Turns the scroll requests of the result screen into new reserve lists for the
// thumbnail library, at most one per 200 ms. Created and stopped by the scan manager;
// a stopped thread deletes itself.
class CThumbRefreshThread : public CBaseThread
{
public:
    // fnRefresh rebuilds the reserve list; it runs on this thread.
    explicit CThumbRefreshThread(std::function<void()> fnRefresh);

    void start();
    // Waits until the run has ended, then lets the object go; do not touch it afterwards.
    void stop();

    // Called on the GUI thread for every scroll.
    void requestRefresh();
    void requestRefreshAt(quint64 iTick);

    bool hasPendingRequests() const;
    quint64 lastServedTick() const { return m_iLastServedTick.load(); }

protected:
    int doRun() override;

private:
    // The oldest request, waiting for one a short while; 0 when none came.
    quint64 takeRequest();

    std::function<void()> m_fnRefresh;
    mutable QMutex m_requestLock;
    QWaitCondition m_requestArrived;
    std::deque<quint64> m_listRequests;
    std::atomic<quint64> m_iLastServedTick{0};
    std::atomic_bool m_bStop{false};
};
