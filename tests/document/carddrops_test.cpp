#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "document/carddocument.h"
#include "document/carddrops.h"
#include "document/thedata.h"
#include "document/undohistory.h"
#include "tests/testsupport.h"

namespace {

struct ParseCase {
    const char* pszText;
    char chKind;
    int nCount;
    QStringList vecPhotos;
    QString strPath;
};

void PrintTo(const ParseCase& c, std::ostream* pOut)
{
    *pOut << Quoted(c.pszText);
}

class ParseDragTest : public ::testing::TestWithParam<ParseCase> { };

TEST_P(ParseDragTest, TakesKindCountAndPathsApart)
{
    const ParseCase& c = GetParam();
    const DragData drag = ParseDragPayload(QString::fromUtf8(c.pszText));
    EXPECT_EQ(drag.chKind, c.chKind);
    EXPECT_EQ(drag.nDragCount, c.nCount);
    EXPECT_EQ(drag.vecPhotos, c.vecPhotos);
    EXPECT_EQ(drag.strPath, c.strPath);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseDragTest,
    ::testing::Values(
        ParseCase {R"(photo@C:\a.jpg|C:\b.jpg|C:\c.jpg|)", 'p', 3, {R"(C:\a.jpg)", R"(C:\b.jpg)", R"(C:\c.jpg)"}, {}},
        // A last piece not followed by "|" is not taken, nor anything after an empty piece.
        ParseCase {R"(photo@C:\a.jpg|C:\b.jpg)", 'p', 1, {R"(C:\a.jpg)"}, {}},
        ParseCase {"photo@/a.jpg||/b.jpg|", 'p', 1, {"/a.jpg"}, {}}, ParseCase {"photo@|/a.jpg|", 'p', 0, {}, {}},
        ParseCase {"photo@/home/me/a.jpg", 'p', 1, {"/home/me/a.jpg"}, {}},
        ParseCase {R"(frame@C:\frames\f1.png)", 'f', 1, {}, R"(C:\frames\f1.png)"},
        ParseCase {"elem@/art/x@2.png", 'e', 1, {}, "/art/x@2.png"},
        ParseCase {"mask@/m/oval.jpg", 'm', 1, {}, "/m/oval.jpg"},
        // Text from other programs names no kind: it drops nothing.
        ParseCase {"Photo@/a.jpg", 0, 1, {}, {}}, ParseCase {"hello world", 0, 1, {}, {}},
        ParseCase {"", 0, 1, {}, {}}));

TEST(DragPayload, OnePathStandsAloneAndSeveralAreEachFollowedByABar)
{
    EXPECT_EQ(MakeDragPayload(QStringLiteral("frame"), {QStringLiteral("/f/oval.png")}), "frame@/f/oval.png");
    EXPECT_EQ(MakeDragPayload(QStringLiteral("photo"), {"/a.jpg", "/b.jpg", "/c.jpg"}), "photo@/a.jpg|/b.jpg|/c.jpg|");
    EXPECT_EQ(AcceptedDroppedFiles({"/x/A.JPG", "/x/b.Png", "/x/pics.old/readme", "/x/notes.txt", "/x/c.tiff"}),
        QStringList({"/x/A.JPG", "/x/b.Png", "/x/c.tiff"}));
}

// A 400 x 300 card holding a photo object at (100, 80, 160, 120) and an element at (300, 200, 60, 60).
class DropTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_doc.m_szClient = QSize(400, 300);
        auto pPhoto = std::make_unique<TheData>();
        pPhoto->m_nType = OBJ_PHOTO;
        pPhoto->m_strPhoto = m_files.photo(QStringLiteral("old.jpg"), 160, 120);
        pPhoto->m_rcObject = {100, 80, 160, 120};
        pPhoto->LoadImages();
        m_doc.AddObject(std::move(pPhoto), 0);
        auto pElement = std::make_unique<TheData>();
        pElement->m_nType = OBJ_ELEMENT;
        pElement->m_strElement = m_files.solid(QStringLiteral("star.png"), 60, 60, Qt::yellow);
        pElement->m_rcObject = {300, 200, 60, 60};
        m_doc.AddObject(std::move(pElement), 0);
    }

    int Drop(const QString& strText, QPoint pt) { return DropOnCard(m_doc, ParseDragPayload(strText), pt, 400); }
    const TheData& Object(int i) const { return *m_doc.m_vecObjects.at(size_t(i)); }
    int Kind(int nRecord) const { return m_doc.m_pUndo->RecordAt(nRecord)->nKind; }

    TestFiles m_files;
    CardDocument m_doc;
    const QPoint m_ptOnPhoto {150, 120};
    const QPoint m_ptOnElement {320, 220};
    const QPoint m_ptEmpty {40, 250};
};

TEST_F(DropTest, PhotosOnEmptyCardCascadeFivePixelsApartEachAStep)
{
    const QString a = m_files.photo("a.jpg", 300, 200), b = m_files.photo("b.jpg", 300, 200),
                  c = m_files.photo("c.jpg", 300, 200);
    EXPECT_EQ(Drop("photo@" + a + "|" + b + "|" + c + "|", m_ptEmpty), 3);
    ASSERT_EQ(m_doc.m_vecObjects.size(), 5u);
    EXPECT_EQ(m_doc.m_pUndo->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Kind(i), UNDO_ADD);
        EXPECT_EQ(Object(2 + i).m_rcObject.X, Object(2).m_rcObject.X + 5 * i);
        EXPECT_EQ(Object(2 + i).m_rcObject.Y, Object(2).m_rcObject.Y + 5 * i);
    }
    EXPECT_EQ(Object(3).m_strPhoto, b);
}

TEST_F(DropTest, WhatEachDropOntoThePhotoObjectChanges)
{
    const QString strNew = m_files.photo("new.jpg", 300, 200);
    const QString strFrame = m_files.solid("f1.png", 200, 150, Qt::blue);
    const QString strMask = m_files.solid("oval.jpg", 200, 150, Qt::white);
    // One photo replaces the photo; two make two new objects.
    EXPECT_EQ(Drop("photo@" + strNew, m_ptOnPhoto), 1);
    EXPECT_EQ(Object(0).m_strPhoto, strNew);
    const RectF rcBefore = Object(0).m_rcObject;
    EXPECT_EQ(Kind(0), UNDO_PHOTO);
    EXPECT_EQ(Drop("photo@" + strNew + "|" + strNew + "|", m_ptOnPhoto), 2);
    EXPECT_EQ(m_doc.m_vecObjects.size(), 4u);
    // An element never changes a target.
    EXPECT_EQ(Drop("elem@" + strFrame, m_ptOnPhoto), 1);
    EXPECT_EQ(Object(4).m_nType, OBJ_ELEMENT);
    EXPECT_EQ(Object(0).m_rcObject, rcBefore);
    // A frame sets the frame and the frame's own mask beside it; a mask sets the mask. (The new
    // photos cover the middle of the photo object.)
    const QPoint ptUncovered(250, 180);
    EXPECT_EQ(Drop("frame@" + strFrame, ptUncovered), 1);
    EXPECT_EQ(Object(0).m_strFrame, strFrame);
    EXPECT_EQ(Object(0).m_strFrameMask, m_files.path("f1.jpg"));
    EXPECT_EQ(Kind(4), UNDO_FRAME);
    EXPECT_EQ(Drop("mask@" + strMask, ptUncovered), 1);
    EXPECT_EQ(Kind(5), UNDO_MASK);
    // A frame over an element becomes a new frame object; unknown text does nothing.
    EXPECT_EQ(Drop("frame@" + strFrame, m_ptOnElement), 1);
    EXPECT_EQ(m_doc.m_vecObjects.back()->m_strFrame, strFrame);
    EXPECT_EQ(m_doc.m_vecObjects.back()->m_nType, OBJ_PHOTO);
    EXPECT_EQ(Drop("some text@" + strFrame, m_ptOnPhoto), 0);
    EXPECT_EQ(Drop("hello", m_ptEmpty), 0);
    EXPECT_EQ(m_doc.m_pUndo->Count(), 7);
}

TEST_F(DropTest, DroppedFilesReplaceOnePhotoOrBecomeNewObjects)
{
    const QString a = m_files.photo("A.JPG", 300, 200), b = m_files.photo("b.Png", 300, 200);
    EXPECT_EQ(AddDroppedFilesToCard(m_doc, {a}, m_ptOnPhoto, 400), 1);
    EXPECT_EQ(Object(0).m_strPhoto, a);
    EXPECT_EQ(AddDroppedFilesToCard(m_doc, {a, b}, m_ptOnPhoto, 400), 2);
    EXPECT_EQ(AddDroppedFilesToCard(m_doc, {b}, m_ptOnElement, 400), 1);
    EXPECT_EQ(m_doc.m_vecObjects.size(), 5u);
    EXPECT_EQ(Object(3).m_rcObject.X, Object(2).m_rcObject.X + 5);
    EXPECT_EQ(AddDroppedFilesToCard(m_doc, {}, m_ptEmpty, 400), 0);
}

} // namespace
