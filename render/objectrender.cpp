// Drawing of one card object: its display image for the canvas, and its output drawing from the
// full-size picture files under the output transform.
#include <algorithm>
#include <cmath>
#include <memory>

#include <QPainter>
#include <QTransform>

#include "document/thedata.h"
#include "platform/imageio.h"
#include "platform/quality.h"
#include "render/renderer.h"

namespace {

// A 32-bit ARGB bitmap of the given size filled with one colour; null for an empty size.
QImage NewBitmap(QSize size, const QColor& fill)
{
    if (size.isEmpty())
        return QImage();
    QImage bitmap(size, QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(fill);
    return bitmap;
}

// The whole pixels a picture covers when drawn w x h large: both sides rounded up; empty for a
// rectangle that covers nothing. Only compared with picture sizes, so huge sides are clamped.
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

void DrawPicture(QPainter& painter, const std::unique_ptr<QImage>& pPicture, const QRectF& rc)
{
    if (pPicture)
        DrawPicture(painter, *pPicture, rc);
}

} // namespace

void TheData::RebuildImage()
{
    m_pImage.reset();
    const double w = m_rcObject.Width;
    const double h = m_rcObject.Height;
    const QSize size = BitmapSize(w, h);
    if (size.isEmpty())
        return;
    m_pImage = std::make_unique<QImage>(NewBitmap(size, Qt::transparent));
    const QRectF rc(0, 0, w, h);

    if (m_nType == OBJ_ELEMENT) {
        QPainter painter(m_pImage.get());
        ApplyQuality(painter);
        DrawPicture(painter, ReadPictureForSize(m_strElement, DrawnPixels(w, h)), rc);
        return;
    }
    if (m_nType != OBJ_PHOTO)
        return;

    switch (PhotoState()) {
    case PHOTO_FRAMED:
        ComposeFramedPhoto();
        return;
    case PHOTO_FRAME_ONLY: {
        QPainter painter(m_pImage.get());
        ApplyQuality(painter);
        DrawPicture(painter, m_pFrame, rc);
        return;
    }
    case PHOTO_PLAIN:
    case PHOTO_MASKED: {
        QPainter painter(m_pImage.get());
        ApplyQuality(painter);
        DrawPicture(painter, m_pPhoto, rc);
        break;
    }
    default:
        m_pImage->fill(Qt::black);
        break;
    }
    if (!m_strMask.isEmpty())
        ApplyMask(*m_pImage, m_strMask, size.width(), size.height());
}

void TheData::ComposeFramedPhoto()
{
    if (!m_pImage)
        return;
    const QSize size = m_pImage->size();
    QImage composite = NewBitmap(size, Qt::transparent);
    {
        // The photo is turned about its own centre, then shifted into the object's frame.
        QPainter painter(&composite);
        ApplyQuality(painter);
        QTransform matrix;
        matrix.translate(-m_rcObject.X, -m_rcObject.Y);
        RotateAbout(matrix, m_rcPhotoLocal.toQRectF(), m_dPhotoAngle);
        painter.setWorldTransform(matrix);
        DrawPicture(painter, m_pPhoto, m_rcPhotoLocal.toQRectF());
    }
    // Only the frame's window lets the photo through.
    ApplyMask(composite, m_strFrameMask, size.width(), size.height());

    QPainter painter(m_pImage.get());
    ApplyQuality(painter);
    const QRectF rc(0, 0, m_rcObject.Width, m_rcObject.Height);
    painter.drawImage(rc, composite);
    DrawPicture(painter, m_pFrame, rc);
}

void TheData::Paint(QPainter& painter) const
{
    if (m_bDeleted)
        return;
    const QRectF rcObject = m_rcObject.toQRectF();
    QTransform matrix;
    RotateAbout(matrix, rcObject, m_dAngle + m_dAngleDelta);
    painter.setWorldTransform(matrix);
    if (m_nType == OBJ_TEXT) {
        if (m_pText) {
            m_pText->m_rcLayout = m_rcObject;
            m_pText->DrawText(painter);
        }
    } else if (m_pImage) {
        painter.drawImage(rcObject, *m_pImage);
    }
    painter.resetTransform();
}

// Where an object lands on the output: the output transform, then its own rotation.
QTransform OutputMatrix(const TheData& obj)
{
    QTransform matrix;
    matrix.translate(g_output.nOffsetX, g_output.nOffsetY);
    matrix.scale(g_output.dScaleX, g_output.dScaleY);
    RotateAbout(matrix, obj.m_rcObject.toQRectF(), obj.m_dAngle);
    return matrix;
}

ObjectPictures ReadObjectPictures(const TheData& obj)
{
    ObjectPictures pictures;
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return pictures;
    const double sx = g_output.dScaleX;
    const double sy = g_output.dScaleY;
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    const QTransform matrix = OutputMatrix(obj);
    // Pictures drawn into the object are read at the size they land at on the target: the lengths of
    // the object's sides after scaling and turning.
    const QSize szDrawn = DrawnPixels(rcObject.width() * std::hypot(matrix.m11(), matrix.m12()),
        rcObject.height() * std::hypot(matrix.m21(), matrix.m22()));

    if (obj.m_nType == OBJ_ELEMENT) {
        pictures.imgUnder = ReadPictureForSize(obj.m_strElement, szDrawn);
    } else if (obj.m_strPhoto.isEmpty() && obj.m_strFrame.isEmpty()) {
        pictures.imgUnder = NewBitmap(BitmapSize(rcObject.width(), rcObject.height()), Qt::black);
        if (!pictures.imgUnder.isNull() && !obj.m_strMask.isEmpty())
            ApplyMask(pictures.imgUnder, obj.m_strMask, pictures.imgUnder.width(), pictures.imgUnder.height());
    } else if (obj.m_strPhoto.isEmpty()) {
        pictures.imgUnder = ReadPictureForSize(obj.m_strFrame, szDrawn);
    } else if (obj.m_strFrame.isEmpty()) {
        pictures.imgUnder = ReadPictureForSize(obj.m_strPhoto, szDrawn);
        if (!pictures.imgUnder.isNull() && !obj.m_strMask.isEmpty()) {
            pictures.imgUnder.convertTo(QImage::Format_ARGB32_Premultiplied);
            ApplyMask(pictures.imgUnder, obj.m_strMask, pictures.imgUnder.width(), pictures.imgUnder.height());
        }
    } else {
        // The framed photo is composed at output resolution.
        QImage composite = NewBitmap(BitmapSize(rcObject.width() * sx, rcObject.height() * sy), Qt::transparent);
        if (!composite.isNull()) {
            const RectF& rcLocal = obj.m_rcPhotoLocal;
            const double pw = rcLocal.Width * sx;
            const double ph = rcLocal.Height * sy;
            QPainter compositePainter(&composite);
            ApplyQuality(compositePainter);
            QTransform photoMatrix;
            photoMatrix.translate((rcLocal.X - obj.m_rcObject.X) * sx, (rcLocal.Y - obj.m_rcObject.Y) * sy);
            RotateAbout(photoMatrix, QRectF(0, 0, pw, ph), obj.m_dPhotoAngle);
            compositePainter.setWorldTransform(photoMatrix);
            DrawPicture(
                compositePainter, ReadPictureForSize(obj.m_strPhoto, DrawnPixels(pw, ph)), QRectF(0, 0, pw, ph));
            compositePainter.end();
            ApplyMask(composite, obj.m_strFrameMask, composite.width(), composite.height());
            pictures.imgUnder = std::move(composite);
        }
        pictures.imgOver = ReadPictureForSize(obj.m_strFrame, szDrawn);
    }
    return pictures;
}

void DrawObject(QPainter& painter, const TheData& obj, const ObjectPictures& pictures)
{
    if (obj.m_bDeleted)
        return;
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    painter.setWorldTransform(OutputMatrix(obj));
    if (obj.m_nType == OBJ_TEXT) {
        if (obj.m_pText) {
            obj.m_pText->m_rcLayout = obj.m_rcObject;
            obj.m_pText->DrawText(painter);
        }
    } else {
        DrawPicture(painter, pictures.imgUnder, rcObject);
        DrawPicture(painter, pictures.imgOver, rcObject);
    }
    painter.resetTransform();
}

void TheData::Render(QPainter& painter) const
{
    DrawObject(painter, *this, ReadObjectPictures(*this));
}
