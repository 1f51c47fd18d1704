#include "CFileMoveManager.h"

#include "CFileMoveTask.h"
#include "CFileMoveThread.h"

#include <QDeadlineTimer>

#include <thread>

CFileMoveManager::CFileMoveManager()
    // hardware_concurrency() is 0 when the count is unknown; without a worker a move would never end.
    : m_iWorkerCount(qMax(1, int(std::thread::hardware_concurrency())))
    , m_pTask(CFileMoveTask::instance())
{
    m_workers.reserve(size_t(m_iWorkerCount));
    for (int i = 0; i < m_iWorkerCount; ++i) {
        auto pWorker = std::make_unique<CFileMoveThread>(m_pTask);
        // Results are recorded on the worker's thread, under the mutex, so that once every
        // worker has ended the results are complete: the caller may block the thread this
        // manager lives on while it waits, and queued deliveries would arrive too late.
        connect(pWorker.get(), &CFileMoveThread::signalMoveFailed, this, &CFileMoveManager::slotMoveFailed,
                Qt::DirectConnection);
        connect(pWorker.get(), &CFileMoveThread::signalMoveResult, this, &CFileMoveManager::slotMoveResult,
                Qt::DirectConnection);
        m_workers.push_back(std::move(pWorker));
    }
}

CFileMoveManager::~CFileMoveManager()
{
    stopAll();
}

void CFileMoveManager::prepare(const QStringList &listFiles, const QString &strTargetFolder,
                               std::shared_ptr<CRemovalGuard> pGuard)
{
    m_pTask->setPaths(listFiles, std::move(pGuard));
    m_strTargetFolder = strTargetFolder;
    QMutexLocker locker(&m_mutex);
    m_iTotal = listFiles.size();
    m_mapResults.clear();
    m_mapFailures.clear();
    m_i64MovedSize = 0;
    m_i64MovedCount = 0;
    m_iProgress = 0;
    m_i64Processed = 0;
}

void CFileMoveManager::startWorkers()
{
    for (const auto &pWorker : m_workers) {
        pWorker->setTargetFolder(m_strTargetFolder);
        pWorker->startMove();
    }
}

bool CFileMoveManager::isFinished() const
{
    for (const auto &pWorker : m_workers) {
        if (pWorker->isRunning())
            return false;
    }
    return m_pTask->isEmpty();
}

bool CFileMoveManager::waitFinished(int iTimeoutMs)
{
    const QDeadlineTimer deadline(iTimeoutMs);
    for (const auto &pWorker : m_workers) {
        if (!pWorker->wait(deadline))
            return false;
    }
    return isFinished();
}

void CFileMoveManager::stopAll()
{
    for (const auto &pWorker : m_workers) {
        if (pWorker->isRunning())
            pWorker->requestStop();
    }
    for (const auto &pWorker : m_workers) {
        if (pWorker->isRunning()) {
            pWorker->exit(0);
            pWorker->wait();
        }
    }
}

QMap<QString, bool> CFileMoveManager::results() const
{
    QMutexLocker locker(&m_mutex);
    return m_mapResults;
}

QMap<QString, QString> CFileMoveManager::failures() const
{
    QMutexLocker locker(&m_mutex);
    return m_mapFailures;
}

CFileMoveManager::CFigures CFileMoveManager::figures() const
{
    QMutexLocker locker(&m_mutex);
    return CFigures{m_iProgress, m_i64Processed, m_i64MovedCount, m_i64MovedSize};
}

void CFileMoveManager::slotMoveResult(QString strFilePath, qlonglong fileSize, bool bReulst)
{
    QMutexLocker locker(&m_mutex);
    m_mapResults[strFilePath] = bReulst;
    if (bReulst) {
        ++m_i64MovedCount;
        m_i64MovedSize += fileSize;
    }
    ++m_i64Processed;
    const int progress = m_iTotal > 0 ? int(qint64(m_mapResults.size()) * 100 / m_iTotal) : 100;
    // One queued call per percent, not per file: ten thousand small files would otherwise
    // queue ten thousand updates for the progress window. Sent under the mutex so that the
    // figures arrive in the order they were counted.
    if (progress == m_iProgress && m_i64Processed > 1)
        return;
    m_iProgress = progress;
    Q_EMIT signalProgressInfo(m_iProgress, m_i64Processed, m_i64MovedCount, m_i64MovedSize);
}

void CFileMoveManager::slotMoveFailed(QString strFilePath, QString strError)
{
    QMutexLocker locker(&m_mutex);
    m_mapFailures.insert(strFilePath, strError);
}
