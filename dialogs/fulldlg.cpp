#include "dialogs/fulldlg.h"

#include <QMouseEvent>
#include <QPainter>

#include "document/carddocument.h"
#include "platform/fitrect.h"
#include "platform/quality.h"
#include "render/renderer.h"

CFullDlg::CFullDlg(const CardDocument& doc, QSize szCard, QWidget* pParent)
    : QDialog(pParent, Qt::Window | Qt::FramelessWindowHint)
    , m_doc(doc)
    , m_szCard(szCard)
{
    setWindowTitle(QStringLiteral("Preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CFullDlg::~CFullDlg() = default;

QRect CFullDlg::CardRect(QSize szClient) const
{
    const FitResult fit = FitRect(m_szCard.width(), m_szCard.height(), szClient.width(), szClient.height());
    return QRect(fit.left, fit.top, fit.width(), fit.height());
}

QImage CFullDlg::RenderPreview(QSize szClient, qreal dDevicePixelRatio) const
{
    // Drawn in device pixels, so that the pictures are read at the size they really land at.
    const QSize szDevice = DeviceSize(szClient, dDevicePixelRatio);
    QImage picture(szDevice, QImage::Format_RGB32);
    if (picture.isNull())
        return picture;
    picture.fill(Qt::black);
    const QRect rcCard = CardRect(szDevice);
    if (!rcCard.isEmpty()) {
        QPainter painter(&picture);
        ApplyQuality(painter);
        painter.setClipRect(rcCard);
        try {
            RenderCard(painter, m_doc, rcCard.x(), rcCard.y(), rcCard.width(), rcCard.height());
        } catch (const std::bad_alloc&) {
            painter.setClipping(false);
            painter.fillRect(picture.rect(), Qt::black);
            painter.setPen(Qt::white);
            painter.drawText(picture.rect(), Qt::AlignCenter, QStringLiteral("Not enough memory to show the card."));
        }
    }
    picture.setDevicePixelRatio(dDevicePixelRatio);
    return picture;
}

void CFullDlg::Invalidate()
{
    m_imgShown = QImage();
    update();
}

void CFullDlg::paintEvent(QPaintEvent*)
{
    const qreal dRatio = devicePixelRatioF();
    if (m_imgShown.isNull() || m_imgShown.size() != DeviceSize(size(), dRatio)) {
        m_imgShown = RenderPreview(size(), dRatio);
        ++m_nRenders;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_imgShown);
}

void CFullDlg::mouseDoubleClickEvent(QMouseEvent* pEvent)
{
    if (pEvent->button() == Qt::LeftButton)
        reject();
}
