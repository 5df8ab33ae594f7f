// Draws the pictures the import stores in the POS database and writes them
// into a folder (by default src/resources/imagens of the repository):
//
//   DINHEIRO.bmp CHEQUE.bmp CARTAO.bmp TICKET.bmp PARCELADO.bmp VALE.bmp
//   TROCA.bmp CHEQUE_PRE.bmp   64 x 64, 24-bit Windows bitmaps, one per
//                              payment kind (cash, cheque, card, meal ticket,
//                              instalments, voucher, exchange, post-dated
//                              cheque)
//   GRUPO_PADRAO.jpg           108 x 125 JPEG, the default product group
//
// The files are committed; run this again only to change a drawing:
//
//   vesko-imagens-importacao src/resources/imagens
//
// Only painter paths and the DejaVu Sans font are used, so the drawings do
// not depend on a platform theme.
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kLado = 64;
const QColor kTinta(40, 40, 48);

QFont Fonte(int pixels, bool negrito = true) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixels);
    f.setBold(negrito);
    return f;
}

QPen Caneta(const QColor& cor, qreal largura) { return QPen(cor, largura, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }

// A banknote behind a gold coin marked with the real sign.
void Dinheiro(QPainter& p) {
    const QColor verde(46, 139, 87);
    p.setPen(Caneta(verde.darker(150), 2));
    p.setBrush(QColor(152, 214, 160));
    p.drawRoundedRect(QRectF(4, 10, 46, 28), 3, 3);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(27, 24), 8, 8);
    p.setFont(Fonte(11));
    p.drawText(QRectF(19, 16, 16, 16), Qt::AlignCenter, QStringLiteral("$"));
    p.setPen(Caneta(QColor(150, 110, 0), 2));
    p.setBrush(QColor(246, 196, 40));
    p.drawEllipse(QPointF(44, 44), 15, 15);
    p.setPen(QColor(110, 70, 0));
    p.setFont(Fonte(14));
    p.drawText(QRectF(29, 29, 30, 30), Qt::AlignCenter, QStringLiteral("R$"));
}

// A cheque slip: bank line, payee line, amount box and a signature.
void FolhaCheque(QPainter& p, const QRectF& r) {
    p.setPen(Caneta(QColor(70, 100, 150), 2));
    p.setBrush(QColor(214, 232, 250));
    p.drawRect(r);
    p.setPen(Caneta(QColor(70, 100, 150), 1.5));
    p.setBrush(Qt::NoBrush);
    const qreal x0 = r.left() + 4, x1 = r.right() - 4;
    p.drawLine(QPointF(x0, r.top() + 7), QPointF(x0 + 20, r.top() + 7));
    p.drawRect(QRectF(x1 - 16, r.top() + 3, 16, 8));
    p.drawLine(QPointF(x0, r.top() + 16), QPointF(x1, r.top() + 16));
    p.drawLine(QPointF(x0, r.top() + 22), QPointF(x1 - 10, r.top() + 22));
    QPainterPath assinatura(QPointF(x1 - 24, r.bottom() - 4));
    assinatura.cubicTo(QPointF(x1 - 20, r.bottom() - 12), QPointF(x1 - 14, r.bottom() + 2),
                       QPointF(x1 - 10, r.bottom() - 8));
    assinatura.cubicTo(QPointF(x1 - 8, r.bottom() - 12), QPointF(x1 - 4, r.bottom() - 2), QPointF(x1, r.bottom() - 6));
    p.setPen(Caneta(kTinta, 1.5));
    p.drawPath(assinatura);
}

void Cheque(QPainter& p) {
    p.save();
    p.translate(32, 32);
    p.rotate(-8);
    p.translate(-32, -32);
    FolhaCheque(p, QRectF(3, 16, 58, 34));
    p.restore();
}

// A bank card with its chip and magnetic band.
void Cartao(QPainter& p) {
    p.setPen(Caneta(QColor(20, 50, 120), 2));
    p.setBrush(QColor(44, 96, 200));
    p.drawRoundedRect(QRectF(4, 13, 56, 38), 5, 5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(20, 30, 60));
    p.drawRect(QRectF(5, 19, 54, 7));
    p.setPen(Caneta(QColor(150, 110, 0), 1));
    p.setBrush(QColor(236, 190, 60));
    p.drawRoundedRect(QRectF(10, 30, 12, 9), 2, 2);
    p.drawLine(QPointF(16, 30), QPointF(16, 39));
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    for (int i = 0; i < 4; ++i) p.drawRect(QRectF(10 + i * 11, 44, 8, 3));
}

// A meal ticket: notched stub with a fork and a knife.
void Ticket(QPainter& p) {
    QPainterPath bilhete;
    bilhete.addRoundedRect(QRectF(4, 14, 56, 36), 4, 4);
    QPainterPath entalhes;
    entalhes.addEllipse(QPointF(4, 32), 5, 5);
    entalhes.addEllipse(QPointF(60, 32), 5, 5);
    p.setPen(Caneta(QColor(190, 90, 0), 2));
    p.setBrush(QColor(255, 170, 60));
    p.drawPath(bilhete.subtracted(entalhes));
    QPen tracejado = Caneta(QColor(190, 90, 0), 1.5);
    tracejado.setStyle(Qt::DashLine);
    p.setPen(tracejado);
    p.drawLine(QPointF(22, 17), QPointF(22, 47));
    // fork
    p.setPen(Caneta(Qt::white, 2));
    p.drawLine(QPointF(34, 22), QPointF(34, 43));
    p.drawLine(QPointF(31, 22), QPointF(31, 28));
    p.drawLine(QPointF(37, 22), QPointF(37, 28));
    p.drawLine(QPointF(31, 28), QPointF(37, 28));
    // knife
    QPainterPath faca(QPointF(46, 43));
    faca.lineTo(46, 22);
    faca.cubicTo(QPointF(51, 24), QPointF(51, 31), QPointF(46, 33));
    p.setBrush(Qt::white);
    p.drawPath(faca);
}

// A calendar page split into instalments ("3x").
void Parcelado(QPainter& p) {
    p.setPen(Caneta(QColor(120, 40, 40), 2));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(6, 10, 52, 46), 4, 4);
    p.setBrush(QColor(200, 60, 60));
    p.drawRect(QRectF(6, 10, 52, 11));
    p.setBrush(QColor(90, 90, 90));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(16, 5, 4, 10), 2, 2);
    p.drawRoundedRect(QRectF(44, 5, 4, 10), 2, 2);
    p.setPen(Caneta(QColor(170, 170, 170), 1));
    for (int i = 1; i < 3; ++i) p.drawLine(QPointF(6 + i * 52.0 / 3, 21), QPointF(6 + i * 52.0 / 3, 56));
    p.setPen(kTinta);
    p.setFont(Fonte(20));
    p.drawText(QRectF(6, 22, 52, 34), Qt::AlignCenter, QStringLiteral("3x"));
}

// A gift voucher: coupon with a cut line, a ribbon and a bow.
void Vale(QPainter& p) {
    p.setPen(Caneta(QColor(110, 40, 130), 2));
    p.setBrush(QColor(214, 160, 232));
    p.drawRoundedRect(QRectF(4, 16, 56, 34), 3, 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 40, 60));
    p.drawRect(QRectF(17, 16, 6, 34));
    p.setPen(Caneta(QColor(160, 20, 40), 1.5));
    p.setBrush(QColor(240, 70, 90));
    p.drawEllipse(QRectF(9, 8, 11, 9));
    p.drawEllipse(QRectF(20, 8, 11, 9));
    p.setPen(kTinta);
    p.setFont(Fonte(16));
    p.drawText(QRectF(24, 16, 36, 34), Qt::AlignCenter, QStringLiteral("%"));
}

// Two curved arrows around each other: goods exchanged.
void Troca(QPainter& p) {
    const auto seta = [&](const QColor& cor, qreal inicio) {
        p.setPen(Caneta(cor, 5));
        p.setBrush(Qt::NoBrush);
        const QRectF r(12, 12, 40, 40);
        p.drawArc(r, static_cast<int>(inicio * 16), static_cast<int>(140 * 16));
        const qreal fim = qDegreesToRadians(inicio + 140);
        const QPointF ponta(32 + 20 * std::cos(fim), 32 - 20 * std::sin(fim));
        const QPointF tangente(-std::sin(fim), -std::cos(fim));
        const QPointF normal(std::cos(fim), -std::sin(fim));
        p.setPen(Qt::NoPen);
        p.setBrush(cor);
        p.drawPolygon(QPolygonF({ponta + tangente * 9, ponta + normal * 8, ponta - normal * 8}));
    };
    seta(QColor(0, 140, 150), 20);
    seta(QColor(230, 120, 0), 200);
    p.setPen(Caneta(kTinta, 1.5));
    p.setBrush(QColor(250, 230, 190));
    p.drawRect(QRectF(24, 27, 16, 13));
    p.drawLine(QPointF(24, 31), QPointF(40, 31));
}

// A cheque with a calendar leaf on its corner: to be cashed later.
void ChequePre(QPainter& p) {
    FolhaCheque(p, QRectF(2, 8, 54, 32));
    p.setPen(Caneta(QColor(120, 40, 40), 1.5));
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(30, 30, 30, 30), 3, 3);
    p.setBrush(QColor(200, 60, 60));
    p.drawRect(QRectF(30, 30, 30, 8));
    p.setPen(kTinta);
    p.setFont(Fonte(14));
    p.drawText(QRectF(30, 38, 30, 22), Qt::AlignCenter, QStringLiteral("30"));
}

QImage Desenhar(const std::function<void(QPainter&)>& desenho, int largura, int altura) {
    QImage imagem(largura, altura, QImage::Format_RGB888);
    imagem.fill(Qt::white);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    desenho(p);
    p.end();
    return imagem;
}

// The default product group: a plate with a fork and a knife under the
// word "Grupo".
void GrupoPadrao(QPainter& p) {
    p.fillRect(QRectF(0, 0, 108, 125), QColor(250, 246, 238));
    p.setPen(Caneta(QColor(150, 150, 160), 2));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(54, 52), 34, 34);
    p.setBrush(QColor(236, 236, 242));
    p.drawEllipse(QPointF(54, 52), 22, 22);
    p.setPen(Caneta(QColor(110, 110, 120), 3));
    p.drawLine(QPointF(10, 28), QPointF(10, 80));
    for (qreal x : {5.0, 10.0, 15.0}) p.drawLine(QPointF(x, 20), QPointF(x, 32));
    p.drawLine(QPointF(5, 32), QPointF(15, 32));
    QPainterPath faca(QPointF(98, 80));
    faca.lineTo(98, 20);
    faca.cubicTo(QPointF(106, 26), QPointF(106, 44), QPointF(98, 48));
    p.setBrush(QColor(110, 110, 120));
    p.drawPath(faca);
    p.setPen(QColor(120, 70, 30));
    p.setFont(Fonte(17));
    p.drawText(QRectF(0, 92, 108, 28), Qt::AlignCenter, QStringLiteral("Grupo"));
}

bool Gravar(const QImage& imagem, const QString& caminho, const char* formato, int qualidade = -1) {
    QFile f(caminho);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || !imagem.save(&f, formato, qualidade)) {
        std::fprintf(stderr, "não foi possível gravar %s\n", qPrintable(caminho));
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString destino = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("src/resources/imagens");
    if (!QDir().mkpath(destino)) {
        std::fprintf(stderr, "não foi possível criar %s\n", qPrintable(destino));
        return 2;
    }
    const struct {
        const char* nome;
        void (*desenho)(QPainter&);
    } pagamentos[] = {{"DINHEIRO", Dinheiro}, {"CHEQUE", Cheque},       {"CARTAO", Cartao}, {"TICKET", Ticket},
                      {"PARCELADO", Parcelado}, {"VALE", Vale}, {"TROCA", Troca}, {"CHEQUE_PRE", ChequePre}};
    bool ok = true;
    for (const auto& pg : pagamentos)
        ok = Gravar(Desenhar(pg.desenho, kLado, kLado), destino + QLatin1Char('/') + QLatin1String(pg.nome) +
                                                            QStringLiteral(".bmp"), "BMP") && ok;
    ok = Gravar(Desenhar(GrupoPadrao, 108, 125), destino + QStringLiteral("/GRUPO_PADRAO.jpg"), "JPEG", 85) && ok;
    return ok ? 0 : 1;
}
