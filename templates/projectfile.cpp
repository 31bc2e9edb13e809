#include "templates/projectfile.h"

#include <cmath>

#include <QSaveFile>
#include <QtEndian>

#include "document/carddocument.h"
#include "document/textpanel.h"
#include "platform/applog.h"
#include "templates/xmlparse.h"

namespace {

const QString kCorrupted = QStringLiteral("File is corrupted!");
const QString kNotSaved = QStringLiteral("The file could not be saved.");
const QString kTooLarge = QStringLiteral("The card is too large to be saved: it could not be opened again.");
const QString kNoMemory = QStringLiteral("Not enough memory to save the card.");
constexpr char kVersion[] = "2.0.0";

QString Num(int n)
{
    return QString::number(n);
}

// Whole degrees, the fraction cut off towards zero.
QString Degrees(double d)
{
    return Num(TruncToInt(d));
}

// One attribute: name="escaped value".
QString Attr(const char* pszName, const QString& strValue)
{
    return QLatin1String(pszName) + QLatin1String("=\"") + EscapeXml(strValue) + QLatin1Char('"');
}

QString ObjectElement(const TheData& obj, const QString& strAppDir)
{
    QString str = QLatin1String("<data ") + Attr("t", Num(obj.m_nType)) + QLatin1Char(' ')
        + Attr("r", FormatRect(obj.m_rcObject)) + QLatin1Char(' ') + Attr("o", Degrees(obj.m_dAngle))
        + QLatin1Char(' ');
    if (obj.m_nType == OBJ_PHOTO) {
        str += Attr("p", obj.m_strPhoto) + QLatin1Char(' ') + Attr("f", ToResourceRelative(obj.m_strFrame, strAppDir))
            + QLatin1Char(' ') + Attr("fm", ToResourceRelative(obj.m_strFrameMask, strAppDir)) + QLatin1Char(' ')
            + Attr("m", ToResourceRelative(obj.m_strMask, strAppDir)) + QLatin1Char(' ')
            + Attr("rp", FormatRect(obj.m_rcPhoto)) + QLatin1Char(' ') + Attr("op", Degrees(obj.m_dPhotoAngle))
            + QLatin1Char(' ') + Attr("poff", FormatRect(obj.m_rcPhotoLocal));
    } else if (obj.m_nType == OBJ_ELEMENT) {
        str += Attr("e", ToResourceRelative(obj.m_strElement, strAppDir));
    } else if (obj.m_nType == OBJ_TEXT) {
        static const CTextPanel defaults;
        const CTextPanel& text = obj.m_pText ? *obj.m_pText : defaults;
        str += Attr("tt", text.m_strText) + QLatin1Char(' ') + Attr("f", text.m_strFont) + QLatin1Char(' ')
            + Attr("s", Num(text.m_nSize)) + QLatin1Char(' ') + Attr("c", FormatColor(text.m_clrText))
            + QLatin1Char(' ') + Attr("a", Num(text.m_nAlign)) + QLatin1Char(' ')
            + Attr("b", Num(text.m_bBold) + Num(text.m_bItalic) + Num(text.m_bUnderline) + Num(text.m_bStrikeout))
            + QLatin1Char(' ')
            + Attr("sd",
                Num(text.m_bShadow) + QLatin1Char('|') + Num(text.m_nShadowX) + QLatin1Char('|') + Num(text.m_nShadowY)
                    + QLatin1Char('|') + FormatColor(text.m_clrShadow))
            + QLatin1String("  ");
    }
    return str + QLatin1String("/>");
}

// Replaces the target by the parsed attribute only when the attribute is present.
template <typename T, typename Parse>
void ReadIfPresent(pugi::xml_node node, const char* pszName, T& target, Parse parse)
{
    QString strText;
    if (XMLParse::GetAttribute(node, pszName, strText))
        target = parse(strText);
}

QString ReadText(const QString& str)
{
    return str;
}

std::unique_ptr<CTextPanel> ReadTextPanel(pugi::xml_node node)
{
    auto pText = std::make_unique<CTextPanel>();
    ReadIfPresent(node, "tt", pText->m_strText, ReadText);
    ReadIfPresent(node, "f", pText->m_strFont, ReadText);
    ReadIfPresent(node, "s", pText->m_nSize, LeadingInt);
    ReadIfPresent(node, "c", pText->m_clrText, ParseColor);
    ReadIfPresent(node, "a", pText->m_nAlign, LeadingInt);
    QString strText;
    if (XMLParse::GetAttribute(node, "b", strText))
        ParseStyleFlags(strText, *pText);
    if (XMLParse::GetAttribute(node, "sd", strText))
        ParseShadow(strText, *pText);
    return pText;
}

std::unique_ptr<TheData> ReadObject(pugi::xml_node node, int nType, const QString& strAppDir)
{
    auto pObject = std::make_unique<TheData>();
    TheData& obj = *pObject;
    const auto resource = [&strAppDir](const QString& str) { return FromResourceRelative(str, strAppDir); };
    obj.m_nType = nType;
    ReadIfPresent(node, "r", obj.m_rcObject, ParseRect);
    ReadIfPresent(node, "o", obj.m_dAngle, LeadingInt);
    if (nType == OBJ_PHOTO) {
        ReadIfPresent(node, "p", obj.m_strPhoto, ReadText);
        ReadIfPresent(node, "f", obj.m_strFrame, resource);
        ReadIfPresent(node, "fm", obj.m_strFrameMask, resource);
        ReadIfPresent(node, "m", obj.m_strMask, resource);
        ReadIfPresent(node, "rp", obj.m_rcPhoto, ParseRect);
        ReadIfPresent(node, "op", obj.m_dPhotoAngle, LeadingInt);
        ReadIfPresent(node, "poff", obj.m_rcPhotoLocal, ParseRect);
    } else if (nType == OBJ_ELEMENT) {
        ReadIfPresent(node, "e", obj.m_strElement, resource);
    } else {
        obj.m_pText = ReadTextPanel(node);
    }
    return pObject;
}

bool Fail(QString* pstrError, const QString& strReason)
{
    if (pstrError)
        *pstrError = strReason;
    return false;
}

} // namespace

QString FormatRect(const RectF& rc)
{
    return QString::asprintf(
        "%7.2f|%7.2f|%7.2f|%7.2f|", double(rc.X), double(rc.Y), double(rc.Width), double(rc.Height));
}

QString FormatColor(quint32 clrArgb)
{
    return QString::asprintf("%d|%d|%d", int((clrArgb >> 16) & 0xFF), int((clrArgb >> 8) & 0xFF), int(clrArgb & 0xFF));
}

QString ToResourceRelative(const QString& strPath, const QString& strAppDir)
{
    QString strStored = !strAppDir.isEmpty() && strPath.startsWith(strAppDir) ? strPath.mid(strAppDir.size()) : strPath;
    strStored.replace(QLatin1Char('/'), QLatin1Char('\\'));
    return strStored;
}

QString EscapeXml(const QString& strValue)
{
    QString str;
    str.reserve(strValue.size());
    for (const QChar ch : strValue) {
        switch (ch.unicode()) {
        case '&':
            str += QLatin1String("&amp;");
            break;
        case '<':
            str += QLatin1String("&lt;");
            break;
        case '"':
            str += QLatin1String("&quot;");
            break;
        case '\r':
            str += QLatin1String("&#13;");
            break;
        case '\n':
            str += QLatin1String("&#10;");
            break;
        case '\t':
            str += QLatin1String("&#9;");
            break;
        default:
            str += ch;
            break;
        }
    }
    return str;
}

RectF ParseRect(QStringView str)
{
    float values[4] = {0, 0, 0, 0};
    qsizetype nPos = 0;
    for (float& value : values) {
        const qsizetype nBar = str.indexOf(QLatin1Char('|'), nPos);
        if (nBar < 0)
            break;
        const float f = float(LeadingDouble(str.mid(nPos, nBar - nPos)));
        value = std::isfinite(f) ? f : 0.0f;
        nPos = nBar + 1;
    }
    return {values[0], values[1], values[2], values[3]};
}

quint32 ParseColor(QStringView str)
{
    quint32 components[3] = {0, 0, 0};
    qsizetype nPos = 0;
    for (quint32& component : components) {
        if (nPos > str.size())
            break;
        qsizetype nBar = str.indexOf(QLatin1Char('|'), nPos);
        if (nBar < 0)
            nBar = str.size();
        component = quint32(TruncToInt(LeadingDouble(str.mid(nPos, nBar - nPos)))) & 0xFF;
        nPos = nBar + 1;
    }
    return 0xFF000000u | (components[0] << 16) | (components[1] << 8) | components[2];
}

QString FromResourceRelative(const QString& strValue, const QString& strAppDir)
{
    if (strValue.isEmpty())
        return QString();
    QString strPath = strValue;
    strPath.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return strPath.startsWith(QLatin1Char('/')) ? strPath : strAppDir + strPath;
}

void ParseShadow(QStringView str, CTextPanel& text)
{
    int* fields[3] = {&text.m_bShadow, &text.m_nShadowX, &text.m_nShadowY};
    qsizetype nPos = 0;
    for (int* pField : fields) {
        const qsizetype nBar = str.indexOf(QLatin1Char('|'), nPos);
        if (nBar < 0)
            return;
        *pField = TruncToInt(LeadingDouble(str.mid(nPos, nBar - nPos)));
        nPos = nBar + 1;
    }
    if (nPos < str.size())
        text.m_clrShadow = ParseColor(str.mid(nPos));
}

void ParseStyleFlags(QStringView str, CTextPanel& text)
{
    int* flags[4] = {&text.m_bBold, &text.m_bItalic, &text.m_bUnderline, &text.m_bStrikeout};
    for (qsizetype i = 0; i < 4 && i < str.size(); ++i) {
        const QChar ch = str[i];
        *flags[i] = ch >= QLatin1Char('0') && ch <= QLatin1Char('9') ? ch.unicode() - '0' : 0;
    }
}

QByteArray ProjectFileBytes(const CardDocument& doc, const QString& strAppDir)
{
    int nLive = 0;
    for (const auto& pObject : doc.m_vecObjects)
        nLive += pObject->m_bDeleted ? 0 : 1;

    QString str = QLatin1String("<?xml version=\"1.0\" encoding=\"UNICODE\" standalone=\"yes\"?>"
                                "<TheData des=\"Velomira Project File\" ver=\"2.0.0\">");
    str += QLatin1String("<bk ") + Attr("file", ToResourceRelative(doc.m_strBackground, strAppDir)) + QLatin1Char(' ')
        + Attr("canw", Num(doc.ClientWidth())) + QLatin1Char(' ') + Attr("datas", Num(nLive));
    // Only a typed print width is written: files without one stay as every reader knows them.
    if (doc.m_dPrintWidthMm > 0)
        str += QLatin1Char(' ') + Attr("printw", QString::number(doc.m_dPrintWidthMm, 'g', 10));
    str += QLatin1String("/>");
    for (const auto& pObject : doc.m_vecObjects) {
        if (!pObject->m_bDeleted)
            str += ObjectElement(*pObject, strAppDir);
    }
    str += QLatin1String("</TheData>");

    QByteArray bytes(2 + 2 * str.size(), Qt::Uninitialized);
    bytes[0] = char(0xFF);
    bytes[1] = char(0xFE);
    qToLittleEndian<char16_t>(str.utf16(), str.size(), bytes.data() + 2);
    return bytes;
}

bool SaveProjectFile(const CardDocument& doc, const QString& strPath, QString* pstrError, const QString& strAppDir)
{
    WriteLog(QStringLiteral("Save project: %1").arg(strPath));
    // A file with no canvas width could never be opened again.
    if (doc.ClientWidth() <= 0)
        return Fail(pstrError, kNotSaved);
    QByteArray bytes;
    try {
        bytes = ProjectFileBytes(doc, strAppDir);
    } catch (const std::bad_alloc&) {
        return Fail(pstrError, kNoMemory);
    }
    // Nothing is written that the reader would refuse.
    if (bytes.size() > kMaxXmlFileBytes)
        return Fail(pstrError, kTooLarge);
    QSaveFile file(strPath);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(pstrError, kNotSaved);
    // commit() does not notice a short write in the flush it makes itself (a full disk would leave a
    // truncated project in place of the old one), so the data is flushed and checked first.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return Fail(pstrError, kNotSaved);
    }
    if (!file.commit())
        return Fail(pstrError, kNotSaved);
    return true;
}

bool ReadProjectFile(const QString& strPath, ProjectCard& card, QString* pstrError, const QString& strAppDir)
{
    XMLParse parse;
    if (!parse.Load(strPath))
        return Fail(pstrError, kCorrupted);
    return ReadProjectXml(parse, card, pstrError, strAppDir);
}

bool ReadProjectXml(const XMLParse& parse, ProjectCard& card, QString* pstrError, const QString& strAppDir)
{
    const pugi::xml_node root = parse.FindNode(0, {}, "TheData");
    QString strVersion;
    if (!root || !XMLParse::GetAttribute(root, "ver", strVersion) || strVersion != QLatin1String(kVersion))
        return Fail(pstrError, kCorrupted);

    const pugi::xml_node bk = parse.FindNode(0, root, "bk");
    ProjectCard read;
    read.strBackground = FromResourceRelative(AttributeText(bk, "file"), strAppDir);
    read.nSavedWidth = LeadingInt(AttributeText(bk, "canw"));
    if (read.nSavedWidth <= 0)
        return Fail(pstrError, kCorrupted);
    const int nDatas = LeadingInt(AttributeText(bk, "datas"));
    // A print width that is no length is the 300 pixels per inch default.
    bool bWidth = false;
    const double dPrintWidth = AttributeText(bk, "printw").toDouble(&bWidth);
    read.dPrintWidthMm = bWidth && std::isfinite(dPrintWidth) && dPrintWidth > 0 ? dPrintWidth : 0;

    // The elements present are walked, never the positions datas claims.
    int nPosition = 0;
    for (pugi::xml_node node = parse.FindNode(0, root, "data"); node && nPosition < nDatas;
         node = XMLParse::NextNode(node, "data"), ++nPosition) {
        const int nType = LeadingInt(AttributeText(node, "t"));
        if (nType != OBJ_PHOTO && nType != OBJ_ELEMENT && nType != OBJ_TEXT)
            continue;
        auto pObject = ReadObject(node, nType, strAppDir);
        pObject->m_nIndex = int(read.vecObjects.size());
        read.vecObjects.push_back(std::move(pObject));
    }
    card = std::move(read);
    return true;
}
