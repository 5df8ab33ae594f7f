#include "app/MenuMargem.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>

#include "base/Versao.h"

namespace vesko {

TMenuMargem::TMenuMargem(QWidget* parent) : QMenu(parent) {
    setContentsMargins(kLarguraMargem, 0, 0, 0);
}

QString TMenuMargem::TextoMargem() { return QStringLiteral("Integrador Vesko v. " VESKO_VERSAO); }

void TMenuMargem::paintEvent(QPaintEvent* evento) {
    QMenu::paintEvent(evento);
    QPainter canvas(this);
    PopupMenuDrawMargin(canvas, QRect(0, 0, kLarguraMargem, height()));
}

void TMenuMargem::PopupMenuDrawMargin(QPainter& canvas, const QRect& margem) {
    const QColor inicio(136, 164, 204);
    const QColor fim(inicio.red() / 4, inicio.green() / 4, inicio.blue() / 4);  // RGB(34, 41, 51)
    QLinearGradient gradiente(margem.topLeft(), margem.bottomLeft());
    gradiente.setColorAt(0, inicio);
    gradiente.setColorAt(1, fim);
    canvas.fillRect(margem, gradiente);

    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPointSize(9);
    canvas.setFont(fonte);
    canvas.setPen(QColor(0xFF, 0xFF, 0xFF));
    canvas.setClipRect(margem);
    canvas.translate(margem.left(), margem.bottom() - 5);
    canvas.rotate(-90);  // text runs from bottom to top
    canvas.drawText(0, canvas.fontMetrics().ascent(), TextoMargem());
}

}  // namespace vesko
