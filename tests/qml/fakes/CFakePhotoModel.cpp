#include "CFakePhotoModel.h"

#include "CFakeDupPicsMgr.h"

#include <QLocale>

CFakePhotoModel::CFakePhotoModel(CFakeDupPicsMgr *pMgr, quint64 pGroup, QVector<CFakePhoto> listPhotos)
    : QAbstractListModel(pMgr), m_pMgr(pMgr), m_pGroup(pGroup), m_listPhotos(std::move(listPhotos))
{
}

int CFakePhotoModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_listPhotos.size();
}

QString CFakePhotoModel::photoId(int row) const
{
    // The state rides in the id so that the fake provider knows which pictures "fail".
    const CFakePhoto &photo = m_listPhotos.at(row);
    return QStringLiteral("g%1-%2-s%3").arg(m_pGroup).arg(row).arg(photo.iState);
}

QVariant CFakePhotoModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const CFakePhoto &photo = m_listPhotos.at(index.row());
    switch (role) {
    case PhotosType: return QLatin1Char('.') + photo.strPath.section(QLatin1Char('.'), -1).toUpper();
    case PhotosPath: return QStringLiteral("image://thumbProvider/") + photoId(index.row());
    case PhotosCheck: return photo.bMarked;
    case PhotosDataTime: return photo.strDate;
    case PhotosWidth: return photo.iWidth;
    case PhotosHeight: return photo.iHeight;
    case PhotosFileName: return photo.strPath.section(QLatin1Char('/'), -1);
    case PhotosFilePath: return photo.strPath;
    case PhotosSize: return QVariant::fromValue<quint64>(quint64(photo.i64Size));
    case PhotosDefinition: return 0.5;
    case PhotosMaxPath: return QStringLiteral("image://maxThumbProvider/") + photoId(index.row());
    case PhotosAbsolutePath: return photo.strPath.section(QLatin1Char('/'), 0, -2) + QLatin1Char('/');
    case PhotosState: return photo.iState;
    case PhotosBurst: return photo.bBurst;
    case PhotosSimilarity: return photo.iSimilarity;
    default: return {};
    }
}

QHash<int, QByteArray> CFakePhotoModel::roleNames() const
{
    return {{PhotosType, "photosType"},         {PhotosPath, "photosPath"},
            {PhotosCheck, "photosCheck"},       {PhotosDataTime, "photosDataTime"},
            {PhotosWidth, "photosWidth"},       {PhotosHeight, "photosHeight"},
            {PhotosFileName, "photosFileName"}, {PhotosFilePath, "photosFilePath"},
            {PhotosSize, "photosSize"},         {PhotosDefinition, "photosDefinition"},
            {PhotosMaxPath, "photosMaxPath"},   {PhotosAbsolutePath, "photosAbsolutePath"},
            {PhotosState, "photosState"},       {PhotosBurst, "photosBurst"},
            {PhotosSimilarity, "photosSimilarity"}};
}

void CFakePhotoModel::setAllMarks(bool bKeepFirst, bool bOn)
{
    for (int i = 0; i < m_listPhotos.size(); ++i)
        m_listPhotos[i].bMarked = bOn && !(bKeepFirst && i == 0);
    if (!m_listPhotos.isEmpty())
        emit dataChanged(index(0), index(m_listPhotos.size() - 1));
}

void CFakePhotoModel::removePath(const QString &strPath)
{
    for (int i = 0; i < m_listPhotos.size(); ++i) {
        if (m_listPhotos.at(i).strPath == strPath) {
            beginRemoveRows({}, i, i);
            m_listPhotos.remove(i);
            endRemoveRows();
            return;
        }
    }
}

void CFakePhotoModel::setThumbState(int row, int iState)
{
    if (row < 0 || row >= m_listPhotos.size())
        return;
    m_listPhotos[row].iState = iState;
    emit dataChanged(index(row), index(row));
}

void CFakePhotoModel::setMarks(const QVariantList &listMarks)
{
    for (int i = 0; i < m_listPhotos.size() && i < listMarks.size(); ++i)
        m_listPhotos[i].bMarked = listMarks.at(i).toBool();
    m_pMgr->recount();
}

void CFakePhotoModel::setBurst(const QVariantList &listBurst)
{
    for (int i = 0; i < m_listPhotos.size() && i < listBurst.size(); ++i)
        m_listPhotos[i].bBurst = listBurst.at(i).toBool();
    if (!m_listPhotos.isEmpty())
        emit dataChanged(index(0), index(m_listPhotos.size() - 1), {PhotosBurst});
}

void CFakePhotoModel::refresh()
{
    beginResetModel();
    endResetModel();
}

bool CFakePhotoModel::getCheckState(int row) const
{
    return row >= 0 && row < m_listPhotos.size() && m_listPhotos.at(row).bMarked;
}

void CFakePhotoModel::setCurrentShowPosition(double row)
{
    const int iRow = int(row);
    if (iRow == m_iShowPos)
        return;
    m_iShowPos = iRow;
    emit sigPhotosShowPosChanged();
}

QStringList CFakePhotoModel::getCurrentShowPhotos() const
{
    QStringList list;
    for (int i = m_iShowPos; i < m_listPhotos.size() && i < m_iShowPos + 16; ++i)
        list << m_listPhotos.at(i).strPath;
    return list;
}

// Like the real proxy, a single mark changes the record without a dataChanged.
void CFakePhotoModel::setCheckState(int row, bool bState)
{
    if (row < 0 || row >= m_listPhotos.size())
        return;
    m_listPhotos[row].bMarked = bState;
    m_pMgr->logCall(QStringLiteral("setCheckState(%1,%2)").arg(row).arg(bState));
    m_pMgr->recount();
}

void CFakePhotoModel::setCheckStateByDesktop(int row, bool bState)
{
    setCheckState(row, bState);
    emit sigRefreshMarkInfo();
}

void CFakePhotoModel::setCheckStateByDesktop(int row)
{
    setCheckStateByDesktop(row, !getCheckState(row));
}

void CFakePhotoModel::deleteOnePhotos(int row)
{
    if (row >= 0 && row < m_listPhotos.size())
        emit sigDeleteOnePhotos(QVariant::fromValue(m_pGroup), m_listPhotos.at(row).strPath);
}

void CFakePhotoModel::clearMark()
{
    m_pMgr->logCall(QStringLiteral("clearMark(%1)").arg(m_pGroup));
    setAllMarks(false, false);
    m_pMgr->recount();
}

QVariantList CFakePhotoModel::getFileInfo(int row) const
{
    if (row < 0 || row >= m_listPhotos.size())
        return {};
    const CFakePhoto &photo = m_listPhotos.at(row);
    return {QStringLiteral("image://maxThumbProvider/") + photoId(row),
            QStringLiteral("%1 x %2").arg(photo.iWidth).arg(photo.iHeight),
            QLocale().formattedDataSize(photo.i64Size, 2, QLocale::DataSizeIecFormat), photo.strDate};
}

void CFakePhotoModel::getMaxThumb(int row)
{
    if (row < 0 || row >= m_listPhotos.size())
        return;
    m_strLastMaxThumb = m_listPhotos.at(row).strPath;
    emit sigNewBigImgTask(QVariant::fromValue(m_pGroup), m_strLastMaxThumb);
    QVariantList list = getFileInfo(row);
    list << QStringLiteral("Model X-200") << QStringLiteral("Long: 9.1393") << QStringLiteral("Lat: 38.7223");
    if (m_listPhotos.at(row).iState == 2)
        list[0] = QVariant();
    emit sigRefreshMaxThumb(row, list);
}

QVariant CFakePhotoModel::getPhotosWidth(int row) const
{
    return row >= 0 && row < m_listPhotos.size() ? QVariant(m_listPhotos.at(row).iWidth) : QVariant();
}

QVariant CFakePhotoModel::getPhotosHeight(int row) const
{
    return row >= 0 && row < m_listPhotos.size() ? QVariant(m_listPhotos.at(row).iHeight) : QVariant();
}
