#pragma once

#include <memory>
#include <vector>

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "document/rectf.h"
#include "document/thedata.h"
#include "platform/appdir.h"

class CardDocument;
class CTextPanel;
class XMLParse;

// Project files (.plk): the byte-order mark FF FE and one line of UTF-16LE XML, a TheData root with
// version "2.0.0", one bk element for the background and one data element per live object. Every
// coordinate is in pixels of a canvas as wide as bk's canw.

// Writer-side text forms.
// "%7.2f|" for x, y, width and height.
QString FormatRect(const RectF& rc);
// "%d|%d|%d" for red, green and blue; alpha is not stored.
QString FormatColor(quint32 clrArgb);
// A resource path as stored: below the program folder strAppDir the path relative to it, anything else
// whole; "\" separators either way (Template\allresources\frame\oval.png).
QString ToResourceRelative(const QString& strPath, const QString& strAppDir = GetAppDir());
// XML escaping of an attribute value: & < " and carriage return, line feed and tab as references.
QString EscapeXml(const QString& strValue);

// Reader-side text forms.
// Four "|"-terminated numbers; those without their "|" stay 0.
RectF ParseRect(QStringView str);
// Red, green and blue between bars, each cut to an integer and reduced to its low byte; opaque.
quint32 ParseColor(QStringView str);
// Empty stays empty; "\" and "/" both separate; a rooted path is taken as it is, any other gets the
// program folder strAppDir in front.
QString FromResourceRelative(const QString& strValue, const QString& strAppDir = GetAppDir());
// "on|x|y|colour": the parts present replace the text's shadow settings, the others keep theirs.
void ParseShadow(QStringView str, CTextPanel& text);
// Four digits: bold, italic, underline, strikeout; digits that are missing keep the text's settings.
void ParseStyleFlags(QStringView str, CTextPanel& text);

// The complete file for the card: byte-order mark and UTF-16LE text. Coordinates are written in the
// card's current client width.
QByteArray ProjectFileBytes(const CardDocument& doc, const QString& strAppDir = GetAppDir());

// Writes the card to strPath through a temporary file in the same folder that replaces the old file
// only once it is complete, so a failed save leaves the previous file as it was. False, with a reason
// in *pstrError, when the card has no size, the file would be larger than the reader takes, or it
// cannot be written.
bool SaveProjectFile(
    const CardDocument& doc, const QString& strPath, QString* pstrError, const QString& strAppDir = GetAppDir());

// A project as read from its file, before it replaces a card: the background, the canvas width the
// coordinates are in, and the live objects in stacking order, numbered by position.
struct ProjectCard {
    QString strBackground;
    int nSavedWidth = 0;
    // The typed print width in millimetres (bk's optional printw), 0 when none.
    double dPrintWidthMm = 0;
    std::vector<std::unique_ptr<TheData>> vecObjects;
};

// Reads a project file. False, with "File is corrupted!" in *pstrError, for a missing, oversized or
// malformed file, another root or version, or a canvas width that is not positive. Data elements with
// an unknown kind are skipped; at most bk's datas elements are read. Cards are opened through
// ReadCardFile (templates/cardloader.h), which tells templates and projects apart.
bool ReadProjectFile(
    const QString& strPath, ProjectCard& card, QString* pstrError, const QString& strAppDir = GetAppDir());
// The same for a file already parsed.
bool ReadProjectXml(
    const XMLParse& parse, ProjectCard& card, QString* pstrError, const QString& strAppDir = GetAppDir());
