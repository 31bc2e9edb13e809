#pragma once

#include <QDialog>
#include <QImage>
#include <QRect>
#include <QSize>

class CardDocument;

// The full preview: the card alone on black, as large as the screen allows, rendered from the
// full-size pictures exactly as an export would be. A double-click or Escape closes it. The rendered
// picture is kept, so that a repaint that only uncovers the window draws it again without reading a
// picture; Invalidate drops it when the card changes.
class CFullDlg : public QDialog {
    Q_OBJECT

public:
    // szCard is the card's pixel size (its background's); the document must outlive the window. The
    // main window, modal itself, is the parent: a window outside it would get no input.
    CFullDlg(const CardDocument& doc, QSize szCard, QWidget* pParent = nullptr);
    ~CFullDlg() override;

    // Where the card lands on a client of this size: the largest rectangle of its aspect, centred.
    QRect CardRect(QSize szClient) const;
    // The picture shown on a client of this size at a device pixel ratio.
    QImage RenderPreview(QSize szClient, qreal dDevicePixelRatio) const;
    // The card changed: the next repaint renders it anew.
    void Invalidate();
    // How many times the card has been rendered, for the expose test and the benchmark.
    int RenderCount() const { return m_nRenders; }

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;

private:
    const CardDocument& m_doc;
    QSize m_szCard;
    QImage m_imgShown;
    int m_nRenders = 0;
};
