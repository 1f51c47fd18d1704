#include <QtTest>

#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "COperateTaskQueue.h"
#include "CTestPhotos.h"
#include "ManagerTestSupport.h"

// The manager on the real engine: a removal undone comes back through a regroup.
class TestRegroupRealEngine : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_home;
    QTemporaryDir m_photos;

    // The groups as sets of names: a regroup may give them other keys.
    static QSet<QStringList> groupsOf(const CDupPicsMgr &mgr)
    {
        QSet<QStringList> groups;
        for (QStringList names : groupNames(mgr)) {
            names.sort();
            groups.insert(names);
        }
        return groups;
    }
    static quint64 groupOf(const CDupPicsMgr &mgr, const QString &strName)
    {
        const QMap<quint64, QStringList> map = groupNames(mgr);
        for (auto it = map.begin(); it != map.end(); ++it) {
            if (it->contains(strName))
                return it.key();
        }
        return 0;
    }

    void setThreshold(CDupPicsMgr &mgr, int iSlot)
    {
        QVariantMap options = mgr.getOption();
        options["photoType"] = QVariantMap{{"value", 1}};
        options["minSize"] = QVariantMap{{"value", 1}, {"index", 0}, {"unit", "KB"}};
        options["similarSlot"] = QVariantMap{{"value", iSlot}};
        mgr.setOption(options);
    }

private slots:
    void initTestCase()
    {
        qputenv("XDG_CACHE_HOME", m_home.filePath("cache").toUtf8());
        qputenv("XDG_CONFIG_HOME", m_home.filePath("config").toUtf8());
        // The trash and the removal journal live below HOME in test mode.
        qputenv("HOME", m_home.path().toUtf8());
        qputenv("XDG_DATA_HOME", m_home.filePath("data").toUtf8());
        QStandardPaths::setTestModeEnabled(true);
        qputenv("MIRELLE_DECISIONS_DB", m_home.filePath("decisions.sqlite").toUtf8());
        // Copies that stay alike at 70% but not all at 90%: resized, recompressed, brightened.
        for (int i = 0; i < 3; ++i) {
            const QImage scene = testphotos::scene(5 + 9 * i, QSize(640, 480));
            const QString stem = m_photos.filePath(QStringLiteral("p%1").arg(i));
            QVERIFY(testphotos::save(scene, stem + ".jpg", "JPG", 92));
            QVERIFY(testphotos::save(testphotos::resized(scene, 0.5), stem + "-half.jpg", "JPG", 90));
            QVERIFY(testphotos::save(scene, stem + "-q30.jpg", "JPG", 30));
            QVERIFY(testphotos::save(testphotos::brighter(scene), stem + "-bright.jpg", "JPG", 90));
        }
    }

    // Undoing a removal made from these results shows the photo in its group again,
    // without a scan.
    void testUndoneRemovalComesBack()
    {
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        setThreshold(mgr, 6);
        mgr.addDropPaths({QUrl::fromLocalFile(m_photos.path())});
        QSignalSpy completeSpy(&mgr, &CDupPicsMgr::sigScanComplete);
        mgr.collectDupFiles();
        QVERIFY(completeSpy.wait(60000));
        const QSet<QStringList> before = groupsOf(mgr);
        const QString strHalf = m_photos.filePath(QStringLiteral("p1-half.jpg"));
        const quint64 group = groupOf(mgr, QStringLiteral("p1-half.jpg"));
        QVERIFY(group != 0);

        mgr.taskQueue()->pushSetPhotoMark(group, strHalf, true);
        QTRY_COMPARE(mgr.checkedItemCount(), 1);
        QSignalSpy resultSpy(&mgr, &CDupPicsMgr::sigDelDupImgsResult);
        mgr.doDelDupPicByMark(CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_VERIFY_WITH_TIMEOUT(!resultSpy.isEmpty(), 20000);
        QCOMPARE(resultSpy.first().at(1).toStringList(), QStringList{strHalf});
        QVERIFY(!QFile::exists(strHalf));
        QCOMPARE(groupOf(mgr, QStringLiteral("p1-half.jpg")), quint64(0));

        QSignalSpy regroupSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.deletionService()->undoRemoval();
        QVERIFY(regroupSpy.wait(60000));
        QVERIFY(QFile::exists(strHalf));
        QCOMPARE(groupsOf(mgr), before);
    }
};

QTEST_MAIN(TestRegroupRealEngine)
#include "tst_RegroupRealEngine.moc"
