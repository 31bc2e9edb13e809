#pragma once

#include <QSize>
#include <QString>

class CardDocument;

// The conversions of a card's geometry to the canvas client size (the document's m_szClient). The
// canvas delegates to these and adds its display work (background copy, display images, repaint); the
// command-line renderer calls them with no window, so no display image is made here.

// Takes the background and converts every object from template units (background pixels, y measured
// upwards from the bottom edge to the bottom of the object's picture at its natural height) to card
// coordinates, then loads each object's working copies. False, with nothing changed, when the
// background's size cannot be read.
bool FitTemplateObjects(CardDocument& doc, const QString& strBackground);

// Takes the background and scales every object saved at a canvas width of nSavedWidth to the current
// client width, one factor for both axes; then loads each object's working copies. False, with
// nothing changed, when nSavedWidth is not positive.
bool FitProjectObjects(CardDocument& doc, const QString& strBackground, int nSavedWidth);

// Rescales every object's rectangles from the old client size to the new one.
// Nothing, and false, for an empty card or when either size has no area (scaling to nothing could not
// be undone); the caller then keeps remembering the old size.
bool RescaleObjects(CardDocument& doc, QSize oldClient, QSize newClient);
