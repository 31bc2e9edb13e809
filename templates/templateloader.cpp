#include "templates/templateloader.h"

#include "platform/imageio.h"
#include "templates/xmlparse.h"

namespace {

constexpr int kSpritePhoto = 1;
constexpr int kSpriteElement = 4;

int IntOf(pugi::xml_node node, const char* pszName)
{
    return LeadingInt(AttributeText(node, pszName));
}

std::unique_ptr<TheData> MakeObject(pugi::xml_node sprite, int nSpriteType, const QString& strResources)
{
    auto pObject = std::make_unique<TheData>();
    if (nSpriteType == kSpritePhoto) {
        const QString strFrame = AttributeText(sprite, "strFramePath");
        pObject->m_nType = OBJ_PHOTO;
        pObject->m_strFrame = strResources + QLatin1String("frame/") + FileNamePart(strFrame, false);
        pObject->m_strFrameMask = strResources + QLatin1String("frame/") + FileNamePart(strFrame, true);
    } else {
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement
            = strResources + QLatin1String("clipart/") + FileNamePart(AttributeText(sprite, "strPhotoPath"), false);
    }
    pObject->m_dAngle = 360.0 - IntOf(sprite, "nPhotoAngle");
    pObject->m_rcObject = {float(IntOf(sprite, "PhotoFrameLeft")), float(IntOf(sprite, "PhotoFrameTop")),
        float(IntOf(sprite, "PhotoFrameRight")), float(IntOf(sprite, "PhotoFrameBottom"))};
    return pObject;
}

bool Fail(QString* pstrError)
{
    if (pstrError)
        *pstrError = QStringLiteral("File is corrupted!");
    return false;
}

} // namespace

QString FileNamePart(const QString& strPath, bool bAsJpg)
{
    const QString strName = strPath.mid(strPath.lastIndexOf(QLatin1Char('/')) + 1);
    return bAsJpg ? FrameMaskPath(strName) : strName;
}

bool ReadTemplateFile(const QString& strXml, TemplateCard& card, QString* pstrError, const QString& strAppDir)
{
    XMLParse parse;
    if (!parse.Load(strXml))
        return Fail(pstrError);
    return ReadTemplateXml(parse, card, pstrError, strAppDir);
}

bool ReadTemplateXml(const XMLParse& parse, TemplateCard& card, QString* pstrError, const QString& strAppDir)
{
    const QString strResources = strAppDir + QLatin1String("Template/allresources/");
    const pugi::xml_node root = parse.FindNode(0, {}, "root");
    const pugi::xml_node scene = parse.FindNode(0, root, "PageSceneObject");
    if (!root || !scene)
        return Fail(pstrError);

    TemplateCard read;
    read.strBackground
        = strResources + QLatin1String("bgimage/") + FileNamePart(AttributeText(scene, "PageBgImage"), false);
    read.szBackground = ReadPictureSize(read.strBackground);
    if (!read.szBackground.isValid() || read.szBackground.isEmpty())
        return Fail(pstrError);

    for (pugi::xml_node sprite = parse.FindNode(0, scene, "SpriteObject"); sprite;
         sprite = XMLParse::NextNode(sprite, "SpriteObject")) {
        const int nSpriteType = IntOf(sprite, "nPhotoType");
        if (nSpriteType == kSpritePhoto || nSpriteType == kSpriteElement)
            read.vecObjects.push_back(MakeObject(sprite, nSpriteType, strResources));
    }
    card = std::move(read);
    return true;
}
