// The Windows console: CRT descriptors and the console control handler.
#include "IConsole.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

namespace {

std::atomic_bool *g_pInterruptFlag = nullptr;

BOOL WINAPI onConsoleControl(DWORD dwType)
{
    if (dwType != CTRL_C_EVENT && dwType != CTRL_BREAK_EVENT && dwType != CTRL_CLOSE_EVENT)
        return FALSE;
    if (g_pInterruptFlag)
        *g_pInterruptFlag = true;
    return TRUE;
}

class CWinConsole : public IConsole
{
public:
    bool isTerminal(FILE *pStream) const override { return _isatty(_fileno(pStream)) != 0; }

    FILE *reserveStandardOutput(bool bVerbose) override
    {
        const int fdOut = _fileno(stdout);
        const int fdData = _dup(fdOut);
        if (fdData < 0)
            return stdout;
        std::fflush(stdout);
        const int fdOther = bVerbose ? _dup(_fileno(stderr)) : _open("NUL", _O_WRONLY);
        if (fdOther < 0 || _dup2(fdOther, fdOut) < 0) {
            if (fdOther >= 0)
                _close(fdOther);
            _close(fdData);
            return stdout;
        }
        _close(fdOther);
        FILE *pData = _fdopen(fdData, "wb");
        if (!pData)
            _close(fdData);
        return pData ? pData : stdout;
    }

    void catchInterrupts(std::atomic_bool *pFlag) override
    {
        g_pInterruptFlag = pFlag;
        SetConsoleCtrlHandler(onConsoleControl, TRUE);
    }
};

} // namespace

namespace dp::platform::native {

IConsole &console()
{
    static CWinConsole s_console;
    return s_console;
}

} // namespace dp::platform::native
