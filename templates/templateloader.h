#pragma once

#include <memory>
#include <vector>

#include <QSize>
#include <QString>

#include "document/thedata.h"
#include "platform/appdir.h"

class CardDocument;

// The part of a template path after its last "/" (the whole path when it has none); with bAsJpg, the
// last three characters of that part replaced by "jpg" (a frame's mask beside it).
QString FileNamePart(const QString& strPath, bool bAsJpg);

// A template as read from its file, before it joins a card: the background picture with its pixel
// size, and the objects in document order with their rectangles still in template units.
struct TemplateCard {
    QString strBackground;
    QSize szBackground;
    std::vector<std::unique_ptr<TheData>> vecObjects;
};

// Reads a template file. Resources resolve below strAppDir + "Template/allresources/". False, with a
// reason in *pstrError, when the file is missing or unreadable, has no root or PageSceneObject, or its
// background picture cannot be read: such a template makes no card.
bool ReadTemplateFile(
    const QString& strXml, TemplateCard& card, QString* pstrError, const QString& strAppDir = GetAppDir());

// Appends the template's objects to the card (numbered after the objects already there) and fits the
// card to the template's background. The card is not cleared first; callers clear it when needed.
void AddTemplateToCard(CardDocument& doc, TemplateCard&& card);

// Reads the template and adds it to the card. A card with no client size yet takes the background's
// size. On failure the card is left exactly as it was.
bool LoadTemplateFile(
    const QString& strXml, CardDocument& doc, QString* pstrError, const QString& strAppDir = GetAppDir());
