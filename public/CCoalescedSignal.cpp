#include "CCoalescedSignal.h"

CCoalescedSignal::CCoalescedSignal(int iIntervalMs, QObject *pParent) : QObject(pParent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(iIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &CCoalescedSignal::fire);
}

void CCoalescedSignal::request()
{
    if (m_bPending.exchange(true))
        return;
    QMetaObject::invokeMethod(this, &CCoalescedSignal::arm, Qt::QueuedConnection);
}

void CCoalescedSignal::arm()
{
    // A flush may have answered the request already.
    if (m_bPending && !m_timer.isActive())
        m_timer.start();
}

void CCoalescedSignal::flush()
{
    if (m_bPending)
        fire();
}

void CCoalescedSignal::fire()
{
    m_timer.stop();
    // Cleared before the signal, so that a request made by a receiver is not lost.
    m_bPending = false;
    Q_EMIT fired();
}
