#include "templates/templateloader.h"

#include <algorithm>

#include <QFontDatabase>
#include <QStringList>

#include "platform/imageio.h"
#include "templates/projectfile.h"
#include "templates/xmlparse.h"

namespace {

constexpr int kSpritePhoto = 1;
constexpr int kSpriteElement = 4;
// Largest font size and shadow offset a template's text takes, in background pixels.
constexpr int kMaxTemplateFontSize = 1000;
constexpr int kMaxTemplateShadow = 50;

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

// Reads the attribute into the value when it is present; otherwise the value keeps its default.
template <class T, class Parse> void ReadIfPresent(pugi::xml_node node, const char* pszName, T& value, Parse parse)
{
    QString strText;
    if (XMLParse::GetAttribute(node, pszName, strText))
        value = static_cast<T>(parse(strText));
}

// A text object from a TextObject element. TextTop counts downwards from the background's top edge;
// the rectangle takes it counted upwards from the bottom edge, as every template rectangle is until the
// card is fitted. Sizes stay background pixels until then too.
std::unique_ptr<TheData> MakeText(pugi::xml_node node, int nBackgroundHeight)
{
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_TEXT;
    pObject->m_pText = std::make_unique<CTextPanel>();
    CTextPanel& text = *pObject->m_pText;
    const auto asText = [](const QString& str) { return str; };
    ReadIfPresent(node, "strText", text.m_strText, asText);
    QString strFamilies;
    if (XMLParse::GetAttribute(node, "strFontName", strFamilies)) {
        const QString strFamily = InstalledFamily(strFamilies);
        if (!strFamily.isEmpty())
            text.m_strFont = strFamily;
    }
    ReadIfPresent(node, "nFontSize", text.m_nSize, LeadingInt);
    ReadIfPresent(node, "strTextColor", text.m_clrText, ParseColor);
    ReadIfPresent(node, "nBold", text.m_bBold, LeadingInt);
    ReadIfPresent(node, "nItalic", text.m_bItalic, LeadingInt);
    ReadIfPresent(node, "nUnderline", text.m_bUnderline, LeadingInt);
    ReadIfPresent(node, "nStrikeout", text.m_bStrikeout, LeadingInt);
    ReadIfPresent(node, "nAlign", text.m_nAlign, LeadingInt);
    ReadIfPresent(node, "nShadow", text.m_bShadow, LeadingInt);
    ReadIfPresent(node, "nShadowX", text.m_nShadowX, LeadingInt);
    ReadIfPresent(node, "nShadowY", text.m_nShadowY, LeadingInt);
    // A size no card can show, or an offset that throws the shadow off the card, would only cost
    // time and memory to lay out and draw.
    text.m_nSize = std::clamp(text.m_nSize, 1, kMaxTemplateFontSize);
    text.m_nShadowX = std::clamp(text.m_nShadowX, 0, kMaxTemplateShadow);
    text.m_nShadowY = std::clamp(text.m_nShadowY, 0, kMaxTemplateShadow);
    ReadIfPresent(node, "strShadowColor", text.m_clrShadow, ParseColor);
    // In double: a TextTop near the int range's end must not overflow.
    pObject->m_rcObject
        = {float(IntOf(node, "TextLeft")), float(double(nBackgroundHeight) - IntOf(node, "TextTop")), 0, 0};
    return pObject;
}

bool Fail(QString* pstrError)
{
    if (pstrError)
        *pstrError = QStringLiteral("File is corrupted!");
    return false;
}

} // namespace

QString InstalledFamily(const QString& strFamilies)
{
    const QStringList families = strFamilies.split(QLatin1Char(','), Qt::SkipEmptyParts);
    QString strLast;
    for (const QString& strEntry : families) {
        strLast = strEntry.trimmed();
        if (!strLast.isEmpty() && QFontDatabase::hasFamily(strLast))
            return strLast;
    }
    return strLast;
}

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
    // Texts lie above every sprite, so the sprites keep the indices readers that know only sprites
    // give them.
    for (pugi::xml_node text = parse.FindNode(0, scene, "TextObject"); text;
         text = XMLParse::NextNode(text, "TextObject"))
        read.vecObjects.push_back(MakeText(text, read.szBackground.height()));
    card = std::move(read);
    return true;
}
