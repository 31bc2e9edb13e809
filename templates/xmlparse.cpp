#include "templates/xmlparse.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <QFile>
#include <QXmlStreamReader>
#include <QtEndian>

namespace {

bool IsNamedElement(pugi::xml_node node, const char* pszName)
{
    return node.type() == pugi::node_element && std::strcmp(node.name(), pszName) == 0;
}

// Walks the tree without recursion and checks that no element lies deeper than kMaxXmlDepth and that
// there is exactly one document element.
bool IsShapeAcceptable(const pugi::xml_document& doc)
{
    if (XMLParse::CountNodes(doc) != 1)
        return false;
    pugi::xml_node node = doc.first_child();
    int nDepth = 1;
    while (node) {
        if (pugi::xml_node child = node.first_child()) {
            if (++nDepth > kMaxXmlDepth)
                return false;
            node = child;
            continue;
        }
        while (!node.next_sibling()) {
            node = node.parent();
            if (node == doc)
                return true;
            --nDepth;
        }
        node = node.next_sibling();
    }
    return true;
}

// pugixml's parse mode lets through what an XML parser must refuse: bare "&" or "<", duplicate
// attributes, undefined entities, bad character references and encodings, junk after the document
// element. Qt's streaming reader checks the whole file first, without recursion.
bool IsWellFormed(const QByteArray& data)
{
    QXmlStreamReader xml(data);
    while (!xml.atEnd())
        xml.readNext();
    return !xml.hasError();
}

// pugixml and Qt's reader both take a UTF-16 file with a trailing odd byte or a lone surrogate, dropping
// or replacing what does not decode; such a file is damaged. True when the bytes are whole code units
// and every surrogate is one half of a pair.
bool IsValidUtf16(const QByteArray& data, bool bBigEndian)
{
    if (data.size() % 2 != 0)
        return false;
    const auto* pBytes = reinterpret_cast<const uchar*>(data.constData());
    bool bPendingHigh = false;
    for (qsizetype i = 0; i < data.size(); i += 2) {
        const char16_t unit
            = bBigEndian ? qFromBigEndian<char16_t>(pBytes + i) : qFromLittleEndian<char16_t>(pBytes + i);
        if (bPendingHigh != QChar::isLowSurrogate(unit))
            return false;
        bPendingHigh = QChar::isHighSurrogate(unit);
    }
    return !bPendingHigh;
}

// Reads up to nLimit + 1 bytes, so that a file past the limit (grown since its size was taken, or a
// device with no size) shows as such. A file is read in one go at its size, anything else in steps:
// asking the device for the limit at once would allocate the whole limit for every file.
QByteArray ReadAtMost(QFile& file, qint64 nLimit)
{
    const qint64 nStep = file.size() > 0 ? qMin(file.size() + 1, nLimit + 1) : qint64(1) << 12;
    QByteArray data;
    while (data.size() <= nLimit) {
        const QByteArray chunk = file.read(qMin(nStep, nLimit + 1 - data.size()));
        if (chunk.isEmpty())
            break;
        data += chunk;
    }
    return data;
}

bool IsBlank(QChar ch)
{
    return ch.isSpace();
}

bool IsDigit(QChar ch)
{
    return ch >= QLatin1Char('0') && ch <= QLatin1Char('9');
}

} // namespace

bool XMLParse::Load(const QString& strPath)
{
    m_pDoc.reset();
    if (strPath.isEmpty())
        return false;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxXmlFileBytes)
        return false;
    const QByteArray data = ReadAtMost(file, kMaxXmlFileBytes);
    if (data.size() > kMaxXmlFileBytes || !IsWellFormed(data))
        return false;
    auto pDoc = std::make_unique<pugi::xml_document>();
    const pugi::xml_parse_result result
        = pDoc->load_buffer(data.constData(), size_t(data.size()), pugi::parse_default, pugi::encoding_auto);
    if (!result || !IsShapeAcceptable(*pDoc))
        return false;
    if ((result.encoding == pugi::encoding_utf16_le || result.encoding == pugi::encoding_utf16_be)
        && !IsValidUtf16(data, result.encoding == pugi::encoding_utf16_be))
        return false;
    m_pDoc = std::move(pDoc);
    return true;
}

pugi::xml_node XMLParse::FindNode(int nIndex, pugi::xml_node parent, const char* pszName) const
{
    if (!m_pDoc || !pszName || nIndex < 0)
        return {};
    if (!parent) {
        const pugi::xml_node root = m_pDoc->document_element();
        return nIndex == 0 && IsNamedElement(root, pszName) ? root : pugi::xml_node();
    }
    for (pugi::xml_node node = parent.first_child(); node; node = node.next_sibling()) {
        if (IsNamedElement(node, pszName) && nIndex-- == 0)
            return node;
    }
    return {};
}

pugi::xml_node XMLParse::NextNode(pugi::xml_node node, const char* pszName)
{
    if (!pszName)
        return {};
    for (node = node.next_sibling(); node; node = node.next_sibling()) {
        if (IsNamedElement(node, pszName))
            return node;
    }
    return {};
}

int XMLParse::CountNodes(pugi::xml_node node, const char* pszName)
{
    int nCount = 0;
    for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element && (!pszName || std::strcmp(child.name(), pszName) == 0))
            ++nCount;
    }
    return nCount;
}

bool XMLParse::GetAttribute(pugi::xml_node node, const char* pszName, QString& strText)
{
    if (!node || !pszName)
        return false;
    const pugi::xml_attribute attribute = node.attribute(pszName);
    if (!attribute)
        return false;
    strText = QString::fromUtf8(attribute.value());
    return true;
}

QString AttributeText(pugi::xml_node node, const char* pszName)
{
    QString strText;
    XMLParse::GetAttribute(node, pszName, strText);
    return strText;
}

int LeadingInt(QStringView str)
{
    qsizetype i = 0;
    while (i < str.size() && IsBlank(str[i]))
        ++i;
    bool bNegative = false;
    if (i < str.size() && (str[i] == QLatin1Char('+') || str[i] == QLatin1Char('-')))
        bNegative = str[i++] == QLatin1Char('-');
    qint64 nValue = 0;
    constexpr qint64 nLimit = qint64(std::numeric_limits<int>::max()) + 1;
    for (; i < str.size() && IsDigit(str[i]); ++i)
        nValue = qMin(nLimit, nValue * 10 + (str[i].unicode() - '0'));
    if (bNegative)
        return int(-nValue);
    return int(qMin<qint64>(nValue, std::numeric_limits<int>::max()));
}

double LeadingDouble(QStringView str)
{
    qsizetype i = 0;
    while (i < str.size() && IsBlank(str[i]))
        ++i;
    const qsizetype nStart = i;
    if (i < str.size() && (str[i] == QLatin1Char('+') || str[i] == QLatin1Char('-')))
        ++i;
    qsizetype nDigits = 0;
    for (; i < str.size() && IsDigit(str[i]); ++i)
        ++nDigits;
    if (i < str.size() && str[i] == QLatin1Char('.')) {
        ++i;
        for (; i < str.size() && IsDigit(str[i]); ++i)
            ++nDigits;
    }
    if (nDigits == 0)
        return 0;
    // An exponent counts only when digits follow it.
    if (i < str.size() && (str[i] == QLatin1Char('e') || str[i] == QLatin1Char('E'))) {
        qsizetype j = i + 1;
        if (j < str.size() && (str[j] == QLatin1Char('+') || str[j] == QLatin1Char('-')))
            ++j;
        if (j < str.size() && IsDigit(str[j])) {
            while (j < str.size() && IsDigit(str[j]))
                ++j;
            i = j;
        }
    }
    bool bOk = false;
    const double d = str.mid(nStart, i - nStart).toDouble(&bOk);
    return bOk && std::isfinite(d) ? d : 0.0;
}

int TruncToInt(double d)
{
    if (std::isnan(d))
        return 0;
    if (d >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (d <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(d);
}
