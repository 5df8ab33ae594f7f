// Grupos.dat, Produtos.dat, Codigos.dat and ImagensProdutos.dat of a
// restaurant: groups of dishes and drinks with their pictures, products with
// prices and tax data, their bar codes ("EAN13") and call codes ("Chamada"),
// and JPEG pictures of some products.
//
// Keys, the same in both variants (other files refer to them):
//  - group i (1-based): CdGrupo "%03d" of i;
//  - product i (1-based): IdProduto and IdDetalhe the decimal i, in group
//    ((i - 1) mod Grupos) + 1;
//  - codes: per product, first an "EAN13", then a "Chamada", then further
//    "EAN13" codes up to CodigosPorProduto.
// Variant 1 changes every group name, every product's name and price, and
// every code's text.
#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRandomGenerator>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "GeradorRetaguarda.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {

enum class TTipoItem { Prato, Bebida, BebidaST, Sobremesa, Quilo, Servico };

struct TCategoria {
    const char* Nome[2];  // group name in variant 0 and 1
    TTipoItem Tipo;
    const char* Ncm;
    const char* Cest;
    QRgb Cor;             // main colour of the pictures
    QStringList Itens;
    double PrecoBase;
};

const std::vector<TCategoria>& Categorias() {
    static const std::vector<TCategoria> c = {
        {{"ENTRADAS", "PETISCOS DA CASA"}, TTipoItem::Prato, "21069090", "", qRgb(214, 160, 72),
         {"Bolinho de Bacalhau", "Pastel de Carne", "Casquinha de Siri", "Caldinho de Feijão", "Pão de Alho",
          "Bruschetta de Tomate", "Isca de Peixe", "Mandioca Frita"},
         18.9},
        {{"PRATOS PRINCIPAIS", "PRATOS DO CHEF"}, TTipoItem::Prato, "21069090", "", qRgb(150, 70, 40),
         {"Picanha na Chapa", "Filé à Parmegiana", "Frango Grelhado com Legumes", "Feijoada Completa",
          "Moqueca de Peixe", "Strogonoff de Carne", "Escondidinho de Carne Seca", "Baião de Dois"},
         49.9},
        {{"MASSAS", "MASSAS ARTESANAIS"}, TTipoItem::Prato, "19023000", "", qRgb(236, 200, 110),
         {"Espaguete à Bolonhesa", "Lasanha de Frango", "Nhoque ao Sugo", "Talharim ao Molho Branco",
          "Ravioli de Queijo", "Penne ao Pesto"},
         38.5},
        {{"PIZZAS", "PIZZAS NO FORNO A LENHA"}, TTipoItem::Prato, "19059090", "", qRgb(200, 60, 40),
         {"Pizza Calabresa", "Pizza Margherita", "Pizza Portuguesa", "Pizza Quatro Queijos", "Pizza Frango com Catupiry",
          "Pizza Napolitana"},
         54.0},
        {{"BEBIDAS", "BEBIDAS GELADAS"}, TTipoItem::BebidaST, "22021000", "0300700", qRgb(60, 120, 200),
         {"Refrigerante Lata 350ml", "Água Mineral 500ml", "Água com Gás 500ml", "Guaraná 600ml", "Chá Gelado 450ml",
          "Tônica Lata 350ml"},
         6.5},
        {{"CERVEJAS", "CERVEJAS ESPECIAIS"}, TTipoItem::BebidaST, "22030000", "0302100", qRgb(230, 170, 30),
         {"Cerveja Long Neck 355ml", "Cerveja Garrafa 600ml", "Chope Claro 300ml", "Chope Escuro 300ml",
          "Cerveja Artesanal IPA 500ml"},
         12.0},
        {{"SUCOS", "SUCOS NATURAIS"}, TTipoItem::Bebida, "20098990", "", qRgb(240, 140, 30),
         {"Suco de Laranja 500ml", "Suco de Abacaxi com Hortelã", "Suco de Maracujá", "Limonada Suíça",
          "Vitamina de Banana"},
         9.9},
        {{"SOBREMESAS", "DOCES DA CASA"}, TTipoItem::Sobremesa, "21069090", "", qRgb(120, 60, 30),
         {"Pudim de Leite", "Petit Gâteau", "Mousse de Maracujá", "Sorvete 2 Bolas", "Brigadeiro de Colher",
          "Torta de Limão"},
         16.0},
        {{"BUFFET", "BUFFET POR QUILO"}, TTipoItem::Quilo, "21069090", "", qRgb(90, 150, 60),
         {"Buffet Livre por Quilo", "Saladas por Quilo", "Churrasco por Quilo"}, 69.9},
        {{"CAFÉS", "CAFETERIA"}, TTipoItem::Bebida, "09012100", "", qRgb(90, 50, 20),
         {"Café Expresso", "Cappuccino", "Café com Leite", "Chocolate Quente"}, 6.0},
        {{"SERVIÇOS", "TAXAS E SERVIÇOS"}, TTipoItem::Servico, "00000000", "", qRgb(120, 120, 120),
         {"Couvert Artístico", "Taxa de Entrega", "Taxa de Rolha"}, 10.0},
    };
    return c;
}

const TCategoria& CategoriaDoGrupo(int grupo) {
    const auto& c = Categorias();
    return c[static_cast<size_t>((grupo - 1) % static_cast<int>(c.size()))];
}

QString CdGrupo(int grupo) { return QStringLiteral("%1").arg(grupo, 3, 10, QLatin1Char('0')); }

QString NomeGrupo(int grupo, int variante) {
    const int volta = (grupo - 1) / static_cast<int>(Categorias().size());
    QString nome = QString::fromUtf8(CategoriaDoGrupo(grupo).Nome[variante ? 1 : 0]);
    if (volta > 0) nome += QStringLiteral(" %1").arg(volta + 1);
    return nome;
}

// An EAN-13 of the Brazilian prefix 789 with its check digit.
QString Ean13(qint64 corpo) {
    const QString d = QStringLiteral("789") + QStringLiteral("%1").arg(corpo % 1000000000LL, 9, 10, QLatin1Char('0'));
    int soma = 0;
    for (int i = 0; i < 12; ++i) soma += (d[i].digitValue()) * (i % 2 ? 3 : 1);
    return d + QString::number((10 - soma % 10) % 10);
}

QByteArray Jpeg(const QImage& imagem, int qualidade) {
    QByteArray bytes;
    QBuffer b(&bytes);
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, "jpeg");
    w.setQuality(qualidade);
    w.write(imagem);
    return bytes;
}

// A dish on a wooden table: plate, food, garnish; shapes only (no fonts, so
// no GUI application is needed).
QImage DesenharPrato(int largura, int altura, QRgb cor, quint32 semente) {
    QRandomGenerator r(semente);
    QImage img(largura, altura, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient mesa(0, 0, largura, altura);
    mesa.setColorAt(0, QColor(120, 80, 45));
    mesa.setColorAt(1, QColor(70, 45, 25));
    p.fillRect(img.rect(), mesa);
    // Grain of the wood.
    for (int i = 0; i < altura / 3; ++i) {
        p.setPen(QPen(QColor(60 + r.bounded(60), 40 + r.bounded(30), 20 + r.bounded(20), 90), 1 + r.bounded(2)));
        const int y = r.bounded(altura);
        p.drawLine(0, y, largura, y + r.bounded(-8, 9));
    }
    const QPointF centro(largura / 2.0, altura / 2.0);
    const double raio = std::min(largura, altura) * 0.42;
    QRadialGradient prato(centro, raio);
    prato.setColorAt(0, QColor(250, 250, 248));
    prato.setColorAt(0.85, QColor(235, 235, 230));
    prato.setColorAt(1, QColor(190, 190, 185));
    p.setPen(Qt::NoPen);
    p.setBrush(prato);
    p.drawEllipse(centro, raio, raio);
    // The food: many small pieces of the category's colour.
    const QColor base(cor);
    const int pedacos = std::max(40, largura * altura / 900);
    for (int i = 0; i < pedacos; ++i) {
        const double a = r.generateDouble() * 2 * std::numbers::pi, d = std::sqrt(r.generateDouble()) * raio * 0.62;
        const QColor c = base.lighter(80 + r.bounded(50));
        p.setBrush(c);
        const double t = raio * (0.03 + r.generateDouble() * 0.06);
        p.drawEllipse(QPointF(centro.x() + d * std::cos(a), centro.y() + d * std::sin(a)), t, t * 0.7);
    }
    // Garnish.
    for (int i = 0; i < 12; ++i) {
        p.setBrush(QColor(40 + r.bounded(40), 140 + r.bounded(60), 40));
        const double a = r.generateDouble() * 2 * std::numbers::pi, d = raio * 0.7;
        p.drawEllipse(QPointF(centro.x() + d * std::cos(a), centro.y() + d * std::sin(a)), raio * 0.05, raio * 0.03);
    }
    return img;
}

// A small group picture: a coloured tile with a plate.
QByteArray ImagemGrupo(int grupo, int variante) {
    const QColor cor(CategoriaDoGrupo(grupo).Cor);
    QImage img(120, 90, QImage::Format_RGB32);
    img.fill(variante ? cor.darker(140) : cor.lighter(130));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(cor);
    p.drawEllipse(QPointF(60, 45), 30 + grupo % 5, 30 + grupo % 5);
    p.end();
    return Jpeg(img, 85);
}

struct TDadosProduto {
    const TCategoria* Categoria;
    QString Nome;
    double Preco;
};

TDadosProduto DadosProduto(int i, const TOpcoesGerador& o) {
    const int grupo = (i - 1) % std::max(1, o.Grupos) + 1;
    const TCategoria& cat = CategoriaDoGrupo(grupo);
    const int n = (i - 1) / std::max(1, o.Grupos);  // the product's position inside its group
    const int itens = static_cast<int>(cat.Itens.size());
    QString nome = cat.Itens[n % itens];
    if (o.Variante) nome += QStringLiteral(" Especial");
    if (n >= itens) nome += QStringLiteral(" %1").arg(n / itens + 1);
    // Prices vary by a few reais around the category's base, by seed and variant.
    const quint32 h = (o.Semente * 2654435761u) ^ static_cast<quint32>(i * 40503);
    double preco = cat.PrecoBase + static_cast<int>(h % 900) / 100.0;
    if (o.Variante) preco += 1.5;
    return {&cat, nome, std::round(preco * 100) / 100};
}

void GerarGrupos(const QString& diretorio, const TOpcoesGerador& o) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("CdGrupo"), ftString, 10)
        .Campo(QStringLiteral("NmGrupo"), ftString, 40)
        .Campo(QStringLiteral("Imagem"), ftBlob);
    for (int g = 1; g <= o.Grupos; ++g) p.Linha({CdGrupo(g), NomeGrupo(g, o.Variante), ImagemGrupo(g, o.Variante)});
    p.Gravar(diretorio + QStringLiteral("/Grupos.dat"));
}

void GerarProdutosDat(const QString& diretorio, const TOpcoesGerador& o) {
    TPacoteRetaguarda p;
    const auto texto = [&p](const char* nome, int tamanho) { p.Campo(QString::fromLatin1(nome), ftString, tamanho); };
    const auto real = [&p](const char* nome) { p.Campo(QString::fromLatin1(nome), ftFloat); };
    const auto logico = [&p](const char* nome) { p.Campo(QString::fromLatin1(nome), ftBoolean); };
    texto("IdProduto", 20); texto("IdDetalhe", 20); texto("CdGrupo", 10); texto("CdPrincipal", 20);
    texto("DsDetalhe", 100); real("VlPrecoVenda"); real("VlPrecoPraticado"); texto("StAtivo", 1);
    texto("DsUnidade", 6); texto("Tributacao", 4); real("AlTributacao"); real("AlTributacaoNFCe");
    logico("StDescComplementar"); texto("CdSitTrib", 3); real("AlCargaTributaria"); texto("CSOSN", 4);
    texto("NCM", 10); real("AlCtFedNac"); real("AlCtFedImp"); real("AlCtEst"); real("AlCtMun");
    texto("CdSitTribPIS", 2); texto("CdSitTribCOFINS", 2); real("AlPIS"); real("AlCOFINS");
    p.Campo(QStringLiteral("NaturezaOperacao"), ftInteger);
    texto("OrigemMercadoria", 1); texto("CEST", 9); texto("CFOP", 4); texto("StPesado", 1);
    logico("StBalanca"); logico("StUnitario"); logico("StProdutoComposto"); logico("StServico");
    real("FtConvUnidTributaria"); texto("TpUnidTributaria", 6);

    for (int i = 1; i <= o.Produtos; ++i) {
        const TDadosProduto d = DadosProduto(i, o);
        const TCategoria& c = *d.Categoria;
        const bool st = c.Tipo == TTipoItem::BebidaST, quilo = c.Tipo == TTipoItem::Quilo,
                   servico = c.Tipo == TTipoItem::Servico;
        const QString id = QString::number(i);
        // Every third product has no code of its own: the POS takes its bar code.
        const QString cdPrincipal =
            i % 3 == 0 ? QString() : QStringLiteral("%1%2").arg(o.Variante ? QStringLiteral("B") : QString()).arg(i, 5, 10, QLatin1Char('0'));
        const double promocao = i % 7 == 0 ? std::round(d.Preco * 90) / 100 : 0;  // 10 % off now and then
        const QString unidade = quilo ? QStringLiteral("KG") : servico ? QStringLiteral("SV") : QStringLiteral("UN");
        p.Linha({id, id, CdGrupo((i - 1) % std::max(1, o.Grupos) + 1), cdPrincipal, d.Nome, d.Preco, promocao,
                 i % 25 == 0 ? QStringLiteral("N") : QStringLiteral("S"), unidade,
                 st ? QStringLiteral("S") : servico ? QStringLiteral("ISS") : QStringLiteral("T18"),
                 st || servico ? 0.0 : 18.0, st || servico ? 0.0 : 3.2, c.Tipo == TTipoItem::Prato && i % 5 == 0,
                 st ? QStringLiteral("060") : QStringLiteral("000"), servico ? 16.65 : 31.45,
                 st ? QStringLiteral("500") : QStringLiteral("102"), QString::fromLatin1(c.Ncm),
                 servico ? 13.45 : 10.24, 0.0, st ? 0.0 : 18.0, servico ? 2.0 : 0.0,
                 st ? QStringLiteral("04") : QStringLiteral("01"), st ? QStringLiteral("04") : QStringLiteral("01"),
                 st ? 0.0 : 0.65, st ? 0.0 : 3.0, 1, QStringLiteral("0"), QString::fromLatin1(c.Cest),
                 st ? QStringLiteral("5405") : servico ? QStringLiteral("5933") : QStringLiteral("5102"),
                 quilo ? QStringLiteral("S") : QStringLiteral("N"), quilo, !quilo, QString::fromUtf8(c.Nome[0]).startsWith(QStringLiteral("PIZZAS")),
                 servico, 1.0, unidade});
    }
    p.Gravar(diretorio + QStringLiteral("/Produtos.dat"));
}

void GerarCodigos(const QString& diretorio, const TOpcoesGerador& o) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdDetalhe"), ftString, 20)
        .Campo(QStringLiteral("TpCodigo"), ftString, 10)
        .Campo(QStringLiteral("DsCodigo"), ftString, 20);
    const qint64 deslocamento = static_cast<qint64>(o.Semente % 1000) * 1000000 + (o.Variante ? 500000 : 0);
    for (int i = 1; i <= o.Produtos; ++i) {
        const QString id = QString::number(i);
        for (int k = 0; k < o.CodigosPorProduto; ++k) {
            if (k == 1)
                p.Linha({id, QStringLiteral("Chamada"),
                         QStringLiteral("%1%2").arg(o.Variante ? QStringLiteral("9") : QString()).arg(i, 4, 10, QLatin1Char('0'))});
            else
                p.Linha({id, QStringLiteral("EAN13"), Ean13(deslocamento + static_cast<qint64>(i) * 7 + k)});
        }
    }
    p.Gravar(diretorio + QStringLiteral("/Codigos.dat"));
}

void GerarImagens(const QString& diretorio, const TOpcoesGerador& o) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdDetalhe"), ftString, 20).Campo(QStringLiteral("Imagem"), ftBlob);
    const int n = std::max(1, o.Produtos), m = std::clamp(o.ProdutosComImagem, 0, o.Produtos);
    // Drawing and encoding dominate a large set: a few pictures per category
    // are drawn and shared by the products of that category.
    QHash<quint32, QByteArray> desenhadas;
    for (int i = 1; i <= o.Produtos; ++i) {
        // Spread the pictures evenly over the products, exactly m of them.
        if (static_cast<qint64>(i) * m / n == static_cast<qint64>(i - 1) * m / n) continue;
        const TDadosProduto d = DadosProduto(i, o);
        const quint32 chave = static_cast<quint32>((d.Categoria - Categorias().data()) * 8 + i % 4) * 2 + (o.Variante ? 1 : 0);
        auto it = desenhadas.find(chave);
        if (it == desenhadas.end())
            it = desenhadas.insert(chave, Jpeg(DesenharPrato(o.LarguraImagem, o.AlturaImagem,
                                                             o.Variante ? QColor(d.Categoria->Cor).darker(130).rgb()
                                                                        : d.Categoria->Cor,
                                                             o.Semente * 31 + chave),
                                               88));
        p.Linha({QString::number(i), it.value()});
    }
    p.Gravar(diretorio + QStringLiteral("/ImagensProdutos.dat"));
}

}  // namespace

void GerarProdutos(const QString& diretorio, const TOpcoesGerador& opcoes) {
    GerarGrupos(diretorio, opcoes);
    GerarProdutosDat(diretorio, opcoes);
    GerarCodigos(diretorio, opcoes);
    GerarImagens(diretorio, opcoes);
}

}  // namespace vesko::retaguarda
