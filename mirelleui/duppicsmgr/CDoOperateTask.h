#pragma once

#include <QThread>

#include <atomic>

struct COperateTask;

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
    explicit CDoOperateTask(IOperateTaskHandler *pHandler, QObject *parent = nullptr);

    void requestStop() { m_bStop = true; }
    // True while a task runs: an empty queue alone does not mean the work is done.
    bool isBusy() const { return m_bBusy.load(); }
    static int idleSleepMs();
    static bool isRunnable(const COperateTask &task);

protected:
    // run() is the worker loop; the stop flag is read only between tasks.
    void run() override;

private:
    std::atomic_bool m_bStop{false};
    std::atomic_bool m_bBusy{false};
    IOperateTaskHandler *m_pHandler;
};
