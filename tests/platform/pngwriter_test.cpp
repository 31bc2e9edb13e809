#include <gtest/gtest.h>

#include <csetjmp>
#include <vector>

#include <QBuffer>

#include <png.h>

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

} // namespace

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
