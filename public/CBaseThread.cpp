#include "CBaseThread.h"

CBaseThread::CBaseThread(QObject *parent) : QThread(parent)
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void CBaseThread::run()
{
    const int iResult = doRun();
    m_bFinished = true;
    Q_EMIT sigFinished(m_bCancelled ? kCancelledResult : iResult);
}

void CBaseThread::onIsRunning(bool &b)
{
    b = !m_bFinished;
}

void CBaseThread::onCancel()
{
    if (canCancel())
        m_bCancelled = true;
}
