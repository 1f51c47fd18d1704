#include "CliTestSupport.h"

// "mirelle-cli summary" on saved scans written here: no engine and no photos needed.
class TestMirelleCliSummary : public QObject
{
    Q_OBJECT
private:
    QTemporaryDir m_dir;

    QString path(const QString &strName) const { return m_dir.filePath(strName); }
    void writeFile(const QString &strName, const QByteArray &arrData)
    {
        QVERIFY(testphotos::writeBytes(path(strName), arrData));
    }
    CCliRun runCli(const QStringList &listArgs, bool bWithoutDisplay = false)
    {
        QProcessEnvironment env = cliEnvironment(m_dir.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.path());
        if (bWithoutDisplay) {
            for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
                env.remove(QLatin1String(name));
        }
        return ::runCli(env, listArgs);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        writeFile(QStringLiteral("scan.json"), R"({"format": "mirelle-scan", "version": 1,
            "sources": ["/home/anna/Bilder"], "options": {"threshold": 85},
            "groups": [
              {"identical": true, "photos": [
                {"path": "/home/anna/Bilder/Åland/a.jpg", "size": 1000, "proposed": false},
                {"path": "/home/anna/Bilder/Åland/b.jpg", "size": 3000000, "proposed": true}]},
              {"identical": false, "photos": [
                {"path": "/home/anna/Bilder/R&D <2024>/c.jpg", "size": 500, "proposed": true},
                {"path": "/home/anna/d.jpg", "size": 700, "proposed": false}]}]})");
        writeFile(QStringLiteral("foreign.json"), R"({"format": "something-else", "version": 1})");
        QVERIFY(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
        // Hand-edited numbers of the second photo.
        const QList<QPair<QString, QByteArray>> listEdits{{"negative", R"("size": -5)"},
                                                          {"overflowing", R"("size": 9223372036854775807)"},
                                                          {"text", R"("size": "3000")"},
                                                          {"missing", R"("width": 10)"},
                                                          {"similarity", R"("size": 5, "similarity": 400)"}};
        for (const auto &edit : listEdits) {
            writeFile("edited-" + edit.first + ".json",
                      R"({"format": "mirelle-scan", "version": 1, "groups": [{"photos": [)"
                      R"({"path": "/p/a.jpg", "size": 10}, {"path": "/p/b.jpg", )"
                          + edit.second + "}]}]}");
        }
    }

    void testSummary_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("stdoutHas");
        QTest::addColumn<QString>("stderrHas");

        QTest::newRow("text") << QStringList{"summary", "scan.json"} << 0
                              << QStringLiteral("Space to free: 2.9 MiB (3000500 bytes)") << "";
        QTest::newRow("html on standard output")
            << QStringList{"summary", "scan.json", "--html", "-"} << 0 << "R&amp;D &lt;2024&gt;" << "";
        QTest::newRow("no saved scan") << QStringList{"summary"} << 2 << "" << "needs one saved scan";
        QTest::newRow("html and pdf") << QStringList{"summary", "scan.json", "--html", "a", "--pdf", "b"} << 2 << ""
                                      << "exclude each other";
        QTest::newRow("pdf to standard output") << QStringList{"summary", "scan.json", "--pdf", "-"} << 2 << ""
                                                << "--pdf needs a file name";
        QTest::newRow("missing saved scan") << QStringList{"summary", "gone.json"} << 3 << "" << "gone.json";
        QTest::newRow("foreign file") << QStringList{"summary", "foreign.json"} << 3 << "" << "not a saved scan";
        for (const char *edit : {"negative", "overflowing", "text", "missing", "similarity"})
            QTest::newRow(edit) << QStringList{"summary", QStringLiteral("edited-%1.json").arg(edit)} << 3 << ""
                                << "impossible";
        QTest::newRow("html onto a folder")
            << QStringList{"summary", "scan.json", "--html", "folder"} << 4 << "" << "it is a folder";
        QTest::newRow("pdf into a missing folder")
            << QStringList{"summary", "scan.json", "--pdf", "gone/s.pdf"} << 4 << "" << "gone/s.pdf";
    }

    void testSummary()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, stdoutHas);
        QFETCH(QString, stderrHas);

        const CCliRun run = runCli(args);
        QVERIFY2(run.iExit == exitCode, run.arrErr.constData());
        QVERIFY2(QString::fromUtf8(run.arrOut).contains(stdoutHas), run.arrOut.constData());
        QVERIFY2(QString::fromUtf8(run.arrErr).contains(stderrHas), run.arrErr.constData());
        if (exitCode != 0)
            QVERIFY(run.arrOut.isEmpty());
    }

    void testFilesAreWritten_data()
    {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("start");
        QTest::newRow("html") << "--html" << QStringLiteral("Übersicht.html") << QByteArray("<!DOCTYPE html>");
        QTest::newRow("pdf") << "--pdf" << QStringLiteral("Übersicht.pdf") << QByteArray("%PDF-");
    }

    void testFilesAreWritten()
    {
        QFETCH(QString, option);
        QFETCH(QString, file);
        QFETCH(QByteArray, start);

        // A script on a machine without a display gets its PDF too.
        const CCliRun run = runCli({QStringLiteral("summary"), QStringLiteral("scan.json"), option, file}, true);
        QVERIFY2(run.iExit == 0, run.arrErr.constData());
        QVERIFY(run.arrOut.isEmpty());
        // A script's standard error stays quiet, also while the platform is set up.
        QVERIFY2(run.arrErr.isEmpty(), run.arrErr.constData());
        QFile written(path(file));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.read(start.size()), start);
    }
};

QTEST_GUILESS_MAIN(TestMirelleCliSummary)
#include "tst_MirelleCliSummary.moc"
