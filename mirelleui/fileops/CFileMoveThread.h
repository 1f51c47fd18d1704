#pragma once

#include <QString>
#include <QThread>

#include <atomic>

class CFileMoveTask;

// One move worker: takes paths from the shared queue and moves each file into its mirror
// folder below the target folder. Owned by CFileMoveManager; its thread runs once per move.
class CFileMoveThread : public QThread
{
    Q_OBJECT
public:
    explicit CFileMoveThread(CFileMoveTask *pTask);

    void setTargetFolder(const QString &strTargetFolder);
    void startMove();
    // Takes effect between files: the file being moved is finished first.
    void requestStop();

    // The folder a file goes into below strDstFolder (which ends in a separator): the
    // file's own folder mirrored there, ending in a separator.
    static QString targetFolder(const QString &strDstFolder, const QString &strSource);
    // Moves strSource to strTargetFolder + its file name, refusing what must not be moved.
    [[nodiscard]] static bool moveInto(const QString &strSource, const QString &strTargetFolder, QString *pstrError);

Q_SIGNALS:
    // Sent before signalMoveResult for a file that failed.
    void signalMoveFailed(QString strFilePath, QString strError);
    void signalMoveResult(QString strFilePath, qlonglong fileSize, bool bReulst);

protected:
    // The worker's life is one pass over the queue, so run() is that loop, not an event loop.
    void run() override;

private:
    CFileMoveTask *m_pTask = nullptr;
    QString m_strTargetFolder;
    std::atomic_bool m_bKeepRunning{true};
};
