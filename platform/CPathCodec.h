#pragma once

#include <QByteArray>
#include <QString>

// File names on Linux are bytes, not text. A name that is not valid UTF-8 still has to
// reach the screens, the saved scan, the journal and back to the file system unchanged,
// so each byte that is not part of valid UTF-8 is carried as one lone low surrogate
// (U+DC80..U+DCFF) and turned back into that byte on the way out. Valid UTF-8 decodes as
// usual. Qt's own file classes would replace such a character: a path for which
// needsRawAccess() is true must reach the system through these functions only.
namespace dp::platform {

QString pathFromBytes(const QByteArray &arrBytes);
QByteArray pathToBytes(const QString &strPath);
// True when the path carries bytes that are not valid UTF-8.
bool needsRawAccess(const QString &strPath);
// Whether a regular file is at the path (links followed), for any name; its size too.
bool isRegularFile(const QString &strPath, qint64 *pi64Size = nullptr);

} // namespace dp::platform
