#include "CThumbService.h"
#include "CTestPhotos.h"

#include <QtTest>

using namespace testphotos;

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
            QVERIFY(save(cornerImage(320, 240), m_listPaths.last(), "JPG", 92));
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

    // What a source answers decides whether the file is decoded at all: the file is a
    // blue picture, the prepared one green.
    void testPreparedThumbnailUsedOnlyWhenFit_data()
    {
        QTest::addColumn<QByteArray>("prepared");
        QTest::addColumn<bool>("used");
        QTest::addColumn<QSize>("size");
        QTest::newRow("thumbnail size") << green(QSize(256, 171)) << true << QSize(256, 171);
        QTest::newRow("larger, fitted") << green(QSize(512, 384)) << true << QSize(256, 192);
        QTest::newRow("too small") << green(QSize(128, 96)) << false << QSize(256, 192);
        QTest::newRow("none") << QByteArray() << false << QSize(256, 192);
        QTest::newRow("not a picture") << QByteArray("\xFF\xD8\xFF garbage", 11) << false << QSize(256, 192);
    }

    void testPreparedThumbnailUsedOnlyWhenFit()
    {
        QFETCH(QByteArray, prepared);
        QFETCH(bool, used);
        QFETCH(QSize, size);
        CThumbService service(QString(), 1);
        QSemaphore done;
        service.setCallbacks([&done](const QVariant &, const QString &, bool) { done.release(); }, nullptr);
        QStringList listAsked;
        service.setPreparedSource([&](const QString &strPath) {
            listAsked.append(strPath);
            return prepared;
        });
        service.start();
        service.pushThumb(1, m_listPaths.at(0), false);
        QVERIFY(done.tryAcquire(1, 20000));
        QImage image;
        QVERIFY(service.findThumb(m_listPaths.at(0), image));
        QCOMPARE(listAsked, QStringList{m_listPaths.at(0)});
        QCOMPARE(image.size(), size);
        const QRgb centre = image.pixel(image.width() / 2, image.height() / 2);
        QCOMPARE(isGreen(centre), used);
        service.stop();
    }

    // The source belongs to someone else, who may free it right after clearing it.
    void testClearingSourceWaitsForCallInProgress()
    {
        CThumbService service(QString(), 1);
        QSemaphore done;
        QSemaphore entered;
        std::atomic_bool bReturned{false};
        service.setCallbacks([&done](const QVariant &, const QString &, bool) { done.release(); }, nullptr);
        service.setPreparedSource([&](const QString &) {
            entered.release();
            QThread::msleep(300);
            bReturned = true;
            return QByteArray();
        });
        service.start();
        service.pushThumb(1, m_listPaths.at(0), false);
        QVERIFY(entered.tryAcquire(1, 20000));
        service.setPreparedSource({});
        QVERIFY(bReturned);
        QVERIFY(done.tryAcquire(1, 20000));
        // Not asked again once cleared.
        service.pushThumb(1, m_listPaths.at(1), false);
        QVERIFY(done.tryAcquire(1, 20000));
        QCOMPARE(entered.available(), 0);
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

    void testEveryRequestOfInterleavedPagesCompletes_data()
    {
        QTest::addColumn<int>("threads");
        QTest::addColumn<int>("idleThreads");
        QTest::addColumn<bool>("diskCacheWarm");
        QTest::newRow("one decoder, cold") << 1 << 0 << false;
        QTest::newRow("with idle decoder, cold") << 1 << 1 << false;
        QTest::newRow("with idle decoder, disk cache warm") << 1 << 1 << true;
        QTest::newRow("three decoders, disk cache warm") << 2 << 1 << true;
    }

    void testEveryRequestOfInterleavedPagesCompletes()
    {
        QFETCH(int, threads);
        QFETCH(int, idleThreads);
        QFETCH(bool, diskCacheWarm);
        // Given 48 photos, three pages of 16
        QStringList listPaths;
        for (int i = 0; i < 48; ++i) {
            listPaths.append(m_pDir->filePath(QStringLiteral("page%1.jpg").arg(i)));
            QVERIFY(save(cornerImage(640, 480), listPaths.last(), "JPG", 92));
        }
        const QString strDiskRoot = m_pDir->filePath(QStringLiteral("thumbnails"));
        if (diskCacheWarm) {
            CThumbService warmer(strDiskRoot, 1, CThumbService::kThumbBudgetBytes, 0);
            QSemaphore made;
            warmer.setCallbacks([&made](const QVariant &, const QString &, bool) { made.release(); }, nullptr);
            warmer.start();
            for (const QString &strPath : qAsConst(listPaths))
                warmer.pushThumb(1, strPath, false);
            QVERIFY(made.tryAcquire(listPaths.size(), 30000));
        }

        QMutex mutex;
        QHash<QString, int> mapReported;
        CThumbService service(strDiskRoot, threads, CThumbService::kThumbBudgetBytes, idleThreads);
        service.setCallbacks(
            [&](const QVariant &, const QString &strPath, bool) {
                QMutexLocker locker(&mutex);
                ++mapReported[strPath];
            },
            nullptr);
        service.start();

        // When each page is reserved whole and then, as the views read their rows, one
        // photo at a time, the next page interleaved halfway through
        QList<QPair<QString, int>> listAwaited;
        const auto reserve = [&](const QList<CThumbRequest> &listRequests) {
            QHash<QString, int> mapBefore;
            {
                QMutexLocker locker(&mutex);
                mapBefore = mapReported;
            }
            service.setReserved(listRequests);
            // A photo not ready right after its request is owed a later report.
            for (const CThumbRequest &request : listRequests) {
                QImage image;
                if (!service.findThumb(request.path, image))
                    listAwaited.append({request.path, mapBefore.value(request.path)});
            }
        };
        const auto page = [&](int iPage) {
            QList<CThumbRequest> listPage;
            for (int i = 0; i < 16; ++i)
                listPage.append(CThumbRequest{quint64(iPage), listPaths.at(iPage * 16 + i)});
            return listPage;
        };
        for (int iPage = 0; iPage < 3; ++iPage) {
            reserve(page(iPage));
            for (int i = 0; i < 16; ++i) {
                if (i == 8 && iPage < 2)
                    reserve(page(iPage + 1));
                reserve({CThumbRequest{quint64(iPage), listPaths.at(iPage * 16 + (i * 7) % 16)}});
            }
        }

        // Then every photo that was not ready when asked for is reported afterwards
        QVERIFY(!listAwaited.isEmpty());
        for (const auto &awaited : qAsConst(listAwaited)) {
            QTRY_VERIFY2_WITH_TIMEOUT(
                [&] {
                    QMutexLocker locker(&mutex);
                    return mapReported.value(awaited.first) > awaited.second;
                }(),
                qPrintable(awaited.first), 15000);
            QImage image;
            QVERIFY(service.findThumb(awaited.first, image));
            QVERIFY(!image.isNull());
        }
        service.stop();
    }

private:
    static QByteArray green(const QSize &size)
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::green);
        return encoded(image, "JPEG", 90);
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
    QStringList m_listPaths;
};

QTEST_GUILESS_MAIN(tst_CThumbService)
#include "tst_CThumbService.moc"
