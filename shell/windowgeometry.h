#pragma once

#include <optional>

#include <QPoint>
#include <QRect>
#include <QSize>

// The arithmetic of the frameless main window's resize border, free of any window.

// Edge code of a client point of a window nWidth x nHeight with a border nBorder wide: 1 top-left,
// 2 top, 3 top-right, 4 right, 5 bottom-right, 6 bottom, 7 bottom-left, 8 left. Points inside the
// border count as the nearest side.
int HitEdge(int x, int y, int nWidth, int nHeight, int nBorder);

// The window rectangle with the sides named by the edge code moved to the screen point. Nothing for a
// code that names no side or a result smaller than szMinimum.
std::optional<QRect> ResizedWindowRect(const QRect& rcWindow, int nEdge, QPoint ptScreen, QSize szMinimum);

// The top-left corner that centres a window of szWindow (its frame included) in the work area; a
// window larger than the area keeps its top-left corner inside it.
QPoint CentredWindowPos(QSize szWindow, const QRect& rcWorkArea);
