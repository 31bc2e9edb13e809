#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include <QPainter>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "platform/imageio.h"
#include "platform/pictureops.h"
#include "platform/quality.h"
#include "render/renderer.h"
#include "tests/testsupport.h"

namespace {

constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kGreen = 0xFF00FF00;
constexpr QRgb kBlue = 0xFF0000FF;

QImage Bitmap(int w, int h, QColor fill, QImage::Format format = QImage::Format_ARGB32_Premultiplied)
{
    QImage image(w, h, format);
    image.fill(fill);
    return image;
}

// A picture whose left half is one colour and right half another.
QImage Halves(int w, int h, QColor left, QColor right)
{
    QImage image = Bitmap(w, h, right, QImage::Format_ARGB32);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(QRect(0, 0, w / 2, h), left);
    return image;
}

// A grey mask: black with a white disc of the given radius in the middle.
QImage DiscMask(int w, int h, double dRadius)
{
    QImage image = Bitmap(w, h, Qt::black, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(w / 2.0, h / 2.0), dRadius, dRadius);
    return image;
}

// The colour at (x, y) as straight ARGB.
QRgb Pixel(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).rgba();
}

// Whether two colours agree within a small tolerance per channel, resampling and JPEG included.
::testing::AssertionResult ColourIs(QRgb actual, QRgb expected)
{
    constexpr int kTolerance = 6;
    if (std::abs(qRed(actual) - qRed(expected)) <= kTolerance
        && std::abs(qGreen(actual) - qGreen(expected)) <= kTolerance
        && std::abs(qBlue(actual) - qBlue(expected)) <= kTolerance
        && std::abs(qAlpha(actual) - qAlpha(expected)) <= kTolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "colour " << std::hex << actual << ", expected " << expected;
}

// A card on a white background of the client size.
struct Card {
    Card(TestFiles& files, int w, int h)
    {
        doc.m_szClient = QSize(w, h);
        doc.m_strBackground = files.solid("background.png", w, h, Qt::white);
    }
    TheData* Add(std::unique_ptr<TheData> pObject) { return doc.AddObject(std::move(pObject), 0); }
    QImage Render(int w, int h, int nThreads = 0) const
    {
        QImage out = Bitmap(w, h, Qt::white);
        QPainter painter(&out);
        ApplyQuality(painter);
        RenderCard(painter, doc, 0, 0, w, h, nThreads);
        return out;
    }

    CardDocument doc;
};

std::unique_ptr<TheData> Object(int nType, const RectF& rc)
{
    auto p = std::make_unique<TheData>();
    p->m_nType = nType;
    p->m_rcObject = rc;
    return p;
}

// The canvas's drawing of one object on a white canvas.
QImage Painted(const TheData& obj, int w, int h)
{
    QImage out = Bitmap(w, h, Qt::white);
    QPainter painter(&out);
    ApplyQuality(painter);
    obj.Paint(painter);
    return out;
}

} // namespace

// ApplyMask

class ApplyMaskFormatTest : public ::testing::TestWithParam<QImage::Format> { };

TEST_P(ApplyMaskFormatTest, AlphaFollowsTheStretchedMaskAndColoursAreKept)
{
    TestFiles files;
    // Three bands, white, mid grey and black, at half the size the mask is applied at.
    QImage mask = Bitmap(30, 10, Qt::black, QImage::Format_RGB32);
    QPainter(&mask).fillRect(QRect(0, 0, 10, 10), Qt::white);
    QPainter(&mask).fillRect(QRect(10, 0, 10, 10), QColor(128, 128, 128));
    const QString strMask = files.write("bands.png", mask);

    QImage target = Bitmap(60, 20, QColor(200, 100, 50), GetParam());
    ApplyMask(target, strMask, 60, 20);

    const bool bHadAlpha = QImage(1, 1, GetParam()).hasAlphaChannel();
    EXPECT_EQ(target.format(), bHadAlpha ? GetParam() : QImage::Format_ARGB32);
    EXPECT_TRUE(ColourIs(Pixel(target, 8, 10), qRgba(200, 100, 50, 255)));
    EXPECT_TRUE(ColourIs(Pixel(target, 30, 10), qRgba(200, 100, 50, 128)));
    EXPECT_EQ(qAlpha(Pixel(target, 52, 10)), 0);
}

INSTANTIATE_TEST_SUITE_P(Formats, ApplyMaskFormatTest,
    ::testing::Values(
        QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied, QImage::Format_RGBA8888, QImage::Format_RGB32));

TEST(ApplyMask, TransparentPixelsStayTransparent)
{
    TestFiles files;
    const QString strMask = files.solid("white.png", 40, 20, Qt::white);
    QImage target = Halves(40, 20, Qt::transparent, Qt::blue);
    ApplyMask(target, strMask, 40, 20);
    EXPECT_EQ(qAlpha(Pixel(target, 5, 10)), 0);
    EXPECT_TRUE(ColourIs(Pixel(target, 35, 10), kBlue));
}

TEST(ApplyMask, UnreadableMaskOrEmptySizeLeavesThePictureAsItWas)
{
    TestFiles files;
    const QString strBroken = files.bytes("broken.jpg", QByteArray("not a picture"));
    const QString strMask = files.solid("black.png", 10, 10, Qt::black);
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied}) {
        const QImage original = Halves(40, 20, QColor(10, 20, 30, 128), Qt::red).convertToFormat(format);
        QImage target = original;
        ApplyMask(target, files.path("missing.jpg"), 40, 20);
        EXPECT_EQ(target, original);
        ApplyMask(target, strBroken, 40, 20);
        EXPECT_EQ(target, original);
        ApplyMask(target, strMask, 0, 20);
        EXPECT_EQ(target, original);
    }
}

// BoxBlurAlpha

// One opaque pixel in a line of seven (a row, or a column going down), blurred along the line by boxes
// whole or fractional; beyond the ends is transparent.
TEST(BoxBlurAlpha, SpreadsAPixelOverTheBoxesFractionsIncluded)
{
    struct Case {
        bool bDown;
        int nAt;
        std::vector<double> widths;
        std::array<int, 7> expected;
    };
    for (const Case& c :
        {Case {false, 3, {3}, {0, 0, 85, 85, 85, 0, 0}}, Case {false, 3, {2}, {0, 0, 64, 128, 64, 0, 0}},
            Case {false, 3, {1, 0.5}, {0, 0, 0, 255, 0, 0, 0}}, Case {false, 3, {2, 2}, {0, 16, 64, 96, 64, 16, 0}},
            Case {true, 3, {3}, {0, 0, 85, 85, 85, 0, 0}}, Case {true, 0, {3}, {85, 85, 0, 0, 0, 0, 0}}}) {
        const auto at = [&c](int i) { return c.bDown ? QPoint(0, i) : QPoint(i, 0); };
        QImage alpha(c.bDown ? QSize(1, 7) : QSize(7, 1), QImage::Format_Alpha8);
        alpha.fill(0);
        alpha.setPixel(at(c.nAt), 0xFF000000);
        BoxBlurAlpha(alpha, c.bDown ? std::vector<double>() : c.widths, c.bDown ? c.widths : std::vector<double>());
        std::array<int, 7> line {};
        for (int i = 0; i < 7; ++i)
            line[size_t(i)] = qAlpha(alpha.pixel(at(i)));
        EXPECT_EQ(line, c.expected) << (c.bDown ? "down, " : "across, ") << c.widths.size() << " boxes from "
                                    << c.widths[0];
    }
}

// Picture reading for output

TEST(ReadPictureForSize, ReadsNoLargerThanDrawnAndNeverBelowIt)
{
    TestFiles files;
    const QString strPhoto = files.photo("p.jpg", 400, 300);
    EXPECT_EQ(ReadPictureForSize(strPhoto, QSize(100, 75)).size(), QSize(100, 75));
    EXPECT_EQ(ReadPictureForSize(strPhoto, QSize(800, 600)).size(), QSize(400, 300));
    EXPECT_EQ(ReadPictureForSize(strPhoto, QSize(100, 600)).size(), QSize(100, 300));
    EXPECT_TRUE(ReadPictureForSize(strPhoto, QSize(0, 0)).isNull());
    EXPECT_TRUE(ReadPictureForSize(files.path("missing.jpg"), QSize(100, 75)).isNull());
}

TEST(ScaleAboutCentre, KeepsTheCentreAndScalesTheSize)
{
    g_output = {7, 9, 2.0, 0.5, {}};
    const RectF rc = ScaleAboutCentre({10, 20, 40, 80});
    EXPECT_FLOAT_EQ(rc.Width, 80);
    EXPECT_FLOAT_EQ(rc.Height, 40);
    EXPECT_FLOAT_EQ(rc.X + rc.Width / 2, 30);
    EXPECT_FLOAT_EQ(rc.Y + rc.Height / 2, 60);
    g_output = {};
}

// RenderCard

TEST(RenderCard, StretchesTheBackgroundIntoTheDestinationAndSetsTheOutputTransform)
{
    TestFiles files;
    Card card(files, 200, 100);
    card.doc.m_strBackground = files.write("bg.png", Halves(200, 100, Qt::red, Qt::blue));
    QImage out = Bitmap(500, 300, Qt::white);
    QPainter painter(&out);
    ApplyQuality(painter);
    RenderCard(painter, card.doc, 10, 20, 400, 200);
    painter.end();

    EXPECT_EQ(g_output.nOffsetX, 10);
    EXPECT_EQ(g_output.nOffsetY, 20);
    EXPECT_DOUBLE_EQ(g_output.dScaleX, 2.0);
    EXPECT_DOUBLE_EQ(g_output.dScaleY, 2.0);
    EXPECT_TRUE(ColourIs(Pixel(out, 5, 5), 0xFFFFFFFF));
    EXPECT_TRUE(ColourIs(Pixel(out, 100, 100), kRed));
    EXPECT_TRUE(ColourIs(Pixel(out, 350, 100), kBlue));
    EXPECT_TRUE(ColourIs(Pixel(out, 450, 100), 0xFFFFFFFF));
}

TEST(RenderCard, CardWithoutClientSizeDrawsOnlyTheBackground)
{
    TestFiles files;
    Card card(files, 100, 100);
    card.doc.m_szClient = QSize();
    card.doc.m_strBackground = files.solid("bg.png", 100, 100, Qt::blue);
    auto p = Object(OBJ_ELEMENT, {0, 0, 100, 100});
    p->m_strElement = files.solid("e.png", 10, 10, Qt::red);
    card.Add(std::move(p));
    const QImage out = card.Render(200, 200);
    EXPECT_TRUE(ColourIs(Pixel(out, 100, 100), kBlue));
    EXPECT_TRUE(std::isfinite(g_output.dScaleX) && std::isfinite(g_output.dScaleY));
}

TEST(RenderCard, DeletedObjectsAppearNeitherOnTheCanvasNorInOutput)
{
    TestFiles files;
    Card card(files, 200, 200);
    auto p = Object(OBJ_ELEMENT, {50, 50, 100, 100});
    p->m_strElement = files.solid("e.png", 20, 20, Qt::red);
    p->RebuildImage();
    TheData* pElement = card.Add(std::move(p));
    ASSERT_TRUE(ColourIs(Pixel(card.Render(200, 200), 100, 100), kRed));
    ASSERT_TRUE(ColourIs(Pixel(Painted(*pElement, 200, 200), 100, 100), kRed));

    pElement->m_bDeleted = 1;
    EXPECT_EQ(card.Render(200, 200), Bitmap(200, 200, Qt::white));
    EXPECT_EQ(Painted(*pElement, 200, 200), Bitmap(200, 200, Qt::white));
}

TEST(RenderCard, MissingPicturesDrawNothing)
{
    TestFiles files;
    Card card(files, 200, 200);
    card.doc.m_strBackground = files.path("no-background.jpg");
    const QString strMissing = files.path("missing.png");
    auto pElement = Object(OBJ_ELEMENT, {10, 10, 80, 80});
    pElement->m_strElement = strMissing;
    auto pPhoto = Object(OBJ_PHOTO, {100, 10, 80, 80});
    pPhoto->m_strPhoto = strMissing;
    pPhoto->m_strMask = strMissing;
    auto pFrame = Object(OBJ_PHOTO, {10, 100, 80, 80});
    pFrame->m_strFrame = strMissing;
    auto pFramed = Object(OBJ_PHOTO, {100, 100, 80, 80});
    pFramed->m_strPhoto = files.bytes("broken.jpg", QByteArray(100, 'x'));
    pFramed->m_strFrame = strMissing;
    pFramed->m_strFrameMask = strMissing;
    pFramed->m_rcPhotoLocal = pFramed->m_rcObject;
    for (auto* p : {&pElement, &pPhoto, &pFrame, &pFramed})
        card.Add(std::move(*p));

    EXPECT_EQ(card.Render(400, 400), Bitmap(400, 400, Qt::white));
    TheData& element = *card.doc.m_vecObjects[0];
    element.RebuildImage();
    ASSERT_TRUE(element.m_pImage);
    EXPECT_EQ(qAlpha(Pixel(*element.m_pImage, 40, 40)), 0);
}

struct DegenerateCase {
    RectF rc;
    // A rectangle under a pixel wide still covers part of a pixel in output, and a text in it still
    // has room to be laid out.
    bool bOutputBlank;
};

void PrintTo(const DegenerateCase& c, std::ostream* pOut)
{
    *pOut << c.rc;
}

class DegenerateRectTest : public ::testing::TestWithParam<DegenerateCase> { };

TEST_P(DegenerateRectTest, MakesNoBitmapAndDrawsNothing)
{
    const RectF rc = GetParam().rc;
    TestFiles files;
    const QString strPicture = files.solid("p.png", 50, 50, Qt::red);
    Card card(files, 200, 200);
    for (int nKind = 0; nKind < 5; ++nKind) {
        auto p = Object(nKind < 3 ? OBJ_PHOTO : nKind == 3 ? OBJ_ELEMENT : OBJ_TEXT, rc);
        if (nKind == 1 || nKind == 2) {
            p->m_strPhoto = strPicture;
            p->m_pPhoto = std::make_unique<QImage>(Bitmap(50, 50, Qt::red));
        }
        if (nKind == 2) {
            p->m_strFrame = strPicture;
            p->m_strFrameMask = strPicture;
            p->m_pFrame = std::make_unique<QImage>(Bitmap(50, 50, Qt::red));
            p->m_rcPhotoLocal = rc;
        }
        p->m_strMask = nKind == 0 ? strPicture : QString();
        p->m_strElement = strPicture;
        if (nKind == 4) {
            p->m_pText = std::make_unique<CTextPanel>();
            p->m_pText->m_strText = QStringLiteral("Hello");
        }
        p->RebuildImage();
        EXPECT_FALSE(p->m_pImage) << nKind;
        card.Add(std::move(p));
    }
    const QImage out = card.Render(200, 200);
    if (GetParam().bOutputBlank) {
        EXPECT_EQ(out, Bitmap(200, 200, Qt::white));
    }
    for (const auto& p : card.doc.m_vecObjects) {
        // Pictures show on the canvas through the display image only; a text is drawn directly.
        if (GetParam().bOutputBlank || p->m_nType != OBJ_TEXT) {
            EXPECT_EQ(Painted(*p, 200, 200), Bitmap(200, 200, Qt::white)) << p->m_nIndex;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rects, DegenerateRectTest,
    ::testing::Values(DegenerateCase {{50, 50, 0, 0}, true}, DegenerateCase {{50, 50, 0.5f, 100}, false},
        DegenerateCase {{50, 50, 100, -20}, true},
        DegenerateCase {{50, 50, std::numeric_limits<float>::quiet_NaN(), 100}, true},
        DegenerateCase {{50, 50, 100, std::numeric_limits<float>::infinity()}, true}));

// Photo objects

TEST(RenderPhoto, MaskedPhotoTakesTheMaskShapeOnTheCanvasAndInOutput)
{
    TestFiles files;
    Card card(files, 200, 200);
    auto p = Object(OBJ_PHOTO, {50, 50, 100, 100});
    // The working copy is red, the file blue: the canvas shows the one, output the other.
    p->m_pPhoto = std::make_unique<QImage>(Bitmap(100, 100, Qt::red));
    p->m_strPhoto = files.solid("photo.png", 400, 400, Qt::blue);
    p->m_strMask = files.write("disc.png", DiscMask(100, 100, 40));
    p->RebuildImage();
    ASSERT_TRUE(p->m_pImage);
    EXPECT_EQ(p->m_pImage->size(), QSize(100, 100));
    EXPECT_TRUE(ColourIs(Pixel(*p->m_pImage, 50, 50), kRed));
    EXPECT_EQ(qAlpha(Pixel(*p->m_pImage, 3, 3)), 0);
    EXPECT_EQ(qAlpha(Pixel(*p->m_pImage, 50, 3)), 0);
    card.Add(std::move(p));

    const QImage out = card.Render(400, 400);
    EXPECT_TRUE(ColourIs(Pixel(out, 200, 200), kBlue));
    EXPECT_TRUE(ColourIs(Pixel(out, 200, 140), kBlue));
    EXPECT_TRUE(ColourIs(Pixel(out, 106, 106), 0xFFFFFFFF));
    EXPECT_TRUE(ColourIs(Pixel(out, 200, 104), 0xFFFFFFFF));
}

TEST(RenderPhoto, EmptyPlaceholderIsOpaqueBlackInTheMaskShape)
{
    TestFiles files;
    Card card(files, 200, 200);
    const QString strDisc = files.write("disc.png", DiscMask(100, 100, 40));
    auto pMasked = Object(OBJ_PHOTO, {0, 0, 100, 100});
    pMasked->m_strMask = strDisc;
    auto pPlain = Object(OBJ_PHOTO, {100, 100, 100, 100});
    for (auto* p : {&pMasked, &pPlain}) {
        (*p)->RebuildImage();
        ASSERT_TRUE((*p)->m_pImage);
    }
    EXPECT_EQ(Pixel(*pMasked->m_pImage, 50, 50), 0xFF000000);
    EXPECT_EQ(qAlpha(Pixel(*pMasked->m_pImage, 3, 3)), 0);
    EXPECT_EQ(Pixel(*pPlain->m_pImage, 3, 3), 0xFF000000);
    card.Add(std::move(pMasked));
    card.Add(std::move(pPlain));

    const QImage out = card.Render(200, 200);
    EXPECT_TRUE(ColourIs(Pixel(out, 50, 50), 0xFF000000));
    EXPECT_TRUE(ColourIs(Pixel(out, 3, 3), 0xFFFFFFFF));
    EXPECT_TRUE(ColourIs(Pixel(out, 103, 103), 0xFF000000));
    EXPECT_TRUE(ColourIs(Pixel(out, 197, 197), 0xFF000000));
}

// At four times the canvas size the placeholder is masked at that size: a fine mask keeps its fine edge
// rather than one cut at the canvas's size and stretched.
TEST(RenderOutput, EmptyPlaceholderIsMaskedAtTheSizeItLandsAt)
{
    TestFiles files;
    Card card(files, 100, 100);
    const QImage disc = DiscMask(400, 400, 150);
    auto p = Object(OBJ_PHOTO, {0, 0, 100, 100});
    p->m_strMask = files.write("disc.png", disc);
    card.Add(std::move(p));
    const QImage out = card.Render(400, 400);
    int nLargest = 0;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            nLargest = std::max(nLargest, std::abs(qGreen(Pixel(out, x, y)) - (255 - qGreen(Pixel(disc, x, y)))));
    EXPECT_LE(nLargest, 8);
}

namespace {

// A framed photo on a 300 x 300 card: the object is (50, 50, 200, 200). The frame is a blue ring from
// 20 to 30 pixels inside the object's edge, transparent elsewhere; its mask lets through only the
// window inside the ring. The photo, red on the left and green on the right, is 300 x 300 and centred
// on the object, so that turned it still covers the whole object.
struct FramedCard {
    explicit FramedCard(TestFiles& files, double dPhotoAngle, bool bMask = true)
        : card(files, 300, 300)
    {
        QImage frame = Bitmap(200, 200, Qt::transparent, QImage::Format_ARGB32);
        QPainter painter(&frame);
        painter.fillRect(QRect(20, 20, 160, 160), Qt::blue);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(QRect(30, 30, 140, 140), Qt::transparent);
        painter.end();
        QImage mask = Bitmap(200, 200, Qt::black, QImage::Format_RGB32);
        QPainter(&mask).fillRect(QRect(30, 30, 140, 140), Qt::white);
        const QImage photo = Halves(300, 300, Qt::red, Qt::green);

        auto p = Object(OBJ_PHOTO, {50, 50, 200, 200});
        p->m_strFrame = files.write("frame.png", frame);
        p->m_strFrameMask = bMask ? files.write("frame.jpg", mask, 100) : files.path("no-mask.jpg");
        p->m_strPhoto = files.write("photo.png", photo);
        p->m_pFrame = std::make_unique<QImage>(frame);
        p->m_pPhoto = std::make_unique<QImage>(photo);
        p->m_rcPhoto = p->m_rcPhotoLocal = {0, 0, 300, 300};
        p->m_dPhotoAngle = dPhotoAngle;
        p->RebuildImage();
        pObject = card.Add(std::move(p));
    }

    Card card;
    TheData* pObject;
};

} // namespace

TEST(RenderPhoto, PhotoTurnedInsideItsFrameStaysInTheWindowAndTheFrameIsNotTurned)
{
    TestFiles files;
    FramedCard framed(files, 30);
    ASSERT_TRUE(framed.pObject->m_pImage);
    const QImage display = Painted(*framed.pObject, 300, 300);
    for (const QImage& image : {display, framed.card.Render(300, 300)}) {
        // Turned clockwise by 30 degrees, the red half reaches right of the centre at the top and the
        // green half left of it at the bottom.
        EXPECT_TRUE(ColourIs(Pixel(image, 164, 100), kRed));
        EXPECT_TRUE(ColourIs(Pixel(image, 136, 200), kGreen));
        EXPECT_TRUE(ColourIs(Pixel(image, 100, 150), kRed));
        EXPECT_TRUE(ColourIs(Pixel(image, 200, 150), kGreen));
        // The ring, corners included, stays upright.
        EXPECT_TRUE(ColourIs(Pixel(image, 75, 150), kBlue));
        EXPECT_TRUE(ColourIs(Pixel(image, 75, 75), kBlue));
        EXPECT_TRUE(ColourIs(Pixel(image, 225, 225), kBlue));
        // Outside the frame's window the photo is cut away.
        for (const QPoint& pt : {QPoint(58, 58), QPoint(150, 58), QPoint(242, 150), QPoint(58, 242)})
            EXPECT_TRUE(ColourIs(Pixel(image, pt.x(), pt.y()), 0xFFFFFFFF)) << pt.x() << "," << pt.y();
    }
}

TEST(RenderPhoto, MissingFrameMaskLeavesThePhotoVisible)
{
    TestFiles files;
    FramedCard framed(files, 0, false);
    ASSERT_TRUE(framed.pObject->m_pImage);
    EXPECT_TRUE(ColourIs(Pixel(*framed.pObject->m_pImage, 60, 100), kRed));
    EXPECT_TRUE(ColourIs(Pixel(*framed.pObject->m_pImage, 8, 100), kRed));
    EXPECT_TRUE(ColourIs(Pixel(*framed.pObject->m_pImage, 140, 100), kGreen));
    const QImage out = framed.card.Render(300, 300);
    EXPECT_TRUE(ColourIs(Pixel(out, 110, 150), kRed));
    EXPECT_TRUE(ColourIs(Pixel(out, 190, 150), kGreen));

    // The same holds for a mask on an unframed photo.
    auto p = Object(OBJ_PHOTO, {0, 0, 50, 50});
    p->m_pPhoto = std::make_unique<QImage>(Bitmap(50, 50, Qt::red));
    p->m_strMask = files.path("no-mask.png");
    p->RebuildImage();
    ASSERT_TRUE(p->m_pImage);
    EXPECT_TRUE(ColourIs(Pixel(*p->m_pImage, 2, 2), kRed));
}

TEST(RenderPhoto, WholeObjectRotationTurnsPhotoAndFrameTogether)
{
    TestFiles files;
    FramedCard framed(files, 0);
    framed.pObject->m_dAngle = 90;
    for (const QImage& image : {Painted(*framed.pObject, 300, 300), framed.card.Render(300, 300)}) {
        // Turned clockwise a quarter, the photo's left (red) half is on top.
        EXPECT_TRUE(ColourIs(Pixel(image, 150, 110), kRed));
        EXPECT_TRUE(ColourIs(Pixel(image, 150, 190), kGreen));
        EXPECT_TRUE(ColourIs(Pixel(image, 75, 150), kBlue));
    }
}

TEST(RenderObject, RotationIsAboutTheCentreAndOutputIgnoresAnUncommittedTurn)
{
    TestFiles files;
    Card card(files, 300, 300);
    auto p = Object(OBJ_ELEMENT, {50, 100, 200, 100});
    p->m_strElement = files.write("e.png", Halves(200, 100, Qt::red, Qt::green));
    p->RebuildImage();
    TheData* pElement = card.Add(std::move(p));

    // Committed quarter turn: the wide element stands upright, red on top.
    pElement->m_dAngle = 90;
    for (const QImage& image : {Painted(*pElement, 300, 300), card.Render(300, 300)}) {
        EXPECT_TRUE(ColourIs(Pixel(image, 150, 70), kRed));
        EXPECT_TRUE(ColourIs(Pixel(image, 150, 230), kGreen));
        EXPECT_TRUE(ColourIs(Pixel(image, 70, 150), 0xFFFFFFFF));
    }

    // A turn still being dragged shows on the canvas only.
    pElement->m_dAngle = 0;
    pElement->m_dAngleDelta = 90;
    const QImage painted = Painted(*pElement, 300, 300);
    EXPECT_TRUE(ColourIs(Pixel(painted, 150, 70), kRed));
    const QImage out = card.Render(300, 300);
    EXPECT_TRUE(ColourIs(Pixel(out, 70, 150), kRed));
    EXPECT_TRUE(ColourIs(Pixel(out, 230, 150), kGreen));
    EXPECT_TRUE(ColourIs(Pixel(out, 150, 70), 0xFFFFFFFF));
}

// Output resolution

TEST(RenderOutput, FramedPhotoAtTwiceTheCanvasSizeIsComposedFromTheFullSizeFile)
{
    TestFiles files;
    Card card(files, 300, 300);
    // Vertical stripes four pixels wide: at the 400 pixels the photo covers in a 600 x 600 output,
    // one stripe per output pixel. Any 600-pixel working copy would have smeared them into grey.
    QImage photo = Bitmap(1600, 1600, Qt::black, QImage::Format_RGB32);
    {
        QPainter painter(&photo);
        for (int x = 0; x < 1600; x += 8)
            painter.fillRect(QRect(x, 0, 4, 1600), Qt::white);
    }
    QImage frame = Bitmap(200, 200, Qt::transparent);
    QImage mask = Bitmap(200, 200, Qt::black, QImage::Format_RGB32);
    QPainter(&mask).fillRect(QRect(20, 20, 160, 160), Qt::white);

    auto p = Object(OBJ_PHOTO, {50, 50, 200, 200});
    p->m_strPhoto = files.write("stripes.png", photo);
    p->m_strFrame = files.write("frame.png", frame);
    p->m_strFrameMask = files.write("frame.jpg", mask, 100);
    p->m_pPhoto = std::make_unique<QImage>(Bitmap(600, 600, Qt::green));
    p->m_pFrame = std::make_unique<QImage>(frame);
    p->m_rcPhoto = p->m_rcPhotoLocal = p->m_rcObject;
    p->RebuildImage();
    ASSERT_TRUE(p->m_pImage);
    EXPECT_TRUE(ColourIs(Pixel(*p->m_pImage, 100, 100), kGreen));
    card.Add(std::move(p));

    const QImage out = card.Render(600, 600);
    const QImage expected = photo.scaled(400, 400, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QRect window(160, 160, 280, 280);
    EXPECT_LT(MeanAbsDiff(out.copy(window), expected.copy(window.translated(-100, -100))), 2.0);
    int nContrasts = 0;
    for (int x = window.left(); x < window.right(); ++x)
        nContrasts += std::abs(qGreen(Pixel(out, x, 300)) - qGreen(Pixel(out, x + 1, 300))) > 200;
    EXPECT_GE(nContrasts, window.width() - 2);
}

struct ExportCase {
    const char* pszName;
    int nType;
    bool bMask;
    double dScale;
};

void PrintTo(const ExportCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ReducedDecodeTest : public ::testing::TestWithParam<ExportCase> {
protected:
    static void SetUpTestSuite()
    {
        s_pFiles = new TestFiles;
        s_pFiles->photo("big.jpg", 4000, 3000);
        s_pFiles->write("disc.png", DiscMask(400, 300, 120));
    }
    static void TearDownTestSuite()
    {
        delete s_pFiles;
        s_pFiles = nullptr;
    }
    static TestFiles* s_pFiles;
};

TestFiles* ReducedDecodeTest::s_pFiles = nullptr;

// Output reads large pictures at the size they land at; the result must look like drawing the
// full-size decode.
TEST_P(ReducedDecodeTest, ExportMatchesOneDrawnFromFullSizeDecodes)
{
    const ExportCase& c = GetParam();
    TestFiles& files = *s_pFiles;
    Card card(files, 800, 600);
    const QString strPicture = files.path("big.jpg");
    const QString strMask = files.path("disc.png");
    const RectF rc {150, 100, 500, 375};
    auto p = Object(c.nType, rc);
    (c.nType == OBJ_ELEMENT ? p->m_strElement : p->m_strPhoto) = strPicture;
    if (c.bMask)
        p->m_strMask = strMask;
    card.Add(std::move(p));
    const int w = int(800 * c.dScale);
    const int h = int(600 * c.dScale);
    const QImage out = card.Render(w, h);

    QImage full(strPicture);
    ASSERT_EQ(full.size(), QSize(4000, 3000));
    if (c.bMask) {
        full.convertTo(QImage::Format_ARGB32_Premultiplied);
        ApplyMask(full, strMask, full.width(), full.height());
    }
    QImage reference = Bitmap(w, h, Qt::white);
    QPainter painter(&reference);
    ApplyQuality(painter);
    painter.drawImage(rc.scaled(c.dScale).toQRectF(), full);
    painter.end();
    EXPECT_LT(MeanAbsDiff(out, reference), 2.0);
}

INSTANTIATE_TEST_SUITE_P(Objects, ReducedDecodeTest,
    ::testing::Values(ExportCase {"Photo", OBJ_PHOTO, false, 1.0}, ExportCase {"MaskedPhoto", OBJ_PHOTO, true, 1.0},
        ExportCase {"Element", OBJ_ELEMENT, false, 1.0}, ExportCase {"HalfSizePhoto", OBJ_PHOTO, false, 0.5},
        ExportCase {"DoubleSizeElement", OBJ_ELEMENT, false, 2.0}),
    [](const auto& info) { return std::string(info.param.pszName); });

TEST(RenderOutput, TextIsDrawnAtTheOutputScale)
{
    TestFiles files;
    Card card(files, 300, 200);
    auto p = Object(OBJ_TEXT, {20, 30, 0, 0});
    p->m_pText = std::make_unique<CTextPanel>();
    p->m_pText->m_strText = QStringLiteral("Hello");
    p->m_pText->m_strFont = QStringLiteral("DejaVu Sans");
    p->m_pText->m_bShadow = 0;
    p->RefitText();
    const RectF rc = p->m_rcObject;
    card.Add(std::move(p));

    const QImage out = card.Render(600, 400);
    QRect ink;
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (qGreen(Pixel(out, x, y)) < 128)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRectF(rc.scaled(2).toQRectF()).contains(QRectF(ink)));
    // Twice the card size: the text is about twice as wide as the measured outline.
    EXPECT_GT(ink.width(), 2 * (rc.Width - 16) - 4);
}

// Each object's layer is made on a thread of its own and the layers are laid in list order: the card
// must be the one made on a single thread, pixel for pixel, with objects that overlap, turn, take a
// mask, sit in a turned frame or hang off the card, and a text between them.
TEST(RenderCard, LayersMadeOnEveryCoreGiveTheCardOfOneThread)
{
    TestFiles files;
    FramedCard framed(files, 25);
    Card& card = framed.card;
    framed.pObject->m_dAngle = -12;
    const QString strPhoto = files.photo("photo.jpg", 900, 700);
    const QString strMask = files.write("disc.png", DiscMask(300, 300, 140));
    for (int i = 0; i < 7; ++i) {
        auto p = Object(i % 3 == 2 ? OBJ_ELEMENT : OBJ_PHOTO, {float(-30 + i * 45), float(20 + i * 25), 150, 110});
        (p->m_nType == OBJ_ELEMENT ? p->m_strElement : p->m_strPhoto) = strPhoto;
        if (i % 3 == 1)
            p->m_strMask = strMask;
        p->m_dAngle = i * 23.0 - 40;
        card.Add(std::move(p));
        if (i == 3) {
            auto pText = Object(OBJ_TEXT, {60, 120, 0, 0});
            pText->m_pText = std::make_unique<CTextPanel>();
            pText->m_pText->m_strText = QStringLiteral("Layers");
            pText->m_pText->m_strFont = QStringLiteral("DejaVu Sans");
            pText->RefitText();
            card.Add(std::move(pText));
        }
    }
    for (const QSize size : {QSize(300, 300), QSize(457, 457), QSize(1203, 1203)}) {
        const QImage serial = card.Render(size.width(), size.height(), 1);
        EXPECT_EQ(card.Render(size.width(), size.height()), serial) << size;
        EXPECT_EQ(card.Render(size.width(), size.height(), 3), serial) << size;
    }
}

// Objects that draw the same picture at the same size share one read of it; at another size it is
// read again.
TEST(RenderCard, SpritesOfOnePictureAtOneSizeAreReadOnce)
{
    TestFiles files;
    Card card(files, 600, 400);
    const QString strSprite = files.photo("sprite.png", 400, 400);
    for (int i = 0; i < 40; ++i)
        card.Add(Object(OBJ_ELEMENT, {float(i * 13 % 560), float(i * 7 % 360), 40, 40}))->m_strElement = strSprite;
    card.Add(Object(OBJ_ELEMENT, {10, 10, 80, 80}))->m_strElement = strSprite;
    const qint64 nBefore = PictureDecodeCount();
    const QImage out = card.Render(1200, 800);
    // The background, the sprite at 80 x 80 and at 160 x 160.
    EXPECT_EQ(PictureDecodeCount() - nBefore, 3);

    Card single(files, 600, 400);
    single.Add(Object(OBJ_ELEMENT, {float(39 * 13 % 560), float(39 * 7 % 360), 40, 40}))->m_strElement = strSprite;
    const QImage alone = single.Render(1200, 800);
    // The topmost of the small sprites looks as it does on its own.
    const QPoint pt(2 * (39 * 13 % 560) + 40, 2 * (39 * 7 % 360) + 40);
    EXPECT_EQ(out.pixel(pt), alone.pixel(pt));
}
