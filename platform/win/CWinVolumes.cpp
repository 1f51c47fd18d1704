#include "CWinVolumes.h"

#include <windows.h>

#include <QDir>

QList<CVolumeInfo> CWinVolumes::volumes() const
{
    QList<CVolumeInfo> list;
    wchar_t buffer[512] = {};
    const DWORD n = GetLogicalDriveStringsW(511, buffer);
    for (const wchar_t *p = buffer; n && *p; p += wcslen(p) + 1) {
        const UINT type = GetDriveTypeW(p);
        if (type == DRIVE_FIXED || type == DRIVE_REMOVABLE || type == DRIVE_REMOTE)
            list.append({QString::fromWCharArray(p), QString(), QString()});
    }
    return list;
}

QString CWinVolumes::keyOfRoot(const QString &strRoot) const
{
    const QString head = strRoot.section(QLatin1Char(':'), 0, 0);
    return head.isEmpty() ? QString() : head.right(1).toLower() + QLatin1Char(':');
}

QString CWinVolumes::keyOfPath(const QString &strPath) const
{
    const QString first = QDir::fromNativeSeparators(strPath).toLower().section(QLatin1Char('/'), 0, 0);
    return first.right(2);
}

QString CWinVolumes::relativeToVolume(const QString &strPath, const QString &strKey) const
{
    QString path = QDir::fromNativeSeparators(strPath).toLower();
    path.remove(strKey + QLatin1Char('/'));
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString CWinVolumes::sourceOfKey(const QString &strKey) const
{
    return strKey.toUpper() + QLatin1Char('/');
}

QString CWinVolumes::joinRoot(const QString &strRoot, const QString &strRelative) const
{
    return QDir::toNativeSeparators(strRoot + strRelative);
}

QList<CMountInfo> CWinVolumes::mounts() const
{
    // Each drive is a root of its own; a mapped network drive is the one kind a walk
    // should know about. The volume serial number stands for the device.
    QList<CMountInfo> list;
    wchar_t buffer[512] = {};
    const DWORD n = GetLogicalDriveStringsW(511, buffer);
    for (const wchar_t *p = buffer; n && *p; p += wcslen(p) + 1) {
        CMountInfo info;
        info.strRoot = QString::fromWCharArray(p);
        DWORD serial = 0;
        wchar_t fsName[MAX_PATH + 1] = {};
        if (GetVolumeInformationW(p, nullptr, 0, &serial, nullptr, nullptr, fsName, MAX_PATH + 1)) {
            info.iDevice = serial;
            info.strFsType = QString::fromWCharArray(fsName);
        }
        if (GetDriveTypeW(p) == DRIVE_REMOTE)
            info.kind = CMountInfo::EnKind::Network;
        list.append(info);
    }
    return list;
}
