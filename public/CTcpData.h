#pragma once

#include <QByteArray>
#include <QtGlobal>

// One record of the options conversation with the suite: {type, length, data},
// written with QDataStream's default big-endian encoding and nothing framing it.
struct TcpData
{
    qint32 type = 0;
    quint64 length = 0;
    QByteArray data;
};

namespace CTcpData {

inline constexpr char kOptionsServerName[] = "__Quorvane_QRN__{3A7C51E2-90B4-4F0D-B6E8-2C19D4A7F305}";

enum EnRecordType : qint32 {
    RecordType_WriteOptions = 2,
    RecordType_ReadOptions = 3,
    RecordType_Options = 4,
    RecordType_Language = 5,
    RecordType_ShowEnd = 6,
};

// A peer that announces more payload than this is talking nonsense; the settings
// document is a few hundred bytes.
constexpr quint32 kMaxPayload = 4 * 1024 * 1024;

QByteArray serialize(const TcpData &record);

enum class EnReadResult { Complete, Incomplete, Invalid };

// Takes one whole record from the front of buffer. Incomplete leaves buffer as it is;
// Invalid means the stream cannot be trusted any further.
EnReadResult takeRecord(QByteArray &buffer, TcpData *pRecord);

} // namespace CTcpData
