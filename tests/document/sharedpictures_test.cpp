#include <cmath>

#include <gtest/gtest.h>

#include <QPainter>

#include "document/carddocument.h"
#include "document/sharedpictures.h"
#include "platform/imageio.h"
#include "templates/cardloader.h"
#include "tests/templates/resourcetree.h"
#include "tests/testsupport.h"

TEST(SharedPicturesTest, ManySpritesOfOnePictureDecodeItOnceAndGoWithTheCard)
{
    ResourceTree tree;
    tree.picture(QStringLiteral("bgimage/bg.png"), 1000, 800);
    tree.picture(QStringLiteral("frame/c.png"), 120, 80);
    tree.picture(QStringLiteral("frame/c.jpg"), 120, 80);
    tree.picture(QStringLiteral("clipart/bell.png"), 50, 40);
    QByteArray sprites;
    for (int i = 0; i < 5000; ++i) {
        sprites += "<SpriteObject nPhotoType=\"" + QByteArray(i % 2 ? "4" : "1")
            + "\" strFramePath=\"frame/c.png\" strPhotoPath=\"clipart/bell.png\" PhotoFrameLeft=\""
            + QByteArray::number(i % 900) + "\" PhotoFrameTop=\"" + QByteArray::number(i % 700)
            + "\" PhotoFrameRight=\"60\" PhotoFrameBottom=\"40\"/>";
    }
    const QString strXml = tree.bytes(QStringLiteral("Template/cards/Christmas/many.xml"),
        "<root><PageSceneObject PageBgImage=\"bgimage/bg.png\">" + sprites + "</PageSceneObject></root>");

    CardDocument doc;
    doc.m_szClient = QSize(1000, 800);
    const qint64 nBefore = PictureDecodeCount();
    ASSERT_TRUE(OpenCardFile(strXml, doc, nullptr, tree.appDir()));
    doc.RebuildImages();
    EXPECT_EQ(PictureDecodeCount() - nBefore, 2) << "the frame's working copy and the element's picture";
    ASSERT_EQ(doc.m_vecObjects.size(), 5000u);
    const TheData& frame = *doc.m_vecObjects[0];
    const TheData& element = *doc.m_vecObjects[1];
    ASSERT_TRUE(frame.m_pImage && element.m_pImage);
    for (const auto& pObject : doc.m_vecObjects) {
        ASSERT_TRUE(pObject->m_pImage);
        const TheData& same = pObject->m_nType == OBJ_PHOTO ? frame : element;
        EXPECT_EQ(pObject->m_pImage->cacheKey(), same.m_pImage->cacheKey()) << pObject->m_nIndex;
        EXPECT_EQ(pObject->m_pFrame ? pObject->m_pFrame->cacheKey() : 0, same.m_pFrame ? same.m_pFrame->cacheKey() : 0);
    }
    EXPECT_EQ(DisplayPixelsInUse(), 60 * 40 * 2);

    doc.ClearObjects();
    EXPECT_EQ(DisplayPixelsInUse(), 0) << "the pictures go with the card";
    ASSERT_TRUE(OpenCardFile(strXml, doc, nullptr, tree.appDir()));
    doc.RebuildImages();
    EXPECT_EQ(PictureDecodeCount() - nBefore, 4) << "a card opened again decodes its pictures again";
}

struct ShownCase {
    const char* pszName;
    RectF rcObject;
    double dAngle;
    QSize szCanvas;
    // The display image's largest allowed size, and whether it holds the whole object.
    QSize szAtMost;
    bool bWhole;
};

void PrintTo(const ShownCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ShownPartTest : public ::testing::TestWithParam<ShownCase> { };

TEST_P(ShownPartTest, DisplayImageHoldsWhatTheCanvasShowsAndMovingShowsTheRest)
{
    const ShownCase& c = GetParam();
    TestFiles files;
    TheData obj;
    obj.m_nType = OBJ_ELEMENT;
    obj.m_strElement = files.solid(QStringLiteral("red.png"), 400, 400, Qt::red);
    obj.m_rcObject = c.rcObject;
    obj.m_dAngle = c.dAngle;
    obj.SetCanvasSize(c.szCanvas);
    obj.RebuildImage();
    ASSERT_TRUE(obj.m_pImage);
    EXPECT_LE(obj.m_pImage->width(), c.szAtMost.width());
    EXPECT_LE(obj.m_pImage->height(), c.szAtMost.height());
    EXPECT_EQ(obj.m_pImage->size() == QSize(int(c.rcObject.Width), int(c.rcObject.Height)), c.bWhole);

    // Drawn on the canvas, the object covers it wherever its outline does, also after a move.
    for (const QPoint move : {QPoint(0, 0), QPoint(c.szCanvas.width() / 2, c.szCanvas.height() / 3)}) {
        obj.MoveBy(move.x(), move.y(), 1);
        QImage canvas(c.szCanvas, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        obj.Paint(painter);
        painter.end();
        const QPolygonF outline = obj.ObjectOutline();
        int nWrong = 0;
        for (int y = 2; y < canvas.height(); y += 7) {
            for (int x = 2; x < canvas.width(); x += 7) {
                // Points near the outline's edge are anti-aliased; the test looks well inside or outside.
                const bool bInside = outline.containsPoint(QPointF(x, y), Qt::OddEvenFill);
                const bool bNearEdge = [&] {
                    for (const QPointF d : {QPointF(-2, -2), QPointF(2, -2), QPointF(-2, 2), QPointF(2, 2)}) {
                        if (outline.containsPoint(QPointF(x, y) + d, Qt::OddEvenFill) != bInside)
                            return true;
                    }
                    return false;
                }();
                if (!bNearEdge && (canvas.pixel(x, y) == QColor(Qt::red).rgb()) != bInside)
                    ++nWrong;
            }
        }
        EXPECT_EQ(nWrong, 0) << "after moving by " << move.x() << ", " << move.y();
    }
}

INSTANTIATE_TEST_SUITE_P(Objects, ShownPartTest,
    ::testing::Values(ShownCase {"inside", {50, 40, 200, 100}, 0, {400, 300}, {200, 100}, true},
        ShownCase {"huge", {-9000, -9000, 20000, 20000}, 0, {400, 300}, {401, 301}, false},
        ShownCase {"huge and turned", {-9000, -9000, 20000, 20000}, 30, {400, 300}, {600, 600}, false},
        ShownCase {"half outside", {300, 100, 300, 100}, 0, {400, 300}, {101, 100}, false}));
