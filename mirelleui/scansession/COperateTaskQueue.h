#pragma once

#include "CPhotoRecordCopy.h"

#include <QMutex>
#include <QObject>
#include <QString>
#include <QWaitCondition>

#include <atomic>

#include <deque>
#include <memory>

enum EnOperateTaskType {
    TaskGroupCreated = 0,
    TaskFileJoined = 1,
    TaskGroupsMerged = 2,
    TaskMarkGroup = 3,
    TaskClearGroupMarks = 4,
    TaskSetPhotoMark = 5,
    TaskMarkAll = 6,
    TaskClearAllMarks = 7,
    TaskDeleteMarked = 8,
    TaskDeleteOne = 9,
    TaskCancelScan = 10,
    TaskStartScan = 11
};

struct CTaskPayload
{
    virtual ~CTaskPayload() = default;
};

struct CPhotoTaskPayload : CTaskPayload
{
    CPhotoRecordCopy record;
    quint64 iKey = 0;
};

struct CMergeTaskPayload : CTaskPayload
{
    const PhotoRecord *pAbsorbed = nullptr;
    const PhotoRecord *pInto = nullptr;
};

struct CGroupTaskPayload : CTaskPayload
{
    quint64 pGroup = 0;
};

struct CPhotoMarkTaskPayload : CTaskPayload
{
    quint64 pGroup = 0;
    QString strPath;
    bool bState = false;
};

// One unit of the scan manager's work. The payload goes with the last copy of the task,
// so tasks dropped by clear() release theirs too.
struct COperateTask
{
    int iType = -1;
    std::shared_ptr<CTaskPayload> pPayload;

    bool isEmpty() const { return iType == -1; }
};

// The queue between producers (engine callbacks, screens) and the scan manager's single
// operation worker. Commands go ahead of the engine results, in the order they came; engine
// results go to the back. The manager owns it.
class COperateTaskQueue : public QObject
{
    Q_OBJECT
public:
    explicit COperateTaskQueue(QObject *parent = nullptr);

    void push(const COperateTask &task, bool bToFront);
    COperateTask pop();
    // The front task, marked as running until taskDone(). Waits at most iMaxWaitMs for one;
    // an empty task when none came or bStop is set.
    COperateTask waitPop(int iMaxWaitMs, const std::atomic_bool &bStop);
    void taskDone();
    // Wakes a waitPop() so that it reads its stop flag.
    void wakeConsumer();
    void clear();
    bool isEmpty() const;
    int size() const;
    // Type of the task pop() would return next, -1 when the queue is empty.
    int frontType() const;
    // True when no task waits and none runs.
    bool isDrained() const;
    // Waits at most iMaxWaitMs for isDrained().
    bool waitDrained(int iMaxWaitMs) const;

    void pushMarkGroup(quint64 pGroup);
    void pushClearGroupMarks(quint64 pGroup);
    void pushSetPhotoMark(quint64 pGroup, const QString &strPath, bool bState);
    void pushMarkAll();
    void pushClearAllMarks();
    void pushDeleteMarked();
    void pushDeleteOne(quint64 pGroup, const QString &strPath);
    void pushCommand(int iType, std::shared_ptr<CTaskPayload> pPayload = nullptr);

private:
    COperateTask takeFrontLocked();

    mutable QMutex m_mutex;
    QWaitCondition m_taskArrived;
    mutable QWaitCondition m_drained;
    std::deque<COperateTask> m_deque;
    // How many tasks at the front of the deque are commands.
    size_t m_iCommands = 0;
    bool m_bRunning = false;
};
