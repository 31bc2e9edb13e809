// render/: drawing the card for every output from the full-size files. Uses document/ and platform/.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include <QImage>
#include <QPoint>
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

// The turn of a pass that sets the output transform and draws under it; passes from several threads
// take turns. RenderCard takes it itself.
std::unique_lock<std::mutex> TakeOutputTurn();

// Draws the background and every live object of the card into the destination rectangle of the
// painter's target, re-reading every picture at the size it lands at. The card's canvas client size
// gives the scale. Passes from several threads take turns. On a bitmap, each object's layer (its
// pictures read, composed and turned as it lands) is made on nThreads threads (0: every core) and the
// layers are laid on the card in list order, so that the card is the same however many threads made
// it; on another device (a printer) the pictures are read on every core and drawn in list order.
// Memory that runs out is std::bad_alloc.
void RenderCard(QPainter& painter, const CardDocument& doc, int x, int y, int nWidth, int nHeight, int nThreads = 0);

// The pictures one pass reads, each file read once at each size however many objects draw it (the
// same clip-art strewn over a card). Readers are counted beforehand; a picture is kept from its first
// reader to its last, and a file only one object reads is never kept.
class PassPictures {
public:
    // Counts one more reader of the file at szDrawn.
    void Expect(const QString& strPath, QSize szDrawn);
    // ReadPictureForSize, read once for all the counted readers of the file at that size.
    QImage Read(const QString& strPath, QSize szDrawn);

private:
    struct Entry {
        int nLeft = 0;
        std::once_flag read;
        QImage image;
    };
    using Key = std::pair<QString, std::pair<int, int>>;
    std::mutex m_mutex;
    std::map<Key, std::shared_ptr<Entry>> m_entries;
};

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
// Reads through pPass, when given, what other objects of the pass draw too.
ObjectPictures ReadObjectPictures(const TheData& obj, PassPictures* pPass = nullptr);
// The file ReadObjectPictures reads whole for the object and the size it reads it at (PassPictures's
// key); nothing for an object that reads no such file.
std::optional<std::pair<QString, QSize>> SharedRead(const TheData& obj);
// Draws the object with its pictures under the output transform (TheData::Render in two steps), on a
// target whose (0, 0) stands for ptOrigin of the output.
void DrawObject(QPainter& painter, const TheData& obj, const ObjectPictures& pictures, QPoint ptOrigin = QPoint());
// The pixels of the output an object's pictures can touch, within the card; empty for a text, a
// deleted object or one that lands off the card.
QRect ObjectBounds(const TheData& obj);

// The rectangle with the same centre and its size multiplied by the output scale.
RectF ScaleAboutCentre(const RectF& rc);
