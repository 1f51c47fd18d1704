#include "CFileMoveThread.h"

#include "CFileMoveTask.h"
#include "CRemovalGuard.h"
#include "CPlatform.h"
#include "FileOpsLogging.h"
#include "IFileOps.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

namespace {

constexpr int kMkpathTries = 10;
constexpr int kMkpathRetryMs = 100;

} // namespace

CFileMoveThread::CFileMoveThread(CFileMoveTask *pTask) : m_pTask(pTask) {}

void CFileMoveThread::setTargetFolder(const QString &strTargetFolder)
{
    m_strTargetFolder = strTargetFolder;
}

void CFileMoveThread::startMove()
{
    m_bKeepRunning = true;
    start(QThread::InheritPriority);
}

void CFileMoveThread::requestStop()
{
    m_bKeepRunning = false;
}

QString CFileMoveThread::targetFolder(const QString &strDstFolder, const QString &strSource)
{
    const QString mirror = dp::platform::fileOps().mirrorFolder(QFileInfo(strSource).absolutePath());
    if (mirror.isEmpty())
        return strDstFolder;
    return strDstFolder + QDir::toNativeSeparators(mirror) + QDir::separator();
}

bool CFileMoveThread::moveInto(const QString &strSource, const QString &strTargetFolder, QString *pstrError)
{
    const QFileInfo source(strSource);
    const QString target = strTargetFolder + source.fileName();
    // Moving a file onto itself would be refused as a name clash; say what really happened.
    if (QFileInfo(target).absoluteFilePath() == source.absoluteFilePath()) {
        *pstrError = QStringLiteral("it is already in the destination folder");
        return false;
    }
    if (dp::platform::fileOps().moveFile(strSource, target, pstrError))
        return true;
    // Folders are refused below; one that holds the destination deserves the plainer reason.
    if (source.isDir() && !source.isSymLink()) {
        const QString folder = QDir::cleanPath(source.absoluteFilePath()) + QLatin1Char('/');
        if (QDir::cleanPath(QFileInfo(strTargetFolder).absoluteFilePath()).startsWith(folder))
            *pstrError = QStringLiteral("the destination folder lies inside it");
    }
    return false;
}

void CFileMoveThread::run()
{
    QString lastFolder;
    while (m_bKeepRunning) {
        const QString path = m_pTask->takeNext();
        if (path.isEmpty())
            break;
        const CFileFacts facts = dp::platform::fileOps().fileFacts(path);
        const qint64 size = facts.i64Size;
        const std::shared_ptr<CRemovalGuard> pGuard = m_pTask->guard();
        const CRemovalTurn turn(pGuard != nullptr);
        if (pGuard) {
            const QString strWhy = pGuard->check(path, turn);
            if (!strWhy.isEmpty()) {
                Q_EMIT signalMoveFailed(path, strWhy);
                Q_EMIT signalMoveResult(path, size, false);
                continue;
            }
        } else if (!facts.bExists) {
            continue;
        }

        const QString folder = targetFolder(m_strTargetFolder, path);
        // Neighbouring files share a folder; we create it once, and retry because another
        // worker may be creating the same parents at this moment.
        if (folder != lastFolder) {
            for (int i = 0; i < kMkpathTries; ++i) {
                if (dp::platform::fileOps().makeFolder(folder))
                    break;
                QThread::msleep(kMkpathRetryMs);
            }
            lastFolder = folder;
        }

        QString strError;
        const bool bMoved = moveInto(path, folder, &strError);
        if (!bMoved)
            Q_EMIT signalMoveFailed(path, strError);
        Q_EMIT signalMoveResult(path, facts.i64Size, bMoved);
    }
    qCDebug(lcFileOps) << "thread: " << QThread::currentThreadId() << " finished.......";
}
