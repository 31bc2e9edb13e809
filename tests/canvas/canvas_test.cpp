#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include <QPainter>
#include <QWidget>

#include "canvas/canvas.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "render/cardimage.h"
#include "tests/widgetsupport.h"

namespace {

using Message = MessageRecorder::Message;

void ExpectRect(const RectF& actual, const RectF& expected)
{
    EXPECT_NEAR(actual.X, expected.X, 1e-3) << actual;
    EXPECT_NEAR(actual.Y, expected.Y, 1e-3) << actual;
    EXPECT_NEAR(actual.Width, expected.Width, 1e-3) << actual;
    EXPECT_NEAR(actual.Height, expected.Height, 1e-3) << actual;
}

// Stands in for the main window: the canvas's parent, recording every custom message it receives.
using MainWindowStandIn = WidgetMessageRecorder;

// A shown canvas of the given client size inside a stand-in main window.
class CanvasFixture : public ::testing::Test {
protected:
    void Open(int nWidth, int nHeight)
    {
        m_pCanvas = new Canvas(&m_window);
        m_window.resize(nWidth + 40, nHeight + 40);
        m_pCanvas->setGeometry(10, 10, nWidth, nHeight);
        m_window.show();
    }

    Canvas& canvas() { return *m_pCanvas; }
    CardDocument& doc() { return m_pCanvas->m_doc; }
    TheData& object(int i) { return *doc().m_vecObjects.at(size_t(i)); }

    TheData* AddElement(const QString& strPath, const RectF& rc, double dAngle = 0)
    {
        auto pObject = std::make_unique<TheData>();
        pObject->m_nType = OBJ_ELEMENT;
        pObject->m_strElement = strPath;
        pObject->m_rcObject = rc;
        pObject->m_dAngle = dAngle;
        TheData* pAdded = canvas().AddObject(std::move(pObject), 0);
        pAdded->LoadImages();
        pAdded->RebuildImage();
        return pAdded;
    }

    // The canvas as shown, drawn on white like the window's back buffer.
    QImage Paint()
    {
        QImage buffer(canvas().size(), QImage::Format_ARGB32_Premultiplied);
        buffer.fill(Qt::white);
        QPainter painter(&buffer);
        canvas().PaintCanvas(painter);
        painter.end();
        return buffer;
    }

    // The same canvas drawn without the layer images.
    QImage PaintWithoutLayers()
    {
        const int bValid = canvas().m_bLayersValid;
        canvas().m_bLayersValid = 0;
        QImage full = Paint();
        canvas().m_bLayersValid = bValid;
        return full;
    }

    std::string Order()
    {
        std::string str;
        for (const auto& pObject : doc().m_vecObjects)
            str += pObject->m_strElement.toStdString();
        return str;
    }

    TestFiles m_files;
    MainWindowStandIn m_window;
    Canvas* m_pCanvas = nullptr;
};

// Largest difference of any channel between two equally sized pictures.
int MaxChannelDiff(const QImage& a, const QImage& b)
{
    const QImage ca = a.convertToFormat(QImage::Format_ARGB32);
    const QImage cb = b.convertToFormat(QImage::Format_ARGB32);
    int nMax = 0;
    for (int y = 0; y < ca.height(); ++y) {
        const auto* pa = ca.constScanLine(y);
        const auto* pb = cb.constScanLine(y);
        for (int i = 0; i < ca.width() * 4; ++i)
            nMax = std::max(nMax, std::abs(int(pa[i]) - int(pb[i])));
    }
    return nMax;
}

struct CopyCase {
    QSize picture;
    QSize copy;
};

void PrintTo(const CopyCase& c, std::ostream* pOut)
{
    *pOut << c.picture;
}

class BackgroundCopyTest : public CanvasFixture, public ::testing::WithParamInterface<CopyCase> { };

} // namespace

TEST_P(BackgroundCopyTest, ShorterSideIsCappedAt600)
{
    const CopyCase& c = GetParam();
    EXPECT_EQ(DisplayCopySize(c.picture), c.copy);

    Open(300, 200);
    const QString strBackground = m_files.photo("bg.png", c.picture.width(), c.picture.height());
    canvas().FitTemplate(strBackground);
    ASSERT_TRUE(canvas().m_pBackground);
    EXPECT_EQ(canvas().m_pBackground->size(), c.copy);
    EXPECT_TRUE(canvas().m_pBackground->hasAlphaChannel());
    EXPECT_EQ(doc().m_strBackground, strBackground);
}

INSTANTIATE_TEST_SUITE_P(Sizes, BackgroundCopyTest,
    ::testing::Values(CopyCase {{1200, 800}, {900, 600}}, CopyCase {{500, 400}, {500, 400}},
        CopyCase {{700, 300}, {1400, 600}}, CopyCase {{800, 1200}, {600, 900}}, CopyCase {{600, 600}, {600, 600}},
        CopyCase {{600, 601}, {600, 601}}, CopyCase {{1000, 333}, {1801, 600}}));

TEST_F(CanvasFixture, UnreadableBackgroundLeavesNoCopy)
{
    Open(300, 200);
    canvas().FitTemplate(m_files.bytes("broken.jpg", "not a picture"));
    EXPECT_FALSE(canvas().m_pBackground);
    EXPECT_EQ(Paint().pixel(150, 100), qRgb(255, 255, 255));
}

TEST_F(CanvasFixture, FitTemplateConvertsTemplateUnitsToClientPixels)
{
    Open(400, 500);
    const QString strBackground = m_files.photo("bg.jpg", 1000, 1000);
    // Template y counts upwards from the card's bottom edge to the bottom of the picture.
    AddElement(m_files.solid("bell.png", 80, 100, Qt::red), {100, 0, 80, 100});
    auto pPhoto = std::make_unique<TheData>();
    pPhoto->m_nType = OBJ_PHOTO;
    pPhoto->m_strFrame = m_files.solid("frame.png", 200, 150, Qt::yellow);
    pPhoto->m_strFrameMask = m_files.solid("frame.jpg", 200, 150, Qt::white);
    pPhoto->m_rcObject = {300, 200, 200, 150};
    canvas().AddObject(std::move(pPhoto), 0);
    auto pText = std::make_unique<TheData>();
    pText->m_nType = OBJ_TEXT;
    pText->m_rcObject = {10, 100, 50, 20};
    canvas().AddObject(std::move(pText), 0);

    canvas().FitTemplate(strBackground);

    // sx = 400 / 1000, sy = 500 / 1000.
    ExpectRect(object(0).m_rcObject, {40, (1000 - 0 - 100) * 0.5f, 32, 50});
    ExpectRect(object(1).m_rcObject, {120, (1000 - 200 - 150) * 0.5f, 80, 75});
    ExpectRect(object(2).m_rcObject, {4, (1000 - 100) * 0.5f, 20, 10});
    EXPECT_TRUE(object(0).m_pImage);
    EXPECT_TRUE(object(1).m_pFrame);
    EXPECT_EQ(canvas().m_rcClient, QRect(0, 0, 400, 500));
    EXPECT_EQ(doc().m_szClient, QSize(400, 500));
}

TEST_F(CanvasFixture, FitProjectScalesBothAxesByTheWidthRatio)
{
    Open(600, 450);
    auto pFramed = std::make_unique<TheData>();
    pFramed->m_nType = OBJ_PHOTO;
    pFramed->m_strPhoto = m_files.photo("dog.jpg", 400, 300);
    pFramed->m_strFrame = m_files.solid("oval.png", 200, 160, Qt::yellow);
    pFramed->m_strFrameMask = m_files.solid("oval.jpg", 200, 160, Qt::white);
    pFramed->m_rcObject = {80, 40, 200, 160};
    pFramed->m_rcPhoto = {60, 20, 240, 200};
    pFramed->m_rcPhotoLocal = {-20, -20, 240, 200};
    canvas().AddObject(std::move(pFramed), 0);
    AddElement(m_files.solid("bell.png", 50, 50, Qt::red), {400, 300, 100, 50});

    canvas().FitProject(m_files.photo("bg.jpg", 800, 600), 800);

    ExpectRect(object(0).m_rcObject, {60, 30, 150, 120});
    ExpectRect(object(0).m_rcPhoto, {45, 15, 180, 150});
    ExpectRect(object(0).m_rcPhotoLocal, {-15, -15, 180, 150});
    EXPECT_DOUBLE_EQ(object(0).m_dAspect, 120.0 / 150.0);
    ExpectRect(object(1).m_rcObject, {300, 225, 75, 37.5});
    EXPECT_DOUBLE_EQ(object(1).m_dAspect, 0.5);
    EXPECT_EQ(object(0).PhotoState(), PHOTO_FRAMED);
    EXPECT_EQ(canvas().m_rcClient, QRect(0, 0, 600, 450));
    ASSERT_TRUE(canvas().m_pBackground);
}

TEST_F(CanvasFixture, RescaleToClientScalesEveryRectangleAndRemembersTheSize)
{
    Open(400, 300);
    AddElement(m_files.solid("bell.png", 50, 50, Qt::red), {40, 30, 100, 60});
    object(0).m_rcPhoto = {10, 20, 30, 40};
    object(0).m_rcPhotoLocal = {-10, -20, 30, 40};
    canvas().FitProject(m_files.photo("bg.jpg", 800, 600), 400);

    canvas().setGeometry(10, 10, 800, 450);
    EXPECT_EQ(doc().m_szClient, QSize(800, 450));
    canvas().RescaleToClient();

    ExpectRect(object(0).m_rcObject, {80, 45, 200, 90});
    ExpectRect(object(0).m_rcPhoto, {20, 30, 60, 60});
    ExpectRect(object(0).m_rcPhotoLocal, {-20, -30, 60, 60});
    ASSERT_TRUE(object(0).m_pImage);
    EXPECT_EQ(object(0).m_pImage->size(), QSize(200, 90));
    EXPECT_EQ(canvas().m_rcClient, QRect(0, 0, 800, 450));
    EXPECT_EQ(doc().m_szClient, QSize(800, 450));
}

TEST_F(CanvasFixture, RescaleToClientOnAnEmptyCardKeepsTheRememberedSize)
{
    Open(400, 300);
    canvas().FitTemplate(m_files.photo("bg.jpg", 800, 600));
    canvas().setGeometry(10, 10, 800, 600);
    canvas().RescaleToClient();
    EXPECT_EQ(canvas().m_rcClient, QRect(0, 0, 400, 300));
    // The client size the card is drawn at still follows the window.
    EXPECT_EQ(doc().m_szClient, QSize(800, 600));
}

TEST_F(CanvasFixture, RescaleToAnEmptyClientKeepsTheGeometry)
{
    Open(400, 300);
    AddElement(m_files.solid("bell.png", 50, 50, Qt::red), {40, 30, 100, 60});
    canvas().FitProject(m_files.photo("bg.jpg", 800, 600), 400);
    canvas().setGeometry(10, 10, 0, 0);
    canvas().RescaleToClient();
    ExpectRect(object(0).m_rcObject, {40, 30, 100, 60});
    EXPECT_EQ(canvas().m_rcClient, QRect(0, 0, 400, 300));
}

struct RestackCase {
    const char* pszBefore;
    int nFrom;
    int nTo;
    const char* pszAfter;
};

void PrintTo(const RestackCase& c, std::ostream* pOut)
{
    *pOut << c.pszBefore << " from " << c.nFrom << " to " << c.nTo;
}

class RestackTest : public CanvasFixture, public ::testing::WithParamInterface<RestackCase> { };

TEST_P(RestackTest, MovesOneObjectAndRenumbersAll)
{
    const RestackCase& c = GetParam();
    Open(200, 100);
    for (const char* p = c.pszBefore; *p; ++p)
        AddElement(QString(QLatin1Char(*p)), {0, 0, 10, 10});
    canvas().Restack(c.nFrom, c.nTo, 0);
    EXPECT_EQ(Order(), c.pszAfter);
    for (int i = 0; i < int(doc().m_vecObjects.size()); ++i)
        EXPECT_EQ(object(i).m_nIndex, i);
    EXPECT_EQ(doc().m_pUndo->Count(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RestackTest,
    ::testing::Values(RestackCase {"ABCDE", 2, 4, "ABDEC"}, RestackCase {"ABCD", 3, 0, "DABC"},
        RestackCase {"ABCDE", 0, 4, "BCDEA"}, RestackCase {"ABCDE", 4, 1, "AEBCD"}, RestackCase {"ABC", 1, 1, "ABC"},
        RestackCase {"ABC", 1, 3, "ABC"}, RestackCase {"ABC", -1, 0, "ABC"}));

TEST_F(CanvasFixture, RecordedRestackSelectsTheObjectAndUndoesThroughWmRestack)
{
    Open(200, 100);
    for (const char* p : {"A", "B", "C", "D", "E"})
        AddElement(QString::fromLatin1(p), {0, 0, 10, 10});
    CUndoHistory& history = *doc().m_pUndo;

    history.BeginEdit(UNDO_ORDER, &object(2));
    canvas().Restack(2, 4, 1);
    history.EndEdit();

    EXPECT_EQ(Order(), "ABDEC");
    EXPECT_EQ(doc().m_nSelected, 4);
    EXPECT_EQ(canvas().m_bLayersValid, 1);
    ASSERT_EQ(history.Count(), 1);
    EXPECT_EQ(history.RecordAt(0)->nOrderFrom, 2);
    EXPECT_EQ(history.RecordAt(0)->nOrderTo, 4);

    // Undo and redo reach the canvas as WM_RESTACK, which neither records nor changes the selection.
    ASSERT_TRUE(history.Undo(200));
    EXPECT_EQ(Order(), "ABCDE");
    EXPECT_EQ(doc().m_nSelected, 4);
    ASSERT_TRUE(history.Redo(200));
    EXPECT_EQ(Order(), "ABDEC");
    EXPECT_EQ(history.Count(), 1);
    EXPECT_EQ(history.Current(), 0);

    EXPECT_EQ(SendAppMessage(&canvas(), WM_RESTACK, 0, 3), 0);
    EXPECT_EQ(Order(), "BDEAC");
    EXPECT_EQ(doc().m_nSelected, 4);
    EXPECT_EQ(history.Count(), 1);
}

TEST_F(CanvasFixture, AddObjectNumbersAndOptionallyRecords)
{
    Open(200, 100);
    AddElement(QStringLiteral("A"), {0, 0, 10, 10});
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_ELEMENT;
    TheData* pAdded = canvas().AddObject(std::move(pObject), 1);
    EXPECT_EQ(pAdded->m_nIndex, 1);
    EXPECT_EQ(doc().m_vecObjects.back().get(), pAdded);
    ASSERT_EQ(doc().m_pUndo->Count(), 1);
    EXPECT_EQ(doc().m_pUndo->RecordAt(0)->nKind, UNDO_ADD);
}

TEST_F(CanvasFixture, ClearCardEmptiesEverythingAndDisablesUndoAndRedo)
{
    Open(300, 200);
    const QString strBackground = m_files.photo("bg.jpg", 600, 400);
    AddElement(m_files.solid("a.png", 40, 40, Qt::red), {10, 10, 40, 40});
    canvas().FitProject(strBackground, 300);
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_ELEMENT;
    canvas().AddObject(std::move(pObject), 1);
    canvas().Select(0);
    ASSERT_EQ(doc().m_pUndo->Count(), 1);
    m_window.m_vecMessages.clear();

    canvas().ClearCard();

    EXPECT_TRUE(doc().m_vecObjects.empty());
    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_EQ(canvas().m_bLayersValid, 0);
    EXPECT_EQ(canvas().m_bPhotoEdit, 0);
    EXPECT_EQ(doc().m_pUndo->Count(), 0);
    EXPECT_EQ(doc().m_pUndo->Current(), -1);
    EXPECT_FALSE(canvas().m_pBackground);
    EXPECT_EQ(doc().m_strBackground, strBackground);
    ASSERT_FALSE(m_window.m_vecMessages.empty());
    EXPECT_EQ(m_window.m_vecMessages.back(), (Message {WM_UNDOSTATE, -1, -1}));
    EXPECT_NE(std::find(m_window.m_vecMessages.begin(), m_window.m_vecMessages.end(), Message {WM_CANVAS_SELECT, 0, 0}),
        m_window.m_vecMessages.end());
}

// A grey card with five overlapping square elements, the second and fourth deleted, the middle
// one selected.
class LayerFixture : public CanvasFixture {
protected:
    void SetUp() override
    {
        Open(300, 200);
        AddElement(m_files.solid("red.png", 60, 60, QColor(220, 30, 30)), {20, 20, 100, 100});
        AddElement(m_files.solid("yellow.png", 60, 60, QColor(240, 220, 0)), {10, 130, 50, 50})->m_bDeleted = 1;
        AddElement(m_files.photo("selected.png", 120, 90), {80, 50, 120, 90}, 20);
        AddElement(m_files.solid("magenta.png", 60, 60, QColor(230, 0, 230)), {240, 130, 50, 50})->m_bDeleted = 1;
        AddElement(m_files.solid("blue.png", 60, 60, QColor(20, 40, 230)), {160, 30, 90, 90}, -15);
        canvas().FitProject(m_files.solid("grey.png", 600, 400, QColor(128, 128, 128)), 300);
        canvas().Select(2);
    }
};

TEST_F(LayerFixture, LayersAroundTheSelectionPaintLikeTheWholeCard)
{
    ASSERT_EQ(canvas().m_bLayersValid, 1);
    const QImage withLayers = Paint();
    const QImage full = PaintWithoutLayers();
    EXPECT_LT(MeanAbsDiff(withLayers, full), 0.05);
    EXPECT_LE(MaxChannelDiff(withLayers, full), 2);

    // Dragging redraws only the selected object between the frozen layers.
    object(2).MoveBy(-45, 25, 1);
    const QImage dragged = Paint();
    EXPECT_LT(MeanAbsDiff(dragged, PaintWithoutLayers()), 0.05);
    EXPECT_LE(MaxChannelDiff(dragged, PaintWithoutLayers()), 2);
    EXPECT_GT(MeanAbsDiff(dragged, withLayers), 1.0);
    // The blue square above the selection still covers it.
    EXPECT_EQ(dragged.pixelColor(200, 60), full.pixelColor(200, 60));
}

TEST_F(LayerFixture, DeletedObjectsAreNeitherPaintedNorInTheLayers)
{
    const QRgb grey = qRgb(128, 128, 128);
    const QImage withLayers = Paint();
    const QImage full = PaintWithoutLayers();
    for (const QImage& image : {withLayers, full}) {
        EXPECT_EQ(image.pixel(35, 155), grey);
        EXPECT_EQ(image.pixel(265, 155), grey);
    }
    ASSERT_TRUE(canvas().m_pLayerBelow && canvas().m_pLayerAbove);
    EXPECT_EQ(canvas().m_pLayerBelow->pixel(35, 155), grey);
    EXPECT_EQ(qAlpha(canvas().m_pLayerAbove->pixel(265, 155)), 0);
    // The layers hold the objects below and above the selection, not the selection itself.
    EXPECT_EQ(canvas().m_pLayerBelow->pixelColor(30, 30), QColor(220, 30, 30));
    EXPECT_EQ(canvas().m_pLayerAbove->pixelColor(205, 75), QColor(20, 40, 230));
    EXPECT_EQ(canvas().m_pLayerBelow->pixel(140, 95), grey);
    EXPECT_EQ(qAlpha(canvas().m_pLayerAbove->pixel(140, 95)), 0);
    // They keep their places in the list.
    ASSERT_EQ(doc().m_vecObjects.size(), 5u);
    EXPECT_EQ(object(3).m_nIndex, 3);
}

TEST_F(LayerFixture, RestackByMessageRebuildsTheLayersAroundTheSameIndex)
{
    SendAppMessage(&canvas(), WM_RESTACK, 4, 0);
    EXPECT_EQ(doc().m_nSelected, 2);
    EXPECT_LE(MaxChannelDiff(Paint(), PaintWithoutLayers()), 2);
}

TEST_F(LayerFixture, DeselectDropsTheLayersAndTellsTheParent)
{
    m_window.m_vecMessages.clear();
    canvas().Deselect();
    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_EQ(canvas().m_bLayersValid, 0);
    ASSERT_EQ(m_window.m_vecMessages.size(), 1u);
    EXPECT_EQ(m_window.m_vecMessages[0], (Message {WM_CANVAS_SELECT, 0, 0}));
    // Nothing selected: no outline anywhere.
    const QImage image = Paint();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            ASSERT_NE(image.pixel(x, y), 0xFF00C800u) << x << ", " << y;
    }
}

TEST_F(LayerFixture, WindowShowsTheBackBuffer)
{
    const QImage shown = canvas().grab().toImage();
    ASSERT_EQ(shown.size(), canvas().size());
    EXPECT_EQ(MaxChannelDiff(shown, Paint()), 0);
}

TEST_F(CanvasFixture, SelectionOutlineIsOneGreenPixelAroundTheObject)
{
    Open(200, 150);
    AddElement(m_files.solid("white.png", 50, 30, Qt::white), {50, 40, 100, 60});
    canvas().FitProject(m_files.solid("black.png", 400, 300, Qt::black), 200);
    canvas().Select(0);

    const QRgb green = 0xFF00C800;
    const QImage image = Paint();
    EXPECT_EQ(image.pixel(50, 70), green);
    EXPECT_EQ(image.pixel(150, 70), green);
    EXPECT_EQ(image.pixel(100, 40), green);
    EXPECT_EQ(image.pixel(100, 100), green);
    EXPECT_EQ(image.pixel(49, 70), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(51, 70), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(100, 70), qRgb(255, 255, 255));

    // The outline turns with the object, its pending dial turn included.
    object(0).m_dAngle = 60;
    object(0).m_dAngleDelta = 30;
    canvas().BuildLayers();
    const QImage turned = Paint();
    for (const QPoint& pt : {QPoint(70, 70), QPoint(130, 70), QPoint(100, 20), QPoint(100, 120)}) {
        const QColor c = turned.pixelColor(pt);
        EXPECT_GT(c.green(), 120) << pt.x() << ", " << pt.y();
        EXPECT_LT(c.red(), 60) << pt.x() << ", " << pt.y();
    }
    EXPECT_EQ(turned.pixel(50, 70), qRgb(0, 0, 0));
}

TEST_F(CanvasFixture, PhotoEditShowsTheWholePhotoUnderTheFrameWithoutOutline)
{
    Open(200, 150);
    QImage frame(100, 60, QImage::Format_ARGB32);
    frame.fill(QColor(250, 200, 0));
    QPainter painter(&frame);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.fillRect(10, 10, 80, 40, Qt::transparent);
    painter.end();
    auto pObject = std::make_unique<TheData>();
    pObject->m_nType = OBJ_PHOTO;
    pObject->m_strPhoto = m_files.solid("photo.png", 140, 100, QColor(0, 0, 255));
    pObject->m_strFrame = m_files.write("frame.png", frame);
    pObject->m_strFrameMask = m_files.solid("frame.jpg", 100, 60, Qt::white);
    pObject->m_rcObject = {50, 40, 100, 60};
    pObject->m_rcPhoto = {30, 20, 140, 100};
    pObject->m_rcPhotoLocal = {-20, -20, 140, 100};
    canvas().AddObject(std::move(pObject), 0);
    canvas().FitProject(m_files.solid("black.png", 400, 300, Qt::black), 200);
    canvas().Select(0);
    ASSERT_TRUE(object(0).m_pPhoto && object(0).m_pFrame);

    const QImage selected = Paint();
    EXPECT_EQ(selected.pixel(35, 25), qRgb(0, 0, 0));
    EXPECT_EQ(selected.pixel(50, 70), 0xFF00C800u);

    canvas().m_bPhotoEdit = 1;
    for (const QImage& image : {Paint(), PaintWithoutLayers()}) {
        EXPECT_EQ(image.pixel(35, 25), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(165, 115), qRgb(0, 0, 255));
        EXPECT_EQ(image.pixel(100, 70), qRgb(0, 0, 255));
        // The frame lies over the photo, and no outline is drawn.
        EXPECT_EQ(image.pixel(53, 70), qRgb(250, 200, 0));
        EXPECT_EQ(image.pixel(50, 70), qRgb(250, 200, 0));
    }
}

TEST_F(CanvasFixture, RenderCardImageKeepsAFullSizeSnapshot)
{
    Open(300, 200);
    AddElement(m_files.photo("sticker.png", 300, 200), {30, 40, 120, 80}, 10);
    canvas().FitProject(m_files.photo("bg.jpg", 1200, 800), 300);

    canvas().RenderCardImage(1200, 800);
    ASSERT_TRUE(canvas().m_pSnapshot);
    EXPECT_EQ(canvas().m_pSnapshot->size(), QSize(1200, 800));
    EXPECT_EQ(canvas().m_pSnapshot->depth(), 32);
    EXPECT_EQ(MaxChannelDiff(*canvas().m_pSnapshot, RenderCardBitmap(doc(), 1200, 800)), 0);
    // The snapshot is drawn from the full-size files, not scaled up from the screen.
    const QImage screen = Paint().scaled(1200, 800, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_GT(MeanAbsDiff(*canvas().m_pSnapshot, screen), 0.1);

    canvas().RenderCardImage(0, 800);
    EXPECT_FALSE(canvas().m_pSnapshot);
}
