#include <QtTest>

#include "CDecisionStore.h"
#include "CLinuxVolumes.h"
#include "CPlatform.h"
#include "CScanEngineLoader.h"
#include "CScanSession.h"
#include "FakeEngineControl.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <memory>

Q_DECLARE_METATYPE(CScanSession::EnResult)

// The scan session on the fake engine: how a scan ends, and what it files on the way.
class TestScanSession : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;
    CFakeEngineControl m_fake;
    std::unique_ptr<CLinuxVolumes> m_pVolumes;

    QString photo(const QString &strName)
    {
        const QString path = m_dir.filePath(strName);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write("not read by the fake engine");
        return path;
    }
    QJsonObject create(quint64 iId, const QString &strName)
    {
        return {{"op", "create"}, {"id", double(iId)}, {"path", photo(strName)}, {"size", 1000}};
    }
    QJsonObject join(quint64 iId, quint64 iGroup, const QString &strName)
    {
        return {{"op", "join"}, {"id", double(iId)}, {"group", double(iGroup)}, {"path", photo(strName)},
                {"sim", 90}, {"size", 2000}};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(m_fake.isValid());
        CScanEngineLoader::setLibraryOverride(QStringLiteral(FAKE_ENGINE_PATH));
        CDecisionStore::setStorePathOverride(m_dir.filePath(QStringLiteral("decisions.sqlite")));
        // Every scanned folder on the one volume the fake engine reports, whatever the machine mounts.
        QFile mounts(m_dir.filePath(QStringLiteral("mounts")));
        QVERIFY(mounts.open(QIODevice::WriteOnly));
        mounts.write("/dev/fake / ext4 rw 0 0\n");
        mounts.close();
        m_pVolumes = std::make_unique<CLinuxVolumes>(mounts.fileName());
        dp::platform::setVolumes(m_pVolumes.get());
    }
    void cleanupTestCase() { dp::platform::setVolumes(nullptr); }

    void testScanEnds_data()
    {
        QTest::addColumn<QJsonArray>("events");
        QTest::addColumn<int>("iEndScan");
        QTest::addColumn<bool>("bStop");
        QTest::addColumn<CScanSession::EnResult>("expected");
        QTest::addColumn<int>("iPhotosInOneGroup");
        // The command line's switches reach the engine; a lost one silently changes what a scan compares.
        QTest::addColumn<bool>("bExact");
        QTest::addColumn<bool>("bRotations");

        const QJsonArray pair{create(1, "a.jpg"), join(2, 1, "b.jpg")};
        QTest::newRow("done, the rule proposes")
            << pair << 0 << false << CScanSession::EnResult::Done << 2 << true << false;
        QTest::newRow("merged groups are one")
            << QJsonArray{create(1, "a.jpg"), join(2, 1, "b.jpg"), create(3, "c.jpg"), join(4, 3, "d.jpg"),
                          QJsonObject{{"op", "merge"}, {"a", 3}, {"b", 1}}}
            << 0 << false << CScanSession::EnResult::Done << 4 << false << true;
        // Without a signal for it, a failed scan would leave its caller waiting.
        QTest::newRow("engine failure") << pair << 7 << false << CScanSession::EnResult::Failed << 0 << false << false;
        QTest::newRow("stopped mid-scan")
            << QJsonArray{create(1, "a.jpg"), QJsonObject{{"op", "waitStop"}}, join(2, 1, "b.jpg")} << 0 << true
            << CScanSession::EnResult::Stopped << 0 << true << true;
    }
    void testScanEnds()
    {
        QFETCH(QJsonArray, events);
        QFETCH(int, iEndScan);
        QFETCH(bool, bStop);
        QFETCH(CScanSession::EnResult, expected);
        QFETCH(int, iPhotosInOneGroup);
        QFETCH(bool, bExact);
        QFETCH(bool, bRotations);
        m_fake.setScript(QJsonDocument(QJsonObject{{"volumes", QJsonArray{"/"}}, {"endScan", iEndScan}, {"events", events}})
                             .toJson(QJsonDocument::Compact));

        CScanSession session;
        QVERIFY(session.hasEngine());
        QSignalSpy finished(&session, &CScanSession::sigFinished);
        CScanSettings settings;
        settings.listSources = QStringList{m_dir.path()};
        settings.bExactFeatures = bExact;
        settings.bRotations = bRotations;
        QVERIFY(session.start(settings));
        if (bStop) {
            // The first photo is filed before the engine waits for the stop.
            QTRY_VERIFY(session.store().fileCount() > 0);
            session.stop();
        }
        QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 10000);
        QCOMPARE(finished.first().first().value<CScanSession::EnResult>(), expected);
        const QStringList calls = m_fake.calls();
        QVERIFY(calls.contains(QStringLiteral("SetExactFeatures:%1").arg(int(bExact))));
        QVERIFY(calls.contains(QStringLiteral("SetRotationMatching:%1").arg(int(bRotations))));
        if (expected == CScanSession::EnResult::Failed)
            QCOMPARE(session.engineResult(), iEndScan);
        if (expected != CScanSession::EnResult::Done)
            return;
        const CScanReport report = session.report();
        QCOMPARE(report.listGroups.size(), 1);
        QCOMPARE(report.listGroups.first().listPhotos.size(), iPhotosInOneGroup);
        QCOMPARE(report.settings.listSources, settings.listSources);
        QVERIFY(report.proposedCount() >= 1);
        QVERIFY(report.proposedCount() < iPhotosInOneGroup);
    }
};

QTEST_GUILESS_MAIN(TestScanSession)
#include "tst_CScanSession.moc"
