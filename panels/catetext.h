#pragma once

#include <QString>
#include <QWidget>

#include "platform/appdir.h"

class CButtonX;
class CColorButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPlainTextEdit;
class TheData;
class WSlider;

// The text panel: adds new text objects to the card and edits the current text (g_pCurrentText): its
// words, font, size, colour, bold, italic, underline, strikeout, alignment and shadow. Every change goes
// straight into the object, refits it, repaints the canvas and is one undo step. The main window
// creates it, shows it with its Text tab and keeps it in step with the canvas's selection.
class CateText : public QWidget {
    Q_OBJECT

public:
    explicit CateText(QWidget* pParent = nullptr, const QString& strAppDir = GetAppDir());
    ~CateText() override;

    // Shows (bShow set) or hides every editing control; "Add new text" always stays.
    void ShowTextControls(int bShow);
    // Sets the controls without touching the card: to the defaults (bReset set), or from the current
    // text.
    void SyncFromText(bool bReset);
    // The value a slider's thumb stands for.
    int SliderValue(const WSlider& slider) const;

    // The controls' handlers.
    void OnAddText();
    void OnTextFocus();
    void OnTextChanged();
    void OnTextKillFocus();
    void OnFontChanged();
    void OnColor();
    // nStyle: 0 bold, 1 italic, 2 underline, 3 strikeout.
    void OnStyle(int nStyle);
    // nAlign: 0 left, 1 centre, 2 right.
    void OnAlign(int nAlign);
    void OnShadow();
    void OnShadowColor();
    void OnSliderNotify(int nSlider, int nCode);

    // Control ids.
    enum ControlId : int {
        IDC_ADD_TEXT = 1004,
        IDC_UNDERLINE = 1028,
        IDC_LEFT = 1033,
        IDC_STRIKEOUT = 1035,
        IDC_BOLD = 1036,
        IDC_ITALIC = 1037,
        IDC_CENTER = 1045,
        IDC_RIGHT = 1046,
        IDC_COLOR = 1049,
        IDC_SHADOW_COLOR = 1052,
        IDC_SHADOW = 1071,
        IDC_FONT = 1072,
        IDC_TEXT = 1073,
        IDC_FONT_GROUP = 1080,
        IDC_SHADOW_GROUP = 1081,
        IDC_SIZE = 1082,
        IDC_SHADOW_X = 1083,
        IDC_SHADOW_Y = 1084,
    };

    CButtonX* m_btnAddText = nullptr;
    QPlainTextEdit* m_editText = nullptr;
    // The offered font families (OfferedFontFamilies), each named in its own typeface.
    QComboBox* m_comboFont = nullptr;
    WSlider* m_sliderSize = nullptr;
    CColorButton* m_btnColor = nullptr;
    CButtonX* m_btnBold = nullptr;
    CButtonX* m_btnItalic = nullptr;
    CButtonX* m_btnUnderline = nullptr;
    CButtonX* m_btnStrikeout = nullptr;
    CButtonX* m_btnLeft = nullptr;
    CButtonX* m_btnCenter = nullptr;
    CButtonX* m_btnRight = nullptr;
    QCheckBox* m_chkShadow = nullptr;
    WSlider* m_sliderShadowX = nullptr;
    WSlider* m_sliderShadowY = nullptr;
    CColorButton* m_btnShadowColor = nullptr;
    QGroupBox* m_groupFont = nullptr;
    QGroupBox* m_groupShadow = nullptr;
    bool m_bTyped = false;

protected:
    // QWidget events
    bool event(QEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void OnInitDialog();
    CButtonX* AddButton(int nId, const QString& strSkin, const QRect& rc, const QString& strTip);
    WSlider* AddSlider(int nId, int nSliderId, int nMin, int nMax, const QString& strTrack, const QRect& rc);
    // Lists the installed families in the font combo, keeping the selected one.
    void FillFonts();
    // The families the font combo lists, in its order.
    QStringList ListedFonts() const;
    // Selects the family in the font combo, or the installed face that stands in for it.
    void SelectFont(const QString& strFamily);
    // The shadow's sliders and colour button are usable exactly while "Shadow" is ticked.
    void EnableShadowControls();
    // The object's new text size: measured again, the object takes it.
    static void Refit(TheData& obj);
    // The canvas shows the change at once.
    static void RepaintCanvas();

    QString m_strAppDir;
};
