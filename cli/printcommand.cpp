#include "cli/printcommand.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include "document/printsize.h"
#include "platform/quality.h"
#include "render/pdfexport.h"

namespace {

QPageLayout::Orientation OrientationFor(const LayoutRequest& request, QSize szCard)
{
    return BestOrientation(request.nLayout, QPageSize(request.nPaper).size(QPageSize::Millimeter), request.marginsMm,
        szCard, request.optPrintWidthMm.value_or(0));
}

PrintSheet SheetFor(const LayoutRequest& request, QSize szCard)
{
    QSizeF szPaper = QPageSize(request.nPaper).size(QPageSize::Millimeter);
    if (OrientationFor(request, szCard) == QPageLayout::Landscape)
        szPaper.transpose();
    return ComputePrintSheet(request.nLayout, szPaper, request.marginsMm, szCard, request.optPrintWidthMm.value_or(0));
}

} // namespace

std::optional<QString> ParseLayoutRequest(
    const QString& strLayout, const QString& strPaper, std::optional<double> optPrintWidthMm, LayoutRequest* pRequest)
{
    if (!strLayout.isEmpty()) {
        const std::optional<PrintLayout> nLayout = PrintLayoutFromKey(strLayout);
        if (!nLayout) {
            QStringList names;
            for (int i = 0; i < kPrintLayoutCount; ++i)
                names.append(PrintLayoutKey(PrintLayout(i)));
            return QStringLiteral("unknown layout \"%1\": use one of %2")
                .arg(strLayout, names.join(QLatin1String(", ")));
        }
        pRequest->nLayout = *nLayout;
    }
    if (!strPaper.isEmpty()) {
        const std::optional<QPageSize::PageSizeId> nPaper = PaperFromName(strPaper);
        if (!nPaper)
            return QStringLiteral("unknown paper \"%1\": use a name such as A4, A5, Letter or Legal").arg(strPaper);
        pRequest->nPaper = *nPaper;
    }
    pRequest->optPrintWidthMm = optPrintWidthMm;
    return std::nullopt;
}

QString LayoutRequestError(const LayoutRequest& request, QSize szCard)
{
    if (request.optPrintWidthMm) {
        const QString strError = PrintWidthError(*request.optPrintWidthMm, szCard);
        if (!strError.isEmpty())
            return strError;
    }
    return SheetFor(request, szCard).strError;
}

QSizeF LayoutCardSizeInches(const LayoutRequest& request, QSize szCard)
{
    const PrintSheet sheet = SheetFor(request, szCard);
    return sheet.vecCards.empty() ? QSizeF() : sheet.vecCards.front().size() / kMillimetresPerInch;
}

bool WriteLayoutPdf(
    const CardDocument& doc, QSize szCard, const LayoutRequest& request, const QString& strPath, QString* pstrError)
{
    const auto fail = [&](const QString& strReason) {
        if (pstrError)
            *pstrError = strReason;
        return false;
    };
    const PrintSheet sheet = SheetFor(request, szCard);
    if (!sheet.IsValid())
        return fail(sheet.strError);
    // Written beside the file and moved over it at the end, so that a failure leaves nothing behind.
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("%1: cannot be written: %2").arg(strPath, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setTitle(QStringLiteral("Palenko"));
        writer.setCreator(QStringLiteral("velomira-render"));
        writer.setResolution(int(kPdfPpi));
        writer.setPageLayout(QPageLayout(
            QPageSize(request.nPaper), OrientationFor(request, szCard), QMarginsF(), QPageLayout::Millimeter));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return fail(QStringLiteral("%1: cannot be written").arg(strPath));
        }
        ApplyQuality(painter);
        DrawPrintSheet(painter, sheet, QRectF(0, 0, writer.width(), writer.height()), doc);
        painter.end();
    }
    if (!file.commit())
        return fail(QStringLiteral("%1: cannot be written: %2").arg(strPath, file.errorString()));
    return true;
}
