#include "CLocalMessage.h"
#include "CLoadApp.h"
#include "COptionsServer.h"
#include "OptionsExchange.h"
#include "CPathCodec.h"

#include <QLocalServer>
#include <QtTest>

using MessageMap = QMap<QString, QByteArray>;
Q_DECLARE_METATYPE(MessageMap)

namespace {

QByteArray message(const QByteArray &key, const QByteArray &value)
{
    return CLocalMessage::build(key, value);
}

QtMessageHandler g_pfnPreviousHandler = nullptr;
QStringList g_listWarnings;
void collectWarnings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        g_listWarnings << text;
    g_pfnPreviousHandler(type, context, text);
}

} // namespace

// The text messages of the single-instance channel, the options records, and the options
// server we run when the suite's is absent: what it keeps must outlive it, and no peer may
// stop it from serving the others.
class tst_CLocalMessage : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }

    void testParse_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<MessageMap>("expected");

        QTest::newRow("one message") << message("SHOW_APP_", "") << MessageMap{{"SHOW_APP_", ""}};
        QTest::newRow("value kept as bytes") << message("K", QByteArray("\x00\xff v", 4)) << MessageMap{{"K", QByteArray("\x00\xff v", 4)}};
        QTest::newRow("show and exit in one transfer") << message("SHOW_APP_", "") + message("EXIT_APP_", "")
                                                       << MessageMap{{"SHOW_APP_", ""}, {"EXIT_APP_", ""}};
        QTest::newRow("same key twice keeps the last") << message("K", "1") + message("K", "2") << MessageMap{{"K", "2"}};
        QTest::newRow("no message separator is one piece")
            << QByteArray("SHOW_APP__&_&_VALUE_SPLITER_&_&_x") << MessageMap{{"SHOW_APP_", "x"}};
        QTest::newRow("key without value separator") << QByteArray("EXIT_APP__&_&_MESSAGE_SPLITER_&_&_")
                                                     << MessageMap{{"EXIT_APP_", ""}};
        QTest::newRow("extra value parts ignored")
            << QByteArray("K_&_&_VALUE_SPLITER_&_&_a_&_&_VALUE_SPLITER_&_&_b_&_&_MESSAGE_SPLITER_&_&_") << MessageMap{{"K", "a"}};
        QTest::newRow("empty transfer") << QByteArray() << MessageMap{};
        QTest::newRow("half a message arrives as it stands")
            << message("SHOW_APP_", "").left(14) << MessageMap{{"SHOW_APP__&_&_", ""}};
        QTest::newRow("utf-8 key") << message("ÄPFEL", "1") << MessageMap{{QStringLiteral("ÄPFEL"), "1"}};
    }

    void testParse()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(MessageMap, expected);
        QCOMPARE(CLocalMessage::parseLocalMessages(bytes), expected);
    }

    void testStartPathsReachRunningInstance_data()
    {
        QTest::addColumn<QList<QByteArray>>("arguments");
        QTest::addColumn<QStringList>("expected");

        const QString notUtf8 = dp::platform::pathFromBytes("/start/caf\xe9");
        QTest::newRow("relative to the start folder, not the program's")
            << QList<QByteArray>{"photos", "./a/../b", "/abs/olute"}
            << QStringList{"/start/photos", "/start/b", "/abs/olute"};
        QTest::newRow("options and the uninstall request are not paths")
            << QList<QByteArray>{"--verbose", "-x", "uninstall", "Uninstall", ""} << QStringList{"/start/Uninstall"};
        QTest::newRow("names that hold the separators")
            << QList<QByteArray>{"a_&_&_MESSAGE_SPLITER_&_&_b", "c_&_&_VALUE_SPLITER_&_&_d%41"}
            << QStringList{"/start/a_&_&_MESSAGE_SPLITER_&_&_b", "/start/c_&_&_VALUE_SPLITER_&_&_d%41"};
        QTest::newRow("line feed, unicode and bytes that are not UTF-8")
            << QList<QByteArray>{"two\nlines", "Åland 2023", "caf\xe9"}
            << QStringList{"/start/two\nlines", QStringLiteral("/start/Åland 2023"), notUtf8};
        QTest::newRow("nothing to hand over") << QList<QByteArray>{} << QStringList{};
    }

    void testStartPathsReachRunningInstance()
    {
        QFETCH(QList<QByteArray>, arguments);
        QFETCH(QStringList, expected);

        // Given the arguments of a second start, when it sends its paths with the request
        // to show the window in one transfer, then the running instance reads both unchanged.
        const QStringList listPaths = CLoadApp::pathArguments(arguments, QStringLiteral("/start"));
        QCOMPARE(listPaths, expected);
        const QMap<QString, QByteArray> map = CLocalMessage::parseLocalMessages(
            message(CLocalMessage::kScanFolders, CLocalMessage::encodePaths(listPaths)) + message(CLocalMessage::kShowApp, ""));
        QCOMPARE(map.keys(), (QStringList{CLocalMessage::kScanFolders, CLocalMessage::kShowApp}));
        QCOMPARE(CLocalMessage::decodePaths(map.value(CLocalMessage::kScanFolders)), expected);
    }

    void testServerNames_data()
    {
        QTest::addColumn<QString>("executable");
        QTest::addColumn<QStringList>("environment");
        QTest::addColumn<QString>("ownName");
        QTest::newRow("windows example") << "C:/Program Files/X/MirelleUI.exe" << QStringList{"PATH=/bin", "USERNAME=user1"}
                                         << "user1_mirelleui_zkins_server";
        QTest::newRow("spaces and dots") << "/opt/My App.v2.exe" << QStringList{"USERNAME=u"} << "u_my_app_v2_zkins_server";
        QTest::newRow("no user name") << "/usr/bin/mirelle" << QStringList{"HOME=/root"} << "_mirelle_zkins_server";
        QTest::newRow("first match in any case wins")
            << "mirelle" << QStringList{"LOGNAME=a", "myusername=first", "USERNAME=second"} << "first_mirelle_zkins_server";
        QTest::newRow("linux login name") << "mirelle" << QStringList{"LOGNAME=b", "USER=a"} << "a_mirelle_zkins_server";
        QTest::newRow("linux LOGNAME only") << "mirelle" << QStringList{"LOGNAME=b"} << "b_mirelle_zkins_server";
        QTest::newRow("value with = is cut there") << "mirelle" << QStringList{"USERNAME=a=b"} << "a_mirelle_zkins_server";
        QTest::newRow("entry without = is skipped") << "mirelle" << QStringList{"USERNAME", "USERNAME=x"}
                                                    << "x_mirelle_zkins_server";
    }

    void testServerNames()
    {
        QFETCH(QString, executable);
        QFETCH(QStringList, environment);
        QFETCH(QString, ownName);
        QCOMPARE(CLocalMessage::ownServerName(executable, environment), ownName);
        // The suite's server carries the same user part.
        QCOMPARE(CLocalMessage::suiteServerName(QStringLiteral("VeltrixUI"), environment),
                 ownName.section(QLatin1Char('_'), 0, 0) + QStringLiteral("_veltrixui_zkins_server"));
    }

    void testSenderThreadDeliversWithoutWarnings()
    {
        QLocalServer server;
        QVERIFY(server.listen(m_pDir->filePath(QStringLiteral("s"))));
        QLocalSocket socket;
        socket.connectToServer(server.fullServerName());
        QVERIFY(socket.waitForConnected(1000));
        QVERIFY(server.waitForNewConnection(1000));
        QLocalSocket *pPeer = server.nextPendingConnection();

        g_listWarnings.clear();
        g_pfnPreviousHandler = qInstallMessageHandler(collectWarnings);
        CLocalMessage::sendLocalMessage(&socket, CLocalMessage::kExitApp, QByteArray(), false);
        qInstallMessageHandler(g_pfnPreviousHandler);

        // The socket came back to us and still works.
        QCOMPARE(socket.thread(), QThread::currentThread());
        CLocalMessage::sendLocalMessage(&socket, CLocalMessage::kShowApp, "v", true);
        QByteArray received;
        QTRY_VERIFY((received += pPeer->readAll()).endsWith(CLocalMessage::kMessageSplitter)
                    && received.count(CLocalMessage::kMessageSplitter) == 2);
        QCOMPARE(received, message("EXIT_APP_", "") + message("SHOW_APP_", "v"));
        QVERIFY2(g_listWarnings.isEmpty(), qPrintable(g_listWarnings.join('\n')));
        CLocalMessage::sendLocalMessage(nullptr, "K", "V", false); // does nothing
    }

    void testTakeRecord_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("result");
        QTest::addColumn<qint32>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("leftOver");

        const auto record = [](qint32 iType, quint64 iLength, const QByteArray &data) {
            return CTcpData::serialize(TcpData{iType, iLength, data});
        };
        const int complete = int(CTcpData::EnReadResult::Complete);
        const int incomplete = int(CTcpData::EnReadResult::Incomplete);
        const int invalid = int(CTcpData::EnReadResult::Invalid);
        const QByteArray doc("<Setting/>");

        QTest::newRow("options") << record(4, 10, doc) << complete << 4 << doc << 0;
        // Type, length in UTF-16 units, payload size, payload: big-endian, no framing; no payload is size -1.
        QTest::newRow("as the suite writes it") << QByteArray::fromHex("00000005" "0000000000000002" "00000002" "6465")
                                                << complete << 5 << QByteArray("de") << 0;
        QTest::newRow("null payload") << QByteArray::fromHex("00000003" "0000000000000000" "ffffffff") << complete << 3
                                      << QByteArray() << 0;
        QTest::newRow("length field lies, payload decides") << record(2, 999999, doc) << complete << 2 << doc << 0;
        QTest::newRow("two records, first taken") << record(6, 0, {}) + record(3, 0, {}) << complete << 6 << QByteArray() << 16;
        QTest::newRow("header cut") << record(4, 10, doc).left(15) << incomplete << 0 << QByteArray() << 15;
        QTest::newRow("payload cut") << record(4, 10, doc).chopped(1) << incomplete << 0 << QByteArray() << 25;
        QTest::newRow("empty") << QByteArray() << incomplete << 0 << QByteArray() << 0;
        QByteArray huge = record(4, 0, doc);
        huge[12] = '\x7f';
        QTest::newRow("payload size far too big") << huge << invalid << 0 << QByteArray() << huge.size();
        QTest::newRow("binary junk") << QByteArray(64, '\xff').replace(12, 4, QByteArray("\x00\x00\x00\x02", 4)) << complete
                                     << -1 << QByteArray("\xff\xff", 2) << 46;
    }

    void testTakeRecord()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, result);
        QFETCH(qint32, type);
        QFETCH(QByteArray, data);
        QFETCH(int, leftOver);

        TcpData record;
        QCOMPARE(int(CTcpData::takeRecord(bytes, &record)), result);
        if (result == int(CTcpData::EnReadResult::Complete)) {
            QCOMPARE(record.type, type);
            QCOMPARE(record.data, data);
            QCOMPARE(record.data.isNull(), data.isNull());
        }
        QCOMPARE(bytes.size(), leftOver);
    }

    // Kept across a restart of the program: see the two-process test.
    void testOptionsAndLanguageAreStored()
    {
        const QByteArray doc("<?xml version=\"1.0\"?><Setting><similarSlot>8</similarSlot></Setting>");
        COptionsServer server(storeDir());
        QVERIFY(server.listen(serverName()));
        QSignalSpy spyHandled(&server, &COptionsServer::sigRecordHandled);
        // Nothing saved yet: no answer, so the first answer is to the second question.
        TcpData reply;
        QVERIFY(exchange(serverName(),
                         {optionsRecord(CTcpData::RecordType_ReadOptions), optionsRecord(CTcpData::RecordType_ShowEnd),
                          optionsRecord(CTcpData::RecordType_WriteOptions, doc),
                          optionsRecord(CTcpData::RecordType_Language, "de"),
                          optionsRecord(CTcpData::RecordType_ReadOptions)},
                         &reply));
        QCOMPARE(reply.type, qint32(CTcpData::RecordType_Options));
        QCOMPARE(reply.data, doc);
        QTRY_COMPARE(spyHandled.count(), 5);
        QFile language(server.languageFilePath());
        QVERIFY(language.open(QIODevice::ReadOnly));
        QCOMPARE(language.readAll(), QByteArray("de"));
    }

    void testBadPeersDoNotStopOthers_data()
    {
        QTest::addColumn<QByteArray>("junk");
        QByteArray lying = CTcpData::serialize(TcpData{2, 1, "x"});
        lying.replace(12, 4, QByteArray("\x7f\xff\xff\xff", 4));
        QTest::newRow("payload size lies") << lying;
        QTest::newRow("binary junk") << QByteArray(4096, '\xee');
        QTest::newRow("half a record, then silence") << CTcpData::serialize(TcpData{2, 100, QByteArray(100, 'x')}).left(40);
        QTest::newRow("connects and never writes") << QByteArray();
    }

    void testBadPeersDoNotStopOthers()
    {
        QFETCH(QByteArray, junk);
        // What a crashed server leaves behind: a socket file nobody answers on.
        QFile stale(serverName());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        COptionsServer server(storeDir());
        QVERIFY(server.listen(serverName()));
        QLocalSocket bad;
        bad.connectToServer(serverName());
        QVERIFY(bad.waitForConnected(1000));
        bad.write(junk);
        bad.flush();

        TcpData reply;
        QVERIFY(exchange(serverName(),
                         {optionsRecord(CTcpData::RecordType_WriteOptions, "<Setting/>"),
                          optionsRecord(CTcpData::RecordType_ReadOptions)},
                         &reply));
        QCOMPARE(reply.data, QByteArray("<Setting/>"));
    }

private:
    QString serverName() const { return m_pDir->filePath(QStringLiteral("options.sock")); }
    QString storeDir() const { return m_pDir->filePath(QStringLiteral("config/mirelle")); }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_GUILESS_MAIN(tst_CLocalMessage)
#include "tst_CLocalMessage.moc"
