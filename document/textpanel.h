#pragma once

#include <memory>

#include <QFontDatabase>
#include <QList>
#include <QString>
#include <QStringList>

#include "document/rectf.h"

class QFont;
class QPainter;
struct TextDrawing;

// The text payload of a text object.
class CTextPanel {
public:
    CTextPanel() = default;
    virtual ~CTextPanel() = default;

    // Sets the width and height of m_rcLayout from the text's outline, plus the shadow offsets and
    // a margin of 15; nothing for an empty text.
    void MeasureText();
    // Draws the text (and its soft shadow) into m_rcLayout, clipped to it, under the painter's
    // transform, then resets the painter's world transform. The shadow is made at the resolution it
    // lands at, as soft relative to the card at every scale. The laid-out text and its shadows (for the
    // canvas's scale and the last other one) are kept until the text, its style or the layout's size
    // change, so moving a text draws it again cheaply.
    void DrawText(QPainter& painter);

    // The font the style fields describe, sized in pixels.
    QFont MakeFont() const;

    QString m_strText;
    QString m_strFont = QStringLiteral("Arial");
    int m_nSize = 24;
    quint32 m_clrText = 0xFF000000;
    int m_bBold = 0;
    int m_bItalic = 0;
    int m_bUnderline = 0;
    int m_bStrikeout = 0;
    int m_nAlign = 0;
    int m_bShadow = 1;
    int m_nShadowX = 1;
    int m_nShadowY = 1;
    quint32 m_clrShadow = 0xFF787878;
    RectF m_rcLayout {5, 5, 10, 10};

private:
    // The last drawing's layout and shadow, with what they were made from.
    std::shared_ptr<TextDrawing> m_pDrawing;
};

// A family as the font database names it ("Family" or "Family [Foundry]") with its writing systems.
struct FontFamilyEntry {
    QString strName;
    QList<QFontDatabase::WritingSystem> writingSystems;
};

// The families the text panel offers, in the given order: each family once, without its foundry, and
// none that draws symbols only.
QStringList OfferedFontFamilies(const QList<FontFamilyEntry>& families);
// The installed families the text panel offers (private families left out).
QStringList InstalledFontFamilies();
// The offered family that shows strFamily: the family itself, however its case or foundry is written, or
// else the installed family that stands in for it; empty when neither is offered.
QString OfferedFamilyFor(const QStringList& offered, const QString& strFamily);
