#include <limits>

#include <gtest/gtest.h>

#include "document/printsize.h"

namespace {

TEST(PrintSize, CardsPrintAt300PixelsPerInchUnlessAWidthWasTyped)
{
    const struct {
        QSize szCard;
        double dTyped;
        QSizeF szExpected;
    } cases[] = {
        {{3000, 2000}, 0, {254.0, 2000 / 300.0 * 25.4}},
        {{1500, 2100}, 0, {127.0, 177.8}},
        {{3000, 2000}, 150, {150.0, 100.0}},
        {{1000, 1500}, 100, {100.0, 150.0}},
        {{0, 1500}, 100, {}},
    };
    for (const auto& c : cases) {
        const QSizeF sz = CardPrintSizeMm(c.szCard, c.dTyped);
        EXPECT_NEAR(sz.width(), c.szExpected.width(), 1e-9) << c.szCard.width() << " " << c.dTyped;
        EXPECT_NEAR(sz.height(), c.szExpected.height(), 1e-9) << c.szCard.width() << " " << c.dTyped;
    }
    EXPECT_NEAR(PixelsPerInch(3000, 254), 300, 1e-9);
    EXPECT_EQ(PixelsPerInch(3000, 0), 0);
}

TEST(PrintSize, AbsentNegativeAndAbsurdWidthsAreRefusedWithAReason)
{
    const QSize szCard(1000, 1500);
    EXPECT_TRUE(PrintWidthError(100, szCard).isEmpty());
    EXPECT_TRUE(PrintWidthError(1333, szCard).isEmpty());
    EXPECT_NE(PrintWidthError(0, szCard).indexOf(QLatin1String("more than 0 mm")), -1);
    EXPECT_FALSE(PrintWidthError(-5, szCard).isEmpty());
    EXPECT_FALSE(PrintWidthError(std::numeric_limits<double>::quiet_NaN(), szCard).isEmpty());
    // The height follows the width: 1400 mm wide is 2100 mm high.
    EXPECT_NE(PrintWidthError(1400, szCard).indexOf(QLatin1String("2 metres")), -1);
    EXPECT_FALSE(PrintWidthError(2500, QSize(3000, 100)).isEmpty());
    EXPECT_FALSE(PrintWidthError(100, QSize()).isEmpty());
}

} // namespace
