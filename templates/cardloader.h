#pragma once

#include <memory>
#include <vector>

#include <QSize>
#include <QString>

#include "document/thedata.h"
#include "platform/appdir.h"

class CardDocument;

// Why a card file could not be opened.
enum class CardError : int {
    None = 0,
    // Nothing, or no regular file, at the path.
    Missing,
    // The file exists but cannot be opened.
    Unreadable,
    // Well-formed XML that is neither a template nor a project.
    NotACard,
    // A template or project that cannot be used: not well-formed, another project version, no canvas
    // width, or a template whose background picture cannot be read.
    Damaged,
};

// The reason as the command line states it: "no such file", "cannot be read", "neither a template nor
// a project", "File is corrupted!".
QString CardErrorText(CardError nError);

// A template or a project as read from its file, before it joins a card.
struct LoadedCard {
    bool bProject = false;
    QString strBackground;
    // The card's pixel size: its background picture's. A project whose background cannot be read is a
    // square card at its saved canvas width, so that there is still a card to work on.
    QSize szCard;
    // The canvas width the objects are measured at: a project's saved width; for a template the
    // background's width (template units are background pixels).
    int nSavedWidth = 0;
    // In stacking order, their rectangles still in the file's units.
    std::vector<std::unique_ptr<TheData>> vecObjects;
};

// Reads a template or a project file, told apart by their root element whatever the file is called.
// Opening a project is logged. False, with the reason in *pError, when the file makes no card.
bool ReadCardFile(const QString& strPath, LoadedCard& card, CardError* pError, const QString& strAppDir = GetAppDir());

// The canvas nWidth pixels wide at the card's aspect ratio: nWidth x trunc(nWidth * height / width).
QSize CardCanvasSize(const LoadedCard& card, int nWidth);

// Appends the card's objects to the document (numbered after those it holds), takes the card's
// background and fits every object from the card's units to the document's client size.
void PlaceCard(CardDocument& doc, LoadedCard&& card);

// Reads the file and makes it the document's card: a document with no client size yet is laid out at
// the card's own canvas width, the document is cleared (with its undo history) and the card placed.
// On failure the document is left exactly as it was.
bool OpenCardFile(const QString& strPath, CardDocument& doc, CardError* pError, const QString& strAppDir = GetAppDir());
