#include "CScanSession.h"

#include "CCollectionThread.h"
#include "CDecisionStore.h"
#include "CPlatform.h"
#include "CScanEngineLoader.h"
#include "IScanEngineExtras.h"
#include "IVolumes.h"
#include "XLogging.h"

CScanSession::CScanSession(QObject *parent) : QObject(parent)
{
    const CLoadedEngine loaded = CScanEngineLoader::load();
    m_pEngine = loaded.pEngine;
    m_pExtras = loaded.pExtras;
    if (m_pEngine) {
        int32_t iZero = 0;
        m_pEngine->Initialize(&iZero);
        m_pEngine->SetSink(this);
        m_pFilter = m_pEngine->CreateFilter();
    }
    if (IScanEngineExtras *pExtras = m_pExtras)
        m_store.setContentKeySource([pExtras](quint64 iFileId) { return pExtras->GetContentKey(iFileId); });
}

CScanSession::~CScanSession()
{
    if (m_pWorker && !m_pWorker->isFinishedRun()) {
        m_pWorker->requestStop();
        if (m_pEngine)
            m_pEngine->Stop();
        m_pWorker->wait();
    }
    if (m_pFilter)
        m_pFilter->Release();
    m_store.setContentKeySource({});
    if (m_pExtras)
        m_pExtras->Release();
}

bool CScanSession::start(const CScanSettings &settings)
{
    if (!m_pEngine || !m_pFilter || m_pWorker)
        return false;
    m_settings = settings;
    m_store.clear();
    m_progress.startScan();
    m_iEngineResult = 0;

    CScanJob job;
    job.pEngine = m_pEngine;
    job.pFilter = m_pFilter;
    job.pExtras = m_pExtras;
    job.pSink = this;
    job.listSources = settings.listSources;
    job.mapVolumes = m_mapVolumes;
    job.mapOptions = CScanIntake::optionsOf(settings);
    job.extras.bRotations = settings.bRotations;
    job.extras.bExactFeatures = settings.bExactFeatures;
    job.iSimilarity = static_cast<quint8>(CScanIntake::similarityOf(job.mapOptions));
    job.iMinimumMs = 0;
    if (m_pExtras) {
        // Remembered "Not duplicates" pairs keep their photos apart here as in the window.
        CDecisionStore decisions;
        if (!decisions.open(CDecisionStore::storePath()))
            qCWarning(lcLoadApp).noquote() << decisions.errorText();
        else
            job.extras.listPairs = decisions.flatPairs();
    }
    auto *pWorker = new CCollectionThread(std::move(job));
    m_pWorker = pWorker;
    connect(pWorker, &CCollectionThread::sigIntakeDone, this, [this] { Q_EMIT sigProgress(3, 100); });
    m_listVanished.clear();
    connect(pWorker, &CCollectionThread::sigSourcesVanished, this,
            [this](const QStringList &listVanished) { m_listVanished = listVanished; });
    connect(pWorker, &CBaseThread::sigFinished, this, &CScanSession::onWorkerFinished, Qt::QueuedConnection);
    if (m_bStop)
        pWorker->requestStop();
    pWorker->start(QThread::InheritPriority);
    return true;
}

void CScanSession::stop()
{
    m_bStop = true;
    if (CCollectionThread *pWorker = m_pWorker.data()) {
        pWorker->requestStop();
        if (m_pEngine)
            m_pEngine->Stop();
    }
}

void CScanSession::onWorkerFinished(int iResult)
{
    if (m_pWorker)
        m_pWorker->wait();
    m_pWorker.clear();
    if (m_bStop) {
        Q_EMIT sigFinished(EnResult::Stopped);
        return;
    }
    if (iResult != 0) {
        m_iEngineResult = iResult;
        qCWarning(lcLoadApp) << "the scan engine ended the scan with" << iResult;
        Q_EMIT sigFinished(EnResult::Failed);
        return;
    }
    m_skipped = CScanIntake::skipped(m_pExtras);
    // The proposed marks: the same rule the window applies.
    (void)m_store.markAll();
    Q_EMIT sigFinished(EnResult::Done);
}

CScanReport CScanSession::report() const
{
    return CScanIntake::report(m_store, m_pExtras, m_settings);
}

bool CScanSession::OnVolume(IScanVolume *pVolume)
{
    if (pVolume && pVolume->IsReady() != 0) {
        const QString root = QString::fromUtf16(pVolume->GetRootPath());
        m_mapVolumes.insert(dp::platform::volumes().keyOfRoot(root), pVolume);
    }
    return true;
}

bool CScanSession::DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes)
{
    const int iPercent = m_progress.onDone(iStep, i64Done, i64Bytes, m_pExtras);
    if (iPercent >= 0)
        Q_EMIT sigProgress(iStep, iPercent);
    return true;
}

bool CScanSession::StepFinished(int32_t iStep, uint64_t i64NextItems)
{
    Q_EMIT sigProgress(iStep, 99);
    m_progress.onStepFinished(iStep, i64NextItems);
    return true;
}

void CScanSession::fileRecord(const PhotoRecord *pRecord, quint64 iKey, bool bJoined)
{
    QMutexLocker locker(&m_intakeLock);
    CPhotoRecordCopy copy;
    if (CScanIntake::copyRecord(pRecord, &copy))
        CScanIntake::filePhoto(m_store, copy, iKey, bJoined);
}

bool CScanSession::OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey)
{
    fileRecord(pRecord, iKey, false);
    return true;
}

bool CScanSession::OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey)
{
    fileRecord(pRecord, iGroupKey, true);
    return true;
}

bool CScanSession::OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto)
{
    if (!pAbsorbed || !pInto)
        return true;
    QMutexLocker locker(&m_intakeLock);
    CResultStore::CMerge merge;
    (void)CScanIntake::mergeGroups(m_store, m_pExtras, *pAbsorbed, *pInto, &merge);
    return true;
}
