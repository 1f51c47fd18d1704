#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

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
    // Where the trash holds the file last trashed from strOriginalPath, or "" when it holds none.
    virtual QString findInTrash(const QString &strOriginalPath) const
    {
        Q_UNUSED(strOriginalPath)
        return QString();
    }
};
