#include <QtTest>

#include "CDoOperateTask.h"
#include "COperateTaskQueue.h"

#include <QMutex>
#include <QSemaphore>

#include <atomic>
#include <thread>

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
    void testCommandsOvertakeResultsInTheirOrder()
    {
        // Given three intake results waiting
        COperateTaskQueue queue;
        queue.push(result(TaskGroupCreated), false);
        queue.push(result(TaskFileJoined), false);
        queue.push(result(TaskGroupsMerged), false);
        // When two commands are pushed before the worker takes any
        queue.pushClearAllMarks();
        queue.pushMarkAll();
        queue.pushSetPhotoMark(7, QStringLiteral("/a.jpg"), true);
        // Commands without a group or a path are not queued.
        queue.pushMarkGroup(0);
        queue.pushClearGroupMarks(0);
        queue.pushSetPhotoMark(0, QStringLiteral("/a"), true);
        queue.pushSetPhotoMark(3, QString(), true);
        // Then the commands run first, in the order they came, and the results keep theirs
        QList<int> order;
        for (COperateTask task = queue.pop(); !task.isEmpty(); task = queue.pop())
            order << task.iType;
        QCOMPARE(order, (QList<int>{TaskClearAllMarks, TaskMarkAll, TaskSetPhotoMark, TaskGroupCreated,
                                    TaskFileJoined, TaskGroupsMerged}));
        QVERIFY(queue.isEmpty());
    }

    void testStopWhileBusyEndsAfterTheRunningTask()
    {
        CRecordingHandler handler;
        handler.m_bBlock = true;
        COperateTaskQueue queue;
        CDoOperateTask worker(&queue, &handler);
        queue.push({TaskMarkAll, nullptr}, false);
        queue.push({TaskClearAllMarks, nullptr}, false);
        worker.start();
        QTRY_COMPARE(handler.types().size(), 1);
        worker.requestStop();
        handler.m_release.release(2);
        QVERIFY(worker.wait(5000));
        // The second task was not taken: the stop flag is read between tasks.
        QCOMPARE(handler.types(), QList<int>{TaskMarkAll});
        QCOMPARE(queue.size(), 1);
    }

    // Waits far longer than the test may take: only a wake-up ends them in time.
    void testWaitsEndAtOnce_data()
    {
        QTest::addColumn<QString>("event");
        QTest::newRow("push wakes a waiting consumer") << "push";
        QTest::newRow("stop wakes a waiting consumer") << "stop";
        QTest::newRow("finished task wakes a drain waiter") << "done";
        QTest::newRow("clear wakes a drain waiter") << "clear";
    }

    void testWaitsEndAtOnce()
    {
        QFETCH(QString, event);
        constexpr int kLongMs = 600000;
        COperateTaskQueue queue;
        std::atomic_bool bStop{false};
        std::atomic_bool bReturned{false};
        std::atomic_int iTaken{-1};
        const bool bDrainWait = event == "done" || event == "clear";
        if (event == "done") {
            queue.push({TaskMarkAll, nullptr}, true);
            QCOMPARE(queue.waitPop(0, bStop).iType, int(TaskMarkAll));
        }
        // A clear lets go of the payloads it drops.
        auto pPayload = std::make_shared<CGroupTaskPayload>();
        const std::weak_ptr<CGroupTaskPayload> weak = pPayload;
        if (event == "clear")
            queue.push({TaskMarkGroup, pPayload}, true);
        pPayload.reset();
        QVERIFY(!queue.isDrained() || !bDrainWait);
        std::thread waiter([&] {
            if (bDrainWait)
                iTaken = queue.waitDrained(kLongMs) ? 1 : 0;
            else
                iTaken = queue.waitPop(kLongMs, bStop).iType;
            bReturned = true;
        });
        // Whether the waiter already waits or not, the event must reach it.
        QThread::yieldCurrentThread();
        if (event == "push") {
            queue.pushMarkAll();
        } else if (event == "stop") {
            bStop = true;
            queue.wakeConsumer();
        } else if (event == "done") {
            queue.taskDone();
        } else {
            queue.clear();
        }
        QTRY_VERIFY(bReturned.load());
        waiter.join();
        QCOMPARE(iTaken.load(), event == "push" ? int(TaskMarkAll) : event == "stop" ? -1 : 1);
        QVERIFY(weak.expired());
    }
};

QTEST_GUILESS_MAIN(TestOperateTaskQueue)
#include "tst_COperateTaskQueue.moc"
