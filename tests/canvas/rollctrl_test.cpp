#include <gtest/gtest.h>

#include <vector>

#include <QTest>

#include "canvas/rollctrl.h"
#include "platform/messages.h"
#include "tests/widgetsupport.h"

namespace {

using Message = WidgetMessageRecorder::Message;

// A 50 px dial in a parent that records what it reports.
class RollCtrlTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pDial = new CRollCtrl(&m_parent, QRect(5, 5, 50, 50));
        m_parent.resize(100, 100);
    }

    CRollCtrl& dial() { return *m_pDial; }
    std::vector<Message>& messages() { return m_parent.m_vecMessages; }
    void Press(QPoint pt) { QTest::mousePress(m_pDial, Qt::LeftButton, Qt::NoModifier, pt); }
    void Move(QPoint pt) { QTest::mouseMove(m_pDial, pt); }
    void Release(QPoint pt) { QTest::mouseRelease(m_pDial, Qt::LeftButton, Qt::NoModifier, pt); }

    WidgetMessageRecorder m_parent {{WM_DIAL_ROTATE, WM_DIAL_DRAG}};
    CRollCtrl* m_pDial = nullptr;
};

TEST_F(RollCtrlTest, GeometryFollowsTheWidth)
{
    EXPECT_EQ(dial().m_ptCentre, QPoint(25, 25));
    EXPECT_EQ(dial().m_rcCentre, QRect(QPoint(12, 12), QPoint(37, 37)));
    EXPECT_EQ(dial().m_rcKnob, QRect(QPoint(21, 1), QPoint(28, 8)));
    EXPECT_EQ(dial().geometry(), QRect(5, 5, 50, 50));
    EXPECT_TRUE(dial().m_strSkin.endsWith(QStringLiteral("Skins/roll.bmp")));
    EXPECT_DOUBLE_EQ(dial().m_dDialAngle, 0);
}

TEST_F(RollCtrlTest, KnobHitFollowsTheAngle)
{
    EXPECT_TRUE(dial().HitKnob({25, 5}));
    EXPECT_FALSE(dial().HitKnob({45, 25}));
    // Between the knob and the centre area.
    EXPECT_FALSE(dial().HitKnob({25, 11}));
    dial().m_dDialAngle = 90;
    EXPECT_FALSE(dial().HitKnob({25, 5}));
    EXPECT_TRUE(dial().HitKnob({45, 25}));
}

TEST(RollCtrlRules, TurnsAndSteps)
{
    const QPoint c(25, 25);
    EXPECT_NEAR(CRollCtrl::TurnBetween(c, {25, 5}, {45, 25}), 90, 1e-6);
    EXPECT_NEAR(CRollCtrl::TurnBetween(c, {45, 25}, {25, 5}), -90, 1e-6);
    EXPECT_NEAR(CRollCtrl::TurnBetween(c, {25, 5}, {5, 25}), -90, 1e-6);
    EXPECT_DOUBLE_EQ(CRollCtrl::Normalised(350 + 20), 10);
    EXPECT_DOUBLE_EQ(CRollCtrl::Normalised(10 - 30), 340);
    EXPECT_DOUBLE_EQ(CRollCtrl::Normalised(359.5), 359.5);
    // The component of larger magnitude, signed, dx on a tie.
    EXPECT_EQ(CRollCtrl::DragStep(5, -2), 5);
    EXPECT_EQ(CRollCtrl::DragStep(1, 3), 3);
    EXPECT_EQ(CRollCtrl::DragStep(-3, -3), -3);
    EXPECT_EQ(CRollCtrl::DragStep(0, -4), -4);
}

TEST_F(RollCtrlTest, TurningTheKnobReportsEveryPhaseShowsTheAngleAndKeepsIt)
{
    const QImage idle = dial().RenderDial();
    Press({25, 5});
    EXPECT_EQ(dial().m_bRotating, 1);
    Move({39, 11});
    Move({45, 25});
    EXPECT_NEAR(dial().m_dDelta, 90, 1e-6);
    // "90" stands in the middle while turning: the centre differs from the picture at rest turned by 90.
    const QImage turning = dial().RenderDial();
    dial().m_bRotating = 0;
    const QImage turnedAtRest = dial().RenderDial();
    dial().m_bRotating = 1;
    EXPECT_NE(turning.copy(15, 18, 20, 14), turnedAtRest.copy(15, 18, 20, 14));
    EXPECT_NE(turnedAtRest, idle);
    Release({45, 25});

    EXPECT_EQ(dial().m_bRotating, 0);
    EXPECT_DOUBLE_EQ(dial().m_dDelta, 0);
    EXPECT_NEAR(dial().m_dDialAngle, 90, 1e-6);
    EXPECT_EQ(messages(),
        (std::vector<Message> {
            {WM_DIAL_ROTATE, 0, 1}, {WM_DIAL_ROTATE, 0, 2}, {WM_DIAL_ROTATE, 0, 2}, {WM_DIAL_ROTATE, 0, 3}}));
    // The knob is now grabbed at three o'clock.
    EXPECT_TRUE(dial().HitKnob({45, 25}));

    // From 350 a further 20 degrees clockwise leaves 10.
    dial().m_dDialAngle = 350;
    messages().clear();
    const QPoint ptKnob = QPointF(25 - 20 * 0.17364817766, 25 - 20 * 0.98480775301).toPoint();
    Press(ptKnob);
    ASSERT_EQ(dial().m_bRotating, 1);
    const QPoint ptTo = QPointF(25 + 20 * 0.17364817766, 25 - 20 * 0.98480775301).toPoint();
    Move(ptTo);
    Release(ptTo);
    // The points are whole pixels, so the turn is near 17 degrees rather than exactly 20.
    const double dTurn = CRollCtrl::TurnBetween({25, 25}, ptKnob, ptTo);
    EXPECT_GT(350 + dTurn, 360);
    EXPECT_NEAR(dial().m_dDialAngle, 350 + dTurn - 360, 1e-9);
}

TEST_F(RollCtrlTest, DraggingTheCentreReportsStepsAndTheRingDoesNothing)
{
    Press({25, 25});
    Move({30, 23});
    Move({31, 26});
    Move({28, 23});
    Release({28, 23});
    EXPECT_EQ(messages(),
        (std::vector<Message> {{WM_DIAL_DRAG, 0, 1}, {WM_DIAL_DRAG, 5, 2}, {WM_DIAL_DRAG, 3, 2}, {WM_DIAL_DRAG, -3, 2},
            {WM_DIAL_DRAG, 0, 3}}));
    EXPECT_EQ(dial().m_bDragging, 0);

    messages().clear();
    // The ring between the knob and the centre area, and the corner outside the circle.
    for (const QPoint pt : {QPoint(25, 11), QPoint(40, 25), QPoint(2, 48)}) {
        Press(pt);
        Move(pt + QPoint(3, 3));
        Release(pt + QPoint(3, 3));
    }
    EXPECT_TRUE(messages().empty());
    EXPECT_DOUBLE_EQ(dial().m_dDialAngle, 0);
}

} // namespace
