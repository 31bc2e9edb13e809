#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <vector>

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSet>

#include "document/textpanel.h"
#include "platform/pictureops.h"
#include "platform/quality.h"
#include "tests/testsupport.h"

namespace {

CTextPanel Text(const QString& strText)
{
    CTextPanel text;
    text.m_strText = strText;
    text.m_strFont = QStringLiteral("DejaVu Sans");
    return text;
}

// The text drawn on a white bitmap of the given size.
QImage Drawn(CTextPanel text, QSize size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ApplyQuality(painter);
    text.DrawText(painter);
    return image;
}

// Darkness of a pixel on white: how much of the green channel is missing.
int Ink(QRgb pixel)
{
    return 255 - qGreen(pixel);
}

QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Ink(image.pixel(x, y)) > 60)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Centre of the ink, weighted by darkness.
QPointF InkCentre(const QImage& image)
{
    double dSum = 0, dX = 0, dY = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int nInk = Ink(image.pixel(x, y));
            dSum += nInk;
            dX += nInk * (x + 0.5);
            dY += nInk * (y + 0.5);
        }
    }
    return dSum > 0 ? QPointF(dX / dSum, dY / dSum) : QPointF(-1, -1);
}

// Bounds of the text's outline, as the font draws a single line.
QRectF OutlineBounds(const CTextPanel& text)
{
    QPainterPath path;
    path.addText(0, 0, text.MakeFont(), text.m_strText);
    return path.boundingRect();
}

} // namespace

TEST(TextFont, MakeFontCarriesFamilyPixelSizeAndStyle)
{
    CTextPanel text = Text(QStringLiteral("x"));
    text.m_nSize = 37;
    QFont font = text.MakeFont();
    EXPECT_EQ(font.family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(font.pixelSize(), 37);
    EXPECT_FALSE(font.bold() || font.italic() || font.underline() || font.strikeOut());

    text.m_bBold = text.m_bItalic = text.m_bUnderline = text.m_bStrikeout = 1;
    font = text.MakeFont();
    EXPECT_TRUE(font.bold() && font.italic() && font.underline() && font.strikeOut());
}

// MeasureText

TEST(MeasureText, EmptyTextLeavesTheLayoutAlone)
{
    CTextPanel text = Text(QString());
    text.MeasureText();
    EXPECT_EQ(text.m_rcLayout, (RectF {5, 5, 10, 10}));
}

struct MeasureCase {
    int bShadow, nShadowX, nShadowY;
};

void PrintTo(const MeasureCase& c, std::ostream* pOut)
{
    *pOut << "shadow " << c.bShadow << " at " << c.nShadowX << "," << c.nShadowY;
}

class MeasureTextTest : public ::testing::TestWithParam<MeasureCase> { };

TEST_P(MeasureTextTest, OutlineBoundsPlusShadowOffsetsPlus15WhetherTheShadowIsOnOrNot)
{
    const MeasureCase& c = GetParam();
    CTextPanel text = Text(QStringLiteral("Greetings"));
    text.m_nSize = 30;
    text.m_bShadow = c.bShadow;
    text.m_nShadowX = c.nShadowX;
    text.m_nShadowY = c.nShadowY;
    text.MeasureText();
    // Measured on the design outline: within a fraction of a pixel of the outline at the text's size.
    const QRectF bounds = OutlineBounds(text);
    EXPECT_NEAR(text.m_rcLayout.Width, bounds.width() + c.nShadowX + 15, 0.25);
    EXPECT_NEAR(text.m_rcLayout.Height, bounds.height() + c.nShadowY + 15, 0.25);
    EXPECT_EQ(text.m_rcLayout.X, 5);
    EXPECT_EQ(text.m_rcLayout.Y, 5);
}

INSTANTIATE_TEST_SUITE_P(Shadows, MeasureTextTest,
    ::testing::Values(MeasureCase {1, 1, 1}, MeasureCase {0, 1, 1}, MeasureCase {1, 0, 0}, MeasureCase {0, 4, 7},
        MeasureCase {1, 4, 7}));

TEST(MeasureText, LinesSplitAtLineBreaksOnlyAndStyleCounts)
{
    CTextPanel one = Text(QStringLiteral("Hello"));
    one.MeasureText();
    for (const QString& strTwo : {QStringLiteral("Hello\nHi"), QStringLiteral("Hello\r\nHi")}) {
        CTextPanel two = Text(strTwo);
        two.MeasureText();
        EXPECT_NEAR(two.m_rcLayout.Width, one.m_rcLayout.Width, 0.5);
        EXPECT_GT(two.m_rcLayout.Height, one.m_rcLayout.Height + 20);
    }

    // A long line is never wrapped while measuring.
    CTextPanel line = Text(QString(60, QLatin1Char('w')) + QStringLiteral(" ") + QString(60, QLatin1Char('w')));
    line.MeasureText();
    EXPECT_GT(line.m_rcLayout.Width, 2000);
    EXPECT_LT(line.m_rcLayout.Height, 50);

    // Underline reaches below the glyphs.
    CTextPanel underlined = Text(QStringLiteral("ace"));
    CTextPanel plain = underlined;
    underlined.m_bUnderline = 1;
    plain.MeasureText();
    underlined.MeasureText();
    EXPECT_GT(underlined.m_rcLayout.Height, plain.m_rcLayout.Height);
}

TEST(MeasureText, SameTextMeasuresTheSameWhateverWasDrawnBefore)
{
    std::vector<CTextPanel> texts;
    for (const char* pszFont : {"DejaVu Sans", "DejaVu Serif"}) {
        for (int nSize : {13, 24}) {
            CTextPanel text = Text(QStringLiteral("Happy Birthday\nto you"));
            text.m_strFont = QString::fromLatin1(pszFont);
            text.m_nSize = nSize;
            texts.push_back(text);
        }
    }
    std::vector<RectF> first;
    for (CTextPanel& text : texts) {
        text.MeasureText();
        first.push_back(text.m_rcLayout);
    }
    // Drawing rasterises glyphs at various sizes in between.
    for (double dScale : {1.0, 2.0, 0.5}) {
        for (size_t i = 0; i < texts.size(); ++i) {
            QImage image(300, 200, QImage::Format_ARGB32_Premultiplied);
            QPainter painter(&image);
            ApplyQuality(painter);
            painter.scale(dScale, dScale);
            CTextPanel drawn = texts[i];
            drawn.m_rcLayout = {0, 0, 250, 150};
            drawn.DrawText(painter);
            painter.end();
            for (size_t j = 0; j < texts.size(); ++j) {
                texts[j].MeasureText();
                EXPECT_EQ(texts[j].m_rcLayout, first[j]) << j << " after drawing " << i << " at " << dScale;
            }
        }
    }
}

// DrawText

TEST(DrawText, AlignsLeftCentreOrRightAndTreatsUnknownAlignmentAsLeft)
{
    CTextPanel text = Text(QStringLiteral("Hi"));
    text.m_bShadow = 0;
    text.m_rcLayout = {0, 0, 300, 60};
    std::vector<QImage> images;
    for (int nAlign = 0; nAlign < 4; ++nAlign) {
        text.m_nAlign = nAlign;
        images.push_back(Drawn(text, QSize(300, 60)));
    }
    const QRect left = InkBounds(images[0]);
    const QRect centre = InkBounds(images[1]);
    const QRect right = InkBounds(images[2]);
    ASSERT_FALSE(left.isEmpty() || centre.isEmpty() || right.isEmpty());
    EXPECT_LT(left.left(), 10);
    EXPECT_NEAR(centre.center().x(), 150, 3);
    EXPECT_GT(right.right(), 290);
    EXPECT_EQ(images[3], images[0]);
}

TEST(DrawText, WrapsAtWordsAndBreaksAtLineBreaksWithinTheLayout)
{
    CTextPanel text = Text(QStringLiteral("one two three four five six seven"));
    text.m_bShadow = 0;
    text.m_rcLayout = {10, 10, 120, 300};
    const QRect wrapped = InkBounds(Drawn(text, QSize(200, 340)));
    ASSERT_FALSE(wrapped.isEmpty());
    EXPECT_LE(wrapped.right(), 130);
    EXPECT_GT(wrapped.height(), 3 * 24);

    text.m_strText = QStringLiteral("A\nB");
    const QImage broken = Drawn(text, QSize(200, 340));
    const QRect lines = InkBounds(broken);
    EXPECT_GT(lines.height(), 35);
    EXPECT_LT(lines.width(), 25);
}

TEST(DrawText, DrawsUnderThePaintersTransformThenResetsIt)
{
    CTextPanel text = Text(QStringLiteral("Hi"));
    text.m_rcLayout = {20, 20, 60, 40};
    QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ApplyQuality(painter);
    painter.translate(100, 50);
    text.DrawText(painter);
    EXPECT_TRUE(painter.worldTransform().isIdentity());
    painter.end();
    const QRect ink = InkBounds(image);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_TRUE(QRect(120, 70, 60, 40).contains(ink));
}

TEST(DrawText, ClipsToTheLayoutAndFollowsEveryChangeOfTheKeptLayout)
{
    // Wrapped lines that no longer fit stay inside the layout.
    CTextPanel text = Text(QStringLiteral("one two three four five six seven"));
    text.m_rcLayout = {10, 10, 120, 40};
    const QRect clipped = InkBounds(Drawn(text, QSize(200, 340)));
    ASSERT_FALSE(clipped.isEmpty());
    EXPECT_TRUE(QRect(10, 10, 120, 40).contains(clipped)) << clipped;

    // One panel drawn again and again: each change shows, whichever was laid out before, and the
    // same text at another place looks the same.
    QImage image(300, 120, QImage::Format_ARGB32_Premultiplied);
    const auto draw = [&image, &text] {
        image.fill(Qt::white);
        QPainter painter(&image);
        ApplyQuality(painter);
        text.DrawText(painter);
        painter.end();
        return image.copy();
    };
    text.m_strText = QStringLiteral("Hi");
    text.m_rcLayout = {10, 10, 200, 80};
    const QImage first = draw();
    text.m_rcLayout = {40, 30, 200, 80};
    EXPECT_EQ(draw().copy(40, 30, 200, 80), first.copy(10, 10, 200, 80));
    const auto changes = std::vector<std::function<void(CTextPanel&)>> {
        [](CTextPanel& t) { t.m_strText = QStringLiteral("Ho"); },
        [](CTextPanel& t) { t.m_nSize = 40; },
        [](CTextPanel& t) { t.m_bBold = 1; },
        [](CTextPanel& t) { t.m_nAlign = 2; },
        [](CTextPanel& t) { t.m_nShadowX = 6; },
        [](CTextPanel& t) { t.m_clrShadow = 0xFFFF0000; },
        [](CTextPanel& t) { t.m_clrText = 0xFF0000FF; },
        [](CTextPanel& t) { t.m_rcLayout.Width = 60; },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        const QImage before = draw();
        changes[i](text);
        EXPECT_NE(draw(), before) << "change " << i;
        // The same drawing made by a panel that kept nothing.
        CTextPanel copy;
        copy.m_strText = text.m_strText;
        copy.m_strFont = text.m_strFont;
        copy.m_nSize = text.m_nSize;
        copy.m_clrText = text.m_clrText;
        copy.m_bBold = text.m_bBold;
        copy.m_nAlign = text.m_nAlign;
        copy.m_nShadowX = text.m_nShadowX;
        copy.m_clrShadow = text.m_clrShadow;
        copy.m_rcLayout = text.m_rcLayout;
        // Glyph edges may differ by a shade with what the font engine drew last.
        EXPECT_LT(MeanAbsDiff(draw(), Drawn(copy, image.size())), 0.05) << "change " << i;
    }
}

struct ShadowCase {
    int bShadow, nShadowX, nShadowY;
    bool bDrawn;
};

void PrintTo(const ShadowCase& c, std::ostream* pOut)
{
    *pOut << "shadow " << c.bShadow << " at " << c.nShadowX << "," << c.nShadowY;
}

class ShadowRuleTest : public ::testing::TestWithParam<ShadowCase> { };

TEST_P(ShadowRuleTest, ShadowOnlyWhenOnAndSomeOffsetIsPositive)
{
    const ShadowCase& c = GetParam();
    CTextPanel text = Text(QStringLiteral("Shadow"));
    text.m_nSize = 30;
    text.m_rcLayout = {10, 10, 200, 60};
    text.m_bShadow = c.bShadow;
    text.m_nShadowX = c.nShadowX;
    text.m_nShadowY = c.nShadowY;
    text.m_clrShadow = 0xFFFF0000;
    const QImage withRule = Drawn(text, QSize(240, 90));
    text.m_bShadow = 0;
    const QImage without = Drawn(text, QSize(240, 90));
    EXPECT_EQ(withRule != without, c.bDrawn);
}

INSTANTIATE_TEST_SUITE_P(Offsets, ShadowRuleTest,
    ::testing::Values(ShadowCase {1, 0, 0, false}, ShadowCase {1, -2, -3, false}, ShadowCase {1, -2, 0, false},
        ShadowCase {1, 0, -4, false}, ShadowCase {0, 3, 3, false}, ShadowCase {1, 3, 3, true},
        ShadowCase {1, 3, 0, true}, ShadowCase {1, 0, 3, true}, ShadowCase {1, -2, 3, true}));

struct ShadowPlaceCase {
    const char* pszText;
    int nAlign;
    float fWidth;
};

void PrintTo(const ShadowPlaceCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszText) << " aligned " << c.nAlign << " in " << c.fWidth;
}

class ShadowPlaceTest : public ::testing::TestWithParam<ShadowPlaceCase> { };

// The shadow is the text's outline at 65 %, moved by the offset and stretched back: it lands offset
// by (offset / 0.65) from the text, laid out exactly as the text is. Its top-left edge is compared,
// since at the right edge of the layout the shadow is cut off.
TEST_P(ShadowPlaceTest, ShadowLandsAtTheOffsetOver065)
{
    const ShadowPlaceCase& c = GetParam();
    CTextPanel text = Text(QString::fromUtf8(c.pszText));
    text.m_nSize = 28;
    text.m_nAlign = c.nAlign;
    text.m_rcLayout = {10, 10, c.fWidth, 150};
    text.m_nShadowX = 6;
    text.m_nShadowY = 4;
    text.m_bShadow = 0;
    const QImage textOnly = Drawn(text, QSize(320, 200));
    text.m_bShadow = 1;
    text.m_clrText = 0x00000000;
    text.m_clrShadow = 0xFF000000;
    const QImage shadowOnly = Drawn(text, QSize(320, 200));

    const QRect textInk = InkBounds(textOnly);
    const QRect shadowInk = InkBounds(shadowOnly);
    ASSERT_FALSE(textInk.isEmpty() || shadowInk.isEmpty());
    EXPECT_NEAR(shadowInk.left() - textInk.left(), 6 / 0.65, 1.5);
    EXPECT_NEAR(shadowInk.top() - textInk.top(), 4 / 0.65, 1.5);
    EXPECT_NEAR(shadowInk.height(), textInk.height(), 3);
    if (c.nAlign != 2) {
        EXPECT_NEAR(shadowInk.width(), textInk.width(), 3);
        const QPointF shift = InkCentre(shadowOnly) - InkCentre(textOnly);
        EXPECT_NEAR(shift.x(), 6 / 0.65, 1.0);
        EXPECT_NEAR(shift.y(), 4 / 0.65, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, ShadowPlaceTest,
    ::testing::Values(ShadowPlaceCase {"Left", 0, 280}, ShadowPlaceCase {"Centre", 1, 280},
        ShadowPlaceCase {"Right", 2, 280}, ShadowPlaceCase {"wrapped words in a narrow box", 1, 170},
        ShadowPlaceCase {"two\nlines", 2, 280}, ShadowPlaceCase {"two\nlines", 0, 280}));

namespace {

// The shadow alone (black; the text itself transparent) of a one-line text drawn dScale times as large.
QImage ShadowAt(CTextPanel& text, double dScale)
{
    const QPoint ptEnd = (text.m_rcLayout.toQRectF().bottomRight() * dScale).toPoint();
    QImage image(ptEnd.x() + 1, ptEnd.y() + 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ApplyQuality(painter);
    painter.scale(dScale, dScale);
    text.DrawText(painter);
    return image;
}

// The shadow of a one-line text on white, from its outline moved by the offset over 0.65 and filled on
// a bitmap k pixels per layout unit; then either stretched over the layout dScale times as large (k =
// 0.65: how the canvas first made it) or blurred by three boxes of k / 0.65 pixels (k = dScale).
QImage ReferenceShadow(const CTextPanel& text, double k, double dScale, QSize size)
{
    const QRectF rcLayout = text.m_rcLayout.toQRectF();
    QPainterPath path;
    path.addText(0, QFontMetricsF(text.MakeFont()).ascent(), text.MakeFont(), text.m_strText);
    QImage fill(int(rcLayout.width() * k), int(rcLayout.height() * k), QImage::Format_Alpha8);
    fill.fill(0);
    QPainter fillPainter(&fill);
    ApplyQuality(fillPainter);
    fillPainter.scale(k, k);
    fillPainter.fillPath(path.translated(text.m_nShadowX / 0.65, text.m_nShadowY / 0.65), Qt::black);
    fillPainter.end();
    if (k == dScale) {
        const double dBox = dScale / 0.65;
        const std::array boxes {std::sqrt(dBox * dBox - 1), dBox, dBox};
        BoxBlurAlpha(fill, boxes, boxes);
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    ApplyQuality(painter);
    painter.scale(dScale, dScale);
    painter.drawImage(rcLayout, fill);
    return image;
}

// The pixels on a soft edge (neither nearly white nor nearly black), and the largest change of
// darkness between neighbours along a row or a column.
std::pair<int, int> SoftPixelsAndLargestStep(const QImage& image)
{
    int nSoft = 0, nStep = 0;
    for (int y = 1; y < image.height(); ++y)
        for (int x = 1; x < image.width(); ++x) {
            const int nInk = Ink(image.pixel(x, y));
            nSoft += nInk > 20 && nInk < 235;
            nStep = std::max(
                {nStep, std::abs(nInk - Ink(image.pixel(x - 1, y))), std::abs(nInk - Ink(image.pixel(x, y - 1)))});
        }
    return {nSoft, nStep};
}

} // namespace

// The shadow keeps its softness relative to the card at any scale but is made at the resolution it
// lands at: up to the canvas's size it is the stretched 65 % shadow it always was, and in a 4 times
// larger output it is the outline blurred as much, drawn at that size, whose edges ramp without
// steps. The panel that drew on the canvas draws the large output, as an export does, so a shadow
// kept from the canvas would show.
TEST(DrawText, ShadowIsAsSoftAtEveryScaleAndMadeAtTheResolutionItLandsAt)
{
    CTextPanel text = Text(QStringLiteral("AVOW"));
    text.m_nSize = 28;
    text.m_bBold = 1;
    text.m_nShadowX = 3;
    text.m_nShadowY = 3;
    text.m_clrText = 0x00000000;
    text.m_clrShadow = 0xFF000000;
    text.m_rcLayout = {6, 4, 110, 50};

    // The canvas: the stretched shadow it always was, and so is a smaller output.
    const QImage canvas = ShadowAt(text, 1);
    EXPECT_LT(MeanAbsDiff(canvas, ReferenceShadow(text, 0.65, 1, canvas.size())), 0.1);
    const QImage half = ShadowAt(text, 0.5);
    EXPECT_LT(MeanAbsDiff(half, ReferenceShadow(text, 0.65, 0.5, half.size())), 0.1);

    // Four times larger: the outline blurred at that size, as soft as the stretch there, without steps.
    const QImage large = ShadowAt(text, 4);
    EXPECT_LT(MeanAbsDiff(large, ReferenceShadow(text, 4, 4, large.size())), 0.5);
    const auto [nSoft, nStep] = SoftPixelsAndLargestStep(large);
    EXPECT_NEAR(double(nSoft) / SoftPixelsAndLargestStep(ReferenceShadow(text, 0.65, 4, large.size())).first, 1, 0.05);
    EXPECT_LE(nStep, 34);
}

TEST(FontFamiliesTest, EachFamilyOnceWithoutFoundriesAndWithoutSymbolOnlyFonts)
{
    const QList<QFontDatabase::WritingSystem> latin {QFontDatabase::Latin};
    const QList<FontFamilyEntry> families {
        {QStringLiteral("C059 [UKWN]"), {QFontDatabase::Latin, QFontDatabase::Greek}},
        {QStringLiteral("C059 [urw]"), {QFontDatabase::Latin, QFontDatabase::Greek}},
        {QStringLiteral("D050000L [urw]"), {QFontDatabase::Latin, QFontDatabase::Symbol}},
        {QStringLiteral("D050000L [URW ]"), {QFontDatabase::Latin, QFontDatabase::Symbol}},
        {QStringLiteral("Dancing Script"), latin},
        {QStringLiteral("EB Garamond"), {QFontDatabase::Latin, QFontDatabase::Cyrillic, QFontDatabase::Symbol}},
        {QStringLiteral("Nimbus Sans"), latin},
        {QStringLiteral("Nimbus Sans [urw]"), latin},
        {QStringLiteral("Nimbus Sans Narrow [urw]"), latin},
        {QStringLiteral("Untagged"), {}},
        {QStringLiteral("Wingdings"), {QFontDatabase::Symbol}},
        {QStringLiteral("[bracketed]"), latin},
    };
    EXPECT_EQ(OfferedFontFamilies(families),
        (QStringList {QStringLiteral("C059"), QStringLiteral("Dancing Script"), QStringLiteral("EB Garamond"),
            QStringLiteral("Nimbus Sans"), QStringLiteral("Nimbus Sans Narrow"), QStringLiteral("Untagged"),
            QStringLiteral("[bracketed]")}));

    // The machine's own list: dingbats and foundry tags are gone, each family is there once.
    const QStringList installed = InstalledFontFamilies();
    EXPECT_TRUE(installed.contains(QStringLiteral("DejaVu Serif")));
    EXPECT_FALSE(installed.contains(QStringLiteral("D050000L")));
    EXPECT_EQ(installed.filter(QStringLiteral("[")), QStringList());
    EXPECT_EQ(QSet<QString>(installed.begin(), installed.end()).size(), installed.size());

    const QStringList offered {QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")};
    struct Lookup {
        const char* pszFamily;
        const char* pszShown;
    };
    for (const Lookup& lookup : {Lookup {"DejaVu Serif", "DejaVu Serif"}, Lookup {"dejavu serif", "DejaVu Serif"},
             Lookup {"DejaVu Serif [Foundry]", "DejaVu Serif"}, Lookup {"DejaVu Sans Mono", ""}}) {
        EXPECT_EQ(OfferedFamilyFor(offered, QLatin1String(lookup.pszFamily)), QLatin1String(lookup.pszShown))
            << lookup.pszFamily;
    }
    // A family that is not installed shows the one that stands in for it.
    EXPECT_TRUE(installed.contains(OfferedFamilyFor(installed, QStringLiteral("Arial"))));
}
