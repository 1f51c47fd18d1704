#pragma once

#include "CProgressThrottle.h"

#include <QElapsedTimer>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QStringList>

#include <atomic>
#include <memory>

class CFileMoveManager;

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

public:
    // Extra room a move folder's drive must keep besides the files.
    static constexpr qint64 kSpaceReserve = 0x40000000;

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

    // The marked photos as the scan manager last counted them: their total size, the bytes
    // they occupy per drive and their paths.
    void setCheckedInfo(qint64 i64CheckedSize, const QMap<QString, qint64> &mapDriveSize,
                        const QStringList &listCheckedPaths);
    // The drive key a per-drive table files a path under ("C:", or a mount point on Linux).
    static QString driveKey(const QString &strPath);
    // The bytes the files occupy on disk now, per drive key.
    static QMap<QString, qint64> driveSizes(const QStringList &listPaths);

    // True when a marked photo (or one of listPaths) lies on a removable drive.
    bool checkIsContainUsb() const;
    bool checkIsContainUsb(const QStringList &listPaths) const;
    // False when the trash of some drive is too small for the marked photos on it.
    bool checkTrashSufficient();
    // False when strFilePath alone is larger than the trash of its drive.
    bool checkTrashSufficient(const QString &strFilePath);
    // True when the drive of strPath has room for the marked photos and kSpaceReserve.
    bool checkSpace(const QString &strPath) const;

Q_SIGNALS:
    void sigProgressChanged();
    void sigShowProcessWind();
    void sigCloseProcessWind();

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

private:
    enum class EnRemoval { Delete, Trash };

    void resetProgress();
    void pauseForWindow(int iMs) const;
    QMap<QString, bool> removeEach(const QStringList &listFiles, EnRemoval removal);
    QMap<QString, bool> moveSerially(const QStringList &listFiles, const QString &strDstFolder);
    QMap<QString, bool> moveInPool(const QStringList &listFiles, const QString &strDstFolder);
    void announce(int iIndex, int iCount, const QString &strPath);
    void account(QMap<QString, bool> &mapResult, const QString &strPath, qint64 i64Size, bool bOk,
                 const QString &strError);
    void noteFailure(const QString &strPath, const QString &strText);
    void loadTrashCapacity();

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

    // The checks run on the GUI thread and on the scan manager's worker; one at a time.
    mutable QMutex m_checkLock;
    QMap<QString, qint64> m_mapTrashCapacity;
    QMap<QString, qint64> m_mapDriveSize;
    qint64 m_i64CheckedSize = 0;
    QStringList m_listCheckedPaths;

    mutable QMutex m_failureLock;
    QMap<QString, QString> m_mapFailures;

    std::unique_ptr<CFileMoveManager> m_pMoveManager;
};
