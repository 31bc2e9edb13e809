#include "shell/palenkodlg.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

#include "canvas/canvas.h"
#include "dialogs/fulldlg.h"
#include "panels/cateimage.h"
#include "panels/catetext.h"
#include "platform/applog.h"
#include "platform/fitrect.h"
#include "platform/imageio.h"
#include "platform/messages.h"
#include "platform/pictureext.h"
#include "platform/quality.h"
#include "session/autosave.h"
#include "session/settings.h"
#include "session/version.h"
#include "shell/palenkoapp.h"
#include "shell/windowgeometry.h"
#include "shell/windowshape.h"
#include "widgets/buttonx.h"

namespace {

constexpr QRgb kTitleColour = 0xFF706D73;
constexpr QRgb kPanelColour = 0xFFEFEFF1;
constexpr QRgb kCanvasAreaColour = 0xFF444343;

// Radius of the window's rounded corners.
constexpr qreal kCornerRadius = 5;

// The sides of the window an edge code names.
Qt::Edges EdgesOf(int nEdge)
{
    switch (nEdge) {
    case 1:
        return Qt::TopEdge | Qt::LeftEdge;
    case 2:
        return Qt::TopEdge;
    case 3:
        return Qt::TopEdge | Qt::RightEdge;
    case 4:
        return Qt::RightEdge;
    case 5:
        return Qt::BottomEdge | Qt::RightEdge;
    case 6:
        return Qt::BottomEdge;
    case 7:
        return Qt::BottomEdge | Qt::LeftEdge;
    default:
        return Qt::LeftEdge;
    }
}

// "Undo (Ctrl+Z)": a tool tip that names the command's key as the desktop writes it.
QString ToolTipWithKey(const QString& strTip, const QKeySequence& key)
{
    return QStringLiteral("%1 (%2)").arg(strTip, key.toString(QKeySequence::NativeText));
}

// Draws the skin picture for the ratio into the rectangle; a missing picture draws nothing.
void DrawSkin(QPainter& painter, const SkinPicture& skin, qreal dRatio, const QRect& rcTarget)
{
    const QImage& picture = skin.ForRatio(dRatio);
    if (!picture.isNull())
        painter.drawImage(rcTarget, picture);
}

} // namespace

// ---- CPalenkoDlg: set-up and layout ---------------------------------------------------------------------

CPalenkoDlg::CPalenkoDlg(CPalenkoApp& app, CShellPrompts* pPrompts, const QString& strAppDir)
    : QDialog(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowMinimizeButtonHint | Qt::WindowSystemMenuHint)
    , m_app(app)
    , m_pPrompts(pPrompts)
    , m_strAppDir(strAppDir)
{
    if (!m_pPrompts) {
        m_pOwnPrompts = std::make_unique<CShellPrompts>();
        m_pPrompts = m_pOwnPrompts.get();
    }
    m_templateTimer.setSingleShot(true);
    m_templateTimer.setInterval(100);
    connect(&m_templateTimer, &QTimer::timeout, this, &CPalenkoDlg::OnTemplateTimer);
    m_autoSaveTimer.setSingleShot(true);
    // Written once the card has stayed unchanged this long: a killed process loses only these seconds.
    m_autoSaveTimer.setInterval(3000);
    connect(&m_autoSaveTimer, &QTimer::timeout, this, &CPalenkoDlg::OnAutoSaveTimer);
    OnInitDialog();
}

CPalenkoDlg::~CPalenkoDlg()
{
    // Hiding the window as it goes moves the focus: the application must no longer call back.
    disconnect(qApp, nullptr, this, nullptr);
    if (m_pAutoSave && !m_bKeepAutoSave)
        m_pAutoSave->Remove();
}

void CPalenkoDlg::OnInitDialog()
{
    m_imgIcon = SkinPicture(SkinPath(QStringLiteral("quillmere_icon.png")));
    setWindowIcon(AppIcon(m_strAppDir));
    m_imgBandCentre = SkinPicture(SkinPath(QStringLiteral("xcenter.png")));
    m_imgBandLeft = SkinPicture(SkinPath(QStringLiteral("xleft.png")));
    m_imgBandRight = SkinPicture(SkinPath(QStringLiteral("xright.png")));
    m_imgDivider = SkinPicture(SkinPath(QStringLiteral("xvline.png")));
    // The rounded corners are painted, anti-aliased, on a see-through window: a window mask can only
    // cut whole pixels, so one is set only where the desktop would show the corners black.
    setAttribute(Qt::WA_TranslucentBackground);
    setMouseTracking(true);
    setMinimumSize(kMinWidth, kMinHeight);
    setGeometry(0, 0, 960, 700);
    setWindowTitle(QStringLiteral("Velomira"));

    LoadSettings(GetConfigPath(m_strAppDir));

    m_btnNew = AddButton(IDC_BTN_NEW, QStringLiteral("New"), QStringLiteral("New card from a template"));
    m_btnOpen = AddButton(IDC_BTN_OPEN, QStringLiteral("Open"), QStringLiteral("Open a saved card"));
    m_btnSave = AddButton(IDC_BTN_SAVE, QStringLiteral("Save"), QStringLiteral("Save the card"));
    m_btnUndo = AddButton(IDC_BTN_UNDO, QStringLiteral("Undo"), QStringLiteral("Undo"));
    m_btnRedo = AddButton(IDC_BTN_REDO, QStringLiteral("Redo"), QStringLiteral("Redo"));
    m_btnPreview = AddButton(IDC_BTN_PREVIEW, QStringLiteral("Preview"), QStringLiteral("Preview"));
    m_btnPrint = AddButton(IDC_BTN_PRINT, QStringLiteral("Print"), QStringLiteral("Print"));
    m_btnExport = AddButton(IDC_BTN_EXPORT, QStringLiteral("Export"), QStringLiteral("Export as a picture"));
    m_btnHelp = AddButton(IDC_BTN_HELP, QStringLiteral("H"), QStringLiteral("Help"));
    m_btnMin = AddButton(IDC_BTN_MIN, QStringLiteral("--"), QStringLiteral("Minimize"));
    m_btnMax = AddButton(IDC_BTN_MAX, QStringLiteral("+"), QStringLiteral("Maximize or restore"));
    m_btnClose = AddButton(IDC_BTN_CLOSE, QStringLiteral("X"), QStringLiteral("Close"));
    m_btnCateImage = AddButton(IDC_BTN_CATE_IMAGE, QStringLiteral("Image"), QString());
    m_btnCateText = AddButton(IDC_BTN_CATE_TEXT, QStringLiteral("Text"), QString());

    connect(m_btnNew, &QAbstractButton::clicked, this, &CPalenkoDlg::OnNew);
    connect(m_btnOpen, &QAbstractButton::clicked, this, &CPalenkoDlg::OnOpen);
    connect(m_btnSave, &QAbstractButton::clicked, this, &CPalenkoDlg::OnSave);
    connect(m_btnUndo, &QAbstractButton::clicked, this, &CPalenkoDlg::OnUndo);
    connect(m_btnRedo, &QAbstractButton::clicked, this, &CPalenkoDlg::OnRedo);
    connect(m_btnPreview, &QAbstractButton::clicked, this, &CPalenkoDlg::OnPreview);
    connect(m_btnPrint, &QAbstractButton::clicked, this, &CPalenkoDlg::OnPrint);
    connect(m_btnExport, &QAbstractButton::clicked, this, &CPalenkoDlg::OnExport);
    connect(m_btnHelp, &QAbstractButton::clicked, this, &CPalenkoDlg::OnHelp);
    connect(m_btnMin, &QAbstractButton::clicked, this, &CPalenkoDlg::OnMinimize);
    connect(m_btnMax, &QAbstractButton::clicked, this, &CPalenkoDlg::ToggleMaximize);
    connect(m_btnClose, &QAbstractButton::clicked, this, [this] { OnClose(QDialog::Accepted); });
    connect(m_btnCateImage, &QAbstractButton::clicked, this, [this] {
        if (m_nPanel != 1)
            SwitchPanel(1);
    });
    connect(m_btnCateText, &QAbstractButton::clicked, this, [this] {
        if (m_nPanel != 2)
            SwitchPanel(2);
    });

    m_btnUndo->EnableButton(false);
    m_btnRedo->EnableButton(false);
    // The full preview, printing and export wait for a card.
    m_btnPreview->EnableButton(false);
    m_btnPrint->EnableButton(false);
    m_btnExport->EnableButton(false);

    m_pCateImage = new CateImage(m_strAppDir, this);
    // A press on a panel is the panel's, never a drag of the window.
    m_pCateImage->setAttribute(Qt::WA_NoMousePropagation);
    m_pCateText = new CateText(this, m_strAppDir);
    m_pCanvas = new Canvas(this);
    m_pCanvas->hide();
    m_pCanvas->m_fnPickPhoto = [this] { return m_pPrompts->GetOpenFileName(this, PictureFileFilter()); };
    g_pCanvas = m_pCanvas;

    LayoutControls();
    SwitchPanel(1);
    m_btnSave->EnableButton(false);
    CreateHotKeys();
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
        if (state != Qt::ApplicationActive) {
            EnableHotKeys(false);
            OnAutoSaveTimer();
        }
    });

    m_pAutoSave = std::make_unique<CAutoSave>();
    // A card left unsaved by an instance that ended without closing comes first. A project named on
    // the command line that cannot be opened leaves the program as if started without one: the
    // template chooser follows.
    if (!OfferRecovery() && (m_app.m_strCurrentFile.isEmpty() || !OpenProject(m_app.m_strCurrentFile))) {
        m_app.m_strCurrentFile.clear();
        m_templateTimer.start();
    }

    WriteLog(QStringLiteral("Start Velomira %1").arg(GetFileVersionText()));
}

QIcon CPalenkoDlg::AppIcon(const QString& strAppDir)
{
    QIcon icon;
    for (const int nSize : kIconSizes) {
        const QImage picture = ReadPicture(AppIconPath(strAppDir + QStringLiteral("Icons/"), nSize));
        if (!picture.isNull())
            icon.addPixmap(QPixmap::fromImage(picture));
    }
    return icon;
}

void CPalenkoDlg::CentreOnScreen()
{
    if (const QScreen* pScreen = screen())
        move(CentredWindowPos(frameGeometry().size(), pScreen->availableGeometry()));
}

int CPalenkoDlg::Run()
{
    QEventLoop loop;
    connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    CentreOnScreen();
    show();
    loop.exec();
    return result();
}

CButtonX* CPalenkoDlg::AddButton(int nId, const QString& strText, const QString& strTip)
{
    auto* pButton = new CButtonX(this);
    pButton->setText(strText);
    pButton->setToolTip(strTip);
    pButton->setFocusPolicy(Qt::NoFocus);
    m_vecButtons.emplace_back(nId, pButton);
    return pButton;
}

void CPalenkoDlg::CreateHotKeys()
{
    struct HotKey {
        int nId;
        QList<QKeySequence> keys;
        bool bRepeat;
    };
    // Redo answers Ctrl+Y as well: Linux desktops use both.
    const HotKey table[] = {
        {HOTKEY_LEFT, {QKeySequence(Qt::Key_Left)}, true},
        {HOTKEY_UP, {QKeySequence(Qt::Key_Up)}, true},
        {HOTKEY_RIGHT, {QKeySequence(Qt::Key_Right)}, true},
        {HOTKEY_DOWN, {QKeySequence(Qt::Key_Down)}, true},
        {HOTKEY_DELETE, {QKeySequence(Qt::Key_Delete)}, true},
        {HOTKEY_UNDO, {QKeySequence(Qt::CTRL | Qt::Key_Z)}, false},
        {HOTKEY_REDO, {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}, false},
        {HOTKEY_SAVE, {QKeySequence(Qt::CTRL | Qt::Key_S)}, false},
    };
    for (const HotKey& hotKey : table) {
        auto* pShortcut = new QShortcut(this);
        pShortcut->setKeys(hotKey.keys);
        pShortcut->setContext(Qt::WindowShortcut);
        pShortcut->setAutoRepeat(hotKey.bRepeat);
        // The editing keys wait for the canvas; the commands work from anywhere in the window.
        pShortcut->setEnabled(hotKey.nId > HOTKEY_DELETE);
        const int nId = hotKey.nId;
        connect(pShortcut, &QShortcut::activated, this, [this, nId] { OnHotKey(nId); });
        m_vecHotKeys.push_back(pShortcut);
    }
    // The other toolbar commands have the keys desktop programs give them.
    const std::pair<CButtonX*, QKeySequence> commands[] = {
        {m_btnNew, QKeySequence(Qt::CTRL | Qt::Key_N)},
        {m_btnOpen, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {m_btnPreview, QKeySequence(Qt::Key_F11)},
        {m_btnPrint, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {m_btnExport, QKeySequence(Qt::CTRL | Qt::Key_E)},
    };
    for (const auto& [pButton, key] : commands) {
        auto* pShortcut = new QShortcut(key, this);
        pShortcut->setContext(Qt::WindowShortcut);
        pShortcut->setAutoRepeat(false);
        // A command whose button is disabled (Print without a card) waits like its button.
        connect(pShortcut, &QShortcut::activated, pButton, [pButton] {
            if (pButton->isEnabled())
                pButton->click();
        });
        pButton->setToolTip(ToolTipWithKey(pButton->toolTip(), key));
        m_vecCommandKeys.push_back(pShortcut);
    }
    m_btnUndo->setToolTip(ToolTipWithKey(m_btnUndo->toolTip(), m_vecHotKeys[HOTKEY_UNDO - HOTKEY_FIRST]->key()));
    m_btnRedo->setToolTip(ToolTipWithKey(m_btnRedo->toolTip(), m_vecHotKeys[HOTKEY_REDO - HOTKEY_FIRST]->key()));
    m_btnSave->setToolTip(ToolTipWithKey(m_btnSave->toolTip(), m_vecHotKeys[HOTKEY_SAVE - HOTKEY_FIRST]->key()));
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* pNow) { OnFocusChanged(pNow); });
}

void CPalenkoDlg::OnFocusChanged(QWidget* pNow)
{
    // While the user types in the text box, the keyboard is the text box's: its own undo and redo,
    // and no command that would close the text it is editing.
    const bool bTyping = pNow && m_pCateText && pNow == m_pCateText->m_editText;
    for (int nId = HOTKEY_UNDO; nId <= HOTKEY_SAVE; ++nId)
        m_vecHotKeys[size_t(nId - HOTKEY_FIRST)]->setEnabled(!bTyping);
    for (QShortcut* pShortcut : m_vecCommandKeys)
        pShortcut->setEnabled(!bTyping);
}

QString CPalenkoDlg::SkinPath(const QString& strFile) const
{
    return m_strAppDir + QStringLiteral("Skins/") + strFile;
}

CButtonX* CPalenkoDlg::Button(int nId) const
{
    for (const auto& [nButtonId, pButton] : m_vecButtons) {
        if (nButtonId == nId)
            return pButton;
    }
    return nullptr;
}

void CPalenkoDlg::LayoutControls()
{
    const MainLayout layout = MainLayoutFor(size());
    for (const MainButtonPlace& place : layout.buttons) {
        CButtonX* pButton = Button(place.nId);
        pButton->SetSkin(SkinPath(QLatin1String(place.pszSkin)));
        pButton->setGeometry(place.rc);
    }
    m_btnCateImage->m_bLatch = 1;
    m_btnCateText->m_bLatch = 1;

    m_ptPanelOrigin = layout.rcPanel.topLeft();
    m_pCateImage->setGeometry(layout.rcPanel);
    m_pCateText->setGeometry(layout.rcPanel);

    m_ptAreaOrigin = layout.rcCanvasArea.topLeft();
    m_rcCanvasArea = layout.rcCanvasArea;
    m_pCanvas->setGeometry(m_rcCanvasArea);
    m_pCanvas->SetFloatBarArea(m_rcCanvasArea);
}

void CPalenkoDlg::PlaceCanvas(int bShow)
{
    const FitResult fit
        = FitRect(m_nCardWidth, m_nCardHeight, m_rcCanvasArea.width() - 20, m_rcCanvasArea.height() - 20);
    m_pCanvas->setGeometry(
        m_rcCanvasArea.left() + fit.left + 10, m_rcCanvasArea.top() + fit.top + 10, fit.width(), fit.height());
    if (bShow) {
        m_pCanvas->show();
        m_pCanvas->update();
    } else {
        m_pCanvas->RescaleToClient();
    }
}

void CPalenkoDlg::Relayout()
{
    // Resizes during set-up come before the controls exist.
    if (m_pCanvas) {
        const MainLayout layout = MainLayoutFor(size());
        for (const MainButtonPlace& place : layout.buttons)
            Button(place.nId)->setGeometry(place.rc);
        m_pCateImage->setGeometry(layout.rcPanel);
        m_pCateText->setGeometry(layout.rcPanel);
        m_rcCanvasArea = layout.rcCanvasArea;
        m_pCanvas->SetFloatBarArea(m_rcCanvasArea);
        PlaceCanvas(0);
        m_pCanvas->PlaceFloatBar();
    }
    update();
}

void CPalenkoDlg::SwitchPanel(int nPanel)
{
    m_pCateImage->hide();
    m_pCateText->hide();
    if (nPanel == 1) {
        m_pCateImage->show();
        m_btnCateImage->m_bPressed = 1;
        m_btnCateText->m_bPressed = 0;
    } else if (nPanel == 2) {
        if (m_nPanel == 1 && !g_pCurrentText) {
            m_pCateText->ShowTextControls(0);
            m_pCateText->SyncFromText(true);
        }
        m_pCateText->show();
        m_btnCateImage->m_bPressed = 0;
        m_btnCateText->m_bPressed = 1;
    }
    m_btnCateImage->update();
    m_btnCateText->update();
    m_nPanel = nPanel;
}

QPainterPath CPalenkoDlg::WindowShape(QSize szClient)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(QPointF(0, 0), QSizeF(szClient)), kCornerRadius, kCornerRadius);
    return path;
}

QString CPalenkoDlg::TitleText() const
{
    QString strTitle = QStringLiteral("Velomira");
    if (m_app.m_strCurrentFile.isEmpty())
        strTitle += QStringLiteral(" - Untitled.plk");
    else
        strTitle += QStringLiteral(" - ") + QFileInfo(m_app.m_strCurrentFile).fileName();
    if (m_pCanvas && m_pCanvas->m_bModified)
        strTitle += QStringLiteral("(*)");
    return strTitle;
}

QImage CPalenkoDlg::RenderWindow(qreal dRatio) const
{
    const int W = width();
    const int H = height();
    QImage buffer = NewBackBuffer(size(), dRatio);
    if (buffer.isNull())
        return buffer;
    buffer.fill(QColor::fromRgba(kTitleColour));
    QPainter painter(&buffer);
    ApplyQuality(painter);

    DrawSkin(painter, m_imgIcon, dRatio, QRect(3, 3, 24, 24));
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(14);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(30, 7, 500, 32), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, TitleText());

    DrawSkin(painter, m_imgBandCentre, dRatio, QRect(0, 30, W, 100));
    DrawSkin(painter, m_imgBandLeft, dRatio, QRect(0, 30, 500, 100));
    DrawSkin(painter, m_imgBandRight, dRatio, QRect(W - 100, 30, 100, 100));
    // The panel colour covers the lower part of the band pictures: the band shows from y 30 to 90.
    painter.fillRect(QRect(0, 90, W, H - 90), QColor::fromRgba(kPanelColour));
    painter.fillRect(m_rcCanvasArea, QColor::fromRgba(kCanvasAreaColour));
    DrawSkin(painter, m_imgDivider, dRatio, QRect(195, 90, 10, H - 90));

    // The corners outside the rounded shape become see-through; the anti-aliased edge of the shape
    // leaves them partly covered.
    QPainterPath corners;
    corners.addRect(QRectF(0, 0, W, H));
    corners = corners.subtracted(WindowShape(size()));
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(corners, Qt::black);
    return buffer;
}

// ---- Moving, resizing, maximising -----------------------------------------------------------------------

int CPalenkoDlg::HitEdge(int x, int y) const
{
    return ::HitEdge(x, y, width(), height(), m_nBorder);
}

void CPalenkoDlg::SetEdgeCursor(int nEdge)
{
    switch (nEdge) {
    case 2:
    case 6:
        setCursor(Qt::SizeVerCursor);
        break;
    case 4:
    case 8:
        setCursor(Qt::SizeHorCursor);
        break;
    case 1:
    case 5:
        setCursor(Qt::SizeFDiagCursor);
        break;
    case 3:
    case 7:
        setCursor(Qt::SizeBDiagCursor);
        break;
    default:
        unsetCursor();
        break;
    }
}

void CPalenkoDlg::ResizeTo(QPoint ptClient)
{
    const std::optional<QRect> rcResized
        = ResizedWindowRect(geometry(), m_nEdge, mapToGlobal(ptClient), QSize(kMinWidth, kMinHeight));
    if (!rcResized)
        return;
    m_rcNormal = *rcResized;
    setGeometry(m_rcNormal);
}

void CPalenkoDlg::ToggleMaximize()
{
    // The platform maximises and restores: a Wayland window cannot place itself, and only the window
    // manager knows the work area. m_bMaximized follows the state the platform reports.
    if (windowState() & Qt::WindowMaximized)
        showNormal();
    else
        showMaximized();
}

void CPalenkoDlg::OnLButtonDblClk(QPoint ptClient)
{
    const int W = width();
    if (ptClient.x() >= 10 && ptClient.x() <= W - 10 && ptClient.y() >= 0 && ptClient.y() <= kTitleHeight)
        ToggleMaximize();
}

// ---- Messages from the canvas and the undo history ------------------------------------------------------

void CPalenkoDlg::SetModified()
{
    // Every change starts the autosave clock again: the copy is written when editing pauses.
    m_autoSaveTimer.start();
    if (m_pCanvas->m_bModified)
        return;
    m_pCanvas->m_bModified = 1;
    m_btnSave->EnableButton(true);
    RepaintTitle();
}

void CPalenkoDlg::RepaintTitle()
{
    update(0, 0, width(), kTitleHeight);
}

void CPalenkoDlg::OnUndoState(qintptr nCurrent, qintptr nLast)
{
    if (m_pFullDlg)
        m_pFullDlg->Invalidate();
    m_btnUndo->EnableButton(nCurrent >= 0);
    m_btnRedo->EnableButton(nCurrent != nLast);
    SetModified();
}

void CPalenkoDlg::OnDocChanged()
{
    if (m_pFullDlg)
        m_pFullDlg->Invalidate();
    SetModified();
}

void CPalenkoDlg::OnCanvasSelect(qintptr nKind)
{
    switch (nKind) {
    case 0:
        if (m_nPanel == 2) {
            g_pCurrentText = nullptr;
            m_pCateText->ShowTextControls(0);
        }
        break;
    case 1:
        g_pCurrentText = m_pCanvas->m_doc.SelectedObject();
        if (m_nPanel == 1) {
            m_nPanel = 2;
            SwitchPanel(2);
        }
        m_pCateText->ShowTextControls(1);
        m_pCateText->SyncFromText(false);
        break;
    case 2:
        g_pCurrentText = nullptr;
        if (m_nPanel != 1)
            SwitchPanel(1);
        break;
    default:
        break;
    }
}

void CPalenkoDlg::EnableHotKeys(bool bEnable)
{
    // The arrows and Delete act on the card only while the canvas holds them: the lists, the tree and
    // the text box use them too.
    for (int nId = HOTKEY_LEFT; nId <= HOTKEY_DELETE; ++nId)
        m_vecHotKeys[size_t(nId - HOTKEY_FIRST)]->setEnabled(bEnable);
}

void CPalenkoDlg::OnHotKey(int nId)
{
    switch (nId) {
    case HOTKEY_LEFT:
    case HOTKEY_UP:
    case HOTKEY_RIGHT:
    case HOTKEY_DOWN:
        m_pCanvas->NudgeSelection(nId - HOTKEY_LEFT + 1);
        break;
    case HOTKEY_DELETE:
        if (m_pCanvas->m_doc.m_nSelected != -1)
            m_pCanvas->NudgeSelection(5);
        break;
    case HOTKEY_UNDO:
        OnUndo();
        break;
    case HOTKEY_REDO:
        OnRedo();
        break;
    case HOTKEY_SAVE:
        OnSave();
        break;
    default:
        break;
    }
}

// ---- QWidget events ---------------------------------------------------------------------------------------

bool CPalenkoDlg::event(QEvent* pEvent)
{
    const int nType = int(pEvent->type());
    if (nType == WM_UNDOSTATE || nType == WM_DOCCHANGED || nType == WM_CANVAS_SELECT || nType == WM_CANVAS_HOTKEYS) {
        auto* pMessage = static_cast<AppMessage*>(pEvent);
        if (nType == WM_UNDOSTATE)
            OnUndoState(pMessage->m_wParam, pMessage->m_lParam);
        else if (nType == WM_DOCCHANGED)
            OnDocChanged();
        else if (nType == WM_CANVAS_SELECT)
            OnCanvasSelect(pMessage->m_lParam);
        else
            EnableHotKeys(pMessage->m_lParam != 0);
        pMessage->m_nResult = 0;
        return true;
    }
    return QDialog::event(pEvent);
}

void CPalenkoDlg::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The corners outside the shape must become see-through, not keep what was there.
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, RenderWindow(devicePixelRatioF()));
}

void CPalenkoDlg::changeEvent(QEvent* pEvent)
{
    QDialog::changeEvent(pEvent);
    if (pEvent->type() == QEvent::WindowStateChange)
        m_bMaximized = (windowState() & Qt::WindowMaximized) ? 1 : 0;
}

void CPalenkoDlg::resizeEvent(QResizeEvent* pEvent)
{
    QDialog::resizeEvent(pEvent);
    // A resize by the window manager is remembered as the normal size, as one by the border is.
    if (!m_bMaximized && !isMaximized() && !isMinimized())
        m_rcNormal = geometry();
    if (!isMinimized() && width() > 0 && height() > 0) {
        Relayout();
        ApplyWindowShape(this, WindowShape(size()));
    }
}

void CPalenkoDlg::moveEvent(QMoveEvent* pEvent)
{
    QDialog::moveEvent(pEvent);
    if (!m_bMaximized && !isMaximized() && !isMinimized())
        m_rcNormal = geometry();
}

void CPalenkoDlg::showEvent(QShowEvent* pEvent)
{
    if (!m_bMaximized)
        m_rcNormal = geometry();
    ApplyWindowShape(this, WindowShape(size()));
    QDialog::showEvent(pEvent);
}

void CPalenkoDlg::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QDialog::mousePressEvent(pEvent);
        return;
    }
    m_pCanvas->Deselect();
    if (m_bMaximized)
        return;
    const QPoint pt = pEvent->position().toPoint();
    const int b = m_nBorder;
    if (rect().adjusted(b, b, -b, -b).contains(pt)) {
        // The window moves once the pointer has really moved, so that a double-click stays a
        // double-click.
        m_bDragging = 1;
        m_ptDragOffset = pEvent->globalPosition().toPoint() - pos();
        return;
    }
    m_nEdge = HitEdge(pt.x(), pt.y());
    // The platform resizes the window where it can, keeping to the minimum size; otherwise the
    // window resizes itself as the pointer moves.
    if (windowHandle() && windowHandle()->startSystemResize(EdgesOf(m_nEdge))) {
        m_nEdge = -1;
        return;
    }
    m_bResizing = 1;
    SetEdgeCursor(m_nEdge);
}

void CPalenkoDlg::mouseMoveEvent(QMouseEvent* pEvent)
{
    const QPoint pt = pEvent->position().toPoint();
    const QPoint ptGlobal = pEvent->globalPosition().toPoint();
    if (m_bDragging) {
        if (m_bDragging == 1) {
            if ((ptGlobal - pos() - m_ptDragOffset).manhattanLength() < QApplication::startDragDistance())
                return;
            // The platform moves the window where it can; otherwise the window follows the pointer.
            if (windowHandle() && windowHandle()->startSystemMove()) {
                m_bDragging = 0;
                return;
            }
            m_bDragging = 2;
        }
        move(ptGlobal - m_ptDragOffset);
        return;
    }
    if (m_bResizing) {
        if (++m_nMoveCount > 100)
            m_nMoveCount = m_nMoveStep;
        if (m_nMoveCount % m_nMoveStep == 0)
            ResizeTo(pt);
        return;
    }
    if (m_bMaximized)
        return;
    if (!rect().adjusted(5, 5, -5, -5).contains(pt)) {
        m_nEdge = HitEdge(pt.x(), pt.y());
        SetEdgeCursor(m_nEdge);
    } else {
        unsetCursor();
    }
}

void CPalenkoDlg::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() != Qt::LeftButton) {
        QDialog::mouseReleaseEvent(pEvent);
        return;
    }
    m_bDragging = 0;
    if (m_bResizing) {
        // The last moves between two resize steps still count.
        ResizeTo(pEvent->position().toPoint());
        m_bResizing = 0;
        m_nEdge = -1;
    }
}

void CPalenkoDlg::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        OnLButtonDblClk(pEvent->position().toPoint());
}

void CPalenkoDlg::keyPressEvent(QKeyEvent* pEvent)
{
    // Close is the window's default command.
    if (pEvent->modifiers() == Qt::NoModifier || pEvent->modifiers() == Qt::KeypadModifier) {
        if (pEvent->key() == Qt::Key_Return || pEvent->key() == Qt::Key_Enter) {
            OnClose(QDialog::Accepted);
            return;
        }
    }
    QDialog::keyPressEvent(pEvent);
}
