#include <gtest/gtest.h>

#include <cmath>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "tests/testsupport.h"

namespace {

bool IsFinite(const RectF& rc)
{
    return std::isfinite(rc.X) && std::isfinite(rc.Y) && std::isfinite(rc.Width) && std::isfinite(rc.Height);
}

std::unique_ptr<TheData> PhotoObject(const RectF& rc)
{
    auto p = std::make_unique<TheData>();
    p->m_nType = OBJ_PHOTO;
    p->m_rcObject = rc;
    return p;
}

} // namespace

struct WorkingCase {
    int w, h;
    QSize expected;
};

void PrintTo(const WorkingCase& c, std::ostream* pOut)
{
    *pOut << c.w << "x" << c.h;
}

class WorkingCopyTest : public ::testing::TestWithParam<WorkingCase> { };

TEST_P(WorkingCopyTest, ShorterSideIsAtMost600AndAspectComesFromTheFile)
{
    const WorkingCase& c = GetParam();
    TestFiles files;
    TheData obj;
    obj.m_strPhoto = files.photo("p.jpg", c.w, c.h);
    obj.LoadPhoto();
    ASSERT_TRUE(obj.m_pPhoto);
    EXPECT_EQ(obj.m_pPhoto->size(), c.expected);
    EXPECT_DOUBLE_EQ(obj.m_dPhotoAspect, double(c.h) / c.w);
}

INSTANTIATE_TEST_SUITE_P(Sizes, WorkingCopyTest,
    ::testing::Values(WorkingCase {4000, 3000, {800, 600}}, WorkingCase {3000, 4000, {600, 800}},
        WorkingCase {700, 300, {1400, 600}}, WorkingCase {600, 600, {600, 600}}, WorkingCase {320, 200, {320, 200}}));

TEST(TheDataContent, WorkingCopyIsUprightForOrientedFiles)
{
    TestFiles files;
    // Stored 1200 x 800 but tagged to be shown turned, so upright it is 800 x 1200.
    QImage stored(1200, 800, QImage::Format_RGB32);
    stored.fill(Qt::blue);
    const QString strPlain = files.write("stored.jpg", stored, 90);
    QFile f(strPlain);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray jpeg = f.readAll();
    const char exif[] = {char(0xFF), char(0xE1), 0, 34, 'E', 'x', 'i', 'f', 0, 0, 'I', 'I', '*', 0, 8, 0, 0, 0, 1, 0,
        0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0};
    jpeg.insert(2, QByteArray(exif, sizeof(exif)));
    TheData obj;
    obj.m_strPhoto = files.bytes("tagged.jpg", jpeg);
    obj.LoadPhoto();
    ASSERT_TRUE(obj.m_pPhoto);
    EXPECT_EQ(obj.m_pPhoto->size(), QSize(600, 900));
    EXPECT_DOUBLE_EQ(obj.m_dPhotoAspect, 1.5);
}

TEST(TheDataContent, PhotoStateFollowsTheWorkingCopiesAndTheMask)
{
    TestFiles files;
    const QString strPhoto = files.photo("p.png", 200, 100);
    const QString strFrame = files.solid("f.png", 100, 100, Qt::red);
    auto p = PhotoObject({10, 10, 100, 100});
    EXPECT_EQ(p->PhotoState(), PHOTO_EMPTY);
    p->SetFrame(strFrame, 0, {}, {});
    EXPECT_EQ(p->PhotoState(), PHOTO_FRAME_ONLY);
    p->SetPhoto(strPhoto, 0, {}, {}, 0);
    EXPECT_EQ(p->PhotoState(), PHOTO_FRAMED);
    p->SetFrame(QString(), 0, {}, {});
    EXPECT_EQ(p->PhotoState(), PHOTO_PLAIN);
    p->SetMask(files.solid("m.png", 50, 50, Qt::white));
    EXPECT_EQ(p->PhotoState(), PHOTO_MASKED);
}

TEST(TheDataContent, PhotoWithoutFrameGivesTheObjectItsShape)
{
    TestFiles files;
    auto p = PhotoObject({10, 20, 100.7f, 100});
    p->SetPhoto(files.photo("p.png", 200, 100), 0, {}, {}, 0);
    EXPECT_EQ(p->m_rcObject, (RectF {10, 45, 100, 50}));
    EXPECT_DOUBLE_EQ(p->m_dAspect, 0.5);

    // Removing the photo leaves a square of the old width, centred on the old rectangle.
    p->SetPhoto(QString(), 0, {}, {}, 0);
    EXPECT_EQ(p->m_rcObject, (RectF {10, 20, 100, 100}));
    EXPECT_DOUBLE_EQ(p->m_dAspect, 1.0);
    EXPECT_FALSE(p->m_pPhoto);
}

TEST(TheDataContent, AnUnreadableFrameKeepsTheObjectsShape)
{
    TestFiles files;
    auto p = PhotoObject({10, 20, 100, 60});
    p->m_dAspect = 0.6;
    p->SetFrame(files.bytes("broken.png", "not a picture"), 0, {}, {});
    EXPECT_EQ(p->m_rcObject, (RectF {10, 20, 100, 60}));
    EXPECT_DOUBLE_EQ(p->m_dAspect, 0.6);
    // With no aspect yet, the rectangle's own is kept.
    auto q = PhotoObject({0, 0, 80, 40});
    q->SetFrame(files.path("missing.png"), 0, {}, {});
    EXPECT_EQ(q->m_rcObject, (RectF {0, 0, 80, 40}));
    EXPECT_DOUBLE_EQ(q->m_dAspect, 0.5);
    q->ResizeBy(20, 1);
    EXPECT_FLOAT_EQ(q->m_rcObject.Height, 50);
}

TEST(TheDataContent, FramedPhotoIsCoverFittedAndCentred)
{
    TestFiles files;
    auto p = PhotoObject({100, 100, 200, 300});
    p->SetFrame(files.solid("f.png", 200, 200, Qt::red), 0, {}, {});
    // The frame decides the shape: square, vertically centred on the old rectangle.
    EXPECT_EQ(p->m_rcObject, (RectF {100, 150, 200, 200}));
    p->m_dPhotoAngle = 12;
    p->SetPhoto(files.photo("p.png", 400, 200), 0, {}, {}, 0);
    // A 2:1 photo covering a 200 x 200 object is 400 x 200 at the object's height, centred.
    EXPECT_EQ(p->m_rcPhoto, (RectF {0, 150, 400, 200}));
    EXPECT_EQ(p->m_rcPhotoLocal, p->m_rcPhoto);
    EXPECT_EQ(p->m_dPhotoAngle, 0);

    // Restoring takes the given placement as it is.
    p->SetPhoto(p->m_strPhoto, 1, {1, 2, 3, 4}, {5, 6, 7, 8}, 33);
    EXPECT_EQ(p->m_rcPhoto, (RectF {1, 2, 3, 4}));
    EXPECT_EQ(p->m_rcPhotoLocal, (RectF {5, 6, 7, 8}));
    EXPECT_EQ(p->m_dPhotoAngle, 33);
}

TEST(TheDataContent, FrameAndMaskExcludeEachOther)
{
    TestFiles files;
    const QString strMask = files.solid("m.png", 100, 100, Qt::white);
    auto p = PhotoObject({0, 0, 100, 50});
    p->SetPhoto(files.photo("p.png", 200, 100), 0, {}, {}, 0);
    p->SetMask(strMask);
    EXPECT_EQ(p->m_strMask, strMask);

    const QString strFrame = files.solid("f.png", 100, 100, Qt::red);
    p->m_strFrameMask = FrameMaskPath(strFrame);
    p->SetFrame(strFrame, 0, {}, {});
    EXPECT_TRUE(p->m_strMask.isEmpty());
    EXPECT_EQ(p->PhotoState(), PHOTO_FRAMED);

    // A mask on a framed photo removes the frame; the object takes the photo's shape.
    p->SetMask(strMask);
    EXPECT_TRUE(p->m_strFrame.isEmpty());
    EXPECT_FALSE(p->m_pFrame);
    EXPECT_EQ(p->m_rcObject.Width, 100);
    EXPECT_EQ(p->m_rcObject.Height, 50);
    EXPECT_DOUBLE_EQ(p->m_dAspect, 0.5);
    EXPECT_EQ(p->m_strFrameMask, FrameMaskPath(strFrame));
}

TEST(TheDataContent, OriginMaskMeansNoMask)
{
    auto p = PhotoObject({0, 0, 10, 10});
    p->SetMask(QStringLiteral("/lib/mask/origin.png"));
    EXPECT_TRUE(p->m_strMask.isEmpty());
    p->SetMask(QStringLiteral("/lib/mask/myorigin2.jpg"));
    EXPECT_TRUE(p->m_strMask.isEmpty());
    // Only a position after the first character counts.
    p->SetMask(QStringLiteral("origin.png"));
    EXPECT_EQ(p->m_strMask, QStringLiteral("origin.png"));
}

TEST(TheDataContent, FrameMaskPathReplacesTheLastThreeCharacters)
{
    EXPECT_EQ(FrameMaskPath(QStringLiteral("/t/frame/oval.png")), QStringLiteral("/t/frame/oval.jpg"));
    EXPECT_EQ(FrameMaskPath(QStringLiteral("ab")), QStringLiteral("jpg"));
}

TEST(TheDataContent, PlaceNewSizesByKindAndAnchorsTheBottomRightCorner)
{
    TestFiles files;
    TheData element;
    element.m_nType = OBJ_ELEMENT;
    element.m_strElement = files.solid("e.png", 200, 100, Qt::green);
    element.PlaceNew(800, 400, 300); // canvas 800 x 600
    EXPECT_EQ(element.m_rcObject, (RectF {400 - 160 + 30, 300 - 80 + 20, 160, 80}));
    EXPECT_DOUBLE_EQ(element.m_dAspect, 0.5);
    ASSERT_TRUE(element.m_pImage);

    TheData framed;
    framed.m_strPhoto = files.photo("p.png", 300, 300);
    framed.m_strFrame = files.solid("f.png", 100, 200, Qt::red);
    framed.PlaceNew(1000, 500, 500);
    EXPECT_EQ(framed.m_rcObject, (RectF {500 - 300 + 30, 500 - 600 + 20, 300, 600}));

    TheData masked;
    masked.m_strPhoto = framed.m_strPhoto;
    masked.m_strMask = files.solid("origin_mask.png", 100, 50, Qt::white);
    masked.PlaceNew(1000, 500, 500);
    EXPECT_EQ(masked.m_rcObject.Width, 250);
    EXPECT_EQ(masked.m_rcObject.Height, 125);
    EXPECT_TRUE(masked.m_strMask.isEmpty()); // "origin" after the first character
}

TEST(TheDataContent, TextIsPlacedAt30AndFitsItsMeasure)
{
    TheData text;
    text.m_nType = OBJ_TEXT;
    text.m_pText = std::make_unique<CTextPanel>();
    text.m_pText->m_strText = QStringLiteral("Merry Christmas");
    text.PlaceNew(800, 400, 300);
    EXPECT_EQ(text.m_rcObject.X, 30);
    EXPECT_EQ(text.m_rcObject.Y, 30);
    EXPECT_EQ(text.m_rcObject.Width, text.m_pText->m_rcLayout.Width);
    EXPECT_EQ(text.m_rcObject.Height, text.m_pText->m_rcLayout.Height);
    EXPECT_GT(text.m_rcObject.Width, text.m_rcObject.Height);
    EXPECT_DOUBLE_EQ(text.m_dAspect, double(text.m_rcObject.Height) / text.m_rcObject.Width);
}

TEST(TheDataContent, UnreadablePicturesKeepFiniteGeometryAndDrawNothing)
{
    TestFiles files;
    const QString strBroken = files.bytes("broken.jpg", "not a picture at all");
    auto p = PhotoObject({10, 10, 100, 100});
    p->SetFrame(files.solid("f.png", 100, 100, Qt::red), 0, {}, {});
    p->SetPhoto(strBroken, 0, {}, {}, 0);
    ASSERT_TRUE(p->m_pPhoto);
    EXPECT_TRUE(p->m_pPhoto->isNull());
    EXPECT_TRUE(IsFinite(p->m_rcPhoto));
    EXPECT_TRUE(IsFinite(p->m_rcObject));
    p->StorePhotoCrop(1);
    p->ResizeBy(30, 1);
    p->StorePhotoCrop(0);
    EXPECT_TRUE(IsFinite(p->m_rcPhoto));
    EXPECT_TRUE(IsFinite(p->m_rcPhotoLocal));

    TheData element;
    element.m_nType = OBJ_ELEMENT;
    element.m_strElement = files.path("missing.png");
    element.PlaceNew(800, 100, 100);
    EXPECT_TRUE(IsFinite(element.m_rcObject));
    EXPECT_TRUE(std::isfinite(element.m_dAspect));

    auto plain = PhotoObject({0, 0, 50, 50});
    plain->SetPhoto(strBroken, 0, {}, {}, 0);
    EXPECT_TRUE(IsFinite(plain->m_rcObject));
    EXPECT_TRUE(std::isfinite(plain->m_dAspect));
}
