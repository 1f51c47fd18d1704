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
        QSignalSpy writeSpy(&mgr, &CDupPicsMgr::sigWriteOption);
        mgr.setOption(options);
        QCOMPARE(writeSpy.count(), 1);
        QCOMPARE(mgr.getSimilarSlot(), threshold);
    }

    void testSettingDocumentRoundTrip_data()
    {
        QTest::addColumn<QByteArray>("document");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<bool>("showDelete");
        QTest::addColumn<QStringList>("places");
        QTest::newRow("everything")
            << QByteArray("<Setting><ShowDeleteWin>0</ShowDeleteWin><ShowGoToPageWin>1</ShowGoToPageWin>"
                          "<photoType>1</photoType><minSize>5</minSize><index>1</index><unit>MB</unit>"
                          "<similarSlot>2</similarSlot><thumbSize>200</thumbSize></Setting>")
            << QStringList{"minSize", "photoType", "similarSlot", "thumbSize"} << false << QStringList{};
        QTest::newRow("minSize without unit is left out")
            << QByteArray("<Setting><minSize>5</minSize><index>1</index><similarSlot>3</similarSlot></Setting>")
            << QStringList{"similarSlot"} << true << QStringList{};
        QTest::newRow("places gone since are dropped")
            << QByteArray("<Setting><Places><Place>/</Place><Place>/no/such/place</Place><Place>/</Place></Places></Setting>")
            << QStringList{} << true << QStringList{"/"};
        QTest::newRow("empty document") << QByteArray("<Setting/>") << QStringList{} << true << QStringList{};
        QTest::newRow("junk") << QByteArray("\x01\x02 not xml") << QStringList{} << true << QStringList{};
    }

    void testSettingDocumentRoundTrip()
    {
        QFETCH(QByteArray, document);
        QFETCH(QStringList, keys);
        QFETCH(bool, showDelete);
        QFETCH(QStringList, places);
        CDupPicsMgr mgr;
        mgr.getShowSetting(document);
        QCOMPARE(mgr.getOption().keys(), keys);
        QCOMPARE(mgr.getShowDeleteWin(), showDelete);
        QCOMPARE(mgr.sources(), places);

        // What the manager writes reads back to the same options.
        CDupPicsMgr other;
        other.getShowSetting(mgr.buildSettingDocument());
        QCOMPARE(other.getOption(), mgr.getOption());
        QCOMPARE(other.getShowDeleteWin(), mgr.getShowDeleteWin());
        QCOMPARE(other.sources(), mgr.sources());
    }

    // The suffix files sit in the working folder: in.txt replaces the built-in list when
    // suffixs.bin is there too.
    void testOptionsReachTheFilter_data()
    {
        QTest::addColumn<int>("photoType");
        QTest::addColumn<int>("index");
        // Null: neither file; "-": suffixs.bin alone.
        QTest::addColumn<QByteArray>("inTxt");
        QTest::addColumn<QStringList>("head");
        // Empty: the twelve built-in suffixes, when the list is finalized.
        QTest::addColumn<QStringList>("suffixes");
        QTest::addColumn<bool>("finalized");
        const QStringList defaults{"SetOriginalOnly:1", "SetFollowLinks:0", "SetMinSize:102400"};
        QTest::newRow("defaults: 100 KB, originals") << 0 << 0 << QByteArray() << defaults << QStringList{} << true;
        QTest::newRow("100 MB, all images") << 1 << 1 << QByteArray()
                                            << QStringList{"SetOriginalOnly:0", "SetFollowLinks:0", "SetMinSize:104857600"}
                                            << QStringList{} << true;
        QTest::newRow("replacement list") << 0 << 0 << QByteArray("jpg||png") << defaults << QStringList{"jpg", "png"} << true;
        QTest::newRow("empty in.txt keeps built-in list") << 0 << 0 << QByteArray("") << defaults << QStringList{} << true;
        QTest::newRow("no in.txt: no suffix, no final call") << 0 << 0 << QByteArray("-") << defaults << QStringList{} << false;
    }

    void testOptionsReachTheFilter()
    {
        QFETCH(int, photoType);
        QFETCH(int, index);
        QFETCH(QByteArray, inTxt);
        QFETCH(QStringList, head);
        QFETCH(QStringList, suffixes);
        QFETCH(bool, finalized);
        QTemporaryDir dir;
        const QString oldCwd = QDir::currentPath();
        QDir::setCurrent(dir.path());
        if (!inTxt.isNull())
            QFile(dir.filePath("suffixs.bin")).open(QIODevice::WriteOnly);
        if (!inTxt.isNull() && inTxt != "-") {
            QFile file(dir.filePath("in.txt"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(inTxt);
        }
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
        const QStringList added = calls.filter(QRegularExpression("^AddSuffix:")).replaceInStrings("AddSuffix:", "");
        if (suffixes.isEmpty() && finalized)
            QCOMPARE(added.size(), 12);
        else
            QCOMPARE(added, suffixes);
        QCOMPARE(calls.last() == QLatin1String("Finalize:1"), finalized);
    }

    void testSourceListRules()
    {
        QTemporaryDir dir;
        QDir(dir.path()).mkpath("a/b");
        QFile(dir.filePath("file.jpg")).open(QIODevice::WriteOnly);
        CDupPicsMgr mgr;
        QSignalSpy changedSpy(&mgr, &CDupPicsMgr::sigSourcesChanged);
        QSignalSpy skippedSpy(&mgr, &CDupPicsMgr::sigSourcesSkipped);
        const QString a = dir.filePath("a");
        mgr.addDropPaths({QUrl::fromLocalFile(a), QUrl::fromLocalFile(a), QUrl::fromLocalFile(dir.filePath("file.jpg")),
                          QUrl(QStringLiteral("file://server/share")), QUrl::fromLocalFile(dir.filePath("missing")),
                          QUrl::fromLocalFile(dir.filePath("missing"))});
        QCOMPARE(mgr.sources(), QStringList{a});
        // Everything that was not added is named once, in one message
        QCOMPARE(skippedSpy.count(), 1);
        QCOMPARE(skippedSpy.first().first().toStringList(),
                 (QStringList{dir.filePath("file.jpg"), QStringLiteral("//server/share"), dir.filePath("missing")}));
        mgr.addDropPaths({QUrl::fromLocalFile(dir.filePath("a/b"))});
        QCOMPARE(skippedSpy.count(), 1);
        mgr.removeCollectPath(a);
        QCOMPARE(mgr.sources(), QStringList{dir.filePath("a/b")});
        mgr.addWholeComputer();
        mgr.addWholeComputer();
        QCOMPARE(mgr.sources().count("/"), 1);
        mgr.removeCollectPath();
        QVERIFY(mgr.sources().isEmpty());
        QVERIFY(changedSpy.count() >= 5);
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
