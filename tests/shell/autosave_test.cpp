#include <gtest/gtest.h>

#include <QFile>

#include "document/thedata.h"
#include "platform/messages.h"
#include "shell/autosave.h"
#include "tests/shell/mainwindowfixture.h"

namespace {

const QString kRecover = QStringLiteral("Velomira closed before this card was saved. Recover it?");

// An edit on the main window's card as the canvas makes it: the object moves and the document changed.
void Edit(CPalenkoDlg& dlg, float fDx)
{
    TheData& obj = *dlg.m_pCanvas->m_doc.m_vecObjects[1];
    obj.m_rcObject.X += fDx;
    SendAppMessage(&dlg, WM_DOCCHANGED, 0, 0);
}

} // namespace

TEST_F(MainWindowTest, AnUnsavedCardSurvivesAnInstanceThatEndsWithoutClosing)
{
    MakeWindowWithTemplate();
    Edit(dlg(), 25);
    EXPECT_TRUE(dlg().m_autoSaveTimer.isActive()) << "an edit starts the autosave clock";
    dlg().OnAutoSaveTimer();
    const QString strCopy = dlg().m_pAutoSave->Path();
    ASSERT_TRUE(QFile::exists(strCopy));
    EXPECT_TRUE(strCopy.startsWith(CAutoSave::AutoSaveFolder()));
    EXPECT_TRUE(CAutoSave::Orphans().isEmpty()) << "a running instance's copy is nobody's to recover";
    const RectF rcEdited = doc().m_vecObjects[1]->m_rcObject;

    // The instance ends without closing: its lock goes, its copy stays.
    dlg().m_pAutoSave.reset();
    ASSERT_EQ(CAutoSave::Orphans(), QStringList {strCopy});
    m_prompts.m_answers = {QMessageBox::Yes};
    MakeWindow();
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    EXPECT_EQ(m_prompts.m_vecBoxes[0].strText, kRecover);
    ASSERT_EQ(doc().m_vecObjects.size(), 2u);
    EXPECT_EQ(doc().m_vecObjects[1]->m_rcObject, rcEdited);
    EXPECT_EQ(dlg().TitleText(), QStringLiteral("Velomira - Untitled.plk(*)")) << "recovered as modified and unnamed";
    EXPECT_FALSE(dlg().m_templateTimer.isActive());
    EXPECT_FALSE(QFile::exists(strCopy));

    // Saving the card removes its copy; a copy discarded at the next start is deleted.
    dlg().OnAutoSaveTimer();
    ASSERT_TRUE(QFile::exists(dlg().m_pAutoSave->Path()));
    m_prompts.m_strSaveAnswer = tree.path(QStringLiteral("recovered.plk"));
    ASSERT_TRUE(dlg().SaveProject());
    EXPECT_FALSE(QFile::exists(dlg().m_pAutoSave->Path()));
    Edit(dlg(), 5);
    dlg().OnAutoSaveTimer();
    dlg().m_pAutoSave.reset();
    m_prompts.m_answers = {QMessageBox::Discard};
    m_app.m_strCurrentFile.clear();
    MakeWindow();
    EXPECT_EQ(m_prompts.m_vecBoxes.size(), 2u);
    EXPECT_TRUE(CAutoSave::Orphans().isEmpty());
    EXPECT_TRUE(doc().m_vecObjects.empty());
    EXPECT_TRUE(QDir(CAutoSave::AutoSaveFolder()).entryList({QStringLiteral("*.plk")}).isEmpty());
}
