#include <QtTest>

#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "FakeEngineControl.h"
#include "ManagerTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

class TestDupPicsMgrMarks : public QObject
{
    Q_OBJECT
private:
    CManagerTestEnvironment m_env;
    CFakeEngineControl m_fake;
    std::unique_ptr<QTemporaryDir> m_pDir;

    QString photo(const QString &name)
    {
        const QString path = m_pDir->filePath(name);
        QFile file(path);
        if (!file.exists() && file.open(QIODevice::WriteOnly))
            file.write(QByteArray(100, 'x'));
        return path;
    }
    QJsonObject create(quint64 id, const QString &name, double def = 6)
    {
        return {{"op", "create"}, {"id", double(id)}, {"path", photo(name)}, {"size", 1000}, {"def", def}};
    }
    QJsonObject join(quint64 id, quint64 group, const QString &name, double def = 6)
    {
        return {{"op", "join"}, {"id", double(id)}, {"group", double(group)}, {"path", photo(name)},
                {"size", 2000}, {"def", def}, {"sim", 90}};
    }
    void setScript(const QJsonArray &events, const QJsonArray &regroup = {})
    {
        m_fake.setScript(QJsonDocument(QJsonObject{{"volumes", QJsonArray{"/"}}, {"events", events}, {"regroup", regroup}})
                             .toJson(QJsonDocument::Compact));
    }
    void scan(CDupPicsMgr &mgr)
    {
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        mgr.collectDupFiles();
        QVERIFY(completeSpy.wait(10000));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_fake.isValid());
        CDupPicsMgr::setEngineLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH));
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        COperateTaskQueue::instance()->clear();
    }

    void testRegroupRebuildsWithoutScanning()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg"), join(3, 1, "c.jpg")},
                  {create(1, "a.jpg"), join(2, 1, "b.jpg"), create(3, "c.jpg")});
        CDupPicsMgr mgr;
        scan(mgr);
        mgr.doAllMark();
        QTRY_COMPARE(mgr.checkedItemCount(), 2);

        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        QSignalSpy progressSpy(&mgr, &CDupPicsMgr::sigProcProgress);
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QCOMPARE(completeSpy.first().first().toInt(), 0);
        QCOMPARE(mgr.groupOrder(), (QList<quint64>{1, 3}));
        QCOMPARE(mgr.checkedItemCount(), 0);
        QVERIFY(m_fake.calls().contains("Regroup:70"));
        QCOMPARE(m_fake.calls().count("BeginScan"), 1);
        QCOMPARE(progressSpy.first(), (QList<QVariant>{4, 0}));
        QCOMPARE(progressSpy.last(), (QList<QVariant>{4, 100}));
        QTRY_COMPARE(mgr.getGroupCount(), 2);
    }

    void testCancelRegroupAndRegroupAgain()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg")}, {create(1, "a.jpg"), QJsonObject{{"op", "waitStop"}}});
        CDupPicsMgr mgr;
        scan(mgr);
        QSignalSpy cancelSpy(&mgr, &CDupPicsMgr::sigCanclelRefresh);
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.refreshSimilarSlot();
        QTRY_VERIFY(m_fake.calls().contains("Regroup:70"));
        mgr.cancelRefresh();
        QCOMPARE(cancelSpy.count(), 1);
        QVERIFY(m_fake.calls().contains("StopRegroup"));
        QVERIFY(!mgr.isRegrouping());

        setScript({}, {create(1, "a.jpg"), join(2, 1, "b.jpg")});
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QCOMPARE(mgr.groupOrder(), QList<quint64>{1});
    }

    // A regroup asked for during a scan or during another regroup is refused; the one
    // running finishes.
    void testRegroupRefusedWhileBusy()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg"), QJsonObject{{"op", "sleep"}, {"ms", 800}}},
                  {create(1, "a.jpg"), QJsonObject{{"op", "sleep"}, {"ms", 800}}, join(2, 1, "b.jpg")});
        CDupPicsMgr mgr;
        QSignalSpy scanSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        mgr.collectDupFiles();
        QTRY_VERIFY(mgr.isScanning());
        mgr.refreshSimilarSlot();
        QVERIFY(scanSpy.wait(10000));
        QVERIFY(!m_fake.calls().join(' ').contains("Regroup"));

        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.refreshSimilarSlot();
        mgr.refreshSimilarSlot();
        QVERIFY(completeSpy.wait(15000));
        QTest::qWait(200);
        QCOMPARE(completeSpy.count(), 1);
        QCOMPARE(m_fake.calls().count("Regroup:70"), 1);
        QCOMPARE(mgr.groupOrder(), QList<quint64>{1});
    }

    void testFileStateReachesTheEngine()
    {
        setScript({create(1, "a.jpg"), join(2, 1, "b.jpg")});
        CDupPicsMgr mgr;
        scan(mgr);
        mgr.slotSetDelFlat(nullptr, photo("b.jpg"), 0x101);
        mgr.slotSetDelFlat(nullptr, photo("unknown.jpg"), 1);
        QCOMPARE(m_fake.calls().filter("SetFileState"), QStringList{"SetFileState:2:1"});
    }
};

QTEST_MAIN(TestDupPicsMgrMarks)
#include "tst_CDupPicsMgrMarks.moc"
