// Remembered "Not duplicates" decisions and the engine's optional additions.
#include "CDupPicsMgr.h"

#include "CCollectionThread.h"
#include "CDecisionStore.h"
#include "IScanEngineExtras.h"
#include "XLogging.h"

#include <QFileInfo>
#include <QSet>
#include <QThread>

void CDupPicsMgr::setDecisionStorePathOverride(const QString &strPath)
{
    CDecisionStore::setStorePathOverride(strPath);
}

QString CDupPicsMgr::decisionStorePath()
{
    return CDecisionStore::storePath();
}

CDecisionStore *CDupPicsMgr::decisionStore() const
{
    // The database connection belongs to the thread that opened it; workers only read
    // the store's copy of the pairs.
    if (!m_pDecisions && QThread::currentThread() == thread()) {
        m_pDecisions = std::make_unique<CDecisionStore>();
        if (!m_pDecisions->open(decisionStorePath()))
            qCWarning(lcLoadApp).noquote() << m_pDecisions->errorText();
    }
    return m_pDecisions.get();
}

bool CDupPicsMgr::decisionsEnabled() const
{
    const CDecisionStore *pStore = decisionStore();
    return pStore && pStore->isEnabled();
}

QString CDupPicsMgr::decisionsError() const
{
    const CDecisionStore *pStore = decisionStore();
    return pStore ? pStore->errorText() : QString();
}

int CDupPicsMgr::decisionCount() const
{
    const CDecisionStore *pStore = decisionStore();
    return pStore ? pStore->count() : 0;
}

bool CDupPicsMgr::rotationMatching() const
{
    return CScanIntake::rotationsOf(m_mapOptions);
}

CEngineExtrasSettings CDupPicsMgr::engineExtrasSettings() const
{
    CEngineExtrasSettings settings;
    settings.bRotations = rotationMatching();
    // Only the command line sets it: the window always takes the faster first scan.
    settings.bExactFeatures =
        m_mapOptions.value(QStringLiteral("exactFeatures")).toMap().value(QStringLiteral("value")).toInt() != 0;
    if (m_pDecisions && m_pDecisions->isEnabled())
        settings.listPairs = m_pDecisions->flatPairs();
    return settings;
}

void CDupPicsMgr::applyEngineExtras()
{
    engineExtrasSettings().applyTo(m_pExtras);
}

bool CDupPicsMgr::separateGroup(QVariant pGroup)
{
    return separatePaths(pGroup.toULongLong(), {}, true);
}

bool CDupPicsMgr::separatePair(QVariant pGroup, QString strPathA, QString strPathB)
{
    if (strPathA.isEmpty() || strPathB.isEmpty() || strPathA == strPathB)
        return false;
    return separatePaths(pGroup.toULongLong(), {strPathA, strPathB}, false);
}

bool CDupPicsMgr::separatePaths(quint64 pGroup, const QStringList &listPaths, bool bAllPairs)
{
    // The tables are rewritten by a scan or regroup; their keys would name other photos.
    if (!m_pExtras || isScanning() || isRegrouping())
        return false;
    CDecisionStore *pStore = decisionStore();
    if (!pStore || !pStore->isEnabled())
        return false;
    QList<QPair<QString, quint64>> listFiles;
    const bool bFound = m_store.readGroup(pGroup, [&](const GroupSummary &summary) {
        for (const CPhotoRecordCopy &file : summary.files) {
            if (file.isHidden() || (!bAllPairs && !listPaths.contains(file.path())))
                continue;
            listFiles << qMakePair(file.path(), quint64(file.record().fileId));
        }
    });
    if (!bFound) {
        DP_ERROR_TRACE();
        return false;
    }
    QList<CDecision> listPairs;
    QList<quint64> listKeys;
    for (const auto &file : qAsConst(listFiles))
        listKeys << m_pExtras->GetContentKey(file.second);
    for (int i = 0; i < listFiles.size(); ++i) {
        for (int j = i + 1; j < listFiles.size(); ++j) {
            // Equal keys are equal bytes: such copies cannot be told apart, let alone kept apart.
            if (listKeys[i] == 0 || listKeys[j] == 0 || listKeys[i] == listKeys[j])
                continue;
            CDecision pair;
            pair.iKeyA = listKeys[i];
            pair.iKeyB = listKeys[j];
            pair.strPathA = listFiles[i].first;
            pair.strPathB = listFiles[j].first;
            listPairs << pair;
        }
    }
    if (listPairs.isEmpty() || !pStore->addPairs(listPairs))
        return false;
    Q_EMIT sigDecisionsChanged();
    refreshSimilarSlot();
    return true;
}

QHash<quint64, QString> CDupPicsMgr::currentPathsOfKeys(const QSet<quint64> &setKeys) const
{
    QHash<quint64, QString> map;
    if (!m_pExtras || setKeys.isEmpty())
        return map;
    const QHash<QString, quint64> mapFileIds =
        m_store.readTables([](const CResultStore::CTables &tables) { return tables.mapFileIdOfPath; });
    for (auto it = mapFileIds.constBegin(); it != mapFileIds.constEnd(); ++it) {
        const quint64 iKey = m_pExtras->GetContentKey(it.value());
        if (setKeys.contains(iKey) && !map.contains(iKey) && QFileInfo::exists(it.key()))
            map.insert(iKey, it.key());
    }
    return map;
}

QVariantList CDupPicsMgr::decisionList() const
{
    QVariantList list;
    const CDecisionStore *pStore = decisionStore();
    if (!pStore)
        return list;
    const QList<CDecision> listDecisions = pStore->decisions();
    // A decision follows the content, so a file renamed or moved since is still meant:
    // show where the results found it when the name it had is gone.
    QSet<quint64> setMoved;
    QHash<QString, bool> mapExists;
    const auto exists = [&mapExists](const QString &strPath) {
        auto it = mapExists.find(strPath);
        if (it == mapExists.end())
            it = mapExists.insert(strPath, QFileInfo::exists(strPath));
        return *it;
    };
    for (const CDecision &decision : listDecisions) {
        if (!exists(decision.strPathA))
            setMoved.insert(decision.iKeyA);
        if (!exists(decision.strPathB))
            setMoved.insert(decision.iKeyB);
    }
    const QHash<quint64, QString> mapCurrent = currentPathsOfKeys(setMoved);
    const auto shown = [&](quint64 iKey, const QString &strPath) {
        return exists(strPath) ? strPath : mapCurrent.value(iKey, strPath);
    };
    for (const CDecision &decision : listDecisions) {
        list << QVariantMap{{QStringLiteral("id"), decision.iId},
                            {QStringLiteral("pathA"), shown(decision.iKeyA, decision.strPathA)},
                            {QStringLiteral("pathB"), shown(decision.iKeyB, decision.strPathB)},
                            {QStringLiteral("created"), decision.created.toLocalTime()}};
    }
    return list;
}

bool CDupPicsMgr::forgetDecision(qint64 iId)
{
    CDecisionStore *pStore = decisionStore();
    if (!pStore || !pStore->forget(iId))
        return false;
    Q_EMIT sigDecisionsChanged();
    return true;
}

bool CDupPicsMgr::forgetAllDecisions()
{
    CDecisionStore *pStore = decisionStore();
    if (!pStore || !pStore->forgetAll())
        return false;
    Q_EMIT sigDecisionsChanged();
    return true;
}
