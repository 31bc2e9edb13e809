#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>

#include "dialogs/dlgexport.h"
#include "dialogs/dlgprint.h"
#include "dialogs/mergedlg.h"
#include "render/printlayout.h"
#include "tests/shell/mainwindowfixture.h"
#include "tests/testsupport.h"

namespace {

// The main window's 800 x 400 card with a greeting that names {Name}, and lists to merge it with.
class MergeDialogTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        MakeWindowWithTemplate();
        auto pText = std::make_unique<TheData>();
        pText->m_nType = OBJ_TEXT;
        pText->m_pText = std::make_unique<CTextPanel>();
        pText->m_pText->m_strText = QStringLiteral("Dear {Name}");
        pText->m_pText->m_strFont = QStringLiteral("DejaVu Sans");
        pText->m_pText->m_nSize = 40;
        pText->m_rcObject = {100, 150, 10, 10};
        pText->RefitText();
        doc().AddObject(std::move(pText), 0);
        m_nObjects = doc().m_vecObjects.size();
        m_strThree = tree.bytes(QStringLiteral("three.csv"), "Name,City\nAnna,Oakford\nBo,Elm\n../Cy,Ash\n");
        m_strSix = tree.bytes(QStringLiteral("six.csv"), "Name;City\nA;a\nB;b\nC;c\nD;d\nE;e\nF;f\n");
        m_strFolder = tree.path(QStringLiteral("cards"));
        QDir().mkpath(m_strFolder);
    }

    // The card being edited is the same after every merge.
    void ExpectCardUnchanged()
    {
        ASSERT_EQ(doc().m_vecObjects.size(), m_nObjects);
        EXPECT_EQ(doc().m_vecObjects.back()->m_pText->m_strText, QStringLiteral("Dear {Name}"));
    }

    QStringList Written() const { return QDir(m_strFolder).entryList(QDir::Files, QDir::Name); }

    size_t m_nObjects = 0;
    QString m_strThree;
    QString m_strSix;
    QString m_strFolder;
};

} // namespace

TEST_F(MergeDialogTest, ExportStepsThroughRowsWritesEachCardAndACancelKeepsThoseWritten)
{
    m_prompts.m_answerDialog = [&](QDialog& dialog) {
        if (auto* pExport = qobject_cast<DlgExport*>(&dialog)) {
            pExport->show();
            pExport->m_cmbPreset->setCurrentIndex(2);
            pExport->m_btnMerge->click();
            return pExport->result();
        }
        auto& merge = dynamic_cast<DlgMerge&>(dialog);
        EXPECT_FALSE(merge.m_btnRun->isEnabled());
        m_prompts.m_strOpenAnswer = m_strThree;
        merge.m_btnList->click();
        EXPECT_EQ(merge.m_labelRow->text(), QStringLiteral("Card 1 of 3"));
        EXPECT_FALSE(merge.m_btnPrevious->isEnabled());
        const QImage first = merge.m_preview;
        merge.m_btnNext->click();
        merge.m_btnNext->click();
        EXPECT_EQ(merge.m_labelRow->text(), QStringLiteral("Card 3 of 3"));
        EXPECT_FALSE(merge.m_btnNext->isEnabled());
        merge.m_btnPrevious->click();
        merge.m_btnPrevious->click();
        EXPECT_TRUE(merge.m_preview == first);
        merge.m_btnNext->click();
        EXPECT_FALSE(merge.m_preview == first) << "another row, another name";

        // Three cards at the export dialog's Small size, named by the default pattern.
        EXPECT_EQ(merge.m_editPattern->text(), QStringLiteral("{Name}.jpg"));
        m_prompts.m_strFolderAnswer = m_strFolder;
        merge.m_btnFolder->click();
        merge.m_btnRun->click();
        EXPECT_EQ(Written(), (QStringList {"Anna.jpg", "Bo.jpg", "_Cy.jpg"}));
        EXPECT_EQ(QImageReader(m_strFolder + QStringLiteral("/Bo.jpg")).size(), QSize(400, 200));
        EXPECT_TRUE(m_prompts.m_vecBoxes.back().strText.startsWith(QStringLiteral("3 cards were written")));

        // Again: asked once for the whole run, and "No" leaves every file as it was.
        const QDateTime written = QFileInfo(m_strFolder + QStringLiteral("/Anna.jpg")).lastModified();
        m_prompts.m_answers = {QMessageBox::No};
        merge.m_btnRun->click();
        EXPECT_TRUE(m_prompts.m_vecBoxes.back().strText.contains(QStringLiteral("3 of the 3 files are already there")));
        EXPECT_EQ(QFileInfo(m_strFolder + QStringLiteral("/Anna.jpg")).lastModified(), written);

        // Six rows, cancelled after the second card: those two stay, and the message says so.
        m_prompts.m_strOpenAnswer = m_strSix;
        merge.m_btnList->click();
        EXPECT_EQ(merge.m_labelRow->text(), QStringLiteral("Card 1 of 6"));
        merge.m_editPattern->setText(QStringLiteral("{City}.png"));
        QObject::connect(&merge, &DlgMerge::cardDone, &merge, [&merge](qint64 nDone) {
            if (nDone == 2)
                merge.m_pProgress->cancel();
        });
        merge.m_btnRun->click();
        EXPECT_EQ(Written(), (QStringList {"Anna.jpg", "Bo.jpg", "_Cy.jpg", "a.png", "b.png"}));
        EXPECT_EQ(m_prompts.m_vecBoxes.back().strText.left(31), QStringLiteral("Cancelled: 2 of 6 cards were wr"));
        return int(QDialog::Accepted);
    };
    dlg().OnExport();
    EXPECT_EQ(m_prompts.m_vecDialogs, (std::vector<QString> {"Export Image", "Merge with list"}));
    ExpectCardUnchanged();
}

// Each row prints once: on a sheet of its own when the layout holds one card, side by side when it
// holds several.
TEST_F(MergeDialogTest, PrintPrintsEachRowOnceInTheLayoutAndRefusesABadList)
{
    const QString strBad = tree.bytes(QStringLiteral("bad.csv"), "Town\nOakford\n");
    for (const auto& [nLayout, nPages] : {std::pair {PrintLayout::FitToPage, 3}, {PrintLayout::TwoPerSheet, 2}}) {
        const QString strPdf = tree.path(QStringLiteral("merged%1.pdf").arg(nPages));
        m_prompts.m_answerDialog = [&](QDialog& dialog) {
            if (auto* pPrintDialog = qobject_cast<QPrintDialog*>(&dialog)) {
                pPrintDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
                pPrintDialog->printer()->setOutputFileName(strPdf);
                pPrintDialog->printer()->setCopyCount(2);
                return int(QDialog::Accepted);
            }
            if (auto* pPrint = qobject_cast<DlgPrint*>(&dialog)) {
                pPrint->m_cmbLayout->setCurrentIndex(int(nLayout));
                pPrint->OnMerge();
                return int(QDialog::Rejected);
            }
            auto& merge = dynamic_cast<DlgMerge&>(dialog);
            EXPECT_EQ(merge.m_editPattern, nullptr);
            m_prompts.m_strOpenAnswer = strBad;
            merge.m_btnList->click();
            EXPECT_TRUE(m_prompts.m_vecBoxes.back().strText.contains(QStringLiteral("no column for {Name}")));
            EXPECT_FALSE(merge.m_btnRun->isEnabled());
            m_prompts.m_strOpenAnswer = m_strThree;
            merge.m_btnList->click();
            merge.m_btnRun->click();
            EXPECT_EQ(m_prompts.m_vecBoxes.back().strText, QStringLiteral("3 cards were printed."));
            return int(QDialog::Accepted);
        };
        dlg().OnPrint();
        QProcess info;
        info.start(QStringLiteral("pdfinfo"), {strPdf});
        ASSERT_TRUE(info.waitForFinished());
        const QString strInfo = QString::fromUtf8(info.readAllStandardOutput());
        EXPECT_TRUE(strInfo.contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\n").arg(nPages))))
            << strInfo.toStdString();
    }
    ExpectCardUnchanged();
}
