#include "CCollectionThread.h"

#include "CDupPicsMgr.h"
#include "COperateTaskQueue.h"
#include "CPlatform.h"
#include "IVolumes.h"

#include <QDebug>
#include <QDir>
#include <QElapsedTimer>

#include <algorithm>

namespace {

constexpr int kMinimumScanMs = 1000;
constexpr int kIntakePollMs = 200;

// Nesting goes by whole path components: "/p/a" holds "/p/a/b" but neither "/p/ab" nor "/x/p/a/b".
bool isWithin(const QString &strPath, const QString &strFolder)
{
    const QString path = QDir::cleanPath(strPath);
    const QString folder = QDir::cleanPath(strFolder);
    if (path == folder)
        return true;
    const QString prefix = folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return path.startsWith(prefix);
}

} // namespace

CCollectionThread::CCollectionThread(CDupPicsMgr *pMgr) : m_pMgr(pMgr) {}

QStringList CCollectionThread::pruneNestedSources(QStringList listSources)
{
    listSources.sort();
    const QStringList copy = listSources;
    for (int i = 1; i < copy.size(); ++i) {
        const QString &prev = copy[i - 1];
        const QString &cur = copy[i];
        if (QDir::cleanPath(cur) != QDir::cleanPath(prev) && isWithin(cur, prev))
            listSources.removeOne(cur);
    }
    return listSources;
}

QStringList CCollectionThread::outermostFolders(const QStringList &listSources)
{
    QStringList list;
    for (const QString &source : listSources) {
        if (std::any_of(list.cbegin(), list.cend(), [&](const QString &entry) { return isWithin(source, entry); }))
            continue;
        list.erase(std::remove_if(list.begin(), list.end(), [&](const QString &entry) { return isWithin(entry, source); }),
                   list.end());
        list.append(source);
    }
    return list;
}

void CCollectionThread::mapSourcesToVolumes()
{
    const IVolumes &volumes = dp::platform::volumes();
    m_pMgr->m_listSources = pruneNestedSources(m_pMgr->m_listSources);
    for (const QString &folder : outermostFolders(m_pMgr->m_listSources)) {
        const QString absolute = QDir(folder).absolutePath();
        const QString key = volumes.keyOfPath(absolute);
        IScanVolume *pVolume = m_pMgr->m_mapVolumes.value(key, nullptr);
        if (!pVolume)
            continue;
        m_mapVolumePaths[pVolume].append(volumes.relativeToVolume(absolute, key));
        if (scanVolumeState(pVolume) == 0)
            pVolume->Prepare();
    }
}

void CCollectionThread::waitForIntake()
{
    COperateTaskQueue *pQueue = COperateTaskQueue::instance();
    for (;;) {
        if (m_bStop || isCancelled()) {
            pQueue->clear();
            return;
        }
        if (pQueue->isEmpty() && !m_pMgr->isOperateWorkerBusy()) {
            m_pMgr->startTotalsWorker();
            Q_EMIT m_pMgr->sigProcProgress(3, 100);
            qDebug() << "Scan finished............................................\n";
            return;
        }
        QThread::msleep(kIntakePollMs);
    }
}

int CCollectionThread::doRun()
{
    QElapsedTimer clock;
    clock.start();
    m_pMgr->m_iScanning = 1;
    int iResult = 0;
    IScanEngine *pEngine = m_pMgr->m_pEngine;
    IScanFilter *pFilter = m_pMgr->m_pFilter;

    if (pEngine && pFilter) {
        Q_EMIT m_pMgr->signalNextPage();
        mapSourcesToVolumes();
        for (auto it = m_mapVolumePaths.constBegin(); it != m_mapVolumePaths.constEnd(); ++it) {
            for (const QString &path : it.value())
                it.key()->AddPath(reinterpret_cast<const ZKChar *>(path.utf16()));
        }
        m_pMgr->applyOptionsToFilter(pFilter);
        m_pMgr->applyEngineExtras();
        m_pMgr->m_iCurrentStep = 0;
        m_pMgr->m_iStepTotal = 0;
        m_pMgr->StartThumbRefresh();
        pEngine->BeginScan();
        if (m_bStop) {
            pEngine->Stop();
            iResult = 1;
        } else {
            pEngine->FindDuplicates(m_pMgr, pFilter, static_cast<uint8_t>(m_pMgr->getSimilarSlot()));
            pEngine->Flush();
            iResult = pEngine->EndScan();
            waitForIntake();
        }
    }

    m_pMgr->m_iScanning = 0;
    const qint64 elapsed = clock.elapsed();
    // A scan that ends at once still shows its progress screen for a moment.
    if (elapsed < kMinimumScanMs)
        QThread::msleep(static_cast<unsigned long>(kMinimumScanMs - elapsed));
    return (m_bStop || isCancelled()) ? 1 : iResult;
}

void CCalcTotalDupImgInfoThread::recount(CDupPicsMgr *pMgr)
{
    qint64 iGroups = 0;
    qint64 iSize = 0;
    pMgr->resultStore()->shownTotals(&iGroups, &iSize);
    pMgr->setTotals(iGroups, iSize);
    Q_EMIT pMgr->sigRefreshTotalInfo();
}

int CCalcTotalDupImgInfoThread::doRun()
{
    recount(m_pMgr);
    return 0;
}
