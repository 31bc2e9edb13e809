// An object's drawing on every output, read and composed from its full-size picture files under the
// output transform.
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include <QPainter>
#include <QTransform>

#include "document/thedata.h"
#include "platform/imageio.h"
#include "platform/pictureops.h"
#include "platform/quality.h"
#include "render/renderer.h"

// Where an object lands on the output: the output transform, then its own rotation.
QTransform OutputMatrix(const TheData& obj)
{
    QTransform matrix;
    matrix.translate(g_output.nOffsetX, g_output.nOffsetY);
    matrix.scale(g_output.dScaleX, g_output.dScaleY);
    RotateAbout(matrix, obj.m_rcObject.toQRectF(), obj.m_dAngle);
    return matrix;
}

namespace {

// The whole pixels of an object's side d output pixels long, truncated; 0 for a side that is not a
// finite length of at least one pixel, or an absurd one.
int WholePixels(double d)
{
    return std::isfinite(d) && d >= 1 && d <= (1 << 24) ? int(d) : 0;
}

// The part of an object's composite of szWhole output pixels that lands on the card: the card taken
// back through the object's output matrix.
QRect ComposedPart(const TheData& obj, const QTransform& matrix, QSize szWhole)
{
    const QRect rcWhole(QPoint(0, 0), szWhole);
    if (g_output.rcCard.isEmpty() || rcWhole.isEmpty())
        return rcWhole;
    QTransform toTarget = matrix;
    toTarget.translate(obj.m_rcObject.X, obj.m_rcObject.Y);
    toTarget.scale(obj.m_rcObject.Width / szWhole.width(), obj.m_rcObject.Height / szWhole.height());
    bool bInvertible = false;
    const QTransform fromTarget = toTarget.inverted(&bInvertible);
    if (!bInvertible)
        return rcWhole;
    // Cut in floating point first: far outside, the card's corners need not fit an int.
    const QRectF rcLanded = fromTarget.mapRect(QRectF(g_output.rcCard)) & QRectF(rcWhole);
    return rcLanded.isEmpty() ? QRect() : rcLanded.toAlignedRect() & rcWhole;
}

// Pictures drawn into the object are read at the size they land at on the target: the lengths of the
// object's sides after scaling and turning.
QSize DrawnSize(const TheData& obj, const QTransform& matrix)
{
    return DrawnPixels(obj.m_rcObject.Width * std::hypot(matrix.m11(), matrix.m12()),
        obj.m_rcObject.Height * std::hypot(matrix.m21(), matrix.m22()));
}

// The file an object draws whole at its drawn size: its clip-art, its frame, or its photo when it has
// no frame; empty for none.
QString WholeDrawnFile(const TheData& obj)
{
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return QString();
    if (obj.m_nType == OBJ_ELEMENT)
        return obj.m_strElement;
    return obj.m_strFrame.isEmpty() ? obj.m_strPhoto : obj.m_strFrame;
}

} // namespace

std::optional<std::pair<QString, QSize>> SharedRead(const TheData& obj)
{
    const QString strPath = WholeDrawnFile(obj);
    if (strPath.isEmpty())
        return std::nullopt;
    return std::pair {strPath, DrawnSize(obj, OutputMatrix(obj))};
}

ObjectPictures ReadObjectPictures(const TheData& obj, PassPictures* pPass)
{
    ObjectPictures pictures;
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return pictures;
    const double sx = g_output.dScaleX;
    const double sy = g_output.dScaleY;
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    const QTransform matrix = OutputMatrix(obj);
    const QSize szDrawn = DrawnSize(obj, matrix);
    // What the object draws whole may be drawn by others of the pass at the same size too.
    const auto readWhole = [&](const QString& strPath) {
        return pPass ? pPass->Read(strPath, szDrawn) : ReadPictureForSize(strPath, szDrawn);
    };

    if (obj.m_nType == OBJ_ELEMENT) {
        pictures.imgUnder = readWhole(obj.m_strElement);
    } else if (obj.m_strPhoto.isEmpty() && obj.m_strFrame.isEmpty()) {
        // An empty placeholder is black through its mask, made at the size it lands at so the mask's
        // edge is as fine as the output; a few thousand pixels carry any mask's shape.
        const QSize szBlack = szDrawn.boundedTo(QSize(4096, 4096));
        pictures.imgUnder = NewBitmap(szBlack, Qt::black);
        if (!pictures.imgUnder.isNull() && !obj.m_strMask.isEmpty())
            ApplyMask(pictures.imgUnder, obj.m_strMask, pictures.imgUnder.width(), pictures.imgUnder.height());
    } else if (obj.m_strPhoto.isEmpty()) {
        pictures.imgUnder = readWhole(obj.m_strFrame);
    } else if (obj.m_strFrame.isEmpty()) {
        pictures.imgUnder = readWhole(obj.m_strPhoto);
        if (!pictures.imgUnder.isNull() && !obj.m_strMask.isEmpty()) {
            pictures.imgUnder.convertTo(QImage::Format_ARGB32_Premultiplied);
            ApplyMask(pictures.imgUnder, obj.m_strMask, pictures.imgUnder.width(), pictures.imgUnder.height());
        }
    } else {
        // The framed photo is composed at output resolution, where it lands on the card only.
        const QSize szWhole(WholePixels(rcObject.width() * sx), WholePixels(rcObject.height() * sy));
        const QRect rcPart = ComposedPart(obj, matrix, szWhole);
        QImage composite = NewBitmap(BitmapSize(rcPart.width(), rcPart.height()), Qt::transparent);
        if (!composite.isNull()) {
            const RectF& rcLocal = obj.m_rcPhotoLocal;
            const double pw = rcLocal.Width * sx;
            const double ph = rcLocal.Height * sy;
            QPainter compositePainter(&composite);
            ApplyQuality(compositePainter);
            QTransform photoMatrix;
            photoMatrix.translate(
                (rcLocal.X - obj.m_rcObject.X) * sx - rcPart.x(), (rcLocal.Y - obj.m_rcObject.Y) * sy - rcPart.y());
            RotateAbout(photoMatrix, QRectF(0, 0, pw, ph), obj.m_dPhotoAngle);
            compositePainter.setWorldTransform(photoMatrix);
            DrawPicture(
                compositePainter, ReadPictureForSize(obj.m_strPhoto, DrawnPixels(pw, ph)), QRectF(0, 0, pw, ph));
            compositePainter.end();
            ApplyMaskAt(composite, obj.m_strFrameMask, QRectF(QPointF(-rcPart.x(), -rcPart.y()), QSizeF(szWhole)));
            pictures.imgUnder = std::move(composite);
            // The whole composite spans the object; a part of it spans its share.
            if (rcPart.size() != szWhole) {
                const double kx = rcObject.width() / szWhole.width();
                const double ky = rcObject.height() / szWhole.height();
                pictures.rcUnder = QRectF(rcObject.x() + rcPart.x() * kx, rcObject.y() + rcPart.y() * ky,
                    rcPart.width() * kx, rcPart.height() * ky);
            }
        }
        pictures.imgOver = readWhole(obj.m_strFrame);
    }
    return pictures;
}

void DrawObject(QPainter& painter, const TheData& obj, const ObjectPictures& pictures, QPoint ptOrigin)
{
    if (obj.m_bDeleted)
        return;
    const QRectF rcObject = obj.m_rcObject.toQRectF();
    painter.setWorldTransform(OutputMatrix(obj) * QTransform::fromTranslate(-ptOrigin.x(), -ptOrigin.y()));
    if (obj.m_nType == OBJ_TEXT) {
        if (obj.m_pText) {
            obj.m_pText->m_rcLayout = obj.m_rcObject;
            obj.m_pText->DrawText(painter);
        }
    } else {
        DrawPicture(painter, pictures.imgUnder, pictures.rcUnder.isEmpty() ? rcObject : pictures.rcUnder);
        DrawPicture(painter, pictures.imgOver, rcObject);
    }
    painter.resetTransform();
}

QRect ObjectBounds(const TheData& obj)
{
    if (obj.m_bDeleted || obj.m_nType == OBJ_TEXT)
        return QRect();
    const QRectF rcLanded = OutputMatrix(obj).mapRect(obj.m_rcObject.toQRectF());
    if (!rcLanded.isValid() || !std::isfinite(rcLanded.width()) || !std::isfinite(rcLanded.height()))
        return QRect();
    // Cut in floating point first: far outside, the corners need not fit an int.
    const QRectF rcOnCard = rcLanded & QRectF(g_output.rcCard);
    return rcOnCard.isEmpty() ? QRect() : rcOnCard.toAlignedRect() & g_output.rcCard;
}

void TheData::Render(QPainter& painter) const
{
    DrawObject(painter, *this, ReadObjectPictures(*this));
}
