#include <gtest/gtest.h>

#include <set>
#include <vector>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include "platform/messages.h"
#include "tests/testsupport.h"
#include "widgets/imgctrl.h"
#include "widgets/piclist.h"

namespace {

void SendMouse(QWidget* pWidget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier, QPoint pt = QPoint(80, 80))
{
    QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), button, buttons, modifiers);
    QCoreApplication::sendEvent(pWidget, &event);
}

void ClickCell(QWidget* pCell, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    SendMouse(pCell, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, modifiers);
    SendMouse(pCell, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, modifiers);
}

void Wheel(QWidget* pWidget, int nDelta)
{
    const QPoint pt(80, 80);
    QWheelEvent event(QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), QPoint(), QPoint(0, nDelta), Qt::NoButton,
        Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pWidget, &event);
}

QRect GridRect(int i, int nScroll = 0)
{
    return QRect((i % 3) * 180 + 10, (i / 3 - nScroll) * 180 + 10, 170, 170);
}

// Stands in for the template chooser: holds the list and records the messages sent to it.
class ListOwner : public QWidget {
public:
    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() >= QEvent::User && pEvent->type() < QEvent::MaxUser) {
            m_vecMessages.push_back(static_cast<AppMessage*>(pEvent)->message());
            return true;
        }
        return QWidget::event(pEvent);
    }
    std::vector<int> m_vecMessages;
};

// Remembers every cell that was painted while it held a thumbnail.
class PaintWatcher : public QObject {
public:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::Paint) {
            auto* pCell = qobject_cast<CImgCtrl*>(pWatched);
            if (pCell && pCell->m_pThumb)
                m_painted.insert(pCell);
        }
        return false;
    }
    std::set<CImgCtrl*> m_painted;
};

class PicList : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strAppDir = QFileInfo(m_files.path(QStringLiteral("x"))).absolutePath() + QLatin1Char('/');
        m_owner.resize(800, 600);
        m_pList = new CPicList(&m_owner, m_strAppDir);
        m_pList->Create(QRect(210, 10, 568, 550));
        m_owner.show();
    }

    // Makes a folder of small pictures pic00.png, pic01.png, ... and returns its search pattern.
    QString Folder(const QString& strName, int nCount, QSize size = QSize(40, 30))
    {
        QDir(m_strAppDir).mkpath(strName);
        for (int i = 0; i < nCount; ++i) {
            m_files.solid(QStringLiteral("%1/pic%2.png").arg(strName).arg(i, 2, 10, QLatin1Char('0')), size.width(),
                size.height(), QColor(10 * (i % 20), 100, 200));
        }
        return m_strAppDir + strName + QStringLiteral("/*.*");
    }

    CImgCtrl* Cell(int i) const { return m_pList->m_cells.at(size_t(i)); }

    std::vector<int> SelectedItems() const
    {
        std::vector<int> vec;
        for (CImgCtrl* pCell : m_pList->m_cells) {
            if (pCell->m_bSelected)
                vec.push_back(pCell->m_nItem);
        }
        return vec;
    }

    TestFiles m_files;
    QString m_strAppDir;
    ListOwner m_owner;
    CPicList* m_pList = nullptr;
};

TEST_F(PicList, CellsFillRowsOfThreeOnA180PixelPitch)
{
    m_pList->ShowFolder(Folder(QStringLiteral("ten"), 10));
    ASSERT_EQ(m_pList->UsedCount(), 10);
    ASSERT_EQ(m_pList->m_cells.size(), 10u);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Cell(i)->geometry(), GridRect(i)) << i;
        EXPECT_EQ(Cell(i)->m_nItem, i);
        EXPECT_EQ(Cell(i)->parentWidget(), m_pList->viewport());
        EXPECT_TRUE(Cell(i)->isVisible());
        EXPECT_FALSE(Cell(i)->m_bFree);
    }
    EXPECT_EQ(m_pList->NextCellRect(), QRect(190, 550, 170, 170));
    EXPECT_TRUE(Cell(0)->m_strPath.endsWith(QLatin1String("ten/pic00.png")));
    EXPECT_TRUE(Cell(9)->m_strPath.endsWith(QLatin1String("ten/pic09.png")));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor is removed";
}

TEST_F(PicList, OnlyPictureFilesBecomeCells)
{
    QDir(m_strAppDir).mkpath(QStringLiteral("mixed/sub.jpg"));
    for (const char* pszName : {"photo.JPG", "scan.Tiff", "a.jpeg", "b.gif", "c.bmp", "d.png", "e.tif"})
        m_files.bytes(QStringLiteral("mixed/") + QLatin1String(pszName), "picture");
    m_files.bytes(QStringLiteral("mixed/notes.txt"), "text");
    m_files.bytes(QStringLiteral("mixed/archive.jpg.bak"), "bak");
    m_files.bytes(QStringLiteral("mixed/noext"), "none");
    m_pList->ShowFolder(m_strAppDir + QStringLiteral("mixed/*.*"));
    QStringList names;
    for (int i = 0; i < m_pList->UsedCount(); ++i)
        names << QFileInfo(Cell(i)->m_strPath).fileName();
    EXPECT_EQ(names, QStringList({"a.jpeg", "b.gif", "c.bmp", "d.png", "e.tif", "photo.JPG", "scan.Tiff"}));
}

TEST(PicListFiles, IsPictureFileTakesTheTextAfterTheLastDot)
{
    const CPicList list;
    EXPECT_EQ(list.m_extensions, QStringList({"bmp", "jpeg", "jpg", "png", "gif", "tif", "tiff"}));
    const std::pair<const char*, bool> cases[] = {
        {"/d/photo.JPG", true},
        {"/d/scan.Tiff", true},
        {"x.bmp", true},
        {"/d/archive.jpg.bak", false},
        {"/d/notes.txt", false},
        {"/d/noext", false},
        {"/d.jpg/noext", false},
        {".png", false},
        {"", false},
        {"/d/photo.", false},
    };
    for (const auto& [pszPath, bPicture] : cases)
        EXPECT_EQ(list.IsPictureFile(QString::fromUtf8(pszPath)), bPicture) << pszPath;
    CPicList other;
    EXPECT_FALSE(other.AddPicture(QStringLiteral("/d/notes.txt")));
    EXPECT_EQ(other.UsedCount(), 0);
    EXPECT_TRUE(other.m_cells.empty());
}

TEST_F(PicList, ScrollBarMovesTheCellsOneRowAtATime)
{
    m_pList->ShowFolder(Folder(QStringLiteral("ten"), 10));
    QScrollBar* pBar = m_pList->verticalScrollBar();
    EXPECT_EQ(pBar->maximum(), 1) << "four rows: rows - 3";
    EXPECT_EQ(pBar->pageStep(), 4);

    pBar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(m_pList->ScrollPos(), 1);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Cell(i)->geometry(), GridRect(i, 1)) << i;
    // The tenth picture is shown completely.
    EXPECT_TRUE(m_pList->viewport()->rect().contains(Cell(9)->geometry()));

    pBar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(m_pList->ScrollPos(), 1);
    pBar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(m_pList->ScrollPos(), 1);
    pBar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(m_pList->ScrollPos(), 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(Cell(i)->geometry(), GridRect(i)) << i;

    // A cell added while scrolled goes to its grid place relative to the scrolled content.
    m_pList->ScrollTo(1);
    m_files.solid(QStringLiteral("ten/pic10.png"), 8, 8, Qt::red);
    ASSERT_TRUE(m_pList->AddPicture(m_files.path(QStringLiteral("ten/pic10.png"))));
    EXPECT_EQ(Cell(10)->geometry(), GridRect(10, 1));
    m_pList->ScrollTo(0);
    EXPECT_EQ(Cell(10)->geometry(), GridRect(10));
}

TEST_F(PicList, WheelMovesExactlyOneRowPerMessage)
{
    m_pList->ShowFolder(Folder(QStringLiteral("twenty"), 20));
    EXPECT_EQ(m_pList->verticalScrollBar()->maximum(), 4);
    Wheel(m_pList->viewport(), -120);
    EXPECT_EQ(m_pList->ScrollPos(), 1);
    Wheel(m_pList->viewport(), -1200);
    EXPECT_EQ(m_pList->ScrollPos(), 2);
    // A cell leaves the wheel to the list: the platform passes an unaccepted wheel on to the parent.
    QWheelEvent overCell(QPointF(80, 80), QPointF(80, 80), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
        Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Cell(9), &overCell);
    EXPECT_FALSE(overCell.isAccepted());
    for (int i = 0; i < 4; ++i)
        Wheel(m_pList->viewport(), -120);
    EXPECT_EQ(m_pList->ScrollPos(), 4);
    EXPECT_EQ(Cell(18)->geometry(), GridRect(18, 4));
    Wheel(m_pList->viewport(), 120);
    EXPECT_EQ(m_pList->ScrollPos(), 3);
    for (int i = 0; i < 5; ++i)
        Wheel(m_pList->viewport(), 120);
    EXPECT_EQ(m_pList->ScrollPos(), 0);
    EXPECT_EQ(Cell(0)->geometry(), GridRect(0));
}

TEST_F(PicList, NineOrFewerPicturesHaveNothingToScroll)
{
    for (int nCount : {9, 5}) {
        m_pList->ShowFolder(Folder(QStringLiteral("n%1").arg(nCount), nCount));
        EXPECT_EQ(m_pList->verticalScrollBar()->maximum(), 0);
        Wheel(m_pList->viewport(), -120);
        m_pList->verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(m_pList->ScrollPos(), 0);
        EXPECT_EQ(Cell(0)->geometry(), GridRect(0));
    }
}

TEST_F(PicList, PlainClickSelectsOneCellAndModifiedClicksSelectNothing)
{
    m_pList->ShowFolder(Folder(QStringLiteral("six"), 6));
    ClickCell(Cell(2));
    EXPECT_EQ(m_pList->m_pCurrent, Cell(2));
    EXPECT_EQ(SelectedItems(), std::vector<int>({2}));
    ClickCell(Cell(4));
    EXPECT_EQ(m_pList->m_pCurrent, Cell(4));
    EXPECT_EQ(SelectedItems(), std::vector<int>({4}));

    for (Qt::KeyboardModifiers modifiers : {Qt::ControlModifier, Qt::ShiftModifier}) {
        ClickCell(Cell(1), modifiers);
        EXPECT_EQ(m_pList->m_pCurrent, Cell(4));
        EXPECT_EQ(SelectedItems(), std::vector<int>({4}));
    }
    // A right click changes nothing either.
    SendMouse(Cell(0), QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton);
    SendMouse(Cell(0), QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton);
    EXPECT_EQ(m_pList->m_pCurrent, Cell(4));

    // A press on the list's own background clears the selection.
    SendMouse(
        m_pList->viewport(), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
    EXPECT_EQ(m_pList->m_pCurrent, nullptr);
    EXPECT_TRUE(SelectedItems().empty());
}

TEST_F(PicList, CtrlASelectsEveryUsedCellAndAPlainClickEndsIt)
{
    m_pList->ShowFolder(Folder(QStringLiteral("seven"), 7));
    m_pList->ShowFolder(Folder(QStringLiteral("five"), 5));
    ClickCell(Cell(1));
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCoreApplication::sendEvent(m_pList, &ctrlA);
    EXPECT_EQ(m_pList->m_pCurrent, nullptr);
    EXPECT_EQ(SelectedItems(), std::vector<int>({0, 1, 2, 3, 4})) << "free cells stay unselected";
    EXPECT_EQ(m_pList->m_allSelected.size(), 5u);

    // Ctrl+click keeps the select-all highlight.
    ClickCell(Cell(3), Qt::ControlModifier);
    EXPECT_EQ(m_pList->m_allSelected.size(), 5u);

    ClickCell(Cell(3));
    EXPECT_EQ(m_pList->m_pCurrent, Cell(3));
    EXPECT_EQ(SelectedItems(), std::vector<int>({3}));
    EXPECT_TRUE(m_pList->m_allSelected.empty());

    // Plain A selects nothing.
    QKeyEvent plainA(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QCoreApplication::sendEvent(m_pList, &plainA);
    EXPECT_EQ(SelectedItems(), std::vector<int>({3}));
}

TEST_F(PicList, SelectCellSelectsOnlyUsedCells)
{
    m_pList->ShowFolder(Folder(QStringLiteral("eight"), 8));
    m_pList->ShowFolder(Folder(QStringLiteral("four"), 4));
    for (int nIndex : {-1, 4, 7, 100}) {
        m_pList->SelectCell(nIndex);
        EXPECT_EQ(m_pList->m_pCurrent, nullptr) << nIndex;
        EXPECT_TRUE(SelectedItems().empty()) << nIndex;
    }
    m_pList->SelectCell(3);
    EXPECT_EQ(m_pList->m_pCurrent, Cell(3));
    m_pList->SelectCell(0);
    EXPECT_EQ(m_pList->m_pCurrent, Cell(0));
    EXPECT_EQ(SelectedItems(), std::vector<int>({0}));
}

TEST_F(PicList, DoubleClickTellsTheListsParentAndCellMessagesGoToTheList)
{
    m_pList->ShowFolder(Folder(QStringLiteral("three"), 3));
    SendMouse(Cell(1), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Cell(1), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    SendMouse(Cell(1), QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Cell(1), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    EXPECT_EQ(m_owner.m_vecMessages, std::vector<int>({WM_TEMPLATE_PICKED}));
    EXPECT_EQ(m_pList->m_pCurrent, Cell(1));
    EXPECT_EQ(SendAppMessage(m_pList, WM_PICLIST_NOP, 0, 0), 0);
    EXPECT_EQ(m_pList->m_pCurrent, Cell(1));
}

TEST_F(PicList, RefillingReusesFreedCellsBeforeCreatingNewOnes)
{
    m_pList->ShowFolder(Folder(QStringLiteral("seven"), 7));
    const std::vector<CImgCtrl*> first = m_pList->m_cells;
    m_pList->ShowFolder(Folder(QStringLiteral("four"), 4));
    ASSERT_EQ(m_pList->m_cells, first);
    EXPECT_EQ(m_pList->UsedCount(), 4);
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Cell(i)->m_bFree, i >= 4) << i;
        EXPECT_EQ(Cell(i)->isVisible(), i < 4) << i;
        EXPECT_EQ(Cell(i)->m_strPath.isEmpty(), i >= 4) << i;
        EXPECT_TRUE(Cell(i)->m_strPath.isEmpty() || Cell(i)->m_strPath.contains(QLatin1String("/four/")));
    }

    m_pList->ShowFolder(Folder(QStringLiteral("ten"), 10));
    ASSERT_EQ(m_pList->m_cells.size(), 10u);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), m_pList->m_cells.begin()));
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(Cell(i)->geometry(), GridRect(i)) << i;
        EXPECT_EQ(Cell(i)->m_nItem, i);
        EXPECT_FALSE(Cell(i)->m_bFree);
        EXPECT_TRUE(Cell(i)->m_strPath.contains(QLatin1String("/ten/")));
    }
}

TEST_F(PicList, SamePatternIgnoringCaseKeepsEverythingAnotherReturnsToTheTop)
{
    const QString strPattern = Folder(QStringLiteral("Twelve"), 12);
    m_pList->ShowFolder(strPattern);
    m_pList->SelectCell(5);
    m_pList->ScrollTo(1);
    m_pList->ShowFolder(strPattern.toUpper());
    EXPECT_EQ(m_pList->m_strFolder, strPattern);
    EXPECT_EQ(m_pList->m_pCurrent, Cell(5));
    EXPECT_EQ(m_pList->ScrollPos(), 1);

    m_pList->ShowFolder(Folder(QStringLiteral("Eleven"), 11));
    EXPECT_EQ(m_pList->m_pCurrent, nullptr);
    EXPECT_TRUE(SelectedItems().empty());
    EXPECT_EQ(m_pList->ScrollPos(), 0);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(Cell(i)->geometry(), GridRect(i)) << "cells return to the top with the view: " << i;
}

TEST_F(PicList, MissingFolderAndUnreadablePicturesAreShownAsFarAsPossible)
{
    m_pList->ShowFolder(Folder(QStringLiteral("three"), 3));
    m_pList->ShowFolder(m_strAppDir + QStringLiteral("no such folder/*.*"));
    EXPECT_EQ(m_pList->UsedCount(), 0);
    EXPECT_EQ(m_pList->ScrollPos(), 0);

    QDir(m_strAppDir).mkpath(QStringLiteral("bad"));
    m_files.bytes(QStringLiteral("bad/a_garbage.jpg"), QByteArray(5000, 'x'));
    m_files.bytes(QStringLiteral("bad/b_empty.png"), QByteArray());
    m_files.solid(QStringLiteral("bad/c_good.png"), 300, 300, QColor(20, 140, 60));
    m_pList->ShowFolder(m_strAppDir + QStringLiteral("bad/*.*"));
    ASSERT_EQ(m_pList->UsedCount(), 3);
    m_pList->WaitForThumbnails();
    for (int i : {0, 1}) {
        EXPECT_EQ(Cell(i)->m_pThumb, nullptr) << i;
        EXPECT_EQ(Cell(i)->m_rcThumb, QRect(5, 5, 160, 160)) << "an unreadable picture counts as square";
        EXPECT_EQ(QColor(Cell(i)->grab().toImage().pixel(85, 85)), QColor(240, 240, 240));
    }
    ASSERT_NE(Cell(2)->m_pThumb, nullptr);
    ClickCell(Cell(0));
    EXPECT_EQ(m_pList->m_pCurrent, Cell(0)) << "an unreadable picture can still be selected";
}

struct ThumbCase {
    QSize picture;
    QRect rcThumb;
};

void PrintTo(const ThumbCase& c, std::ostream* pOut)
{
    *pOut << c.picture;
}

class PicListThumbnails : public PicList, public ::testing::WithParamInterface<ThumbCase> { };

TEST_P(PicListThumbnails, ArriveAtTheFittedBoxAndArePainted)
{
    const ThumbCase& c = GetParam();
    QDir(m_strAppDir).mkpath(QStringLiteral("one"));
    m_files.solid(QStringLiteral("one/p.jpg"), c.picture.width(), c.picture.height(), QColor(200, 40, 40));
    PaintWatcher watcher;
    m_pList->ShowFolder(m_strAppDir + QStringLiteral("one/*.*"));
    ASSERT_EQ(m_pList->UsedCount(), 1);
    CImgCtrl* pCell = Cell(0);
    pCell->installEventFilter(&watcher);
    ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.m_painted.count(pCell) == 1; }, 10000));
    EXPECT_EQ(pCell->m_rcThumb, c.rcThumb);
    EXPECT_EQ(pCell->m_pThumb->size(), c.rcThumb.size());

    const QImage shown = pCell->grab().toImage();
    const QColor inside(shown.pixel(c.rcThumb.center()));
    EXPECT_NEAR(inside.red(), 200, 6);
    EXPECT_NEAR(inside.green(), 40, 6);
    EXPECT_EQ(QColor(shown.pixel(2, 2)), QColor(240, 240, 240));
    EXPECT_EQ(QColor(shown.pixel(c.rcThumb.left() - 1, c.rcThumb.top() - 1)), QColor(240, 240, 240));
}

INSTANTIATE_TEST_SUITE_P(PicList, PicListThumbnails,
    ::testing::Values(ThumbCase {QSize(400, 200), QRect(5, 45, 160, 80)},
        ThumbCase {QSize(200, 400), QRect(45, 5, 80, 160)}, ThumbCase {QSize(300, 300), QRect(5, 5, 160, 160)},
        // A picture smaller than the box is enlarged to it.
        ThumbCase {QSize(40, 20), QRect(5, 45, 160, 80)},
        // A very wide picture still gets a thumbnail one pixel high.
        ThumbCase {QSize(2000, 1), QRect(5, 84, 160, 1)}));

TEST_F(PicList, SelectedCellIsDrawnOnTheSelectionSkin)
{
    QDir(m_strAppDir).mkpath(QStringLiteral("Skins"));
    m_files.solid(QStringLiteral("Skins/tempbk.png"), 30, 30, QColor(0, 120, 200));
    m_pList->ShowFolder(Folder(QStringLiteral("two"), 2));
    m_pList->SelectCell(1);
    EXPECT_EQ(QColor(Cell(1)->grab().toImage().pixel(2, 2)), QColor(0, 120, 200));
    EXPECT_EQ(QColor(Cell(0)->grab().toImage().pixel(2, 2)), QColor(240, 240, 240));
}

TEST(PicListThumbs, MakeThumbnailDecodesAtTheBoxSize)
{
    TestFiles files;
    const QString strPath = files.photo(QStringLiteral("big.jpg"), 2400, 1800);
    const ThumbnailResult result = MakeThumbnail(strPath, QSize(170, 170), 5);
    EXPECT_EQ(result.rcThumb, QRect(5, 25, 160, 120));
    ASSERT_EQ(result.image.size(), QSize(160, 120));
    const QImage reference = QImage(strPath).scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_LT(MeanAbsDiff(result.image, reference), 6.0);

    const ThumbnailResult cancelled = MakeThumbnail(strPath, QSize(170, 170), 5, [] { return true; });
    EXPECT_TRUE(cancelled.image.isNull());
}

TEST(PicListThumbs, FitThumbBoxUsesIntegerArithmetic)
{
    const QRect box(5, 5, 160, 160);
    EXPECT_EQ(FitThumbBox(box, 400, 200), QRect(5, 45, 160, 80));
    EXPECT_EQ(FitThumbBox(box, 200, 400), QRect(45, 5, 80, 160));
    EXPECT_EQ(FitThumbBox(box, 0, 0), box);
    EXPECT_EQ(FitThumbBox(box, 7, 7), box);
    // 160 x 3 / 7 = 68 (truncated); (160 - 68) / 2 = 46.
    EXPECT_EQ(FitThumbBox(box, 7, 3), QRect(5, 51, 160, 68));
    // Large sizes do not overflow.
    EXPECT_EQ(FitThumbBox(box, 100000000, 50000000), QRect(5, 45, 160, 80));
}

TEST(PicListThumbs, StaleResultIsDiscarded)
{
    TestFiles files;
    const QString strRed = files.solid(QStringLiteral("red.png"), 100, 100, QColor(220, 0, 0));
    const QString strBlue = files.solid(QStringLiteral("blue.png"), 100, 100, QColor(0, 0, 220));
    ThumbnailPool pool;
    CImgCtrl cell(&pool, QString());
    cell.resize(170, 170);

    // The red result is posted but not yet delivered when the cell is emptied: it must not come back.
    cell.SetPicture(strRed);
    pool.m_pool.waitForDone();
    cell.SetPicture(QString());
    pool.WaitForIdle();
    EXPECT_EQ(cell.m_pThumb, nullptr);

    // Red posted, then blue asked for: only blue may end up in the cell.
    cell.SetPicture(strRed);
    pool.m_pool.waitForDone();
    cell.SetPicture(strBlue);
    pool.WaitForIdle();
    ASSERT_NE(cell.m_pThumb, nullptr);
    EXPECT_EQ(QColor(cell.m_pThumb->pixel(80, 80)), QColor(0, 0, 220));

    // A result for a cell deleted meanwhile goes nowhere.
    auto* pGone = new CImgCtrl(&pool, QString());
    pGone->resize(170, 170);
    pGone->SetPicture(strRed);
    pool.m_pool.waitForDone();
    delete pGone;
    pool.WaitForIdle();
}

TEST_F(PicList, ThousandsOfPicturesFillAndASwitchDropsTheOldWork)
{
    QDir(m_strAppDir).mkpath(QStringLiteral("many"));
    const QString strFirst = m_files.solid(QStringLiteral("many/p0000.png"), 64, 48, QColor(90, 90, 200));
    for (int i = 1; i < 1500; ++i)
        QFile::copy(strFirst, m_files.path(QStringLiteral("many/p%1.png").arg(i, 4, 10, QLatin1Char('0'))));
    m_pList->ShowFolder(m_strAppDir + QStringLiteral("many/*.*"));
    ASSERT_EQ(m_pList->UsedCount(), 1500);
    EXPECT_EQ(m_pList->verticalScrollBar()->maximum(), 497);

    // Switch away at once: the old jobs are dropped or discarded, the new folder fills.
    m_pList->ShowFolder(Folder(QStringLiteral("four"), 4, QSize(200, 100)));
    m_pList->WaitForThumbnails();
    for (int i = 0; i < 1500; ++i) {
        if (i < 4) {
            ASSERT_NE(Cell(i)->m_pThumb, nullptr) << i;
            EXPECT_EQ(Cell(i)->m_rcThumb, QRect(5, 45, 160, 80));
        } else {
            ASSERT_EQ(Cell(i)->m_pThumb, nullptr) << i;
        }
    }

    m_pList->ShowFolder(m_strAppDir + QStringLiteral("many/*.*"));
    m_pList->WaitForThumbnails();
    int nWithThumb = 0;
    for (CImgCtrl* pCell : m_pList->m_cells)
        nWithThumb += pCell->m_pThumb && pCell->m_pThumb->size() == QSize(160, 120) ? 1 : 0;
    EXPECT_EQ(nWithThumb, 1500);
}

TEST(PicListLifetime, DestroyingTheListWhileThumbnailsAreMadeIsSafe)
{
    TestFiles files;
    QDir().mkpath(files.path(QStringLiteral("f")));
    for (int i = 0; i < 40; ++i)
        files.photo(QStringLiteral("f/p%1.jpg").arg(i), 800, 600);
    for (int nRun = 0; nRun < 3; ++nRun) {
        auto* pList = new CPicList();
        pList->Create(QRect(0, 0, 568, 550));
        pList->ShowFolder(files.path(QStringLiteral("f")) + QStringLiteral("/*.*"));
        EXPECT_EQ(pList->UsedCount(), 40);
        delete pList;
        QCoreApplication::processEvents();
    }
}

} // namespace
