#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include <QPainter>
#include <QPainterPath>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "tests/testsupport.h"

namespace {

using Message = MessageRecorder::Message;

// Stands in for the main window; also notes how many records the history held at each message.
class MainWindowProbe : public MessageRecorder {
public:
    using MessageRecorder::MessageRecorder;
    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() >= QEvent::User && m_pHistory)
            m_vecCounts.push_back(m_pHistory->Count());
        return MessageRecorder::event(pEvent);
    }

    const CUndoHistory* m_pHistory = nullptr;
    std::vector<int> m_vecCounts;
};

// Stands in for the canvas: answers WM_RESTACK by moving the object in the card's list.
class CanvasStandIn : public MessageRecorder {
public:
    using MessageRecorder::MessageRecorder;
    bool event(QEvent* pEvent) override
    {
        if (int(pEvent->type()) == WM_RESTACK && m_pDoc) {
            const auto* pMsg = static_cast<AppMessage*>(pEvent);
            m_pDoc->MoveInStack(int(pMsg->m_wParam), int(pMsg->m_lParam));
        }
        return MessageRecorder::event(pEvent);
    }

    CardDocument* m_pDoc = nullptr;
};

// Everything about an object that an edit can change and that shows on the card or in a saved file.
struct ObjectState {
    int nType = 0;
    QString strPhoto, strMask, strFrameMask, strFrame, strElement;
    int nPhotoState = 0;
    QSize szPhoto, szFrame;
    double dAspect = 0;
    double dPhotoAspect = 0;
    RectF rcPhoto, rcPhotoLocal;
    double dPhotoAngle = 0;
    int bDeleted = 0;
    RectF rcObject;
    double dAngle = 0;
    double dAngleDelta = 0;
    int nIndex = 0;
    QImage image;
    bool bText = false;
    CTextPanel text;
    std::vector<const TheData*> vecStack;
};

ObjectState Capture(const TheData& obj, const CardDocument& doc)
{
    ObjectState s;
    s.nType = obj.m_nType;
    s.strPhoto = obj.m_strPhoto;
    s.strMask = obj.m_strMask;
    s.strFrameMask = obj.m_strFrameMask;
    s.strFrame = obj.m_strFrame;
    s.strElement = obj.m_strElement;
    s.nPhotoState = obj.PhotoState();
    s.szPhoto = obj.m_pPhoto ? obj.m_pPhoto->size() : QSize();
    s.szFrame = obj.m_pFrame ? obj.m_pFrame->size() : QSize();
    s.dAspect = obj.m_dAspect;
    s.dPhotoAspect = obj.m_dPhotoAspect;
    s.rcPhoto = obj.m_rcPhoto;
    s.rcPhotoLocal = obj.m_rcPhotoLocal;
    s.dPhotoAngle = obj.m_dPhotoAngle;
    s.bDeleted = obj.m_bDeleted;
    s.rcObject = obj.m_rcObject;
    s.dAngle = obj.m_dAngle;
    s.dAngleDelta = obj.m_dAngleDelta;
    s.nIndex = obj.m_nIndex;
    if (obj.m_pImage)
        s.image = *obj.m_pImage;
    if (obj.m_pText) {
        s.bText = true;
        s.text = *obj.m_pText;
    }
    for (const auto& p : doc.m_vecObjects)
        s.vecStack.push_back(p.get());
    return s;
}

enum class Compare {
    Exact,
    // Photo placement recomputed through the crop of the working photo: float rounding allowed.
    NearPlacement,
    // A text whose rectangle keeps the size of the edit until the next refit.
    ExceptTextSize,
};

class Differences {
public:
    template <class T> void Check(const char* szName, const T& a, const T& b)
    {
        if (!(a == b))
            m_out << szName << ": " << Show(a) << " != " << Show(b) << "; ";
    }
    void CheckNear(const char* szName, const RectF& a, const RectF& b)
    {
        const float e = 1e-3f;
        if (std::abs(a.X - b.X) > e || std::abs(a.Y - b.Y) > e || std::abs(a.Width - b.Width) > e
            || std::abs(a.Height - b.Height) > e)
            m_out << szName << ": " << a << " != " << b << "; ";
    }
    std::string Text() const { return m_out.str(); }

private:
    template <class T> static std::string Show(const T& v)
    {
        std::ostringstream out;
        out << v;
        return out.str();
    }
    static std::string Show(const QString& s) { return '"' + s.toStdString() + '"'; }
    static std::string Show(const QSize& s) { return std::to_string(s.width()) + "x" + std::to_string(s.height()); }
    static std::string Show(const QImage& image) { return "image " + Show(image.size()); }
    static std::string Show(const std::vector<const TheData*>& v) { return std::to_string(v.size()) + " objects"; }

    std::ostringstream m_out;
};

// What differs between two states, empty when none. The photo's placement counts only while it
// shows in a frame, the frame's mask only while a frame is loaded: elsewhere nothing reads them.
std::string Diff(const ObjectState& a, const ObjectState& b, Compare mode = Compare::Exact)
{
    Differences d;
    d.Check("type", a.nType, b.nType);
    d.Check("photo", a.strPhoto, b.strPhoto);
    d.Check("mask", a.strMask, b.strMask);
    d.Check("frame", a.strFrame, b.strFrame);
    d.Check("element", a.strElement, b.strElement);
    d.Check("photo state", a.nPhotoState, b.nPhotoState);
    d.Check("photo size", a.szPhoto, b.szPhoto);
    d.Check("frame size", a.szFrame, b.szFrame);
    if (!a.szFrame.isEmpty())
        d.Check("frame mask", a.strFrameMask, b.strFrameMask);
    if (!a.szPhoto.isEmpty())
        d.Check("photo aspect", a.dPhotoAspect, b.dPhotoAspect);
    if (a.nPhotoState == PHOTO_FRAMED) {
        if (mode == Compare::NearPlacement) {
            d.CheckNear("photo rectangle", a.rcPhoto, b.rcPhoto);
            d.CheckNear("local photo rectangle", a.rcPhotoLocal, b.rcPhotoLocal);
        } else {
            d.Check("photo rectangle", a.rcPhoto, b.rcPhoto);
            d.Check("local photo rectangle", a.rcPhotoLocal, b.rcPhotoLocal);
        }
        d.Check("photo angle", a.dPhotoAngle, b.dPhotoAngle);
    }
    d.Check("deleted", a.bDeleted, b.bDeleted);
    if (mode != Compare::ExceptTextSize) {
        d.Check("object rectangle", a.rcObject, b.rcObject);
        d.Check("aspect", a.dAspect, b.dAspect);
    }
    d.Check("angle", a.dAngle, b.dAngle);
    d.Check("angle delta", a.dAngleDelta, b.dAngleDelta);
    d.Check("index", a.nIndex, b.nIndex);
    d.Check("stack", a.vecStack, b.vecStack);
    if (mode == Compare::NearPlacement) {
        if (MeanAbsDiff(a.image, b.image) > 0.5)
            d.Check("image", a.image, b.image);
    } else {
        d.Check("image", a.image, b.image);
    }
    d.Check("has text", a.bText, b.bText);
    if (a.bText && b.bText) {
        const CTextPanel& s = a.text;
        const CTextPanel& t = b.text;
        d.Check("text", s.m_strText, t.m_strText);
        d.Check("font", s.m_strFont, t.m_strFont);
        d.Check("size", s.m_nSize, t.m_nSize);
        d.Check("colour", s.m_clrText, t.m_clrText);
        d.Check("bold", s.m_bBold, t.m_bBold);
        d.Check("italic", s.m_bItalic, t.m_bItalic);
        d.Check("underline", s.m_bUnderline, t.m_bUnderline);
        d.Check("strikeout", s.m_bStrikeout, t.m_bStrikeout);
        d.Check("alignment", s.m_nAlign, t.m_nAlign);
        d.Check("shadow", s.m_bShadow, t.m_bShadow);
        d.Check("shadow x", s.m_nShadowX, t.m_nShadowX);
        d.Check("shadow y", s.m_nShadowY, t.m_nShadowY);
        d.Check("shadow colour", s.m_clrShadow, t.m_clrShadow);
        if (mode != Compare::ExceptTextSize)
            d.Check("layout", s.m_rcLayout, t.m_rcLayout);
    }
    return d.Text();
}

enum class Made { Element, Text, Plain, Empty, FrameOnly, Masked, Framed, FramedTurned };

class UndoHistoryTest : public ::testing::Test {
public:
    UndoHistoryTest()
        : m_canvas(&m_main)
        , m_doc(&m_canvas, &m_main)
    {
        m_doc.m_szClient = QSize(800, 600);
        m_canvas.m_pDoc = &m_doc;
        m_main.m_pHistory = m_doc.m_pUndo.get();
        m_strPhotoA = m_files.photo("a.png", 400, 300);
        m_strPhotoB = m_files.photo("b.png", 200, 300);
        m_strFrameF = Frame("f", 200, 150);
        m_strFrameG = Frame("g", 160, 160);
        m_strMask = Mask("heart.png", 120, 100);
        m_strMask2 = Mask("star.png", 100, 100);
        m_strElement = m_files.solid("leaf.png", 100, 50, QColor(40, 160, 40));
    }

    CUndoHistory& History() { return *m_doc.m_pUndo; }
    ObjectState State(const TheData& obj) const { return Capture(obj, m_doc); }

    TheData* Make(Made made)
    {
        auto p = std::make_unique<TheData>();
        TheData& obj = *p;
        switch (made) {
        case Made::Element:
            obj.m_nType = OBJ_ELEMENT;
            obj.m_strElement = m_strElement;
            obj.LoadImages();
            obj.m_rcObject = {50, 60, 120, 60};
            obj.RebuildImage();
            break;
        case Made::Text:
            obj.m_nType = OBJ_TEXT;
            obj.m_pText = std::make_unique<CTextPanel>();
            obj.m_pText->m_strText = QStringLiteral("Happy Birthday");
            obj.m_rcObject = {30, 40, 0, 0};
            obj.RefitText();
            break;
        case Made::Empty:
            obj.m_rcObject = {100, 80, 160, 160};
            obj.m_dAspect = 1;
            obj.SetMask(m_strMask);
            break;
        case Made::Plain:
        case Made::Masked:
            obj.m_rcObject = {100, 80, 200, 200};
            obj.SetPhoto(m_strPhotoA, 0, {}, {}, 0);
            if (made == Made::Masked)
                obj.SetMask(m_strMask);
            break;
        case Made::FrameOnly:
        case Made::Framed:
        case Made::FramedTurned:
            obj.m_rcObject = {100, 80, 200, 200};
            obj.m_strFrameMask = FrameMaskPath(m_strFrameF);
            obj.SetFrame(m_strFrameF, 0, {}, {});
            if (made == Made::FrameOnly)
                break;
            obj.SetPhoto(m_strPhotoA, 0, {}, {}, 0);
            // A placement of the user's own rather than the automatic one.
            obj.m_rcPhoto = {obj.m_rcObject.X - 30, obj.m_rcObject.Y - 20, 260, 195};
            obj.m_rcPhotoLocal = obj.m_rcPhoto;
            obj.m_dPhotoAngle = 12.5;
            if (made == Made::FramedTurned) {
                obj.m_dAngle = 30;
                obj.m_rcPhotoLocal = {obj.m_rcObject.X - 24, obj.m_rcObject.Y - 27, 260, 195};
            }
            obj.RebuildImage();
            break;
        }
        return m_doc.AddObject(std::move(p), 0);
    }

    TheData* MakeText(const QString& strText)
    {
        TheData* pText = Make(Made::Text);
        pText->m_pText->m_strText = strText;
        pText->RefitText();
        return pText;
    }

    void Move(TheData& obj, int dx, int dy)
    {
        History().BeginEdit(UNDO_MOVE, &obj);
        obj.MoveBy(dx, dy, 1);
        History().EndEdit();
    }

    TestFiles m_files;
    MainWindowProbe m_main;
    CanvasStandIn m_canvas;
    CardDocument m_doc;
    QString m_strPhotoA, m_strPhotoB, m_strFrameF, m_strFrameG, m_strMask, m_strMask2, m_strElement;

private:
    // A frame picture with a transparent oval window, and its mask next to it (name.png, name.jpg).
    QString Frame(const QString& strName, int w, int h)
    {
        QImage frame(w, h, QImage::Format_ARGB32);
        frame.fill(Qt::transparent);
        QPainterPath border;
        border.addRect(0, 0, w, h);
        border.addEllipse(QRectF(w * 0.15, h * 0.15, w * 0.7, h * 0.7));
        {
            QPainter painter(&frame);
            painter.fillPath(border, QColor(120, 60, 20));
        }
        const QString strFrame = m_files.write(strName + ".png", frame);
        Mask(strName + ".jpg", w, h);
        return strFrame;
    }

    QString Mask(const QString& strName, int w, int h)
    {
        QImage mask(w, h, QImage::Format_RGB32);
        mask.fill(Qt::black);
        {
            QPainter painter(&mask);
            painter.setPen(Qt::NoPen);
            painter.setBrush(Qt::white);
            painter.drawEllipse(QRectF(w * 0.15, h * 0.15, w * 0.7, h * 0.7));
        }
        return m_files.write(strName, mask, 95);
    }
};

// ---- Round trips: every kind, undo gives back the state before the edit, redo the state after it.

struct RoundTrip {
    const char* szName;
    int nKind;
    Made made;
    void (*edit)(UndoHistoryTest&, TheData&);
    Compare undoMode = Compare::Exact;
};

std::ostream& operator<<(std::ostream& out, const RoundTrip& row)
{
    return out << row.szName;
}

class UndoRoundTripTest : public UndoHistoryTest, public ::testing::WithParamInterface<RoundTrip> { };

TEST_P(UndoRoundTripTest, UndoRestoresThePreviousStateAndRedoTheEditedOne)
{
    const RoundTrip& row = GetParam();
    TheData* pObject = Make(row.made);
    // Two more objects so that stacking has somewhere to go.
    Make(Made::Element);
    Make(Made::Element);
    ASSERT_EQ(History().Count(), 0);
    const ObjectState before = State(*pObject);

    row.edit(*this, *pObject);
    ASSERT_EQ(History().Count(), 1);
    EXPECT_EQ(History().RecordAt(0)->nKind, row.nKind);
    EXPECT_EQ(History().RecordAt(0)->pObject, pObject);
    const ObjectState after = State(*pObject);
    ASSERT_NE(Diff(before, after), "") << "the edit changed nothing";

    const Compare redoMode = row.undoMode == Compare::NearPlacement ? Compare::NearPlacement : Compare::Exact;
    for (int nPass = 0; nPass < 2; ++nPass) {
        SCOPED_TRACE(nPass);
        ASSERT_TRUE(History().Undo(800));
        EXPECT_EQ(Diff(before, State(*pObject), row.undoMode), "");
        if (row.undoMode == Compare::ExceptTextSize) {
            EXPECT_EQ(pObject->m_rcObject, after.rcObject) << "only a refit changes the text's size";
        }
        EXPECT_FALSE(History().Undo(800));
        ASSERT_TRUE(History().Redo(800));
        EXPECT_EQ(Diff(after, State(*pObject), redoMode), "");
        EXPECT_FALSE(History().Redo(800));
    }
}

void EditMove(UndoHistoryTest& t, TheData& obj)
{
    t.Move(obj, 25, -12);
}

void EditResize(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_RESIZE, &obj);
    obj.StorePhotoCrop(1);
    obj.ResizeBy(40, 1);
    obj.StorePhotoCrop(0);
    obj.RebuildImage();
    t.History().EndEdit();
}

void EditRotate(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_ROTATE, &obj);
    obj.m_dAngleDelta = 35;
    t.History().EndEdit();
    obj.CommitAngle(1);
}

void EditDelete(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_DELETE, &obj);
    obj.m_bDeleted = 1;
    t.History().EndEdit();
}

// What the canvas's restack does: move the object to the top and tell the history where.
void EditOrder(UndoHistoryTest& t, TheData& obj)
{
    const int nTop = int(t.m_doc.m_vecObjects.size()) - 1;
    t.History().BeginEdit(UNDO_ORDER, &obj);
    t.History().SetOrder(obj.m_nIndex, nTop);
    t.m_doc.MoveInStack(obj.m_nIndex, nTop);
    t.History().EndEdit();
}

void EditPhoto(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_PHOTO, &obj);
    obj.SetPhoto(t.m_strPhotoB, 0, {}, {}, 0);
    t.History().EndEdit();
}

void EditRemovePhoto(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_PHOTO, &obj);
    obj.SetPhoto(QString(), 0, {}, {}, 0);
    t.History().EndEdit();
}

void EditMask(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_MASK, &obj);
    obj.SetMask(t.m_strMask2);
    t.History().EndEdit();
}

void EditFrame(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_FRAME, &obj);
    obj.m_strFrameMask = FrameMaskPath(t.m_strFrameG);
    obj.SetFrame(t.m_strFrameG, 0, {}, {});
    t.History().EndEdit();
}

void EditRemoveFrame(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_FRAME, &obj);
    obj.SetFrame(QString(), 0, {}, {});
    t.History().EndEdit();
}

void EditPhotoMove(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_PHOTO_MOVE, &obj);
    obj.MoveBy(7, -9, 0);
    obj.RebuildImage();
    t.History().EndEdit();
}

void EditPhotoRotate(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_PHOTO_ROTATE, &obj);
    obj.m_dAngleDelta = 20;
    t.History().EndEdit();
    obj.CommitAngle(0);
    obj.RebuildImage();
}

void EditPhotoResize(UndoHistoryTest& t, TheData& obj)
{
    t.History().BeginEdit(UNDO_PHOTO_RESIZE, &obj);
    obj.ResizeBy(30, 0);
    obj.RebuildImage();
    t.History().EndEdit();
}

// The text panel's snapshot edits: open, change, refit, close.
template <int Kind> void EditTextField(UndoHistoryTest& t, TheData& obj)
{
    CTextPanel& text = *obj.m_pText;
    t.History().BeginEdit(Kind, &obj);
    if (Kind == UNDO_TEXT)
        text.m_strText = QStringLiteral("Happy New Year\nto all");
    else if (Kind == UNDO_SIZE)
        text.m_nSize = 40;
    else if (Kind == UNDO_SHADOW_X)
        text.m_nShadowX = 6;
    else
        text.m_nShadowY = 7;
    obj.RefitText();
    t.History().EndEdit();
}

// The text panel's direct records: change, refit, push the old and the new value.
template <int Kind> void EditTextDirect(UndoHistoryTest& t, TheData& obj)
{
    CTextPanel& text = *obj.m_pText;
    auto r = std::make_unique<UndoRecord>();
    r->nKind = Kind;
    r->pObject = &obj;
    switch (Kind) {
    case UNDO_FONT:
        r->strOldFont = text.m_strFont;
        text.m_strFont = QStringLiteral("DejaVu Serif");
        r->strNewFont = text.m_strFont;
        break;
    case UNDO_COLOR:
        r->clrOld = text.m_clrText;
        text.m_clrText = 0xFF2050C0;
        r->clrNew = text.m_clrText;
        break;
    case UNDO_BOLD:
        text.m_bBold = !text.m_bBold;
        break;
    case UNDO_ITALIC:
        text.m_bItalic = !text.m_bItalic;
        break;
    case UNDO_UNDERLINE:
        text.m_bUnderline = !text.m_bUnderline;
        break;
    case UNDO_STRIKEOUT:
        text.m_bStrikeout = !text.m_bStrikeout;
        break;
    case UNDO_ALIGN:
        r->nOldAlign = text.m_nAlign;
        text.m_nAlign = 2;
        r->nNewAlign = text.m_nAlign;
        break;
    case UNDO_SHADOW:
        text.m_bShadow = !text.m_bShadow;
        break;
    case UNDO_SHADOW_COLOR:
        r->clrOldShadow = text.m_clrShadow;
        text.m_clrShadow = 0xFF101010;
        r->clrNewShadow = text.m_clrShadow;
        break;
    default:
        break;
    }
    obj.RefitText();
    t.History().Push(std::move(r));
}

// clang-format off
const RoundTrip kRoundTrips[] = {
    {"MoveElement", UNDO_MOVE, Made::Element, EditMove},
    {"MoveTurnedFramedPhoto", UNDO_MOVE, Made::FramedTurned, EditMove},
    {"ResizeElement", UNDO_RESIZE, Made::Element, EditResize},
    {"ResizeFramedPhoto", UNDO_RESIZE, Made::Framed, EditResize, Compare::NearPlacement},
    {"Rotate", UNDO_ROTATE, Made::Element, EditRotate},
    {"Delete", UNDO_DELETE, Made::Masked, EditDelete},
    {"Order", UNDO_ORDER, Made::Text, EditOrder},
    {"PhotoOnPlain", UNDO_PHOTO, Made::Plain, EditPhoto},
    {"PhotoOnEmpty", UNDO_PHOTO, Made::Empty, EditPhoto},
    {"PhotoOnFrameOnly", UNDO_PHOTO, Made::FrameOnly, EditPhoto},
    {"PhotoOnMasked", UNDO_PHOTO, Made::Masked, EditPhoto},
    {"PhotoOnFramed", UNDO_PHOTO, Made::FramedTurned, EditPhoto},
    {"PhotoRemovedFromFramed", UNDO_PHOTO, Made::FramedTurned, EditRemovePhoto},
    {"MaskOnPlain", UNDO_MASK, Made::Plain, EditMask},
    {"MaskOnEmpty", UNDO_MASK, Made::Empty, EditMask},
    {"MaskOnFrameOnly", UNDO_MASK, Made::FrameOnly, EditMask},
    {"MaskOnMasked", UNDO_MASK, Made::Masked, EditMask},
    {"MaskOnFramed", UNDO_MASK, Made::FramedTurned, EditMask},
    {"FrameOnPlain", UNDO_FRAME, Made::Plain, EditFrame},
    {"FrameOnEmpty", UNDO_FRAME, Made::Empty, EditFrame},
    {"FrameOnFrameOnly", UNDO_FRAME, Made::FrameOnly, EditFrame},
    {"FrameOnMasked", UNDO_FRAME, Made::Masked, EditFrame},
    {"FrameOnFramed", UNDO_FRAME, Made::FramedTurned, EditFrame},
    {"FrameRemovedFromFramed", UNDO_FRAME, Made::FramedTurned, EditRemoveFrame},
    {"PhotoMove", UNDO_PHOTO_MOVE, Made::Framed, EditPhotoMove},
    {"PhotoRotate", UNDO_PHOTO_ROTATE, Made::FramedTurned, EditPhotoRotate},
    {"PhotoResize", UNDO_PHOTO_RESIZE, Made::Framed, EditPhotoResize},
    {"Text", UNDO_TEXT, Made::Text, EditTextField<UNDO_TEXT>},
    {"Font", UNDO_FONT, Made::Text, EditTextDirect<UNDO_FONT>},
    {"Size", UNDO_SIZE, Made::Text, EditTextField<UNDO_SIZE>},
    {"Colour", UNDO_COLOR, Made::Text, EditTextDirect<UNDO_COLOR>},
    {"Bold", UNDO_BOLD, Made::Text, EditTextDirect<UNDO_BOLD>, Compare::ExceptTextSize},
    {"Italic", UNDO_ITALIC, Made::Text, EditTextDirect<UNDO_ITALIC>, Compare::ExceptTextSize},
    {"Underline", UNDO_UNDERLINE, Made::Text, EditTextDirect<UNDO_UNDERLINE>, Compare::ExceptTextSize},
    {"Strikeout", UNDO_STRIKEOUT, Made::Text, EditTextDirect<UNDO_STRIKEOUT>, Compare::ExceptTextSize},
    {"Align", UNDO_ALIGN, Made::Text, EditTextDirect<UNDO_ALIGN>},
    {"Shadow", UNDO_SHADOW, Made::Text, EditTextDirect<UNDO_SHADOW>, Compare::ExceptTextSize},
    {"ShadowX", UNDO_SHADOW_X, Made::Text, EditTextField<UNDO_SHADOW_X>, Compare::ExceptTextSize},
    {"ShadowY", UNDO_SHADOW_Y, Made::Text, EditTextField<UNDO_SHADOW_Y>, Compare::ExceptTextSize},
    {"ShadowColour", UNDO_SHADOW_COLOR, Made::Text, EditTextDirect<UNDO_SHADOW_COLOR>},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(EveryKind, UndoRoundTripTest, ::testing::ValuesIn(kRoundTrips),
    [](const ::testing::TestParamInfo<RoundTrip>& info) { return std::string(info.param.szName); });

// ---- Adding and deleting

TEST_F(UndoHistoryTest, AddedObjectDisappearsOnUndoAndComesBackOnRedo)
{
    auto p = std::make_unique<TheData>();
    p->m_nType = OBJ_ELEMENT;
    p->m_rcObject = {10, 10, 50, 50};
    TheData* pAdded = m_doc.AddObject(std::move(p), 1);
    ASSERT_EQ(History().Count(), 1);
    EXPECT_EQ(History().RecordAt(0)->nKind, UNDO_ADD);
    EXPECT_EQ(m_doc.HitTest(30, 30), 0);

    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(pAdded->m_bDeleted, 1);
    EXPECT_EQ(m_doc.HitTest(30, 30), -1);
    ASSERT_TRUE(History().Redo(800));
    EXPECT_EQ(pAdded->m_bDeleted, 0);
    EXPECT_EQ(m_doc.HitTest(30, 30), 0);
}

TEST_F(UndoHistoryTest, UndoneDeletionIsHittableAgainAtItsPlaceInTheStack)
{
    TheData* pBelow = Make(Made::Element);
    TheData* pAbove = Make(Made::Element);
    EditDelete(*this, *pAbove);
    EXPECT_EQ(m_doc.HitTest(80, 80), pBelow->m_nIndex);

    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(m_doc.HitTest(80, 80), pAbove->m_nIndex);
    EXPECT_EQ(m_doc.m_vecObjects[1].get(), pAbove);
}

// ---- Restacking goes through the canvas

TEST_F(UndoHistoryTest, RestackAsksTheCanvasToMoveTheObjectBackAndForth)
{
    TheData* a = Make(Made::Element);
    TheData* b = Make(Made::Element);
    TheData* c = Make(Made::Element);
    EditOrder(*this, *a);
    ASSERT_EQ(m_doc.m_vecObjects[2].get(), a);

    ASSERT_TRUE(History().Undo(800));
    ASSERT_TRUE(History().Redo(800));
    const std::vector<Message> expected {{WM_RESTACK, 2, 0}, {WM_RESTACK, 0, 2}};
    EXPECT_EQ(m_canvas.m_vecMessages, expected);
    EXPECT_EQ(m_doc.m_vecObjects[0].get(), b);
    EXPECT_EQ(m_doc.m_vecObjects[1].get(), c);
    EXPECT_EQ(m_doc.m_vecObjects[2].get(), a);

    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(m_doc.m_vecObjects[0].get(), a);
    EXPECT_EQ(m_doc.m_vecObjects[1].get(), b);
    EXPECT_EQ(m_doc.m_vecObjects[2].get(), c);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(m_doc.m_vecObjects[size_t(i)]->m_nIndex, i);
    // Everything else about the history goes to the main window only.
    for (const Message& m : m_main.m_vecMessages)
        EXPECT_NE(m.nMessage, WM_RESTACK);
}

// ---- Messages

TEST_F(UndoHistoryTest, PushTellsTheMainWindowBeforeStoringAndReportsTheStateAfter)
{
    TheData* pObject = Make(Made::Element);
    Move(*pObject, 10, 0);
    const std::vector<Message> expected {{WM_DOCCHANGED, 0, 0}, {WM_UNDOSTATE, 0, 0}};
    EXPECT_EQ(m_main.m_vecMessages, expected);
    EXPECT_EQ(m_main.m_vecCounts, (std::vector<int> {0, 1}));
    EXPECT_TRUE(m_canvas.m_vecMessages.empty());

    m_main.m_vecMessages.clear();
    m_main.m_vecCounts.clear();
    Move(*pObject, 10, 0);
    const std::vector<Message> expected2 {{WM_DOCCHANGED, 0, 0}, {WM_UNDOSTATE, 1, 1}};
    EXPECT_EQ(m_main.m_vecMessages, expected2);
    EXPECT_EQ(m_main.m_vecCounts, (std::vector<int> {1, 2}));
}

TEST_F(UndoHistoryTest, NewEditAfterUndoDropsTheRedoSide)
{
    TheData* pObject = Make(Made::Element);
    const float x0 = pObject->m_rcObject.X;
    for (int i = 0; i < 3; ++i)
        Move(*pObject, 10, 0);
    m_main.m_vecMessages.clear();
    m_main.m_vecCounts.clear();

    ASSERT_TRUE(History().Undo(800));
    ASSERT_TRUE(History().Undo(800));
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, x0 + 10);
    Move(*pObject, 5, 0);
    const std::vector<Message> expected {
        {WM_UNDOSTATE, 1, 2}, {WM_UNDOSTATE, 0, 2}, {WM_DOCCHANGED, 0, 0}, {WM_UNDOSTATE, 1, 1}};
    EXPECT_EQ(m_main.m_vecMessages, expected);
    // The main window hears of the change while the undone steps are still there.
    EXPECT_EQ(m_main.m_vecCounts, (std::vector<int> {3, 3, 3, 2}));
    EXPECT_EQ(History().Count(), 2);
    EXPECT_EQ(History().Current(), 1);

    m_main.m_vecMessages.clear();
    EXPECT_FALSE(History().Redo(800));
    EXPECT_TRUE(m_main.m_vecMessages.empty());
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, x0 + 15);
    ASSERT_TRUE(History().Undo(800));
    ASSERT_TRUE(History().Undo(800));
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, x0);
}

TEST_F(UndoHistoryTest, UndoingEverythingDisablesUndoAndRedoStartsFromTheOldest)
{
    TheData* pObject = Make(Made::Element);
    const float x0 = pObject->m_rcObject.X;
    Move(*pObject, 10, 0);
    Move(*pObject, 20, 0);
    Move(*pObject, 40, 0);
    while (History().Undo(800)) { }
    EXPECT_EQ(History().Current(), -1);
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, x0);
    EXPECT_EQ(m_main.m_vecMessages.back(), (Message {WM_UNDOSTATE, -1, 2}));

    const size_t nMessages = m_main.m_vecMessages.size();
    EXPECT_FALSE(History().Undo(800));
    EXPECT_EQ(m_main.m_vecMessages.size(), nMessages);

    ASSERT_TRUE(History().Redo(800));
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, x0 + 10);
    EXPECT_EQ(m_main.m_vecMessages.back(), (Message {WM_UNDOSTATE, 0, 2}));
}

TEST_F(UndoHistoryTest, KeepsOnlyTheLast80Steps)
{
    TheData* pObject = Make(Made::Element);
    const float x0 = pObject->m_rcObject.X;
    for (int i = 0; i < 85; ++i)
        Move(*pObject, 2, 0);
    EXPECT_EQ(History().Count(), kMaxUndoRecords);
    EXPECT_EQ(History().Current(), kMaxUndoRecords - 1);
    EXPECT_EQ(m_main.m_vecMessages.back(), (Message {WM_UNDOSTATE, 79, 79}));

    for (int i = 0; i < 80; ++i)
        ASSERT_TRUE(History().Undo(800)) << i;
    EXPECT_FALSE(History().Undo(800));
    // The first five moves are no longer recorded.
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, x0 + 10);
    EXPECT_EQ(m_main.m_vecMessages.back(), (Message {WM_UNDOSTATE, -1, 79}));
}

TEST_F(UndoHistoryTest, HistoryWithoutMainWindowStillWorks)
{
    MessageRecorder owner;
    CUndoHistory history(&owner, nullptr, &m_doc);
    CUndoHistory orphan(nullptr, nullptr, nullptr);
    TheData* pObject = Make(Made::Element);
    for (CUndoHistory* p : {&history, &orphan}) {
        auto r = std::make_unique<UndoRecord>();
        r->nKind = UNDO_ORDER;
        r->pObject = pObject;
        r->nOrderFrom = 1;
        r->nOrderTo = 3;
        p->Push(std::move(r));
        EXPECT_TRUE(p->Undo(800));
        EXPECT_TRUE(p->Redo(800));
    }
    const std::vector<Message> expected {{WM_RESTACK, 3, 1}, {WM_RESTACK, 1, 3}};
    EXPECT_EQ(owner.m_vecMessages, expected);
    EXPECT_EQ(history.RecordAt(0)->nCanvasWidth, 800);
    EXPECT_EQ(orphan.RecordAt(0)->nCanvasWidth, 0);
    EXPECT_TRUE(m_main.m_vecMessages.empty());
}

TEST_F(UndoHistoryTest, ClearForgetsEveryStepQuietly)
{
    TheData* pObject = Make(Made::Element);
    Move(*pObject, 10, 0);
    Move(*pObject, 10, 0);
    History().Undo(800);
    m_main.m_vecMessages.clear();
    History().Clear();
    EXPECT_EQ(History().Count(), 0);
    EXPECT_EQ(History().Current(), -1);
    EXPECT_FALSE(History().Undo(800));
    EXPECT_FALSE(History().Redo(800));
    EXPECT_TRUE(m_main.m_vecMessages.empty());
}

// ---- Replay at another canvas size

struct ReplayCase {
    int nRecordWidth;
    int nReplayWidth;
    int nMove;
    int nExpectedBack;
};

void PrintTo(const ReplayCase& c, std::ostream* pOut)
{
    *pOut << "move " << c.nMove << " at " << c.nRecordWidth << " replayed at " << c.nReplayWidth;
}

class UndoReplayTest : public UndoHistoryTest, public ::testing::WithParamInterface<ReplayCase> { };

TEST_P(UndoReplayTest, StepsAreReplayedInTodaysCardPixels)
{
    const ReplayCase& c = GetParam();
    TheData* pObject = Make(Made::Element);
    m_doc.m_szClient.setWidth(c.nRecordWidth);
    Move(*pObject, c.nMove, c.nMove);
    ASSERT_EQ(History().Count(), 1);
    EXPECT_EQ(History().RecordAt(0)->nCanvasWidth, c.nRecordWidth);

    const RectF rcMoved = pObject->m_rcObject;
    ASSERT_TRUE(History().Undo(c.nReplayWidth));
    EXPECT_FLOAT_EQ(pObject->m_rcObject.X, rcMoved.X - c.nExpectedBack);
    EXPECT_FLOAT_EQ(pObject->m_rcObject.Y, rcMoved.Y - c.nExpectedBack);
    ASSERT_TRUE(History().Redo(c.nReplayWidth));
    EXPECT_EQ(pObject->m_rcObject, rcMoved);
}

INSTANTIATE_TEST_SUITE_P(Widths, UndoReplayTest,
    ::testing::Values(ReplayCase {800, 400, 10, 5}, ReplayCase {800, 800, 10, 10}, ReplayCase {400, 800, 10, 20},
        ReplayCase {800, 300, 15, 5}, ReplayCase {800, 300, -15, -5},
        // A canvas without a width carries no scale: no division by zero, the step replays as recorded.
        ReplayCase {0, 400, 10, 10}, ReplayCase {800, 0, 10, 10}, ReplayCase {0, 0, 10, 10}));

TEST_F(UndoHistoryTest, RestoredPhotoPlacementIsScaledToTheCanvas)
{
    TheData* pObject = Make(Made::FramedTurned);
    const ObjectState before = State(*pObject);
    EditPhoto(*this, *pObject);
    // The canvas is halved: its rescale halves every rectangle before the undo.
    m_doc.m_szClient = QSize(400, 300);
    pObject->m_rcObject = pObject->m_rcObject.scaled(0.5);
    pObject->m_rcPhoto = pObject->m_rcPhoto.scaled(0.5);
    pObject->m_rcPhotoLocal = pObject->m_rcPhotoLocal.scaled(0.5);

    ASSERT_TRUE(History().Undo(400));
    EXPECT_EQ(pObject->m_strPhoto, m_strPhotoA);
    EXPECT_EQ(pObject->m_rcPhoto, before.rcPhoto.scaled(0.5));
    EXPECT_EQ(pObject->m_rcPhotoLocal, before.rcPhotoLocal.scaled(0.5));
    EXPECT_EQ(pObject->m_dPhotoAngle, before.dPhotoAngle);
}

// ---- What is not recorded

TEST_F(UndoHistoryTest, SubPixelChangesAreNotRecorded)
{
    TheData* pObject = Make(Made::Framed);
    struct Case {
        const char* szName;
        int nKind;
        float dx, dy, dw;
        bool bRecorded;
    };
    const Case cases[] = {
        {"move 0.6 right", UNDO_MOVE, 0.6f, 0, 0, false},
        {"move 0.6 down", UNDO_MOVE, 0, 0.6f, 0, false},
        {"move 0.9 left", UNDO_MOVE, -0.9f, 0.4f, 0, false},
        {"move 1 right", UNDO_MOVE, 1, 0, 0, true},
        {"move 0.6 right, 1.2 down", UNDO_MOVE, 0.6f, 1.2f, 0, true},
        {"resize 0.6", UNDO_RESIZE, 0, 0, 0.6f, false},
        {"resize -1.5", UNDO_RESIZE, 0, 0, -1.5f, true},
        {"photo move 0.6", UNDO_PHOTO_MOVE, 0.6f, -0.6f, 0, false},
        {"photo move 2", UNDO_PHOTO_MOVE, 2, 0, 0, true},
        {"photo resize 0.6", UNDO_PHOTO_RESIZE, 0, 0, 0.6f, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.szName);
        const int nCount = History().Count();
        History().BeginEdit(c.nKind, pObject);
        RectF& rc = c.nKind == UNDO_MOVE || c.nKind == UNDO_RESIZE ? pObject->m_rcObject : pObject->m_rcPhoto;
        rc.X += c.dx;
        rc.Y += c.dy;
        rc.Width += c.dw;
        History().EndEdit();
        EXPECT_EQ(History().Count(), nCount + (c.bRecorded ? 1 : 0));
    }
}

TEST_F(UndoHistoryTest, UnchangedSnapshotsAreNotRecorded)
{
    TheData* pFramed = Make(Made::Framed);
    TheData* pText = Make(Made::Text);
    for (int nKind : {UNDO_ROTATE, UNDO_PHOTO_ROTATE}) {
        History().BeginEdit(nKind, pFramed);
        History().EndEdit();
    }
    for (int nKind : {UNDO_SIZE, UNDO_SHADOW_X, UNDO_SHADOW_Y}) {
        History().BeginEdit(nKind, pText);
        History().EndEdit();
    }
    EXPECT_EQ(History().Count(), 0);
    EXPECT_TRUE(m_main.m_vecMessages.empty());
}

TEST_F(UndoHistoryTest, SecondEndEditForOneBeginEditRecordsNothing)
{
    TheData* pObject = Make(Made::Element);
    Move(*pObject, 10, 0);
    History().EndEdit();
    EXPECT_EQ(History().Count(), 1);
    EditDelete(*this, *pObject);
    History().EndEdit();
    EXPECT_EQ(History().Count(), 2);
}

// ---- The text box's open edit

TEST_F(UndoHistoryTest, FocusingTheTextBoxAndLeavingWithoutTypingRecordsNothing)
{
    TheData* pText = MakeText(QStringLiteral("Merry"));
    History().BeginEdit(UNDO_TEXT, pText);
    History().SetTextOpen(1);
    History().EndEdit();
    EXPECT_EQ(History().Count(), 0);
    EXPECT_EQ(History().TextOpen(), 0);
    EXPECT_TRUE(m_main.m_vecMessages.empty());

    // Typing and then restoring the same text is no change either.
    History().BeginEdit(UNDO_TEXT, pText);
    pText->m_pText->m_strText = QStringLiteral("Merry Christmas");
    pText->m_pText->m_strText = QStringLiteral("Merry");
    History().EndEdit();
    EXPECT_EQ(History().Count(), 0);
}

TEST_F(UndoHistoryTest, TextComparisonIsCaseSensitive)
{
    TheData* pText = MakeText(QStringLiteral("Merry"));
    History().BeginEdit(UNDO_TEXT, pText);
    pText->m_pText->m_strText = QStringLiteral("merry");
    History().EndEdit();
    ASSERT_EQ(History().Count(), 1);
    EXPECT_EQ(History().RecordAt(0)->strOldText, QStringLiteral("Merry"));
    EXPECT_EQ(History().RecordAt(0)->strNewText, QStringLiteral("merry"));
}

TEST_F(UndoHistoryTest, OpenTextEditIsClosedByTheNextBeginEdit)
{
    TheData* pText = MakeText(QStringLiteral("Merry"));
    TheData* pElement = Make(Made::Element);
    History().BeginEdit(UNDO_TEXT, pText);
    pText->m_pText->m_strText = QStringLiteral("Merry Christmas");
    pText->RefitText();
    // The user goes straight to the canvas and drags an element.
    Move(*pElement, 12, 0);
    ASSERT_EQ(History().Count(), 2);
    EXPECT_EQ(History().RecordAt(0)->nKind, UNDO_TEXT);
    EXPECT_EQ(History().RecordAt(0)->pObject, pText);
    EXPECT_EQ(History().RecordAt(1)->nKind, UNDO_MOVE);
    EXPECT_EQ(History().TextOpen(), 0);

    // The text box losing the focus afterwards adds nothing.
    History().EndEdit();
    EXPECT_EQ(History().Count(), 2);

    ASSERT_TRUE(History().Undo(800));
    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(pText->m_pText->m_strText, QStringLiteral("Merry"));
}

// ---- The cases users notice most

TEST_F(UndoHistoryTest, ReplacedFramedPhotoComesBackWithItsPlacementAndRedoCoversTheFrameAgain)
{
    TheData* pObject = Make(Made::FramedTurned);
    const ObjectState before = State(*pObject);
    EditPhoto(*this, *pObject);

    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(pObject->m_strPhoto, m_strPhotoA);
    EXPECT_EQ(pObject->m_rcPhoto, before.rcPhoto);
    EXPECT_EQ(pObject->m_rcPhotoLocal, before.rcPhotoLocal);
    EXPECT_EQ(pObject->m_dPhotoAngle, 12.5);
    EXPECT_EQ(pObject->m_pPhoto->size(), QSize(400, 300));

    ASSERT_TRUE(History().Redo(800));
    EXPECT_EQ(pObject->m_strPhoto, m_strPhotoB);
    EXPECT_EQ(pObject->m_dPhotoAngle, 0);
    const RectF& rcObject = pObject->m_rcObject;
    const RectF& rcPhoto = pObject->m_rcPhoto;
    EXPECT_NEAR(rcPhoto.centre().x(), rcObject.centre().x(), 0.5);
    EXPECT_NEAR(rcPhoto.centre().y(), rcObject.centre().y(), 0.5);
    EXPECT_LE(rcPhoto.X, rcObject.X);
    EXPECT_LE(rcPhoto.Y, rcObject.Y);
    EXPECT_GE(rcPhoto.X + rcPhoto.Width, rcObject.X + rcObject.Width);
    EXPECT_GE(rcPhoto.Y + rcPhoto.Height, rcObject.Y + rcObject.Height);
}

TEST_F(UndoHistoryTest, UndoingAMaskOnAFramedPhotoBringsTheFrameBack)
{
    TheData* pObject = Make(Made::Framed);
    const ObjectState before = State(*pObject);
    EditMask(*this, *pObject);
    ASSERT_FALSE(pObject->m_pFrame);
    ASSERT_EQ(pObject->m_strMask, m_strMask2);

    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(pObject->PhotoState(), PHOTO_FRAMED);
    EXPECT_EQ(pObject->m_strFrame, m_strFrameF);
    EXPECT_EQ(pObject->m_strFrameMask, FrameMaskPath(m_strFrameF));
    EXPECT_TRUE(pObject->m_strMask.isEmpty());
    EXPECT_EQ(pObject->m_rcObject, before.rcObject);
    EXPECT_EQ(pObject->m_rcPhoto, before.rcPhoto);
    EXPECT_EQ(pObject->m_rcPhotoLocal, before.rcPhotoLocal);
    EXPECT_EQ(pObject->m_dPhotoAngle, before.dPhotoAngle);
}

TEST_F(UndoHistoryTest, UndoingBoldFlipsTheFlagButKeepsTheBoldSize)
{
    TheData* pText = MakeText(QStringLiteral("Wedding day"));
    const RectF rcNormal = pText->m_rcObject;
    EditTextDirect<UNDO_BOLD>(*this, *pText);
    const RectF rcBold = pText->m_rcObject;
    ASSERT_NE(rcBold.Width, rcNormal.Width) << "bold must measure differently for this test to mean anything";

    ASSERT_TRUE(History().Undo(800));
    EXPECT_EQ(pText->m_pText->m_bBold, 0);
    EXPECT_EQ(pText->m_rcObject, rcBold);
    ASSERT_TRUE(History().Redo(800));
    EXPECT_EQ(pText->m_pText->m_bBold, 1);
    EXPECT_EQ(pText->m_rcObject, rcBold);
}

TEST_F(UndoHistoryTest, RotationUndoIsNotWrappedIntoAFullTurn)
{
    TheData* pObject = Make(Made::Element);
    pObject->m_dAngle = 350;
    History().BeginEdit(UNDO_ROTATE, pObject);
    pObject->m_dAngleDelta = 20;
    History().EndEdit();
    pObject->CommitAngle(1);
    ASSERT_DOUBLE_EQ(pObject->m_dAngle, 10);

    ASSERT_TRUE(History().Undo(800));
    // -10 is the same turn as 350.
    EXPECT_DOUBLE_EQ(pObject->m_dAngle, -10);
    ASSERT_TRUE(History().Redo(800));
    EXPECT_DOUBLE_EQ(pObject->m_dAngle, 10);
}

} // namespace
