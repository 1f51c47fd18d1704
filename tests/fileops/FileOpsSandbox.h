#pragma once

// Fixtures for the file-operation tests: files built in code inside a temporary directory,
// immutable files and folders (which even root cannot remove), small tmpfs mounts and locks.

#include "CLinuxFileOps.h"
#include "IFileOps.h"

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <functional>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QString>

namespace sandbox {

inline bool writeFile(const QString &strPath, const QByteArray &data)
{
    QDir().mkpath(QFileInfo(strPath).path());
    QFile file(strPath);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// Points the trash and the removal journal below strHome, never the user's own; false when
// they would not go there.
inline bool isolateHome(const QString &strHome)
{
    qputenv("HOME", QFile::encodeName(strHome));
    qputenv("XDG_DATA_HOME", QFile::encodeName(strHome + QStringLiteral("/share")));
    QStandardPaths::setTestModeEnabled(true);
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation).startsWith(strHome);
}

inline QByteArray readFile(const QString &strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Keeps a path immutable for its own lifetime, so the temporary directory can go afterwards.
class CImmutable
{
public:
    explicit CImmutable(QString strPath) : m_strPath(std::move(strPath)) { m_bOk = set(true); }
    ~CImmutable()
    {
        if (m_bOk)
            set(false);
    }
    CImmutable(const CImmutable &) = delete;
    CImmutable &operator=(const CImmutable &) = delete;
    bool isOk() const { return m_bOk; }

private:
    // False where the filesystem has no such attribute (tmpfs).
    bool set(bool bOn)
    {
        const int fd = ::open(QFile::encodeName(m_strPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        int flags = 0;
        const bool bOk = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0
            && (flags = bOn ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL), ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0);
        if (fd >= 0)
            ::close(fd);
        return bOk;
    }
    QString m_strPath;
    bool m_bOk = false;
};

// A tmpfs mounted for the test's lifetime: a second filesystem, optionally tiny or read-only
// (or another one without a device of its own, such as an overlay).
class CTmpfs
{
public:
    CTmpfs(const QString &strDir, const QByteArray &options, const char *pszType = "tmpfs") : m_strDir(strDir)
    {
        QDir().mkpath(strDir);
        m_bOk = ::mount(pszType, QFile::encodeName(strDir).constData(), pszType, 0, options.constData()) == 0;
    }
    ~CTmpfs()
    {
        if (m_bOk)
            ::umount2(QFile::encodeName(m_strDir).constData(), MNT_DETACH);
    }
    CTmpfs(const CTmpfs &) = delete;
    CTmpfs &operator=(const CTmpfs &) = delete;
    bool isOk() const { return m_bOk; }
    bool remountReadOnly()
    {
        return ::mount("tmpfs", QFile::encodeName(m_strDir).constData(), "tmpfs", MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString m_strDir;
    bool m_bOk = false;
};

// An exclusive lock held through a descriptor of our own, as an editor writing the file would.
class CWriteLock
{
public:
    explicit CWriteLock(const QString &strPath)
    {
        m_fd = ::open(QFile::encodeName(strPath).constData(), O_RDWR | O_CLOEXEC);
        m_bOk = m_fd >= 0 && ::flock(m_fd, LOCK_EX | LOCK_NB) == 0;
    }
    ~CWriteLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    CWriteLock(const CWriteLock &) = delete;
    CWriteLock &operator=(const CWriteLock &) = delete;
    bool isOk() const { return m_bOk; }

private:
    int m_fd = -1;
    bool m_bOk = false;
};

} // namespace sandbox

// The real Linux file calls with hooks: a test may pretend a drive is removable, fix
// the trash capacities and free space, or act (cancel, slow down) before each file.
class CHookedFileOps : public CLinuxFileOps
{
public:
    std::function<void(const QString &)> beforeEachFile;
    bool bRemovable = false;
    QMap<QString, qint64> mapTrashCapacity;
    bool bFixedTrashCapacity = false;
    qint64 i64FreeSpace = -1;

    bool isRemovable(const QString &strDriveKey) const override
    {
        return bRemovable || CLinuxFileOps::isRemovable(strDriveKey);
    }
    QMap<QString, qint64> trashCapacities() const override
    {
        return bFixedTrashCapacity ? mapTrashCapacity : CLinuxFileOps::trashCapacities();
    }
    qint64 freeSpace(const QString &strPath) const override
    {
        return i64FreeSpace >= 0 ? i64FreeSpace : CLinuxFileOps::freeSpace(strPath);
    }
    bool removeFile(const QString &strPath, QString *pstrError) override
    {
        hook(strPath);
        return CLinuxFileOps::removeFile(strPath, pstrError);
    }
    bool moveFile(const QString &strSource, const QString &strTarget, QString *pstrError) override
    {
        hook(strSource);
        return CLinuxFileOps::moveFile(strSource, strTarget, pstrError);
    }
    bool trashFile(const QString &strPath, QString *pstrTrashPath, QString *pstrError) override
    {
        hook(strPath);
        return CLinuxFileOps::trashFile(strPath, pstrTrashPath, pstrError);
    }

private:
    void hook(const QString &strPath)
    {
        if (beforeEachFile)
            beforeEachFile(strPath);
    }
};

#include "IVolumes.h"

// A fixed mount table.
class CFakeVolumes : public IVolumes
{
public:
    QList<CVolumeInfo> list;

    QList<CVolumeInfo> volumes() const override { return list; }
    QString keyOfRoot(const QString &strRoot) const override { return QDir::cleanPath(strRoot); }
    QString keyOfPath(const QString &) const override { return QString(); }
    QString relativeToVolume(const QString &, const QString &) const override { return QString(); }
    QString sourceOfKey(const QString &strKey) const override { return strKey; }
    QString joinRoot(const QString &strRoot, const QString &) const override { return strRoot; }
    QList<CMountInfo> mounts() const override { return {}; }
};

namespace sandbox {

// A sysfs tree as the kernel lays it out: block devices link into the device hierarchy and
// a partition's "removable" flag sits on its disk.
//   sdb (removable) with sdb1; vda (fixed) with vda1; dm-0 mapped onto sdb1.
inline bool makeFakeSysfs(const QString &strRoot)
{
    const QString devices = strRoot + QStringLiteral("/devices/pci0/");
    bool bOk = writeFile(devices + "usb1/block/sdb/removable", "1\n")
        && writeFile(devices + "usb1/block/sdb/sdb1/partition", "1\n")
        && writeFile(devices + "virtio/block/vda/removable", "0\n")
        && writeFile(devices + "virtio/block/vda/vda1/partition", "1\n")
        && writeFile(strRoot + QStringLiteral("/devices/virtual/block/dm-0/removable"), "0\n")
        && QDir().mkpath(strRoot + QStringLiteral("/devices/virtual/block/dm-0/slaves/sdb1"))
        && QDir().mkpath(strRoot + QStringLiteral("/class/block"));
    const QString links = strRoot + QStringLiteral("/class/block/");
    bOk = bOk && QFile::link(devices + "usb1/block/sdb", links + "sdb")
        && QFile::link(devices + "usb1/block/sdb/sdb1", links + "sdb1")
        && QFile::link(devices + "virtio/block/vda", links + "vda")
        && QFile::link(devices + "virtio/block/vda/vda1", links + "vda1")
        && QFile::link(strRoot + QStringLiteral("/devices/virtual/block/dm-0"), links + "dm-0");
    return bOk;
}

} // namespace sandbox
