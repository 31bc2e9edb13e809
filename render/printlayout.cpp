#include "render/printlayout.h"

#include <algorithm>
#include <array>
#include <cmath>

#include <QPainter>
#include <QPen>

#include "document/printsize.h"
#include "render/renderer.h"

namespace {

struct LayoutNames {
    PrintLayout nLayout;
    const char* pszTitle;
    const char* pszKey;
};

constexpr std::array<LayoutNames, kPrintLayoutCount> kNames {{
    {PrintLayout::FitToPage, "Fit to page", "fit"},
    {PrintLayout::ActualSize, "Actual size", "actual"},
    {PrintLayout::TwoPerSheet, "2 per sheet", "2-up"},
    {PrintLayout::FourPerSheet, "4 per sheet", "4-up"},
    {PrintLayout::HalfFold, "Folded card (half fold)", "half-fold"},
    {PrintLayout::QuarterFold, "Folded card (quarter fold)", "quarter-fold"},
}};

// Cut marks stop short of the card so that a slightly skewed cut leaves no line on it.
constexpr double kCutMarkGapMm = 1.5;
constexpr double kCutMarkLengthMm = 5.0;
// Marks shorter than this are not worth printing.
constexpr double kShortestMarkMm = 1.0;
// Rounding of millimetre sums must not refuse a card that fits exactly.
constexpr double kToleranceMm = 1e-6;

// The largest rectangle of the aspect (width / height) inside the box, centred.
QRectF FitInto(const QRectF& rcBox, double dAspect)
{
    double dWidth = rcBox.width();
    double dHeight = dWidth / dAspect;
    if (dHeight > rcBox.height()) {
        dHeight = rcBox.height();
        dWidth = dHeight * dAspect;
    }
    return QRectF(rcBox.center().x() - dWidth / 2, rcBox.center().y() - dHeight / 2, dWidth, dHeight);
}

QString Mm(double dMm)
{
    return QString::number(dMm, 'f', dMm == std::floor(dMm) ? 0 : 1);
}

// Why the margins leave nothing of the area, or empty when they leave some.
QString NoRoomError(const QString& strWhat, const QSizeF& szArea, const QMarginsF& margins)
{
    if (margins.left() + margins.right() >= szArea.width())
        return QStringLiteral("The left and right margins (%1 mm together) leave no room on %2, which is %3 mm wide.")
            .arg(Mm(margins.left() + margins.right()), strWhat, Mm(szArea.width()));
    if (margins.top() + margins.bottom() >= szArea.height())
        return QStringLiteral("The top and bottom margins (%1 mm together) leave no room on %2, which is %3 mm high.")
            .arg(Mm(margins.top() + margins.bottom()), strWhat, Mm(szArea.height()));
    return {};
}

// Marks continuing the edges of a grid of cards outward into the space around it.
void AddCutMarks(PrintSheet& sheet, const QRectF& rcGrid, int nColumns, int nRows)
{
    const auto mark = [&sheet](QPointF ptEdge, QPointF ptDirection, double dRoom) {
        const double dLength = std::min(kCutMarkLengthMm, dRoom - kCutMarkGapMm);
        if (dLength < kShortestMarkMm)
            return;
        const QPointF ptStart = ptEdge + ptDirection * kCutMarkGapMm;
        sheet.vecCutMarks.emplace_back(ptStart, ptStart + ptDirection * dLength);
    };
    const double dCellWidth = rcGrid.width() / nColumns;
    const double dCellHeight = rcGrid.height() / nRows;
    for (int i = 0; i <= nColumns; ++i) {
        const double x = rcGrid.left() + i * dCellWidth;
        mark(QPointF(x, rcGrid.top()), QPointF(0, -1), rcGrid.top());
        mark(QPointF(x, rcGrid.bottom()), QPointF(0, 1), sheet.szSheet.height() - rcGrid.bottom());
    }
    for (int i = 0; i <= nRows; ++i) {
        const double y = rcGrid.top() + i * dCellHeight;
        mark(QPointF(rcGrid.left(), y), QPointF(-1, 0), rcGrid.left());
        mark(QPointF(rcGrid.right(), y), QPointF(1, 0), sheet.szSheet.width() - rcGrid.right());
    }
}

// nCount equal cards in the grid of columns and rows that prints them largest, the grid centred in the
// printable area and the cards touching, so that one cut separates two of them.
void LayOutGrid(PrintSheet& sheet, int nCount, double dAspect)
{
    const QRectF& rcArea = sheet.rcPrintable;
    QSizeF szBest;
    int nBestColumns = 1;
    for (int nColumns = 1; nColumns <= nCount; ++nColumns) {
        if (nCount % nColumns != 0)
            continue;
        const int nRows = nCount / nColumns;
        const QSizeF szCard = FitInto(QRectF(0, 0, rcArea.width() / nColumns, rcArea.height() / nRows), dAspect).size();
        if (szCard.width() > szBest.width() + kToleranceMm) {
            szBest = szCard;
            nBestColumns = nColumns;
        }
    }
    const int nRows = nCount / nBestColumns;
    const QSizeF szGrid(szBest.width() * nBestColumns, szBest.height() * nRows);
    const QRectF rcGrid(rcArea.center() - QPointF(szGrid.width() / 2, szGrid.height() / 2), szGrid);
    for (int nRow = 0; nRow < nRows; ++nRow) {
        for (int nColumn = 0; nColumn < nBestColumns; ++nColumn)
            sheet.vecCards.emplace_back(
                rcGrid.topLeft() + QPointF(nColumn * szBest.width(), nRow * szBest.height()), szBest);
    }
    AddCutMarks(sheet, rcGrid, nBestColumns, nRows);
}

// The part of a panel the card may use: the sheet's margin along the sheet's edges, and along a fold
// the margin of the panel's opposite edge.
QRectF PanelPrintable(const PrintPanel& panel, const QSizeF& szSheet, const QMarginsF& margins)
{
    const QRectF& rc = panel.rc;
    const bool bLeftIsEdge = rc.left() <= kToleranceMm;
    const bool bRightIsEdge = rc.right() >= szSheet.width() - kToleranceMm;
    const bool bTopIsEdge = rc.top() <= kToleranceMm;
    const bool bBottomIsEdge = rc.bottom() >= szSheet.height() - kToleranceMm;
    const double dLeft = bLeftIsEdge ? margins.left() : margins.right();
    const double dRight = bRightIsEdge ? margins.right() : margins.left();
    const double dTop = bTopIsEdge ? margins.top() : margins.bottom();
    const double dBottom = bBottomIsEdge ? margins.bottom() : margins.top();
    return rc.adjusted(dLeft, dTop, -dRight, -dBottom);
}

void LayOutFolded(PrintSheet& sheet, PrintLayout nLayout, const QMarginsF& margins, double dAspect)
{
    const double W = sheet.szSheet.width();
    const double H = sheet.szSheet.height();
    if (nLayout == PrintLayout::HalfFold) {
        if (W > H) {
            sheet.vecPanels
                = {{PanelFace::Front, QRectF(W / 2, 0, W / 2, H), 0}, {PanelFace::Back, QRectF(0, 0, W / 2, H), 0}};
            sheet.vecFolds = {QLineF(W / 2, 0, W / 2, H)};
        } else {
            sheet.vecPanels
                = {{PanelFace::Front, QRectF(0, H / 2, W, H / 2), 0}, {PanelFace::Back, QRectF(0, 0, W, H / 2), 180}};
            sheet.vecFolds = {QLineF(0, H / 2, W, H / 2)};
        }
    } else {
        // Opened after both folds, the top half reads upside down: the top right quarter is the left
        // inside panel.
        sheet.vecPanels = {{PanelFace::Front, QRectF(W / 2, H / 2, W / 2, H / 2), 0},
            {PanelFace::Back, QRectF(0, H / 2, W / 2, H / 2), 0},
            {PanelFace::InsideLeft, QRectF(W / 2, 0, W / 2, H / 2), 180},
            {PanelFace::InsideRight, QRectF(0, 0, W / 2, H / 2), 180}};
        sheet.vecFolds = {QLineF(0, H / 2, W, H / 2), QLineF(W / 2, 0, W / 2, H)};
    }
    const PrintPanel& front = sheet.vecPanels.front();
    const QRectF rcFront = PanelPrintable(front, sheet.szSheet, margins);
    if (rcFront.width() <= kToleranceMm || rcFront.height() <= kToleranceMm) {
        sheet.strError
            = QStringLiteral("The margins leave no room on the front of the folded card, which is %1 x %2 mm.")
                  .arg(Mm(front.rc.width()), Mm(front.rc.height()));
        return;
    }
    sheet.vecCards.push_back(FitInto(rcFront, dAspect));
}

} // namespace

QString PrintLayoutTitle(PrintLayout nLayout)
{
    return QString::fromLatin1(kNames[size_t(nLayout)].pszTitle);
}

QString PrintLayoutKey(PrintLayout nLayout)
{
    return QString::fromLatin1(kNames[size_t(nLayout)].pszKey);
}

std::optional<PrintLayout> PrintLayoutFromKey(const QString& strKey)
{
    for (const LayoutNames& names : kNames) {
        if (strKey == QLatin1String(names.pszKey))
            return names.nLayout;
    }
    return std::nullopt;
}

PrintSheet ComputePrintSheet(
    PrintLayout nLayout, QSizeF szSheetMm, const QMarginsF& marginsMm, QSize szCardPixels, double dPrintWidthMm)
{
    PrintSheet sheet;
    sheet.szSheet = szSheetMm;
    sheet.rcPrintable = QRectF(QPointF(0, 0), szSheetMm).marginsRemoved(marginsMm);
    if (szCardPixels.isEmpty()) {
        sheet.strError = QStringLiteral("The card has no size to print.");
        return sheet;
    }
    const double dAspect = double(szCardPixels.width()) / szCardPixels.height();
    const bool bFolded = nLayout == PrintLayout::HalfFold || nLayout == PrintLayout::QuarterFold;
    // A folded card's margins belong to its panels: only the front's room counts.
    if (!bFolded) {
        sheet.strError = NoRoomError(QStringLiteral("the paper"), szSheetMm, marginsMm);
        if (!sheet.IsValid())
            return sheet;
    }
    switch (nLayout) {
    case PrintLayout::FitToPage:
        sheet.vecCards.push_back(FitInto(sheet.rcPrintable, dAspect));
        break;
    case PrintLayout::ActualSize: {
        const QSizeF szPrint = CardPrintSizeMm(szCardPixels, dPrintWidthMm);
        const QRectF rcCard(
            QPointF(szSheetMm.width() - szPrint.width(), szSheetMm.height() - szPrint.height()) / 2, szPrint);
        const QRectF& rcRoom = sheet.rcPrintable;
        if (rcCard.left() < rcRoom.left() - kToleranceMm || rcCard.top() < rcRoom.top() - kToleranceMm
            || rcCard.right() > rcRoom.right() + kToleranceMm || rcCard.bottom() > rcRoom.bottom() + kToleranceMm) {
            sheet.strError
                = QStringLiteral("At its print size of %1 x %2 mm the card, centred on the %3 x %4 mm paper, "
                                 "does not fit inside the margins. Choose a smaller print width, "
                                 "smaller margins or larger paper.")
                      .arg(Mm(szPrint.width()), Mm(szPrint.height()), Mm(szSheetMm.width()), Mm(szSheetMm.height()));
            return sheet;
        }
        sheet.vecCards.push_back(rcCard);
        AddCutMarks(sheet, rcCard, 1, 1);
        break;
    }
    case PrintLayout::TwoPerSheet:
        LayOutGrid(sheet, 2, dAspect);
        break;
    case PrintLayout::FourPerSheet:
        LayOutGrid(sheet, 4, dAspect);
        break;
    case PrintLayout::HalfFold:
    case PrintLayout::QuarterFold:
        LayOutFolded(sheet, nLayout, marginsMm, dAspect);
        break;
    }
    return sheet;
}

QPageLayout::Orientation BestOrientation(
    PrintLayout nLayout, QSizeF szPortraitMm, const QMarginsF& marginsMm, QSize szCardPixels, double dPrintWidthMm)
{
    const QSizeF szPortrait(
        std::min(szPortraitMm.width(), szPortraitMm.height()), std::max(szPortraitMm.width(), szPortraitMm.height()));
    const auto cardWidth = [&](QSizeF szSheet) {
        const PrintSheet sheet = ComputePrintSheet(nLayout, szSheet, marginsMm, szCardPixels, dPrintWidthMm);
        return sheet.vecCards.empty() ? -1.0 : sheet.vecCards.front().width();
    };
    const double dPortrait = cardWidth(szPortrait);
    const double dLandscape = cardWidth(szPortrait.transposed());
    if (nLayout == PrintLayout::ActualSize)
        return dPortrait < 0 && dLandscape > 0 ? QPageLayout::Landscape : QPageLayout::Portrait;
    return dLandscape > dPortrait + kToleranceMm ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QString FoldingInstructions(PrintLayout nLayout, const PrintSheet& sheet)
{
    if (nLayout == PrintLayout::HalfFold) {
        const bool bVertical = !sheet.vecFolds.empty() && sheet.vecFolds.front().dx() == 0;
        return bVertical ? QStringLiteral("Fold the sheet along the dashed line with the printed side out, "
                                          "the left half going behind: the right half is the front.")
                         : QStringLiteral("Fold the sheet along the dashed line with the printed side out, "
                                          "the top half going behind: the bottom half is the front.");
    }
    if (nLayout == PrintLayout::QuarterFold)
        return QStringLiteral("1. Fold along the horizontal dashed line with the printed side out, the top half "
                              "going behind.\n2. Fold along the vertical dashed line, the left half going "
                              "behind: the bottom right quarter is the front.");
    return {};
}

void DrawPrintSheet(
    QPainter& painter, const PrintSheet& sheet, const QRectF& rcTarget, const DrawCardFunction& drawCard)
{
    painter.save();
    painter.fillRect(rcTarget, Qt::white);
    const double dScaleX = rcTarget.width() / sheet.szSheet.width();
    const double dScaleY = rcTarget.height() / sheet.szSheet.height();
    const auto toTarget
        = [&](QPointF pt) { return QPointF(rcTarget.left() + pt.x() * dScaleX, rcTarget.top() + pt.y() * dScaleY); };
    for (const QRectF& rcCard : sheet.vecCards) {
        const QPointF ptTopLeft = toTarget(rcCard.topLeft());
        const QPointF ptBottomRight = toTarget(rcCard.bottomRight());
        const QRect rcDevice(QPoint(qRound(ptTopLeft.x()), qRound(ptTopLeft.y())),
            QPoint(qRound(ptBottomRight.x()) - 1, qRound(ptBottomRight.y()) - 1));
        if (rcDevice.isEmpty())
            continue;
        painter.setClipRect(rcDevice);
        drawCard(painter, rcDevice);
        painter.setClipping(false);
    }
    // A quarter of a millimetre, and never thinner than a device pixel.
    const double dLineWidth = std::max(1.0, 0.25 * dScaleX);
    QPen foldPen(QColor(128, 128, 128), dLineWidth, Qt::DashLine);
    foldPen.setCapStyle(Qt::FlatCap);
    painter.setPen(foldPen);
    for (const QLineF& fold : sheet.vecFolds)
        painter.drawLine(toTarget(fold.p1()), toTarget(fold.p2()));
    QPen cutPen(Qt::black, dLineWidth);
    cutPen.setCapStyle(Qt::FlatCap);
    painter.setPen(cutPen);
    for (const QLineF& mark : sheet.vecCutMarks)
        painter.drawLine(toTarget(mark.p1()), toTarget(mark.p2()));
    painter.restore();
}

void DrawPrintSheet(QPainter& painter, const PrintSheet& sheet, const QRectF& rcTarget, const CardDocument& doc)
{
    DrawPrintSheet(painter, sheet, rcTarget, [&doc](QPainter& target, const QRect& rcCard) {
        RenderCard(target, doc, rcCard.x(), rcCard.y(), rcCard.width(), rcCard.height());
    });
}

std::optional<QPageSize::PageSizeId> PaperFromName(const QString& strName)
{
    for (int i = 0; i <= int(QPageSize::LastPageSize); ++i) {
        const auto nId = QPageSize::PageSizeId(i);
        if (nId != QPageSize::Custom && QPageSize::key(nId).compare(strName, Qt::CaseInsensitive) == 0)
            return nId;
    }
    return std::nullopt;
}
