#pragma once

class QWindow;

// Screen size as the desktop reports it: logical (after the system's scaling) and physical pixels.
struct CDesktopMetrics
{
    int iLogicalWidth = 0;
    int iLogicalHeight = 0;
    int iPhysicalWidth = 0;
    int iPhysicalHeight = 0;
    bool isValid() const { return iPhysicalWidth > 0 && iPhysicalHeight > 0; }
};

// The desktop: its metrics and bringing a window to the front.
class IDesktop
{
public:
    virtual ~IDesktop() = default;
    // Invalid when the desktop cannot be asked (yet).
    virtual CDesktopMetrics metrics() const = 0;
    // Shows the window normal and gives it the focus; true when there was a window.
    virtual bool bringWindowToFront(QWindow *pWindow) = 0;
};
