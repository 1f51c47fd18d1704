#pragma once

#include "IScanEngine.h"
#include "IScanEngineExtras.h"

#include <QList>
#include <QMap>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// Records everything the engine calls back, as the manager would receive it.
class CTestSink : public IScanEngineSink, public IDuplicationGatherSink
{
public:
    struct CEvent
    {
        enum Kind { Created, Joined, Merged } kind;
        PhotoRecord record;                    // a copy, for created and joined
        QString strPath;
        uint64_t iKey = 0;
        const PhotoRecord *pAbsorbed = nullptr;  // engine records, read after the run
        const PhotoRecord *pInto = nullptr;
    };

    bool OnVolume(IScanVolume *pVolume) override;
    bool DuplicatingSink(int32_t iStep, uint64_t i64Done, uint64_t i64Bytes) override;
    bool StepFinished(int32_t iStep, uint64_t i64NextItems) override;
    bool OnGroupCreated(const PhotoRecord *pRecord, uint64_t iKey) override;
    bool OnFileJoined(const PhotoRecord *pRecord, uint64_t iGroupKey) override;
    bool OnGroupsMerged(const PhotoRecord *pAbsorbed, const PhotoRecord *pInto) override;

    void clearResults();
    // The groups as the manager would hold them after filing every event,
    // as sets of file names; groups of one file are left out.
    QList<QSet<QString>> groups() const;
    QString groupsText() const;  // as groupsToText
    // The last record reported for a file name, and its path exactly as reported.
    PhotoRecord recordOf(const QString &strFileName) const;
    QString pathOf(const QString &strFileName) const;

    mutable QMutex mutex;
    QList<IScanVolume *> listVolumes;
    QList<CEvent> listEvents;
    QList<int> listFinishedSteps;
    QList<int> listProgressSteps;

private:
    bool record(const CEvent &event);
    CEvent lastEventOf(const QString &strFileName) const;
};

// Loads the engine module through its export, as the program does, and runs scans.
class CEngineHarness
{
public:
    CEngineHarness();
    ~CEngineHarness();

    bool isLoaded() const { return m_pEngine != nullptr; }
    IScanEngine *engine() const { return m_pEngine; }
    CTestSink &sink() { return m_sink; }
    // The engine's additions through "GetImpExtras"; null when the module has none.
    IScanEngineExtras *extras() const { return m_pExtras; }

    // Adds the folders (absolute paths) to the volumes that hold them.
    void addPaths(const QStringList &listPaths);
    // Paths, options, BeginScan, FindDuplicates, Flush, EndScan, as the manager does.
    int scan(const QStringList &listPaths, int iThreshold = 70,
             const std::function<void(IScanFilter *)> &setUp = nullptr, int *piEndScan = nullptr);
    int regroup(int iThreshold);
    // The groups as groupsToText writes them, or what the engine answered when it failed.
    QString groupsAfterScan(const QStringList &listPaths, int iThreshold = 70);
    QString groupsAfterRegroup(int iThreshold);
    // key=value lines the engine writes after EndScan, to the file the environment names.
    QMap<QString, qint64> lastStats() const;

private:
    IScanEngine *m_pEngine = nullptr;
    IScanFilter *m_pFilter = nullptr;
    IScanEngineExtras *m_pExtras = nullptr;
    CTestSink m_sink;
};

QString fileNameOf(const PhotoRecord *pRecord);
// Groups of file names as one comparable line: "{a,b} {c,d}", sorted inside and out.
QString groupsToText(const QList<QSet<QString>> &groups);
