#include "COperateTaskQueue.h"

#include <QDeadlineTimer>

COperateTaskQueue::COperateTaskQueue(QObject *parent) : QObject(parent) {}

void COperateTaskQueue::push(const COperateTask &task, bool bToFront)
{
    QMutexLocker locker(&m_mutex);
    // Commands overtake the waiting results but not each other: "clear all" then "mark all"
    // must end marked.
    if (bToFront)
        m_deque.insert(m_deque.begin() + std::ptrdiff_t(m_iCommands++), task);
    else
        m_deque.push_back(task);
    m_taskArrived.wakeOne();
}

COperateTask COperateTaskQueue::waitPop(int iMaxWaitMs, const std::atomic_bool &bStop)
{
    QMutexLocker locker(&m_mutex);
    // Read under the lock: a stop request wakes us only after taking it.
    if (m_deque.empty() && !bStop)
        m_taskArrived.wait(&m_mutex, QDeadlineTimer(iMaxWaitMs));
    if (m_deque.empty() || bStop)
        return {};
    COperateTask task = takeFrontLocked();
    m_bRunning = true;
    return task;
}

void COperateTaskQueue::taskDone()
{
    QMutexLocker locker(&m_mutex);
    m_bRunning = false;
    if (m_deque.empty())
        m_drained.wakeAll();
}

void COperateTaskQueue::wakeConsumer()
{
    QMutexLocker locker(&m_mutex);
    m_taskArrived.wakeAll();
}

bool COperateTaskQueue::isDrained() const
{
    QMutexLocker locker(&m_mutex);
    return m_deque.empty() && !m_bRunning;
}

bool COperateTaskQueue::waitDrained(int iMaxWaitMs) const
{
    QDeadlineTimer deadline(iMaxWaitMs);
    QMutexLocker locker(&m_mutex);
    while (!(m_deque.empty() && !m_bRunning)) {
        if (!m_drained.wait(&m_mutex, deadline))
            return m_deque.empty() && !m_bRunning;
    }
    return true;
}

COperateTask COperateTaskQueue::pop()
{
    QMutexLocker locker(&m_mutex);
    if (m_deque.empty())
        return {};
    return takeFrontLocked();
}

COperateTask COperateTaskQueue::takeFrontLocked()
{
    COperateTask task = std::move(m_deque.front());
    m_deque.pop_front();
    if (m_iCommands > 0)
        --m_iCommands;
    return task;
}

void COperateTaskQueue::clear()
{
    std::deque<COperateTask> dropped;
    {
        QMutexLocker locker(&m_mutex);
        dropped.swap(m_deque);
        m_iCommands = 0;
        if (!m_bRunning)
            m_drained.wakeAll();
    }
    // Payloads are released here, outside the lock.
}

bool COperateTaskQueue::isEmpty() const
{
    QMutexLocker locker(&m_mutex);
    return m_deque.empty();
}

int COperateTaskQueue::size() const
{
    QMutexLocker locker(&m_mutex);
    return int(m_deque.size());
}

int COperateTaskQueue::frontType() const
{
    QMutexLocker locker(&m_mutex);
    return m_deque.empty() ? -1 : m_deque.front().iType;
}

void COperateTaskQueue::pushCommand(int iType, std::shared_ptr<CTaskPayload> pPayload)
{
    push({iType, std::move(pPayload)}, true);
}

void COperateTaskQueue::pushMarkGroup(quint64 pGroup)
{
    if (pGroup == 0)
        return;
    auto pPayload = std::make_shared<CGroupTaskPayload>();
    pPayload->pGroup = pGroup;
    pushCommand(TaskMarkGroup, pPayload);
}

void COperateTaskQueue::pushClearGroupMarks(quint64 pGroup)
{
    if (pGroup == 0)
        return;
    auto pPayload = std::make_shared<CGroupTaskPayload>();
    pPayload->pGroup = pGroup;
    pushCommand(TaskClearGroupMarks, pPayload);
}

void COperateTaskQueue::pushSetPhotoMark(quint64 pGroup, const QString &strPath, bool bState)
{
    if (pGroup == 0 || strPath.isEmpty())
        return;
    auto pPayload = std::make_shared<CPhotoMarkTaskPayload>();
    pPayload->pGroup = pGroup;
    pPayload->strPath = strPath;
    pPayload->bState = bState;
    pushCommand(TaskSetPhotoMark, pPayload);
}

void COperateTaskQueue::pushMarkAll() { pushCommand(TaskMarkAll); }
void COperateTaskQueue::pushClearAllMarks() { pushCommand(TaskClearAllMarks); }
void COperateTaskQueue::pushDeleteMarked() { pushCommand(TaskDeleteMarked); }

void COperateTaskQueue::pushDeleteOne(quint64 pGroup, const QString &strPath)
{
    auto pPayload = std::make_shared<CPhotoMarkTaskPayload>();
    pPayload->pGroup = pGroup;
    pPayload->strPath = strPath;
    pushCommand(TaskDeleteOne, pPayload);
}
