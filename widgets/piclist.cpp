#include "widgets/piclist.h"

#include <algorithm>

#include <QDir>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/messages.h"

namespace {

constexpr int kPitch = 180;
constexpr int kCellSize = 170;
constexpr int kGap = 10;
constexpr int kColumns = 3;
constexpr int kVisibleRows = 3;
constexpr int kPageRows = 4;

// Shows the wait cursor for as long as it lives.
class WaitCursor {
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CPicList::CPicList(QWidget* pParent, const QString& strAppDir)
    : QAbstractScrollArea(pParent)
    , m_extensions({QStringLiteral("bmp"), QStringLiteral("jpeg"), QStringLiteral("jpg"), QStringLiteral("png"),
          QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("tiff")})
    , m_strSelectSkin(strAppDir + QStringLiteral("Skins/tempbk.png"))
{
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setFocusPolicy(Qt::StrongFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    QScrollBar* pBar = verticalScrollBar();
    pBar->setRange(0, 0);
    pBar->setSingleStep(1);
    pBar->setPageStep(kPageRows);
    connect(pBar, &QAbstractSlider::actionTriggered, this, [this] { setFocus(); });
}

CPicList::~CPicList() = default;

void CPicList::Create(const QRect& rc)
{
    setGeometry(rc);
    show();
}

void CPicList::ShowFolder(const QString& strPattern)
{
    if (strPattern.compare(m_strFolder, Qt::CaseInsensitive) == 0)
        return;
    RemoveAll();
    m_strFolder = strPattern;
    {
        const WaitCursor wait;
        const qsizetype nSlash = strPattern.lastIndexOf(QLatin1Char('/'));
        if (nSlash >= 0) {
            QString strWild = strPattern.mid(nSlash + 1);
            // "*.*" matches every name, also one without a dot.
            if (strWild == QLatin1String("*.*"))
                strWild = QStringLiteral("*");
            const QDir dir(strPattern.left(nSlash + 1));
            const QFileInfoList files
                = dir.entryInfoList({strWild}, QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
            for (const QFileInfo& file : files)
                AddPicture(file.absoluteFilePath());
        }
    }
    viewport()->update();
}

void CPicList::ShowPictures(const QStringList& pictures)
{
    RemoveAll();
    // No folder is shown: the next ShowFolder fills the list whatever it showed before.
    m_strFolder.clear();
    for (const QString& strPath : pictures)
        AddPicture(strPath);
    viewport()->update();
}

bool CPicList::AddPicture(const QString& strPath)
{
    if (!IsPictureFile(strPath))
        return false;
    CImgCtrl* pCell;
    if (m_nUsed < int(m_cells.size())) {
        pCell = m_cells[m_nUsed];
        pCell->m_bFree = false;
    } else {
        pCell = new CImgCtrl(&m_thumbnails, m_strSelectSkin, viewport());
        pCell->setGeometry(NextCellRect());
        pCell->m_nItem = int(m_cells.size());
        m_cells.push_back(pCell);
    }
    pCell->SetPicture(strPath);
    ++m_nUsed;
    pCell->show();
    UpdateScrollRange();
    return true;
}

bool CPicList::IsPictureFile(const QString& strPath) const
{
    const qsizetype nDot = strPath.lastIndexOf(QLatin1Char('.'));
    if (nDot < 1)
        return false;
    const QStringView ext = QStringView(strPath).mid(nDot + 1);
    return std::any_of(m_extensions.cbegin(), m_extensions.cend(),
        [&](const QString& strExt) { return ext.compare(strExt, Qt::CaseInsensitive) == 0; });
}

void CPicList::RemoveAll()
{
    for (int i = 0; i < m_nUsed; ++i) {
        CImgCtrl* pCell = m_cells[i];
        pCell->m_bFree = true;
        pCell->SetPicture(QString());
        pCell->hide();
    }
    m_nUsed = 0;
    // Every job still queued is for a picture that is no longer shown.
    m_thumbnails.DropQueued();
    ClearSelection();
    // The empty range takes the view back to the top, moving the cells with it.
    UpdateScrollRange();
    viewport()->update();
}

void CPicList::ClearSelection()
{
    if (m_pCurrent) {
        m_pCurrent->m_bSelected = false;
        m_pCurrent->update();
        m_pCurrent = nullptr;
    }
    for (CImgCtrl* pCell : m_allSelected) {
        pCell->m_bSelected = false;
        pCell->update();
    }
    m_allSelected.clear();
}

void CPicList::SelectCell(int nIndex)
{
    if (nIndex < 0 || nIndex >= m_nUsed)
        return;
    MakeCurrent(m_cells[nIndex]);
    viewport()->update();
}

void CPicList::SelectAll()
{
    ClearSelection();
    for (int i = 0; i < m_nUsed; ++i) {
        CImgCtrl* pCell = m_cells[i];
        pCell->m_bSelected = true;
        pCell->update();
        m_allSelected.push_back(pCell);
    }
}

int CPicList::UsedCount() const
{
    return m_nUsed;
}

QRect CPicList::NextCellRect() const
{
    const int i = m_nUsed;
    return QRect((i % kColumns) * kPitch + kGap, (i / kColumns - m_nScrolled) * kPitch + kGap, kCellSize, kCellSize);
}

int CPicList::Rows() const
{
    return (m_nUsed + kColumns - 1) / kColumns;
}

void CPicList::UpdateScrollRange()
{
    verticalScrollBar()->setRange(0, std::max(0, Rows() - kVisibleRows));
    update();
}

int CPicList::ScrollPos() const
{
    return verticalScrollBar()->value();
}

void CPicList::ScrollTo(int nPos)
{
    verticalScrollBar()->setValue(std::clamp(nPos, 0, std::max(0, Rows() - kVisibleRows)));
}

void CPicList::WaitForThumbnails()
{
    m_thumbnails.WaitForIdle();
}

void CPicList::scrollContentsBy(int, int)
{
    const int nPos = verticalScrollBar()->value();
    if (nPos == m_nScrolled)
        return;
    viewport()->scroll(0, (m_nScrolled - nPos) * kPitch);
    m_nScrolled = nPos;
}

bool CPicList::event(QEvent* pEvent)
{
    switch (int(pEvent->type())) {
    case WM_PICCELL_DOWN: {
        auto* pMsg = static_cast<AppMessage*>(pEvent);
        OnCellDown(int(pMsg->m_wParam), reinterpret_cast<CImgCtrl*>(pMsg->m_lParam));
        pMsg->m_nResult = 0;
        return true;
    }
    case WM_PICCELL_UP: {
        auto* pMsg = static_cast<AppMessage*>(pEvent);
        OnCellUp(reinterpret_cast<CImgCtrl*>(pMsg->m_lParam));
        pMsg->m_nResult = 0;
        return true;
    }
    case WM_PICLIST_NOP:
        static_cast<AppMessage*>(pEvent)->m_nResult = 0;
        return true;
    default:
        return QAbstractScrollArea::event(pEvent);
    }
}

void CPicList::OnCellDown(int nFlags, CImgCtrl* pCell)
{
    setFocus();
    // Only a plain left press selects; Ctrl or Shift held, or an already highlighted cell, change nothing.
    if (pCell && nFlags == 1 && !pCell->m_bSelected)
        MakeCurrent(pCell);
}

void CPicList::OnCellUp(CImgCtrl* pCell)
{
    // After select-all a plain click leaves just the clicked cell selected.
    if (pCell && !m_pCurrent && !m_allSelected.empty())
        MakeCurrent(pCell);
}

void CPicList::MakeCurrent(CImgCtrl* pCell)
{
    ClearSelection();
    pCell->m_bSelected = true;
    pCell->update();
    m_pCurrent = pCell;
}

void CPicList::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), QColor(240, 240, 240));
}

void CPicList::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        setFocus();
        ClearSelection();
    }
    pEvent->accept();
}

void CPicList::wheelEvent(QWheelEvent* pEvent)
{
    pEvent->accept();
    const int nDelta = pEvent->angleDelta().y();
    if (Rows() < kVisibleRows || nDelta == 0)
        return;
    // One wheel message moves exactly one row, whatever its size.
    ScrollTo(ScrollPos() + (nDelta > 0 ? -1 : 1));
}

void CPicList::keyPressEvent(QKeyEvent* pEvent)
{
    if (pEvent->key() == Qt::Key_A && (pEvent->modifiers() & Qt::ControlModifier)) {
        SelectAll();
        pEvent->accept();
        return;
    }
    if (pEvent->modifiers() & ~Qt::KeypadModifier) {
        QWidget::keyPressEvent(pEvent);
        return;
    }
    const int nCurrent = CurrentIndex();
    int nNext;
    switch (pEvent->key()) {
    case Qt::Key_Left:
        nNext = nCurrent - 1;
        break;
    case Qt::Key_Right:
        nNext = nCurrent + 1;
        break;
    case Qt::Key_Up:
        nNext = nCurrent - kColumns;
        break;
    case Qt::Key_Down:
        nNext = nCurrent + kColumns;
        break;
    case Qt::Key_Home:
        nNext = 0;
        break;
    case Qt::Key_End:
        nNext = m_nUsed - 1;
        break;
    default:
        // Enter and Escape go on to the dialog: its default button, its Cancel.
        QWidget::keyPressEvent(pEvent);
        return;
    }
    pEvent->accept();
    // Without a current cell any move starts at the first one; a move off the grid stays put.
    if (nCurrent < 0)
        nNext = 0;
    if (nNext < 0 || nNext >= m_nUsed)
        return;
    SelectCell(nNext);
    const int nRow = nNext / kColumns;
    if (nRow < ScrollPos())
        ScrollTo(nRow);
    else if (nRow >= ScrollPos() + kVisibleRows)
        ScrollTo(nRow - kVisibleRows + 1);
}

int CPicList::CurrentIndex() const
{
    for (int i = 0; i < m_nUsed; ++i) {
        if (m_cells[size_t(i)] == m_pCurrent)
            return i;
    }
    return -1;
}

void CPicList::contextMenuEvent(QContextMenuEvent* pEvent)
{
    pEvent->accept();
}
