#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// Pictures shared by the objects of the open cards. A working copy is decoded once per file and a
// display picture made once per content and size, however many objects show it: QImage shares its
// pixels, so every holder draws from one copy. An entry lives while some object holds it and is dropped
// when the last one lets go (a card's pictures go with the card).

// The working copy of a picture file (ReadWorkingCopy), decoded once while any object holds it; a file
// changed on disk since is decoded again. pFullSize receives the file's upright size.
QImage SharedWorkingCopy(const QString& strPath, QSize* pFullSize = nullptr);

// The display picture kept under the key, or a null image.
QImage FindDisplayPicture(const QString& strKey);
// Keeps a display picture under the key for the objects that make the same one later.
void KeepDisplayPicture(const QString& strKey, const QImage& image);
// Drops the display picture kept under the key when nothing but the cache holds it any more.
void ForgetDisplayPicture(const QString& strKey);
// Drops every picture nothing but the cache holds.
void DropUnusedPictures();

// The display pictures of all cards together may hold this many pixels (1 GB of 32-bit pixels); beyond
// it objects are shown from reduced copies.
constexpr qint64 kDisplayPixelBudget = qint64(256) << 20;
// The pixels of the display pictures kept, each counted once however many objects show it.
qint64 DisplayPixelsInUse();

// A stamp of the file's identity (size and modification time), so that a key names one version of it.
QString FileStamp(const QString& strPath);
