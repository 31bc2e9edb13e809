#include "panels/catetext.h"

#include <cmath>
#include <memory>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QPainter>
#include <QPlainTextEdit>

#include "canvas/canvas.h"
#include "document/textpanel.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "panels/colorbutton.h"
#include "platform/messages.h"
#include "widgets/buttonx.h"
#include "widgets/wslider.h"

namespace {

constexpr QRgb kPanelColour = 0xFFD8D8E5;
const QColor kAutomaticText(0, 0, 0);
const QColor kAutomaticShadow(130, 130, 130);

// Places of the controls in pixels. Those the panel's dialog resource placed in dialog units are
// converted at 1.5 px across and 1.625 px down per unit (the panel's 120 units are its 180 px).
const QRect kAddTextPlace(4, 7, 172, 23);
const QRect kTextPlace(0, 36, 180, 117);
const QRect kFontGroupPlace(0, 156, 180, 138);
const QRect kFontComboPlace(4, 172, 170, 24);
const QRect kSizePlace(4, 200, 170, 23);
const QRect kShadowGroupPlace(0, 305, 180, 81);
const QRect kShadowCheckPlace(7, 304, 72, 16);
const QRect kShadowXPlace(10, 325, 96, 23);
const QRect kShadowYPlace(10, 354, 96, 23);
const QRect kShadowColorPlace(126, 336, 48, 23);
const QRect kColorPlace(110, 235, 65, 21);
constexpr int kStyleTop = 235;
constexpr int kAlignTop = 266;
constexpr int kStyleButtonWidth = 20;
constexpr int kStyleButtonHeight = 21;

CUndoHistory* History()
{
    return g_pCanvas ? g_pCanvas->m_doc.m_pUndo.get() : nullptr;
}

void Push(std::unique_ptr<UndoRecord> pRecord)
{
    if (CUndoHistory* pUndo = History())
        pUndo->Push(std::move(pRecord));
}

std::unique_ptr<UndoRecord> NewRecord(int nKind, TheData* pObject)
{
    auto pRecord = std::make_unique<UndoRecord>();
    pRecord->nKind = nKind;
    pRecord->pObject = pObject;
    return pRecord;
}

// The colour as the card keeps it: opaque ARGB.
quint32 OpaqueArgb(QColor clr)
{
    return 0xFF000000u | (quint32(clr.red()) << 16) | (quint32(clr.green()) << 8) | quint32(clr.blue());
}

// The colour the button shows for a stored ARGB colour (alpha dropped).
QColor RgbOf(quint32 argb)
{
    return QColor::fromRgb(QRgb(argb | 0xFF000000u));
}

// The text without white space at its end, then at its start.
QString Trimmed(const QString& strText)
{
    qsizetype nEnd = strText.size();
    while (nEnd > 0 && strText.at(nEnd - 1).isSpace())
        --nEnd;
    qsizetype nStart = 0;
    while (nStart < nEnd && strText.at(nStart).isSpace())
        ++nStart;
    return strText.mid(nStart, nEnd - nStart);
}

void SetPressed(CButtonX* pButton, bool bPressed)
{
    pButton->m_bPressed = bPressed ? 1 : 0;
    pButton->repaint();
}

} // namespace

CateText::CateText(QWidget* pParent, const QString& strAppDir)
    : QWidget(pParent)
    , m_strAppDir(strAppDir)
{
    OnInitDialog();
}

CateText::~CateText() = default;

CButtonX* CateText::AddButton(int nId, const QString& strSkin, const QRect& rc, const QString& strTip)
{
    auto* pButton = new CButtonX(this);
    pButton->setObjectName(QStringLiteral("button%1").arg(nId));
    // A click ends the text box's focus period, so the typing is one step before the button's.
    pButton->setFocusPolicy(Qt::ClickFocus);
    pButton->setToolTip(strTip);
    pButton->setGeometry(rc);
    pButton->SetSkin(m_strAppDir + QStringLiteral("Skins/") + strSkin);
    pButton->repaint();
    return pButton;
}

WSlider* CateText::AddSlider(int nId, int nSliderId, int nMin, int nMax, const QString& strTrack, const QRect& rc)
{
    auto* pSlider = new WSlider(this);
    pSlider->setObjectName(QStringLiteral("slider%1").arg(nId));
    pSlider->setGeometry(rc);
    pSlider->setFocusPolicy(Qt::ClickFocus);
    pSlider->m_nId = nSliderId;
    pSlider->m_nMin = nMin;
    pSlider->m_nMax = nMax;
    pSlider->SetImages(
        m_strAppDir + QStringLiteral("Skins/") + strTrack, m_strAppDir + QStringLiteral("Skins/thum.png"));
    return pSlider;
}

void CateText::OnInitDialog()
{
    // Every pixel is painted by the panel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
    // A press on the panel is the panel's, never a drag of the main window.
    setAttribute(Qt::WA_NoMousePropagation);

    m_groupFont = new QGroupBox(tr("Font"), this);
    m_groupFont->setGeometry(kFontGroupPlace);
    m_groupShadow = new QGroupBox(this);
    m_groupShadow->setGeometry(kShadowGroupPlace);

    m_editText = new QPlainTextEdit(this);
    m_editText->setObjectName(QStringLiteral("edit%1").arg(IDC_TEXT));
    m_editText->setGeometry(kTextPlace);
    m_editText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_editText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editText->setTabChangesFocus(true);
    m_editText->installEventFilter(this);
    connect(m_editText, &QPlainTextEdit::textChanged, this, &CateText::OnTextChanged);

    m_comboFont = new QComboBox(this);
    m_comboFont->setObjectName(QStringLiteral("combo%1").arg(IDC_FONT));
    m_comboFont->setGeometry(kFontComboPlace);
    m_comboFont->setEditable(false);
    FillFonts();
    connect(m_comboFont, &QComboBox::activated, this, &CateText::OnFontChanged);
    connect(qGuiApp, &QGuiApplication::fontDatabaseChanged, this, &CateText::FillFonts);

    m_btnColor = new CColorButton(kAutomaticText, this);
    m_btnColor->setObjectName(QStringLiteral("color%1").arg(IDC_COLOR));
    m_btnColor->setGeometry(kColorPlace);
    m_btnColor->setToolTip(tr("Text colour"));
    connect(m_btnColor, &CColorButton::colorChosen, this, &CateText::OnColor);
    m_btnShadowColor = new CColorButton(kAutomaticShadow, this);
    m_btnShadowColor->setObjectName(QStringLiteral("color%1").arg(IDC_SHADOW_COLOR));
    m_btnShadowColor->setGeometry(kShadowColorPlace);
    m_btnShadowColor->setToolTip(tr("Shadow colour"));
    connect(m_btnShadowColor, &CColorButton::colorChosen, this, &CateText::OnShadowColor);

    m_sliderSize = AddSlider(IDC_SIZE, 0, 8, 96, QStringLiteral("ssize.bmp"), kSizePlace);
    m_sliderSize->setToolTip(tr("Size"));
    m_sliderShadowX = AddSlider(IDC_SHADOW_X, 1, 0, 10, QStringLiteral("sshadow.bmp"), kShadowXPlace);
    m_sliderShadowX->setToolTip(tr("Shadow across"));
    m_sliderShadowY = AddSlider(IDC_SHADOW_Y, 2, 0, 10, QStringLiteral("sshadow.bmp"), kShadowYPlace);
    m_sliderShadowY->setToolTip(tr("Shadow down"));

    // On top of the shadow group's frame, where a title would be.
    m_chkShadow = new QCheckBox(tr("Shadow"), this);
    m_chkShadow->setObjectName(QStringLiteral("check%1").arg(IDC_SHADOW));
    m_chkShadow->setGeometry(kShadowCheckPlace);
    m_chkShadow->setFocusPolicy(Qt::ClickFocus);
    m_chkShadow->setAutoFillBackground(true);
    QPalette palette = m_chkShadow->palette();
    palette.setColor(QPalette::Window, QColor::fromRgba(kPanelColour));
    m_chkShadow->setPalette(palette);
    connect(m_chkShadow, &QCheckBox::clicked, this, &CateText::OnShadow);

    SyncFromText(true);

    m_btnAddText = AddButton(IDC_ADD_TEXT, QStringLiteral("newtxt.bmp"), kAddTextPlace, tr("Add new text"));
    m_btnAddText->setText(tr("Add new text"));
    connect(m_btnAddText, &QAbstractButton::clicked, this, &CateText::OnAddText);

    struct Style {
        CButtonX** ppButton;
        int nId;
        const char* pszSkin;
        const char* pszTip;
    };
    const Style styles[] = {
        {&m_btnBold, IDC_BOLD, "tb.bmp", "Bold"},
        {&m_btnItalic, IDC_ITALIC, "ti.bmp", "Italic"},
        {&m_btnUnderline, IDC_UNDERLINE, "tu.bmp", "Underline"},
        {&m_btnStrikeout, IDC_STRIKEOUT, "ts.bmp", "Strikeout"},
    };
    for (int i = 0; i < 4; ++i) {
        const Style& style = styles[i];
        CButtonX* pButton = AddButton(style.nId, QLatin1String(style.pszSkin),
            QRect(10 + 25 * i, kStyleTop, kStyleButtonWidth, kStyleButtonHeight), tr(style.pszTip));
        pButton->m_bToggle = 1;
        pButton->m_bLatch = 1;
        connect(pButton, &QAbstractButton::clicked, this, [this, i] { OnStyle(i); });
        *style.ppButton = pButton;
    }
    const Style aligns[] = {
        {&m_btnLeft, IDC_LEFT, "tleft.bmp", "Align left"},
        {&m_btnCenter, IDC_CENTER, "tcenter.bmp", "Centre"},
        {&m_btnRight, IDC_RIGHT, "tright.bmp", "Align right"},
    };
    for (int i = 0; i < 3; ++i) {
        const Style& align = aligns[i];
        CButtonX* pButton = AddButton(align.nId, QLatin1String(align.pszSkin),
            QRect(10 + 30 * i, kAlignTop, kStyleButtonWidth, kStyleButtonHeight), tr(align.pszTip));
        pButton->m_bLatch = 1;
        connect(pButton, &QAbstractButton::clicked, this, [this, i] { OnAlign(i); });
        *align.ppButton = pButton;
    }
    SetPressed(m_btnLeft, true);
}

void CateText::ShowTextControls(int bShow)
{
    const bool bVisible = bShow != 0;
    QWidget* const controls[] = {m_editText, m_comboFont, m_sliderSize, m_btnColor, m_btnBold, m_btnItalic,
        m_btnUnderline, m_btnStrikeout, m_btnLeft, m_btnCenter, m_btnRight, m_chkShadow, m_sliderShadowX,
        m_sliderShadowY, m_btnShadowColor, m_groupFont, m_groupShadow};
    for (QWidget* pControl : controls)
        pControl->setVisible(bVisible);
}

void CateText::FillFonts()
{
    const QString strSelected = m_comboFont->currentText();
    // Filling the list is not a choice of the user's.
    const QSignalBlocker blocker(m_comboFont);
    m_comboFont->clear();
    for (const QString& strFamily : InstalledFontFamilies()) {
        m_comboFont->addItem(strFamily);
        m_comboFont->setItemData(m_comboFont->count() - 1, QFont(strFamily), Qt::FontRole);
    }
    SelectFont(strSelected.isEmpty() ? CTextPanel().m_strFont : strSelected);
}

QStringList CateText::ListedFonts() const
{
    QStringList listed;
    for (int i = 0; i < m_comboFont->count(); ++i)
        listed.append(m_comboFont->itemText(i));
    return listed;
}

void CateText::SelectFont(const QString& strFamily)
{
    // The combo lists installed families; a family that is not installed shows the face that stands in
    // for it.
    const QStringList listed = ListedFonts();
    m_comboFont->setCurrentIndex(int(listed.indexOf(OfferedFamilyFor(listed, strFamily))));
}

void CateText::EnableShadowControls()
{
    const bool bOn = m_chkShadow->isChecked();
    m_sliderShadowX->setEnabled(bOn);
    m_sliderShadowY->setEnabled(bOn);
    m_btnShadowColor->setEnabled(bOn);
}

void CateText::SyncFromText(bool bReset)
{
    if (!bReset && !g_pCurrentText)
        return;
    const CTextPanel defaults;
    const CTextPanel* pText = bReset ? &defaults : g_pCurrentText->m_pText.get();
    if (!pText)
        return;
    {
        // Setting the box is not typing.
        const QSignalBlocker blocker(m_editText);
        m_editText->setPlainText(bReset ? QString() : pText->m_strText);
    }
    SelectFont(pText->m_strFont);
    m_sliderSize->SetPos(pText->m_nSize);
    if (bReset) {
        m_btnColor->SetAutomatic();
        m_btnShadowColor->SetAutomatic();
    } else {
        m_btnColor->SetColor(RgbOf(pText->m_clrText));
        m_btnShadowColor->SetColor(RgbOf(pText->m_clrShadow));
    }
    m_chkShadow->setChecked(pText->m_bShadow != 0);
    EnableShadowControls();
    m_sliderShadowX->SetPos(pText->m_nShadowX);
    m_sliderShadowY->SetPos(pText->m_nShadowY);
    if (m_btnBold) {
        SetPressed(m_btnBold, pText->m_bBold);
        SetPressed(m_btnItalic, pText->m_bItalic);
        SetPressed(m_btnUnderline, pText->m_bUnderline);
        SetPressed(m_btnStrikeout, pText->m_bStrikeout);
        SetPressed(m_btnLeft, pText->m_nAlign == 0);
        SetPressed(m_btnCenter, pText->m_nAlign == 1);
        SetPressed(m_btnRight, pText->m_nAlign == 2);
    }
}

int CateText::SliderValue(const WSlider& slider) const
{
    const int L = 0;
    const int R = slider.width();
    if (R <= L)
        return slider.m_nMin;
    const int nCentre = (slider.m_rcSliderThumb.x() + slider.m_rcSliderThumb.x() + slider.m_rcSliderThumb.width()) / 2;
    return int(std::trunc(double(nCentre - L) / (R - L) * (slider.m_nMax - slider.m_nMin) + slider.m_nMin));
}

void CateText::Refit(TheData& obj)
{
    obj.RefitText();
}

void CateText::RepaintCanvas()
{
    if (g_pCanvas)
        g_pCanvas->repaint();
}

void CateText::OnAddText()
{
    ShowTextControls(1);
    SyncFromText(true);
    if (!g_pCanvas)
        return;
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_TEXT;
    pObject->m_pText = std::make_unique<CTextPanel>();
    pObject->m_pText->m_strText = QStringLiteral("Sample Text");
    g_pCurrentText = pObject.get();
    g_pCanvas->AddTextObject(std::move(pObject));
}

void CateText::OnTextFocus()
{
    SendAppMessage(window(), WM_CANVAS_HOTKEYS, 0, 0);
    CUndoHistory* pUndo = History();
    if (!g_pCurrentText || !pUndo)
        return;
    pUndo->BeginEdit(UNDO_TEXT, g_pCurrentText);
    pUndo->SetTextOpen(1);
}

void CateText::OnTextChanged()
{
    if (!g_pCurrentText || !g_pCurrentText->m_pText)
        return;
    m_bTyped = true;
    g_pCurrentText->m_pText->m_strText = Trimmed(m_editText->toPlainText());
    Refit(*g_pCurrentText);
    RepaintCanvas();
}

void CateText::OnTextKillFocus()
{
    if (!m_bTyped)
        return;
    // Another edit may have closed the text's already (a slider's press does); closing again would
    // record that edit twice.
    CUndoHistory* pUndo = History();
    if (pUndo && pUndo->TextOpen())
        pUndo->EndEdit();
    m_bTyped = false;
}

void CateText::OnFontChanged()
{
    if (!g_pCurrentText || !g_pCurrentText->m_pText || m_comboFont->currentIndex() < 0)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    const QString strFamily = m_comboFont->currentText();
    // The entry that shows the text's font already (its stand-in for a family not installed) changes
    // nothing, so it is no step and leaves the card unmodified.
    if (strFamily == OfferedFamilyFor(ListedFonts(), text.m_strFont))
        return;
    auto pRecord = NewRecord(UNDO_FONT, g_pCurrentText);
    pRecord->strOldFont = text.m_strFont;
    pRecord->strNewFont = strFamily;
    text.m_strFont = strFamily;
    Push(std::move(pRecord));
    Refit(*g_pCurrentText);
    RepaintCanvas();
}

void CateText::OnColor()
{
    if (!g_pCurrentText || !g_pCurrentText->m_pText)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    auto pRecord = NewRecord(UNDO_COLOR, g_pCurrentText);
    pRecord->clrOld = text.m_clrText;
    pRecord->clrNew = OpaqueArgb(m_btnColor->Color());
    text.m_clrText = pRecord->clrNew;
    Push(std::move(pRecord));
    RepaintCanvas();
}

void CateText::OnStyle(int nStyle)
{
    if (!g_pCurrentText || !g_pCurrentText->m_pText)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    int* const flags[] = {&text.m_bBold, &text.m_bItalic, &text.m_bUnderline, &text.m_bStrikeout};
    static constexpr int kKinds[] = {UNDO_BOLD, UNDO_ITALIC, UNDO_UNDERLINE, UNDO_STRIKEOUT};
    if (nStyle < 0 || nStyle > 3)
        return;
    *flags[nStyle] = !*flags[nStyle];
    Push(NewRecord(kKinds[nStyle], g_pCurrentText));
    Refit(*g_pCurrentText);
    RepaintCanvas();
}

void CateText::OnAlign(int nAlign)
{
    if (!g_pCurrentText || !g_pCurrentText->m_pText || g_pCurrentText->m_pText->m_nAlign == nAlign)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    CButtonX* const buttons[] = {m_btnLeft, m_btnCenter, m_btnRight};
    for (int i = 0; i < 3; ++i) {
        if (i != nAlign)
            SetPressed(buttons[i], false);
    }
    auto pRecord = NewRecord(UNDO_ALIGN, g_pCurrentText);
    pRecord->nOldAlign = text.m_nAlign;
    pRecord->nNewAlign = nAlign;
    text.m_nAlign = nAlign;
    Push(std::move(pRecord));
    RepaintCanvas();
}

void CateText::OnShadow()
{
    EnableShadowControls();
    if (!g_pCurrentText || !g_pCurrentText->m_pText)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    text.m_bShadow = !text.m_bShadow;
    Push(NewRecord(UNDO_SHADOW, g_pCurrentText));
    Refit(*g_pCurrentText);
    RepaintCanvas();
}

void CateText::OnShadowColor()
{
    if (!g_pCurrentText || !g_pCurrentText->m_pText)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    auto pRecord = NewRecord(UNDO_SHADOW_COLOR, g_pCurrentText);
    pRecord->clrOldShadow = text.m_clrShadow;
    pRecord->clrNewShadow = OpaqueArgb(m_btnShadowColor->Color());
    text.m_clrShadow = pRecord->clrNewShadow;
    Push(std::move(pRecord));
    RepaintCanvas();
}

void CateText::OnSliderNotify(int nSlider, int nCode)
{
    CUndoHistory* pUndo = History();
    if (!g_pCurrentText || !g_pCurrentText->m_pText || !pUndo || nSlider < 0 || nSlider > 2)
        return;
    CTextPanel& text = *g_pCurrentText->m_pText;
    switch (nCode) {
    case 1: {
        static constexpr int kKinds[] = {UNDO_SIZE, UNDO_SHADOW_X, UNDO_SHADOW_Y};
        pUndo->BeginEdit(kKinds[nSlider], g_pCurrentText);
        break;
    }
    case 2: {
        WSlider* const sliders[] = {m_sliderSize, m_sliderShadowX, m_sliderShadowY};
        int* const values[] = {&text.m_nSize, &text.m_nShadowX, &text.m_nShadowY};
        *values[nSlider] = SliderValue(*sliders[nSlider]);
        Refit(*g_pCurrentText);
        RepaintCanvas();
        break;
    }
    case 3:
        pUndo->EndEdit();
        break;
    default:
        break;
    }
}

bool CateText::event(QEvent* pEvent)
{
    if (int(pEvent->type()) == WM_SLIDER_NOTIFY) {
        auto* pMessage = static_cast<AppMessage*>(pEvent);
        OnSliderNotify(int(pMessage->m_wParam), int(pMessage->m_lParam));
        pMessage->m_nResult = 0;
        return true;
    }
    return QWidget::event(pEvent);
}

bool CateText::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    if (pWatched == m_editText) {
        if (pEvent->type() == QEvent::FocusIn)
            OnTextFocus();
        else if (pEvent->type() == QEvent::FocusOut)
            OnTextKillFocus();
    }
    return QWidget::eventFilter(pWatched, pEvent);
}

void CateText::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(kPanelColour));
}
