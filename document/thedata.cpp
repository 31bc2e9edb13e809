#include "document/thedata.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "document/sharedpictures.h"
#include "platform/fitrect.h"
#include "platform/imageio.h"

namespace {

// Height / width of a picture, 0 when it has no size (so nothing downstream divides by zero).
double AspectOf(QSize size)
{
    return size.width() > 0 && size.height() > 0 ? double(size.height()) / size.width() : 0.0;
}

// The working copy of a picture as the object keeps it, shared with every object that shows the same
// file; an unreadable file gives an empty bitmap. pdAspect receives height / width of the full-size file.
std::unique_ptr<QImage> LoadWorkingCopy(const QString& strPath, double* pdAspect)
{
    QSize full;
    QImage image = SharedWorkingCopy(strPath, &full);
    *pdAspect = AspectOf(full);
    return std::make_unique<QImage>(std::move(image));
}

// The mask library's "origin" picture stands for no mask at all.
QString WithoutOriginMask(const QString& strPath)
{
    return strPath.indexOf(QLatin1String("origin"), 1) >= 1 ? QString() : strPath;
}

} // namespace

QSize WorkingCopySize(QSize szPicture, int nSide)
{
    const int w = szPicture.width();
    const int h = szPicture.height();
    if (w <= 0 || h <= 0 || (w <= nSide && h <= nSide))
        return szPicture;
    const QSize copy = w < h ? QSize(nSide, int(double(nSide) * h / w)) : QSize(int(double(nSide) * w / h), nSide);
    // A sliver of a picture would be enlarged without bound (12848 x 13 gives 592984 x 600): past
    // kMaxWorkingPixels both sides shrink alike.
    const double dPixels = double(copy.width()) * copy.height();
    if (dPixels <= double(kMaxWorkingPixels))
        return copy;
    // The shorter side is rounded, so that a few pixels keep the shape; the longer one fills the cap.
    const double k = std::sqrt(double(kMaxWorkingPixels) / dPixels);
    const bool bWide = copy.width() >= copy.height();
    const int nShort = std::max(1, qRound((bWide ? copy.height() : copy.width()) * k));
    const double dLong = (bWide ? copy.width() : copy.height()) * k;
    const int nLong = int(std::min(double(kMaxWorkingPixels) / nShort, dLong + 0.5));
    return bWide ? QSize(nLong, nShort) : QSize(nShort, nLong);
}

QImage ReadWorkingCopy(const QString& strPath, QSize* pFullSize, int nSide)
{
    // The header's size is kept even for a picture that is then refused.
    QSize full;
    QImage image = ReadPictureFor(strPath, [&full, nSide](QSize szFile) {
        full = szFile;
        return WorkingCopySize(szFile, nSide);
    });
    if (full.isEmpty())
        full = QSize();
    if (pFullSize)
        *pFullSize = full;
    if (!full.isValid() || image.isNull())
        return QImage();
    const QSize target = WorkingCopySize(full, nSide);
    if (image.size() != target)
        image = ScaledPicture(image, target);
    // In place where the formats allow (RGB32 does): a copy of up to kMaxWorkingPixels is not made.
    return std::move(image).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

QString FrameMaskPath(const QString& strFramePath)
{
    return strFramePath.left(qMax<qsizetype>(0, strFramePath.size() - 3)) + QLatin1String("jpg");
}

TheData::~TheData()
{
    DropImage();
}

void TheData::LoadPhoto()
{
    if (m_strPhoto.isEmpty())
        return;
    m_pPhoto = LoadWorkingCopy(m_strPhoto, &m_dPhotoAspect);
}

void TheData::LoadFrame()
{
    if (m_strFrame.isEmpty())
        return;
    double dAspect = 0;
    m_pFrame = LoadWorkingCopy(m_strFrame, &dAspect);
    // A frame that cannot be read has no shape to give: the object keeps its own rather than
    // collapsing to no height.
    if (dAspect > 0)
        m_dAspect = dAspect;
    else if (!(m_dAspect > 0) && m_rcObject.Width > 0 && m_rcObject.Height > 0)
        m_dAspect = double(m_rcObject.Height) / m_rcObject.Width;
}

void TheData::LoadImages()
{
    LoadPhoto();
    LoadFrame();
    if (m_nType == OBJ_ELEMENT)
        m_dAspect = AspectOf(ReadPictureSize(m_strElement));
}

int TheData::PhotoState() const
{
    if (m_pPhoto && m_pFrame)
        return PHOTO_FRAMED;
    if (m_pPhoto)
        return m_strMask.isEmpty() ? PHOTO_PLAIN : PHOTO_MASKED;
    if (m_pFrame)
        return PHOTO_FRAME_ONLY;
    return PHOTO_EMPTY;
}

// The object takes the aspect ratio (height / width), keeping its whole width and its vertical
// centre.
void TheData::TakeShape(double dAspect)
{
    const float w = std::trunc(m_rcObject.Width);
    const float h = std::trunc(w * dAspect);
    m_rcObject.Y += (m_rcObject.Height - h) / 2;
    m_rcObject.Width = w;
    m_rcObject.Height = h;
    m_dAspect = dAspect;
}

// Places the photo so that it covers the whole object, centred on it.
void TheData::CoverFitPhoto()
{
    const int nPhotoW = m_pPhoto ? m_pPhoto->width() : 0;
    const int nPhotoH = m_pPhoto ? m_pPhoto->height() : 0;
    const FitResult fit = FitRect(int(m_rcObject.Width), int(m_rcObject.Height), nPhotoW, nPhotoH);
    if (fit.isEmpty()) {
        // Nothing to cover with (an unreadable photo or a flat object): keep finite numbers.
        m_rcPhoto = m_rcObject;
    } else {
        const float pw = std::trunc(double(nPhotoW) / fit.width() * m_rcObject.Width);
        const float ph = std::trunc(double(nPhotoH) / fit.height() * m_rcObject.Height);
        m_rcPhoto = {m_rcObject.X - (pw - m_rcObject.Width) / 2, m_rcObject.Y - (ph - m_rcObject.Height) / 2, pw, ph};
    }
    m_rcPhotoLocal = m_rcPhoto;
}

void TheData::SetPhoto(
    const QString& strPath, int bRestore, const RectF& rcPhoto, const RectF& rcPhotoLocal, double dPhotoAngle)
{
    m_strPhoto = strPath;
    if (strPath.isEmpty()) {
        m_pPhoto.reset();
        if (!m_pFrame)
            TakeShape(1);
    } else {
        LoadPhoto();
        if (!m_pFrame) {
            TakeShape(m_dPhotoAspect);
        } else if (!bRestore) {
            m_dPhotoAngle = 0;
            CoverFitPhoto();
        } else {
            m_rcPhoto = rcPhoto;
            m_rcPhotoLocal = rcPhotoLocal;
            m_dPhotoAngle = dPhotoAngle;
        }
    }
    RebuildImage();
}

void TheData::SetFrame(const QString& strPath, int bRestore, const RectF& rcPhoto, const RectF& rcPhotoLocal)
{
    m_strMask.clear();
    m_strFrame = strPath;
    if (strPath.isEmpty()) {
        m_pFrame.reset();
        if (m_pPhoto)
            TakeShape(m_dPhotoAspect);
    } else {
        LoadFrame();
        TakeShape(m_dAspect);
        if (m_pPhoto) {
            if (!bRestore) {
                CoverFitPhoto();
            } else {
                m_rcPhoto = rcPhoto;
                m_rcPhotoLocal = rcPhotoLocal;
            }
        }
    }
    RebuildImage();
}

void TheData::SetMask(const QString& strPath)
{
    if (m_pFrame) {
        m_pFrame.reset();
        m_strFrame.clear();
        TakeShape(m_pPhoto ? m_dPhotoAspect : 1);
    }
    m_strMask = WithoutOriginMask(strPath);
    RebuildImage();
}

void TheData::PlaceNew(int nSize, int x, int y)
{
    if (m_nType == OBJ_TEXT) {
        m_rcObject.X = m_rcObject.Y = 30;
        RefitText();
        return;
    }
    LoadImages();
    // The aspect comes from the picture the size is measured by; LoadImages has just read those of
    // the element, the photo and the frame.
    double dAspect = 0;
    double dShare = 0;
    if (m_nType == OBJ_ELEMENT) {
        dAspect = m_dAspect;
        dShare = 0.2;
    } else if (!m_strMask.isEmpty()) {
        dAspect = AspectOf(ReadPictureSize(m_strMask));
        dShare = 0.25;
    } else if (!m_strFrame.isEmpty()) {
        dAspect = m_dAspect;
        dShare = 0.3;
    } else if (!m_strPhoto.isEmpty()) {
        dAspect = m_dPhotoAspect;
        dShare = 0.25;
    }
    const int w = int(nSize * dShare);
    const int h = int(w * dAspect);
    m_dAspect = dAspect;
    m_rcObject = {float(x - w), float(y - h), float(w), float(h)};
    if (m_nType == OBJ_PHOTO)
        m_strMask = WithoutOriginMask(m_strMask);
    m_rcObject.X += 30;
    m_rcObject.Y += 20;
    RebuildImage();
}

void TheData::RefitText()
{
    if (!m_pText)
        return;
    m_pText->MeasureText();
    m_rcObject.Width = m_pText->m_rcLayout.Width;
    m_rcObject.Height = m_pText->m_rcLayout.Height;
    m_dAspect = m_rcObject.Width > 0 ? double(m_rcObject.Height) / m_rcObject.Width : 0.0;
}
