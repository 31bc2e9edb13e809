#include <cmath>

#include <QTransform>

#include "document/thedata.h"

namespace {

// The angle conversion the stored projects and undo steps were made with.
constexpr double kPi = 3.1415926535;

QPolygonF TurnedAboutCentre(const RectF& rc, double dAngle)
{
    const QRectF rcTurned = rc.toQRectF();
    QTransform t;
    RotateAbout(t, rcTurned, dAngle);
    return t.map(QPolygonF(rcTurned));
}

// The part of the working photo that the object shows, in photo pixels relative to rcPhoto.
RectF CropOf(const RectF& rcObject, const RectF& rcPhoto, int nPhotoW, int nPhotoH)
{
    return {float((rcObject.X - rcPhoto.X) / rcPhoto.Width * nPhotoW),
        float((rcObject.Y - rcPhoto.Y) / rcPhoto.Height * nPhotoH), float(rcObject.Width / rcPhoto.Width * nPhotoW),
        float(rcObject.Height / rcPhoto.Height * nPhotoH)};
}

// The photo rectangle that shows rcCrop of the photo in the object again, at the photo's aspect.
RectF PhotoFromCrop(const RectF& rcObject, const RectF& rcCrop, int nPhotoW, int nPhotoH, double dPhotoAspect)
{
    const double nw = nPhotoW / double(rcCrop.Width) * rcObject.Width;
    const double nh = nw * dPhotoAspect;
    return {
        float(rcObject.X - rcCrop.X / nPhotoW * nw), float(rcObject.Y - rcCrop.Y / nPhotoH * nh), float(nw), float(nh)};
}

} // namespace

void RotateAbout(QTransform& matrix, const QRectF& rc, double dAngle)
{
    const QPointF centre = rc.center();
    matrix.translate(centre.x(), centre.y());
    matrix.rotate(dAngle);
    matrix.translate(-centre.x(), -centre.y());
}

void TheData::MoveBy(int dx, int dy, int bWhole)
{
    const float fx = float(dx);
    const float fy = float(dy);
    if (bWhole) {
        m_rcObject.X += fx;
        m_rcObject.Y += fy;
        m_rcPhoto.X += fx;
        m_rcPhoto.Y += fy;
        if (m_dAngle == 0) {
            m_rcPhotoLocal = m_rcPhoto;
        } else {
            m_rcPhotoLocal.X += fx;
            m_rcPhotoLocal.Y += fy;
        }
        // A display image cut to the canvas does not hold what the move brings into view.
        if (m_bImageCut)
            RebuildImage();
        return;
    }
    m_rcPhoto.X += fx;
    m_rcPhoto.Y += fy;
    if (m_dAngle == 0) {
        m_rcPhotoLocal = m_rcPhoto;
    } else {
        // The screen movement turned back by the object's angle.
        const double a = m_dAngle * kPi / 180;
        m_rcPhotoLocal.X += float(dx * std::cos(a) + dy * std::sin(a));
        m_rcPhotoLocal.Y += float(-dx * std::sin(a) + dy * std::cos(a));
    }
}

void TheData::ResizeBy(int dw, int bWhole)
{
    if (bWhole) {
        const QPointF c = m_rcObject.centre();
        const double nw = m_rcObject.Width + dw;
        if (nw <= 20)
            return;
        const double nh = m_dAspect * nw;
        m_rcObject = {float(c.x() - nw / 2), float(c.y() - nh / 2), float(nw), float(nh)};
        return;
    }
    const QPointF c = m_rcPhoto.centre();
    const double nw = m_rcPhoto.Width + dw;
    if (nw <= 20)
        return;
    const double nh = m_dPhotoAspect * nw;
    m_rcPhoto = {float(c.x() - nw / 2), float(c.y() - nh / 2), float(nw), float(nh)};
    if (m_dAngle == 0) {
        m_rcPhotoLocal = m_rcPhoto;
    } else {
        const QPointF cl = m_rcPhotoLocal.centre();
        const double lw = m_rcPhotoLocal.Width + dw;
        const double lh = m_dPhotoAspect * lw;
        m_rcPhotoLocal = {float(cl.x() - lw / 2), float(cl.y() - lh / 2), float(lw), float(lh)};
    }
}

void TheData::CommitAngle(int bWhole)
{
    double& dTarget = bWhole ? m_dAngle : m_dPhotoAngle;
    dTarget += m_dAngleDelta;
    m_dAngleDelta = 0;
    if (dTarget >= 360)
        dTarget -= 360;
    if (dTarget < 0)
        dTarget += 360;
    if (bWhole && m_bImageCut)
        RebuildImage();
}

void TheData::StorePhotoCrop(int bStore)
{
    if (!m_pPhoto || !m_pFrame)
        return;
    const int pw0 = m_pPhoto->width();
    const int ph0 = m_pPhoto->height();
    // An empty working photo or a flat photo rectangle has no crop to keep.
    if (pw0 <= 0 || ph0 <= 0)
        return;
    if (bStore) {
        if (m_rcPhoto.Width == 0 || m_rcPhoto.Height == 0)
            return;
        m_rcCrop = CropOf(m_rcObject, m_rcPhoto, pw0, ph0);
        if (m_dAngle != 0 && m_rcPhotoLocal.Width != 0 && m_rcPhotoLocal.Height != 0)
            m_rcCropLocal = CropOf(m_rcObject, m_rcPhotoLocal, pw0, ph0);
        return;
    }
    if (m_rcCrop.Width == 0)
        return;
    m_rcPhoto = PhotoFromCrop(m_rcObject, m_rcCrop, pw0, ph0, m_dPhotoAspect);
    if (m_dAngle == 0)
        m_rcPhotoLocal = m_rcPhoto;
    else if (m_rcCropLocal.Width != 0)
        m_rcPhotoLocal = PhotoFromCrop(m_rcObject, m_rcCropLocal, pw0, ph0, m_dPhotoAspect);
}

QPolygonF TheData::ObjectOutline() const
{
    return TurnedAboutCentre(m_rcObject, m_dAngle);
}

QPolygonF TheData::PhotoOutline() const
{
    return TurnedAboutCentre(m_rcPhoto, m_dAngle + m_dPhotoAngle + m_dAngleDelta);
}
