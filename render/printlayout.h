// How a card is laid out on a printed sheet: fitted, at its print size, several per sheet or as a folded
// card, with the fold lines and cut marks to draw; and drawing such a sheet on any painter (a printer, a
// PDF writer, a preview). Geometry is in millimetres on the sheet, origin at its top left, y downwards.
#pragma once

#include <functional>
#include <optional>
#include <vector>

#include <QLineF>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class CardDocument;
class QPainter;

enum class PrintLayout {
    FitToPage,
    ActualSize,
    TwoPerSheet,
    FourPerSheet,
    HalfFold,
    QuarterFold,
};
constexpr int kPrintLayoutCount = 6;

// What the user reads ("Folded card (half fold)") and what scripts and the settings file write
// ("half-fold").
QString PrintLayoutTitle(PrintLayout nLayout);
QString PrintLayoutKey(PrintLayout nLayout);
std::optional<PrintLayout> PrintLayoutFromKey(const QString& strKey);

// Which face of the folded card a part of the sheet becomes.
enum class PanelFace { Front, Back, InsideLeft, InsideRight };

// A part of the sheet between fold lines. nRotation (0 or 180) is how the panel's content is turned on
// the sheet so that it reads upright once the sheet is folded.
struct PrintPanel {
    PanelFace nFace = PanelFace::Front;
    QRectF rc;
    int nRotation = 0;
};

// One printed sheet of a layout. The cards are always printed upright.
struct PrintSheet {
    QSizeF szSheet;
    QRectF rcPrintable;
    // Folded layouts only.
    std::vector<PrintPanel> vecPanels;
    std::vector<QLineF> vecFolds;
    std::vector<QRectF> vecCards;
    // Short lines outside the cards continuing the edges along which the sheet is cut.
    std::vector<QLineF> vecCutMarks;
    // Why nothing can be printed; empty when the sheet is good.
    QString strError;

    bool IsValid() const { return strError.isEmpty(); }
};

// Lays the card (szCardPixels, the size of its background picture, printed dPrintWidthMm wide or at
// 300 pixels per inch when that is 0) out on a sheet of szSheetMm, already in its orientation, inside
// the margins. A layout that cannot fit gives a sheet with strError set and no cards.
//
// Folding, always with the printed side out. Half fold: a sheet wider than high folds along its vertical
// middle, the right half being the front and the left half the back; a higher sheet folds along its
// horizontal middle, the bottom half being the front and the top half the back, turned by 180 degrees.
// Quarter fold: first along the horizontal middle, the top half going behind, then along the vertical
// middle, the left half going behind: the bottom right quarter is the front, the bottom left the back,
// and the top half, turned by 180 degrees, the inside. A fold edge of a panel keeps the margin of the
// panel's opposite edge, so that the card is centred on the folded face.
PrintSheet ComputePrintSheet(
    PrintLayout nLayout, QSizeF szSheetMm, const QMarginsF& marginsMm, QSize szCardPixels, double dPrintWidthMm);

// The orientation of the paper in which the layout prints the card largest (portrait on a tie); for
// "Actual size", the one in which the card fits, portrait first.
QPageLayout::Orientation BestOrientation(
    PrintLayout nLayout, QSizeF szPortraitMm, const QMarginsF& marginsMm, QSize szCardPixels, double dPrintWidthMm);

// How to fold the printed sheet, for the preview; empty for a layout that is not folded.
QString FoldingInstructions(PrintLayout nLayout, const PrintSheet& sheet);

// Draws the sheet into rcTarget of the painter (the whole sheet, in device units): white paper, each
// card drawn by drawCard into its integer rectangle (clipped to it), the dashed fold lines and the cut
// marks.
using DrawCardFunction = std::function<void(QPainter&, const QRect&)>;
void DrawPrintSheet(
    QPainter& painter, const PrintSheet& sheet, const QRectF& rcTarget, const DrawCardFunction& drawCard);
// The same with the card drawn by RenderCard from the document's files.
void DrawPrintSheet(QPainter& painter, const PrintSheet& sheet, const QRectF& rcTarget, const CardDocument& doc);

// The paper QPageSize calls by this name ("A4", "Letter", "Legal", ...), in any letter case.
std::optional<QPageSize::PageSizeId> PaperFromName(const QString& strName);
