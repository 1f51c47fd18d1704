#include "CFileMoveTask.h"

CFileMoveTask *CFileMoveTask::instance()
{
    static CFileMoveTask s_task;
    return &s_task;
}

void CFileMoveTask::setPaths(const QStringList &listPaths, std::shared_ptr<CRemovalGuard> pGuard)
{
    QMutexLocker locker(&m_mutex);
    m_listPaths = listPaths;
    m_pGuard = std::move(pGuard);
}

std::shared_ptr<CRemovalGuard> CFileMoveTask::guard() const
{
    QMutexLocker locker(&m_mutex);
    return m_pGuard;
}

QString CFileMoveTask::takeNext()
{
    QMutexLocker locker(&m_mutex);
    return m_listPaths.isEmpty() ? QString() : m_listPaths.takeFirst();
}

bool CFileMoveTask::isEmpty() const
{
    QMutexLocker locker(&m_mutex);
    return m_listPaths.isEmpty();
}
