#include "store/MetodosComuns.h"

#include <QRegularExpression>

#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"
#include "store/DBIniFileBistrel.h"

namespace vesko {
namespace {

// ---- reading the selection's row ----

QString Texto(const TQuery& q, const char* coluna) {
    const TCampoConsulta* c = q.FindField(QLatin1String(coluna));
    return c ? c->AsString() : QString();
}

double Dinheiro(const TQuery& q, const char* coluna) {
    const TCampoConsulta* c = q.FindField(QLatin1String(coluna));
    return c ? c->AsFloat() : 0.0;
}

const TCampoConsulta* Campo(const TQuery& q, const char* coluna) {
    const TCampoConsulta* c = q.FindField(QLatin1String(coluna));
    return c && !c->IsNull() ? c : nullptr;
}

void DefinirMomento(TVendaHeader& h, const TQuery& q, const char* coluna, TCampoTexto data, TCampoTexto hora) {
    const TCampoConsulta* c = Campo(q, coluna);
    if (!c) return;
    const QDateTime dh = c->AsDateTime();
    h.Definir(data, TextoDataRegional(dh.date()));
    h.Definir(hora, TextoHoraRegional(dh.time()));
}

quint8 Situacao(const TQuery& q, const char* coluna) {
    const TCampoConsulta* c = Campo(q, coluna);
    return c ? static_cast<quint8>(c->AsInteger()) : 0;
}

void PreencherMovimento(TVendaHeader& h, const TQuery& v) {
    using H = TVendaHeader;
    h.Definir(H::StMovimento, Situacao(v, "ST_MOVIMENTO"));
    h.Definir(H::StMovimentoExportado, Situacao(v, "ST_MOVIMENTO_EXPORTADO"));
    if (const TCampoConsulta* c = Campo(v, "IDMOVIMENTO")) h.Definir(H::IdMovimento, c->AsInteger());
    h.Definir(H::IpTerminal, Texto(v, "IPTERMINAL"));
    DefinirMomento(h, v, "HRFECHAMENTO", H::DataFechamento, H::HoraFechamento);
    DefinirMomento(h, v, "DATA_HORA_PEDIDO", H::DataPedido, H::HoraPedido);
    h.Definir(H::IdVendedor, Texto(v, "IDVENDEDOR"));
    h.Definir(H::IdUsuario, Texto(v, "ID_USUARIO"));
    h.Definir(H::IdCliente, Texto(v, "ID_CLIENTE"));
    h.Definir(H::CpfCnpj, Texto(v, "CPF_CNPJ"));
    h.Definir(H::TipoOperacao, Texto(v, "TIPO_OPERACAO"));
    if (const TCampoConsulta* c = Campo(v, "NUMERO_PEDIDO")) h.Definir(H::NumeroPedido, c->AsInteger());
    h.Definir(H::VlMovimento, Dinheiro(v, "VALOR"));
    h.Definir(H::VlAcrescimo, Dinheiro(v, "VLACRESCIMO"));
    h.Definir(H::VlServico, Dinheiro(v, "VLSERVICO"));
    h.Definir(H::VlDesconto, Dinheiro(v, "VLDESCONTO"));
    h.Definir(H::VlTribFedNac, Dinheiro(v, "VLTRIBFEDNAC"));
    h.Definir(H::VlTribFedImp, Dinheiro(v, "VLTRIBFEDIMP"));
    h.Definir(H::VlTribEst, Dinheiro(v, "VLTRIBEST"));
    h.Definir(H::VlTribMun, Dinheiro(v, "VLTRIBMUN"));
    h.Definir(H::DocAberturaEncerramento, Texto(v, "DOCABERTURAENCERRAMENTO"));
    h.Definir(H::NrModeloNf, Texto(v, "NRMODELONF"));
    h.Definir(H::NrOrdem, Texto(v, "NRORDEM"));
    h.Definir(H::NrSerie, Texto(v, "NRSERIE"));
    h.Definir(H::TerminalGuid, Texto(v, "TERMINALGUID"));
    h.Definir(H::Observacao, Texto(v, "OBSERVACAO"));
}

void PreencherItens(TVendaHeader& h, TQuery& itens) {
    int n = 0;
    double total = 0.0;
    for (itens.First(); !itens.Eof(); itens.Next()) {
        ++n;
        total += Dinheiro(itens, "VLTOTALPRODUTO");
    }
    itens.First();
    h.Definir(TVendaHeader::QtdeItens, n);
    h.Definir(TVendaHeader::VlTotalItens, total);
}

void PreencherRecebimentos(TVendaHeader& h, TQuery& r) {
    using H = TVendaHeader;
    if (r.RecordCount() > H::MaxRecebimentos)
        throw EArgumentException(QStringLiteral("O movimento tem %1 recebimentos; o registro de venda guarda até %2.")
                                     .arg(r.RecordCount()).arg(H::MaxRecebimentos));
    int i = 0;
    double recebido = 0.0;
    double troco = 0.0;
    for (r.First(); !r.Eof(); r.Next(), ++i) {
        const auto em = [i](auto campo) { return H::NoRecebimento(i, campo); };
        const double valor = Dinheiro(r, "VLRECEBIDO");
        const double vlTroco = Dinheiro(r, "VLTROCO");
        h.Definir(em(H::RecNrSequencia), i + 1);
        h.Definir(em(H::RecIdTpRec), Texto(r, "IDTPREC"));
        h.Definir(em(H::RecCdTpRec), Texto(r, "CDTPREC"));
        h.Definir(em(H::RecDsTpRec), Texto(r, "DSTPREC"));
        h.Definir(em(H::RecTpRecebimento), Texto(r, "TPRECEBIMENTO"));
        h.Definir(em(H::RecVlRecebido), valor);
        h.Definir(em(H::RecVlTroco), vlTroco);
        if (const TCampoConsulta* c = Campo(r, "NRPARCELAS")) h.Definir(em(H::RecNrParcelas), c->AsInteger());
        h.Definir(em(H::RecCdBandeira), Texto(r, "CDBANDEIRA"));
        h.Definir(em(H::RecCnpjAdmCartao), Texto(r, "CNPJADMCARTAO"));
        h.Definir(em(H::RecCdAutorizacao), Texto(r, "CDAUTORIZACAO"));
        recebido += valor;
        troco += vlTroco;
    }
    r.First();
    h.Definir(H::QtdeRecebimentos, i);
    h.Definir(H::VlTotalRecebido, recebido);
    h.Definir(H::VlTroco, troco);
}

TParams ParametroMovimento(int IdMovimento) {
    TParams p;
    p.CreateParam(TFieldType::ftInteger, QStringLiteral("pIdMovimento")).SetAsInteger(IdMovimento);
    return p;
}

// ---- addresses ----

struct TPartesEndereco {
    QString Logradouro;
    QString Numero;
};

QString SemPrefixoNumero(const QString& t) {
    static const QRegularExpression prefixo(QStringLiteral("^(n[º°o]?\\.?[º°]?|n[úu]mero)\\s*(?=\\d)"),
                                            QRegularExpression::CaseInsensitiveOption);
    return QString(t).remove(prefixo).trimmed();
}

bool PareceNumero(const QString& t) {
    static const QRegularExpression semNumero(QStringLiteral("^s\\.?\\s*/?\\s*n[º°o]?\\.?$"),
                                              QRegularExpression::CaseInsensitiveOption);
    return !t.isEmpty() && (t.front().isDigit() || semNumero.match(t).hasMatch());
}

QString LimparLogradouro(QString t) {
    static const QRegularExpression fim(QStringLiteral("[\\s,;\\-]+$"));
    return t.remove(fim).trimmed();
}

TPartesEndereco DividirEndereco(const QString& Endereco) {
    const QString t = Endereco.simplified();
    const qsizetype virgula = t.lastIndexOf(u',');
    if (virgula >= 0) {
        const QString numero = SemPrefixoNumero(t.mid(virgula + 1).trimmed());
        if (PareceNumero(numero)) return {LimparLogradouro(t.left(virgula)), numero};
    }
    const qsizetype espaco = t.lastIndexOf(u' ');
    if (espaco > 0) {
        const QString numero = SemPrefixoNumero(t.mid(espaco + 1));
        if (!numero.isEmpty() && numero.front().isDigit()) {
            static const QRegularExpression prefixoSolto(QStringLiteral("\\s+(n[º°o]?\\.?[º°]?|n[úu]mero)$"),
                                                         QRegularExpression::CaseInsensitiveOption);
            QString antes = t.left(espaco);
            antes.remove(prefixoSolto);
            if (!LimparLogradouro(antes).isEmpty()) return {LimparLogradouro(antes), numero};
        }
    }
    return {LimparLogradouro(t), QString()};
}

void ValidarTipoDocumento(int TipoDocumento) {
    if (TipoDocumento < 0 || TipoDocumento > 255)
        throw EArgumentException(QStringLiteral("Tipo de documento inválido: %1.").arg(TipoDocumento));
}

}  // namespace

QString TMetodosComuns::LerCdEmpresa(TConexaoFirebird& Conexao) {
    return TDBIniFileBistrel(Conexao, QStringLiteral("FOOD_CONFIG"))
        .ReadString(QStringLiteral("BISTREL"), QStringLiteral("CdEmpresa"), QString());
}

TVendaHeader TMetodosComuns::GetVendaHeader(const TQuery& Venda, TQuery* Itens, TQuery* Recebimentos, int TipoDocumento,
                                            TConexaoFirebird& Conexao) {
    ValidarTipoDocumento(TipoDocumento);
    return GetVendaHeader(Venda, Itens, Recebimentos, TipoDocumento, LerCdEmpresa(Conexao));
}

TVendaHeader TMetodosComuns::GetVendaHeader(const TQuery& Venda, TQuery* Itens, TQuery* Recebimentos, int TipoDocumento,
                                            const QString& CdEmpresa) {
    ValidarTipoDocumento(TipoDocumento);
    TVendaHeader h;
    h.Definir(TVendaHeader::TipoRegistro, static_cast<quint8>(TipoDocumento));
    PreencherMovimento(h, Venda);
    h.Definir(TVendaHeader::CdEmpresa, CdEmpresa);
    if (Itens) PreencherItens(h, *Itens);
    if (Recebimentos) PreencherRecebimentos(h, *Recebimentos);
    return h;
}

std::unique_ptr<TQuery> TMetodosComuns::GetDataSetItensVenda(int IdMovimento, TConexaoFirebird& Conexao) {
    // Every column both tables have is named once, through its alias: the
    // item row's value as sold, the product's only where the row has none.
    static const QString sql = QStringLiteral(
        "SELECT\r\n"
        "  I.IDMOVIMENTOITEM,\r\n"
        "  I.IDMOVIMENTO,\r\n"
        "  I.NRSEQUENCIA,\r\n"
        "  COALESCE(I.IDPRODUTO, P.IDPRODUTO) AS IDPRODUTO,\r\n"
        "  I.IDDETALHE AS IDDETALHE,\r\n"
        "  COALESCE(I.CDPRODUTO, P.CDPRODUTO) AS CDPRODUTO,\r\n"
        "  COALESCE(I.DSPRODUTO, P.DSPRODUTO) AS DSPRODUTO,\r\n"
        "  I.QTDEPRODUTO,\r\n"
        "  I.VLUNITARIO,\r\n"
        "  I.VLTOTALPRODUTO,\r\n"
        "  COALESCE(I.UNIDADE, P.UNIDADE) AS UNIDADE,\r\n"
        "  COALESCE(I.TPTRIBUTACAO, P.TPTRIBUTACAO) AS TPTRIBUTACAO,\r\n"
        "  COALESCE(I.ALTRIBUTACAO, P.ALTRIBUTACAO) AS ALTRIBUTACAO,\r\n"
        "  COALESCE(I.CDSITTRIB, P.CDSITTRIB) AS CDSITTRIB,\r\n"
        "  COALESCE(I.NATUREZAOPERACAO, P.NATUREZAOPERACAO) AS NATUREZAOPERACAO,\r\n"
        "  I.OBS_ITEM,\r\n"
        "  COALESCE(I.ALCARGATRIBUTARIA, P.ALCARGATRIBUTARIA) AS ALCARGATRIBUTARIA,\r\n"
        "  COALESCE(I.STPESADO, P.STPESADO) AS STPESADO,\r\n"
        "  COALESCE(I.ORIGEMMERCADORIA, P.ORIGEMMERCADORIA) AS ORIGEMMERCADORIA,\r\n"
        "  COALESCE(I.CSOSN, P.CSOSN) AS CSOSN,\r\n"
        "  COALESCE(I.NCM, P.NCM) AS NCM,\r\n"
        "  COALESCE(I.ALCTFEDNAC, P.ALCTFEDNAC) AS ALCTFEDNAC,\r\n"
        "  COALESCE(I.ALCTFEDIMP, P.ALCTFEDIMP) AS ALCTFEDIMP,\r\n"
        "  COALESCE(I.ALCTEST, P.ALCTEST) AS ALCTEST,\r\n"
        "  COALESCE(I.ALCTMUN, P.ALCTMUN) AS ALCTMUN,\r\n"
        "  COALESCE(I.CEST, P.CEST) AS CEST,\r\n"
        "  COALESCE(I.ALPIS, P.ALPIS) AS ALPIS,\r\n"
        "  COALESCE(I.ALCOFINS, P.ALCOFINS) AS ALCOFINS,\r\n"
        "  COALESCE(I.CDSITTRIBCOFINS, P.CDSITTRIBCOFINS) AS CDSITTRIBCOFINS,\r\n"
        "  COALESCE(I.CDSITTRIBPIS, P.CDSITTRIBPIS) AS CDSITTRIBPIS,\r\n"
        "  COALESCE(I.CFOP, P.CFOP) AS CFOP\r\n"
        "FROM\r\n"
        "  MOVIMENTO_ITENS I\r\n"
        "LEFT JOIN\r\n"
        "  PRODUTOS P\r\n"
        "ON\r\n"
        "  P.IDDETALHE = I.IDDETALHE\r\n"
        "WHERE\r\n"
        "  I.IDMOVIMENTO = :pIdMovimento\r\n"
        "ORDER BY\r\n"
        "  I.NRSEQUENCIA,\r\n"
        "  I.IDMOVIMENTOITEM");
    const TParams p = ParametroMovimento(IdMovimento);
    return Conexao.Consultar(sql, &p);
}

std::unique_ptr<TQuery> TMetodosComuns::GetDataSetRecebimentosVenda(int IdMovimento, TConexaoFirebird& Conexao,
                                                                    bool SomenteValidos) {
    QString sql = QStringLiteral(
        "SELECT\r\n"
        "  R.IDMOVIMENTORECEBIMENTO,\r\n"
        "  R.IDMOVIMENTO,\r\n"
        "  R.NRSEQUENCIA,\r\n"
        "  R.IDTPREC AS IDTPREC,\r\n"
        "  T.CDTPREC,\r\n"
        "  COALESCE(R.DSTPREC, T.DSTPREC) AS DSTPREC,\r\n"
        "  T.TPRECEBIMENTO,\r\n"
        "  T.CNPJADMCARTAO,\r\n"
        "  R.VLRECEBIDO,\r\n"
        "  COALESCE(R.VLTROCO, 0) AS VLTROCO,\r\n"
        "  R.NRPARCELAS,\r\n"
        "  R.CDBANDEIRA,\r\n"
        "  R.CDAUTORIZACAO,\r\n"
        "  COALESCE(R.STCANCELADO, 0) AS STCANCELADO\r\n"
        "FROM\r\n"
        "  MOVIMENTO_RECEBIMENTOS R\r\n"
        "LEFT JOIN\r\n"
        "  TPREC T\r\n"
        "ON\r\n"
        "  T.IDTPREC = R.IDTPREC\r\n"
        "WHERE\r\n"
        "  R.IDMOVIMENTO = :pIdMovimento\r\n");
    if (SomenteValidos) sql += QStringLiteral("  AND COALESCE(R.STCANCELADO, 0) = 0\r\n");
    sql += QStringLiteral("ORDER BY\r\n  R.NRSEQUENCIA,\r\n  R.IDMOVIMENTORECEBIMENTO");
    const TParams p = ParametroMovimento(IdMovimento);
    return Conexao.Consultar(sql, &p);
}

QString TMetodosComuns::GetLogradouroSemNumero(const QString& Endereco) { return DividirEndereco(Endereco).Logradouro; }

QString TMetodosComuns::GetNumeroLogradouro(const QString& Endereco) { return DividirEndereco(Endereco).Numero; }

}  // namespace vesko
