#pragma once

#include <QByteArray>
#include <QImage>

// The picture as a baseline JPEG with libjpeg's default settings at nQuality, as Qt's writer makes
// it (4:2:0 YCbCr, Huffman tables of the standard, its resolution in the JFIF header), but with a
// restart marker after every row of MCUs. The picture is encoded in nBands bands of whole MCU rows
// (0: two per core), each on a thread of its own, and the bands are joined into one stream, byte for
// byte the stream of a single encode. Only 32-bit RGB pixels (premultiplied ones written as they
// are) without a colour space or text; empty for any other picture, or when libjpeg fails.
QByteArray EncodeJpeg(const QImage& image, int nQuality, int nBands = 0);
