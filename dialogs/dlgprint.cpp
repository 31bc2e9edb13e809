#include "dialogs/dlgprint.h"

#include <QGroupBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "dialogs/lowreswarning.h"
#include "dialogs/mergedlg.h"
#include "document/carddocument.h"
#include "platform/fitrect.h"
#include "platform/quality.h"
#include "render/renderer.h"
#include "widgets/shellprompts.h"

namespace {

constexpr QRgb kGround = 0xFFF0F0F0;
// A card is printed to a PDF file at this resolution: sharp on paper, and quick to write.
constexpr int kPdfResolution = 300;

QRect Placed(const FitResult& fit, const QRect& rcBox)
{
    return QRect(rcBox.left() + fit.left, rcBox.top() + fit.top, fit.width(), fit.height());
}

} // namespace

DlgPrint::DlgPrint(QWidget* pParent, const CardDocument& doc, const QImage* pSnapshot, CShellPrompts& prompts)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_nPaperSize(QPageSize::A4)
    , m_doc(doc)
    , m_pSnapshot(pSnapshot)
    , m_prompts(prompts)
{
    setWindowTitle(QStringLiteral("Print"));
    setFixedSize(710, 625);
    // Every pixel comes from the dialog's own drawing.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_pPrinter->setDocName(QStringLiteral("Palenko"));
    m_pPrinter->setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    m_pPrintDlg = std::make_unique<QPrintDialog>(m_pPrinter.get(), this);
    m_pPrintDlg->setOption(QAbstractPrintDialog::PrintToFile, true);
    m_pPrintDlg->setOption(QAbstractPrintDialog::PrintPageRange, false);
    m_pPrintDlg->setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    m_pPageDlg = std::make_unique<QPageSetupDialog>(m_pPrinter.get(), this);

    m_pPreviewFrame = new QGroupBox(QStringLiteral("Print Preview"), this);
    m_pPreviewFrame->setGeometry(5, 5, 610, 610);
    m_btnPrint = new QPushButton(QStringLiteral("Print"), this);
    m_btnPageSet = new QPushButton(QStringLiteral("PageSet"), this);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnMerge = new QPushButton(QStringLiteral("Merge..."), this);
    m_btnMerge->setToolTip(QStringLiteral("Merge with list: print one card for each row of a list"));
    int y = 10;
    for (QPushButton* pButton : {m_btnPrint, m_btnPageSet, m_btnCancel, m_btnMerge}) {
        pButton->setGeometry(625, y, 75, 24);
        y += 28;
    }
    m_btnPrint->setDefault(true);
    connect(m_btnPrint, &QPushButton::clicked, this, &DlgPrint::OnPrint);
    connect(m_btnMerge, &QPushButton::clicked, this, &DlgPrint::OnMerge);
    connect(m_btnPageSet, &QPushButton::clicked, this, &DlgPrint::OnPageSet);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

DlgPrint::~DlgPrint() = default;

QRect DlgPrint::Margins(int L, int T, int R, int B) const
{
    const double dWidth = R - L;
    const double dHeight = B - T;
    const int nLeft = int(L + double(m_rcMargin.left()) / m_szPaper.width() * dWidth);
    const int nTop = int(T + double(m_rcMargin.top()) / m_szPaper.height() * dHeight);
    const int nRight = int(R - double(m_rcMargin.right()) / m_szPaper.width() * dWidth);
    const int nBottom = int(B - double(m_rcMargin.bottom()) / m_szPaper.height() * dHeight);
    return QRect(nLeft, nTop, nRight - nLeft, nBottom - nTop);
}

QRect DlgPrint::PrintableOfPage() const
{
    return Margins(
        m_rcPage.left(), m_rcPage.top(), m_rcPage.left() + m_rcPage.width(), m_rcPage.top() + m_rcPage.height());
}

void DlgPrint::ComputePreview()
{
    m_rcPage = Placed(FitRect(m_szPaper.width(), m_szPaper.height(), m_rcPreviewBox.width(), m_rcPreviewBox.height()),
        m_rcPreviewBox);
    const QRect rcPrintable = Margins(
        m_rcPage.left(), m_rcPage.top(), m_rcPage.left() + m_rcPage.width(), m_rcPage.top() + m_rcPage.height());
    m_rcCard = QRect();
    if (m_pSnapshot && !m_pSnapshot->isNull())
        m_rcCard
            = Placed(FitRect(m_pSnapshot->width(), m_pSnapshot->height(), rcPrintable.width(), rcPrintable.height()),
                rcPrintable);
}

QImage DlgPrint::RenderPreview(qreal dDevicePixelRatio)
{
    ComputePreview();
    QImage buffer = NewBackBuffer(size(), dDevicePixelRatio);
    if (buffer.isNull())
        return buffer;
    buffer.fill(QColor::fromRgba(kGround));
    QPainter painter(&buffer);
    ApplyQuality(painter);
    painter.fillRect(m_rcPage, Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(m_rcPage).adjusted(-0.5, -0.5, 0.5, 0.5));
    if (!m_rcCard.isEmpty())
        painter.drawImage(m_rcCard, *m_pSnapshot);
    const QRect rcPrintable = Margins(
        m_rcPage.left(), m_rcPage.top(), m_rcPage.left() + m_rcPage.width(), m_rcPage.top() + m_rcPage.height());
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(QRectF(rcPrintable).adjusted(0.5, 0.5, -0.5, -0.5));
    return buffer;
}

void DlgPrint::OnPrint()
{
    int nCopies = 0;
    if (!AskPrinter(&nCopies) || !ConfirmSharpPhotos(this, m_prompts, m_doc, CardSizeOnPaperInches()))
        return;
    PrintPages([&]() -> const CardDocument* { return nCopies-- > 0 ? &m_doc : nullptr; });
    update();
}

bool DlgPrint::AskPrinter(int* pnCopies)
{
    if (m_prompts.RunModal(*m_pPrintDlg) != QDialog::Accepted)
        return false;
    // Copies are pages of their own here, so that every printer and a PDF file get the same.
    *pnCopies = m_pPrinter->copyCount();
    m_pPrinter->setCopyCount(1);
    if (m_pPrinter->outputFormat() == QPrinter::PdfFormat)
        m_pPrinter->setResolution(kPdfResolution);
    return true;
}

void DlgPrint::OnMerge()
{
    // Each row once, one card a page, whatever the copies asked for.
    DlgMerge merge(this, m_doc, m_prompts, QSize(), [this](const std::function<const CardDocument*()>& next) {
        int nCopies = 0;
        // Every row shows the same photos.
        if (!AskPrinter(&nCopies) || !ConfirmSharpPhotos(this, m_prompts, m_doc, CardSizeOnPaperInches()))
            return false;
        PrintPages(next);
        return true;
    });
    m_prompts.RunModal(merge);
    update();
}

QSizeF DlgPrint::CardSizeOnPaperInches() const
{
    // Placed as PrintPages places it, in thousandths of an inch.
    constexpr double kUnits = 1000;
    const QSizeF szPaper = m_pPrinter->pageLayout().fullRect(QPageLayout::Inch).size() * kUnits;
    const QRect rcPrintable = Margins(0, 0, qRound(szPaper.width()), qRound(szPaper.height()));
    const QSize szClient = m_doc.m_szClient;
    const FitResult fit = FitRect(szClient.width(), szClient.height(), rcPrintable.width(), rcPrintable.height());
    return QSizeF(fit.width(), fit.height()) / kUnits;
}

void DlgPrint::OnPageSet()
{
    if (m_prompts.RunModal(*m_pPageDlg) == QDialog::Accepted) {
        const QPageLayout layout = m_pPrinter->pageLayout();
        const QRectF rcPaper = layout.fullRect(QPageLayout::Millimeter);
        m_szPaper = QSize(qRound(rcPaper.width() * 100), qRound(rcPaper.height() * 100));
        const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
        m_rcMargin = QMargins(qRound(margins.left() * 100), qRound(margins.top() * 100), qRound(margins.right() * 100),
            qRound(margins.bottom() * 100));
        m_nOrientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
        m_nPaperSize = layout.pageSize().id();
    }
    update();
}

void DlgPrint::PrintPages(const std::function<const CardDocument*()>& nextCard)
{
    const CardDocument* pCard = nextCard();
    if (!pCard)
        return;
    // The whole sheet is the painter's: the card is centred on the paper itself, not on whatever the
    // printer can reach.
    m_pPrinter->setFullPage(true);
    QPainter painter;
    if (!painter.begin(m_pPrinter.get()))
        return;
    const QRect rcSheet = m_pPrinter->paperRect(QPrinter::DevicePixel).toRect();
    const int W = rcSheet.width();
    const int H = rcSheet.height();
    const QRect rcPrintable = Margins(0, 0, W, H);
    ApplyQuality(painter);
    try {
        for (bool bFirst = true; pCard; pCard = nextCard(), bFirst = false) {
            if (!bFirst)
                m_pPrinter->newPage();
            const QSize szClient = pCard->m_szClient;
            const QRect rcCard = Placed(
                FitRect(szClient.width(), szClient.height(), rcPrintable.width(), rcPrintable.height()), rcPrintable);
            painter.fillRect(QRect(0, 0, W, H), Qt::white);
            painter.setClipRect(rcCard);
            RenderCard(painter, *pCard, rcCard.x(), rcCard.y(), rcCard.width(), rcCard.height());
            painter.setClipping(false);
        }
    } catch (const std::bad_alloc&) {
        m_pPrinter->abort();
        painter.end();
        m_prompts.MessageBox(this, QStringLiteral("Not enough memory to print the card."), QStringLiteral("Warning"),
            QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    painter.end();
}

void DlgPrint::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderPreview(devicePixelRatioF()));
}
