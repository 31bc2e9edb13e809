#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include <QImage>
#include <QObject>
#include <QRect>
#include <QSize>
#include <QString>
#include <QThreadPool>
#include <QWidget>

class CImgCtrl;

// The mouse key flags of a press or release, as the cells report them: 1 left button, 2 right,
// 4 Shift, 8 Ctrl, 16 middle button.
int MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);

// Where a thumbnail of a W x H picture goes inside rcBox, keeping the aspect ratio with integer
// arithmetic: a square (or unreadable, 0 x 0) picture fills the box; a wide one keeps the box width and
// is centred vertically, a tall one keeps the box height and is centred horizontally. The thumbnail is
// never thinner than one pixel.
QRect FitThumbBox(const QRect& rcBox, qint64 nWidth, qint64 nHeight);

// A finished thumbnail: where it is drawn in the cell and the picture (null when the file could not
// be decoded).
struct ThumbnailResult {
    QRect rcThumb;
    QImage image;
};

// Makes the thumbnail of a picture for a cell of the given client size and margin: reads the picture's
// size, fits the box and decodes the picture at exactly the box size in device pixels, the box size x
// dRatio (JPEG at a reduced decode); the picture carries the ratio. Gives up, with no picture, when
// fnCancelled answers true between the steps.
ThumbnailResult MakeThumbnail(const QString& strPath, QSize szClient, int nMargin,
    const std::function<bool()>& fnCancelled = {}, qreal dRatio = 1.0);

// The workers that make the thumbnails of the cells of one list: a bounded pool, so that a folder of
// thousands of pictures queues its jobs instead of starting a thread each. A worker touches no widget;
// its result reaches the cell through a queued call on the user-interface thread. Deleting the pool
// stops the workers (jobs not yet started are dropped, running ones give up at their next check) and
// waits for them, so it must outlive the cells that use it.
class ThumbnailPool : public QObject {
    Q_OBJECT

public:
    explicit ThumbnailPool(QObject* pParent = nullptr);
    ~ThumbnailPool() override;

    // Queues the thumbnail of the cell's current picture. The result is handed to the cell only if the
    // cell still exists and still shows the same picture (same generation) when it arrives.
    void Start(CImgCtrl* pCell);
    // Drops the jobs that have not started yet; used when every cell has been given another picture.
    void DropQueued();
    // Waits until every queued and running job has finished and its result has been delivered.
    void WaitForIdle();

    QThreadPool m_pool;

private:
    std::shared_ptr<std::atomic_bool> m_pStop;
};

// One picture cell of a CPicList: shows the thumbnail of one picture file, highlighted when selected.
// Presses and releases go to the list as WM_PICCELL_DOWN / WM_PICCELL_UP; a double-click goes to the
// list's parent as WM_TEMPLATE_PICKED.
class CImgCtrl : public QWidget {
    Q_OBJECT

public:
    // pPool makes the thumbnails and must outlive the cell; strSelectSkin is drawn behind a selected cell.
    CImgCtrl(ThumbnailPool* pPool, const QString& strSelectSkin, QWidget* pParent = nullptr);
    ~CImgCtrl() override;

    // Shows the picture: an empty path drops the thumbnail and repaints at once; otherwise a worker
    // makes the thumbnail and the call returns at once.
    void SetPicture(const QString& strPath);

    // The cell as it is shown, drawn on a picture of the client size at the device pixel ratio dRatio.
    QImage RenderCell(qreal dRatio = 1.0) const;

    int m_nItem = -1;
    QString m_strPath;
    int m_nMargin = 5;
    bool m_bFree = false;
    bool m_bSelected = false;
    std::unique_ptr<QImage> m_pThumb;
    QRect m_rcThumb;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;

private:
    friend class ThumbnailPool;

    // Takes a worker's result on the user-interface thread, in one step with respect to painting.
    void TakeThumbnail(int nGeneration, ThumbnailResult&& result);
    // The list the cell belongs to: the nearest CPicList among its ancestors.
    QWidget* List() const;

    ThumbnailPool* m_pPool;
    QString m_strSelectSkin;
    // Raised by every SetPicture; a worker's result counts only for the generation it was started for,
    // and a worker whose generation is already past skips its work.
    std::shared_ptr<std::atomic_int> m_pGeneration;
};
