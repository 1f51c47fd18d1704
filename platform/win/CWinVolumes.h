#pragma once

#include "IVolumes.h"

// Drive letters: the key of a volume is its lower-case letter and colon ("d:").
class CWinVolumes : public IVolumes
{
public:
    QList<CVolumeInfo> volumes() const override;
    QString keyOfRoot(const QString &strRoot) const override;
    QString keyOfPath(const QString &strPath) const override;
    QString relativeToVolume(const QString &strPath, const QString &strKey) const override;
    QString sourceOfKey(const QString &strKey) const override;
    QString joinRoot(const QString &strRoot, const QString &strRelative) const override;
    QList<CMountInfo> mounts() const override;
};
