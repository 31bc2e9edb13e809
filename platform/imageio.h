#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>

#include <QImage>
#include <QSize>
#include <QString>
#include <QThreadPool>

// Pictures are always read upright: a camera's orientation tag is applied, and every size reported
// here is the upright size. Files that are missing, damaged or declare absurd dimensions read as a
// null image or an invalid size, never as a huge allocation.

// The upright pixel size of the picture file, read from its header; invalid when it cannot be read.
QSize ReadPictureSize(const QString& strPath);

// Reads the whole picture upright. When szTarget is valid and smaller than the picture, the result
// is the picture resampled to exactly szTarget (high-quality area resampling); JPEG files are then
// decoded at a reduced size through DCT scaling, never below szTarget. pFullSize receives the
// upright size of the file itself. A null image is returned when the file cannot be decoded.
QImage ReadPicture(const QString& strPath, QSize szTarget = QSize(), QSize* pFullSize = nullptr);

// ReadPicture with the target chosen from the file: targetFor receives the upright size its header
// declares (invalid when the header gives none), also when the picture is then refused, and returns
// the szTarget to read at. The file is opened once, for the size and the pixels alike.
QImage ReadPictureFor(const QString& strPath, const std::function<QSize(QSize)>& targetFor, QSize* pFullSize = nullptr);

// The picture resampled to exactly szTarget with area averaging (smooth). Sides of more than 65536
// pixels are first brought within that by nearest pixel, and a target side past it is reached by
// nearest pixel alone: the smooth reduction reads past the end of the picture at such sizes.
QImage ScaledPicture(const QImage& image, QSize szTarget);

// Pixel size of a bitmap made from scratch for a rectangle of w x h: both sides truncated. Empty when
// either side is less than one pixel or not a finite number, or when the bitmap would pass 2 GB (only
// broken geometry asks for that).
QSize BitmapSize(double w, double h);

// A bitmap of the size and format with every byte zero (transparent for the ARGB formats); null when
// the memory cannot be had. Large ones are mapped on their own in huge pages where the system offers
// them: a card's bitmaps are written once each, and every 4 KB page first touched costs a fault.
QImage ZeroedBitmap(QSize size, QImage::Format format);

// The scale, in eighths, at which a JPEG of szFile pixels is decoded to be brought to szTarget: the
// smallest of libjpeg's reduced sizes (ceil(side * n / 8)) that covers szTarget on both sides; 8 (full
// size) when none does or either size is empty.
int JpegScaleFor(QSize szFile, QSize szTarget);

// Threads of their own for reading pictures on every core. Work that reading waits for is never queued
// here, so a caller on another pool (an export runs on the global one) cannot wait behind itself.
QThreadPool& PictureThreads();

// How many pictures this process has decoded, for checking that shared pictures are decoded once.
qint64 PictureDecodeCount();

// The largest number of pixels a picture may have to be decoded at all (about 134 megapixels).
qint64 MaxPicturePixels();

// Pixels held by decodes in flight, shared by every thread that reads pictures, so that several large
// pictures read at once (a render's reading threads, the thumbnail workers) stay within one budget. A
// decode waits while others hold pixels and its own would pass the budget; alone, any decode goes
// ahead, so no decode waits for ever.
class DecodeBudget {
public:
    explicit DecodeBudget(qint64 nBudget);
    void Acquire(qint64 nPixels);
    void Release(qint64 nPixels);
    qint64 InFlight() const;

private:
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    qint64 m_nBudget;
    qint64 m_nInFlight = 0;
};

// The budget every picture read goes through.
DecodeBudget& PictureDecodeBudget();
