// Removal requests of the scan manager: questions first, then the deletion service,
// then the records, counters, models and the engine's file states.
#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "CFileDelImplement.h"
#include "CRemovalGuard.h"
#include "IScanEngineExtras.h"
#include "COperateTaskQueue.h"
#include "XLogging.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>

namespace {

constexpr qint64 kSingleRequestGuardMs = 2000;

} // namespace

void CDupPicsMgr::doDelDupPicByMark(int iDelType, QString MoveToDirPath)
{
    m_iDeleteMethod = iDelType;
    Q_EMIT sigDeleteMethodChanged();
    if (iDelType == DupPicType_MoveToFolder) {
        m_strMoveFolder = MoveToDirPath;
        if (MoveToDirPath.isEmpty())
            return;
    }
    m_pTaskQueue->pushDeleteMarked();
}

void CDupPicsMgr::doDelSingleDupPic(QVariant pGroup, QString strFilePath, int iDelType)
{
    // Repeats within 2000 ms are ignored, and each ignored one restarts the wait:
    // a double click or a held key must not remove twice.
    if (!m_singleRequestClock.isValid())
        m_singleRequestClock.start();
    const qint64 now = m_singleRequestClock.elapsed();
    if (m_iLastSingleRequestMs >= 0 && now - m_iLastSingleRequestMs <= kSingleRequestGuardMs) {
        m_iLastSingleRequestMs = now;
        return;
    }
    m_iDeleteMethod = iDelType;
    Q_EMIT sigDeleteMethodChanged();
    m_pTaskQueue->pushDeleteOne(pGroup.toULongLong(), strFilePath);
    m_iLastSingleRequestMs = now;
}

bool CDupPicsMgr::checkIsContainUsb()
{
    return m_pFileDel->checkIsContainUsb();
}

bool CDupPicsMgr::checkTrashSufficient()
{
    return m_pFileDel->checkTrashSufficient();
}

bool CDupPicsMgr::checkTrashSufficient(QString filePath)
{
    return m_pFileDel->checkTrashSufficient(filePath);
}

bool CDupPicsMgr::checkSpace(QString path)
{
    return m_pFileDel->checkSpace(path);
}

void CDupPicsMgr::retForCheckUsb(int iRet) { answerCheck(iRet); }
void CDupPicsMgr::retForCheckTrash(int iRet) { answerCheck(iRet); }
void CDupPicsMgr::retForCheckSpace(int iRet) { answerCheck(iRet); }
void CDupPicsMgr::retForCheckJournal(int iRet) { answerCheck(iRet); }

void CDupPicsMgr::scanStamp(quint64 iFileId, quint64 *pModTime, quint64 *pContentKey) const
{
    uint64_t iModTime = 0;
    uint64_t iKey = 0;
    if (m_pExtras && iFileId != 0 && m_pExtras->GetFileStamp(iFileId, &iModTime, &iKey)) {
        *pModTime = iModTime;
        *pContentKey = iKey;
    }
}

bool CDupPicsMgr::confirmWithoutUndo()
{
    if (m_iDeleteMethod != DupPicType_MoveToTrash && m_iDeleteMethod != DupPicType_MoveToFolder)
        return true;
    QString strReason;
    if (m_pFileDel->checkJournal(&strReason))
        return true;
    return askAndWait([this, strReason] { Q_EMIT signalShowCheckJournal(strReason); }) == 0;
}

void CDupPicsMgr::answerCheck(int iRet)
{
    QMutexLocker locker(&m_checkMutex);
    m_iCheckAnswer = iRet;
    m_bCheckAnswered = true;
    m_checkCondition.wakeAll();
}

int CDupPicsMgr::askAndWait(const std::function<void()> &emitQuestion)
{
    QMutexLocker locker(&m_checkMutex);
    m_bCheckAnswered = false;
    emitQuestion();
    while (!m_bCheckAnswered && !m_bAbandonQuestions)
        m_checkCondition.wait(&m_checkMutex);
    // Closing the program with a question open abandons the request: nothing is removed.
    return m_bAbandonQuestions ? 1 : m_iCheckAnswer;
}

QStringList CDupPicsMgr::askWhereTrashCannotTake(const QStringList &listPaths, int *piAnswer)
{
    bool bRemovable = false;
    const QStringList listPermanent = m_pFileDel->pathsTrashCannotTake(listPaths, &bRemovable);
    if (listPermanent.isEmpty())
        return {};
    *piAnswer = askAndWait([this, bRemovable] {
        if (bRemovable)
            Q_EMIT signalShowCheckUsb();
        else
            Q_EMIT signalShowCheckTrash();
    });
    return listPermanent;
}

void CDupPicsMgr::keepPermanentIfAll(const QStringList &listPaths, const QStringList &listPermanent)
{
    // The failure message says "delete" only when nothing went to the trash.
    if (listPermanent.isEmpty() || listPermanent.size() < listPaths.size())
        return;
    m_iDeleteMethod = DupPicType_DelPermanentiy;
    Q_EMIT sigDeleteMethodChanged();
}

void CDupPicsMgr::guardRemoval(QStringList *pListPaths, QMap<QString, bool> *pResult,
                               QMap<QString, QString> *pMapWhy)
{
    struct CPlanned
    {
        QString strPath;
        quint64 iFileId = 0;
        qint64 i64Size = -1;
    };
    // Per group: the photos to remove, and the ones it keeps.
    QMap<quint64, QPair<QList<CPlanned>, QList<CPlanned>>> mapPlans;
    const QSet<QString> setRequested(pListPaths->cbegin(), pListPaths->cend());
    m_store.readTables([&](const CResultStore::CTables &tables) {
        QSet<quint64> setGroups;
        for (const QString &path : qAsConst(*pListPaths)) {
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
    auto pGuard = std::make_shared<CRemovalGuard>();
    for (auto &plan : mapPlans) {
        if (plan.first.isEmpty())
            continue;
        if (plan.second.isEmpty()) {
            const CPlanned last = plan.first.takeFirst();
            pListPaths->removeAll(last.strPath);
            pResult->insert(last.strPath, false);
            pMapWhy->insert(last.strPath, tr("the last copy of its group stays"));
            plan.second << last;
        }
        QList<CScannedFile> listKept;
        for (const CPlanned &kept : qAsConst(plan.second))
            listKept << scanned(kept);
        for (const CPlanned &removed : qAsConst(plan.first))
            pGuard->add(scanned(removed), listKept);
    }
    // A path that is no photo of the results stays in the list: the guard refuses it.
    m_pFileDel->setRemovalGuard(pGuard);
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
    QMap<QString, bool> mapResult;
    QStringList listPaths = markedPaths();
    m_pFileDel->setTotalFiles(listPaths.size());
    {
        QMutexLocker locker(&m_checkMutex);
        m_iCheckAnswer = 0;
    }
    QMap<QString, QString> mapWhy;
    guardRemoval(&listPaths, &mapResult, &mapWhy);
    const auto disarm = qScopeGuard([this] { m_pFileDel->setRemovalGuard(nullptr); });
    // Stopped for want of undo: the request goes on with nothing removed.
    if (!confirmWithoutUndo())
        listPaths.clear();

    auto merge = [&mapResult](const QMap<QString, bool> &more) {
        for (auto it = more.constBegin(); it != more.constEnd(); ++it)
            mapResult.insert(it.key(), it.value());
    };
    switch (m_iDeleteMethod) {
    case DupPicType_DelPermanentiy:
        merge(m_pFileDel->DeleFiles(listPaths));
        break;
    case DupPicType_MoveToTrash: {
        // Only photos the trash cannot take are asked about, and only they are deleted.
        int iAnswer = 0;
        const QStringList listPermanent = askWhereTrashCannotTake(listPaths, &iAnswer);
        if (iAnswer == 0) {
            merge(m_pFileDel->trashOrDelete(listPaths, listPermanent));
            keepPermanentIfAll(listPaths, listPermanent);
        } else {
            mapResult.clear();
        }
        break;
    }
    case DupPicType_MoveToFolder:
        if (!checkSpace(m_strMoveFolder)) {
            const QString folder = m_strMoveFolder;
            askAndWait([this, folder] { Q_EMIT signalShowCheckSpace(folder); });
            return;
        }
        merge(m_pFileDel->MoveFileToFloder(listPaths, m_strMoveFolder));
        break;
    default:
        break;
    }
    for (auto it = mapWhy.cbegin(); it != mapWhy.cend(); ++it)
        m_pFileDel->noteNotRemoved(it.key(), it.value());
    if (m_bAbandonQuestions)
        return;

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
    QMap<QString, bool> mapResult;
    {
        QMutexLocker locker(&m_checkMutex);
        m_iCheckAnswer = 0;
    }
    const QString path = payload.strPath;
    if (!path.isEmpty()) {
        QStringList listRequest{path};
        QMap<QString, QString> mapWhy;
        guardRemoval(&listRequest, &mapResult, &mapWhy);
        const auto disarm = qScopeGuard([this] { m_pFileDel->setRemovalGuard(nullptr); });
        if (!confirmWithoutUndo())
            return;
        m_pFileDel->setTotalFiles(1);
        switch (m_iDeleteMethod) {
        case DupPicType_DelPermanentiy:
            mapResult.insert(m_pFileDel->DeleFiles(listRequest));
            break;
        case DupPicType_MoveToTrash: {
            int iAnswer = 0;
            const QStringList listPermanent = askWhereTrashCannotTake(listRequest, &iAnswer);
            if (iAnswer != 0)
                return;
            mapResult.insert(m_pFileDel->trashOrDelete(listRequest, listPermanent));
            keepPermanentIfAll(listRequest, listPermanent);
            break;
        }
        case DupPicType_MoveToFolder:
            if (!checkSpace(m_strMoveFolder)) {
                const QString folder = m_strMoveFolder;
                askAndWait([this, folder] { Q_EMIT signalShowCheckSpace(folder); });
                return;
            }
            mapResult.insert(m_pFileDel->MoveFileToFloder(listRequest, m_strMoveFolder));
            break;
        default:
            break;
        }
        for (auto it = mapWhy.cbegin(); it != mapWhy.cend(); ++it)
            m_pFileDel->noteNotRemoved(it.key(), it.value());
    }
    if (m_bAbandonQuestions)
        return;

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
    const QString message = failedDelMessage(m_listFailed, m_iDeleteMethod);
    if (!message.isEmpty())
        Q_EMIT sigShowFailedDelList(message);
}
