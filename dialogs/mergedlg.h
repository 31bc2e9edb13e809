#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class CShellPrompts;
class CardDocument;
class MergedCard;
class QLabel;
class QLineEdit;
class QProgressDialog;
class QPushButton;

// "Merge with list": a list of rows (CSV) chosen, the card shown for row N of M with Previous and Next,
// then every row exported into a folder under a file-name pattern, or printed one card per page. The
// card being edited is never changed: the rows go into a copy of it.
class DlgMerge : public QDialog {
    Q_OBJECT

public:
    // Prints the cards next() hands out, one a page, until it hands out none; false when the user
    // cancelled the print dialog.
    using PrintCards = std::function<bool(const std::function<const CardDocument*()>& next)>;

    // Exports at szExport; with printCards the dialog prints instead. Questions and file choices go
    // through prompts, which must outlive the dialog.
    DlgMerge(
        QWidget* pParent, const CardDocument& doc, CShellPrompts& prompts, QSize szExport, PrintCards printCards = {});
    ~DlgMerge() override;

    // Asks for a list and loads it; a list that cannot be used is reported and the last one kept.
    void OnChooseList();
    // Reads the whole list and checks it against the card, then shows its first row. False, with the
    // reason reported, when it cannot be used.
    bool LoadList(const QString& strPath);
    void OnPrevious();
    void OnNext();
    // Asks for the folder the cards are exported into.
    void OnChooseFolder();
    // Exports or prints every row, with a progress dialog whose Cancel keeps the cards already done.
    void OnRun();

    // The row shown (1 for the first) and the rows of the list.
    qint64 m_nRow = 0;
    qint64 m_nRows = 0;
    QString m_strList;
    QString m_strFolder;
    // The card of the row shown, as the preview draws it.
    QImage m_preview;
    // Cards written or printed by the last run.
    qint64 m_nDone = 0;

    QLabel* m_labelList = nullptr;
    QLabel* m_labelRow = nullptr;
    QLabel* m_labelPreview = nullptr;
    QLabel* m_labelFolder = nullptr;
    QLineEdit* m_editPattern = nullptr;
    QPushButton* m_btnList = nullptr;
    QPushButton* m_btnPrevious = nullptr;
    QPushButton* m_btnNext = nullptr;
    QPushButton* m_btnFolder = nullptr;
    QPushButton* m_btnRun = nullptr;
    QPushButton* m_btnClose = nullptr;
    // Shown while a run lasts.
    QProgressDialog* m_pProgress = nullptr;

signals:
    // A card was written or printed: nDone of nTotal.
    void cardDone(qint64 nDone, qint64 nTotal);

private:
    void ShowRow(qint64 nRow);
    void UpdateButtons();
    void ExportAll();
    void PrintAll();
    // The progress dialog for nTotal cards, reset for a new run.
    void StartProgress(qint64 nTotal);
    // One more card done; false once the user cancelled.
    bool Advance(qint64 nDone, qint64 nTotal);

    const CardDocument& m_doc;
    CShellPrompts& m_prompts;
    QSize m_szExport;
    PrintCards m_printCards;
    QStringList m_header;
    std::unique_ptr<MergedCard> m_pMerged;
};
