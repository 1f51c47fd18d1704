#include "COptionsServer.h"
#include "OptionsExchange.h"

#include <QSignalSpy>
#include <QTemporaryDir>

// The options server we run when the suite's is absent: what it keeps must outlive it,
// and no peer may stop it from serving the others.
class tst_COptionsServer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_pDir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_pDir->isValid());
    }

    void testOptionsSurviveRestart()
    {
        const QByteArray doc("<?xml version=\"1.0\"?><Setting><similarSlot>8</similarSlot></Setting>");
        {
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
            QCOMPARE(reply.data, doc);
            QTRY_COMPARE(spyHandled.count(), 5);
        }
        COptionsServer restarted(storeDir());
        QVERIFY(restarted.listen(serverName()));
        TcpData reply;
        QVERIFY(exchange(serverName(), {optionsRecord(CTcpData::RecordType_ReadOptions)}, &reply));
        QCOMPARE(reply.type, qint32(CTcpData::RecordType_Options));
        QCOMPARE(reply.data, doc);
        QFile language(restarted.languageFilePath());
        QVERIFY(language.open(QIODevice::ReadOnly));
        QCOMPARE(language.readAll(), QByteArray("de"));
    }

    void testRecordInPiecesAndBackToBack()
    {
        COptionsServer server(storeDir());
        QVERIFY(server.listen(serverName()));
        QSignalSpy spyHandled(&server, &COptionsServer::sigRecordHandled);
        QLocalSocket client;
        client.connectToServer(serverName());
        QVERIFY(client.waitForConnected(1000));
        const QByteArray bytes = CTcpData::serialize(TcpData{2, 3, "abc"}) + CTcpData::serialize(TcpData{3, 0, {}});
        for (char c : bytes) {
            client.write(&c, 1);
            client.flush();
            QCoreApplication::processEvents();
        }
        QByteArray buffer;
        TcpData reply;
        QVERIFY(QTest::qWaitFor([&] {
            buffer += client.readAll();
            return CTcpData::takeRecord(buffer, &reply) == CTcpData::EnReadResult::Complete;
        }, 5000));
        QCOMPARE(reply.data, QByteArray("abc"));
        QCOMPARE(spyHandled.count(), 2);
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

QTEST_GUILESS_MAIN(tst_COptionsServer)
#include "tst_COptionsServer.moc"
