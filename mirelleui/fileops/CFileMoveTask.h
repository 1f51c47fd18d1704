#pragma once

#include <QMutex>
#include <QObject>
#include <QStringList>

#include <memory>

class CRemovalGuard;

// The one queue of source paths that every move worker of the process takes from;
// each path is handed out once.
class CFileMoveTask : public QObject
{
    Q_OBJECT
public:
    static CFileMoveTask *instance();

    // pGuard, when set, is asked about each path just before it is moved.
    void setPaths(const QStringList &listPaths, std::shared_ptr<CRemovalGuard> pGuard = nullptr);
    std::shared_ptr<CRemovalGuard> guard() const;
    // The next path, or "" when the queue is drained.
    QString takeNext();
    bool isEmpty() const;

private:
    CFileMoveTask() = default;

    mutable QMutex m_mutex;
    QStringList m_listPaths;
    std::shared_ptr<CRemovalGuard> m_pGuard;
};
