#include "render/pdfexport.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSaveFile>

#include "document/carddocument.h"
#include "document/printsize.h"
#include "platform/pictureops.h"
#include "platform/quality.h"
#include "render/renderer.h"

namespace {

void SetError(QString* pstrError, const QString& strReason)
{
    if (pstrError)
        *pstrError = strReason;
}

// Page device pixels for a length on paper.
double PixelsOf(double dMm)
{
    return dMm / kMillimetresPerInch * kPdfPpi;
}

// The background carried on past the card's edges by b pixels, as four strips (top and bottom with
// the corners, then left and right) that lie around rcCard; what passes the page's edge is cut off. Mirroring the edge
// keeps the picture continuous across the cut, whatever the background shows.
void DrawBleedBackground(QPainter& painter, const QString& strBackground, const QRect& rcCard, int b)
{
    QImage background = ReadPictureForSize(strBackground, rcCard.size());
    if (background.isNull() || b <= 0)
        return;
    // A background smaller than the card is stretched on the page; the strips are cut from it stretched alike.
    if (background.size() != rcCard.size())
        background = background.scaled(rcCard.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    background.convertTo(QImage::Format_RGB32);
    const int w = rcCard.width();
    const int h = rcCard.height();
    const int nEdge = std::min({b, w, h});
    QImage extended(w + 2 * b, h + 2 * b, QImage::Format_RGB32);
    extended.fill(Qt::white);
    {
        QPainter ext(&extended);
        ext.setCompositionMode(QPainter::CompositionMode_Source);
        ext.drawImage(b, b, background);
        ext.drawImage(QRect(b - nEdge, b, nEdge, h), background.copy(0, 0, nEdge, h).mirrored(true, false));
        ext.drawImage(QRect(b + w, b, nEdge, h), background.copy(w - nEdge, 0, nEdge, h).mirrored(true, false));
        const QImage top = extended.copy(0, b, w + 2 * b, nEdge).mirrored(false, true);
        const QImage bottom = extended.copy(0, b + h - nEdge, w + 2 * b, nEdge).mirrored(false, true);
        ext.drawImage(0, b - nEdge, top);
        ext.drawImage(0, b + h, bottom);
    }
    const QPoint ptOrigin = rcCard.topLeft() - QPoint(b, b);
    const QRect strips[]
        = {QRect(0, 0, w + 2 * b, b), QRect(0, b + h, w + 2 * b, b), QRect(0, b, b, h), QRect(b + w, b, b, h)};
    for (const QRect& rcStrip : strips)
        painter.drawImage(rcStrip.topLeft() + ptOrigin, extended.copy(rcStrip));
}

// Two short lines at each corner of the card, in the bleed, along its edges: black on a white halo so
// they show on any background.
void DrawCropMarks(QPainter& painter, const QRectF& rcCard, double dBleed)
{
    const double dGap = PixelsOf(1.0);
    const double dReach = dBleed - dGap;
    const double dPoint = kPdfPpi / 72.0;
    const QPen pens[] = {QPen(Qt::white, 0.75 * dPoint), QPen(Qt::black, 0.25 * dPoint)};
    for (const QPen& pen : pens) {
        painter.setPen(pen);
        for (const double x : {rcCard.left(), rcCard.right()}) {
            for (const double y : {rcCard.top(), rcCard.bottom()}) {
                const double dx = x == rcCard.left() ? -1 : 1;
                const double dy = y == rcCard.top() ? -1 : 1;
                painter.drawLine(QPointF(x + dx * dGap, y), QPointF(x + dx * (dGap + dReach), y));
                painter.drawLine(QPointF(x, y + dy * dGap), QPointF(x, y + dy * (dGap + dReach)));
            }
        }
    }
}

} // namespace

QSizeF PdfPageSizeMm(QSizeF szPrintMm, bool bBleed)
{
    const double dGrow = bBleed ? 2 * kBleedMm : 0;
    return {szPrintMm.width() + dGrow, szPrintMm.height() + dGrow};
}

bool SaveCardPdf(const CardDocument& doc, QSize szCardPixels, const QString& strPath, bool bBleed, QString* pstrError)
{
    const double dWidthMm = doc.m_dPrintWidthMm != 0 ? doc.m_dPrintWidthMm : CardPrintSizeMm(szCardPixels).width();
    if (const QString strWidthError = PrintWidthError(dWidthMm, szCardPixels); !strWidthError.isEmpty()) {
        SetError(pstrError, strWidthError);
        return false;
    }
    const QSizeF szPrint = CardPrintSizeMm(szCardPixels, dWidthMm);
    const QSizeF szPage = PdfPageSizeMm(szPrint, bBleed);

    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(pstrError, QStringLiteral("Cannot write %1: %2").arg(strPath, file.errorString()));
        return false;
    }
    QPdfWriter writer(&file);
    writer.setCreator(QStringLiteral("Velomira"));
    writer.setTitle(QFileInfo(strPath).completeBaseName());
    writer.setResolution(int(kPdfPpi));
    writer.setPageLayout(QPageLayout(QPageSize(szPage, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF()));

    // The page holds whole points. Without bleed the card fills it, so that no sliver of paper shows at
    // an edge; with bleed the card keeps its exact size, centred, and the bleed takes up the difference.
    const double dBleed = bBleed ? PixelsOf(kBleedMm) : 0;
    const QSize szPagePixels(writer.width(), writer.height());
    const QSize szExact(int(std::lround(PixelsOf(szPrint.width()))), int(std::lround(PixelsOf(szPrint.height()))));
    const QRect rcCard = bBleed
        ? QRect(QPoint((szPagePixels.width() - szExact.width()) / 2, (szPagePixels.height() - szExact.height()) / 2),
            szExact)
        : QRect(QPoint(0, 0), szPagePixels);
    QPainter painter;
    if (!painter.begin(&writer)) {
        SetError(pstrError, QStringLiteral("Cannot write %1: the PDF cannot be started.").arg(strPath));
        return false;
    }
    ApplyQuality(painter);
    try {
        if (bBleed)
            DrawBleedBackground(painter, doc.m_strBackground, rcCard,
                std::max({rcCard.left(), rcCard.top(), szPagePixels.width() - 1 - rcCard.right(),
                    szPagePixels.height() - 1 - rcCard.bottom()}));
        RenderCard(painter, doc, rcCard.x(), rcCard.y(), rcCard.width(), rcCard.height());
        if (bBleed)
            DrawCropMarks(painter, QRectF(rcCard), dBleed);
    } catch (const std::bad_alloc&) {
        painter.end();
        SetError(pstrError, QStringLiteral("Not enough memory to export the card as a PDF."));
        return false;
    }
    if (!painter.end() || !file.commit()) {
        SetError(pstrError, QStringLiteral("Cannot write %1: %2").arg(strPath, file.errorString()));
        return false;
    }
    return true;
}
