#pragma once
// The tray's popup menu: 23 pixels of left margin painted with a vertical
// gradient and the program's name and version written bottom to top.
#include <QMenu>

namespace vesko {

// Shows the menu's images at their size of 24 x 24.
void UsarImagens24(QMenu& menu);

class TMenuMargem : public QMenu {
    Q_OBJECT
public:
    explicit TMenuMargem(QWidget* parent = nullptr);
    static constexpr int kLarguraMargem = 23;
    static QString TextoMargem();
    // The margin's font for a menu `altura` pixels high: the largest size
    // from 9 down to 8 points at which the whole text fits above the base.
    static QFont FonteMargem(int altura);
    static constexpr qreal kPontosMargem = 9;
    static constexpr qreal kPontosMinimos = 8;
    static constexpr int kRecuoBase = 5;  // the text starts this far above the bottom edge

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    void PopupMenuDrawMargin(QPainter& canvas, const QRect& margem);
};

}  // namespace vesko
