#include "document/thedata.h"

#include <cmath>

#include "platform/fitrect.h"
#include "platform/imageio.h"

namespace {

// Height / width of a picture, 0 when it has no size (so nothing downstream divides by zero).
double AspectOf(QSize size)
{
    return size.width() > 0 && size.height() > 0 ? double(size.height()) / size.width() : 0.0;
}

// The working copy of a picture: at most kWorkingSide on its shorter side, decoded at a reduced size
// where the file allows it and then resampled with high quality. An unreadable file gives an empty
// bitmap. pdAspect receives height / width of the full-size file.
std::unique_ptr<QImage> LoadWorkingCopy(const QString& strPath, double* pdAspect)
{
    const QSize full = ReadPictureSize(strPath);
    *pdAspect = AspectOf(full);
    if (full.isEmpty())
        return std::make_unique<QImage>();
    QSize target = full;
    if (full.width() > kWorkingSide || full.height() > kWorkingSide) {
        if (full.width() < full.height())
            target = QSize(kWorkingSide, int(double(kWorkingSide) * full.height() / full.width()));
        else
            target = QSize(int(double(kWorkingSide) * full.width() / full.height()), kWorkingSide);
    }
    QImage image = ReadPicture(strPath, target);
    if (image.isNull())
        return std::make_unique<QImage>();
    if (image.size() != target)
        image = image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return std::make_unique<QImage>(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
}

// The mask library's "origin" picture stands for no mask at all.
QString WithoutOriginMask(const QString& strPath)
{
    return strPath.indexOf(QLatin1String("origin"), 1) >= 1 ? QString() : strPath;
}

} // namespace

QString FrameMaskPath(const QString& strFramePath)
{
    return strFramePath.left(qMax<qsizetype>(0, strFramePath.size() - 3)) + QLatin1String("jpg");
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
    m_pFrame = LoadWorkingCopy(m_strFrame, &m_dAspect);
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

// The object takes the photo's shape, keeping its width and its vertical centre.
void TheData::TakePhotoShape()
{
    const float w = std::trunc(m_rcObject.Width);
    const float h = std::trunc(w * m_dPhotoAspect);
    m_rcObject.Y += (m_rcObject.Height - h) / 2;
    m_rcObject.Width = w;
    m_rcObject.Height = h;
    m_dAspect = m_dPhotoAspect;
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
        if (!m_pFrame) {
            const float w = std::trunc(m_rcObject.Width);
            m_rcObject.Y += (m_rcObject.Height - w) / 2;
            m_rcObject.Width = m_rcObject.Height = w;
            m_dAspect = 1;
        }
    } else {
        LoadPhoto();
        if (!m_pFrame) {
            TakePhotoShape();
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
            TakePhotoShape();
    } else {
        LoadFrame();
        const float w = std::trunc(m_rcObject.Width);
        const float h = std::trunc(w * m_dAspect);
        m_rcObject.Y += (m_rcObject.Height - h) / 2;
        m_rcObject.Width = w;
        m_rcObject.Height = h;
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
        const float w = std::trunc(m_rcObject.Width);
        float h = w;
        if (m_pPhoto) {
            h = std::trunc(w * m_dPhotoAspect);
            m_dAspect = m_dPhotoAspect;
        } else {
            m_dAspect = 1;
        }
        m_rcObject.Y += (m_rcObject.Height - h) / 2;
        m_rcObject.Width = w;
        m_rcObject.Height = h;
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
    QString strReference;
    double dShare = 0;
    if (m_nType == OBJ_ELEMENT) {
        strReference = m_strElement;
        dShare = 0.2;
    } else {
        if (!m_strPhoto.isEmpty()) {
            strReference = m_strPhoto;
            dShare = 0.25;
        }
        if (!m_strFrame.isEmpty()) {
            strReference = m_strFrame;
            dShare = 0.3;
        }
        if (!m_strMask.isEmpty()) {
            strReference = m_strMask;
            dShare = 0.25;
        }
    }
    const double dAspect = AspectOf(ReadPictureSize(strReference));
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
