#pragma once

#include <vector>

#include <QString>

namespace art {

// How a button skin is drawn: which background it sits on and which kind of face it gets.
enum class SkinFace {
    Toolbar, // icon on the main window's toolbar band
    TitleGlyph, // minimise, maximise, close on the title strip
    WindowTab, // the main window's Image and Text tabs
    PanelTab, // the wide captioned buttons of the left-hand panels
    TextButton, // the small icon buttons of the text panel
    FloatButton, // the small icon buttons of the floating object toolbar
};

// One button skin: a strip of four frames (normal, hover, pressed, disabled), each nWidth x nHeight,
// the size the window's layout gives the button.
struct ButtonSkin {
    QString strFile;
    int nWidth;
    int nHeight;
    SkinFace face;
    QString strGlyph; // icon name
    QString strCaption; // caption of the captioned faces
};

// Every button skin the program loads, with the frame size its window lays the button out at.
const std::vector<ButtonSkin>& ButtonSkins();

// Writes every skin picture (button strips, band, separator, icon, dial, slider, selection
// background) into the folder, each also at twice its size under its @2x name.
void WriteSkins(const QString& strFolder);

// Writes the program's icon at every size of kIconSizes into the folder, in the layout of the hicolor
// icon theme (hicolor/NxN/apps/velomira.png).
void WriteIcons(const QString& strFolder);

} // namespace art
