// The main window's document commands: new, open, save, undo, redo, help and close, with the save
// prompt and the messages they show.
#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <QTimer>

#include "canvas/canvas.h"
#include "dialogs/aboutdlg.h"
#include "dialogs/dlgexport.h"
#include "dialogs/dlgprint.h"
#include "dialogs/fulldlg.h"
#include "dialogs/templatechoose.h"
#include "document/undohistory.h"
#include "platform/applog.h"
#include "session/autosave.h"
#include "session/settings.h"
#include "session/version.h"
#include "shell/palenkoapp.h"
#include "shell/palenkodlg.h"
#include "templates/cardloader.h"
#include "templates/projectfile.h"
#include "widgets/buttonx.h"

namespace {

const QString kCaption = QStringLiteral("Infomation");
const QString kNoMemoryToOpen = QStringLiteral("Not enough memory to open the card.");
const QString kProjectFilter = QStringLiteral("Palenko Maker File (*.plk)");

// The group word of the template category last chosen, for the "Open template" log line.
QString TemplateGroupWord()
{
    switch (g_nTemplateGroup) {
    case 0:
        return QStringLiteral("Holiday");
    case 1:
        return QStringLiteral("Events");
    default:
        return QStringLiteral("Children");
    }
}

} // namespace

QMessageBox::StandardButton CPalenkoDlg::Message(
    const QString& strText, QMessageBox::StandardButtons buttons, QMessageBox::Icon icon)
{
    return m_pPrompts->MessageBox(this, strText, kCaption, buttons, icon);
}

bool CPalenkoDlg::AskSaveChanges()
{
    if (!m_pCanvas->m_bModified)
        return true;
    switch (Message(QStringLiteral("Do you want to save current document?"),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Question)) {
    case QMessageBox::Yes:
        // A save that did not happen would lose the card: the command stops.
        return SaveProject();
    case QMessageBox::No:
        return true;
    default:
        return false;
    }
}

void CPalenkoDlg::OnNew()
{
    m_pCanvas->Deselect();
    if (!AskSaveChanges())
        return;
    OpenTemplateChooser(false);
}

bool CPalenkoDlg::OpenTemplateChooser(bool bStartup)
{
    CTemplateChoose dlg(this, m_strAppDir);
    dlg.SetRecent(m_recent, [this](const QString& strPath) { return OpenProject(strPath); });
    if (m_pPrompts->RunModal(dlg) != QDialog::Accepted)
        return false;
    // A recent project was opened from within the chooser.
    if (!dlg.m_strProject.isEmpty())
        return true;
    if (!LoadTemplate(bStartup ? 0 : 1))
        return false;
    // The card the template replaced was given up, and with it its copy.
    m_pAutoSave->Remove();
    m_app.m_strCurrentFile.clear();
    m_pCanvas->m_bModified = 1;
    m_btnSave->EnableButton(true);
    RepaintTitle();
    WriteLog(QStringLiteral("Open template: %1/%2/temp%3")
                 .arg(TemplateGroupWord(), g_strTemplateCategory)
                 .arg(dlg.m_nChosen));
    return true;
}

void CPalenkoDlg::OnTemplateTimer()
{
    m_templateTimer.stop();
    OpenTemplateChooser(true);
}

bool CPalenkoDlg::LoadTemplate(int bClear)
{
    QStringList listMissing;
    if (!OpenCard(g_strTemplateXml, bClear, listMissing))
        return false;
    ReportMissingPictures(listMissing);
    return true;
}

bool CPalenkoDlg::OpenCard(const QString& strPath, bool bClear, QStringList& listMissing)
{
    try {
        LoadedCard card;
        CardError nError = CardError::None;
        if (!ReadCardFile(strPath, card, &nError, m_strAppDir)) {
            Message(CardOpenMessage(nError, strPath), QMessageBox::Ok, QMessageBox::NoIcon);
            return false;
        }
        listMissing = MissingPictures(card);
        if (bClear)
            m_pCanvas->ClearCard();
        SetCardBackground(std::move(card));
    } catch (const std::bad_alloc&) {
        return OutOfMemoryOpening();
    }
    return true;
}

void CPalenkoDlg::ReportMissingPictures(const QStringList& listMissing)
{
    if (listMissing.isEmpty())
        return;
    const QString strText = MissingPicturesMessage(listMissing);
    // A card opened at start-up is reported once the window shows it.
    if (!isVisible()) {
        QTimer::singleShot(0, this, [this, strText] { Message(strText, QMessageBox::Ok, QMessageBox::Warning); });
        return;
    }
    Message(strText, QMessageBox::Ok, QMessageBox::Warning);
}

bool CPalenkoDlg::OutOfMemoryOpening()
{
    // Whatever part of the card was placed goes, so that the memory comes back.
    m_pCanvas->ClearCard();
    m_pCanvas->update();
    Message(kNoMemoryToOpen, QMessageBox::Ok, QMessageBox::Warning);
    return false;
}

void CPalenkoDlg::SetCardBackground(LoadedCard&& card)
{
    m_nCardWidth = card.szCard.width();
    m_nCardHeight = card.szCard.height();
    PlaceCanvas(1);
    m_pCanvas->PlaceCard(std::move(card));
    for (CButtonX* pButton : {m_btnPreview, m_btnPrint, m_btnExport})
        pButton->EnableButton(true);
    if (m_pFullDlg)
        m_pFullDlg->Invalidate();
    // The keys act on the card just opened, whatever opened it, and the canvas shows it has them.
    m_pCanvas->setFocus(Qt::OtherFocusReason);
    EnableHotKeys(true);
}

void CPalenkoDlg::OnOpen()
{
    m_pCanvas->Deselect();
    if (!AskSaveChanges())
        return;
    const QString strPath = m_pPrompts->GetOpenFileName(this, kProjectFilter);
    if (!strPath.isEmpty())
        OpenProject(strPath);
}

bool CPalenkoDlg::OpenProject(const QString& strPath, bool bRecent)
{
    QStringList listMissing;
    if (!OpenCard(strPath, true, listMissing))
        return false;
    MarkUnmodified(strPath);
    if (bRecent)
        m_recent.Remember(strPath, m_pCanvas->m_doc, false);
    ReportMissingPictures(listMissing);
    return true;
}

void CPalenkoDlg::OnAutoSaveTimer()
{
    m_autoSaveTimer.stop();
    if (m_pAutoSave && m_pCanvas->m_bModified)
        m_pAutoSave->Save(m_pCanvas->m_doc, m_app.m_strCurrentFile, m_strAppDir);
}

bool CPalenkoDlg::OfferRecovery()
{
    for (const QString& strOrphan : CAutoSave::Orphans()) {
        const QMessageBox::StandardButton answer
            = Message(QStringLiteral("Velomira closed before this card was saved. Recover it?"),
                QMessageBox::Yes | QMessageBox::Discard, QMessageBox::Question);
        if (answer == QMessageBox::Discard) {
            CAutoSave::Discard(strOrphan);
            continue;
        }
        const QString strOrigin = CAutoSave::OriginOf(strOrphan);
        if (answer != QMessageBox::Yes || !OpenProject(strOrphan, false))
            continue;
        // The recovered card is the user's again, with its changes still to save to the file it
        // belongs to, or unnamed when it never had one.
        CAutoSave::Discard(strOrphan);
        m_app.m_strCurrentFile = strOrigin;
        m_pCanvas->m_bModified = 0;
        SetModified();
        return true;
    }
    return false;
}

void CPalenkoDlg::MarkUnmodified(const QString& strPath)
{
    m_autoSaveTimer.stop();
    m_pAutoSave->Remove();
    m_app.m_strCurrentFile = strPath;
    m_pCanvas->m_bModified = 0;
    m_btnSave->EnableButton(false);
    RepaintTitle();
}

void CPalenkoDlg::OnSave()
{
    m_pCanvas->Deselect();
    SaveProject();
}

bool CPalenkoDlg::SaveProject()
{
    QString strPath = m_app.m_strCurrentFile;
    // A card whose folder has gone since it was opened (a recovered card's, say) is saved as a new
    // card, proposed under its own name.
    if (strPath.isEmpty() || !QFileInfo(strPath).dir().exists()) {
        const QString strName = strPath.isEmpty() ? QStringLiteral("Untitled") : QFileInfo(strPath).completeBaseName();
        strPath = m_pPrompts->GetSaveFileName(this, strName, kProjectFilter, QStringLiteral("plk"));
        if (strPath.isEmpty())
            return false;
    }
    QString strError;
    if (!SaveProjectFile(m_pCanvas->m_doc, strPath, &strError, m_strAppDir)) {
        Message(strError, QMessageBox::Ok, QMessageBox::Warning);
        return false;
    }
    MarkUnmodified(strPath);
    m_recent.Remember(strPath, m_pCanvas->m_doc, true);
    return true;
}

void CPalenkoDlg::OnUndo()
{
    m_pCanvas->Deselect();
    if (m_pCanvas->m_doc.m_pUndo->Undo(m_pCanvas->width()))
        m_pCanvas->update();
}

void CPalenkoDlg::OnRedo()
{
    m_pCanvas->Deselect();
    if (m_pCanvas->m_doc.m_pUndo->Redo(m_pCanvas->width()))
        m_pCanvas->update();
}

void CPalenkoDlg::OnPreview()
{
    m_pCanvas->Deselect();
    m_pFullDlg = std::make_unique<CFullDlg>(m_pCanvas->m_doc, QSize(m_nCardWidth, m_nCardHeight), this);
    // The screen's geometry picks the screen on X11; Wayland ignores it and puts the full-screen window
    // on the screen asked for.
    if (QScreen* pScreen = screen()) {
        m_pFullDlg->setScreen(pScreen);
        m_pFullDlg->setGeometry(pScreen->geometry());
    }
    m_pFullDlg->showFullScreen();
    m_pFullDlg->activateWindow();
}

void CPalenkoDlg::OnPrint()
{
    m_pCanvas->Deselect();
    m_pCanvas->RenderCardImage(m_nCardWidth, m_nCardHeight);
    DlgPrint dlg(this, m_pCanvas->m_doc, m_pCanvas->m_pSnapshot.get(), *m_pPrompts);
    m_pPrompts->RunModal(dlg);
    // The width is saved with the card, so a new one is a change to save.
    if (dlg.m_dPrintWidthMm != m_pCanvas->m_doc.m_dPrintWidthMm) {
        m_pCanvas->m_doc.m_dPrintWidthMm = dlg.m_dPrintWidthMm;
        SetModified();
    }
}

void CPalenkoDlg::OnExport()
{
    m_pCanvas->Deselect();
    DlgExport dlg(this, m_pCanvas->m_doc, *m_pPrompts);
    dlg.m_nCardWidth = m_nCardWidth;
    dlg.m_nCardHeight = m_nCardHeight;
    const double dPrintWidthMm = m_pCanvas->m_doc.m_dPrintWidthMm;
    m_pPrompts->RunModal(dlg);
    // A width typed for a PDF is saved with the card.
    if (m_pCanvas->m_doc.m_dPrintWidthMm != dPrintWidthMm)
        SetModified();
}

void CPalenkoDlg::OnHelp()
{
    QMenu menu(this);
    const auto addItem = [&menu](const QString& strText, int nId) { menu.addAction(strText)->setData(nId); };
    addItem(QStringLiteral("Online Help"), ID_HELP_ONLINE);
    menu.addSeparator();
    addItem(QStringLiteral("Feedback and Support"), ID_HELP_FEEDBACK);
    addItem(QStringLiteral("Open log File"), ID_HELP_OPENLOG);
    menu.addSeparator();
    addItem(QStringLiteral("About"), ID_HELP_ABOUT);
    OnHelpCommand(m_pPrompts->TrackPopupMenu(menu, QCursor::pos()));
}

void CPalenkoDlg::OnHelpCommand(int nCommand)
{
    switch (nCommand) {
    case ID_HELP_ONLINE:
        OpenOrSay(HelpPageUrl(m_strAppDir), QStringLiteral("the help page"));
        break;
    case ID_HELP_FEEDBACK:
        OpenOrSay(SupportPageUrl(m_strAppDir), QStringLiteral("the support page"));
        break;
    case ID_HELP_OPENLOG:
        OpenOrSay(QUrl::fromLocalFile(GetLogDir(m_strAppDir)), QStringLiteral("the log folder"));
        break;
    case ID_HELP_ABOUT: {
        CAboutDlg dlg(this, m_strAppDir, *m_pPrompts);
        m_pPrompts->RunModal(dlg);
        break;
    }
    default:
        break;
    }
}

void CPalenkoDlg::OpenOrSay(const QUrl& url, const QString& strWhat)
{
    if (m_pPrompts->OpenUrl(url))
        return;
    const QString strWhere = url.isLocalFile() ? QDir::toNativeSeparators(url.toLocalFile()) : url.toString();
    Message(QStringLiteral("No program on this computer could open %1:\n%2").arg(strWhat, strWhere), QMessageBox::Ok,
        QMessageBox::Warning);
}

void CPalenkoDlg::OnMinimize()
{
    showMinimized();
}

void CPalenkoDlg::OnClose(int nResult)
{
    m_pCanvas->Deselect();
    if (!AskSaveChanges())
        return;
    Finish(nResult);
}

void CPalenkoDlg::OnSessionEnd()
{
    // Nobody is left to answer a question: the process is ending either way, and the card's
    // unsaved changes wait in the autosave copy for the next start.
    m_pCanvas->Deselect();
    OnAutoSaveTimer();
    Finish(QDialog::Rejected, m_pCanvas->m_bModified != 0);
}

void CPalenkoDlg::Finish(int nResult, bool bKeepCopy)
{
    m_autoSaveTimer.stop();
    m_bKeepAutoSave = bKeepCopy;
    if (bKeepCopy)
        m_pAutoSave->WaitForWrite();
    else
        m_pAutoSave->Remove();
    SaveSettings(GetConfigPath(m_strAppDir));
    WriteLog(QStringLiteral("Quit Velomira %1").arg(GetFileVersionText()));
    QDialog::done(nResult);
}

void CPalenkoDlg::reject()
{
    OnClose(QDialog::Rejected);
}
