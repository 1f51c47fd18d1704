// Crashes on purpose, the way its first argument says, with the program's crash handler installed.
#include "CExceptionHandler.h"

#include <QThread>

#include <cstring>
#include <new>
#include <cstdlib>

namespace {

[[gnu::noinline]] void writeThroughNull(volatile int *pTarget)
{
    *pTarget = 42;
}

} // namespace

int main(int argc, char **argv)
{
    CExceptionHandler handler(L"Mirelle_Test_Crash_Event");
    handler.installFilter();
    const char *pHow = argc > 1 ? argv[1] : "segv";
    if (std::strcmp(pHow, "segv") == 0) {
        writeThroughNull(nullptr);
    } else if (std::strcmp(pHow, "abort") == 0) {
        std::abort();
    } else if (std::strcmp(pHow, "badalloc") == 0) {
        throw std::bad_alloc();
    } else if (std::strcmp(pHow, "thread") == 0) {
        QThread *pThread = QThread::create([] { writeThroughNull(nullptr); });
        pThread->start();
        pThread->wait();
    }
    return 0;
}
