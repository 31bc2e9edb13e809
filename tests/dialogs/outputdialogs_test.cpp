#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QWindow>

#include "dialogs/dlgexport.h"
#include "dialogs/dlgprint.h"
#include "dialogs/fulldlg.h"
#include "tests/shell/mainwindowfixture.h"
#include "tests/testsupport.h"

namespace {

// The main window with its 800 x 400 template card, and the output dialogs opened from it.
class OutputTest : public MainWindowTest {
protected:
    // Types into a size field as the user does, then leaves it.
    static void Type(QLineEdit* pEdit, const QString& strText)
    {
        pEdit->selectAll();
        QTest::keyClicks(pEdit, strText);
        QFocusEvent leave(QEvent::FocusOut);
        QCoreApplication::sendEvent(pEdit, &leave);
    }

    // The bounding box of the page's non-white pixels, rendered from the PDF at 50 dpi.
    static QRect InkBox(const QString& strPdf, int nPage, QSize* pszPage)
    {
        const QString strPrefix = strPdf + QStringLiteral(".page");
        QProcess::execute(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("50"), QStringLiteral("-f"), QString::number(nPage),
                QStringLiteral("-l"), QString::number(nPage), QStringLiteral("-singlefile"), QStringLiteral("-png"),
                strPdf, strPrefix});
        const QImage page(strPrefix + QStringLiteral(".png"));
        *pszPage = page.size();
        QRect rcInk;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x) {
                if (qGray(page.pixel(x, y)) < 200)
                    rcInk |= QRect(x, y, 1, 1);
            }
        }
        return rcInk;
    }
};

} // namespace

TEST_F(OutputTest, ExportSizesFollowThePresetsAndTheLeadingField)
{
    CPalenkoDlg& main = MakeWindowWithTemplate();
    DlgExport dlg(&main, doc(), m_prompts);
    dlg.m_nCardWidth = 1000;
    dlg.m_nCardHeight = 750;
    dlg.show();
    const auto size = [&dlg] { return QSize(dlg.m_editWidth->text().toInt(), dlg.m_editHeight->text().toInt()); };

    const struct {
        int nPreset;
        QSize expected;
    } presets[] = {{0, {1000, 750}}, {1, {750, 562}}, {2, {500, 375}}};
    for (const auto& preset : presets) {
        dlg.m_cmbPreset->setCurrentIndex(preset.nPreset);
        EXPECT_EQ(size(), preset.expected) << preset.nPreset;
        EXPECT_FALSE(dlg.m_editWidth->isEnabled());
        EXPECT_TRUE(dlg.m_btnSave->isEnabled());
    }

    dlg.m_cmbPreset->setCurrentIndex(3);
    ASSERT_TRUE(dlg.m_editWidth->isEnabled() && !dlg.m_editWidth->isReadOnly());
    Type(dlg.m_editWidth, QStringLiteral("1234"));
    EXPECT_EQ(size(), QSize(1234, 925));
    EXPECT_TRUE(m_prompts.m_vecBoxes.empty());
    // Five digits are refused with the warning; the size stays the last one accepted.
    Type(dlg.m_editWidth, QStringLiteral("12345"));
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    EXPECT_EQ(m_prompts.m_vecBoxes[0].strText, QStringLiteral("Input data is invalid!"));
    EXPECT_EQ(m_prompts.m_vecBoxes[0].strCaption, QStringLiteral("Warning"));
    EXPECT_EQ(size(), QSize(1234, 925));
    // Having left the width, the height leads and the width follows it.
    Type(dlg.m_editHeight, QStringLiteral("600"));
    EXPECT_EQ(size(), QSize(800, 600));
    dlg.m_editHeight->selectAll();
    QTest::keyClick(dlg.m_editHeight, Qt::Key_Backspace);
    EXPECT_EQ(size(), QSize(0, 0));
    EXPECT_FALSE(dlg.m_btnSave->isEnabled()) << "nothing to save at 0 pixels";
}

TEST_F(OutputTest, ExportWritesTheChosenFileOrSaysWhyNot)
{
    MakeWindowWithTemplate();
    ASSERT_TRUE(dlg().m_btnExport->isEnabled());
    const QString strFolder = tree.path(QStringLiteral("exports"));
    QDir().mkpath(strFolder);
    g_strExportPath = strFolder;
    m_prompts.m_answerDialog = [](QDialog& dialog) {
        auto& exportDlg = dynamic_cast<DlgExport&>(dialog);
        exportDlg.show();
        exportDlg.m_cmbPreset->setCurrentIndex(2);
        exportDlg.m_btnSave->click();
        return exportDlg.result();
    };

    m_prompts.m_strSaveAnswer = strFolder + QStringLiteral("/card.tif");
    dlg().OnExport();
    EXPECT_EQ(m_prompts.m_vecDialogs.back(), QStringLiteral("Export Image"));
    EXPECT_EQ(m_prompts.m_strSaveFolder, strFolder);
    EXPECT_EQ(m_prompts.m_strProposedName, QStringLiteral("Untitled"));
    EXPECT_EQ(m_prompts.m_strSuffix, QStringLiteral("jpg"));
    QImageReader written(m_prompts.m_strSaveAnswer);
    EXPECT_EQ(written.format(), "tiff");
    EXPECT_EQ(written.size(), QSize(400, 200)) << "the Small preset of the 800 x 400 card";
    EXPECT_TRUE(m_prompts.m_vecBoxes.empty());

    // A folder that does not exist: the reason is shown, nothing is written, the export folder stays.
    m_prompts.m_strSaveAnswer = tree.path(QStringLiteral("gone/card.png"));
    dlg().OnExport();
    ASSERT_EQ(m_prompts.m_vecBoxes.size(), 1u);
    EXPECT_TRUE(m_prompts.m_vecBoxes[0].strText.contains(QStringLiteral("card.png")))
        << m_prompts.m_vecBoxes[0].strText.toStdString();
    EXPECT_FALSE(QFileInfo::exists(m_prompts.m_strSaveAnswer));
    EXPECT_FALSE(QFileInfo::exists(tree.path(QStringLiteral("gone"))));
}

TEST_F(OutputTest, PdfExportAtATypedPrintWidthAsksBeforeBlurryPhotos)
{
    MakeWindowWithTemplate();
    const QString strPdf = tree.path(QStringLiteral("card.pdf"));
    // A quarter of the card wide: 180 ppi on the 800-pixel card's 67.7 mm, 40 ppi at 300 mm.
    auto pPhoto = std::make_unique<TheData>();
    pPhoto->m_strPhoto = tree.picture(QStringLiteral("small.png"), 120, 60);
    pPhoto->m_rcObject = RectF(0, 0, doc().m_szClient.width() / 4.0f, doc().m_szClient.height() / 4.0f);
    doc().AddObject(std::move(pPhoto), 0);
    m_prompts.m_strSaveAnswer = strPdf;
    // The photo list is a box of its own, Continue or Cancel; anything else the prompts' message box.
    QMessageBox::StandardButton listAnswer = QMessageBox::Cancel;
    std::vector<QString> vecListed;
    m_prompts.m_answerDialog = [&](QDialog& dialog) {
        auto& box = dynamic_cast<QMessageBox&>(dialog);
        EXPECT_EQ(box.button(QMessageBox::Ok)->text(), QStringLiteral("Continue"));
        vecListed.push_back(box.text());
        return int(listAnswer);
    };
    const struct {
        QString strWidth;
        QMessageBox::StandardButton answer; // to the photo list
        const char* pszAsked; // what the one box or list says
        bool bWritten;
        const char* pszShown; // the print size the dialog opens with
    } cases[] = {
        {QStringLiteral("0"), QMessageBox::NoButton, "more than 0 mm", false, "67.7 x 33.9 mm, 300 ppi"},
        {QStringLiteral("2500"), QMessageBox::NoButton, "2 metres", false, "67.7 x 33.9 mm, 300 ppi"},
        {QStringLiteral("300"), QMessageBox::Cancel, "small.png: 40 ppi", false, "67.7 x 33.9 mm, 300 ppi"},
        // The width typed last is the card's now.
        {QStringLiteral("300"), QMessageBox::Ok, "small.png: 40 ppi", true, "300.0 x 150.0 mm, 68 ppi"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strWidth.toStdString());
        DlgExport exportDlg(&dlg(), doc(), m_prompts);
        exportDlg.m_nCardWidth = 800;
        exportDlg.m_nCardHeight = 400;
        exportDlg.show();
        EXPECT_EQ(exportDlg.m_lblPrintSize->text(), QLatin1String(c.pszShown));
        Type(exportDlg.m_editPrintWidth, c.strWidth);
        exportDlg.m_chkBleed->setChecked(true);
        m_prompts.m_vecBoxes.clear();
        vecListed.clear();
        listAnswer = c.answer;
        exportDlg.m_btnSave->click();
        const bool bListed = c.answer != QMessageBox::NoButton;
        ASSERT_EQ(vecListed.size() + m_prompts.m_vecBoxes.size(), 1u);
        const QString strAsked = bListed ? vecListed[0] : m_prompts.m_vecBoxes[0].strText;
        EXPECT_TRUE(strAsked.contains(QLatin1String(c.pszAsked))) << strAsked.toStdString();
        EXPECT_EQ(exportDlg.isVisible(), !c.bWritten) << "a refusal leaves the dialog open";
        EXPECT_EQ(QFileInfo::exists(strPdf), c.bWritten);
    }
    EXPECT_EQ(doc().m_dPrintWidthMm, 300);

    if (QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        GTEST_SKIP() << "pdfinfo is missing (poppler-utils)";
    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {strPdf});
    ASSERT_TRUE(info.waitForFinished());
    const auto size = QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts"))
                          .match(QString::fromUtf8(info.readAllStandardOutput()));
    ASSERT_TRUE(size.hasMatch());
    // 300 x 150 mm and 3 mm of bleed on every side.
    EXPECT_NEAR(size.captured(1).toDouble(), 306 / 25.4 * 72, 0.6);
    EXPECT_NEAR(size.captured(2).toDouble(), 156 / 25.4 * 72, 0.6);
}

TEST_F(OutputTest, PrintingAsksBeforePhotosBlurryOnThePaper)
{
    MakeWindowWithTemplate();
    const QString strPdf = tree.path(QStringLiteral("print.pdf"));
    // Fitted across A4 between 10 mm margins the card is 190 mm wide and the photo 47.5 mm: 64 ppi.
    auto pPhoto = std::make_unique<TheData>();
    pPhoto->m_strPhoto = tree.picture(QStringLiteral("small.png"), 120, 60);
    pPhoto->m_rcObject = RectF(0, 0, doc().m_szClient.width() / 4.0f, doc().m_szClient.height() / 4.0f);
    doc().AddObject(std::move(pPhoto), 0);
    for (const QMessageBox::StandardButton answer : {QMessageBox::Cancel, QMessageBox::Ok}) {
        std::vector<QString> vecListed;
        m_prompts.m_answerDialog = [&](QDialog& dialog) {
            if (auto* pBox = qobject_cast<QMessageBox*>(&dialog)) {
                vecListed.push_back(pBox->text());
                return int(answer);
            }
            if (auto* pPrintDialog = qobject_cast<QPrintDialog*>(&dialog)) {
                pPrintDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
                pPrintDialog->printer()->setOutputFileName(strPdf);
                return int(QDialog::Accepted);
            }
            auto& print = dynamic_cast<DlgPrint&>(dialog);
            EXPECT_NEAR(print.CardSizeOnPaperInches().width(), 190 / 25.4, 0.01);
            print.OnPrint();
            return int(QDialog::Rejected);
        };
        dlg().OnPrint();
        ASSERT_EQ(vecListed.size(), 1u);
        EXPECT_TRUE(vecListed[0].contains(QLatin1String("small.png: 64 ppi"))) << vecListed[0].toStdString();
        EXPECT_EQ(QFileInfo::exists(strPdf), answer == QMessageBox::Ok);
    }
}

TEST_F(OutputTest, PrintPreviewPlacesThePageAndPrintsCentredCopiesToPdf)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) << "poppler-utils is missing";
    MakeWindowWithTemplate();
    const QString strPdf = tree.path(QStringLiteral("card.pdf"));
    DlgPrint* pPrint = nullptr;
    m_prompts.m_answerDialog = [&](QDialog& dialog) {
        if (auto* pPageDialog = qobject_cast<QPageSetupDialog*>(&dialog)) {
            pPageDialog->printer()->setPageOrientation(QPageLayout::Landscape);
            pPageDialog->printer()->setPageMargins(QMarginsF(20, 15, 20, 15), QPageLayout::Millimeter);
            return int(QDialog::Accepted);
        }
        if (auto* pPrintDialog = qobject_cast<QPrintDialog*>(&dialog)) {
            pPrintDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            pPrintDialog->printer()->setOutputFileName(strPdf);
            pPrintDialog->printer()->setCopyCount(3);
            return int(QDialog::Accepted);
        }
        pPrint = dynamic_cast<DlgPrint*>(&dialog);
        pPrint->ComputePreview();
        // A4 with 1000 margins on every side: the page is 410 x 580 at (105, 20), printing starts 19
        // pixels in from its left.
        EXPECT_EQ(pPrint->m_rcPage, QRect(105, 20, 410, 580));
        EXPECT_EQ(pPrint->Margins(105, 20, 515, 600).left(), 124);
        // The 800 x 400 snapshot fills the printable width and is centred between the margins.
        EXPECT_EQ(pPrint->m_rcCard.left(), 124);
        EXPECT_EQ(pPrint->m_rcCard.width(), 371);
        EXPECT_NEAR(pPrint->m_rcCard.center().y(), pPrint->m_rcPage.center().y(), 1);
        pPrint->OnPrint();
        // Landscape paper with other margins from page setup: the preview follows.
        pPrint->OnPageSet();
        EXPECT_EQ(pPrint->m_nOrientation, 2);
        EXPECT_EQ(pPrint->m_szPaper, QSize(29700, 21000));
        EXPECT_EQ(pPrint->m_rcMargin, QMargins(2000, 1500, 2000, 1500));
        pPrint->ComputePreview();
        EXPECT_EQ(pPrint->m_rcPage, QRect(20, 105, 580, 410));
        return int(QDialog::Rejected);
    };
    dlg().OnPrint();
    ASSERT_TRUE(pPrint);
    EXPECT_EQ(canvas().m_pSnapshot->size(), QSize(800, 400)) << "the snapshot is taken at the card size";

    QProcess info;
    info.start(QStringLiteral("pdfinfo"), {strPdf});
    ASSERT_TRUE(info.waitForFinished());
    const QString strInfo = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(strInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\n")))) << strInfo.toStdString();
    EXPECT_TRUE(strInfo.contains(QRegularExpression(QStringLiteral("Title:\\s+Palenko\\n")))) << strInfo.toStdString();
    for (int nPage = 1; nPage <= 3; ++nPage) {
        QSize szPage;
        const QRect rcInk = InkBox(strPdf, nPage, &szPage);
        SCOPED_TRACE(nPage);
        // At 50 dpi the 10 mm side margins are about 20 pixels; the card is centred on the paper.
        EXPECT_NEAR(rcInk.left(), 20, 2);
        EXPECT_NEAR(rcInk.left(), szPage.width() - 1 - rcInk.right(), 2);
        EXPECT_NEAR(rcInk.top(), szPage.height() - 1 - rcInk.bottom(), 2);
        EXPECT_NEAR(double(rcInk.width()) / rcInk.height(), 2.0, 0.05);
    }
}

TEST_F(OutputTest, FullPreviewFitsClipsReusesItsPictureAndCloses)
{
    const QString strBackground = tree.picture(QStringLiteral("bgimage/tall.png"), 1000, 1500);
    CardDocument card;
    card.m_szClient = QSize(200, 300);
    card.m_strBackground = strBackground;
    auto pElement = std::make_unique<TheData>();
    pElement->m_nType = OBJ_ELEMENT;
    pElement->m_strElement = tree.picture(QStringLiteral("clipart/bar.png"), 100, 20);
    // Sticks out of the card on the left.
    pElement->m_rcObject = {-50, 140, 100, 20};
    card.AddObject(std::move(pElement), 0);

    CFullDlg preview(card, QSize(1000, 1500));
    EXPECT_EQ(preview.CardRect(QSize(1920, 1080)), QRect(600, 0, 720, 1080));
    const QImage picture = preview.RenderPreview(QSize(400, 300), 1.0);
    ASSERT_EQ(picture.size(), QSize(400, 300));
    // The 200 x 300 card fills the height at x 100; the bar is cut at the card's edge.
    EXPECT_EQ(picture.pixel(50, 150), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(99, 150), qRgb(0, 0, 0));
    EXPECT_EQ(picture.pixel(120, 150), qRgb(40, 120, 200));
    EXPECT_EQ(picture.pixel(120, 50), qRgb(40, 120, 200)) << "the background";
    // On a finer screen the card is drawn in its device pixels.
    const QImage fine = preview.RenderPreview(QSize(401, 300), 1.25);
    EXPECT_EQ(fine.size(), QSize(502, 375));
    EXPECT_EQ(fine.devicePixelRatio(), 1.25);

    preview.resize(400, 300);
    preview.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&preview));
    preview.repaint();
    preview.repaint();
    EXPECT_EQ(preview.RenderCount(), 1) << "a repaint that only exposes draws the kept picture";
    preview.Invalidate();
    preview.repaint();
    EXPECT_EQ(preview.RenderCount(), 2);

    QTest::mouseDClick(&preview, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    EXPECT_FALSE(preview.isVisible()) << "a double-click on the black bar closes";
    preview.show();
    QTest::keyClick(&preview, Qt::Key_Escape);
    EXPECT_FALSE(preview.isVisible()) << "Escape closes";
}

TEST_F(OutputTest, PreviewCommandShowsOneWindowOnTheMainWindowsScreen)
{
    CPalenkoDlg& main = MakeWindowWithTemplate();
    for (const CButtonX* pButton : {main.m_btnPreview, main.m_btnPrint, main.m_btnExport})
        EXPECT_TRUE(pButton->isEnabled()) << pButton->text().toStdString();
    main.OnPreview();
    ASSERT_TRUE(main.m_pFullDlg);
    const CFullDlg* pFirst = main.m_pFullDlg.get();
    EXPECT_TRUE(pFirst->isVisible());
    EXPECT_EQ(pFirst->geometry(), main.screen()->geometry());
    main.OnPreview();
    EXPECT_EQ(main.findChildren<CFullDlg*>().size(), 1) << "the earlier preview is gone";
}

TEST_F(OutputTest, EveryDialogStandsOverTheMainWindow)
{
    // A transient parent is what lets window managers and Wayland compositors put a dialog over its
    // owner, since no window places itself there.
    MakeWindowWithTemplate();
    dlg().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg()));
    std::vector<QString> vecChecked;
    m_prompts.m_answerDialog = [&](QDialog& dialog) {
        dialog.winId();
        EXPECT_EQ(dialog.windowHandle()->transientParent(), dlg().windowHandle()) << dialog.windowTitle();
        vecChecked.push_back(dialog.windowTitle());
        return int(QDialog::Rejected);
    };
    dlg().OnExport();
    dlg().OnPrint();
    dlg().OnHelpCommand(ID_HELP_ABOUT);
    EXPECT_EQ(vecChecked.size(), 3u);
}
