#include <gtest/gtest.h>

#include <ostream>

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QTest>
#include <QTreeView>

#include "document/textpanel.h"
#include "document/undohistory.h"
#include "panels/shellphoto.h"
#include "panels/thumblist.h"
#include "platform/messages.h"
#include "shell/windowgeometry.h"
#include "shell/windowshape.h"
#include "tests/shell/mainwindowfixture.h"

namespace {

struct ButtonPlace {
    int nId;
    const char* pszText;
    const char* pszSkin;
    // x and width are measured from the left edge, or from the right edge W when bFromRight is set.
    int x;
    int y;
    int nWidth;
    int nHeight;
    bool bFromRight;
};

const ButtonPlace kButtons[] = {
    {IDC_BTN_NEW, "New", "new.bmp", 20, 40, 40, 40, false},
    {IDC_BTN_OPEN, "Open", "open.bmp", 70, 40, 40, 40, false},
    {IDC_BTN_SAVE, "Save", "save.bmp", 120, 40, 40, 40, false},
    {IDC_BTN_UNDO, "Undo", "undo.bmp", 190, 40, 40, 40, false},
    {IDC_BTN_REDO, "Redo", "redo.bmp", 230, 40, 40, 40, false},
    {IDC_BTN_PREVIEW, "Preview", "preview.bmp", 300, 40, 40, 40, false},
    {IDC_BTN_PRINT, "Print", "print.bmp", 345, 40, 40, 40, false},
    {IDC_BTN_EXPORT, "Export", "export.bmp", 390, 40, 40, 40, false},
    {IDC_BTN_HELP, "H", "help.bmp", 40, 40, 30, 40, true},
    {IDC_BTN_MIN, "--", "min.bmp", 63, 8, 12, 13, true},
    {IDC_BTN_MAX, "+", "max.bmp", 44, 8, 12, 13, true},
    {IDC_BTN_CLOSE, "X", "close.bmp", 26, 8, 13, 13, true},
    {IDC_BTN_CATE_IMAGE, "Image", "cate_image.bmp", 10, 100, 85, 32, false},
    {IDC_BTN_CATE_TEXT, "Text", "cate_text.bmp", 105, 100, 85, 32, false},
};

// Checks every control against the layout for a client of W x H.
void ExpectLayout(CPalenkoDlg& dlg, int W, int H)
{
    ASSERT_EQ(dlg.size(), QSize(W, H));
    for (const ButtonPlace& place : kButtons) {
        SCOPED_TRACE(place.pszText);
        const CButtonX* pButton = dlg.Button(place.nId);
        ASSERT_NE(pButton, nullptr);
        const int x = place.bFromRight ? W - place.x : place.x;
        EXPECT_EQ(pButton->geometry(), QRect(x, place.y, place.nWidth, place.nHeight));
        EXPECT_EQ(pButton->text(), QLatin1String(place.pszText));
        EXPECT_TRUE(pButton->m_strSkin.endsWith(QStringLiteral("/Skins/") + QLatin1String(place.pszSkin)));
    }
    EXPECT_EQ(dlg.m_pCateImage->geometry(), QRect(10, 132, 180, H - 142));
    EXPECT_EQ(dlg.m_pCateText->geometry(), QRect(10, 132, 180, H - 142));
    EXPECT_EQ(dlg.m_rcCanvasArea, QRect(210, 100, W - 220, H - 110));
}

TEST_F(MainWindowTest, ControlsAt960x700)
{
    CPalenkoDlg& dlg = MakeWindow();
    EXPECT_EQ(dlg.geometry(), QRect(0, 0, 960, 700));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Velomira"));
    EXPECT_TRUE(dlg.windowFlags() & Qt::FramelessWindowHint);
    ExpectLayout(dlg, 960, 700);

    // No card yet: the canvas waits hidden, the image panel and its tab are on.
    EXPECT_TRUE(canvas().isHidden());
    EXPECT_EQ(g_pCanvas, &canvas());
    EXPECT_EQ(dlg.m_nPanel, 1);
    EXPECT_FALSE(dlg.m_pCateImage->isHidden());
    EXPECT_TRUE(dlg.m_pCateText->isHidden());
    EXPECT_EQ(dlg.m_btnCateImage->m_bPressed, 1);
    EXPECT_EQ(dlg.m_btnCateText->m_bPressed, 0);
    EXPECT_EQ(dlg.m_btnCateImage->m_bLatch, 1);
    EXPECT_EQ(dlg.m_btnCateText->m_bLatch, 1);

    // Save, Undo and Redo wait for a change; preview, printing and export are not available yet.
    for (const CButtonX* pButton :
        {dlg.m_btnSave, dlg.m_btnUndo, dlg.m_btnRedo, dlg.m_btnPreview, dlg.m_btnPrint, dlg.m_btnExport}) {
        EXPECT_EQ(pButton->m_bEnabled, 0) << pButton->text().toStdString();
        EXPECT_FALSE(pButton->isEnabled()) << pButton->text().toStdString();
    }
    for (const CButtonX* pButton : {dlg.m_btnNew, dlg.m_btnOpen, dlg.m_btnHelp, dlg.m_btnClose})
        EXPECT_TRUE(pButton->isEnabled()) << pButton->text().toStdString();
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk"));
}

TEST_F(MainWindowTest, ControlsAndCanvasFollowAResize)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    // An 800 x 400 card in the 740 x 590 area, 10 px in from each side: 720 x 360, centred vertically.
    EXPECT_EQ(dlg.m_nCardWidth, 800);
    EXPECT_EQ(dlg.m_nCardHeight, 400);
    EXPECT_FALSE(canvas().isHidden());
    EXPECT_EQ(canvas().geometry(), QRect(220, 215, 720, 360));
    const RectF rcBefore = doc().m_vecObjects[1]->m_rcObject;

    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.resize(1100, 800);
    QCoreApplication::processEvents();
    ExpectLayout(dlg, 1100, 800);
    // Now 860 x 430 in the 880 x 690 area; the objects are rescaled with the canvas.
    EXPECT_EQ(canvas().geometry(), QRect(220, 230, 860, 430));
    EXPECT_EQ(doc().m_szClient, QSize(860, 430));
    const RectF rcAfter = doc().m_vecObjects[1]->m_rcObject;
    EXPECT_NEAR(rcAfter.X, rcBefore.X * 860 / 720, 0.01);
    EXPECT_NEAR(rcAfter.Width, rcBefore.Width * 860 / 720, 0.01);
    EXPECT_NEAR(rcAfter.Height, rcBefore.Height * 430 / 360, 0.01);
    // The rounded shape follows the new size.
    const QImage window = dlg.RenderWindow();
    EXPECT_EQ(qAlpha(window.pixel(1095, 400)), 255);
    EXPECT_EQ(qAlpha(window.pixel(1099, 799)), 0);
}

TEST_F(MainWindowTest, TheWindowIsARoundedShapeWithSmoothCornersAndNoGap)
{
    CPalenkoDlg& dlg = MakeWindow();
    EXPECT_TRUE(dlg.testAttribute(Qt::WA_TranslucentBackground));
    EXPECT_TRUE(dlg.mask().isEmpty()) << "no 1-bit region";
    EXPECT_FALSE(dlg.isModal());
    for (const qreal dRatio : {1.0, 2.0}) {
        SCOPED_TRACE(dRatio);
        const QImage window = dlg.RenderWindow(dRatio);
        ASSERT_EQ(window.size(), QSize(960, 700) * dRatio);
        const auto alpha = [&](int x, int y) { return qAlpha(window.pixel(int(x * dRatio), int(y * dRatio))); };
        // Every edge is covered to its first pixel, left edge included; only the corners are cut.
        for (const QPoint pt : {QPoint(0, 350), QPoint(959, 350), QPoint(480, 0), QPoint(480, 699)})
            EXPECT_EQ(alpha(pt.x(), pt.y()), 255) << pt.x() << "," << pt.y();
        for (const QPoint pt : {QPoint(0, 0), QPoint(959, 0), QPoint(0, 699), QPoint(959, 699)})
            EXPECT_EQ(alpha(pt.x(), pt.y()), 0) << pt.x() << "," << pt.y();
        // The curve is anti-aliased: partly covered pixels along it.
        int nPartial = 0;
        for (int y = 0; y < window.height(); ++y) {
            for (int x = 0; x < int(6 * dRatio); ++x)
                nPartial += qAlpha(window.pixel(x, y)) > 0 && qAlpha(window.pixel(x, y)) < 255;
        }
        EXPECT_GE(nPartial, 3);
    }
    // On a desktop that shows see-through pixels black, the mask keeps the pixels painted whole (to
    // within rounding) and cuts every see-through one.
    EXPECT_TRUE(DesktopBlendsWindows()) << "offscreen blends";
    const QImage window = dlg.RenderWindow();
    const QRegion region = ShapeRegion(CPalenkoDlg::WindowShape(dlg.size()), dlg.size());
    int nCut = 0;
    for (const QPoint corner : {QPoint(0, 0), QPoint(952, 0), QPoint(0, 692), QPoint(952, 692)}) {
        for (int y = corner.y(); y < corner.y() + 8; ++y) {
            for (int x = corner.x(); x < corner.x() + 8; ++x) {
                const bool bKept = region.contains(QPoint(x, y));
                const int nAlpha = qAlpha(window.pixel(x, y));
                EXPECT_TRUE(bKept ? nAlpha >= 250 : nAlpha < 255) << x << "," << y << ": " << nAlpha;
                nCut += !bKept;
            }
        }
    }
    EXPECT_GE(nCut, 4 * 6);
    EXPECT_TRUE(region.contains(QRect(8, 8, 944, 684)));
}

TEST_F(MainWindowTest, PaintsTitleBandPanelAndCanvasArea)
{
    CPalenkoDlg& dlg = MakeWindow();
    const QImage window = dlg.RenderWindow();
    ASSERT_EQ(window.size(), QSize(960, 700));
    // Without skin pictures the fills show through.
    EXPECT_EQ(window.pixel(700, 15), 0xFF706D73u);
    EXPECT_EQ(window.pixel(100, 400), 0xFFEFEFF1u);
    EXPECT_EQ(window.pixel(500, 400), 0xFF444343u);
    EXPECT_EQ(window.pixel(955, 695), 0xFFEFEFF1u);
    EXPECT_EQ(window.pixel(500, 92), 0xFFEFEFF1u);
    // The title is written in white in the title strip.
    int nWhite = 0;
    for (int y = 7; y < 30; ++y) {
        for (int x = 30; x < 230; ++x)
            nWhite += qRed(window.pixel(x, y)) > 240 && qBlue(window.pixel(x, y)) > 240;
    }
    EXPECT_GT(nWhite, 50);
}

TEST_F(MainWindowTest, TitleShowsFileNameAndModifiedMark)
{
    CPalenkoDlg& dlg = MakeWindow();
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk"));
    dlg.OpenTemplateChooser(true);
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk"));
    m_prompts.m_strTemplate = m_strTemplate;
    ASSERT_TRUE(dlg.OpenTemplateChooser(true));
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk(*)"));
    m_app.m_strCurrentFile = tree.path(QStringLiteral("cards/card.plk"));
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - card.plk(*)"));
    canvas().m_bModified = 0;
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - card.plk"));
}

struct UndoStateCase {
    qintptr nCurrent;
    qintptr nLast;
    bool bUndo;
    bool bRedo;
};

void PrintTo(const UndoStateCase& c, std::ostream* pOut)
{
    *pOut << "(" << c.nCurrent << "," << c.nLast << ")";
}

class UndoStateTest : public MainWindowTest, public ::testing::WithParamInterface<UndoStateCase> { };

TEST_P(UndoStateTest, SetsUndoRedoAndMarksTheCard)
{
    const UndoStateCase& c = GetParam();
    CPalenkoDlg& dlg = MakeWindow();
    // Start from the opposite states, so that each one is really set.
    dlg.m_btnUndo->EnableButton(!c.bUndo);
    dlg.m_btnRedo->EnableButton(!c.bRedo);
    EXPECT_EQ(SendAppMessage(&dlg, WM_UNDOSTATE, c.nCurrent, c.nLast), 0);
    EXPECT_EQ(dlg.m_btnUndo->m_bEnabled, int(c.bUndo));
    EXPECT_EQ(dlg.m_btnUndo->isEnabled(), c.bUndo);
    EXPECT_EQ(dlg.m_btnRedo->m_bEnabled, int(c.bRedo));
    EXPECT_EQ(dlg.m_btnRedo->isEnabled(), c.bRedo);
    EXPECT_EQ(canvas().m_bModified, 1);
    EXPECT_TRUE(dlg.m_btnSave->isEnabled());
    EXPECT_TRUE(dlg.TitleText().endsWith(QStringLiteral("(*)")));
}

INSTANTIATE_TEST_SUITE_P(States, UndoStateTest,
    ::testing::Values(UndoStateCase {-1, -1, false, false}, UndoStateCase {0, 0, true, false},
        UndoStateCase {-1, 2, false, true}, UndoStateCase {1, 3, true, true}));

TEST_F(MainWindowTest, DocChangedMarksTheCardOnce)
{
    CPalenkoDlg& dlg = MakeWindow();
    ASSERT_EQ(canvas().m_bModified, 0);
    ASSERT_FALSE(dlg.m_btnSave->isEnabled());
    EXPECT_EQ(SendAppMessage(&dlg, WM_DOCCHANGED, 0, 0), 0);
    EXPECT_EQ(canvas().m_bModified, 1);
    EXPECT_EQ(dlg.m_btnSave->m_bEnabled, 1);
    EXPECT_TRUE(dlg.m_btnSave->isEnabled());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk(*)"));
    // Undo and Redo are the undo state's business, not the change notice's.
    EXPECT_FALSE(dlg.m_btnUndo->isEnabled());
    EXPECT_FALSE(dlg.m_btnRedo->isEnabled());
}

TEST_F(MainWindowTest, TabButtonsSwitchPanels)
{
    CPalenkoDlg& dlg = MakeWindow();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.m_btnCateText, Qt::LeftButton);
    EXPECT_EQ(dlg.m_nPanel, 2);
    EXPECT_TRUE(dlg.m_pCateImage->isHidden());
    EXPECT_FALSE(dlg.m_pCateText->isHidden());
    EXPECT_EQ(dlg.m_btnCateImage->m_bPressed, 0);
    EXPECT_EQ(dlg.m_btnCateText->m_bPressed, 1);
    // A click on the tab that is already on leaves it pressed.
    QTest::mouseClick(dlg.m_btnCateText, Qt::LeftButton);
    EXPECT_EQ(dlg.m_nPanel, 2);
    EXPECT_EQ(dlg.m_btnCateText->m_bPressed, 1);
    QTest::mouseClick(dlg.m_btnCateImage, Qt::LeftButton);
    EXPECT_EQ(dlg.m_nPanel, 1);
    EXPECT_FALSE(dlg.m_pCateImage->isHidden());
    EXPECT_TRUE(dlg.m_pCateText->isHidden());
    EXPECT_EQ(dlg.m_btnCateImage->m_bPressed, 1);
    EXPECT_EQ(dlg.m_btnCateText->m_bPressed, 0);
}

TEST_F(MainWindowTest, CanvasSelectionSwitchesPanelsAndCurrentText)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    auto pText = std::make_unique<TheData>();
    pText->m_nType = OBJ_TEXT;
    pText->m_pText = std::make_unique<CTextPanel>();
    pText->m_rcObject = {30, 30, 100, 40};
    TheData* pAdded = canvas().AddObject(std::move(pText), 0);

    // A text object selected while the image panel is on: the text panel takes over.
    doc().m_nSelected = pAdded->m_nIndex;
    SendAppMessage(&dlg, WM_CANVAS_SELECT, 0, 1);
    EXPECT_EQ(g_pCurrentText, pAdded);
    EXPECT_EQ(dlg.m_nPanel, 2);
    EXPECT_FALSE(dlg.m_pCateText->isHidden());
    EXPECT_TRUE(dlg.m_pCateImage->isHidden());

    // Cleared while the text panel is on: no current text, the panel stays.
    SendAppMessage(&dlg, WM_CANVAS_SELECT, 0, 0);
    EXPECT_EQ(g_pCurrentText, nullptr);
    EXPECT_EQ(dlg.m_nPanel, 2);

    // Another object selected: back to the image panel.
    g_pCurrentText = pAdded;
    doc().m_nSelected = 0;
    SendAppMessage(&dlg, WM_CANVAS_SELECT, 0, 2);
    EXPECT_EQ(g_pCurrentText, nullptr);
    EXPECT_EQ(dlg.m_nPanel, 1);
    EXPECT_FALSE(dlg.m_pCateImage->isHidden());
    EXPECT_EQ(dlg.m_btnCateImage->m_bPressed, 1);

    // Cleared while the image panel is on: the current text is the text panel's own business.
    g_pCurrentText = pAdded;
    SendAppMessage(&dlg, WM_CANVAS_SELECT, 0, 0);
    EXPECT_EQ(g_pCurrentText, pAdded);
    EXPECT_EQ(dlg.m_nPanel, 1);
}

TEST_F(MainWindowTest, TextPanelIsShownAndFilledForTheSelectedText)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    CateText& panel = *dlg.m_pCateText;

    // The Text tab with no text selected: only "Add new text".
    QTest::mouseClick(dlg.m_btnCateText, Qt::LeftButton);
    EXPECT_TRUE(panel.m_editText->isHidden());
    EXPECT_FALSE(panel.m_btnAddText->isHidden());

    QTest::mouseClick(panel.m_btnAddText, Qt::LeftButton);
    TheData* pText = g_pCurrentText;
    ASSERT_TRUE(pText);
    EXPECT_EQ(doc().SelectedObject(), pText);
    EXPECT_FALSE(panel.m_editText->isHidden());
    EXPECT_EQ(panel.m_editText->toPlainText(), QStringLiteral("Sample Text"));
    EXPECT_TRUE(dlg.m_btnUndo->isEnabled());

    // Another object: the image panel; the text again: the text panel, filled from it.
    const QPointF ptElement = doc().m_vecObjects[1]->m_rcObject.centre();
    canvas().OnLButtonDown(ptElement.toPoint());
    canvas().OnLButtonUp();
    EXPECT_EQ(dlg.m_nPanel, 1);
    EXPECT_EQ(g_pCurrentText, nullptr);
    pText->m_pText->m_strText = QStringLiteral("Hello");
    pText->m_pText->m_bBold = 1;
    canvas().OnLButtonDown({32, 32});
    canvas().OnLButtonUp();
    EXPECT_EQ(dlg.m_nPanel, 2);
    EXPECT_EQ(g_pCurrentText, pText);
    EXPECT_EQ(panel.m_editText->toPlainText(), QStringLiteral("Hello"));
    EXPECT_EQ(panel.m_btnBold->m_bPressed, 1);

    // Cleared while the text panel is on: the editing controls go.
    canvas().Deselect();
    EXPECT_TRUE(panel.m_editText->isHidden());
    EXPECT_EQ(g_pCurrentText, nullptr);
}

TEST_F(MainWindowTest, ImagePanelOffersTheResourcesAndFillsThePlaceholders)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const MiscPanel& misc = *dlg.m_pCateImage->m_pMiscPanel;
    EXPECT_EQ(misc.m_listFrame->m_files, QStringList({tree.resource("frame/oval.png")}));
    EXPECT_EQ(misc.m_listElem->m_files, QStringList({tree.resource("clipart/bell.png")}));

    // A double-click on the empty frame asks for a picture through the window's dialogs.
    TestFiles files;
    m_prompts.m_strOpenAnswer = files.photo(QStringLiteral("me.jpg"), 400, 300);
    const QPoint ptFrame = doc().m_vecObjects[0]->m_rcObject.centre().toPoint();
    canvas().OnLButtonDown(ptFrame);
    canvas().OnLButtonUp();
    canvas().OnLButtonDblClk();
    EXPECT_EQ(m_prompts.m_nOpenDialogs, 1);
    EXPECT_TRUE(m_prompts.m_strLastFilter.contains(QStringLiteral("*.tiff")));
    EXPECT_EQ(doc().m_vecObjects[0]->m_strPhoto, m_prompts.m_strOpenAnswer);
    EXPECT_TRUE(dlg.m_btnUndo->isEnabled());
    EXPECT_TRUE(dlg.TitleText().endsWith(QStringLiteral("(*)")));

    // Clip-art dragged from the panel is added on top.
    QMimeData data;
    data.setText(QStringLiteral("elem@") + misc.m_listElem->m_files.front());
    QDropEvent drop(ptFrame, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(ptFrame, Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&canvas(), &enter);
    QCoreApplication::sendEvent(&canvas(), &drop);
    ASSERT_EQ(doc().m_vecObjects.size(), 3u);
    EXPECT_EQ(doc().m_vecObjects[2]->m_nType, OBJ_ELEMENT);
}

TEST_F(MainWindowTest, HotKeysFollowTheCanvasRequests)
{
    CPalenkoDlg& dlg = MakeWindow();
    ASSERT_EQ(dlg.m_vecHotKeys.size(), 8u);
    const QKeySequence keys[] = {QKeySequence(Qt::Key_Left), QKeySequence(Qt::Key_Up), QKeySequence(Qt::Key_Right),
        QKeySequence(Qt::Key_Down), QKeySequence(Qt::Key_Delete), QKeySequence(QStringLiteral("Ctrl+Z")),
        QKeySequence(QStringLiteral("Ctrl+Shift+Z")), QKeySequence(QStringLiteral("Ctrl+S"))};
    // The arrows and Delete wait for the canvas; undo, redo and save work from the start.
    for (size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(dlg.m_vecHotKeys[i]->key(), keys[i]) << i;
        EXPECT_EQ(dlg.m_vecHotKeys[i]->context(), Qt::WindowShortcut) << i;
        EXPECT_EQ(dlg.m_vecHotKeys[i]->isEnabled(), i >= 5) << i;
    }
    // The Ctrl keys act once per press.
    EXPECT_FALSE(dlg.m_vecHotKeys[5]->autoRepeat());
    EXPECT_FALSE(dlg.m_vecHotKeys[7]->autoRepeat());

    SendAppMessage(&dlg, WM_CANVAS_HOTKEYS, 0, 1);
    for (const QShortcut* pHotKey : dlg.m_vecHotKeys)
        EXPECT_TRUE(pHotKey->isEnabled());
    SendAppMessage(&dlg, WM_CANVAS_HOTKEYS, 0, 0);
    for (size_t i = 0; i < 8; ++i)
        EXPECT_EQ(dlg.m_vecHotKeys[i]->isEnabled(), i >= 5) << i;

    // Every toolbar button names its key.
    const std::pair<CButtonX*, const char*> tips[] = {{dlg.m_btnNew, "(Ctrl+N)"}, {dlg.m_btnOpen, "(Ctrl+O)"},
        {dlg.m_btnSave, "(Ctrl+S)"}, {dlg.m_btnUndo, "Undo (Ctrl+Z)"}, {dlg.m_btnRedo, "Redo (Ctrl+Shift+Z)"},
        {dlg.m_btnPreview, "(F11)"}, {dlg.m_btnPrint, "(Ctrl+P)"}, {dlg.m_btnExport, "(Ctrl+E)"}};
    for (const auto& [pButton, pszTip] : tips)
        EXPECT_TRUE(pButton->toolTip().endsWith(QLatin1String(pszTip))) << pButton->toolTip();
}

TEST_F(MainWindowTest, HotKeysActOnlyWhileRegistered)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    canvas().Select(1);
    const RectF rcStart = doc().m_vecObjects[1]->m_rcObject;

    // Not registered (the card just opened held them until now): the arrows do nothing.
    SendAppMessage(&dlg, WM_CANVAS_HOTKEYS, 0, 0);
    QTest::keyClick(&dlg, Qt::Key_Right);
    EXPECT_EQ(doc().m_vecObjects[1]->m_rcObject, rcStart);

    SendAppMessage(&dlg, WM_CANVAS_HOTKEYS, 0, 1);
    QTest::keyClick(&dlg, Qt::Key_Right);
    QTest::keyClick(&dlg, Qt::Key_Down);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.X, rcStart.X + 1);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.Y, rcStart.Y + 1);
    EXPECT_TRUE(dlg.m_btnUndo->isEnabled());

    // Ctrl+Z undoes the last step (and clears the selection first); Ctrl+Shift+Z repeats it.
    QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.Y, rcStart.Y);
    EXPECT_EQ(doc().m_nSelected, -1);
    QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.Y, rcStart.Y + 1);
    // Ctrl+Y redoes as well.
    QTest::keyClick(&dlg, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.Y, rcStart.Y);
    QTest::keyClick(&dlg, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.Y, rcStart.Y + 1);

    // Delete with nothing selected does nothing.
    QTest::keyClick(&dlg, Qt::Key_Delete);
    EXPECT_EQ(doc().m_vecObjects[1]->m_bDeleted, 0);
    canvas().Select(1);
    SendAppMessage(&dlg, WM_CANVAS_HOTKEYS, 0, 1);
    QTest::keyClick(&dlg, Qt::Key_Delete);
    EXPECT_EQ(doc().m_vecObjects[1]->m_bDeleted, 1);

    // Ctrl+S saves to the card's file without a dialog.
    m_app.m_strCurrentFile = tree.path(QStringLiteral("hotkey.plk"));
    QTest::keyClick(&dlg, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(m_app.m_strCurrentFile));
    EXPECT_EQ(m_prompts.m_nSaveDialogs, 0);
    EXPECT_EQ(canvas().m_bModified, 0);

    // Released: the arrows no longer move the card's objects; Ctrl+S still saves.
    SendAppMessage(&dlg, WM_CANVAS_HOTKEYS, 0, 0);
    canvas().Select(0);
    const RectF rcFirst = doc().m_vecObjects[0]->m_rcObject;
    QTest::keyClick(&dlg, Qt::Key_Left);
    EXPECT_EQ(doc().m_vecObjects[0]->m_rcObject, rcFirst);
    QFile::remove(m_app.m_strCurrentFile);
    QTest::keyClick(&dlg, Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(QFile::exists(m_app.m_strCurrentFile));
}

struct KeyCase {
    const char* pszOwner;
    QKeyCombination key;
    // The card's move step undone, a step redone, the card saved, the selection moved left.
    enum Effect { Undone, Redone, Saved, Moved, Nothing } effect;
};

void PrintTo(const KeyCase& c, std::ostream* pOut)
{
    *pOut << c.pszOwner << " " << QKeySequence(c.key).toString().toStdString();
}

class KeyAnywhereTest : public MainWindowTest, public ::testing::WithParamInterface<KeyCase> { };

// The focus owner of a row: the canvas, the photo list, the folder tree, the window itself (after a
// click on its dark area or a toolbar button, which take no focus) or the text box.
QWidget* FocusOwner(CPalenkoDlg& dlg, const char* pszOwner)
{
    const QString strOwner = QLatin1String(pszOwner);
    if (strOwner == QLatin1String("canvas"))
        return dlg.m_pCanvas;
    if (strOwner == QLatin1String("photo list"))
        return dlg.m_pCateImage->m_pShellPhoto->m_listPhoto;
    if (strOwner == QLatin1String("folder tree"))
        return dlg.m_pCateImage->m_pShellPhoto->m_shellTree;
    if (strOwner == QLatin1String("text box")) {
        // The box shows for a text: a new one.
        dlg.m_pCateText->m_btnAddText->click();
        return dlg.m_pCateText->m_editText;
    }
    return &dlg;
}

TEST_P(KeyAnywhereTest, CommandKeysWorkWhereverTheFocusIs)
{
    const KeyCase& c = GetParam();
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    // Opening a card gives the canvas the focus, and with it the arrows.
    EXPECT_TRUE(canvas().hasFocus());
    EXPECT_TRUE(dlg.m_vecHotKeys[0]->isEnabled());

    // One recorded move; a redo row starts from its undo, an arrow row with the bell selected.
    TheData& bell = *doc().m_vecObjects[1];
    const RectF rcStart = bell.m_rcObject;
    canvas().Select(1);
    canvas().NudgeSelection(3);
    if (c.effect == KeyCase::Redone)
        dlg.OnUndo();
    canvas().Select(1);
    QWidget* pOwner = FocusOwner(dlg, c.pszOwner);
    const RectF rcBefore = bell.m_rcObject;
    const CUndoHistory& undo = *doc().m_pUndo;
    const int nCurrent = undo.Current();
    const int nCount = undo.Count();
    m_app.m_strCurrentFile = tree.path(QStringLiteral("anywhere.plk"));

    pOwner->setFocus();
    ASSERT_TRUE(WaitFor([pOwner] { return QApplication::focusWidget() == pOwner; })) << c.pszOwner;
    QTest::keyClick(pOwner, c.key.key(), c.key.keyboardModifiers());

    KeyCase::Effect observed = KeyCase::Nothing;
    if (QFile::exists(m_app.m_strCurrentFile))
        observed = KeyCase::Saved;
    else if (undo.Count() > nCount)
        observed = KeyCase::Moved;
    else if (undo.Current() < nCurrent)
        observed = KeyCase::Undone;
    else if (undo.Current() > nCurrent)
        observed = KeyCase::Redone;
    EXPECT_EQ(observed, c.effect);
    const RectF rcAfter = bell.m_rcObject;
    if (observed == KeyCase::Undone || observed == KeyCase::Redone)
        EXPECT_EQ(rcAfter,
            observed == KeyCase::Undone ? rcStart : RectF(rcStart.X + 1, rcStart.Y, rcStart.Width, rcStart.Height));
    else if (observed == KeyCase::Moved)
        EXPECT_FLOAT_EQ(rcAfter.X, rcBefore.X - 1);
    else
        EXPECT_EQ(rcAfter, rcBefore);
}

INSTANTIATE_TEST_SUITE_P(Focus, KeyAnywhereTest,
    ::testing::Values(KeyCase {"canvas", Qt::CTRL | Qt::Key_Z, KeyCase::Undone},
        KeyCase {"canvas", Qt::CTRL | Qt::Key_Y, KeyCase::Redone}, KeyCase {"canvas", Qt::Key_Left, KeyCase::Moved},
        KeyCase {"photo list", Qt::CTRL | Qt::Key_Z, KeyCase::Undone},
        KeyCase {"photo list", Qt::CTRL | Qt::SHIFT | Qt::Key_Z, KeyCase::Redone},
        KeyCase {"photo list", Qt::CTRL | Qt::Key_S, KeyCase::Saved},
        KeyCase {"photo list", Qt::Key_Left, KeyCase::Nothing},
        KeyCase {"folder tree", Qt::CTRL | Qt::Key_Z, KeyCase::Undone},
        KeyCase {"folder tree", Qt::CTRL | Qt::Key_Y, KeyCase::Redone},
        KeyCase {"folder tree", Qt::Key_Left, KeyCase::Nothing},
        KeyCase {"window", Qt::CTRL | Qt::Key_Z, KeyCase::Undone},
        KeyCase {"window", Qt::CTRL | Qt::Key_S, KeyCase::Saved},
        KeyCase {"text box", Qt::CTRL | Qt::Key_Z, KeyCase::Nothing},
        KeyCase {"text box", Qt::CTRL | Qt::Key_Y, KeyCase::Nothing},
        KeyCase {"text box", Qt::CTRL | Qt::Key_S, KeyCase::Nothing},
        KeyCase {"text box", Qt::Key_Left, KeyCase::Nothing}));

TEST_F(MainWindowTest, HelpSaysWhichPageOrFolderCouldNotBeOpened)
{
    CPalenkoDlg& dlg = MakeWindow();
    m_prompts.m_bOpens = false;
    for (const int nCommand : {ID_HELP_ONLINE, ID_HELP_FEEDBACK, ID_HELP_OPENLOG})
        dlg.OnHelpCommand(nCommand);
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 3u);
    ASSERT_EQ(m_prompts.m_vecUrls.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const QUrl& url = m_prompts.m_vecUrls[i];
        EXPECT_TRUE(m_prompts.m_vecBoxes[i].strText.contains(url.isLocalFile() ? url.toLocalFile() : url.toString()))
            << m_prompts.m_vecBoxes[i].strText;
    }
    EXPECT_TRUE(m_prompts.m_vecBoxes[2].strText.contains(QLatin1String("log folder")));
    m_prompts.m_bOpens = true;
    dlg.OnHelpCommand(ID_HELP_ONLINE);
    EXPECT_EQ(m_prompts.m_vecBoxes.size(), 3u);
}

struct EdgeCase {
    int x;
    int y;
    int nEdge;
};

void PrintTo(const EdgeCase& c, std::ostream* pOut)
{
    *pOut << "(" << c.x << "," << c.y << ")";
}

class HitEdgeTest : public MainWindowTest, public ::testing::WithParamInterface<EdgeCase> { };

TEST_P(HitEdgeTest, NamesTheBorderUnderThePoint)
{
    const EdgeCase& c = GetParam();
    EXPECT_EQ(MakeWindow().HitEdge(c.x, c.y), c.nEdge) << c.x << "," << c.y;
}

// At 960 x 700 with a 10 px border: the inner rectangle reaches to x 950 and y 690.
INSTANTIATE_TEST_SUITE_P(Border, HitEdgeTest,
    ::testing::Values(EdgeCase {0, 0, 1}, EdgeCase {10, 10, 1}, EdgeCase {5, 300, 8}, EdgeCase {10, 690, 8},
        EdgeCase {10, 691, 7}, EdgeCase {0, 699, 7}, EdgeCase {500, 0, 2}, EdgeCase {11, 10, 2}, EdgeCase {950, 5, 2},
        EdgeCase {951, 10, 3}, EdgeCase {959, 0, 3}, EdgeCase {955, 11, 4}, EdgeCase {955, 690, 4},
        EdgeCase {955, 691, 5}, EdgeCase {500, 695, 6}, EdgeCase {950, 699, 6}));

struct ResizeCase {
    int nEdge;
    QPoint pt;
    QRect rcExpected;
};

void PrintTo(const ResizeCase& c, std::ostream* pOut)
{
    *pOut << "edge " << c.nEdge << " to (" << c.pt.x() << "," << c.pt.y() << ")";
}

class ResizeToTest : public MainWindowTest, public ::testing::WithParamInterface<ResizeCase> { };

TEST_P(ResizeToTest, MovesTheNamedSidesUnlessTooSmall)
{
    const ResizeCase& c = GetParam();
    CPalenkoDlg& dlg = MakeWindow();
    dlg.move(100, 50);
    const QRect rcNormal = dlg.m_rcNormal;
    dlg.m_nEdge = c.nEdge;
    dlg.ResizeTo(c.pt);
    EXPECT_EQ(dlg.geometry(), c.rcExpected);
    if (c.rcExpected == QRect(100, 50, 960, 700))
        EXPECT_EQ(dlg.m_rcNormal, rcNormal);
    else
        EXPECT_EQ(dlg.m_rcNormal, c.rcExpected);
}

// The window stands at (100, 50) with 960 x 700; points are client coordinates.
INSTANTIATE_TEST_SUITE_P(Edges, ResizeToTest,
    ::testing::Values(ResizeCase {4, {650, 300}, {100, 50, 960, 700}}, ResizeCase {4, {699, 300}, {100, 50, 960, 700}},
        ResizeCase {4, {700, 300}, {100, 50, 700, 700}}, ResizeCase {4, {720, 300}, {100, 50, 720, 700}},
        ResizeCase {6, {300, 590}, {100, 50, 960, 700}}, ResizeCase {6, {300, 610}, {100, 50, 960, 610}},
        ResizeCase {1, {-40, -20}, {60, 30, 1000, 720}}, ResizeCase {1, {300, 10}, {100, 50, 960, 700}},
        ResizeCase {3, {1000, 20}, {100, 70, 1000, 680}}, ResizeCase {5, {800, 800}, {100, 50, 800, 800}},
        ResizeCase {7, {-10, 650}, {90, 50, 970, 650}}, ResizeCase {8, {40, 300}, {140, 50, 920, 700}},
        ResizeCase {2, {300, 150}, {100, 50, 960, 700}}, ResizeCase {-1, {800, 800}, {100, 50, 960, 700}}));

void SendMouse(QWidget* pWidget, QEvent::Type type, QPoint pt, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pt), pWidget->mapToGlobal(QPointF(pt)),
        type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(pWidget, &event);
}

TEST_F(MainWindowTest, BorderDragResizesAndKeepsTheMinimum)
{
    CPalenkoDlg& dlg = MakeWindow();
    SendMouse(&dlg, QEvent::MouseButtonPress, {955, 300}, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bResizing, 1);
    EXPECT_EQ(dlg.m_nEdge, 4);
    EXPECT_EQ(dlg.cursor().shape(), Qt::SizeHorCursor);
    // Too narrow on the way: nothing; the release at 720 takes effect.
    for (int i = 0; i < 8; ++i)
        SendMouse(&dlg, QEvent::MouseMove, {650, 300}, Qt::LeftButton);
    EXPECT_EQ(dlg.width(), 960);
    SendMouse(&dlg, QEvent::MouseButtonRelease, {720, 300}, Qt::NoButton);
    EXPECT_EQ(dlg.geometry(), QRect(0, 0, 720, 700));
    EXPECT_EQ(dlg.m_bResizing, 0);
    EXPECT_EQ(dlg.m_nEdge, -1);

    // A press inside the border is no border drag.
    SendMouse(&dlg, QEvent::MouseButtonPress, {300, 300}, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bResizing, 0);
    SendMouse(&dlg, QEvent::MouseButtonRelease, {300, 300}, Qt::NoButton);
}

TEST_F(MainWindowTest, HoverOnTheBorderShowsTheEdgeCursor)
{
    CPalenkoDlg& dlg = MakeWindow();
    SendMouse(&dlg, QEvent::MouseMove, {3, 3}, Qt::NoButton);
    EXPECT_EQ(dlg.m_nEdge, 1);
    EXPECT_EQ(dlg.cursor().shape(), Qt::SizeFDiagCursor);
    SendMouse(&dlg, QEvent::MouseMove, {957, 3}, Qt::NoButton);
    EXPECT_EQ(dlg.cursor().shape(), Qt::SizeBDiagCursor);
    SendMouse(&dlg, QEvent::MouseMove, {500, 697}, Qt::NoButton);
    EXPECT_EQ(dlg.cursor().shape(), Qt::SizeVerCursor);
    SendMouse(&dlg, QEvent::MouseMove, {500, 300}, Qt::NoButton);
    EXPECT_EQ(dlg.cursor().shape(), Qt::ArrowCursor);
}

TEST_F(MainWindowTest, DoubleClickInTheTitleStripMaximisesAndRestores)
{
    CPalenkoDlg& dlg = MakeWindow();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    const QRect rcNormal = dlg.geometry();
    for (const QPoint pt : {QPoint(100, 35), QPoint(5, 15), QPoint(955, 15), QPoint(500, 31)}) {
        SendMouse(&dlg, QEvent::MouseButtonDblClick, pt, Qt::LeftButton);
        EXPECT_EQ(dlg.m_bMaximized, 0) << pt.x() << "," << pt.y();
    }
    SendMouse(&dlg, QEvent::MouseButtonDblClick, {100, 15}, Qt::LeftButton);
    SendMouse(&dlg, QEvent::MouseButtonRelease, {100, 15}, Qt::NoButton);
    EXPECT_EQ(dlg.m_bMaximized, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.geometry(), dlg.screen()->availableGeometry());
    EXPECT_EQ(dlg.m_rcNormal, rcNormal);
    // While maximised the border does not resize.
    SendMouse(&dlg, QEvent::MouseButtonPress, {3, 300}, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bResizing, 0);
    SendMouse(&dlg, QEvent::MouseButtonRelease, {3, 300}, Qt::NoButton);

    SendMouse(&dlg, QEvent::MouseButtonDblClick, {10, 0}, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bMaximized, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.geometry(), rcNormal);
}

TEST_F(MainWindowTest, FirstShowIsCentredOnTheScreen)
{
    CPalenkoDlg& dlg = MakeWindow();
    dlg.resize(600, 500);
    dlg.CentreOnScreen();
    const QRect rcArea = dlg.screen()->availableGeometry();
    EXPECT_LE((dlg.frameGeometry().center() - rcArea.center()).manhattanLength(), 2);
    EXPECT_EQ(CentredWindowPos(QSize(960, 700), QRect(100, 50, 1920, 1080)), QPoint(580, 240));
    // Larger than the work area: its top-left corner stays in it.
    EXPECT_EQ(CentredWindowPos(QSize(3000, 2000), QRect(100, 50, 1000, 800)), QPoint(100, 50));
}

TEST_F(MainWindowTest, TitleButtonsMinimiseAndMaximise)
{
    CPalenkoDlg& dlg = MakeWindow();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::mouseClick(dlg.m_btnMax, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bMaximized, 1);
    EXPECT_TRUE(dlg.isMaximized());
    QTest::mouseClick(dlg.m_btnMax, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bMaximized, 0);
    EXPECT_FALSE(dlg.isMaximized());
    // The window follows what the platform reports: restored by the window manager, the next click
    // maximises again instead of doing nothing.
    dlg.showMaximized();
    EXPECT_EQ(dlg.m_bMaximized, 1);
    dlg.setWindowState(Qt::WindowNoState);
    EXPECT_EQ(dlg.m_bMaximized, 0);
    QTest::mouseClick(dlg.m_btnMax, Qt::LeftButton);
    EXPECT_EQ(dlg.m_bMaximized, 1);
    dlg.showNormal();
    QTest::mouseClick(dlg.m_btnMin, Qt::LeftButton);
    EXPECT_TRUE(dlg.windowState() & Qt::WindowMinimized);
}

} // namespace
