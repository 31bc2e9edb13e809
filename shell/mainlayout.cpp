#include "shell/mainlayout.h"

MainLayout MainLayoutFor(QSize szClient)
{
    const int W = szClient.width();
    const int H = szClient.height();
    return MainLayout {
        {{
            {IDC_BTN_NEW, "new.bmp", QRect(20, 40, 40, 40)},
            {IDC_BTN_OPEN, "open.bmp", QRect(70, 40, 40, 40)},
            {IDC_BTN_SAVE, "save.bmp", QRect(120, 40, 40, 40)},
            {IDC_BTN_UNDO, "undo.bmp", QRect(190, 40, 40, 40)},
            {IDC_BTN_REDO, "redo.bmp", QRect(230, 40, 40, 40)},
            {IDC_BTN_PREVIEW, "preview.bmp", QRect(300, 40, 40, 40)},
            {IDC_BTN_PRINT, "print.bmp", QRect(345, 40, 40, 40)},
            {IDC_BTN_EXPORT, "export.bmp", QRect(390, 40, 40, 40)},
            {IDC_BTN_HELP, "help.bmp", QRect(W - 40, 40, 30, 40)},
            {IDC_BTN_MIN, "min.bmp", QRect(W - 63, 8, 12, 13)},
            {IDC_BTN_MAX, "max.bmp", QRect(W - 44, 8, 12, 13)},
            {IDC_BTN_CLOSE, "close.bmp", QRect(W - 26, 8, 13, 13)},
            {IDC_BTN_CATE_IMAGE, "cate_image.bmp", QRect(10, 100, 85, 32)},
            {IDC_BTN_CATE_TEXT, "cate_text.bmp", QRect(105, 100, 85, 32)},
        }},
        QRect(10, 132, kPanelWidth, H - 142),
        QRect(210, 100, W - 220, H - 110),
    };
}
