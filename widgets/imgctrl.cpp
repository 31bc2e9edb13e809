#include "widgets/imgctrl.h"

#include <algorithm>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QThread>

#include "platform/imageio.h"
#include "platform/messages.h"
#include "platform/quality.h"
#include "platform/skinpicture.h"
#include "widgets/piclist.h"

int MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    int nFlags = 0;
    if (buttons & Qt::LeftButton)
        nFlags |= 1;
    if (buttons & Qt::RightButton)
        nFlags |= 2;
    if (modifiers & Qt::ShiftModifier)
        nFlags |= 4;
    if (modifiers & Qt::ControlModifier)
        nFlags |= 8;
    if (buttons & Qt::MiddleButton)
        nFlags |= 16;
    return nFlags;
}

QRect FitThumbBox(const QRect& rcBox, qint64 nWidth, qint64 nHeight)
{
    QRect rc = rcBox;
    if (nWidth > nHeight) {
        const int nFit = int(std::max<qint64>(1, rcBox.width() * nHeight / nWidth));
        rc.translate(0, (rcBox.height() - nFit) / 2);
        rc.setHeight(nFit);
    } else if (nWidth < nHeight) {
        const int nFit = int(std::max<qint64>(1, rcBox.height() * nWidth / nHeight));
        rc.translate((rcBox.width() - nFit) / 2, 0);
        rc.setWidth(nFit);
    }
    return rc;
}

ThumbnailResult MakeThumbnail(
    const QString& strPath, QSize szClient, int nMargin, const std::function<bool()>& fnCancelled, qreal dRatio)
{
    const auto cancelled = [&] { return fnCancelled && fnCancelled(); };
    const QRect rcBox = QRect(QPoint(0, 0), szClient).adjusted(nMargin, nMargin, -nMargin, -nMargin);
    if (cancelled())
        return {rcBox, QImage()};
    const QSize szPicture = ReadPictureSize(strPath);
    // An unreadable picture keeps the whole box and draws nothing.
    if (!szPicture.isValid())
        return {rcBox, QImage()};
    ThumbnailResult result;
    result.rcThumb = FitThumbBox(rcBox, szPicture.width(), szPicture.height());
    if (result.rcThumb.isEmpty() || cancelled())
        return result;
    const QSize szDevice = DeviceSize(result.rcThumb.size(), dRatio);
    QImage image = ReadPicture(strPath, szDevice);
    if (image.isNull() || cancelled())
        return result;
    // A picture smaller than its box is decoded whole and enlarged to the box.
    if (image.size() != szDevice)
        image = ScaledPicture(image, szDevice);
    image.setDevicePixelRatio(dRatio > 0 ? dRatio : 1.0);
    result.image = std::move(image);
    return result;
}

ThumbnailPool::ThumbnailPool(QObject* pParent)
    : QObject(pParent)
    , m_pStop(std::make_shared<std::atomic_bool>(false))
{
    m_pool.setMaxThreadCount(std::max(2, QThread::idealThreadCount()));
}

ThumbnailPool::~ThumbnailPool()
{
    m_pStop->store(true);
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailPool::Start(CImgCtrl* pCell)
{
    const std::shared_ptr<std::atomic_int> pGeneration = pCell->m_pGeneration;
    const int nGeneration = pGeneration->load();
    const QString strPath = pCell->m_strPath;
    const QSize szClient = pCell->size();
    const qreal dRatio = pCell->devicePixelRatioF();
    const int nMargin = pCell->m_nMargin;
    const QPointer<CImgCtrl> pTarget(pCell);
    const std::shared_ptr<std::atomic_bool> pStop = m_pStop;
    m_pool.start([=, this] {
        const auto cancelled = [&] { return pStop->load() || pGeneration->load() != nGeneration; };
        if (cancelled())
            return;
        ThumbnailResult result = MakeThumbnail(strPath, szClient, nMargin, cancelled, dRatio);
        if (cancelled())
            return;
        QMetaObject::invokeMethod(
            this,
            [pTarget, nGeneration, result = std::move(result)]() mutable {
                if (pTarget)
                    pTarget->TakeThumbnail(nGeneration, std::move(result));
            },
            Qt::QueuedConnection);
    });
}

void ThumbnailPool::DropQueued()
{
    m_pool.clear();
}

void ThumbnailPool::WaitForIdle()
{
    m_pool.waitForDone();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

CImgCtrl::CImgCtrl(ThumbnailPool* pPool, const QString& strSelectSkin, QWidget* pParent)
    : QWidget(pParent)
    , m_pPool(pPool)
    , m_strSelectSkin(strSelectSkin)
    , m_pGeneration(std::make_shared<std::atomic_int>(0))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CImgCtrl::~CImgCtrl()
{
    ++*m_pGeneration;
}

void CImgCtrl::SetPicture(const QString& strPath)
{
    m_strPath = strPath;
    ++*m_pGeneration;
    if (strPath.isEmpty()) {
        m_pThumb.reset();
        update();
        return;
    }
    m_pPool->Start(this);
}

void CImgCtrl::TakeThumbnail(int nGeneration, ThumbnailResult&& result)
{
    if (nGeneration != m_pGeneration->load())
        return;
    m_rcThumb = result.rcThumb;
    if (result.image.isNull())
        m_pThumb.reset();
    else
        m_pThumb = std::make_unique<QImage>(std::move(result.image));
    update();
}

QImage CImgCtrl::RenderCell(qreal dRatio) const
{
    QImage buffer = NewBackBuffer(size(), dRatio);
    if (buffer.isNull())
        return buffer;
    buffer.fill(QColor(240, 240, 240));
    QPainter painter(&buffer);
    ApplyQuality(painter);
    if (m_bSelected) {
        const QImage skin = ReadSkin(m_strSelectSkin, dRatio);
        if (!skin.isNull())
            painter.drawImage(BufferRect(buffer), skin);
    }
    if (m_pThumb)
        painter.drawImage(m_rcThumb, *m_pThumb);
    return buffer;
}

void CImgCtrl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, RenderCell(devicePixelRatioF()));
}

QWidget* CImgCtrl::List() const
{
    for (QWidget* pWidget = parentWidget(); pWidget; pWidget = pWidget->parentWidget()) {
        if (qobject_cast<CPicList*>(pWidget))
            return pWidget;
    }
    return parentWidget();
}

void CImgCtrl::mousePressEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        SendAppMessage(List(), WM_PICCELL_DOWN, MouseKeyFlags(pEvent->buttons(), pEvent->modifiers()), qintptr(this));
    }
    pEvent->accept();
}

void CImgCtrl::mouseReleaseEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        const int nFlags = MouseKeyFlags(pEvent->buttons(), pEvent->modifiers());
        // A release with Ctrl or Shift alone held does not end a select-all.
        if (nFlags != 8 && nFlags != 4)
            SendAppMessage(List(), WM_PICCELL_UP, nFlags, qintptr(this));
    }
    pEvent->accept();
}

void CImgCtrl::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton) {
        QWidget* pList = List();
        SendAppMessage(pList ? pList->parentWidget() : nullptr, WM_TEMPLATE_PICKED, 0, 0);
    }
    pEvent->accept();
}

void CImgCtrl::mouseMoveEvent(QMouseEvent* pEvent)
{
    pEvent->accept();
}
