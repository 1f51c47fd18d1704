#pragma once

#include <QCoreApplication>

#include <string>

// Installed first thing in main(): a crash leaves a dump beside the executable and
// signals the crash event. Lives until the process ends.
class CExceptionHandler
{
    Q_DECLARE_TR_FUNCTIONS(CExceptionHandler)
public:
    explicit CExceptionHandler(const std::wstring &strEventName);
    virtual ~CExceptionHandler() = default;

    // Installs the handler (again); false when the system refused it.
    virtual bool installFilter();

    // The message shown when the process ends for lack of memory.
    static QString outOfMemoryText();

private:
    std::wstring m_strEventName;
};
