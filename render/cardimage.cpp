#include "render/cardimage.h"

#include <memory>
#include <vector>

#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>
#include <QSaveFile>

#include <gif_lib.h>
#include <libimagequant.h>

#include "document/carddocument.h"
#include "platform/imageio.h"
#include "platform/jpegwriter.h"
#include "platform/pngwriter.h"
#include "platform/quality.h"
#include "render/renderer.h"

namespace {

void SetError(QString* pstrError, const QString& strReason)
{
    if (pstrError)
        *pstrError = strReason;
}

// giflib hands every block it encodes to this function; the device is the file being written.
int WriteGifBytes(GifFileType* pGif, const GifByteType* pBytes, int nLength)
{
    auto* pDevice = static_cast<QIODevice*>(pGif->UserData);
    return int(pDevice->write(reinterpret_cast<const char*>(pBytes), nLength));
}

struct LiqAttrDeleter {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
};
struct LiqImageDeleter {
    void operator()(liq_image* p) const { liq_image_destroy(p); }
};
struct LiqResultDeleter {
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
struct GifMapDeleter {
    void operator()(ColorMapObject* p) const { GifFreeMapObject(p); }
};

// A GIF picture: one palette of up to 256 colours, one index per pixel and at most one transparent
// palette entry (-1 for none).
struct IndexedPicture {
    std::vector<GifColorType> vecPalette;
    std::vector<GifByteType> vecPixels;
    int nTransparent = -1;
};

// Quantises the picture to 256 colours with dithering. GIF knows only fully transparent pixels, so
// pixels less than half opaque become transparent and all others opaque.
bool Quantise(const QImage& image, IndexedPicture* pResult, QString* pstrError)
{
    QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    const int w = rgba.width();
    const int h = rgba.height();
    for (int y = 0; y < h; ++y) {
        uchar* pPixel = rgba.scanLine(y);
        for (int x = 0; x < w; ++x, pPixel += 4) {
            if (pPixel[3] < 128)
                pPixel[0] = pPixel[1] = pPixel[2] = pPixel[3] = 0;
            else
                pPixel[3] = 255;
        }
    }

    const std::unique_ptr<liq_attr, LiqAttrDeleter> pAttr(liq_attr_create());
    std::vector<void*> vecRows(size_t(h), nullptr);
    for (int y = 0; y < h; ++y)
        vecRows[size_t(y)] = rgba.scanLine(y);
    const std::unique_ptr<liq_image, LiqImageDeleter> pImage(
        pAttr ? liq_image_create_rgba_rows(pAttr.get(), vecRows.data(), w, h, 0) : nullptr);
    liq_result* pRawResult = nullptr;
    if (!pImage || liq_image_quantize(pImage.get(), pAttr.get(), &pRawResult) != LIQ_OK) {
        SetError(pstrError, QStringLiteral("The picture cannot be reduced to 256 colours."));
        return false;
    }
    const std::unique_ptr<liq_result, LiqResultDeleter> pQuantised(pRawResult);
    liq_set_dithering_level(pQuantised.get(), 1.0f);

    pResult->vecPixels.assign(size_t(w) * size_t(h), 0);
    if (liq_write_remapped_image(pQuantised.get(), pImage.get(), pResult->vecPixels.data(), pResult->vecPixels.size())
        != LIQ_OK) {
        SetError(pstrError, QStringLiteral("The picture cannot be reduced to 256 colours."));
        return false;
    }

    const liq_palette* pPalette = liq_get_palette(pQuantised.get());
    std::vector<bool> vecClear(pPalette->count, false);
    for (unsigned i = 0; i < pPalette->count; ++i) {
        const liq_color& c = pPalette->entries[i];
        pResult->vecPalette.push_back({c.r, c.g, c.b});
        vecClear[i] = c.a < 128;
        if (vecClear[i] && pResult->nTransparent < 0)
            pResult->nTransparent = int(i);
    }
    if (pResult->nTransparent >= 0) {
        for (GifByteType& index : pResult->vecPixels) {
            if (index < vecClear.size() && vecClear[index])
                index = GifByteType(pResult->nTransparent);
        }
    }
    return true;
}

bool WriteGif(const QImage& image, QIODevice* pDevice, QString* pstrError)
{
    // The format stores each side in 16 bits.
    constexpr int kMaxGifSide = 65535;
    if (image.width() > kMaxGifSide || image.height() > kMaxGifSide) {
        SetError(pstrError, QStringLiteral("A GIF picture is at most %1 pixels on a side.").arg(kMaxGifSide));
        return false;
    }
    IndexedPicture picture;
    if (!Quantise(image, &picture, pstrError))
        return false;

    // giflib wants a colour table whose size is a power of two.
    int nTableSize = 2;
    while (nTableSize < int(picture.vecPalette.size()))
        nTableSize *= 2;
    picture.vecPalette.resize(size_t(nTableSize), GifColorType {0, 0, 0});
    const std::unique_ptr<ColorMapObject, GifMapDeleter> pMap(GifMakeMapObject(nTableSize, picture.vecPalette.data()));

    int nError = 0;
    GifFileType* pGif = EGifOpen(pDevice, WriteGifBytes, &nError);
    if (!pGif || !pMap) {
        SetError(pstrError, QString::fromUtf8(GifErrorString(nError)));
        return false;
    }
    const int w = image.width();
    const int h = image.height();
    bool bOk = EGifPutScreenDesc(pGif, w, h, 8, 0, pMap.get()) == GIF_OK;
    if (bOk && picture.nTransparent >= 0) {
        EGifSetGifVersion(pGif, true);
        GraphicsControlBlock gcb {};
        gcb.DisposalMode = DISPOSAL_UNSPECIFIED;
        gcb.TransparentColor = picture.nTransparent;
        GifByteType extension[4];
        const size_t nLength = EGifGCBToExtension(&gcb, extension);
        bOk = EGifPutExtension(pGif, GRAPHICS_EXT_FUNC_CODE, int(nLength), extension) == GIF_OK;
    }
    bOk = bOk && EGifPutImageDesc(pGif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; bOk && y < h; ++y)
        bOk = EGifPutLine(pGif, picture.vecPixels.data() + size_t(y) * size_t(w), w) == GIF_OK;
    if (!bOk)
        nError = pGif->Error;
    int nCloseError = 0;
    if (EGifCloseFile(pGif, &nCloseError) != GIF_OK && bOk) {
        bOk = false;
        nError = nCloseError;
    }
    if (!bOk)
        SetError(pstrError, QString::fromUtf8(GifErrorString(nError)));
    return bOk;
}

bool WriteExportImage(const QImage& image, const QString& strFormat, const QString& strPath, QString* pstrError)
{
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly)) {
        SetError(pstrError, QStringLiteral("Cannot write %1: %2").arg(strPath, file.errorString()));
        return false;
    }
    QString strReason;
    bool bOk = false;
    if (strFormat == QLatin1String("gif")) {
        bOk = WriteGif(image, &file, &strReason);
    } else if (strFormat == QLatin1String("png")) {
        // Compressed on every core; zlib's default level as before, since every faster level or
        // strategy tried made some cards' files more than 5 % larger.
        bOk = WritePng(image, file);
        if (!bOk)
            strReason = file.errorString();
    } else {
        // JPEG is encoded in bands on every core with the settings of Qt's writer, which takes any
        // picture the bands cannot.
        const QByteArray jpeg = strFormat == QLatin1String("jpeg") ? EncodeJpeg(image, 100) : QByteArray();
        if (!jpeg.isEmpty()) {
            bOk = file.write(jpeg) == jpeg.size();
            if (!bOk)
                strReason = file.errorString();
        } else {
            QImageWriter writer(&file, strFormat.toLatin1());
            if (strFormat == QLatin1String("jpeg"))
                writer.setQuality(100);
            bOk = writer.write(image);
            if (!bOk)
                strReason = writer.errorString();
        }
    }
    if (bOk && !file.commit()) {
        bOk = false;
        strReason = file.errorString();
    }
    if (!bOk)
        SetError(pstrError, QStringLiteral("Cannot write %1: %2").arg(strPath, strReason));
    return bOk;
}

// A card whose pixels are all opaque is written without an alpha channel: smaller files, written
// faster. Opaque premultiplied pixels are already RGB32 pixels, so nothing is copied.
void DropOpaqueAlpha(QImage& image)
{
    if (image.format() != QImage::Format_ARGB32_Premultiplied)
        return;
    for (int y = 0; y < image.height(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(pLine[x]) != 255)
                return;
        }
    }
    image.reinterpretAsFormat(QImage::Format_RGB32);
}

QString NoMemoryText(int nWidth, int nHeight)
{
    return QStringLiteral("Not enough memory to export a %1 x %2 image.").arg(nWidth).arg(nHeight);
}

} // namespace

QImage RenderCardBitmap(const CardDocument& doc, int nWidth, int nHeight)
{
    if (nWidth <= 0 || nHeight <= 0)
        return QImage();
    QImage bitmap = ZeroedBitmap(QSize(nWidth, nHeight), QImage::Format_ARGB32_Premultiplied);
    if (bitmap.isNull())
        return bitmap;
    QPainter painter(&bitmap);
    ApplyQuality(painter);
    try {
        RenderCard(painter, doc, 0, 0, nWidth, nHeight);
    } catch (const std::bad_alloc&) {
        painter.end();
        return QImage();
    }
    return bitmap;
}

QString ExportFormatOf(const QString& strPath)
{
    const QString strExtension = QFileInfo(strPath).suffix().toLower();
    if (strExtension == QLatin1String("jpg") || strExtension == QLatin1String("jpeg"))
        return QStringLiteral("jpeg");
    if (strExtension == QLatin1String("tif"))
        return QStringLiteral("tiff");
    for (const char* pszFormat : {"bmp", "png", "gif", "tiff"}) {
        if (strExtension == QLatin1String(pszFormat))
            return strExtension;
    }
    return QString();
}

bool SaveCardImage(const CardDocument& doc, int nWidth, int nHeight, const QString& strPath, QString* pstrError)
{
    const QString strFormat = ExportFormatOf(strPath);
    if (strFormat.isEmpty()) {
        SetError(pstrError,
            QStringLiteral("Unsupported image type \"%1\": use jpg, bmp, png, gif or tiff.")
                .arg(QFileInfo(strPath).suffix()));
        return false;
    }
    if (nWidth <= 0 || nHeight <= 0) {
        SetError(pstrError, QStringLiteral("Invalid image size %1 x %2.").arg(nWidth).arg(nHeight));
        return false;
    }
    QImage bitmap = RenderCardBitmap(doc, nWidth, nHeight);
    if (bitmap.isNull()) {
        SetError(pstrError, NoMemoryText(nWidth, nHeight));
        return false;
    }
    return WriteCardImage(std::move(bitmap), strPath, pstrError);
}

bool WriteCardImage(QImage bitmap, const QString& strPath, QString* pstrError)
{
    const QString strFormat = ExportFormatOf(strPath);
    if (strFormat.isEmpty()) {
        SetError(pstrError,
            QStringLiteral("Unsupported image type \"%1\": use jpg, bmp, png, gif or tiff.")
                .arg(QFileInfo(strPath).suffix()));
        return false;
    }
    try {
        DropOpaqueAlpha(bitmap);
        return WriteExportImage(bitmap, strFormat, strPath, pstrError);
    } catch (const std::bad_alloc&) {
        SetError(pstrError, NoMemoryText(bitmap.width(), bitmap.height()));
        return false;
    }
}
