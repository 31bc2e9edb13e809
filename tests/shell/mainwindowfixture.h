#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFile>
#include <QMenu>
#include <QTest>
#include <QUuid>

#include "canvas/canvas.h"
#include "dialogs/templatechoose.h"
#include "panels/cateimage.h"
#include "panels/catetext.h"
#include "platform/applog.h"
#include "session/settings.h"
#include "shell/palenkoapp.h"
#include "shell/palenkodlg.h"
#include "tests/templates/resourcetree.h"
#include "tests/testsupport.h"
#include "widgets/buttonx.h"

// Answers in place of the user and records what the main window asked.
class TestPrompts : public CShellPrompts {
public:
    struct Box {
        QString strText;
        QString strCaption;
        QMessageBox::StandardButtons buttons;
    };

    QMessageBox::StandardButton MessageBox(QWidget*, const QString& strText, const QString& strCaption,
        QMessageBox::StandardButtons buttons, QMessageBox::Icon) override
    {
        m_vecBoxes.push_back({strText, strCaption, buttons});
        if (m_answers.empty())
            return QMessageBox::Ok;
        const QMessageBox::StandardButton answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    QString GetOpenFileName(QWidget*, const QString& strFilter) override
    {
        ++m_nOpenDialogs;
        m_strLastFilter = strFilter;
        return m_strOpenAnswer;
    }

    QString GetSaveFileName(QWidget*, const QString& strName, const QString& strFilter, const QString& strSuffix,
        const QString& strFolder) override
    {
        m_strSaveFolder = strFolder;
        ++m_nSaveDialogs;
        m_strLastFilter = strFilter;
        m_strProposedName = strName;
        m_strSuffix = strSuffix;
        return m_strSaveAnswer;
    }

    QString GetExistingDirectory(QWidget*, const QString&) override { return m_strFolderAnswer; }

    // The template chooser is worked by m_workChooser when set, otherwise confirmed with m_strTemplate
    // (cancelled while it is empty); any other dialog is recorded by its title and cancelled.
    int RunModal(QDialog& dialog) override
    {
        if (auto* pChooser = qobject_cast<CTemplateChoose*>(&dialog)) {
            ++m_nChooserRuns;
            if (m_workChooser)
                return m_workChooser(*pChooser);
            if (m_strTemplate.isEmpty())
                return QDialog::Rejected;
            g_strTemplateXml = m_strTemplate;
            g_nTemplateNumber = m_nTemplateNumber;
            pChooser->m_nChosen = m_nTemplateNumber;
            return QDialog::Accepted;
        }
        m_vecDialogs.push_back(dialog.windowTitle());
        return m_answerDialog ? m_answerDialog(dialog) : QDialog::Rejected;
    }

    int TrackPopupMenu(QMenu& menu, const QPoint&) override
    {
        m_vecMenuItems.clear();
        const QList<QAction*> actions = menu.actions();
        for (const QAction* pAction : actions)
            m_vecMenuItems.push_back(pAction->isSeparator() ? QString() : pAction->text());
        for (const QAction* pAction : actions)
            m_vecMenuIds.push_back(pAction->data().toInt());
        return m_nMenuAnswer;
    }

    bool OpenUrl(const QUrl& url) override
    {
        m_vecUrls.push_back(url);
        return m_bOpens;
    }

    std::deque<QMessageBox::StandardButton> m_answers;
    std::vector<Box> m_vecBoxes;
    QString m_strOpenAnswer;
    QString m_strSaveAnswer;
    QString m_strFolderAnswer;
    QString m_strLastFilter;
    QString m_strProposedName;
    QString m_strSuffix;
    QString m_strSaveFolder;
    int m_nOpenDialogs = 0;
    int m_nSaveDialogs = 0;
    QString m_strTemplate;
    int m_nTemplateNumber = 0;
    int m_nChooserRuns = 0;
    // Works the chooser as the user would and returns its result.
    std::function<int(CTemplateChoose&)> m_workChooser;
    std::vector<QString> m_vecDialogs;
    // Answers the other dialogs when set: works them as the user would and returns their result.
    std::function<int(QDialog&)> m_answerDialog;
    std::vector<QString> m_vecMenuItems;
    std::vector<int> m_vecMenuIds;
    int m_nMenuAnswer = 0;
    std::vector<QUrl> m_vecUrls;
    // Whether the desktop has a program for the pages and folders opened.
    bool m_bOpens = true;
};

// Runs the event loop until the condition holds or the time is up; whether it holds.
template <class Condition> bool WaitFor(Condition condition, int nMilliseconds = 5000)
{
    const QDeadlineTimer deadline(nMilliseconds);
    while (!condition() && !deadline.hasExpired())
        QTest::qWait(10);
    return condition();
}

// A program folder with a settings file, an 800 x 400 background, a frame with its mask and a clip-art
// element, and a template using them; the main window is made on it with TestPrompts.
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strSavedTemplateXml = g_strTemplateXml;
        // A category name of this test alone, so its log lines can be told from every other run's.
        m_strCategory = QStringLiteral("Christmas %1").arg(QUuid::createUuid().toString(QUuid::WithoutBraces));
        tree.bytes(QStringLiteral("config.ini"),
            "[system]\nexportpath=" + tree.appDir().toUtf8() + "\ntemp_name=" + m_strCategory.toUtf8()
                + "\ntemp_num=1\nfirst=0\nflag=0\n");
        tree.picture(QStringLiteral("bgimage/bg.png"), 800, 400);
        tree.picture(QStringLiteral("frame/oval.png"), 200, 100);
        tree.picture(QStringLiteral("frame/oval.jpg"), 200, 100);
        tree.picture(QStringLiteral("clipart/bell.png"), 50, 40);
        m_strTemplate = tree.bytes(QStringLiteral("Template/cards/Christmas/temp1.xml"),
            "<root><PageSceneObject PageBgImage=\"bgimage/bg.png\">"
            "<SpriteObject nPhotoType=\"1\" strFramePath=\"frame/oval.png\" nPhotoAngle=\"0\" PhotoFrameLeft=\"100\" "
            "PhotoFrameTop=\"100\" PhotoFrameRight=\"200\" PhotoFrameBottom=\"100\"/>"
            "<SpriteObject nPhotoType=\"4\" strPhotoPath=\"clipart/bell.png\" nPhotoAngle=\"0\" "
            "PhotoFrameLeft=\"500\" PhotoFrameTop=\"200\" PhotoFrameRight=\"50\" PhotoFrameBottom=\"40\"/>"
            "</PageSceneObject></root>");
    }

    void TearDown() override
    {
        m_pDlg.reset();
        g_pCurrentText = nullptr;
        g_strTemplateXml = m_strSavedTemplateXml;
    }

    // Makes the main window; the start-up chooser is kept from running unless bKeepTimer is set.
    CPalenkoDlg& MakeWindow(bool bKeepTimer = false)
    {
        m_pDlg = std::make_unique<CPalenkoDlg>(m_app, &m_prompts, tree.appDir());
        if (!bKeepTimer)
            m_pDlg->m_templateTimer.stop();
        return *m_pDlg;
    }

    // Makes the main window and loads the template through the chooser, as at start-up.
    CPalenkoDlg& MakeWindowWithTemplate()
    {
        CPalenkoDlg& dlg = MakeWindow();
        m_prompts.m_strTemplate = m_strTemplate;
        m_prompts.m_nTemplateNumber = 1;
        EXPECT_TRUE(dlg.OpenTemplateChooser(true));
        return dlg;
    }

    CPalenkoDlg& dlg() { return *m_pDlg; }
    Canvas& canvas() { return *m_pDlg->m_pCanvas; }
    CardDocument& doc() { return m_pDlg->m_pCanvas->m_doc; }

    // The number of times the line stands in the program's log.
    static int LogCount(const QString& strLine)
    {
        QFile log(GetLogDir() + QStringLiteral("velomira.log"));
        if (!log.open(QIODevice::ReadOnly))
            return 0;
        return int(QString::fromUtf8(log.readAll()).count(strLine + QLatin1Char('\n')));
    }

    ResourceTree tree;
    CPalenkoApp m_app;
    TestPrompts m_prompts;
    std::unique_ptr<CPalenkoDlg> m_pDlg;
    QString m_strTemplate;
    QString m_strCategory;

private:
    SettingsGuard m_settings;
    QString m_strSavedTemplateXml;
};
