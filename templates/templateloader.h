#pragma once

#include <memory>
#include <vector>

#include <QSize>
#include <QString>

#include "document/thedata.h"
#include "platform/appdir.h"

class XMLParse;

// The part of a template path after its last "/" (the whole path when it has none); with bAsJpg, the
// last three characters of that part replaced by "jpg" (a frame's mask beside it).
QString FileNamePart(const QString& strPath, bool bAsJpg);

// The first installed family of a comma-separated list of families. When none is installed, the last
// entry (typically a generic name such as "serif" or "cursive" that fontconfig resolves), so a card asks
// for a face like the one it was designed with rather than for whatever stands in for an unknown name.
QString InstalledFamily(const QString& strFamilies);

// A template as read from its file, before it joins a card: the background picture with its pixel
// size, and the objects in document order with their rectangles still in template units.
struct TemplateCard {
    QString strBackground;
    QSize szBackground;
    std::vector<std::unique_ptr<TheData>> vecObjects;
};

// Reads a template file. Resources resolve below strAppDir + "Template/allresources/". False, with a
// reason in *pstrError, when the file is missing or unreadable, has no root or PageSceneObject, or its
// background picture cannot be read: such a template makes no card. Cards are opened through
// ReadCardFile (templates/cardloader.h), which tells templates and projects apart.
bool ReadTemplateFile(
    const QString& strXml, TemplateCard& card, QString* pstrError, const QString& strAppDir = GetAppDir());
// The same for a file already parsed.
bool ReadTemplateXml(
    const XMLParse& parse, TemplateCard& card, QString* pstrError, const QString& strAppDir = GetAppDir());
