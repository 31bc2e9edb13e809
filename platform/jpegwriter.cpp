#include "platform/jpegwriter.h"

#include <algorithm>
#include <new>
#include <vector>

#include <QColorSpace>
#include <QtConcurrent/QtConcurrentMap>

#include "platform/imageio.h"
#include "platform/jpegerrors.h"

namespace {

// Every MCU of a 4:2:0 picture covers 16 rows.
constexpr int kMcuRows = 16;

// One band of whole MCU rows, encoded as a JPEG of its own; bOk once its restart markers are numbered
// for their place in the whole picture.
struct Band {
    int nFirstMcuRow = 0;
    int nMcuRows = 0;
    std::vector<unsigned char> vecBytes;
    qsizetype nDataStart = 0;
    bool bOk = false;
};

// libjpeg writes the band into a buffer that doubles when full.
struct ByteDestination {
    jpeg_destination_mgr mgr {};
    std::vector<unsigned char>* pBytes = nullptr;
};

ByteDestination& DestinationOf(j_compress_ptr pInfo)
{
    return *reinterpret_cast<ByteDestination*>(pInfo->dest);
}

void InitDestination(j_compress_ptr pInfo)
{
    ByteDestination& dest = DestinationOf(pInfo);
    dest.pBytes->resize(size_t(1) << 16);
    dest.mgr.next_output_byte = dest.pBytes->data();
    dest.mgr.free_in_buffer = dest.pBytes->size();
}

boolean GrowDestination(j_compress_ptr pInfo)
{
    ByteDestination& dest = DestinationOf(pInfo);
    const size_t nFull = dest.pBytes->size();
    bool bGrown = true;
    try {
        dest.pBytes->resize(nFull * 2);
    } catch (const std::bad_alloc&) {
        bGrown = false;
    }
    // No exception may pass through libjpeg: the band fails as on any of its errors.
    if (!bGrown)
        JpegFail(reinterpret_cast<j_common_ptr>(pInfo));
    dest.mgr.next_output_byte = dest.pBytes->data() + nFull;
    dest.mgr.free_in_buffer = nFull;
    return TRUE;
}

void TermDestination(j_compress_ptr pInfo)
{
    ByteDestination& dest = DestinationOf(pInfo);
    dest.pBytes->resize(dest.pBytes->size() - dest.mgr.free_in_buffer);
}

// The resolution in whole dots per inch or per centimetre, whichever is nearer the picture's, as Qt's
// writer records it.
void SetDensity(jpeg_compress_struct& info, const QImage& image)
{
    const double xInch = image.dotsPerMeterX() * 2.54 / 100;
    const double yInch = image.dotsPerMeterY() * 2.54 / 100;
    const double xCm = image.dotsPerMeterX() / 100.0;
    const double yCm = image.dotsPerMeterY() / 100.0;
    const double dInch = qAbs(xInch - qRound(xInch)) + qAbs(yInch - qRound(yInch));
    const double dCm = (qAbs(xCm - qRound(xCm)) + qAbs(yCm - qRound(yCm))) * 2.54;
    if (dInch < dCm) {
        info.density_unit = 1;
        info.X_density = UINT16(qRound(xInch));
        info.Y_density = UINT16(qRound(yInch));
    } else {
        info.density_unit = 2;
        info.X_density = UINT16((image.dotsPerMeterX() + 50) / 100);
        info.Y_density = UINT16((image.dotsPerMeterY() + 50) / 100);
    }
}

// Where the header segment with the marker begins, found by walking the segments from the start of
// the file up to the scan header; -1 when there is none.
qsizetype FindSegment(const unsigned char* p, qsizetype n, unsigned char nMarker)
{
    qsizetype i = 2;
    while (i + 4 <= n && p[i] == 0xFF) {
        if (p[i + 1] == nMarker)
            return i;
        if (p[i + 1] == 0xDA)
            break;
        i += 2 + (p[i + 2] << 8 | p[i + 3]);
    }
    return -1;
}

// Where the entropy-coded data begins: just after the scan header; 0 when there is none.
qsizetype DataStart(const unsigned char* p, qsizetype n)
{
    const qsizetype nScan = FindSegment(p, n, 0xDA);
    if (nScan < 0)
        return 0;
    const qsizetype nEnd = nScan + 2 + (p[nScan + 2] << 8 | p[nScan + 3]);
    return nEnd <= n ? nEnd : 0;
}

void EncodeBand(const QImage& image, int nQuality, Band& band)
{
    const int nFirstRow = band.nFirstMcuRow * kMcuRows;
    const int nRows = std::min(band.nMcuRows * kMcuRows, image.height() - nFirstRow);
    std::vector<JSAMPROW> vecRows(size_t(nRows), nullptr);
    for (int y = 0; y < nRows; ++y)
        vecRows[size_t(y)] = const_cast<JSAMPROW>(image.constScanLine(nFirstRow + y));
    ByteDestination dest;
    dest.pBytes = &band.vecBytes;
    dest.mgr.init_destination = InitDestination;
    dest.mgr.empty_output_buffer = GrowDestination;
    dest.mgr.term_destination = TermDestination;

    jpeg_compress_struct info {};
    JpegErrorJump errors;
    UseJpegErrorJump(reinterpret_cast<j_common_ptr>(&info), errors);
    jpeg_create_compress(&info);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        return;
    }
    info.dest = &dest.mgr;
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(nRows);
    info.input_components = 4;
    info.in_color_space = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB;
    jpeg_set_defaults(&info);
    SetDensity(info, image);
    jpeg_set_quality(&info, nQuality, TRUE);
    info.restart_in_rows = 1;
    jpeg_start_compress(&info, TRUE);
    if (info.max_v_samp_factor * DCTSIZE != kMcuRows)
        JpegFail(reinterpret_cast<j_common_ptr>(&info));
    while (info.next_scanline < info.image_height)
        jpeg_write_scanlines(&info, vecRows.data() + info.next_scanline, info.image_height - info.next_scanline);
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);

    // The band's own restart markers count from RST0; in the whole picture the marker before MCU row r
    // is RST((r - 1) mod 8).
    unsigned char* pBytes = band.vecBytes.data();
    band.nDataStart = DataStart(pBytes, qsizetype(band.vecBytes.size()));
    const qsizetype nEnd = qsizetype(band.vecBytes.size()) - 2;
    if (band.nDataStart == 0 || nEnd < band.nDataStart || pBytes[nEnd] != 0xFF || pBytes[nEnd + 1] != 0xD9)
        return;
    int nRow = band.nFirstMcuRow;
    for (qsizetype i = band.nDataStart; i + 1 < nEnd; ++i) {
        if (pBytes[i] == 0xFF && pBytes[i + 1] >= 0xD0 && pBytes[i + 1] <= 0xD7)
            pBytes[++i] = static_cast<unsigned char>(0xD0 + nRow++ % 8);
    }
    band.bOk = nRow == band.nFirstMcuRow + band.nMcuRows - 1;
}

} // namespace

QByteArray EncodeJpeg(const QImage& image, int nQuality, int nBands)
{
    const QImage::Format format = image.format();
    if (image.isNull() || image.colorSpace().isValid() || !image.textKeys().isEmpty()
        || (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32
            && format != QImage::Format_ARGB32_Premultiplied)
        || image.width() > JPEG_MAX_DIMENSION || image.height() > JPEG_MAX_DIMENSION)
        return QByteArray();
    const int nMcuRows = (image.height() + kMcuRows - 1) / kMcuRows;
    if (nBands <= 0)
        nBands = std::max(1, PictureThreads().maxThreadCount()) * 2;
    nBands = std::clamp(nBands, 1, nMcuRows);
    std::vector<Band> bands(static_cast<size_t>(nBands));
    for (int i = 0; i < nBands; ++i) {
        Band& band = bands[size_t(i)];
        band.nFirstMcuRow = int(qint64(nMcuRows) * i / nBands);
        band.nMcuRows = int(qint64(nMcuRows) * (i + 1) / nBands) - band.nFirstMcuRow;
    }
    const auto encode = [&](Band& band) { EncodeBand(image, nQuality, band); };
    if (nBands == 1)
        encode(bands.front());
    else
        QtConcurrent::blockingMap(&PictureThreads(), bands, encode);

    QByteArray jpeg;
    if (std::all_of(bands.begin(), bands.end(), [](const Band& band) { return band.bOk; })) {
        // The first band's headers, with the height of the whole picture in its frame header.
        const Band& first = bands.front();
        jpeg.append(reinterpret_cast<const char*>(first.vecBytes.data()), first.nDataStart);
        const qsizetype nFrame
            = FindSegment(reinterpret_cast<const unsigned char*>(jpeg.constData()), jpeg.size(), 0xC0);
        if (nFrame >= 0 && nFrame + 7 <= jpeg.size()) {
            jpeg[nFrame + 5] = char(image.height() >> 8);
            jpeg[nFrame + 6] = char(image.height() & 0xFF);
            for (const Band& band : bands) {
                if (&band != &first) {
                    jpeg.append(char(0xFF));
                    jpeg.append(char(0xD0 + (band.nFirstMcuRow - 1) % 8));
                }
                jpeg.append(reinterpret_cast<const char*>(band.vecBytes.data()) + band.nDataStart,
                    qsizetype(band.vecBytes.size()) - 2 - band.nDataStart);
            }
            jpeg.append("\xFF\xD9", 2);
        } else {
            jpeg.clear();
        }
    }
    return jpeg;
}
