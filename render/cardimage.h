#pragma once

#include <QImage>
#include <QString>

class CardDocument;

// The whole card drawn by RenderCard at nWidth x nHeight into a new 32-bit ARGB bitmap with the three
// quality settings; null when the size is empty or the bitmap cannot be allocated.
QImage RenderCardBitmap(const CardDocument& doc, int nWidth, int nHeight);

// The format an exported file is written in, chosen by the extension of its file name ignoring case:
// "jpeg" (for .jpg and .jpeg), "bmp", "png", "gif" or "tiff" (for .tif and .tiff); empty for any other
// extension.
QString ExportFormatOf(const QString& strPath);

// Renders the card at nWidth x nHeight and writes it to strPath: JPEG at quality 100, BMP, PNG, GIF
// (quantised to 256 colours) or TIFF, by the extension. An unknown extension, an empty size or a
// failed write returns false with the reason in pstrError; an existing file is replaced only by a
// complete new one.
bool SaveCardImage(
    const CardDocument& doc, int nWidth, int nHeight, const QString& strPath, QString* pstrError = nullptr);

// Writes a card already drawn (RenderCardBitmap) to strPath as SaveCardImage does, the format by the
// extension; an existing file is replaced only by a complete new one.
bool WriteCardImage(QImage bitmap, const QString& strPath, QString* pstrError = nullptr);
