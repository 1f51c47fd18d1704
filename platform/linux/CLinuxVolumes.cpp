#include "CLinuxVolumes.h"

#include "CPathCodec.h"

#include <QDir>
#include <QFile>
#include <QSet>

#include <sys/sysmacros.h>

namespace {

// Kernel and virtual filesystems hold no user photos. An autofs point is left alone too:
// stepping into it would mount whatever it stands for, a network share as often as not.
const QSet<QString> &pseudoFsTypes()
{
    static const QSet<QString> types = {
        QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"),
        QStringLiteral("devpts"), QStringLiteral("cgroup"), QStringLiteral("cgroup2"),
        QStringLiteral("securityfs"), QStringLiteral("debugfs"), QStringLiteral("tracefs"),
        QStringLiteral("configfs"), QStringLiteral("fusectl"), QStringLiteral("mqueue"),
        QStringLiteral("hugetlbfs"), QStringLiteral("pstore"), QStringLiteral("bpf"),
        QStringLiteral("autofs"), QStringLiteral("binfmt_misc"), QStringLiteral("efivarfs"),
        QStringLiteral("rpc_pipefs"), QStringLiteral("nsfs"), QStringLiteral("fuse.portal"),
        QStringLiteral("selinuxfs"), QStringLiteral("devfs"), QStringLiteral("usbfs")};
    return types;
}

// Another machine's files: nothing below such a mount point is read unasked.
const QSet<QString> &networkFsTypes()
{
    static const QSet<QString> types = {
        QStringLiteral("nfs"), QStringLiteral("nfs4"), QStringLiteral("cifs"), QStringLiteral("smb3"),
        QStringLiteral("smbfs"), QStringLiteral("ncpfs"), QStringLiteral("afs"), QStringLiteral("ceph"),
        QStringLiteral("glusterfs"), QStringLiteral("9p"), QStringLiteral("davfs"), QStringLiteral("lustre"),
        QStringLiteral("sshfs"), QStringLiteral("fuse.sshfs"), QStringLiteral("fuse.rclone"),
        QStringLiteral("fuse.s3fs"), QStringLiteral("fuse.glusterfs"), QStringLiteral("fuse.curlftpfs"),
        QStringLiteral("fuse.ceph-fuse"), QStringLiteral("fuse.gvfsd-fuse")};
    return types;
}

// Memory and image filesystems are mounted all over a system for its own use; the whole
// computer lists only the ones users keep files on (a walk still enters every one).
const QSet<QString> &systemOnlyFsTypes()
{
    static const QSet<QString> types = {QStringLiteral("tmpfs"), QStringLiteral("ramfs"), QStringLiteral("squashfs")};
    return types;
}

// The mount table escapes blanks and backslashes as octal (\040).
QString unescapeMountField(const QByteArray &field)
{
    QByteArray out;
    out.reserve(field.size());
    for (int i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool bOk = false;
            const int code = field.mid(i + 1, 3).toInt(&bOk, 8);
            if (bOk) {
                out.append(char(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return dp::platform::pathFromBytes(out);
}

bool isUserMount(const CVolumeInfo &info)
{
    // A tmpfs is scanned only where users keep files: /tmp.
    if (info.strFsType == QLatin1String("tmpfs"))
        return info.strRoot == QLatin1String("/tmp");
    if (pseudoFsTypes().contains(info.strFsType) || systemOnlyFsTypes().contains(info.strFsType))
        return false;
    for (const char *prefix : {"/proc", "/sys", "/dev", "/snap"}) {
        const QString p = QLatin1String(prefix);
        if (info.strRoot == p || info.strRoot.startsWith(p + QLatin1Char('/')))
            return false;
    }
    if (info.strRoot.startsWith(QLatin1String("/run/")) && !info.strRoot.startsWith(QLatin1String("/run/media/")))
        return false;
    return true;
}

bool isBelow(const QString &strPath, const QString &strRoot)
{
    if (strRoot == QLatin1String("/"))
        return strPath.startsWith(QLatin1Char('/'));
    return strPath == strRoot || strPath.startsWith(strRoot + QLatin1Char('/'));
}

} // namespace

CLinuxVolumes::CLinuxVolumes(QString strMountsFile, QString strMountInfoFile)
    : m_strMountsFile(std::move(strMountsFile)), m_strMountInfoFile(std::move(strMountInfoFile))
{
}

QList<CVolumeInfo> CLinuxVolumes::parseMounts(const QByteArray &text)
{
    QList<CVolumeInfo> list;
    QSet<QString> seen;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 3)
            continue;
        CVolumeInfo info{unescapeMountField(fields[1]), unescapeMountField(fields[0]), QString::fromUtf8(fields[2])};
        if (!info.strRoot.startsWith(QLatin1Char('/')) || !isUserMount(info))
            continue;
        // A later mount on the same point hides the earlier one.
        if (seen.contains(info.strRoot)) {
            for (CVolumeInfo &old : list)
                if (old.strRoot == info.strRoot)
                    old = info;
            continue;
        }
        seen.insert(info.strRoot);
        list.append(info);
    }
    return list;
}

QList<CVolumeInfo> CLinuxVolumes::volumes() const
{
    QFile file(m_strMountsFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseMounts(file.readAll());
}

QList<CMountInfo> CLinuxVolumes::parseMountInfo(const QByteArray &text)
{
    QList<CMountInfo> list;
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> fields = line.split(' ');
        // The optional fields end at "-"; the filesystem type follows it.
        const int iDash = fields.indexOf("-");
        if (fields.size() < 5 || iDash < 6 || iDash + 1 >= fields.size())
            continue;
        const QList<QByteArray> device = fields[2].split(':');
        if (device.size() != 2)
            continue;
        CMountInfo info;
        info.strRoot = unescapeMountField(fields[4]);
        info.strFsType = QString::fromUtf8(fields[iDash + 1]);
        info.iDevice = uint64_t(makedev(device[0].toUInt(), device[1].toUInt()));
        if (pseudoFsTypes().contains(info.strFsType))
            info.kind = CMountInfo::EnKind::Pseudo;
        else if (networkFsTypes().contains(info.strFsType))
            info.kind = CMountInfo::EnKind::Network;
        list.append(info);
    }
    return list;
}

QList<CMountInfo> CLinuxVolumes::mounts() const
{
    QFile file(m_strMountInfoFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return parseMountInfo(file.readAll());
}

QString CLinuxVolumes::keyOfRoot(const QString &strRoot) const
{
    QString key = QDir::cleanPath(strRoot);
    return key.isEmpty() ? QStringLiteral("/") : key;
}

QString CLinuxVolumes::keyOfPath(const QString &strPath) const
{
    const QString path = QDir::cleanPath(strPath);
    QString best;
    for (const CVolumeInfo &info : volumes()) {
        if (isBelow(path, info.strRoot) && info.strRoot.size() > best.size())
            best = info.strRoot;
    }
    return best;
}

QString CLinuxVolumes::relativeToVolume(const QString &strPath, const QString &strKey) const
{
    const QString path = QDir::cleanPath(strPath);
    if (!isBelow(path, strKey))
        return QString();
    QString rel = path.mid(strKey == QLatin1String("/") ? 1 : strKey.size());
    while (rel.startsWith(QLatin1Char('/')))
        rel.remove(0, 1);
    return rel;
}

QString CLinuxVolumes::sourceOfKey(const QString &strKey) const
{
    return strKey;
}

QString CLinuxVolumes::joinRoot(const QString &strRoot, const QString &strRelative) const
{
    if (strRelative.isEmpty())
        return strRoot;
    return QDir::cleanPath(strRoot + QLatin1Char('/') + strRelative);
}
