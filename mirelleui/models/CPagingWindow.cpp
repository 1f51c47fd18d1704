#include "CPagingWindow.h"

#include <algorithm>

CPagingWindow CPagingWindow::around(int iPos, int iRowCount, int iPageSize, int iPagesBefore, int iPagesAfter)
{
    CPagingWindow window;
    if (iPos < 0 || iRowCount <= 0)
        return window;
    const int iLastBefore = std::min(iPos, iRowCount - 1);
    const int iFirstBefore = std::max(0, iLastBefore - iPagesBefore * iPageSize + 1);
    for (int row = iFirstBefore; row <= iLastBefore; ++row)
        window.listBefore.append(row);
    const int iEndAfter = std::min(iRowCount, iPos + iPagesAfter * iPageSize);
    for (int row = iPos; row < iEndAfter; ++row)
        window.listAfter.append(row);
    return window;
}
