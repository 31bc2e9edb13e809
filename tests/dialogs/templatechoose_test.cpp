#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "dialogs/templatechoose.h"
#include "platform/messages.h"
#include "session/recentcards.h"
#include "session/settings.h"
#include "tests/testsupport.h"
#include "widgets/piclist.h"

namespace {

// Answers every message box that opens while it lives, remembering what the box said.
class MessageBoxCloser {
public:
    MessageBoxCloser()
    {
        m_timer.setInterval(10);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            auto* pBox = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!pBox)
                return;
            ++m_nShown;
            m_strCaption = pBox->windowTitle();
            m_strText = pBox->text();
            m_buttons = pBox->standardButtons();
            pBox->button(QMessageBox::Ok)->click();
        });
        m_timer.start();
    }

    QTimer m_timer;
    int m_nShown = 0;
    QString m_strCaption;
    QString m_strText;
    QMessageBox::StandardButtons m_buttons;
};

void SendMouse(QWidget* pWidget, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons,
    Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    const QPoint pt(80, 80);
    QMouseEvent event(type, QPointF(pt), QPointF(pWidget->mapToGlobal(pt)), button, buttons, modifiers);
    QCoreApplication::sendEvent(pWidget, &event);
}

void ClickCell(QWidget* pCell)
{
    SendMouse(pCell, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    SendMouse(pCell, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
}

// Stands in for the main window: records the messages it receives.
class MainWindowStandIn : public QWidget {
public:
    bool event(QEvent* pEvent) override
    {
        if (pEvent->type() >= QEvent::User && pEvent->type() < QEvent::MaxUser) {
            auto* pMsg = static_cast<AppMessage*>(pEvent);
            m_vecMessages.push_back({pMsg->message(), pMsg->m_wParam, pMsg->m_lParam});
            return true;
        }
        return QWidget::event(pEvent);
    }
    std::vector<MessageRecorder::Message> m_vecMessages;
};

class TemplateChooser : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_strXml = g_strTemplateXml;

        m_strAppDir = QFileInfo(m_files.path(QStringLiteral("x"))).absolutePath() + QLatin1Char('/');
        Category(QStringLiteral("Christmas"), 3);
        Category(QStringLiteral("Easter"), 12);
        Category(QStringLiteral("Birthday"), 2);
        Category(QStringLiteral("Children"), 1);
        Category(QStringLiteral("Wedding"), 2);

        g_strTemplateCategory = QStringLiteral("Christmas");
        g_nTemplateNumber = 0;
        g_nTemplateGroup = 0;
        g_bTemplateFlag = false;
        g_strTemplateXml = QStringLiteral("unchanged.xml");
    }

    void TearDown() override { g_strTemplateXml = m_strXml; }

    // A category folder of nCount templates tempN.jpg with tempN.xml beside each.
    void Category(const QString& strName, int nCount)
    {
        const QString strFolder = QStringLiteral("Template/cards/") + strName + QLatin1Char('/');
        QDir(m_strAppDir).mkpath(strFolder);
        for (int i = 1; i <= nCount; ++i) {
            m_files.solid(strFolder + QStringLiteral("temp%1.jpg").arg(i), 60, 40, QColor(20 * i, 100, 150));
            m_files.bytes(strFolder + QStringLiteral("temp%1.xml").arg(i), "<root/>");
        }
    }

    QString Pattern(const QString& strCategory) const
    {
        return m_strAppDir + QStringLiteral("Template/cards/") + strCategory + QStringLiteral("/*.*");
    }

    static void SelectItem(CTemplateChoose& dlg, const QString& strText)
    {
        const QList<QTreeWidgetItem*> items = dlg.m_tree->findItems(strText, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(items.size(), 1) << strText.toStdString();
        dlg.m_tree->setCurrentItem(items.first());
    }

    static CImgCtrl* Cell(CTemplateChoose& dlg, int i) { return dlg.m_pPicList->m_cells.at(size_t(i)); }

    TestFiles m_files;
    QString m_strAppDir;

private:
    SettingsGuard m_settings;
    QString m_strXml;
};

TEST_F(TemplateChooser, BuildsTheFixedCategoryTreeWithTheShownCategorySelected)
{
    CTemplateChoose dlg(nullptr, m_strAppDir);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Choose a greeting card template - Christmas"));
    ASSERT_EQ(dlg.m_tree->topLevelItemCount(), 1);
    QTreeWidgetItem* pTheme = dlg.m_tree->topLevelItem(0);
    EXPECT_EQ(pTheme->text(0), QStringLiteral("Theme"));
    ASSERT_EQ(pTheme->childCount(), 3);
    EXPECT_EQ(pTheme->child(0)->text(0), QStringLiteral("Holiday"));
    EXPECT_EQ(pTheme->child(1)->text(0), QStringLiteral("Events"));
    EXPECT_EQ(pTheme->child(2)->text(0), QStringLiteral("Children"));
    QStringList holidays, events;
    for (int i = 0; i < pTheme->child(0)->childCount(); ++i)
        holidays << pTheme->child(0)->child(i)->text(0);
    for (int i = 0; i < pTheme->child(1)->childCount(); ++i)
        events << pTheme->child(1)->child(i)->text(0);
    EXPECT_EQ(holidays,
        QStringList({"Christmas", "New Year", "Valentine's Day", "Halloween", "Thanksgiving", "Mother's Day",
            "Father's Day", "Easter"}));
    EXPECT_EQ(events, QStringList({"Birthday", "Graduation", "Wedding"}));
    EXPECT_TRUE(pTheme->isExpanded());
    EXPECT_TRUE(pTheme->child(0)->isExpanded());
    EXPECT_TRUE(pTheme->child(1)->isExpanded());
    ASSERT_EQ(dlg.m_tree->selectedItems().size(), 1);
    EXPECT_EQ(dlg.m_tree->selectedItems().first()->text(0), QStringLiteral("Christmas"));
    EXPECT_EQ(dlg.m_tree->geometry(), QRect(10, 10, 190, 550));
    EXPECT_EQ(dlg.m_pPicList->geometry(), QRect(210, 10, 568, 550));
    EXPECT_TRUE(dlg.m_btnOK->isDefault());
}

TEST_F(TemplateChooser, EmptyCategoryOpensOnChristmasWithThePreselection)
{
    g_strTemplateCategory.clear();
    g_nTemplateNumber = 2;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    EXPECT_EQ(dlg.m_pPicList->m_strFolder, Pattern(QStringLiteral("Christmas")));
    EXPECT_EQ(dlg.m_pPicList->UsedCount(), 3);
    EXPECT_EQ(dlg.m_pPicList->m_pCurrent, Cell(dlg, 2));
    EXPECT_TRUE(g_strTemplateCategory.isEmpty()) << "opening changes no setting";
}

TEST_F(TemplateChooser, PreselectionBeyondTheThirdRowIsNotScrolledIntoView)
{
    g_strTemplateCategory = QStringLiteral("Easter");
    g_nTemplateNumber = 10;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    EXPECT_EQ(dlg.m_pPicList->m_pCurrent, Cell(dlg, 10));
    EXPECT_TRUE(Cell(dlg, 10)->m_bSelected);
    EXPECT_EQ(dlg.m_pPicList->ScrollPos(), 0);
}

TEST_F(TemplateChooser, NumberBeyondTheCategorySelectsNothingAndOkAsksForATemplate)
{
    g_nTemplateNumber = 7;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    EXPECT_EQ(dlg.m_pPicList->m_pCurrent, nullptr);
    MessageBoxCloser closer;
    dlg.m_btnOK->click();
    EXPECT_EQ(closer.m_nShown, 1);
    EXPECT_EQ(closer.m_strText, QStringLiteral("Plase select a template first!"));
    EXPECT_EQ(closer.m_strCaption, QStringLiteral("Infomation"));
    EXPECT_EQ(closer.m_buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(g_nTemplateNumber, 7);
    EXPECT_EQ(g_strTemplateXml, QStringLiteral("unchanged.xml"));

    // Enter (QDialog::accept) takes the same road.
    dlg.accept();
    EXPECT_EQ(closer.m_nShown, 2);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(TemplateChooser, GroupItemsChangeNothing)
{
    g_nTemplateNumber = 1;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    for (const char* pszItem : {"Theme", "Holiday", "Events"}) {
        SelectItem(dlg, QString::fromUtf8(pszItem));
        EXPECT_EQ(dlg.m_pPicList->m_strFolder, Pattern(QStringLiteral("Christmas"))) << pszItem;
        EXPECT_EQ(dlg.m_pPicList->m_pCurrent, Cell(dlg, 1)) << pszItem;
        EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Christmas"));
        EXPECT_EQ(g_nTemplateGroup, 0);
        EXPECT_FALSE(g_bTemplateFlag);
    }
}

struct CategoryCase {
    const char* pszItem;
    bool bFlagBefore;
    int nGroup;
    bool bFlagAfter;
    int nPictures;
};

void PrintTo(const CategoryCase& c, std::ostream* pOut)
{
    *pOut << c.pszItem;
}

class TemplateChooserCategories : public TemplateChooser, public ::testing::WithParamInterface<CategoryCase> { };

TEST_P(TemplateChooserCategories, SelectingACategoryShowsItAndUpdatesTheSettings)
{
    const CategoryCase& c = GetParam();
    const QString strItem = QString::fromUtf8(c.pszItem);
    g_bTemplateFlag = c.bFlagBefore;
    g_nTemplateGroup = 5;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    SelectItem(dlg, strItem);
    EXPECT_EQ(dlg.m_pPicList->m_strFolder, Pattern(strItem));
    EXPECT_EQ(dlg.m_pPicList->UsedCount(), c.nPictures);
    EXPECT_EQ(g_strTemplateCategory, strItem);
    EXPECT_EQ(g_nTemplateGroup, c.nGroup);
    EXPECT_EQ(g_bTemplateFlag, c.bFlagAfter);
}

INSTANTIATE_TEST_SUITE_P(TemplateChooser, TemplateChooserCategories,
    ::testing::Values(CategoryCase {"Easter", false, 0, false, 12}, CategoryCase {"Easter", true, 0, true, 12},
        CategoryCase {"Children", false, 2, false, 1}, CategoryCase {"Birthday", false, 1, true, 2},
        CategoryCase {"Wedding", true, 1, true, 2},
        // A category without a folder gives an empty list.
        CategoryCase {"Thanksgiving", false, 0, false, 0}, CategoryCase {"Graduation", false, 1, true, 0}));

TEST_F(TemplateChooser, CancelKeepsTheCategoryButNotTheTemplate)
{
    g_nTemplateNumber = 1;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    SelectItem(dlg, QStringLiteral("Birthday"));
    ClickCell(Cell(dlg, 0));
    dlg.m_btnCancel->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Birthday"));
    EXPECT_EQ(g_nTemplateGroup, 1);
    EXPECT_TRUE(g_bTemplateFlag);
    EXPECT_EQ(g_nTemplateNumber, 1);
    EXPECT_EQ(g_strTemplateXml, QStringLiteral("unchanged.xml"));
}

TEST_F(TemplateChooser, AnotherCategoryClearsTheSelection)
{
    CTemplateChoose dlg(nullptr, m_strAppDir);
    ASSERT_NE(dlg.m_pPicList->m_pCurrent, nullptr);
    SelectItem(dlg, QStringLiteral("Christmas"));
    EXPECT_NE(dlg.m_pPicList->m_pCurrent, nullptr) << "the category already shown changes nothing";
    SelectItem(dlg, QStringLiteral("Easter"));
    EXPECT_EQ(dlg.m_pPicList->m_pCurrent, nullptr);
    MessageBoxCloser closer;
    dlg.m_btnOK->click();
    EXPECT_EQ(closer.m_nShown, 1);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(TemplateChooser, OkConfirmsTheSelectedTemplate)
{
    g_strTemplateCategory = QStringLiteral("Easter");
    CTemplateChoose dlg(nullptr, m_strAppDir);
    ClickCell(Cell(dlg, 4));
    const QString strPicture = Cell(dlg, 4)->m_strPath;
    MessageBoxCloser closer;
    dlg.m_btnOK->click();
    EXPECT_EQ(closer.m_nShown, 0);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nChosen, 4);
    EXPECT_EQ(g_nTemplateNumber, 4);
    EXPECT_EQ(g_strTemplateXml, strPicture.left(strPicture.size() - 3) + QStringLiteral("xml"));
    EXPECT_TRUE(QFileInfo::exists(g_strTemplateXml));
}

TEST_F(TemplateChooser, DoubleClickConfirmsInOneStep)
{
    QDir(m_strAppDir).mkpath(QStringLiteral("Template/cards/Halloween"));
    m_files.solid(QStringLiteral("Template/cards/Halloween/card.jpeg"), 50, 50, Qt::red);
    m_files.solid(QStringLiteral("Template/cards/Halloween/temp4.png"), 50, 50, Qt::blue);
    m_files.bytes(QStringLiteral("Template/cards/Halloween/unreadable.jpg"), "not a picture");
    g_strTemplateCategory = QStringLiteral("Halloween");
    g_nTemplateNumber = -1;
    const std::pair<int, const char*> cases[] = {{0, "card.xml"}, {1, "temp4.xml"}, {2, "unreadable.xml"}};
    for (const auto& [nCell, pszXml] : cases) {
        CTemplateChoose dlg(nullptr, m_strAppDir);
        ASSERT_EQ(dlg.m_pPicList->UsedCount(), 3);
        QWidget* pCell = Cell(dlg, nCell);
        SendMouse(pCell, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
        SendMouse(pCell, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
        SendMouse(pCell, QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << pszXml;
        EXPECT_EQ(g_nTemplateNumber, nCell);
        EXPECT_EQ(
            g_strTemplateXml, m_strAppDir + QStringLiteral("Template/cards/Halloween/") + QString::fromUtf8(pszXml));
    }
}

TEST_F(TemplateChooser, SelectAllIsNotAChoice)
{
    CTemplateChoose dlg(nullptr, m_strAppDir);
    QKeyEvent ctrlA(QEvent::KeyPress, Qt::Key_A, Qt::ControlModifier, QStringLiteral("\x01"));
    QCoreApplication::sendEvent(dlg.m_pPicList, &ctrlA);
    EXPECT_EQ(dlg.m_pPicList->m_allSelected.size(), 3u);
    MessageBoxCloser closer;
    dlg.m_btnOK->click();
    EXPECT_EQ(closer.m_nShown, 1);
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(TemplateChooser, TreeAndRecentFocusReleaseTheMainWindowsHotKeys)
{
    for (const bool bRecent : {false, true}) {
        MainWindowStandIn mainWindow;
        CTemplateChoose dlg(&mainWindow, m_strAppDir);
        QFocusEvent focus(QEvent::FocusIn, Qt::MouseFocusReason);
        QCoreApplication::sendEvent(bRecent ? static_cast<QWidget*>(dlg.m_recent) : dlg.m_tree, &focus);
        ASSERT_EQ(mainWindow.m_vecMessages.size(), 1u) << (bRecent ? "recent" : "tree");
        EXPECT_EQ(mainWindow.m_vecMessages[0], (MessageRecorder::Message {WM_CANVAS_HOTKEYS, 0, 0}));
    }
}

TEST_F(TemplateChooser, SelectedCategoryIsDrawnOnTeal)
{
    CTemplateChoose dlg(nullptr, m_strAppDir);
    dlg.show();
    SelectItem(dlg, QStringLiteral("Easter"));
    const QImage image = dlg.m_tree->viewport()->grab().toImage();
    const auto labelPixel = [&](const QString& strText) {
        QTreeWidgetItem* pItem = dlg.m_tree->findItems(strText, Qt::MatchExactly | Qt::MatchRecursive).first();
        const QRect rc = dlg.m_tree->visualItemRect(pItem);
        return QColor(image.pixel(rc.left() + 1, rc.center().y()));
    };
    EXPECT_EQ(labelPixel(QStringLiteral("Easter")), QColor(0, 179, 179));
    EXPECT_EQ(labelPixel(QStringLiteral("Birthday")), QColor(Qt::white));
}

TEST_F(TemplateChooser, TheConfiguredCategoryIsHighlightedWithoutChangingTheSettings)
{
    const struct {
        const char* pszCategory;
        const char* pszSelected; // nothing for a name that is no category
    } cases[] = {{"Birthday", "Birthday"}, {"Children", "Children"}, {"Events", nullptr}, {"Nowhere", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCategory);
        g_strTemplateCategory = QString::fromUtf8(c.pszCategory);
        CTemplateChoose dlg(nullptr, m_strAppDir);
        const QList<QTreeWidgetItem*> selected = dlg.m_tree->selectedItems();
        if (c.pszSelected) {
            ASSERT_EQ(selected.size(), 1);
            EXPECT_EQ(selected.first()->text(0), QString::fromUtf8(c.pszSelected));
        } else {
            EXPECT_TRUE(selected.isEmpty());
        }
        EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Choose a greeting card template - %1").arg(g_strTemplateCategory));
        EXPECT_EQ(g_nTemplateGroup, 0);
        EXPECT_FALSE(g_bTemplateFlag);
    }
    // Choosing another category names it in the title.
    CTemplateChoose dlg(nullptr, m_strAppDir);
    SelectItem(dlg, QStringLiteral("Wedding"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Choose a greeting card template - Wedding"));
}

TEST_F(TemplateChooser, ArrowKeysHomeAndEndMoveTheSelectionAndEnterConfirms)
{
    // Easter has 12 templates: four rows of three, one more than the list shows.
    g_strTemplateCategory = QStringLiteral("Easter");
    g_nTemplateNumber = 7;
    CTemplateChoose dlg(nullptr, m_strAppDir);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    CPicList* pList = dlg.m_pPicList;
    EXPECT_TRUE(pList->hasFocus());
    const struct {
        Qt::Key key;
        int nCurrent;
        int nScroll;
    } steps[] = {{Qt::Key_Right, 8, 0}, {Qt::Key_Right, 9, 1}, {Qt::Key_Down, 9, 1}, {Qt::Key_Left, 8, 1},
        {Qt::Key_Up, 5, 1}, {Qt::Key_Home, 0, 0}, {Qt::Key_Left, 0, 0}, {Qt::Key_Up, 0, 0}, {Qt::Key_End, 11, 1},
        {Qt::Key_Down, 11, 1}, {Qt::Key_Up, 8, 1}, {Qt::Key_Up, 5, 1}, {Qt::Key_Up, 2, 0}};
    for (const auto& step : steps) {
        QTest::keyClick(pList, step.key);
        EXPECT_EQ(pList->m_pCurrent, Cell(dlg, step.nCurrent)) << "key " << step.key << " to " << step.nCurrent;
        EXPECT_EQ(pList->ScrollPos(), step.nScroll) << "key " << step.key << " to " << step.nCurrent;
    }
    // After select-all the first key starts at the first cell.
    QTest::keyClick(pList, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(pList->m_pCurrent, nullptr);
    QTest::keyClick(pList, Qt::Key_Down);
    EXPECT_EQ(pList->m_pCurrent, Cell(dlg, 0));
    QTest::keyClick(pList, Qt::Key_Right);
    QTest::keyClick(pList, Qt::Key_Return);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nChosen, 1);
    EXPECT_EQ(g_strTemplateXml, TemplateXmlPath(Cell(dlg, 1)->m_strPath));
}

TEST(TemplateXmlPath, ReplacesTheExtensionAfterTheLastDot)
{
    const std::pair<const char*, const char*> cases[] = {
        {"/app/Template/cards/Easter/temp2.jpg", "/app/Template/cards/Easter/temp2.xml"},
        {"/app/Template/cards/Easter/temp4.png", "/app/Template/cards/Easter/temp4.xml"},
        {"/app/cards/card.jpeg", "/app/cards/card.xml"},
        {"/app/cards/scan.TIFF", "/app/cards/scan.xml"},
        {"/app/cards/x.y.gif", "/app/cards/x.y.xml"},
        {"/app/my.cards/noext", "/app/my.cards/noext.xml"},
    };
    for (const auto& [pszPicture, pszXml] : cases)
        EXPECT_EQ(TemplateXmlPath(QString::fromUtf8(pszPicture)), QString::fromUtf8(pszXml)) << pszPicture;
}

} // namespace

// "Recent" under the tree shows the recent projects' thumbnails newest first; choosing one hands it to
// the owner, and the dialog closes only when the owner could open it. The categories and the settings
// stay as they were.
TEST_F(TemplateChooser, RecentShowsTheRecentProjectsAndClosesOnlyWhenTheChosenOneOpens)
{
    CRecentCards recent(m_files.path(QStringLiteral("cache/")));
    QStringList projects;
    for (int i = 1; i <= 3; ++i) {
        projects.prepend(m_files.bytes(QStringLiteral("card%1.plk").arg(i), "project"));
        ASSERT_TRUE(recent.Add(projects.first()));
    }
    // The oldest has no thumbnail: its cell stays empty.
    m_files.solid(QStringLiteral("cache/") + QFileInfo(recent.ThumbnailPath(projects[0])).fileName(), 80, 40, Qt::red);
    m_files.solid(QStringLiteral("cache/") + QFileInfo(recent.ThumbnailPath(projects[1])).fileName(), 40, 80, Qt::blue);

    CTemplateChoose dlg(nullptr, m_strAppDir);
    QStringList asked;
    bool bOpens = false;
    dlg.SetRecent(recent, [&](const QString& strPath) {
        asked << strPath;
        return bOpens;
    });
    dlg.show();
    ASSERT_EQ(dlg.m_recent->topLevelItemCount(), 1);
    QTreeWidgetItem* pRecent = dlg.m_recent->topLevelItem(0);
    EXPECT_EQ(pRecent->text(0), QStringLiteral("Recent"));
    EXPECT_GT(dlg.m_recent->geometry().top(), dlg.m_tree->geometry().bottom());
    EXPECT_EQ(dlg.m_recent->geometry().left(), dlg.m_tree->geometry().left());
    EXPECT_TRUE(dlg.m_recent->viewport()->rect().contains(dlg.m_recent->visualItemRect(pRecent)));
    EXPECT_LE(dlg.m_recent->geometry().bottom(), dlg.height());

    dlg.m_recent->setCurrentItem(pRecent);
    dlg.m_pPicList->WaitForThumbnails();
    QCoreApplication::processEvents();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Choose a greeting card template - Recent"));
    EXPECT_TRUE(dlg.m_tree->selectedItems().isEmpty());
    ASSERT_EQ(dlg.m_pPicList->UsedCount(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Cell(dlg, i)->m_strPath, recent.ThumbnailPath(projects[i])) << i;
        EXPECT_EQ(Cell(dlg, i)->toolTip(), projects[i]) << i;
    }
    EXPECT_TRUE(Cell(dlg, 0)->m_pThumb && Cell(dlg, 0)->m_pThumb->width() > Cell(dlg, 0)->m_pThumb->height());
    EXPECT_TRUE(Cell(dlg, 2)->m_pThumb == nullptr || Cell(dlg, 2)->m_pThumb->isNull());
    const QImage image = dlg.m_recent->viewport()->grab().toImage();
    const QRect rcLabel = dlg.m_recent->visualItemRect(pRecent);
    EXPECT_EQ(QColor(image.pixel(rcLabel.left() + 1, rcLabel.center().y())), QColor(0, 179, 179));

    // A project that does not open keeps the dialog; the owner has said why.
    SendMouse(Cell(dlg, 1), QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    SendMouse(Cell(dlg, 1), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
    SendMouse(Cell(dlg, 1), QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(asked, QStringList {projects[1]});
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(dlg.m_strProject.isEmpty());

    // Back to a category and to Recent again: each shows its own pictures, one item selected.
    SelectItem(dlg, QStringLiteral("Easter"));
    EXPECT_EQ(dlg.m_pPicList->UsedCount(), 12);
    EXPECT_TRUE(Cell(dlg, 0)->toolTip().isEmpty());
    EXPECT_TRUE(dlg.m_recent->selectedItems().isEmpty());
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Easter"));
    dlg.m_recent->setCurrentItem(nullptr);
    dlg.m_recent->setCurrentItem(pRecent);
    EXPECT_EQ(dlg.m_pPicList->UsedCount(), 3);
    EXPECT_TRUE(dlg.m_tree->selectedItems().isEmpty());
    EXPECT_EQ(g_strTemplateCategory, QStringLiteral("Easter")) << "Recent is no category";

    bOpens = true;
    dlg.m_pPicList->SelectCell(2);
    dlg.OnOK();
    EXPECT_EQ(asked, QStringList({projects[1], projects[2]}));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_strProject, projects[2]);
    EXPECT_EQ(g_strTemplateXml, QStringLiteral("unchanged.xml"));
    EXPECT_EQ(g_nTemplateNumber, 0);
}
