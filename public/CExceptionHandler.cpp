#include "CExceptionHandler.h"

#include "ICrashHandler.h"

CExceptionHandler::CExceptionHandler(const std::wstring &strEventName) : m_strEventName(strEventName)
{
    installFilter();
}

bool CExceptionHandler::installFilter()
{
    // Prepared now: nothing may be allocated or translated once the process is crashing.
    dp::platform::crash::setOutOfMemoryText(outOfMemoryText().left(259).toUtf8().constData());
    return dp::platform::crash::install(m_strEventName.c_str());
}

QString CExceptionHandler::outOfMemoryText()
{
    return tr("%1 has encountered a memory problem and needs to close.\nWe are sorry for the inconvenience.\n"
              "You can enlarge your virtual memory and try again.")
        .arg(QStringLiteral("Quorvane Veltrix Cleaner"));
}
