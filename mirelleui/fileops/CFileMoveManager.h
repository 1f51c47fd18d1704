#pragma once

#include <QMap>
#include <QMutex>
#include <QObject>
#include <QStringList>

#include <memory>
#include <vector>

class CFileMoveTask;
class CFileMoveThread;
class CRemovalGuard;

// The move worker pool, one worker per hardware thread, and the results of the current move
// turned into progress. Owned by CFileDelImplement; the workers are reused for every move.
class CFileMoveManager : public QObject
{
    Q_OBJECT
public:
    struct CFigures
    {
        int iProgress = 0;
        qint64 i64Processed = 0;
        qint64 i64MovedCount = 0;
        qint64 i64MovedSize = 0;
    };

    CFileMoveManager();
    ~CFileMoveManager() override;

    int workerCount() const { return m_iWorkerCount; }

    void prepare(const QStringList &listFiles, const QString &strTargetFolder,
                 std::shared_ptr<CRemovalGuard> pGuard = nullptr);
    void startWorkers();
    // True when no worker runs any more and the queue is empty.
    bool isFinished() const;
    // Waits up to iTimeoutMs for the workers to end, then answers as isFinished().
    bool waitFinished(int iTimeoutMs);
    // Returns when every worker has ended; paths not yet taken stay in the queue.
    void stopAll();

    QMap<QString, bool> results() const;
    // Why each failed file failed.
    QMap<QString, QString> failures() const;
    // The figures of the results recorded so far, as signalProgressInfo last sent them.
    CFigures figures() const;

Q_SIGNALS:
    void signalProgressInfo(int progress, qlonglong procCount, qlonglong iFileCount, qlonglong fileSize);

public Q_SLOTS:
    void slotMoveResult(QString strFilePath, qlonglong fileSize, bool bReulst);
    void slotMoveFailed(QString strFilePath, QString strError);

private:
    int m_iWorkerCount = 1;
    int m_iTotal = 0;
    int m_iProgress = 0;
    QString m_strTargetFolder;
    CFileMoveTask *m_pTask = nullptr;
    std::vector<std::unique_ptr<CFileMoveThread>> m_workers;

    mutable QMutex m_mutex;
    QMap<QString, bool> m_mapResults;
    QMap<QString, QString> m_mapFailures;
    qint64 m_i64MovedSize = 0;
    qint64 m_i64MovedCount = 0;
    qint64 m_i64Processed = 0;
};
