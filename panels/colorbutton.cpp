#include "panels/colorbutton.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

namespace {

constexpr int kSwatch = 18;

QIcon SwatchIcon(QColor clr)
{
    QPixmap pixmap(kSwatch - 4, kSwatch - 4);
    pixmap.fill(clr);
    QPainter painter(&pixmap);
    painter.setPen(QColor(0, 0, 0, 96));
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

CColorButton::CColorButton(QColor clrAutomatic, QWidget* pParent)
    : QPushButton(pParent)
    , m_clrAutomatic(clrAutomatic)
    , m_clr(clrAutomatic)
{
    setFocusPolicy(Qt::ClickFocus);
    connect(this, &QPushButton::clicked, this, &CColorButton::ShowPopup);
}

CColorButton::~CColorButton() = default;

const QList<QColor>& CColorButton::Palette()
{
    static const QList<QColor> kPalette = {
        QColor(0, 0, 0),
        QColor(64, 64, 64),
        QColor(128, 128, 128),
        QColor(192, 192, 192),
        QColor(255, 255, 255),
        QColor(128, 0, 0),
        QColor(192, 0, 0),
        QColor(255, 0, 0),
        QColor(255, 128, 128),
        QColor(255, 192, 203),
        QColor(128, 64, 0),
        QColor(255, 128, 0),
        QColor(255, 192, 0),
        QColor(255, 255, 0),
        QColor(255, 240, 160),
        QColor(0, 64, 0),
        QColor(0, 128, 0),
        QColor(0, 192, 64),
        QColor(128, 255, 128),
        QColor(0, 128, 128),
        QColor(0, 0, 128),
        QColor(0, 64, 192),
        QColor(0, 128, 255),
        QColor(128, 192, 255),
        QColor(0, 255, 255),
        QColor(64, 0, 128),
        QColor(128, 0, 192),
        QColor(192, 64, 255),
        QColor(255, 0, 255),
        QColor(160, 96, 64),
        QColor(212, 175, 55),
        QColor(184, 134, 11),
        QColor(139, 69, 19),
        QColor(255, 215, 0),
        QColor(240, 230, 140),
    };
    return kPalette;
}

void CColorButton::SetColor(QColor clr)
{
    m_clr = clr;
    m_bAutomatic = false;
    update();
}

void CColorButton::SetAutomatic()
{
    m_clr = m_clrAutomatic;
    m_bAutomatic = true;
    update();
}

QColor CColorButton::Color() const
{
    return m_bAutomatic ? m_clrAutomatic : m_clr;
}

void CColorButton::ChooseColor(QColor clr)
{
    SetColor(clr);
    emit colorChosen();
}

void CColorButton::ChooseAutomatic()
{
    SetAutomatic();
    emit colorChosen();
}

void CColorButton::ShowPopup()
{
    if (!m_pPopup) {
        m_pPopup = new QMenu(this);
        auto* pPanel = new QWidget(m_pPopup);
        auto* pLayout = new QVBoxLayout(pPanel);
        pLayout->setContentsMargins(4, 4, 4, 4);
        pLayout->setSpacing(4);
        auto* pAutomatic = new QPushButton(tr("Automatic"), pPanel);
        pAutomatic->setIcon(SwatchIcon(m_clrAutomatic));
        connect(pAutomatic, &QPushButton::clicked, this, [this] {
            m_pPopup->close();
            ChooseAutomatic();
        });
        pLayout->addWidget(pAutomatic);
        auto* pGrid = new QGridLayout;
        pGrid->setSpacing(2);
        const QList<QColor>& palette = Palette();
        for (int i = 0; i < palette.size(); ++i) {
            const QColor clr = palette[i];
            auto* pSwatch = new QToolButton(pPanel);
            pSwatch->setIcon(SwatchIcon(clr));
            pSwatch->setFixedSize(kSwatch + 4, kSwatch + 4);
            pSwatch->setAutoRaise(true);
            pSwatch->setToolTip(clr.name());
            connect(pSwatch, &QToolButton::clicked, this, [this, clr] {
                m_pPopup->close();
                ChooseColor(clr);
            });
            pGrid->addWidget(pSwatch, i / kColumns, i % kColumns);
        }
        pLayout->addLayout(pGrid);
        auto* pOther = new QPushButton(tr("Other..."), pPanel);
        connect(pOther, &QPushButton::clicked, this, [this] {
            m_pPopup->close();
            ChooseOther();
        });
        pLayout->addWidget(pOther);
        auto* pAction = new QWidgetAction(m_pPopup);
        pAction->setDefaultWidget(pPanel);
        m_pPopup->addAction(pAction);
    }
    m_pPopup->popup(mapToGlobal(QPoint(0, height())));
}

void CColorButton::ChooseOther()
{
    const QColor clr = QColorDialog::getColor(Color(), this);
    if (clr.isValid())
        ChooseColor(clr);
}

void CColorButton::paintEvent(QPaintEvent* pEvent)
{
    QPushButton::paintEvent(pEvent);
    QPainter painter(this);
    const QRect rcSwatch = rect().adjusted(5, 5, -16, -5);
    painter.fillRect(rcSwatch, Color());
    painter.setPen(QColor(0, 0, 0, 128));
    painter.drawRect(rcSwatch.adjusted(0, 0, -1, -1));
    // The arrow says that a pop-up follows.
    const QPoint ptArrow(rect().right() - 9, rect().center().y() + 2);
    const QPointF arrow[] = {ptArrow + QPointF(-3, -2), ptArrow + QPointF(3, -2), ptArrow + QPointF(0, 2)};
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette().color(QPalette::ButtonText));
    painter.drawPolygon(arrow, 3);
}
