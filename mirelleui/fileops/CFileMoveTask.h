#pragma once

#include <QMutex>
#include <QObject>
#include <QStringList>

// The one queue of source paths that every move worker of the process takes from;
// each path is handed out once.
class CFileMoveTask : public QObject
{
    Q_OBJECT
public:
    static CFileMoveTask *instance();

    void setPaths(const QStringList &listPaths);
    // The next path, or "" when the queue is drained.
    QString takeNext();
    bool isEmpty() const;

private:
    CFileMoveTask() = default;

    mutable QMutex m_mutex;
    QStringList m_listPaths;
};
