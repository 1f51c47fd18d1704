#include "CTerminalProgress.h"

#include "CPlatform.h"
#include "IConsole.h"

namespace {

constexpr int kBarWidth = 30;

} // namespace

CTerminalProgress::CTerminalProgress(bool bQuiet, FILE *pStream)
    : m_pStream(pStream), m_bQuiet(bQuiet), m_bTerminal(dp::platform::console().isTerminal(pStream))
{
}

CTerminalProgress::~CTerminalProgress()
{
    finish();
}

QString CTerminalProgress::stepName(int iStep)
{
    switch (iStep) {
    case 1:
        return QStringLiteral("finding photos");
    case 2:
        return QStringLiteral("reading photos");
    case 3:
        return QStringLiteral("comparing");
    case 4:
        return QStringLiteral("regrouping");
    default:
        return QStringLiteral("working");
    }
}

void CTerminalProgress::update(int iStep, int iPercent)
{
    if (m_bQuiet)
        return;
    iPercent = qBound(0, iPercent, 100);
    if (m_bTerminal) {
        if (iStep == m_iLastStep && iPercent == m_iLastPercent)
            return;
        const int iFilled = iPercent * kBarWidth / 100;
        const QString bar = QString(iFilled, QLatin1Char('#')) + QString(kBarWidth - iFilled, QLatin1Char('.'));
        std::fprintf(m_pStream, "\r[%s] %3d%% %-16s", qPrintable(bar), iPercent, qPrintable(stepName(iStep)));
        std::fflush(m_pStream);
        m_bLineOpen = true;
    } else {
        if (iStep == m_iLastStep && iPercent / 10 == m_iLastPercent / 10)
            return;
        std::fprintf(m_pStream, "progress: %s %d%%\n", qPrintable(stepName(iStep)), iPercent);
        std::fflush(m_pStream);
    }
    m_iLastStep = iStep;
    m_iLastPercent = iPercent;
}

void CTerminalProgress::message(const QString &strText)
{
    finish();
    std::fprintf(m_pStream, "%s\n", qPrintable(strText));
    std::fflush(m_pStream);
}

void CTerminalProgress::finish()
{
    if (m_bLineOpen) {
        std::fputc('\n', m_pStream);
        std::fflush(m_pStream);
        m_bLineOpen = false;
    }
}
