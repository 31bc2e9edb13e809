#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "dialogs/dlgprint.h"
#include "document/carddocument.h"
#include "session/printchoices.h"
#include "tests/shell/mainwindowfixture.h"

namespace {

// Prints a card whose top half is red and bottom half blue, so that where it lands and which way up
// can be read off the printed page.
class PrintLayoutsTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        QImage background(800, 400, QImage::Format_RGB32);
        background.fill(Qt::blue);
        QPainter(&background).fillRect(0, 0, 800, 200, Qt::red);
        m_doc.m_strBackground = tree.path(QStringLiteral("halves.png"));
        ASSERT_TRUE(background.save(m_doc.m_strBackground));
        m_doc.m_szClient = QSize(400, 200);
        m_snapshot = background;
        AnswerWithPdf();
    }

    // Answers the print dialog with the PDF file m_strPdf.
    void AnswerWithPdf()
    {
        m_prompts.m_answerDialog = [this](QDialog& dialog) {
            auto* pPrintDialog = qobject_cast<QPrintDialog*>(&dialog);
            if (!pPrintDialog)
                return int(QDialog::Rejected);
            pPrintDialog->printer()->setOutputFormat(QPrinter::PdfFormat);
            pPrintDialog->printer()->setOutputFileName(m_strPdf);
            return int(QDialog::Accepted);
        };
    }

    // The page rendered from the PDF at 20 dpi.
    static QImage Page(const QString& strPdf)
    {
        const QString strPrefix = strPdf + QStringLiteral(".page");
        QProcess::execute(QStringLiteral("pdftoppm"),
            {QStringLiteral("-r"), QStringLiteral("20"), QStringLiteral("-singlefile"), QStringLiteral("-png"), strPdf,
                strPrefix});
        return QImage(strPrefix + QStringLiteral(".png"));
    }

    struct Ink {
        QRect rcRed;
        QRect rcBlue;
        int nPixels = 0;
    };
    // The red and the blue pixels inside a part of the page given in fractions of it.
    static Ink Halves(const QImage& page, const QRectF& rcPart)
    {
        Ink ink;
        const QRect rc(int(rcPart.left() * page.width()), int(rcPart.top() * page.height()),
            int(rcPart.width() * page.width()), int(rcPart.height() * page.height()));
        for (int y = rc.top(); y <= rc.bottom(); ++y) {
            for (int x = rc.left(); x <= rc.right(); ++x) {
                const QRgb rgb = page.pixel(x, y);
                const bool bRed = qRed(rgb) > 180 && qGreen(rgb) < 80 && qBlue(rgb) < 80;
                const bool bBlue = qBlue(rgb) > 180 && qRed(rgb) < 80 && qGreen(rgb) < 80;
                if (bRed)
                    ink.rcRed |= QRect(x, y, 1, 1);
                if (bBlue)
                    ink.rcBlue |= QRect(x, y, 1, 1);
                ink.nPixels += bRed || bBlue ? 1 : 0;
            }
        }
        return ink;
    }

    CardDocument m_doc;
    QImage m_snapshot;
    QString m_strPdf;
};

TEST_F(PrintLayoutsTest, EachLayoutPrintsTheCardUprightInItsPlace)
{
    ASSERT_FALSE(QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) << "poppler-utils is missing";
    // The 800 x 400 card on A4 with 10 mm margins: a part of the page within each card (where cards
    // touch, their middles), in fractions of the page.
    const auto row = [](int i) { return QRectF(0, (10 + 69.25 * (i + 0.1)) / 297, 1, 0.8 * 69.25 / 297); };
    const struct {
        PrintLayout nLayout;
        bool bLandscape;
        std::vector<QRectF> vecCards;
        double dCardWidthMm;
        double dPageWidthMm;
    } cases[] = {
        {PrintLayout::FitToPage, false, {{0, 0, 1, 1}}, 190, 210},
        // 800 pixels at 300 per inch are 67.7 mm.
        {PrintLayout::ActualSize, false, {{0, 0, 1, 1}}, 800 / 300.0 * 25.4, 210},
        {PrintLayout::TwoPerSheet, false, {{0, 0.2, 1, 0.25}, {0, 0.55, 1, 0.25}}, 190, 210},
        // As large in a column of four on portrait paper as two by two on landscape: portrait wins.
        {PrintLayout::FourPerSheet, false, {row(0), row(1), row(2), row(3)}, 138.5, 210},
        {PrintLayout::HalfFold, false, {{0, 0.5, 1, 0.5}}, 190, 210},
        {PrintLayout::QuarterFold, true, {{0.5, 0.5, 0.5, 0.5}}, 128.5, 297},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(PrintLayoutKey(c.nLayout).toStdString());
        m_strPdf = tree.path(PrintLayoutKey(c.nLayout) + QStringLiteral(".pdf"));
        DlgPrint dlg(nullptr, m_doc, &m_snapshot, m_prompts);
        dlg.m_cmbLayout->setCurrentIndex(int(c.nLayout));
        dlg.OnPrint();
        const QImage page = Page(m_strPdf);
        ASSERT_FALSE(page.isNull());
        EXPECT_EQ(page.width() > page.height(), c.bLandscape);
        const double dCardWidth = c.dCardWidthMm / c.dPageWidthMm * page.width();
        for (const QRectF& rcPart : c.vecCards) {
            const Ink ink = Halves(page, rcPart);
            ASSERT_FALSE(ink.rcRed.isEmpty() || ink.rcBlue.isEmpty()) << rcPart.x() << "," << rcPart.y();
            // Upright: red over blue, in one column, as wide as the layout makes the card.
            EXPECT_LE(ink.rcRed.bottom(), ink.rcBlue.top());
            EXPECT_NEAR(ink.rcRed.center().x(), ink.rcBlue.center().x(), 1);
            EXPECT_NEAR(ink.rcRed.width(), dCardWidth, 2);
        }
        // As many cards as there are places, and nothing of them anywhere else.
        const double dCardsArea = double(c.vecCards.size()) * dCardWidth * dCardWidth / 2;
        EXPECT_NEAR(Halves(page, QRectF(0, 0, 1, 1)).nPixels, dCardsArea, dCardsArea * 0.08);
    }
}

TEST_F(PrintLayoutsTest, ChoicesFollowTheLayoutAreKeptAndBadWidthsOrLayoutsPrintNothing)
{
    {
        DlgPrint dlg(nullptr, m_doc, &m_snapshot, m_prompts);
        EXPECT_EQ(dlg.m_nOrientation, 1) << "fitted cards keep the portrait paper they always had";
        EXPECT_TRUE(dlg.m_editPrintWidth->isHidden());
        // The quarter fold prints this landscape card largest on landscape paper; the notes say how to fold.
        dlg.m_cmbLayout->setCurrentIndex(int(PrintLayout::QuarterFold));
        EXPECT_EQ(dlg.m_nOrientation, 2);
        EXPECT_EQ(dlg.m_szPaper, QSize(29700, 21000));
        EXPECT_TRUE(dlg.m_lblNotes->text().contains(QLatin1String("bottom right quarter is the front")));
        // Page setup's orientation wins over the layout's.
        m_prompts.m_answerDialog = [](QDialog& dialog) {
            auto* pPageDialog = qobject_cast<QPageSetupDialog*>(&dialog);
            if (!pPageDialog)
                return int(QDialog::Rejected);
            pPageDialog->printer()->setPageOrientation(QPageLayout::Portrait);
            pPageDialog->printer()->setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
            return int(QDialog::Accepted);
        };
        dlg.OnPageSet();
        EXPECT_EQ(dlg.m_nOrientation, 1);

        // Typed widths, in either unit; refused ones leave the width as it was.
        dlg.m_cmbLayout->setCurrentIndex(int(PrintLayout::ActualSize));
        EXPECT_FALSE(dlg.m_editPrintWidth->isHidden());
        const struct {
            int nUnit;
            const char* pszTyped;
            double dExpectedMm;
            bool bRefused;
        } widths[] = {
            {0, "150", 150, false},
            {0, "-5", 150, true},
            {0, "abc", 150, true},
            {0, "2500", 150, true},
            {1, "2", 50.8, false},
            {1, "", 0, false},
            {0, "0", 0, false},
        };
        for (const auto& w : widths) {
            const size_t nBoxes = m_prompts.m_vecBoxes.size();
            dlg.m_cmbWidthUnit->setCurrentIndex(w.nUnit);
            dlg.m_editPrintWidth->setText(QString::fromLatin1(w.pszTyped));
            dlg.OnPrintWidthEdited();
            EXPECT_NEAR(dlg.m_dPrintWidthMm, w.dExpectedMm, 1e-9) << w.pszTyped;
            EXPECT_EQ(m_prompts.m_vecBoxes.size(), nBoxes + (w.bRefused ? 1 : 0)) << w.pszTyped;
        }
        EXPECT_TRUE(m_prompts.m_vecBoxes.back().strText.contains(QLatin1String("2 metres")));

        // 250 mm fits only across landscape paper: the paper turns, until page setup turns it back. Then
        // the card is refused with the reason, and nothing is written.
        dlg.m_cmbWidthUnit->setCurrentIndex(0);
        dlg.m_editPrintWidth->setText(QStringLiteral("250"));
        dlg.OnPrintWidthEdited();
        EXPECT_EQ(dlg.m_nOrientation, 2);
        EXPECT_TRUE(dlg.m_lblNotes->text().startsWith(QLatin1String("The card prints 250.0 x 125.0 mm")));
        dlg.OnPageSet();
        EXPECT_EQ(dlg.m_nOrientation, 1);
        EXPECT_TRUE(dlg.m_lblNotes->text().contains(QLatin1String("does not fit inside the margins")));
        m_strPdf = tree.path(QStringLiteral("refused.pdf"));
        AnswerWithPdf();
        dlg.OnPrint();
        EXPECT_TRUE(m_prompts.m_vecBoxes.back().strText.contains(QLatin1String("250 x 125 mm")));
        EXPECT_FALSE(QFileInfo::exists(m_strPdf));
    }
    // The next dialog starts from the choices of this one, and so does the next start of the program.
    EXPECT_EQ(g_printChoices.nLayout, PrintLayout::ActualSize);
    EXPECT_TRUE(g_printChoices.bOrientationChosen);
    EXPECT_EQ(g_printChoices.marginsMm, QMarginsF(5, 5, 5, 5));
    DlgPrint again(nullptr, m_doc, &m_snapshot, m_prompts);
    EXPECT_EQ(again.m_cmbLayout->currentIndex(), int(PrintLayout::ActualSize));
    EXPECT_EQ(again.m_rcMargin, QMargins(500, 500, 500, 500));
    EXPECT_EQ(again.m_dPrintWidthMm, 0) << "the width is the card's, not the dialog's";
}

// The width is saved with the card: a new one is a change to save, the same one is none.
TEST_F(PrintLayoutsTest, ThePrintCommandKeepsTheTypedWidthInTheCard)
{
    MakeWindowWithTemplate();
    for (const bool bChanged : {true, false}) {
        canvas().m_bModified = 0;
        m_prompts.m_answerDialog = [](QDialog& dialog) {
            if (auto* pPrint = dynamic_cast<DlgPrint*>(&dialog)) {
                pPrint->m_cmbLayout->setCurrentIndex(int(PrintLayout::ActualSize));
                pPrint->m_editPrintWidth->setText(QStringLiteral("120"));
                pPrint->OnPrintWidthEdited();
            }
            return int(QDialog::Rejected);
        };
        dlg().OnPrint();
        EXPECT_EQ(doc().m_dPrintWidthMm, 120);
        EXPECT_EQ(canvas().m_bModified, bChanged ? 1 : 0);
    }
}

} // namespace
