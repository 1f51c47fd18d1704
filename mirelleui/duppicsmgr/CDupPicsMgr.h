#pragma once

#include "CCoalescedSignal.h"

#include "CDoOperateTask.h"
#include "CResultStore.h"
#include "CScanIntake.h"
#include "IScanEngine.h"

#include <QElapsedTimer>
#include <QFuture>
#include <QFutureWatcher>
#include <QHash>
#include <QList>
#include <QMap>
#include <QMutex>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <QUrl>
#include <QVariant>
#include <QVariantMap>
#include <QWaitCondition>

#include <atomic>
#include <functional>
#include <memory>

class CBaseThread;
class CScanStop;
struct CEngineExtrasSettings;
class CDecisionStore;
class IScanEngineExtras;
class CFileDelImplement;
class CGroupSortFilterProxyModel;
class CNodeItemModel;
class CPhotosItemModel;
class CPhotosSortFilterProxyModel;
struct COperateTask;
class COperateTaskQueue;
struct CPhotoTaskPayload;
struct CMergeTaskPayload;
struct CPhotoMarkTaskPayload;
struct CScanReport;
class CRefreshSimialSlotThread;
class CRemovalCoordinator;
struct CRemovalGroup;

// The object the screens drive: sources and options, the scan against the engine,
// the intake of its results, marks and removals. A member of the main object.
class CDupPicsMgr : public QObject, public IScanEngineSink, public IDuplicationGatherSink, public IOperateTaskHandler
{
    Q_OBJECT
    Q_PROPERTY(QStringList sources READ sources NOTIFY sigSourcesChanged)
    Q_PROPERTY(qint64 totalGroupCount READ getGroupCount NOTIFY sigTotalGroupCountChanged)
    Q_PROPERTY(qint64 totalDupImgSize READ getTotalSize NOTIFY sigTotalDupImgSizeChanged)
    Q_PROPERTY(bool hasDupPics READ hasDupPics NOTIFY sigHasDupPicsChanged)
    Q_PROPERTY(int checkedItemCount READ checkedItemCount NOTIFY sigCheckedItemCountChanged)
    Q_PROPERTY(qint64 checkedFileSize READ checkedFileSize NOTIFY sigCheckedItemCountChanged)
    Q_PROPERTY(int deleteMethod READ deleteMethod NOTIFY sigDeleteMethodChanged)
    Q_PROPERTY(bool isMax READ isMax NOTIFY sigIsMaxChanged)
    Q_PROPERTY(int fullyMarkedGroupCount READ fullyMarkedGroupCount NOTIFY sigCheckedItemCountChanged)
    Q_PROPERTY(bool hasEngineExtras READ hasEngineExtras CONSTANT)
    Q_PROPERTY(bool decisionsEnabled READ decisionsEnabled NOTIFY sigDecisionsChanged)
    Q_PROPERTY(QString decisionsError READ decisionsError NOTIFY sigDecisionsChanged)
    Q_PROPERTY(int decisionCount READ decisionCount NOTIFY sigDecisionsChanged)
    // What the last finished scan passed over, counted by kind: folders it could not
    // open, files it could not read, damaged files, pictures too large to open, network
    // mounts it did not enter; and where those mounts are.
    Q_PROPERTY(QVariantList scanSkipped READ scanSkipped NOTIFY sigScanSkippedChanged)
    Q_PROPERTY(QStringList scanSkippedMounts READ scanSkippedMounts NOTIFY sigScanSkippedChanged)
    // The scanned folders that went away (deleted, unmounted) while it ran.
    Q_PROPERTY(QStringList scanVanished READ scanVanished NOTIFY sigScanSkippedChanged)
    // The running scan's photos found, read and put in groups so far.
    Q_PROPERTY(QVariantList scanCounts READ scanCounts NOTIFY sigScanCountsChanged)
public:
    enum EnDupPicDelType {
        DupPicType_Invalid = -1,
        DupPicType_DelPermanentiy = 0,
        DupPicType_MoveToTrash = 1,
        DupPicType_MoveToFolder = 2
    };
    Q_ENUM(EnDupPicDelType)
    enum EnScanResult { ScanResult_Done = 0, ScanResult_SourcesVanished = 1 };
    Q_ENUM(EnScanResult)

    explicit CDupPicsMgr(QObject *parent = nullptr);
    ~CDupPicsMgr() override;

    // IZKObject is shared by both sinks; the manager keeps one count for both.
    int32_t AddRef() override { return IZKObject::AddRef(); }
    int32_t Release() override { return IZKObject::Release(); }

    // IScanEngineSink
    bool OnVolume(IScanVolume *pVolume) override;
    // IDuplicationGatherSink
    bool DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes) override;
    bool StepFinished(int32_t iStep, uint64_t i64NextItems) override;
    bool OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey) override;
    bool OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey) override;
    bool OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto) override;

    // Loads the engine from this library instead of the one beside the executable.
    static void setEngineLibraryOverride(const QString &strPath);

    bool hasEngine() const { return m_pEngine != nullptr; }
    // The engine's optional additions (rotations, separated pairs, content keys).
    bool hasEngineExtras() const { return m_pExtras != nullptr; }
    IScanEngineExtras *engineExtras() const { return m_pExtras; }
    IScanEngine *engine() const { return m_pEngine; }
    CFileDelImplement *deletionService() const { return m_pFileDel; }
    QStringList sources() const { return m_listSources; }
    bool hasDupPics() const { return m_bHasDupPics; }
    int checkedItemCount() const { return m_store.checkedItemCount(); }
    qint64 checkedFileSize() const { return m_store.checkedFileSize(); }
    int deleteMethod() const;
    bool isMax() const { return m_bWinMax; }
    int fullyMarkedGroupCount() const { return m_store.fullyMarkedGroupCount(); }
    bool isScanning() const { return m_iScanning.load() == 1; }
    // The queue all of the manager's work runs through.
    COperateTaskQueue *taskQueue() const { return m_pTaskQueue; }

    // The results the models read.
    CResultStore *resultStore() { return &m_store; }
    const CResultStore *resultStore() const { return &m_store; }
    QList<quint64> groupOrder() const { return m_store.groupOrder(); }
    bool groupSummary(quint64 pGroup, GroupSummary *pSummary) const { return m_store.groupSummary(pGroup, pSummary); }
    QString pathOfImageId(const QString &strId) const { return m_store.pathOfImageId(strId); }
    static QString imageIdOfPath(const QString &strPath) { return CResultStore::imageIdOfPath(strPath); }

Q_SIGNALS:
    void sigSourcesChanged();
    // Places given to addDropPaths that cannot be scanned: missing, not folders, or on
    // the network. One signal per call, with the native paths.
    void sigSourcesSkipped(QStringList listPaths);
    void sigScanSkippedChanged();
    void sigScanCountsChanged();
    void sigSwitchToDrag();
    void sigSwitchToSouceList();
    void sigWriteOption(QByteArray arrOption);

    void signalNextPage();
    void sigProcProgress(int curStep, int curProgress);
    // result: ScanResult_Done, or ScanResult_SourcesVanished when the folders that went away
    // leave nothing to show (the results are cleared).
    void sigScanComplete(int result);
    void sigNotifyCanceled();
    void sigRefreshTotalInfo();
    void sigTotalGroupCountChanged();
    void sigTotalDupImgSizeChanged();
    void sigHasDupPicsChanged();

    void sigRefreshImgItem(QVariant pGroup, QString filePath);
    void sigRefreshGroupInfo(QVariant pGroup);
    void sigDelImgGroup(QVariant pGroup, QStringList fileList);

    void sigCheckedItemCountChanged();
    void sigCanclelRefresh();
    void sigRefreshComplete(int result);

    void signalShowCheckSpace(QString path);
    // A trash or move request that could not be recorded for undo: go on without undo?
    void signalShowCheckJournal(QString reason);
    void signalShowCheckUsb();
    void signalShowCheckTrash();
    void sigDelOneImg(QVariant pGroup, QString filePath);
    void sigDelDupImgsResult(QStringList failList, QStringList succList);
    void sigDelSingleDupImgResult(QString strFilePath, bool bSuccess);
    void sigShowFailedDelList(QString failList);
    void sigSendUserInfo(QString strWindow, QString strActivity, QString list);
    void sigCloseProcessWind();

    void sigBeginResetModel();
    void sigEndResetModel();
    void sigUpdateSimilar(int iValue);
    void sigCheckedFileSizeChanged();
    void sigDupImgAllDeleted();
    void sigRefreshHeader(int iIndex, qlonglong iImgNumber, qulonglong iImgSize);
    void sigDeleteMethodChanged();
    void sigIsMaxChanged();
    void sigDecisionsChanged();
    void sigExportFinished(QString strMessage);

public Q_SLOTS:
    void slotRefreshGroupHeader(QVariant pGroup);
    void slotRefreshImgItem(QVariant pGroup, QString filePath);
    void slotDelImgGroup(QVariant pGroup, QStringList fileList);
    void slotDelOneImg(QVariant pGroup, QString filePath);
    void slotDelDupImgsResult(QStringList failList, QStringList succList);
    // Photos an undo brought back return to the results.
    void slotUndoFinished(const QVariantMap &mapResult);
    void slotSetDelFlat(void *gropPtr, QString strFilePath, int propFlag);
    // Recounts the checked totals after a photo model marked a row at once.
    void slotRefreshMarkInfo();

public:
    // Sources and options
    Q_INVOKABLE void addCollectPath();
    Q_INVOKABLE void addDropPaths(QList<QUrl> dropList);
    Q_INVOKABLE void addWholeComputer();
    Q_INVOKABLE void removeCollectPath(QString path = QString());
    Q_INVOKABLE int rowCount() const { return m_listSources.size(); }
    Q_INVOKABLE void clear();
    Q_INVOKABLE void backToEntrance();
    Q_INVOKABLE void backToDrag();
    Q_INVOKABLE void backToSouceList();
    Q_INVOKABLE void setOption(QVariantMap value);
    Q_INVOKABLE QVariantMap getOption() const { return m_mapOptions; }
    Q_INVOKABLE void catchOption();
    Q_INVOKABLE int getSimilarSlot() const;
    Q_INVOKABLE bool getShowDeleteWin() const { return m_bShowDeleteWin; }
    Q_INVOKABLE void setShowDeleteWin(bool bShow);
    Q_INVOKABLE bool getShowGoToHomePage() const { return m_bShowGoToPageWin; }
    Q_INVOKABLE void setShowGoToHomePage(bool bShow);
    Q_INVOKABLE void getShowSetting(QByteArray arrData);
    Q_INVOKABLE void setShowSetting();

    // Scan
    Q_INVOKABLE void collectDupFiles();
    Q_INVOKABLE void cancel();
    Q_INVOKABLE qint64 getGroupCount() const { return m_iTotalGroupCount.load(); }
    Q_INVOKABLE qint64 getTotalSize() const { return m_iTotalDupImgSize.load(); }

    // Marks and regroup
    Q_INVOKABLE void doMark(QVariant groupKey);
    Q_INVOKABLE void doAllMark();
    Q_INVOKABLE void clearAllMark();
    Q_INVOKABLE void refreshSimilarSlot();
    Q_INVOKABLE void cancelRefresh();
    bool isRegrouping() const { return m_iRegrouping.load() == 1; }
    QStringList markedPaths() const { return m_store.markedPaths(); }
    QMap<QString, qint64> markedBytesPerDrive() const { return m_store.markedBytesPerDrive(); }

    // Results
    Q_INVOKABLE void resetModel();
    Q_INVOKABLE QObject *getPhotosModelByCreate(QVariant pGroup);
    Q_INVOKABLE QObject *getPhotosModelNoCreate(QVariant pGroup, bool bFilterModel = false);
    Q_INVOKABLE QObject *model() const;

    // Export: the shown groups with the marks as they stand, in the command line's schema.
    CScanReport currentReport() const;
    // Writes the results as "json", "csv" or the summary as "html" or "pdf" to a path or file
    // URL, off the GUI thread; a name without suffix gets the format's. sigExportFinished
    // follows once: "" when written, else the message to show.
    Q_INVOKABLE void exportResults(QString strTarget, QString strFormat);
    bool isExporting() const { return m_exportJob.future.isRunning(); }

    // Deletion
    Q_INVOKABLE void doDelDupPicByMark(int iDelType, QString MoveToDirPath = QString());
    Q_INVOKABLE void doDelSingleDupPic(QVariant pGroup, QString strFilePath, int iDelType = 1);
    Q_INVOKABLE bool checkIsContainUsb();
    Q_INVOKABLE bool checkTrashSufficient();
    Q_INVOKABLE bool checkTrashSufficient(QString filePath);
    Q_INVOKABLE bool checkSpace(QString path);
    Q_INVOKABLE void retForCheckUsb(int iRet);
    Q_INVOKABLE void retForCheckTrash(int iRet);
    Q_INVOKABLE void retForCheckSpace(int iRet);
    Q_INVOKABLE void retForCheckJournal(int iRet);
    Q_INVOKABLE void showFailedDelList();
    // The failure message for a list of failed paths under a delete method.
    QString failedDelMessage(const QStringList &listFailed, int iDelType) const;
    QStringList failedList() const { return m_listFailed; }

    // Lifecycle and file actions
    Q_INVOKABLE void openFile(QString path);
    Q_INVOKABLE void locateFile(QString path);
    Q_INVOKABLE QString getFileName(QString filePath) const;
    Q_INVOKABLE QString getExistingDirectory();
    Q_INVOKABLE void setWinMax(bool max);

    // Remembered "Not duplicates" decisions. The store is opened on first use, on the GUI
    // thread; MIRELLE_DECISIONS_DB or the override replaces its default path.
    static void setDecisionStorePathOverride(const QString &strPath);
    static QString decisionStorePath();
    bool decisionsEnabled() const;
    QString decisionsError() const;
    QVariantList scanSkipped() const { return m_listScanSkipped; }
    QVariantList scanCounts() const { return {m_progress.foundFiles(), m_progress.readFiles(), m_iGroupedFiles.load()}; }
    QStringList scanSkippedMounts() const { return m_listScanSkippedMounts; }
    QStringList scanVanished() const { return m_listScanVanished; }
    int decisionCount() const;
    // Remembers every pair of the group's shown photos as not duplicates and regroups.
    Q_INVOKABLE bool separateGroup(QVariant pGroup);
    // Remembers the two photos of the group as not duplicates and regroups.
    Q_INVOKABLE bool separatePair(QVariant pGroup, QString strPathA, QString strPathB);
    // {id, pathA, pathB, created} per decision, oldest first.
    Q_INVOKABLE QVariantList decisionList() const;
    Q_INVOKABLE bool forgetDecision(qint64 iId);
    Q_INVOKABLE bool forgetAllDecisions();
    bool rotationMatching() const;
    // Hands the rotation option and the separated pairs to the engine; before each
    // FindDuplicates and Regroup, on the worker that runs it.
    void applyEngineExtras();
    // What applyEngineExtras hands over, for a worker that hands it over itself.
    CEngineExtrasSettings engineExtrasSettings() const;
    // The progress screen's least time for a scan; a front end without one sets 0.
    void setMinimumScanMs(int iMs) { m_iMinimumScanMs = iMs; }

    // The settings document for the current options and switches.
    QByteArray buildSettingDocument() const;
    // The options map, in the form the screens and the document use.
    static QVariantMap defaultOptions();
    // Applies the scan options to the filter at scan set-up.
    void applyOptionsToFilter(IScanFilter *pFilter) const;

    void runOperateTask(const COperateTask &task) override;

private:
    void loadEngine();
    void resetEngine();
    CDecisionStore *decisionStore() const;
    // Where the results hold a file of each content key now, for files that still exist.
    QHash<quint64, QString> currentPathsOfKeys(const QSet<quint64> &setKeys) const;
    bool separatePaths(quint64 pGroup, const QStringList &listPaths, bool bAllPairs);
    void clearVolumePaths();
    void sendUsageEvent(const QString &strWindow, const QString &strActivity, const QList<QPair<QString, QString>> &list);
    void setTotals(qint64 iGroups, qint64 iSize);
    QList<QPair<QString, QString>> scanUsagePairs() const;
    void queueThumbnail(quint64 pGroup, const QString &strPath);
    void stopThumbRefresh();
    void resetGroupModel();
    void destroyPhotoModels();

    // Operation handlers, on the operation worker thread.
    void onTaskStartScan();
    void onTaskCancelScan();
    void onTaskGroupCreated(CPhotoTaskPayload &payload, bool bJoined);
    // Copies an engine record into an intake task; true when a visible file was queued.
    // Emits a step's progress when it passes the last one shown (100 is left to the step's end).
    bool queueIntake(const PhotoRecord *pRecord, uint64_t iKey, int iType);
    void onTaskGroupsMerged(const CMergeTaskPayload &payload);
    void onScanFinished(int iResult);
    void onTaskMarkGroup(quint64 pGroup, bool bSignal);
    void onTaskClearGroupMarks(quint64 pGroup);
    void onTaskSetPhotoMark(const CPhotoMarkTaskPayload &payload);
    void onTaskMarkAll();
    void onTaskClearAllMarks();
    // Recounts the checked totals in the store and hands them to the deletion service.
    void recomputeCheckedTotals();
    void notifyPhotoModelMarks(quint64 pGroup, const QStringList &listPaths, bool bMarked);
    void notifyPhotoModelMarks(const CResultStore::CMarkChanges &changes);
    void resetResults();
    // Starts a totals recount that the destructor waits for; callable from any thread.
    void startTotalsWorker();
    void recountTotals();
    void onTaskDeleteMarked();
    void onTaskDeleteOne(const CPhotoMarkTaskPayload &payload);
    // The groups of listPaths as a removal sees them: the photos asked to go, the ones kept.
    QList<CRemovalGroup> removalGroups(const QStringList &listPaths) const;
    // What the scan read of a file it reported (modification time, content key); both stay
    // untouched when the engine cannot tell.
    void scanStamp(quint64 iFileId, quint64 *pModTime, quint64 *pContentKey) const;
    // Inside the store's writeTables.
    void removePhotoRecord(CResultStore::CTables &tables, quint64 pGroup, CPhotoRecordCopy &file, bool bCountChecked);
    void prefetchThumbnail(quint64 pGroup, const QString &strPath);

    // Engine
    IScanEngine *m_pEngine = nullptr;
    IScanFilter *m_pFilter = nullptr;
    IScanEngineExtras *m_pExtras = nullptr;
    QMap<QString, IScanVolume *> m_mapVolumes;
    mutable std::unique_ptr<CDecisionStore> m_pDecisions;

    // Sources and options
    QStringList m_listSources;
    QVariantMap m_mapOptions;
    bool m_bShowDeleteWin = true;
    bool m_bShowGoToPageWin = true;
    bool m_bWinMax = false;

    // Results
    CResultStore m_store;
    mutable QMutex m_callbackLock;
    QVariantList m_listScanSkipped;  // GUI thread
    QStringList m_listScanSkippedMounts;  // GUI thread
    QStringList m_listScanVanished;  // GUI thread
    bool m_bScanVanishedAll = false;  // GUI thread
    // Guards the two maps of photo models, which the thumbnail refresh reads from its thread.
    mutable QMutex m_modelsLock;
    QMap<quint64, CPhotosSortFilterProxyModel *> m_mapPhotoProxies;
    QMap<quint64, CPhotosItemModel *> m_mapPhotoModels;
    QMap<quint64, QStringList> m_mapPrefetch;
    int m_iPrefetchCounter = 0;

    // Regroup
    std::atomic<int> m_iRegrouping{0};
    QPointer<CRefreshSimialSlotThread> m_pRegroupWorker;

    // Deletion
    QStringList m_listFailed;
    QStringList m_listSucceeded;
    QElapsedTimer m_operationTimer;
    // The engine reports per photo; the screens hear about the totals a few times a second.
    CCoalescedSignal *m_pTotalsNotice = nullptr;
    CCoalescedSignal *m_pTotalInfoNotice = nullptr;
    CCoalescedSignal *m_pCountsNotice = nullptr;
    std::atomic<qint64> m_iGroupedFiles{0};
    QMutex m_totalsLock;
    QList<QPointer<CBaseThread>> m_listTotalsWorkers;

    // Scan counters
    CScanProgress m_progress;
    std::atomic<qint64> m_iTotalGroupCount{0};
    std::atomic<qint64> m_iTotalDupImgSize{0};
    bool m_bHasDupPics = false;
    std::atomic<int> m_iScanning{0};
    std::atomic<int> m_iCancelling{0};
    QElapsedTimer m_scanClock;
    int m_iMinimumScanMs = 1000;

    CRemovalCoordinator *m_pRemoval = nullptr;
    CFileDelImplement *m_pFileDel = nullptr;
    CNodeItemModel *m_pGroupModel = nullptr;
    CGroupSortFilterProxyModel *m_pGroupProxy = nullptr;
    // The running scan's stop, set on the operation worker and read on either thread.
    QMutex m_scanStopLock;
    std::shared_ptr<CScanStop> m_pScanStop;
    // Stops the running scan and returns once it no longer uses the engine.
    void stopScanAndWait();
    COperateTaskQueue *m_pTaskQueue;
    CDoOperateTask *m_pOperateWorker = nullptr;

    // Result models
public:
    CNodeItemModel *groupModel() const { return m_pGroupModel; }
    CPhotosItemModel *photoModelOf(quint64 pGroup) const;
    bool isThumbRefreshStopped() const;
    void setThumbRefreshStopped(bool bStopped);

private:
    void createGroupModel();
    void attachGroupModel();
    bool hasMethod(const char *szSignature) const;

    // Thumbnails
Q_SIGNALS:
    void sigNewBigImgTask(QVariant pGroup, QString filePath);

public Q_SLOTS:
    void slot_newRefresh();
    void refresh();
    void slotRefreshThumb(QVariant pGroup, QString strFilePath, bool bResult);
    void slotBigImageResult(QVariant pGroup, QString filePath, QVariantMap metMap, bool bResult);

public:
    Q_INVOKABLE void StartThumbRefresh();
    Q_INVOKABLE void StopThumbRefresh();

private:
    void startThumbnails();
    void stopThumbnails();
    // A regroup keeps results of the old groups from reaching the new models.
    void suspendThumbResults();
    void resumeThumbResults();

    // Start and stop also run on the scan and regroup workers.
    QMutex m_thumbRefreshLock;
    class CThumbRefreshThread *m_pThumbRefresh = nullptr;
    QMetaObject::Connection m_connGroupShowPos;
    QMetaObject::Connection m_connThumbResult;

    // The export writes a copy of the results and never touches the manager; the manager still
    // waits for it when it goes, so that the program does not end mid-write.
    struct CExportJob
    {
        QFuture<QString> future;
        ~CExportJob() { future.waitForFinished(); }
    };
    void finishExport(const QString &strMessage);
    CExportJob m_exportJob;
    QFutureWatcher<QString> *m_pExportWatcher = nullptr;
};
