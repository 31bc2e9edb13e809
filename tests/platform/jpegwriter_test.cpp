#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include <QBuffer>
#include <QColorSpace>
#include <QImageWriter>

#include "platform/imageio.h"
#include "platform/jpegwriter.h"
#include "tests/testsupport.h"

namespace {

QByteArray WrittenByQt(const QImage& image)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(100);
    EXPECT_TRUE(writer.write(image));
    return jpeg;
}

// The header segments up to the scan header, each as its marker and its bytes.
std::vector<QByteArray> HeaderSegments(const QByteArray& jpeg)
{
    std::vector<QByteArray> vecSegments;
    qsizetype i = 2;
    while (i + 4 <= jpeg.size() && uchar(jpeg[i]) == 0xFF && uchar(jpeg[i + 1]) != 0xDA) {
        const qsizetype nLength = 2 + (uchar(jpeg[i + 2]) << 8 | uchar(jpeg[i + 3]));
        vecSegments.push_back(jpeg.mid(i, nLength));
        i += nLength;
    }
    return vecSegments;
}

QImage Rgb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The bands joined make byte for byte the stream of one band, which Qt and libjpeg decode to exactly
// the pixels of Qt's own writer: same headers but for the restart interval, at band counts that do
// not divide the rows and sides that are no multiple of an MCU, with alpha (premultiplied pixels are
// written as they are) and without.
TEST(EncodeJpeg, BandsJoinIntoTheStreamOfOneEncodeWithTheSettingsOfQtsWriter)
{
    TestFiles files;
    for (const auto& [size, bAlpha] : {std::pair {QSize(203, 131), false}, std::pair {QSize(45, 250), true},
             std::pair {QSize(16, 16), false}, std::pair {QSize(517, 389), false}}) {
        const QImage image = DetailedPicture(size.width(), size.height(), bAlpha);
        const QByteArray single = EncodeJpeg(image, 100, 1);
        ASSERT_FALSE(single.isEmpty()) << size;
        const QByteArray byQt = WrittenByQt(image);
        const QImage expected = Rgb(QImage::fromData(byQt, "jpeg"));

        std::vector<QByteArray> vecHeaders = HeaderSegments(single);
        const auto itRestart = std::find_if(
            vecHeaders.begin(), vecHeaders.end(), [](const QByteArray& s) { return uchar(s[1]) == 0xDD; });
        ASSERT_NE(itRestart, vecHeaders.end()) << size;
        vecHeaders.erase(itRestart);
        EXPECT_EQ(vecHeaders, HeaderSegments(byQt)) << size;
        EXPECT_NEAR(double(single.size()), double(byQt.size()), byQt.size() * 0.02) << size;

        for (const int nBands : {1, 2, 3, 8}) {
            const QByteArray jpeg = EncodeJpeg(image, 100, nBands);
            EXPECT_EQ(jpeg, single) << size << nBands;
            EXPECT_EQ(Rgb(QImage::fromData(jpeg, "jpeg")), expected) << size << nBands;
            const QString strPath = files.bytes(QStringLiteral("bands%1.jpg").arg(nBands), jpeg);
            EXPECT_EQ(Rgb(ReadPicture(strPath)), expected) << size << nBands;
        }
    }

    // Pictures the bands do not take are left to Qt's writer.
    QImage grey(40, 40, QImage::Format_Grayscale8);
    grey.fill(90);
    QImage profiled = DetailedPicture(40, 40, false);
    profiled.setColorSpace(QColorSpace::SRgb);
    QImage described = DetailedPicture(40, 40, false);
    described.setText(QStringLiteral("Description"), QStringLiteral("card"));
    for (const QImage& image : {grey, profiled, described, QImage()})
        EXPECT_TRUE(EncodeJpeg(image, 100).isEmpty()) << image.format();
}
