// render/: drawing the card for every output from the full-size files. Uses document/ and platform/.
#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QString>

#include "document/rectf.h"

class CardDocument;
class QPainter;
class TheData;

// Where and at which scale output lands on its target; set by RenderCard for a whole pass and read
// by TheData::Render and ScaleAboutCentre. The one process-wide drawing state.
struct OutputTransform {
    int nOffsetX = 0;
    int nOffsetY = 0;
    double dScaleX = 1.0;
    double dScaleY = 1.0;
    // Where the card lands on the target; what falls outside is never composed.
    QRect rcCard;
};

extern OutputTransform g_output;

// Draws the background and every live object of the card into the destination rectangle of the
// painter's target, re-reading every picture at the size it lands at. The card's canvas client size
// gives the scale. Passes from several threads take turns. The pictures are read on all cores, a
// few objects ahead of the drawing, which stays in list order. Memory that runs out is std::bad_alloc.
void RenderCard(QPainter& painter, const CardDocument& doc, int x, int y, int nWidth, int nHeight);

// What an object draws on the output, read and composed from its picture files at the size it lands
// at: the picture (or the framed photo) and the frame over it; nothing for a text or a deleted object.
// Objects are independent, so these may be made on several threads at once.
struct ObjectPictures {
    QImage imgUnder;
    QImage imgOver;
    // The part of the object imgUnder covers, in card coordinates; empty for the whole object.
    QRectF rcUnder;
    // Memory ran out while reading them.
    bool bOutOfMemory = false;
};
ObjectPictures ReadObjectPictures(const TheData& obj);
// Draws the object with its pictures under the output transform (TheData::Render in two steps).
void DrawObject(QPainter& painter, const TheData& obj, const ObjectPictures& pictures);

// The rectangle with the same centre and its size multiplied by the output scale.
RectF ScaleAboutCentre(const RectF& rc);
