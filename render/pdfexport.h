#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>

class CardDocument;

// The card as a one-page PDF the size it prints at (its pixels at 300 ppi, or the typed print width).
// Pictures go in at their own resolution but never above 300 pixels per inch of the page, photos as
// JPEG; texts stay text, with their fonts embedded.

// The resolution pictures are read at for the page, and so the most any picture carries.
constexpr double kPdfPpi = 300.0;
// What the page grows by on every side for print shops: the background runs on to the page edge and
// crop marks in that margin show where to cut.
constexpr double kBleedMm = 3.0;

// The page size in millimetres for a card printed szPrintMm large.
QSizeF PdfPageSizeMm(QSizeF szPrintMm, bool bBleed);

// Writes the card, whose pixel size is szCardPixels, at its print size (doc.m_dPrintWidthMm wide, or
// 300 ppi when that is 0) to strPath. A print width that cannot be used, an empty card or a failed
// write returns false with the reason in pstrError and leaves any existing file as it was.
bool SaveCardPdf(
    const CardDocument& doc, QSize szCardPixels, const QString& strPath, bool bBleed, QString* pstrError = nullptr);
