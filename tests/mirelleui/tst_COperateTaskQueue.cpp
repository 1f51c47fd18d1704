#include <QtTest>

#include "CDoOperateTask.h"
#include "COperateTaskQueue.h"

#include <QMutex>
#include <QSemaphore>

namespace {

class CRecordingHandler : public IOperateTaskHandler
{
public:
    void runOperateTask(const COperateTask &task) override
    {
        {
            QMutexLocker locker(&m_mutex);
            m_listTypes << task.iType;
        }
        if (m_bBlock)
            m_release.acquire();
    }
    QList<int> types() const
    {
        QMutexLocker locker(&m_mutex);
        return m_listTypes;
    }
    bool m_bBlock = false;
    QSemaphore m_release;

private:
    mutable QMutex m_mutex;
    QList<int> m_listTypes;
};

COperateTask result(int iType)
{
    auto pPayload = std::make_shared<CPhotoTaskPayload>();
    return {iType, pPayload};
}

} // namespace

class TestOperateTaskQueue : public QObject
{
    Q_OBJECT
private slots:
    void init() { COperateTaskQueue::instance()->clear(); }

    void testCommandsOvertakeResultsInReverseOrder()
    {
        // Given three intake results waiting
        COperateTaskQueue *pQueue = COperateTaskQueue::instance();
        pQueue->push(result(TaskGroupCreated), false);
        pQueue->push(result(TaskFileJoined), false);
        pQueue->push(result(TaskGroupsMerged), false);
        // When two commands are pushed before the worker takes any
        pQueue->pushClearAllMarks();
        pQueue->pushMarkAll();
        pQueue->pushSetPhotoMark(7, QStringLiteral("/a.jpg"), true);
        // Then the last command runs first and the results keep their order
        QList<int> order;
        for (COperateTask task = pQueue->pop(); !task.isEmpty(); task = pQueue->pop())
            order << task.iType;
        QCOMPARE(order, (QList<int>{TaskSetPhotoMark, TaskMarkAll, TaskClearAllMarks, TaskGroupCreated,
                                    TaskFileJoined, TaskGroupsMerged}));
        QVERIFY(pQueue->isEmpty());
    }

    void testConvenienceCommandsSkipNullArguments_data()
    {
        QTest::addColumn<int>("which");
        QTest::newRow("mark group 0") << 0;
        QTest::newRow("clear marks of group 0") << 1;
        QTest::newRow("photo mark in group 0") << 2;
        QTest::newRow("photo mark with empty path") << 3;
    }

    void testConvenienceCommandsSkipNullArguments()
    {
        QFETCH(int, which);
        COperateTaskQueue *pQueue = COperateTaskQueue::instance();
        switch (which) {
        case 0: pQueue->pushMarkGroup(0); break;
        case 1: pQueue->pushClearGroupMarks(0); break;
        case 2: pQueue->pushSetPhotoMark(0, QStringLiteral("/a"), true); break;
        default: pQueue->pushSetPhotoMark(3, QString(), true); break;
        }
        QVERIFY(pQueue->isEmpty());
    }

    void testClearReleasesPayloads()
    {
        auto pPayload = std::make_shared<CGroupTaskPayload>();
        std::weak_ptr<CGroupTaskPayload> weak = pPayload;
        COperateTaskQueue::instance()->push({TaskMarkGroup, pPayload}, true);
        pPayload.reset();
        QVERIFY(!weak.expired());
        COperateTaskQueue::instance()->clear();
        QVERIFY(weak.expired());
        QVERIFY(COperateTaskQueue::instance()->isEmpty());
    }

    void testWorkerRunsKnownTasksAndSkipsBadOnes()
    {
        CRecordingHandler handler;
        CDoOperateTask worker(&handler);
        COperateTaskQueue *pQueue = COperateTaskQueue::instance();
        pQueue->push({12, nullptr}, false);                  // unknown type: consumed, ignored
        pQueue->push({TaskGroupCreated, nullptr}, false);    // needs a payload: ignored
        pQueue->push(result(TaskFileJoined), false);
        pQueue->push({TaskMarkAll, nullptr}, false);         // needs none: runs
        worker.start();
        QTRY_COMPARE(handler.types(), (QList<int>{TaskFileJoined, TaskMarkAll}));
        QTRY_VERIFY(pQueue->isEmpty());
        worker.requestStop();
        QVERIFY(worker.wait(5000));
    }

    void testStopWhileBusyEndsAfterTheRunningTask()
    {
        CRecordingHandler handler;
        handler.m_bBlock = true;
        CDoOperateTask worker(&handler);
        COperateTaskQueue *pQueue = COperateTaskQueue::instance();
        pQueue->push({TaskMarkAll, nullptr}, false);
        pQueue->push({TaskClearAllMarks, nullptr}, false);
        worker.start();
        QTRY_COMPARE(handler.types().size(), 1);
        worker.requestStop();
        handler.m_release.release(2);
        QVERIFY(worker.wait(5000));
        // The second task was not taken: the stop flag is read between tasks.
        QCOMPARE(handler.types(), QList<int>{TaskMarkAll});
        QCOMPARE(pQueue->size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestOperateTaskQueue)
#include "tst_COperateTaskQueue.moc"
