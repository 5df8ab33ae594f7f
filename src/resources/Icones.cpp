#include "resources/Icones.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace vesko {
namespace {

enum class Simbolo { Letra, SetaCima, SetaBaixo, Pasta, Banco, Engrenagem, Lista, Porta };

QPixmap Desenhar(int lado, const QColor& fundo, Simbolo simbolo, const QString& letra = QString()) {
    QPixmap pm(lado, lado);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal m = lado / 12.0;
    const QRectF r(m, m, lado - 2 * m, lado - 2 * m);
    p.setPen(QPen(fundo.darker(150), lado / 16.0));
    p.setBrush(fundo);
    p.drawRoundedRect(r, lado / 5.0, lado / 5.0);
    p.setPen(QPen(Qt::white, lado / 10.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    const QPointF c = r.center();
    const qreal u = r.width() / 4;
    switch (simbolo) {
    case Simbolo::Letra: {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(static_cast<int>(lado * 0.6));
        p.setFont(f);
        p.drawText(r, Qt::AlignCenter, letra);
        break;
    }
    case Simbolo::SetaCima:
    case Simbolo::SetaBaixo: {
        const qreal s = simbolo == Simbolo::SetaCima ? -1 : 1;
        p.drawLine(QPointF(c.x(), c.y() - s * 1.3 * u), QPointF(c.x(), c.y() + s * 1.3 * u));
        p.drawPolyline(QPolygonF({QPointF(c.x() - u, c.y() + s * 0.4 * u), QPointF(c.x(), c.y() + s * 1.4 * u),
                                  QPointF(c.x() + u, c.y() + s * 0.4 * u)}));
        break;
    }
    case Simbolo::Pasta:
        p.drawRect(QRectF(c.x() - 1.3 * u, c.y() - 0.7 * u, 2.6 * u, 1.8 * u));
        p.drawLine(QPointF(c.x() - 1.3 * u, c.y() - 0.7 * u), QPointF(c.x() - 0.6 * u, c.y() - 1.2 * u));
        break;
    case Simbolo::Banco:
        p.drawEllipse(QRectF(c.x() - 1.1 * u, c.y() - 1.4 * u, 2.2 * u, 0.8 * u));
        p.drawLine(QPointF(c.x() - 1.1 * u, c.y() - u), QPointF(c.x() - 1.1 * u, c.y() + u));
        p.drawLine(QPointF(c.x() + 1.1 * u, c.y() - u), QPointF(c.x() + 1.1 * u, c.y() + u));
        p.drawArc(QRectF(c.x() - 1.1 * u, c.y() + 0.6 * u, 2.2 * u, 0.8 * u), 180 * 16, 180 * 16);
        break;
    case Simbolo::Engrenagem:
        p.drawEllipse(c, 0.9 * u, 0.9 * u);
        for (int i = 0; i < 8; ++i) {
            p.save();
            p.translate(c);
            p.rotate(i * 45);
            p.drawLine(QPointF(0, 0.9 * u), QPointF(0, 1.4 * u));
            p.restore();
        }
        break;
    case Simbolo::Lista:
        for (int i = -1; i <= 1; ++i) p.drawLine(QPointF(c.x() - 1.2 * u, c.y() + i * u), QPointF(c.x() + 1.2 * u, c.y() + i * u));
        break;
    case Simbolo::Porta:
        p.drawRect(QRectF(c.x() - 0.9 * u, c.y() - 1.3 * u, 1.6 * u, 2.6 * u));
        p.drawLine(QPointF(c.x() + 0.2 * u, c.y()), QPointF(c.x() + 1.5 * u, c.y()));
        break;
    }
    return pm;
}

}  // namespace

QIcon IconeBandeja(int indice) {
    QIcon icone;
    for (int lado : {16, 22, 32, 48}) {
        switch (indice) {
        case 1: icone.addPixmap(Desenhar(lado, QColor(0x1E, 0x6F, 0xC8), Simbolo::SetaCima)); break;
        case 2: icone.addPixmap(Desenhar(lado, QColor(0xE0, 0x7B, 0x10), Simbolo::SetaBaixo)); break;
        default: icone.addPixmap(Desenhar(lado, QColor(0x2E, 0x8B, 0x57), Simbolo::Letra, QStringLiteral("V"))); break;
        }
    }
    return icone;
}

QIcon ImagemMenu(int indice) {
    switch (indice) {
    case 0: return QIcon(Desenhar(24, QColor(0x1E, 0x6F, 0xC8), Simbolo::SetaCima));
    case 1: return QIcon(Desenhar(24, QColor(0xE0, 0x7B, 0x10), Simbolo::SetaBaixo));
    case 2: return QIcon(Desenhar(24, QColor(0xB0, 0x24, 0x24), Simbolo::Porta));
    case 3: return QIcon(Desenhar(24, QColor(0x55, 0x5F, 0x6D), Simbolo::Engrenagem));
    case 6: return QIcon(Desenhar(24, QColor(0xC8, 0x9B, 0x1E), Simbolo::Pasta));
    case 7: return QIcon(Desenhar(24, QColor(0xE0, 0x7B, 0x10), Simbolo::Pasta));
    case 8: return QIcon(Desenhar(24, QColor(0x1E, 0x6F, 0xC8), Simbolo::Pasta));
    case 9: return QIcon(Desenhar(24, QColor(0x6A, 0x3D, 0x9A), Simbolo::Lista));
    case 11: return QIcon(Desenhar(24, QColor(0x2E, 0x8B, 0x57), Simbolo::Banco));
    default: return QIcon();
    }
}

}  // namespace vesko
