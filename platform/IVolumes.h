#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// One scannable filesystem as the operating system mounts it.
struct CVolumeInfo
{
    QString strRoot;       // Linux: the mount point ("/", "/media/usb"); Windows: "C:\\"
    QString strDevice;
    QString strFsType;
};

// Any mounted filesystem, as a walk below a chosen folder may step into it.
struct CMountInfo
{
    enum class EnKind {
        Local,    // holds files: disks, memory (tmpfs), overlays, images
        Pseudo,   // the kernel's views (proc, sysfs, cgroup, ...): never walked
        Network   // another machine's files: slow or hanging when it is away
    };
    QString strRoot;
    QString strFsType;
    uint64_t iDevice = 0;  // the device number the files on it report
    EnKind kind = EnKind::Local;
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
    // Every mounted filesystem, pseudo and network ones included.
    virtual QList<CMountInfo> mounts() const = 0;
};
