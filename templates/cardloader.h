#pragma once

#include <memory>
#include <vector>

#include <QSize>
#include <QString>
#include <QStringList>

#include "document/cardfit.h"
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

// The message the program shows when a card file does not open: the missing and the unreadable file
// are named ("The file could not be found: card.plk"), a file that was read but makes no card is
// "File is corrupted!".
QString CardOpenMessage(CardError nError, const QString& strPath);

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
    // A project's typed print width in millimetres; 0 for the 300 pixels per inch default.
    double dPrintWidthMm = 0;
    // In stacking order, their rectangles still in the file's units.
    std::vector<std::unique_ptr<TheData>> vecObjects;
};

// Reads a template or a project file, told apart by their root element whatever the file is called.
// Opening a project is logged. False, with the reason in *pError, when the file makes no card.
bool ReadCardFile(const QString& strPath, LoadedCard& card, CardError* pError, const QString& strAppDir = GetAppDir());

// The picture files the card names that are not there (no regular file at the path): the background,
// then each object's photo, frame, mask and clip-art picture, each path once, in that order.
QStringList MissingPictures(const LoadedCard& card);

// The notice shown once after a card with missing pictures opened: up to five file names, then how
// many more there are. Empty when nothing is missing.
QString MissingPicturesMessage(const QStringList& listMissing);

// The canvas nWidth pixels wide at the card's aspect ratio: nWidth x trunc(nWidth * height / width).
QSize CardCanvasSize(const LoadedCard& card, int nWidth);

// Appends the card's objects to the document (numbered after those it holds), takes the card's
// background and fits every object from the card's units to the document's client size, loading the
// working copies when the card is opened for editing.
void PlaceCard(CardDocument& doc, LoadedCard&& card, CardUse use = CardUse::Editing);

// Reads the file and makes it the document's card: a document with no client size yet is laid out at
// the card's own canvas width, the document is cleared (with its undo history) and the card placed.
// On failure the document is left exactly as it was.
bool OpenCardFile(const QString& strPath, CardDocument& doc, CardError* pError, const QString& strAppDir = GetAppDir(),
    CardUse use = CardUse::Editing);
