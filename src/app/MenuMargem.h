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

protected:
    void paintEvent(QPaintEvent* evento) override;

private:
    void PopupMenuDrawMargin(QPainter& canvas, const QRect& margem);
};

}  // namespace vesko
