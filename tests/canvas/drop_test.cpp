#include <gtest/gtest.h>

#include <memory>

#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>
#include <QUrl>

#include "canvas/adjustdlg.h"
#include "canvas/canvas.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "tests/widgetsupport.h"

namespace {

// A 400 x 300 canvas holding a photo object at (100, 80, 160, 120) under an element covering its
// top-left corner, with drags delivered as the window system delivers them.
class CanvasDropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_window.setGeometry(100, 100, 440, 340);
        m_pCanvas = new Canvas(&m_window);
        m_pCanvas->setGeometry(20, 20, 400, 300);
        m_window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_window));
        auto pPhoto = std::make_unique<TheData>();
        pPhoto->m_nType = OBJ_PHOTO;
        pPhoto->m_strPhoto = m_files.photo(QStringLiteral("old.jpg"), 160, 120);
        pPhoto->m_rcObject = {100, 80, 160, 120};
        pPhoto->LoadImages();
        pPhoto->RebuildImage();
        m_pPhoto = m_pCanvas->AddObject(std::move(pPhoto), 0);
        auto pElement = std::make_unique<TheData>();
        pElement->m_nType = OBJ_ELEMENT;
        pElement->m_strElement = m_files.solid(QStringLiteral("block.png"), 80, 60, Qt::black);
        pElement->m_rcObject = {80, 60, 80, 60};
        pElement->LoadImages();
        pElement->RebuildImage();
        m_pCanvas->AddObject(std::move(pElement), 0);
    }

    // Sends enter and one move to the point; returns whether the canvas takes the drag.
    bool Over(QMimeData& data, QPoint pt, bool bEnter)
    {
        if (bEnter) {
            QDragEnterEvent enter(pt, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QCoreApplication::sendEvent(m_pCanvas, &enter);
            if (!enter.isAccepted())
                return false;
        }
        QDragMoveEvent move(pt, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pCanvas, &move);
        return move.isAccepted();
    }
    Qt::DropAction Drop(QMimeData& data, QPoint pt)
    {
        QDropEvent drop(pt, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_pCanvas, &drop);
        return drop.dropAction();
    }
    // The pointer moving off the canvas; a cancelled drag (Escape) ends with the same leave.
    void Leave()
    {
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(m_pCanvas, &leave);
    }
    int Steps() const { return m_pCanvas->m_doc.m_pUndo->Count(); }

    TestFiles m_files;
    WidgetMessageRecorder m_window;
    Canvas* m_pCanvas = nullptr;
    TheData* m_pPhoto = nullptr;
};

TEST_F(CanvasDropTest, OutlineFollowsTheDragAboveEveryObjectAndTheDropFillsThePhoto)
{
    m_pCanvas->Select(1);
    const QString strNew = m_files.photo(QStringLiteral("new.jpg"), 320, 240);
    QMimeData data;
    data.setText("photo@" + strNew);
    AdjustDlg& overlay = *m_pCanvas->m_pOverlay;

    ASSERT_TRUE(Over(data, {200, 150}, true));
    EXPECT_EQ(m_pCanvas->m_doc.m_nSelected, -1);
    EXPECT_TRUE(overlay.isVisible());
    EXPECT_EQ(overlay.m_pTarget, m_pPhoto);
    EXPECT_EQ(overlay.geometry(), m_pCanvas->rect());
    // The outline's top edge shows green even where the element covers the photo object.
    const QImage shown = m_pCanvas->grab().toImage();
    EXPECT_EQ(QColor(shown.pixel(150, 80)), QColor(0, 200, 0));
    EXPECT_EQ(QColor(shown.pixel(150, 75)), QColor(Qt::black));

    Over(data, {110, 70}, false);
    EXPECT_FALSE(overlay.isVisible()) << "over the element";
    Over(data, {10, 10}, false);
    EXPECT_FALSE(overlay.isVisible()) << "over no object";
    Over(data, {220, 170}, false);
    EXPECT_TRUE(overlay.isVisible());

    EXPECT_EQ(Drop(data, {220, 170}), Qt::MoveAction);
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_EQ(m_pPhoto->m_strPhoto, strNew);
    EXPECT_EQ(Steps(), 1);

    // A turned target is outlined turned: the overlay paints the object's angle.
    m_pPhoto->m_dAngle = 30;
    Over(data, {180, 140}, true);
    const QImage turned = m_pCanvas->grab().toImage();
    EXPECT_NE(QColor(turned.pixel(150, m_pPhoto->m_rcObject.Y)), QColor(0, 200, 0));
}

TEST_F(CanvasDropTest, TheOutlineGoesWhenTheDragLeavesOrIsCancelled)
{
    QMimeData data;
    data.setText("photo@" + m_files.photo(QStringLiteral("new.jpg"), 320, 240));
    AdjustDlg& overlay = *m_pCanvas->m_pOverlay;
    const QString strOld = m_pPhoto->m_strPhoto;

    ASSERT_TRUE(Over(data, {200, 150}, true));
    ASSERT_TRUE(overlay.isVisible());
    Leave();
    EXPECT_FALSE(overlay.isVisible()) << "left the canvas";

    // Back over the same photo object, outlined again; then Escape.
    ASSERT_TRUE(Over(data, {210, 160}, true));
    EXPECT_TRUE(overlay.isVisible());
    Leave();
    EXPECT_FALSE(overlay.isVisible()) << "cancelled";

    // Whatever still arrives of the ended drag is refused and changes nothing.
    EXPECT_FALSE(Over(data, {200, 150}, false));
    Drop(data, {200, 150});
    EXPECT_FALSE(overlay.isVisible());
    EXPECT_EQ(m_pPhoto->m_strPhoto, strOld);
    EXPECT_EQ(Steps(), 0);
}

TEST_F(CanvasDropTest, AnElementLeavesTheOutlineAloneAndOtherTextIsRefused)
{
    QMimeData element;
    element.setText("elem@" + m_files.solid(QStringLiteral("star.png"), 50, 50, Qt::yellow));
    ASSERT_TRUE(Over(element, {200, 150}, true));
    EXPECT_FALSE(m_pCanvas->m_pOverlay->isVisible());
    Drop(element, {200, 150});
    EXPECT_EQ(m_pCanvas->m_doc.m_vecObjects.size(), 3u);
    EXPECT_EQ(Steps(), 1);

    QMimeData text;
    text.setText(QStringLiteral("Dear Anna, see you soon"));
    EXPECT_FALSE(Over(text, {200, 150}, true));
    Drop(text, {200, 150});
    EXPECT_EQ(Steps(), 1);
}

TEST_F(CanvasDropTest, FilesFromTheFileManagerArePicturesOnlyAndAreCopied)
{
    const QString a = m_files.photo(QStringLiteral("A.JPG"), 300, 200);
    const QString b = m_files.photo(QStringLiteral("b.Png"), 300, 200);
    QDir().mkpath(m_files.path(QStringLiteral("pics.old")));
    const QString readme = m_files.bytes(QStringLiteral("pics.old/readme"), "text");
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(a), QUrl::fromLocalFile(readme), QUrl::fromLocalFile(b),
        QUrl(QStringLiteral("https://example.org/c.jpg"))});
    ASSERT_TRUE(Over(files, {10, 250}, true));
    EXPECT_EQ(Drop(files, {10, 250}), Qt::CopyAction);
    ASSERT_EQ(m_pCanvas->m_doc.m_vecObjects.size(), 4u);
    EXPECT_EQ(m_pCanvas->m_doc.m_vecObjects[2]->m_strPhoto, a);
    EXPECT_EQ(m_pCanvas->m_doc.m_vecObjects[3]->m_strPhoto, b);
    EXPECT_EQ(Steps(), 2);

    QMimeData onlyText;
    onlyText.setUrls({QUrl::fromLocalFile(readme)});
    EXPECT_FALSE(Over(onlyText, {10, 250}, true));
}

} // namespace
