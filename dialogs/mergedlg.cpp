#include "dialogs/mergedlg.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QProgressDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/carddocument.h"
#include "merge/cardmerge.h"
#include "merge/csvreader.h"
#include "render/cardimage.h"
#include "session/settings.h"
#include "widgets/shellprompts.h"

namespace {

// The preview's longer side.
constexpr int kPreviewSide = 360;

} // namespace

DlgMerge::DlgMerge(
    QWidget* pParent, const CardDocument& doc, CShellPrompts& prompts, QSize szExport, PrintCards printCards)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_doc(doc)
    , m_prompts(prompts)
    , m_szExport(szExport)
    , m_printCards(std::move(printCards))
{
    setWindowTitle(QStringLiteral("Merge with list"));
    m_btnList = new QPushButton(QStringLiteral("Choose List..."), this);
    m_labelList = new QLabel(QStringLiteral("No list chosen"), this);
    m_labelRow = new QLabel(this);
    m_labelPreview = new QLabel(this);
    m_labelPreview->setFixedSize(kPreviewSide, kPreviewSide);
    m_labelPreview->setAlignment(Qt::AlignCenter);
    m_btnPrevious = new QPushButton(QStringLiteral("< Previous"), this);
    m_btnNext = new QPushButton(QStringLiteral("Next >"), this);
    m_btnRun = new QPushButton(m_printCards ? QStringLiteral("Print All...") : QStringLiteral("Export All"), this);
    m_btnClose = new QPushButton(QStringLiteral("Close"), this);

    auto* pLayout = new QVBoxLayout(this);
    auto* pList = new QHBoxLayout;
    pList->addWidget(m_btnList);
    pList->addWidget(m_labelList, 1);
    pLayout->addLayout(pList);
    pLayout->addWidget(m_labelPreview, 0, Qt::AlignHCenter);
    auto* pSteps = new QHBoxLayout;
    pSteps->addWidget(m_btnPrevious);
    pSteps->addStretch(1);
    pSteps->addWidget(m_labelRow);
    pSteps->addStretch(1);
    pSteps->addWidget(m_btnNext);
    pLayout->addLayout(pSteps);
    if (!m_printCards) {
        m_btnFolder = new QPushButton(QStringLiteral("Folder..."), this);
        m_labelFolder = new QLabel(g_strExportPath, this);
        m_strFolder = g_strExportPath;
        m_editPattern = new QLineEdit(QStringLiteral("{Name}.jpg"), this);
        auto* pGrid = new QGridLayout;
        pGrid->addWidget(m_btnFolder, 0, 0);
        pGrid->addWidget(m_labelFolder, 0, 1);
        pGrid->addWidget(new QLabel(QStringLiteral("File names:"), this), 1, 0);
        pGrid->addWidget(m_editPattern, 1, 1);
        pLayout->addLayout(pGrid);
        connect(m_btnFolder, &QPushButton::clicked, this, &DlgMerge::OnChooseFolder);
    }
    auto* pButtons = new QHBoxLayout;
    pButtons->addStretch(1);
    pButtons->addWidget(m_btnRun);
    pButtons->addWidget(m_btnClose);
    pLayout->addLayout(pButtons);

    connect(m_btnList, &QPushButton::clicked, this, &DlgMerge::OnChooseList);
    connect(m_btnPrevious, &QPushButton::clicked, this, &DlgMerge::OnPrevious);
    connect(m_btnNext, &QPushButton::clicked, this, &DlgMerge::OnNext);
    connect(m_btnRun, &QPushButton::clicked, this, &DlgMerge::OnRun);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::accept);
    UpdateButtons();
}

DlgMerge::~DlgMerge() = default;

void DlgMerge::OnChooseList()
{
    const QString strPath = m_prompts.GetOpenFileName(this, QStringLiteral("Lists (*.csv);;All files (*)"));
    if (!strPath.isEmpty())
        LoadList(strPath);
}

bool DlgMerge::LoadList(const QString& strPath)
{
    MergeJob job;
    job.strList = strPath;
    job.strPattern.clear();
    MergeCheck check;
    QString strError;
    CsvReader reader;
    if (!CheckMerge(m_doc, job, &check, &strError) || !reader.Open(strPath)) {
        m_prompts.MessageBox(this, strError.isEmpty() ? reader.Error() : strError, QStringLiteral("Merge with list"),
            QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    m_strList = strPath;
    m_nRows = check.nRows;
    m_header = reader.Header();
    m_pMerged = std::make_unique<MergedCard>(m_doc, m_header);
    m_labelList->setText(QDir::toNativeSeparators(strPath));
    ShowRow(1);
    return true;
}

void DlgMerge::OnPrevious()
{
    if (m_nRow > 1)
        ShowRow(m_nRow - 1);
}

void DlgMerge::OnNext()
{
    if (m_nRow < m_nRows)
        ShowRow(m_nRow + 1);
}

void DlgMerge::ShowRow(qint64 nRow)
{
    // The list is read again up to the row: it is never held whole.
    CsvReader reader;
    QStringList values;
    if (!reader.Open(m_strList))
        return;
    for (qint64 n = 0; n < nRow; ++n) {
        if (!reader.Next(&values))
            return;
    }
    m_nRow = nRow;
    m_pMerged->SetRow(values);
    const CardDocument& card = m_pMerged->Document();
    const QSize szCard = card.m_szClient.scaled(kPreviewSide, kPreviewSide, Qt::KeepAspectRatio);
    m_preview = RenderCardBitmap(card, szCard.width(), szCard.height());
    m_labelPreview->setPixmap(QPixmap::fromImage(m_preview));
    m_labelRow->setText(QStringLiteral("Card %1 of %2").arg(m_nRow).arg(m_nRows));
    UpdateButtons();
}

void DlgMerge::UpdateButtons()
{
    m_btnPrevious->setEnabled(m_nRow > 1);
    m_btnNext->setEnabled(m_nRow < m_nRows);
    m_btnRun->setEnabled(m_nRows > 0);
}

void DlgMerge::OnChooseFolder()
{
    const QString strFolder = m_prompts.GetExistingDirectory(this, m_strFolder);
    if (strFolder.isEmpty())
        return;
    m_strFolder = strFolder;
    m_labelFolder->setText(QDir::toNativeSeparators(strFolder));
}

void DlgMerge::OnRun()
{
    if (m_nRows <= 0)
        return;
    if (m_printCards)
        PrintAll();
    else
        ExportAll();
}

void DlgMerge::StartProgress(qint64 nTotal)
{
    delete m_pProgress;
    m_pProgress = new QProgressDialog(QString(), QStringLiteral("Cancel"), 0, int(nTotal), this);
    m_pProgress->setWindowTitle(windowTitle());
    m_pProgress->setWindowModality(Qt::WindowModal);
    m_pProgress->setMinimumDuration(0);
    m_pProgress->setAutoReset(false);
    m_pProgress->setAutoClose(false);
    m_pProgress->setLabelText(QStringLiteral("Card 0 of %1").arg(nTotal));
    m_pProgress->setValue(0);
}

bool DlgMerge::Advance(qint64 nDone, qint64 nTotal)
{
    m_nDone = nDone;
    m_pProgress->setLabelText(QStringLiteral("Card %1 of %2").arg(nDone).arg(nTotal));
    m_pProgress->setValue(int(nDone));
    emit cardDone(nDone, nTotal);
    QApplication::processEvents();
    return !m_pProgress->wasCanceled();
}

void DlgMerge::ExportAll()
{
    const QString strCaption = QStringLiteral("Merge with list");
    if (m_strFolder.isEmpty())
        OnChooseFolder();
    if (m_strFolder.isEmpty())
        return;
    MergeJob job;
    job.strList = m_strList;
    job.strFolder = m_strFolder;
    job.strPattern = m_editPattern->text().trimmed();
    job.nWidth = m_szExport.width();
    job.nHeight = m_szExport.height();
    MergeCheck check;
    QString strError;
    if (job.strPattern.contains(QLatin1Char('/')) || job.strPattern.contains(QLatin1Char('\\'))) {
        m_prompts.MessageBox(this, QStringLiteral("The file names cannot hold folders: %1").arg(job.strPattern),
            strCaption, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    if (!CheckMerge(m_doc, job, &check, &strError)) {
        m_prompts.MessageBox(this, strError, strCaption, QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    if (check.nExisting > 0) {
        const QString strQuestion = QStringLiteral("%1 of the %2 files are already there, such as %3.\nReplace them?")
                                        .arg(check.nExisting)
                                        .arg(check.nSelected)
                                        .arg(QDir::toNativeSeparators(check.strFirstExisting));
        if (m_prompts.MessageBox(
                this, strQuestion, strCaption, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question)
            != QMessageBox::Yes)
            return;
        job.bReplace = true;
    }
    g_strExportPath = m_strFolder;
    StartProgress(check.nSelected);
    m_nDone = 0;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    qint64 nWritten = 0;
    const bool bOk = RunMerge(
        m_doc, job, [this](qint64 nDone, qint64 nTotal, const QString&) { return Advance(nDone, nTotal); }, &nWritten,
        &strError);
    QApplication::restoreOverrideCursor();
    const bool bCancelled = m_pProgress->wasCanceled();
    delete m_pProgress;
    m_pProgress = nullptr;
    m_nDone = nWritten;
    const QString strFolder = QDir::toNativeSeparators(m_strFolder);
    if (!bOk) {
        m_prompts.MessageBox(this,
            QStringLiteral("%1\n%2 of %3 cards were written to %4.")
                .arg(strError)
                .arg(nWritten)
                .arg(check.nSelected)
                .arg(strFolder),
            strCaption, QMessageBox::Ok, QMessageBox::Warning);
    } else if (bCancelled && nWritten < check.nSelected) {
        m_prompts.MessageBox(this,
            QStringLiteral("Cancelled: %1 of %2 cards were written to %3.")
                .arg(nWritten)
                .arg(check.nSelected)
                .arg(strFolder),
            strCaption, QMessageBox::Ok, QMessageBox::Information);
    } else {
        m_prompts.MessageBox(this, QStringLiteral("%1 cards were written to %2.").arg(nWritten).arg(strFolder),
            strCaption, QMessageBox::Ok, QMessageBox::Information);
    }
}

void DlgMerge::PrintAll()
{
    CsvReader reader;
    if (!reader.Open(m_strList)) {
        m_prompts.MessageBox(
            this, reader.Error(), QStringLiteral("Merge with list"), QMessageBox::Ok, QMessageBox::Warning);
        return;
    }
    // A copy of its own: the preview's stays on its row.
    MergedCard card(m_doc, reader.Header());
    const qint64 nTotal = m_nRows;
    m_nDone = 0;
    bool bStarted = false;
    QStringList values;
    const bool bPrinted = m_printCards([&]() -> const CardDocument* {
        if (!bStarted) {
            StartProgress(nTotal);
            bStarted = true;
        } else if (!Advance(m_nDone + 1, nTotal)) {
            return nullptr;
        }
        if (!reader.Next(&values))
            return nullptr;
        card.SetRow(values);
        return &card.Document();
    });
    const bool bCancelled = m_pProgress && m_pProgress->wasCanceled();
    delete m_pProgress;
    m_pProgress = nullptr;
    if (!bPrinted)
        return;
    m_prompts.MessageBox(this,
        bCancelled ? QStringLiteral("Cancelled: %1 of %2 cards were printed.").arg(m_nDone).arg(nTotal)
                   : QStringLiteral("%1 cards were printed.").arg(m_nDone),
        QStringLiteral("Merge with list"), QMessageBox::Ok, QMessageBox::Information);
}
