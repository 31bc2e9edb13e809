#pragma once

#include <vector>

#include <QSizeF>
#include <QString>

class CardDocument;

// Photos that print blurry: below 150 pixels per inch at the size the card comes out at.

// Fewer pixels per inch than this show as soft or blocky on paper.
constexpr double kSharpPpi = 150.0;

struct LowResPhoto {
    // The photo's file name, without its folder.
    QString strName;
    // Its resolution on the output, the lower of the two directions, rounded down.
    int nPpi = 0;

    bool operator==(const LowResPhoto&) const = default;
};

// Every live photo of the card, in stacking order, that comes out below kSharpPpi when the whole card
// is szOutputInches large: its pixels across the rectangle it is drawn into (the object, or inside a
// frame the photo's own rectangle) over that rectangle's size on the output. Photos whose size
// cannot be read are left out; so is everything for a card without a client size or an empty output.
std::vector<LowResPhoto> LowResolutionPhotos(const CardDocument& doc, QSizeF szOutputInches);

// The card's print size in inches (its pixels at 300 ppi, or dPrintWidthMm wide when positive).
QSizeF PrintSizeInches(QSize szCardPixels, double dPrintWidthMm);

// The list as the user reads it, one "beach.jpg: 96 ppi" line each; empty for none.
QString LowResolutionText(const std::vector<LowResPhoto>& vecPhotos);
