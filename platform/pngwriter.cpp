#include "platform/pngwriter.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <vector>

#include <QIODevice>
#include <QtConcurrent/QtConcurrentMap>

#include <libdeflate.h>
#include <zlib.h>

#include "platform/imageio.h"

namespace {

using Bytes = std::vector<unsigned char>;

// One band of rows: its filtered bytes compressed on their own, and their checksum.
struct Piece {
    int nFirstRow = 0;
    int nRows = 0;
    Bytes compressed;
    uLong nAdler = 0;
    uLong nLength = 0;
    bool bOk = false;
};

// Rows nFirst to nFirst + nRows - 1 as the file stores them: R, G, B (and A, straight) bytes, converted
// as Qt converts for its own writer.
QImage BandBytes(const QImage& image, int nFirst, int nRows, bool bAlpha)
{
    const QImage band(image.constScanLine(nFirst), image.width(), nRows, image.bytesPerLine(), image.format());
    return band.convertToFormat(bAlpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
}

// libpng's measure of a filtered row: the bytes taken as signed, their absolute values summed.
inline unsigned Weight(unsigned char v)
{
    return v < 128 ? v : 256u - v;
}

// Paeth's predictor with p - a, p - b and p - c written out and no branches, so that the loop over a
// row vectorises.
inline int PaethOf(int a, int b, int c)
{
    const int pa = std::abs(b - c);
    const int pb = std::abs(a - c);
    const int pc = std::abs(a + b - 2 * c);
    const int bc = pb <= pc ? b : c;
    return (pa <= pb) & (pa <= pc) ? a : bc;
}

// The row filtered against the one above with filter f (0 none, 1 sub, 2 up, 3 average, 4 Paeth).
template <int F, typename Sink>
void FilteredBytes(const unsigned char* pRow, const unsigned char* pAbove, int nBytes, int nPixel, Sink sink)
{
    for (int i = 0; i < nBytes; ++i) {
        const int a = i >= nPixel ? pRow[i - nPixel] : 0;
        const int b = pAbove[i];
        const unsigned char v = pRow[i];
        if constexpr (F == 0)
            sink(i, v);
        else if constexpr (F == 1)
            sink(i, uchar(v - a));
        else if constexpr (F == 2)
            sink(i, uchar(v - b));
        else if constexpr (F == 3)
            sink(i, uchar(v - ((a + b) >> 1)));
        else
            sink(i, uchar(v - PaethOf(a, b, i >= nPixel ? pAbove[i - nPixel] : 0)));
    }
}

template <typename Sink>
void EachFiltered(int f, const unsigned char* pRow, const unsigned char* pAbove, int nBytes, int nPixel, Sink sink)
{
    switch (f) {
    case 0:
        return FilteredBytes<0>(pRow, pAbove, nBytes, nPixel, sink);
    case 1:
        return FilteredBytes<1>(pRow, pAbove, nBytes, nPixel, sink);
    case 2:
        return FilteredBytes<2>(pRow, pAbove, nBytes, nPixel, sink);
    case 3:
        return FilteredBytes<3>(pRow, pAbove, nBytes, nPixel, sink);
    default:
        return FilteredBytes<4>(pRow, pAbove, nBytes, nPixel, sink);
    }
}

// Writes the row filtered with the filter of least weight, its type byte first, to pOut; the first
// of equal weights wins, as in libpng.
void FilterRow(const unsigned char* pRow, const unsigned char* pAbove, int nBytes, int nPixel, unsigned char* pOut)
{
    // The five weights in one pass over the row, in plain counters the compiler keeps in registers.
    unsigned none = 0, sub = 0, up = 0, average = 0, paeth = 0;
    // The first pixel has nothing to its left: sub keeps the byte, Paeth predicts the one above.
    const int nFirst = std::min(nPixel, nBytes);
    for (int i = 0; i < nFirst; ++i) {
        const int b = pAbove[i];
        const int v = pRow[i];
        none += Weight(uchar(v));
        sub += Weight(uchar(v));
        up += Weight(uchar(v - b));
        average += Weight(uchar(v - (b >> 1)));
        paeth += Weight(uchar(v - b));
    }
    for (int i = nFirst; i < nBytes; ++i) {
        const int a = pRow[i - nPixel];
        const int b = pAbove[i];
        const int c = pAbove[i - nPixel];
        const int v = pRow[i];
        none += Weight(uchar(v));
        sub += Weight(uchar(v - a));
        up += Weight(uchar(v - b));
        average += Weight(uchar(v - ((a + b) >> 1)));
        paeth += Weight(uchar(v - PaethOf(a, b, c)));
    }
    const std::array<unsigned, 5> weights {none, sub, up, average, paeth};
    const int nBest = int(std::min_element(weights.begin(), weights.end()) - weights.begin());
    *pOut = uchar(nBest);
    EachFiltered(nBest, pRow, pAbove, nBytes, nPixel, [pOut](int i, unsigned char v) { pOut[i + 1] = v; });
}

// libdeflate's level for the picture: the fastest that keeps every shipped card's file within 2 % of
// zlib's default level's. Small pictures need level 8 (level 7 grows some by 2.2 % at the cards' own
// sizes, about 1.5 megapixels); from 2 megapixels, cards drawn larger than their pictures compress
// better and level 7 stays within 1.5 %, in two thirds of level 8's time.
int LibdeflateLevel(const QImage& image)
{
    return qint64(image.width()) * image.height() >= 2'000'000 ? 7 : 8;
}

bool CompressWithLibdeflate(const Bytes& filtered, int nLevel, bool bLast, Bytes& out)
{
    libdeflate_compressor* pCompressor = libdeflate_alloc_compressor(nLevel);
    if (pCompressor == nullptr)
        return false;
    out.resize(libdeflate_deflate_compress_bound(pCompressor, filtered.size()));
    const size_t nSize
        = libdeflate_deflate_compress(pCompressor, filtered.data(), filtered.size(), out.data(), out.size());
    libdeflate_free_compressor(pCompressor);
    out.resize(nSize);
    return nSize > 0 && (bLast || LeaveDeflateOpen(out));
}

bool CompressWithZlib(const Bytes& filtered, bool bLast, Bytes& out)
{
    // libpng's defaults: level 6, the whole window, the strategy meant for filtered data.
    z_stream stream {};
    if (deflateInit2(&stream, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_FILTERED) != Z_OK)
        return false;
    out.resize(deflateBound(&stream, uLong(filtered.size())) + 16);
    stream.next_in = const_cast<unsigned char*>(filtered.data());
    stream.avail_in = uInt(filtered.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    // Every band but the last ends on a byte boundary, so that the next one's blocks follow it.
    const int nResult = deflate(&stream, bLast ? Z_FINISH : Z_SYNC_FLUSH);
    const bool bOk = bLast ? nResult == Z_STREAM_END : nResult == Z_OK && stream.avail_in == 0;
    out.resize(out.size() - stream.avail_out);
    deflateEnd(&stream);
    return bOk;
}

void CompressPiece(const QImage& image, bool bAlpha, bool bLast, Piece& piece)
{
    const int nPixel = bAlpha ? 4 : 3;
    const int nBytes = image.width() * nPixel;
    Bytes filtered(size_t(piece.nRows) * size_t(nBytes + 1));
    // The row above the band is filtered against too; the first row of the picture against zeros.
    const int nAbove = piece.nFirstRow > 0 ? 1 : 0;
    const QImage band = BandBytes(image, piece.nFirstRow - nAbove, piece.nRows + nAbove, bAlpha);
    if (band.isNull())
        return;
    const Bytes zeros(static_cast<size_t>(nBytes), 0);
    for (int i = 0; i < piece.nRows; ++i) {
        const unsigned char* pAbove = i + nAbove > 0 ? band.constScanLine(i + nAbove - 1) : zeros.data();
        FilterRow(
            band.constScanLine(i + nAbove), pAbove, nBytes, nPixel, filtered.data() + size_t(i) * size_t(nBytes + 1));
    }
    piece.nLength = uLong(filtered.size());
    piece.nAdler = libdeflate_adler32(1, filtered.data(), filtered.size());
    // zlib compresses the band when libdeflate cannot.
    piece.bOk = CompressWithLibdeflate(filtered, LibdeflateLevel(image), bLast, piece.compressed)
        || CompressWithZlib(filtered, bLast, piece.compressed);
}

void PutU32(Bytes& out, quint32 n)
{
    out.push_back(uchar(n >> 24));
    out.push_back(uchar(n >> 16));
    out.push_back(uchar(n >> 8));
    out.push_back(uchar(n));
}

bool WriteChunk(QIODevice& device, const char* pszType, const Bytes& data)
{
    Bytes head;
    PutU32(head, quint32(data.size()));
    head.insert(head.end(), pszType, pszType + 4);
    uLong crc = crc32(0, head.data() + 4, 4);
    // zlib takes a null buffer (an empty vector's) as a request for the initial value.
    if (!data.empty())
        crc = crc32(crc, data.data(), uInt(data.size()));
    Bytes tail;
    PutU32(tail, quint32(crc));
    return device.write(reinterpret_cast<const char*>(head.data()), qint64(head.size())) == qint64(head.size())
        && device.write(reinterpret_cast<const char*>(data.data()), qint64(data.size())) == qint64(data.size())
        && device.write(reinterpret_cast<const char*>(tail.data()), 4) == 4;
}

} // namespace

bool LeaveDeflateOpen(std::vector<unsigned char>& stream)
{
    // inflate stopping at every block boundary tells where the last block starts and where its
    // end-of-block code ends.
    z_stream inflater {};
    if (inflateInit2(&inflater, -MAX_WBITS) != Z_OK)
        return false;
    Bytes scratch(size_t(1) << 18);
    inflater.next_in = stream.data();
    inflater.avail_in = uInt(stream.size());
    quint64 nLastStart = 0;
    quint64 nEnd = 0;
    for (;;) {
        inflater.next_out = scratch.data();
        inflater.avail_out = uInt(scratch.size());
        if (inflate(&inflater, Z_BLOCK) != Z_OK)
            break;
        // At a block boundary fewer than eight bits of the last byte read are left over.
        if ((inflater.data_type & 128) == 0)
            continue;
        const quint64 nBit = quint64(inflater.total_in) * 8 - quint64(inflater.data_type & 7);
        if (inflater.data_type & 64) {
            nEnd = nBit;
            break;
        }
        nLastStart = nBit;
    }
    inflateEnd(&inflater);
    const size_t nFinalByte = size_t(nLastStart >> 3);
    const unsigned char finalBit = uchar(1u << (nLastStart & 7));
    if (nEnd == 0 || (nEnd + 7) / 8 != stream.size() || (stream[nFinalByte] & finalBit) == 0)
        return false;
    stream[nFinalByte] &= uchar(~finalBit);
    // The stored block's three header bits (not final, stored) are zeros, as is the padding after them.
    stream.resize(size_t((nEnd + 3 + 7) / 8), 0);
    stream[size_t(nEnd >> 3)] &= uchar((1u << (nEnd & 7)) - 1);
    stream.insert(stream.end(), {0x00, 0x00, 0xFF, 0xFF});
    return true;
}

bool WritePng(const QImage& picture, QIODevice& device, int nPieces)
{
    if (picture.isNull())
        return false;
    const bool bAlpha = picture.hasAlphaChannel();
    const QImage image = picture.convertToFormat(bAlpha ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const int h = image.height();
    // Four bands a core keep the cores evenly busy; a band of less than about a megabyte would lose
    // too much of what the compressor's window finds across its edges.
    if (nPieces <= 0)
        nPieces = int(std::clamp<qint64>(
            qint64(image.bytesPerLine()) * h >> 20, 1, std::max(1, PictureThreads().maxThreadCount()) * 4));
    nPieces = std::clamp(nPieces, 1, h);
    std::vector<Piece> pieces(static_cast<size_t>(nPieces));
    for (int i = 0; i < nPieces; ++i) {
        pieces[size_t(i)].nFirstRow = int(qint64(h) * i / nPieces);
        pieces[size_t(i)].nRows = int(qint64(h) * (i + 1) / nPieces) - pieces[size_t(i)].nFirstRow;
    }
    const auto compress = [&](Piece& piece) { CompressPiece(image, bAlpha, &piece == &pieces.back(), piece); };
    if (nPieces == 1)
        compress(pieces.front());
    else
        QtConcurrent::blockingMap(&PictureThreads(), pieces, compress);
    if (!std::all_of(pieces.begin(), pieces.end(), [](const Piece& piece) { return piece.bOk; }))
        return false;

    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (device.write(kSignature, 8) != 8)
        return false;
    Bytes header;
    PutU32(header, quint32(image.width()));
    PutU32(header, quint32(h));
    header.insert(header.end(), {8, uchar(bAlpha ? 6 : 2), 0, 0, 0});
    if (!WriteChunk(device, "IHDR", header))
        return false;
    if (image.dotsPerMeterX() > 0 && image.dotsPerMeterY() > 0) {
        Bytes resolution;
        PutU32(resolution, quint32(image.dotsPerMeterX()));
        PutU32(resolution, quint32(image.dotsPerMeterY()));
        resolution.push_back(1);
        if (!WriteChunk(device, "pHYs", resolution))
            return false;
    }
    // The zlib header (deflate, 32 KB window, default level) opens the first band, the combined
    // checksum closes the last.
    uLong nAdler = pieces.front().nAdler;
    for (size_t i = 1; i < pieces.size(); ++i)
        nAdler = adler32_combine(nAdler, pieces[i].nAdler, z_off_t(pieces[i].nLength));
    pieces.front().compressed.insert(pieces.front().compressed.begin(), {0x78, 0x9C});
    PutU32(pieces.back().compressed, quint32(nAdler));
    for (const Piece& piece : pieces) {
        if (!WriteChunk(device, "IDAT", piece.compressed))
            return false;
    }
    return WriteChunk(device, "IEND", Bytes());
}
