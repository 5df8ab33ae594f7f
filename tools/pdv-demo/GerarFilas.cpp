// The POS stand-in's queues: customers the checkout registered or changed
// (CLIENTEEXP), the event log (LOGEVT) and the cash-register document.
#include "ApoioPdv.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"

namespace vesko::pdv {

namespace {

constexpr const char* kNomes[] = {"Ana",   "Bruno",  "Camila", "Diego", "Eduarda", "Felipe",
                                  "Gabriela", "Heitor", "Isabela", "João", "Larissa", "Marcos"};
constexpr const char* kSobrenomes[] = {"Silva", "Souza", "Oliveira", "Pereira", "Lima", "Gonçalves",
                                       "Araújo", "Ribeiro", "Carvalho", "Conceição"};
constexpr const char* kRuas[] = {"Rua das Acácias", "Avenida Paulista", "Rua Treze de Maio", "Alameda Santos",
                                 "Rua São João", "Travessa do Comércio"};
constexpr const char* kBairros[] = {"Centro", "Bela Vista", "Jardim América", "Vila Mariana"};

template <size_t N>
QString Um(TContextoPdv& ctx, const char* const (&lista)[N]) {
    return QString::fromUtf8(lista[ctx.Sortear(static_cast<int>(N))]);
}

struct TEvento {
    const char* Curta;
    const char* Longa;
    int Tipo;
};
constexpr TEvento kEventos[] = {
    {"Abertura de caixa", "Caixa aberto com fundo de troco de R$ 150,00.", 1},
    {"Venda finalizada", "Venda finalizada e documento fiscal autorizado.", 1},
    {"Cancelamento de item", "Item cancelado antes do fechamento da venda, com senha do gerente.", 2},
    {"Sangria", "Sangria de R$ 200,00 registrada pelo operador.", 1},
    {"Falha de comunicação", "O equipamento fiscal não respondeu; a venda foi repetida com sucesso.", 3},
    {"Desconto concedido", "Desconto de 10% concedido na venda, autorizado pelo gerente.", 2},
};

}  // namespace

QList<TClientePdv> PlanejarClientes(TContextoPdv& ctx, int numero) {
    const TOpcoesPdv& o = ctx.Opcoes;
    const int comVenda = std::min((o.Clientes + 1) / 2, o.Vendas);
    QList<TClientePdv> r;
    for (int k = 0; k < o.Clientes; ++k) {
        TClientePdv c;
        c.Id = QStringLiteral("CX%1-%2").arg(numero).arg(k + 1);
        c.Cpf = Cpf(ctx.Rng);
        c.Nome = Um(ctx, kNomes) + QLatin1Char(' ') + Um(ctx, kSobrenomes);
        c.ComVenda = k < comVenda;
        r.append(c);
    }
    return r;
}

void GerarClientes(TContextoPdv& ctx, const QList<TClientePdv>& clientes) {
    ctx.Conexao.EmUmaTransacao([&] {
        int k = 0;
        for (const TClientePdv& c : clientes) {
            ++k;
            TParams a;
            a.CreateParam(ftString, QStringLiteral("pId")).SetAsString(c.Id);
            a.CreateParam(ftString, QStringLiteral("pNome")).SetAsString(c.Nome);
            a.CreateParam(ftString, QStringLiteral("pCpf")).SetAsString(c.Cpf);
            a.CreateParam(ftString, QStringLiteral("pTelefone")).SetAsString(QStringLiteral("(11) 3%1").arg(1000000 + k));
            a.CreateParam(ftString, QStringLiteral("pEndereco"))
                .SetAsString(QStringLiteral("%1, %2").arg(Um(ctx, kRuas)).arg(10 + ctx.Sortear(1900)));
            a.CreateParam(ftString, QStringLiteral("pBairro")).SetAsString(Um(ctx, kBairros));
            a.CreateParam(ftString, QStringLiteral("pCep")).SetAsString(QStringLiteral("01%1-000").arg(100 + ctx.Sortear(900)));
            a.CreateParam(ftString, QStringLiteral("pCelular")).SetAsString(QStringLiteral("(11) 9%1").arg(80000000 + k));
            a.CreateParam(ftString, QStringLiteral("pEmail"))
                .SetAsString(QStringLiteral("cliente%1@exemplo.com.br").arg(k));
            a.CreateParam(ftDate, QStringLiteral("pNascimento")).SetAsDate(QDate(1960 + k % 40, 1 + k % 12, 1 + k % 28));
            a.CreateParam(ftInteger, QStringLiteral("pAlteracao")).SetAsInteger(c.ComVenda ? 0 : 1);
            a.CreateParam(ftDateTime, QStringLiteral("pQuando")).SetAsDateTime(ctx.Abertura.addSecs(60 * k));
            ctx.Conexao.Executar(QStringLiteral(
                "INSERT INTO CLIENTEEXP (IDCLIENTE, NOME, CPF_CNPJ, NR_TELEFONE, IPTERMINAL, DSENDERECO, NMBAIRRO, "
                "NMCIDADE, CDUF, CDCEP, NRCELULAR, EMAIL, DTNASCIMENTO, IDMUNICIPIO, ALTERACAO_CADASTRO, "
                "DATAHORA_ALTERACAO, COMPLEMENTO_ENDERECO) VALUES (:pId, :pNome, :pCpf, :pTelefone, 'CAIXA01', "
                ":pEndereco, :pBairro, 'São Paulo', 'SP', :pCep, :pCelular, :pEmail, :pNascimento, 3550308, "
                ":pAlteracao, :pQuando, 'Apto 12')"),
                &a, false);
            ++(c.ComVenda ? ctx.Resumo.ClientesComVenda : ctx.Resumo.ClientesAlterados);
        }
    });
}

void GerarLogs(TContextoPdv& ctx) {
    ctx.Conexao.EmUmaTransacao([&] {
        for (int k = 0; k < ctx.Opcoes.Logs; ++k) {
            const TEvento& e = kEventos[k % std::size(kEventos)];
            TParams a;
            a.CreateParam(ftString, QStringLiteral("pCurta")).SetAsString(QString::fromUtf8(e.Curta));
            a.CreateParam(ftString, QStringLiteral("pLonga")).SetAsString(QString::fromUtf8(e.Longa));
            a.CreateParam(ftInteger, QStringLiteral("pTipo")).SetAsInteger(e.Tipo);
            a.CreateParam(ftDateTime, QStringLiteral("pQuando")).SetAsDateTime(ctx.Abertura.addSecs(k % 43200));
            ctx.Conexao.Executar(QStringLiteral(
                "INSERT INTO LOGEVT (DSUSUARIOLOGADO, DSNOMEMAQUINA, DSDESCRICAOCURTA, DSDESCRICAOLONGA, TPLOG, "
                "DTLOG) VALUES ('OPERADOR', 'PDV-CAIXA01', :pCurta, :pLonga, :pTipo, :pQuando)"),
                &a, false);
            ++ctx.Resumo.Logs;
        }
    });
}

void GerarDocumentoCaixa(TContextoPdv& ctx) {
    ctx.Conexao.EmUmaTransacao([&] {
        TParams a;
        a.CreateParam(ftBlob, QStringLiteral("pConteudo")).SetAsBlob(ConteudoDocumento(QStringLiteral("ECXA"), 0, 2048));
        ctx.Conexao.Executar(QStringLiteral("INSERT INTO ARQUIVOSDOCUMENTO (IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO, "
                                            "IPTERMINAL) VALUES (NULL, 'ECXA', :pConteudo, 'CAIXA01')"),
                             &a, false);
        ++ctx.Resumo.DocumentosAvulsos;
        ctx.Resumo.BytesDocumentos += 2048;
    });
}

}  // namespace vesko::pdv
