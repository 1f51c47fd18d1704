#include "CThumbService.h"
#include "ThumbFixtures.h"

#include <QtTest>

#include <QSemaphore>

using namespace ThumbFixtures;

// The memory cache under a tight budget, with the page in view pinned beside it.
class tst_CThumbService : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        m_listPaths.clear();
        for (int i = 0; i < 8; ++i) {
            m_listPaths.append(m_pDir->filePath(QStringLiteral("p%1.jpg").arg(i)));
            QVERIFY(writeJpeg(m_listPaths.last(), cornerImage(320, 240)));
        }
    }

    void testPageSurvivesEvictionUntilItChanges()
    {
        // Given room for three 256x192 thumbnails and no disk cache
        const int iThumbBytes = 256 * 192 * 4;
        CThumbService service(QString(), 1, iThumbBytes * 3 + 4096);
        QSemaphore done;
        service.setCallbacks([&done](const QVariant &, const QString &, bool) { done.release(); }, nullptr);
        service.start();

        // When p0 is in view and seven more are queued afterwards
        service.setReserved({CThumbRequest{1, m_listPaths.at(0)}});
        QVERIFY(done.tryAcquire(1, 20000));
        for (int i = 1; i < 8; ++i)
            service.pushThumb(1, m_listPaths.at(i), false);
        QVERIFY(done.tryAcquire(7, 20000));

        // Then the oldest queued ones are evicted, but p0 is still served
        QImage image;
        QVERIFY(!service.findThumb(m_listPaths.at(1), image));
        QVERIFY(service.findThumb(m_listPaths.at(7), image));
        QVERIFY(service.findThumb(m_listPaths.at(0), image));
        QCOMPARE(image.size(), QSize(256, 192));
        QVERIFY(service.findPageThumb(CThumbService::idOf(m_listPaths.at(0)), image));

        // When the view moves on, p0 is released and the new page is made again
        service.setReserved({CThumbRequest{1, m_listPaths.at(1)}});
        QVERIFY(!service.findThumb(m_listPaths.at(0), image));
        QVERIFY(done.tryAcquire(1, 20000));
        QVERIFY(service.findPageThumb(m_listPaths.at(1), image));
        service.stop();
    }

    void testStopDropsWaitingWorkAndMemory()
    {
        CThumbService service(QString(), 1);
        QSemaphore done;
        service.setCallbacks([&done](const QVariant &, const QString &, bool) { done.release(); }, nullptr);
        service.pushThumb(1, m_listPaths.at(0), false);
        service.start();
        QVERIFY(done.tryAcquire(1, 20000));
        for (int i = 1; i < 8; ++i)
            service.pushThumb(1, m_listPaths.at(i), false);
        service.stop();
        service.stop();
        QImage image;
        QVERIFY(!service.findThumb(m_listPaths.at(0), image));
        // Whatever ran before the stop reported; nothing reports afterwards.
        const int iReported = done.available();
        service.start();
        QVERIFY(!done.tryAcquire(iReported + 1, 200));
    }

private:
    std::unique_ptr<QTemporaryDir> m_pDir;
    QStringList m_listPaths;
};

QTEST_GUILESS_MAIN(tst_CThumbService)
#include "tst_CThumbService.moc"
