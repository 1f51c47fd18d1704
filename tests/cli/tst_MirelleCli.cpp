#include <QtTest>

#include "CDecisionStore.h"
#include "CFileStamp.h"

#include <QDirIterator>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <sys/time.h>
#include <unistd.h>

namespace {

using Groups = QSet<QStringList>;

// A scene nothing else resembles: shapes placed by a seeded generator.
QImage drawScene(quint32 iSeed, const QSize &size)
{
    QRandomGenerator random(iSeed);
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor::fromHsv(random.bounded(360), 120, 200));
    QPainter painter(&image);
    for (int i = 0; i < 14; ++i) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor::fromHsv(random.bounded(360), 200, random.bounded(60, 255)));
        const QRect rect(random.bounded(size.width()), random.bounded(size.height()), random.bounded(60, 400),
                         random.bounded(60, 300));
        if (i % 2)
            painter.drawEllipse(rect);
        else
            painter.drawRect(rect);
    }
    return image;
}

} // namespace

class TestMirelleCli : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_home;
    std::unique_ptr<QTemporaryDir> m_pPhotos;
    Groups m_expected;

    QProcessEnvironment environment() const
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home.path());
        env.insert(QStringLiteral("XDG_DATA_HOME"), m_home.filePath(QStringLiteral("data")));
        env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home.filePath(QStringLiteral("cache")));
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("MIRELLE_SCAN_ENGINE"), QStringLiteral(SCAN_ENGINE_PATH));
        return env;
    }

    struct CRun
    {
        int iExit = -1;
        QByteArray arrOut;
        QByteArray arrErr;
    };

    CRun runCli(const QStringList &listArgs, const QByteArray &arrInput = QByteArray())
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(MIRELLE_CLI_PATH), listArgs);
        process.write(arrInput);
        process.closeWriteChannel();
        if (!process.waitForFinished(60000))
            process.kill();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    QString photo(const QString &strName) const { return m_pPhotos->filePath(strName); }

    // Distinct scenes a.jpg .. f.jpg; a, b and c have copies an engine must find.
    void makePhotos()
    {
        m_pPhotos = std::make_unique<QTemporaryDir>(m_home.filePath(QStringLiteral("photosXXXXXX")));
        const QStringList listScenes{"a", "b", "c", "d", "e", "f"};
        for (int i = 0; i < listScenes.size(); ++i)
            QVERIFY(drawScene(quint32(i + 1) * 7919U, QSize(1200, 900)).save(photo(listScenes[i] + ".jpg"), "JPEG", 92));
        QVERIFY(QFile::copy(photo("a.jpg"), photo("a-copy.jpg")));
        const QImage b(photo("b.jpg"));
        QVERIFY(b.scaled(600, 450, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(photo("b-half.png")));
        QVERIFY(QImage(photo("c.jpg")).save(photo("c-q50.jpg"), "JPEG", 50));
        // A photo that cannot be decoded is left out, not fatal.
        QFile broken(photo("broken.jpg"));
        QVERIFY(broken.open(QIODevice::WriteOnly));
        broken.write(QByteArray("\xff\xd8\xff\xe0") + QByteArray(200000, 'x'));
        broken.close();
        m_expected = {{"a-copy.jpg", "a.jpg"}, {"b-half.png", "b.jpg"}, {"c-q50.jpg", "c.jpg"}};
    }

    static Groups groupsOf(const QJsonObject &root)
    {
        Groups groups;
        for (const QJsonValue &group : root.value("groups").toArray()) {
            QStringList listNames;
            for (const QJsonValue &photo : group.toObject().value("photos").toArray())
                listNames << QFileInfo(photo.toObject().value("path").toString()).fileName();
            listNames.sort();
            groups.insert(listNames);
        }
        return groups;
    }

    QJsonObject scan(const QString &strOutput, const QStringList &listExtra = {})
    {
        const CRun run = runCli(QStringList{"scan", "--all-images", "--min-size", "0", "-o", strOutput}
                                + listExtra + QStringList{m_pPhotos->path()});
        [&] { QCOMPARE(run.iExit, 0); }();
        QFile file(strOutput);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QJsonDocument::fromJson(file.readAll()).object();
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        QVERIFY(QFileInfo::exists(QStringLiteral(MIRELLE_CLI_PATH)));
    }

    void init() { makePhotos(); }

    void testScanFindsTheKnownGroups()
    {
        const QJsonObject root = scan(m_home.filePath("scan.json"));
        QCOMPARE(root.value("format").toString(), QStringLiteral("mirelle-scan"));
        QCOMPARE(groupsOf(root), m_expected);
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

    // Damaged files do not stop the scan; the summary names what was passed over.
    void testScanNamesWhatItPassedOver()
    {
        QFile damaged(photo("damaged.jpg"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write(QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(4000, 'x'));
        damaged.close();
        QFile notes(photo("notes.png"));
        QVERIFY(notes.open(QIODevice::WriteOnly));
        notes.write(QByteArray("not a picture\n").repeated(300));
        notes.close();
        const CRun run = runCli({"scan", "--all-images", "--min-size", "0", "-o", m_home.filePath("scan.json"),
                                 m_pPhotos->path()});
        QCOMPARE(run.iExit, 0);
        // With the fixture's broken.jpg, three.
        QVERIFY2(run.arrErr.contains("passed over: 3 files damaged or not pictures\n"), run.arrErr.constData());
        QFile file(m_home.filePath("scan.json"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(groupsOf(QJsonDocument::fromJson(file.readAll()).object()), m_expected);
    }

    void testCsvHasOneRowPerPhoto()
    {
        const QString csv = m_home.filePath("scan.csv");
        QCOMPARE(runCli({"scan", "-q", "--all-images", "--min-size", "0", "--format", "csv", "-o", csv, m_pPhotos->path()}).iExit, 0);
        QFile file(csv);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = file.readAll().trimmed().split('\n');
        QVERIFY(lines.first().startsWith("group,path,size"));
        QCOMPARE(lines.size(), 1 + 6);
    }

    void testRegroupAtAnotherThreshold()
    {
        const QString saved = m_home.filePath("scan.json");
        QVERIFY(scan(saved, {"--rotations"}).value("options").toObject().value("rotations").toBool());
        const QString strict = m_home.filePath("strict.json");
        const CRun run = runCli({"regroup", "-q", saved, "--threshold", "100", "-o", strict});
        QCOMPARE(run.iExit, 0);
        QFile file(strict);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QJsonObject root = QJsonDocument::fromJson(file.readAll()).object();
        QCOMPARE(root.value("options").toObject().value("threshold").toInt(), 100);
        QVERIFY(root.value("options").toObject().value("rotations").toBool());
        QVERIFY(groupsOf(root).contains(QStringList{"a-copy.jpg", "a.jpg"}));
        QVERIFY(!groupsOf(root).contains(QStringList{"c-q50.jpg", "c.jpg"}));
    }

    void testBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("no command") << QStringList{} << 2;
        QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2;
        QTest::newRow("unknown flag") << QStringList{"scan", "--frob", "PHOTOS"} << 2;
        QTest::newRow("no folder") << QStringList{"scan"} << 2;
        QTest::newRow("threshold off the steps") << QStringList{"scan", "--threshold", "72", "PHOTOS"} << 2;
        QTest::newRow("bad size") << QStringList{"scan", "--min-size", "lots", "PHOTOS"} << 2;
        QTest::newRow("bad format") << QStringList{"scan", "--format", "xml", "PHOTOS"} << 2;
        QTest::newRow("missing folder") << QStringList{"scan", "HOME/nowhere"} << 3;
        QTest::newRow("file as folder") << QStringList{"scan", "PHOTOS/a.jpg"} << 3;
        QTest::newRow("output folder missing") << QStringList{"scan", "-o", "HOME/no/such/out.json", "PHOTOS"} << 4;
        QTest::newRow("output is a folder") << QStringList{"scan", "-o", "HOME", "PHOTOS"} << 4;
        QTest::newRow("regroup needs threshold") << QStringList{"regroup", "HOME/old.json"} << 2;
        QTest::newRow("saved scan of another version") << QStringList{"regroup", "HOME/old.json", "--threshold", "80"} << 3;
        QTest::newRow("not a saved scan") << QStringList{"apply", "PHOTOS/a.jpg"} << 3;
        QTest::newRow("missing saved scan") << QStringList{"apply", "HOME/none.json"} << 3;
        QTest::newRow("two methods") << QStringList{"apply", "HOME/old.json", "--permanent", "--move-to", "HOME/x"} << 2;
    }

    void testBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFile old(m_home.filePath("old.json"));
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(R"({"format":"mirelle-scan","version":0,"groups":[]})");
        old.close();
        for (QString &arg : args) {
            arg.replace("PHOTOS", m_pPhotos->path());
            arg.replace("HOME", m_home.path());
        }
        const CRun run = runCli(args);
        QCOMPARE(run.iExit, exitCode);
        QVERIFY2(run.arrErr.startsWith("mirelle-cli: error: "), run.arrErr.constData());
        QVERIFY(run.arrOut.isEmpty());
    }

    void testHelpExplainsEveryCommand()
    {
        const CRun run = runCli({"--help"});
        QCOMPARE(run.iExit, 0);
        for (const char *word : {"scan", "regroup", "apply", "decisions", "forget-all", "--rotations", "undo", "--request",
                                 "--dry-run", "--permanent", "--move-to", "Exit codes"})
            QVERIFY2(run.arrOut.contains(word), word);
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
        QTest::newRow("forget without a file") << "none" << QStringList{"decisions", "forget", "1"} << 3 << 0 << -1;
        QTest::newRow("forget needs a number") << "two" << QStringList{"decisions", "forget", "x"} << 2 << 0 << 2;
        QTest::newRow("forget-all") << "two" << QStringList{"decisions", "forget-all"} << 0 << 0 << 0;
        QTest::newRow("no action") << "two" << QStringList{"decisions"} << 2 << 0 << 2;
        QTest::newRow("extra argument") << "two" << QStringList{"decisions", "list", "more"} << 2 << 0 << 2;
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
        const QString path = m_home.filePath("data/mirelle/decisions.sqlite");
        QFile::remove(path);
        QDir().mkpath(QFileInfo(path).absolutePath());
        qint64 iFirst = 0;
        if (file == "two") {
            CDecisionStore store;
            QVERIFY(store.open(path));
            CDecision one;
            one.iKeyA = 1;
            one.iKeyB = 2;
            one.strPathA = "/p/one.jpg";
            one.strPathB = "/p/two.jpg";
            CDecision other = one;
            other.iKeyB = 3;
            QVERIFY(store.addPairs({one, other}));
            iFirst = store.decisions().first().iId;
        } else if (file == "junk") {
            QFile junk(path);
            QVERIFY(junk.open(QIODevice::WriteOnly));
            junk.write(QByteArray(2048, 'j'));
        }
        const QByteArray before = file == "junk" ? QByteArray(2048, 'j') : QByteArray();
        args.replaceInStrings("FIRST", QString::number(iFirst));

        // When the command runs
        const CRun run = runCli(args);

        // Then it answers with its code, lists one line per decision and keeps the rest
        QCOMPARE(run.iExit, exitCode);
        if (exitCode != 0)
            QVERIFY2(run.arrErr.startsWith("mirelle-cli: error: "), run.arrErr.constData());
        const QList<QByteArray> lines = run.arrOut.trimmed().isEmpty() ? QList<QByteArray>() : run.arrOut.trimmed().split('\n');
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

    void testApply_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<bool>("removes");
        QTest::addColumn<QString>("landsIn");
        QTest::newRow("dry run") << QStringList{"--dry-run"} << false << QString();
        QTest::newRow("trash") << QStringList{} << true << QStringLiteral("data/Trash/files");
        QTest::newRow("move") << QStringList{"--move-to", "HOME/moved"} << true << QStringLiteral("moved");
        QTest::newRow("permanent") << QStringList{"--permanent"} << true << QString();
    }

    void testApply()
    {
        QFETCH(QStringList, flags);
        QFETCH(bool, removes);
        QFETCH(QString, landsIn);
        const QString saved = m_home.filePath("scan.json");
        const QJsonObject root = scan(saved);
        QStringList listProposed;
        for (const QJsonValue &group : root.value("groups").toArray())
            for (const QJsonValue &photo : group.toObject().value("photos").toArray())
                if (photo.toObject().value("proposed").toBool())
                    listProposed << photo.toObject().value("path").toString();
        QCOMPARE(listProposed.size(), 3);
        QDir(m_home.filePath("data")).removeRecursively();
        QDir(m_home.filePath("moved")).removeRecursively();

        for (QString &flag : flags)
            flag.replace("HOME", m_home.path());
        const CRun run = runCli(QStringList{"apply", saved} + flags);
        QCOMPARE(run.iExit, 0);
        for (const QString &path : qAsConst(listProposed)) {
            QCOMPARE(QFileInfo::exists(path), !removes);
            if (!landsIn.isEmpty()) {
                // Moves keep the source folders below the target folder.
                QDirIterator it(m_home.filePath(landsIn), {QFileInfo(path).fileName()}, QDir::Files,
                                QDirIterator::Subdirectories);
                QVERIFY2(it.hasNext(), qPrintable(path));
            }
        }
        QCOMPARE(run.arrOut.count('\n'), 3);
        // One copy of every group stays.
        QCOMPARE(QDir(m_pPhotos->path()).entryList(QDir::Files).size(), removes ? 7 : 10);
    }

    void testApplyNamesAFileWhoseNameIsNotUtf8()
    {
        // Two copies; the older one, proposed, has a Latin-1 name.
        QTemporaryDir dir;
        QVERIFY(drawScene(77, QSize(800, 600)).save(dir.filePath("new.jpg"), "JPG", 92));
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

        const QString saved = m_home.filePath("raw.json");
        const int iScan = runCli({"scan", "-q", "--all-images", "--min-size", "0", "-o", saved, dir.path()}).iExit;
        const CRun run = runCli({"apply", "--dry-run", saved});
        ::unlink(raw.constData());
        QCOMPARE(iScan, 0);
        QCOMPARE(run.arrOut, "would trash\t" + raw + "\n");
    }

    void testApplyLeavesAloneWhatItMustNotTouch_data()
    {
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<bool>("changeBoth");
        QTest::addColumn<int>("copiesLeft");
        QTest::addColumn<QByteArray>("reason");
        QTest::newRow("every copy listed, and a stranger")
            << QStringList{"a.jpg", "a-copy.jpg", "d.jpg"} << false << 1 << QByteArray("not in the saved scan");
        QTest::newRow("both copies changed since the scan")
            << QStringList{} << true << 2 << QByteArray("changed since the scan");
    }
    void testApplyLeavesAloneWhatItMustNotTouch()
    {
        QFETCH(QStringList, listed);
        QFETCH(bool, changeBoth);
        QFETCH(int, copiesLeft);
        QFETCH(QByteArray, reason);
        const QString saved = m_home.filePath("scan.json");
        scan(saved);
        for (const char *name : {"a.jpg", "a-copy.jpg"}) {
            QFile file(photo(name));
            if (changeBoth) {
                QVERIFY(file.open(QIODevice::Append));
                file.write("changed");
            }
        }
        QByteArray list;
        for (const QString &name : qAsConst(listed))
            list += photo(name).toUtf8() + '\n';
        const CRun run = listed.isEmpty() ? runCli({"apply", saved}) : runCli({"apply", saved, "--list", "-"}, list);
        QCOMPARE(run.iExit, 0);
        QCOMPARE(QFileInfo::exists(photo("a.jpg")) + QFileInfo::exists(photo("a-copy.jpg")), copiesLeft);
        QVERIFY(QFileInfo::exists(photo("d.jpg")));
        QVERIFY2(run.arrErr.contains(reason), run.arrErr.constData());
    }

    // A saved scan written here: pairs of small files, the second of each proposed.
    QString writePairs(int iPairs, QStringList *pProposed)
    {
        QJsonArray groups;
        for (int i = 0; i < iPairs; ++i) {
            QJsonArray photos;
            for (const QString &name : {QStringLiteral("p%1.jpg").arg(i), QStringLiteral("p%1-copy.jpg").arg(i)}) {
                QFile file(photo(name));
                [&] { QVERIFY(file.open(QIODevice::WriteOnly)); }();
                file.write(QByteArray::number(i));
                file.close();
                const bool bProposed = name.endsWith("-copy.jpg");
                if (bProposed)
                    *pProposed << photo(name);
                // What a scan records, so that apply finds each file unchanged.
                const CFileStamp stamp = dp::platform::fileStamp(photo(name));
                quint64 iKey = 0;
                QString strError;
                [&] { QVERIFY(dp::platform::contentKeyOf(photo(name), &iKey, &strError)); }();
                photos.append(QJsonObject{{"path", photo(name)}, {"size", double(file.size())}, {"proposed", bProposed},
                                          {"fileTime", QString::number(stamp.i64ModTime)},
                                          {"contentKey", QString::number(iKey, 16)}});
            }
            groups.append(QJsonObject{{"photos", photos}});
        }
        const QString saved = m_home.filePath("pairs.json");
        QFile file(saved);
        [&] { QVERIFY(file.open(QIODevice::WriteOnly)); }();
        file.write(QJsonDocument(QJsonObject{{"format", "mirelle-scan"}, {"version", 2},
                                             {"sources", QJsonArray{QFileInfo(photo("x")).absolutePath()}},
                                             {"groups", groups}})
                       .toJson());
        return saved;
    }

    void testUndoBringsBackTheLastApply_data()
    {
        QTest::addColumn<QStringList>("flags");
        QTest::addColumn<QByteArray>("method");
        QTest::newRow("trash") << QStringList{} << QByteArray("trashed");
        QTest::newRow("move") << QStringList{"--move-to", "HOME/moved"} << QByteArray("moved");
    }

    void testUndoBringsBackTheLastApply()
    {
        QFETCH(QStringList, flags);
        QFETCH(QByteArray, method);
        QDir(m_home.filePath("data")).removeRecursively();
        QStringList listProposed;
        const QString saved = writePairs(3, &listProposed);
        for (QString &flag : flags)
            flag.replace("HOME", m_home.path());
        const CRun apply = runCli(QStringList{"apply", saved} + flags);
        QCOMPARE(apply.iExit, 0);
        QVERIFY2(apply.arrErr.contains("mirelle-cli undo --request 1"), apply.arrErr.constData());

        const CRun list = runCli({"undo", "--list"});
        QCOMPARE(list.iExit, 0);
        QCOMPARE(list.arrOut.count('\n'), 1);
        QVERIFY2(list.arrOut.startsWith("1\t") && list.arrOut.contains("\t" + method + "\t3 files\t3 to undo"),
                 list.arrOut.constData());

        const CRun undo = runCli({"undo"});
        QCOMPARE(undo.iExit, 0);
        QCOMPARE(undo.arrOut.count("restored\t"), 3);
        for (const QString &path : qAsConst(listProposed))
            QVERIFY2(QFileInfo::exists(path), qPrintable(path));

        const CRun again = runCli({"undo"});
        QCOMPARE(again.iExit, 3);
        QVERIFY(again.arrErr.contains("no removal left to undo"));
    }

    void testUndoRefusesATakenPlace()
    {
        QDir(m_home.filePath("data")).removeRecursively();
        QStringList listProposed;
        const QString saved = writePairs(2, &listProposed);
        QCOMPARE(runCli({"apply", "-q", saved}).iExit, 0);
        QFile taken(listProposed.first());
        QVERIFY(taken.open(QIODevice::WriteOnly));
        taken.write("new");
        taken.close();
        const CRun undo = runCli({"undo", "--request", "1"});
        QCOMPARE(undo.iExit, 1);
        QCOMPARE(undo.arrOut, "restored\t" + listProposed.last().toUtf8() + "\n");
        QVERIFY2(undo.arrErr.contains("not restored: " + listProposed.first().toUtf8()), undo.arrErr.constData());
        QCOMPARE(QFile(listProposed.first()).size(), qint64(3));
    }

    void testUndoBadInput_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("journal");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("request not a number") << QStringList{"undo", "--request", "last"} << QByteArray() << 2;
        QTest::newRow("list and request") << QStringList{"undo", "--list", "--request", "1"} << QByteArray() << 2;
        QTest::newRow("stray argument") << QStringList{"undo", "now"} << QByteArray() << 2;
        QTest::newRow("no journal") << QStringList{"undo"} << QByteArray() << 3;
        QTest::newRow("no journal, list") << QStringList{"undo", "--list"} << QByteArray() << 3;
        QTest::newRow("corrupt journal") << QStringList{"undo"} << QByteArray(5000, 'j') << 3;
        QTest::newRow("corrupt journal, list") << QStringList{"undo", "--list"} << QByteArray(5000, 'j') << 3;
    }

    void testUndoBadInput()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, journal);
        QFETCH(int, exitCode);
        QDir(m_home.filePath("data")).removeRecursively();
        const QString journalPath = m_home.filePath("data/mirelle/removals.sqlite");
        if (!journal.isEmpty()) {
            QVERIFY(QDir().mkpath(QFileInfo(journalPath).path()));
            QFile file(journalPath);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(journal);
        }
        const CRun run = runCli(args);
        QCOMPARE(run.iExit, exitCode);
        QVERIFY2(run.arrErr.startsWith("mirelle-cli: error: "), run.arrErr.constData());
        QVERIFY(run.arrOut.isEmpty());
        if (!journal.isEmpty()) {
            QFile file(journalPath);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), journal);
        }
    }

    void testInterruptedScanWritesNothing()
    {
        // Enough photos that the scan is still running when the interrupt comes.
        for (int i = 0; i < 40; ++i)
            QVERIFY(drawScene(quint32(i + 100), QSize(1600, 1200)).save(photo(QStringLiteral("many%1.png").arg(i))));
        const QString output = m_home.filePath("interrupted.json");
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(MIRELLE_CLI_PATH),
                      {"scan", "--all-images", "--min-size", "0", "-o", output, m_pPhotos->path()});
        QVERIFY(process.waitForStarted());
        QByteArray arrErr;
        QTRY_VERIFY_WITH_TIMEOUT((arrErr += process.readAllStandardError()).contains("progress:"), 20000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 130);
        QVERIFY(!QFileInfo::exists(output));
        QCOMPARE(QDir(m_home.path()).entryList({"interrupted*"}, QDir::Files), QStringList());
    }
    void testInterruptedApplyLosesNoFile()
    {
        constexpr int kPairs = 1500;
        QStringList listProposed;
        const QString saved = writePairs(kPairs, &listProposed);
        QDir(m_home.filePath("data")).removeRecursively();

        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(QStringLiteral(MIRELLE_CLI_PATH), {"apply", saved});
        QVERIFY(process.waitForStarted());
        QByteArray arrOut;
        QTRY_VERIFY_WITH_TIMEOUT((arrOut += process.readAllStandardOutput()).contains("trashed"), 20000);
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(30000));
        arrOut += process.readAllStandardOutput();
        QCOMPARE(process.exitCode(), 130);

        // Every file is in exactly one place, and the output names each one that moved.
        const QString trash = m_home.filePath("data/Trash/files/");
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

QTEST_MAIN(TestMirelleCli)
#include "tst_MirelleCli.moc"
