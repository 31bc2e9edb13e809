#include <cmath>

#include <gtest/gtest.h>

#include <QPainter>

#include "document/carddocument.h"
#include "document/sharedpictures.h"
#include "document/thedata.h"
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
    double dRatio = 1;
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
    obj.SetCanvasSize(c.szCanvas, c.dRatio);
    obj.RebuildImage();
    ASSERT_TRUE(obj.m_pImage);
    EXPECT_LE(obj.m_pImage->width(), c.szAtMost.width());
    EXPECT_LE(obj.m_pImage->height(), c.szAtMost.height());
    const QSize szWhole(int(c.rcObject.Width * c.dRatio), int(c.rcObject.Height * c.dRatio));
    EXPECT_EQ(obj.m_pImage->size() == szWhole, c.bWhole);

    // Drawn on the canvas, the object covers it wherever its outline does, also after a move.
    for (const QPoint move : {QPoint(0, 0), QPoint(c.szCanvas.width() / 2, c.szCanvas.height() / 3)}) {
        obj.MoveBy(move.x(), move.y(), 1);
        QImage canvas(c.szCanvas * c.dRatio, QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(c.dRatio);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        obj.Paint(painter);
        painter.end();
        const QPolygonF outline = obj.ObjectOutline();
        int nWrong = 0;
        for (int y = 2; y < c.szCanvas.height(); y += 7) {
            for (int x = 2; x < c.szCanvas.width(); x += 7) {
                // Points near the outline's edge are anti-aliased; the test looks well inside or outside.
                const bool bInside = outline.containsPoint(QPointF(x, y), Qt::OddEvenFill);
                const bool bNearEdge = [&] {
                    for (const QPointF d : {QPointF(-2, -2), QPointF(2, -2), QPointF(-2, 2), QPointF(2, 2)}) {
                        if (outline.containsPoint(QPointF(x, y) + d, Qt::OddEvenFill) != bInside)
                            return true;
                    }
                    return false;
                }();
                const QRgb pixel = canvas.pixel(int(x * c.dRatio), int(y * c.dRatio));
                if (!bNearEdge && (pixel == QColor(Qt::red).rgb()) != bInside)
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
        ShownCase {"half outside", {300, 100, 300, 100}, 0, {400, 300}, {101, 100}, false},
        ShownCase {"inside at ratio 2", {50, 40, 200, 100}, 0, {400, 300}, {400, 200}, true, 2},
        ShownCase {"half outside at ratio 1.5", {300, 100, 300, 100}, 0, {400, 300}, {152, 150}, false, 1.5}));

// On a screen of ratio 2 an object's display image has two pixels for each canvas pixel, so that
// its picture stays as fine as the screen: a checkerboard of single pixels drawn 1:1 stays sharp.
// A framed photo's photo, window and frame land at the same places at every ratio.
TEST(DisplayImageTest, HasThePixelsOfTheScreensRatio)
{
    TestFiles files;
    QImage checkers(400, 200, QImage::Format_RGB32);
    for (int i = 0; i < 400 * 200; ++i)
        checkers.setPixel(i % 400, i / 400, (i % 400 + i / 400) % 2 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    const QString strCheckers = files.write(QStringLiteral("checkers.png"), checkers);
    // A blue frame 40 pixels wide around a see-through window, and its mask.
    QImage frame(200, 200, QImage::Format_ARGB32);
    frame.fill(Qt::blue);
    QImage mask(200, 200, QImage::Format_RGB32);
    mask.fill(Qt::black);
    QPainter(&mask).fillRect(40, 40, 120, 120, Qt::white);
    QPainter window(&frame);
    window.setCompositionMode(QPainter::CompositionMode_Source);
    window.fillRect(40, 40, 120, 120, Qt::transparent);
    window.end();
    const QString strFrame = files.write(QStringLiteral("frame.png"), frame);
    files.write(QStringLiteral("frame.jpg"), mask, 100);
    const QString strPhoto = files.solid(QStringLiteral("red.png"), 300, 300, Qt::red);

    for (const double dRatio : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(dRatio);
        TheData element;
        element.m_nType = OBJ_ELEMENT;
        element.m_strElement = strCheckers;
        element.m_rcObject = {20, 20, 200, 100};
        TheData framed;
        framed.m_rcObject = {250, 50, 100, 100};
        framed.m_strFrameMask = FrameMaskPath(strFrame);
        framed.SetFrame(strFrame, 0, {}, {});
        framed.SetPhoto(strPhoto, 0, {}, {}, 0);
        ASSERT_EQ(framed.PhotoState(), PHOTO_FRAMED);
        QImage canvas(QSize(400, 300) * dRatio, QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(dRatio);
        canvas.fill(Qt::white);
        QPainter painter(&canvas);
        for (TheData* pObject : {&element, &framed}) {
            pObject->SetCanvasSize(QSize(400, 300), dRatio);
            pObject->RebuildImage();
            ASSERT_TRUE(pObject->m_pImage);
            EXPECT_EQ(pObject->m_pImage->size(),
                QSize(int(pObject->m_rcObject.Width * dRatio), int(pObject->m_rcObject.Height * dRatio)));
            pObject->Paint(painter);
        }
        painter.end();
        const auto at = [&](double x, double y) { return canvas.pixel(int(x * dRatio), int(y * dRatio)); };
        EXPECT_EQ(at(300, 100), QColor(Qt::red).rgb()) << "the photo in the window";
        EXPECT_EQ(at(260, 100), QColor(Qt::blue).rgb()) << "the frame";
        if (dRatio == 2.0) {
            int nSharp = 0;
            for (int y = 50; y < 190; ++y) {
                for (int x = 50; x < 430; ++x)
                    nSharp += qGray(canvas.pixel(x, y)) < 16 || qGray(canvas.pixel(x, y)) > 240;
            }
            EXPECT_GT(nSharp, 140 * 380 * 95 / 100);
        }
    }
}
