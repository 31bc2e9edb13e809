#include "panels/folderroots.h"

#include <utility>

#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>

FolderRootsModel::FolderRootsModel(const std::vector<Root>& roots, QObject* pParent)
    : QAbstractItemModel(pParent)
{
    for (const Root& root : roots) {
        if (!QFileInfo(root.strPath).isDir())
            continue;
        Source source;
        source.pModel = new QFileSystemModel(this);
        // Folders only, hidden ones left out.
        source.pModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
        source.pModel->setRootPath(root.strPath);
        source.root = source.pModel->index(root.strPath);
        source.strLabel = root.strLabel;
        source.strPath = QDir::cleanPath(root.strPath);
        m_vecSources.push_back(source);
    }
    for (int n = 0; n < int(m_vecSources.size()); ++n)
        Connect(n);
}

FolderRootsModel::~FolderRootsModel() = default;

QString FolderRootsModel::filePath(const QModelIndex& index) const
{
    const Node* pNode = NodeOf(index);
    if (!pNode || !pNode->source.isValid())
        return QString();
    return m_vecSources[size_t(pNode->nRoot)].pModel->filePath(pNode->source);
}

QModelIndex FolderRootsModel::index(const QString& strPath) const
{
    const QString strClean = QDir::cleanPath(strPath);
    for (int n = 0; n < int(m_vecSources.size()); ++n) {
        const QString& strRoot = m_vecSources[size_t(n)].strPath;
        const bool bBelow = strClean == strRoot
            || strClean.startsWith(strRoot.endsWith(QLatin1Char('/')) ? strRoot : strRoot + QLatin1Char('/'));
        if (bBelow)
            return FromSource(n, m_vecSources[size_t(n)].pModel->index(strClean));
    }
    return QModelIndex();
}

QModelIndex FolderRootsModel::index(int nRow, int nColumn, const QModelIndex& parent) const
{
    if (nColumn != 0 || nRow < 0)
        return QModelIndex();
    if (!parent.isValid()) {
        if (nRow >= int(m_vecSources.size()))
            return QModelIndex();
        return createIndex(nRow, 0, NodeFor(nRow, m_vecSources[size_t(nRow)].root));
    }
    const Node* pParent = NodeOf(parent);
    if (!pParent)
        return QModelIndex();
    const QModelIndex source = m_vecSources[size_t(pParent->nRoot)].pModel->index(nRow, 0, pParent->source);
    if (!source.isValid())
        return QModelIndex();
    return createIndex(nRow, 0, NodeFor(pParent->nRoot, source));
}

QModelIndex FolderRootsModel::parent(const QModelIndex& child) const
{
    const Node* pNode = NodeOf(child);
    if (!pNode || !pNode->source.isValid() || pNode->source == m_vecSources[size_t(pNode->nRoot)].root)
        return QModelIndex();
    return FromSource(pNode->nRoot, pNode->source.parent());
}

int FolderRootsModel::rowCount(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return int(m_vecSources.size());
    const Node* pNode = NodeOf(parent);
    if (parent.column() != 0 || !pNode || !pNode->source.isValid())
        return 0;
    return m_vecSources[size_t(pNode->nRoot)].pModel->rowCount(pNode->source);
}

int FolderRootsModel::columnCount(const QModelIndex&) const
{
    return 1;
}

QVariant FolderRootsModel::data(const QModelIndex& index, int nRole) const
{
    const Node* pNode = NodeOf(index);
    if (!pNode || !pNode->source.isValid())
        return QVariant();
    const Source& source = m_vecSources[size_t(pNode->nRoot)];
    if (nRole == Qt::DisplayRole && pNode->source == source.root)
        return source.strLabel;
    return source.pModel->data(pNode->source, nRole);
}

Qt::ItemFlags FolderRootsModel::flags(const QModelIndex& index) const
{
    const Node* pNode = NodeOf(index);
    if (!pNode || !pNode->source.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

bool FolderRootsModel::hasChildren(const QModelIndex& parent) const
{
    if (!parent.isValid())
        return !m_vecSources.empty();
    const Node* pNode = NodeOf(parent);
    return pNode && pNode->source.isValid() && m_vecSources[size_t(pNode->nRoot)].pModel->hasChildren(pNode->source);
}

bool FolderRootsModel::canFetchMore(const QModelIndex& parent) const
{
    const Node* pNode = NodeOf(parent);
    return pNode && pNode->source.isValid() && m_vecSources[size_t(pNode->nRoot)].pModel->canFetchMore(pNode->source);
}

void FolderRootsModel::fetchMore(const QModelIndex& parent)
{
    if (const Node* pNode = NodeOf(parent); pNode && pNode->source.isValid())
        m_vecSources[size_t(pNode->nRoot)].pModel->fetchMore(pNode->source);
}

FolderRootsModel::Node* FolderRootsModel::NodeFor(int nRoot, const QModelIndex& source) const
{
    const QPair<int, const void*> key(nRoot, source.internalPointer());
    Node*& pNode = m_nodeOf[key];
    if (!pNode) {
        m_nodes.push_back(Node {nRoot, source});
        pNode = &m_nodes.back();
    } else if (pNode->source != source) {
        // The folder this node stood for is gone and its memory holds another now.
        pNode->source = source;
    }
    return pNode;
}

FolderRootsModel::Node* FolderRootsModel::NodeOf(const QModelIndex& index) const
{
    if (!index.isValid() || index.model() != this)
        return nullptr;
    return static_cast<Node*>(index.internalPointer());
}

QModelIndex FolderRootsModel::FromSource(int nRoot, const QModelIndex& source) const
{
    if (!InBranch(nRoot, source))
        return QModelIndex();
    const int nRow = source == m_vecSources[size_t(nRoot)].root ? nRoot : source.row();
    return createIndex(nRow, 0, NodeFor(nRoot, source.siblingAtColumn(0)));
}

bool FolderRootsModel::InBranch(int nRoot, const QModelIndex& source) const
{
    const QPersistentModelIndex& root = m_vecSources[size_t(nRoot)].root;
    for (QModelIndex walk = source.siblingAtColumn(0); walk.isValid(); walk = walk.parent()) {
        if (walk == root)
            return true;
    }
    return false;
}

void FolderRootsModel::Connect(int nRoot)
{
    Source& source = m_vecSources[size_t(nRoot)];
    QFileSystemModel* pModel = source.pModel;
    // Rows inside the root's branch are announced around the model's own change; the rest of the
    // model (the folders above the root) is not shown.
    connect(pModel, &QAbstractItemModel::rowsAboutToBeInserted, this,
        [this, nRoot](const QModelIndex& parent, int nFirst, int nLast) {
            Source& s = m_vecSources[size_t(nRoot)];
            s.bPending = InBranch(nRoot, parent);
            if (s.bPending)
                beginInsertRows(FromSource(nRoot, parent), nFirst, nLast);
        });
    connect(pModel, &QAbstractItemModel::rowsInserted, this, [this, nRoot] {
        Source& s = m_vecSources[size_t(nRoot)];
        if (std::exchange(s.bPending, false))
            endInsertRows();
    });
    connect(pModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
        [this, nRoot](const QModelIndex& parent, int nFirst, int nLast) {
            Source& s = m_vecSources[size_t(nRoot)];
            s.bPending = InBranch(nRoot, parent);
            if (s.bPending)
                beginRemoveRows(FromSource(nRoot, parent), nFirst, nLast);
        });
    connect(pModel, &QAbstractItemModel::rowsRemoved, this, [this, nRoot] {
        Source& s = m_vecSources[size_t(nRoot)];
        if (std::exchange(s.bPending, false))
            endRemoveRows();
    });
    connect(pModel, &QAbstractItemModel::dataChanged, this,
        [this, nRoot](const QModelIndex& topLeft, const QModelIndex& bottomRight) {
            if (!InBranch(nRoot, topLeft))
                return;
            const QModelIndex first = FromSource(nRoot, topLeft);
            const QModelIndex last = FromSource(nRoot, bottomRight);
            if (first.isValid() && last.isValid())
                emit dataChanged(first, last);
        });
    // Sorting moves rows: every index the views keep is carried to where its folder went.
    connect(pModel, &QAbstractItemModel::layoutAboutToBeChanged, this, [this] {
        emit layoutAboutToBeChanged();
        m_vecLayoutSaved.clear();
        m_vecLayoutNodes.clear();
        const QModelIndexList kept = persistentIndexList();
        for (const QModelIndex& index : kept) {
            m_vecLayoutSaved.append(index);
            m_vecLayoutNodes.append(NodeOf(index));
        }
    });
    connect(pModel, &QAbstractItemModel::layoutChanged, this, [this] {
        QModelIndexList from;
        QModelIndexList to;
        for (qsizetype i = 0; i < m_vecLayoutSaved.size(); ++i) {
            const Node* pNode = m_vecLayoutNodes[i];
            from.append(m_vecLayoutSaved[i]);
            to.append(pNode ? FromSource(pNode->nRoot, pNode->source) : QModelIndex());
        }
        changePersistentIndexList(from, to);
        m_vecLayoutSaved.clear();
        m_vecLayoutNodes.clear();
        emit layoutChanged();
    });
    connect(pModel, &QFileSystemModel::directoryLoaded, this, &FolderRootsModel::FolderLoaded);
    connect(pModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(pModel, &QAbstractItemModel::modelReset, this, [this, nRoot] {
        Source& s = m_vecSources[size_t(nRoot)];
        s.root = s.pModel->index(s.strPath);
        m_nodeOf.clear();
        m_nodes.clear();
        endResetModel();
    });
}
