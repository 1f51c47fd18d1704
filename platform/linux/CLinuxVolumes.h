#pragma once

#include "IVolumes.h"

// Volumes from the kernel's mount table; the key of a volume is its mount point.
class CLinuxVolumes : public IVolumes
{
public:
    explicit CLinuxVolumes(QString strMountsFile = QStringLiteral("/proc/self/mounts"),
                           QString strMountInfoFile = QStringLiteral("/proc/self/mountinfo"));

    QList<CVolumeInfo> volumes() const override;
    QString keyOfRoot(const QString &strRoot) const override;
    QString keyOfPath(const QString &strPath) const override;
    QString relativeToVolume(const QString &strPath, const QString &strKey) const override;
    QString sourceOfKey(const QString &strKey) const override;
    QString joinRoot(const QString &strRoot, const QString &strRelative) const override;
    QList<CMountInfo> mounts() const override;

    // Parses mount-table text ("device mountpoint fstype options 0 0" per line).
    static QList<CVolumeInfo> parseMounts(const QByteArray &text);
    // Parses the kernel's mountinfo text ("id parent major:minor root mountpoint ... - fstype ...").
    static QList<CMountInfo> parseMountInfo(const QByteArray &text);

private:
    QString m_strMountsFile;
    QString m_strMountInfoFile;
};
