#include "CCoalescedSignal.h"

#include <QtTest>

#include <thread>

class tst_CCoalescedSignal : public QObject
{
    Q_OBJECT

private Q_SLOTS:
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

    void testFlushFiresOnlyWhatWaits()
    {
        CCoalescedSignal notice(60 * 1000);
        QSignalSpy spy(&notice, &CCoalescedSignal::fired);
        notice.flush();
        QCOMPARE(spy.count(), 0);
        notice.request();
        notice.flush();
        QCOMPARE(spy.count(), 1);
        // The request's queued arming finds nothing left to do.
        QCoreApplication::processEvents();
        notice.flush();
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_CCoalescedSignal)
#include "tst_CCoalescedSignal.moc"
