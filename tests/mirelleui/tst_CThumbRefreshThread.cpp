#include "CThumbRefreshThread.h"

#include <QMutex>
#include <QtTest>

Q_DECLARE_METATYPE(QList<quint64>)

namespace {

using Ticks = QList<quint64>;

// Starts a refresh thread that records the tick of every request it served.
class CServedLog
{
public:
    CServedLog()
    {
        m_pThread = new CThumbRefreshThread([this] {
            QMutexLocker locker(&m_lock);
            m_listServed.append(m_pThread->lastServedTick());
        });
    }
    CThumbRefreshThread *thread() const { return m_pThread; }
    QList<quint64> served() const
    {
        QMutexLocker locker(&m_lock);
        return m_listServed;
    }

private:
    CThumbRefreshThread *m_pThread = nullptr;
    mutable QMutex m_lock;
    QList<quint64> m_listServed;
};

} // namespace

class TestThumbRefreshThread : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void testDropsRequestsInsideTheGap_data()
    {
        // Ticks of the requests filed before the start, after it, and of those served.
        QTest::addColumn<Ticks>("before");
        QTest::addColumn<Ticks>("requests");
        QTest::addColumn<Ticks>("served");
        QTest::newRow("exactly 200 ms apart is dropped") << Ticks{} << Ticks{1000, 1200, 1201} << Ticks{1000, 1201};
        QTest::newRow("dropped request does not move the gap") << Ticks{} << Ticks{1000, 1150, 1300} << Ticks{1000, 1300};
        QTest::newRow("first request is measured from tick 0") << Ticks{} << Ticks{200, 201} << Ticks{201};
        QTest::newRow("requests filed before the start are dropped") << Ticks{1000} << Ticks{5000} << Ticks{5000};
        QTest::newRow("spaced requests all served") << Ticks{} << Ticks{1000, 1300, 1600} << Ticks{1000, 1300, 1600};
    }

    void testDropsRequestsInsideTheGap()
    {
        QFETCH(Ticks, before);
        QFETCH(Ticks, requests);
        QFETCH(Ticks, served);
        // Given a running refresh thread
        CServedLog log;
        for (quint64 iTick : qAsConst(before))
            log.thread()->requestRefreshAt(iTick);
        log.thread()->start();
        // When the requests arrive, with their ticks
        for (quint64 iTick : qAsConst(requests))
            log.thread()->requestRefreshAt(iTick);
        // Then only those past the gap since the last served one lead to a refresh
        QTRY_VERIFY(!log.thread()->hasPendingRequests());
        log.thread()->stop();
        QCOMPARE(log.served(), served);
    }
};

QTEST_GUILESS_MAIN(TestThumbRefreshThread)
#include "tst_CThumbRefreshThread.moc"
