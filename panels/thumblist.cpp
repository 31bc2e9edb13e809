#include "panels/thumblist.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDir>
#include <QDirIterator>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QThread>

#include "document/carddrops.h"
#include "platform/fitrect.h"
#include "platform/imageio.h"
#include "platform/pictureext.h"
#include "platform/quality.h"

namespace {

constexpr int kFeedbackSide = 50;
constexpr qreal kFeedbackOpacity = 183.0 / 255.0;

// The size a picture is read at to fill dstSize device pixels; never larger than the picture.
QSize ReadSizeFor(QSize szPicture, QSize szDrawn)
{
    if (!szPicture.isValid() || szDrawn.isEmpty())
        return QSize();
    return szDrawn.boundedTo(szPicture).expandedTo(QSize(1, 1));
}

QRectF Scaled(const QRect& rc, qreal dRatio)
{
    return QRectF(rc.x() * dRatio, rc.y() * dRatio, rc.width() * dRatio, rc.height() * dRatio);
}

// Items are their icons alone: a selected one is framed in the selection colour.
class ThumbDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect rcIcon(option.rect.topLeft(), QSize(kThumbSide, kThumbSide));
        const QIcon icon = index.data(Qt::DecorationRole).value<QIcon>();
        icon.paint(pPainter, rcIcon);
        // The frame stays inside the item: the list repaints an item's own rectangle only.
        if (option.state & QStyle::State_Selected) {
            pPainter->save();
            pPainter->setPen(QPen(option.palette.highlight(), 3));
            pPainter->setBrush(Qt::NoBrush);
            pPainter->drawRect(QRectF(rcIcon).adjusted(1.5, 1.5, -1.5, -1.5));
            pPainter->restore();
        }
    }

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override
    {
        return QSize(kThumbSide, kThumbSide);
    }
};

} // namespace

struct CThumbList::FillWorker {
    QStringList vecFiles;
    qreal dRatio = 1;
    quint64 nGeneration = 0;
    std::atomic<bool> bStopRequest {false};
    std::atomic<int> nNext {0};
};

QPoint ThumbPosition(int nIndex)
{
    return QPoint((nIndex % 2) * kThumbPitch, (nIndex / 2) * kThumbPitch + 3);
}

QRect ThumbImageRect(QSize szPicture)
{
    const FitResult fit = FitRect(szPicture.width(), szPicture.height(), kThumbSide, kThumbSide);
    return QRect(fit.left, fit.top, fit.width(), fit.height());
}

QImage MakeThumbIcon(const QString& strPath, qreal dRatio)
{
    QImage icon = NewBackBuffer(QSize(kThumbSide, kThumbSide), dRatio, QImage::Format_RGB32);
    if (icon.isNull())
        return icon;
    icon.fill(QColor::fromRgba(kThumbBackground));
    QRect rcImage;
    const QImage picture = ReadPictureFor(strPath, [&](QSize szPicture) {
        rcImage = ThumbImageRect(szPicture);
        return ReadSizeFor(szPicture, Scaled(rcImage, icon.devicePixelRatio()).size().toSize());
    });
    if (picture.isNull() || rcImage.isEmpty())
        return icon;
    QPainter painter(&icon);
    ApplyQuality(painter);
    painter.drawImage(QRectF(rcImage), picture);
    return icon;
}

QPixmap DragFeedbackPixmap(const QString& strFirstPath, int nCount, qreal dRatio)
{
    QRect rcImage(0, 0, kFeedbackSide, kFeedbackSide);
    const QImage picture = ReadPictureFor(strFirstPath, [&](QSize szPicture) {
        // Integer arithmetic as the feedback window always measured it.
        const int W = szPicture.width();
        const int H = szPicture.height();
        if (W > H && W > 0) {
            const int h = kFeedbackSide * H / W;
            rcImage = QRect(0, (kFeedbackSide - h) / 2, kFeedbackSide, h);
        } else if (H > W && H > 0) {
            const int w = W * kFeedbackSide / H;
            rcImage = QRect((kFeedbackSide - w) / 2, 0, w, kFeedbackSide);
        }
        return ReadSizeFor(szPicture, (QSizeF(rcImage.size()) * dRatio).toSize());
    });
    // The picture and the count are drawn opaque, then the whole is laid down at the feedback's opacity.
    const QSize szFeedback = rcImage.size().expandedTo(QSize(1, 1));
    QImage content = NewBackBuffer(szFeedback, dRatio);
    content.fill(Qt::white);
    QPainter painter(&content);
    const QRect rcClient(QPoint(0, 0), szFeedback);
    if (!picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(QRectF(rcClient), picture);
    }
    if (nCount >= 2) {
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(16);
        painter.setFont(font);
        const QString strCount = QString::number(nCount);
        const QRect rcText = painter.boundingRect(rcClient, Qt::AlignCenter, strCount);
        painter.fillRect(rcText, QColor(0, 0, 255));
        painter.setPen(QColor(255, 0, 0));
        painter.drawText(rcClient, Qt::AlignCenter, strCount);
    }
    painter.end();
    QImage feedback = NewBackBuffer(szFeedback, dRatio);
    feedback.fill(Qt::transparent);
    painter.begin(&feedback);
    painter.setOpacity(kFeedbackOpacity);
    painter.drawImage(0, 0, content);
    painter.end();
    return QPixmap::fromImage(feedback);
}

QStringList ListFolderFiles(const QString& strFolder, const std::function<bool(const QString&)>& accept)
{
    QStringList vecFiles;
    if (strFolder.isEmpty())
        return vecFiles;
    // Without QDir::System and QDir::Hidden: devices, pipes, sockets, dangling links and hidden files
    // are left out; nothing listed here is ever opened.
    const QDir dir(strFolder);
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : entries) {
        const QString strPath = info.absoluteFilePath();
        if (accept(strPath))
            vecFiles.append(strPath);
    }
    return vecFiles;
}

CThumbList::CThumbList(QWidget* pParent)
    : QListWidget(pParent)
    , m_extensions(PictureExtensions())
{
    setViewMode(QListView::IconMode);
    // Items stand where the fill puts them; the list never rearranges them, and dragging is ours.
    setMovement(QListView::Free);
    setDragEnabled(false);
    setAcceptDrops(false);
    setIconSize(QSize(kThumbSide, kThumbSide));
    setItemDelegate(new ThumbDelegate(this));
    setSpacing(0);
    setUniformItemSizes(true);
    setFrameShape(QFrame::Box);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Base, QColor::fromRgba(kThumbBackground));
    setPalette(palette);
    m_pool.setMaxThreadCount(std::max(1, QThread::idealThreadCount()));
}

CThumbList::~CThumbList()
{
    StopFill();
    // A worker finishes the picture it is reading; nothing it hands over reaches the list any more.
    m_pool.waitForDone();
}

bool CThumbList::IsPictureFile(const QString& strPath) const
{
    const qsizetype nDot = strPath.lastIndexOf(QLatin1Char('.'));
    if (nDot < 1)
        return false;
    const QString strExt = strPath.mid(nDot + 1);
    return std::any_of(m_extensions.cbegin(), m_extensions.cend(),
        [&](const QString& strKnown) { return strExt.compare(strKnown, Qt::CaseInsensitive) == 0; });
}

void CThumbList::LoadFolder(const QString& strFolder)
{
    StopFill();
    m_files = ListFolderFiles(strFolder, [this](const QString& strPath) { return IsPictureFile(strPath); });
    StartFill();
}

void CThumbList::StartFill()
{
    StopFill();
    clear();
    auto pWorker = std::make_shared<FillWorker>();
    pWorker->vecFiles = m_files;
    pWorker->dRatio = devicePixelRatioF();
    pWorker->nGeneration = ++m_nGeneration;
    m_pFillWorker = pWorker;

    QImage blank = NewBackBuffer(QSize(kThumbSide, kThumbSide), pWorker->dRatio, QImage::Format_RGB32);
    blank.fill(QColor::fromRgba(kThumbBackground));
    const QIcon blankIcon(QPixmap::fromImage(blank));
    setUpdatesEnabled(false);
    for (const QString& strPath : std::as_const(m_files)) {
        auto* pItem = new QListWidgetItem(blankIcon, QString(), this);
        pItem->setData(Qt::UserRole, strPath);
    }
    // The view lays the new items out first; then each is put in its place on the grid.
    doItemsLayout();
    for (int i = 0; i < count(); ++i)
        setPositionForIndex(ThumbPosition(i), indexFromItem(item(i)));
    setUpdatesEnabled(true);

    m_nIconsPending = int(m_files.size());
    m_bFilling = 1;
    viewport()->setCursor(Qt::BusyCursor);
    if (m_nIconsPending == 0) {
        OnIconReady(pWorker->nGeneration, -1, QImage());
        return;
    }
    const int nWorkers = std::min(m_pool.maxThreadCount(), m_nIconsPending);
    for (int n = 0; n < nWorkers; ++n) {
        m_pool.start([this, pWorker] {
            for (;;) {
                if (pWorker->bStopRequest.load())
                    return;
                const int i = pWorker->nNext.fetch_add(1);
                if (i >= pWorker->vecFiles.size())
                    return;
                QImage icon = MakeThumbIcon(pWorker->vecFiles[i], pWorker->dRatio);
                // Handed to the user-interface thread: only it touches the list. Dropped unread when the
                // list is gone.
                QMetaObject::invokeMethod(
                    this,
                    [this, nGeneration = pWorker->nGeneration, i, icon = std::move(icon)] {
                        OnIconReady(nGeneration, i, icon);
                    },
                    Qt::QueuedConnection);
            }
        });
    }
}

void CThumbList::StopFill()
{
    if (m_pFillWorker)
        m_pFillWorker->bStopRequest = true;
    m_pFillWorker.reset();
    if (m_bFilling) {
        m_bFilling = 0;
        viewport()->unsetCursor();
    }
}

QStringList CThumbList::SelectedPaths() const
{
    QStringList vecPaths;
    for (int i = 0; i < count(); ++i) {
        if (item(i)->isSelected())
            vecPaths.append(item(i)->data(Qt::UserRole).toString());
    }
    return vecPaths;
}

void CThumbList::ExecDrag(QDrag& drag)
{
    drag.exec(Qt::CopyAction | Qt::MoveAction);
}

void CThumbList::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_bArmed = 1;
    QListWidget::mousePressEvent(pEvent);
}

void CThumbList::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        m_bArmed = 0;
    QListWidget::mouseReleaseEvent(pEvent);
}

void CThumbList::mouseMoveEvent(QMouseEvent* pEvent)
{
    if (pEvent->buttons() == Qt::LeftButton && pEvent->modifiers() == Qt::NoModifier && m_bArmed
        && !selectedItems().isEmpty()) {
        m_bArmed = 0;
        StartDrag();
        return;
    }
    QListWidget::mouseMoveEvent(pEvent);
}

void CThumbList::closeEvent(QCloseEvent* pEvent)
{
    StopFill();
    QListWidget::closeEvent(pEvent);
}

void CThumbList::OnIconReady(quint64 nGeneration, int nIndex, const QImage& icon)
{
    if (nGeneration != m_nGeneration || !m_bFilling)
        return;
    if (QListWidgetItem* pItem = nIndex >= 0 ? item(nIndex) : nullptr; pItem && !icon.isNull())
        pItem->setIcon(QIcon(QPixmap::fromImage(icon)));
    if (nIndex >= 0 && --m_nIconsPending > 0)
        return;
    m_bFilling = 0;
    m_pFillWorker.reset();
    viewport()->unsetCursor();
    emit FillFinished();
}

void CThumbList::StartDrag()
{
    const QStringList vecPaths = SelectedPaths();
    if (vecPaths.isEmpty())
        return;
    auto* pData = new QMimeData;
    pData->setText(MakeDragPayload(m_strKind, vecPaths));
    QDrag drag(this);
    drag.setMimeData(pData);
    const QPixmap feedback = DragFeedbackPixmap(vecPaths.front(), int(vecPaths.size()), devicePixelRatioF());
    drag.setPixmap(feedback);
    // The picture rides above and left of the pointer, 2 px away.
    drag.setHotSpot(
        QPoint(int(feedback.deviceIndependentSize().width()) + 2, int(feedback.deviceIndependentSize().height()) + 2));
    ExecDrag(drag);
}
