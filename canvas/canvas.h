// canvas/: the editing surface and the small tool windows that work on it. Uses widgets/ and the core;
// the card arithmetic lives in document/, so everything here is about showing it.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QWidget>

#include "document/carddocument.h"
#include "document/rectf.h"

class AdjustDlg;
class Canvas;
struct LoadedCard;
class QMimeData;
class FloatDlg;
class QPainter;
class TheData;

// The one canvas, set by the main window when it creates it.
extern Canvas* g_pCanvas;
// The text object the text panel edits, or null.
extern TheData* g_pCurrentText;

// The size of the screen copy of a picture of the given size: unchanged when neither side exceeds
// 600 px, otherwise resampled so that the shorter side is exactly 600 px and the longer side keeps
// the aspect ratio (truncated): 1200 x 800 gives 900 x 600, 700 x 300 gives 1400 x 600.
QSize DisplayCopySize(QSize szPicture);

// Where the floating toolbar of width nBarWidth goes for an object: centred under the object's
// unrotated rectangle, 12 px below it, 60 px high, pulled inside the main window. ptCanvas is the
// canvas's top-left corner and rcMainWindow the main window, both on the screen.
QRect FloatBarGeometry(const RectF& rcObject, QPoint ptCanvas, const QRect& rcMainWindow, int nBarWidth);

// The rectangle moved the least distance that puts it inside the area (its top-left corner wins
// when it is larger).
QRect KeepInside(const QRect& rc, const QRect& rcArea);

// The editing surface. It holds the card being edited and shows it filling the whole client area:
// client pixels are card coordinates. While an object is selected the rest of the card is kept in two
// layer images, so that only the selected object is drawn again while it moves.
class Canvas : public QWidget {
    Q_OBJECT

public:
    explicit Canvas(QWidget* pParent = nullptr);
    ~Canvas() override;

    // Numbers the object and appends it on top; with bRecord set the addition is one undo step.
    TheData* AddObject(std::unique_ptr<TheData> pObject, int bRecord);
    // Moves the object at nFrom to stacking position nTo. With bRecord set the move is written into
    // the undo edit the caller has opened, and the moved object becomes the selection.
    void Restack(int nFrom, int nTo, int bRecord);
    // Takes the background and converts the objects a template loader appended from template units
    // to client pixels.
    void FitTemplate(const QString& strBackground);
    // Takes the background and scales the objects a project reader appended from the canvas width
    // they were saved at to the current client width.
    void FitProject(const QString& strBackground, int nSavedWidth);
    // Appends a card read from a template or a project and fits it to the client, as FitTemplate or
    // FitProject would: the one way a loaded card reaches the canvas.
    void PlaceCard(LoadedCard&& card);
    // Rescales every object from the remembered client size to the current one; an empty card keeps
    // the remembered size.
    void RescaleToClient();
    // Frees the background copy and every object, clears the selection and the undo history and tells
    // the parent that nothing can be undone or redone.
    void ClearCard();
    // Renders the card at nWidth x nHeight from the full-size files into m_pSnapshot.
    void RenderCardImage(int nWidth, int nHeight);
    // Freezes everything below and above the selected object into the two layer images.
    void BuildLayers();

    // Selects the object at nIndex outside photo-edit mode, shows the toolbar under it and builds the
    // layer images around it. An index outside the list deselects.
    void Select(int nIndex);
    // Clears the selection, leaves photo-edit mode, hides the tool windows, drops the layer images and
    // the current text, and tells the parent (WM_CANVAS_SELECT 0) in every case.
    void Deselect();
    // Enters object mode (bObjectMode set) or photo-edit mode. Shown, the toolbar is placed under the
    // selected object; hidden, the selection is cleared too.
    void ShowFloatBar(int bShow, int bObjectMode);
    // Places the toolbar under the selected object, unless it is docked, by the FloatBarGeometry rule
    // in its holder's coordinates and inside the toolbar area. Called at selection and whenever a
    // gesture on the object ends.
    void PlaceFloatBar();
    // The part of the main window (in its coordinates) the toolbar stays inside: the canvas area.
    void SetFloatBarArea(const QRect& rcArea);
    // Where the toolbar may stand, in its holder's coordinates: that area, or all of a holder that
    // was given none.
    QRect FloatBarArea() const;
    // Acts on the selection for a key: 1 left, 2 up, 3 right, 4 down move it (or, in photo-edit mode,
    // its photo) by one pixel, each press its own undo step; 5 deletes it (not in photo-edit mode).
    void NudgeSelection(int nDirection);
    // Whether a one-pixel move in the direction keeps at least 10 px of the moved rectangle inside
    // the canvas. Nothing selected: no.
    bool CanNudge(int nDirection) const;
    // Places a new text object, adds it as one undo step, makes it the current text and selects it
    // as a press at (32, 32) would.
    TheData* AddTextObject(std::unique_ptr<TheData> pText);

    // The mouse gestures, called by the event handlers with client coordinates.
    // Selects the object under the point (or, in photo-edit mode, takes hold of the photo) and opens
    // its undo edit; a press on empty canvas deselects.
    void OnLButtonDown(QPoint pt);
    // Drags the selection (or, in photo-edit mode, its photo) with the left button alone.
    void OnMouseMove(QPoint pt, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers);
    // Closes the edit the press opened and asks the main window for the editing hot keys.
    void OnLButtonUp();
    // Enters photo-edit mode for a selected object that shows a photo in a frame. On an empty photo
    // placeholder it asks for a picture and fills the placeholder with it, one undo step.
    void OnLButtonDblClk();

    // Drops. A drag entering clears the selection and is taken when it carries text (a panel's drag
    // text) or local picture files; over the canvas the photo object the drop would change is
    // outlined until the drop, the drag leaving or its cancelling; the drop changes the card, each change
    // one undo step.
    int OnCanvasDragEnter(const QMimeData* pData);
    int OnCanvasDragOver(QPoint pt);
    void OnCanvasDrop(QPoint pt);
    void OnCanvasDragLeave();
    // Takes m_strDragText apart into the kind, the count and the paths.
    void ParseDragText();
    // Adds m_vecDroppedFiles (pictures from the file manager) at the point.
    void AddDroppedFiles(QPoint pt);

    // Draws the canvas as it is shown, on a target of the client size, with the three quality
    // settings: the layer images around the selected object while they are valid, otherwise the
    // background and every live object; then the selection outline.
    void PaintCanvas(QPainter& painter) const;

    // The card: m_strBackground, m_vecObjects, m_nSelected, m_pUndo and the client size.
    CardDocument m_doc;
    std::unique_ptr<QImage> m_pBackground;
    int m_bModified = 0;
    // The floating toolbar: a child of the main window, created hidden with the canvas.
    std::unique_ptr<FloatDlg> m_pFloatBar;
    QRect m_rcClient;
    QPoint m_ptLast;
    int m_bPhotoEdit = 0;
    int m_bLayersValid = 0;
    std::unique_ptr<QImage> m_pLayerBelow;
    std::unique_ptr<QImage> m_pLayerAbove;
    std::unique_ptr<QImage> m_pSnapshot;

    // The drag over the canvas: its effect (0 none, 2 move), its text, the kind letter ('p' photo,
    // 'f' frame, 'e' element, 'm' mask, 0 none), the number of paths, the photo paths, the one
    // resource path, the object under the cursor, and the picture files of a file-manager drop.
    int m_nDropEffect = 0;
    QString m_strDragText;
    char m_chDragKind = 0;
    int m_nDragCount = 0;
    QStringList m_vecDragPhotos;
    QString m_strDragPath;
    int m_nDropTarget = -1;
    QStringList m_vecDroppedFiles;
    // The outline of the drop target, a child above the card.
    AdjustDlg* m_pOverlay = nullptr;
    // Asks for the picture that fills an empty photo placeholder; empty when cancelled. The main window
    // sets it; by default a file dialog.
    std::function<QString()> m_fnPickPhoto;

protected:
    // QWidget events
    bool event(QEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;
    void dragEnterEvent(QDragEnterEvent* pEvent) override;
    void dragMoveEvent(QDragMoveEvent* pEvent) override;
    void dragLeaveEvent(QDragLeaveEvent* pEvent) override;
    void dropEvent(QDropEvent* pEvent) override;

private:
    // Replaces m_pBackground by the screen copy of m_strBackground.
    void LoadBackgroundCopy();
    // Remembers the current client size as the one the objects are laid out for.
    void RememberClient();
    // Shows the objects just fitted to the client and their background.
    void ShowFittedCard();
    // Clears g_pCurrentText when it names one of this card's objects, before they are freed.
    void ForgetCurrentText();
    // The selected object with its whole photo, the parts outside the frame included.
    void PaintPhotoEdit(QPainter& painter, const TheData& obj) const;
    void PaintSelectionOutline(QPainter& painter, const TheData& obj) const;
    // An object as the canvas shows it: an empty photo placeholder carries a quiet hint.
    void PaintObject(QPainter& painter, const TheData& obj) const;
    // The drop is done: the outline goes and the card is shown again.
    void EndDrop(bool bHideOverlay);
    // The frame that shows the canvas has the keyboard focus.
    void PaintFocusFrame(QPainter& painter) const;
    QRect m_rcFloatBarArea;
};
