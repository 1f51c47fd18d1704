#pragma once

#include <QList>
#include <QString>

// One scannable filesystem as the operating system mounts it.
struct CVolumeInfo
{
    QString strRoot;       // Linux: the mount point ("/", "/media/usb"); Windows: "C:\\"
    QString strDevice;
    QString strFsType;
};

// The one place that maps between user paths, volume roots and volume keys.
// Linux users see and give ordinary paths; drive keys exist only behind this interface.
class IVolumes
{
public:
    virtual ~IVolumes() = default;

    // Real mounted filesystems: no pseudo or kernel filesystems.
    virtual QList<CVolumeInfo> volumes() const = 0;
    // The key the scan manager files a volume under, from the root the engine reports.
    virtual QString keyOfRoot(const QString &strRoot) const = 0;
    // The key of the volume holding an absolute path (Linux: longest mount prefix), or "".
    virtual QString keyOfPath(const QString &strPath) const = 0;
    // The path below the volume's root in the engine's form ("" = the whole volume).
    virtual QString relativeToVolume(const QString &strPath, const QString &strKey) const = 0;
    // How a whole volume appears in the sources list ("D:/" on Windows, "/media/usb" on Linux).
    virtual QString sourceOfKey(const QString &strKey) const = 0;
    // Joins a volume root and a relative path from AddPath into an absolute path.
    virtual QString joinRoot(const QString &strRoot, const QString &strRelative) const = 0;
};
