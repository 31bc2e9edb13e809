#pragma once

#include <QString>
#include <QWidget>

class CButtonX;
class CThumbList;
class MiscPanel;
class ShellPhoto;

// The three lists of the program's own resources: frames, clip-art elements and masks, filled once
// at start-up from the resource folders, one shown at a time.
class MiscPanel : public QWidget {
    Q_OBJECT

public:
    // Lists the resources under strAppDir + "Template/allresources/"; each list fills in the
    // background.
    explicit MiscPanel(const QString& strAppDir, QWidget* pParent = nullptr);
    ~MiscPanel() override;

    // Shows the frames (1), the elements (2) or the masks (3); any other number hides all three.
    void ShowList(int nList);

    CThumbList* m_listMask = nullptr;
    CThumbList* m_listFrame = nullptr;
    CThumbList* m_listElem = nullptr;

protected:
    // QWidget events
    void resizeEvent(QResizeEvent* pEvent) override;
};

// The image panel: four latching tabs, "Photo" over the photo browser and "Frame", "Element", "Mask"
// over the resource lists.
class CateImage : public QWidget {
    Q_OBJECT

public:
    explicit CateImage(const QString& strAppDir, QWidget* pParent = nullptr);
    ~CateImage() override;

    // Shows tab nTab (1 Photo, 2 Frame, 3 Element, 4 Mask) and presses its button alone; the current
    // tab changes nothing.
    void SelectTab(int nTab);

    CButtonX* m_btnPhoto = nullptr;
    CButtonX* m_btnFrame = nullptr;
    CButtonX* m_btnElement = nullptr;
    CButtonX* m_btnMask = nullptr;
    ShellPhoto* m_pShellPhoto = nullptr;
    MiscPanel* m_pMiscPanel = nullptr;
    int m_nTab = 0;

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
};

// Where the content panels of the image panel start, below the four tabs.
constexpr int kCateImageContentTop = 112;
