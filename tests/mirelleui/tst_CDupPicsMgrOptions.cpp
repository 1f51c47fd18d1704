#include <QtTest>

#include "CCollectionThread.h"
#include "ManagerTestSupport.h"

class TestDupPicsMgrOptions : public QObject, CManagerFixture
{
    Q_OBJECT
private:
    QStringList filterCalls() const
    {
        QStringList list;
        for (const QString &call : m_fake.calls()) {
            if (call.startsWith("Set") && !call.startsWith("SetSink"))
                list << call;
            else if (call.startsWith("AddSuffix") || call.startsWith("Finalize"))
                list << call;
        }
        return list;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_fake.isValid());
        m_fake.setScript(R"({"volumes": ["/"]})");
    }

    void testDefaultsAndThreshold_data()
    {
        QTest::addColumn<int>("slot");
        QTest::addColumn<int>("threshold");
        QTest::newRow("0 is identical only") << 0 << 100;
        QTest::newRow("default 6 is 70%") << 6 << 70;
        QTest::newRow("20 is everything") << 20 << 0;
        // A stored value out of range must not wrap the engine's byte.
        QTest::newRow("negative slot") << -3 << 100;
        QTest::newRow("beyond zero percent") << 25 << 0;
    }

    void testDefaultsAndThreshold()
    {
        QFETCH(int, slot);
        QFETCH(int, threshold);
        CDupPicsMgr mgr;
        QCOMPARE(mgr.getSimilarSlot(), 70);
        QVariantMap options = mgr.getOption();
        QVariantMap similar = options.value("similarSlot").toMap();
        similar["value"] = slot;
        options["similarSlot"] = similar;
        mgr.setOption(options);
        QCOMPARE(mgr.getSimilarSlot(), threshold);
    }

    void testOptionsReachTheFilter_data()
    {
        QTest::addColumn<int>("photoType");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("head");
        QTest::newRow("defaults: 100 KB, originals")
            << 0 << 0 << QStringList{"SetOriginalOnly:1", "SetFollowLinks:0", "SetMinSize:102400"};
        QTest::newRow("100 MB, all images")
            << 1 << 1 << QStringList{"SetOriginalOnly:0", "SetFollowLinks:0", "SetMinSize:104857600"};
    }

    void testOptionsReachTheFilter()
    {
        QFETCH(int, photoType);
        QFETCH(int, index);
        QFETCH(QStringList, head);
        // Suffix files in the working folder would replace the built-in list.
        QTemporaryDir dir;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        CDupPicsMgr mgr;
        QVariantMap options = CDupPicsMgr::defaultOptions();
        QVariantMap minSize = options["minSize"].toMap();
        minSize["index"] = index;
        options["minSize"] = minSize;
        options["photoType"] = QVariantMap{{"value", photoType}};
        mgr.setOption(options);
        m_fake.setScript(R"({"volumes": ["/"]})");
        mgr.applyOptionsToFilter(mgr.engine()->CreateFilter());
        QDir::setCurrent(oldCwd);
        const QStringList calls = filterCalls();
        QCOMPARE(calls.mid(0, 3), head);
        // The twelve built-in suffixes, then the list is closed.
        QCOMPARE(calls.filter(QRegularExpression("^AddSuffix:")).size(), 12);
        QCOMPARE(calls.last(), QStringLiteral("Finalize:1"));
    }

    // What the manager writes is what it reads at the next start; a damaged document is ignored.
    void testSettingDocumentRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("places");
        QTest::newRow("everything")
            << QByteArray("<Setting><ShowDeleteWin>0</ShowDeleteWin><photoType>1</photoType><minSize>5</minSize>"
                          "<index>1</index><unit>MB</unit><similarSlot>2</similarSlot><thumbSize>200</thumbSize></Setting>")
            << QStringList{"minSize", "photoType", "similarSlot", "thumbSize"} << QStringList{};
        QTest::newRow("places gone since are dropped")
            << QByteArray("<Setting><Places><Place>/</Place><Place>/no/such/place</Place><Place>/</Place></Places></Setting>")
            << QStringList{} << QStringList{"/"};
        QTest::newRow("junk") << QByteArray("\x01\x02 not xml") << QStringList{} << QStringList{};
    }

    void testSettingDocumentRoundTrip()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, keys);
        QFETCH(QStringList, places);
        CDupPicsMgr mgr;
        mgr.getShowSetting(document);
        QCOMPARE(mgr.getOption().keys(), keys);
        QCOMPARE(mgr.sources(), places);
        CDupPicsMgr other;
        other.getShowSetting(mgr.buildSettingDocument());
        QCOMPARE(other.getOption(), mgr.getOption());
        QCOMPARE(other.getShowDeleteWin(), mgr.getShowDeleteWin());
        QCOMPARE(other.sources(), mgr.sources());
    }

    void testNestedSourcesAreScannedOnce_data()
    {
        QTest::addColumn<QStringList>("sources");
        QTest::addColumn<QStringList>("outermost");
        QTest::newRow("folder and sub-folder") << QStringList{"/p/a/b", "/p/a"} << QStringList{"/p/a"};
        QTest::newRow("siblings with a common prefix") << QStringList{"/p/ab", "/p/a"} << QStringList{"/p/a", "/p/ab"};
        QTest::newRow("deeply nested") << QStringList{"/p/a/b/c", "/p/x", "/p/a"} << QStringList{"/p/a", "/p/x"};
        QTest::newRow("a whole volume") << QStringList{"/home/me", "/"} << QStringList{"/"};
        QTest::newRow("a prefix is not a parent") << QStringList{"/p/a", "/p/ab/c"} << QStringList{"/p/a", "/p/ab/c"};
        QTest::newRow("the same name deeper elsewhere") << QStringList{"/p/a", "/x/p/a/c"} << QStringList{"/p/a", "/x/p/a/c"};
    }

    void testNestedSourcesAreScannedOnce()
    {
        QFETCH(QStringList, sources);
        QFETCH(QStringList, outermost);
        QCOMPARE(CCollectionThread::outermostFolders(CCollectionThread::pruneNestedSources(sources)), outermost);
    }

};

QTEST_MAIN(TestDupPicsMgrOptions)
#include "tst_CDupPicsMgrOptions.moc"
