#pragma once

#include <QString>
#include <QStringList>

#include "assets/resources.h"

namespace art {

// The template categories, one folder each below Template/cards, in the chooser's order.
QStringList TemplateCategories();

// Writes Template/cards: for every category its templates (tempN.xml) and their thumbnails
// (tempN.jpg), each thumbnail the template rendered by the card renderer; and Template/samples, the
// invitations' sample merge lists (CSV). The resources must already be in strTemplateFolder/allresources.
// A contact sheet path, when given, receives every thumbnail in one JPEG.
void WriteLibrary(const QString& strTemplateFolder, const Resources& resources, const QString& strContactSheet);

} // namespace art
