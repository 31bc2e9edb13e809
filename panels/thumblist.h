#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QImage>
#include <QListWidget>
#include <QPixmap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QStringList>
#include <QThreadPool>

class QDrag;

// Side of a thumbnail icon, pitch of the two-column icon grid and the list's background.
constexpr int kThumbSide = 52;
constexpr int kThumbPitch = 55;
constexpr QRgb kThumbBackground = 0xFFD8D8E5;

// Where item nIndex stands: two columns on the 55-pixel pitch, 3 px down.
QPoint ThumbPosition(int nIndex);
// The part of the 52 x 52 icon a picture of the given size fills: fitted, aspect kept, centred.
QRect ThumbImageRect(QSize szPicture);
// The icon of a picture file at the device pixel ratio: the background colour with the picture fitted
// into it, read at no more than the size it is drawn at. A file that cannot be read gives the plain
// background square.
QImage MakeThumbIcon(const QString& strPath, qreal dRatio);
// What a drag shows: the first dragged picture fitted into 50 x 50 at about 72 % opacity, with the
// number of pictures (red on blue) when there are two or more.
QPixmap DragFeedbackPixmap(const QString& strFirstPath, int nCount, qreal dRatio);

// An icon list of the pictures of one folder, filled in the background: every item appears at once
// with a blank icon, and the icons arrive as worker threads read the pictures, in list order. Loading
// another folder ends the running fill before its next picture; the icons of an ended fill never
// reach the list. A drag started in the list carries the drag text of its kind and the selected
// paths.
class CThumbList : public QListWidget {
    Q_OBJECT

public:
    explicit CThumbList(QWidget* pParent = nullptr);
    ~CThumbList() override;

    // Whether the text after the last "." (at position 1 or later) is one of m_extensions, ignoring
    // case.
    bool IsPictureFile(const QString& strPath) const;
    // Ends a running fill, lists the folder's visible picture files by name and starts filling.
    void LoadFolder(const QString& strFolder);
    // Fills the list with m_files: the items at once, the icons in the background.
    void StartFill();
    // Ends the running fill: its workers stop before their next picture and what they still hand over
    // is dropped. Returns at once.
    void StopFill();

    // The paths of the selected items, in list order: what a drag carries.
    QStringList SelectedPaths() const;

    QStringList m_files;
    QStringList m_extensions;
    QString m_strKind;
    int m_bArmed = 0;
    // The running fill: its file list, its stop request and the next picture to read.
    struct FillWorker;
    std::shared_ptr<FillWorker> m_pFillWorker;
    int m_bFilling = 0;

signals:
    // Every icon of the fill is in the list.
    void FillFinished();

protected:
    // Runs the drag; a test may watch it instead.
    virtual void ExecDrag(QDrag& drag);

    // QWidget events
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void closeEvent(QCloseEvent* pEvent) override;

private:
    void OnIconReady(quint64 nGeneration, int nIndex, const QImage& icon);
    void StartDrag();

    // Counts fills, so an icon of an ended fill is recognised and dropped.
    quint64 m_nGeneration = 0;
    int m_nIconsPending = 0;
    // The threads that read pictures for this list (as many as the machine has cores).
    QThreadPool m_pool;
};

// The visible files of a folder (no subfolders, hidden files, devices, pipes or dangling links) that
// pass the test, by name ignoring case.
QStringList ListFolderFiles(const QString& strFolder, const std::function<bool(const QString&)>& accept);
