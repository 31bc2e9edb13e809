#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "render/printlayout.h"

namespace {

// A 1500 x 1000 card: 127 x 84.67 mm at 300 pixels per inch.
const QSize kCard(1500, 1000);
const QMarginsF kMargins(10, 10, 10, 10);
const QSizeF kA4(210, 297);
const QSizeF kLetter(215.9, 279.4);

void ExpectRect(const QRectF& rc, const QRectF& expected)
{
    EXPECT_NEAR(rc.x(), expected.x(), 1e-3);
    EXPECT_NEAR(rc.y(), expected.y(), 1e-3);
    EXPECT_NEAR(rc.width(), expected.width(), 1e-3);
    EXPECT_NEAR(rc.height(), expected.height(), 1e-3);
}

TEST(PrintLayout, EachLayoutPlacesPanelsFoldsAndCardsOnThePaper)
{
    const double h3 = 1000.0 / 1500;
    const struct {
        PrintLayout nLayout;
        QSizeF szSheet;
        std::vector<PrintPanel> vecPanels;
        std::vector<QLineF> vecFolds;
        std::vector<QRectF> vecCards;
        size_t nCutMarks;
    } cases[] = {
        {PrintLayout::FitToPage, kA4, {}, {}, {{10, 85.1667, 190, 190 * h3}}, 0},
        {PrintLayout::FitToPage, kLetter.transposed(), {}, {}, {{10, 21.4833, 259.4, 259.4 * h3}}, 0},
        // Centred on the sheet, at 300 pixels per inch, with two marks at each corner.
        {PrintLayout::ActualSize, kA4, {}, {}, {{41.5, 106.1667, 127, 84.6667}}, 8},
        {PrintLayout::ActualSize, kA4.transposed(), {}, {}, {{85, 62.6667, 127, 84.6667}}, 8},
        // One above the other: on either paper a column prints this card larger than a row.
        {PrintLayout::TwoPerSheet, kA4, {}, {}, {{10, 21.8333, 190, 190 * h3}, {10, 148.5, 190, 190 * h3}}, 10},
        {PrintLayout::TwoPerSheet, kA4.transposed(), {}, {}, {{77.25, 10, 142.5, 95}, {77.25, 105, 142.5, 95}}, 10},
        {PrintLayout::FourPerSheet, kA4.transposed(), {}, {},
            {{10, 12.6667, 138.5, 92.3333}, {148.5, 12.6667, 138.5, 92.3333}, {10, 105, 138.5, 92.3333},
                {148.5, 105, 138.5, 92.3333}},
            12},
        {PrintLayout::HalfFold, kA4,
            {{PanelFace::Front, {0, 148.5, 210, 148.5}, 0}, {PanelFace::Back, {0, 0, 210, 148.5}, 180}},
            {{0, 148.5, 210, 148.5}}, {{10, 159.4167, 190, 190 * h3}}, 0},
        {PrintLayout::HalfFold, kA4.transposed(),
            {{PanelFace::Front, {148.5, 0, 148.5, 210}, 0}, {PanelFace::Back, {0, 0, 148.5, 210}, 0}},
            {{148.5, 0, 148.5, 210}}, {{158.5, 62.1667, 128.5, 128.5 * h3}}, 0},
        {PrintLayout::QuarterFold, kA4,
            {{PanelFace::Front, {105, 148.5, 105, 148.5}, 0}, {PanelFace::Back, {0, 148.5, 105, 148.5}, 0},
                {PanelFace::InsideLeft, {105, 0, 105, 148.5}, 180}, {PanelFace::InsideRight, {0, 0, 105, 148.5}, 180}},
            {{0, 148.5, 210, 148.5}, {105, 0, 105, 297}}, {{115, 194.4167, 85, 85 * h3}}, 0},
        {PrintLayout::QuarterFold, kLetter.transposed(),
            {{PanelFace::Front, {139.7, 107.95, 139.7, 107.95}, 0}, {PanelFace::Back, {0, 107.95, 139.7, 107.95}, 0},
                {PanelFace::InsideLeft, {139.7, 0, 139.7, 107.95}, 180},
                {PanelFace::InsideRight, {0, 0, 139.7, 107.95}, 180}},
            {{0, 107.95, 279.4, 107.95}, {139.7, 0, 139.7, 215.9}}, {{149.7, 122.025, 119.7, 79.8}}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PrintLayoutKey(c.nLayout).toStdString() + " " + std::to_string(c.szSheet.width()));
        const PrintSheet sheet = ComputePrintSheet(c.nLayout, c.szSheet, kMargins, kCard, 0);
        ASSERT_TRUE(sheet.IsValid()) << sheet.strError.toStdString();
        ASSERT_EQ(sheet.vecPanels.size(), c.vecPanels.size());
        for (size_t i = 0; i < c.vecPanels.size(); ++i) {
            EXPECT_EQ(sheet.vecPanels[i].nFace, c.vecPanels[i].nFace) << i;
            EXPECT_EQ(sheet.vecPanels[i].nRotation, c.vecPanels[i].nRotation) << i;
            ExpectRect(sheet.vecPanels[i].rc, c.vecPanels[i].rc);
        }
        EXPECT_EQ(sheet.vecFolds, c.vecFolds);
        ASSERT_EQ(sheet.vecCards.size(), c.vecCards.size());
        for (size_t i = 0; i < c.vecCards.size(); ++i)
            ExpectRect(sheet.vecCards[i], c.vecCards[i]);
        EXPECT_EQ(sheet.vecCutMarks.size(), c.nCutMarks);
        // Cut marks lie outside every card and on the paper.
        for (const QLineF& mark : sheet.vecCutMarks) {
            EXPECT_TRUE(QRectF(QPointF(), c.szSheet).contains(mark.p2()));
            for (const QRectF& rcCard : sheet.vecCards)
                EXPECT_FALSE(rcCard.adjusted(0.01, 0.01, -0.01, -0.01).contains(mark.center()));
        }
    }
}

TEST(PrintLayout, LayoutsThatCannotFitSayWhyAndPlaceNothing)
{
    const struct {
        PrintLayout nLayout;
        QMarginsF margins;
        double dPrintWidth;
        const char* pszReason;
    } cases[] = {
        {PrintLayout::ActualSize, kMargins, 300, "300 x 200 mm"},
        {PrintLayout::ActualSize, QMarginsF(60, 10, 10, 10), 127, "does not fit inside the margins"},
        {PrintLayout::FitToPage, QMarginsF(105, 10, 105, 10), 0, "left and right margins (210 mm together)"},
        {PrintLayout::FourPerSheet, QMarginsF(10, 150, 10, 150), 0, "top and bottom margins (300 mm together)"},
        // The fold takes the outer margin: 80 + 80 mm on a panel 148.5 mm high.
        {PrintLayout::HalfFold, QMarginsF(10, 80, 10, 80), 0, "front of the folded card, which is 210 x 148.5 mm"},
    };
    for (const auto& c : cases) {
        const PrintSheet sheet = ComputePrintSheet(c.nLayout, kA4, c.margins, kCard, c.dPrintWidth);
        EXPECT_TRUE(sheet.strError.contains(QLatin1String(c.pszReason))) << sheet.strError.toStdString();
        EXPECT_TRUE(sheet.vecCards.empty());
    }
    EXPECT_FALSE(ComputePrintSheet(PrintLayout::FitToPage, kA4, kMargins, QSize(), 0).IsValid());
    // The same margins leave room for a card that is not folded.
    EXPECT_TRUE(ComputePrintSheet(PrintLayout::FitToPage, kA4, QMarginsF(10, 80, 10, 80), kCard, 0).IsValid());
}

TEST(PrintLayout, TheDefaultOrientationPrintsTheCardLargest)
{
    const QSize szTall(1000, 1500);
    const struct {
        PrintLayout nLayout;
        QSize szCard;
        double dPrintWidth;
        QPageLayout::Orientation nExpected;
    } cases[] = {
        {PrintLayout::FitToPage, kCard, 0, QPageLayout::Landscape},
        {PrintLayout::FitToPage, szTall, 0, QPageLayout::Portrait},
        {PrintLayout::TwoPerSheet, kCard, 0, QPageLayout::Portrait},
        {PrintLayout::FourPerSheet, kCard, 0, QPageLayout::Landscape},
        {PrintLayout::HalfFold, kCard, 0, QPageLayout::Portrait},
        {PrintLayout::HalfFold, szTall, 0, QPageLayout::Landscape},
        {PrintLayout::QuarterFold, kCard, 0, QPageLayout::Landscape},
        // The same size either way: the orientation in which it fits.
        {PrintLayout::ActualSize, kCard, 127, QPageLayout::Portrait},
        {PrintLayout::ActualSize, kCard, 250, QPageLayout::Landscape},
    };
    for (const auto& c : cases)
        EXPECT_EQ(BestOrientation(c.nLayout, kA4, kMargins, c.szCard, c.dPrintWidth), c.nExpected)
            << PrintLayoutKey(c.nLayout).toStdString() << " " << c.szCard.width() << " " << c.dPrintWidth;
}

TEST(PrintLayout, NamesRoundTripAndFoldedLayoutsExplainTheFolding)
{
    for (int i = 0; i < kPrintLayoutCount; ++i) {
        const auto nLayout = PrintLayout(i);
        EXPECT_EQ(PrintLayoutFromKey(PrintLayoutKey(nLayout)), nLayout);
        const PrintSheet sheet = ComputePrintSheet(nLayout, kA4.transposed(), kMargins, kCard, 0);
        const bool bFolded = nLayout == PrintLayout::HalfFold || nLayout == PrintLayout::QuarterFold;
        EXPECT_EQ(FoldingInstructions(nLayout, sheet).isEmpty(), !bFolded) << i;
    }
    EXPECT_FALSE(PrintLayoutFromKey(QStringLiteral("Fit")).has_value());
    EXPECT_TRUE(FoldingInstructions(
        PrintLayout::HalfFold, ComputePrintSheet(PrintLayout::HalfFold, kA4.transposed(), kMargins, kCard, 0))
                    .contains(QLatin1String("right half is the front")));
}

TEST(PrintLayout, ASheetIsDrawnWithEachCardClippedToItsPlaceAndTheLinesOutsideIt)
{
    // 2 pixels per millimetre on A4 landscape, four cards.
    QImage page(594, 420, QImage::Format_RGB32);
    page.fill(Qt::red);
    const PrintSheet sheet = ComputePrintSheet(PrintLayout::FourPerSheet, kA4.transposed(), kMargins, kCard, 0);
    std::vector<QRect> vecDrawn;
    {
        QPainter painter(&page);
        DrawPrintSheet(painter, sheet, QRectF(0, 0, 594, 420), [&vecDrawn](QPainter& target, const QRect& rc) {
            vecDrawn.push_back(rc);
            // Spills over on purpose: the clip keeps it on the card.
            target.fillRect(rc.adjusted(-20, -20, 20, 20), Qt::blue);
        });
    }
    ASSERT_EQ(vecDrawn.size(), 4u);
    EXPECT_EQ(vecDrawn[0], QRect(20, 25, 277, 185));
    EXPECT_EQ(vecDrawn[3].right() + 1, 574);
    EXPECT_EQ(page.pixel(5, 5), qRgb(255, 255, 255)) << "the paper is white";
    EXPECT_EQ(page.pixel(100, 100), qRgb(0, 0, 255));
    EXPECT_EQ(page.pixel(19, 100), qRgb(255, 255, 255)) << "the card's drawing stays inside it";
    // The cut mark continuing the grid's middle vertical edge above it.
    EXPECT_LT(std::min(qGray(page.pixel(296, 16)), qGray(page.pixel(297, 16))), 100);
}

} // namespace
