#pragma once

#include <QImage>

class QIODevice;

// Writes the picture as an 8-bit PNG: RGB for a picture without alpha, RGBA (straight alpha) otherwise,
// with its resolution. The rows are filtered as libpng does by default (the filter of least absolute
// sum per row) and compressed at zlib's default level in nPieces bands of rows (0: four per core), each
// on a thread of its own; every band ends on a byte boundary (a sync flush), so the bands join into one
// zlib stream whose checksum is combined from theirs. False when the picture is null or a write fails.
bool WritePng(const QImage& image, QIODevice& device, int nPieces = 0);
