#include <QtTest>

#include "CDupPicsMgr.h"
#include "CFileDelImplement.h"
#include "COperateTaskQueue.h"
#include "ManagerTestSupport.h"

#include <QAbstractItemModel>
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
class TestManagerRequests : public QObject, CManagerFixture
{
    Q_OBJECT
private:
    // One group: the first photo and iCopies more joining it.
    QJsonArray oneGroup(int iCopies)
    {
        QJsonArray events{found(1, "p0.jpg")};
        for (int i = 1; i <= iCopies; ++i)
            events.append(found(i + 1, QStringLiteral("p%1.jpg").arg(i), 1));
        return events;
    }

private slots:
    void initTestCase() { QVERIFY(m_fake.isValid()); }
    void init() { newFolder(true); }

    // Delete pressed on one photo and then on the next: both go. Only the same photo asked
    // for again (a double click) is dropped.
    void testSecondSingleDeleteOfAnotherPhoto()
    {
        setScript(oneGroup(2));
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
        setScript({found(1, "a.jpg"), found(2, "b.jpg", 1), found(3, "c.jpg"), found(4, "d.jpg", 3),
                   QJsonObject{{"op", "barrier"}}, QJsonObject{{"op", "merge"}, {"a", 3}, {"b", 1}}});
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
        setScript(oneGroup(kPhotos - 1));
        CDupPicsMgr mgr;
        QSignalSpy totalSpy(&mgr, &CDupPicsMgr::sigRefreshTotalInfo);
        QVERIFY(scanAndWait(mgr));
        QVERIFY2(totalSpy.count() < kPhotos / 4, qPrintable(QString::number(totalSpy.count())));
        QVERIFY(totalSpy.count() >= 1);
    }
};

QTEST_MAIN(TestManagerRequests)
#include "tst_ManagerRequests.moc"
