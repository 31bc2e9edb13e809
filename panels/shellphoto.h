#pragma once

#include <QString>
#include <QWidget>

class CThumbList;
class FolderRootsModel;
class QTreeView;

// The Photo tab: a tree of the computer's folders over the thumbnail list of the pictures in the
// folder selected in it. Photos are dragged from the list onto the card.
class ShellPhoto : public QWidget {
    Q_OBJECT

public:
    explicit ShellPhoto(QWidget* pParent = nullptr);
    ~ShellPhoto() override;

    // Selects the folder in the tree (opening its parents) and so lists its pictures.
    void SelectFolder(const QString& strFolder);
    // The folder selected in the tree changed: its pictures are listed (every change reloads) and it
    // becomes the folder the browser starts in next time. A selection without a folder path changes
    // nothing.
    void OnChangeCurrentFolder(const QString& strPath);

    QTreeView* m_shellTree = nullptr;
    FolderRootsModel* m_pFolderModel = nullptr;
    CThumbList* m_listPhoto = nullptr;
    int m_bReady = 0;

protected:
    // QObject
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override;
    // QWidget events
    void resizeEvent(QResizeEvent* pEvent) override;

private:
    // Scrolls the tree so the selected folder is in view, names shown from their start.
    void RevealCurrent();

    // The folder selected by SelectFolder: kept in view while the folders above it are read.
    QString m_strReveal;
};

// The folder the photo browser starts in: the folder it showed last when it still exists, otherwise
// the user's Pictures folder, otherwise the home folder.
QString StartPhotoFolder();
