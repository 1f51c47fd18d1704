#pragma once

#include "CResultStore.h"
#include "CScanIntake.h"
#include "CScanReport.h"
#include "IScanEngine.h"

#include <QMap>
#include <QMutex>
#include <QObject>
#include <QPointer>

#include <atomic>

class CCollectionThread;
class IScanEngineExtras;

// One scan without a window: loads the engine, runs the scan worker, files the engine's
// results into its own result store as they come, then applies the marking rule.
// sigFinished follows each start() once, on this object's thread.
class CScanSession : public QObject, public IScanEngineSink, public IDuplicationGatherSink
{
    Q_OBJECT
public:
    enum class EnResult { Done, Stopped, Failed };
    Q_ENUM(EnResult)

    explicit CScanSession(QObject *parent = nullptr);
    ~CScanSession() override;

    // IZKObject is shared by both sinks; one count for both.
    int32_t AddRef() override { return IZKObject::AddRef(); }
    int32_t Release() override { return IZKObject::Release(); }

    bool OnVolume(IScanVolume *pVolume) override;
    bool DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes) override;
    bool StepFinished(int32_t iStep, uint64_t i64NextItems) override;
    bool OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey) override;
    bool OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey) override;
    bool OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto) override;

    bool hasEngine() const { return m_pEngine != nullptr; }
    // False when the engine is missing or a scan runs.
    bool start(const CScanSettings &settings);
    // The engine's own result when a scan failed.
    int engineResult() const { return m_iEngineResult; }

    // After Done: the results with the proposed marks, and what the scan passed over.
    const CResultStore &store() const { return m_store; }
    CScanReport report() const;
    CScanSkipped skipped() const { return m_skipped; }
    // After Done: the scanned folders that went away while it ran.
    QStringList vanishedSources() const { return m_listVanished; }

public Q_SLOTS:
    // Ends a running scan; sigFinished(Stopped) follows. Before start(), the next start stops at once.
    void stop();

Q_SIGNALS:
    void sigProgress(int iStep, int iPercent);
    void sigFinished(CScanSession::EnResult result);

private:
    void onWorkerFinished(int iResult);
    void fileRecord(const PhotoRecord *pRecord, quint64 iKey, bool bJoined);

    IScanEngine *m_pEngine = nullptr;
    IScanFilter *m_pFilter = nullptr;
    IScanEngineExtras *m_pExtras = nullptr;
    QMap<QString, IScanVolume *> m_mapVolumes;
    CResultStore m_store;
    CScanProgress m_progress;
    CScanSettings m_settings;
    CScanSkipped m_skipped;
    QStringList m_listVanished;
    // Engine threads report one at a time, in the order the manager's queue would keep.
    QMutex m_intakeLock;
    QPointer<CCollectionThread> m_pWorker;
    std::atomic_bool m_bStop{false};
    int m_iEngineResult = 0;
};
