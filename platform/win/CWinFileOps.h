#pragma once

#include "IFileOps.h"

// Files on Windows: the shell's recycle bin, drive letters as drive keys.
class CWinFileOps : public IFileOps
{
public:
    QStringList driveKeys(const QStringList &listPaths) const override;
    bool isRemovable(const QString &strDriveKey) const override;
    QMap<QString, qint64> trashCapacities() const override;
    qint64 freeSpace(const QString &strPath) const override;
    QString mirrorFolder(const QString &strFolder) const override;

    [[nodiscard]] bool removeFile(const QString &strPath, QString *pstrError) override;
    [[nodiscard]] bool moveToTrash(const QString &strPath, QString *pstrError) override;
    [[nodiscard]] bool moveFile(const QString &strSource, const QString &strTarget, QString *pstrError) override;
};
