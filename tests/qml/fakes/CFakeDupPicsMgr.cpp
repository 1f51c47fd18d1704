#include "CFakeDupPicsMgr.h"

#include "CFakeGroupModel.h"

#include <QQmlEngine>

namespace {
QVariantMap optionRecord(const QString &strDesc, int iValue)
{
    return {{QStringLiteral("desc"), strDesc}, {QStringLiteral("value"), iValue}};
}

const char *const kPlaces[] = {"Lisbon", "Harbour", "Birthday", "Garden", "Snow trip", "Museum", "Beach", "Market"};
} // namespace

CFakeDupPicsMgr::CFakeDupPicsMgr(QObject *parent) : QObject(parent), m_pGroupModel(new CFakeGroupModel(this))
{
    QVariantMap mapMinSize = optionRecord(QStringLiteral("Minimum file size"), 100);
    mapMinSize.insert(QStringLiteral("index"), 0);
    mapMinSize.insert(QStringLiteral("unit"), QStringLiteral("KB"));
    m_mapOption = {{QStringLiteral("photoType"), optionRecord(QStringLiteral("Orignal photo only"), 0)},
                   {QStringLiteral("minSize"), mapMinSize},
                   {QStringLiteral("similarSlot"), optionRecord(QStringLiteral("70%"), 6)}};
}

void CFakeDupPicsMgr::logCall(const QString &strCall)
{
    m_listCalls << strCall;
    emit callsChanged();
}

int CFakeDupPicsMgr::callCount(const QString &strName) const
{
    int n = 0;
    for (const QString &strCall : m_listCalls)
        n += strCall.section(QLatin1Char('('), 0, 0) == strName ? 1 : 0;
    return n;
}

void CFakeDupPicsMgr::clearCalls()
{
    m_listCalls.clear();
    emit callsChanged();
}

void CFakeDupPicsMgr::setSources(const QStringList &listSources)
{
    m_listSources = listSources;
    emit sigSourcesChanged();
}

void CFakeDupPicsMgr::setupResults(const QVariantList &listPhotoCounts)
{
    qDeleteAll(m_listGroups);
    m_listGroups.clear();
    for (int i = 0; i < listPhotoCounts.size(); ++i) {
        const QString strPlace = QString::fromLatin1(kPlaces[i % 8]);
        QVector<CFakePhoto> listPhotos;
        for (int j = 0; j < listPhotoCounts.at(i).toInt(); ++j) {
            CFakePhoto photo;
            const QString strFolder = j % 2 ? QStringLiteral("D:/Backup/Phone/") : QStringLiteral("C:/Users/anna/Pictures/");
            photo.strPath = QStringLiteral("%1%2/IMG_%3.jpg").arg(strFolder, strPlace).arg(4200 + i * 17 + j);
            photo.iWidth = j % 3 ? 4032 : 2016;
            photo.iHeight = j % 3 ? 3024 : 1512;
            photo.i64Size = 1500000 + qlonglong((i * 7919 + j * 104729) % 3000000);
            photo.strDate = QStringLiteral("2023-%1-%2 1%3:2%4:0%5")
                                .arg(1 + i % 12, 2, 10, QLatin1Char('0'))
                                .arg(1 + (i * 3 + j) % 28, 2, 10, QLatin1Char('0'))
                                .arg(j % 10).arg(i % 10).arg(j % 10);
            // A few thumbnails fail and a few are not made yet, as in a real result list.
            photo.iState = (i * 7 + j) % 23 == 9 ? 2 : ((i * 5 + j) % 13 == 6 ? 0 : 1);
            photo.iSimilarity = j == 0 ? 100 : 100 - (i * 3 + j * 5) % 17;
            listPhotos << photo;
        }
        auto *pModel = new CFakePhotoModel(this, quint64(1000 + i), listPhotos);
        QQmlEngine::setObjectOwnership(pModel, QQmlEngine::CppOwnership);
        connect(pModel, &CFakePhotoModel::sigDeleteOnePhotos, this,
                [this](const QVariant &pGroup, const QString &strPath) { doDelSingleDupPic(pGroup, strPath, 1); });
        m_listGroups << pModel;
    }
    m_pGroupModel->reset();
    recount();
}

void CFakeDupPicsMgr::recount()
{
    qlonglong i64Size = 0;
    qlonglong i64Checked = 0;
    int iChecked = 0;
    for (const CFakePhotoModel *pGroup : qAsConst(m_listGroups)) {
        for (const CFakePhoto &photo : pGroup->photos()) {
            i64Size += photo.i64Size;
            if (photo.bMarked) {
                ++iChecked;
                i64Checked += photo.i64Size;
            }
        }
    }
    m_i64GroupCount = m_listGroups.size();
    m_i64DupSize = i64Size;
    m_bHasDupPics = !m_listGroups.isEmpty();
    m_iCheckedCount = iChecked;
    m_i64CheckedSize = i64Checked;
    emit sigTotalGroupCountChanged();
    emit sigTotalDupImgSizeChanged();
    emit sigHasDupPicsChanged();
    emit sigCheckedItemCountChanged();
    emit sigRefreshTotalInfo();
}

CFakePhotoModel *CFakeDupPicsMgr::findGroup(const QVariant &pGroup) const
{
    const quint64 key = pGroup.toULongLong();
    for (CFakePhotoModel *pModel : m_listGroups) {
        if (pModel->groupKey() == key)
            return pModel;
    }
    return nullptr;
}

void CFakeDupPicsMgr::addCollectPath()
{
    logCall(QStringLiteral("addCollectPath"));
}

void CFakeDupPicsMgr::addDropPaths(const QList<QUrl> &dropList)
{
    logCall(QStringLiteral("addDropPaths(%1)").arg(dropList.size()));
    for (const QUrl &url : dropList)
        m_listSources << url.toLocalFile();
    emit sigSourcesChanged();
}

void CFakeDupPicsMgr::addWholeComputer()
{
    logCall(QStringLiteral("addWholeComputer"));
    m_listSources << QStringLiteral("C:/") << QStringLiteral("D:/");
    emit sigSourcesChanged();
}

void CFakeDupPicsMgr::removeCollectPath(const QString &path)
{
    logCall(QStringLiteral("removeCollectPath(%1)").arg(path));
    if (path.isEmpty())
        m_listSources.clear();
    else
        m_listSources.removeAll(path);
    emit sigSourcesChanged();
}

void CFakeDupPicsMgr::removeCollectPath()
{
    removeCollectPath(QString());
}

void CFakeDupPicsMgr::clear()
{
    logCall(QStringLiteral("clear"));
    m_listSources.clear();
    emit sigSourcesChanged();
}

void CFakeDupPicsMgr::setOption(const QVariantMap &value)
{
    logCall(QStringLiteral("setOption"));
    m_mapOption = value;
}

int CFakeDupPicsMgr::getSimilarSlot() const
{
    return 100 - 5 * m_mapOption.value(QStringLiteral("similarSlot")).toMap().value(QStringLiteral("value")).toInt();
}

void CFakeDupPicsMgr::setShowDeleteWin(bool bShow)
{
    logCall(QStringLiteral("setShowDeleteWin(%1)").arg(bShow));
    m_bShowDeleteWin = bShow;
}

void CFakeDupPicsMgr::resetModel()
{
    logCall(QStringLiteral("resetModel"));
    setupResults({});
}

QObject *CFakeDupPicsMgr::model() const
{
    return m_pGroupModel;
}

QObject *CFakeDupPicsMgr::getPhotosModelByCreate(const QVariant &pGroup) const
{
    return findGroup(pGroup);
}

QObject *CFakeDupPicsMgr::getPhotosModelNoCreate(const QVariant &pGroup, bool) const
{
    return findGroup(pGroup);
}

void CFakeDupPicsMgr::doMark(const QVariant &groupKey)
{
    logCall(QStringLiteral("doMark(%1)").arg(groupKey.toULongLong()));
    if (CFakePhotoModel *pModel = findGroup(groupKey))
        pModel->setAllMarks(true, true);
    recount();
}

void CFakeDupPicsMgr::doAllMark()
{
    logCall(QStringLiteral("doAllMark"));
    for (CFakePhotoModel *pModel : qAsConst(m_listGroups))
        pModel->setAllMarks(true, true);
    recount();
}

void CFakeDupPicsMgr::clearAllMark()
{
    logCall(QStringLiteral("clearAllMark"));
    for (CFakePhotoModel *pModel : qAsConst(m_listGroups))
        pModel->setAllMarks(false, false);
    recount();
}

void CFakeDupPicsMgr::cancelRefresh()
{
    logCall(QStringLiteral("cancelRefresh"));
    emit sigCanclelRefresh();
}

void CFakeDupPicsMgr::doDelDupPicByMark(int iDelType, const QString &MoveToDirPath)
{
    logCall(QStringLiteral("doDelDupPicByMark(%1,%2)").arg(iDelType).arg(MoveToDirPath));
    m_iDeleteMethod = iDelType;
}

void CFakeDupPicsMgr::doDelSingleDupPic(const QVariant &pGroup, const QString &strFilePath, int iDelType)
{
    logCall(QStringLiteral("doDelSingleDupPic(%1,%2,%3)").arg(pGroup.toULongLong()).arg(strFilePath).arg(iDelType));
    m_iDeleteMethod = iDelType;
}

void CFakeDupPicsMgr::showFailedDelList()
{
    logCall(QStringLiteral("showFailedDelList"));
    if (m_listFailed.isEmpty())
        return;
    const QString strName = getFileName(m_listFailed.first());
    emit sigShowFailedDelList(m_listFailed.size() == 1
                                  ? tr("Failed to remove %1!").arg(strName)
                                  : tr("Failed to remove %1 and other %2 files!").arg(strName).arg(m_listFailed.size() - 1));
}

QString CFakeDupPicsMgr::getExistingDirectory()
{
    logCall(QStringLiteral("getExistingDirectory"));
    return m_strExistingDir;
}

void CFakeDupPicsMgr::setDecisions(const QVariantList &listDecisions)
{
    m_listDecisions = listDecisions;
    emit sigDecisionsChanged();
}

bool CFakeDupPicsMgr::separateGroup(const QVariant &pGroup)
{
    logCall(QStringLiteral("separateGroup(%1)").arg(pGroup.toULongLong()));
    return m_bHasEngineExtras && m_bDecisionsEnabled;
}

bool CFakeDupPicsMgr::separatePair(const QVariant &pGroup, const QString &strPathA, const QString &strPathB)
{
    logCall(QStringLiteral("separatePair(%1,%2,%3)").arg(pGroup.toULongLong()).arg(strPathA, strPathB));
    return m_bHasEngineExtras && m_bDecisionsEnabled;
}

bool CFakeDupPicsMgr::forgetDecision(qlonglong iId)
{
    logCall(QStringLiteral("forgetDecision(%1)").arg(iId));
    for (int i = 0; i < m_listDecisions.size(); ++i) {
        if (m_listDecisions.at(i).toMap().value(QStringLiteral("id")).toLongLong() == iId) {
            m_listDecisions.removeAt(i);
            emit sigDecisionsChanged();
            return true;
        }
    }
    return false;
}

bool CFakeDupPicsMgr::forgetAllDecisions()
{
    logCall(QStringLiteral("forgetAllDecisions"));
    m_listDecisions.clear();
    emit sigDecisionsChanged();
    return true;
}
