#include "CPhotosItemModel.h"

#include "CPhotosSortFilterProxyModel.h"
#include "CResultStore.h"
#include "ThumbBridge.h"
#include "XLogging.h"

#include <QDateTime>
#include <QDir>
#include <QLocale>

namespace {

// FILETIME counts 100 ns ticks from 1601-01-01; Qt counts milliseconds from 1970-01-01.
constexpr qint64 kFileTimeTicksPerMs = 10000;
constexpr qint64 kFileTimeEpochOffsetMs = 11644473600000LL;

} // namespace

CPhotosItemModel::CPhotosItemModel(CResultStore *pStore, quint64 pGroup, QObject *parent)
    : QAbstractItemModel(parent), m_pGroup(pGroup), m_pStore(pStore)
{
    qRegisterMetaType<QList<QPair<QString, bool>>>("QList<QPair<QString,bool> >");
    m_mapRoleNames = QAbstractItemModel::roleNames();
    m_mapRoleNames.insert(PhotosTypeRole, "photosType");
    m_mapRoleNames.insert(PhotosPathRole, "photosPath");
    m_mapRoleNames.insert(PhotosCheckRole, "photosCheck");
    m_mapRoleNames.insert(PhotosDataTimeRole, "photosDataTime");
    m_mapRoleNames.insert(PhotosWidthRole, "photosWidth");
    m_mapRoleNames.insert(PhotosHeightRole, "photosHeight");
    m_mapRoleNames.insert(PhotosFileNameRole, "photosFileName");
    m_mapRoleNames.insert(PhotosFilePathRole, "photosFilePath");
    m_mapRoleNames.insert(PhotosSizeRole, "photosSize");
    m_mapRoleNames.insert(PhotosDefinitionRole, "photosDefinition");
    m_mapRoleNames.insert(PhotosMaxPathRole, "photosMaxPath");
    m_mapRoleNames.insert(PhotosAbsolutePathRole, "photosAbsolutePath");
    m_mapRoleNames.insert(PhotosStateRole, "photosState");
    m_mapRoleNames.insert(PhotosBurstRole, "photosBurst");
    m_mapRoleNames.insert(MarkReasonRole, "markReason");
    m_mapRoleNames.insert(PhotosSimilarityRole, "photosSimilarity");
    m_mapRoleNames.insert(PhotosOriginalRole, "photosOriginal");

    QStringList listPaths;
    m_pStore->readGroup(m_pGroup, [&](const GroupSummary &summary) {
        listPaths.reserve(summary.files.size());
        for (const CPhotoRecordCopy &file : summary.files)
            listPaths.append(file.path());
    });
    beginResetModel();
    m_listPaths.reserve(listPaths.size());
    for (const QString &path : qAsConst(listPaths)) {
        m_mapRowOfPath.insert(path, m_listPaths.size());
        m_listPaths.append(path);
        m_listThumbStates.append(dp::thumbs::thumbnailState(path));
    }
    endResetModel();
}

QModelIndex CPhotosItemModel::index(int row, int column, const QModelIndex &parent) const
{
    if (!hasIndex(row, column, parent))
        return {};
    return createIndex(row, column);
}

QModelIndex CPhotosItemModel::parent(const QModelIndex &) const
{
    return {};
}

int CPhotosItemModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_listPaths.size();
}

int CPhotosItemModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_mapRoleNames.size();
}

Qt::ItemFlags CPhotosItemModel::flags(const QModelIndex &) const
{
    return Qt::NoItemFlags;
}

QHash<int, QByteArray> CPhotosItemModel::roleNames() const
{
    return m_mapRoleNames;
}

bool CPhotosItemModel::readRecord(int row, CPhotoRecordCopy *pRecord) const
{
    return m_pStore->readPhoto(m_pGroup, row, m_listPaths.at(row), pRecord);
}

QVariant CPhotosItemModel::data(const QModelIndex &index, int role) const
{
    if (role < PhotosTypeRole || role > PhotosOriginalRole || !index.isValid()
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const int row = index.row();
    if (role == PhotosStateRole) {
        if (row >= m_listThumbStates.size()) {
            DP_ERROR_TRACE();
            return ThumbState_Failed;
        }
        // A row whose group left the results has no record, and so no state to show.
        if (!readRecord(row, nullptr))
            return {};
        return m_listThumbStates.at(row);
    }
    CPhotoRecordCopy record;
    if (!readRecord(row, &record))
        return {};
    const PhotoRecord &raw = record.record();
    const QString &path = record.path();
    switch (role) {
    case PhotosTypeRole:
        return path.isEmpty() ? QStringLiteral("IMG") : typeOfPath(path);
    case PhotosPathRole:
        dp::thumbs::reserveThumbnail(m_pGroup, path);
        return QString(QStringLiteral("image://thumbProvider/") + (path.isEmpty() ? QString() : CResultStore::imageIdOfPath(path)));
    case PhotosCheckRole:
        return record.isMarked();
    case PhotosDataTimeRole:
        return dateTimeText(raw.dateTime);
    case PhotosWidthRole:
        return int(raw.width);
    case PhotosHeightRole:
        return int(raw.height);
    case PhotosFileNameRole:
        return fileNameOfPath(path);
    case PhotosFilePathRole:
        return path;
    case PhotosSizeRole:
        return QVariant::fromValue<quint64>(raw.fileSize);
    case PhotosDefinitionRole:
        return raw.definition;
    case PhotosMaxPathRole:
        return QString(QStringLiteral("image://maxThumbProvider/") + (path.isEmpty() ? QString() : CResultStore::imageIdOfPath(path)));
    case PhotosAbsolutePathRole:
        return folderOfPath(path);
    case PhotosBurstRole:
        return record.isBurst();
    case MarkReasonRole:
        return record.isMarked() ? CAutoMarkRule::reasonText(m_pStore->markReason(path)) : QString();
    case PhotosSimilarityRole:
        return int(raw.similarity);
    case PhotosOriginalRole:
        return record.isPreferred();
    default:
        return {};
    }
}

bool CPhotosItemModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != PhotosCheckRole || !value.isValid())
        return QAbstractItemModel::setData(index, value, role);
    if (!index.isValid() || index.model() != this)
        return false;
    QString path;
    const int row = index.row();
    const bool bFound = m_pStore->readGroup(m_pGroup, [&](const GroupSummary &summary) {
        if (row < summary.files.size())
            path = summary.files.at(row).path();
    });
    if (!bFound || row >= m_listPaths.size() || path.isEmpty())
        return false;
    Q_EMIT sigMarkRequested(m_pGroup, path, value.toBool());
    return true;
}

void CPhotosItemModel::setCheckState(int row, bool bState)
{
    switch (m_pStore->markPhotoNow(m_pGroup, row, bState)) {
    case CResultStore::EnMarkResult::Done:
        Q_EMIT sigMarkedNow();
        break;
    case CResultStore::EnMarkResult::NoGroup:
    case CResultStore::EnMarkResult::BadRow:
    case CResultStore::EnMarkResult::NoPath:
        DP_ERROR_TRACE();
        break;
    }
}

void CPhotosItemModel::setCheckState(QList<QPair<QString, bool>> listState)
{
    for (const auto &state : qAsConst(listState)) {
        const int row = rowOfPath(state.first);
        if (row >= 0)
            emitRowChanged(row);
    }
}

void CPhotosItemModel::clearMark()
{
    Q_EMIT sigClearMarksRequested(m_pGroup);
}

bool CPhotosItemModel::addPhoto(const QString &strPath)
{
    if (m_mapRowOfPath.contains(strPath))
        return false;
    const int row = m_listPaths.size();
    beginInsertRows(QModelIndex(), row, row);
    m_listPaths.append(strPath);
    // A photo that moved here from a merged group may have its thumbnail already.
    m_listThumbStates.append(dp::thumbs::thumbnailState(strPath));
    m_mapRowOfPath.insert(strPath, row);
    endInsertRows();
    return true;
}

bool CPhotosItemModel::refreshPhoto(const QString &strPath)
{
    const int row = rowOfPath(strPath);
    if (row < 0)
        return false;
    emitRowChanged(row);
    return true;
}

void CPhotosItemModel::refreshAll()
{
    if (m_listPaths.isEmpty())
        return;
    Q_EMIT dataChanged(index(0, 0), index(m_listPaths.size() - 1, 0));
}

void CPhotosItemModel::emitRowChanged(int row)
{
    const QModelIndex idx = index(row, 0);
    Q_EMIT dataChanged(idx, idx);
}

QModelIndex CPhotosItemModel::indexOfPath(const QString &strPath) const
{
    int iFound = -1;
    m_pStore->readGroup(m_pGroup, [&](const GroupSummary &summary) {
        for (int i = 0; i < summary.files.size(); ++i) {
            if (summary.files.at(i).path().compare(strPath, Qt::CaseInsensitive) == 0) {
                iFound = i;
                break;
            }
        }
    });
    return iFound < 0 ? QModelIndex() : index(iFound, 0);
}

int CPhotosItemModel::proxyRowOf(int row) const
{
    if (!m_pProxy)
        return 0;
    return m_pProxy->mapFromSource(index(row, 0)).row();
}

void CPhotosItemModel::setPhotoProxy(CPhotosSortFilterProxyModel *pProxy)
{
    m_pProxy = pProxy;
}

void CPhotosItemModel::clear()
{
    beginResetModel();
    m_listPaths.clear();
    m_listThumbStates.clear();
    m_mapRowOfPath.clear();
    endResetModel();
}

void CPhotosItemModel::slotRefreshThumb(QString strFilePath, bool bResult)
{
    const int row = rowOfPath(strFilePath);
    if (row < 0) {
        DP_ERROR_TRACE();
        return;
    }
    // Views ask the image provider only for a row whose thumbnail is ready, so the state
    // must follow every answer: a tile made later would otherwise never ask.
    m_listThumbStates[row] = bResult ? ThumbState_Ready : ThumbState_Failed;
    emitRowChanged(row);
}

QVariantList CPhotosItemModel::getFileInfo(QModelIndex row)
{
    return {data(row, PhotosMaxPathRole),
            QStringLiteral("%1 x %2")
                .arg(data(row, PhotosWidthRole).toString(), data(row, PhotosHeightRole).toString()),
            QLocale().formattedDataSize(data(row, PhotosSizeRole).toLongLong(), 2, QLocale::DataSizeIecFormat),
            data(row, PhotosDataTimeRole)};
}

void CPhotosItemModel::slotBigImageResult(QString filePath, QVariantMap metMap, bool bResult)
{
    const int row = rowOfPath(filePath);
    if (row < 0)
        return;
    QVariantList listInfo = getFileInfo(index(row, 0));
    const QString strCamera = metMap.value(QStringLiteral("cameraModel")).toString();
    if (!strCamera.isEmpty())
        listInfo.append(strCamera);
    const QString strLongitude = metMap.value(QStringLiteral("longitude")).toString();
    if (!strLongitude.isEmpty())
        listInfo.append(QObject::tr("Long: %1").arg(strLongitude));
    const QString strLatitude = metMap.value(QStringLiteral("latitude")).toString();
    if (!strLatitude.isEmpty())
        listInfo.append(QObject::tr("Lat: %1").arg(strLatitude));
    const QVariant shootTime = metMap.value(QStringLiteral("shootTime"));
    if (shootTime.isValid())
        listInfo[3] = shootTime.toString();
    if (!bResult)
        listInfo[0] = QVariant();
    Q_EMIT sigRefreshMaxThumb(proxyRowOf(row), listInfo);
}

QString CPhotosItemModel::typeOfPath(const QString &strPath)
{
    const int iDot = strPath.lastIndexOf(QLatin1Char('.'));
    return iDot < 0 ? QString() : strPath.mid(iDot).toUpper();
}

QString CPhotosItemModel::fileNameOfPath(const QString &strPath)
{
    if (strPath.isEmpty())
        return {};
    const QString native = QDir::toNativeSeparators(strPath);
    return native.mid(native.lastIndexOf(QDir::separator()) + 1);
}

QString CPhotosItemModel::folderOfPath(const QString &strPath)
{
    if (strPath.isEmpty())
        return {};
    const QString native = QDir::toNativeSeparators(strPath);
    return native.left(native.lastIndexOf(QDir::separator()) + 1);
}

QString CPhotosItemModel::dateTimeText(quint64 iFileTime)
{
    const qint64 iMs = static_cast<qint64>(iFileTime / kFileTimeTicksPerMs) - kFileTimeEpochOffsetMs;
    return QDateTime::fromMSecsSinceEpoch(iMs, Qt::UTC).toLocalTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}
