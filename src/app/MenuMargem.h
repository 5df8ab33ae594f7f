#pragma once
// The tray's popup menu: 23 pixels of left margin painted with a vertical
// gradient and the program's name and version written bottom to top.
#include <QMenu>

namespace vesko {

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
