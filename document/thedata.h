#pragma once

#include <memory>

#include <QImage>
#include <QPolygonF>
#include <QRect>
#include <QString>

#include "document/rectf.h"
#include "document/textpanel.h"

class QPainter;
class QRectF;
class QTransform;

enum ObjectType : int {
    OBJ_PHOTO = 0,
    OBJ_ELEMENT = 1,
    OBJ_TEXT = 2,
};

enum PhotoStateValue : int {
    PHOTO_PLAIN = 0,
    PHOTO_EMPTY = 1,
    PHOTO_FRAME_ONLY = 2,
    PHOTO_MASKED = 3,
    PHOTO_FRAMED = 4,
};

// Shorter side of the working copies of photos and frames shown on the canvas.
constexpr int kWorkingSide = 600;
// The most pixels a working copy has, whatever the picture's shape (64 MB).
constexpr qint64 kMaxWorkingPixels = qint64(1) << 24;

// One object on the card: a photo placeholder (photo, frame, mask), a clip-art element or a text.
// Geometry is in card coordinates (canvas client pixels); angles in degrees, clockwise.
class TheData {
public:
    TheData() = default;
    virtual ~TheData();
    TheData(const TheData&) = delete;
    TheData& operator=(const TheData&) = delete;

    // Content
    void LoadPhoto();
    void LoadFrame();
    void LoadImages();
    int PhotoState() const;
    void SetPhoto(
        const QString& strPath, int bRestore, const RectF& rcPhoto, const RectF& rcPhotoLocal, double dPhotoAngle);
    void SetFrame(const QString& strPath, int bRestore, const RectF& rcPhoto, const RectF& rcPhotoLocal);
    void SetMask(const QString& strPath);
    void PlaceNew(int nSize, int x, int y);
    // Re-measures a text and gives the object the measured size, keeping x and y.
    void RefitText();

    // Geometry
    void MoveBy(int dx, int dy, int bWhole);
    void ResizeBy(int dw, int bWhole);
    void CommitAngle(int bWhole);
    void StorePhotoCrop(int bStore);
    // The object's rectangle turned by m_dAngle, and the photo's turned by every photo angle.
    QPolygonF ObjectOutline() const;
    QPolygonF PhotoOutline() const;

    // Drawing
    // The canvas the display image is made for: only what can be seen of the object on a canvas of
    // this size is kept. An empty size (no canvas) keeps the whole object. The image has dRatio
    // pixels for each canvas pixel, the ratio of the screen the canvas is shown on.
    void SetCanvasSize(QSize szCanvas, qreal dRatio = 1);
    void RebuildImage();
    void ComposeFramedPhoto();
    void Paint(QPainter& painter) const;
    void Render(QPainter& painter) const;

    std::unique_ptr<QImage> m_pImage;
    int m_nType = OBJ_PHOTO;
    QString m_strPhoto;
    QString m_strMask;
    QString m_strFrameMask;
    QString m_strFrame;
    std::unique_ptr<QImage> m_pPhoto;
    std::unique_ptr<QImage> m_pFrame;
    double m_dAspect = 0;
    double m_dPhotoAspect = 0;
    RectF m_rcCrop;
    RectF m_rcPhoto;
    RectF m_rcCropLocal;
    RectF m_rcPhotoLocal;
    double m_dPhotoAngle = 0;
    QString m_strElement;
    std::unique_ptr<CTextPanel> m_pText;
    int m_bDeleted = 0;
    RectF m_rcObject;
    double m_dAngle = 0;
    double m_dAngleDelta = 0;
    int m_nIndex = 0;

private:
    void TakeShape(double dAspect);
    void CoverFitPhoto();
    // The whole object's bitmap: trunc(width x ratio) x trunc(height x ratio); empty for a size no
    // bitmap can have.
    QSize WholeBitmapSize() const;
    // The display image's part of the whole object's bitmap: what can be seen of it on the canvas.
    QRect ShownPart(QSize szWhole) const;
    // Maps the whole object's bitmap onto m_pImage, which holds m_rcShown of it.
    QTransform ShownTransform() const;
    // Maps the object's own coordinates, (0, 0) to its width and height, onto m_pImage.
    QTransform ObjectToShown() const;
    // The key a display image that depends on the object's paths and size alone is shared under;
    // empty for one of its own.
    QString SharedImageKey() const;
    void DropImage();
    // Makes m_pImage for the shown part of the whole object's bitmap, or shares an equal one.
    void DrawImage(QSize szWhole, const QRect& rcShown);

    QSize m_szCanvas;
    qreal m_dRatio = 1;
    // The part of the whole object's bitmap that m_pImage holds, perhaps at a reduced size.
    QRect m_rcShown;
    // Whether m_rcShown leaves out part of the object, so that moving or turning it shows more.
    bool m_bImageCut = false;
    QString m_strImageKey;
};

// The size of the working copy of a picture of the given size: unchanged when neither side exceeds
// nSide, otherwise resampled so that the shorter side is exactly nSide and the longer side keeps the
// aspect ratio (truncated); a copy that would pass kMaxWorkingPixels is shrunk on both sides to fit.
QSize WorkingCopySize(QSize szPicture, int nSide = kWorkingSide);

// The working copy of a picture file: WorkingCopySize of the file, upright, decoded at a reduced size
// where the file allows it and resampled with high quality, 32-bit premultiplied ARGB. Null when the
// file cannot be read. pFullSize receives the upright size the file declares (invalid when it
// declares none). nSide is the working copies' shorter side.
QImage ReadWorkingCopy(const QString& strPath, QSize* pFullSize = nullptr, int nSide = kWorkingSide);

// Adds a turn by dAngle degrees about the rectangle's centre to the matrix, applied before what the
// matrix already holds: move the centre to the origin, turn, move back.
void RotateAbout(QTransform& matrix, const QRectF& rc, double dAngle);

// The frame's own mask: the frame path with its last three characters replaced by "jpg".
QString FrameMaskPath(const QString& strFramePath);
