#pragma once

#include "CDriveCheck.h"
#include "CProgressThrottle.h"
#include "CRemovalUndo.h"

#include <QElapsedTimer>
#include <QFutureWatcher>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QVariantList>

#include <atomic>
#include <memory>

class CFileMoveManager;
class CRemovalGuard;
class CRemovalTurn;

// Removes files permanently, into the trash, or by moving them into a folder, one batch at a
// time on the calling thread, and keeps the figures the progress window shows. Owned by the
// scan manager and published to the screens as "dfDeltor".
class CFileDelImplement : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int progress READ progress WRITE setProgress NOTIFY sigProgressChanged)
    Q_PROPERTY(QString currentFile READ currentFile NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong filesize READ filesize NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong filecount READ filecount NOTIFY sigProgressChanged)
    Q_PROPERTY(qlonglong proccount READ proccount NOTIFY sigProgressChanged)
    Q_PROPERTY(bool undoRunning READ isUndoRunning NOTIFY sigUndoRunningChanged)

public:
    explicit CFileDelImplement(QObject *parent = nullptr);
    ~CFileDelImplement() override;

    int progress() const { return m_iProgress; }
    void setProgress(int iProgress) { m_iProgress = iProgress; }
    QString currentFile() const;
    qlonglong filesize() const { return m_i64FileSize; }
    qlonglong filecount() const { return m_iFileCount; }
    qlonglong proccount() const { return m_iProcCount; }

    void setTotalFiles(int iTotalFiles) { m_iTotalFiles = iTotalFiles; }
    bool isCancelled() const { return m_bCancel; }
    // Why each file of the last request failed or was skipped, for the log and the screens.
    QMap<QString, QString> failureTexts() const;
    // The pauses that let the progress window open before the first file; tests and
    // benchmarks switch them off.
    void setOpenWindowPause(bool bPause) { m_bOpenWindowPause = bPause; }

    // Where trash and move requests are journalled for undo; "" is the user's data folder.
    void setJournalPath(const QString &strPath);
    QString journalPath() const;
    // While set, every trash or move call joins the request of the first, so that a removal
    // made file by file is undone as one.
    void setContinueRequest(bool bContinue);
    // The journal's id of the last trash or move request, or -1 when it could not be journalled.
    qint64 lastRequestId() const { return m_i64LastRequest; }
    // Why the last request could not be journalled; it went ahead all the same.
    QString journalError() const;
    bool isUndoRunning() const { return m_undoWatcher.isRunning(); }

    // Every following removal asks pGuard about each file just before it goes, and leaves the
    // file where it is when the guard refuses; nullptr removes without asking.
    void setRemovalGuard(std::shared_ptr<CRemovalGuard> pGuard);
    // While set, a trash or move request that cannot be journalled removes nothing, so that
    // nothing goes that undo could not bring back.
    void setRequireJournal(bool bRequire) { m_bRequireJournal = bRequire; }
    // False with the reason when removals could not be journalled now.
    bool checkJournal(QString *pstrError) const;
    // Records why a file of the last request was left alone before any attempt.
    void noteNotRemoved(const QString &strPath, const QString &strWhy);

    // The drive facts the pre-check questions rest on; the trash refusals it found are
    // published to the screens through trashRefusals().
    CDriveCheck &driveCheck() { return m_driveCheck; }
    // Starts a request's figures afresh: no file, nothing counted, not cancelled.
    void resetProgress();
    // Trashes listFiles, but deletes those of listPermanent for good.
    QMap<QString, bool> trashOrDelete(const QStringList &listFiles, const QStringList &listPermanent);

Q_SIGNALS:
    void sigProgressChanged();
    void sigShowProcessWind();
    void sigCloseProcessWind();
    void sigUndoRunningChanged();
    // requestId, restored (paths), failed ("path: reason" texts), message.
    void sigUndoFinished(QVariantMap result);

public Q_SLOTS:
    void onCancel();
    void slotProgressInfo(int progress, qlonglong procCount, qlonglong iFileCount, qlonglong fileSize);

public:
    Q_INVOKABLE QMap<QString, bool> DeleFiles(QStringList &listFiles);
    Q_INVOKABLE QMap<QString, bool> DeleFileToTrash(QStringList &listFiles);
    Q_INVOKABLE QMap<QString, bool> MoveFileToFloder(QStringList &listFiles, QString &strDstFloder);
    Q_INVOKABLE qlonglong totalFiles();
    Q_INVOKABLE QString get2DelFileNames(QStringList delList);
    Q_INVOKABLE void tryDelCancle();
    // The volumes the drive check's last pathsTrashCannotTake() found, for the question
    // that names them: volume, reason, photos (their number), removable.
    Q_INVOKABLE QVariantList trashRefusals() const;
    // The journalled trash and move requests, newest first: id, time, method, files, restorable.
    Q_INVOKABLE QVariantList removalHistory();
    // Why there is no history to show ("" when the journal is fine), as the last
    // removalHistory() found.
    Q_INVOKABLE QString journalProblem() const;
    // Brings back the files of a request (-1: the last one) off the calling thread, then
    // emits sigUndoFinished once.
    Q_INVOKABLE void undoRemoval(qlonglong i64Request = -1);

private:
    enum class EnRemoval { Delete, Trash };
    struct CJournalBatch;

    std::unique_ptr<CJournalBatch> journalRequest(int iMethod, const QStringList &listFiles,
                                                  const QStringList &listPlaces);
    void onUndoFinished();

    void pauseForWindow(int iMs) const;
    QMap<QString, bool> removeEach(const QStringList &listFiles, EnRemoval removal,
                                   const QSet<QString> &setPermanent = {});
    // When the journal is required but failed: every file fails with the reason.
    bool refuseUnjournalled(const QStringList &listFiles, QMap<QString, bool> *pResult);
    // Why the guard keeps strPath, or "" when it may go (or there is no guard).
    QString refusal(const QString &strPath, const CRemovalTurn &turn) const;
    QMap<QString, bool> moveSerially(const QStringList &listFiles, const QString &strDstFolder, CJournalBatch *pBatch);
    QMap<QString, bool> moveInPool(const QStringList &listFiles, const QString &strDstFolder, CJournalBatch *pBatch);
    void announce(int iIndex, int iCount, const QString &strPath);
    void account(QMap<QString, bool> &mapResult, const QString &strPath, qint64 i64Size, bool bOk,
                 const QString &strError);
    void noteFailure(const QString &strPath, const QString &strText);

    std::atomic_int m_iTotalFiles{0};
    std::atomic_int m_iProgress{0};
    std::atomic<qint64> m_i64FileSize{0};
    std::atomic_int m_iFileCount{0};
    std::atomic_int m_iProcCount{0};
    mutable QMutex m_currentFileLock;
    QString m_strCurrentFile;
    std::atomic_bool m_bCancel{false};
    bool m_bOpenWindowPause = true;
    QElapsedTimer m_clock;
    CProgressThrottle m_throttle;

    CDriveCheck m_driveCheck;

    mutable QMutex m_failureLock;
    QMap<QString, QString> m_mapFailures;

    std::unique_ptr<CFileMoveManager> m_pMoveManager;
    std::shared_ptr<CRemovalGuard> m_pGuard;

    mutable QMutex m_journalLock;
    QString m_strJournalPath;
    QString m_strJournalError;
    QString m_strJournalProblem;
    bool m_bContinueRequest = false;
    bool m_bRequireJournal = false;
    std::atomic<qint64> m_i64LastRequest{-1};
    QFutureWatcher<CRemovalUndo::COutcome> m_undoWatcher;
};
