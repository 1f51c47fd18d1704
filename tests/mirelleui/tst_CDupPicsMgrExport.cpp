#include <QtTest>

#include "COperateTaskQueue.h"
#include "CScanReport.h"
#include "ManagerTestSupport.h"

#include <cerrno>
#include <csignal>

#include <sys/resource.h>

class TestDupPicsMgrExport : public QObject, CManagerFixture
{
    Q_OBJECT
private:
    std::unique_ptr<CDupPicsMgr> m_pMgr;

    QString inPhotos(const QString &name) { return QStringLiteral("photos/") + name; }
    QJsonObject sharp(quint64 id, const QString &name, quint64 group = 0, double def = 6)
    {
        return found(id, inPhotos(name), group, {{"def", def}, {"size", group ? 2000 : 1000}});
    }
    QString target(const QString &name) const { return m_pDir->filePath(name); }

    // Starts an export and waits for its one answer.
    QString exportTo(const QString &strTarget, const QString &strFormat)
    {
        QSignalSpy finishedSpy(m_pMgr.get(), &CDupPicsMgr::sigExportFinished);
        m_pMgr->exportResults(strTarget, strFormat);
        if (!finishedSpy.wait(20000))
            return QStringLiteral("no answer");
        // Exactly one answer: a second one would show a second message.
        if (finishedSpy.wait(100))
            return QStringLiteral("%1 answers").arg(finishedSpy.count());
        return finishedSpy.first().first().toString();
    }

private slots:
    void initTestCase() { QVERIFY(m_fake.isValid()); }

    // Given two groups of the fake engine, marked by the rule, and the user's mark on the kept
    // copy of the first group
    void init()
    {
        newFolder();
        setScript({sharp(1, QStringLiteral("Åland/a.jpg"), 0, 5), sharp(2, QStringLiteral("Åland/b.jpg"), 1),
                   sharp(3, QStringLiteral("c, \"d\".jpg")), sharp(4, QStringLiteral("e.jpg"), 3)});
        m_pMgr = std::make_unique<CDupPicsMgr>();
        m_pMgr->addDropPaths({QUrl::fromLocalFile(m_pDir->filePath(QStringLiteral("photos")))});
        QVariantMap options = CDupPicsMgr::defaultOptions();
        options.insert(QStringLiteral("similarSlot"), QVariantMap{{QStringLiteral("value"), 3}});
        m_pMgr->setOption(options);
        QVERIFY(scanAndWait(*m_pMgr));
        m_pMgr->doAllMark();
        QTRY_COMPARE(m_pMgr->checkedItemCount(), 2);
        m_pMgr->taskQueue()->pushSetPhotoMark(1, photo(inPhotos(QStringLiteral("Åland/b.jpg"))), true);
        QTRY_COMPARE(m_pMgr->checkedItemCount(), 3);
    }

    void cleanup() { m_pMgr.reset(); }

    void testJsonHasTheCommandLineSchemaAndTheUsersMarks()
    {
        // When the results are exported as JSON
        QCOMPARE(exportTo(target(QStringLiteral("r.json")), QStringLiteral("json")), QString());

        // Then the command line reads them as a saved scan of the same folders and threshold
        const QByteArray json = fileBytes(target(QStringLiteral("r.json")));
        CScanReport report;
        QString strError;
        QVERIFY2(CScanReport::fromJson(json, &report, &strError), qPrintable(strError));
        QCOMPARE(report.settings.listSources, m_pMgr->sources());
        QCOMPARE(report.settings.iThreshold, 85);
        QCOMPARE(report.listGroups.size(), 2);
        QCOMPARE(report.photoCount(), 4);
        // And "proposed" carries the marks as the user left them, not the rule's; the rule's
        // proposal names its rule, the user's own mark none
        QStringList listProposed;
        for (const CReportGroup &group : qAsConst(report.listGroups))
            for (const CReportPhoto &p : group.listPhotos)
                if (p.bProposed)
                    listProposed << QFileInfo(p.strPath).fileName() + ':' + p.strReason;
        listProposed.sort();
        QCOMPARE(listProposed, (QStringList{"a.jpg:less detail", "b.jpg:", "e.jpg:no better than the kept photo"}));
    }

    void testCsvHasOneRowPerPhotoUnderTheCommandLineHeader()
    {
        // When the results are exported as CSV to a file URL without suffix
        const QUrl url = QUrl::fromLocalFile(target(QStringLiteral("results")));
        QCOMPARE(exportTo(url.toString(), QStringLiteral("CSV")), QString());

        // Then the file gets the suffix, the header of "mirelle-cli scan --format csv" and one
        // row per photo, the comma and quotes in a name quoted
        const QList<QByteArray> lines = fileBytes(target(QStringLiteral("results.csv"))).split('\n');
        QCOMPARE(lines.first(), QByteArray("group,path,size,width,height,similarity,sharpness,modified,preferred,proposed"));
        QCOMPARE(lines.size(), 1 + 4 + 1);
        QCOMPARE(lines.last(), QByteArray());
        const QByteArray quoted = '"' + m_pDir->filePath(inPhotos(QStringLiteral("c, \"\"d\"\".jpg"))).toUtf8() + '"';
        QVERIFY(std::any_of(lines.begin(), lines.end(), [&](const QByteArray &line) { return line.contains(quoted); }));
    }

    void testFailureLeavesTargetAndSaysWhy_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        // An earlier export of the same name, and a write that runs out of room half-way.
        QTest::addColumn<bool>("full");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing folder") << "gone/r.json" << "json" << false << "cannot be written to";
        QTest::newRow("folder below a file") << "existing.txt/r.csv" << "csv" << false << "cannot be written to";
        QTest::newRow("target is a folder") << "folder.json" << "json" << false << "is a folder";
        QTest::newRow("pdf into a missing folder") << "gone/r.pdf" << "pdf" << false << "cannot be written to";
        QTest::newRow("unknown format") << "r.xml" << "xml" << false << "xml";
        QTest::newRow("no file chosen") << "" << "json" << false << "Choose a file";
        for (const char *format : {"json", "csv", "pdf"})
            QTest::newRow(qPrintable(QStringLiteral("full disk, %1").arg(format))) << QStringLiteral("r.") + format << format
                                                                                  << true << "could not be saved";
    }

    void testFailureLeavesTargetAndSaysWhy()
    {
        QFETCH(QString, name);
        QFETCH(QString, format);
        QFETCH(bool, full);
        QFETCH(QString, message);
        QStringList listKept{QStringLiteral("existing.txt")};
        if (full)
            listKept << name;
        for (const QString &file : qAsConst(listKept)) {
            QFile existing(target(file));
            QVERIFY(existing.open(QIODevice::WriteOnly) && existing.write("keep me") == 7);
        }
        QVERIFY(QDir(m_pDir->path()).mkpath(QStringLiteral("folder.json")));
        const QStringList listBefore = QDir(m_pDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

        // A file size limit fails writes as a full disk does, without a disk to fill.
        const sighandler_t previous = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{full ? 64 : limit.rlim_cur, limit.rlim_max};
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString result = exportTo(name.isEmpty() ? QString() : target(name), format);
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);

        // Then the user reads why, and what was there is as it was with nothing left beside it
        QVERIFY2(result.contains(message), qPrintable(result));
        QVERIFY2(!full || result.contains(qt_error_string(EFBIG)), qPrintable(result));
        QCOMPARE(QDir(m_pDir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), listBefore);
        for (const QString &file : qAsConst(listKept))
            QCOMPARE(fileBytes(target(file)), QByteArray("keep me"));
    }

    void testSecondExportWhileWritingIsRefused()
    {
        QSignalSpy finishedSpy(m_pMgr.get(), &CDupPicsMgr::sigExportFinished);
        m_pMgr->exportResults(target(QStringLiteral("first.pdf")), QStringLiteral("pdf"));
        m_pMgr->exportResults(target(QStringLiteral("second.json")), QStringLiteral("json"));
        QTRY_COMPARE_WITH_TIMEOUT(finishedSpy.count(), 2, 20000);
        QStringList listMessages{finishedSpy.at(0).first().toString(), finishedSpy.at(1).first().toString()};
        listMessages.sort();
        QCOMPARE(listMessages.first(), QString());
        QVERIFY2(listMessages.last().contains(QLatin1String("still being written")), qPrintable(listMessages.last()));
        QVERIFY(QFile::exists(target(QStringLiteral("first.pdf"))));
        QVERIFY(!QFile::exists(target(QStringLiteral("second.json"))));
    }

    void testManagerGoneMidExportLeavesAWholeFile()
    {
        // When the manager is destroyed right after an export started
        QSignalSpy destroyedSpy(m_pMgr.get(), &QObject::destroyed);
        m_pMgr->exportResults(target(QStringLiteral("r.pdf")), QStringLiteral("pdf"));
        m_pMgr.reset();

        // Then it waited for the writer: the file is there and whole
        QCOMPARE(destroyedSpy.count(), 1);
        const QByteArray pdf = fileBytes(target(QStringLiteral("r.pdf")));
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
    }
};

QTEST_MAIN(TestDupPicsMgrExport)
#include "tst_CDupPicsMgrExport.moc"
