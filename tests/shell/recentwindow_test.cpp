#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTreeWidget>

#include "session/recentcards.h"
#include "tests/shell/mainwindowfixture.h"
#include "widgets/piclist.h"

namespace {

class RecentWindowTest : public MainWindowTest {
protected:
    QString File(const QString& strName) const { return tree.path(QStringLiteral("cards/") + strName); }

    static void ShowRecent(CTemplateChoose& chooser)
    {
        chooser.m_recent->setCurrentItem(chooser.m_recent->topLevelItem(0));
        chooser.m_pPicList->WaitForThumbnails();
    }
};

} // namespace

// Saving and opening put projects in the list with their thumbnails; the chooser opens one of them,
// and one that has been damaged since is reported as the Open command reports it, with the chooser
// left open for another choice.
TEST_F(RecentWindowTest, ChooserOpensARecentProjectAndStaysOpenOnADamagedOne)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    dlg.m_recent = CRecentCards(tree.path(QStringLiteral("cache/recent/")));
    QDir().mkpath(File(QString()));

    m_prompts.m_strSaveAnswer = File(QStringLiteral("a.plk"));
    ASSERT_TRUE(dlg.SaveProject());
    EXPECT_EQ(dlg.m_recent.Projects(), QStringList {File(QStringLiteral("a.plk"))});
    // The card is twice as wide as high.
    EXPECT_EQ(QImage(dlg.m_recent.ThumbnailPath(File(QStringLiteral("a.plk")))).size(), QSize(400, 200));

    // A project opened that had no thumbnail gets one.
    ASSERT_TRUE(QFile::copy(File(QStringLiteral("a.plk")), File(QStringLiteral("b.plk"))));
    m_prompts.m_strOpenAnswer = File(QStringLiteral("b.plk"));
    dlg.OnOpen();
    ASSERT_EQ(m_app.m_strCurrentFile, File(QStringLiteral("b.plk")));
    EXPECT_EQ(QImage(dlg.m_recent.ThumbnailPath(File(QStringLiteral("b.plk")))).size(), QSize(400, 200));

    // A project saved once and overwritten since by something that is no card.
    ASSERT_TRUE(QFile::copy(File(QStringLiteral("a.plk")), File(QStringLiteral("c.plk"))));
    ASSERT_TRUE(dlg.m_recent.Add(File(QStringLiteral("c.plk"))));
    tree.bytes(QStringLiteral("cards/c.plk"), QByteArray("\xff\xfe<\0T\0h\0", 8) + QByteArray(3000, '\x9c'));
    // Gone since: not offered.
    QFile::copy(File(QStringLiteral("a.plk")), File(QStringLiteral("gone.plk")));
    ASSERT_TRUE(dlg.m_recent.Add(File(QStringLiteral("gone.plk"))));
    QFile::remove(File(QStringLiteral("gone.plk")));
    ASSERT_EQ(dlg.m_recent.Projects(),
        QStringList({File(QStringLiteral("c.plk")), File(QStringLiteral("b.plk")), File(QStringLiteral("a.plk"))}));

    const size_t nBoxes = m_prompts.m_vecBoxes.size();
    m_prompts.m_workChooser = [&](CTemplateChoose& chooser) {
        ShowRecent(chooser);
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Choose a greeting card template - Recent"));
        EXPECT_EQ(chooser.m_pPicList->UsedCount(), 3);
        // c was listed without a thumbnail; b and a have theirs.
        for (const int i : {1, 2}) {
            const CImgCtrl* pCell = chooser.m_pPicList->m_cells.at(size_t(i));
            EXPECT_TRUE(pCell->m_pThumb && pCell->m_pThumb->size() == QSize(160, 80)) << i;
        }

        chooser.m_pPicList->SelectCell(0);
        chooser.OnOK();
        EXPECT_NE(chooser.result(), QDialog::Accepted);
        EXPECT_TRUE(chooser.m_strProject.isEmpty());
        EXPECT_EQ(m_prompts.m_vecBoxes.size(), nBoxes + 1);
        EXPECT_EQ(m_prompts.m_vecBoxes.back().strText, QStringLiteral("File is corrupted!"));
        EXPECT_EQ(m_app.m_strCurrentFile, File(QStringLiteral("b.plk")));

        chooser.m_pPicList->SelectCell(2);
        chooser.OnOK();
        return chooser.result();
    };
    g_strTemplateXml = QStringLiteral("untouched.xml");
    EXPECT_TRUE(dlg.OpenTemplateChooser(false));
    EXPECT_EQ(m_app.m_strCurrentFile, File(QStringLiteral("a.plk")));
    EXPECT_EQ(doc().m_vecObjects.size(), 2u);
    EXPECT_FALSE(dlg.m_btnSave->isEnabled());
    EXPECT_EQ(g_strTemplateXml, QStringLiteral("untouched.xml"));
    EXPECT_EQ(dlg.m_recent.Projects(),
        QStringList({File(QStringLiteral("a.plk")), File(QStringLiteral("c.plk")), File(QStringLiteral("b.plk"))}));
}
