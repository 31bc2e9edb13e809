#include "document/printsize.h"

#include <cmath>

QSizeF CardPrintSizeMm(QSize szCardPixels, double dTypedWidthMm)
{
    if (szCardPixels.width() <= 0 || szCardPixels.height() <= 0)
        return {};
    const double dWidth
        = dTypedWidthMm > 0 ? dTypedWidthMm : szCardPixels.width() / kDefaultPrintPpi * kMillimetresPerInch;
    return {dWidth, dWidth * szCardPixels.height() / szCardPixels.width()};
}

QString PrintWidthError(double dWidthMm, QSize szCardPixels)
{
    if (!std::isfinite(dWidthMm) || dWidthMm <= 0)
        return QStringLiteral("The print width must be more than 0 mm.");
    const QSizeF szPrint = CardPrintSizeMm(szCardPixels, dWidthMm);
    if (szPrint.isEmpty())
        return QStringLiteral("The card has no size to print.");
    if (szPrint.width() > kMaxPrintSideMm || szPrint.height() > kMaxPrintSideMm)
        return QStringLiteral("At %1 mm wide the card would be %2 x %3 mm; no side may be longer than 2 metres.")
            .arg(dWidthMm, 0, 'f', 1)
            .arg(szPrint.width(), 0, 'f', 0)
            .arg(szPrint.height(), 0, 'f', 0);
    return {};
}

double PixelsPerInch(double dPixels, double dMm)
{
    return dMm > 0 ? dPixels / dMm * kMillimetresPerInch : 0;
}
