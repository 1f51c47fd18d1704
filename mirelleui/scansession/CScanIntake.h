#pragma once

#include "CResultStore.h"
#include "CScanReport.h"

#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <atomic>
#include <cstdint>

class IScanEngineExtras;
struct PhotoRecord;

// The engine's step reports as a progress display wants them: each step's percent rising,
// whichever engine thread reports.
class CScanProgress
{
public:
    void startScan();
    // The next scan's first report starts the display again.
    void resetPercent() { m_iLastProgress = -1; }
    // The percent to show for a DuplicatingSink report, or -1 for none. The step report has
    // no total for the first step; the engine's additions, when given, know how many files
    // the walk found, so that step moves instead of sitting at 0 %.
    int onDone(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes, IScanEngineExtras *pExtras = nullptr);
    void onStepFinished(int32_t iStep, uint64_t i64NextItems);
    qint64 scannedImages() const { return m_iScannedImages.load(); }
    qint64 scannedBytes() const { return m_iScannedBytes.load(); }
    qint64 foundFiles() const { return m_iFoundFiles.load(); }
    qint64 readFiles() const { return m_iReadFiles.load(); }

private:
    int raise(int iProgress);

    std::atomic<qint64> m_iFoundFiles{0};
    std::atomic<qint64> m_iReadFiles{0};
    std::atomic<qint64> m_iScannedImages{0};
    std::atomic<qint64> m_iScannedBytes{0};
    std::atomic<quint64> m_iStepTotal{0};
    std::atomic<int> m_iLastProgress{-1};
};

// What a finished scan passed over, as the engine's additions count it (EnScanSkipped order).
struct CScanSkipped
{
    QVariantList listCounts;
    QStringList listMounts;
};

// From the engine's reports to the result store and from the store to a report: the steps the
// manager runs on its operation worker and the scan session runs at once.
class CScanIntake
{
public:
    // The record's own copy; false when it has no path or its file is gone since the engine read it.
    static bool copyRecord(const PhotoRecord *pRecord, CPhotoRecordCopy *pCopy);
    // Files a copied record: under its own file id for a new group, under iGroupKey when it
    // joined one. Returns the group key it was filed under.
    static quint64 filePhoto(CResultStore &store, CPhotoRecordCopy &copy, quint64 iGroupKey, bool bJoined);
    static bool mergeGroups(CResultStore &store, IScanEngineExtras *pExtras, const PhotoRecord &absorbed,
                            const PhotoRecord &into, CResultStore::CMerge *pMerge);
    static CScanSkipped skipped(IScanEngineExtras *pExtras);
    // What the scan read of a file (modification time, content key); untouched when unknown.
    static void stamp(IScanEngineExtras *pExtras, quint64 iFileId, quint64 *pModTime, quint64 *pContentKey);

    // The scan options (the screens' map) of command-line settings, and the way back.
    static QVariantMap optionsOf(const CScanSettings &settings);
    static CScanSettings settingsOf(const QVariantMap &mapOptions, const QStringList &listSources);
    static int similarityOf(const QVariantMap &mapOptions);
    static bool rotationsOf(const QVariantMap &mapOptions);

    // The shown groups with the marks as they stand, in the command line's schema.
    static CScanReport report(const CResultStore &store, IScanEngineExtras *pExtras, const CScanSettings &settings);

private:
    // A raw file's first image is its small preview: only the thumbnail library reads the
    // size of the raw data itself.
    static void correctRawSize(CPhotoRecordCopy &copy);
};
