#include "CScanRunner.h"

#include "CInterruptWatcher.h"
#include "CScanSession.h"
#include "CTerminalProgress.h"

#include <QEventLoop>

CScanRunner::CScanRunner(CTerminalProgress *pProgress, QObject *parent) : QObject(parent), m_pProgress(pProgress)
{
}

CScanRunner::EnResult CScanRunner::run(const CScanSettings &settings, CScanReport *pReport)
{
    CScanSession session;
    if (!session.hasEngine())
        return EnResult::NoEngine;

    CInterruptWatcher watcher;
    QEventLoop loop;
    CScanSession::EnResult result = CScanSession::EnResult::Failed;
    connect(&session, &CScanSession::sigProgress, &loop,
            [this](int iStep, int iPercent) { m_pProgress->update(iStep, iPercent); });
    connect(&session, &CScanSession::sigFinished, &loop, [&loop, &result](CScanSession::EnResult finished) {
        result = finished;
        loop.quit();
    });
    connect(&watcher, &CInterruptWatcher::sigInterrupted, &session, &CScanSession::stop);
    if (!session.start(settings))
        return EnResult::Failed;
    loop.exec();
    m_pProgress->finish();
    if (result == CScanSession::EnResult::Stopped || CInterruptWatcher::isInterrupted())
        return EnResult::Interrupted;
    if (result == CScanSession::EnResult::Failed) {
        m_iEngineResult = session.engineResult();
        return EnResult::Failed;
    }
    m_listVanished = session.vanishedSources();
    const CScanSkipped skipped = session.skipped();
    m_listSkipped = skipped.listCounts;
    m_listSkippedMounts = skipped.listMounts;
    *pReport = session.report();
    return EnResult::Done;
}
