#include <gtest/gtest.h>

#include "document/carddocument.h"
#include "document/thedata.h"

namespace {

// A framed photo object with working copies of the given sizes, set up without files.
std::unique_ptr<TheData> FramedPhoto(const RectF& rcObject, const RectF& rcPhoto, QSize photo = QSize(400, 300))
{
    auto p = std::make_unique<TheData>();
    TheData& obj = *p;
    obj.m_rcObject = rcObject;
    obj.m_rcPhoto = obj.m_rcPhotoLocal = rcPhoto;
    obj.m_pPhoto = std::make_unique<QImage>(photo, QImage::Format_ARGB32_Premultiplied);
    obj.m_pFrame = std::make_unique<QImage>(100, 100, QImage::Format_ARGB32_Premultiplied);
    obj.m_dAspect = rcObject.Height / rcObject.Width;
    obj.m_dPhotoAspect = double(photo.height()) / photo.width();
    return p;
}

void ExpectNear(const RectF& actual, const RectF& expected, float tolerance = 1e-3f)
{
    EXPECT_NEAR(actual.X, expected.X, tolerance);
    EXPECT_NEAR(actual.Y, expected.Y, tolerance);
    EXPECT_NEAR(actual.Width, expected.Width, tolerance);
    EXPECT_NEAR(actual.Height, expected.Height, tolerance);
}

std::unique_ptr<TheData> Box(const RectF& rc, double dAngle = 0)
{
    auto p = std::make_unique<TheData>();
    p->m_nType = OBJ_ELEMENT;
    p->m_rcObject = rc;
    p->m_dAngle = dAngle;
    return p;
}

} // namespace

TEST(Geometry, MovingTheObjectCarriesThePhoto)
{
    const auto pObj = FramedPhoto({10, 10, 100, 100}, {0, 0, 120, 90});
    TheData& obj = *pObj;
    obj.MoveBy(5, -3, 1);
    EXPECT_EQ(obj.m_rcObject, (RectF {15, 7, 100, 100}));
    EXPECT_EQ(obj.m_rcPhoto, (RectF {5, -3, 120, 90}));
    EXPECT_EQ(obj.m_rcPhotoLocal, obj.m_rcPhoto);

    // Turned objects move both photo rectangles by the same screen delta.
    obj.m_dAngle = 45;
    obj.m_rcPhotoLocal = {1, 1, 120, 90};
    obj.MoveBy(2, 2, 1);
    EXPECT_EQ(obj.m_rcPhotoLocal, (RectF {3, 3, 120, 90}));
}

TEST(Geometry, MovingThePhotoOfATurnedObjectTurnsTheDeltaBack)
{
    const auto pObj = FramedPhoto({0, 0, 100, 100}, {0, 0, 120, 90});
    TheData& obj = *pObj;
    obj.MoveBy(7, 4, 0);
    EXPECT_EQ(obj.m_rcObject, (RectF {0, 0, 100, 100}));
    EXPECT_EQ(obj.m_rcPhoto, (RectF {7, 4, 120, 90}));
    EXPECT_EQ(obj.m_rcPhotoLocal, obj.m_rcPhoto);

    obj.m_dAngle = 90;
    obj.m_rcPhotoLocal = {0, 0, 120, 90};
    obj.MoveBy(10, 0, 0);
    EXPECT_EQ(obj.m_rcPhoto, (RectF {17, 4, 120, 90}));
    ExpectNear(obj.m_rcPhotoLocal, {0, -10, 120, 90}, 1e-4f);
}

TEST(Geometry, ResizeKeepsCentreAndAspectAndRefusesWidthsUpTo20)
{
    const auto pObj = FramedPhoto({100, 100, 25, 50}, {90, 90, 40, 30});
    TheData& obj = *pObj;
    obj.ResizeBy(-5, 1); // 20 is not above 20
    EXPECT_EQ(obj.m_rcObject, (RectF {100, 100, 25, 50}));
    obj.ResizeBy(-4, 1);
    ExpectNear(obj.m_rcObject, {102, 104, 21, 42});
    EXPECT_EQ(obj.m_rcPhoto, (RectF {90, 90, 40, 30})); // the whole-object resize leaves the photo

    obj.ResizeBy(40, 0); // photo: 80 wide at the photo's aspect 0.75, same centre (110, 105)
    EXPECT_EQ(obj.m_rcPhoto, (RectF {70, 75, 80, 60}));
    EXPECT_EQ(obj.m_rcPhotoLocal, obj.m_rcPhoto);
    obj.ResizeBy(-60, 0);
    EXPECT_EQ(obj.m_rcPhoto, (RectF {70, 75, 80, 60}));

    // With the object turned, the local rectangle grows about its own centre.
    obj.m_dAngle = 30;
    obj.m_rcPhotoLocal = {0, 0, 40, 30};
    obj.ResizeBy(20, 0);
    EXPECT_EQ(obj.m_rcPhotoLocal, (RectF {-10, -7.5f, 60, 45}));
}

TEST(Geometry, CommitAngleWrapsOnceIntoZeroTo360)
{
    TheData obj;
    const double deltas[] = {350, 20, -40};
    const double expected[] = {350, 10, 330};
    for (int i = 0; i < 3; ++i) {
        obj.m_dAngleDelta = deltas[i];
        obj.CommitAngle(1);
        EXPECT_DOUBLE_EQ(obj.m_dAngle, expected[i]);
        EXPECT_EQ(obj.m_dAngleDelta, 0);
    }
    obj.m_dAngleDelta = -90;
    obj.CommitAngle(0);
    EXPECT_DOUBLE_EQ(obj.m_dPhotoAngle, 270);
    EXPECT_DOUBLE_EQ(obj.m_dAngle, 330);
}

TEST(Geometry, StoredCropFollowsAResizedFrame)
{
    const auto pObj = FramedPhoto({100, 100, 100, 100}, {80, 70, 160, 120});
    TheData& obj = *pObj;
    obj.StorePhotoCrop(1);
    const RectF before = obj.m_rcPhoto;
    obj.ResizeBy(50, 1); // 100 -> 150 about the centre
    obj.StorePhotoCrop(0);
    const float dx = before.X - 100;
    const float dy = before.Y - 100;
    ExpectNear(obj.m_rcPhoto, {obj.m_rcObject.X + dx * 1.5f, obj.m_rcObject.Y + dy * 1.5f, 240, 180});
    EXPECT_EQ(obj.m_rcPhotoLocal, obj.m_rcPhoto);
}

TEST(Geometry, CropIsOnlyKeptForFramedPhotos)
{
    const auto pObj = FramedPhoto({0, 0, 100, 100}, {0, 0, 100, 100});
    TheData& obj = *pObj;
    obj.m_pFrame.reset();
    obj.StorePhotoCrop(1);
    EXPECT_EQ(obj.m_rcCrop, RectF());
    obj.m_rcPhoto = {5, 5, 5, 5};
    obj.StorePhotoCrop(0);
    EXPECT_EQ(obj.m_rcPhoto, (RectF {5, 5, 5, 5}));
}

TEST(Geometry, HitTestFindsTheTopmostLiveObject)
{
    CardDocument doc;
    doc.AddObject(Box({0, 0, 100, 100}), 0);
    doc.AddObject(Box({50, 50, 100, 100}), 0);
    EXPECT_EQ(doc.HitTest(75, 75), 1);
    EXPECT_EQ(doc.HitTest(10, 10), 0);
    EXPECT_EQ(doc.HitTest(300, 300), -1);
    doc.m_vecObjects[1]->m_bDeleted = 1;
    EXPECT_EQ(doc.HitTest(75, 75), 0);
    EXPECT_EQ(doc.HitTest(140, 140), -1);
}

TEST(Geometry, HitTestUsesTheTurnedOutlineButNotTheUncommittedDelta)
{
    CardDocument doc;
    doc.AddObject(Box({0, 40, 200, 20}, 90), 0); // turned upright about (100, 50)
    EXPECT_EQ(doc.HitTest(100, 130), 0);
    EXPECT_EQ(doc.HitTest(10, 50), -1);
    doc.m_vecObjects[0]->m_dAngleDelta = 90;
    EXPECT_EQ(doc.HitTest(100, 130), 0);
}

TEST(Geometry, HitPhotoUsesEveryPhotoAngle)
{
    CardDocument doc;
    doc.AddObject(FramedPhoto({0, 0, 100, 100}, {0, 40, 200, 20}), 0);
    EXPECT_FALSE(doc.HitPhoto(100, 50)); // nothing selected
    doc.m_nSelected = 0;
    EXPECT_TRUE(doc.HitPhoto(150, 50));
    EXPECT_FALSE(doc.HitPhoto(100, 10));
    doc.m_vecObjects[0]->m_dPhotoAngle = 60;
    doc.m_vecObjects[0]->m_dAngleDelta = 30;
    EXPECT_TRUE(doc.HitPhoto(100, 10));
    EXPECT_FALSE(doc.HitPhoto(150, 50));
}

TEST(Geometry, MoveInStackKeepsRelativeOrderAndRenumbers)
{
    auto order = [](const CardDocument& doc) {
        std::string s;
        for (const auto& p : doc.m_vecObjects) {
            s += char('A' + int(p->m_rcObject.X));
            EXPECT_EQ(p->m_nIndex, int(s.size()) - 1);
        }
        return s;
    };
    CardDocument doc;
    for (int i = 0; i < 5; ++i)
        doc.AddObject(Box({float(i), 0, 1, 1}), 0);
    doc.MoveInStack(2, 4);
    EXPECT_EQ(order(doc), "ABDEC");
    doc.MoveInStack(3, 0);
    EXPECT_EQ(order(doc), "EABDC");
    doc.MoveInStack(0, 9); // out of range: nothing moves
    EXPECT_EQ(order(doc), "EABDC");
}
