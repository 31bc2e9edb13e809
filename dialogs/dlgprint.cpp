#include "dialogs/dlgprint.h"

#include <algorithm>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include "dialogs/lowreswarning.h"
#include "dialogs/mergedlg.h"
#include "document/carddocument.h"
#include "document/printsize.h"
#include "platform/fitrect.h"
#include "platform/imageio.h"
#include "platform/quality.h"
#include "render/renderer.h"
#include "session/printchoices.h"
#include "widgets/shellprompts.h"

namespace {

constexpr QRgb kGround = 0xFFF0F0F0;
// A card is printed to a PDF file at this resolution: sharp on paper, and quick to write.
constexpr int kPdfResolution = 300;

QRect Placed(const FitResult& fit, const QRect& rcBox)
{
    return QRect(rcBox.left() + fit.left, rcBox.top() + fit.top, fit.width(), fit.height());
}

QString PanelName(PanelFace nFace)
{
    switch (nFace) {
    case PanelFace::Front:
        return QStringLiteral("Front");
    case PanelFace::Back:
        return QStringLiteral("Back");
    case PanelFace::InsideLeft:
        return QStringLiteral("Inside left");
    case PanelFace::InsideRight:
        return QStringLiteral("Inside right");
    }
    return {};
}

} // namespace

DlgPrint::DlgPrint(QWidget* pParent, const CardDocument& doc, const QImage* pSnapshot, CShellPrompts& prompts)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_pPrinter(std::make_unique<QPrinter>(QPrinter::HighResolution))
    , m_nPaperSize(QPageSize::A4)
    , m_nLayout(g_printChoices.nLayout)
    , m_dPrintWidthMm(doc.m_dPrintWidthMm)
    , m_doc(doc)
    , m_pSnapshot(pSnapshot)
    , m_prompts(prompts)
{
    setWindowTitle(QStringLiteral("Print"));
    setFixedSize(860, 625);
    // Every pixel comes from the dialog's own drawing.
    setAttribute(Qt::WA_OpaquePaintEvent);

    m_pPrinter->setDocName(QStringLiteral("Palenko"));
    m_pPrinter->setPageLayout(QPageLayout(QPageSize(g_printChoices.nPaper), g_printChoices.nOrientation,
        g_printChoices.marginsMm, QPageLayout::Millimeter));
    m_pPrinter->setCopyCount(g_printChoices.nCopies);
    m_szCard = pSnapshot && !pSnapshot->isNull() ? pSnapshot->size() : ReadPictureSize(doc.m_strBackground);
    if (m_szCard.isEmpty())
        m_szCard = doc.m_szClient;
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
    m_btnMerge = new QPushButton(QStringLiteral("Merge with list..."), this);
    m_btnMerge->setToolTip(QStringLiteral("Merge with list: print one card for each row of a list"));
    int y = 10;
    for (QPushButton* pButton : {m_btnPrint, m_btnPageSet, m_btnCancel, m_btnMerge}) {
        pButton->setGeometry(625, y, pButton == m_btnMerge ? 140 : 75, 24);
        y += 28;
    }
    m_btnPrint->setDefault(true);
    connect(m_btnPrint, &QPushButton::clicked, this, &DlgPrint::OnPrint);
    connect(m_btnMerge, &QPushButton::clicked, this, &DlgPrint::OnMerge);
    connect(m_btnPageSet, &QPushButton::clicked, this, &DlgPrint::OnPageSet);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* pLayoutLabel = new QLabel(QStringLiteral("Layout:"), this);
    pLayoutLabel->setGeometry(625, y + 10, 225, 20);
    m_cmbLayout = new QComboBox(this);
    m_cmbLayout->setGeometry(625, y + 32, 225, 26);
    for (int i = 0; i < kPrintLayoutCount; ++i)
        m_cmbLayout->addItem(PrintLayoutTitle(PrintLayout(i)));
    m_cmbLayout->setCurrentIndex(int(m_nLayout));
    pLayoutLabel->setBuddy(m_cmbLayout);
    m_lblPrintWidth = new QLabel(QStringLiteral("Print width:"), this);
    m_lblPrintWidth->setGeometry(625, y + 68, 225, 20);
    m_editPrintWidth = new QLineEdit(this);
    m_editPrintWidth->setGeometry(625, y + 90, 150, 26);
    m_lblPrintWidth->setBuddy(m_editPrintWidth);
    m_cmbWidthUnit = new QComboBox(this);
    m_cmbWidthUnit->setGeometry(780, y + 90, 70, 26);
    m_cmbWidthUnit->addItems({QStringLiteral("mm"), QStringLiteral("in")});
    m_cmbWidthUnit->setCurrentIndex(g_printChoices.bInches ? 1 : 0);
    m_lblNotes = new QLabel(this);
    m_lblNotes->setGeometry(625, y + 126, 225, 360);
    m_lblNotes->setWordWrap(true);
    m_lblNotes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    connect(m_cmbLayout, &QComboBox::currentIndexChanged, this, &DlgPrint::OnLayoutChanged);
    connect(m_editPrintWidth, &QLineEdit::editingFinished, this, &DlgPrint::OnPrintWidthEdited);
    connect(m_cmbWidthUnit, &QComboBox::currentIndexChanged, this, [this] {
        ShowPrintWidth();
        StoreChoices();
    });

    if (m_nLayout != PrintLayout::FitToPage && !g_printChoices.bOrientationChosen)
        ApplyBestOrientation();
    SyncFromPrinter();
    ShowPrintWidth();
    UpdateLayoutControls();
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

PrintSheet DlgPrint::PrinterSheet() const
{
    const QPageLayout layout = m_pPrinter->pageLayout();
    return ComputePrintSheet(m_nLayout, layout.fullRect(QPageLayout::Millimeter).size(),
        layout.margins(QPageLayout::Millimeter), m_szCard, m_dPrintWidthMm);
}

PrintSheet DlgPrint::PreviewSheet() const
{
    const QMarginsF margins(
        m_rcMargin.left() / 100.0, m_rcMargin.top() / 100.0, m_rcMargin.right() / 100.0, m_rcMargin.bottom() / 100.0);
    return ComputePrintSheet(m_nLayout, QSizeF(m_szPaper) / 100.0, margins, m_szCard, m_dPrintWidthMm);
}

void DlgPrint::ComputePreview()
{
    m_rcPage = Placed(FitRect(m_szPaper.width(), m_szPaper.height(), m_rcPreviewBox.width(), m_rcPreviewBox.height()),
        m_rcPreviewBox);
    if (m_nLayout != PrintLayout::FitToPage) {
        const PrintSheet sheet = PreviewSheet();
        m_rcCard = QRect();
        if (!sheet.vecCards.empty()) {
            const QRectF& rc = sheet.vecCards.front();
            const double dScale = m_rcPage.width() / sheet.szSheet.width();
            m_rcCard = QRectF(m_rcPage.left() + rc.left() * dScale, m_rcPage.top() + rc.top() * dScale,
                rc.width() * dScale, rc.height() * dScale)
                           .toRect();
        }
        return;
    }
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
    if (m_nLayout != PrintLayout::FitToPage) {
        RenderLayoutPreview(painter);
        return buffer;
    }
    if (!m_rcCard.isEmpty())
        painter.drawImage(m_rcCard, *m_pSnapshot);
    const QRect rcPrintable = Margins(
        m_rcPage.left(), m_rcPage.top(), m_rcPage.left() + m_rcPage.width(), m_rcPage.top() + m_rcPage.height());
    painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
    painter.drawRect(QRectF(rcPrintable).adjusted(0.5, 0.5, -0.5, -0.5));
    return buffer;
}

void DlgPrint::RenderLayoutPreview(QPainter& painter) const
{
    const PrintSheet sheet = PreviewSheet();
    if (!sheet.IsValid())
        return;
    const QImage* pSnapshot = m_pSnapshot && !m_pSnapshot->isNull() ? m_pSnapshot : nullptr;
    DrawPrintSheet(painter, sheet, QRectF(m_rcPage), [pSnapshot](QPainter& target, const QRect& rcCard) {
        if (pSnapshot)
            target.drawImage(rcCard, *pSnapshot);
    });
    const double dScale = m_rcPage.width() / sheet.szSheet.width();
    const auto toPreview = [&](const QRectF& rc) {
        return QRectF(m_rcPage.left() + rc.left() * dScale, m_rcPage.top() + rc.top() * dScale, rc.width() * dScale,
            rc.height() * dScale);
    };
    // The faces other than the front are named, upside down where they print so.
    painter.setPen(QColor(150, 150, 150));
    for (const PrintPanel& panel : sheet.vecPanels) {
        if (panel.nFace == PanelFace::Front)
            continue;
        const QRectF rc = toPreview(panel.rc);
        painter.save();
        painter.translate(rc.center());
        painter.rotate(panel.nRotation);
        painter.drawText(QRectF(-rc.width() / 2, -rc.height() / 2, rc.width(), rc.height()), Qt::AlignCenter,
            PanelName(panel.nFace));
        painter.restore();
    }
    if (sheet.vecPanels.empty()) {
        painter.setPen(QPen(Qt::black, 1, Qt::DashLine));
        painter.drawRect(toPreview(sheet.rcPrintable).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void DlgPrint::OnPrint()
{
    int nCopies = 0;
    if (!AskPrinter(&nCopies))
        return;
    const int nAsked = nCopies;
    if (ConfirmSharpPhotos(this, m_prompts, m_doc, CardSizeOnPaperInches()))
        PrintPages([&]() -> const CardDocument* { return nCopies-- > 0 ? &m_doc : nullptr; });
    // The print dialog shows the copies asked for next time.
    m_pPrinter->setCopyCount(std::max(1, nAsked));
    UpdateLayoutControls();
    update();
}

bool DlgPrint::AskPrinter(int* pnCopies)
{
    if (m_prompts.RunModal(*m_pPrintDlg) != QDialog::Accepted)
        return false;
    // Copies are pages of their own here, so that every printer and a PDF file get the same.
    *pnCopies = m_pPrinter->copyCount();
    g_printChoices.nCopies = std::max(1, *pnCopies);
    // The print dialog may have changed the paper too.
    SyncFromPrinter();
    StoreChoices();
    m_pPrinter->setCopyCount(1);
    if (m_pPrinter->outputFormat() == QPrinter::PdfFormat)
        m_pPrinter->setResolution(kPdfResolution);
    return true;
}

void DlgPrint::OnMerge()
{
    // Each row once, whatever the copies asked for; a sheet of several cards holds several rows.
    DlgMerge merge(this, m_doc, m_prompts, QSize(), [this](const std::function<const CardDocument*()>& next) {
        int nCopies = 0;
        if (!AskPrinter(&nCopies))
            return false;
        // Every row shows the same photos.
        const bool bGo = ConfirmSharpPhotos(this, m_prompts, m_doc, CardSizeOnPaperInches());
        if (bGo)
            PrintPages(next, true);
        m_pPrinter->setCopyCount(std::max(1, nCopies));
        return bGo;
    });
    m_prompts.RunModal(merge);
    UpdateLayoutControls();
    update();
}

QSizeF DlgPrint::CardSizeOnPaperInches() const
{
    const PrintSheet sheet = PrinterSheet();
    return sheet.vecCards.empty() ? QSizeF() : sheet.vecCards.front().size() / kMillimetresPerInch;
}

void DlgPrint::OnLayoutChanged(int nIndex)
{
    if (nIndex < 0 || nIndex >= kPrintLayoutCount)
        return;
    m_nLayout = PrintLayout(nIndex);
    if (m_nLayout != PrintLayout::FitToPage) {
        g_printChoices.bOrientationChosen = false;
        ApplyBestOrientation();
        SyncFromPrinter();
    }
    StoreChoices();
    UpdateLayoutControls();
    update();
}

double DlgPrint::UnitMm() const
{
    return m_cmbWidthUnit->currentIndex() == 1 ? kMillimetresPerInch : 1.0;
}

void DlgPrint::ShowPrintWidth()
{
    const QSizeF szDefault = CardPrintSizeMm(m_szCard);
    m_editPrintWidth->setPlaceholderText(
        QStringLiteral("%1 (300 ppi)").arg(QString::number(szDefault.width() / UnitMm(), 'f', 1)));
    m_editPrintWidth->setText(m_dPrintWidthMm > 0 ? QString::number(m_dPrintWidthMm / UnitMm(), 'g', 6) : QString());
}

void DlgPrint::OnPrintWidthEdited()
{
    const QString strText = m_editPrintWidth->text().trimmed();
    double dWidthMm = 0;
    QString strError;
    if (!strText.isEmpty()) {
        bool bOk = false;
        const double dTyped = QLocale().toDouble(strText, &bOk);
        const double dValue = bOk ? dTyped : strText.toDouble(&bOk);
        if (!bOk)
            strError = QStringLiteral("\"%1\" is not a width: type a number, or nothing for 300 pixels per inch.")
                           .arg(strText);
        else if (dValue != 0) {
            dWidthMm = dValue * UnitMm();
            strError = PrintWidthError(dWidthMm, m_szCard);
        }
    }
    if (!strError.isEmpty()) {
        ShowPrintWidth();
        m_prompts.MessageBox(this, strError, QStringLiteral("Print"), QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    m_dPrintWidthMm = dWidthMm;
    // A card that now fits only the other way turns the paper, unless the user turned it.
    if (m_nLayout == PrintLayout::ActualSize && !g_printChoices.bOrientationChosen) {
        ApplyBestOrientation();
        SyncFromPrinter();
    }
    ShowPrintWidth();
    UpdateLayoutControls();
    update();
}

void DlgPrint::SyncFromPrinter()
{
    const QPageLayout layout = m_pPrinter->pageLayout();
    const QRectF rcPaper = layout.fullRect(QPageLayout::Millimeter);
    m_szPaper = QSize(qRound(rcPaper.width() * 100), qRound(rcPaper.height() * 100));
    const QMarginsF margins = layout.margins(QPageLayout::Millimeter);
    m_rcMargin = QMargins(qRound(margins.left() * 100), qRound(margins.top() * 100), qRound(margins.right() * 100),
        qRound(margins.bottom() * 100));
    m_nOrientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    m_nPaperSize = layout.pageSize().id();
}

void DlgPrint::ApplyBestOrientation()
{
    const QPageLayout layout = m_pPrinter->pageLayout();
    m_pPrinter->setPageOrientation(BestOrientation(m_nLayout, layout.pageSize().size(QPageSize::Millimeter),
        layout.margins(QPageLayout::Millimeter), m_szCard, m_dPrintWidthMm));
}

void DlgPrint::StoreChoices() const
{
    const QPageLayout layout = m_pPrinter->pageLayout();
    g_printChoices.nPaper = layout.pageSize().id();
    g_printChoices.nOrientation = layout.orientation();
    g_printChoices.marginsMm = layout.margins(QPageLayout::Millimeter);
    g_printChoices.nLayout = m_nLayout;
    g_printChoices.bInches = m_cmbWidthUnit->currentIndex() == 1;
}

void DlgPrint::UpdateLayoutControls()
{
    const bool bActual = m_nLayout == PrintLayout::ActualSize;
    m_lblPrintWidth->setVisible(bActual);
    m_editPrintWidth->setVisible(bActual);
    m_cmbWidthUnit->setVisible(bActual);
    // The notes take the print width's place when it is hidden.
    m_lblNotes->move(m_lblNotes->x(), bActual ? m_editPrintWidth->geometry().bottom() + 10 : m_lblPrintWidth->y());
    const PrintSheet sheet = PreviewSheet();
    QString strNotes;
    if (!sheet.IsValid()) {
        strNotes = sheet.strError;
    } else if (!sheet.vecCards.empty()) {
        const QSizeF szCard = sheet.vecCards.front().size();
        strNotes = QStringLiteral("The card prints %1 x %2 mm (%3 pixels per inch).")
                       .arg(szCard.width(), 0, 'f', 1)
                       .arg(szCard.height(), 0, 'f', 1)
                       .arg(qRound(PixelsPerInch(m_szCard.width(), szCard.width())));
        const QString strFolding = FoldingInstructions(m_nLayout, sheet);
        if (!strFolding.isEmpty())
            strNotes += QStringLiteral("\n\n") + strFolding;
    }
    m_lblNotes->setText(strNotes);
}

void DlgPrint::OnPageSet()
{
    if (m_prompts.RunModal(*m_pPageDlg) == QDialog::Accepted) {
        SyncFromPrinter();
        g_printChoices.bOrientationChosen = true;
        StoreChoices();
        UpdateLayoutControls();
    }
    update();
}

void DlgPrint::PrintPages(const std::function<const CardDocument*()>& nextCard, bool bCardPerPlace)
{
    const CardDocument* pCard = nextCard();
    if (!pCard)
        return;
    // The whole sheet is the painter's: the card is centred on the paper itself, not on whatever the
    // printer can reach.
    m_pPrinter->setFullPage(true);
    const PrintSheet sheet = PrinterSheet();
    if (!sheet.IsValid()) {
        m_prompts.MessageBox(this, sheet.strError, QStringLiteral("Print"), QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    QPainter painter;
    if (!painter.begin(m_pPrinter.get()))
        return;
    const QRectF rcSheet(QPointF(0, 0), m_pPrinter->paperRect(QPrinter::DevicePixel).size());
    ApplyQuality(painter);
    try {
        for (bool bFirst = true; pCard; bFirst = false) {
            if (!bFirst)
                m_pPrinter->newPage();
            if (!bCardPerPlace) {
                DrawPrintSheet(painter, sheet, rcSheet, *pCard);
                pCard = nextCard();
                continue;
            }
            // Each place on the sheet takes the next card; places after the last stay blank.
            DrawPrintSheet(painter, sheet, rcSheet, [&](QPainter& target, const QRect& rcCard) {
                if (!pCard)
                    return;
                RenderCard(target, *pCard, rcCard.x(), rcCard.y(), rcCard.width(), rcCard.height());
                pCard = nextCard();
            });
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
