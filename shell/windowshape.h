#pragma once

#include <QPainterPath>
#include <QRegion>
#include <QSize>

class QWidget;

// Whether the desktop blends the see-through pixels of a window with what lies below it. An X11
// desktop without a compositing manager shows them black; Wayland and the offscreen platform blend.
bool DesktopBlendsWindows();

// The pixels of a window of szWindow that the shape covers whole. The partly covered pixels of its
// anti-aliased edge are left out: without blending they would show dark.
QRegion ShapeRegion(const QPainterPath& shape, QSize szWindow);

// Cuts a window painted with rounded corners to its shape when the desktop would show the corners
// black; where the desktop blends, the painted anti-aliased edge is left whole.
void ApplyWindowShape(QWidget* pWindow, const QPainterPath& shape);
