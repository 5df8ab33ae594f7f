#include "app/MenuMargem.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QProxyStyle>

#include "base/Versao.h"

namespace vesko {

namespace {
// The menu's images are 24 x 24.
class TEstiloImagens24 : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metrica, const QStyleOption* opcao, const QWidget* widget) const override {
        if (metrica == PM_SmallIconSize) return 24;
        return QProxyStyle::pixelMetric(metrica, opcao, widget);
    }
};
}  // namespace

void UsarImagens24(QMenu& menu) {
    auto* estilo = new TEstiloImagens24();
    estilo->setParent(&menu);
    menu.setStyle(estilo);
}

TMenuMargem::TMenuMargem(QWidget* parent) : QMenu(parent) {
    setContentsMargins(kLarguraMargem, 0, 0, 0);
    UsarImagens24(*this);
}

QString TMenuMargem::TextoMargem() { return QStringLiteral("Integrador Vesko v. " VESKO_VERSAO); }

QFont TMenuMargem::FonteMargem(int altura) {
    // Segoe UI 9 where it fits; a smaller size (down to 8) where the desktop's
    // font is wider, so that the whole text stands in the margin.
    QFont fonte(QStringLiteral("Segoe UI"));
    for (qreal pontos = kPontosMargem; pontos >= kPontosMinimos; pontos -= 0.5) {
        fonte.setPointSizeF(pontos);
        if (QFontMetrics(fonte).horizontalAdvance(TextoMargem()) <= altura - kRecuoBase) break;
    }
    return fonte;
}

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

    canvas.setFont(FonteMargem(margem.height()));
    canvas.setPen(QColor(0xFF, 0xFF, 0xFF));
    canvas.setClipRect(margem);
    canvas.translate(margem.left(), margem.bottom() - kRecuoBase);
    canvas.rotate(-90);  // text runs from bottom to top
    canvas.drawText(0, canvas.fontMetrics().ascent(), TextoMargem());
}

}  // namespace vesko
