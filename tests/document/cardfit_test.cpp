#include <gtest/gtest.h>

#include "document/carddocument.h"
#include "document/cardfit.h"
#include "platform/imageio.h"
#include "tests/testsupport.h"

namespace {

TheData* Add(CardDocument& doc, int nType, const RectF& rc)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = nType;
    pObject->m_rcObject = rc;
    return doc.AddObject(std::move(pObject), 0);
}

} // namespace

TEST(FitTemplateObjectsTest, ConvertsTemplateUnitsWithTheNaturalHeightOfEachKind)
{
    TestFiles files;
    const QString strBackground = files.solid(QStringLiteral("bg.png"), 1000, 1000, Qt::white);
    CardDocument doc;
    doc.m_szClient = QSize(500, 500);
    TheData* pPhoto = Add(doc, OBJ_PHOTO, {0, 0, 200, 100});
    pPhoto->m_strFrame = files.solid(QStringLiteral("frame.png"), 300, 100, Qt::red);
    TheData* pBare = Add(doc, OBJ_PHOTO, {100, 10, 50, 50});
    TheData* pElement = Add(doc, OBJ_ELEMENT, {10, 20, 30, 40});
    pElement->m_strElement = files.solid(QStringLiteral("bell.png"), 60, 80, Qt::blue);
    TheData* pText = Add(doc, OBJ_TEXT, {10, 20, 30, 40});

    ASSERT_TRUE(FitTemplateObjects(doc, strBackground));
    EXPECT_EQ(doc.m_strBackground, strBackground);
    EXPECT_EQ(pPhoto->m_rcObject, (RectF {0, 450, 100, 50}));
    EXPECT_EQ(pBare->m_rcObject, (RectF {50, 495, 25, 25})) << "a photo without a frame measures 0";
    EXPECT_EQ(pElement->m_rcObject, (RectF {5, 450, 15, 20}));
    EXPECT_EQ(pText->m_rcObject, (RectF {5, 490, 15, 20}));
    EXPECT_TRUE(pPhoto->m_pFrame);
    EXPECT_FALSE(pPhoto->m_pImage) << "display images are the canvas's to make";
}

TEST(FitTemplateObjectsTest, UsesSeparateFactorsForWidthAndHeight)
{
    TestFiles files;
    const QString strBackground = files.solid(QStringLiteral("bg.png"), 800, 400, Qt::white);
    CardDocument doc;
    doc.m_szClient = QSize(400, 400);
    TheData* pText = Add(doc, OBJ_TEXT, {100, 100, 80, 40});
    ASSERT_TRUE(FitTemplateObjects(doc, strBackground));
    EXPECT_EQ(pText->m_rcObject, (RectF {50, 300, 40, 40}));
}

TEST(FitTemplateObjectsTest, UnreadableBackgroundChangesNothing)
{
    TestFiles files;
    CardDocument doc;
    doc.m_szClient = QSize(500, 500);
    doc.m_strBackground = QStringLiteral("old.png");
    TheData* pText = Add(doc, OBJ_TEXT, {10, 20, 30, 40});
    EXPECT_FALSE(FitTemplateObjects(doc, files.path(QStringLiteral("none.png"))));
    EXPECT_FALSE(FitTemplateObjects(doc, files.bytes(QStringLiteral("bad.png"), "not a picture")));
    EXPECT_EQ(doc.m_strBackground, QStringLiteral("old.png"));
    EXPECT_EQ(pText->m_rcObject, (RectF {10, 20, 30, 40}));
}

TEST(FitProjectObjectsTest, ScalesBySavedWidthOnBothAxes)
{
    TestFiles files;
    const QString strFrame = files.solid(QStringLiteral("frame.png"), 200, 100, Qt::red);
    const QString strPhoto = files.photo(QStringLiteral("photo.jpg"), 300, 200);
    CardDocument doc;
    doc.m_szClient = QSize(600, 300);
    TheData* pFramed = Add(doc, OBJ_PHOTO, {100, 200, 400, 100});
    pFramed->m_strFrame = strFrame;
    pFramed->m_strPhoto = strPhoto;
    pFramed->m_rcPhoto = {80, 40, 280, 200};
    pFramed->m_rcPhotoLocal = {-20, -40, 280, 200};
    TheData* pPlain = Add(doc, OBJ_PHOTO, {0, 0, 80, 40});
    pPlain->m_strPhoto = strPhoto;
    pPlain->m_rcPhoto = {8, 4, 40, 20};
    pPlain->m_rcPhotoLocal = {8, 4, 40, 20};

    ASSERT_TRUE(FitProjectObjects(doc, QStringLiteral("bg.png"), 800));
    EXPECT_EQ(doc.m_strBackground, QStringLiteral("bg.png"));
    EXPECT_EQ(pFramed->m_rcObject, (RectF {75, 150, 300, 75}));
    EXPECT_EQ(pFramed->m_rcPhoto, (RectF {60, 30, 210, 150}));
    EXPECT_EQ(pFramed->m_rcPhotoLocal, (RectF {-15, -30, 210, 150}));
    EXPECT_DOUBLE_EQ(pFramed->m_dAspect, 0.25);
    EXPECT_EQ(pPlain->m_rcObject, (RectF {0, 0, 60, 30}));
    EXPECT_EQ(pPlain->m_rcPhoto, (RectF {8, 4, 40, 20})) << "only a framed photo's rectangles scale";
    EXPECT_TRUE(pFramed->m_pPhoto);
    EXPECT_FALSE(pFramed->m_pImage) << "display images are the canvas's to make";
}

TEST(FitProjectObjectsTest, NonPositiveSavedWidthChangesNothing)
{
    CardDocument doc;
    doc.m_szClient = QSize(600, 300);
    TheData* pText = Add(doc, OBJ_TEXT, {10, 20, 30, 40});
    EXPECT_FALSE(FitProjectObjects(doc, QStringLiteral("bg.png"), 0));
    EXPECT_FALSE(FitProjectObjects(doc, QStringLiteral("bg.png"), -700));
    EXPECT_TRUE(doc.m_strBackground.isEmpty());
    EXPECT_EQ(pText->m_rcObject, (RectF {10, 20, 30, 40}));
}

TEST(RescaleObjectsTest, ScalesAllThreeRectanglesPerAxis)
{
    CardDocument doc;
    TheData* pObject = Add(doc, OBJ_PHOTO, {100, 100, 200, 100});
    pObject->m_rcPhoto = {50, 60, 100, 80};
    pObject->m_rcPhotoLocal = {-10, -20, 100, 80};
    ASSERT_TRUE(RescaleObjects(doc, QSize(800, 400), QSize(400, 600)));
    EXPECT_EQ(pObject->m_rcObject, (RectF {50, 150, 100, 150}));
    EXPECT_EQ(pObject->m_rcPhoto, (RectF {25, 90, 50, 120}));
    EXPECT_EQ(pObject->m_rcPhotoLocal, (RectF {-5, -30, 50, 120}));
}

TEST(RescaleObjectsTest, EmptyCardOrEmptySizeDoesNothing)
{
    CardDocument empty;
    EXPECT_FALSE(RescaleObjects(empty, QSize(800, 400), QSize(400, 200)));

    CardDocument doc;
    TheData* pObject = Add(doc, OBJ_TEXT, {100, 100, 200, 100});
    EXPECT_FALSE(RescaleObjects(doc, QSize(0, 0), QSize(400, 200)));
    EXPECT_FALSE(RescaleObjects(doc, QSize(800, 400), QSize(0, 200)));
    EXPECT_EQ(pObject->m_rcObject, (RectF {100, 100, 200, 100}));
}

// Opened for output, a card makes no working copies and reads no picture; opened for editing, every
// photo and frame gets its working copy, each file decoded once however many objects show it.
TEST(FitProjectObjectsTest, WorkingCopiesOnlyForEditingEachFileDecodedOnce)
{
    TestFiles files;
    const QString strPhoto = files.photo(QStringLiteral("photo.jpg"), 1600, 1200);
    const QString strFrame = files.solid(QStringLiteral("frame.png"), 800, 800, Qt::red);
    const QString strOther = files.photo(QStringLiteral("other.jpg"), 900, 1200);
    for (const CardUse use : {CardUse::Output, CardUse::Editing}) {
        CardDocument doc;
        doc.m_szClient = QSize(500, 500);
        TheData* pFramed = Add(doc, OBJ_PHOTO, {0, 0, 200, 100});
        pFramed->m_strPhoto = strPhoto;
        pFramed->m_strFrame = strFrame;
        Add(doc, OBJ_PHOTO, {100, 10, 50, 50})->m_strPhoto = strPhoto;
        Add(doc, OBJ_PHOTO, {200, 10, 50, 50})->m_strPhoto = strOther;
        Add(doc, OBJ_PHOTO, {300, 10, 50, 50})->m_strFrame = strFrame;
        const qint64 nBefore = PictureDecodeCount();
        ASSERT_TRUE(FitProjectObjects(doc, strPhoto, 500, use));
        const bool bEditing = use == CardUse::Editing;
        EXPECT_EQ(PictureDecodeCount() - nBefore, bEditing ? 3 : 0);
        for (const auto& pObject : doc.m_vecObjects) {
            EXPECT_EQ(bool(pObject->m_pPhoto), bEditing && !pObject->m_strPhoto.isEmpty());
            EXPECT_EQ(bool(pObject->m_pFrame), bEditing && !pObject->m_strFrame.isEmpty());
        }
        EXPECT_EQ(pFramed->m_dAspect, 0.5) << "a saved object keeps its shape";
        if (bEditing) {
            EXPECT_EQ(doc.m_vecObjects[1]->m_pPhoto->cacheKey(), pFramed->m_pPhoto->cacheKey());
            EXPECT_EQ(doc.m_vecObjects[2]->m_pPhoto->size(), QSize(600, 800));
        }
    }
}
