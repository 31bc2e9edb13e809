#pragma once

#include <optional>

#include <QDialog>
#include <QString>

class CShellPrompts;
class CardDocument;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Control ids of the export dialog.
enum ExportControlId : int {
    IDC_EXPORT_PRESET = 1106,
    IDC_EXPORT_WIDTH = 1107,
    IDC_EXPORT_HEIGHT = 1031,
};

// The save dialog's filters, in the order the export offers them.
extern const char* const kExportFilter;

// "Export Image": the size the card is exported at, from three presets or typed in at the card's
// aspect ratio, then a file name. A PDF is the print size instead, whose width can be typed in
// millimetres, with bleed and crop marks when asked for. The caller sets the card size before running
// it; the file is written with SaveCardImage or SaveCardPdf, which may take seconds, so the wait cursor
// shows and a progress dialog appears when it lasts.
class DlgExport : public QDialog {
    Q_OBJECT

public:
    // Questions and the save dialog go through prompts, which must outlive the dialog. A typed print
    // width is kept in the document.
    DlgExport(QWidget* pParent, CardDocument& doc, CShellPrompts& prompts);
    ~DlgExport() override;

    // Fills the presets with "Large" selected and shows the card size in the locked fields.
    void OnInitDialog();
    // A preset was chosen: its size, locked, or for "Custom" two fields to type in.
    void OnPresetChanged(int nIndex);
    // A size field changed: the first field typed in leads until it loses the focus, the other follows
    // it at the card's aspect ratio. Five digits or more are refused with a warning.
    void OnSizeChanged(int nField);
    // A print width was typed: the print size shown follows it.
    void OnPrintWidthChanged();
    // Refuses a print width that cannot be used and asks before photos that would print blurry, the
    // dialog staying open; then hides the dialog, asks for a file in the export folder and writes the
    // card there (a PDF for .pdf); the dialog closes in any case. A failed write is reported.
    void OnSave();

    // "Merge with list": the card exported at this size once for each row of a list, into a folder.
    void OnMerge();

    // Which size field is being typed in: -1 none, 1 width, 2 height.
    int m_nLead = -1;
    int m_nCardWidth = 0;
    int m_nCardHeight = 0;

    QComboBox* m_cmbPreset = nullptr;
    QLineEdit* m_editWidth = nullptr;
    QLineEdit* m_editHeight = nullptr;
    // The print size: its width in millimetres, the size shown, and bleed for a PDF.
    QLineEdit* m_editPrintWidth = nullptr;
    QLabel* m_lblPrintSize = nullptr;
    QCheckBox* m_chkBleed = nullptr;
    QPushButton* m_btnSave = nullptr;
    QPushButton* m_btnCancel = nullptr;
    QPushButton* m_btnMerge = nullptr;

protected:
    // QWidget events
    void showEvent(QShowEvent* pEvent) override;
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;

private:
    // Locks or unlocks both size fields.
    void SetFieldsWritable(bool bWritable);
    // Save only for a size of at least one pixel each way.
    void UpdateSaveButton();
    // Writes the card with the wait cursor and, after half a second, a progress dialog; the user
    // interface stays painted meanwhile. False with the reason in *pstrError.
    bool ExportCard(int nWidth, int nHeight, const QString& strPath, QString* pstrError);
    // The print width typed in the field, NaN for text that is no number; none while it shows the
    // document's (which may be the card's 300 ppi).
    std::optional<double> TypedPrintWidth() const;

    CardDocument& m_doc;
    CShellPrompts& m_prompts;
    bool m_bInitialised = false;
    // The last accepted text of each field, put back when a refused entry is warned about.
    QString m_strWidth;
    QString m_strHeight;
};
