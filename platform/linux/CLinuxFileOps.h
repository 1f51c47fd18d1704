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
    CFileFacts fileFacts(const QString &strPath) const override;
    [[nodiscard]] bool makeFolder(const QString &strFolder) override;
    CTrashPlace trashPlace(const QString &strPath) const override;
    void discardPartialMove(const QString &strTarget) override;

    // A copy to another filesystem is written under this name beside its target and renamed
    // into place only when complete: "." + name (cut to fit) + kPartialMark + six characters.
    static constexpr const char *kPartialMark = ".mirelle-part-";

    // The removable flag of a block device ("/dev/sdb1", "/dev/mapper/x") as sysfs tells it.
    bool isRemovableDevice(const QString &strDevice) const;

private:
    [[nodiscard]] bool moveBytes(const QByteArray &source, const QByteArray &target, QString *pstrError);
    [[nodiscard]] bool copyThenRemove(const QByteArray &source, const QByteArray &target, QString *pstrError);

    QString m_strSysRoot;
};
