#include "document/cardfit.h"

#include <algorithm>
#include <cmath>
#include <set>

#include <QtConcurrent/QtConcurrentMap>

#include "document/carddocument.h"
#include "document/sharedpictures.h"
#include "platform/imageio.h"

namespace {

// Natural pixel height of the picture an object is measured by in a template: the frame of a photo
// placeholder, the picture of an element; 0 for a text or a picture that cannot be read.
int NaturalHeight(const TheData& obj)
{
    QString strPicture;
    if (obj.m_nType == OBJ_PHOTO)
        strPicture = obj.m_strFrame;
    else if (obj.m_nType == OBJ_ELEMENT)
        strPicture = obj.m_strElement;
    if (strPicture.isEmpty())
        return 0;
    const QSize size = ReadPictureSize(strPicture);
    return size.isValid() ? size.height() : 0;
}

// A template's text: its font size and shadow offsets are background pixels like its corner, and it
// then takes the size it measures.
void FitTemplateText(TheData& obj, double sx, double sy)
{
    CTextPanel* pText = obj.m_pText.get();
    if (!pText)
        return;
    pText->m_nSize = std::max(1, int(std::lround(pText->m_nSize * sx)));
    pText->m_nShadowX = int(std::lround(pText->m_nShadowX * sx));
    pText->m_nShadowY = int(std::lround(pText->m_nShadowY * sy));
    obj.RefitText();
}

} // namespace

void LoadWorkingCopies(CardDocument& doc)
{
    std::set<QString> setFiles;
    for (const auto& pObject : doc.m_vecObjects) {
        for (const QString* pstrPath : {&pObject->m_strPhoto, &pObject->m_strFrame}) {
            if (!pstrPath->isEmpty())
                setFiles.insert(*pstrPath);
        }
    }
    // The shared copies are made on all cores and held until every object has taken its own.
    const QList<QImage> held = QtConcurrent::blockingMapped<QList<QImage>>(
        &PictureThreads(), setFiles, [](const QString& strPath) { return SharedWorkingCopy(strPath); });
    for (const auto& pObject : doc.m_vecObjects)
        pObject->LoadImages();
}

bool FitTemplateObjects(CardDocument& doc, const QString& strBackground, CardUse use)
{
    const QSize background = ReadPictureSize(strBackground);
    if (!background.isValid() || background.isEmpty())
        return false;
    doc.m_strBackground = strBackground;
    const double bh = background.height();
    const double sx = double(doc.m_szClient.width()) / background.width();
    const double sy = double(doc.m_szClient.height()) / bh;
    for (const auto& pObject : doc.m_vecObjects) {
        TheData& obj = *pObject;
        RectF& rc = obj.m_rcObject;
        rc.X = float(rc.X * sx);
        rc.Width = float(rc.Width * sx);
        rc.Y = float((bh - rc.Y - NaturalHeight(obj)) * sy);
        rc.Height = float(rc.Height * sy);
        if (obj.m_nType == OBJ_TEXT)
            FitTemplateText(obj, sx, sy);
        obj.SetCanvasSize(doc.m_szClient, doc.m_dDisplayRatio);
    }
    if (use == CardUse::Editing)
        LoadWorkingCopies(doc);
    return true;
}

bool FitProjectObjects(CardDocument& doc, const QString& strBackground, int nSavedWidth, CardUse use)
{
    if (nSavedWidth <= 0)
        return false;
    doc.m_strBackground = strBackground;
    const double s = double(doc.m_szClient.width()) / nSavedWidth;
    for (const auto& pObject : doc.m_vecObjects) {
        TheData& obj = *pObject;
        obj.m_rcObject = obj.m_rcObject.scaled(s);
        if (!obj.m_strPhoto.isEmpty() && !obj.m_strFrame.isEmpty()) {
            obj.m_rcPhoto = obj.m_rcPhoto.scaled(s);
            obj.m_rcPhotoLocal = obj.m_rcPhotoLocal.scaled(s);
        }
        obj.SetCanvasSize(doc.m_szClient, doc.m_dDisplayRatio);
    }
    if (use == CardUse::Editing)
        LoadWorkingCopies(doc);
    // A saved object keeps its own shape, whatever its frame's.
    for (const auto& pObject : doc.m_vecObjects) {
        if (pObject->m_rcObject.Width > 0)
            pObject->m_dAspect = double(pObject->m_rcObject.Height) / pObject->m_rcObject.Width;
    }
    return true;
}

bool RescaleObjects(CardDocument& doc, QSize oldClient, QSize newClient)
{
    if (doc.m_vecObjects.empty() || oldClient.isEmpty() || newClient.isEmpty())
        return false;
    const double sx = double(newClient.width()) / oldClient.width();
    const double sy = double(newClient.height()) / oldClient.height();
    for (const auto& pObject : doc.m_vecObjects) {
        TheData& obj = *pObject;
        obj.m_rcObject = obj.m_rcObject.scaled(sx, sy);
        obj.m_rcPhoto = obj.m_rcPhoto.scaled(sx, sy);
        obj.m_rcPhotoLocal = obj.m_rcPhotoLocal.scaled(sx, sy);
        obj.SetCanvasSize(newClient, doc.m_dDisplayRatio);
    }
    return true;
}
