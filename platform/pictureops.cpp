#include "platform/pictureops.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

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

// Replaces each of the n samples of a row by its mean over a window w samples wide centred on it,
// read from the row's running sums, so the cost does not grow with w. Samples cover [i, i + 1) and
// are constant there, so a window edge inside a sample takes its share of it. Every window's ends
// lie at the same offsets from its sample; the row is padded with zeros so that none falls outside.
void BoxRow(float* pRow, int n, double w, std::vector<double>& vecPadded, std::vector<double>& vecSums)
{
    const double dHalf = w / 2;
    const int nPad = int(std::ceil(dHalf)) + 2;
    vecPadded.assign(size_t(n) + 2 * size_t(nPad), 0.0);
    std::copy_n(pRow, n, vecPadded.begin() + nPad);
    vecSums.resize(vecPadded.size() + 1);
    vecSums[0] = 0;
    for (size_t k = 0; k < vecPadded.size(); ++k)
        vecSums[k + 1] = vecSums[k] + vecPadded[k];
    const double dFrom = std::floor(0.5 - dHalf);
    const double dTo = std::floor(0.5 + dHalf);
    const double dFromShare = 0.5 - dHalf - dFrom;
    const double dToShare = 0.5 + dHalf - dTo;
    const double* pSumFrom = vecSums.data() + nPad + int(dFrom);
    const double* pSumTo = vecSums.data() + nPad + int(dTo);
    const double* pFrom = vecPadded.data() + nPad + int(dFrom);
    const double* pTo = vecPadded.data() + nPad + int(dTo);
    for (int i = 0; i < n; ++i)
        pRow[i] = float((pSumTo[i] + dToShare * pTo[i] - pSumFrom[i] - dFromShare * pFrom[i]) / w);
}

// The rows x columns samples of pFrom written column by column into pTo, in tiles that stay in cache.
void Transpose(const float* pFrom, float* pTo, int nRows, int nColumns)
{
    constexpr int kTile = 64;
    for (int y0 = 0; y0 < nRows; y0 += kTile) {
        for (int x0 = 0; x0 < nColumns; x0 += kTile) {
            for (int y = y0; y < std::min(nRows, y0 + kTile); ++y) {
                for (int x = x0; x < std::min(nColumns, x0 + kTile); ++x)
                    pTo[size_t(x) * nRows + y] = pFrom[size_t(y) * nColumns + x];
            }
        }
    }
}

void BoxRows(std::vector<float>& vecSamples, int nRows, int nColumns, std::span<const double> widths)
{
    std::vector<double> vecPadded;
    std::vector<double> vecSums;
    for (const double w : widths) {
        if (!(w > 1))
            continue;
        for (int y = 0; y < nRows; ++y)
            BoxRow(vecSamples.data() + size_t(y) * nColumns, nColumns, w, vecPadded, vecSums);
    }
}

} // namespace

void BoxBlurAlpha(QImage& alpha, std::span<const double> widthsAcross, std::span<const double> widthsDown)
{
    if (alpha.isNull() || alpha.format() != QImage::Format_Alpha8)
        return;
    const int nWidth = alpha.width();
    const int nHeight = alpha.height();
    std::vector<float> vecRows(size_t(nWidth) * nHeight);
    for (int y = 0; y < nHeight; ++y)
        std::copy_n(alpha.constScanLine(y), nWidth, vecRows.begin() + qsizetype(y) * nWidth);
    BoxRows(vecRows, nHeight, nWidth, widthsAcross);
    // Columns are blurred as the rows of the transposed bitmap, read in order rather than a row apart.
    std::vector<float> vecColumns(vecRows.size());
    Transpose(vecRows.data(), vecColumns.data(), nHeight, nWidth);
    BoxRows(vecColumns, nWidth, nHeight, widthsDown);
    Transpose(vecColumns.data(), vecRows.data(), nWidth, nHeight);
    for (int y = 0; y < nHeight; ++y) {
        uchar* pLine = alpha.scanLine(y);
        const float* pFrom = vecRows.data() + size_t(y) * nWidth;
        for (int x = 0; x < nWidth; ++x)
            pLine[x] = uchar(std::clamp(std::lround(pFrom[x]), 0L, 255L));
    }
}

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
