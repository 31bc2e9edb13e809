#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QTest>

#include "canvas/canvas.h"
#include "canvas/floatdlg.h"
#include "canvas/rollctrl.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "tests/widgetsupport.h"
#include "widgets/buttonx.h"

namespace {

// Three elements (or a framed photo) on a 400 x 300 canvas in a shown stand-in main window.
class FloatDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.setGeometry(200, 100, 460, 360);
        m_pCanvas = new Canvas(&m_window);
        m_pCanvas->setGeometry(20, 20, 400, 300);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    void TearDown() override { g_pCurrentText = nullptr; }

    Canvas& canvas() { return *m_pCanvas; }
    CardDocument& doc() { return m_pCanvas->m_doc; }
    CUndoHistory& undo() { return *doc().m_pUndo; }
    FloatDlg& bar() { return *m_pCanvas->m_pFloatBar; }
    CRollCtrl& dial() { return *bar().m_pDial; }

    TheData* AddElement(const RectF& rc)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = m_files.solid(QStringLiteral("e%1.png").arg(m_nFiles++), 40, 30, Qt::red);
        pObject->m_rcObject = rc;
        pObject->m_dAspect = 0.75;
        pObject->RebuildImage();
        return canvas().AddObject(std::move(pObject), 0);
    }

    // A 320 x 240 photo in a 160 x 120 frame, the photo covering the frame.
    TheData* AddFramedPhoto()
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_PHOTO;
        QImage frame(160, 120, QImage::Format_ARGB32);
        frame.fill(QColor(250, 200, 0));
        QPainter painter(&frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(20, 20, 120, 80, Qt::transparent);
        painter.end();
        pObject->m_strFrame = m_files.write(QStringLiteral("frame.png"), frame);
        pObject->m_strFrameMask = m_files.solid(QStringLiteral("frame.jpg"), 160, 120, Qt::white);
        pObject->m_rcObject = {100, 80, 160, 120};
        pObject->LoadFrame();
        pObject->SetPhoto(m_files.photo(QStringLiteral("photo.png"), 320, 240), 0, {}, {}, 0);
        return canvas().AddObject(std::move(pObject), 0);
    }

    void Click(CButtonX* pButton) { QTest::mouseClick(pButton, Qt::LeftButton); }
    // A knob turn from twelve o'clock to three o'clock (90 degrees clockwise from the angle 0).
    void TurnQuarter()
    {
        QTest::mousePress(&dial(), Qt::LeftButton, Qt::NoModifier, {25, 5});
        QTest::mouseMove(&dial(), {39, 11});
        QTest::mouseMove(&dial(), {45, 25});
        QTest::mouseRelease(&dial(), Qt::LeftButton, Qt::NoModifier, {45, 25});
    }
    // A centre drag of 10 px to the right in two steps.
    void DragCentreRight()
    {
        QTest::mousePress(&dial(), Qt::LeftButton, Qt::NoModifier, {25, 25});
        QTest::mouseMove(&dial(), {29, 25});
        QTest::mouseMove(&dial(), {35, 25});
        QTest::mouseRelease(&dial(), Qt::LeftButton, Qt::NoModifier, {35, 25});
    }

    std::vector<bool> OrderButtons()
    {
        return {bar().m_btnToFront->isEnabled(), bar().m_btnForward->isEnabled(), bar().m_btnBackward->isEnabled(),
            bar().m_btnToBack->isEnabled()};
    }

    TestFiles m_files;
    int m_nFiles = 0;
    WidgetMessageRecorder m_window {{WM_CANVAS_SELECT}};
    Canvas* m_pCanvas = nullptr;
};

TEST_F(FloatDlgTest, LayoutSkinsAndShape)
{
    EXPECT_EQ(bar().size(), QSize(230, 60));
    // A child of the main window that never takes the focus, blended at its opacity.
    EXPECT_FALSE(bar().isWindow());
    EXPECT_EQ(bar().parentWidget(), &m_window);
    EXPECT_EQ(bar().focusPolicy(), Qt::NoFocus);
    const auto* pOpacity = qobject_cast<const QGraphicsOpacityEffect*>(bar().graphicsEffect());
    ASSERT_NE(pOpacity, nullptr);
    EXPECT_NEAR(pOpacity->opacity(), 229 / 255.0, 0.01);
    EXPECT_EQ(dial().geometry(), QRect(5, 5, 50, 50));
    EXPECT_EQ(bar().m_btnForward->geometry(), QRect(65, 15, 22, 23));
    EXPECT_EQ(bar().m_btnBackward->geometry(), QRect(93, 15, 22, 23));
    EXPECT_EQ(bar().m_btnToFront->geometry(), QRect(121, 15, 22, 23));
    EXPECT_EQ(bar().m_btnToBack->geometry(), QRect(149, 15, 22, 23));
    EXPECT_EQ(bar().m_btnDelete->geometry(), QRect(182, 15, 22, 23));
    EXPECT_EQ(bar().m_btnDock->geometry(), QRect(208, 2, 17, 17));
    EXPECT_TRUE(bar().m_btnToFront->m_strSkin.endsWith(QStringLiteral("Skins/uu.bmp")));
    EXPECT_TRUE(bar().m_btnDock->m_strSkin.endsWith(QStringLiteral("Skins/dock.bmp")));
    EXPECT_EQ(bar().m_btnDock->m_bToggle, 1);
    EXPECT_EQ(bar().m_btnDock->m_bLatch, 1);
    // Rounded: the corner is see-through, the middle the toolbar's colour.
    const QImage background = bar().RenderBackground();
    EXPECT_EQ(qAlpha(background.pixel(0, 0)), 0);
    EXPECT_EQ(background.pixel(115, 30), 0xFFEFEFF3);
}

TEST_F(FloatDlgTest, StackingButtonsFollowThePositionAndRestackAsOneStep)
{
    AddElement({20, 20, 80, 60});
    TheData* pMiddle = AddElement({120, 20, 80, 60});
    AddElement({220, 20, 80, 60});
    canvas().Select(1);
    ASSERT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().m_pTarget, pMiddle);
    EXPECT_EQ(OrderButtons(), (std::vector<bool> {true, true, true, true}));
    EXPECT_TRUE(bar().m_btnDelete->isEnabled());

    Click(bar().m_btnToFront);
    EXPECT_EQ(pMiddle->m_nIndex, 2);
    EXPECT_EQ(doc().m_vecObjects[2].get(), pMiddle);
    EXPECT_EQ(doc().m_nSelected, 2);
    EXPECT_EQ(OrderButtons(), (std::vector<bool> {false, false, true, true}));
    ASSERT_EQ(undo().Count(), 1);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_ORDER);
    canvas().Deselect();
    ASSERT_TRUE(undo().Undo(canvas().width()));
    EXPECT_EQ(doc().m_vecObjects[1].get(), pMiddle);

    canvas().Select(1);
    Click(bar().m_btnToBack);
    EXPECT_EQ(pMiddle->m_nIndex, 0);
    EXPECT_EQ(OrderButtons(), (std::vector<bool> {true, true, false, false}));
    Click(bar().m_btnForward);
    EXPECT_EQ(pMiddle->m_nIndex, 1);
    Click(bar().m_btnBackward);
    EXPECT_EQ(pMiddle->m_nIndex, 0);
    // The undone step was dropped by the first new one.
    EXPECT_EQ(undo().Count(), 3);

    // A disabled button does nothing.
    Click(bar().m_btnToBack);
    EXPECT_EQ(undo().Count(), 3);
}

TEST_F(FloatDlgTest, ALoneObjectHasNoStackingAndDeleteIsOneStep)
{
    TheData* pOnly = AddElement({20, 20, 80, 60});
    canvas().Select(0);
    EXPECT_EQ(OrderButtons(), (std::vector<bool> {false, false, false, false}));
    m_window.m_vecMessages.clear();

    Click(bar().m_btnDelete);
    EXPECT_EQ(pOnly->m_bDeleted, 1);
    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_FALSE(bar().isVisible());
    ASSERT_EQ(undo().Count(), 1);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_DELETE);
    EXPECT_EQ(m_window.m_vecMessages, (std::vector<WidgetMessageRecorder::Message> {{WM_CANVAS_SELECT, 0, 0}}));
    ASSERT_TRUE(undo().Undo(canvas().width()));
    EXPECT_EQ(pOnly->m_bDeleted, 0);
}

TEST_F(FloatDlgTest, ObjectModeRotateAndResizeAreOneStepEach)
{
    TheData* pFramed = AddFramedPhoto();
    canvas().Select(0);
    const RectF rcStart = pFramed->m_rcObject;

    TurnQuarter();
    EXPECT_NEAR(pFramed->m_dAngle, 90, 1e-6);
    EXPECT_DOUBLE_EQ(pFramed->m_dAngleDelta, 0);
    ASSERT_EQ(undo().Count(), 1);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_ROTATE);
    EXPECT_NEAR(undo().RecordAt(0)->dAngle, 90, 1e-6);

    // The part of the photo the frame shows before the resize.
    const RectF rcPhotoBefore = pFramed->m_rcPhoto;
    const double dShownX = (rcStart.X - rcPhotoBefore.X) / rcPhotoBefore.Width;
    DragCentreRight();
    EXPECT_NEAR(pFramed->m_rcObject.Width, rcStart.Width + 10, 1e-3);
    EXPECT_NEAR(pFramed->m_rcObject.Height, (rcStart.Width + 10) * 0.75, 1e-3);
    EXPECT_NEAR(pFramed->m_rcObject.centre().x(), rcStart.centre().x(), 1e-3);
    EXPECT_NEAR(pFramed->m_rcObject.centre().y(), rcStart.centre().y(), 1e-3);
    EXPECT_NEAR((pFramed->m_rcObject.X - pFramed->m_rcPhoto.X) / pFramed->m_rcPhoto.Width, dShownX, 1e-3);
    ASSERT_EQ(undo().Count(), 2);
    EXPECT_EQ(undo().RecordAt(1)->nKind, UNDO_RESIZE);
    EXPECT_EQ(undo().RecordAt(1)->nDx, 10);

    canvas().Deselect();
    ASSERT_TRUE(undo().Undo(canvas().width()));
    ASSERT_TRUE(undo().Undo(canvas().width()));
    EXPECT_NEAR(pFramed->m_rcObject.Width, rcStart.Width, 1e-3);
    EXPECT_NEAR(pFramed->m_dAngle, 0, 1e-6);
}

TEST_F(FloatDlgTest, PhotoModeTurnsAndResizesThePhotoAndDisablesStacking)
{
    TheData* pFramed = AddFramedPhoto();
    canvas().Select(0);
    canvas().ShowFloatBar(1, 0);
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);
    EXPECT_EQ(bar().m_bObjectMode, 0);
    for (CButtonX* pButton :
        {bar().m_btnToFront, bar().m_btnForward, bar().m_btnBackward, bar().m_btnToBack, bar().m_btnDelete}) {
        EXPECT_FALSE(pButton->isEnabled());
        EXPECT_EQ(pButton->m_bEnabled, 0);
    }
    Click(bar().m_btnDelete);
    EXPECT_EQ(pFramed->m_bDeleted, 0);

    const RectF rcObject = pFramed->m_rcObject;
    const RectF rcPhoto = pFramed->m_rcPhoto;
    TurnQuarter();
    EXPECT_NEAR(pFramed->m_dPhotoAngle, 90, 1e-6);
    EXPECT_DOUBLE_EQ(pFramed->m_dAngle, 0);
    DragCentreRight();
    EXPECT_NEAR(pFramed->m_rcPhoto.Width, rcPhoto.Width + 10, 1e-3);
    EXPECT_EQ(pFramed->m_rcObject, rcObject);
    ASSERT_EQ(undo().Count(), 2);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_PHOTO_ROTATE);
    EXPECT_EQ(undo().RecordAt(1)->nKind, UNDO_PHOTO_RESIZE);

    canvas().Deselect();
    ASSERT_TRUE(undo().Undo(canvas().width()));
    ASSERT_TRUE(undo().Undo(canvas().width()));
    EXPECT_NEAR(pFramed->m_rcPhoto.Width, rcPhoto.Width, 1e-3);
    EXPECT_NEAR(pFramed->m_dPhotoAngle, 0, 1e-6);
}

TEST_F(FloatDlgTest, DockedToolbarStaysWhereTheUserPutIt)
{
    AddElement({20, 20, 80, 60});
    AddElement({220, 150, 80, 60});
    canvas().Select(0);
    const QRect rcFirst = bar().geometry();
    Click(bar().m_btnDock);
    EXPECT_EQ(bar().m_bDocked, 1);
    EXPECT_EQ(bar().m_btnDock->m_bPressed, 1);
    bar().move(rcFirst.topLeft() + QPoint(30, 40));

    canvas().Select(1);
    EXPECT_TRUE(bar().isVisible());
    EXPECT_EQ(bar().pos(), rcFirst.topLeft() + QPoint(30, 40));

    // Dragged by its background (where the platform does not move windows itself, it follows the
    // pointer).
    const QPoint ptBefore = bar().pos();
    QTest::mousePress(&bar(), Qt::LeftButton, Qt::NoModifier, {118, 50});
    QTest::mouseMove(&bar(), {138, 60});
    QTest::mouseRelease(&bar(), Qt::LeftButton, Qt::NoModifier, {138, 60});
    EXPECT_EQ(bar().pos(), ptBefore + QPoint(20, 10));
    EXPECT_EQ(undo().Count(), 0);

    Click(bar().m_btnDock);
    EXPECT_EQ(bar().m_bDocked, 0);
    EXPECT_EQ(bar().m_btnDock->m_bPressed, 0);
    canvas().Select(0);
    EXPECT_EQ(bar().geometry(), rcFirst);
}

TEST_F(FloatDlgTest, ToolbarReturnsBesideItsObjectWhenAGestureEndsAndStaysInTheArea)
{
    canvas().SetFloatBarArea(QRect(10, 10, 440, 340));
    TheData& element = *AddElement({150, 60, 80, 60});
    const auto besideElement = [&] {
        return FloatBarGeometry(element.m_rcObject, canvas().pos(), QRect(10, 10, 440, 340), FloatDlg::kWidth);
    };
    canvas().Select(0);
    EXPECT_EQ(bar().geometry(), besideElement());
    EXPECT_FALSE(bar().hasFocus());

    // A drag of the object, a nudge, a turn of the dial and a resize from its centre each end with
    // the toolbar under the object again.
    QTest::mousePress(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {190, 90});
    QTest::mouseMove(m_pCanvas, {170, 120});
    QTest::mouseMove(m_pCanvas, {150, 150});
    QTest::mouseRelease(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {150, 150});
    ASSERT_NEAR(element.m_rcObject.Y, 120, 1);
    EXPECT_EQ(bar().geometry(), besideElement());
    canvas().NudgeSelection(4);
    EXPECT_EQ(bar().geometry(), besideElement());
    TurnQuarter();
    EXPECT_EQ(bar().geometry(), besideElement());
    DragCentreRight();
    EXPECT_EQ(bar().geometry(), besideElement());

    // Near the card's bottom-left corner the toolbar is kept inside the canvas area.
    canvas().Select(-1);
    TheData& corner = *AddElement({0, 250, 40, 30});
    canvas().Select(1);
    EXPECT_TRUE(QRect(10, 10, 440, 340).contains(bar().geometry())) << bar().geometry();
    EXPECT_EQ(corner.m_nIndex, 1);
    // Dragged by its background it stays inside the area too.
    QTest::mousePress(&bar(), Qt::LeftButton, Qt::NoModifier, {100, 50});
    QTest::mouseMove(&bar(), {-300, 400});
    QTest::mouseRelease(&bar(), Qt::LeftButton, Qt::NoModifier, {-300, 400});
    EXPECT_EQ(bar().geometry(), QRect(10, 350 - FloatDlg::kHeight, FloatDlg::kWidth, FloatDlg::kHeight));
}

} // namespace
