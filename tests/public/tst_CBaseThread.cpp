#include <QtTest>

#include "CBaseThread.h"
#include "CCoalescedSignal.h"

#include <thread>

namespace {

class CWorker : public CBaseThread
{
public:
    explicit CWorker(int iResult, int iRunMs = 0) : m_iResult(iResult), m_iRunMs(iRunMs) {}
    std::atomic_bool m_bStarted{false};

protected:
    int doRun() override
    {
        m_bStarted = true;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < m_iRunMs && !isCancelled())
            QThread::msleep(5);
        return m_iResult;
    }

private:
    int m_iResult;
    int m_iRunMs;
};

} // namespace

// The worker thread base and the notice that gathers requests from threads.
class TestBaseThread : public QObject
{
    Q_OBJECT
private slots:
    void testReportsResultOnceAndDeletesItself_data()
    {
        QTest::addColumn<int>("result");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("expected");
        QTest::newRow("success") << 0 << false << 0;
        QTest::newRow("failure code") << 3 << false << 3;
        QTest::newRow("cancelled") << 0 << true << 20130;
    }

    void testReportsResultOnceAndDeletesItself()
    {
        QFETCH(int, result);
        QFETCH(bool, cancel);
        QFETCH(int, expected);
        auto *pWorker = new CWorker(result, cancel ? 5000 : 0);
        QSignalSpy finishedSpy(pWorker, &CBaseThread::sigFinished);
        QSignalSpy destroyedSpy(pWorker, &QObject::destroyed);
        pWorker->start();
        if (cancel) {
            QTRY_VERIFY(pWorker->m_bStarted.load());
            pWorker->onCancel();
        }
        QVERIFY(destroyedSpy.wait(5000));
        QCOMPARE(finishedSpy.count(), 1);
        QCOMPARE(finishedSpy.first().first().toInt(), expected);
    }

    // Requests from several threads become few notices, and none is lost: the last request
    // is always followed by a notice.
    void testBurstsFromThreadsEndInANotice()
    {
        CCoalescedSignal notice(20);
        QSignalSpy spy(&notice, &CCoalescedSignal::fired);
        std::vector<std::thread> threads;
        for (int t = 0; t < 4; ++t)
            threads.emplace_back([&notice] {
                for (int i = 0; i < 5000; ++i)
                    notice.request();
            });
        for (std::thread &thread : threads)
            thread.join();
        QTRY_VERIFY(spy.count() >= 1);
        QVERIFY(spy.count() < 100);
        const int iAfterBurst = spy.count();
        notice.request();
        QTRY_COMPARE(spy.count(), iAfterBurst + 1);
    }
};

QTEST_GUILESS_MAIN(TestBaseThread)
#include "tst_CBaseThread.moc"
