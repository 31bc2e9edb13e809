#pragma once

#include <QSize>
#include <QString>

class CardDocument;

// The conversions of a card's geometry to the canvas client size (the document's m_szClient). The
// canvas delegates to these and adds its display work (background copy, display images, repaint); the
// command-line renderer calls them with no window, so no display image is made here.

// What a card is opened for. Editing loads every object's working copies, on all cores; Output (the
// command-line renderer, a batch export) draws from the files alone and makes none.
enum class CardUse : int {
    Editing,
    Output,
};

// Takes the background and converts every object from template units (background pixels, y measured
// upwards from the bottom edge to the bottom of the object's picture at its natural height) to card
// coordinates, then, for editing, loads each object's working copies. False, with nothing changed,
// when the background's size cannot be read.
bool FitTemplateObjects(CardDocument& doc, const QString& strBackground, CardUse use = CardUse::Editing);

// Takes the background and scales every object saved at a canvas width of nSavedWidth to the current
// client width, one factor for both axes; then, for editing, loads each object's working copies. False,
// with nothing changed, when nSavedWidth is not positive.
bool FitProjectObjects(
    CardDocument& doc, const QString& strBackground, int nSavedWidth, CardUse use = CardUse::Editing);

// Loads the working copies of every object's photo and frame: each file decoded once, the files on
// all cores at once.
void LoadWorkingCopies(CardDocument& doc);

// Rescales every object's rectangles from the old client size to the new one.
// Nothing, and false, for an empty card or when either size has no area (scaling to nothing could not
// be undone); the caller then keeps remembering the old size.
bool RescaleObjects(CardDocument& doc, QSize oldClient, QSize newClient);
