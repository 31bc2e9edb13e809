#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include "canvas/canvas.h"
#include "canvas/floatdlg.h"
#include "document/textpanel.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "tests/widgetsupport.h"

namespace {

using Message = MessageRecorder::Message;

const Message kSelectCleared {WM_CANVAS_SELECT, 0, 0};
const Message kSelectText {WM_CANVAS_SELECT, 0, 1};
const Message kSelectOther {WM_CANVAS_SELECT, 0, 2};
const Message kHotKeysOn {WM_CANVAS_HOTKEYS, 0, 1};
const Message kHotKeysOff {WM_CANVAS_HOTKEYS, 0, 0};

void ExpectRect(const RectF& actual, const RectF& expected)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-3) << actual;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-3) << actual;
    EXPECT_NEAR(actual.Width, expected.Width, 1e-3) << actual;
    EXPECT_NEAR(actual.Height, expected.Height, 1e-3) << actual;
}

// Stands in for the main window: the canvas's parent, keeping the selection and hot-key messages the
// canvas sends it (the undo history's own messages are left out).
class MainWindowRecorder : public WidgetMessageRecorder {
public:
    MainWindowRecorder()
        : WidgetMessageRecorder({WM_CANVAS_SELECT, WM_CANVAS_HOTKEYS})
    {
    }
};

// A 400 x 300 canvas at (20, 20) inside a shown stand-in main window placed at (200, 100) on the screen.
class GestureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.setGeometry(200, 100, 460, 360);
        m_pCanvas = new Canvas(&m_window);
        m_pCanvas->setGeometry(20, 20, 400, 300);
        m_pCanvas->m_fnPickPhoto = [this] {
            ++m_nPicks;
            return m_strPickAnswer;
        };
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
    }

    // The current text is process-wide: no test leaves it to the next.
    void TearDown() override { g_pCurrentText = nullptr; }

    Canvas& canvas() { return *m_pCanvas; }
    CardDocument& doc() { return m_pCanvas->m_doc; }
    CUndoHistory& undo() { return *doc().m_pUndo; }
    TheData& object(int i) { return *doc().m_vecObjects.at(size_t(i)); }
    std::vector<Message>& messages() { return m_window.m_vecMessages; }

    TheData* AddElement(const RectF& rc, double dAngle = 0)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = m_files.solid(QStringLiteral("element%1.png").arg(m_nFiles++), 40, 30, Qt::red);
        pObject->m_rcObject = rc;
        pObject->m_dAngle = dAngle;
        return Finish(std::move(pObject));
    }

    // A photo object; either path may be left out. The frame has a transparent window in the middle.
    TheData* AddPhoto(const RectF& rcObject, const RectF& rcPhoto, bool bPhoto, bool bFrame)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_PHOTO;
        if (bPhoto)
            pObject->m_strPhoto = m_files.photo(QStringLiteral("photo%1.png").arg(m_nFiles++), 320, 240);
        if (bFrame) {
            QImage frame(160, 120, QImage::Format_ARGB32);
            frame.fill(QColor(250, 200, 0));
            QPainter painter(&frame);
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(20, 20, 120, 80, Qt::transparent);
            painter.end();
            const QString strName = QStringLiteral("frame%1").arg(m_nFiles++);
            pObject->m_strFrame = m_files.write(strName + ".png", frame);
            pObject->m_strFrameMask = m_files.solid(strName + ".jpg", 160, 120, Qt::white);
        }
        pObject->m_rcObject = rcObject;
        pObject->m_rcPhoto = rcPhoto;
        pObject->m_rcPhotoLocal = rcPhoto;
        return Finish(std::move(pObject));
    }

    static std::unique_ptr<TheData> NewText()
    {
        auto pText = std::make_unique<TheData>();
        pText->m_nType = OBJ_TEXT;
        pText->m_pText = std::make_unique<CTextPanel>();
        pText->m_pText->m_strText = QStringLiteral("Sample Text");
        return pText;
    }

    // The canvas's floating toolbar.
    QWidget& GiveFloatBar() { return *canvas().m_pFloatBar; }

    void Press(QPoint pt) { QTest::mousePress(m_pCanvas, Qt::LeftButton, Qt::NoModifier, pt); }
    void Move(QPoint pt) { QTest::mouseMove(m_pCanvas, pt); }
    void Release(QPoint pt) { QTest::mouseRelease(m_pCanvas, Qt::LeftButton, Qt::NoModifier, pt); }
    void Drag(QPoint ptFrom, QPoint ptTo)
    {
        Press(ptFrom);
        Move((ptFrom + ptTo) / 2);
        Move(ptTo);
        Release(ptTo);
    }
    // The first click selects; the double-click arrives in place of the second press, then its release.
    void DoubleClick(QPoint pt)
    {
        QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, pt);
        QTest::mouseDClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, pt);
        Release(pt);
    }

    TestFiles m_files;
    // What the picture dialog of an empty placeholder answers, and how often it was asked.
    QString m_strPickAnswer;
    int m_nPicks = 0;
    MainWindowRecorder m_window;
    Canvas* m_pCanvas = nullptr;
    int m_nFiles = 0;

private:
    TheData* Finish(std::unique_ptr<TheData> pObject)
    {
        TheData* pAdded = canvas().AddObject(std::move(pObject), 0);
        pAdded->LoadImages();
        pAdded->RebuildImage();
        return pAdded;
    }
};

TEST_F(GestureTest, DragMovesTheObjectByTheMouseDeltaAsOneUndoStep)
{
    AddElement({20, 20, 100, 80});
    TheData& element = *AddElement({150, 60, 120, 90});

    Drag({200, 100}, {237, 82});

    EXPECT_EQ(doc().m_nSelected, 1);
    ExpectRect(element.m_rcObject, {187, 42, 120, 90});
    ASSERT_EQ(undo().Count(), 1);
    const UndoRecord& record = *undo().RecordAt(0);
    EXPECT_EQ(record.nKind, UNDO_MOVE);
    EXPECT_EQ(record.pObject, &element);
    EXPECT_EQ(record.nDx, 37);
    EXPECT_EQ(record.nDy, -18);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectOther, kHotKeysOn}));
    // The layers around the dragged object stay valid for the whole drag.
    EXPECT_EQ(canvas().m_bLayersValid, 1);

    ASSERT_TRUE(undo().Undo(canvas().width()));
    ExpectRect(element.m_rcObject, {150, 60, 120, 90});
}

TEST_F(GestureTest, ClickWithoutMovementSelectsAndRecordsNothing)
{
    TheData& element = *AddElement({150, 60, 120, 90});

    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {160, 70});

    EXPECT_EQ(doc().m_nSelected, 0);
    EXPECT_EQ(canvas().m_bPhotoEdit, 0);
    ExpectRect(element.m_rcObject, {150, 60, 120, 90});
    EXPECT_EQ(undo().Count(), 0);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectOther, kHotKeysOn}));
}

TEST_F(GestureTest, PressSelectsTheTopmostLiveObjectInsideItsRotatedOutline)
{
    AddElement({20, 20, 200, 150});
    AddElement({100, 80, 200, 150});
    AddElement({150, 100, 100, 80})->m_bDeleted = 1;
    // A 200 x 20 bar turned by 90 degrees about (300, 250): it covers x 290..310, y 150..350.
    AddElement({200, 240, 200, 20}, 90);

    struct Case {
        QPoint pt;
        int nSelected;
    };
    const Case cases[] = {
        {{150, 120}, 1}, // the overlap: the later object is on top
        {{180, 130}, 1}, // under the deleted object
        {{50, 50}, 0},
        {{300, 160}, 3}, // inside the turned bar
        {{220, 245}, -1}, // inside the bar's unturned rectangle only
        {{380, 200}, -1},
    };
    for (const Case& c : cases) {
        canvas().Deselect();
        canvas().OnLButtonDown(c.pt);
        canvas().OnLButtonUp();
        EXPECT_EQ(doc().m_nSelected, c.nSelected) << c.pt.x() << ", " << c.pt.y();
    }
}

TEST_F(GestureTest, TextObjectsAreReportedAsText)
{
    TheData* pText = canvas().AddTextObject(NewText());
    ASSERT_TRUE(pText);
    canvas().Deselect();
    messages().clear();

    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {35, 35});

    EXPECT_EQ(doc().SelectedObject(), pText);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectText, kHotKeysOn}));
}

TEST_F(GestureTest, DragWithShiftCtrlOrASecondButtonDoesNotMove)
{
    TheData& element = *AddElement({150, 60, 120, 90});
    Press({200, 100});

    struct Case {
        Qt::MouseButtons buttons;
        Qt::KeyboardModifiers modifiers;
    };
    const Case cases[] = {
        {Qt::LeftButton, Qt::ShiftModifier},
        {Qt::LeftButton, Qt::ControlModifier},
        {Qt::LeftButton | Qt::RightButton, Qt::NoModifier},
        {Qt::NoButton, Qt::NoModifier},
    };
    int nStep = 0;
    for (const Case& c : cases) {
        const QPointF pt(210 + 10 * nStep, 110);
        ++nStep;
        QMouseEvent move(QEvent::MouseMove, pt, m_pCanvas->mapToGlobal(pt), Qt::NoButton, c.buttons, c.modifiers);
        QApplication::sendEvent(m_pCanvas, &move);
        ExpectRect(element.m_rcObject, {150, 60, 120, 90});
    }
    // The left button alone moves it from the press point; Alt is no hindrance.
    const QPointF pt(230, 105);
    QMouseEvent move(QEvent::MouseMove, pt, m_pCanvas->mapToGlobal(pt), Qt::NoButton, Qt::LeftButton, Qt::AltModifier);
    QApplication::sendEvent(m_pCanvas, &move);
    ExpectRect(element.m_rcObject, {180, 65, 120, 90});
    Release({230, 105});
    EXPECT_EQ(undo().Count(), 1);
}

TEST_F(GestureTest, PressOnEmptyCanvasClearsTheSelection)
{
    AddElement({150, 60, 120, 90});
    QWidget& bar = GiveFloatBar();
    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {200, 100});
    g_pCurrentText = doc().SelectedObject();
    messages().clear();

    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {20, 250});

    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_EQ(canvas().m_bLayersValid, 0);
    EXPECT_EQ(g_pCurrentText, nullptr);
    EXPECT_FALSE(bar.isVisible());
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectCleared, kHotKeysOn}));

    // With nothing selected a press on empty canvas only asks for the hot keys on its release.
    messages().clear();
    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {20, 250});
    EXPECT_EQ(messages(), (std::vector<Message> {kHotKeysOn}));
    EXPECT_EQ(undo().Count(), 0);
}

enum class Kind { FramedPhoto, PlainPhoto, EmptyFrame, Element, Text };

struct DoubleClickCase {
    Kind kind;
    int bPhotoEdit;
    // Times the picture dialog of an empty placeholder is shown (cancelled here).
    int nPicks;
};

void PrintTo(const DoubleClickCase& c, std::ostream* pOut)
{
    static const char* const kKinds[] = {"framed photo", "plain photo", "empty frame", "element", "text"};
    *pOut << kKinds[int(c.kind)];
}

class DoubleClickTest : public GestureTest, public ::testing::WithParamInterface<DoubleClickCase> { };

TEST_P(DoubleClickTest, EntersPhotoEditOnlyForAPhotoInAFrame)
{
    switch (GetParam().kind) {
    case Kind::FramedPhoto:
        AddPhoto({100, 80, 160, 120}, {80, 60, 200, 150}, true, true);
        break;
    case Kind::PlainPhoto:
        AddPhoto({100, 80, 160, 120}, {100, 80, 160, 120}, true, false);
        break;
    case Kind::EmptyFrame:
        AddPhoto({100, 80, 160, 120}, {}, false, true);
        break;
    case Kind::Element:
        AddElement({100, 80, 160, 120});
        break;
    case Kind::Text:
        canvas().AddTextObject(NewText())->m_rcObject = {100, 80, 160, 120};
        canvas().Deselect();
        undo().Clear();
        break;
    }
    QWidget& bar = GiveFloatBar();
    messages().clear();

    DoubleClick({110, 90});

    EXPECT_EQ(doc().m_nSelected, 0);
    EXPECT_EQ(canvas().m_bPhotoEdit, GetParam().bPhotoEdit);
    EXPECT_EQ(m_nPicks, GetParam().nPicks);
    EXPECT_TRUE(bar.isVisible());
    // The first press opened a move that its release closed unchanged; the last release closes nothing.
    EXPECT_EQ(undo().Count(), 0);
    const qintptr nKind = GetParam().kind == Kind::Text ? 1 : 2;
    EXPECT_EQ(messages(), (std::vector<Message> {{WM_CANVAS_SELECT, 0, nKind}, kHotKeysOn, kHotKeysOn}));
}

INSTANTIATE_TEST_SUITE_P(Objects, DoubleClickTest,
    ::testing::Values(DoubleClickCase {Kind::FramedPhoto, 1, 0}, DoubleClickCase {Kind::PlainPhoto, 0, 0},
        DoubleClickCase {Kind::EmptyFrame, 0, 1}, DoubleClickCase {Kind::Element, 0, 0},
        DoubleClickCase {Kind::Text, 0, 0}));

TEST_F(GestureTest, DoubleClickOnAnEmptyPlaceholderFillsItWithThePickedPhotoAsOneStep)
{
    TheData& placeholder = *AddPhoto({100, 80, 160, 120}, {}, false, true);
    m_strPickAnswer = m_files.photo(QStringLiteral("picked.jpg"), 400, 300);
    DoubleClick({110, 90});

    EXPECT_EQ(m_nPicks, 1);
    EXPECT_EQ(placeholder.m_strPhoto, m_strPickAnswer);
    EXPECT_EQ(placeholder.PhotoState(), PHOTO_FRAMED);
    ASSERT_EQ(undo().Count(), 1);
    undo().Undo(canvas().width());
    EXPECT_TRUE(placeholder.m_strPhoto.isEmpty());
    EXPECT_EQ(placeholder.PhotoState(), PHOTO_FRAME_ONLY);
}

TEST_F(GestureTest, DragInPhotoEditMovesOnlyThePhotoAndRebuildsTheComposite)
{
    TheData& framed = *AddPhoto({100, 80, 160, 120}, {80, 60, 200, 150}, true, true);
    DoubleClick({180, 140});
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);
    ASSERT_TRUE(framed.m_pImage);
    const QImage before = *framed.m_pImage;
    messages().clear();

    Drag({180, 140}, {195, 131});

    ExpectRect(framed.m_rcObject, {100, 80, 160, 120});
    ExpectRect(framed.m_rcPhoto, {95, 51, 200, 150});
    ExpectRect(framed.m_rcPhotoLocal, {95, 51, 200, 150});
    EXPECT_EQ(canvas().m_bPhotoEdit, 1);
    EXPECT_EQ(doc().m_nSelected, 0);
    ASSERT_EQ(undo().Count(), 1);
    const UndoRecord& record = *undo().RecordAt(0);
    EXPECT_EQ(record.nKind, UNDO_PHOTO_MOVE);
    EXPECT_EQ(record.nDx, 15);
    EXPECT_EQ(record.nDy, -9);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectOther, kHotKeysOn}));
    // The release composed the frame over the photo at its new place.
    ASSERT_TRUE(framed.m_pImage);
    EXPECT_GT(MeanAbsDiff(*framed.m_pImage, before), 1.0);

    ASSERT_TRUE(undo().Undo(canvas().width()));
    ExpectRect(framed.m_rcPhoto, {80, 60, 200, 150});
}

TEST_F(GestureTest, PressOutsideThePhotoLeavesPhotoEdit)
{
    // The photo covers only the middle of its object.
    TheData& framed = *AddPhoto({100, 80, 160, 120}, {150, 110, 60, 45}, true, true);
    AddElement({300, 200, 50, 50});
    DoubleClick({180, 140});
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);

    // On the same object, outside its photo: object mode, the same object, and a drag moves all of it.
    Drag({105, 85}, {115, 95});
    EXPECT_EQ(canvas().m_bPhotoEdit, 0);
    EXPECT_EQ(doc().m_nSelected, 0);
    ExpectRect(framed.m_rcObject, {110, 90, 160, 120});
    ExpectRect(framed.m_rcPhoto, {160, 120, 60, 45});
    ASSERT_EQ(undo().Count(), 1);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_MOVE);

    // On another object: that one in object mode.
    DoubleClick({180, 140});
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);
    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {320, 220});
    EXPECT_EQ(canvas().m_bPhotoEdit, 0);
    EXPECT_EQ(doc().m_nSelected, 1);

    // On empty canvas: nothing selected and photo-edit mode left as well.
    DoubleClick({180, 140});
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);
    messages().clear();
    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {20, 280});
    EXPECT_EQ(canvas().m_bPhotoEdit, 0);
    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_EQ(canvas().m_bLayersValid, 0);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectCleared, kHotKeysOn}));
}

struct NudgeCase {
    const char* name;
    RectF rc;
    int nDirection;
    bool bMoves;
    float fX;
    float fY;
};

void PrintTo(const NudgeCase& c, std::ostream* pOut)
{
    *pOut << c.name;
}

class NudgeTest : public GestureTest, public ::testing::WithParamInterface<NudgeCase> { };

// The canvas is 400 x 300: each direction stops when only 10 px of the rectangle remain inside.
const NudgeCase kNudgeCases[] = {
    {"LeftAtTen", {-90, 50, 100, 80}, 1, false, -90, 50},
    {"LeftAboveTen", {-89.5f, 50, 100, 80}, 1, true, -90.5f, 50},
    {"UpAtTen", {50, -70, 100, 80}, 2, false, 50, -70},
    {"UpAboveTen", {50, -69.75f, 100, 80}, 2, true, 50, -70.75f},
    {"RightAtTen", {390, 50, 100, 80}, 3, false, 390, 50},
    {"RightAboveTen", {389.5f, 50, 100, 80}, 3, true, 390.5f, 50},
    {"DownAtTen", {50, 290, 100, 80}, 4, false, 50, 290},
    {"DownAboveTen", {50, 289, 100, 80}, 4, true, 50, 290},
    // Only the edge the move pushes further out counts.
    {"RightFromTheLeftEdge", {-90, 50, 100, 80}, 3, true, -89, 50},
    {"UpFromTheBottom", {50, 290, 100, 80}, 2, true, 50, 289},
};

TEST_P(NudgeTest, ObjectKeepsTenPixelsInsideTheCanvas)
{
    const NudgeCase& c = GetParam();
    TheData& element = *AddElement(c.rc);
    canvas().Select(0);

    EXPECT_EQ(canvas().CanNudge(c.nDirection), c.bMoves);
    canvas().NudgeSelection(c.nDirection);

    EXPECT_FLOAT_EQ(element.m_rcObject.X, c.fX);
    EXPECT_FLOAT_EQ(element.m_rcObject.Y, c.fY);
    ASSERT_EQ(undo().Count(), c.bMoves ? 1 : 0);
    if (c.bMoves) {
        EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_MOVE);
    }
}

TEST_P(NudgeTest, PhotoKeepsTenPixelsInsideTheCanvas)
{
    const NudgeCase& c = GetParam();
    TheData& framed = *AddPhoto({150, 100, 100, 80}, c.rc, true, true);
    canvas().Select(0);
    canvas().OnLButtonDblClk();
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);

    EXPECT_EQ(canvas().CanNudge(c.nDirection), c.bMoves);
    canvas().NudgeSelection(c.nDirection);

    EXPECT_FLOAT_EQ(framed.m_rcPhoto.X, c.fX);
    EXPECT_FLOAT_EQ(framed.m_rcPhoto.Y, c.fY);
    ExpectRect(framed.m_rcObject, {150, 100, 100, 80});
    ASSERT_EQ(undo().Count(), c.bMoves ? 1 : 0);
    if (c.bMoves) {
        EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_PHOTO_MOVE);
    }
}

INSTANTIATE_TEST_SUITE_P(Edges, NudgeTest, ::testing::ValuesIn(kNudgeCases),
    [](const ::testing::TestParamInfo<NudgeCase>& info) { return std::string(info.param.name); });

TEST_F(GestureTest, EveryNudgeIsItsOwnUndoStep)
{
    TheData& element = *AddElement({100, 100, 50, 50});
    canvas().Select(0);
    for (int nDirection : {3, 3, 4, 1, 2, 2})
        canvas().NudgeSelection(nDirection);
    ExpectRect(element.m_rcObject, {101, 99, 50, 50});
    ASSERT_EQ(undo().Count(), 6);
    EXPECT_EQ(undo().RecordAt(0)->nDx, 1);
    EXPECT_EQ(undo().RecordAt(2)->nDy, 1);
    EXPECT_EQ(undo().RecordAt(5)->nDy, -1);
    // Unknown keys do nothing.
    for (int nDirection : {0, 6, -1})
        canvas().NudgeSelection(nDirection);
    EXPECT_EQ(undo().Count(), 6);
}

TEST_F(GestureTest, DeleteFlagsTheObjectRecordsItAndDeselects)
{
    TheData& element = *AddElement({100, 100, 50, 50});
    QWidget& bar = GiveFloatBar();
    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {120, 120});
    ASSERT_TRUE(bar.isVisible());
    messages().clear();

    canvas().NudgeSelection(5);

    EXPECT_EQ(element.m_bDeleted, 1);
    ASSERT_EQ(doc().m_vecObjects.size(), 1u);
    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_FALSE(bar.isVisible());
    ASSERT_EQ(undo().Count(), 1);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_DELETE);
    EXPECT_EQ(undo().RecordAt(0)->pObject, &element);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectCleared}));
    // A deleted object no longer catches presses.
    EXPECT_EQ(doc().HitTest(120, 120), -1);

    ASSERT_TRUE(undo().Undo(canvas().width()));
    EXPECT_EQ(element.m_bDeleted, 0);
}

TEST_F(GestureTest, DeleteInPhotoEditModeAndKeysWithoutASelectionDoNothing)
{
    TheData& framed = *AddPhoto({100, 80, 160, 120}, {80, 60, 200, 150}, true, true);
    DoubleClick({180, 140});
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);
    messages().clear();

    canvas().NudgeSelection(5);
    EXPECT_EQ(framed.m_bDeleted, 0);
    EXPECT_EQ(doc().m_nSelected, 0);
    EXPECT_EQ(canvas().m_bPhotoEdit, 1);
    EXPECT_EQ(undo().Count(), 0);
    EXPECT_TRUE(messages().empty());

    canvas().Deselect();
    messages().clear();
    EXPECT_FALSE(canvas().CanNudge(1));
    for (int nDirection = 1; nDirection <= 5; ++nDirection)
        canvas().NudgeSelection(nDirection);
    EXPECT_EQ(framed.m_bDeleted, 0);
    ExpectRect(framed.m_rcObject, {100, 80, 160, 120});
    ExpectRect(framed.m_rcPhoto, {80, 60, 200, 150});
    EXPECT_EQ(undo().Count(), 0);
    EXPECT_TRUE(messages().empty());
}

TEST_F(GestureTest, AddTextObjectPlacesRecordsAndSelectsTheText)
{
    AddElement({100, 100, 50, 50});
    QWidget& bar = GiveFloatBar();

    TheData* pText = canvas().AddTextObject(NewText());

    ASSERT_TRUE(pText);
    ASSERT_EQ(doc().m_vecObjects.size(), 2u);
    EXPECT_EQ(&object(1), pText);
    EXPECT_EQ(pText->m_nIndex, 1);
    EXPECT_FLOAT_EQ(pText->m_rcObject.X, 30);
    EXPECT_FLOAT_EQ(pText->m_rcObject.Y, 30);
    EXPECT_GT(pText->m_rcObject.Width, 2);
    EXPECT_GT(pText->m_rcObject.Height, 2);
    EXPECT_EQ(doc().m_nSelected, 1);
    EXPECT_EQ(g_pCurrentText, pText);
    EXPECT_TRUE(bar.isVisible());
    EXPECT_EQ(canvas().m_bLayersValid, 1);
    // The simulated press moved nothing: the addition is the only step.
    ASSERT_EQ(undo().Count(), 1);
    EXPECT_EQ(undo().RecordAt(0)->nKind, UNDO_ADD);
    EXPECT_EQ(undo().RecordAt(0)->pObject, pText);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectText}));

    ASSERT_TRUE(undo().Undo(canvas().width()));
    EXPECT_EQ(pText->m_bDeleted, 1);
}

TEST_F(GestureTest, AddTextObjectSelectsTheTextEvenInPhotoEditMode)
{
    // A framed photo whose photo lies under (32, 32), being edited.
    AddPhoto({0, 0, 200, 150}, {0, 0, 200, 150}, true, true);
    DoubleClick({100, 75});
    ASSERT_EQ(canvas().m_bPhotoEdit, 1);
    messages().clear();

    TheData* pText = canvas().AddTextObject(NewText());

    EXPECT_EQ(doc().SelectedObject(), pText);
    EXPECT_EQ(canvas().m_bPhotoEdit, 0);
    EXPECT_EQ(messages(), (std::vector<Message> {kSelectText}));
    EXPECT_EQ(canvas().AddTextObject(nullptr), nullptr);
}

TEST_F(GestureTest, ClearCardForgetsTheCurrentTextItFrees)
{
    TheData* pText = canvas().AddTextObject(NewText());
    canvas().Deselect();
    // The text panel still edits the text while nothing is selected.
    g_pCurrentText = pText;
    canvas().ClearCard();
    EXPECT_EQ(g_pCurrentText, nullptr);

    // A text object that is not on this card is left alone.
    auto pOther = NewText();
    g_pCurrentText = pOther.get();
    canvas().ClearCard();
    EXPECT_EQ(g_pCurrentText, pOther.get());
}

TEST_F(GestureTest, CanvasAsksForTheHotKeysOnReleaseAndGivesThemUpWithTheFocus)
{
    auto* pOther = new QLineEdit(&m_window);
    pOther->setGeometry(20, 330, 100, 20);
    pOther->show();
    m_window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));

    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {200, 150});
    EXPECT_TRUE(m_pCanvas->hasFocus());
    EXPECT_EQ(messages(), (std::vector<Message> {kHotKeysOn}));

    messages().clear();
    pOther->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(messages(), (std::vector<Message> {kHotKeysOff}));
}

struct FloatBarCase {
    const char* name;
    RectF rcObject;
    QRect expected;
};

void PrintTo(const FloatBarCase& c, std::ostream* pOut)
{
    *pOut << c.name;
}

class FloatBarTest : public ::testing::TestWithParam<FloatBarCase> { };

// The canvas at (220, 120) on the screen inside a main window (200, 100, 460 x 360); the toolbar 220 wide.
TEST_P(FloatBarTest, SitsCentredUnderTheObjectInsideTheMainWindow)
{
    EXPECT_EQ(FloatBarGeometry(GetParam().rcObject, {220, 120}, {200, 100, 460, 360}, 220), GetParam().expected);
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(Placements, FloatBarTest,
    ::testing::Values(FloatBarCase {"Below", {50, 40, 100, 60}, {210, 232, 220, 60}},
        FloatBarCase {"Truncated", {50.9f, 40.7f, 99.6f, 59.9f}, {209, 231, 220, 60}},
        FloatBarCase {"PastTheBottom", {50, 280, 100, 60}, {210, 400, 220, 60}},
        FloatBarCase {"PastTheLeft", {-80, 40, 100, 60}, {150, 232, 220, 60}},
        FloatBarCase {"PastTheRight", {380, 40, 100, 60}, {490, 232, 220, 60}},
        FloatBarCase {"NotANumber", {kNaN, kNaN, kNaN, kNaN}, {110, 132, 220, 60}}),
    [](const ::testing::TestParamInfo<FloatBarCase>& info) { return std::string(info.param.name); });

TEST_F(GestureTest, SelectionShowsTheToolbarUnderTheObject)
{
    ASSERT_EQ(m_pCanvas->mapToGlobal(QPoint(0, 0)), QPoint(220, 120));
    AddElement({50, 280, 100, 60});
    QWidget& bar = GiveFloatBar();

    QTest::mouseClick(m_pCanvas, Qt::LeftButton, Qt::NoModifier, {60, 290});

    EXPECT_TRUE(bar.isVisible());
    // The object's bottom is below the main window's: the toolbar sits 60 px above that bottom.
    EXPECT_EQ(QRect(bar.mapToGlobal(QPoint(0, 0)), bar.size()), QRect(205, 400, 230, 60));
    EXPECT_EQ(bar.parentWidget(), &m_window);
    canvas().Deselect();
    EXPECT_FALSE(bar.isVisible());
}

} // namespace
