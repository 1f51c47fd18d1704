#include "COperateTaskQueue.h"

COperateTaskQueue *COperateTaskQueue::instance()
{
    // Function-local statics are constructed once, thread-safely, and destroyed at exit.
    static COperateTaskQueue s_queue;
    return &s_queue;
}

void COperateTaskQueue::push(const COperateTask &task, bool bToFront)
{
    QMutexLocker locker(&m_mutex);
    if (bToFront)
        m_deque.push_front(task);
    else
        m_deque.push_back(task);
}

COperateTask COperateTaskQueue::pop()
{
    QMutexLocker locker(&m_mutex);
    if (m_deque.empty())
        return {};
    COperateTask task = std::move(m_deque.front());
    m_deque.pop_front();
    return task;
}

void COperateTaskQueue::clear()
{
    std::deque<COperateTask> dropped;
    {
        QMutexLocker locker(&m_mutex);
        dropped.swap(m_deque);
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
