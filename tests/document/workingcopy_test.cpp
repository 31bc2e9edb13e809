#include <gtest/gtest.h>

#include "canvas/canvas.h"
#include "document/thedata.h"
#include "platform/imageio.h"
#include "tests/testsupport.h"

// The screen copy of the background and the working copies of photos and frames are one size rule.
// The longer side is the exact quotient, truncated: a ratio that cannot be held exactly in floating
// point must not lose a pixel (602 x 400 is exactly 903 x 600).
TEST(WorkingCopySize, LongerSideIsTheExactQuotientTruncated)
{
    struct Case {
        QSize picture;
        QSize copy;
    };
    const Case cases[] = {
        {{602, 400}, {903, 600}},
        {{400, 602}, {600, 903}},
        {{602, 200}, {1806, 600}},
        {{1000, 333}, {1801, 600}},
        {{601, 601}, {600, 600}},
        {{600, 300}, {600, 300}},
        {{0, 900}, {0, 900}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture.width() << " x " << c.picture.height());
        EXPECT_EQ(WorkingCopySize(c.picture), c.copy);
        EXPECT_EQ(DisplayCopySize(c.picture), c.copy);
    }
}

TEST(WorkingCopySize, BackgroundCopyAndPhotoWorkingCopyAgree)
{
    TestFiles files;
    const QString strPicture = files.photo("wide.png", 602, 400);
    QSize full;
    const QImage copy = ReadWorkingCopy(strPicture, &full);
    EXPECT_EQ(full, QSize(602, 400));
    EXPECT_EQ(copy.size(), QSize(903, 600));
    EXPECT_EQ(copy.format(), QImage::Format_ARGB32_Premultiplied);

    TheData obj;
    obj.m_strPhoto = strPicture;
    obj.LoadPhoto();
    ASSERT_TRUE(obj.m_pPhoto);
    EXPECT_EQ(obj.m_pPhoto->size(), copy.size());
}

TEST(WorkingCopySize, UnreadableFileGivesNoCopyAndNoSize)
{
    TestFiles files;
    QSize full(1, 1);
    EXPECT_TRUE(ReadWorkingCopy(files.bytes("text.png", "not a picture"), &full).isNull());
    EXPECT_FALSE(full.isValid());
    EXPECT_TRUE(ReadWorkingCopy(QString(), &full).isNull());
    EXPECT_FALSE(full.isValid());
}

// The target is chosen from the size the header declares, and the picture is read at it.
TEST(ReadPictureFor, ChoosesTheTargetFromTheFileSize)
{
    TestFiles files;
    const QString strPicture = files.photo("p.jpg", 800, 400);
    QSize seen;
    QSize full;
    const QImage image = ReadPictureFor(
        strPicture,
        [&seen](QSize szFile) {
            seen = szFile;
            return szFile / 4;
        },
        &full);
    EXPECT_EQ(seen, QSize(800, 400));
    EXPECT_EQ(full, QSize(800, 400));
    EXPECT_EQ(image.size(), QSize(200, 100));
}

// Found by the picture fuzzer: a BMP declaring 12848 x 13 pixels asked for a working copy of
// 592984 x 600 pixels, 1.4 GB. A sliver's copy keeps its shape within the cap.
TEST(WorkingCopySize, ASliverOfAPictureStaysWithinTheCap)
{
    static const unsigned char kFinding[]
        = {0x42, 0x4d, 0x86, 0x07, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x32, 0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00,
            0x30, 0x32, 0x00, 0x00, 0x0d, 0x00, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00, 0x00, 0x50, 0x07,
            0x00, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0x73, 0x6d, 0x70, 0x73, 0x6d, 0x70, 0x73, 0x6d, 0x70, 0x73, 0xa9, 0xa9,
            0xa9, 0xa9, 0xa9, 0xa9, 0xa9, 0xa9, 0xa9, 0x70, 0x73, 0x6d, 0x70, 0x73, 0x6d, 0x70, 0x73, 0x6d, 0x70};
    TestFiles files;
    QSize full;
    const QImage copy = ReadWorkingCopy(
        files.bytes("sliver.bmp", QByteArray(reinterpret_cast<const char*>(kFinding), sizeof kFinding)), &full);
    EXPECT_EQ(full, QSize(12848, 13));
    EXPECT_LE(qint64(copy.width()) * copy.height(), kMaxWorkingPixels);

    for (const QSize sliver : {QSize(12848, 13), QSize(1, 100000), QSize(65000, 600)}) {
        const QSize size = WorkingCopySize(sliver);
        EXPECT_LE(qint64(size.width()) * size.height(), kMaxWorkingPixels) << sliver;
        const double dAspect = double(sliver.width()) / sliver.height();
        EXPECT_NEAR(double(size.width()) / size.height(), dAspect, dAspect * 0.01) << sliver;
    }
}
