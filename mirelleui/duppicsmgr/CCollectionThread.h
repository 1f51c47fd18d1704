#pragma once

#include "CBaseThread.h"

#include <QMap>
#include <QStringList>

#include <atomic>

class CDupPicsMgr;
class IScanVolume;

// Runs one scan through the engine. Owned by nobody: it deletes itself when done,
// and the manager follows it through a QPointer.
class CCollectionThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CCollectionThread(CDupPicsMgr *pMgr);

    void requestStop() { m_bStop = true; }
    bool isStopRequested() const { return m_bStop.load(); }

    // Sources with nested folders removed, in the order the scan visits them.
    static QStringList pruneNestedSources(QStringList listSources);
    static QStringList outermostFolders(const QStringList &listSources);

protected:
    int doRun() override;

private:
    void mapSourcesToVolumes();
    void waitForIntake();

    CDupPicsMgr *m_pMgr;
    std::atomic_bool m_bStop{false};
    QMap<IScanVolume *, QStringList> m_mapVolumePaths;
};

// Recounts the shown groups and their sizes once the intake has drained.
class CCalcTotalDupImgInfoThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CCalcTotalDupImgInfoThread(CDupPicsMgr *pMgr) : m_pMgr(pMgr) {}
    static void recount(CDupPicsMgr *pMgr);

protected:
    int doRun() override;

private:
    CDupPicsMgr *m_pMgr;
};
