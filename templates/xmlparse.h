// templates/: the template library's XML, the template loader, the project file writer and reader,
// all usable with no window. Uses document/ and platform/ only.
#pragma once

#include <memory>

#include <QString>
#include <QStringView>

#include <pugixml.hpp>

// Largest XML file read at all, and the deepest element nesting accepted. Templates and project files
// are a few levels deep and far smaller; anything beyond these is not one of them.
constexpr qint64 kMaxXmlFileBytes = 16 * 1024 * 1024;
constexpr int kMaxXmlDepth = 256;

// The small DOM reader behind the template loader and the project reader. Elements are found by name
// among the children of a node; a null node stands for "no parent" (the document itself).
class XMLParse {
public:
    XMLParse() = default;
    virtual ~XMLParse() = default;
    XMLParse(const XMLParse&) = delete;
    XMLParse& operator=(const XMLParse&) = delete;

    // Parses the whole file. The byte-order mark decides the encoding (UTF-16LE project files declare
    // encoding="UNICODE"). False, with no document kept, for a missing, oversized, malformed or too
    // deeply nested file, and for UTF-16 that does not decode (an odd byte at the end, a lone surrogate).
    bool Load(const QString& strPath);

    // The child element named pszName at position nIndex among its namesakes (from 0), in document
    // order. Without a parent, the document element when it carries that name. Null when nothing is
    // loaded or there is no such element.
    pugi::xml_node FindNode(int nIndex, pugi::xml_node parent, const char* pszName) const;
    // The next sibling element of node named pszName; null at the end.
    static pugi::xml_node NextNode(pugi::xml_node node, const char* pszName);
    // The number of child elements named pszName (every child element when pszName is null); 0 for a
    // null node.
    static int CountNodes(pugi::xml_node node, const char* pszName = nullptr);
    // The attribute's text with entities resolved. False, strText unchanged, when the node or the name
    // is null or the attribute is missing.
    static bool GetAttribute(pugi::xml_node node, const char* pszName, QString& strText);

    std::unique_ptr<pugi::xml_document> m_pDoc;
};

// The attribute's text as GetAttribute reads it; empty when it is missing.
QString AttributeText(pugi::xml_node node, const char* pszName);

// Numbers as both readers take them from attribute text. Leading blanks and a sign are accepted and
// the first character that cannot continue the number ends it; no digits read as 0. Integers saturate
// at the int range; a floating-point value that is not finite reads as 0.
int LeadingInt(QStringView str);
double LeadingDouble(QStringView str);
// A double cut towards zero, saturated at the int range (NaN gives 0).
int TruncToInt(double d);
