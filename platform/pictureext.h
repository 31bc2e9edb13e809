#pragma once

#include <QString>

// Whether the path names a picture the user may list or drop: its text after the last "." is one
// of bmp, jpeg, jpg, png, gif, tif, tiff, ignoring case.
bool IsPictureExtension(const QString& strPath);
