#include "shell/windowshape.h"

#include <cstdlib>
#include <memory>

#include <QBitmap>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

#include <xcb/xcb.h>

namespace {

template <typename T> using XcbReply = std::unique_ptr<T, decltype(&std::free)>;

// A compositing manager owns the selection _NET_WM_CM_S<screen> while it runs.
bool X11CompositorRunning(xcb_connection_t* pConnection)
{
    static const char kSelection[] = "_NET_WM_CM_S0";
    const XcbReply<xcb_intern_atom_reply_t> atom(
        xcb_intern_atom_reply(pConnection, xcb_intern_atom(pConnection, 1, sizeof kSelection - 1, kSelection), nullptr),
        &std::free);
    if (!atom || atom->atom == XCB_NONE)
        return false;
    const XcbReply<xcb_get_selection_owner_reply_t> owner(
        xcb_get_selection_owner_reply(pConnection, xcb_get_selection_owner(pConnection, atom->atom), nullptr),
        &std::free);
    return owner && owner->owner != XCB_NONE;
}

} // namespace

bool DesktopBlendsWindows()
{
    auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!pX11 || !pX11->connection())
        return true;
    return X11CompositorRunning(pX11->connection());
}

QRegion ShapeRegion(const QPainterPath& shape, QSize szWindow)
{
    QImage coverage(szWindow, QImage::Format_ARGB32);
    if (coverage.isNull())
        return QRegion();
    coverage.fill(Qt::transparent);
    {
        QPainter painter(&coverage);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(shape, Qt::black);
    }
    for (int y = 0; y < coverage.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(coverage.scanLine(y));
        for (int x = 0; x < coverage.width(); ++x)
            pLine[x] = qAlpha(pLine[x]) == 255 ? 0xFF000000 : 0;
    }
    return QRegion(QBitmap::fromImage(coverage.createAlphaMask()));
}

void ApplyWindowShape(QWidget* pWindow, const QPainterPath& shape)
{
    if (DesktopBlendsWindows())
        pWindow->clearMask();
    else
        pWindow->setMask(ShapeRegion(shape, pWindow->size()));
}
