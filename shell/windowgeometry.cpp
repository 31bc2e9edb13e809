#include "shell/windowgeometry.h"

#include <algorithm>

int HitEdge(int x, int y, int nWidth, int nHeight, int nBorder)
{
    const int b = nBorder;
    const int nInnerRight = nWidth - b;
    const int nInnerBottom = nHeight - b;
    if (x <= b) {
        if (y <= b)
            return 1;
        return y <= nInnerBottom ? 8 : 7;
    }
    if (x > nInnerRight) {
        if (y <= b)
            return 3;
        return y <= nInnerBottom ? 4 : 5;
    }
    return y <= b ? 2 : 6;
}

std::optional<QRect> ResizedWindowRect(const QRect& rcWindow, int nEdge, QPoint ptScreen, QSize szMinimum)
{
    int nLeft = rcWindow.left();
    int nTop = rcWindow.top();
    int nRight = rcWindow.left() + rcWindow.width();
    int nBottom = rcWindow.top() + rcWindow.height();
    const bool bLeft = nEdge == 1 || nEdge == 7 || nEdge == 8;
    const bool bTop = nEdge == 1 || nEdge == 2 || nEdge == 3;
    const bool bRight = nEdge == 3 || nEdge == 4 || nEdge == 5;
    const bool bBottom = nEdge == 5 || nEdge == 6 || nEdge == 7;
    if (!bLeft && !bTop && !bRight && !bBottom)
        return std::nullopt;
    if (bLeft)
        nLeft = ptScreen.x();
    if (bTop)
        nTop = ptScreen.y();
    if (bRight)
        nRight = ptScreen.x();
    if (bBottom)
        nBottom = ptScreen.y();
    if (nRight - nLeft < szMinimum.width() || nBottom - nTop < szMinimum.height())
        return std::nullopt;
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

QPoint CentredWindowPos(QSize szWindow, const QRect& rcWorkArea)
{
    return {rcWorkArea.x() + std::max(0, (rcWorkArea.width() - szWindow.width()) / 2),
        rcWorkArea.y() + std::max(0, (rcWorkArea.height() - szWindow.height()) / 2)};
}
