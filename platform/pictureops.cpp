#include "platform/pictureops.h"

#include <algorithm>
#include <cmath>
#include <new>

#include <QPainter>

#include "platform/imageio.h"
#include "platform/quality.h"

QImage NewBitmap(QSize size, const QColor& fill)
{
    if (size.isEmpty())
        return QImage();
    // A transparent bitmap is all zeros, which a fresh mapping already is.
    const bool bClear = fill.alpha() == 0;
    QImage bitmap = bClear ? ZeroedBitmap(size, QImage::Format_ARGB32_Premultiplied)
                           : QImage(size, QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        throw std::bad_alloc();
    if (!bClear)
        bitmap.fill(fill);
    return bitmap;
}

QSize DrawnPixels(double w, double h)
{
    if (!std::isfinite(w) || !std::isfinite(h) || w <= 0 || h <= 0)
        return QSize();
    constexpr double kLongest = 1 << 30;
    return QSize(int(std::ceil(std::min(w, kLongest))), int(std::ceil(std::min(h, kLongest))));
}

void DrawPicture(QPainter& painter, const QImage& picture, const QRectF& rc)
{
    if (!picture.isNull())
        painter.drawImage(rc, picture);
}

namespace {

// Gives every non-transparent pixel of the bitmap the blue byte of the scratch's pixel as its alpha,
// over nColumns x nRows; colours stay as they are.
void ReplaceAlpha(QImage& bitmap, const QImage& scratch, int nColumns, int nRows)
{
    nRows = std::min({nRows, bitmap.height(), scratch.height()});
    nColumns = std::min({nColumns, bitmap.width(), scratch.width()});
    if (bitmap.format() == QImage::Format_ARGB32_Premultiplied) {
        // Each pixel straightened, given its alpha and premultiplied again in one pass, rather than
        // the whole bitmap converted there and back.
        for (int y = 0; y < nRows; ++y) {
            auto* pTarget = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
            const auto* pMask = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
            for (int x = 0; x < nColumns; ++x) {
                if (qAlpha(pTarget[x]) != 0)
                    pTarget[x]
                        = qPremultiply((qUnpremultiply(pTarget[x]) & 0x00FFFFFF) | (QRgb(qBlue(pMask[x])) << 24));
            }
        }
        return;
    }
    // The alpha is replaced on straight (non-premultiplied) pixels so that colours are kept; formats
    // that can hold the new alpha get their own format back, the others stay 32-bit ARGB.
    const QImage::Format original = bitmap.format();
    const bool bRestoreFormat = bitmap.hasAlphaChannel() && bitmap.depth() > 8;
    bitmap.convertTo(QImage::Format_ARGB32);
    for (int y = 0; y < nRows; ++y) {
        auto* pTarget = reinterpret_cast<QRgb*>(bitmap.scanLine(y));
        const auto* pMask = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
        for (int x = 0; x < nColumns; ++x) {
            if (qAlpha(pTarget[x]) != 0)
                pTarget[x] = (pTarget[x] & 0x00FFFFFF) | (QRgb(qBlue(pMask[x])) << 24);
        }
    }
    if (bRestoreFormat)
        bitmap.convertTo(original);
}

// The mask drawn stretched over rcMask on a transparent scratch bitmap of the given size; null when the
// mask cannot be read.
QImage MaskScratch(const QString& strMaskPath, QSize szScratch, const QRectF& rcMask)
{
    const QSize szDrawn(int(std::ceil(rcMask.width())), int(std::ceil(rcMask.height())));
    const QImage mask = ReadPictureForSize(strMaskPath, szDrawn);
    if (mask.isNull())
        return QImage();
    QImage scratch = ZeroedBitmap(szScratch, QImage::Format_ARGB32);
    if (scratch.isNull())
        throw std::bad_alloc();
    QPainter painter(&scratch);
    ApplyQuality(painter);
    painter.drawImage(rcMask, mask);
    return scratch;
}

} // namespace

void ApplyMask(QImage& bitmap, const QString& strMaskPath, int nWidth, int nHeight)
{
    if (bitmap.isNull() || nWidth <= 0 || nHeight <= 0)
        return;
    const QImage scratch = MaskScratch(strMaskPath, QSize(nWidth, nHeight), QRectF(0, 0, nWidth, nHeight));
    if (!scratch.isNull())
        ReplaceAlpha(bitmap, scratch, nWidth, nHeight);
}

void ApplyMaskAt(QImage& bitmap, const QString& strMaskPath, const QRectF& rcMask)
{
    if (bitmap.isNull() || rcMask.isEmpty())
        return;
    const QImage scratch = MaskScratch(strMaskPath, bitmap.size(), rcMask);
    if (!scratch.isNull())
        ReplaceAlpha(bitmap, scratch, bitmap.width(), bitmap.height());
}

QImage ReadPictureForSize(const QString& strPath, QSize szDrawn)
{
    if (strPath.isEmpty() || szDrawn.isEmpty())
        return QImage();
    return ReadPictureFor(strPath, [szDrawn](QSize szFile) { return szDrawn.boundedTo(szFile); });
}
