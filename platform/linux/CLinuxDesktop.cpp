#include "CLinuxDesktop.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWindow>

CDesktopMetrics CLinuxDesktop::metrics() const
{
    CDesktopMetrics metrics;
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return metrics;
    const QScreen *pScreen = QGuiApplication::primaryScreen();
    if (!pScreen)
        return metrics;
    const QRect geometry = pScreen->geometry();
    const qreal dRatio = pScreen->devicePixelRatio();
    metrics.iLogicalWidth = geometry.width();
    metrics.iLogicalHeight = geometry.height();
    metrics.iPhysicalWidth = qRound(geometry.width() * dRatio);
    metrics.iPhysicalHeight = qRound(geometry.height() * dRatio);
    return metrics;
}

bool CLinuxDesktop::bringWindowToFront(QWindow *pWindow)
{
    if (!pWindow)
        return false;
    // Window managers may refuse to hand over the focus; raising is all we can ask for.
    pWindow->showNormal();
    pWindow->raise();
    pWindow->requestActivate();
    return true;
}
