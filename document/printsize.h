#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>

// The size a card comes out at on paper and in a PDF. A card prints at its pixel size (that of its
// background picture) at 300 pixels per inch unless the user typed another width; the height always
// follows the card's aspect ratio.

constexpr double kDefaultPrintPpi = 300.0;
constexpr double kMillimetresPerInch = 25.4;
// Longer sides than this are no card.
constexpr double kMaxPrintSideMm = 2000.0;

// The card's print size in millimetres: dTypedWidthMm wide when it is positive, otherwise the pixel size
// at 300 pixels per inch. Empty for a card without a size.
QSizeF CardPrintSizeMm(QSize szCardPixels, double dTypedWidthMm = 0);

// Why a typed print width cannot be used, as a sentence for the user; empty when it can. A width of 0
// or less, or one that makes either side longer than 2 metres, is refused.
QString PrintWidthError(double dWidthMm, QSize szCardPixels);

// The resolution dPixels across come out at when printed dMm long; 0 for a length that is not positive.
double PixelsPerInch(double dPixels, double dMm);
