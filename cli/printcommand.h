// velomira-render's print layouts: the card laid out on a sheet of paper as the print dialog prints it,
// written as a one-page PDF.
#pragma once

#include <optional>

#include <QMarginsF>
#include <QPageSize>
#include <QSize>
#include <QSizeF>
#include <QString>

#include "render/printlayout.h"

class CardDocument;

struct LayoutRequest {
    PrintLayout nLayout = PrintLayout::FitToPage;
    QPageSize::PageSizeId nPaper = QPageSize::A4;
    QMarginsF marginsMm {10, 10, 10, 10};
    // Not given: the card's own size at 300 pixels per inch.
    std::optional<double> optPrintWidthMm;
};

// Reads --layout and --paper (each empty when not given) and the --print-width already read into
// pRequest; the message for a value that is no layout or paper.
std::optional<QString> ParseLayoutRequest(
    const QString& strLayout, const QString& strPaper, std::optional<double> optPrintWidthMm, LayoutRequest* pRequest);

// Why the request cannot be laid out for a card of szCard pixels (a print width refused, a layout that
// does not fit the paper); empty when it can.
QString LayoutRequestError(const LayoutRequest& request, QSize szCard);

// The size one card prints at in the layout, in inches; empty when the layout cannot be printed.
QSizeF LayoutCardSizeInches(const LayoutRequest& request, QSize szCard);

// Writes the layout as a one-page PDF on the paper, turned the way that prints the card largest, drawn
// as the print dialog draws it. Nothing is left at strPath when it fails: false with the reason.
bool WriteLayoutPdf(
    const CardDocument& doc, QSize szCard, const LayoutRequest& request, const QString& strPath, QString* pstrError);
