#include <QtTest>

#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "COperateTaskQueue.h"
#include "FakeEngineControl.h"
#include "ManagerTestSupport.h"

#include <QAbstractItemModel>
#include <QJsonArray>
#include <QJsonObject>
#include <QLoggingCategory>

namespace {

// The model code's "error!" trace lines, which say a model was asked for something the
// results do not have.
QStringList s_listTraceErrors;
QtMessageHandler s_previousHandler = nullptr;

void catchTrace(QtMsgType type, const QMessageLogContext &context, const QString &strMessage)
{
    if (strMessage.startsWith(QLatin1String("error!")))
        s_listTraceErrors << strMessage;
    s_previousHandler(type, context, strMessage);
}

} // namespace

// How the manager takes requests from the screens and how often it reports back.
class TestManagerRequests : public QObject
{
    Q_OBJECT
private:
    CManagerTestEnvironment m_env;
    CFakeEngineControl m_fake;
    std::unique_ptr<QTemporaryDir> m_pDir;

    QString photo(const QString &name) { return writePhoto(m_pDir->filePath(name)); }
    // One group: the first photo and iCopies more joining it.
    QJsonObject event(const char *szOp, int id, int group, const QString &name)
    {
        return {{"op", szOp}, {"id", id}, {"group", group}, {"path", photo(name)}, {"size", 100}, {"sim", 90}};
    }
    QJsonArray oneGroup(int iCopies)
    {
        QJsonArray events{QJsonObject{{"op", "create"}, {"id", 1}, {"path", photo("p0.jpg")}, {"size", 100}}};
        for (int i = 1; i <= iCopies; ++i)
            events.append(QJsonObject{{"op", "join"}, {"id", i + 1}, {"group", 1},
                                      {"path", photo(QStringLiteral("p%1.jpg").arg(i))}, {"size", 100}, {"sim", 90}});
        return events;
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
        // The trash and the removal journal live below HOME in test mode.
        qputenv("HOME", m_pDir->path().toUtf8());
        qputenv("XDG_DATA_HOME", m_pDir->filePath("xdg-data").toUtf8());
    }

    // Delete pressed on one photo and then on the next: both go. Only the same photo asked
    // for again (a double click) is dropped.
    void testSecondSingleDeleteOfAnotherPhoto()
    {
        m_fake.setScript(fakeScript(oneGroup(2)));
        CDupPicsMgr mgr;
        mgr.deletionService()->setOpenWindowPause(false);
        QVERIFY(scanAndWait(mgr));
        QSignalSpy singleSpy(&mgr, &CDupPicsMgr::sigDelSingleDupImgResult);
        const QVariant group = QVariant::fromValue<quint64>(1);
        mgr.doDelSingleDupPic(group, photo("p1.jpg"), CDupPicsMgr::DupPicType_MoveToTrash);
        mgr.doDelSingleDupPic(group, photo("p1.jpg"), CDupPicsMgr::DupPicType_MoveToTrash);
        mgr.doDelSingleDupPic(group, photo("p2.jpg"), CDupPicsMgr::DupPicType_MoveToTrash);
        QTRY_COMPARE_WITH_TIMEOUT(singleSpy.count(), 2, 10000);
        QCOMPARE(singleSpy.at(0), (QList<QVariant>{m_pDir->filePath("p1.jpg"), true}));
        QCOMPARE(singleSpy.at(1), (QList<QVariant>{m_pDir->filePath("p2.jpg"), true}));
        QVERIFY(mgr.taskQueue()->waitDrained(5000));
        QCOMPARE(singleSpy.count(), 2);
    }

    // Groups merged during a scan, and a second scan over the first one's rows: the group
    // list never asks the results for a group they no longer have.
    void testMergedAndRescannedGroupsAreNotAskedFor()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("mirelle.trace.debug=true"));
        s_previousHandler = qInstallMessageHandler(catchTrace);
        s_listTraceErrors.clear();
        m_fake.setScript(fakeScript({event("create", 1, 0, "a.jpg"), event("join", 2, 1, "b.jpg"),
                                     event("create", 3, 0, "c.jpg"), event("join", 4, 3, "d.jpg"),
                                     QJsonObject{{"op", "barrier"}}, QJsonObject{{"op", "merge"}, {"a", 3}, {"b", 1}}}));
        CDupPicsMgr mgr;
        auto *pGroups = qobject_cast<QAbstractItemModel *>(mgr.model());
        QVERIFY(pGroups);
        QVERIFY(scanAndWait(mgr));
        QTRY_COMPARE(pGroups->rowCount(), 1);
        QVERIFY(scanAndWait(mgr));
        QTRY_COMPARE(pGroups->rowCount(), 1);
        QCoreApplication::sendPostedEvents();
        qInstallMessageHandler(s_previousHandler);
        QLoggingCategory::setFilterRules(QString());
        QVERIFY2(s_listTraceErrors.isEmpty(), qPrintable(s_listTraceErrors.join('\n')));
    }

    // A scan reports every photo; the screens hear that the totals changed a few times a
    // second, not once per photo.
    void testTotalInfoIsCoalesced()
    {
        constexpr int kPhotos = 200;
        m_fake.setScript(fakeScript(oneGroup(kPhotos - 1)));
        CDupPicsMgr mgr;
        QSignalSpy totalSpy(&mgr, &CDupPicsMgr::sigRefreshTotalInfo);
        QVERIFY(scanAndWait(mgr));
        QVERIFY2(totalSpy.count() < kPhotos / 4, qPrintable(QString::number(totalSpy.count())));
        QVERIFY(totalSpy.count() >= 1);
    }
};

QTEST_MAIN(TestManagerRequests)
#include "tst_ManagerRequests.moc"
