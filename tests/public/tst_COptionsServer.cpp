#include "COptionsServer.h"
#include "CTcpData.h"

#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

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
            auto pClient = connectClient();
            QVERIFY(pClient);
            // Nothing saved yet: no answer, so the first answer is to the second question.
            send(pClient.get(), CTcpData::RecordType_ReadOptions, QByteArray());
            send(pClient.get(), CTcpData::RecordType_ShowEnd, QByteArray());
            send(pClient.get(), CTcpData::RecordType_WriteOptions, doc);
            send(pClient.get(), CTcpData::RecordType_Language, "de");
            send(pClient.get(), CTcpData::RecordType_ReadOptions, QByteArray());
            TcpData reply;
            QVERIFY(readReply(pClient.get(), &reply));
            QCOMPARE(reply.data, doc);
            QTRY_COMPARE(spyHandled.count(), 5);
        }
        COptionsServer restarted(storeDir());
        QVERIFY(restarted.listen(serverName()));
        auto pClient = connectClient();
        QVERIFY(pClient);
        send(pClient.get(), CTcpData::RecordType_ReadOptions, QByteArray());
        TcpData reply;
        QVERIFY(readReply(pClient.get(), &reply));
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
        auto pClient = connectClient();
        QVERIFY(pClient);
        const QByteArray bytes = CTcpData::serialize(TcpData{2, 3, "abc"}) + CTcpData::serialize(TcpData{3, 0, {}});
        for (char c : bytes) {
            pClient->write(&c, 1);
            pClient->flush();
            QCoreApplication::processEvents();
        }
        TcpData reply;
        QVERIFY(readReply(pClient.get(), &reply));
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
        auto pBad = connectClient();
        QVERIFY(pBad);
        if (!junk.isEmpty()) {
            pBad->write(junk);
            pBad->flush();
        }

        auto pGood = connectClient();
        QVERIFY(pGood);
        send(pGood.get(), CTcpData::RecordType_WriteOptions, "<Setting/>");
        send(pGood.get(), CTcpData::RecordType_ReadOptions, QByteArray());
        TcpData reply;
        QVERIFY(readReply(pGood.get(), &reply));
        QCOMPARE(reply.data, QByteArray("<Setting/>"));
    }
private:
    QString serverName() const { return m_pDir->filePath(QStringLiteral("options.sock")); }
    QString storeDir() const { return m_pDir->filePath(QStringLiteral("config/mirelle")); }
    std::unique_ptr<QLocalSocket> connectClient()
    {
        auto pSocket = std::make_unique<QLocalSocket>();
        pSocket->connectToServer(serverName());
        if (!pSocket->waitForConnected(1000))
            return nullptr;
        return pSocket;
    }

    static void send(QLocalSocket *pSocket, qint32 iType, const QByteArray &data)
    {
        pSocket->write(CTcpData::serialize(TcpData{iType, static_cast<quint64>(data.size()), data}));
        pSocket->flush();
    }

    static bool readReply(QLocalSocket *pSocket, TcpData *pRecord)
    {
        // The server runs on this thread: waiting must keep its events going.
        QByteArray buffer;
        return QTest::qWaitFor([&] {
            buffer += pSocket->readAll();
            return CTcpData::takeRecord(buffer, pRecord) == CTcpData::EnReadResult::Complete;
        }, 5000);
    }

    std::unique_ptr<QTemporaryDir> m_pDir;
};

QTEST_GUILESS_MAIN(tst_COptionsServer)
#include "tst_COptionsServer.moc"
