#pragma once

#include <vector>

#include <QImage>

class QIODevice;

// Writes the picture as an 8-bit PNG: RGB for a picture without alpha, RGBA (straight alpha) otherwise,
// with its resolution. The rows are filtered as libpng does by default (the filter of least absolute
// sum per row) and compressed with libdeflate (zlib when it fails) in nPieces bands of rows (0: four per
// core), each on a thread of its own; every band but the last is left open on a byte boundary, so the
// bands join into one zlib stream whose checksum is combined from theirs. False when the picture is
// null or a write fails.
bool WritePng(const QImage& image, QIODevice& device, int nPieces = 0);

// Turns a complete raw deflate stream into one that more blocks can follow, as a sync flush ends: its
// last block is no longer marked last, and an empty stored block after it pads to a byte boundary.
// False, with the stream unchanged, when it does not decode as one complete stream that ends in its
// last byte.
bool LeaveDeflateOpen(std::vector<unsigned char>& stream);
