#include "CDecisionStore.h"
#include "CliTestSupport.h"

#include <csignal>

// "mirelle-cli scan", "regroup" and "decisions" with the real engine on painted photos.
class TestMirelleCliScan : public QObject
{
    Q_OBJECT
private:
    CCliSandbox m_box;

private slots:
    void initTestCase() { QVERIFY(m_box.home.isValid()); }
    void init() { m_box.makePhotos(); }

    // Damaged files do not stop the scan; the summary names what was passed over.
    void testScanFindsTheKnownGroups()
    {
        QVERIFY(testphotos::writeBytes(m_box.photo("damaged.jpg"), QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(4000, 'x')));
        QVERIFY(testphotos::writeBytes(m_box.photo("notes.png"), QByteArray("not a picture\n").repeated(300)));
        const QString saved = m_box.inHome("scan.json");
        const CCliRun run = m_box.run({"scan", "--all-images", "--min-size", "0", "-o", saved, m_box.pPhotos->path()});
        QCOMPARE(run.iExit, 0);
        // With the fixture's broken.jpg, three.
        QVERIFY2(run.arrErr.contains("passed over: 3 files damaged or not pictures\n"), run.arrErr.constData());
        const QJsonObject root = CCliSandbox::readJson(saved);
        QCOMPARE(root.value("format").toString(), QStringLiteral("mirelle-scan"));
        QCOMPARE(CCliSandbox::groupsOf(root), m_box.expected);
        for (const QJsonValue &group : root.value("groups").toArray()) {
            int iKept = 0;
            for (const QJsonValue &value : group.toObject().value("photos").toArray()) {
                const QJsonObject photo = value.toObject();
                QVERIFY(photo.value("width").toInt() > 0);
                QCOMPARE(qint64(photo.value("size").toDouble()), QFileInfo(photo.value("path").toString()).size());
                iKept += photo.value("proposed").toBool() ? 0 : 1;
                QVERIFY(photo.value("burst").isBool());
                // Every proposal says which rule made it.
                QCOMPARE(photo.value("reason").toString().isEmpty(), !photo.value("proposed").toBool());
            }
            QCOMPARE(iKept, 1);
        }
    }

    void testRegroupAtAnotherThreshold()
    {
        const QString saved = m_box.inHome("scan.json");
        QVERIFY(m_box.scan(saved, {"--rotations"}).value("options").toObject().value("rotations").toBool());
        const QString strict = m_box.inHome("strict.json");
        QCOMPARE(m_box.run({"regroup", "-q", saved, "--threshold", "100", "-o", strict}).iExit, 0);
        const QJsonObject root = CCliSandbox::readJson(strict);
        QCOMPARE(root.value("options").toObject().value("threshold").toInt(), 100);
        QVERIFY(root.value("options").toObject().value("rotations").toBool());
        QVERIFY(CCliSandbox::groupsOf(root).contains(QStringList{"a-copy.jpg", "a.jpg"}));
        QVERIFY(!CCliSandbox::groupsOf(root).contains(QStringList{"c-q50.jpg", "c.jpg"}));
    }

    void testBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
        QTest::newRow("unknown flag") << QStringList{"scan", "--frob", "PHOTOS"} << 2;
        QTest::newRow("no folder") << QStringList{"scan"} << 2;
        QTest::newRow("threshold off the steps") << QStringList{"scan", "--threshold", "72", "PHOTOS"} << 2;
        QTest::newRow("missing folder") << QStringList{"scan", "HOME/nowhere"} << 3;
        QTest::newRow("output folder missing") << QStringList{"scan", "-o", "HOME/no/such/out.json", "PHOTOS"} << 4;
        QTest::newRow("regroup needs threshold") << QStringList{"regroup", "HOME/old.json"} << 2;
        QTest::newRow("saved scan of another version") << QStringList{"regroup", "HOME/old.json", "--threshold", "80"} << 3;
        QTest::newRow("not a saved scan") << QStringList{"apply", "PHOTOS/a.jpg"} << 3;
        QTest::newRow("two methods") << QStringList{"apply", "HOME/old.json", "--permanent", "--move-to", "HOME/x"} << 2;
    }

    void testBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QVERIFY(testphotos::writeBytes(m_box.inHome("old.json"), R"({"format":"mirelle-scan","version":0,"groups":[]})"));
        args.replaceInStrings("PHOTOS", m_box.pPhotos->path());
        args.replaceInStrings("HOME", m_box.home.path());
        const CCliRun run = m_box.run(args);
        QCOMPARE(run.iExit, exitCode);
        QVERIFY2(run.arrErr.startsWith("mirelle-cli: error: "), run.arrErr.constData());
        QVERIFY(run.arrOut.isEmpty());
    }

    void testDecisions_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<int>("listed");
        QTest::addColumn<int>("left");
        QTest::newRow("list without a file") << "none" << QStringList{"decisions", "list"} << 0 << 0 << -1;
        QTest::newRow("list") << "two" << QStringList{"decisions", "list"} << 0 << 2 << 2;
        QTest::newRow("forget one") << "two" << QStringList{"decisions", "forget", "FIRST"} << 0 << 0 << 1;
        QTest::newRow("forget unknown") << "two" << QStringList{"decisions", "forget", "999"} << 3 << 0 << 2;
        QTest::newRow("forget-all") << "two" << QStringList{"decisions", "forget-all"} << 0 << 0 << 0;
        QTest::newRow("damaged file") << "junk" << QStringList{"decisions", "forget-all"} << 3 << 0 << -1;
    }

    void testDecisions()
    {
        QFETCH(QString, file);
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(int, listed);
        QFETCH(int, left);
        // Given the decisions file in the data folder the program uses
        const QString path = m_box.inHome("data/mirelle/decisions.sqlite");
        QFile::remove(path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        qint64 iFirst = 0;
        if (file == "two") {
            CDecisionStore store;
            QVERIFY(store.open(path));
            QVERIFY(store.addPairs({{0, 1, 2, "/p/one.jpg", "/p/two.jpg", {}}, {0, 1, 3, "/p/one.jpg", "/p/two.jpg", {}}}));
            iFirst = store.decisions().first().iId;
        }
        const QByteArray before = file == "junk" ? QByteArray(2048, 'j') : QByteArray();
        if (file == "junk")
            QVERIFY(testphotos::writeBytes(path, before));
        args.replaceInStrings("FIRST", QString::number(iFirst));

        // When the command runs
        const CCliRun run = m_box.run(args);

        // Then it answers with its code, lists one line per decision and keeps the rest
        QCOMPARE(run.iExit, exitCode);
        if (exitCode != 0)
            QVERIFY2(run.arrErr.startsWith("mirelle-cli: error: "), run.arrErr.constData());
        const QByteArray out = run.arrOut.trimmed();
        const QList<QByteArray> lines = out.isEmpty() ? QList<QByteArray>() : out.split('\n');
        QCOMPARE(lines.size(), listed);
        if (listed > 0) {
            QCOMPARE(lines.first().split('\t').size(), 4);
            QVERIFY(lines.first().startsWith(QByteArray::number(iFirst) + '\t'));
            QVERIFY(lines.first().endsWith("\t/p/one.jpg\t/p/two.jpg"));
        }
        if (left < 0) {
            // No file is made by looking, and a damaged one is left as it was
            QFile after(path);
            QCOMPARE(after.exists(), file == "junk");
            if (after.open(QIODevice::ReadOnly))
                QCOMPARE(after.readAll(), before);
        } else {
            CDecisionStore store;
            QVERIFY(store.open(path));
            QCOMPARE(store.count(), left);
        }
    }

    // What a scan still running meets: an interrupt, or its folder swapped for an empty one
    // (as an unmount leaves its mount point).
    void testDisturbedScan_data()
    {
        QTest::addColumn<bool>("interrupt");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("stderrHas");
        QTest::newRow("interrupted") << true << 130 << QByteArray("interrupted; nothing was written");
        QTest::newRow("its folder swapped") << false << 5 << QByteArray("went away during the scan");
    }

    void testDisturbedScan()
    {
        QFETCH(bool, interrupt);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, stderrHas);
        // Enough photos that the scan is still running when the disturbance comes.
        for (int i = 0; i < 40; ++i)
            QVERIFY(testphotos::save(testphotos::scene(i + 100, QSize(1600, 1200)), m_box.photo(QStringLiteral("many%1.png").arg(i))));
        const QString output = m_box.inHome("disturbed.json");
        const QString photos = m_box.pPhotos->path();
        QProcess process;
        process.setProcessEnvironment(cliEnvironment(m_box.home.path()));
        process.start(QStringLiteral(MIRELLE_CLI_PATH), {"scan", "--all-images", "--min-size", "0", "-o", output, photos});
        QVERIFY(process.waitForStarted());
        QByteArray arrErr;
        QTRY_VERIFY_WITH_TIMEOUT((arrErr += process.readAllStandardError()).contains("progress:"), 60000);
        if (interrupt)
            ::kill(pid_t(process.processId()), SIGINT);
        else
            QVERIFY(QDir().rename(photos, photos + "-gone") && QDir().mkdir(photos));
        QVERIFY(process.waitForFinished(60000));
        arrErr += process.readAllStandardError();
        QVERIFY2(process.exitCode() == exitCode && arrErr.contains(stderrHas), arrErr.constData());
        QVERIFY(!QFileInfo::exists(output));
    }
};

QTEST_MAIN(TestMirelleCliScan)
#include "tst_MirelleCliScan.moc"
