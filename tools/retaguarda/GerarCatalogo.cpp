// The catalogue files: payment terms, validation messages, menu items, the
// per-product menu choices with their options, and the per-product
// observations. `opcoes.Catalogo` rows each. Variant 1 keeps every key and
// changes a written value in every row (a description, a rate, a flag).
#include <QRandomGenerator>
#include <QString>
#include <QVariantList>
#include <algorithm>
#include <iterator>

#include "GeradorRetaguarda.h"

#include "ApoioGerador.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {

// Ids as the back office writes them: decimal text, zero-filled.
QString Id(int numero, int largura = 6) { return QStringLiteral("%1").arg(numero, largura, 10, QLatin1Char('0')); }

// Ids of the other generators: product i (0-based) is the decimal i + 1
// (GerarProdutos.cpp); payment type i (0-based) is "%03d" of i + 1, and the
// terms point at 001 to 004 (GerarRecebimentos.cpp).
QString IdProduto(int i) { return QString::number(i + 1); }
QString IdTpRec(int i) { return Id(i + 1, 3); }

// Descriptions from a list; past its end the same names come back numbered.
// Variant 1 takes the next name of the list, so every row differs.
template <std::size_t N>
QString Nome(const char* const (&nomes)[N], int i, int variante) {
    const int n = static_cast<int>(N);
    QString s = QString::fromUtf8(nomes[(i + variante) % n]);
    if (i >= n) s += QStringLiteral(" %1").arg(i / n + 1);
    return s;
}

template <typename T, std::size_t N>
const T& Escolher(QRandomGenerator& rng, const T (&valores)[N]) {
    return valores[rng.bounded(static_cast<quint32>(N))];
}


// ---- Prazos.dat ----------------------------------------------------------------

struct TModeloPrazo {
    const char* Descricao;
    int Parcelas;
    int Intervalo;
    bool PrimeiraAVista;
    int DiasPrimeira;
};

const TModeloPrazo kPrazos[] = {
    {"À vista", 1, 0, true, 0},
    {"30 dias", 1, 30, false, 30},
    {"30/60 dias", 2, 30, false, 30},
    {"30/60/90 dias", 3, 30, false, 30},
    {"Entrada + 1x", 2, 30, true, 0},
    {"Entrada + 2x", 3, 30, true, 0},
    {"7/14/21 dias", 3, 7, false, 7},
    {"15/30 dias", 2, 15, false, 15},
    {"28 dias", 1, 28, false, 28},
    {"Cartão 3x sem juros", 3, 30, false, 30},
    {"Cartão 6x", 6, 30, false, 30},
    {"Crediário 10x", 10, 30, false, 30},
};

void GerarPrazos(const QString& diretorio, const TOpcoesGerador& opcoes, QRandomGenerator& rng) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdPrazo"), ftString, 10)
        .Campo(QStringLiteral("CdPrazo"), ftString, 10)
        .Campo(QStringLiteral("DsPrazo"), ftString, 60)
        .Campo(QStringLiteral("NrParcelas"), ftInteger)
        .Campo(QStringLiteral("Intervalo"), ftInteger)
        .Campo(QStringLiteral("StPrimAVista"), ftString, 1)
        .Campo(QStringLiteral("NrDiasPrim"), ftInteger)
        .Campo(QStringLiteral("AlPrimeira"), ftFloat)
        .Campo(QStringLiteral("StBaixaPrim"), ftString, 1)
        .Campo(QStringLiteral("AlAcresc"), ftFloat)
        .Campo(QStringLiteral("IdTpRecDemais"), ftString, 10)
        .Campo(QStringLiteral("StPrazoPessoa"), ftString, 1)
        .Campo(QStringLiteral("IdTpRecVista"), ftString, 10)
        .Campo(QStringLiteral("StVencFixo"), ftString, 1)
        .Campo(QStringLiteral("VlAcrescPrim"), ftFloat)
        .Campo(QStringLiteral("VlAcrescDemais"), ftFloat)
        .Campo(QStringLiteral("VlAcrescimoGeral"), ftFloat)
        .Campo(QStringLiteral("VlMinimo"), ftFloat);
    const int modelos = static_cast<int>(std::size(kPrazos));
    const double aliquotasPrimeira[] = {0.0, 0.0, 1.5, 2.0, 0.75};
    const double aliquotasAcrescimo[] = {0.0, 1.99, 2.5, 3.25, 4.0, 5.5};
    const char* const pessoas[] = {"A", "F", "J"};
    const double minimos[] = {0.0, 0.0, 50.0, 100.0, 250.0};
    for (int i = 0; i < opcoes.Catalogo; ++i) {
        const TModeloPrazo& m = kPrazos[i % modelos];
        QString descricao = QString::fromUtf8(m.Descricao);
        if (i >= modelos) descricao += QStringLiteral(" - tabela %1").arg(i / modelos + 1);
        if (opcoes.Variante == 1) descricao += QStringLiteral(" (revisado)");
        const double alPrimeira = Escolher(rng, aliquotasPrimeira);
        // The surcharge always moves in variant 1: 2.5 becomes 3.0, 0 becomes 0.5.
        const double alAcresc = Escolher(rng, aliquotasAcrescimo) + (opcoes.Variante == 1 ? 0.5 : 0.0);
        const bool baixaPrimeira = m.PrimeiraAVista && rng.bounded(2) == 0;
        const bool vencimentoFixo = rng.bounded(4) == 0;
        const double vlAcrescPrim = m.Parcelas > 1 ? rng.bounded(3) * 1.5 : 0.0;
        const double vlAcrescDemais = m.Parcelas > 1 ? rng.bounded(3) * 0.75 : 0.0;
        const double vlGeral = m.Parcelas > 3 ? 2.9 : 0.0;
        p.Linha({Id(i + 1), Id(i + 1, 3), descricao, m.Parcelas, m.Intervalo,
                 QString::fromLatin1(m.PrimeiraAVista ? "S" : "N"), m.DiasPrimeira, alPrimeira,
                 QString::fromLatin1(baixaPrimeira ? "S" : "N"), alAcresc, IdTpRec(1 + i % 3),
                 QString::fromLatin1(Escolher(rng, pessoas)), IdTpRec(0),
                 QString::fromLatin1(vencimentoFixo ? "S" : "N"), vlAcrescPrim, vlAcrescDemais, vlGeral,
                 Escolher(rng, minimos)});
    }
    p.Gravar(Caminho(diretorio, "Prazos.dat"));
}

// ---- Validacao.dat -------------------------------------------------------------

const char* const kMensagens[] = {
    "Confirme a maioridade do cliente antes de servir bebida alcoólica.",
    "Produto contém glúten. Informe o cliente.",
    "Pergunte se o cliente tem alergia a frutos do mar.",
    "Pedido acima de R$ 500,00: chame o gerente para autorizar.",
    "Confirme o ponto da carne com o cliente.",
    "Item sujeito à disponibilidade da cozinha.",
    "Avise que o tempo de preparo é de 40 minutos.",
    "Peça um documento com foto para pagamento em cheque.",
    "Ofereça a sobremesa do dia.",
    "Produto contém lactose. Informe o cliente.",
    "Confira o troco na frente do cliente.",
    "Não sirva bebida alcoólica ao motorista da mesa.",
};

void GerarValidacoes(const QString& diretorio, const TOpcoesGerador& opcoes, QRandomGenerator& rng) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdValidacao"), ftInteger)
        .Campo(QStringLiteral("MsgValidacao"), ftString, 200)
        .Campo(QStringLiteral("CorValidacao"), ftString, 20)
        .Campo(QStringLiteral("AcaoValidacao"), ftInteger);
    const char* const cores[] = {"#D32F2F", "#F9A825", "#1976D2", "#388E3C", "#EF6C00"};
    for (int i = 0; i < opcoes.Catalogo; ++i)
        p.Linha({i + 1, Nome(kMensagens, i, opcoes.Variante), QString::fromLatin1(Escolher(rng, cores)),
                 static_cast<int>(rng.bounded(3))});  // 0 warns, 1 blocks, 2 asks for confirmation
    p.Gravar(Caminho(diretorio, "Validacao.dat"));
}

// ---- ItensCardapio.dat ---------------------------------------------------------

const char* const kItens[] = {
    "Arroz branco",   "Arroz à grega",    "Feijão carioca",   "Feijão tropeiro",  "Batata frita",
    "Purê de batata", "Farofa de bacon",  "Vinagrete",        "Salada verde",     "Mandioca frita",
    "Polenta frita",  "Legumes no vapor", "Maionese da casa", "Molho madeira",    "Molho de queijo",
    "Refrigerante lata", "Suco de laranja", "Água mineral",   "Pudim de leite",   "Mousse de maracujá",
};

void GerarItensCardapio(const QString& diretorio, const TOpcoesGerador& opcoes) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdItemCardapio"), ftString, 10).Campo(QStringLiteral("DsItemCardapio"), ftString, 60);
    for (int i = 0; i < opcoes.Catalogo; ++i) p.Linha({Id(i + 1), Nome(kItens, i, opcoes.Variante)});
    p.Gravar(Caminho(diretorio, "ItensCardapio.dat"));
}

// ---- DetalheVesko.dat ----------------------------------------------------------

const char* const kEscolhas[] = {
    "Escolha o acompanhamento", "Escolha a guarnição", "Ponto da carne", "Escolha a bebida",
    "Escolha a sobremesa",      "Escolha o molho",     "Adicionais",     "Escolha o tamanho",
};

void GerarDetalhesVesko(const QString& diretorio, const TOpcoesGerador& opcoes, QRandomGenerator& rng) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdDetalheVesko"), ftString, 10)
        .Campo(QStringLiteral("IdDetalhe"), ftString, 10)
        .Campo(QStringLiteral("CdCardapio"), ftString, 10)
        .Campo(QStringLiteral("DsCardapio"), ftString, 60)
        .Campo(QStringLiteral("QtDetalhe"), ftFloat)
        .Campo(QStringLiteral("QtOpcoes"), ftInteger)
        .Campo(QStringLiteral("StCobradoAParte"), ftBoolean)
        .Campo(QStringLiteral("StOpcional"), ftBoolean);
    const double quantidades[] = {1.0, 1.0, 2.0, 0.5};
    const int produtos = std::max(1, opcoes.Produtos);
    for (int i = 0; i < opcoes.Catalogo; ++i) {
        const bool cobrado = rng.bounded(3) == 0;
        const bool opcional = rng.bounded(2) == 0;
        // Variant 1 charges apart what set A does not, and the other way round.
        p.Linha({Id(i + 1), IdProduto(i % produtos), QStringLiteral("C%1").arg(i + 1, 4, 10, QLatin1Char('0')),
                 Nome(kEscolhas, i, 0), Escolher(rng, quantidades), static_cast<int>(1 + rng.bounded(3)),
                 opcoes.Variante == 1 ? !cobrado : cobrado, opcional});
    }
    p.Gravar(Caminho(diretorio, "DetalheVesko.dat"));
}

// ---- DetalheVeskoOpcoes.dat ----------------------------------------------------

void GerarDetalheVeskoOpcoes(const QString& diretorio, const TOpcoesGerador& opcoes, QRandomGenerator& rng) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdDetalheVeskoOpcao"), ftString, 10)
        .Campo(QStringLiteral("IdDetalheVesko"), ftString, 10)
        .Campo(QStringLiteral("QtItem"), ftFloat)
        .Campo(QStringLiteral("StDefault"), ftBoolean)
        .Campo(QStringLiteral("IdItemCardapio"), ftString, 10);
    const int n = std::max(1, opcoes.Catalogo);
    for (int i = 0; i < opcoes.Catalogo; ++i) {
        // Each choice offers the options that follow it in the menu items;
        // variant 1 serves one more unit of each.
        const double quantidade = (rng.bounded(4) == 0 ? 2.0 : 1.0) + (opcoes.Variante == 1 ? 1.0 : 0.0);
        p.Linha({Id(i + 1), Id(i / 3 % n + 1), quantidade, i % 3 == 0, Id((i * 7) % n + 1)});
    }
    p.Gravar(Caminho(diretorio, "DetalheVeskoOpcoes.dat"));
}

// ---- DetalheVeskoObservacoes.dat -----------------------------------------------

const char* const kObservacoes[] = {
    "Sem cebola",     "Sem tomate",           "Bem passado",          "Mal passado",
    "Ao ponto",       "Sem gelo",             "Com gelo e limão",     "Pouco sal",
    "Sem pimenta",    "Molho à parte",        "Embalar para viagem",  "Sem maionese",
};

void GerarDetalheVeskoObservacoes(const QString& diretorio, const TOpcoesGerador& opcoes) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdDetalheVeskoObservacao"), ftString, 10)
        .Campo(QStringLiteral("IdDetalhe"), ftString, 10)
        .Campo(QStringLiteral("DsObservacao"), ftString, 100);
    const int produtos = std::max(1, opcoes.Produtos);
    for (int i = 0; i < opcoes.Catalogo; ++i)
        p.Linha({Id(i + 1), IdProduto((i / 2) % produtos), Nome(kObservacoes, i, opcoes.Variante)});
    p.Gravar(Caminho(diretorio, "DetalheVeskoObservacoes.dat"));
}

}  // namespace

void GerarCatalogo(const QString& diretorio, const TOpcoesGerador& opcoes) {
    // A stream of its own, so the other families' files do not move when
    // this one changes; the variant does not touch the stream.
    QRandomGenerator rng(opcoes.Semente ^ 0x5EED0C47u);
    GerarPrazos(diretorio, opcoes, rng);
    GerarValidacoes(diretorio, opcoes, rng);
    GerarItensCardapio(diretorio, opcoes);
    GerarDetalhesVesko(diretorio, opcoes, rng);
    GerarDetalheVeskoOpcoes(diretorio, opcoes, rng);
    GerarDetalheVeskoObservacoes(diretorio, opcoes);
}

}  // namespace vesko::retaguarda
