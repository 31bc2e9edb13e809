#pragma once

#include <QString>
#include <QStringList>

// The extensions of the pictures the user may list or drop: bmp, jpeg, jpg, png, gif, tif, tiff.
const QStringList& PictureExtensions();

// Whether the path names a picture the user may list or drop: its text after the last "." is one
// of PictureExtensions, ignoring case.
bool IsPictureExtension(const QString& strPath);

// The file-dialog filter that offers those pictures.
QString PictureFileFilter();
