#include "CDoOperateTask.h"

#include "COperateTaskQueue.h"

#include "ManagerLogging.h"

CDoOperateTask::CDoOperateTask(COperateTaskQueue *pQueue, IOperateTaskHandler *pHandler, QObject *parent)
    : QThread(parent), m_pQueue(pQueue), m_pHandler(pHandler)
{
}

void CDoOperateTask::requestStop()
{
    m_bStop = true;
    m_pQueue->wakeConsumer();
}

int CDoOperateTask::idleSleepMs()
{
    // A push wakes the worker at once; this only bounds how long a stop can go unseen.
    return QThread::idealThreadCount() <= 2 ? 400 : 100;
}

bool CDoOperateTask::isRunnable(const COperateTask &task)
{
    switch (task.iType) {
    case TaskMarkAll:
    case TaskClearAllMarks:
    case TaskDeleteMarked:
    case TaskCancelScan:
    case TaskStartScan:
        return true;
    case TaskGroupCreated:
    case TaskFileJoined:
    case TaskGroupsMerged:
    case TaskMarkGroup:
    case TaskClearGroupMarks:
    case TaskSetPhotoMark:
    case TaskDeleteOne:
        return task.pPayload != nullptr;
    default:
        return false;
    }
}

void CDoOperateTask::run()
{
    const int iWaitMs = idleSleepMs();
    while (!m_bStop) {
        COperateTask task = m_pQueue->waitPop(iWaitMs, m_bStop);
        if (task.isEmpty())
            continue;
        if (m_pHandler && isRunnable(task))
            m_pHandler->runOperateTask(task);
        task = {};
        m_pQueue->taskDone();
    }
    qCDebug(lcManager) << "CDoOperateTask finished..........................";
}
