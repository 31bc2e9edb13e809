// The editor under a real Wayland compositor. weston's X11 back end runs inside Xvfb, so the Wayland
// output is an X window at the X screen's origin: xdotool's pointer and keys reach the compositor as a
// user's would, and a screenshot of the X screen is what the compositor shows.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "document/carddocument.h"
#include "document/thedata.h"
#include "shell/mainlayout.h"
#include "templates/projectfile.h"
#include "tests/testsupport.h"

namespace {

constexpr QSize kOutput(1600, 1000);
// The card: a green background with a blue clip-art block in the middle and an empty photo frame.
constexpr QRgb kCardGreen = 0xFF00A050;
constexpr QRgb kBlock = 0xFF0000FF;
constexpr QRgb kFrameGrey = 0xFFC8C8C8;
constexpr QRgb kPhotoOrange = 0xFFFF8000;
constexpr QRgb kTitleStrip = 0xFF706D73;
constexpr QSize kCard(600, 400);
const QRect kBlockOnCard(250, 120, 100, 80);
const QRect kFrameOnCard(40, 200, 160, 120);

bool Near(QRgb a, QRgb b, int nTolerance)
{
    return std::abs(qRed(a) - qRed(b)) <= nTolerance && std::abs(qGreen(a) - qGreen(b)) <= nTolerance
        && std::abs(qBlue(a) - qBlue(b)) <= nTolerance;
}

// The bounding box of the pixels inside rcWithin that pass the test; empty when none does.
QRect BoundingBox(const QImage& shot, const std::function<bool(QRgb)>& test, QRect rcWithin = QRect())
{
    if (rcWithin.isNull())
        rcWithin = shot.rect();
    rcWithin &= shot.rect();
    int nLeft = INT_MAX, nTop = INT_MAX, nRight = -1, nBottom = -1;
    for (int y = rcWithin.top(); y <= rcWithin.bottom(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = rcWithin.left(); x <= rcWithin.right(); ++x) {
            if (!test(pLine[x]))
                continue;
            nLeft = std::min(nLeft, x);
            nRight = std::max(nRight, x);
            nTop = std::min(nTop, y);
            nBottom = std::max(nBottom, y);
        }
    }
    return nRight < 0 ? QRect() : QRect(QPoint(nLeft, nTop), QPoint(nRight, nBottom));
}

QRect ColourBox(const QImage& shot, QRgb colour, QRect rcWithin = QRect(), int nTolerance = 6)
{
    return BoundingBox(
        shot, [colour, nTolerance](QRgb px) { return Near(px, colour, nTolerance); }, rcWithin);
}

// Xvfb with weston on it, and the program started on weston's Wayland display in a home of its own.
class WaylandSession : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const char* pszTool : {"Xvfb", "weston", "xdotool", "import"}) {
            if (QStandardPaths::findExecutable(QLatin1String(pszTool)).isEmpty())
                s_strMissing += QLatin1String(pszTool) + QLatin1Char(' ');
        }
    }

    void SetUp() override
    {
        if (!s_strMissing.isEmpty())
            GTEST_SKIP() << "missing: " << s_strMissing.toStdString();
        ASSERT_TRUE(m_dir.isValid());
        for (int n = 60; n < 200 && m_strDisplay.isEmpty(); ++n) {
            if (!QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
                && !QFileInfo::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
                m_strDisplay = QStringLiteral(":%1").arg(n);
        }
        ASSERT_FALSE(m_strDisplay.isEmpty());
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("DISPLAY"), m_strDisplay);
        const QString strRuntime = m_dir.filePath(QStringLiteral("runtime"));
        ASSERT_TRUE(QDir().mkpath(strRuntime));
        QFile::setPermissions(strRuntime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), strRuntime);

        Start(m_xvfb, QStringLiteral("Xvfb"),
            {m_strDisplay, QStringLiteral("-screen"), QStringLiteral("0"),
                QStringLiteral("%1x%2x24").arg(kOutput.width()).arg(kOutput.height()), QStringLiteral("-nolisten"),
                QStringLiteral("tcp")});
        ASSERT_TRUE(WaitFor([&] {
            return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + m_strDisplay.mid(1));
        })) << "Xvfb did not start";

        // A black desktop without a panel: whatever is not black is a window.
        const QString strIni = m_files.bytes(QStringLiteral("weston.ini"),
            "[core]\nidle-time=0\n[shell]\nbackground-color=0xff000000\npanel-position=none\nlocking=false\n");
        Start(m_weston, QStringLiteral("weston"),
            {QStringLiteral("--backend=x11-backend.so"), QStringLiteral("--width=%1").arg(kOutput.width()),
                QStringLiteral("--height=%1").arg(kOutput.height()), QStringLiteral("--socket=wl-velomira"),
                QStringLiteral("--use-pixman"), QStringLiteral("--idle-time=0"), QStringLiteral("--config=") + strIni});
        ASSERT_TRUE(WaitFor([&] { return QFileInfo::exists(strRuntime + QStringLiteral("/wl-velomira")); }))
            << "weston did not start: " << m_weston.readAllStandardError().toStdString();
    }

    void TearDown() override
    {
        for (QProcess* pProcess : {&m_program, &m_weston, &m_xvfb}) {
            if (pProcess->state() == QProcess::NotRunning)
                continue;
            pProcess->terminate();
            if (!pProcess->waitForFinished(5000)) {
                pProcess->kill();
                pProcess->waitForFinished(5000);
            }
        }
    }

    void Start(QProcess& process, const QString& strProgram, const QStringList& args,
        const QProcessEnvironment& env = QProcessEnvironment())
    {
        process.setProcessEnvironment(env.isEmpty() ? m_env : env);
        process.start(strProgram, args);
        ASSERT_TRUE(process.waitForStarted(10000)) << strProgram.toStdString();
    }

    // A card of known colours, a photo in the user's Pictures folder, and a copy of the program folder
    // (so that its settings and log stay out of the build); the program on the Wayland display.
    void StartProgram()
    {
        const QString strHome = m_dir.filePath(QStringLiteral("home"));
        ASSERT_TRUE(QDir().mkpath(strHome + QStringLiteral("/Pictures")));
        m_files.solid(QStringLiteral("background.png"), kCard.width(), kCard.height(), QColor::fromRgba(kCardGreen));
        QImage photo(400, 300, QImage::Format_RGB32);
        photo.fill(kPhotoOrange);
        ASSERT_TRUE(photo.save(strHome + QStringLiteral("/Pictures/sunset.png")));

        CardDocument doc;
        doc.m_szClient = kCard;
        doc.m_strBackground = m_files.path(QStringLiteral("background.png"));
        auto pBlock = std::make_unique<TheData>();
        pBlock->m_nType = OBJ_ELEMENT;
        pBlock->m_strElement = m_files.solid(QStringLiteral("block.png"), 100, 80, QColor::fromRgba(kBlock));
        pBlock->m_rcObject = RectF(kBlockOnCard.x(), kBlockOnCard.y(), kBlockOnCard.width(), kBlockOnCard.height());
        pBlock->m_dAspect = 0.8;
        doc.AddObject(std::move(pBlock), 0);
        auto pFrame = std::make_unique<TheData>();
        pFrame->m_nType = OBJ_PHOTO;
        QImage frame(160, 120, QImage::Format_ARGB32);
        frame.fill(kFrameGrey);
        QPainter painter(&frame);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(20, 20, 120, 80, Qt::transparent);
        painter.end();
        pFrame->m_strFrame = m_files.write(QStringLiteral("frame.png"), frame);
        pFrame->m_strFrameMask = m_files.solid(QStringLiteral("frame.jpg"), 160, 120, Qt::white);
        pFrame->m_rcObject = RectF(kFrameOnCard.x(), kFrameOnCard.y(), kFrameOnCard.width(), kFrameOnCard.height());
        doc.AddObject(std::move(pFrame), 0);
        const QString strCard = m_files.path(QStringLiteral("card.plk"));
        QString strError;
        ASSERT_TRUE(SaveProjectFile(doc, strCard, &strError, QString())) << strError.toStdString();

        const QString strBuilt = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
        const QString strApp = m_dir.filePath(QStringLiteral("app"));
        // Links where the file system allows them: the template library is large.
        if (QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-al"), strBuilt, strApp}) != 0) {
            ASSERT_EQ(QProcess::execute(QStringLiteral("cp"), {QStringLiteral("-a"), strBuilt, strApp}), 0);
        }
        QFile::remove(strApp + QStringLiteral("/config.ini"));
        QDir(strApp + QStringLiteral("/Jotwell")).removeRecursively();

        QProcessEnvironment env = m_env;
        env.remove(QStringLiteral("DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("wayland"));
        env.insert(QStringLiteral("WAYLAND_DISPLAY"), QStringLiteral("wl-velomira"));
        env.insert(QStringLiteral("HOME"), strHome);
        for (const char* pszName : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            env.insert(QLatin1String(pszName), strHome + QLatin1Char('/') + QLatin1String(pszName));
        Start(m_program, strApp + QStringLiteral("/velomira"), {strCard}, env);
    }

    // Runs xdotool on the X display, which is the compositor's input.
    void Xdo(const QStringList& args)
    {
        QProcess xdo;
        xdo.setProcessEnvironment(m_env);
        xdo.start(QStringLiteral("xdotool"), args);
        ASSERT_TRUE(xdo.waitForFinished(10000));
        ASSERT_EQ(xdo.exitCode(), 0) << xdo.readAllStandardError().toStdString();
    }

    void Click(QPoint pt, int nClicks = 1)
    {
        Xdo({QStringLiteral("mousemove"), QString::number(pt.x()), QString::number(pt.y())});
        QThread::msleep(100);
        Xdo({QStringLiteral("click"), QStringLiteral("--repeat"), QString::number(nClicks), QStringLiteral("--delay"),
            QStringLiteral("80"), QStringLiteral("1")});
    }

    void Drag(QPoint ptFrom, QPoint ptTo)
    {
        Xdo({QStringLiteral("mousemove"), QString::number(ptFrom.x()), QString::number(ptFrom.y())});
        QThread::msleep(150);
        Xdo({QStringLiteral("mousedown"), QStringLiteral("1")});
        for (int i = 1; i <= 10; ++i) {
            QThread::msleep(60);
            const QPoint pt = ptFrom + (ptTo - ptFrom) * i / 10;
            Xdo({QStringLiteral("mousemove"), QString::number(pt.x()), QString::number(pt.y())});
        }
        QThread::msleep(200);
        Xdo({QStringLiteral("mouseup"), QStringLiteral("1")});
    }

    QImage Screenshot()
    {
        const QString strShot = m_files.path(QStringLiteral("shot.png"));
        QProcess import;
        import.setProcessEnvironment(m_env);
        import.start(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"), strShot});
        if (!import.waitForFinished(20000) || import.exitCode() != 0)
            return QImage();
        return QImage(strShot).convertToFormat(QImage::Format_RGB32);
    }

    // Takes screenshots until one satisfies the condition (a deadline, never a fixed wait); the last one.
    QImage ShotWhen(const std::function<bool(const QImage&)>& condition, int nMilliseconds = 15000)
    {
        const QDeadlineTimer deadline(nMilliseconds);
        QImage shot;
        do {
            shot = Screenshot();
            if (!shot.isNull() && condition(shot))
                return shot;
            QThread::msleep(200);
        } while (!deadline.hasExpired());
        // Kept after the run, to look at.
        m_strLastShot = QDir::temp().filePath(
            QStringLiteral("velomira-wayland-%1-%2.png").arg(QCoreApplication::applicationPid()).arg(++m_nFailedShots));
        shot.save(m_strLastShot);
        return shot;
    }

    static bool WaitFor(const std::function<bool()>& condition)
    {
        const QDeadlineTimer deadline(15000);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(50);
        }
        return true;
    }

    static inline QString s_strMissing;
    QTemporaryDir m_dir;
    TestFiles m_files;
    QString m_strDisplay;
    QProcessEnvironment m_env;
    QProcess m_xvfb;
    QProcess m_weston;
    QProcess m_program;
    QString m_strLastShot;
    int m_nFailedShots = 0;
};

// The windows: the rows and columns with more than a pointer's width of pixels that are not the black
// desktop (the compositor draws the pointer into the screenshot).
QRect WindowBox(const QImage& shot)
{
    std::vector<int> vecRows(size_t(shot.height())), vecColumns(size_t(shot.width()));
    for (int y = 0; y < shot.height(); ++y) {
        const auto* pLine = reinterpret_cast<const QRgb*>(shot.constScanLine(y));
        for (int x = 0; x < shot.width(); ++x) {
            if (qRed(pLine[x]) + qGreen(pLine[x]) + qBlue(pLine[x]) > 30) {
                ++vecRows[size_t(y)];
                ++vecColumns[size_t(x)];
            }
        }
    }
    const auto span = [](const std::vector<int>& vecCounts) {
        const auto isWindow = [](int n) { return n > 40; };
        const auto first = std::find_if(vecCounts.begin(), vecCounts.end(), isWindow);
        const auto last = std::find_if(vecCounts.rbegin(), vecCounts.rend(), isWindow);
        return first == vecCounts.end() ? std::pair(0, -1)
                                        : std::pair(int(first - vecCounts.begin()), int(vecCounts.rend() - last) - 1);
    };
    const auto [nTop, nBottom] = span(vecRows);
    const auto [nLeft, nRight] = span(vecColumns);
    return nRight < 0 ? QRect() : QRect(QPoint(nLeft, nTop), QPoint(nRight, nBottom));
}

} // namespace

TEST_F(WaylandSession, SelectNudgeDropMaximiseAndPreview)
{
    StartProgram();
    // The card is on the canvas: its green fills a rectangle of its aspect ratio.
    QRect rcCanvas;
    QImage shot = ShotWhen([&](const QImage& img) {
        rcCanvas = ColourBox(img, kCardGreen);
        // The card's background can show a frame before its objects are drawn on it.
        return rcCanvas.width() > 100
            && std::abs(rcCanvas.width() * kCard.height() - rcCanvas.height() * kCard.width()) < 3 * kCard.width()
            && !ColourBox(img, kBlock).isEmpty();
    });
    ASSERT_GT(rcCanvas.width(), 100) << "no card on the screen; " << m_strLastShot.toStdString();
    const QRect rcWindow = WindowBox(shot);
    const double dScale = rcCanvas.width() / double(kCard.width());
    const auto onScreen = [&](QRect rcOnCard) {
        return QRect(rcCanvas.x() + qRound(rcOnCard.x() * dScale), rcCanvas.y() + qRound(rcOnCard.y() * dScale),
            qRound(rcOnCard.width() * dScale), qRound(rcOnCard.height() * dScale));
    };
    const QRect rcBlock = ColourBox(shot, kBlock);
    ASSERT_FALSE(rcBlock.isEmpty());
    EXPECT_LE((rcBlock.center() - onScreen(kBlockOnCard).center()).manhattanLength(), 4);

    // Selected, the block gets the toolbar right below it, centred under it.
    Click(rcBlock.center());
    const auto toolbarUnder = [&](const QRect& rcObject) {
        return [rcObject](const QImage& img) {
            // Below the selection outline, within reach of the 12-pixel gap.
            const QRect rcBelow(rcObject.center().x() - 125, rcObject.bottom() + 6, 250, 90);
            const QRect rcBar = BoundingBox(
                img, [](QRgb px) { return qRed(px) > 200 && qGreen(px) > 200 && qBlue(px) > 200; }, rcBelow);
            return std::abs(rcBar.width() - 230) <= 6 && std::abs(rcBar.height() - 60) <= 6
                && std::abs(rcBar.center().x() - rcObject.center().x()) <= 4 && rcBar.top() - rcObject.bottom() <= 20;
        };
    };
    shot = ShotWhen(toolbarUnder(rcBlock));
    EXPECT_TRUE(toolbarUnder(rcBlock)(shot)) << "no toolbar under the block; " << m_strLastShot.toStdString();

    // Left moves it by one pixel; the toolbar took no keyboard focus. (Selected, the block's edge is
    // under its outline.)
    const QRect rcSelected = ColourBox(shot, kBlock);
    Xdo({QStringLiteral("key"), QStringLiteral("Left")});
    shot = ShotWhen([&](const QImage& img) { return ColourBox(img, kBlock).left() == rcSelected.left() - 1; });
    EXPECT_EQ(ColourBox(shot, kBlock), rcSelected.translated(-1, 0)) << m_strLastShot.toStdString();

    // A photo dragged from the Photo list onto the frame fills its window.
    const QRect rcFrameWindow = onScreen(kFrameOnCard.adjusted(20, 20, -20, -20));
    const QRect rcPanel = QRect(rcWindow.topLeft(), QSize(kPanelWidth + 20, rcWindow.height()));
    QRect rcThumb;
    shot = ShotWhen([&](const QImage& img) {
        rcThumb = ColourBox(img, kPhotoOrange, rcPanel, 30);
        return rcThumb.width() > 8;
    });
    ASSERT_GT(rcThumb.width(), 8) << "no photo in the Photo list; " << m_strLastShot.toStdString();
    Drag(rcThumb.center(), rcFrameWindow.center());
    // Looked at beside the pointer, which the compositor draws over the frame.
    const QPoint ptInWindow = rcFrameWindow.topLeft() + QPoint(8, 8);
    shot = ShotWhen([&](const QImage& img) { return Near(img.pixel(ptInWindow), kPhotoOrange, 30); });
    EXPECT_TRUE(Near(shot.pixel(ptInWindow), kPhotoOrange, 30))
        << "the frame did not take the photo; " << m_strLastShot.toStdString();

    // A double-click on the title strip maximises through the compositor: the window fills the output
    // with its title strip, and so its title buttons, on the screen; a second one restores it.
    const QRect rcBefore = WindowBox(shot);
    Click(QPoint(rcBefore.center().x(), rcBefore.top() + kTitleHeight / 2), 2);
    shot = ShotWhen([&](const QImage& img) { return WindowBox(img).size() == kOutput; });
    EXPECT_EQ(WindowBox(shot), QRect(QPoint(0, 0), kOutput)) << m_strLastShot.toStdString();
    const MainLayout maximised = MainLayoutFor(kOutput);
    for (const MainButtonPlace& place : maximised.buttons)
        EXPECT_TRUE(QRect(QPoint(0, 0), kOutput).contains(place.rc)) << place.nId;
    EXPECT_TRUE(Near(shot.pixel(kOutput.width() / 2, kTitleHeight / 2), kTitleStrip, 24));
    Click(QPoint(kOutput.width() / 2, kTitleHeight / 2), 2);
    shot = ShotWhen([&](const QImage& img) { return WindowBox(img).size() == rcBefore.size(); });
    EXPECT_EQ(WindowBox(shot).size(), rcBefore.size()) << m_strLastShot.toStdString();

    // The Preview button shows the card alone on the whole output; a double-click closes it.
    const QRect rcWindowNow = WindowBox(shot);
    const MainLayout layout = MainLayoutFor(rcWindowNow.size());
    QRect rcPreviewButton;
    for (const MainButtonPlace& place : layout.buttons) {
        if (place.nId == IDC_BTN_PREVIEW)
            rcPreviewButton = place.rc.translated(rcWindowNow.topLeft());
    }
    Click(rcPreviewButton.center());
    const auto fullCard = [](const QImage& img) {
        const QRect rcGreen = ColourBox(img, kCardGreen);
        return rcGreen.height() >= kOutput.height() - 2 || rcGreen.width() >= kOutput.width() - 2;
    };
    shot = ShotWhen(fullCard);
    EXPECT_TRUE(fullCard(shot)) << "no full preview; " << m_strLastShot.toStdString();
    Click(QPoint(kOutput.width() / 2, kOutput.height() / 2), 2);
    shot = ShotWhen([&](const QImage& img) { return !fullCard(img) && WindowBox(img).size() == rcBefore.size(); });
    EXPECT_FALSE(fullCard(shot)) << m_strLastShot.toStdString();
    EXPECT_EQ(m_program.state(), QProcess::Running);
}
