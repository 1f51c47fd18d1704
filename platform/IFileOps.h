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
};
