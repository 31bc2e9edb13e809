#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

#include "platform/messages.h"
#include "tests/testsupport.h"
#include "widgets/buttonx.h"
#include "widgets/wslider.h"

namespace {

const QColor kFrame0(0, 0, 255);
const QColor kFrame1(0, 200, 0);
const QColor kFrame2(250, 220, 0);
const QColor kFrame3(200, 0, 200);

void SendMouse(QWidget* pWidget, QEvent::Type type, QPoint pt, Qt::MouseButton button, Qt::MouseButtons buttons,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), button, buttons, modifiers);
    QCoreApplication::sendEvent(pWidget, &event);
}

void Click(QWidget* pWidget, QPoint pt)
{
    SendMouse(pWidget, QEvent::MouseButtonPress, pt, Qt::LeftButton, Qt::LeftButton);
    SendMouse(pWidget, QEvent::MouseButtonRelease, pt, Qt::LeftButton, Qt::NoButton);
}

// A four-frame strip whose frames cover less and less of their height, so that the frames drawn on top
// of each other can all be seen: frame 0 covers everything, frame 1 the top 30 rows, frames 2 and 3 the
// top 20 rows; the rest of each frame is transparent.
QString WriteLayeredStrip(TestFiles& files, int nFrame = 40)
{
    QImage strip(4 * nFrame, nFrame, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter painter(&strip);
    painter.fillRect(QRect(0, 0, nFrame, nFrame), kFrame0);
    painter.fillRect(QRect(nFrame, 0, nFrame, nFrame * 3 / 4), kFrame1);
    painter.fillRect(QRect(2 * nFrame, 0, nFrame, nFrame / 2), kFrame2);
    painter.fillRect(QRect(3 * nFrame, 0, nFrame, nFrame / 2), kFrame3);
    painter.end();
    return files.write(QStringLiteral("strip.png"), strip);
}

QColor Pixel(const QImage& image, int x, int y)
{
    return QColor(image.pixel(x, y));
}

struct FrameCase {
    const char* pszName;
    int bHover;
    int bPressed;
    int bEnabled;
    QColor top; // rows 0..19
    QColor middle; // rows 20..29
    QColor bottom; // rows 30..39
};

void PrintTo(const FrameCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ButtonFrames : public ::testing::TestWithParam<FrameCase> { };

TEST_P(ButtonFrames, DrawsTheFramesOfItsStateOverFrameZero)
{
    const FrameCase& c = GetParam();
    TestFiles files;
    CButtonX button;
    // Twice the frame width: the frames are stretched over the whole button.
    button.resize(80, 40);
    button.SetSkin(WriteLayeredStrip(files));
    button.m_bHover = c.bHover;
    button.m_bPressed = c.bPressed;
    button.m_bEnabled = c.bEnabled;
    const QImage image = button.RenderButton();
    ASSERT_EQ(image.size(), QSize(80, 40));
    for (int x : {2, 40, 77}) {
        EXPECT_EQ(Pixel(image, x, 8), c.top) << c.pszName << " x " << x;
        EXPECT_EQ(Pixel(image, x, 25), c.middle) << c.pszName << " x " << x;
        EXPECT_EQ(Pixel(image, x, 36), c.bottom) << c.pszName << " x " << x;
    }
}

INSTANTIATE_TEST_SUITE_P(SkinnedButton, ButtonFrames,
    ::testing::Values(FrameCase {"normal", 0, 0, 1, kFrame0, kFrame0, kFrame0},
        FrameCase {"hover", 1, 0, 1, kFrame1, kFrame1, kFrame0},
        FrameCase {"pressed", 0, 1, 1, kFrame2, kFrame0, kFrame0},
        FrameCase {"hover and pressed", 1, 1, 1, kFrame2, kFrame1, kFrame0},
        FrameCase {"disabled", 0, 0, 0, kFrame3, kFrame0, kFrame0},
        FrameCase {"disabled ignores hover and pressed", 1, 1, 0, kFrame3, kFrame0, kFrame0}),
    [](const ::testing::TestParamInfo<FrameCase>& info) {
        std::string strName = info.param.pszName;
        for (char& ch : strName) {
            if (ch == ' ')
                ch = '_';
        }
        return strName;
    });

TEST(SkinnedButton, FrameWidthIsAQuarterOfTheStripRoundedDown)
{
    // 103 pixels wide: frames of 25 pixels, the last 3 columns belong to no frame.
    TestFiles files;
    QImage strip(103, 25, QImage::Format_RGB32);
    const QColor colours[] = {kFrame0, kFrame1, kFrame2, kFrame3};
    QPainter painter(&strip);
    for (int i = 0; i < 4; ++i)
        painter.fillRect(QRect(i * 25, 0, 25, 25), colours[i]);
    painter.fillRect(QRect(100, 0, 3, 25), Qt::black);
    painter.end();

    CButtonX button;
    button.resize(25, 25);
    button.SetSkin(files.write(QStringLiteral("strip103.png"), strip));
    button.m_bEnabled = 0;
    const QImage image = button.RenderButton();
    for (int x : {0, 12, 24}) {
        for (int y : {0, 12, 24})
            EXPECT_EQ(Pixel(image, x, y), kFrame3) << x << "," << y;
    }
}

TEST(SkinnedButton, EmptySkinPaintsRedAndUnreadableSkinLeavesWhite)
{
    CButtonX button;
    button.resize(30, 20);
    QImage image = button.RenderButton();
    EXPECT_EQ(Pixel(image, 0, 0), QColor(255, 0, 0));
    EXPECT_EQ(Pixel(image, 29, 19), QColor(255, 0, 0));
    EXPECT_EQ(qAlpha(image.pixel(15, 10)), 255);

    button.SetSkin(QStringLiteral("/nonexistent/skin.bmp"));
    image = button.RenderButton();
    EXPECT_EQ(Pixel(image, 0, 0), QColor(Qt::white));
    EXPECT_EQ(Pixel(image, 29, 19), QColor(Qt::white));

    // The widget paints exactly what RenderButton draws.
    button.SetSkin(QString());
    const QImage grabbed = button.grab().toImage();
    EXPECT_EQ(Pixel(grabbed, 15, 10), QColor(255, 0, 0));
}

struct ClickCase {
    const char* pszName;
    int bLatch;
    int bToggle;
    // m_bPressed after press 1, release 1, press 2, release 2.
    std::vector<int> vecStates;
};

void PrintTo(const ClickCase& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ButtonClicks : public ::testing::TestWithParam<ClickCase> { };

TEST_P(ButtonClicks, PressedStateFollowsLatchAndToggle)
{
    const ClickCase& c = GetParam();
    CButtonX button;
    button.resize(40, 40);
    button.m_bLatch = c.bLatch;
    button.m_bToggle = c.bToggle;
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    std::vector<int> vecStates;
    for (int i = 0; i < 2; ++i) {
        SendMouse(&button, QEvent::MouseButtonPress, QPoint(20, 20), Qt::LeftButton, Qt::LeftButton);
        vecStates.push_back(button.m_bPressed);
        SendMouse(&button, QEvent::MouseButtonRelease, QPoint(20, 20), Qt::LeftButton, Qt::NoButton);
        vecStates.push_back(button.m_bPressed);
    }
    EXPECT_EQ(vecStates, c.vecStates) << c.pszName;
    EXPECT_EQ(clicks.count(), 2) << c.pszName;
}

INSTANTIATE_TEST_SUITE_P(SkinnedButton, ButtonClicks,
    ::testing::Values(ClickCase {"plain", 0, 0, {1, 0, 1, 0}}, ClickCase {"latch", 1, 0, {1, 1, 1, 1}},
        ClickCase {"toggle", 0, 1, {1, 0, 1, 0}}, ClickCase {"latched_toggle", 1, 1, {1, 1, 0, 0}}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.pszName); });

TEST(SkinnedButton, DisabledButtonKeepsItsStateAndDoesNotClick)
{
    CButtonX button;
    button.resize(40, 40);
    button.m_bPressed = 1;
    button.EnableButton(false);
    EXPECT_EQ(button.m_bEnabled, 0);
    EXPECT_FALSE(button.isEnabled());
    QSignalSpy clicks(&button, &QAbstractButton::clicked);
    Click(&button, QPoint(20, 20));
    EXPECT_EQ(button.m_bPressed, 1);
    EXPECT_EQ(clicks.count(), 0);

    button.EnableButton(true);
    Click(&button, QPoint(20, 20));
    EXPECT_EQ(button.m_bPressed, 0);
    EXPECT_EQ(clicks.count(), 1);
}

TEST(SkinnedButton, HoverRaisedAfterRestingAndClearedOnLeave)
{
    CButtonX button;
    button.resize(40, 40);
    SendMouse(&button, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(button.m_bHover, 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return button.m_bHover == 1; }, 2000));

    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&button, &leave);
    EXPECT_EQ(button.m_bHover, 0);

    // A move on a button drawn disabled asks for no hover.
    button.m_bEnabled = 0;
    SendMouse(&button, QEvent::MouseMove, QPoint(10, 10), Qt::NoButton, Qt::NoButton);
    QTest::qWait(80);
    EXPECT_EQ(button.m_bHover, 0);
}

// Stands in for the text panel: records the slider notifications it receives.
class SliderOwner : public QWidget {
public:
    bool event(QEvent* pEvent) override
    {
        if (int(pEvent->type()) == WM_SLIDER_NOTIFY) {
            auto* pMsg = static_cast<AppMessage*>(pEvent);
            m_vecNotes.emplace_back(int(pMsg->m_wParam), int(pMsg->m_lParam));
            return true;
        }
        return QWidget::event(pEvent);
    }
    std::vector<std::pair<int, int>> m_vecNotes;
};

class SkinnedSlider : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_owner.resize(200, 60);
        m_pSlider = new WSlider(&m_owner);
        m_pSlider->m_nId = 7;
        m_pSlider->setGeometry(10, 10, 120, 30);
        m_owner.show();
    }

    std::vector<std::pair<int, int>> Notes(std::initializer_list<int> codes) const
    {
        std::vector<std::pair<int, int>> vec;
        for (int nCode : codes)
            vec.emplace_back(7, nCode);
        return vec;
    }

    SliderOwner m_owner;
    WSlider* m_pSlider = nullptr;
};

TEST_F(SkinnedSlider, AttachTakesTheClientRectangleAndPutsTheThumbAtTheLeft)
{
    EXPECT_EQ(m_pSlider->m_rcTrack, QRect(0, 0, 120, 30));
    EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(0, 9, 20, 11));
}

struct PosCase {
    int nMin;
    int nMax;
    int nValue;
    int nLeft;
    int nThumbValue;
};

void PrintTo(const PosCase& c, std::ostream* pOut)
{
    *pOut << c.nValue << " in " << c.nMin << ".." << c.nMax;
}

class SliderPositions : public ::testing::TestWithParam<PosCase> { };

TEST_P(SliderPositions, SetPosPlacesTheThumbAndThumbValueReadsItBack)
{
    const PosCase& c = GetParam();
    WSlider slider;
    slider.resize(120, 30);
    slider.m_nMin = c.nMin;
    slider.m_nMax = c.nMax;
    slider.SetPos(c.nValue);
    EXPECT_EQ(slider.m_nPos, c.nValue);
    EXPECT_EQ(slider.m_rcSliderThumb, QRect(c.nLeft, 9, 20, 11));
    EXPECT_EQ(slider.ThumbValue(), c.nThumbValue);
}

INSTANTIATE_TEST_SUITE_P(SkinnedSlider, SliderPositions,
    ::testing::Values(
        // Left edge at 50 / 100 x 120 = 60; the centre 70 stands for trunc(70 / 120 x 100) = 58.
        PosCase {0, 100, 50, 60, 58}, PosCase {0, 100, 0, 0, 8},
        // At the maximum the left edge is at the track's right end.
        PosCase {0, 100, 100, 120, 108},
        // The value is divided by the range without subtracting the minimum.
        PosCase {10, 110, 50, 60, 68}, PosCase {8, 72, 32, 60, 45},
        // An empty range keeps the thumb at the left end instead of dividing by zero.
        PosCase {5, 5, 5, 0, 5}));

TEST_F(SkinnedSlider, ClickOnTheTrackCentresTheThumbInsideTheTrackAndSendsAllThree)
{
    m_pSlider->SetPos(50);
    Click(m_pSlider, QPoint(5, 15));
    EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(0, 9, 20, 11));
    EXPECT_EQ(m_owner.m_vecNotes, Notes({1, 2, 3}));

    m_owner.m_vecNotes.clear();
    Click(m_pSlider, QPoint(115, 15));
    EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(100, 9, 20, 11));
    EXPECT_EQ(m_owner.m_vecNotes, Notes({1, 2, 3}));

    m_owner.m_vecNotes.clear();
    Click(m_pSlider, QPoint(50, 2));
    EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(40, 9, 20, 11));
    EXPECT_EQ(m_pSlider->m_bDragging, 0);
}

TEST_F(SkinnedSlider, DraggingMovesTheThumbWithinTheTrack)
{
    m_pSlider->SetPos(50);
    SendMouse(m_pSlider, QEvent::MouseButtonPress, QPoint(70, 15), Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(m_pSlider->m_bDragging, 1);
    EXPECT_EQ(m_pSlider->m_ptLast, QPoint(70, 15));
    EXPECT_EQ(m_owner.m_vecNotes, Notes({1}));

    const std::pair<int, int> moves[] = {{90, 80}, {500, 100}, {480, 80}, {-300, 0}, {-250, 50}};
    for (const auto& [nX, nLeft] : moves) {
        SendMouse(m_pSlider, QEvent::MouseMove, QPoint(nX, 15), Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(nLeft, 9, 20, 11)) << "to x " << nX;
    }
    EXPECT_EQ(m_owner.m_vecNotes, Notes({1, 2, 2, 2, 2, 2}));

    SendMouse(m_pSlider, QEvent::MouseButtonRelease, QPoint(-250, 15), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_pSlider->m_bDragging, 0);
    EXPECT_EQ(m_owner.m_vecNotes, Notes({1, 2, 2, 2, 2, 2, 3}));

    // Moves and releases without a drag send nothing.
    SendMouse(m_pSlider, QEvent::MouseMove, QPoint(30, 15), Qt::NoButton, Qt::NoButton);
    SendMouse(m_pSlider, QEvent::MouseButtonRelease, QPoint(30, 15), Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_owner.m_vecNotes.size(), 7u);
    EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(50, 9, 20, 11));
}

TEST_F(SkinnedSlider, PaintsBackgroundTrackAndThumb)
{
    m_pSlider->SetPos(50);
    QImage image = m_pSlider->RenderSlider();
    const QColor background(0xD8, 0xD8, 0xE5);
    EXPECT_EQ(Pixel(image, 70, 14), background) << "missing pictures leave only the background";

    TestFiles files;
    QImage track(60, 7, QImage::Format_RGB32);
    track.fill(QColor(30, 30, 30));
    QImage thumb(20, 11, QImage::Format_RGB32);
    thumb.fill(QColor(250, 120, 0));
    m_pSlider->SetImages(
        files.write(QStringLiteral("track.png"), track), files.write(QStringLiteral("thumb.png"), thumb));
    image = m_pSlider->grab().toImage();
    // The track is stretched to the client width, 7 pixels high at (30 - 7) / 2 = 11.
    EXPECT_EQ(Pixel(image, 5, 14), QColor(30, 30, 30));
    EXPECT_EQ(Pixel(image, 115, 12), QColor(30, 30, 30));
    EXPECT_EQ(Pixel(image, 5, 5), background);
    EXPECT_EQ(Pixel(image, 5, 25), background);
    // The thumb covers the track at 60..80.
    EXPECT_EQ(Pixel(image, 70, 14), QColor(250, 120, 0));
    EXPECT_EQ(Pixel(image, 62, 10), QColor(250, 120, 0));
}

TEST_F(SkinnedSlider, NewClientSizeKeepsTheValueSet)
{
    m_pSlider->SetPos(50);
    m_pSlider->resize(200, 30);
    EXPECT_EQ(m_pSlider->m_rcTrack, QRect(0, 0, 200, 30));
    EXPECT_EQ(m_pSlider->m_rcSliderThumb, QRect(100, 9, 20, 11));
}

} // namespace

TEST(SkinnedControls, PaintAtTheDevicePixelRatioWithSharpSkinEdges)
{
    // A skin whose frame 0 is black on the left half and grey on the right.
    TestFiles files;
    QImage strip(160, 40, QImage::Format_ARGB32);
    strip.fill(QColor(128, 128, 128));
    QPainter painter(&strip);
    painter.fillRect(QRect(0, 0, 20, 40), Qt::black);
    painter.end();
    CButtonX button;
    button.resize(40, 40);
    button.SetSkin(files.write(QStringLiteral("edge.png"), strip));
    WSlider slider;
    slider.resize(120, 25);
    for (const qreal dRatio : {1.0, 1.25, 1.5, 2.0}) {
        SCOPED_TRACE(dRatio);
        const QImage image = button.RenderButton(dRatio);
        ASSERT_EQ(image.size(), QSize(40, 40) * dRatio);
        EXPECT_EQ(image.devicePixelRatio(), dRatio);
        EXPECT_EQ(slider.RenderSlider(dRatio).size(), QSize(int(std::ceil(120 * dRatio)), int(std::ceil(25 * dRatio))));
        // Across the edge: black, at most two steps between, grey to the last column (which no white
        // background shows through at a fractional ratio).
        int nBetween = 0;
        const int y = image.height() / 2;
        for (int x = 0; x < image.width(); ++x) {
            const int nLevel = qGray(image.pixel(x, y));
            nBetween += nLevel > 10 && nLevel < 118;
        }
        EXPECT_LE(nBetween, 2);
        EXPECT_LT(qGray(image.pixel(int(19 * dRatio), y)), 10);
        EXPECT_NEAR(qGray(image.pixel(int(21 * dRatio) + 1, y)), 128, 2);
        EXPECT_NEAR(qGray(image.pixel(image.width() - 1, y)), 128, 2);
    }
}

namespace {

// A four-frame strip of 20 x 20 frames drawn at dScale by one drawing code, as the artwork tool draws
// a skin and its @2x picture: a thin dark ring and a diagonal line on white in every frame.
QImage DrawnStrip(double dScale)
{
    QImage strip(int(80 * dScale), int(20 * dScale), QImage::Format_ARGB32);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(dScale, dScale);
    painter.setPen(QPen(Qt::black, 1.2));
    for (int i = 0; i < 4; ++i) {
        painter.drawEllipse(QRectF(20 * i + 3.3, 3.3, 13.4, 13.4));
        painter.drawLine(QPointF(20 * i + 2, 18), QPointF(20 * i + 18, 2));
    }
    return strip;
}

// Neighbouring pixels along rows and columns whose grey levels differ by more than half the range.
int SharpSteps(const QImage& image)
{
    int nSteps = 0;
    for (int y = 0; y + 1 < image.height(); ++y) {
        for (int x = 0; x + 1 < image.width(); ++x) {
            const int n = qGray(image.pixel(x, y));
            nSteps += std::abs(n - qGray(image.pixel(x + 1, y))) > 128;
            nSteps += std::abs(n - qGray(image.pixel(x, y + 1))) > 128;
        }
    }
    return nSteps;
}

// The sum of squared grey-level differences between neighbouring pixels: blurring an edge spreads its
// step over more pixels and lowers the sum, so of two renderings of one picture the sharper scores higher.
double EdgeEnergy(const QImage& image)
{
    double dEnergy = 0;
    for (int y = 0; y + 1 < image.height(); ++y) {
        for (int x = 0; x + 1 < image.width(); ++x) {
            const int n = qGray(image.pixel(x, y));
            const int dx = n - qGray(image.pixel(x + 1, y));
            const int dy = n - qGray(image.pixel(x, y + 1));
            dEnergy += dx * dx + dy * dy;
        }
    }
    return dEnergy;
}

} // namespace

TEST(SkinnedControls, AboveRatioOneTheTwiceSizeSkinIsDrawnPixelForPixel)
{
    TestFiles files;
    const QImage strip2x = DrawnStrip(2);
    const QString strSkin = files.write(QStringLiteral("ring.png"), DrawnStrip(1));
    files.write(QStringLiteral("ring@2x.png"), strip2x);
    const QString strLone = files.write(QStringLiteral("lone.png"), DrawnStrip(1));
    CButtonX button;
    button.resize(20, 20);
    button.SetSkin(strSkin);
    CButtonX lone;
    lone.resize(20, 20);
    lone.SetSkin(strLone);

    // At ratio 2 every skin pixel lands on one device pixel: the button is the @2x frame itself.
    const QImage frame2x = strip2x.copy(0, 0, 40, 40).convertToFormat(QImage::Format_RGB32);
    const QImage sharp = button.RenderButton(2).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(sharp.size(), QSize(40, 40));
    EXPECT_EQ(MeanAbsDiff(sharp, frame2x), 0.0);
    // Without an @2x picture the 1x skin is stretched: its edges blur into far fewer sharp steps.
    const QImage soft = lone.RenderButton(2);
    EXPECT_GT(MeanAbsDiff(soft, frame2x), 3.0);
    EXPECT_GT(SharpSteps(sharp), 2 * SharpSteps(soft)) << SharpSteps(sharp) << " vs " << SharpSteps(soft);
    // At ratio 1 the 1x frame; at 1.5 the @2x frame scaled down, closer to it than the 1x skin stretched.
    EXPECT_EQ(MeanAbsDiff(button.RenderButton(1), DrawnStrip(1).copy(0, 0, 20, 20)), 0.0);
    const QImage between = button.RenderButton(1.5);
    const QImage reference = frame2x.scaled(30, 30, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanAbsDiff(between, reference), MeanAbsDiff(lone.RenderButton(1.5), reference));

    // The slider takes the @2x track and thumb too: a blue 1x thumb, a green @2x one.
    files.solid(QStringLiteral("track.png"), 120, 7, Qt::gray);
    files.solid(QStringLiteral("track@2x.png"), 240, 14, Qt::darkGray);
    files.solid(QStringLiteral("thumb.png"), 20, 11, Qt::blue);
    files.solid(QStringLiteral("thumb@2x.png"), 40, 22, Qt::green);
    WSlider slider;
    slider.resize(120, 25);
    slider.SetImages(files.path(QStringLiteral("track.png")), files.path(QStringLiteral("thumb.png")));
    slider.SetPos(50);
    const QPoint ptThumb = slider.m_rcSliderThumb.center();
    const QPoint ptTrack(10, 12);
    EXPECT_EQ(slider.RenderSlider(1).pixelColor(ptThumb), QColor(Qt::blue));
    EXPECT_EQ(slider.RenderSlider(1).pixelColor(ptTrack), QColor(Qt::gray));
    EXPECT_EQ(slider.RenderSlider(2).pixelColor(ptThumb * 2), QColor(Qt::green));
    EXPECT_EQ(slider.RenderSlider(2).pixelColor(ptTrack * 2), QColor(Qt::darkGray));
}

TEST(SkinnedControls, ProgramSkinsAtRatioTwoHaveDetailTheirUpscaledOneXLacks)
{
    // The artwork the build draws into the program folder.
    const QString strSkins = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Skins/");
    for (const char* pszSkin : {"new.bmp", "cate_image.bmp", "tb.bmp", "del.bmp"}) {
        SCOPED_TRACE(pszSkin);
        const QImage strip(strSkins + QLatin1String(pszSkin));
        ASSERT_FALSE(strip.isNull());
        const QSize szFrame(strip.width() / 4, strip.height());
        CButtonX button;
        button.resize(szFrame);
        button.SetSkin(strSkins + QLatin1String(pszSkin));
        const QImage sharp = button.RenderButton(2).convertToFormat(QImage::Format_RGB32);
        const QImage upscaled = strip.copy(QRect(QPoint(0, 0), szFrame))
                                    .scaled(szFrame * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                    .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(sharp.size(), upscaled.size());
        // They differ along the edges of the glyphs and borders, where the drawn picture steps more steeply.
        EXPECT_GT(MeanAbsDiff(sharp, upscaled), 1.0);
        EXPECT_GT(EdgeEnergy(sharp), 1.3 * EdgeEnergy(upscaled)) << EdgeEnergy(sharp) << " vs " << EdgeEnergy(upscaled);
    }
}
