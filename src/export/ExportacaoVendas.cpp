// Step 4 of the export run: the sales (HDoc, DDoc, CDoc, ADoc and the sale's
// document files).
//
// Every sale is one unit of work: one transaction, one set of files written
// under temporary names. The sale's document rows that were written are
// deleted (by their key), DATA_HORA_PEDIDO is set from the header, the sale
// is marked (only when the POS did not change it since the selection), and
// then the files are renamed into place just before the commit. A sale that
// fails, or throws, is rolled back and leaves no file behind.
#include <QDate>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <functional>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Cp1252.h"
#include "base/Excecoes.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ArquivosExportacao.h"
#include "export/ExportacaoPDVBistrelInterna.h"
#include "export/SelecaoVendas.h"
#include "export/SqlExportacao.h"
#include "firebird/Params.h"
#include "firebird/Query.h"
#include "records/RegistroFixo.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"
#include "store/AssinaturaDigitalArquivosPDV.h"
#include "store/DovrahelmJSON.h"
#include "store/MetodosComuns.h"
#include "store/TextoLoja.h"

namespace vesko {

namespace {

// The mark also requires the two status columns to hold what the selection
// read: a sale the POS cancelled or changed meanwhile stays for the next run.
const QString kSqlMarcar = MontarSql({
    "UPDATE",
    "  MOVIMENTO ",
    "SET",
    "  ST_MOVIMENTO_EXPORTADO = :pTrue ",
    "WHERE",
    "  IDMOVIMENTO = :pIdMovimento AND",
    "  ST_MOVIMENTO = :pStMovimento AND",
    "  ST_MOVIMENTO_EXPORTADO = :pStMovimentoExportado"});

const QString kSqlStatusVenda = MontarSql({
    "SELECT",
    "  ST_MOVIMENTO,",
    "  ST_MOVIMENTO_EXPORTADO ",
    "FROM",
    "  MOVIMENTO ",
    "WHERE",
    "  IDMOVIMENTO = :pIdMovimento"});

const QString kSqlDataHoraPedido = MontarSql({
    "UPDATE",
    "  MOVIMENTO ",
    "SET",
    "  DATA_HORA_PEDIDO = :pDataHora ",
    "WHERE",
    "  IDMOVIMENTO = :pIdMovimento"});

// The document rows of the sale, with the row's key: exactly the rows
// written are deleted, not rows the POS added after this selection.
const QString kSqlDocumentos = MontarSql({
    "SELECT",
    "  TIPOARQUIVO,",
    "  CONTEUDOARQUIVO,",
    "  IDARQUIVODOCUMENTO ",
    "FROM",
    "  ARQUIVOSDOCUMENTO ",
    "WHERE",
    "  IDMOVIMENTO = :pIdMovimento"});

const QString kSqlApagarDocumento = MontarSql({
    "DELETE FROM",
    "  ARQUIVOSDOCUMENTO ",
    "WHERE",
    "  IDARQUIVODOCUMENTO = :pIdArquivoDocumento"});

const QString kCrLf = QStringLiteral("\r\n");
const QString kTipoIntegracao = QStringLiteral("Exportação");

// Prefixes of the document files, in list order, with their row types.
struct TTipoDocumento {
    const char* Tipo;
    const char* Prefixo;
    const char* PrefixoAlteracao;
};
constexpr TTipoDocumento kTiposDocumento[] = {
    {"SDOC", "SDoc", "ASDoc"},    {"XDOC", "XDoc", "AXDoc"},    {"IDDOC", "IDDoc", "IDDoc"},
    {"SDOCC", "SDocC", "SDocC"},  {"XDOCC", "XDocC", "XDocC"},  {"XDOCE", "XDocE", "XDocE"},
    {"DANFE", "Danfe", "ADanfe"},
};

void GravarArquivo(const QString& CaminhoArquivo, const QByteArray& Conteudo) {
    QFile f(CaminhoArquivo);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(Conteudo) != Conteudo.size() || !f.flush())
        throw EInOutError(
            QStringLiteral("Não foi possível gravar o arquivo %1: %2").arg(CaminhoArquivo, f.errorString()));
}

QString Texto(const TQuery& q, const char* campo) { return q.FieldByName(QString::fromLatin1(campo)).AsString(); }
int Inteiro(const TQuery& q, const char* campo) { return q.FieldByName(QString::fromLatin1(campo)).AsInteger(); }
double Numero(const TQuery& q, const char* campo) { return q.FieldByName(QString::fromLatin1(campo)).AsFloat(); }
QString TextoNumero(const TQuery& q, const char* campo) { return TextoNumeroRegional(Numero(q, campo)); }

// A null date-time column reads as 0: day 0, midnight.
QDateTime DataHora(const TQuery& q, const char* campo) {
    return q.FieldByName(QString::fromLatin1(campo)).AsDateTime();
}
bool DataHoraDefinida(const TQuery& q, const char* campo) {
    const TCampoConsulta& c = q.FieldByName(QString::fromLatin1(campo));
    return !c.IsNull() && c.AsFloat() > 0;
}
// Whole days counted from 30/12/1899.
qint64 Dias(const QDateTime& dh) { return QDate(1899, 12, 30).daysTo(dh.date()); }

void RegistrarErroVenda(const QString& Mensagem, const QString& Classe) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Erro na criação dos arquivos de venda."), kTipoIntegracao,
        QStringLiteral("Ocorreu o seguinte erro na gravação dos arquivos de venda:") + kCrLf + kCrLf + Mensagem,
        Classe, taErro);
}

// The list entry of a sale: its files in list order (those that exist,
// under the names given by `Nome`), closed by a line of "-".
QString MontarEntrada(const QStringList& PrefixosDocumentos,
                      const std::function<QString(const QString&)>& Nome,
                      const std::function<bool(const QString&)>& Existe) {
    QString entrada;
    QStringList prefixos{QStringLiteral("HDoc"), QStringLiteral("DDoc"), QStringLiteral("CDoc"),
                         QStringLiteral("ADoc")};
    prefixos += PrefixosDocumentos;
    for (const QString& p : prefixos)
        if (Existe(p)) entrada += QStringLiteral("* ") + Nome(p) + QStringLiteral(";") + kCrLf;
    if (entrada.trimmed().isEmpty()) return entrada;
    const bool comIDDoc = Existe(QStringLiteral("IDDoc")) || Existe(QStringLiteral("SDocC"));
    const QString referencia = Nome(comIDDoc ? QStringLiteral("IDDoc") : QStringLiteral("SDoc"));
    return entrada + QString(3 + referencia.size(), QLatin1Char('-')) + kCrLf;
}

QStringList PrefixosDocumentos(bool Alteracao) {
    QStringList r;
    for (const TTipoDocumento& t : kTiposDocumento)
        r << QString::fromLatin1(Alteracao ? t.PrefixoAlteracao : t.Prefixo);
    return r;
}

void RegistrarVendaAdiada(int IdMovimento) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Venda alterada durante a exportação"), kTipoIntegracao,
        QStringLiteral("A venda de ID \"%1\" foi alterada no PDV durante a exportação. Seus arquivos foram "
                       "descartados e ela será exportada na próxima exportação.")
            .arg(IdMovimento),
        QString(), taInformacao);
}

}  // namespace

// ---- the step -----------------------------------------------------------------

bool TExportacaoPDVBistrelInterna::ExportarVendas(TComunicacaoBancoBistrel& Gateway) {
    TParams params;
    PreencherParametrosSelecaoVendas(params);
    EsquecerConfiguracoesPasso();
    DefinirHint(QStringLiteral("Recebendo vendas do banco de dados..."));
    std::unique_ptr<TQuery> vendas;
    if (!Gateway.AbrirQuery(SqlSelecaoVendas(), params, vendas)) return false;

    const int total = vendas->RecordCount();
    DefinirHint(QStringLiteral("Exportando arquivos de movimento -> %1 movimentos a exportar...").arg(total));
    bool todas = true;
    int i = 1;
    for (vendas->First(); !vendas->Eof(); vendas->Next(), ++i) {
        DefinirHint(QStringLiteral("Exportando arquivos de movimento ") +
                    TComunicacaoBancoBistrel::FormatarProgresso(i, total) + QStringLiteral("..."));
        if (!Gateway.IniciarTransacao()) {
            todas = false;
            continue;
        }
        if (!ExportarVenda(Gateway, *vendas)) todas = false;
    }
    return todas;
}

// One sale in the transaction just started: its files, the mark, then the
// commit (files renamed into place) or the rollback (files removed). False
// when the sale failed; a sale the POS changed since the selection is
// deferred to the next run, which is no failure.
bool TExportacaoPDVBistrelInterna::ExportarVenda(TComunicacaoBancoBistrel& Gateway, TQuery& Vendas) {
    TGuardaTransacao guarda(Gateway);
    TUnidadeExportacao unidade(FDiretorioExportacao);
    TVendaEmExportacao venda(unidade);
    bool ok = false;
    bool adiada = false;
    try {
        venda.StMovimento = Inteiro(Vendas, "ST_MOVIMENTO");
        venda.StMovimentoExportado = Inteiro(Vendas, "ST_MOVIMENTO_EXPORTADO");
        const int id = Inteiro(Vendas, "IDMOVIMENTO");
        // A sale whose items or payments cannot be read fails alone.
        std::unique_ptr<TQuery> itens = TMetodosComuns::GetDataSetItensVenda(id, Gateway.GetConexao());
        std::unique_ptr<TQuery> recebimentos =
            TMetodosComuns::GetDataSetRecebimentosVenda(id, Gateway.GetConexao(), true);
        ok = GravarArquivosVenda(Gateway, Vendas, *itens, *recebimentos, venda);
        if (ok && !MarcarMovimentoExportado(Gateway, id, venda.StMovimento, venda.StMovimentoExportado)) {
            ok = false;
            adiada = MovimentoAlteradoDesdeSelecao(Gateway, id, venda.StMovimento, venda.StMovimentoExportado);
            if (adiada) RegistrarVendaAdiada(id);
        }
    } catch (const std::exception& e) {
        RegistrarErroVenda(MensagemExcecao(e), NomeClasseExcecao(e));
        ok = false;
    } catch (...) {
        RegistrarErroVenda(QStringLiteral("Erro desconhecido."), QString());
        ok = false;
    }
    if (!ConcluirUnidade(Gateway, unidade, ok, false)) return adiada;
    const QStringList finais = unidade.NomesFinais();
    FArquivosExportados += MontarEntrada(
        venda.PrefixosDocumentos, [&](const QString& p) { return unidade.NomeFinal(p, venda.NomeBase); },
        [&](const QString& p) { return finais.contains(unidade.NomeFinal(p, venda.NomeBase)); });
    return true;
}

bool TExportacaoPDVBistrelInterna::MovimentoAlteradoDesdeSelecao(TComunicacaoBancoBistrel& Gateway, int IdMovimento,
                                                                 int StMovimento, int StMovimentoExportado) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pIdMovimento")).SetAsInteger(IdMovimento);
    std::unique_ptr<TQuery> q;
    if (!Gateway.AbrirQuery(kSqlStatusVenda, params, q)) return false;
    // A movement deleted meanwhile has nothing left to send.
    if (q->IsEmpty()) return true;
    q->First();
    return Inteiro(*q, "ST_MOVIMENTO") != StMovimento || Inteiro(*q, "ST_MOVIMENTO_EXPORTADO") != StMovimentoExportado;
}

// ---- the files of one sale ------------------------------------------------------

bool TExportacaoPDVBistrelInterna::GravarArquivosVenda(TComunicacaoBancoBistrel& Gateway, TQuery& Venda,
                                                       TQuery& Itens, TQuery& Recebimentos,
                                                       TVendaEmExportacao& Estado) {
    try {
        // 1, 2: the header and the paths.
        const TVendaHeader header = TMetodosComuns::GetVendaHeader(Venda, &Itens, &Recebimentos, 0, CdEmpresa(Gateway));
        const int id = Inteiro(Venda, "IDMOVIMENTO");
        const int stMovimento = Inteiro(Venda, "ST_MOVIMENTO");
        const int stExportado = Inteiro(Venda, "ST_MOVIMENTO_EXPORTADO");
        const QDateTime dataPedido = DataHora(Venda, "DATA_HORA_PEDIDO");
        const QDateTime fechamento = DataHora(Venda, "HRFECHAMENTO");
        const bool pedidoDefinido = DataHoraDefinida(Venda, "DATA_HORA_PEDIDO");
        const QString base = GetNomeArquivoExportacao(Texto(Venda, "IPTERMINAL"), Texto(Venda, "NRORDEM"), dataPedido);
        Estado.NomeBase = base;
        const auto caminho = [&](const char* prefixo) {
            return Estado.Unidade.CaminhoTemporario(QString::fromLatin1(prefixo), base);
        };
        const QString hDoc = caminho("HDoc"), dDoc = caminho("DDoc"), sDoc = caminho("SDoc"),
                      idDoc = caminho("IDDoc"), cDoc = caminho("CDoc"), aDoc = caminho("ADoc");

        // 3, 4: header, cancellation copy.
        GravarArquivo(hDoc, header.Bytes());
        if (stMovimento == 2) {
            GravarArquivo(cDoc, header.Bytes());
            CorrigirDataCancelamento(cDoc, stExportado > 0 && pedidoDefinido, dataPedido);
        }
        // 5: the alteration file. The across-midnight rule needs an order
        // date: a sale without one would be sent as ordered on day 0.
        const bool alteracao = stExportado == 3;
        if (alteracao || (pedidoDefinido && Dias(dataPedido) != Dias(fechamento))) {
            const QString numero = alteracao ? Texto(Venda, "NUMERO_PEDIDO") : header.Valor(TVendaHeader::NrOrdem);
            GravarArquivoAlteracao(aDoc, header, dataPedido, fechamento, numero);
        }
        // 6: the items.
        QByteArray itens;
        const QString idVendedor = Texto(Venda, "IDVENDEDOR");
        int n = 1;
        for (Itens.First(); !Itens.Eof(); Itens.Next(), ++n) {
            TVendaItemRec item;
            MontarItemVenda(Itens, idVendedor, item);
            item.Definir(TVendaItemRec::NrItem, n);
            itens += item.Bytes();
        }
        GravarArquivo(dDoc, itens);

        // 7 to 10: the document files.
        const bool reenvio = stExportado == 2 || stExportado == 3;
        const auto apagarPrincipais = [&] {
            QFile::remove(hDoc);
            QFile::remove(dDoc);
            QFile::remove(idDoc);
        };
        if (reenvio && StRetaguarda(Gateway) == QLatin1String("3")) apagarPrincipais();
        const bool ok = ExportarArquivosDocumentoVenda(Gateway, id, Estado);
        if (!ok || reenvio) apagarPrincipais();
        if (!ok) {
            QFile::remove(aDoc);
            QFile::remove(cDoc);
            QFile::remove(sDoc);
            AdicionarArquivoNaoExportado(
                QStringLiteral("Não foi possível exportar os arquivos \"SDoc\" e \"IDDoc\" da venda de ID \"%1\".")
                    .arg(QString::number(id).trimmed()));
            return false;
        }
        // 11: the order's date and time become those of the fiscal document,
        // read with the patterns they were written with; an unreadable text
        // leaves the column as it is.
        if (QFileInfo::exists(hDoc) && !QFileInfo::exists(cDoc)) {
            const QDate d = LerDataRegional(header.Valor(TVendaHeader::DataFechamento));
            const QTime t = LerHoraRegional(header.Valor(TVendaHeader::HoraFechamento));
            if (d.isValid() && t.isValid()) AtualizarDataHoraPedido(Gateway, id, QDateTime(d, t));
        }
        // 12 to 15: the list entry and the backups follow the commit, under
        // the final names (ExportarVenda).
        return true;
    } catch (const std::exception& e) {
        RegistrarErroVenda(MensagemExcecao(e), NomeClasseExcecao(e));
        return false;
    }
}

bool TExportacaoPDVBistrelInterna::MarcarMovimentoExportado(TComunicacaoBancoBistrel& Gateway, int IdMovimento,
                                                            int StMovimento, int StMovimentoExportado) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pTrue")).SetAsInteger(1);
    params.CreateParam(ftInteger, QStringLiteral("pIdMovimento")).SetAsInteger(IdMovimento);
    params.CreateParam(ftInteger, QStringLiteral("pStMovimento")).SetAsInteger(StMovimento);
    params.CreateParam(ftInteger, QStringLiteral("pStMovimentoExportado")).SetAsInteger(StMovimentoExportado);
    return Gateway.ExecutarUpdate(kSqlMarcar, params);
}

void TExportacaoPDVBistrelInterna::MontarItemVenda(TQuery& Itens, const QString& IdVendedor, TVendaItemRec& Item) {
    using R = TVendaItemRec;
    ClearVendaItemRecord(Item);
    Item.Definir(R::IdProduto, Texto(Itens, "IDPRODUTO"));
    Item.Definir(R::IdDetalhe, Texto(Itens, "IDDETALHE"));
    Item.Definir(R::CdProduto, Texto(Itens, "CDPRODUTO"));
    Item.Definir(R::DsProduto, Texto(Itens, "DSPRODUTO"));
    Item.Definir(R::QtdeProduto, TextoNumero(Itens, "QTDEPRODUTO"));
    Item.Definir(R::VlUnitario, TextoNumero(Itens, "VLUNITARIO"));
    Item.Definir(R::VlDescontoItem, QStringLiteral("0,00"));
    Item.Definir(R::VlAcrescimoItem, QStringLiteral("0,00"));
    Item.Definir(R::VlTotalProduto, TextoNumero(Itens, "VLTOTALPRODUTO"));
    const QString tributacao = Texto(Itens, "TPTRIBUTACAO");
    const quint8 tipo = GetTipoTributacao(tributacao.isEmpty() ? QChar() : tributacao.at(0));
    Item.Definir(R::TipoTributacao, tipo);
    Item.Definir(R::AlTributacao, TextoNumero(Itens, "ALTRIBUTACAO"));
    Item.Definir(R::Unidade, Texto(Itens, "UNIDADE"));
    Item.Definir(R::TemVendedor, !IdVendedor.trimmed().isEmpty());
    Item.Definir(R::IdVendedor, IdVendedor);
    Item.Definir(R::CdSitTrib, Texto(Itens, "CDSITTRIB"));
    Item.Definir(R::NaturezaOperacao, Inteiro(Itens, "NATUREZAOPERACAO"));
    Item.Definir(R::ObsItem, Texto(Itens, "OBS_ITEM").left(200));
    Item.Definir(R::TemObservacao, !Item.Valor(R::ObsItem).trimmed().isEmpty());
    Item.Definir(R::AlCargaTributaria, TextoNumero(Itens, "ALCARGATRIBUTARIA"));
    Item.Definir(R::StPesado, Inteiro(Itens, "STPESADO") == 1);
    Item.Definir(R::OrigemMercadoria, Texto(Itens, "ORIGEMMERCADORIA"));
    Item.Definir(R::Csosn, Texto(Itens, "CSOSN"));
    Item.Definir(R::Ncm, Texto(Itens, "NCM"));
    Item.Definir(R::AlCtFedNac, static_cast<float>(Numero(Itens, "ALCTFEDNAC")));
    Item.Definir(R::AlCtFedImp, static_cast<float>(Numero(Itens, "ALCTFEDIMP")));
    Item.Definir(R::AlCtEst, static_cast<float>(Numero(Itens, "ALCTEST")));
    Item.Definir(R::AlCtMun, static_cast<float>(Numero(Itens, "ALCTMUN")));
    Item.Definir(R::Cest, Texto(Itens, "CEST"));
    Item.Definir(R::AlPis, TextoNumero(Itens, "ALPIS"));
    Item.Definir(R::AlCofins, TextoNumero(Itens, "ALCOFINS"));
    Item.Definir(R::CdSitTribCofins, Texto(Itens, "CDSITTRIBCOFINS"));
    Item.Definir(R::CdSitTribPis, Texto(Itens, "CDSITTRIBPIS"));
    Item.Definir(R::IndicadorItem, quint8(1));
    Item.Definir(R::Cfop, GetCFOPItem(tipo, Texto(Itens, "CFOP")));
}

unsigned char TExportacaoPDVBistrelInterna::GetTipoTributacao(QChar Letra) {
    return ::vesko::GetTipoTributacao(Letra.isNull() ? QString() : QString(Letra));
}

QString TExportacaoPDVBistrelInterna::GetCFOPItem(unsigned char TipoTributacao, const QString& Cfop) const {
    if (!Cfop.trimmed().isEmpty()) return Cfop;
    if (TipoTributacao == 1) return FCfopSt;
    if (TipoTributacao >= 4 && TipoTributacao <= 7) return FCfopIss;
    return FCfop;
}

void TExportacaoPDVBistrelInterna::GravarArquivoAlteracao(const QString& NomeArquivo, const TVendaHeader& Header,
                                                          const QDateTime& DataPedido, const QDateTime& DataEmissao,
                                                          const QString& NumeroVenda) {
    TDovrahelmJSON json;
    json.AdicionarTexto(QStringLiteral("NumeroVenda"), StrZero(NumeroVenda, 9));
    json.AdicionarTexto(QStringLiteral("Serie"), Header.Valor(TVendaHeader::NrSerie));
    json.AdicionarTexto(QStringLiteral("Sequencial"), Header.Valor(TVendaHeader::NrOrdem));
    json.AdicionarTexto(QStringLiteral("Modelo"), Header.Valor(TVendaHeader::NrModeloNf));
    json.AdicionarInteiro(QStringLiteral("DataPedido"), Dias(DataPedido));
    json.AdicionarInteiro(QStringLiteral("DataEmissao"), Dias(DataEmissao));
    json.AdicionarTexto(QStringLiteral("CdEmpresa"), Header.Valor(TVendaHeader::CdEmpresa));
    json.AdicionarTexto(QStringLiteral("TerminalGUID"), Header.Valor(TVendaHeader::TerminalGuid));
    const QString j = json.TextoJSON().trimmed();
    const QString s = TAssinaturaDigitalArquivosPDV::AssinarDatJSON(j);
    GravarArquivo(NomeArquivo, ParaCp1252(j) + "\r\n" + ParaCp1252(s) + "\r\n");
}

void TExportacaoPDVBistrelInterna::CorrigirDataCancelamento(const QString& NomeArquivo, bool Corrigir,
                                                            const QDateTime& DataPedido) {
    if (!Corrigir || !QFileInfo::exists(NomeArquivo)) return;
    TVendaHeader header;
    ClearVendaHeader(header);
    TLeituraVendaHeaderCorvane::GetVendaHeader(NomeArquivo, header);
    header.Definir(TVendaHeader::TipoRegistro, TVendaHeader::RegistroCancelamentoCorrigido);
    header.Definir(TVendaHeader::DataFechamento, TextoDataRegional(DataPedido.date()));
    header.Definir(TVendaHeader::HoraFechamento, TextoHoraRegional(DataPedido.time()));
    GravarArquivo(NomeArquivo, header.Bytes());
}

void TExportacaoPDVBistrelInterna::AtualizarDataHoraPedido(TComunicacaoBancoBistrel& Gateway, int IdMovimento,
                                                           const QDateTime& DataHora) {
    TParams params;
    params.CreateParam(ftDateTime, QStringLiteral("pDataHora")).SetAsDateTime(DataHora);
    params.CreateParam(ftInteger, QStringLiteral("pIdMovimento")).SetAsInteger(IdMovimento);
    Gateway.ExecutarUpdate(kSqlDataHoraPedido.trimmed(), params);
}

bool TExportacaoPDVBistrelInterna::ExportarArquivosDocumentoVenda(TComunicacaoBancoBistrel& Gateway, int IdMovimento,
                                                                  TVendaEmExportacao& Estado) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pIdMovimento")).SetAsInteger(IdMovimento);
    std::unique_ptr<TQuery> docs;
    if (!Gateway.AbrirQuery(kSqlDocumentos, params, docs)) return false;

    TUnidadeExportacao& unidade = Estado.Unidade;
    const QString& base = Estado.NomeBase;
    const bool alteracao = UsarArquivosAlteracao(Gateway, unidade.CaminhoTemporario(QStringLiteral("ADoc"), base),
                                                 unidade.CaminhoTemporario(QStringLiteral("HDoc"), base));
    Estado.PrefixosDocumentos = PrefixosDocumentos(alteracao);

    QList<int> escritas;
    for (docs->First(); !docs->Eof(); docs->Next()) {
        const QString tipo = Texto(*docs, "TIPOARQUIVO").toUpper();
        for (int k = 0; k < Estado.PrefixosDocumentos.size(); ++k) {
            if (tipo != QLatin1String(kTiposDocumento[k].Tipo)) continue;
            unidade.Gravar(Estado.PrefixosDocumentos[k], base,
                           docs->FieldByName(QStringLiteral("CONTEUDOARQUIVO")).AsBytes());
            escritas << Inteiro(*docs, "IDARQUIVODOCUMENTO");
        }
    }
    for (const int idArquivo : escritas) {
        TParams apagar;
        apagar.CreateParam(ftInteger, QStringLiteral("pIdArquivoDocumento")).SetAsInteger(idArquivo);
        if (!Gateway.ExecutarDelete(kSqlApagarDocumento, apagar)) return false;
    }
    return true;
}

bool TExportacaoPDVBistrelInterna::UsarArquivosAlteracao(TComunicacaoBancoBistrel& Gateway,
                                                         const QString& ArquivoADoc, const QString& ArquivoHDoc) {
    return StRetaguarda(Gateway) == QLatin1String("3") &&
           QFileInfo::exists(ArquivoADoc) && !QFileInfo::exists(ArquivoHDoc);
}

}  // namespace vesko
