// What a drop does to the card: the drag text the panels send, and the objects a drop creates or
// changes. The canvas decides when a drop happens; everything it changes is here, so drops can be
// exercised on a card with no window.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>

class CardDocument;

// The text of every drag from a panel: the kind word ("photo", "frame", "elem", "mask"), "@", then the
// path; several photos are each followed by "|": photo@/a.jpg|/b.jpg|.
QString MakeDragPayload(const QString& strKind, const QStringList& vecPaths);

// A drag text taken apart. chKind is 'p', 'f', 'e' or 'm', or 0 when the kind word is none of the
// four (text from another program): such a drag drops nothing.
struct DragData {
    char chKind = 0;
    int nDragCount = 0;
    QStringList vecPhotos;
    QString strPath;
};

// Splits the text at its first "@". A photo payload without "|" is one path; otherwise each piece
// followed by "|" is taken up to the first empty one, and a last piece without "|" is not taken.
DragData ParseDragPayload(const QString& strText);

// The object a drop at the point would change: the photo object under it when one path of a photo,
// frame or mask is dropped; -1 otherwise.
int DropTarget(const CardDocument& doc, const DragData& drag, QPoint pt);

// Carries out the drop at the point. nSize is the larger side of the canvas. An element is always
// added; photos, a frame or a mask change the target (DropTarget) or, without one, become new photo
// objects placed at the point, several photos 5 px apart. Each change is one undo step. Returns the
// number of undo steps made.
int DropOnCard(CardDocument& doc, const DragData& drag, QPoint pt, int nSize);

// The accepted picture files among the dropped paths, in their order (the picture extensions,
// ignoring case).
QStringList AcceptedDroppedFiles(const QStringList& vecPaths);

// Files dropped from the file manager: one file onto a photo object replaces its photo, anything
// else becomes new photo objects as dropped photos do. Returns the number of undo steps made.
int AddDroppedFilesToCard(CardDocument& doc, const QStringList& vecFiles, QPoint pt, int nSize);
