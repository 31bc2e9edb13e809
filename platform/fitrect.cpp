#include "platform/fitrect.h"

FitResult FitRect(int nSrcWidth, int nSrcHeight, int nBoxWidth, int nBoxHeight)
{
    // A zero or negative size has no aspect ratio to compare: nothing fits.
    if (nSrcWidth <= 0 || nSrcHeight <= 0 || nBoxWidth <= 0 || nBoxHeight <= 0)
        return {};
    const double e = static_cast<double>(nBoxWidth) / nBoxHeight;
    const double f = static_cast<double>(nSrcWidth) / nSrcHeight;
    if (e == f)
        return {0, 0, nBoxWidth, nBoxHeight};
    if (e < f) {
        const int g = static_cast<int>(nBoxWidth / f);
        return {0, (nBoxHeight - g) / 2, nBoxWidth, (nBoxHeight + g) / 2};
    }
    const int g = static_cast<int>(f * nBoxHeight);
    return {(nBoxWidth - g) / 2, 0, (nBoxWidth + g) / 2, nBoxHeight};
}
