#pragma once

#include <array>

#include <QRect>
#include <QSize>

// Control ids of the main window's buttons.
enum MainControlId : int {
    IDC_BTN_CLOSE = 1,
    IDC_BTN_MIN = 1000,
    IDC_BTN_MAX = 1001,
    IDC_BTN_NEW = 1004,
    IDC_BTN_OPEN = 1005,
    IDC_BTN_SAVE = 1006,
    IDC_BTN_UNDO = 1007,
    IDC_BTN_REDO = 1008,
    IDC_BTN_EXPORT = 1009,
    IDC_BTN_PRINT = 1010,
    IDC_BTN_PREVIEW = 1012,
    IDC_BTN_HELP = 1016,
    IDC_BTN_CATE_TEXT = 1021,
    IDC_BTN_CATE_IMAGE = 1023,
};

// The main window's fixed numbers, in logical pixels.
constexpr int kTitleHeight = 30;
constexpr int kMinWidth = 700;
constexpr int kMinHeight = 600;
constexpr int kPanelWidth = 180;

// One button of the main window: its id, its skin picture and its place.
struct MainButtonPlace {
    int nId;
    const char* pszSkin;
    QRect rc;
};

// Where the main window's controls go for a client size. The first layout, every relayout after a
// resize and the tests read this one table.
struct MainLayout {
    std::array<MainButtonPlace, 14> buttons;
    // Each of the two left-hand panels (they share the place; one is shown).
    QRect rcPanel;
    // The dark area the canvas is fitted into.
    QRect rcCanvasArea;
};

MainLayout MainLayoutFor(QSize szClient);
