#pragma once

// An integer rectangle given by its four edges (right and bottom exclusive), as FitRect computes it.
struct FitResult {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool isEmpty() const { return width() <= 0 || height() <= 0; }
    bool operator==(const FitResult&) const = default;
};

// The largest rectangle of the source's aspect ratio inside (0, 0, box width, box height), centred;
// all zero when a size is zero or negative.
FitResult FitRect(int nSrcWidth, int nSrcHeight, int nBoxWidth, int nBoxHeight);
