#pragma once

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>

// What the removal needs to know of a file before it touches it. Links are followed, as
// QFileInfo does; bLink tells a link apart, dangling or not.
struct CFileFacts
{
    bool bExists = false;
    bool bLink = false;
    qint64 i64Size = 0;
    qint64 i64MTimeMs = 0;
};

// Whether the trash can take the files of one volume, and how much room it has.
struct CTrashPlace
{
    // The volume as the screens name it: its drive key.
    QString strVolume;
    // Why the trash cannot take files from there ("" when it can).
    QString strProblem;
    // Bytes the trash's own volume has free; -1 when unknown.
    qint64 i64Free = -1;
};

// Removing and moving files, and the drive facts the removal checks rest on.
// Every failing call leaves the source file where it was and says why in *pstrError.
class IFileOps
{
public:
    virtual ~IFileOps() = default;

    // The key that per-drive tables file a path under: "C:" on Windows, the volume's
    // mount point on Linux. One entry per path, in order.
    virtual QStringList driveKeys(const QStringList &listPaths) const = 0;
    // True when the drive behind the key is removable (USB stick, memory card).
    virtual bool isRemovable(const QString &strDriveKey) const = 0;
    // Recycle-bin capacity in bytes for every drive that has one.
    virtual QMap<QString, qint64> trashCapacities() const = 0;
    // Bytes the user may still write on the drive holding strPath (which need not exist yet); 0 when unknown.
    virtual qint64 freeSpace(const QString &strPath) const = 0;
    // Where a file of strFolder goes below a move destination, as a relative path
    // ("C/Users/me" for "C:/Users/me", "home/me" for "/home/me"); "" for the root.
    virtual QString mirrorFolder(const QString &strFolder) const = 0;

    // As QFileInfo tells them; file names Qt cannot spell (bytes that are not UTF-8) need the
    // platform's own calls.
    virtual CFileFacts fileFacts(const QString &strPath) const
    {
        const QFileInfo info(strPath);
        return CFileFacts{info.exists(), info.isSymLink(), info.size(), info.lastModified().toMSecsSinceEpoch()};
    }
    // Creates the folder and its parents; true when it is there afterwards.
    [[nodiscard]] virtual bool makeFolder(const QString &strFolder) { return QDir().mkpath(strFolder); }
    // The trash strPath would go to. A removable drive has no recycle bin on Windows.
    virtual CTrashPlace trashPlace(const QString &strPath) const
    {
        CTrashPlace place;
        place.strVolume = driveKeys({strPath}).value(0);
        if (isRemovable(place.strVolume))
            place.strProblem = QStringLiteral("a removable drive has no recycle bin");
        return place;
    }

    [[nodiscard]] virtual bool removeFile(const QString &strPath, QString *pstrError) = 0;
    [[nodiscard]] virtual bool moveToTrash(const QString &strPath, QString *pstrError) = 0;
    // Never replaces an existing strTarget; a failed move leaves no partial target behind.
    [[nodiscard]] virtual bool moveFile(const QString &strSource, const QString &strTarget, QString *pstrError) = 0;

    // As moveToTrash, and tells where the file went so that it can be brought back; a
    // platform that cannot tell leaves *pstrTrashPath empty.
    [[nodiscard]] virtual bool trashFile(const QString &strPath, QString *pstrTrashPath, QString *pstrError)
    {
        if (pstrTrashPath)
            pstrTrashPath->clear();
        return moveToTrash(strPath, pstrError);
    }
    // Puts a trashed file back at strOriginalPath and drops its trash record. strTrashPath is
    // where trashFile put it; when empty, the trash is searched for a record of strOriginalPath.
    // Never replaces an existing file at strOriginalPath.
    [[nodiscard]] virtual bool restoreFromTrash(const QString &strTrashPath, const QString &strOriginalPath,
                                                QString *pstrError)
    {
        Q_UNUSED(strTrashPath)
        Q_UNUSED(strOriginalPath)
        if (pstrError)
            *pstrError = QStringLiteral("this system cannot take files back from the recycle bin");
        return false;
    }
    // Removes what a move to strTarget cut short by a crash left behind (its partial copy);
    // a copy still being written by a live process is left alone.
    virtual void discardPartialMove(const QString &strTarget) { Q_UNUSED(strTarget) }
    // Where the trash holds the file last trashed from strOriginalPath, or "" when it holds none.
    virtual QString findInTrash(const QString &strOriginalPath) const
    {
        Q_UNUSED(strOriginalPath)
        return QString();
    }
};
