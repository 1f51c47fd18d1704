#pragma once

#include "IVolumes.h"

// Volumes from the kernel's mount table; the key of a volume is its mount point.
class CLinuxVolumes : public IVolumes
{
public:
    explicit CLinuxVolumes(QString strMountsFile = QStringLiteral("/proc/self/mounts"));

    QList<CVolumeInfo> volumes() const override;
    QString keyOfRoot(const QString &strRoot) const override;
    QString keyOfPath(const QString &strPath) const override;
    QString relativeToVolume(const QString &strPath, const QString &strKey) const override;
    QString sourceOfKey(const QString &strKey) const override;
    QString joinRoot(const QString &strRoot, const QString &strRelative) const override;

    // Parses mount-table text ("device mountpoint fstype options 0 0" per line).
    static QList<CVolumeInfo> parseMounts(const QByteArray &text);

private:
    QString m_strMountsFile;
};
