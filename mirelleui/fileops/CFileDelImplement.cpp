#include "CFileDelImplement.h"

#include "CFileMoveManager.h"
#include "CFileMoveThread.h"
#include "CRemovalGuard.h"
#include "CPlatform.h"
#include "FileOpsLogging.h"
#include "IFileOps.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QtConcurrent>

namespace {

constexpr int kDeletePauseMs = 1000;
constexpr int kTrashPauseMs = 500;
constexpr int kMovePauseMs = 1000;
constexpr int kPoolPollMs = 100;
// One-by-one moves go to removable drives, where a Windows program cannot open a path this
// long; we skip such a file rather than leave it where nobody can reach it.
constexpr int kMaxSerialTargetLength = 261;

QString fileNameOf(const QString &strPath)
{
    const QString path = QDir::toNativeSeparators(strPath);
    return path.mid(path.lastIndexOf(QDir::separator()) + 1);
}

} // namespace

// One request's rows in the journal. A removal never stops because of its journal: once the
// journal fails, this object is not made and the files are removed without it.
struct CFileDelImplement::CJournalBatch
{
    explicit CJournalBatch(const QString &strPath) : journal(strPath) {}
    ~CJournalBatch()
    {
        if (i64Request >= 0 && !journal.closeRequest(i64Request))
            qCWarning(lcFileOps) << "removal journal: request" << i64Request << "left open";
    }

    void confirm(const QString &strPath, bool bDone, const QString &strPlace)
    {
        const auto it = mapEntryOfPath.constFind(strPath);
        if (it != mapEntryOfPath.constEnd() && !journal.confirm(listEntries.at(*it).i64Id, bDone, strPlace))
            qCWarning(lcFileOps) << "removal journal: outcome of" << strPath << "not recorded";
    }

    void confirmAll(const QMap<QString, bool> &mapResult)
    {
        QList<CRemovalJournal::CEntry> listOutcomes;
        for (auto it = mapResult.cbegin(); it != mapResult.cend(); ++it) {
            const auto entry = mapEntryOfPath.constFind(it.key());
            if (entry == mapEntryOfPath.constEnd())
                continue;
            CRemovalJournal::CEntry outcome = listEntries.at(*entry);
            outcome.state = it.value() ? CRemovalJournal::EnState::Done : CRemovalJournal::EnState::Failed;
            listOutcomes << outcome;
        }
        if (!journal.confirmAll(listOutcomes))
            qCWarning(lcFileOps) << "removal journal: outcomes of request" << i64Request << "not recorded";
    }

    CRemovalJournal journal;
    qint64 i64Request = -1;
    QList<CRemovalJournal::CEntry> listEntries;
    QHash<QString, int> mapEntryOfPath;
};

CFileDelImplement::CFileDelImplement(QObject *parent) : QObject(parent)
{
    resetProgress();
    m_pMoveManager = std::make_unique<CFileMoveManager>();
    connect(m_pMoveManager.get(), &CFileMoveManager::signalProgressInfo, this, &CFileDelImplement::slotProgressInfo);
    connect(&m_undoWatcher, &QFutureWatcher<CRemovalUndo::COutcome>::finished, this,
            &CFileDelImplement::onUndoFinished);
}

CFileDelImplement::~CFileDelImplement()
{
    // An undo in flight moves files back one by one; we let it finish rather than cut a
    // file in half.
    m_undoWatcher.waitForFinished();
}

void CFileDelImplement::setJournalPath(const QString &strPath)
{
    QMutexLocker locker(&m_journalLock);
    m_strJournalPath = strPath;
}

QString CFileDelImplement::journalPath() const
{
    QMutexLocker locker(&m_journalLock);
    return m_strJournalPath.isEmpty() ? CRemovalJournal::defaultPath() : m_strJournalPath;
}

void CFileDelImplement::setContinueRequest(bool bContinue)
{
    m_bContinueRequest = bContinue;
    m_i64LastRequest = -1;
}

QString CFileDelImplement::journalError() const
{
    QMutexLocker locker(&m_journalLock);
    return m_strJournalError;
}

std::unique_ptr<CFileDelImplement::CJournalBatch>
CFileDelImplement::journalRequest(int iMethod, const QStringList &listFiles, const QStringList &listPlaces)
{
    auto pBatch = std::make_unique<CJournalBatch>(journalPath());
    const IFileOps &fileOps = dp::platform::fileOps();
    for (int i = 0; i < listFiles.size(); ++i) {
        const QString &path = listFiles.at(i);
        const CFileFacts facts = fileOps.fileFacts(path);
        // A file that is gone already is left alone, so there is nothing to bring back.
        if (!facts.bExists || pBatch->mapEntryOfPath.contains(path))
            continue;
        CRemovalJournal::CEntry entry;
        // Names need not be text Qt can spell, so the path is made absolute as a string.
        entry.strOriginal = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::currentPath() + QLatin1Char('/') + path);
        entry.strPlace = listPlaces.value(i);
        entry.i64Size = facts.i64Size;
        entry.i64MTimeMs = facts.i64MTimeMs;
        pBatch->mapEntryOfPath.insert(path, pBatch->listEntries.size());
        pBatch->listEntries << entry;
    }
    if (pBatch->listEntries.isEmpty()) {
        QMutexLocker locker(&m_journalLock);
        m_strJournalError.clear();
        return nullptr;
    }

    QString strError;
    const auto method = CRemovalJournal::EnMethod(iMethod);
    bool bOk = pBatch->journal.open(true, &strError);
    // A move cut short by a crash left its partial copy; this request clears it away (a
    // copy another running move still writes is locked and stays).
    if (bOk && !m_bContinueRequest) {
        for (const QString &place : pBatch->journal.unconfirmedMovePlaces())
            dp::platform::fileOps().discardPartialMove(place);
    }
    if (bOk && m_bContinueRequest && m_i64LastRequest >= 0) {
        pBatch->i64Request = m_i64LastRequest;
        bOk = pBatch->journal.addToRequest(pBatch->i64Request, &pBatch->listEntries, &strError);
    } else if (bOk) {
        pBatch->i64Request = pBatch->journal.beginRequest(method, &pBatch->listEntries, &strError);
        bOk = pBatch->i64Request >= 0;
    }
    QMutexLocker locker(&m_journalLock);
    if (!bOk) {
        qCWarning(lcFileOps).noquote() << "removal not journalled, it cannot be undone:" << strError;
        m_strJournalError = strError;
        m_i64LastRequest = -1;
        pBatch->i64Request = -1;
        return nullptr;
    }
    m_strJournalError.clear();
    m_i64LastRequest = pBatch->i64Request;
    return pBatch;
}

QVariantList CFileDelImplement::removalHistory()
{
    QList<CRemovalJournal::CRequest> listRequests;
    QString strError;
    // No journal yet means nothing was removed: an empty history, not a problem to show.
    const QString strJournal = journalPath();
    const bool bOk = !QFileInfo::exists(strJournal) || CRemovalUndo(strJournal).history(&listRequests, &strError);
    {
        QMutexLocker locker(&m_journalLock);
        m_strJournalProblem = bOk ? QString() : strError;
    }
    QVariantList list;
    for (const CRemovalJournal::CRequest &request : qAsConst(listRequests)) {
        list << QVariantMap{{QStringLiteral("id"), request.i64Id},
                            {QStringLiteral("time"), QDateTime::fromMSecsSinceEpoch(request.i64TimeMs)},
                            {QStringLiteral("method"), int(request.method)},
                            {QStringLiteral("files"), request.iFiles},
                            {QStringLiteral("restorable"), request.iRestorable}};
    }
    return list;
}

QString CFileDelImplement::journalProblem() const
{
    QMutexLocker locker(&m_journalLock);
    return m_strJournalProblem;
}

void CFileDelImplement::undoRemoval(qlonglong i64Request)
{
    if (m_undoWatcher.isRunning())
        return;
    const QString strPath = journalPath();
    m_undoWatcher.setFuture(QtConcurrent::run([strPath, i64Request] { return CRemovalUndo(strPath).undo(i64Request); }));
    Q_EMIT sigUndoRunningChanged();
}

void CFileDelImplement::onUndoFinished()
{
    const CRemovalUndo::COutcome outcome = m_undoWatcher.result();
    QStringList listFailed;
    for (const auto &failed : outcome.listFailed)
        listFailed << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(failed.first), failed.second);
    QString message = outcome.strError;
    if (message.isEmpty() && listFailed.isEmpty())
        message = tr("%n file(s) are back in place.", "", outcome.listRestored.size());
    else if (message.isEmpty())
        message = tr("%1 of %2 files are back in place. These could not come back:")
                      .arg(outcome.listRestored.size())
                      .arg(outcome.listRestored.size() + listFailed.size());
    Q_EMIT sigUndoRunningChanged();
    Q_EMIT sigUndoFinished({{QStringLiteral("requestId"), outcome.i64Request},
                            {QStringLiteral("restored"), outcome.listRestored},
                            {QStringLiteral("failed"), listFailed},
                            {QStringLiteral("message"), message}});
}

QString CFileDelImplement::currentFile() const
{
    QMutexLocker locker(&m_currentFileLock);
    return m_strCurrentFile;
}

QMap<QString, QString> CFileDelImplement::failureTexts() const
{
    QMutexLocker locker(&m_failureLock);
    return m_mapFailures;
}

void CFileDelImplement::onCancel()
{
    m_bCancel = true;
}

void CFileDelImplement::tryDelCancle()
{
    m_bCancel = true;
}

qlonglong CFileDelImplement::totalFiles()
{
    return m_iTotalFiles;
}

void CFileDelImplement::slotProgressInfo(int progress, qlonglong procCount, qlonglong iFileCount, qlonglong fileSize)
{
    m_iProgress = progress;
    m_iProcCount = int(procCount);
    m_iFileCount = int(iFileCount);
    m_i64FileSize = fileSize;
    Q_EMIT sigProgressChanged();
}

void CFileDelImplement::resetProgress()
{
    m_bCancel = false;
    m_iProgress = 0;
    {
        QMutexLocker locker(&m_currentFileLock);
        m_strCurrentFile.clear();
    }
    m_iFileCount = 0;
    Q_EMIT sigProgressChanged();
    m_i64FileSize = 0;
    m_iProcCount = 0;
    QMutexLocker locker(&m_failureLock);
    m_mapFailures.clear();
}

void CFileDelImplement::pauseForWindow(int iMs) const
{
    if (m_bOpenWindowPause)
        QThread::msleep(static_cast<unsigned long>(iMs));
}

void CFileDelImplement::announce(int iIndex, int iCount, const QString &strPath)
{
    m_iProgress = CProgressThrottle::percentAfter(iIndex, iCount);
    if (!m_throttle.isDue(m_clock.elapsed()))
        return;
    {
        QMutexLocker locker(&m_currentFileLock);
        m_strCurrentFile = strPath;
    }
    Q_EMIT sigProgressChanged();
}

void CFileDelImplement::noteFailure(const QString &strPath, const QString &strText)
{
    qCWarning(lcFileOps).noquote() << strText;
    QMutexLocker locker(&m_failureLock);
    m_mapFailures.insert(strPath, strText);
}

void CFileDelImplement::account(QMap<QString, bool> &mapResult, const QString &strPath, qint64 i64Size, bool bOk,
                                const QString &strError)
{
    mapResult.insert(strPath, bOk);
    if (!bOk) {
        noteFailure(strPath, strError);
        return;
    }
    ++m_iFileCount;
    m_i64FileSize += i64Size;
}

void CFileDelImplement::setRemovalGuard(std::shared_ptr<CRemovalGuard> pGuard)
{
    m_pGuard = std::move(pGuard);
}

QString CFileDelImplement::refusal(const QString &strPath, const CRemovalTurn &turn) const
{
    if (!m_pGuard)
        return QString();
    const QString strWhy = m_pGuard->check(strPath, turn);
    if (strWhy.isEmpty())
        return QString();
    return tr("Not removed \"%1\": %2").arg(QDir::toNativeSeparators(strPath), strWhy);
}

bool CFileDelImplement::checkJournal(QString *pstrError) const
{
    CRemovalJournal journal(journalPath());
    return journal.open(true, pstrError);
}

bool CFileDelImplement::refuseUnjournalled(const QStringList &listFiles, QMap<QString, bool> *pResult)
{
    QString strError;
    {
        QMutexLocker locker(&m_journalLock);
        if (!m_bRequireJournal || m_strJournalError.isEmpty())
            return false;
        strError = m_strJournalError;
    }
    for (const QString &path : listFiles) {
        pResult->insert(path, false);
        noteFailure(path, tr("Not removed \"%1\": the removal could not be recorded for undo: %2")
                              .arg(QDir::toNativeSeparators(path), strError));
    }
    return true;
}

void CFileDelImplement::noteNotRemoved(const QString &strPath, const QString &strWhy)
{
    noteFailure(strPath, tr("Not removed \"%1\": %2").arg(QDir::toNativeSeparators(strPath), strWhy));
}

QMap<QString, bool> CFileDelImplement::DeleFiles(QStringList &listFiles)
{
    resetProgress();
    if (listFiles.isEmpty())
        return {};
    Q_EMIT sigShowProcessWind();
    m_iProgress = 0;
    pauseForWindow(kDeletePauseMs);
    return removeEach(listFiles, EnRemoval::Delete);
}

QMap<QString, bool> CFileDelImplement::DeleFileToTrash(QStringList &listFiles)
{
    return trashOrDelete(listFiles, {});
}

QMap<QString, bool> CFileDelImplement::trashOrDelete(const QStringList &listFiles, const QStringList &listPermanent)
{
    if (listFiles.isEmpty())
        return {};
    resetProgress();
    Q_EMIT sigShowProcessWind();
    m_iProgress = 0;
    pauseForWindow(kTrashPauseMs);
    return removeEach(listFiles, EnRemoval::Trash, QSet<QString>(listPermanent.cbegin(), listPermanent.cend()));
}

QMap<QString, bool> CFileDelImplement::removeEach(const QStringList &listFiles, EnRemoval removal,
                                                  const QSet<QString> &setPermanent)
{
    IFileOps &fileOps = dp::platform::fileOps();
    QMap<QString, bool> mapResult;
    // Permanent deletion cannot be undone, so it is not journalled.
    std::unique_ptr<CJournalBatch> pBatch;
    if (removal == EnRemoval::Trash) {
        QStringList listTrashed;
        for (const QString &path : listFiles) {
            if (!setPermanent.contains(path))
                listTrashed << path;
        }
        pBatch = journalRequest(int(CRemovalJournal::EnMethod::Trash), listTrashed, {});
        if (!pBatch && refuseUnjournalled(listFiles, &mapResult))
            return mapResult;
    }
    m_clock.start();
    m_throttle.start(0);
    for (int i = 0; i < listFiles.size() && !m_bCancel; ++i) {
        const QString &path = listFiles.at(i);
        const CFileFacts facts = fileOps.fileFacts(path);
        const bool bDelete = removal == EnRemoval::Delete || setPermanent.contains(path);
        const CRemovalTurn turn(m_pGuard != nullptr);
        const QString strRefusal = refusal(path, turn);
        if (!strRefusal.isEmpty()) {
            if (pBatch && !bDelete)
                pBatch->confirm(path, false, QString());
            announce(i, listFiles.size(), path);
            account(mapResult, path, facts.i64Size, false, strRefusal);
            continue;
        }
        bool bOk = true;
        QString strError;
        // A file that is gone already is what the user asked for; a dangling link is
        // removed like a file.
        if (facts.bExists || facts.bLink) {
            QString place;
            bOk = bDelete ? fileOps.removeFile(path, &strError) : fileOps.trashFile(path, &place, &strError);
            if (pBatch && !bDelete)
                pBatch->confirm(path, bOk, place);
        }
        if (!bOk) {
            strError = (bDelete ? tr("Cannot delete \"%1\": %2") : tr("Cannot move \"%1\" to the trash: %2"))
                           .arg(QDir::toNativeSeparators(path), strError);
        }
        announce(i, listFiles.size(), path);
        account(mapResult, path, facts.i64Size, bOk, strError);
    }
    return mapResult;
}

QMap<QString, bool> CFileDelImplement::MoveFileToFloder(QStringList &listFiles, QString &strDstFloder)
{
    resetProgress();
    if (listFiles.isEmpty()) {
        m_iProgress = 100;
        return {};
    }
    Q_EMIT sigShowProcessWind();
    m_iProgress = 0;
    pauseForWindow(kMovePauseMs);

    if (!QDir(strDstFloder).exists())
        QDir().mkpath(strDstFloder);
    if (strDstFloder.isEmpty()) {
        m_iProgress = 100;
        return {};
    }
    strDstFloder = QDir::toNativeSeparators(strDstFloder);
    if (!strDstFloder.endsWith(QDir::separator()))
        strDstFloder += QDir::separator();

    // A removable drive takes one file at a time best; parallel writers only make it seek.
    const bool bRemovable = dp::platform::fileOps().isRemovable(CDriveCheck::driveKey(strDstFloder));
    QStringList listPlaces;
    listPlaces.reserve(listFiles.size());
    for (const QString &path : qAsConst(listFiles))
        listPlaces << CFileMoveThread::targetFolder(strDstFloder, path) + QFileInfo(path).fileName();
    const std::unique_ptr<CJournalBatch> pBatch =
        journalRequest(int(CRemovalJournal::EnMethod::Move), listFiles, listPlaces);
    QMap<QString, bool> mapRefused;
    if (!pBatch && refuseUnjournalled(listFiles, &mapRefused))
        return mapRefused;
    QMap<QString, bool> mapResult = bRemovable ? moveSerially(listFiles, strDstFloder, pBatch.get())
                                               : moveInPool(listFiles, strDstFloder, pBatch.get());
    Q_EMIT sigProgressChanged();
    m_iProgress = 100;
    return mapResult;
}

QMap<QString, bool> CFileDelImplement::moveSerially(const QStringList &listFiles, const QString &strDstFolder,
                                                    CJournalBatch *pBatch)
{
    QMap<QString, bool> mapResult;
    m_clock.start();
    m_throttle.start(0);
    for (int i = 0; i < listFiles.size() && !m_bCancel; ++i) {
        const QString &path = listFiles.at(i);
        const QFileInfo info(path);
        const CFileFacts facts = dp::platform::fileOps().fileFacts(path);
        const CRemovalTurn turn(m_pGuard != nullptr);
        const QString strRefusal = refusal(path, turn);
        if (!strRefusal.isEmpty()) {
            if (pBatch)
                pBatch->confirm(path, false, QString());
            announce(i, listFiles.size(), path);
            account(mapResult, path, facts.i64Size, false, strRefusal);
            continue;
        }
        if (!facts.bExists) {
            noteFailure(path, tr("Skipped \"%1\": it no longer exists").arg(QDir::toNativeSeparators(path)));
            continue;
        }
        const QString folder = CFileMoveThread::targetFolder(strDstFolder, path);
        const QString target = folder + info.fileName();
        if (target.size() >= kMaxSerialTargetLength) {
            noteFailure(path, tr("Skipped \"%1\": the path in the destination would be too long")
                                  .arg(QDir::toNativeSeparators(path)));
            continue;
        }
        if (!dp::platform::fileOps().makeFolder(folder))
            qCWarning(lcFileOps).noquote() << "cannot create" << folder;
        const qint64 size = facts.i64Size;
        QString strError;
        const bool bOk = CFileMoveThread::moveInto(path, folder, &strError);
        if (pBatch)
            pBatch->confirm(path, bOk, target);
        if (!bOk)
            strError = tr("Cannot move \"%1\" to \"%2\": %3").arg(QDir::toNativeSeparators(path), folder, strError);
        announce(i, listFiles.size(), path);
        account(mapResult, path, size, bOk, strError);
    }
    return mapResult;
}

QMap<QString, bool> CFileDelImplement::moveInPool(const QStringList &listFiles, const QString &strDstFolder,
                                                  CJournalBatch *pBatch)
{
    if (m_bCancel)
        return {};
    m_pMoveManager->prepare(listFiles, strDstFolder, m_pGuard);
    m_pMoveManager->startWorkers();
    // We wait in short steps rather than sleeping whole steps: a small move ends at once.
    while (!m_pMoveManager->waitFinished(kPoolPollMs)) {
        if (m_bCancel) {
            m_pMoveManager->stopAll();
            break;
        }
    }
    const QMap<QString, QString> mapFailures = m_pMoveManager->failures();
    for (auto it = mapFailures.cbegin(); it != mapFailures.cend(); ++it) {
        noteFailure(it.key(), tr("Cannot move \"%1\" to \"%2\": %3")
                                  .arg(QDir::toNativeSeparators(it.key()),
                                       CFileMoveThread::targetFolder(strDstFolder, it.key()), it.value()));
    }
    // The figures also come by queued signal; when this thread is the one they are queued
    // to, they would arrive only after we return, so we take the final ones directly.
    const CFileMoveManager::CFigures figures = m_pMoveManager->figures();
    m_iProgress = figures.iProgress;
    m_iProcCount = int(figures.i64Processed);
    m_iFileCount = int(figures.i64MovedCount);
    m_i64FileSize = figures.i64MovedSize;
    const QMap<QString, bool> mapResult = m_pMoveManager->results();
    if (pBatch)
        pBatch->confirmAll(mapResult);
    return mapResult;
}

QString CFileDelImplement::get2DelFileNames(QStringList delList)
{
    const int fileCount = m_iFileCount;
    if (fileCount > 1 && delList.size() > 1) {
        const QString pattern = fileCount == 2 ? QStringLiteral("%1,%2") : QStringLiteral("%1,%2,...");
        return pattern.arg(fileNameOf(delList.at(0)), fileNameOf(delList.at(1)));
    }
    if (!delList.isEmpty() && fileCount > 0)
        return fileNameOf(delList.at(0));
    return QString();
}

QVariantList CFileDelImplement::trashRefusals() const
{
    return m_driveCheck.trashRefusals();
}
