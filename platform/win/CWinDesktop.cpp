// The Windows desktop: metrics from the desktop window's device context, and raising
// a window past the foreground lock.
#include "IDesktop.h"

#include <QWindow>

#include <windows.h>

class CWinDesktop : public IDesktop
{
public:
    CDesktopMetrics metrics() const override
    {
        CDesktopMetrics metrics;
        HWND hDesktop = GetDesktopWindow();
        HDC hDc = hDesktop ? GetDC(hDesktop) : nullptr;
        if (!hDc)
            return metrics;
        metrics.iLogicalWidth = GetDeviceCaps(hDc, HORZRES);
        metrics.iLogicalHeight = GetDeviceCaps(hDc, VERTRES);
        metrics.iPhysicalWidth = GetDeviceCaps(hDc, DESKTOPHORZRES);
        metrics.iPhysicalHeight = GetDeviceCaps(hDc, DESKTOPVERTRES);
        ReleaseDC(hDesktop, hDc);
        return metrics;
    }

    bool bringWindowToFront(QWindow *pWindow) override
    {
        if (!pWindow)
            return true;
        HWND hWnd = reinterpret_cast<HWND>(pWindow->winId());
        const DWORD idForeground = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
        const DWORD idOwn = GetCurrentThreadId();
        AttachThreadInput(idOwn, idForeground, TRUE);
        ShowWindow(hWnd, SW_SHOWNORMAL);
        SetWindowPos(hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetWindowPos(hWnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(hWnd);
        AttachThreadInput(idOwn, idForeground, FALSE);
        return true;
    }
};

namespace dp::platform::native {

IDesktop &desktop()
{
    static CWinDesktop s_desktop;
    return s_desktop;
}

} // namespace dp::platform::native
