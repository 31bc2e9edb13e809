#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QImage>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QSizeF>

#include "render/printlayout.h"

class CShellPrompts;
class CardDocument;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPageSetupDialog;
class QPrintDialog;
class QPrinter;
class QPushButton;

// Control ids of the print dialog.
enum PrintControlId : int {
    IDC_PRINT_PRINT = 1084,
    IDC_PRINT_PAGESET = 1085,
    IDC_PRINT_CANCEL = 1086,
    IDC_PRINT_FRAME = 1087,
};

// "Print": a preview of the page with the card fitted inside its margins, and Print, PageSet and
// Cancel. The card is printed as large as the margins allow, centred on the paper, once per copy; the
// print dialog can print to a PDF file with no printer installed. Beside the buttons, the layout of the
// sheet (fitted, actual size, several per sheet, folded) and, for "Actual size", the print width. Paper,
// orientation, margins, copies and layout are the last ones chosen (g_printChoices).
class DlgPrint : public QDialog {
    Q_OBJECT

public:
    // pSnapshot is the card rendered at its own size, drawn by the preview (may be null). Questions go
    // through prompts, which must outlive the dialog.
    DlgPrint(QWidget* pParent, const CardDocument& doc, const QImage* pSnapshot, CShellPrompts& prompts);
    ~DlgPrint() override;

    // The printable part of the page rectangle (L, T) to (R, B): each margin is its share of the paper
    // size taken of the page, truncated.
    QRect Margins(int L, int T, int R, int B) const;
    // Places the page in the preview box and the snapshot inside its margins (m_rcPage, m_rcCard).
    void ComputePreview();
    // The dialog's own drawing at a device pixel ratio: grey ground, white page, the snapshot and the
    // dashed margins.
    QImage RenderPreview(qreal dDevicePixelRatio);

    // The card's size on the printer's paper: as large as the margins allow, at the card's aspect.
    QSizeF CardSizeOnPaperInches() const;

    // Runs the print dialog and, when confirmed and once photos that would print blurry are accepted,
    // prints one page per copy. The dialog stays open.
    void OnPrint();
    // "Merge with list": prints one card for each row of a list, one a page.
    void OnMerge();
    // Runs the page-setup dialog; its paper, orientation and margins drive the preview and the next
    // print.
    void OnPageSet();
    // Another layout: the paper turns to the orientation that prints it largest, unless the user chose
    // one in page setup since.
    void OnLayoutChanged(int nIndex);
    // Takes the typed print width, or says why it cannot and shows the width it had.
    void OnPrintWidthEdited();
    // The sheet as the printer is set up now.
    PrintSheet PrinterSheet() const;
    // The sheet as the preview shows it.
    PrintSheet PreviewSheet() const;

    // The printer the two standard dialogs share: chosen printer, copies, paper and orientation.
    std::unique_ptr<QPrinter> m_pPrinter;
    std::unique_ptr<QPrintDialog> m_pPrintDlg;
    std::unique_ptr<QPageSetupDialog> m_pPageDlg;
    // The paper (a QPageSize id) and orientation (1 portrait, 2 landscape) last chosen in page setup.
    int m_nPaperSize;
    int m_nOrientation = 1;
    // Paper size and margins in hundredths of a millimetre; only their ratios are used.
    QSize m_szPaper {21000, 29700};
    QMargins m_rcMargin {1000, 1000, 1000, 1000};
    QRect m_rcPreviewBox {20, 20, 580, 580};
    QRect m_rcPage;
    QRect m_rcCard;
    QGroupBox* m_pPreviewFrame = nullptr;
    QPushButton* m_btnPrint = nullptr;
    QPushButton* m_btnPageSet = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QPushButton* m_btnMerge = nullptr;
    QComboBox* m_cmbLayout = nullptr;
    QLabel* m_lblPrintWidth = nullptr;
    QLineEdit* m_editPrintWidth = nullptr;
    QComboBox* m_cmbWidthUnit = nullptr;
    // The printed size, the folding order or why the layout cannot be printed.
    QLabel* m_lblNotes = nullptr;

    // The card's pixel size: the snapshot's, or its background picture's.
    QSize m_szCard;
    PrintLayout m_nLayout = PrintLayout::FitToPage;
    // The card's print width in millimetres, 0 for 300 pixels per inch; the caller keeps it in the card.
    double m_dPrintWidthMm = 0;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;

private:
    // The printable part of the previewed page.
    QRect PrintableOfPage() const;
    // Runs the print dialog; false when cancelled, else the copies asked for, each to be a page.
    bool AskPrinter(int* pnCopies);
    // Prints the cards nextCard hands out, in the chosen layout, in one job on the printer as it is set
    // up, until it hands out none: each card on a sheet of its own, or with bCardPerPlace each place on a
    // sheet taking the next card. A layout that does not fit is refused with its reason and nothing is
    // printed.
    void PrintPages(const std::function<const CardDocument*()>& nextCard, bool bCardPerPlace = false);
    // The page-setup fields from the printer's page layout.
    void SyncFromPrinter();
    void ApplyBestOrientation();
    void StoreChoices() const;
    // The preview of a layout other than "Fit to page", with the faces of a folded card named.
    void RenderLayoutPreview(QPainter& painter) const;
    // Shows the print width where it matters, and the notes.
    void UpdateLayoutControls();
    void ShowPrintWidth();
    double UnitMm() const;

    const CardDocument& m_doc;
    const QImage* m_pSnapshot;
    CShellPrompts& m_prompts;
};
