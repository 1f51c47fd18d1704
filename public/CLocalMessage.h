#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class QLocalSocket;

// The text messages exchanged with other instances and the suite over local sockets.
namespace CLocalMessage {

inline constexpr char kValueSplitter[] = "_&_&_VALUE_SPLITER_&_&_";
inline constexpr char kMessageSplitter[] = "_&_&_MESSAGE_SPLITER_&_&_";
inline constexpr char kShowApp[] = "SHOW_APP_";
inline constexpr char kExitApp[] = "EXIT_APP_";
// Value: the paths a second start was given, for the running window to scan.
inline constexpr char kScanFolders[] = "SCAN_FOLDERS_";

QByteArray build(const QByteArray &key, const QByteArray &value);
QMap<QString, QByteArray> parseLocalMessages(const QByteArray &bytes);

// Paths travel as their file-system bytes, percent-encoded, one a line: no name can then
// hold a separator, and names that are not valid UTF-8 arrive unchanged.
QByteArray encodePaths(const QStringList &listPaths);
QStringList decodePaths(const QByteArray &value);

// The prefix from the first environment entry naming USERNAME (any case), else from USER or
// LOGNAME, + "_".
QString userPrefixed(const QString &strName, const QStringList &listEnvironment);
// The own single-instance server name for an executable file name.
QString ownServerName(const QString &strExecutableFileName, const QStringList &listEnvironment);
// The server name of a suite program such as "VeltrixUI".
QString suiteServerName(const QString &strProgram, const QStringList &listEnvironment);

// Direct: written and flushed on the calling thread. Otherwise a short-lived thread
// writes while a local event loop keeps turning.
void sendLocalMessage(QLocalSocket *pSocket, const QByteArray &key, const QByteArray &value, bool bDirect);

} // namespace CLocalMessage
