#pragma once

#include "IFileOps.h"

#include <QByteArray>
#include <QString>

#include <sys/types.h>

// Small helpers over the system's file calls for the Linux file operations. Paths are bytes
// here: a file name need not be UTF-8, and Qt's file classes would change such a name.
namespace dp::platform::posix {

QString errnoText(int err);
QByteArray folderOf(const QByteArray &path);
QByteArray nameOf(const QByteArray &path);
// The path made absolute against the working folder; "." and ".." are left alone.
QByteArray absolute(const QByteArray &path);
CFileFacts facts(const QByteArray &path);
// Creates the folder and its missing parents with iMode; true when it is a folder afterwards.
bool makeFolders(const QByteArray &path, mode_t iMode);
bool writeAll(int fd, const char *data, qint64 i64Size);
// Makes a rename or a new name in the folder survive a crash.
bool syncFolder(const QByteArray &folder);

} // namespace dp::platform::posix
