#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <random>
#include <vector>

#include <QBuffer>

#include <libdeflate.h>
#include <png.h>
#include <zlib.h>

#include "platform/pngwriter.h"
#include "tests/testsupport.h"

namespace {

// The PNG decoded by libpng as 8-bit RGBA (straight alpha); null when libpng refuses it, including
// any checksum it finds wrong.
QImage DecodeWithLibpng(const QByteArray& png)
{
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.constData(), size_t(png.size())))
        return QImage();
    image.format = PNG_FORMAT_RGBA;
    QImage out(int(image.width), int(image.height), QImage::Format_RGBA8888);
    if (!png_image_finish_read(&image, nullptr, out.bits(), int(out.bytesPerLine()), nullptr)) {
        png_image_free(&image);
        return QImage();
    }
    return out;
}

using Bytes = std::vector<unsigned char>;

Bytes Noise(size_t nSize, unsigned nSeed)
{
    std::mt19937 random(nSeed);
    Bytes bytes(nSize);
    for (unsigned char& v : bytes)
        v = uchar(random());
    return bytes;
}

// Bytes like a filtered picture's: runs, small differences and some noise, over several blocks.
Bytes PictureLike(size_t nSize)
{
    Bytes bytes = Noise(nSize, 7);
    for (size_t i = 0; i < nSize; ++i)
        bytes[i] = (i / 3000) % 3 == 0 ? uchar(i % 7) : uchar((bytes[i] & 3) + (i >> 11));
    return bytes;
}

Bytes Compressed(const Bytes& data)
{
    libdeflate_compressor* pCompressor = libdeflate_alloc_compressor(7);
    Bytes out(libdeflate_deflate_compress_bound(pCompressor, data.size()));
    out.resize(libdeflate_deflate_compress(pCompressor, data.data(), data.size(), out.data(), out.size()));
    libdeflate_free_compressor(pCompressor);
    return out;
}

// The raw deflate stream inflated whole; empty when zlib finds it incomplete or wrong.
Bytes Inflated(const Bytes& stream, size_t nExpected)
{
    Bytes out(nExpected + 1);
    z_stream inflater {};
    inflateInit2(&inflater, -MAX_WBITS);
    inflater.next_in = const_cast<unsigned char*>(stream.data());
    inflater.avail_in = uInt(stream.size());
    inflater.next_out = out.data();
    inflater.avail_out = uInt(out.size());
    const bool bEnded = inflate(&inflater, Z_FINISH) == Z_STREAM_END && inflater.avail_in == 0;
    out.resize(inflater.total_out);
    inflateEnd(&inflater);
    return bEnded ? out : Bytes();
}

// The IDAT chunks' data, joined: the picture's zlib stream.
Bytes ZlibStream(const QByteArray& png)
{
    Bytes stream;
    for (qsizetype i = 8; i + 12 <= png.size();) {
        const auto* p = reinterpret_cast<const unsigned char*>(png.constData() + i);
        const qsizetype nLength = qsizetype(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
        if (std::equal(p + 4, p + 8, "IDAT"))
            stream.insert(stream.end(), p + 8, p + 8 + nLength);
        i += nLength + 12;
    }
    return stream;
}

} // namespace

// Streams left open join with the ones after them into one stream that inflates to all their data:
// streams ending mid-byte and on a byte boundary (stored blocks: noise, a single byte), of one block
// or several; the open stream ends as a sync flush does.
TEST(LeaveDeflateOpen, OpenStreamsJoinWithTheNextIntoOne)
{
    const struct {
        const char* pszCase;
        Bytes data;
        bool bStored;
    } cases[] = {
        {"noise, stored", Noise(100000, 1), true},
        {"one byte", Bytes {42}, true},
        {"zeros", Bytes(65536, 0), false},
        {"several blocks", PictureLike(3 << 20), false},
        {"text", Bytes(5000, 'a'), false},
    };
    const Bytes tail = PictureLike(5000);
    for (const auto& c : cases) {
        Bytes stream = Compressed(c.data);
        ASSERT_FALSE(stream.empty()) << c.pszCase;
        // A stored block, the last block type 00 (bits 1-2 of the first byte), ends on a byte boundary.
        EXPECT_EQ((stream[0] & 6) == 0, c.bStored) << c.pszCase;
        ASSERT_TRUE(LeaveDeflateOpen(stream)) << c.pszCase;
        EXPECT_EQ(Bytes(stream.end() - 4, stream.end()), (Bytes {0x00, 0x00, 0xFF, 0xFF})) << c.pszCase;
        // Open, the stream inflates to its data and waits for more.
        EXPECT_TRUE(Inflated(stream, c.data.size()).empty()) << c.pszCase;
        Bytes joined = stream;
        joined.insert(joined.end(), stream.begin(), stream.end());
        const Bytes last = Compressed(tail);
        joined.insert(joined.end(), last.begin(), last.end());
        Bytes expected = c.data;
        expected.insert(expected.end(), c.data.begin(), c.data.end());
        expected.insert(expected.end(), tail.begin(), tail.end());
        EXPECT_EQ(Inflated(joined, expected.size()), expected) << c.pszCase;
    }
    // An empty block in the fixed code, whose padding bits are set: they are cleared for the stored
    // block's header.
    Bytes empty {0x03, 0xFC};
    ASSERT_TRUE(LeaveDeflateOpen(empty));
    EXPECT_EQ(empty, (Bytes {0x02, 0x00, 0x00, 0x00, 0xFF, 0xFF}));
}

// A stream that is not one complete stream filling its bytes is refused and left as it was.
TEST(LeaveDeflateOpen, RefusesWhatIsNotOneCompleteStream)
{
    const Bytes whole = Compressed(PictureLike(200000));
    Bytes open = whole;
    ASSERT_TRUE(LeaveDeflateOpen(open));
    Bytes cut(whole.begin(), whole.end() - 1);
    Bytes longer = whole;
    longer.push_back(0);
    Bytes garbage = Noise(1000, 3);
    garbage[0] = 0xFF;
    for (Bytes* pStream : {&cut, &longer, &garbage, &open}) {
        const Bytes before = *pStream;
        EXPECT_FALSE(LeaveDeflateOpen(*pStream));
        EXPECT_EQ(*pStream, before);
    }
}

// The bands joined into one stream make a normal PNG: libpng (which checks every CRC and the zlib
// checksum) and Qt read it back to the written pixels, at any number of bands, for widths and heights
// the band count does not divide, with and without alpha; a large picture's file stays within 2 % of
// one band's.
TEST(WritePng, BandsCompressedApartReadBackExactlyWithLibpngAndQt)
{
    for (const bool bAlpha : {false, true}) {
        for (const QSize size : {QSize(1201, 1003), QSize(301, 203), QSize(97, 9), QSize(1, 3)}) {
            const QImage picture = DetailedPicture(size.width(), size.height(), bAlpha);
            const QImage expected = picture.convertToFormat(QImage::Format_RGBA8888);
            qint64 nOneBand = 0;
            for (const int nPieces : {1, 2, 8}) {
                QByteArray png;
                QBuffer buffer(&png);
                buffer.open(QIODevice::WriteOnly);
                ASSERT_TRUE(WritePng(picture, buffer, nPieces));
                const QImage fromLibpng = DecodeWithLibpng(png);
                const QImage fromQt = QImage::fromData(png, "PNG");
                const std::string strCase = (bAlpha ? "RGBA " : "RGB ") + std::to_string(size.width()) + "x"
                    + std::to_string(size.height()) + ", " + std::to_string(nPieces) + " bands";
                ASSERT_FALSE(fromLibpng.isNull()) << strCase;
                ASSERT_FALSE(fromQt.isNull()) << strCase;
                EXPECT_EQ(fromQt.hasAlphaChannel(), bAlpha) << strCase;
                EXPECT_EQ(fromLibpng, expected) << strCase;
                EXPECT_EQ(fromQt.convertToFormat(QImage::Format_RGBA8888), expected) << strCase;
                if (nPieces == 1) {
                    nOneBand = png.size();
                } else if (size.height() > 1000) {
                    EXPECT_LT(png.size(), nOneBand * 1.02) << strCase;
                }
            }
        }
    }
}

// Bands whose streams end on a byte boundary (noise, stored), that compress to a few bytes (flat) or
// hold one row each join as any others do.
TEST(WritePng, BandsOfNoiseFlatAndSingleRowsReadBackExactly)
{
    for (const bool bAlpha : {false, true}) {
        // Premultiplied, the pixels pass the writer's conversions unchanged.
        const QImage::Format format = bAlpha ? QImage::Format_RGBA8888_Premultiplied : QImage::Format_RGBX8888;
        const auto valid = [bAlpha](QImage image) {
            for (int y = 0; y < image.height(); ++y) {
                for (unsigned char* p = image.scanLine(y); p < image.scanLine(y) + image.width() * 4; p += 4) {
                    p[3] = bAlpha ? p[3] : 255;
                    std::transform(p, p + 3, p, [a = p[3]](unsigned char v) { return std::min(v, a); });
                }
            }
            return image;
        };
        QImage noise(401, 301, format);
        const Bytes bytes = Noise(size_t(noise.sizeInBytes()), 5);
        std::copy(bytes.begin(), bytes.end(), noise.bits());
        noise = valid(noise);
        QImage flat(401, 301, format);
        flat.fill(QColor(20, 200, 90, bAlpha ? 128 : 255));
        QImage mixed = noise.copy();
        for (int y = 0; y < mixed.height(); y += 2)
            std::fill_n(mixed.scanLine(y), mixed.bytesPerLine(), uchar(y));
        mixed = valid(mixed);
        for (const auto& [pszCase, picture, nPieces] : {std::tuple {"noise", noise, 8}, std::tuple {"flat", flat, 8},
                 std::tuple {"mixed", mixed, 8}, std::tuple {"single rows", mixed.copy(0, 0, 401, 8), 8}}) {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            ASSERT_TRUE(WritePng(picture, buffer, nPieces)) << pszCase;
            const QImage expected = picture.convertToFormat(QImage::Format_RGBA8888);
            EXPECT_EQ(DecodeWithLibpng(png), expected) << pszCase << (bAlpha ? " RGBA" : " RGB");
        }
    }
}

// The file is no more than 2 % larger than zlib's default level makes of the same filtered rows in one
// stream, small pictures and large ones alike, as libdeflate's level changes with the size.
TEST(WritePng, FileWithinTwoPercentOfZlibsDefaultLevel)
{
    for (const QSize size : {QSize(1500, 1000), QSize(2100, 1400)}) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(WritePng(DetailedPicture(size.width(), size.height(), false), buffer));
        const Bytes stream = ZlibStream(png);
        Bytes filtered(size_t(size.width() * 3 + 1) * size_t(size.height()));
        uLongf nFiltered = uLongf(filtered.size());
        ASSERT_EQ(uncompress(filtered.data(), &nFiltered, stream.data(), uLong(stream.size())), Z_OK) << size;
        ASSERT_EQ(nFiltered, filtered.size()) << size;
        z_stream deflater {};
        deflateInit2(&deflater, Z_DEFAULT_COMPRESSION, Z_DEFLATED, MAX_WBITS, 8, Z_FILTERED);
        Bytes zlib(deflateBound(&deflater, uLong(filtered.size())));
        deflater.next_in = filtered.data();
        deflater.avail_in = uInt(filtered.size());
        deflater.next_out = zlib.data();
        deflater.avail_out = uInt(zlib.size());
        ASSERT_EQ(deflate(&deflater, Z_FINISH), Z_STREAM_END) << size;
        EXPECT_LE(double(stream.size()), double(deflater.total_out) * 1.02) << size;
        deflateEnd(&deflater);
    }
}
