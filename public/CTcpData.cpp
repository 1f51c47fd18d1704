#include "CTcpData.h"

#include <QDataStream>
#include <QtEndian>

namespace CTcpData {

namespace {
constexpr int kHeaderSize = 4 + 8 + 4;
constexpr quint32 kNullArray = 0xFFFFFFFF;
} // namespace

QByteArray serialize(const TcpData &record)
{
    QByteArray bytes;
    QDataStream stream(&bytes, QIODevice::WriteOnly);
    stream << record.type << record.length << record.data;
    return bytes;
}

EnReadResult takeRecord(QByteArray &buffer, TcpData *pRecord)
{
    if (buffer.size() < kHeaderSize)
        return EnReadResult::Incomplete;
    // The payload size is read by hand first, so that a lying size neither makes us
    // wait for gigabytes nor lets QDataStream allocate for them.
    const quint32 iPayload = qFromBigEndian<quint32>(buffer.constData() + 12);
    qint64 iTotal = kHeaderSize;
    if (iPayload != kNullArray) {
        if (iPayload > kMaxPayload)
            return EnReadResult::Invalid;
        iTotal += iPayload;
    }
    if (buffer.size() < iTotal)
        return EnReadResult::Incomplete;

    QDataStream stream(buffer.left(static_cast<int>(iTotal)));
    TcpData record;
    stream >> record.type >> record.length >> record.data;
    if (stream.status() != QDataStream::Ok)
        return EnReadResult::Invalid;
    buffer.remove(0, static_cast<int>(iTotal));
    if (pRecord)
        *pRecord = std::move(record);
    return EnReadResult::Complete;
}

} // namespace CTcpData
