#pragma once

#include <QSizeF>

class CShellPrompts;
class CardDocument;
class QWidget;

// Before a card is printed or exported: lists every photo that would come out below 150 ppi when the
// card is szOutputInches large, and asks whether to go on. True to go on; nothing is asked, and true
// returned, when every photo is sharp enough.
bool ConfirmSharpPhotos(QWidget* pOwner, CShellPrompts& prompts, const CardDocument& doc, QSizeF szOutputInches);
