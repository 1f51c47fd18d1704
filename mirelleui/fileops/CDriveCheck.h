#pragma once

#include <QCoreApplication>
#include <QMap>
#include <QMutex>
#include <QStringList>
#include <QVariantList>

// The drive facts a removal is asked about before it starts: removable drives among the
// photos, whether the trash can take them, room in a move folder. Owned by the deletion
// service; callable from the GUI thread and the scan manager's worker.
class CDriveCheck
{
    Q_DECLARE_TR_FUNCTIONS(CDriveCheck)

public:
    // Extra room a move folder's drive must keep besides the files.
    static constexpr qint64 kSpaceReserve = 0x40000000;

    // The marked photos as the scan manager last counted them: their total size, the bytes
    // they occupy per drive and their paths.
    void setCheckedInfo(qint64 i64CheckedSize, const QMap<QString, qint64> &mapDriveSize,
                        const QStringList &listCheckedPaths);
    bool hasChecked() const;
    // The drive key a per-drive table files a path under ("C:", or a mount point on Linux).
    static QString driveKey(const QString &strPath);

    // True when a marked photo (or one of listPaths) lies on a removable drive.
    bool checkIsContainUsb() const;
    static bool checkIsContainUsb(const QStringList &listPaths);
    // False when the trash of some drive is too small for the marked photos on it.
    bool checkTrashSufficient() const;
    // False when strFilePath alone is larger than the trash of its drive.
    bool checkTrashSufficient(const QString &strFilePath) const;
    // True when the drive of strPath has room for the marked photos and kSpaceReserve.
    bool checkSpace(const QString &strPath) const;
    // The photos of listPaths the trash cannot take (a read-only drive, no trash folder
    // allowed there, no room), kept with their volumes and reasons for trashRefusals();
    // *pbRemovable tells whether one of those volumes is a removable drive.
    QStringList pathsTrashCannotTake(const QStringList &listPaths, bool *pbRemovable = nullptr);
    // The volumes the last pathsTrashCannotTake() found: volume, reason, photos (their
    // number), removable.
    QVariantList trashRefusals() const;

private:
    mutable QMutex m_lock;
    QMap<QString, qint64> m_mapDriveSize;
    qint64 m_i64CheckedSize = 0;
    QStringList m_listCheckedPaths;
    QVariantList m_listTrashRefusals;
};
