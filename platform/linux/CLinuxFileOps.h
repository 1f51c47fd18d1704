#pragma once

#include "IFileOps.h"

// Files on Linux: the freedesktop trash, sysfs for removable drives, mount points as drive keys.
class CLinuxFileOps : public IFileOps
{
public:
    // The desktop keeps no trash size limit; the user may set one in megabytes under this
    // registry-stand-in value. Without it a drive's trash may take a tenth of the drive.
    static constexpr const char *kTrashCapacityKey = "HKEY_CURRENT_USER\\SOFTWARE\\Quorvane\\Mirelle\\Trash\\MaxCapacity";
    static constexpr int kDefaultTrashPercent = 10;

    explicit CLinuxFileOps(QString strSysRoot = QStringLiteral("/sys"));

    QStringList driveKeys(const QStringList &listPaths) const override;
    bool isRemovable(const QString &strDriveKey) const override;
    QMap<QString, qint64> trashCapacities() const override;
    qint64 freeSpace(const QString &strPath) const override;
    QString mirrorFolder(const QString &strFolder) const override;

    [[nodiscard]] bool removeFile(const QString &strPath, QString *pstrError) override;
    [[nodiscard]] bool moveToTrash(const QString &strPath, QString *pstrError) override;
    [[nodiscard]] bool moveFile(const QString &strSource, const QString &strTarget, QString *pstrError) override;
    [[nodiscard]] bool trashFile(const QString &strPath, QString *pstrTrashPath, QString *pstrError) override;
    [[nodiscard]] bool restoreFromTrash(const QString &strTrashPath, const QString &strOriginalPath,
                                        QString *pstrError) override;
    QString findInTrash(const QString &strOriginalPath) const override;

    // The removable flag of a block device ("/dev/sdb1", "/dev/mapper/x") as sysfs tells it.
    bool isRemovableDevice(const QString &strDevice) const;

    // The original path a .trashinfo record names, absolute: as escaped by the standard, and
    // as written unescaped by writers that do not escape; empty when the record is unreadable.
    static QStringList trashInfoPaths(const QString &strInfoFile, QString *pstrDeletionDate = nullptr);

private:
    [[nodiscard]] bool copyThenRemove(const QString &strSource, const QString &strTarget, QString *pstrError);

    QString m_strSysRoot;
};
