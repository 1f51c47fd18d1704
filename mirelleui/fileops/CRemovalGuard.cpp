#include "CRemovalGuard.h"

#include "FileOpsLogging.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {

QString turnLockPath()
{
    const QString strFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/mirelle");
    QDir().mkpath(strFolder);
    return strFolder + QStringLiteral("/removal.lock");
}

// Why a copy in this place does not count as kept for the removed one: emptying the trash or a
// cache, the next cleanup of the snapshots or a shutdown would take the picture with it. Empty
// where a copy may stay. A copy in memory or a temporary folder keeps a picture as long as a
// removed copy in such a place would have stayed.
QString passingPlace(const QString &strPath, const QString &strRemoved)
{
    using namespace dp::platform;
    const auto transient = [](const QString &strAt) { return isInMemory(strAt) || isInTempFolder(strAt); };
    if (transient(strPath) && !transient(strRemoved))
        return isInMemory(strPath) ? CRemovalGuard::textKeptInMemory() : CRemovalGuard::textKeptInTempFolder();
    if (isInTrash(strPath))
        return CRemovalGuard::textKeptInTrash();
    if (isInSnapshot(strPath))
        return CRemovalGuard::textKeptInSnapshot();
    if (isInCache(strPath))
        return CRemovalGuard::textKeptInCache();
    return QString();
}

} // namespace

CRemovalTurn::CRemovalTurn(bool bTake, int iWaitMs)
{
    if (!bTake)
        return;
    m_pLock = std::make_unique<dp::platform::CProcessLock>(turnLockPath(), iWaitMs);
    if (!m_pLock->isHeld())
        qCWarning(lcFileOps) << "no removal turn";
}

void CRemovalGuard::add(const CScannedFile &file, const QList<CScannedFile> &listKept)
{
    m_mapPlans.insert(file.strPath, CPlan{file, listKept});
}

bool CRemovalGuard::contains(const QString &strPath) const
{
    return m_mapPlans.contains(strPath);
}

QString CRemovalGuard::textNotPlanned()
{
    return QCoreApplication::translate("CRemovalGuard", "not a photo of the scan");
}
QString CRemovalGuard::textGone()
{
    return QCoreApplication::translate("CRemovalGuard", "it no longer exists");
}
QString CRemovalGuard::textNotRegular()
{
    return QCoreApplication::translate("CRemovalGuard", "it is no longer a plain file");
}
QString CRemovalGuard::textChanged()
{
    return QCoreApplication::translate("CRemovalGuard", "changed since the scan");
}
QString CRemovalGuard::textKeptGone()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy is gone");
}
QString CRemovalGuard::textKeptChanged()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy changed since the scan");
}
QString CRemovalGuard::textKeptSameFile()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy is this same file");
}
QString CRemovalGuard::textKeptMayBeSameFile()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy may be this same file, seen through another mount");
}
QString CRemovalGuard::textBusy()
{
    return QCoreApplication::translate("CRemovalGuard", "another removal does not finish");
}
QString CRemovalGuard::textKeptInMemory()
{
    return QCoreApplication::translate("CRemovalGuard",
                                       "the kept copy is held in memory only, which is emptied when the computer shuts down");
}
QString CRemovalGuard::textKeptInTempFolder()
{
    return QCoreApplication::translate("CRemovalGuard",
                                       "the kept copy is in a folder for temporary files, which the system empties");
}
QString CRemovalGuard::textKeptUnconfirmed()
{
    return QCoreApplication::translate("CRemovalGuard",
                                       "the scan recorded no content to confirm the kept copy by, and it differs from this file");
}
QString CRemovalGuard::textKeptInSnapshot()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy is in a system snapshot, which is deleted in time");
}
QString CRemovalGuard::textKeptInCache()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy is in a cache folder, which programs empty at will");
}
QString CRemovalGuard::textKeptInTrash()
{
    return QCoreApplication::translate("CRemovalGuard", "the kept copy is in the trash");
}

CRemovalGuard::EnState CRemovalGuard::compare(const CScannedFile &file, CFileStamp *pStamp)
{
    *pStamp = dp::platform::fileStamp(file.strPath);
    if (!pStamp->bExists)
        return EnState::Gone;
    if (!pStamp->bRegular)
        return EnState::NotRegular;
    if ((file.i64Size >= 0 && pStamp->i64Size != file.i64Size)
        || (file.i64ModTime != 0 && pStamp->i64ModTime != file.i64ModTime))
        return EnState::Changed;
    if (file.iContentKey != 0) {
        quint64 iKey = 0;
        QString strError;
        if (!dp::platform::contentKeyOf(file.strPath, &iKey, &strError)) {
            qCWarning(lcFileOps) << "cannot read" << file.strPath << strError;
            return EnState::Changed;
        }
        if (iKey != file.iContentKey)
            return EnState::Changed;
        // Read to its end: the file must not have been rewritten meanwhile.
        if (!dp::platform::fileStamp(file.strPath).isUnchangedSince(*pStamp))
            return EnState::Changed;
    }
    return EnState::Matches;
}

QString CRemovalGuard::check(const QString &strPath)
{
    const QString strWhy = verdict(strPath);
    QMutexLocker locker(&m_verifiedLock);
    if (strWhy.isEmpty())
        m_mapRefused.remove(strPath);
    else
        m_mapRefused.insert(strPath, strWhy);
    return strWhy;
}

QString CRemovalGuard::check(const QString &strPath, const CRemovalTurn &turn)
{
    if (turn.isHeld())
        return check(strPath);
    QMutexLocker locker(&m_verifiedLock);
    m_mapRefused.insert(strPath, textBusy());
    return textBusy();
}

QString CRemovalGuard::refusalOf(const QString &strPath) const
{
    QMutexLocker locker(&m_verifiedLock);
    return m_mapRefused.value(strPath);
}

QString CRemovalGuard::verdict(const QString &strPath)
{
    const auto it = m_mapPlans.constFind(strPath);
    if (it == m_mapPlans.constEnd())
        return textNotPlanned();
    CFileStamp stamp;
    switch (compare(it->file, &stamp)) {
    case EnState::Gone:
        return textGone();
    case EnState::NotRegular:
        return textNotRegular();
    case EnState::Changed:
        return textChanged();
    case EnState::Matches:
        break;
    }
    return checkKept(*it, stamp);
}

bool CRemovalGuard::sameBytes(const CScannedFile &kept, const CFileStamp &keptStamp, const QString &strFile,
                              const CFileStamp &fileStamp)
{
    quint64 iKeptKey = 0;
    quint64 iFileKey = 0;
    QString strError;
    if (!dp::platform::contentKeyOf(kept.strPath, &iKeptKey, &strError)
        || !dp::platform::contentKeyOf(strFile, &iFileKey, &strError)) {
        qCWarning(lcFileOps) << "cannot read" << kept.strPath << "or" << strFile << strError;
        return false;
    }
    // Neither may have been rewritten while the other was read.
    const auto unchanged = [](const QString &strPath, const CFileStamp &before) {
        return dp::platform::fileStamp(strPath).isUnchangedSince(before);
    };
    return iKeptKey == iFileKey && unchanged(kept.strPath, keptStamp) && unchanged(strFile, fileStamp);
}

QString CRemovalGuard::checkKept(const CPlan &plan, const CFileStamp &removed)
{
    // Without what the scan read on both sides, "unchanged since the scan" proves nothing
    // about the picture: only the file's own bytes in the kept copy do.
    const bool bRecorded = plan.file.iContentKey != 0;
    QString strWhy = textKeptGone();
    for (const CScannedFile &kept : plan.listKept) {
        const CFileStamp now = dp::platform::fileStamp(kept.strPath);
        if (now.isSameFile(removed)) {
            strWhy = textKeptSameFile();
            continue;
        }
        // Through an overlay or a FUSE view, one file has two paths on two devices: removing
        // either would take the other with it.
        if (now.bExists && now.iDevice != removed.iDevice
            && (dp::platform::showsOtherFiles(kept.strPath) || dp::platform::showsOtherFiles(plan.file.strPath))) {
            if (strWhy == textKeptGone())
                strWhy = textKeptMayBeSameFile();
            continue;
        }
        if (const QString strPassing = passingPlace(kept.strPath, plan.file.strPath); !strPassing.isEmpty()) {
            if (strWhy == textKeptGone())
                strWhy = strPassing;
            continue;
        }
        if (bRecorded && kept.iContentKey != 0) {
            QMutexLocker locker(&m_verifiedLock);
            const auto verified = m_mapVerified.constFind(kept.strPath);
            if (verified != m_mapVerified.constEnd() && now.isUnchangedSince(*verified))
                return QString();
        }
        CFileStamp stamp;
        switch (compare(kept, &stamp)) {
        case EnState::Matches:
            if (stamp.isSameFile(removed)) {
                strWhy = textKeptSameFile();
                continue;
            }
            if (!bRecorded || kept.iContentKey == 0) {
                if (sameBytes(kept, stamp, plan.file.strPath, removed))
                    return QString();
                if (strWhy == textKeptGone())
                    strWhy = textKeptUnconfirmed();
                continue;
            }
            {
                QMutexLocker locker(&m_verifiedLock);
                m_mapVerified.insert(kept.strPath, stamp);
            }
            return QString();
        case EnState::Gone:
            break;
        case EnState::NotRegular:
        case EnState::Changed:
            if (strWhy == textKeptGone())
                strWhy = textKeptChanged();
            break;
        }
    }
    return strWhy;
}
