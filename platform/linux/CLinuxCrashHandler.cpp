// Crash handling on Linux: fatal signals are caught on an alternate stack and leave a
// text dump (signal, address, backtrace, loaded modules) beside the executable.
// Everything the handler touches is prepared at install time, and the handler itself
// only calls async-signal-safe functions (open, write, read, close, raise).
#include "ICrashHandler.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <exception>
#include <new>

#include <execinfo.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

constexpr int kMaxFrames = 64;
constexpr int kFatalSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT};

char g_szDumpPath[PATH_MAX + 32] = {};
char g_szEventName[256] = {};
char g_szEventPath[PATH_MAX + 256] = {};
char g_szOutOfMemory[1024] = {};
// Big enough for backtrace() and our formatting even when the crash was a stack overflow.
alignas(16) char g_altStack[128 * 1024];
std::atomic_bool g_bOutOfMemory{false};
std::terminate_handler g_pfnPreviousTerminate = nullptr;
volatile sig_atomic_t g_bHandling = 0;

void writeAll(int fd, const char *pData, size_t iSize)
{
    while (iSize > 0) {
        const ssize_t iDone = ::write(fd, pData, iSize);
        if (iDone <= 0)
            return;
        pData += iDone;
        iSize -= static_cast<size_t>(iDone);
    }
}

void writeText(int fd, const char *pText)
{
    writeAll(fd, pText, std::strlen(pText));
}

void writeNumber(int fd, unsigned long long iValue, unsigned iBase)
{
    char buffer[32];
    char *p = buffer + sizeof(buffer);
    do {
        *--p = "0123456789abcdef"[iValue % iBase];
        iValue /= iBase;
    } while (iValue != 0 && p > buffer);
    if (iBase == 16)
        writeText(fd, "0x");
    writeAll(fd, p, static_cast<size_t>(buffer + sizeof(buffer) - p));
}

const char *signalName(int iSignal)
{
    switch (iSignal) {
    case SIGSEGV: return "SIGSEGV";
    case SIGBUS: return "SIGBUS";
    case SIGFPE: return "SIGFPE";
    case SIGILL: return "SIGILL";
    case SIGABRT: return "SIGABRT";
    default: return "?";
    }
}

void copyFile(const char *pPath, int fdOut)
{
    const int fdIn = ::open(pPath, O_RDONLY | O_CLOEXEC);
    if (fdIn < 0)
        return;
    char buffer[4096];
    for (;;) {
        const ssize_t iRead = ::read(fdIn, buffer, sizeof(buffer));
        if (iRead <= 0)
            break;
        writeAll(fdOut, buffer, static_cast<size_t>(iRead));
    }
    ::close(fdIn);
}

bool writeDump(int iSignal, const siginfo_t *pInfo)
{
    const int fd = ::open(g_szDumpPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    writeText(fd, "MIRELLE CRASH DUMP 1\nevent: ");
    writeText(fd, g_szEventName);
    writeText(fd, "\nsignal: ");
    writeNumber(fd, static_cast<unsigned>(iSignal), 10);
    writeText(fd, " ");
    writeText(fd, signalName(iSignal));
    writeText(fd, "\ncode: ");
    writeNumber(fd, static_cast<unsigned>(pInfo ? pInfo->si_code : 0), 10);
    writeText(fd, "\naddress: ");
    writeNumber(fd, reinterpret_cast<unsigned long long>(pInfo ? pInfo->si_addr : nullptr), 16);
    writeText(fd, "\npid: ");
    writeNumber(fd, static_cast<unsigned>(::getpid()), 10);
    writeText(fd, "\nthread: ");
    writeNumber(fd, static_cast<unsigned long long>(::syscall(SYS_gettid)), 10);
    writeText(fd, "\nout of memory: ");
    writeText(fd, g_bOutOfMemory.load() ? "yes" : "no");
    writeText(fd, "\nbacktrace:\n");
    void *frames[kMaxFrames];
    const int iFrames = ::backtrace(frames, kMaxFrames);
    ::backtrace_symbols_fd(frames, iFrames, fd);
    writeText(fd, "modules:\n");
    copyFile("/proc/self/maps", fd);
    writeText(fd, "end\n");
    return ::close(fd) == 0;
}

void onFatalSignal(int iSignal, siginfo_t *pInfo, void *)
{
    // A crash inside the handler goes straight to the default action.
    if (g_bHandling) {
        ::signal(iSignal, SIG_DFL);
        ::raise(iSignal);
        return;
    }
    g_bHandling = 1;

    if (g_bOutOfMemory.load() && g_szOutOfMemory[0]) {
        writeText(STDERR_FILENO, g_szOutOfMemory);
        writeText(STDERR_FILENO, "\n");
    }
    if (g_szEventPath[0]) {
        const int fdEvent = ::open(g_szEventPath, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        if (fdEvent >= 0)
            ::close(fdEvent);
    }
    const bool bWritten = writeDump(iSignal, pInfo);
    writeText(STDERR_FILENO, "The program stopped unexpectedly (");
    writeText(STDERR_FILENO, signalName(iSignal));
    writeText(STDERR_FILENO, bWritten ? "). A crash report was written to " : "). No crash report could be written to ");
    writeText(STDERR_FILENO, g_szDumpPath);
    writeText(STDERR_FILENO, "\n");

    // The default action ends the process, so that its parent sees the crash.
    ::signal(iSignal, SIG_DFL);
    ::raise(iSignal);
}

// std::bad_alloc escaping to terminate() is our out-of-memory crash.
void onTerminate()
{
    if (std::exception_ptr pException = std::current_exception()) {
        try {
            std::rethrow_exception(pException);
        } catch (const std::bad_alloc &) {
            g_bOutOfMemory = true;
        } catch (...) {
        }
    }
    if (g_pfnPreviousTerminate)
        g_pfnPreviousTerminate();
    std::abort();
}

void copyNarrow(const wchar_t *pWide, char *pOut, size_t iOutSize)
{
    std::mbstate_t state{};
    const wchar_t *pSource = pWide;
    const size_t iDone = std::wcsrtombs(pOut, &pSource, iOutSize - 1, &state);
    pOut[iDone == static_cast<size_t>(-1) ? 0 : iDone] = '\0';
}

} // namespace

namespace dp::platform::crash {

void setOutOfMemoryText(const char *strText)
{
    std::strncpy(g_szOutOfMemory, strText ? strText : "", sizeof(g_szOutOfMemory) - 1);
}

bool install(const wchar_t *strEventName)
{
    if (!strEventName || !*strEventName)
        return false;
    copyNarrow(strEventName, g_szEventName, sizeof(g_szEventName));

    char szExe[PATH_MAX] = {};
    const ssize_t iLength = ::readlink("/proc/self/exe", szExe, sizeof(szExe) - 1);
    if (iLength <= 0)
        return false;
    szExe[iLength] = '\0';
    char *pSlash = std::strrchr(szExe, '/');
    if (!pSlash)
        return false;
    pSlash[1] = '\0';
    std::strncpy(g_szDumpPath, szExe, sizeof(g_szDumpPath) - 1);
    std::strncat(g_szDumpPath, kDumpFileName, sizeof(g_szDumpPath) - std::strlen(g_szDumpPath) - 1);

    // The event a crash reporter watches is a file in the user's runtime folder.
    if (const char *pRuntime = ::getenv("XDG_RUNTIME_DIR"); pRuntime && *pRuntime
        && std::strlen(pRuntime) + std::strlen(g_szEventName) + 2 < sizeof(g_szEventPath)
        && !std::strchr(g_szEventName, '/')) {
        std::strcpy(g_szEventPath, pRuntime);
        std::strcat(g_szEventPath, "/");
        std::strcat(g_szEventPath, g_szEventName);
    }

    // backtrace() loads its unwinder on first use, which must not happen inside the handler.
    void *frames[2];
    ::backtrace(frames, 2);

    stack_t altStack{};
    altStack.ss_sp = g_altStack;
    altStack.ss_size = sizeof(g_altStack);
    if (::sigaltstack(&altStack, nullptr) != 0)
        return false;

    struct sigaction action{};
    action.sa_sigaction = onFatalSignal;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    bool bOk = true;
    for (int iSignal : kFatalSignals)
        bOk = ::sigaction(iSignal, &action, nullptr) == 0 && bOk;

    if (g_pfnPreviousTerminate == nullptr) {
        std::terminate_handler pfnPrevious = std::set_terminate(onTerminate);
        if (pfnPrevious != onTerminate)
            g_pfnPreviousTerminate = pfnPrevious;
    }
    return bOk;
}

} // namespace dp::platform::crash
