#include <gtest/gtest.h>

#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "canvas/canvas.h"
#include "document/textpanel.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "panels/catetext.h"
#include "panels/colorbutton.h"
#include "platform/messages.h"
#include "tests/widgetsupport.h"
#include "widgets/buttonx.h"
#include "widgets/wslider.h"

namespace {

// The text panel beside a 500 x 360 canvas in a shown stand-in main window; the canvas is the one
// canvas. Each test starts with "Add new text", so a Sample Text is current.
class CateTextTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.setGeometry(100, 100, 760, 460);
        m_pPanel = new CateText(&m_window);
        m_pPanel->setGeometry(10, 10, 180, 430);
        m_pCanvas = new Canvas(&m_window);
        m_pCanvas->setGeometry(220, 50, 500, 360);
        m_pOther = new QLineEdit(&m_window);
        m_pOther->setGeometry(220, 10, 100, 20);
        g_pCanvas = m_pCanvas;
        m_window.show();
        m_window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
        panel().ShowTextControls(0);
        QTest::mouseClick(panel().m_btnAddText, Qt::LeftButton);
        ASSERT_TRUE(g_pCurrentText);
    }

    void TearDown() override
    {
        g_pCurrentText = nullptr;
        g_pCanvas = nullptr;
    }

    CateText& panel() { return *m_pPanel; }
    CUndoHistory& undo() { return *m_pCanvas->m_doc.m_pUndo; }
    CTextPanel& text() { return *g_pCurrentText->m_pText; }
    std::vector<int> Kinds()
    {
        std::vector<int> kinds;
        for (int i = 0; i < undo().Count(); ++i)
            kinds.push_back(undo().RecordAt(i)->nKind);
        return kinds;
    }
    void Click(QWidget* pButton) { QTest::mouseClick(pButton, Qt::LeftButton); }

    WidgetMessageRecorder m_window;
    CateText* m_pPanel = nullptr;
    Canvas* m_pCanvas = nullptr;
    QLineEdit* m_pOther = nullptr;
};

TEST_F(CateTextTest, AddNewTextShowsTheControlsAndAddsASelectedSampleText)
{
    EXPECT_EQ(panel().m_btnAddText->geometry(), QRect(4, 7, 172, 23));
    EXPECT_EQ(panel().m_btnBold->geometry(), QRect(10, 235, 20, 21));
    EXPECT_EQ(panel().m_btnStrikeout->geometry(), QRect(85, 235, 20, 21));
    EXPECT_EQ(panel().m_btnColor->geometry(), QRect(110, 235, 65, 21));
    EXPECT_EQ(panel().m_btnRight->geometry(), QRect(70, 266, 20, 21));
    EXPECT_FALSE(panel().m_editText->isHidden());
    EXPECT_FALSE(panel().m_sliderShadowY->isHidden());
    EXPECT_EQ(text().m_strText, QStringLiteral("Sample Text"));
    EXPECT_FLOAT_EQ(g_pCurrentText->m_rcObject.X, 30);
    EXPECT_FLOAT_EQ(g_pCurrentText->m_rcObject.Y, 30);
    EXPECT_EQ(m_pCanvas->m_doc.SelectedObject(), g_pCurrentText);
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD}));
    // The defaults are shown.
    EXPECT_TRUE(panel().m_editText->toPlainText().isEmpty());
    EXPECT_EQ(panel().m_sliderSize->m_nPos, 24);
    EXPECT_TRUE(panel().m_chkShadow->isChecked());
    EXPECT_EQ(panel().m_btnLeft->m_bPressed, 1);
    EXPECT_EQ(panel().m_btnCenter->m_bPressed, 0);

    panel().ShowTextControls(0);
    EXPECT_TRUE(panel().m_editText->isHidden());
    EXPECT_TRUE(panel().m_groupShadow->isHidden());
    EXPECT_FALSE(panel().m_btnAddText->isHidden());
}

TEST_F(CateTextTest, OneFocusPeriodWithTypingIsOneTextStepAndWhiteSpaceIsTrimmed)
{
    const float fWidth = g_pCurrentText->m_rcObject.Width;
    panel().m_editText->setFocus();
    QTest::keyClicks(panel().m_editText, QStringLiteral("  Hello  "));
    EXPECT_EQ(text().m_strText, QStringLiteral("Hello"));
    EXPECT_EQ(panel().m_editText->toPlainText(), QStringLiteral("  Hello  "));
    EXPECT_LT(g_pCurrentText->m_rcObject.Width, fWidth);
    m_pOther->setFocus();
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_TEXT}));
    EXPECT_EQ(undo().RecordAt(1)->strOldText, QStringLiteral("Sample Text"));
    EXPECT_EQ(undo().RecordAt(1)->strNewText, QStringLiteral("Hello"));

    // Three characters, one step; a focus period without typing, none.
    panel().m_editText->setFocus();
    QTest::keyClicks(panel().m_editText, QStringLiteral("abc"));
    m_pOther->setFocus();
    panel().m_editText->setFocus();
    m_pOther->setFocus();
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_TEXT, UNDO_TEXT}));
    EXPECT_EQ(text().m_strText, QStringLiteral("Hello  abc"));
    EXPECT_EQ(m_window.m_vecMessages.back(), (WidgetMessageRecorder::Message {WM_CANVAS_HOTKEYS, 0, 0}));

    ASSERT_TRUE(undo().Undo(m_pCanvas->width()));
    EXPECT_EQ(text().m_strText, QStringLiteral("Hello"));
    ASSERT_TRUE(undo().Redo(m_pCanvas->width()));

    // A slider worked while the box keeps the focus closes the typing first; leaving the box then
    // records nothing more.
    panel().m_editText->setFocus();
    QTest::keyClicks(panel().m_editText, QStringLiteral("!"));
    panel().OnSliderNotify(0, 1);
    panel().m_sliderSize->SetPos(40);
    panel().OnSliderNotify(0, 2);
    panel().OnSliderNotify(0, 3);
    m_pOther->setFocus();
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_TEXT, UNDO_TEXT, UNDO_TEXT, UNDO_SIZE}));
}

TEST_F(CateTextTest, StyleAlignmentAndColourButtonsMakeTheirRecords)
{
    Click(panel().m_btnBold);
    EXPECT_EQ(text().m_bBold, 1);
    EXPECT_EQ(panel().m_btnBold->m_bPressed, 1);
    Click(panel().m_btnBold);
    EXPECT_EQ(text().m_bBold, 0);
    EXPECT_EQ(panel().m_btnBold->m_bPressed, 0);
    Click(panel().m_btnItalic);
    Click(panel().m_btnUnderline);
    Click(panel().m_btnStrikeout);
    EXPECT_EQ(text().m_bItalic + text().m_bUnderline + text().m_bStrikeout, 3);

    Click(panel().m_btnCenter);
    Click(panel().m_btnCenter);
    EXPECT_EQ(text().m_nAlign, 1);
    EXPECT_EQ(panel().m_btnLeft->m_bPressed, 0);
    EXPECT_EQ(panel().m_btnCenter->m_bPressed, 1);

    panel().m_btnColor->ChooseColor(QColor(255, 0, 0));
    EXPECT_EQ(text().m_clrText, 0xFFFF0000u);
    panel().m_btnColor->ChooseAutomatic();
    EXPECT_EQ(text().m_clrText, 0xFF000000u);
    panel().m_btnShadowColor->ChooseAutomatic();
    EXPECT_EQ(text().m_clrShadow, 0xFF828282u);

    EXPECT_EQ(Kinds(),
        (std::vector<int> {UNDO_ADD, UNDO_BOLD, UNDO_BOLD, UNDO_ITALIC, UNDO_UNDERLINE, UNDO_STRIKEOUT, UNDO_ALIGN,
            UNDO_COLOR, UNDO_COLOR, UNDO_SHADOW_COLOR}));
    EXPECT_EQ(undo().RecordAt(6)->nOldAlign, 0);
    EXPECT_EQ(undo().RecordAt(6)->nNewAlign, 1);
    EXPECT_EQ(undo().RecordAt(7)->clrOld, 0xFF000000u);
    EXPECT_EQ(undo().RecordAt(7)->clrNew, 0xFFFF0000u);
    EXPECT_EQ(undo().RecordAt(9)->clrOldShadow, 0xFF787878u);
}

TEST_F(CateTextTest, ChoosingAFontRecordsItAndRefitsTheText)
{
    const float fWidth = g_pCurrentText->m_rcObject.Width;
    QComboBox& combo = *panel().m_comboFont;
    combo.setCurrentText(QStringLiteral("DejaVu Serif"));
    ASSERT_EQ(combo.currentText(), QStringLiteral("DejaVu Serif"));
    emit combo.activated(combo.currentIndex());
    EXPECT_EQ(text().m_strFont, QStringLiteral("DejaVu Serif"));
    EXPECT_NE(g_pCurrentText->m_rcObject.Width, fWidth);
    ASSERT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_FONT}));
    EXPECT_EQ(undo().RecordAt(1)->strOldFont, QStringLiteral("Arial"));
    EXPECT_EQ(undo().RecordAt(1)->strNewFont, QStringLiteral("DejaVu Serif"));
    ASSERT_TRUE(undo().Undo(m_pCanvas->width()));
    EXPECT_EQ(text().m_strFont, QStringLiteral("Arial"));
    EXPECT_FLOAT_EQ(g_pCurrentText->m_rcObject.Width, fWidth);
}

TEST_F(CateTextTest, TheFontListAndPickingTheFontTheTextHas)
{
    QComboBox& combo = *panel().m_comboFont;
    QStringList listed;
    for (int i = 0; i < combo.count(); ++i) {
        listed.append(combo.itemText(i));
        EXPECT_EQ(combo.itemData(i, Qt::FontRole).value<QFont>().family(), combo.itemText(i));
    }
    EXPECT_EQ(listed, InstalledFontFamilies());

    // "Arial" shows as the family standing in for it; picking that entry keeps the text's font.
    ASSERT_EQ(combo.currentText(), OfferedFamilyFor(listed, QStringLiteral("Arial")));
    m_window.m_vecMessages.clear();
    emit combo.activated(combo.currentIndex());
    EXPECT_EQ(text().m_strFont, QStringLiteral("Arial"));
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD}));

    combo.setCurrentText(QStringLiteral("DejaVu Serif"));
    emit combo.activated(combo.currentIndex());
    emit combo.activated(combo.currentIndex());
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_FONT}));
    // Only the real change reached the main window as a change of the card.
    int nChanges = 0;
    for (const auto& message : m_window.m_vecMessages)
        nChanges += message.nMessage == WM_DOCCHANGED;
    EXPECT_EQ(nChanges, 1);
}

TEST_F(CateTextTest, ShadowControlsFollowTheCheckAcrossSync)
{
    struct Case {
        const char* pszName;
        bool bTickedBefore;
        int bShadow;
        bool bReset;
    };
    const Case cases[] = {
        {"unticked, then a text with shadow", false, 1, false},
        {"unticked, then a text without", false, 0, false},
        {"ticked, then a text without", true, 0, false},
        {"ticked, then a text with", true, 1, false},
        {"unticked, then the defaults", false, 0, true},
        {"ticked, then the defaults", true, 0, true},
    };
    for (const Case& c : cases) {
        if (panel().m_chkShadow->isChecked() != c.bTickedBefore)
            Click(panel().m_chkShadow);
        text().m_bShadow = c.bShadow;
        panel().SyncFromText(c.bReset);
        const bool bTicked = panel().m_chkShadow->isChecked();
        EXPECT_EQ(bTicked, c.bReset || c.bShadow != 0) << c.pszName;
        EXPECT_EQ(panel().m_sliderShadowX->isEnabled(), bTicked) << c.pszName;
        EXPECT_EQ(panel().m_sliderShadowY->isEnabled(), bTicked) << c.pszName;
        EXPECT_EQ(panel().m_btnShadowColor->isEnabled(), bTicked) << c.pszName;
    }

    // "Add new text" after unticking offers the shadow controls at once, with no steps to get them back.
    Click(panel().m_chkShadow);
    ASSERT_FALSE(panel().m_sliderShadowX->isEnabled());
    const int nSteps = undo().Count();
    Click(panel().m_btnAddText);
    EXPECT_TRUE(panel().m_chkShadow->isChecked());
    EXPECT_TRUE(panel().m_sliderShadowX->isEnabled());
    EXPECT_TRUE(panel().m_btnShadowColor->isEnabled());
    EXPECT_EQ(undo().Count(), nSteps + 1) << "the new text only";
}

TEST_F(CateTextTest, ShadowCheckTurnsTheShadowAndItsControlsOff)
{
    Click(panel().m_chkShadow);
    EXPECT_FALSE(panel().m_chkShadow->isChecked());
    EXPECT_EQ(text().m_bShadow, 0);
    EXPECT_FALSE(panel().m_sliderShadowX->isEnabled());
    EXPECT_FALSE(panel().m_sliderShadowY->isEnabled());
    EXPECT_FALSE(panel().m_btnShadowColor->isEnabled());
    Click(panel().m_chkShadow);
    EXPECT_EQ(text().m_bShadow, 1);
    EXPECT_TRUE(panel().m_btnShadowColor->isEnabled());
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_SHADOW, UNDO_SHADOW}));
}

TEST_F(CateTextTest, DraggingTheSizeThumbChangesTheTextLiveAndIsOneStep)
{
    WSlider& slider = *panel().m_sliderSize;
    const QPoint ptThumb = slider.m_rcSliderThumb.center();
    std::vector<int> sizes;
    QTest::mousePress(&slider, Qt::LeftButton, Qt::NoModifier, ptThumb);
    for (int x = ptThumb.x() + 20; x <= slider.width() + 20; x += 20) {
        QTest::mouseMove(&slider, {x, ptThumb.y()});
        sizes.push_back(text().m_nSize);
    }
    QTest::mouseRelease(&slider, Qt::LeftButton, Qt::NoModifier, {slider.width() + 20, ptThumb.y()});
    ASSERT_GE(sizes.size(), 4u);
    for (size_t i = 1; i < sizes.size(); ++i)
        EXPECT_GE(sizes[i], sizes[i - 1]);
    EXPECT_GT(sizes.back(), 80);
    EXPECT_EQ(text().m_nSize, panel().SliderValue(slider));
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_SIZE}));
    EXPECT_EQ(undo().RecordAt(1)->nOldSize, 24);
    EXPECT_EQ(undo().RecordAt(1)->nNewSize, text().m_nSize);

    // A shadow slider moved and put back where it was records nothing.
    WSlider& shadowX = *panel().m_sliderShadowX;
    const QPoint ptShadow = shadowX.m_rcSliderThumb.center();
    QTest::mousePress(&shadowX, Qt::LeftButton, Qt::NoModifier, ptShadow);
    QTest::mouseMove(&shadowX, ptShadow + QPoint(30, 0));
    EXPECT_GT(text().m_nShadowX, 1);
    QTest::mouseMove(&shadowX, ptShadow);
    QTest::mouseRelease(&shadowX, Qt::LeftButton, Qt::NoModifier, ptShadow);
    EXPECT_EQ(Kinds(), (std::vector<int> {UNDO_ADD, UNDO_SIZE}));
}

TEST_F(CateTextTest, SyncShowsTheCurrentTextAndHandlersWithoutOneDoNothing)
{
    CTextPanel& t = text();
    t.m_strText = QStringLiteral("Dear Ann");
    t.m_nSize = 40;
    t.m_clrText = 0xFF102030;
    t.m_bItalic = 1;
    t.m_nAlign = 2;
    t.m_bShadow = 0;
    t.m_nShadowX = 4;
    panel().SyncFromText(false);
    EXPECT_EQ(panel().m_editText->toPlainText(), QStringLiteral("Dear Ann"));
    EXPECT_EQ(panel().m_sliderSize->m_nPos, 40);
    EXPECT_EQ(panel().m_btnColor->Color(), QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(panel().m_btnItalic->m_bPressed, 1);
    EXPECT_EQ(panel().m_btnRight->m_bPressed, 1);
    EXPECT_EQ(panel().m_btnLeft->m_bPressed, 0);
    EXPECT_FALSE(panel().m_chkShadow->isChecked());
    EXPECT_EQ(panel().m_sliderShadowX->m_nPos, 4);
    // Showing a text is not typing it.
    EXPECT_FALSE(panel().m_bTyped);
    EXPECT_EQ(undo().Count(), 1);

    panel().SyncFromText(true);
    EXPECT_TRUE(panel().m_editText->toPlainText().isEmpty());
    EXPECT_TRUE(panel().m_btnColor->IsAutomatic());
    EXPECT_EQ(panel().m_btnLeft->m_bPressed, 1);

    g_pCurrentText = nullptr;
    panel().SyncFromText(false);
    Click(panel().m_btnBold);
    Click(panel().m_btnCenter);
    panel().m_btnColor->ChooseColor(Qt::red);
    panel().OnFontChanged();
    panel().OnSliderNotify(0, 1);
    panel().OnSliderNotify(0, 3);
    EXPECT_EQ(undo().Count(), 1);
    EXPECT_EQ(t.m_bBold, 0);
}

} // namespace
