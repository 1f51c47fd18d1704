#pragma once

#include <QVector>

// The proxy rows around a scroll position that both paging proxies prepare: a backward
// half ending at the position and a forward half starting at it, so the row at the
// position is listed twice. Rows past the end are skipped, not counted.
struct CPagingWindow
{
    QVector<int> listBefore;  // ascending
    QVector<int> listAfter;   // ascending

    static CPagingWindow around(int iPos, int iRowCount, int iPageSize, int iPagesBefore, int iPagesAfter);
};
