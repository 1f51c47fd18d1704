#include "CDriveCheck.h"

#include "CPlatform.h"
#include "IFileOps.h"

#include <QDir>
#include <QHash>
#include <QSet>

namespace {

// What a trash record takes on disk: one block.
constexpr qint64 kTrashRecordBytes = 4096;

} // namespace

void CDriveCheck::setCheckedInfo(qint64 i64CheckedSize, const QMap<QString, qint64> &mapDriveSize,
                                 const QStringList &listCheckedPaths)
{
    QMutexLocker locker(&m_lock);
    m_i64CheckedSize = i64CheckedSize;
    m_mapDriveSize = mapDriveSize;
    m_listCheckedPaths = listCheckedPaths;
}

bool CDriveCheck::hasChecked() const
{
    QMutexLocker locker(&m_lock);
    return !m_listCheckedPaths.isEmpty();
}

QString CDriveCheck::driveKey(const QString &strPath)
{
    return dp::platform::fileOps().driveKeys({strPath}).value(0);
}

bool CDriveCheck::checkIsContainUsb() const
{
    QStringList paths;
    {
        QMutexLocker locker(&m_lock);
        paths = m_listCheckedPaths;
    }
    return checkIsContainUsb(paths);
}

bool CDriveCheck::checkIsContainUsb(const QStringList &listPaths)
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

bool CDriveCheck::checkTrashSufficient() const
{
    QMutexLocker locker(&m_lock);
    if (m_listCheckedPaths.isEmpty())
        return true;
    const QMap<QString, qint64> mapCapacity = dp::platform::fileOps().trashCapacities();
    for (auto it = m_mapDriveSize.cbegin(); it != m_mapDriveSize.cend(); ++it) {
        const auto capacity = mapCapacity.constFind(it.key());
        if (capacity != mapCapacity.cend() && capacity.value() <= it.value())
            return false;
    }
    return true;
}

bool CDriveCheck::checkTrashSufficient(const QString &strFilePath) const
{
    if (strFilePath.isEmpty())
        return true;
    const QMap<QString, qint64> mapCapacity = dp::platform::fileOps().trashCapacities();
    const auto capacity = mapCapacity.constFind(driveKey(strFilePath));
    if (capacity == mapCapacity.cend())
        return true;
    return dp::platform::fileOps().fileFacts(strFilePath).i64Size <= capacity.value();
}

bool CDriveCheck::checkSpace(const QString &strPath) const
{
    // An empty path names no drive; a drive we cannot query reports no free space.
    if (strPath.isEmpty())
        return false;
    qint64 need = 0;
    {
        QMutexLocker locker(&m_lock);
        need = m_i64CheckedSize;
    }
    return dp::platform::fileOps().freeSpace(strPath) >= need + kSpaceReserve;
}

QStringList CDriveCheck::pathsTrashCannotTake(const QStringList &listPaths, bool *pbRemovable)
{
    IFileOps &fileOps = dp::platform::fileOps();
    struct CVolume
    {
        CTrashPlace place;
        QStringList listPaths;
        qint64 i64Size = 0;
    };
    // Photos share folders; a folder's trash is looked up once.
    QHash<QString, CTrashPlace> placeOfFolder;
    QMap<QString, CVolume> volumes;
    for (const QString &path : listPaths) {
        const QString folder = path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
        auto it = placeOfFolder.find(folder);
        if (it == placeOfFolder.end())
            it = placeOfFolder.insert(folder, fileOps.trashPlace(path));
        CVolume &volume = volumes[it->strVolume];
        if (volume.listPaths.isEmpty())
            volume.place = *it;
        // Two trashes of one volume (the home trash and the volume's own) cannot both fail
        // for different reasons that matter here: the first one found speaks for the volume.
        if (volume.place.strProblem.isEmpty() && !it->strProblem.isEmpty())
            volume.place = *it;
        volume.listPaths << path;
        volume.i64Size += fileOps.fileFacts(path).i64Size;
    }
    const QMap<QString, qint64> mapCapacity = fileOps.trashCapacities();

    QStringList listRefused;
    QVariantList listRefusals;
    bool bRemovable = false;
    for (auto it = volumes.cbegin(); it != volumes.cend(); ++it) {
        const CVolume &volume = it.value();
        QString reason = volume.place.strProblem;
        // A file reaches its trash by a rename on its own volume; only the records take room.
        if (reason.isEmpty() && volume.place.i64Free >= 0
            && volume.place.i64Free < kTrashRecordBytes * volume.listPaths.size())
            reason = tr("the drive is full");
        const auto capacity = mapCapacity.constFind(it.key());
        if (reason.isEmpty() && capacity != mapCapacity.cend() && *capacity < volume.i64Size)
            reason = tr("its trash may hold only %1 MB").arg(*capacity / (1024 * 1024));
        if (reason.isEmpty())
            continue;
        const bool bVolumeRemovable = fileOps.isRemovable(it.key());
        bRemovable = bRemovable || bVolumeRemovable;
        listRefused << volume.listPaths;
        listRefusals << QVariantMap{{QStringLiteral("volume"), QDir::toNativeSeparators(it.key())},
                                    {QStringLiteral("reason"), reason},
                                    {QStringLiteral("photos"), volume.listPaths.size()},
                                    {QStringLiteral("removable"), bVolumeRemovable}};
    }
    if (pbRemovable)
        *pbRemovable = bRemovable;
    QMutexLocker locker(&m_lock);
    m_listTrashRefusals = listRefusals;
    return listRefused;
}

QVariantList CDriveCheck::trashRefusals() const
{
    QMutexLocker locker(&m_lock);
    return m_listTrashRefusals;
}
