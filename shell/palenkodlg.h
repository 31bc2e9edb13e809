// The main window ties the canvas, the panels, the template chooser and the card files together; the
// card itself lives in document/. Its document commands are in doccommands.cpp, the numbers of its
// layout in mainlayout.h and the arithmetic of its resize border in windowgeometry.h.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include <QDialog>
#include <QIcon>
#include <QImage>
#include <QMessageBox>
#include <QPainterPath>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QUrl>

#include "platform/appdir.h"
#include "platform/skinpicture.h"
#include "session/recentcards.h"
#include "shell/mainlayout.h"
#include "widgets/shellprompts.h"

class CAutoSave;
class CButtonX;
class CFullDlg;
class CPalenkoApp;
class Canvas;
class CateImage;
class CateText;
class QShortcut;
struct LoadedCard;

// Commands of the Help popup.
enum HelpCommandId : int {
    ID_HELP_ONLINE = 32771,
    ID_HELP_FEEDBACK = 32773,
    ID_HELP_OPENLOG = 32774,
    ID_HELP_ABOUT = 32775,
};

// Ids of the editing hot keys: the four arrows, Delete, Ctrl+Z, Ctrl+Shift+Z, Ctrl+S.
enum HotKeyId : int {
    HOTKEY_FIRST = 222,
    HOTKEY_LEFT = 222,
    HOTKEY_UP = 223,
    HOTKEY_RIGHT = 224,
    HOTKEY_DOWN = 225,
    HOTKEY_DELETE = 226,
    HOTKEY_UNDO = 227,
    HOTKEY_REDO = 228,
    HOTKEY_SAVE = 229,
    HOTKEY_LAST = 229,
};

// The main window: a frameless window that paints its own title strip, toolbar band and panel
// background, moves when dragged by its surface, resizes from a 10-pixel border and is maximised by
// the platform. It holds the two left-hand panels, switched by two tab buttons, and the canvas, kept
// at the card's aspect ratio inside the dark canvas area. Its buttons and hot keys run the document
// commands.
class CPalenkoDlg : public QDialog {
    Q_OBJECT

public:
    // pPrompts, when given, answers every question in place of the user and must outlive the window.
    // Every data path (settings, skins, templates, help, log folder) is built on strAppDir.
    explicit CPalenkoDlg(CPalenkoApp& app, CShellPrompts* pPrompts = nullptr, const QString& strAppDir = GetAppDir());
    ~CPalenkoDlg() override;

    // Layout.
    // Gives the buttons their skins and places, the panels and the canvas their first places.
    void LayoutControls();
    // Fits the canvas to the card's aspect ratio inside the canvas area. With bShow the canvas is shown
    // and repainted; otherwise its objects are rescaled to the new size.
    void PlaceCanvas(int bShow);
    // Places everything that depends on the client size, after a size change.
    void Relayout();
    // Shows the image panel (1) or the text panel (2) and presses its tab.
    void SwitchPanel(int nPanel);
    // Edge code of a point on the resize border: 1 top-left, 2 top, 3 top-right, 4 right,
    // 5 bottom-right, 6 bottom, 7 bottom-left, 8 left.
    int HitEdge(int x, int y) const;
    void SetEdgeCursor(int nEdge);
    // Moves the sides named by m_nEdge to the client point; nothing happens when the window would be
    // smaller than 700 x 600.
    void ResizeTo(QPoint ptClient);
    // Asks the platform to maximise the window, or to restore it when it is maximised.
    void ToggleMaximize();
    // A double-click in the title strip (x from 10 to W - 10, y from 0 to 30) toggles maximising.
    void OnLButtonDblClk(QPoint ptClient);

    // The text of the title strip: "Velomira - card.plk(*)".
    QString TitleText() const;
    // The main window's own drawing, on a picture of the client size at the device pixel ratio, see-through
    // outside the window's rounded shape.
    QImage RenderWindow(qreal dRatio = 1.0) const;
    // The window's shape for a client size: the client rectangle with rounded, anti-aliased corners.
    static QPainterPath WindowShape(QSize szClient);
    // The program's icon in every size the program folder holds.
    static QIcon AppIcon(const QString& strAppDir);
    // Puts the window in the middle of its screen's work area (where the platform lets a window place
    // itself).
    void CentreOnScreen();
    // Shows the window, first centred, and runs until it is closed; its result. The window is an ordinary top-level
    // window: a modal one would be marked so for the window manager.
    int Run();

    // Commands.
    void OnNew();
    void OnOpen();
    void OnSave();
    void OnUndo();
    void OnRedo();
    // The card alone on the screen that holds the window; one preview window at a time.
    void OnPreview();
    // The print dialog, with a snapshot of the card at its own size for its preview.
    void OnPrint();
    // The export dialog for the card at its own size.
    void OnExport();
    void OnHelp();
    void OnHelpCommand(int nCommand);
    // Opens the page or folder in the desktop's program for it, or says which one could not be opened.
    void OpenOrSay(const QUrl& url, const QString& strWhat);
    void OnMinimize();
    // Closes the window with nResult after the save prompt, writing the settings and the quit line.
    void OnClose(int nResult);
    // The template timer: the chooser at start-up.
    void OnTemplateTimer();
    // The session ends (the process was asked to stop): the settings are written and the quit line
    // logged as on Close, without asking anything; a card with unsaved changes is kept in the
    // autosave copy, written before the window closes.
    void OnSessionEnd();
    // Has the autosave copy of a card with unsaved changes written in the background (3 s after the
    // last edit, and when the program loses the focus).
    void OnAutoSaveTimer();
    // At start-up: offers each card an instance left unsaved when it ended without closing. Recover
    // opens it as a modified card that belongs to the file it belonged to then (unnamed when it had
    // none); Discard deletes it. True when a card was recovered.
    bool OfferRecovery();

    // The save prompt: true to go on. Yes goes on only when the card was saved.
    bool AskSaveChanges();
    // Runs the chooser and loads the chosen template, or has it open a recent project. At start-up the
    // card is not cleared first.
    bool OpenTemplateChooser(bool bStartup);
    // Saves the card to m_strCurrentFile, asking for a file when there is none or its folder has
    // gone. False when the dialog was cancelled or the file could not be written (which is
    // reported); the card then stays modified and keeps its file name.
    bool SaveProject();
    // Replaces the card by the project file's content, or reports why the file did not open ("The
    // file could not be found: card.plk", "File is corrupted!") and keeps the card. An opened file
    // goes first in the recent projects when bRecent is set (an autosave copy does not).
    bool OpenProject(const QString& strPath, bool bRecent = true);
    // Reads the template named by g_strTemplateXml and puts it on the card, cleared first when
    // bClear is set. A template that cannot be read is reported and leaves the card as it was.
    bool LoadTemplate(int bClear);
    // Reads a template or a project and puts it on the canvas, cleared first when bClear is set;
    // listMissing receives the pictures it names that are not there. A card that cannot be read is
    // reported and leaves the canvas as it was.
    bool OpenCard(const QString& strPath, bool bClear, QStringList& listMissing);
    // Drops the half-placed card and says that memory ran out; false.
    bool OutOfMemoryOpening();
    // Puts a card read from its file on the canvas, which the caller cleared when needed: the card
    // takes the loaded card's size, the canvas is placed and shown, and the card is placed on it.
    void SetCardBackground(LoadedCard&& card);
    // Tells the user once which pictures of the card just opened are missing; at start-up, once the
    // window shows.
    void ReportMissingPictures(const QStringList& listMissing);

    // Custom messages.
    void OnUndoState(qintptr nCurrent, qintptr nLast);
    void OnDocChanged();
    void OnCanvasSelect(qintptr nKind);
    void EnableHotKeys(bool bEnable);
    void OnHotKey(int nId);

    // The button with the control id, or null.
    CButtonX* Button(int nId) const;

    CPalenkoApp& m_app;
    std::unique_ptr<CFullDlg> m_pFullDlg;
    CateImage* m_pCateImage = nullptr;
    CateText* m_pCateText = nullptr;
    QPoint m_ptPanelOrigin {10, 132};
    Canvas* m_pCanvas = nullptr;
    QRect m_rcCanvasArea;
    QPoint m_ptAreaOrigin {210, 100};
    int m_nCardWidth = 0;
    int m_nCardHeight = 0;
    QRect m_rcNormal;
    int m_bMaximized = 0;
    int m_bResizing = 0;
    int m_nEdge = -1;
    int m_nPanel = 0;
    int m_nBorder = 10;
    int m_nMoveCount = 8;
    int m_nMoveStep = 8;

    CButtonX* m_btnNew = nullptr;
    CButtonX* m_btnOpen = nullptr;
    CButtonX* m_btnSave = nullptr;
    CButtonX* m_btnUndo = nullptr;
    CButtonX* m_btnRedo = nullptr;
    CButtonX* m_btnPreview = nullptr;
    CButtonX* m_btnPrint = nullptr;
    CButtonX* m_btnExport = nullptr;
    CButtonX* m_btnHelp = nullptr;
    CButtonX* m_btnMin = nullptr;
    CButtonX* m_btnMax = nullptr;
    CButtonX* m_btnClose = nullptr;
    CButtonX* m_btnCateImage = nullptr;
    CButtonX* m_btnCateText = nullptr;

    // The editing hot keys in id order, from HOTKEY_FIRST.
    std::vector<QShortcut*> m_vecHotKeys;
    // The keys of New, Open, Preview, Print and Export.
    std::vector<QShortcut*> m_vecCommandKeys;
    // Timer 302: opens the template chooser 100 ms after start-up.
    QTimer m_templateTimer;
    // The copy of the card kept while it has unsaved changes, and the timer that writes it.
    std::unique_ptr<CAutoSave> m_pAutoSave;
    QTimer m_autoSaveTimer;
    // The projects saved or opened last, which the chooser offers under "Recent".
    CRecentCards m_recent;

    // QDialog
    void reject() override;

protected:
    // QWidget events
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void moveEvent(QMoveEvent* pEvent) override;
    void showEvent(QShowEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void OnInitDialog();
    // A skinned button with its dialog text and a tool tip.
    CButtonX* AddButton(int nId, const QString& strText, const QString& strTip);
    // The editing hot keys, and keys for the other toolbar commands, named in the buttons' tool tips.
    void CreateHotKeys();
    void OnFocusChanged(QWidget* pNow);
    void SetModified();
    void RepaintTitle();
    QString SkinPath(const QString& strFile) const;
    QMessageBox::StandardButton Message(
        const QString& strText, QMessageBox::StandardButtons buttons, QMessageBox::Icon icon);
    // Writes the settings and the quit line and ends the window with nResult; the autosave copy goes
    // unless bKeepCopy is set.
    void Finish(int nResult, bool bKeepCopy = false);
    // The card is the content of the file at strPath: named in the title, Save disabled.
    void MarkUnmodified(const QString& strPath);

    CShellPrompts* m_pPrompts;
    std::unique_ptr<CShellPrompts> m_pOwnPrompts;
    QString m_strAppDir;
    std::vector<std::pair<int, CButtonX*>> m_vecButtons;
    // The skin pictures of the window's own drawing, read once: every resize step repaints the window.
    SkinPicture m_imgIcon;
    SkinPicture m_imgBandCentre;
    SkinPicture m_imgBandLeft;
    SkinPicture m_imgBandRight;
    SkinPicture m_imgDivider;
    // Moving by the surface where the platform cannot move the window itself.
    int m_bDragging = 0;
    QPoint m_ptDragOffset;
    // The autosave copy outlives the window only when the session ended with unsaved changes.
    bool m_bKeepAutoSave = false;
};
