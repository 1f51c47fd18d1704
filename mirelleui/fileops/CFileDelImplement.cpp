#include "CFileDelImplement.h"

#include "CFileMoveManager.h"
#include "CFileMoveThread.h"
#include "CPlatform.h"
#include "FileOpsLogging.h"
#include "IFileOps.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>

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

CFileDelImplement::CFileDelImplement(QObject *parent) : QObject(parent)
{
    resetProgress();
    m_pMoveManager = std::make_unique<CFileMoveManager>();
    connect(m_pMoveManager.get(), &CFileMoveManager::signalProgressInfo, this, &CFileDelImplement::slotProgressInfo);
}

CFileDelImplement::~CFileDelImplement() = default;

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
    if (listFiles.isEmpty())
        return {};
    resetProgress();
    Q_EMIT sigShowProcessWind();
    m_iProgress = 0;
    pauseForWindow(kTrashPauseMs);
    return removeEach(listFiles, EnRemoval::Trash);
}

QMap<QString, bool> CFileDelImplement::removeEach(const QStringList &listFiles, EnRemoval removal)
{
    IFileOps &fileOps = dp::platform::fileOps();
    QMap<QString, bool> mapResult;
    m_clock.start();
    m_throttle.start(0);
    for (int i = 0; i < listFiles.size() && !m_bCancel; ++i) {
        const QString &path = listFiles.at(i);
        const QFileInfo info(path);
        const qint64 size = info.size();
        bool bOk = true;
        QString strError;
        // A file that is gone already is what the user asked for; a dangling link is
        // removed like a file.
        if (info.exists() || info.isSymLink()) {
            bOk = removal == EnRemoval::Delete ? fileOps.removeFile(path, &strError)
                                               : fileOps.moveToTrash(path, &strError);
        }
        if (!bOk) {
            strError = (removal == EnRemoval::Delete ? tr("Cannot delete \"%1\": %2")
                                                     : tr("Cannot move \"%1\" to the trash: %2"))
                           .arg(QDir::toNativeSeparators(path), strError);
        }
        announce(i, listFiles.size(), path);
        account(mapResult, path, size, bOk, strError);
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
    const bool bRemovable = dp::platform::fileOps().isRemovable(driveKey(strDstFloder));
    QMap<QString, bool> mapResult = bRemovable ? moveSerially(listFiles, strDstFloder)
                                               : moveInPool(listFiles, strDstFloder);
    Q_EMIT sigProgressChanged();
    m_iProgress = 100;
    return mapResult;
}

QMap<QString, bool> CFileDelImplement::moveSerially(const QStringList &listFiles, const QString &strDstFolder)
{
    QMap<QString, bool> mapResult;
    m_clock.start();
    m_throttle.start(0);
    for (int i = 0; i < listFiles.size() && !m_bCancel; ++i) {
        const QString &path = listFiles.at(i);
        const QFileInfo info(path);
        if (!info.exists()) {
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
        QDir().mkpath(folder);
        const qint64 size = info.size();
        QString strError;
        const bool bOk = CFileMoveThread::moveInto(path, folder, &strError);
        if (!bOk)
            strError = tr("Cannot move \"%1\" to \"%2\": %3").arg(QDir::toNativeSeparators(path), folder, strError);
        announce(i, listFiles.size(), path);
        account(mapResult, path, size, bOk, strError);
    }
    return mapResult;
}

QMap<QString, bool> CFileDelImplement::moveInPool(const QStringList &listFiles, const QString &strDstFolder)
{
    if (m_bCancel)
        return {};
    m_pMoveManager->prepare(listFiles, strDstFolder);
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
    return m_pMoveManager->results();
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

void CFileDelImplement::setCheckedInfo(qint64 i64CheckedSize, const QMap<QString, qint64> &mapDriveSize,
                                       const QStringList &listCheckedPaths)
{
    QMutexLocker locker(&m_checkLock);
    m_i64CheckedSize = i64CheckedSize;
    m_mapDriveSize = mapDriveSize;
    m_listCheckedPaths = listCheckedPaths;
}

QString CFileDelImplement::driveKey(const QString &strPath)
{
    return dp::platform::fileOps().driveKeys({strPath}).value(0);
}

QMap<QString, qint64> CFileDelImplement::driveSizes(const QStringList &listPaths)
{
    const QStringList keys = dp::platform::fileOps().driveKeys(listPaths);
    QMap<QString, qint64> map;
    for (int i = 0; i < listPaths.size(); ++i)
        map[keys.at(i)] += QFileInfo(listPaths.at(i)).size();
    return map;
}

bool CFileDelImplement::checkIsContainUsb() const
{
    QStringList paths;
    {
        QMutexLocker locker(&m_checkLock);
        paths = m_listCheckedPaths;
    }
    return checkIsContainUsb(paths);
}

bool CFileDelImplement::checkIsContainUsb(const QStringList &listPaths) const
{
    IFileOps &fileOps = dp::platform::fileOps();
    const QStringList keys = fileOps.driveKeys(listPaths);
    const QSet<QString> drives(keys.cbegin(), keys.cend());
    for (const QString &key : drives) {
        if (!key.isEmpty() && fileOps.isRemovable(key))
            return true;
    }
    return false;
}

void CFileDelImplement::loadTrashCapacity()
{
    m_mapTrashCapacity = dp::platform::fileOps().trashCapacities();
}

bool CFileDelImplement::checkTrashSufficient()
{
    {
        QMutexLocker locker(&m_checkLock);
        if (m_listCheckedPaths.isEmpty())
            return true;
    }
    resetProgress();
    QMutexLocker locker(&m_checkLock);
    loadTrashCapacity();
    if (m_mapTrashCapacity.isEmpty())
        return true;
    for (auto it = m_mapDriveSize.cbegin(); it != m_mapDriveSize.cend(); ++it) {
        const auto capacity = m_mapTrashCapacity.constFind(it.key());
        if (capacity != m_mapTrashCapacity.cend() && capacity.value() <= it.value())
            return false;
    }
    return true;
}

bool CFileDelImplement::checkTrashSufficient(const QString &strFilePath)
{
    if (strFilePath.isEmpty())
        return true;
    QMutexLocker locker(&m_checkLock);
    loadTrashCapacity();
    if (m_mapTrashCapacity.isEmpty())
        return true;
    const auto capacity = m_mapTrashCapacity.constFind(driveKey(strFilePath));
    if (capacity == m_mapTrashCapacity.cend())
        return true;
    return QFileInfo(strFilePath).size() <= capacity.value();
}

bool CFileDelImplement::checkSpace(const QString &strPath) const
{
    // An empty path names no drive; a drive we cannot query reports no free space.
    if (strPath.isEmpty())
        return false;
    qint64 need = 0;
    {
        QMutexLocker locker(&m_checkLock);
        need = m_i64CheckedSize;
    }
    return dp::platform::fileOps().freeSpace(strPath) >= need + kSpaceReserve;
}
