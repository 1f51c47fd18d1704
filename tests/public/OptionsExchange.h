#pragma once

#include "CTcpData.h"

#include <QLocalSocket>
#include <QTest>

// A record as a client sends it: the length field counts the payload's bytes.
inline TcpData optionsRecord(qint32 iType, const QByteArray &data = QByteArray())
{
    return TcpData{iType, static_cast<quint64>(data.size()), data};
}

// Sends the records on a fresh connection and waits for one reply, keeping the event loop
// going so that a server on this thread can answer.
inline bool exchange(const QString &strServer, const QList<TcpData> &listRecords, TcpData *pReply)
{
    QLocalSocket socket;
    socket.connectToServer(strServer);
    if (!socket.waitForConnected(2000))
        return false;
    for (const TcpData &record : listRecords)
        socket.write(CTcpData::serialize(record));
    socket.flush();
    QByteArray buffer;
    return QTest::qWaitFor([&] {
        buffer += socket.readAll();
        return CTcpData::takeRecord(buffer, pReply) == CTcpData::EnReadResult::Complete;
    }, 5000);
}
