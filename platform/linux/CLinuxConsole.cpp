// The POSIX console: file descriptors and signal handlers.
#include "IConsole.h"

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic_bool *g_pInterruptFlag = nullptr;

// Setting an atomic flag is all a signal handler may safely do.
extern "C" void onInterruptSignal(int)
{
    if (g_pInterruptFlag)
        *g_pInterruptFlag = true;
}

class CLinuxConsole : public IConsole
{
public:
    bool isTerminal(FILE *pStream) const override { return isatty(fileno(pStream)) != 0; }

    FILE *reserveStandardOutput(bool bVerbose) override
    {
        const int fdData = dup(STDOUT_FILENO);
        if (fdData < 0)
            return stdout;
        std::fflush(stdout);
        const int fdOther = bVerbose ? dup(STDERR_FILENO) : open("/dev/null", O_WRONLY | O_CLOEXEC);
        if (fdOther < 0 || dup2(fdOther, STDOUT_FILENO) < 0) {
            if (fdOther >= 0)
                close(fdOther);
            close(fdData);
            return stdout;
        }
        close(fdOther);
        FILE *pData = fdopen(fdData, "w");
        if (!pData)
            close(fdData);
        return pData ? pData : stdout;
    }

    void catchInterrupts(std::atomic_bool *pFlag) override
    {
        g_pInterruptFlag = pFlag;
        struct sigaction action = {};
        action.sa_handler = onInterruptSignal;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, nullptr);
        sigaction(SIGTERM, &action, nullptr);
    }
};

} // namespace

namespace dp::platform::native {

IConsole &console()
{
    static CLinuxConsole s_console;
    return s_console;
}

} // namespace dp::platform::native
