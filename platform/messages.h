// platform/: the thin layer over Qt that several subsystems share: custom window messages, the
// program folder, picture reading, painter quality settings, the log. Nothing here knows the card.
#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

// Every custom window message with its fixed number. All lie in Qt's user event range, so a message
// travels as a QEvent whose type is its number.
enum AppMessageId : int {
    WM_PICCELL_DOWN = 1325,
    WM_PICCELL_UP = 1326,
    WM_PICLIST_NOP = 1327,
    WM_CANVAS_SELECT = 3332,
    WM_TEMPLATE_PICKED = 3437,
    WM_DIAL_ROTATE = 3532,
    WM_SLIDER_NOTIFY = 3533,
    WM_DIAL_DRAG = 3535,
    WM_RESTACK = 7345,
    WM_UNDOSTATE = 7349,
    WM_DOCCHANGED = 7354,
    WM_CANVAS_HOTKEYS = 8232,
};

// A message with its two parameters; the receiver may leave an answer in m_nResult.
class AppMessage : public QEvent {
public:
    AppMessage(int nMessage, qintptr wParam, qintptr lParam)
        : QEvent(static_cast<QEvent::Type>(nMessage))
        , m_wParam(wParam)
        , m_lParam(lParam)
    {
    }

    int message() const { return static_cast<int>(type()); }

    qintptr m_wParam;
    qintptr m_lParam;
    qintptr m_nResult = 0;
};

// Delivers the message synchronously, as the receiver's event handler runs before this returns.
// A null receiver swallows the message and answers 0.
inline qintptr SendAppMessage(QObject* pTo, int nMessage, qintptr wParam, qintptr lParam)
{
    if (!pTo)
        return 0;
    AppMessage msg(nMessage, wParam, lParam);
    QCoreApplication::sendEvent(pTo, &msg);
    return msg.m_nResult;
}
