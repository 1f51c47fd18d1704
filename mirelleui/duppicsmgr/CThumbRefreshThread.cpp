#include "CThumbRefreshThread.h"

#include "ManagerLogging.h"

#include <QElapsedTimer>

#include <utility>

namespace {

// Scrolling files a request per step; closer ones than this would only make the
// library drop the list it is working on.
constexpr quint64 kMinRefreshGapMs = 200;
// A request or a stop wakes the thread; this only bounds a wait.
constexpr unsigned long kIdleWaitMs = 100;

quint64 currentTick()
{
    // Monotonic, so a clock change cannot stall the refresh; never 0, which means "none".
    static const QElapsedTimer s_clock = [] {
        QElapsedTimer clock;
        clock.start();
        return clock;
    }();
    return static_cast<quint64>(s_clock.elapsed()) + kMinRefreshGapMs + 1;
}

} // namespace

CThumbRefreshThread::CThumbRefreshThread(std::function<void()> fnRefresh) : m_fnRefresh(std::move(fnRefresh))
{
    // stop() waits on this object; deleting it as soon as the run ends could free it
    // under a waiter on another thread, so stop() lets it go itself.
    disconnect(this, &QThread::finished, this, &QObject::deleteLater);
}

void CThumbRefreshThread::start()
{
    {
        QMutexLocker locker(&m_requestLock);
        m_listRequests.clear();
    }
    m_bStop = false;
    QThread::start(QThread::InheritPriority);
}

void CThumbRefreshThread::stop()
{
    {
        QMutexLocker locker(&m_requestLock);
        m_listRequests.clear();
    }
    {
        QMutexLocker locker(&m_requestLock);
        m_bStop = true;
        m_requestArrived.wakeAll();
    }
    quit();
    wait();
    deleteLater();
}

void CThumbRefreshThread::requestRefresh()
{
    requestRefreshAt(currentTick());
}

void CThumbRefreshThread::requestRefreshAt(quint64 iTick)
{
    QMutexLocker locker(&m_requestLock);
    m_listRequests.push_back(iTick);
    m_requestArrived.wakeOne();
}

bool CThumbRefreshThread::hasPendingRequests() const
{
    QMutexLocker locker(&m_requestLock);
    return !m_listRequests.empty();
}

quint64 CThumbRefreshThread::takeRequest()
{
    QMutexLocker locker(&m_requestLock);
    if (m_listRequests.empty() && !m_bStop)
        m_requestArrived.wait(&m_requestLock, kIdleWaitMs);
    if (m_listRequests.empty())
        return 0;
    const quint64 iTick = m_listRequests.front();
    m_listRequests.pop_front();
    return iTick;
}

int CThumbRefreshThread::doRun()
{
    while (m_fnRefresh && !m_bStop) {
        const quint64 iTick = takeRequest();
        if (iTick == 0)
            continue;
        // A request inside the gap is dropped, not postponed: the next scroll asks again.
        if (iTick - m_iLastServedTick.load() > kMinRefreshGapMs) {
            m_iLastServedTick = iTick;
            m_fnRefresh();
        } else {
            qCDebug(lcManager) << "Ignore repeat refresh Message....................";
        }
    }
    return 0;
}
