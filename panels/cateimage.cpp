#include "panels/cateimage.h"

#include <array>

#include <QPainter>
#include <QResizeEvent>

#include "panels/shellphoto.h"
#include "panels/thumblist.h"
#include "widgets/buttonx.h"

namespace {

constexpr QRgb kPanelBackground = 0xFFD8D8E5;

// The frames are the PNG pictures of the frame folder, each beside the JPEG of its own mask; the name
// must end in "png" exactly.
bool IsFrameFile(const QString& strPath)
{
    return strPath.endsWith(QLatin1String("png"), Qt::CaseSensitive);
}

} // namespace

MiscPanel::MiscPanel(const QString& strAppDir, QWidget* pParent)
    : QWidget(pParent)
{
    const QString strResources = strAppDir + QStringLiteral("Template/allresources/");
    m_listMask = new CThumbList(this);
    m_listFrame = new CThumbList(this);
    m_listElem = new CThumbList(this);
    m_listMask->m_strKind = QStringLiteral("mask");
    m_listFrame->m_strKind = QStringLiteral("frame");
    m_listElem->m_strKind = QStringLiteral("elem");
    for (CThumbList* pList : {m_listMask, m_listFrame, m_listElem}) {
        pList->setSelectionMode(QAbstractItemView::SingleSelection);
        pList->hide();
    }
    m_listElem->LoadFolder(strResources + QStringLiteral("clipart"));
    m_listMask->LoadFolder(strResources + QStringLiteral("mask"));
    m_listFrame->m_files = ListFolderFiles(strResources + QStringLiteral("frame"), IsFrameFile);
    m_listFrame->StartFill();
}

MiscPanel::~MiscPanel() = default;

void MiscPanel::ShowList(int nList)
{
    m_listFrame->setVisible(nList == 1);
    m_listElem->setVisible(nList == 2);
    m_listMask->setVisible(nList == 3);
}

void MiscPanel::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    for (CThumbList* pList : {m_listMask, m_listFrame, m_listElem})
        pList->setGeometry(rect());
}

CateImage::CateImage(const QString& strAppDir, QWidget* pParent)
    : QWidget(pParent)
{
    m_pShellPhoto = new ShellPhoto(this);
    m_pMiscPanel = new MiscPanel(strAppDir, this);

    struct Tab {
        CButtonX** ppButton;
        const char* pszText;
        const char* pszSkin;
    };
    const std::array<Tab, 4> tabs = {{
        {&m_btnPhoto, "  Photo", "photo.bmp"},
        {&m_btnFrame, "  Frame", "frame.bmp"},
        {&m_btnElement, "  Element", "clipart.bmp"},
        {&m_btnMask, "  Mask", "mask.bmp"},
    }};
    for (int i = 0; i < int(tabs.size()); ++i) {
        auto* pButton = new CButtonX(this);
        pButton->setText(QString::fromLatin1(tabs[size_t(i)].pszText));
        pButton->m_bLatch = 1;
        pButton->SetSkin(strAppDir + QStringLiteral("Skins/") + QString::fromLatin1(tabs[size_t(i)].pszSkin));
        pButton->setGeometry(4, 4 + 27 * i, 172, 23);
        connect(pButton, &QAbstractButton::clicked, this, [this, i] { SelectTab(i + 1); });
        *tabs[size_t(i)].ppButton = pButton;
    }

    m_pMiscPanel->hide();
    m_pShellPhoto->show();
    m_nTab = 1;
    m_btnPhoto->m_bPressed = 1;
    m_btnPhoto->update();
    m_pShellPhoto->SelectFolder(StartPhotoFolder());
}

CateImage::~CateImage() = default;

void CateImage::SelectTab(int nTab)
{
    if (nTab == m_nTab)
        return;
    m_pShellPhoto->hide();
    m_pMiscPanel->hide();
    if (nTab == 1) {
        m_pShellPhoto->show();
    } else if (nTab >= 2 && nTab <= 4) {
        m_pMiscPanel->show();
        m_pMiscPanel->ShowList(nTab - 1);
    }
    m_nTab = nTab;
    const std::array<CButtonX*, 4> buttons = {m_btnPhoto, m_btnFrame, m_btnElement, m_btnMask};
    for (int i = 0; i < int(buttons.size()); ++i) {
        buttons[size_t(i)]->m_bPressed = i + 1 == nTab ? 1 : 0;
        buttons[size_t(i)]->repaint();
    }
}

void CateImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgba(kPanelBackground));
}

void CateImage::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    const QRect rcContent(0, kCateImageContentTop, width(), height() - kCateImageContentTop);
    m_pShellPhoto->setGeometry(rcContent);
    m_pMiscPanel->setGeometry(rcContent);
}
