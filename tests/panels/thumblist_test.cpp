#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QDir>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>

#include "panels/cateimage.h"
#include "panels/folderroots.h"
#include "panels/shellphoto.h"
#include "panels/thumblist.h"
#include "platform/messages.h"
#include "session/settings.h"
#include "tests/widgetsupport.h"
#include "widgets/buttonx.h"

namespace {

// Keeps the drag text in place of running the drag.
class WatchedThumbList : public CThumbList {
public:
    using CThumbList::CThumbList;
    void ExecDrag(QDrag& drag) override { m_vecDrags.append(drag.mimeData()->text()); }
    QStringList m_vecDrags;
};

QColor IconCentre(const QListWidgetItem& item)
{
    const QImage icon = item.icon().pixmap(kThumbSide).toImage();
    return icon.pixelColor(icon.width() / 2, icon.height() / 2);
}

// Within the rounding of a JPEG of one colour.
bool Near(QColor a, QColor b)
{
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8
        && std::abs(a.blue() - b.blue()) <= 8;
}

bool WaitFilled(CThumbList& list)
{
    if (!list.m_bFilling)
        return true;
    QSignalSpy finished(&list, &CThumbList::FillFinished);
    return finished.wait(20000);
}

TEST(ThumbGeometry, TwoColumnsOnTheFiftyFivePixelPitchAndFittedIcons)
{
    EXPECT_EQ(ThumbPosition(0), QPoint(0, 3));
    EXPECT_EQ(ThumbPosition(1), QPoint(55, 3));
    EXPECT_EQ(ThumbPosition(2), QPoint(0, 58));
    EXPECT_EQ(ThumbPosition(5), QPoint(55, 113));
    EXPECT_EQ(ThumbImageRect(QSize(104, 52)), QRect(0, 13, 52, 26));
    EXPECT_EQ(ThumbImageRect(QSize(52, 104)), QRect(13, 0, 26, 52));
    EXPECT_TRUE(ThumbImageRect(QSize()).isEmpty());

    TestFiles files;
    const QImage icon = MakeThumbIcon(files.solid(QStringLiteral("wide.png"), 104, 52, Qt::red), 1);
    ASSERT_EQ(icon.size(), QSize(52, 52));
    EXPECT_EQ(icon.pixelColor(26, 12), QColor::fromRgba(kThumbBackground));
    EXPECT_EQ(icon.pixelColor(26, 13), QColor(Qt::red));
    EXPECT_EQ(icon.pixelColor(26, 38), QColor(Qt::red));
    EXPECT_EQ(icon.pixelColor(26, 39), QColor::fromRgba(kThumbBackground));
    EXPECT_EQ(MakeThumbIcon(files.solid(QStringLiteral("big.jpg"), 4000, 3000, Qt::blue), 2).size(), QSize(104, 104));
    const QImage blank = MakeThumbIcon(files.bytes(QStringLiteral("broken.jpg"), "not a picture"), 1);
    EXPECT_EQ(blank.pixelColor(26, 26), QColor::fromRgba(kThumbBackground));

    const QPixmap feedback = DragFeedbackPixmap(files.solid(QStringLiteral("tall.png"), 40, 80, Qt::red), 3, 1);
    EXPECT_EQ(feedback.size(), QSize(25, 50));
    EXPECT_NEAR(qAlpha(feedback.toImage().pixel(2, 2)), 183, 1);
}

TEST(ThumbList, ListsVisiblePicturesOnlyAndNeverMixesTwoFolders)
{
    TestFiles files;
    QDir().mkpath(files.path("a/sub.jpg"));
    QDir().mkpath(files.path("b"));
    for (int i = 0; i < 40; ++i)
        files.solid(QStringLiteral("a/red%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 2000, 1500, Qt::red);
    files.solid("b/Photo.JPG", 300, 200, Qt::blue);
    files.solid("b/b.png", 200, 300, Qt::blue);
    files.solid("b/c.tiff", 50, 50, Qt::blue);
    files.solid("b/.hidden.jpg", 50, 50, Qt::blue);
    files.bytes("b/notes.txt", "x");
    files.bytes("b/broken.gif", "not a picture");
    ASSERT_EQ(mkfifo(files.path("b/pipe.jpg").toLocal8Bit().constData(), 0600), 0);
    QFile::link(files.path("b/gone.png"), files.path("b/dangling.png"));

    CThumbList list;
    list.resize(180, 400);
    list.show();
    list.LoadFolder(files.path("a"));
    QTest::qWait(30);
    list.LoadFolder(files.path("b"));
    EXPECT_EQ(list.m_files,
        QStringList(
            {files.path("b/b.png"), files.path("b/broken.gif"), files.path("b/c.tiff"), files.path("b/Photo.JPG")}));
    ASSERT_TRUE(WaitFilled(list));
    // Icons the first folder's workers still finish must never arrive.
    QTest::qWait(300);
    ASSERT_EQ(list.count(), 4);
    for (int i = 0; i < list.count(); ++i) {
        EXPECT_EQ(list.item(i)->data(Qt::UserRole).toString(), list.m_files[i]);
        EXPECT_EQ(list.visualItemRect(list.item(i)).topLeft(), ThumbPosition(i)) << i;
        EXPECT_TRUE(Near(IconCentre(*list.item(i)), i == 1 ? QColor::fromRgba(kThumbBackground) : QColor(Qt::blue)))
            << i;
    }
    list.LoadFolder(files.path("missing"));
    ASSERT_TRUE(WaitFilled(list));
    EXPECT_EQ(list.count(), 0);
}

TEST(ThumbList, OnePressStartsOneDragWithTheLeftButtonAloneCarryingTheSelection)
{
    TestFiles files;
    for (const char* pszName : {"a.jpg", "b.jpg", "c.jpg"})
        files.solid(QString::fromLatin1(pszName), 60, 40, Qt::green);
    WatchedThumbList list;
    list.m_strKind = QStringLiteral("photo");
    list.setSelectionMode(QAbstractItemView::ExtendedSelection);
    list.resize(180, 300);
    list.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&list));
    list.LoadFolder(files.path(QString()));
    ASSERT_TRUE(WaitFilled(list));

    const QPoint ptItem = list.visualItemRect(list.item(1)).center();
    auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
                    Qt::KeyboardModifiers modifiers, QPoint pt) {
        QMouseEvent event(type, pt, list.viewport()->mapToGlobal(pt), button, buttons, modifiers);
        QCoreApplication::sendEvent(list.viewport(), &event);
    };
    auto gesture = [&](Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int nMoves) {
        send(QEvent::MouseButtonPress, button, button, modifiers, ptItem);
        for (int i = 1; i <= nMoves; ++i)
            send(QEvent::MouseMove, Qt::NoButton, button, modifiers, ptItem + QPoint(i, i));
        send(QEvent::MouseButtonRelease, button, Qt::NoButton, modifiers, ptItem);
    };
    gesture(Qt::LeftButton, Qt::NoModifier, 0);
    gesture(Qt::RightButton, Qt::NoModifier, 3);
    gesture(Qt::LeftButton, Qt::ControlModifier, 3);
    EXPECT_TRUE(list.m_vecDrags.isEmpty());
    list.clearSelection();
    gesture(Qt::LeftButton, Qt::NoModifier, 3);
    EXPECT_EQ(list.m_vecDrags, QStringList({"photo@" + files.path("b.jpg")}));

    list.selectAll();
    list.m_vecDrags.clear();
    send(QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier, ptItem);
    send(QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, Qt::NoModifier, ptItem + QPoint(2, 2));
    EXPECT_EQ(list.m_vecDrags,
        QStringList({"photo@" + files.path("a.jpg") + "|" + files.path("b.jpg") + "|" + files.path("c.jpg") + "|"}));
}

TEST(ShellPhoto, TreeOverListSplitAndEveryFolderChangeReloads)
{
    SettingsGuard settings;
    TestFiles files;
    files.solid("one/x.png", 20, 20, Qt::red);
    files.solid("two/y.png", 20, 20, Qt::red);
    files.solid("two/z.png", 20, 20, Qt::red);
    WidgetMessageRecorder window({WM_CANVAS_HOTKEYS});
    auto* pPanel = new ShellPhoto(&window);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    pPanel->resize(180, 345);
    EXPECT_EQ(pPanel->m_shellTree->geometry(), QRect(0, 0, 180, 103));
    EXPECT_EQ(pPanel->m_listPhoto->geometry(), QRect(0, 105, 180, 240));
    pPanel->resize(180, 333);
    EXPECT_EQ(pPanel->m_shellTree->height(), 99);

    // Home and the file system at the top level; a folder is found under the root that holds it.
    const FolderRootsModel& folders = *pPanel->m_pFolderModel;
    ASSERT_EQ(folders.rowCount(), 2);
    EXPECT_EQ(folders.index(0, 0).data().toString(), "Home");
    EXPECT_EQ(folders.filePath(folders.index(1, 0)), "/");
    QModelIndex top = folders.index(files.path("one"));
    EXPECT_EQ(folders.filePath(top), files.path("one"));
    while (top.parent().isValid())
        top = top.parent();
    EXPECT_EQ(top.row(), files.path("one").startsWith(QDir::homePath() + "/") ? 0 : 1);

    pPanel->SelectFolder(files.path("one"));
    EXPECT_EQ(pPanel->m_listPhoto->m_files, QStringList({files.path("one/x.png")}));
    pPanel->SelectFolder(files.path("two"));
    EXPECT_EQ(pPanel->m_listPhoto->m_files.size(), 2);
    EXPECT_EQ(g_strPhotoDir, files.path("two"));
    EXPECT_EQ(StartPhotoFolder(), files.path("two"));
    pPanel->OnChangeCurrentFolder(QString());
    EXPECT_EQ(pPanel->m_listPhoto->m_files.size(), 2);

    // Folders arriving or sorted above the selected one bring it back into view, until the user takes
    // the tree in hand.
    pPanel->resize(180, 120);
    QTreeView& tree = *pPanel->m_shellTree;
    const auto shown = [&] { return tree.viewport()->rect().intersects(tree.visualRect(tree.currentIndex())); };
    pPanel->SelectFolder(files.path("one"));
    ASSERT_TRUE(shown());
    tree.verticalScrollBar()->setValue(0);
    ASSERT_FALSE(shown()) << "the folder lies below the top rows";
    emit pPanel->m_pFolderModel->layoutChanged();
    EXPECT_TRUE(shown());
    QWheelEvent wheel(QPointF(10, 10), tree.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 120),
        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(tree.viewport(), &wheel);
    tree.verticalScrollBar()->setValue(0);
    emit pPanel->m_pFolderModel->layoutChanged();
    EXPECT_FALSE(shown());

    window.m_vecMessages.clear();
    pPanel->m_listPhoto->setFocus();
    EXPECT_EQ(window.m_vecMessages, (std::vector<RecordedMessage> {{WM_CANVAS_HOTKEYS, 0, 0}}));
}

TEST(CateImage, PhotoTabFirstThenEachTabShowsItsListAlone)
{
    TestFiles files;
    const QString strResources = files.path("Template/allresources/");
    for (const char* pszName : {"frame/a.png", "frame/a.jpg", "frame/b.PNG", "mask/oval.jpg"})
        files.solid("Template/allresources/" + QString::fromLatin1(pszName), 30, 30, Qt::gray);
    for (const char* pszExt : {"bmp", "jpeg", "jpg", "png", "tif", "tiff"})
        files.solid("Template/allresources/clipart/art." + QString::fromLatin1(pszExt), 30, 30, Qt::gray);
    files.bytes("Template/allresources/clipart/art.gif", "GIF89a");
    CateImage panel(files.path(QString()) + "/");
    panel.resize(180, 500);
    panel.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&panel));
    MiscPanel& misc = *panel.m_pMiscPanel;

    EXPECT_EQ(panel.m_nTab, 1);
    EXPECT_TRUE(panel.m_pShellPhoto->isVisible());
    EXPECT_FALSE(misc.isVisible());
    EXPECT_EQ(panel.m_btnMask->geometry(), QRect(4, 85, 172, 23));
    EXPECT_EQ(misc.geometry(), QRect(0, 112, 180, 388));
    EXPECT_EQ(misc.m_listFrame->m_files, QStringList({strResources + "frame/a.png"}));
    EXPECT_EQ(misc.m_listElem->m_files.size(), 7);
    EXPECT_EQ(misc.m_listMask->m_files.size(), 1);

    panel.SelectTab(3);
    EXPECT_TRUE(misc.m_listElem->isVisible());
    EXPECT_FALSE(misc.m_listFrame->isVisible() || misc.m_listMask->isVisible() || panel.m_pShellPhoto->isVisible());
    EXPECT_EQ(misc.m_listElem->geometry(), misc.rect());
    panel.SelectTab(4);
    EXPECT_TRUE(misc.m_listMask->isVisible());
    EXPECT_FALSE(misc.m_listElem->isVisible());
    EXPECT_EQ(panel.m_btnElement->m_bPressed + panel.m_btnPhoto->m_bPressed + panel.m_btnFrame->m_bPressed, 0);
    EXPECT_EQ(panel.m_btnMask->m_bPressed, 1);
    panel.m_btnPhoto->click();
    EXPECT_EQ(panel.m_nTab, 1);
    EXPECT_TRUE(panel.m_pShellPhoto->isVisible());
}

} // namespace
