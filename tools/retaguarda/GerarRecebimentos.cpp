// The payment types of a restaurant (TpRec.dat), one or more of every letter
// the import knows (D C A T R V and O, the "other" types it removes), and the
// card mappings of the card-transaction service (TpRec_SiTef.dat) for the
// card types. Ids are "001", "002", ... (the catalogue's payment terms point
// at 001 to 004). Variant 1 keeps the ids and letters and gives every
// payment type another name and every mapping another menu option.
#include <QString>
#include <QVariantList>
#include <random>

#include "GeradorRetaguarda.h"

#include "ApoioGerador.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {

QString Id(int numero, int largura = 3) { return QStringLiteral("%1").arg(numero, largura, 10, QLatin1Char('0')); }




struct TModeloRecebimento {
    const char* Letra;
    const char* Nome[2];  // variant 0, variant 1
    bool ChequePre;
    bool Tef;
    bool Administradora;  // card administrator: CNPJ, instalments, acquirers
    int MaximoParcelas;
    int ParcelasSemJuros;
};

// 001 to 004 first: cash, cheque, credit card, debit card.
const TModeloRecebimento kRecebimentos[] = {
    {"D", {"Dinheiro", "Espécie"}, false, false, false, 0, 0},
    {"C", {"Cheque à vista", "Cheque do dia"}, false, false, false, 0, 0},
    {"A", {"Cartão de crédito", "Crédito TEF"}, false, true, true, 12, 3},
    {"A", {"Cartão de débito", "Débito TEF"}, false, true, true, 1, 1},
    {"R", {"Crediário da casa", "Conta do cliente"}, false, false, false, 6, 2},
    {"T", {"Ticket refeição", "Vale-refeição"}, false, false, true, 1, 1},
    {"T", {"Ticket alimentação", "Vale-alimentação"}, false, false, true, 1, 1},
    {"V", {"Vale funcionário", "Consumo de funcionário"}, false, false, false, 0, 0},
    {"V", {"Vale-presente", "Cartão-presente"}, false, false, false, 0, 0},
    {"C", {"Cheque pré-datado", "Cheque para 30 dias"}, true, false, false, 3, 0},
    {"O", {"Cortesia da casa", "Cortesia da gerência"}, false, false, false, 0, 0},
    {"O", {"Permuta", "Permuta com fornecedor"}, false, false, false, 0, 0},
};

void GerarTpRec(const QString& diretorio, const TOpcoesGerador& opcoes, std::mt19937& rng) {
    const int v = opcoes.Variante == 1 ? 1 : 0;
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdTpRecebimento"), ftString, 10)
        .Campo(QStringLiteral("TpRecebimento"), ftString, 1)
        .Campo(QStringLiteral("CdTipoRec"), ftString, 10)
        .Campo(QStringLiteral("NmTpRecebimento"), ftString, 40)
        .Campo(QStringLiteral("StChequePre"), ftBoolean)
        .Campo(QStringLiteral("IndexCertificada"), ftInteger)
        .Campo(QStringLiteral("CNPJADMCartao"), ftString, 18)
        .Campo(QStringLiteral("StTEF"), ftBoolean)
        .Campo(QStringLiteral("StTrabalhaAdministradora"), ftBoolean)
        .Campo(QStringLiteral("StPgtoUnicaParcela"), ftBoolean)
        .Campo(QStringLiteral("Nr_MaximoParcelamentosADMCartao"), ftInteger)
        .Campo(QStringLiteral("Nr_ParcelasSemJurosADMCartao"), ftInteger)
        .Campo(QStringLiteral("ListaDeAdiquirentes"), ftString, 250);
    int numero = 0;
    for (const TModeloRecebimento& m : kRecebimentos) {
        ++numero;
        const QString cnpj = m.Administradora ? Cnpj(rng) : QString();
        const QString adquirentes =
            m.Tef ? Id(1 + Sortear(rng, 9), 5) + QLatin1Char(';') + Id(10 + Sortear(rng, 90), 5) : QString();
        p.Linha({Id(numero), QString::fromLatin1(m.Letra), Id(numero, 2), QString::fromUtf8(m.Nome[v]), m.ChequePre,
                 m.Tef ? 1 : 0, cnpj, m.Tef, m.Administradora, m.MaximoParcelas <= 1, m.MaximoParcelas,
                 m.ParcelasSemJuros, adquirentes});
    }
    p.Gravar(Caminho(diretorio, "TpRec.dat"));
}

// Card brands of the service, and its modes: credit in one payment, credit
// in instalments (store financed), debit.
void GerarTpRecSiTef(const QString& diretorio, const TOpcoesGerador& opcoes) {
    const char* const bandeiras[] = {"00001", "00002", "00004", "00031", "00045"};
    struct TModalidade {
        const char* Codigo;
        int IdTpRec;  // 3 credit, 4 debit
        int ParcelaIni, ParcelaFim;
    };
    const TModalidade modalidades[] = {{"01", 3, 1, 1}, {"02", 3, 2, 12}, {"03", 4, 1, 1}};
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("cdbandeira"), ftString, 5)
        .Campo(QStringLiteral("cdmodalidadexx"), ftString, 5)
        .Campo(QStringLiteral("idtprecebimento"), ftString, 10)
        .Campo(QStringLiteral("opcaositef"), ftInteger)
        .Campo(QStringLiteral("nrparcelaini"), ftInteger)
        .Campo(QStringLiteral("nrparcelafim"), ftInteger);
    int opcao = opcoes.Variante == 1 ? 21 : 1;
    for (const char* bandeira : bandeiras)
        for (const TModalidade& m : modalidades)
            p.Linha({QString::fromLatin1(bandeira), QString::fromLatin1(m.Codigo), Id(m.IdTpRec), opcao++,
                     m.ParcelaIni, m.ParcelaFim});
    p.Gravar(Caminho(diretorio, "TpRec_SiTef.dat"));
}

}  // namespace

void GerarRecebimentos(const QString& diretorio, const TOpcoesGerador& opcoes) {
    std::seed_seq semente{opcoes.Semente, static_cast<std::uint32_t>(opcoes.Variante == 1 ? 1 : 0)};
    std::mt19937 rng(semente);
    GerarTpRec(diretorio, opcoes, rng);
    GerarTpRecSiTef(diretorio, opcoes);
}

}  // namespace vesko::retaguarda
