#include "CLocalMessage.h"
#include "OptionsExchange.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// The real program, started twice: single instance, "uninstall", stale sockets and the
// options that must survive a restart. Each test gets its own HOME, XDG folders and
// socket folder, so that nothing of the user's (or of another test) is touched.
class tst_ShellProcesses : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        m_strProgram = QCoreApplication::applicationDirPath() + QStringLiteral("/mirelle");
        if (!QFileInfo::exists(m_strProgram))
            QSKIP("the program is not built");
    }

    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>(QStringLiteral("/tmp/mshell-XXXXXX"));
        QVERIFY(m_pDir->isValid());
    }

    void cleanup()
    {
        for (QProcess *pProcess : qAsConst(m_listProcesses)) {
            if (pProcess->state() != QProcess::NotRunning) {
                pProcess->kill();
                pProcess->waitForFinished(3000);
            }
            delete pProcess;
        }
        m_listProcesses.clear();
    }

    void testSecondStartEndsAndFirstStays_data()
    {
        QTest::addColumn<bool>("suiteRuns");
        QTest::newRow("alone") << false;
        QTest::newRow("the suite's interface runs: it is raised") << true;
    }

    void testSecondStartEndsAndFirstStays()
    {
        QFETCH(bool, suiteRuns);
        // With no instance to end, "uninstall" just ends.
        QProcess *pUninstall = start({QStringLiteral("uninstall")});
        QVERIFY(ended(pUninstall, 10000));
        QCOMPARE(pUninstall->exitStatus(), QProcess::NormalExit);
        QCOMPARE(pUninstall->exitCode(), 0);
        // A socket file bound by an instance that died without cleaning up.
        const QByteArray path = QFile::encodeName(socketPath(instanceName()));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)), 0);
        ::close(fd);
        // The capital U is not the uninstall request: that one starts normally.
        QProcess *pFirst = start({QStringLiteral("Uninstall")});
        QTRY_VERIFY_WITH_TIMEOUT(serving(instanceName()), 20000);
        QLocalServer suite;
        if (suiteRuns)
            QVERIFY(suite.listen(socketPath(QStringLiteral("tester_veltrixui_zkins_server"))));
        QProcess *pSecond = start();
        if (suiteRuns) {
            QVERIFY(suite.waitForNewConnection(20000));
            QLocalSocket *pPeer = suite.nextPendingConnection();
            QByteArray received;
            QTRY_VERIFY_WITH_TIMEOUT((received += pPeer->readAll()).contains("SHOW_APP_"), 10000);
            QCOMPARE(CLocalMessage::parseLocalMessages(received).keys(), QStringList{QStringLiteral("SHOW_APP_")});
        }
        QVERIFY(ended(pSecond, 20000));
        QCOMPARE(pSecond->exitStatus(), QProcess::NormalExit);
        QCOMPARE(pSecond->exitCode(), 0);
        QCOMPARE(pFirst->state(), QProcess::Running);
    }

    void testInstanceSurvivesBadPeers_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("connects and never writes") << QByteArray();
        QTest::newRow("binary junk") << QByteArray("\x00\xff\x13\x37junk", 8);
        QTest::newRow("half a message") << QByteArray("EXIT_APP__&_&_VALUE");
        QTest::newRow("huge message") << QByteArray(8 * 1024 * 1024, 'x') + CLocalMessage::build("SHOW_APP_", "");
        QTest::newRow("options record on the wrong socket") << CTcpData::serialize(TcpData{2, 5, "hello"});
    }

    void testInstanceSurvivesBadPeers()
    {
        QFETCH(QByteArray, bytes);
        QProcess *pFirst = start();
        QTRY_VERIFY_WITH_TIMEOUT(serving(instanceName()), 20000);
        QLocalSocket bad;
        bad.connectToServer(socketPath(instanceName()));
        QVERIFY(bad.waitForConnected(2000));
        if (!bytes.isEmpty()) {
            bad.write(bytes);
            QVERIFY(bad.waitForBytesWritten(5000));
        }
        // Still listening and still obeying: uninstall ends it cleanly, not by a crash.
        QProcess *pUninstall = start({QStringLiteral("uninstall")});
        QVERIFY(ended(pUninstall, 10000));
        QVERIFY(ended(pFirst, 10000));
        QCOMPARE(pFirst->exitStatus(), QProcess::NormalExit);
        QCOMPARE(pFirst->exitCode(), 0);
    }

    void testOptionsSurviveRestart()
    {
        const QByteArray doc("<?xml version=\"1.0\"?>\n<Setting><ShowDeleteWin>0</ShowDeleteWin><similarSlot>9</similarSlot></Setting>\n");
        QProcess *pFirst = start();
        QTRY_VERIFY_WITH_TIMEOUT(serving(instanceName()), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(serving(optionsName()), 20000);
        // Stored, then asked for: the answer tells they were taken.
        TcpData reply;
        QVERIFY(exchange(socketPath(optionsName()),
                         {optionsRecord(CTcpData::RecordType_WriteOptions, doc), optionsRecord(CTcpData::RecordType_ReadOptions)},
                         &reply));
        QCOMPARE(reply.data, doc);
        start({QStringLiteral("uninstall")})->waitForFinished(10000);
        QVERIFY(ended(pFirst, 10000));

        // After a restart whoever asks gets them.
        start();
        QTRY_VERIFY_WITH_TIMEOUT(serving(optionsName()), 20000);
        reply = TcpData();
        QVERIFY(exchange(socketPath(optionsName()), {optionsRecord(CTcpData::RecordType_ReadOptions)}, &reply));
        QCOMPARE(reply.type, qint32(4));
        QCOMPARE(reply.data, doc);
    }

private:
    QProcess *start(const QStringList &listArguments = {})
    {
        const QString root = m_pDir->path();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const QString &key : env.keys()) {
            if (key.contains(QLatin1String("USERNAME"), Qt::CaseInsensitive))
                env.remove(key);
        }
        env.insert(QStringLiteral("USERNAME"), QStringLiteral("tester"));
        for (const char *pszVar : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
            const QString folder = root + QLatin1Char('/') + QString::fromLatin1(pszVar).toLower();
            QDir().mkpath(folder);
            env.insert(QString::fromLatin1(pszVar), folder);
        }
        QFile::setPermissions(root + QStringLiteral("/xdg_runtime_dir"),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        env.insert(QStringLiteral("TMPDIR"), root);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QT_LOGGING_RULES"), QStringLiteral("*.debug=false;*.info=false;default.debug=true;mirelle.manager.debug=true"));
        env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
        // Under the address sanitizer, what fontconfig keeps until exit must not turn the
        // exit codes we check into leak reports.
        QString asan = env.value(QStringLiteral("ASAN_OPTIONS"));
        env.insert(QStringLiteral("ASAN_OPTIONS"), asan + (asan.isEmpty() ? "" : ":") + QStringLiteral("detect_leaks=0"));
        auto *pProcess = new QProcess;
        pProcess->setProcessEnvironment(env);
        pProcess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        pProcess->start(m_strProgram, listArguments);
        m_listProcesses << pProcess;
        return pProcess;
    }

    bool serving(const QString &strName) const
    {
        QLocalSocket probe;
        probe.connectToServer(socketPath(strName));
        return probe.waitForConnected(200);
    }

    // An event loop spun meanwhile (QTRY_) may already have seen the end, and then
    // waitForFinished answers false.
    static bool ended(QProcess *pProcess, int iMs)
    {
        return pProcess->state() == QProcess::NotRunning || pProcess->waitForFinished(iMs);
    }
    QString socketPath(const QString &strName) const { return m_pDir->path() + QLatin1Char('/') + strName; }
    QString instanceName() const { return QStringLiteral("tester_mirelle_zkins_server"); }
    QString optionsName() const { return QString::fromLatin1(CTcpData::kOptionsServerName); }

    QString m_strProgram;
    std::unique_ptr<QTemporaryDir> m_pDir;
    QList<QProcess *> m_listProcesses;
};

QTEST_GUILESS_MAIN(tst_ShellProcesses)
#include "tst_ShellProcesses.moc"
