#pragma once

#include "CBaseThread.h"

class CDupPicsMgr;

// Regroups the stored results at the current threshold without reading files again.
// Deletes itself when done; the manager follows it through a QPointer.
class CRefreshSimialSlotThread : public CBaseThread
{
    Q_OBJECT
public:
    explicit CRefreshSimialSlotThread(CDupPicsMgr *pMgr) : m_pMgr(pMgr) {}

protected:
    int doRun() override;

private:
    CDupPicsMgr *m_pMgr;
};
