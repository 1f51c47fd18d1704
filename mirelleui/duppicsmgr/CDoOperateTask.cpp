#include "CDoOperateTask.h"

#include "COperateTaskQueue.h"

#include <cstdio>

CDoOperateTask::CDoOperateTask(IOperateTaskHandler *pHandler, QObject *parent)
    : QThread(parent), m_pHandler(pHandler)
{
}

int CDoOperateTask::idleSleepMs()
{
    // On small machines an idle worker must leave the cores to the engine.
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
    COperateTaskQueue *pQueue = COperateTaskQueue::instance();
    const int iSleep = idleSleepMs();
    while (!m_bStop) {
        // Busy from before the pop, so that an empty queue and an idle worker mean done.
        m_bBusy = true;
        COperateTask task = pQueue->pop();
        if (task.isEmpty()) {
            m_bBusy = false;
            QThread::msleep(iSleep);
            continue;
        }
        if (m_pHandler && isRunnable(task))
            m_pHandler->runOperateTask(task);
        task = {};
        m_bBusy = false;
    }
    std::fputs("CDoOperateTask finished..........................\n", stdout);
    std::fflush(stdout);
}
