#pragma once

class QPainter;

// The three settings every drawing surface gets before drawing: anti-aliased shapes, high-quality
// picture resampling and anti-aliased text.
void ApplyQuality(QPainter& painter);
