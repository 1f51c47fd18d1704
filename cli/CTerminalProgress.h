#pragma once

#include <QString>

#include <cstdio>

// Scan progress on stderr: a bar redrawn in place on a terminal, plain lines otherwise
// (one per step and per tenth), so logs stay short.
class CTerminalProgress
{
public:
    explicit CTerminalProgress(bool bQuiet, FILE *pStream = stderr);
    ~CTerminalProgress();

    void update(int iStep, int iPercent);
    void message(const QString &strText);
    void finish();

private:
    static QString stepName(int iStep);

    FILE *m_pStream = nullptr;
    bool m_bQuiet = false;
    bool m_bTerminal = false;
    bool m_bLineOpen = false;
    int m_iLastStep = -1;
    int m_iLastPercent = -1;
};
