#include "CExceptionHandler.h"

#include <QtTest>

#include <new>

namespace {

[[gnu::noinline]] void writeThroughNull(volatile int *pTarget)
{
    *pTarget = 42;
}

// This executable, copied and started with "--crash <how>", crashes that way with the
// program's crash handler installed.
int crashAsChild(const char *pszHow)
{
    CExceptionHandler handler(L"Mirelle_Test_Crash_Event");
    handler.installFilter();
    if (qstrcmp(pszHow, "segv") == 0) {
        writeThroughNull(nullptr);
    } else if (qstrcmp(pszHow, "abort") == 0) {
        std::abort();
    } else if (qstrcmp(pszHow, "badalloc") == 0) {
        throw std::bad_alloc();
    } else if (qstrcmp(pszHow, "thread") == 0) {
        QThread *pThread = QThread::create([] { writeThroughNull(nullptr); });
        pThread->start();
        pThread->wait();
    }
    return 0;
}

} // namespace

// A child process that crashes on purpose leaves a readable dump0.dmp beside its executable.
class tst_CExceptionHandler : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
        // Copied, so that the dump lands in our temporary folder.
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), m_pDir->filePath(QStringLiteral("crash_helper"))));
    }

    void testCrashLeavesDump_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("signalLine");
        QTest::addColumn<bool>("outOfMemory");
        QTest::newRow("null pointer") << "segv" << QByteArray("signal: 11 SIGSEGV") << false;
        QTest::newRow("abort") << "abort" << QByteArray("signal: 6 SIGABRT") << false;
        QTest::newRow("null pointer on a worker thread") << "thread" << QByteArray("signal: 11 SIGSEGV") << false;
        QTest::newRow("out of memory") << "badalloc" << QByteArray("signal: 6 SIGABRT") << true;
    }

    void testCrashLeavesDump()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, signalLine);
        QFETCH(bool, outOfMemory);

        // An earlier crash's dump is replaced, not added to.
        QFile earlier(m_pDir->filePath(QStringLiteral("dump0.dmp")));
        QVERIFY(earlier.open(QIODevice::WriteOnly) && earlier.write("signal: 4 SIGILL\n") > 0);
        earlier.close();
        QByteArray errors;
        const QByteArray dump = crash(how, &errors);
        QVERIFY(!dump.contains("SIGILL"));
        QCOMPARE(QDir(m_pDir->path()).entryList({QStringLiteral("dump*")}).size(), 1);
        QVERIFY2(dump.startsWith("MIRELLE CRASH DUMP 1\n"), dump.left(200).constData());
        QVERIFY(dump.contains("event: Mirelle_Test_Crash_Event\n"));
        QVERIFY2(dump.contains(signalLine + '\n'), dump.left(400).constData());
        QVERIFY(dump.contains(outOfMemory ? "out of memory: yes" : "out of memory: no"));
        QVERIFY(dump.contains("\nbacktrace:\n"));
        QVERIFY(dump.endsWith("end\n"));
        // The modules: the helper itself, from where it lay.
        const int iModules = dump.indexOf("\nmodules:\n");
        QVERIFY(iModules > 0);
        QVERIFY(dump.indexOf(QFile::encodeName(m_pDir->filePath(QStringLiteral("crash_helper"))), iModules) > 0);
        // The backtrace names at least one frame of the helper.
        QVERIFY(dump.mid(0, iModules).contains("crash_helper"));
        QVERIFY(errors.contains("dump0.dmp"));
        QCOMPARE(errors.contains("memory problem"), outOfMemory);
        // The crash event a reporter waits for.
        QVERIFY(QFileInfo::exists(m_pDir->filePath(QStringLiteral("Mirelle_Test_Crash_Event"))));
    }

    void testUnwritableDumpStillEndsProcess()
    {
        // A folder in the dump's place cannot be written, even by root.
        QVERIFY(QDir(m_pDir->path()).mkdir(QStringLiteral("dump0.dmp")));
        QByteArray errors;
        QCOMPARE(crash(QStringLiteral("segv"), &errors), QByteArray("(no dump)"));
        QVERIFY2(errors.contains("No crash report could be written"), errors.constData());
    }
private:
    QByteArray crash(const QString &strHow, QByteArray *pStderr = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_pDir->path());
        process.setProcessEnvironment(env);
        process.start(m_pDir->filePath(QStringLiteral("crash_helper")), {QStringLiteral("--crash"), strHow});
        if (!process.waitForFinished(30000))
            return QByteArray();
        if (pStderr)
            *pStderr = process.readAllStandardError();
        if (process.exitStatus() != QProcess::CrashExit)
            return QByteArray("(no crash)");
        QFile dump(m_pDir->filePath(QStringLiteral("dump0.dmp")));
        if (!dump.open(QIODevice::ReadOnly))
            return QByteArray("(no dump)");
        return dump.readAll();
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

int main(int argc, char **argv)
{
    if (argc > 2 && qstrcmp(argv[1], "--crash") == 0)
        return crashAsChild(argv[2]);
    QCoreApplication app(argc, argv);
    tst_CExceptionHandler test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_CExceptionHandler.moc"
