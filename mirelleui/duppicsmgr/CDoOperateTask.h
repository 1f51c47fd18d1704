#pragma once

#include <QThread>

#include <atomic>

struct COperateTask;
class COperateTaskQueue;

// What the operation worker runs each task against (the scan manager).
class IOperateTaskHandler
{
public:
    virtual void runOperateTask(const COperateTask &task) = 0;

protected:
    ~IOperateTaskHandler() = default;
};

// The single consumer of the operation queue: tasks run strictly one after another.
class CDoOperateTask : public QThread
{
    Q_OBJECT
public:
    CDoOperateTask(COperateTaskQueue *pQueue, IOperateTaskHandler *pHandler, QObject *parent = nullptr);

    void requestStop();
    // The longest an idle worker waits before it looks at the queue again.
    static int idleSleepMs();
    static bool isRunnable(const COperateTask &task);

protected:
    // run() is the worker loop; the stop flag is read only between tasks.
    void run() override;

private:
    std::atomic_bool m_bStop{false};
    COperateTaskQueue *m_pQueue;
    IOperateTaskHandler *m_pHandler;
};
