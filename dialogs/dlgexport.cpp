#include "dialogs/dlgexport.h"

#include <limits>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QEventLoop>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QThread>
#include <QVBoxLayout>

#include "dialogs/lowreswarning.h"
#include "dialogs/mergedlg.h"
#include "document/carddocument.h"
#include "document/printsize.h"
#include "render/cardimage.h"
#include "render/lowres.h"
#include "render/pdfexport.h"
#include "session/settings.h"
#include "widgets/shellprompts.h"

const char* const kExportFilter = "JPG (*.jpg);;BMP (*.bmp);;PNG (*.png);;GIF (*.gif);;TIFF (*.tiff);;PDF (*.pdf)";

namespace {

// Width and height factor of the presets "Large", "Middle" and "Small"; "Custom" follows them.
constexpr double kPresetFactors[] = {1.0, 0.75, 0.5};
constexpr int kCustom = 3;

int Scaled(int nSide, double dFactor)
{
    return int(nSide * dFactor);
}

QString Millimetres(double dMm)
{
    return QString::number(dMm, 'f', 1);
}

bool IsPdfPath(const QString& strPath)
{
    return QFileInfo(strPath).suffix().compare(QLatin1String("pdf"), Qt::CaseInsensitive) == 0;
}

} // namespace

DlgExport::DlgExport(QWidget* pParent, CardDocument& doc, CShellPrompts& prompts)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_doc(doc)
    , m_prompts(prompts)
{
    setWindowTitle(QStringLiteral("Export Image"));
    m_cmbPreset = new QComboBox(this);
    m_cmbPreset->setObjectName(QStringLiteral("preset"));
    m_editWidth = new QLineEdit(this);
    m_editHeight = new QLineEdit(this);
    for (QLineEdit* pEdit : {m_editWidth, m_editHeight}) {
        pEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), pEdit));
        pEdit->setFixedWidth(64);
        pEdit->installEventFilter(this);
    }
    m_editPrintWidth = new QLineEdit(this);
    m_editPrintWidth->setObjectName(QStringLiteral("printWidth"));
    m_editPrintWidth->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*[.,]?[0-9]*")), m_editPrintWidth));
    m_editPrintWidth->setFixedWidth(64);
    m_lblPrintSize = new QLabel(this);
    m_chkBleed = new QCheckBox(QStringLiteral("Bleed and crop marks (3 mm)"), this);
    m_btnSave = new QPushButton(QStringLiteral("Save"), this);
    m_btnSave->setDefault(true);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnMerge = new QPushButton(QStringLiteral("Merge with list..."), this);

    auto* pGrid = new QGridLayout;
    pGrid->addWidget(new QLabel(QStringLiteral("Image Size:"), this), 0, 0);
    pGrid->addWidget(m_cmbPreset, 0, 1, 1, 3);
    pGrid->addWidget(new QLabel(QStringLiteral("Width:"), this), 1, 0);
    pGrid->addWidget(m_editWidth, 1, 1);
    pGrid->addWidget(new QLabel(QStringLiteral("Height:"), this), 1, 2);
    pGrid->addWidget(m_editHeight, 1, 3);
    // A PDF page is the size the card prints at, not a number of pixels.
    pGrid->addWidget(new QLabel(QStringLiteral("PDF: the print size"), this), 2, 0, 1, 4);
    pGrid->addWidget(new QLabel(QStringLiteral("Width (mm):"), this), 3, 0);
    pGrid->addWidget(m_editPrintWidth, 3, 1);
    pGrid->addWidget(m_lblPrintSize, 3, 2, 1, 2);
    pGrid->addWidget(m_chkBleed, 4, 0, 1, 4);
    auto* pButtons = new QHBoxLayout;
    pButtons->addWidget(m_btnMerge);
    pButtons->addStretch(1);
    pButtons->addWidget(m_btnSave);
    pButtons->addWidget(m_btnCancel);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->addLayout(pGrid);
    pLayout->addSpacing(8);
    pLayout->addLayout(pButtons);

    connect(m_cmbPreset, &QComboBox::currentIndexChanged, this, &DlgExport::OnPresetChanged);
    // Only typing leads: the field the other one is written into does not answer back.
    connect(m_editWidth, &QLineEdit::textEdited, this, [this] { OnSizeChanged(1); });
    connect(m_editHeight, &QLineEdit::textEdited, this, [this] { OnSizeChanged(2); });
    connect(m_editPrintWidth, &QLineEdit::textEdited, this, &DlgExport::OnPrintWidthChanged);
    connect(m_btnSave, &QPushButton::clicked, this, &DlgExport::OnSave);
    connect(m_btnMerge, &QPushButton::clicked, this, &DlgExport::OnMerge);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

DlgExport::~DlgExport() = default;

void DlgExport::OnInitDialog()
{
    const QSignalBlocker blocker(m_cmbPreset);
    m_cmbPreset->clear();
    m_cmbPreset->addItems(
        {QStringLiteral("Large"), QStringLiteral("Middle"), QStringLiteral("Small"), QStringLiteral("Custom")});
    m_cmbPreset->setCurrentIndex(0);
    m_bInitialised = true;
    OnPresetChanged(0);
    const QSize szCard(m_nCardWidth, m_nCardHeight);
    m_editPrintWidth->setText(Millimetres(CardPrintSizeMm(szCard, m_doc.m_dPrintWidthMm).width()));
    OnPrintWidthChanged();
}

std::optional<double> DlgExport::TypedPrintWidth() const
{
    if (!m_editPrintWidth->isModified())
        return std::nullopt;
    bool bOk = false;
    const double dWidth = QString(m_editPrintWidth->text()).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&bOk);
    return bOk ? dWidth : std::numeric_limits<double>::quiet_NaN();
}

void DlgExport::OnPrintWidthChanged()
{
    const QSize szCard(m_nCardWidth, m_nCardHeight);
    const std::optional<double> optWidth = TypedPrintWidth();
    if (optWidth && !PrintWidthError(*optWidth, szCard).isEmpty()) {
        m_lblPrintSize->setText(QStringLiteral("not a print size"));
        return;
    }
    const QSizeF szPrint = CardPrintSizeMm(szCard, optWidth.value_or(m_doc.m_dPrintWidthMm));
    m_lblPrintSize->setText(QStringLiteral("%1 x %2 mm, %3 ppi")
                                .arg(Millimetres(szPrint.width()), Millimetres(szPrint.height()))
                                .arg(qRound(PixelsPerInch(m_nCardWidth, szPrint.width()))));
}

void DlgExport::OnPresetChanged(int nIndex)
{
    if (nIndex == kCustom) {
        SetFieldsWritable(true);
        for (QLineEdit* pEdit : {m_editHeight, m_editWidth})
            pEdit->selectAll();
        m_editWidth->setFocus();
        return;
    }
    if (nIndex < 0 || nIndex >= kCustom)
        return;
    m_strWidth = QString::number(Scaled(m_nCardWidth, kPresetFactors[nIndex]));
    m_strHeight = QString::number(Scaled(m_nCardHeight, kPresetFactors[nIndex]));
    m_editWidth->setText(m_strWidth);
    m_editHeight->setText(m_strHeight);
    SetFieldsWritable(false);
    UpdateSaveButton();
}

void DlgExport::OnSizeChanged(int nField)
{
    if (m_nLead == -1)
        m_nLead = nField;
    if (m_nLead != nField)
        return;
    QLineEdit* pLead = nField == 1 ? m_editWidth : m_editHeight;
    QLineEdit* pFollower = nField == 1 ? m_editHeight : m_editWidth;
    QString& strLead = nField == 1 ? m_strWidth : m_strHeight;
    QString& strFollower = nField == 1 ? m_strHeight : m_strWidth;
    if (pLead->text().size() >= 5) {
        m_prompts.MessageBox(this, QStringLiteral("Input data is invalid!"), QStringLiteral("Warning"), QMessageBox::Ok,
            QMessageBox::Warning);
        // The refused entry goes: the size on screen is always the one that would be saved.
        pLead->setText(strLead);
        return;
    }
    strLead = pLead->text();
    const int nLead = strLead.toInt();
    const int nFollower = nField == 1 ? int(double(m_nCardHeight) / m_nCardWidth * nLead)
                                      : int(double(m_nCardWidth) / m_nCardHeight * nLead);
    strFollower = QString::number(nFollower);
    pFollower->setText(strFollower);
    UpdateSaveButton();
}

void DlgExport::OnSave()
{
    const int nWidth = m_editWidth->text().toInt();
    const int nHeight = m_editHeight->text().toInt();
    const QSize szCard(m_nCardWidth, m_nCardHeight);
    const std::optional<double> optPrintWidth = TypedPrintWidth();
    if (optPrintWidth) {
        if (const QString strError = PrintWidthError(*optPrintWidth, szCard); !strError.isEmpty()) {
            m_prompts.MessageBox(this, strError, QStringLiteral("Warning"), QMessageBox::Ok, QMessageBox::Warning);
            return;
        }
    }
    if (optPrintWidth)
        m_doc.m_dPrintWidthMm = *optPrintWidth;
    // Pictures and PDFs alike are judged at the print size.
    if (!ConfirmSharpPhotos(this, m_prompts, m_doc, PrintSizeInches(szCard, m_doc.m_dPrintWidthMm)))
        return;
    hide();
    QWidget* pOwner = parentWidget();
    const QString strPath = m_prompts.GetSaveFileName(
        pOwner, QStringLiteral("Untitled"), QString::fromLatin1(kExportFilter), QStringLiteral("jpg"), g_strExportPath);
    if (strPath.isEmpty()) {
        reject();
        return;
    }
    g_strExportPath = QFileInfo(strPath).absolutePath();
    QString strError;
    if (!ExportCard(nWidth, nHeight, strPath, &strError))
        m_prompts.MessageBox(pOwner, strError, QStringLiteral("Warning"), QMessageBox::Ok, QMessageBox::Warning);
    accept();
}

void DlgExport::OnMerge()
{
    const QSize szExport(m_editWidth->text().toInt(), m_editHeight->text().toInt());
    // Every row shows the same photos.
    const QSize szCard(m_nCardWidth, m_nCardHeight);
    if (!ConfirmSharpPhotos(this, m_prompts, m_doc, PrintSizeInches(szCard, m_doc.m_dPrintWidthMm)))
        return;
    hide();
    DlgMerge merge(parentWidget(), m_doc, m_prompts, szExport);
    m_prompts.RunModal(merge);
    accept();
}

void DlgExport::showEvent(QShowEvent* pEvent)
{
    if (!m_bInitialised)
        OnInitDialog();
    QDialog::showEvent(pEvent);
}

bool DlgExport::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    const bool bLeadField = (m_nLead == 1 && pWatched == m_editWidth) || (m_nLead == 2 && pWatched == m_editHeight);
    if (pEvent->type() == QEvent::FocusOut && bLeadField)
        m_nLead = -1;
    return QDialog::eventFilter(pWatched, pEvent);
}

void DlgExport::SetFieldsWritable(bool bWritable)
{
    for (QLineEdit* pEdit : {m_editWidth, m_editHeight}) {
        pEdit->setReadOnly(!bWritable);
        pEdit->setEnabled(bWritable);
    }
}

void DlgExport::UpdateSaveButton()
{
    m_btnSave->setEnabled(m_editWidth->text().toInt() > 0 && m_editHeight->text().toInt() > 0);
    m_btnMerge->setEnabled(m_btnSave->isEnabled());
}

bool DlgExport::ExportCard(int nWidth, int nHeight, const QString& strPath, QString* pstrError)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QProgressDialog progress(
        QStringLiteral("Exporting %1 ...").arg(QFileInfo(strPath).fileName()), QString(), 0, 0, parentWidget());
    progress.setWindowTitle(windowTitle());
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setMinimumDuration(500);
    progress.setCancelButton(nullptr);
    // Starts the clock after which the dialog shows itself.
    progress.setValue(0);

    // A thread of its own, not one of the global pool: the renderer and Qt's image scaling hand work
    // to the pools and wait for it.
    bool bOk = false;
    const CardDocument& doc = m_doc;
    const QSize szCard(m_nCardWidth, m_nCardHeight);
    const bool bBleed = m_chkBleed->isChecked();
    const std::unique_ptr<QThread> pThread(QThread::create([&] {
        bOk = IsPdfPath(strPath) ? SaveCardPdf(doc, szCard, strPath, bBleed, pstrError)
                                 : SaveCardImage(doc, nWidth, nHeight, strPath, pstrError);
    }));
    QEventLoop loop;
    connect(pThread.get(), &QThread::finished, &loop, &QEventLoop::quit);
    pThread->start();
    // The windows repaint while the card is written, but nothing can change it meanwhile.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    pThread->wait();
    QApplication::restoreOverrideCursor();
    return bOk;
}
