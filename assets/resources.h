#pragma once

#include <map>

#include <QDir>
#include <QSize>
#include <QString>

namespace art {

// What the generator wrote into the resource folders: each picture's file name and pixel size, so
// that templates can place sprites at the pictures' natural heights.
struct Resources {
    std::map<QString, QSize> backgrounds;
    std::map<QString, QSize> frames;
    std::map<QString, QSize> cliparts;
    std::map<QString, QSize> masks;
};

// Writes bgimage/, frame/ (each frame with its companion mask), clipart/ and mask/ into the folder.
Resources WriteResources(const QString& strFolder);

// The parts, each writing one folder and recording what it wrote.
void WriteBackgrounds(const QDir& dir, Resources& resources);
void WriteFrames(const QDir& dir, Resources& resources);
void WriteCliparts(const QDir& dir, Resources& resources);
void WriteMasks(const QDir& dir, Resources& resources);

} // namespace art
