#pragma once

#include "CPhotoRecordCopy.h"

#include <QMutex>
#include <QObject>
#include <QString>

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

// The process-wide queue between producers (engine callbacks, screens) and the
// single operation worker. Commands go to the front, engine results to the back.
class COperateTaskQueue : public QObject
{
    Q_OBJECT
public:
    static COperateTaskQueue *instance();

    void push(const COperateTask &task, bool bToFront);
    COperateTask pop();
    void clear();
    bool isEmpty() const;
    int size() const;
    // Type of the task pop() would return next, -1 when the queue is empty.
    int frontType() const;

    void pushMarkGroup(quint64 pGroup);
    void pushClearGroupMarks(quint64 pGroup);
    void pushSetPhotoMark(quint64 pGroup, const QString &strPath, bool bState);
    void pushMarkAll();
    void pushClearAllMarks();
    void pushDeleteMarked();
    void pushDeleteOne(quint64 pGroup, const QString &strPath);
    void pushCommand(int iType, std::shared_ptr<CTaskPayload> pPayload = nullptr);

private:
    COperateTaskQueue() = default;

    mutable QMutex m_mutex;
    std::deque<COperateTask> m_deque;
};
