#pragma once

#include <QtGlobal>

// Decides when a batch tells the screens where it stands: at most once a second, whatever
// the number of files, so that ten thousand small files do not flood the GUI thread.
class CProgressThrottle
{
public:
    static constexpr qint64 kIntervalMs = 1000;

    void start(qint64 i64NowMs) { m_i64StampMs = i64NowMs; }

    // True, and the next interval starts now, when more than a second has passed since
    // the start or the last announcement.
    [[nodiscard]] bool isDue(qint64 i64NowMs)
    {
        if (i64NowMs - m_i64StampMs <= kIntervalMs)
            return false;
        m_i64StampMs = i64NowMs;
        return true;
    }

    // Percentage after file iIndex (0-based) of iCount.
    static int percentAfter(int iIndex, int iCount)
    {
        return iCount > 0 ? int(qint64(iIndex + 1) * 100 / iCount) : 100;
    }

private:
    qint64 m_i64StampMs = 0;
};
