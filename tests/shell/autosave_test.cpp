#include <cstdio>

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QMouseEvent>
#include <QProcess>

#include "document/thedata.h"
#include "platform/messages.h"
#include "session/autosave.h"
#include "templates/projectfile.h"
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

// The objects' rectangles, one line each, exactly enough digits to read the same floats back.
QString ObjectLines(const CardDocument& doc)
{
    QString str;
    for (const auto& pObject : doc.m_vecObjects) {
        const RectF& rc = pObject->m_rcObject;
        for (const float f : {rc.X, rc.Y, rc.Width, rc.Height})
            str += QString::number(f, 'g', 9) + QLatin1Char(' ');
        str += QLatin1Char('\n');
    }
    return str;
}

QByteArray FileBytes(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The bell's rectangle as the autosave copy holds it.
RectF CopiedBell(const QString& strCopy, const QString& strAppDir)
{
    ProjectCard card;
    if (!ReadProjectFile(strCopy, card, nullptr, strAppDir) || card.vecObjects.size() != 2)
        return {};
    return card.vecObjects[1]->m_rcObject;
}

void SendMouse(QWidget* pTarget, QEvent::Type type, QPoint pt, Qt::MouseButtons buttons)
{
    QMouseEvent event(type, QPointF(pt), QPointF(pTarget->mapToGlobal(pt)), Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(pTarget, &event);
}

// The program in a process of its own, on the program folder VELOMIRA_TEST_APPDIR: the template is
// chosen and saved as VELOMIRA_TEST_CARD, the bell dragged 40 px left and 24 px down on the canvas, and
// the autosave clock, as the user has it, left to write the copy.
// Then the objects are printed, followed by "AUTOSAVED"; with VELOMIRA_TEST_THEN=close the program is
// closed as the user closes it (not saving the card), otherwise it runs until it is killed.
const TestChild editChild("autosave_edit", [] {
    const QString strAppDir = qEnvironmentVariable("VELOMIRA_TEST_APPDIR");
    CPalenkoApp app;
    TestPrompts prompts;
    CPalenkoDlg dlg(app, &prompts, strAppDir);
    dlg.m_templateTimer.stop();
    prompts.m_strTemplate = strAppDir + QStringLiteral("Template/cards/Christmas/temp1.xml");
    prompts.m_nTemplateNumber = 1;
    if (!dlg.OpenTemplateChooser(true) || dlg.m_pCanvas->m_doc.m_vecObjects.size() != 2)
        return 2;
    prompts.m_strSaveAnswer = qEnvironmentVariable("VELOMIRA_TEST_CARD");
    if (!dlg.SaveProject())
        return 6;
    dlg.show();
    Canvas& canvas = *dlg.m_pCanvas;
    const RectF rcBefore = canvas.m_doc.m_vecObjects[1]->m_rcObject;
    const QPoint ptBell = rcBefore.toQRectF().center().toPoint();
    SendMouse(&canvas, QEvent::MouseButtonPress, ptBell, Qt::LeftButton);
    for (int i = 1; i <= 4; ++i)
        SendMouse(&canvas, QEvent::MouseMove, ptBell + QPoint(-10 * i, 6 * i), Qt::LeftButton);
    SendMouse(&canvas, QEvent::MouseButtonRelease, ptBell + QPoint(-40, 24), Qt::NoButton);
    const RectF rcAfter = canvas.m_doc.m_vecObjects[1]->m_rcObject;
    if (rcAfter.X != rcBefore.X - 40 || rcAfter.Y != rcBefore.Y + 24)
        return 5;
    const QString strCopy = dlg.m_pAutoSave->Path();
    if (!WaitFor([&] { return QFile::exists(strCopy); }, 60000))
        return 3;
    std::printf("%s\nAUTOSAVED\n", ObjectLines(canvas.m_doc).toUtf8().constData());
    std::fflush(stdout);
    if (qEnvironmentVariable("VELOMIRA_TEST_THEN") == QLatin1String("close")) {
        prompts.m_answers = {QMessageBox::No};
        dlg.OnClose(QDialog::Accepted);
        return QFile::exists(strCopy) ? 4 : 0;
    }
    for (;;)
        QTest::qWait(1000);
});

} // namespace

TEST_F(MainWindowTest, AKilledProgramsEditIsRecoveredToItsFileAndAClosedProgramLeavesNoCopy)
{
    const QString strCard = tree.path(QStringLiteral("cards/mia-birthday.plk"));
    QDir().mkpath(tree.path(QStringLiteral("cards")));
    const auto startChild = [&](QProcess& child, const char* pszThen) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELOMIRA_TEST_APPDIR"), tree.appDir());
        env.insert(QStringLiteral("VELOMIRA_TEST_CARD"), strCard);
        env.insert(QStringLiteral("VELOMIRA_TEST_THEN"), QString::fromLatin1(pszThen));
        child.setProcessEnvironment(env);
        child.start(
            QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), QStringLiteral("autosave_edit")});
        QByteArray output;
        while (!output.contains("AUTOSAVED\n") && child.waitForReadyRead(60000))
            output += child.readAllStandardOutput();
        return QString::fromUtf8(output.left(output.indexOf("AUTOSAVED\n")));
    };

    QProcess killed;
    const QString strEdited = startChild(killed, "wait");
    ASSERT_FALSE(strEdited.isEmpty()) << killed.readAllStandardError().toStdString();
    killed.kill();
    ASSERT_TRUE(killed.waitForFinished(10000));
    EXPECT_EQ(killed.exitStatus(), QProcess::CrashExit);
    ASSERT_EQ(CAutoSave::Orphans().size(), 1) << "the killed program's copy is left to recover";
    const QByteArray savedBeforeEdit = FileBytes(strCard);
    ASSERT_FALSE(savedBeforeEdit.isEmpty());

    m_prompts.m_answers = {QMessageBox::Yes};
    MakeWindow();
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    EXPECT_EQ(m_prompts.m_vecBoxes[0].strText, kRecover);
    EXPECT_EQ(ObjectLines(doc()).trimmed(), strEdited.trimmed()) << "the card as it was before the kill";
    EXPECT_EQ(dlg().TitleText(), QStringLiteral("Velomira - mia-birthday.plk(*)"));
    EXPECT_TRUE(CAutoSave::Orphans().isEmpty());
    EXPECT_EQ(FileBytes(strCard), savedBeforeEdit) << "the copy never touches the user's file";

    // Save writes the recovered card back to its file without asking for one.
    m_prompts.m_strSaveAnswer.clear();
    ASSERT_TRUE(dlg().SaveProject());
    EXPECT_EQ(m_prompts.m_nSaveDialogs, 0);
    EXPECT_EQ(dlg().TitleText(), QStringLiteral("Velomira - mia-birthday.plk"));
    EXPECT_NE(FileBytes(strCard), savedBeforeEdit);
    ASSERT_TRUE(dlg().OpenProject(strCard));
    EXPECT_EQ(ObjectLines(doc()).trimmed(), strEdited.trimmed());
    m_pDlg.reset();

    QProcess closed;
    EXPECT_FALSE(startChild(closed, "close").isEmpty());
    ASSERT_TRUE(closed.waitForFinished(10000));
    EXPECT_EQ(closed.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(closed.exitCode(), 0);
    EXPECT_TRUE(QDir(CAutoSave::AutoSaveFolder()).entryList({QStringLiteral("card-*")}, QDir::Files).isEmpty())
        << "a normal close leaves neither copy nor lock behind";
}

TEST_F(MainWindowTest, AnUnsavedCardSurvivesAnInstanceThatEndsWithoutClosing)
{
    MakeWindowWithTemplate();
    Edit(dlg(), 25);
    EXPECT_TRUE(dlg().m_autoSaveTimer.isActive()) << "an edit starts the autosave clock";
    dlg().OnAutoSaveTimer();
    dlg().m_pAutoSave->WaitForWrite();
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
    dlg().m_pAutoSave->WaitForWrite();
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
    EXPECT_TRUE(
        QDir(CAutoSave::AutoSaveFolder()).entryList({QStringLiteral("*.plk"), QStringLiteral("*.origin")}).isEmpty());
}

TEST_F(MainWindowTest, TheCopyIsWrittenWhenEditingPausesAndKeepsOnlyTheLatestCard)
{
    MakeWindowWithTemplate();
    QTimer& clock = dlg().m_autoSaveTimer;
    EXPECT_TRUE(clock.isSingleShot());
    EXPECT_LE(clock.interval(), 3000) << "a kill loses at most the seconds since the last edit";

    // Each edit starts the clock again, so the copy waits until the card stops changing.
    const int nMargin = clock.interval() / 3;
    Edit(dlg(), 1);
    ASSERT_TRUE(WaitFor([&] { return clock.remainingTime() < clock.interval() - nMargin; }, 30000));
    Edit(dlg(), 1);
    EXPECT_GT(clock.remainingTime(), clock.interval() - nMargin);

    // Writes asked for in a row leave the last card in the copy, never an earlier one overtaking it.
    const QString strCopy = dlg().m_pAutoSave->Path();
    for (int i = 0; i < 20; ++i) {
        Edit(dlg(), 3);
        dlg().OnAutoSaveTimer();
    }
    dlg().m_pAutoSave->WaitForWrite();
    const RectF rcLast = doc().m_vecObjects[1]->m_rcObject;
    EXPECT_NEAR(CopiedBell(strCopy, tree.appDir()).X, rcLast.X, 0.01);

    // A save right after writes were asked for leaves no copy that a late write brings back.
    for (int i = 0; i < 5; ++i) {
        Edit(dlg(), 3);
        dlg().OnAutoSaveTimer();
    }
    m_prompts.m_strSaveAnswer = tree.path(QStringLiteral("saved.plk"));
    ASSERT_TRUE(dlg().SaveProject());
    dlg().m_pAutoSave->WaitForWrite();
    EXPECT_FALSE(QFile::exists(strCopy));

    // The session ends with the card just edited: the window closes only once its copy is written.
    Edit(dlg(), 3);
    dlg().OnSessionEnd();
    EXPECT_NEAR(CopiedBell(strCopy, tree.appDir()).X, doc().m_vecObjects[1]->m_rcObject.X, 0.01);
    EXPECT_EQ(CAutoSave::OriginOf(strCopy), m_prompts.m_strSaveAnswer);
    CAutoSave::Discard(strCopy);
}

TEST_F(MainWindowTest, ARecoveredCardWhoseFolderHasGoneIsSavedAsANewCard)
{
    const QString strFolder = tree.path(QStringLiteral("usb-stick/"));
    QDir().mkpath(strFolder);
    MakeWindowWithTemplate();
    m_prompts.m_strSaveAnswer = strFolder + QStringLiteral("mia-birthday.plk");
    ASSERT_TRUE(dlg().SaveProject());
    Edit(dlg(), 25);
    dlg().OnAutoSaveTimer();
    // The instance ends without closing, and the card's folder goes with the stick.
    dlg().m_pAutoSave.reset();
    ASSERT_TRUE(QDir(strFolder).removeRecursively());

    m_prompts.m_answers = {QMessageBox::Yes};
    MakeWindow();
    EXPECT_EQ(dlg().TitleText(), QStringLiteral("Velomira - mia-birthday.plk(*)"));
    const int nDialogs = m_prompts.m_nSaveDialogs;
    m_prompts.m_strSaveAnswer = tree.path(QStringLiteral("mia-birthday.plk"));
    ASSERT_TRUE(dlg().SaveProject());
    EXPECT_EQ(m_prompts.m_nSaveDialogs, nDialogs + 1);
    EXPECT_EQ(m_prompts.m_strProposedName, QStringLiteral("mia-birthday"));
    EXPECT_TRUE(QFile::exists(m_prompts.m_strSaveAnswer));
    EXPECT_FALSE(QDir(strFolder).exists()) << "the vanished folder is not made again behind the user's back";
}
