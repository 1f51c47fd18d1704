#include <QtTest>

#include "CDecisionStore.h"
#include "ManagerTestSupport.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

CDecision pair(quint64 a, quint64 b, const QString &strA = QStringLiteral("/a"), const QString &strB = QStringLiteral("/b"))
{
    return {0, a, b, strA, strB, {}};
}

} // namespace

class TestDupPicsMgrDecisions : public QObject, CManagerFixture
{
    Q_OBJECT
private:
    QString dbPath() const { return m_pDir->filePath(QStringLiteral("data/mirelle/decisions.sqlite")); }
    // Content keys 101, 102, ...: the engine hands them back in the separated pairs.
    QJsonObject keyed(quint64 id, const QString &name, quint64 group = 0)
    {
        return found(id, name, group, {{"key", double(100 + id)}});
    }
    // One group of three in the scan and in every regroup.
    void setThreeOfAKind()
    {
        const QJsonArray events{keyed(1, "a.jpg"), keyed(2, "b.jpg", 1), keyed(3, "c.jpg", 1)};
        setScript(events, events);
    }
    QStringList callsStartingWith(const QString &strPrefix) const
    {
        QStringList list;
        for (const QString &call : m_fake.calls()) {
            if (call.startsWith(strPrefix))
                list << call;
        }
        return list;
    }

private slots:
    void initTestCase() { QVERIFY(m_fake.isValid()); }

    void init()
    {
        newFolder();
        CDupPicsMgr::setDecisionStorePathOverride(dbPath());
        m_fake.setExtrasOff(false);
    }

    void cleanup() { CDupPicsMgr::setDecisionStorePathOverride(QString()); }

    void testStoreKeepsPairsOnceAcrossReopen()
    {
        // Given a new store and pairs given either way round, twice, and unusable ones
        {
            CDecisionStore store;
            QVERIFY(store.open(dbPath()));
            QVERIFY(store.addPairs({pair(7, 3, "/seven", "/three"), pair(3, 7), pair(0, 5), pair(9, 9)}));
            QVERIFY(store.addPairs({pair(0xFFFFFFFFFFFFFFF0ULL, 4)}));
            QCOMPARE(store.count(), 2);
        }
        // When it is opened again
        CDecisionStore store;
        QVERIFY(store.open(dbPath()));
        // Then the pairs are there, lower key first, with the names that went with them,
        // and keys with the top bit set survive SQLite's signed integers
        const QList<CDecision> list = store.decisions();
        QCOMPARE(list.size(), 2);
        QCOMPARE(list[0].strPathA, QStringLiteral("/three"));
        QCOMPARE(list[1].iKeyB, 0xFFFFFFFFFFFFFFF0ULL);
        QCOMPARE(store.flatPairs(), (QVector<uint64_t>{3, 7, 4, 0xFFFFFFFFFFFFFFF0ULL}));
    }

    void testUnusableFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not a database") << QByteArray("junk") << "damaged";
        QTest::newRow("newer version") << QByteArray("version") << "another version";
        QTest::newRow("foreign database") << QByteArray("foreign") << "another version";
    }

    void testUnusableFileIsLeftAlone()
    {
        QFETCH(QByteArray, kind);
        QFETCH(QString, reason);
        // Given a decisions file this version cannot use
        QDir().mkpath(QFileInfo(dbPath()).absolutePath());
        if (kind == "junk") {
            writePhoto(dbPath(), 4096);
        } else {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "writer");
            db.setDatabaseName(dbPath());
            QVERIFY(db.open());
            QSqlQuery query(db);
            QVERIFY(query.exec(kind == "version" ? "PRAGMA user_version = 7" : "CREATE TABLE other (x INTEGER)"));
            QVERIFY(query.exec("CREATE TABLE IF NOT EXISTS decisions (id INTEGER)"));
            query.clear();
            db.close();
        }
        QSqlDatabase::removeDatabase("writer");
        const QByteArray before = fileBytes(dbPath());

        // When the manager opens it
        setThreeOfAKind();
        CDupPicsMgr mgr;
        QVERIFY(mgr.hasEngineExtras());
        // Then decisions are off with a message that names the file and why
        QVERIFY(!mgr.decisionsEnabled());
        QVERIFY2(mgr.decisionsError().contains(reason), qPrintable(mgr.decisionsError()));
        QVERIFY(mgr.decisionsError().contains(QDir::toNativeSeparators(dbPath())));
        // And nothing can be decided, but scanning goes on without pairs
        QVERIFY(scanAndWait(mgr));
        QVERIFY(!mgr.separateGroup(QVariant::fromValue<quint64>(1)));
        QVERIFY(!mgr.forgetAllDecisions());
        QCOMPARE(callsStartingWith("SetSeparatedPairs"), QStringList{"SetSeparatedPairs:"});
        // And the file is as it was
        QCOMPARE(fileBytes(dbPath()), before);
    }

    void testPairDecisionSplitsTheGroupAndIsRemembered()
    {
        // Given a scanned group of three
        setThreeOfAKind();
        {
            CDupPicsMgr mgr;
            QVERIFY(scanAndWait(mgr));
            QCOMPARE(groupNames(mgr), (QMap<quint64, QStringList>{{1, {"a.jpg", "b.jpg", "c.jpg"}}}));
            QCOMPARE(mgr.decisionCount(), 0);

            // When the user says a and b are not duplicates
            QSignalSpy decisionsSpy(&mgr, &CDupPicsMgr::sigDecisionsChanged);
            QSignalSpy regroupSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
            QVERIFY(mgr.separatePair(QVariant::fromValue<quint64>(1), photo("a.jpg"), photo("b.jpg")));
            QCOMPARE(decisionsSpy.count(), 1);
            // Then the regroup hands the content keys to the engine and b leaves the group
            QVERIFY(regroupSpy.wait(10000));
            QCOMPARE(callsStartingWith("SetSeparatedPairs"),
                     (QStringList{"SetSeparatedPairs:", "SetSeparatedPairs:101-102"}));
            QTRY_COMPARE(groupNames(mgr), (QMap<quint64, QStringList>{{1, {"a.jpg", "c.jpg"}}}));
            const QVariantList list = mgr.decisionList();
            QCOMPARE(list.size(), 1);
            QCOMPARE(list[0].toMap().value("pathA").toString(), photo("a.jpg"));
            QCOMPARE(list[0].toMap().value("pathB").toString(), photo("b.jpg"));
        }
        // And a later run passes it before its scan
        setThreeOfAKind();
        CDupPicsMgr mgr;
        QVERIFY(scanAndWait(mgr));
        QCOMPARE(callsStartingWith("SetSeparatedPairs"), QStringList{"SetSeparatedPairs:101-102"});
        QCOMPARE(groupNames(mgr), (QMap<quint64, QStringList>{{1, {"a.jpg", "c.jpg"}}}));

        // And once forgotten, the next regroup joins them again
        QVERIFY(mgr.forgetDecision(mgr.decisionList().value(0).toMap().value("id").toLongLong()));
        QSignalSpy regroupSpy(&mgr, &CDupPicsMgr::sigRefreshComplete);
        mgr.refreshSimilarSlot();
        QVERIFY(regroupSpy.wait(10000));
        QTRY_COMPARE(groupNames(mgr), (QMap<quint64, QStringList>{{1, {"a.jpg", "b.jpg", "c.jpg"}}}));

        // And a whole group said apart is every pair of it, and no group is left
        QVERIFY(mgr.separateGroup(QVariant::fromValue<quint64>(1)));
        QVERIFY(regroupSpy.wait(10000));
        QCOMPARE(mgr.decisionCount(), 3);
        QTRY_COMPARE(groupNames(mgr), (QMap<quint64, QStringList>()));
        // A group that is not there decides nothing
        QVERIFY(!mgr.separateGroup(QVariant::fromValue<quint64>(77)));
        QCOMPARE(mgr.decisionCount(), 3);
    }

    // An engine with additions hears the rotation option before it looks for duplicates, and
    // the option is kept with the others; one without them is asked nothing of them, and
    // nothing is decided or stored.
    void testEngineAdditions_data()
    {
        QTest::addColumn<bool>("extras");
        QTest::addColumn<int>("rotations");
        QTest::newRow("rotations off") << true << 0;
        QTest::newRow("rotations on") << true << 1;
        QTest::newRow("engine without additions") << false << 1;
    }

    void testEngineAdditions()
    {
        QFETCH(bool, extras);
        QFETCH(int, rotations);
        m_fake.setExtrasOff(!extras);
        setThreeOfAKind();
        CDupPicsMgr mgr;
        QCOMPARE(mgr.hasEngineExtras(), extras);
        QVariantMap options = mgr.getOption();
        QVariantMap rotationMatching = options.value("rotationMatching").toMap();
        QCOMPARE(rotationMatching.value("value").toInt(), 0);
        rotationMatching["value"] = rotations;
        options["rotationMatching"] = rotationMatching;
        mgr.setOption(options);
        QVERIFY(scanAndWait(mgr));
        QCOMPARE(groupNames(mgr).value(1).size(), 3);
        const QStringList calls = m_fake.calls();
        if (extras) {
            const int iSet = calls.indexOf(QStringLiteral("SetRotationMatching:%1").arg(rotations));
            QVERIFY(iSet >= 0 && iSet < calls.indexOf(QRegularExpression("^FindDuplicates:.*")));
            CDupPicsMgr other;
            other.getShowSetting(mgr.buildSettingDocument());
            QCOMPARE(other.rotationMatching(), rotations == 1);
            return;
        }
        QVERIFY(!mgr.separatePair(QVariant::fromValue<quint64>(1), photo("a.jpg"), photo("b.jpg")));
        QVERIFY(callsStartingWith("SetSeparatedPairs").isEmpty());
        QVERIFY(callsStartingWith("SetRotationMatching").isEmpty());
        QVERIFY(!QFile::exists(dbPath()));
    }
};

QTEST_GUILESS_MAIN(TestDupPicsMgrDecisions)
#include "tst_CDupPicsMgrDecisions.moc"
