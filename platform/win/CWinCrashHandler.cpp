// Crash handling on Windows: an unhandled-exception filter that signals the crash event
// and writes a minidump beside the executable.
#include "ICrashHandler.h"

#include <cstring>
#include <cwchar>
#include <stdexcept>
#include <string>

#include <windows.h>
#include <dbghelp.h>

namespace {

constexpr DWORD kOutOfMemoryCode = 0xE0000001;
std::wstring g_strEventName;
wchar_t g_szOutOfMemory[260] = {};

using PFN_MiniDumpWriteDump = BOOL(WINAPI *)(HANDLE, DWORD, HANDLE, MINIDUMP_TYPE, PMINIDUMP_EXCEPTION_INFORMATION,
                                             PMINIDUMP_USER_STREAM_INFORMATION, PMINIDUMP_CALLBACK_INFORMATION);

LONG WINAPI unhandledExceptionFilter(EXCEPTION_POINTERS *pPointers)
{
    if (pPointers && pPointers->ExceptionRecord && pPointers->ExceptionRecord->ExceptionCode == kOutOfMemoryCode)
        MessageBoxW(nullptr, g_szOutOfMemory, L"QRNUI", MB_OK | MB_ICONEXCLAMATION);
    if (g_strEventName.empty())
        throw std::runtime_error("EventName is empty!");

    if (HANDLE hEvent = CreateEventW(nullptr, FALSE, FALSE, g_strEventName.c_str()))
        SetEvent(hEvent);

    wchar_t szDir[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, szDir, MAX_PATH);
    if (wchar_t *pSlash = std::wcsrchr(szDir, L'\\'))
        pSlash[1] = L'\0';

    HMODULE hDbgHelp = LoadLibraryExW(L"DbgHelp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    if (!hDbgHelp)
        return EXCEPTION_CONTINUE_SEARCH;
    auto pfnWriteDump = reinterpret_cast<PFN_MiniDumpWriteDump>(
        reinterpret_cast<void *>(GetProcAddress(hDbgHelp, "MiniDumpWriteDump")));
    if (!pfnWriteDump)
        return EXCEPTION_CONTINUE_SEARCH;

    wchar_t szDumpPath[520] = {};
    swprintf(szDumpPath, 520, L"%s\\dump%d.dmp", szDir, 0);
    HANDLE hFile = CreateFileW(szDumpPath, GENERIC_WRITE, FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return EXCEPTION_CONTINUE_SEARCH;

    MINIDUMP_EXCEPTION_INFORMATION info{};
    info.ThreadId = GetCurrentThreadId();
    info.ExceptionPointers = pPointers;
    info.ClientPointers = FALSE;
    const BOOL bWritten = pfnWriteDump(GetCurrentProcess(), GetCurrentProcessId(), hFile, MiniDumpNormal, &info,
                                       nullptr, nullptr);
    CloseHandle(hFile);
    return bWritten ? EXCEPTION_EXECUTE_HANDLER : EXCEPTION_CONTINUE_SEARCH;
}

} // namespace

namespace dp::platform::crash {

void setOutOfMemoryText(const char *strText)
{
    MultiByteToWideChar(CP_UTF8, 0, strText ? strText : "", -1, g_szOutOfMemory, 259);
}

bool install(const wchar_t *strEventName)
{
    if (!strEventName || !*strEventName)
        return false;
    g_strEventName = strEventName;
    SetUnhandledExceptionFilter(unhandledExceptionFilter);
    return true;
}

} // namespace dp::platform::crash
