#pragma once

#include "IDesktop.h"

// Desktop metrics from Qt's screen information; only available once the application exists.
class CLinuxDesktop : public IDesktop
{
public:
    CDesktopMetrics metrics() const override;
    bool bringWindowToFront(QWindow *pWindow) override;
};
