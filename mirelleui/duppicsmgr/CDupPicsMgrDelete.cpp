// Removal requests of the scan manager: the coordinator asks and removes, the manager
// reads the groups for it and then updates the records, counters, models and the engine's
// file states.
#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "CFileDelImplement.h"
#include "CRemovalCoordinator.h"
#include "IScanEngineExtras.h"
#include "COperateTaskQueue.h"
#include "CPlatform.h"
#include "IFileOps.h"
#include "XLogging.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

int CDupPicsMgr::deleteMethod() const
{
    return m_pRemoval->deleteMethod();
}

void CDupPicsMgr::doDelDupPicByMark(int iDelType, QString MoveToDirPath)
{
    if (m_pRemoval->requestMarked(iDelType, MoveToDirPath))
        m_pTaskQueue->pushDeleteMarked();
}

void CDupPicsMgr::doDelSingleDupPic(QVariant pGroup, QString strFilePath, int iDelType)
{
    if (m_pRemoval->requestSingle(iDelType, strFilePath))
        m_pTaskQueue->pushDeleteOne(pGroup.toULongLong(), strFilePath);
}

bool CDupPicsMgr::checkIsContainUsb() { return m_pRemoval->checkIsContainUsb(); }
bool CDupPicsMgr::checkTrashSufficient() { return m_pRemoval->checkTrashSufficient(); }
bool CDupPicsMgr::checkTrashSufficient(QString filePath) { return m_pRemoval->checkTrashSufficient(filePath); }
bool CDupPicsMgr::checkSpace(QString path) { return m_pRemoval->checkSpace(path); }
void CDupPicsMgr::retForCheckUsb(int iRet) { m_pRemoval->answer(iRet); }
void CDupPicsMgr::retForCheckTrash(int iRet) { m_pRemoval->answer(iRet); }
void CDupPicsMgr::retForCheckSpace(int iRet) { m_pRemoval->answer(iRet); }
void CDupPicsMgr::retForCheckJournal(int iRet) { m_pRemoval->answer(iRet); }

void CDupPicsMgr::scanStamp(quint64 iFileId, quint64 *pModTime, quint64 *pContentKey) const
{
    CScanIntake::stamp(m_pExtras, iFileId, pModTime, pContentKey);
}

QList<CRemovalGroup> CDupPicsMgr::removalGroups(const QStringList &listPaths) const
{
    struct CPlanned
    {
        QString strPath;
        quint64 iFileId = 0;
        qint64 i64Size = -1;
    };
    // Per group: the photos to remove, and the ones it keeps.
    QMap<quint64, QPair<QList<CPlanned>, QList<CPlanned>>> mapPlans;
    const QSet<QString> setRequested(listPaths.cbegin(), listPaths.cend());
    m_store.readTables([&](const CResultStore::CTables &tables) {
        QSet<quint64> setGroups;
        for (const QString &path : listPaths) {
            const auto it = tables.mapGroupOfPath.constFind(path);
            if (it != tables.mapGroupOfPath.constEnd())
                setGroups.insert(*it);
        }
        for (quint64 key : qAsConst(setGroups)) {
            const auto group = tables.mapGroups.constFind(key);
            if (group == tables.mapGroups.constEnd())
                continue;
            auto &plan = mapPlans[key];
            for (const CPhotoRecordCopy &file : group->files) {
                if (file.isHidden())
                    continue;
                const CPlanned planned{file.path(), file.record().fileId, qint64(file.record().fileSize)};
                (setRequested.contains(file.path()) ? plan.first : plan.second) << planned;
            }
        }
    });
    auto scanned = [this](const CPlanned &planned) {
        CScannedFile file{planned.strPath, planned.i64Size, 0, 0};
        scanStamp(planned.iFileId, &file.i64ModTime, &file.iContentKey);
        return file;
    };
    QList<CRemovalGroup> listGroups;
    for (const auto &plan : qAsConst(mapPlans)) {
        CRemovalGroup group;
        for (const CPlanned &removed : plan.first)
            group.listRemoved << scanned(removed);
        for (const CPlanned &kept : plan.second)
            group.listKept << scanned(kept);
        listGroups << group;
    }
    return listGroups;
}

void CDupPicsMgr::removePhotoRecord(CResultStore::CTables &tables, quint64 pGroup, CPhotoRecordCopy &file,
                                    bool bCountChecked)
{
    m_store.hidePhotoLocked(tables, pGroup, file, bCountChecked);
    const auto itId = tables.mapFileIdOfPath.constFind(file.path());
    if (itId != tables.mapFileIdOfPath.constEnd() && m_pEngine)
        m_pEngine->SetFileState(*itId, file.record().flags);
}

void CDupPicsMgr::slotUndoFinished(const QVariantMap &mapResult)
{
    const QStringList listRestored = mapResult.value(QStringLiteral("restored")).toStringList();
    // A scan running now sees them anyway; a regroup would be refused.
    if (listRestored.isEmpty() || !m_pEngine || isScanning() || isRegrouping())
        return;
    // A removed photo stays in the engine's data, only flagged: present again, it takes
    // part in a regroup at the current threshold without a scan. Photos of an earlier
    // scan or session are unknown here and come back with the next scan.
    bool bKnown = false;
    for (const QString &strPath : listRestored) {
        quint64 iFileId = 0;
        if (!m_store.fileIdOfPath(strPath, &iFileId))
            continue;
        m_pEngine->SetFileState(iFileId, ScanFileState_Present);
        bKnown = true;
    }
    if (bKnown)
        refreshSimilarSlot();
}

void CDupPicsMgr::onTaskDeleteMarked()
{
    m_operationTimer.restart();
    const QStringList listPaths = markedPaths();
    const CRemovalCoordinator::COutcome outcome = m_pRemoval->remove(listPaths, removalGroups(listPaths));
    if (outcome.status == CRemovalCoordinator::EnStatus::Stopped
        || outcome.status == CRemovalCoordinator::EnStatus::Abandoned)
        return;
    const QMap<QString, bool> &mapResult = outcome.mapResult;
    // A marked photo that went away since the scan is no longer one to decide about: it
    // leaves the results with those removed, while the failure list still names it.
    QSet<QString> setGone;
    for (auto it = mapResult.constBegin(); it != mapResult.constEnd(); ++it) {
        if (!it.value() && !dp::platform::fileOps().fileFacts(it.key()).bExists)
            setGone.insert(it.key());
    }

    bool bAllRemoved = true;
    QStringList listFailed;
    QStringList listSucceeded;
    QList<QPair<quint64, QString>> listRemoved;
    m_store.writeTables([&](CResultStore::CTables &tables) {
        QList<quint64> keys = tables.mapGroups.keys();
        std::sort(keys.begin(), keys.end());
        for (quint64 key : qAsConst(keys)) {
            QList<CPhotoRecordCopy> &files = tables.mapGroups[key].files;
            for (CPhotoRecordCopy &file : files) {
                const auto it = mapResult.constFind(file.path());
                if (it == mapResult.constEnd()) {
                    bAllRemoved = false;
                } else if (!*it) {
                    listFailed << file.path();
                    bAllRemoved = false;
                    if (setGone.contains(file.path()) && !file.isHidden()) {
                        removePhotoRecord(tables, key, file, true);
                        listRemoved << qMakePair(key, file.path());
                    }
                } else if (!file.isHidden()) {
                    removePhotoRecord(tables, key, file, true);
                    listRemoved << qMakePair(key, file.path());
                    listSucceeded << file.path();
                }
            }
        }
    });
    for (const auto &removed : qAsConst(listRemoved)) {
        Q_EMIT sigDelOneImg(QVariant::fromValue(removed.first), removed.second);
        Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(removed.first));
    }

    recomputeCheckedTotals();
    startTotalsWorker();
    Q_EMIT sigCheckedItemCountChanged();
    if (!m_pFileDel->isCancelled()) {
        sendUsageEvent(QStringLiteral("RemovePhotos"), QStringLiteral("Result_RemoveMarkedPhotos"),
                       {{QStringLiteral("images"), QString::number(m_pFileDel->totalFiles())},
                        {QStringLiteral("removed_images"), QString::number(listSucceeded.size())},
                        {QStringLiteral("time_used"), QStringLiteral("%1 ms").arg(m_operationTimer.elapsed())}});
        Q_EMIT sigDelDupImgsResult(listFailed, listSucceeded);
    }
    Q_EMIT m_pFileDel->sigProgressChanged();
    Q_EMIT m_pFileDel->sigCloseProcessWind();
    bool bAnyShown = false;
    m_store.readTables([&](const CResultStore::CTables &tables) {
        for (const GroupSummary &summary : tables.mapGroups)
            bAnyShown = bAnyShown || summary.shown;
    });
    if ((bAllRemoved || !bAnyShown) && m_bHasDupPics) {
        m_bHasDupPics = false;
        Q_EMIT sigHasDupPicsChanged();
    }
}

void CDupPicsMgr::onTaskDeleteOne(const CPhotoMarkTaskPayload &payload)
{
    m_operationTimer.restart();
    const QString path = payload.strPath;
    QMap<QString, bool> mapResult;
    if (!path.isEmpty()) {
        const QStringList listRequest{path};
        const CRemovalCoordinator::COutcome outcome = m_pRemoval->remove(listRequest, removalGroups(listRequest));
        if (outcome.status != CRemovalCoordinator::EnStatus::Done)
            return;
        mapResult = outcome.mapResult;
    }

    const bool bRemoved = mapResult.value(path, false);
    bool bAllRemoved = true;
    bool bRecordRemoved = false;
    m_store.writeTables([&](CResultStore::CTables &tables) {
        const auto group = tables.mapGroups.find(payload.pGroup);
        if (group != tables.mapGroups.end()) {
            for (CPhotoRecordCopy &file : group->files) {
                const bool bMatch = file.path().compare(path, Qt::CaseInsensitive) == 0;
                const auto it = mapResult.constFind(file.path());
                if (bMatch && it != mapResult.constEnd()) {
                    if (*it && !file.isHidden()) {
                        removePhotoRecord(tables, payload.pGroup, file, file.isMarked());
                        bRecordRemoved = true;
                    }
                    continue;
                }
                if (!(file.isHidden() && bRemoved))
                    bAllRemoved = false;
            }
        }
    });
    if (bRecordRemoved) {
        Q_EMIT sigRefreshGroupInfo(QVariant::fromValue(payload.pGroup));
        Q_EMIT sigDelOneImg(QVariant::fromValue(payload.pGroup), path);
    }
    recomputeCheckedTotals();
    startTotalsWorker();
    Q_EMIT sigCheckedItemCountChanged();
    if (bRecordRemoved || bAllRemoved) {
        bool bAnyLeft = false;
        m_store.readTables([&](const CResultStore::CTables &tables) {
            for (const GroupSummary &summary : tables.mapGroups)
                bAnyLeft = bAnyLeft || summary.shown;
        });
        if (!bAnyLeft && m_bHasDupPics) {
            m_bHasDupPics = false;
            Q_EMIT sigHasDupPicsChanged();
        }
    }
    Q_EMIT m_pFileDel->sigProgressChanged();
    Q_EMIT m_pFileDel->sigCloseProcessWind();
    sendUsageEvent(QStringLiteral("RemovePhotos"), QStringLiteral("Result_RemoveMarkedPhotos"),
                   {{QStringLiteral("images"), QStringLiteral("1")},
                    {QStringLiteral("removed_images"), bRemoved ? QStringLiteral("1") : QStringLiteral("0")},
                    {QStringLiteral("time_used"), QStringLiteral("%1 ms").arg(m_operationTimer.elapsed())}});
    Q_EMIT sigDelSingleDupImgResult(path, bRemoved);
}

QString CDupPicsMgr::failedDelMessage(const QStringList &listFailed, int iDelType) const
{
    if (listFailed.isEmpty())
        return QString();
    const int n = listFailed.size();
    QStringList listLines{iDelType == DupPicType_DelPermanentiy ? tr("%n photo(s) could not be deleted:", nullptr, n)
                                                                : tr("%n photo(s) could not be removed:", nullptr, n)};
    // Each file with the reason the deletion service gave; the user decides file by file.
    const QMap<QString, QString> mapWhy = m_pFileDel ? m_pFileDel->failureTexts() : QMap<QString, QString>();
    for (const QString &path : listFailed)
        listLines << mapWhy.value(path, QDir::toNativeSeparators(path));
    return listLines.join(QLatin1Char('\n'));
}

void CDupPicsMgr::showFailedDelList()
{
    const QString message = failedDelMessage(m_listFailed, deleteMethod());
    if (!message.isEmpty())
        Q_EMIT sigShowFailedDelList(message);
}
