#pragma once

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>
#include <QtGlobal>

// What the file system says of one path, without following a final link: enough to tell
// whether a file is still the one a scan read, and whether two paths name one file.
struct CFileStamp
{
    bool bExists = false;
    bool bRegular = false;  // a plain file, not a link, folder or device
    quint64 iDevice = 0;
    quint64 iFileIndex = 0; // inode, or the file index on Windows
    qint64 i64Size = -1;
    quint64 i64ModTime = 0; // FILETIME, as the scan engine records it
    // When the file was made, where the file system records it (0: unknown). A path deleted
    // and made again may get the old inode back, but not its birth time.
    quint64 iBirthTime = 0;
    // When its content or record last changed (0: unknown). Unlike the modification time, no
    // program can set it back.
    quint64 iChangeTime = 0;

    bool isSameFile(const CFileStamp &other) const
    {
        return bExists && other.bExists && iDevice == other.iDevice && iFileIndex == other.iFileIndex
            && (iBirthTime == 0 || other.iBirthTime == 0 || iBirthTime == other.iBirthTime);
    }
    // The same file, not written to since before was taken.
    bool isUnchangedSince(const CFileStamp &before) const
    {
        return isSameFile(before) && i64Size == before.i64Size && i64ModTime == before.i64ModTime
            && (iChangeTime == 0 || before.iChangeTime == 0 || iChangeTime == before.iChangeTime);
    }
};

namespace dp::platform {

CFileStamp fileStamp(const QString &strPath);
// The scan engine's content key of a file: XXH3-64 of all its bytes. False with a reason
// when the file cannot be read to its end.
[[nodiscard]] bool contentKeyOf(const QString &strPath, quint64 *piKey, QString *pstrError);
// The absolute path with its folders resolved (links, "..", "//", "/./") but its last part
// left as it is, so that a link is still named as the link. A folder that does not exist
// is only cleaned.
QString canonicalPath(const QString &strPath);
// A folder with every link resolved, the last part too (a source or destination that is a
// link means the folder it leads to); one that does not exist is resolved as far as it goes.
inline QString resolvedFolder(const QString &strFolder)
{
    const QString resolved = QFileInfo(strFolder).canonicalFilePath();
    return resolved.isEmpty() ? canonicalPath(strFolder) : resolved;
}
// Whether the path lies in a trash (the desktop's, or one a volume keeps for its files): a
// copy there is on its way out and does not keep a picture.
bool isInTrash(const QString &strPath);
// Whether the path lies in a folder of system snapshots, which deletes its oldest in time.
bool isInSnapshot(const QString &strPath);
// Whether the path lies on a file system that shows other file systems' files (an overlay,
// a FUSE view): a file there may be one reached by another path on another device, so a
// differing device proves nothing. True when this cannot be told.
bool showsOtherFiles(const QString &strPath);
// Whether the path lies on a file system held in memory (tmpfs, a RAM disk), which is gone
// when the computer shuts down.
bool isInMemory(const QString &strPath);
// Whether the path lies in a folder for temporary files, which the system empties at start-up
// or after some days.
inline bool isInTempFolder(const QString &strPath)
{
    const QString path = QDir::fromNativeSeparators(canonicalPath(strPath));
    for (const QString &folder : {QDir::tempPath(), QStringLiteral("/var/tmp")}) {
        const QString resolved = QDir::fromNativeSeparators(resolvedFolder(folder));
        if (path.startsWith(resolved + QLatin1Char('/')))
            return true;
    }
    return false;
}
// Whether the path lies in a cache folder (the user's, or any ".cache"): programs empty
// those at will.
inline bool isInCache(const QString &strPath)
{
    const QString path = QDir::fromNativeSeparators(canonicalPath(strPath));
    const QString cache = QDir::fromNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation));
    return (!cache.isEmpty() && path.startsWith(cache + QLatin1Char('/'))) || path.contains(QLatin1String("/.cache/"));
}

} // namespace dp::platform
