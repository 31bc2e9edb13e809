#include "panels/shellphoto.h"

#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTreeView>

#include "panels/folderroots.h"
#include "panels/thumblist.h"
#include "platform/messages.h"
#include "session/settings.h"

QString StartPhotoFolder()
{
    if (!g_strPhotoDir.isEmpty() && QFileInfo(g_strPhotoDir).isDir())
        return QDir::cleanPath(g_strPhotoDir);
    const QString strPictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    if (!strPictures.isEmpty() && QFileInfo(strPictures).isDir())
        return strPictures;
    return QDir::homePath();
}

ShellPhoto::ShellPhoto(QWidget* pParent)
    : QWidget(pParent)
{
    // The user's home and the whole file system at the top level; folders are read in the background.
    m_pFolderModel = new FolderRootsModel(
        {{QDir::homePath(), QStringLiteral("Home")}, {QDir::rootPath(), QDir::rootPath()}}, this);

    m_shellTree = new QTreeView(this);
    m_shellTree->setModel(m_pFolderModel);
    m_shellTree->setHeaderHidden(true);
    m_shellTree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_shellTree->header()->setStretchLastSection(false);
    m_shellTree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_shellTree->setAutoExpandDelay(-1);

    m_listPhoto = new CThumbList(this);
    m_listPhoto->m_strKind = QStringLiteral("photo");
    m_listPhoto->setSelectionMode(QAbstractItemView::ExtendedSelection);

    connect(m_shellTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this](const QModelIndex& current) { OnChangeCurrentFolder(m_pFolderModel->filePath(current)); });
    // The tree reads folders in the background: the selected folder is scrolled into view again as the
    // folders above it arrive.
    connect(m_pFolderModel, &FolderRootsModel::FolderLoaded, this, [this](const QString& strPath) {
        if (!m_strReveal.isEmpty() && m_strReveal.startsWith(strPath))
            RevealCurrent();
    });
    // Folders arriving or sorted above it move it too, until the user takes the tree in hand.
    const auto revealAgain = [this] {
        if (!m_strReveal.isEmpty())
            RevealCurrent();
    };
    connect(m_pFolderModel, &QAbstractItemModel::layoutChanged, this, revealAgain);
    connect(m_pFolderModel, &QAbstractItemModel::rowsInserted, this, revealAgain);
    m_shellTree->viewport()->installEventFilter(this);
    m_shellTree->installEventFilter(this);
    m_listPhoto->installEventFilter(this);
    m_bReady = 1;
}

ShellPhoto::~ShellPhoto() = default;

void ShellPhoto::SelectFolder(const QString& strFolder)
{
    const QModelIndex index = m_pFolderModel->index(strFolder);
    if (!index.isValid())
        return;
    for (QModelIndex parent = index.parent(); parent.isValid(); parent = parent.parent())
        m_shellTree->expand(parent);
    m_strReveal = strFolder;
    m_shellTree->setCurrentIndex(index);
    RevealCurrent();
}

void ShellPhoto::RevealCurrent()
{
    m_shellTree->scrollTo(m_shellTree->currentIndex(), QAbstractItemView::PositionAtCenter);
    // Names are read from their start, however deep the folder lies.
    m_shellTree->horizontalScrollBar()->setValue(0);
}

void ShellPhoto::OnChangeCurrentFolder(const QString& strPath)
{
    if (!m_bReady || strPath.isEmpty() || !m_listPhoto)
        return;
    if (strPath != m_strReveal)
        m_strReveal.clear();
    g_strPhotoDir = strPath;
    m_listPhoto->LoadFolder(strPath);
}

bool ShellPhoto::eventFilter(QObject* pWatched, QEvent* pEvent)
{
    // Typing in the tree or the list is theirs: the canvas's editing keys are released.
    if (pEvent->type() == QEvent::FocusIn && (pWatched == m_shellTree || pWatched == m_listPhoto))
        SendAppMessage(window(), WM_CANVAS_HOTKEYS, 0, 0);
    const bool bInTree = pWatched == m_shellTree || pWatched == m_shellTree->viewport();
    if (bInTree
        && (pEvent->type() == QEvent::MouseButtonPress || pEvent->type() == QEvent::Wheel
            || pEvent->type() == QEvent::KeyPress))
        m_strReveal.clear();
    return QWidget::eventFilter(pWatched, pEvent);
}

void ShellPhoto::resizeEvent(QResizeEvent* pEvent)
{
    QWidget::resizeEvent(pEvent);
    const int W = width();
    const int H = height();
    const int t = int(H * 0.3);
    m_shellTree->setGeometry(0, 0, W, t);
    m_listPhoto->setGeometry(0, t + 2, W, H - t - 2);
}
