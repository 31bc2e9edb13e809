#pragma once

#include <vector>

#include <QAbstractScrollArea>
#include <QRect>
#include <QString>
#include <QStringList>

#include "platform/appdir.h"
#include "widgets/imgctrl.h"

// A scrolling grid of picture cells, three to a row, showing every picture file of one folder as a
// thumbnail. Cells are 170 x 170 pixels on a 180-pixel pitch with a 10-pixel gap at the left and top;
// scrolling moves them with the client area one row at a time. Cells are created once and reused: the
// free ones are hidden and always at the end of m_cells.
//
// Selection: one current cell (a plain click), or the select-all highlight (Ctrl+A) with no current
// cell. The owner reads m_pCurrent. The arrow keys, Home and End move the current cell through the grid.
class CPicList : public QAbstractScrollArea {
    Q_OBJECT

public:
    // strAppDir is the program folder whose Skins/tempbk.png is drawn behind a selected cell.
    explicit CPicList(QWidget* pParent = nullptr, const QString& strAppDir = GetAppDir());
    ~CPicList() override;

    // Gives the list its rectangle in the parent and shows it.
    void Create(const QRect& rc);
    // Shows the picture files matched by the pattern (a folder, "/" and a wild card such as "*.*"),
    // in name order. The same pattern as before, ignoring case, changes nothing.
    void ShowFolder(const QString& strPattern);
    // Shows the picture files in the order given; a file that cannot be read leaves its cell empty.
    void ShowPictures(const QStringList& pictures);
    // Adds a cell for the file when it is a picture; false otherwise.
    bool AddPicture(const QString& strPath);
    // True when the text after the last "." (standing at position 1 or later) is one of m_extensions,
    // ignoring case.
    bool IsPictureFile(const QString& strPath) const;
    // Frees every used cell, clears the selection and returns the view to the top.
    void RemoveAll();
    void ClearSelection();
    // Makes the used cell at nIndex the current selection; any other index selects nothing.
    void SelectCell(int nIndex);
    // Highlights every used cell; nothing is current afterwards.
    void SelectAll();
    int UsedCount() const;
    // The rectangle of cell number UsedCount at the current scroll position.
    QRect NextCellRect() const;
    // Sets the scroll range for the used cells: positions 0 to rows - 3, paging by 4 rows.
    void UpdateScrollRange();

    // The scroll position in rows.
    int ScrollPos() const;
    // Scrolls to the position, clamped to 0..rows - 3, moving the cells with the client area.
    void ScrollTo(int nPos);
    // Waits until every thumbnail asked for so far has been made and handed to its cell.
    void WaitForThumbnails();

    std::vector<CImgCtrl*> m_cells;
    CImgCtrl* m_pCurrent = nullptr;
    std::vector<CImgCtrl*> m_allSelected;
    QStringList m_extensions;
    QString m_strFolder;

protected:
    bool event(QEvent* pEvent) override;
    // QAbstractScrollArea
    void scrollContentsBy(int dx, int dy) override;
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void wheelEvent(QWheelEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void contextMenuEvent(QContextMenuEvent* pEvent) override;

private:
    void OnCellDown(int nFlags, CImgCtrl* pCell);
    void OnCellUp(CImgCtrl* pCell);
    // Clears the selection and makes the cell the single current selection.
    void MakeCurrent(CImgCtrl* pCell);
    int Rows() const;
    // The position of the current cell among the used cells, -1 when there is none.
    int CurrentIndex() const;

    QString m_strSelectSkin;
    // The number of used cells: the cells before the free run at the end of m_cells.
    int m_nUsed = 0;
    // The row the cells were last scrolled to; the scroll bar holds the position asked for.
    int m_nScrolled = 0;
    // Declared last so that it is destroyed first: its workers stop before the cells go.
    ThumbnailPool m_thumbnails;
};
