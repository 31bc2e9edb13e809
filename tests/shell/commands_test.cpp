#include <gtest/gtest.h>

#include <ostream>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <QTest>

#include "dialogs/aboutdlg.h"
#include "document/undohistory.h"
#include "platform/messages.h"
#include "session/version.h"
#include "templates/projectfile.h"
#include "tests/shell/mainwindowfixture.h"

namespace {

const QString kPrompt = QStringLiteral("Do you want to save current document?");
const QString kCorrupted = QStringLiteral("File is corrupted!");
const QString kNotSaved = QStringLiteral("The file could not be saved.");
const QString kCaption = QStringLiteral("Infomation");

class CommandsTest : public MainWindowTest {
protected:
    // A card from the template, changed by one recorded move of its element, so that it is modified
    // and has one undo step.
    CPalenkoDlg& MakeEditedCard()
    {
        CPalenkoDlg& dlg = MakeWindowWithTemplate();
        MoveElement(5);
        return dlg;
    }

    void MoveElement(float dx)
    {
        TheData* pElement = doc().m_vecObjects[1].get();
        doc().m_pUndo->BeginEdit(UNDO_MOVE, pElement);
        pElement->m_rcObject.X += dx;
        doc().m_pUndo->EndEdit();
    }

    std::vector<RectF> Rects()
    {
        std::vector<RectF> rects;
        for (const auto& pObject : doc().m_vecObjects)
            rects.push_back(pObject->m_rcObject);
        return rects;
    }

    // A project file of this card written by the main window's Save.
    QString SaveAs(const QString& strName)
    {
        m_prompts.m_strSaveAnswer = tree.path(strName);
        EXPECT_TRUE(dlg().SaveProject());
        return m_prompts.m_strSaveAnswer;
    }
};

TEST_F(CommandsTest, TemplateTimerOpensTheChooserAfterStartUp)
{
    m_prompts.m_strTemplate = m_strTemplate;
    m_prompts.m_nTemplateNumber = 1;
    CPalenkoDlg& dlg = MakeWindow(true);
    ASSERT_TRUE(dlg.m_templateTimer.isActive());
    EXPECT_EQ(dlg.m_templateTimer.interval(), 100);
    EXPECT_TRUE(dlg.m_templateTimer.isSingleShot());
    const QString strLine = QStringLiteral("Open template: Holiday/%1/temp1").arg(m_strCategory);
    EXPECT_EQ(LogCount(strLine), 0);

    ASSERT_TRUE(WaitFor([this] { return m_prompts.m_nChooserRuns == 1; }));
    EXPECT_FALSE(dlg.m_templateTimer.isActive());
    ASSERT_EQ(doc().m_vecObjects.size(), 2u);
    EXPECT_EQ(doc().m_vecObjects[0]->m_nType, OBJ_PHOTO);
    EXPECT_EQ(doc().m_vecObjects[1]->m_nType, OBJ_ELEMENT);
    EXPECT_FALSE(canvas().isHidden());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk(*)"));
    EXPECT_TRUE(dlg.m_btnSave->isEnabled());
    // Undo right after a template has nothing to undo.
    EXPECT_FALSE(dlg.m_btnUndo->isEnabled());
    const std::vector<RectF> rects = Rects();
    dlg.OnUndo();
    EXPECT_EQ(Rects(), rects);
    EXPECT_EQ(LogCount(strLine), 1);
}

TEST_F(CommandsTest, ChooserCancelledAtStartUpLeavesAnEmptyCanvasAndNewAsksAgain)
{
    CPalenkoDlg& dlg = MakeWindow(true);
    ASSERT_TRUE(WaitFor([this] { return m_prompts.m_nChooserRuns == 1; }));
    EXPECT_TRUE(canvas().isHidden());
    EXPECT_TRUE(doc().m_vecObjects.empty());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk"));
    EXPECT_FALSE(dlg.m_btnSave->isEnabled());

    m_prompts.m_strTemplate = m_strTemplate;
    QTest::mouseClick(dlg.m_btnNew, Qt::LeftButton);
    EXPECT_EQ(m_prompts.m_nChooserRuns, 2);
    EXPECT_TRUE(m_prompts.m_vecBoxes.empty());
    EXPECT_EQ(doc().m_vecObjects.size(), 2u);
}

TEST_F(CommandsTest, NewWithoutChangesAsksNothingAndACancelledChooserKeepsTheCard)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    const QString strFile = SaveAs(QStringLiteral("kept.plk"));
    const std::vector<RectF> rects = Rects();
    m_prompts.m_strTemplate.clear();
    dlg.OnNew();
    EXPECT_TRUE(m_prompts.m_vecBoxes.empty());
    EXPECT_EQ(m_prompts.m_nChooserRuns, 2);
    EXPECT_EQ(Rects(), rects);
    EXPECT_EQ(m_app.m_strCurrentFile, strFile);
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - kept.plk"));
}

TEST_F(CommandsTest, NewOnAModifiedCardAsks)
{
    // Yes: saved under a name asked for, then the chooser; the new card replaces the old one.
    {
        CPalenkoDlg& dlg = MakeEditedCard();
        m_prompts.m_answers = {QMessageBox::Yes};
        m_prompts.m_strSaveAnswer = tree.path(QStringLiteral("yes.plk"));
        dlg.OnNew();
        ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
        EXPECT_EQ(m_prompts.m_vecBoxes[0].strText, kPrompt);
        EXPECT_EQ(m_prompts.m_vecBoxes[0].strCaption, kCaption);
        EXPECT_EQ(m_prompts.m_vecBoxes[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        EXPECT_EQ(m_prompts.m_nSaveDialogs, 1);
        EXPECT_EQ(m_prompts.m_strProposedName, QStringLiteral("Untitled"));
        EXPECT_EQ(m_prompts.m_strSuffix, QStringLiteral("plk"));
        EXPECT_EQ(m_prompts.m_strLastFilter, QStringLiteral("Palenko Maker File (*.plk)"));
        EXPECT_TRUE(QFile::exists(m_prompts.m_strSaveAnswer));
        EXPECT_EQ(m_prompts.m_nChooserRuns, 2);
        EXPECT_EQ(doc().m_vecObjects.size(), 2u);
        EXPECT_TRUE(m_app.m_strCurrentFile.isEmpty());
        EXPECT_EQ(canvas().m_bModified, 1);
        EXPECT_FALSE(dlg.m_btnUndo->isEnabled());
    }
    // No: the chooser without saving.
    {
        m_prompts = TestPrompts();
        CPalenkoDlg& dlg = MakeEditedCard();
        m_prompts.m_answers = {QMessageBox::No};
        dlg.OnNew();
        EXPECT_EQ(m_prompts.m_vecBoxes.size(), 1u);
        EXPECT_EQ(m_prompts.m_nSaveDialogs, 0);
        EXPECT_EQ(m_prompts.m_nChooserRuns, 2);
    }
    // Cancel: nothing at all.
    {
        m_prompts = TestPrompts();
        CPalenkoDlg& dlg = MakeEditedCard();
        const std::vector<RectF> rects = Rects();
        m_prompts.m_answers = {QMessageBox::Cancel};
        dlg.OnNew();
        EXPECT_EQ(m_prompts.m_nSaveDialogs, 0);
        EXPECT_EQ(m_prompts.m_nChooserRuns, 1);
        EXPECT_EQ(Rects(), rects);
        EXPECT_EQ(canvas().m_bModified, 1);
    }
}

// Yes in the save prompt followed by a cancelled file dialog, or by a save that fails, stops the
// command: the card and its changes stay.
enum class SaveOutcome { DialogCancelled, WriteFails };
enum class Command { New, Open, Close };

struct PromptCase {
    Command command;
    SaveOutcome outcome;
};

void PrintTo(const PromptCase& c, std::ostream* pOut)
{
    const char* const apszCommands[] = {"New", "Open", "Close"};
    *pOut << apszCommands[int(c.command)]
          << (c.outcome == SaveOutcome::DialogCancelled ? " after a cancelled dialog" : " after a failed write");
}

class SavePromptTest : public CommandsTest, public ::testing::WithParamInterface<PromptCase> { };

TEST_P(SavePromptTest, AnUnsavedCardIsNeverReplaced)
{
    const PromptCase& c = GetParam();
    CPalenkoDlg& dlg = MakeEditedCard();
    dlg.show();
    const std::vector<RectF> rects = Rects();
    m_prompts.m_answers = {QMessageBox::Yes};
    m_prompts.m_strOpenAnswer = tree.path(QStringLiteral("other.plk"));
    m_prompts.m_strSaveAnswer
        = c.outcome == SaveOutcome::DialogCancelled ? QString() : tree.path(QStringLiteral("no such folder/card.plk"));
    const int nChooserRuns = m_prompts.m_nChooserRuns;
    QFile::remove(tree.path(QStringLiteral("config.ini")));

    switch (c.command) {
    case Command::New:
        dlg.OnNew();
        break;
    case Command::Open:
        dlg.OnOpen();
        break;
    case Command::Close:
        dlg.OnClose(QDialog::Accepted);
        break;
    }

    EXPECT_EQ(m_prompts.m_nSaveDialogs, 1);
    if (c.outcome == SaveOutcome::WriteFails) {
        ASSERT_EQ(m_prompts.m_vecBoxes.size(), 2u);
        EXPECT_EQ(m_prompts.m_vecBoxes[1].strText, kNotSaved);
        EXPECT_EQ(m_prompts.m_vecBoxes[1].strCaption, kCaption);
    } else {
        EXPECT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    }
    EXPECT_EQ(m_prompts.m_nChooserRuns, nChooserRuns);
    EXPECT_EQ(m_prompts.m_nOpenDialogs, 0);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("config.ini"))));
    EXPECT_EQ(Rects(), rects);
    EXPECT_EQ(canvas().m_bModified, 1);
    EXPECT_TRUE(dlg.m_btnSave->isEnabled());
    EXPECT_TRUE(m_app.m_strCurrentFile.isEmpty());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk(*)"));
    // The history survives too.
    EXPECT_TRUE(dlg.m_btnUndo->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(Commands, SavePromptTest,
    ::testing::Values(PromptCase {Command::New, SaveOutcome::DialogCancelled},
        PromptCase {Command::New, SaveOutcome::WriteFails}, PromptCase {Command::Open, SaveOutcome::DialogCancelled},
        PromptCase {Command::Open, SaveOutcome::WriteFails}, PromptCase {Command::Close, SaveOutcome::DialogCancelled},
        PromptCase {Command::Close, SaveOutcome::WriteFails}));

TEST_F(CommandsTest, SaveAndOpenRoundTrip)
{
    CPalenkoDlg& dlg = MakeEditedCard();
    m_prompts.m_strSaveAnswer = tree.path(QStringLiteral("card.plk"));
    QTest::mouseClick(dlg.m_btnSave, Qt::LeftButton);
    ASSERT_TRUE(QFile::exists(m_prompts.m_strSaveAnswer));
    EXPECT_EQ(m_prompts.m_nSaveDialogs, 1);
    EXPECT_EQ(m_app.m_strCurrentFile, m_prompts.m_strSaveAnswer);
    EXPECT_EQ(canvas().m_bModified, 0);
    EXPECT_FALSE(dlg.m_btnSave->isEnabled());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - card.plk"));
    const std::vector<RectF> saved = Rects();

    // A card that has a file is saved there without a dialog.
    MoveElement(7);
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - card.plk(*)"));
    EXPECT_TRUE(dlg.m_btnSave->isEnabled());
    dlg.OnSave();
    EXPECT_EQ(m_prompts.m_nSaveDialogs, 1);
    EXPECT_EQ(canvas().m_bModified, 0);
    std::vector<RectF> expected = saved;
    expected[1].X += 7;
    const QByteArray bytes = ProjectFileBytes(doc(), tree.appDir());
    QFile file(m_app.m_strCurrentFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), bytes);
    file.close();

    // Another template, then Open brings the saved card back.
    m_prompts.m_answers = {QMessageBox::No};
    dlg.OnNew();
    MoveElement(50);
    m_prompts.m_answers = {QMessageBox::No};
    m_prompts.m_strOpenAnswer = tree.path(QStringLiteral("card.plk"));
    QTest::mouseClick(dlg.m_btnOpen, Qt::LeftButton);
    EXPECT_EQ(m_prompts.m_nOpenDialogs, 1);
    EXPECT_EQ(m_prompts.m_strLastFilter, QStringLiteral("Palenko Maker File (*.plk)"));
    ASSERT_EQ(doc().m_vecObjects.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_NEAR(doc().m_vecObjects[i]->m_rcObject.X, expected[i].X, 0.01) << i;
        EXPECT_NEAR(doc().m_vecObjects[i]->m_rcObject.Y, expected[i].Y, 0.01) << i;
        EXPECT_NEAR(doc().m_vecObjects[i]->m_rcObject.Width, expected[i].Width, 0.01) << i;
    }
    EXPECT_EQ(m_app.m_strCurrentFile, tree.path(QStringLiteral("card.plk")));
    EXPECT_EQ(canvas().m_bModified, 0);
    EXPECT_FALSE(dlg.m_btnSave->isEnabled());
    EXPECT_FALSE(dlg.m_btnUndo->isEnabled());
    EXPECT_FALSE(dlg.m_btnRedo->isEnabled());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - card.plk"));
    EXPECT_EQ(canvas().geometry(), QRect(220, 215, 720, 360));
}

TEST_F(CommandsTest, OpenCancelledOrCorruptedKeepsTheCard)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    const QString strFile = SaveAs(QStringLiteral("good.plk"));
    const std::vector<RectF> rects = Rects();

    dlg.OnOpen();
    EXPECT_EQ(m_prompts.m_nOpenDialogs, 1);
    EXPECT_TRUE(m_prompts.m_vecBoxes.empty());

    const QString strWrongVersion = tree.bytes(QStringLiteral("wrong.plk"),
        Utf16LeFile(u"<?xml version=\"1.0\" encoding=\"UNICODE\"?><TheData ver=\"2.0.1\"><bk file=\"x.png\" "
                    u"canw=\"700\" datas=\"0\"/></TheData>"));
    // A file that is not there is named; one that was read but is no card is corrupted.
    const std::pair<QString, QString> cases[] = {
        {tree.path(QStringLiteral("missing.plk")), QStringLiteral("The file could not be found: missing.plk")},
        {tree.bytes(QStringLiteral("garbage.plk"), "not a project"), kCorrupted},
        {strWrongVersion, kCorrupted},
    };
    for (const auto& [strPath, strText] : cases) {
        m_prompts.m_vecBoxes.clear();
        m_prompts.m_strOpenAnswer = strPath;
        dlg.OnOpen();
        ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u) << strPath.toStdString();
        EXPECT_EQ(m_prompts.m_vecBoxes[0].strText, strText);
        EXPECT_EQ(m_prompts.m_vecBoxes[0].strCaption, kCaption);
        EXPECT_EQ(m_prompts.m_vecBoxes[0].buttons, QMessageBox::Ok);
        EXPECT_EQ(Rects(), rects);
        EXPECT_EQ(m_app.m_strCurrentFile, strFile);
        EXPECT_EQ(canvas().m_bModified, 0);
    }
}

TEST_F(CommandsTest, AProjectWithMissingPicturesOpensAndSaysSoOnce)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    const QString strFile = SaveAs(QStringLiteral("moved.plk"));
    QFile::remove(tree.path(QStringLiteral("Template/allresources/clipart/bell.png")));
    QFile::remove(tree.path(QStringLiteral("Template/allresources/frame/oval.png")));
    m_prompts.m_vecBoxes.clear();
    m_prompts.m_strOpenAnswer = strFile;
    dlg.OnOpen();
    // The card opens all the same, with the pictures that are there; the notice follows once.
    EXPECT_EQ(m_app.m_strCurrentFile, strFile);
    EXPECT_EQ(doc().m_vecObjects.size(), 2u);
    ASSERT_TRUE(WaitFor([this] { return !m_prompts.m_vecBoxes.empty(); }));
    QTest::qWait(20);
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    EXPECT_EQ(
        m_prompts.m_vecBoxes[0].strText, QStringLiteral("2 pictures of this card are missing:\noval.png\nbell.png"));
    EXPECT_EQ(m_prompts.m_vecBoxes[0].buttons, QMessageBox::Ok);
}

TEST_F(CommandsTest, ABrokenTemplateKeepsTheCard)
{
    CPalenkoDlg& dlg = MakeEditedCard();
    const std::vector<RectF> rects = Rects();
    const QString strLine = QStringLiteral("Open template: Holiday/%1/temp4").arg(m_strCategory);
    for (const QByteArray& xml : {QByteArray("<root><PageSceneObject"),
             QByteArray("<root><PageSceneObject PageBgImage=\"bgimage/none.png\"/></root>")}) {
        m_prompts.m_vecBoxes.clear();
        m_prompts.m_answers = {QMessageBox::No};
        m_prompts.m_strTemplate = tree.bytes(QStringLiteral("Template/cards/Christmas/temp4.xml"), xml);
        m_prompts.m_nTemplateNumber = 4;
        dlg.OnNew();
        ASSERT_EQ(m_prompts.m_vecBoxes.size(), 2u);
        EXPECT_EQ(m_prompts.m_vecBoxes[1].strText, kCorrupted);
        EXPECT_EQ(m_prompts.m_vecBoxes[1].strCaption, kCaption);
        EXPECT_EQ(Rects(), rects);
        EXPECT_TRUE(dlg.m_btnUndo->isEnabled());
        EXPECT_EQ(LogCount(strLine), 0);
    }
}

TEST_F(CommandsTest, CommandLineProject)
{
    // A project that opens: no chooser, not modified.
    MakeWindowWithTemplate();
    const QString strFile = SaveAs(QStringLiteral("start.plk"));
    m_pDlg.reset();
    m_prompts = TestPrompts();
    m_app.m_strCurrentFile = strFile;
    {
        CPalenkoDlg& dlg = MakeWindow(true);
        EXPECT_FALSE(dlg.m_templateTimer.isActive());
        EXPECT_EQ(doc().m_vecObjects.size(), 2u);
        EXPECT_FALSE(canvas().isHidden());
        EXPECT_EQ(canvas().m_bModified, 0);
        EXPECT_FALSE(dlg.m_btnSave->isEnabled());
        EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - start.plk"));
        EXPECT_TRUE(m_prompts.m_vecBoxes.empty());
    }
    // One that cannot be opened: the message, then the program as if started without it.
    m_pDlg.reset();
    m_app.m_strCurrentFile = tree.bytes(QStringLiteral("broken.plk"), "broken");
    m_prompts.m_strTemplate = m_strTemplate;
    CPalenkoDlg& dlg = MakeWindow(true);
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    EXPECT_EQ(m_prompts.m_vecBoxes[0].strText, kCorrupted);
    EXPECT_TRUE(m_app.m_strCurrentFile.isEmpty());
    EXPECT_TRUE(canvas().isHidden());
    EXPECT_EQ(dlg.TitleText(), QStringLiteral("Velomira - Untitled.plk"));
    EXPECT_TRUE(dlg.m_templateTimer.isActive());
    ASSERT_TRUE(WaitFor([this] { return m_prompts.m_nChooserRuns == 1; }));
    EXPECT_EQ(doc().m_vecObjects.size(), 2u);
}

TEST_F(CommandsTest, UndoAndRedoReplayTheHistory)
{
    CPalenkoDlg& dlg = MakeWindowWithTemplate();
    const RectF rcStart = doc().m_vecObjects[1]->m_rcObject;
    MoveElement(5);
    MoveElement(5);
    EXPECT_TRUE(dlg.m_btnUndo->isEnabled());
    EXPECT_FALSE(dlg.m_btnRedo->isEnabled());
    canvas().Select(1);

    QTest::mouseClick(dlg.m_btnUndo, Qt::LeftButton);
    EXPECT_EQ(doc().m_nSelected, -1);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.X, rcStart.X + 5);
    EXPECT_TRUE(dlg.m_btnRedo->isEnabled());
    dlg.OnUndo();
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.X, rcStart.X);
    EXPECT_FALSE(dlg.m_btnUndo->isEnabled());
    dlg.OnUndo();
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.X, rcStart.X);
    QTest::mouseClick(dlg.m_btnRedo, Qt::LeftButton);
    EXPECT_FLOAT_EQ(doc().m_vecObjects[1]->m_rcObject.X, rcStart.X + 5);
    EXPECT_TRUE(dlg.m_btnUndo->isEnabled());
    EXPECT_TRUE(dlg.m_btnRedo->isEnabled());
}

TEST_F(CommandsTest, HelpMenu)
{
    CPalenkoDlg& dlg = MakeWindow();
    dlg.OnHelp();
    EXPECT_EQ(m_prompts.m_vecMenuItems,
        (std::vector<QString> {QStringLiteral("Online Help"), QString(), QStringLiteral("Feedback and Support"),
            QStringLiteral("Open log File"), QString(), QStringLiteral("About")}));
    EXPECT_EQ(m_prompts.m_vecMenuIds, (std::vector<int> {32771, 0, 32773, 32774, 0, 32775}));
    EXPECT_TRUE(m_prompts.m_vecUrls.empty());

    for (const int nCommand : {ID_HELP_ONLINE, ID_HELP_FEEDBACK, ID_HELP_OPENLOG}) {
        m_prompts.m_nMenuAnswer = nCommand;
        QTest::mouseClick(dlg.m_btnHelp, Qt::LeftButton);
    }
    ASSERT_EQ(m_prompts.m_vecUrls.size(), 3u);
    EXPECT_EQ(m_prompts.m_vecUrls[0], QUrl::fromLocalFile(tree.path(QStringLiteral("Help/index.html"))));
    EXPECT_EQ(m_prompts.m_vecUrls[1].fragment(), QStringLiteral("support"));
    EXPECT_EQ(m_prompts.m_vecUrls[1].adjusted(QUrl::RemoveFragment), m_prompts.m_vecUrls[0]);
    EXPECT_EQ(m_prompts.m_vecUrls[2], QUrl::fromLocalFile(tree.path(QStringLiteral("Jotwell/"))));

    m_prompts.m_nMenuAnswer = ID_HELP_ABOUT;
    dlg.OnHelp();
    EXPECT_EQ(m_prompts.m_vecDialogs, std::vector<QString> {QStringLiteral("About Velomira")});
    EXPECT_EQ(m_prompts.m_vecUrls.size(), 3u);
}

TEST_F(CommandsTest, AboutBoxNamesTheVersionAndLinksToTheHelpPage)
{
    CAboutDlg about(nullptr, tree.appDir(), m_prompts);
    QString strText;
    const QList<QLabel*> labels = about.findChildren<QLabel*>();
    for (const QLabel* pLabel : labels)
        strText += pLabel->text() + QLatin1Char('\n');
    EXPECT_TRUE(strText.contains(QStringLiteral("Version 2.0.0.0")));
    EXPECT_TRUE(strText.contains(HelpPageUrl(tree.appDir()).toString()));
    EXPECT_TRUE(strText.contains(SupportPageUrl(tree.appDir()).toString()));
}

TEST_F(CommandsTest, TheProgramFolderHoldsTheHelpPage)
{
    QFile page(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/Help/index.html"));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << page.fileName().toStdString();
    const QString strPage = QString::fromUtf8(page.readAll());
    EXPECT_TRUE(strPage.contains(QStringLiteral("id=\"support\"")));
    EXPECT_TRUE(strPage.contains(QStringLiteral("Open log File")));
    // Every screenshot the page shows is a picture beside it.
    const QDir helpDir = QFileInfo(page).dir();
    const QRegularExpression source(QStringLiteral("<img src=\"([^\"]+)\""));
    int nImages = 0;
    for (auto it = source.globalMatch(strPage); it.hasNext(); ++nImages) {
        const QString strImage = it.next().captured(1);
        EXPECT_FALSE(QImage(helpDir.filePath(strImage)).isNull()) << strImage.toStdString();
    }
    EXPECT_GE(nImages, 5);
}

struct CloseCase {
    const char* pszWay;
    int nResult;
};

void PrintTo(const CloseCase& c, std::ostream* pOut)
{
    *pOut << c.pszWay;
}

class CloseTest : public CommandsTest, public ::testing::WithParamInterface<CloseCase> { };

TEST_P(CloseTest, WritesSettingsAndQuitLine)
{
    const CloseCase& c = GetParam();
    CPalenkoDlg& dlg = MakeWindow();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    dlg.setResult(-1);
    QFile::remove(tree.path(QStringLiteral("config.ini")));
    g_strTemplateCategory = QStringLiteral("Birthday");
    g_nTemplateNumber = 3;
    g_nTemplateGroup = 1;
    g_bTemplateFlag = true;
    const QString strWay = QLatin1String(c.pszWay);
    if (strWay == QLatin1String("X"))
        QTest::mouseClick(dlg.m_btnClose, Qt::LeftButton);
    else if (strWay == QLatin1String("Escape"))
        QTest::keyClick(&dlg, Qt::Key_Escape);
    else if (strWay == QLatin1String("Enter"))
        QTest::keyClick(&dlg, Qt::Key_Return);
    else
        dlg.close();

    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), c.nResult);
    EXPECT_TRUE(m_prompts.m_vecBoxes.empty());
    QSettings ini(tree.path(QStringLiteral("config.ini")), QSettings::IniFormat);
    EXPECT_EQ(ini.value(QStringLiteral("system/exportpath")).toString(), g_strExportPath);
    EXPECT_EQ(ini.value(QStringLiteral("system/temp_name")).toString(), QStringLiteral("Birthday"));
    EXPECT_EQ(ini.value(QStringLiteral("system/temp_num")).toString(), QStringLiteral("3"));
    EXPECT_EQ(ini.value(QStringLiteral("system/first")).toString(), QStringLiteral("1"));
    EXPECT_EQ(ini.value(QStringLiteral("system/flag")).toString(), QStringLiteral("1"));
}

INSTANTIATE_TEST_SUITE_P(Ways, CloseTest,
    ::testing::Values(CloseCase {"X", QDialog::Accepted}, CloseCase {"Escape", QDialog::Rejected},
        CloseCase {"Enter", QDialog::Accepted}, CloseCase {"system", QDialog::Rejected}));

TEST_F(CommandsTest, CancelInThePromptKeepsTheWindowOpen)
{
    CPalenkoDlg& dlg = MakeEditedCard();
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QFile::remove(tree.path(QStringLiteral("config.ini")));
    m_prompts.m_answers = {QMessageBox::Cancel, QMessageBox::Cancel};
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_prompts.m_vecBoxes.size(), 2u);
    EXPECT_FALSE(QFile::exists(tree.path(QStringLiteral("config.ini"))));

    // No closes without saving.
    m_prompts.m_answers = {QMessageBox::No};
    QTest::mouseClick(dlg.m_btnClose, Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(m_prompts.m_nSaveDialogs, 0);
    EXPECT_TRUE(QFile::exists(tree.path(QStringLiteral("config.ini"))));
}

// ---- The built program ---------------------------------------------------------------------------------

QString ProgramPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/velomira");
}

struct InfoCase {
    const char* pszArgs;
    const char* pszExpected;
};

void PrintTo(const InfoCase& c, std::ostream* pOut)
{
    *pOut << c.pszArgs;
}

class ProgramInfoTest : public ::testing::TestWithParam<InfoCase> { };

TEST_P(ProgramInfoTest, AnswersWithoutAWindow)
{
    const InfoCase& c = GetParam();
    ASSERT_TRUE(QFileInfo(ProgramPath()).isExecutable()) << "build the velomira target first";
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No display at all: the answer must come before anything needs one.
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    process.setProcessEnvironment(environment);
    process.start(ProgramPath(), QString::fromLatin1(c.pszArgs).split(QLatin1Char(' ')));
    ASSERT_TRUE(process.waitForFinished(10000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    const QString strOut = QString::fromLocal8Bit(process.readAllStandardOutput());
    EXPECT_TRUE(strOut.startsWith(QLatin1String(c.pszExpected))) << strOut.toStdString();
    EXPECT_TRUE(process.readAllStandardError().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Switches, ProgramInfoTest,
    ::testing::Values(InfoCase {"--version", "Velomira 2.0.0.0\n"},
        InfoCase {"--help", "Usage: velomira [PROJECT.plk]"}, InfoCase {"-x card.plk --version", "Velomira 2.0.0.0\n"},
        InfoCase {"--help --version", "Usage: velomira"}));

} // namespace
