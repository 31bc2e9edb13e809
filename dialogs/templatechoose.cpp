#include "dialogs/templatechoose.h"

#include <algorithm>

#include <QDir>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTreeWidget>

#include "platform/messages.h"
#include "session/recentcards.h"
#include "session/settings.h"
#include "widgets/piclist.h"

QString g_strTemplateXml;

namespace {

// The dialog's 545 x 375 dialog units in "MS Shell Dlg" 8 (6 x 13 pixel base units at 96 DPI).
constexpr QSize kDialogSize(818, 609);
constexpr QRect kOkRect(738, 575, 75, 23);
constexpr QRect kCancelRect(657, 575, 75, 23);
constexpr QRect kTreeRect(10, 10, 190, 550);
constexpr QRect kListRect(210, 10, 568, 550);
// Level with the buttons, under the tree.
constexpr QRect kRecentRect(10, 572, 190, 28);
const QColor kSelectionColour(0, 179, 179);

// Draws a tree item as a label: the selected or focused item on a teal box, every other on white.
class CategoryDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pPainter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QString strText = index.data(Qt::DisplayRole).toString();
        const QFontMetrics metrics(option.font);
        const QRect rcLabel(
            option.rect.left(), option.rect.top(), metrics.horizontalAdvance(strText) + 6, option.rect.height());
        const bool bHot = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        pPainter->save();
        pPainter->fillRect(option.rect, Qt::white);
        pPainter->setPen(bHot ? kSelectionColour : QColor(Qt::white));
        pPainter->setBrush(bHot ? kSelectionColour : QColor(Qt::white));
        pPainter->drawRect(rcLabel.adjusted(0, 0, -1, -1));
        pPainter->setFont(option.font);
        pPainter->setPen(option.palette.color(bHot ? QPalette::HighlightedText : QPalette::WindowText));
        pPainter->drawText(rcLabel.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, strText);
        pPainter->restore();
    }

    // Room for the label's text drawn 2 pixels down from the top of its row.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width() + 6, std::max(size.height(), QFontMetrics(option.font).height() + 4));
    }
};

} // namespace

QString TemplateXmlPath(const QString& strPicture)
{
    const qsizetype nSlash = strPicture.lastIndexOf(QLatin1Char('/'));
    const qsizetype nDot = strPicture.lastIndexOf(QLatin1Char('.'));
    if (nDot <= nSlash)
        return strPicture + QStringLiteral(".xml");
    return strPicture.left(nDot + 1) + QStringLiteral("xml");
}

CTemplateChoose::CTemplateChoose(QWidget* pParent, const QString& strAppDir)
    : QDialog(pParent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , m_strAppDir(strAppDir)
{
    setFixedSize(kDialogSize);

    m_btnOK = new QPushButton(QStringLiteral("OK"), this);
    m_btnOK->setGeometry(kOkRect);
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &CTemplateChoose::OnOK);
    m_btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_btnCancel->setGeometry(kCancelRect);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    m_tree = new QTreeWidget(this);
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(true);
    m_tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_tree->setItemDelegate(new CategoryDelegate(m_tree));
    // Selection is shown by the label alone; the row's indentation stays white.
    QPalette palette = m_tree->palette();
    palette.setColor(QPalette::Highlight, Qt::white);
    m_tree->setPalette(palette);
    m_tree->installEventFilter(this);
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &CTemplateChoose::OnTreeSelChanged);

    m_recent = new QTreeWidget(this);
    m_recent->setHeaderHidden(true);
    m_recent->setRootIsDecorated(false);
    m_recent->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_recent->setItemDelegate(new CategoryDelegate(m_recent));
    m_recent->setPalette(palette);
    m_recent->installEventFilter(this);
    new QTreeWidgetItem(m_recent, {QStringLiteral("Recent")});
    m_recent->setGeometry(kRecentRect);
    connect(m_recent, &QTreeWidget::itemSelectionChanged, this, &CTemplateChoose::OnRecentSelChanged);

    OnInitDialog();
}

CTemplateChoose::~CTemplateChoose() = default;

void CTemplateChoose::OnInitDialog()
{
    m_holidays = {QStringLiteral("Christmas"), QStringLiteral("New Year"), QStringLiteral("Valentine's Day"),
        QStringLiteral("Halloween"), QStringLiteral("Thanksgiving"), QStringLiteral("Mother's Day"),
        QStringLiteral("Father's Day"), QStringLiteral("Easter")};
    m_events = {QStringLiteral("Birthday"), QStringLiteral("Graduation"), QStringLiteral("Wedding")};

    auto* pTheme = new QTreeWidgetItem(m_tree, {QStringLiteral("Theme")});
    auto* pHoliday = new QTreeWidgetItem(pTheme, {QStringLiteral("Holiday")});
    for (const QString& strName : std::as_const(m_holidays))
        new QTreeWidgetItem(pHoliday, {strName});
    pHoliday->setExpanded(true);
    auto* pEvents = new QTreeWidgetItem(pTheme, {QStringLiteral("Events")});
    for (const QString& strName : std::as_const(m_events))
        new QTreeWidgetItem(pEvents, {strName});
    pEvents->setExpanded(true);
    new QTreeWidgetItem(pTheme, {QStringLiteral("Children")});
    pTheme->setExpanded(true);
    m_tree->setGeometry(kTreeRect);

    m_pPicList = new CPicList(this, m_strAppDir);
    m_pPicList->Create(kListRect);

    const QString strCategory = g_strTemplateCategory.isEmpty() ? QStringLiteral("Christmas") : g_strTemplateCategory;
    ShowCategory(strCategory);
    // The tree shows which category is open; marking it changes no setting.
    const QList<QTreeWidgetItem*> items = m_tree->findItems(strCategory, Qt::MatchExactly | Qt::MatchRecursive);
    const bool bCategory = m_holidays.contains(strCategory) || m_events.contains(strCategory)
        || strCategory == QLatin1String("Children");
    if (bCategory && !items.isEmpty()) {
        const QSignalBlocker blocker(m_tree);
        m_tree->setCurrentItem(items.first());
    }
    m_pPicList->SelectCell(g_nTemplateNumber);
    // The arrow keys move through the thumbnails at once; Enter confirms through the default button.
    m_pPicList->setFocus();
}

void CTemplateChoose::SetRecent(const CRecentCards& recent, std::function<bool(const QString&)> fnOpen)
{
    m_recentProjects = recent.Projects();
    m_recentThumbnails.clear();
    for (const QString& strProject : std::as_const(m_recentProjects))
        m_recentThumbnails << recent.ThumbnailPath(strProject);
    m_fnOpenProject = std::move(fnOpen);
}

QString CTemplateChoose::CategoryPattern(const QString& strCategory) const
{
    return m_strAppDir + QStringLiteral("Template/cards/") + strCategory + QStringLiteral("/*.*");
}

void CTemplateChoose::ShowCategory(const QString& strCategory)
{
    m_pPicList->ShowFolder(CategoryPattern(strCategory));
    for (CImgCtrl* pCell : m_pPicList->m_cells)
        pCell->setToolTip(QString());
    setWindowTitle(QStringLiteral("Choose a greeting card template - %1").arg(strCategory));
}

void CTemplateChoose::OnTreeSelChanged()
{
    const QList<QTreeWidgetItem*> selected = m_tree->selectedItems();
    if (selected.isEmpty())
        return;
    const QString strText = selected.first()->text(0);
    // The group items "Theme", "Holiday" and "Events" are no categories.
    int nGroup;
    if (m_holidays.contains(strText))
        nGroup = 0;
    else if (m_events.contains(strText))
        nGroup = 1;
    else if (strText == QLatin1String("Children"))
        nGroup = 2;
    else
        return;
    {
        const QSignalBlocker blocker(m_recent);
        m_recent->clearSelection();
    }
    m_bRecentShown = false;
    ShowCategory(strText);
    g_strTemplateCategory = strText;
    g_nTemplateGroup = nGroup;
    if (nGroup == 1)
        g_bTemplateFlag = true;
}

void CTemplateChoose::OnRecentSelChanged()
{
    if (m_recent->selectedItems().isEmpty())
        return;
    {
        const QSignalBlocker blocker(m_tree);
        m_tree->clearSelection();
    }
    m_bRecentShown = true;
    m_pPicList->ShowPictures(m_recentThumbnails);
    // The thumbnail alone may not tell two versions of a card apart: the file does.
    for (int i = 0; i < m_pPicList->UsedCount(); ++i)
        m_pPicList->m_cells[size_t(i)]->setToolTip(QDir::toNativeSeparators(m_recentProjects.value(i)));
    setWindowTitle(QStringLiteral("Choose a greeting card template - Recent"));
}

void CTemplateChoose::OnOK()
{
    const CImgCtrl* pCell = m_pPicList->m_pCurrent;
    if (!pCell) {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Infomation"),
            QStringLiteral("Plase select a template first!"), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    if (m_bRecentShown) {
        // A project that does not open has been reported by the owner; the user may choose again.
        const QString strProject = m_recentProjects.value(pCell->m_nItem);
        if (strProject.isEmpty() || !m_fnOpenProject || !m_fnOpenProject(strProject))
            return;
        m_strProject = strProject;
        QDialog::accept();
        return;
    }
    m_nChosen = pCell->m_nItem;
    g_nTemplateNumber = m_nChosen;
    g_strTemplateXml = TemplateXmlPath(pCell->m_strPath);
    QDialog::accept();
}

void CTemplateChoose::accept()
{
    OnOK();
}

bool CTemplateChoose::event(QEvent* pEvent)
{
    if (int(pEvent->type()) == WM_TEMPLATE_PICKED) {
        OnOK();
        static_cast<AppMessage*>(pEvent)->m_nResult = 0;
        return true;
    }
    return QDialog::event(pEvent);
}

bool CTemplateChoose::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // The trees take keys the main window would otherwise catch as its editing hot keys.
    if ((pWatched == m_tree || pWatched == m_recent) && pEvent->type() == QEvent::FocusIn) {
        QWidget* pOwner = parentWidget();
        SendAppMessage(pOwner ? pOwner->window() : nullptr, WM_CANVAS_HOTKEYS, 0, 0);
    }
    return QDialog::eventFilter(pWatched, pEvent);
}
