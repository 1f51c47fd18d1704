#include "CliTestSupport.h"

#include <QDirIterator>

#include <csignal>
#include <cstdio>
#include <sys/time.h>
#include <unistd.h>

// "mirelle-cli apply" and "undo": what goes and where it lands. Changes made to the disk
// between a scan and its apply are hostile_apply.sh's.
class TestMirelleCliApply : public QObject
{
    Q_OBJECT
private:
    CCliSandbox m_box;

private slots:
    void initTestCase() { QVERIFY(m_box.home.isValid()); }
    void init()
    {
        m_box.makePhotos();
        QDir(m_box.inHome("data")).removeRecursively();
    }

    void testApply_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<bool>("removes");
        QTest::addColumn<QString>("landsIn");
        // Every proposed photo edited after the scan: the check skips them all.
        QTest::addColumn<bool>("changed");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("dry run") << QStringList{"--dry-run"} << false << QString() << false << 0;
        QTest::newRow("trash") << QStringList{} << true << QStringLiteral("data/Trash/files") << false << 0;
        QTest::newRow("move") << QStringList{"--move-to", "HOME/moved"} << true << QStringLiteral("moved") << false << 0;
        QTest::newRow("permanent") << QStringList{"--permanent"} << true << QString() << false << 0;
        QTest::newRow("all skipped") << QStringList{} << false << QString() << true << 6;
    }

    void testApply()
    {
        QFETCH(QStringList, flags);
        QFETCH(bool, removes);
        QFETCH(QString, landsIn);
        QFETCH(bool, changed);
        QFETCH(int, exitCode);
        const QString saved = m_box.inHome("scan.json");
        QStringList listProposed;
        for (const QJsonValue &group : m_box.scan(saved).value("groups").toArray())
            for (const QJsonValue &photo : group.toObject().value("photos").toArray())
                if (photo.toObject().value("proposed").toBool())
                    listProposed << photo.toObject().value("path").toString();
        QCOMPARE(listProposed.size(), 3);
        QDir(m_box.inHome("data")).removeRecursively();
        QDir(m_box.inHome("moved")).removeRecursively();
        for (const QString &path : qAsConst(listProposed)) {
            QFile file(path);
            QVERIFY(!changed || (file.open(QIODevice::Append) && file.write("edited") == 6));
        }

        const CCliRun run = m_box.run(QStringList{"apply", saved} + flags.replaceInStrings("HOME", m_box.home.path()));
        QCOMPARE(run.iExit, exitCode);
        for (const QString &path : qAsConst(listProposed)) {
            QCOMPARE(QFileInfo::exists(path), !removes);
            if (!landsIn.isEmpty()) {
                // Moves keep the source folders below the target folder.
                QDirIterator it(m_box.inHome(landsIn), {QFileInfo(path).fileName()}, QDir::Files, QDirIterator::Subdirectories);
                QVERIFY2(it.hasNext(), qPrintable(path));
            }
        }
        QCOMPARE(run.arrOut.count('\n'), changed ? 0 : 3);
        // One copy of every group stays.
        QCOMPARE(QDir(m_box.pPhotos->path()).entryList(QDir::Files).size(), removes ? 7 : 10);
    }

    void testApplyNamesAFileWhoseNameIsNotUtf8()
    {
        // Two copies; the older one, proposed, has a Latin-1 name.
        QTemporaryDir dir;
        QVERIFY(testphotos::save(testphotos::scene(77, QSize(800, 600)), dir.filePath("new.jpg"), "JPG", 92));
        QFile copy(dir.filePath("new.jpg"));
        QVERIFY(copy.open(QIODevice::ReadOnly));
        const QByteArray bytes = copy.readAll();
        const QByteArray raw = QFile::encodeName(dir.path()) + "/\xe9t\xe9.jpg";
        FILE *pFile = std::fopen(raw.constData(), "wb");
        QVERIFY(pFile);
        QCOMPARE(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), pFile), size_t(bytes.size()));
        std::fclose(pFile);
        const struct timeval old[2] = {{1500000000, 0}, {1500000000, 0}};
        QCOMPARE(::utimes(raw.constData(), old), 0);

        const QString saved = m_box.inHome("raw.json");
        const int iScan = m_box.run({"scan", "-q", "--all-images", "--min-size", "0", "-o", saved, dir.path()}).iExit;
        const CCliRun run = m_box.run({"apply", "--dry-run", saved});
        ::unlink(raw.constData());
        QCOMPARE(iScan, 0);
        QCOMPARE(run.arrOut, "would trash\t" + raw + "\n");
    }

    void testUndoBringsBackTheLastApply_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<bool>("placeTaken");
        QTest::newRow("trash") << QStringList{} << QByteArray("trashed") << false;
        QTest::newRow("move") << QStringList{"--move-to", "HOME/moved"} << QByteArray("moved") << false;
        QTest::newRow("trash, a new file in one place") << QStringList{} << QByteArray("trashed") << true;
    }

    void testUndoBringsBackTheLastApply()
    {
        QFETCH(QStringList, flags);
        QFETCH(QByteArray, method);
        QFETCH(bool, placeTaken);
        QStringList listProposed;
        const QString saved = m_box.writePairs(3, &listProposed);
        const CCliRun apply = m_box.run(QStringList{"apply", saved} + flags.replaceInStrings("HOME", m_box.home.path()));
        QCOMPARE(apply.iExit, 0);
        QVERIFY2(apply.arrErr.contains("mirelle-cli undo --request 1"), apply.arrErr.constData());

        const CCliRun list = m_box.run({"undo", "--list"});
        QCOMPARE(list.iExit, 0);
        QCOMPARE(list.arrOut.count('\n'), 1);
        QVERIFY2(list.arrOut.startsWith("1\t") && list.arrOut.contains("\t" + method + "\t3 files\t3 to undo"),
                 list.arrOut.constData());

        // A file saved meanwhile under a removed name is never overwritten.
        const QString taken = listProposed.first();
        if (placeTaken)
            QVERIFY(testphotos::writeBytes(taken, "new"));
        const CCliRun undo = m_box.run({"undo", "--request", "1"});
        QCOMPARE(undo.iExit, placeTaken ? 1 : 0);
        QCOMPARE(undo.arrOut.count("restored\t"), placeTaken ? 2 : 3);
        for (const QString &path : qAsConst(listProposed))
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));
        if (placeTaken) {
            QVERIFY2(undo.arrErr.contains("not restored: " + taken.toUtf8()), undo.arrErr.constData());
            QCOMPARE(QFile(taken).size(), qint64(3));
            return;
        }
        const CCliRun again = m_box.run({"undo"});
        QCOMPARE(again.iExit, 3);
        QVERIFY(again.arrErr.contains("no removal left to undo"));
    }

    void testUndoBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("request not a number") << QStringList{"undo", "--request", "last"} << QByteArray() << 2;
        QTest::newRow("no journal") << QStringList{"undo"} << QByteArray() << 3;
        QTest::newRow("corrupt journal") << QStringList{"undo"} << QByteArray(5000, 'j') << 3;
        QTest::newRow("corrupt journal, list") << QStringList{"undo", "--list"} << QByteArray(5000, 'j') << 3;
    }

    void testUndoBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, journal);
        QFETCH(int, exitCode);
        const QString journalPath = m_box.inHome("data/mirelle/removals.sqlite");
        if (!journal.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(journalPath).path()));
            QVERIFY(testphotos::writeBytes(journalPath, journal));
        }
        const CCliRun run = m_box.run(args);
        QCOMPARE(run.iExit, exitCode);
        QVERIFY2(run.arrErr.startsWith("mirelle-cli: error: "), run.arrErr.constData());
        QVERIFY(run.arrOut.isEmpty());
        QFile file(journalPath);
        QCOMPARE(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray(), journal);
    }

    void testInterruptedApplyLosesNoFile()
    {
        constexpr int kPairs = 1500;
        QStringList listProposed;
        const QString saved = m_box.writePairs(kPairs, &listProposed);
        QProcess process;
        process.setProcessEnvironment(cliEnvironment(m_box.home.path()));
        process.start(QStringLiteral(MIRELLE_CLI_PATH), {"apply", saved});
        QVERIFY(process.waitForStarted());
        QByteArray arrOut;
        QTRY_VERIFY_WITH_TIMEOUT((arrOut += process.readAllStandardOutput()).contains("trashed"), 60000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(60000));
        arrOut += process.readAllStandardOutput();
        QCOMPARE(process.exitCode(), 130);

        // Every file is in exactly one place, and the output names each one that moved.
        const QString trash = m_box.inHome("data/Trash/files/");
        int iTrashed = 0;
        for (const QString &path : qAsConst(listProposed)) {
            const bool bInTrash = QFileInfo::exists(trash + QFileInfo(path).fileName());
            QVERIFY2(QFileInfo::exists(path) != bInTrash, qPrintable(path));
            iTrashed += bInTrash ? 1 : 0;
        }
        QCOMPARE(arrOut.count("trashed\t"), iTrashed);
        QVERIFY(iTrashed < kPairs);
    }
};

QTEST_MAIN(TestMirelleCliApply)
#include "tst_MirelleCliApply.moc"
