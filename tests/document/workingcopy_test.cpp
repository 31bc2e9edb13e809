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
