#include "platform/quality.h"

#include <QPainter>

void ApplyQuality(QPainter& painter)
{
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform | QPainter::TextAntialiasing);
}
