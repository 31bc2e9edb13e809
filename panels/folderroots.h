#pragma once

#include <deque>
#include <vector>

#include <QAbstractItemModel>
#include <QHash>
#include <QPersistentModelIndex>
#include <QString>

class QFileSystemModel;

// A folder tree with several starting points at its top level (the user's home and the file-system
// root), each the folder tree of a file-system model of its own that reads folders in the background.
// Every folder below a starting point appears once under it, as its model shows it.
class FolderRootsModel : public QAbstractItemModel {
    Q_OBJECT

public:
    // Each root is a folder shown at the top level under its label.
    struct Root {
        QString strPath;
        QString strLabel;
    };
    // A root whose folder does not exist is left out.
    explicit FolderRootsModel(const std::vector<Root>& roots, QObject* pParent = nullptr);
    ~FolderRootsModel() override;

    // The folder of an index (empty for none), and the index of a folder below the first root that
    // holds it (invalid when none does).
    QString filePath(const QModelIndex& index) const;
    QModelIndex index(const QString& strPath) const;

    // QAbstractItemModel
    QModelIndex index(int nRow, int nColumn, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int nRole = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

signals:
    // The subfolders of the folder have been read.
    void FolderLoaded(const QString& strPath);

private:
    // One folder as this model knows it: which root's model shows it, and where.
    struct Node {
        int nRoot = 0;
        QPersistentModelIndex source;
    };
    struct Source {
        QFileSystemModel* pModel = nullptr;
        QPersistentModelIndex root;
        QString strLabel;
        QString strPath;
        // Rows announced to the views between a change's two signals.
        bool bPending = false;
    };

    Node* NodeFor(int nRoot, const QModelIndex& source) const;
    Node* NodeOf(const QModelIndex& index) const;
    // The index of a folder of root nRoot's model, or invalid when it is not below that root.
    QModelIndex FromSource(int nRoot, const QModelIndex& source) const;
    bool InBranch(int nRoot, const QModelIndex& source) const;
    void Connect(int nRoot);

    std::vector<Source> m_vecSources;
    // Nodes live as long as the model, so an index's pointer to its node stays valid.
    mutable std::deque<Node> m_nodes;
    mutable QHash<QPair<int, const void*>, Node*> m_nodeOf;
    QModelIndexList m_vecLayoutSaved;
    QList<Node*> m_vecLayoutNodes;
};
