#pragma once

#include "CFakeScanEngine.h"

#include <QByteArray>
#include <QLibrary>
#include <QStringList>

// Drives the fake engine module that the manager under test loads.
class CFakeEngineControl
{
public:
    CFakeEngineControl() : m_library(QStringLiteral(FAKE_ENGINE_PATH))
    {
        m_library.load();
        m_pfnSetScript = reinterpret_cast<PFN_FakeEngineSetScript>(m_library.resolve("FakeEngine_SetScript"));
        m_pfnCallLog = reinterpret_cast<PFN_FakeEngineCallLog>(m_library.resolve("FakeEngine_CallLog"));
        m_pfnSetExtrasOff = reinterpret_cast<PFN_FakeEngineSetExtrasOff>(m_library.resolve("FakeEngine_SetExtrasOff"));
    }
    bool isValid() const { return m_pfnSetScript && m_pfnCallLog && m_pfnSetExtrasOff; }
    void setScript(const QByteArray &json) { m_pfnSetScript(json.constData()); }
    void setExtrasOff(bool bOff) { m_pfnSetExtrasOff(bOff ? 1 : 0); }
    QStringList calls() const
    {
        const int n = m_pfnCallLog(nullptr, 0);
        QByteArray buffer(n + 1, '\0');
        m_pfnCallLog(buffer.data(), buffer.size());
        return QString::fromUtf8(buffer.constData()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private:
    QLibrary m_library;
    PFN_FakeEngineSetScript m_pfnSetScript = nullptr;
    PFN_FakeEngineCallLog m_pfnCallLog = nullptr;
    PFN_FakeEngineSetExtrasOff m_pfnSetExtrasOff = nullptr;
};
