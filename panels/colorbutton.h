#pragma once

#include <QColor>
#include <QPushButton>

class QMenu;

// A small colour button: it shows its colour, and a click opens a pop-up with "Automatic", a palette
// of five columns and "Other..." (the full colour dialog). A choice sets the button's colour and
// sends colorChosen.
class CColorButton : public QPushButton {
    Q_OBJECT

public:
    // clrAutomatic is the colour "Automatic" stands for.
    explicit CColorButton(QColor clrAutomatic, QWidget* pParent = nullptr);
    ~CColorButton() override;

    // Shows the colour without sending anything.
    void SetColor(QColor clr);
    // Shows "Automatic" without sending anything.
    void SetAutomatic();
    // The colour chosen, or the automatic colour while the button is on "Automatic".
    QColor Color() const;
    bool IsAutomatic() const { return m_bAutomatic; }
    QColor AutomaticColor() const { return m_clrAutomatic; }

    // A choice made in the pop-up: the colour, or "Automatic".
    void ChooseColor(QColor clr);
    void ChooseAutomatic();

    // The palette's colours, row by row, five to a row.
    static const QList<QColor>& Palette();
    static constexpr int kColumns = 5;

signals:
    void colorChosen();

protected:
    // QWidget events
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void ShowPopup();
    void ChooseOther();

    QColor m_clrAutomatic;
    QColor m_clr;
    bool m_bAutomatic = true;
    QMenu* m_pPopup = nullptr;
};
