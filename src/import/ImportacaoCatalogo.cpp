// Catalogue tables: terms, validations, menu items, POS detail tables and delivery statuses.
//
// Six save steps load one optional file each and rewrite one table in the
// generic frame (guard, "Apagando" hint, delete, one INSERT per record with
// progress, summary line). The delivery statuses are fixed rows that the
// integrator holds itself: the ones missing are added, outside any step
// transaction, and existing rows are never changed.
#include <QStringList>
#include <memory>

#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/Params.h"
#include "firebird/Query.h"
#include "import/ImportacaoPDVBistrelInterna.h"

namespace vesko {

namespace {

using TWorker = TImportacaoPDVBistrelInterna;
using TGateway = TComunicacaoBancoBistrel;

// A statement built line by line in a string list: every line followed by CR LF.
QString Sql(std::initializer_list<const char*> linhas) {
    QString s;
    for (const char* linha : linhas) s += QString::fromLatin1(linha) + QStringLiteral("\r\n");
    return s;
}

// Fills a statement's parameters from the current record of a file, with
// the conversion each column asks for. Fields are read by name without
// regard to case; a field the file lacks raises, as it does for every file.
class TParametrosRegistro {
public:
    TParametrosRegistro(TParams& params, TClientDataSet& ds) : m_params(params), m_ds(ds) {}

    void Texto(const char* param, const char* campo) {
        Criar(ftString, param).SetAsString(Campo(campo).AsString());
    }
    void Inteiro(const char* param, const char* campo) {
        Criar(ftInteger, param).SetAsInteger(Campo(campo).AsInteger());
    }
    void Float(const char* param, const char* campo) {
        Criar(ftFloat, param).SetAsFloat(Campo(campo).AsFloat());
    }
    // Integer 1 when the text, upper-cased but not trimmed, is "S"; else 0.
    void FlagS(const char* param, const char* campo) {
        const bool s = Campo(campo).AsString().toUpper() == QLatin1String("S");
        Criar(ftInteger, param).SetAsInteger(s ? 1 : 0);
    }
    // Small integer 1 when the field reads true as a Boolean; else 0.
    void FlagBooleano(const char* param, const char* campo) {
        Criar(ftSmallint, param).SetAsSmallInt(Campo(campo).AsBoolean() ? 1 : 0);
    }

private:
    TParam& Criar(TFieldType tipo, const char* nome) { return m_params.CreateParam(tipo, QString::fromLatin1(nome)); }
    TField& Campo(const char* nome) { return m_ds.FieldByName(QString::fromLatin1(nome)); }

    TParams& m_params;
    TClientDataSet& m_ds;
};

// The rewrite shared by the six tables: the generic frame with its guard,
// the "Apagando" hint before the delete and the progress after it.
TReescritaTabela ReescritaCatalogo(TClientDataSet& ds, const QString& tabela, const QString& hintApagando,
                                   const QString& textoProgresso, const QString& arquivo,
                                   std::function<QString(TParametrosRegistro&)> montar) {
    TReescritaTabela r;
    r.DataSet = &ds;
    r.HintApagando = hintApagando;
    r.SqlDelete = QStringLiteral("DELETE FROM ") + tabela;
    r.TextoProgresso = textoProgresso;
    r.ArquivoResumo = arquivo;
    r.MontarInsert = [&ds, montar = std::move(montar)](TParams& params) {
        TParametrosRegistro p(params, ds);
        return montar(p);
    };
    return r;
}

// ---- PRAZOS --------------------------------------------------------------------

bool CarregarPrazos(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("Prazos.dat"), w.cdsPrazos,
                              QStringLiteral("Carregando arquivo de prazos..."));
}

QString MontarInsertPrazo(TParametrosRegistro& p) {
    p.Texto("pIdPrazo", "IdPrazo");
    p.Texto("pCdPrazo", "CdPrazo");
    p.Texto("pDsPrazo", "DsPrazo");
    p.Inteiro("pNrParcelas", "NrParcelas");
    p.Inteiro("pIntervalo", "Intervalo");
    p.FlagS("pPrimeiraAVista", "StPrimAVista");
    p.Inteiro("pNrDiasPrimeira", "NrDiasPrim");
    p.Float("pAliquotaPrimeira", "AlPrimeira");
    p.FlagS("pBaixaPrimeira", "StBaixaPrim");
    // A surcharge rate holds fractions like the first instalment's rate: read
    // as a whole number, 2.5 % would price every instalment sale wrong.
    p.Float("pAliquotaAcrescimo", "AlAcresc");
    p.Texto("pIdTpRecDemais", "IdTpRecDemais");
    p.Texto("pStPrazoPessoa", "StPrazoPessoa");
    p.Texto("pIdTpRecAVista", "IdTpRecVista");
    p.FlagS("pVencimentoFixo", "StVencFixo");
    p.Float("pVlAcrescimoPrimeira", "VlAcrescPrim");
    p.Float("pVlAcrescimoDemais", "VlAcrescDemais");
    p.Float("pVlAcrescimoGeral", "VlAcrescimoGeral");
    p.Float("pVlMinimo", "VlMinimo");
    return Sql({"INSERT INTO PRAZOS",
                " (ID_PRAZO,",
                "  CD_PRAZO,",
                "  DS_PRAZO,",
                "  NR_PARCELAS,",
                "  INTERVALO,",
                "  PRIMEIRA_A_VISTA,",
                "  NR_DIAS_PRIMEIRA,",
                "  ALIQUOTA_PRIMEIRA,",
                "  BAIXA_PRIMEIRA,",
                "  ALIQUOTA_ACRESCIMO,",
                "  ID_TPREC_DEMAIS,",
                "  ST_PRAZO_PESSOA,",
                "  ID_TPREC_A_VISTA,",
                "  VENCIMENTO_FIXO,",
                "  VL_ACRESCIMO_PRIMEIRA,",
                "  VL_ACRESCIMO_DEMAIS,",
                "  VL_ACRESICMO_GERAL,",
                "  VL_MINIMO) ",
                "VALUES",
                " (:pIdPrazo,",
                "  :pCdPrazo,",
                "  :pDsPrazo,",
                "  :pNrParcelas,",
                "  :pIntervalo,",
                "  :pPrimeiraAVista,",
                "  :pNrDiasPrimeira,",
                "  :pAliquotaPrimeira,",
                "  :pBaixaPrimeira,",
                "  :pAliquotaAcrescimo,",
                "  :pIdTpRecDemais,",
                "  :pStPrazoPessoa,",
                "  :pIdTpRecAVista,",
                "  :pVencimentoFixo,",
                "  :pVlAcrescimoPrimeira,",
                "  :pVlAcrescimoDemais,",
                "  :pVlAcrescimoGeral,",
                "  :pVlMinimo)"});
}

bool ImportarPrazos(TWorker& w, TGateway& g) {
    return w.ReescreverTabela(g, ReescritaCatalogo(w.cdsPrazos, QStringLiteral("PRAZOS"),
                                                   QStringLiteral("Apagando prazos..."),
                                                   QStringLiteral("Importando prazos "),
                                                   QStringLiteral("Prazos.dat"), MontarInsertPrazo));
}

// ---- VALIDACOES ----------------------------------------------------------------

bool CarregarValidacoes(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("Validacao.dat"), w.cdsValidacao,
                              QStringLiteral("Carregando arquivo de validações..."));
}

QString MontarInsertValidacao(TParametrosRegistro& p) {
    p.Inteiro("pIdValidacao", "IdValidacao");
    p.Texto("pMsgValidacao", "MsgValidacao");
    p.Texto("pCorValidacao", "CorValidacao");
    p.Inteiro("pAcaoValidacao", "AcaoValidacao");
    return Sql({"INSERT INTO VALIDACOES",
                " (ID_VALIDACAO,",
                "  MSG_VALIDACAO,",
                "  COR_VALIDACAO,",
                "  ACAO_VALIDACAO) ",
                "VALUES",
                " (:pIdValidacao,",
                "  :pMsgValidacao,",
                "  :pCorValidacao,",
                "  :pAcaoValidacao)"});
}

bool ImportarValidacoes(TWorker& w, TGateway& g) {
    return w.ReescreverTabela(g, ReescritaCatalogo(w.cdsValidacao, QStringLiteral("VALIDACOES"),
                                                   QStringLiteral("Apagando validações..."),
                                                   QStringLiteral("Importando validações "),
                                                   QStringLiteral("Validacao.dat"), MontarInsertValidacao));
}

// ---- ITENS_CARDAPIO ------------------------------------------------------------

bool CarregarItensCardapio(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("ItensCardapio.dat"), w.cdsItensCardapio,
                              QStringLiteral("Carregando arquivo de itens do cardápio..."));
}

QString MontarInsertItemCardapio(TParametrosRegistro& p) {
    p.Texto("pIdItemCardapio", "IdItemCardapio");
    p.Texto("pDsItemCardapio", "DsItemCardapio");
    return Sql({"INSERT INTO ITENS_CARDAPIO",
                " (IDITEMCARDAPIO,",
                "  DSITEMCARDAPIO) ",
                "VALUES",
                " (:pIdItemCardapio,",
                "  :pDsItemCardapio)"});
}

bool ImportarItensCardapio(TWorker& w, TGateway& g) {
    return w.ReescreverTabela(g, ReescritaCatalogo(w.cdsItensCardapio, QStringLiteral("ITENS_CARDAPIO"),
                                                   QStringLiteral("Apagando itens do cardápio..."),
                                                   QStringLiteral("Importando itens do cardápio "),
                                                   QStringLiteral("ItensCardapio.dat"), MontarInsertItemCardapio));
}

// ---- DETALHE_VESKO -------------------------------------------------------------

bool CarregarDetalhesVesko(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("DetalheVesko.dat"), w.cdsDetalheVesko,
                              QStringLiteral("Carregando detalhes Vesko..."));
}

QString MontarInsertDetalheVesko(TParametrosRegistro& p) {
    p.Texto("pIdDetalheVesko", "IdDetalheVesko");
    p.Texto("pIdDetalhe", "IdDetalhe");
    p.Texto("pCdCardapio", "CdCardapio");
    p.Texto("pDsCardapio", "DsCardapio");
    p.Float("pQtDetalhe", "QtDetalhe");
    p.Inteiro("pQtOpcoes", "QtOpcoes");
    p.FlagBooleano("pStCobradoAParte", "StCobradoAParte");
    p.FlagBooleano("pStOpcional", "StOpcional");
    return Sql({"INSERT INTO DETALHE_VESKO",
                " (IDDETALHEVESKO,",
                "  IDDETALHE,",
                "  CDCARDAPIO,",
                "  DSCARDAPIO,",
                "  QTDETALHE,",
                "  QTOPCOES,",
                "  STCOBRADOAPARTE,",
                "  STOPCIONAL) ",
                "VALUES",
                " (:pIdDetalheVesko,",
                "  :pIdDetalhe,",
                "  :pCdCardapio,",
                "  :pDsCardapio,",
                "  :pQtDetalhe,",
                "  :pQtOpcoes,",
                "  :pStCobradoAParte,",
                "  :pStOpcional)"});
}

bool ImportarDetalhesVesko(TWorker& w, TGateway& g) {
    return w.ReescreverTabela(g, ReescritaCatalogo(w.cdsDetalheVesko, QStringLiteral("DETALHE_VESKO"),
                                                   QStringLiteral("Apagando detalhes Vesko..."),
                                                   QStringLiteral("Importando detalhes Vesko "),
                                                   QStringLiteral("DetalheVesko.dat"), MontarInsertDetalheVesko));
}

// ---- DETALHE_VESKO_OPCOES ------------------------------------------------------

bool CarregarDetalheVeskoOpcoes(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("DetalheVeskoOpcoes.dat"), w.cdsDetalheVeskoOpcoes,
                              QStringLiteral("Carregando detalhe Vesko opções..."));
}

QString MontarInsertDetalheVeskoOpcao(TParametrosRegistro& p) {
    p.Texto("pIdDetalheVeskoOpcao", "IdDetalheVeskoOpcao");
    p.Texto("pIdDetalheVesko", "IdDetalheVesko");
    p.Float("pQtItem", "QtItem");
    p.FlagBooleano("pStDefault", "StDefault");
    p.Texto("pIdItemCardapio", "IdItemCardapio");
    return Sql({"INSERT INTO DETALHE_VESKO_OPCOES",
                " (IDDETALHEVESKOOPCAO,",
                "  IDDETALHEVESKO,",
                "  QTITEM,",
                "  STDEFAULT,",
                "  IDITEMCARDAPIO) ",
                "VALUES",
                " (:pIdDetalheVeskoOpcao,",
                "  :pIdDetalheVesko,",
                "  :pQtItem,",
                "  :pStDefault,",
                "  :pIdItemCardapio)"});
}

bool ImportarDetalheVeskoOpcoes(TWorker& w, TGateway& g) {
    return w.ReescreverTabela(
        g, ReescritaCatalogo(w.cdsDetalheVeskoOpcoes, QStringLiteral("DETALHE_VESKO_OPCOES"),
                             QStringLiteral("Apagando detalhe Vesko opções..."),
                             QStringLiteral("Importando detalhe Vesko opções "),
                             QStringLiteral("DetalheVeskoOpcoes.dat"), MontarInsertDetalheVeskoOpcao));
}

// ---- DETALHE_VESKO_OBSERVACOES -------------------------------------------------

bool CarregarDetalheVeskoObservacoes(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("DetalheVeskoObservacoes.dat"), w.cdsDetalheVeskoObservacoes,
                              QStringLiteral("Carregando detalhe Vesko observações..."));
}

QString MontarInsertDetalheVeskoObservacao(TParametrosRegistro& p) {
    p.Texto("pIdDetalheVeskoObservacao", "IdDetalheVeskoObservacao");
    p.Texto("pIdDetalhe", "IdDetalhe");
    p.Texto("pDsObservacao", "DsObservacao");
    return Sql({"INSERT INTO DETALHE_VESKO_OBSERVACOES",
                " (IDDETALHEVESKOOBSERVACAO,",
                "  IDDETALHE,",
                "  DSOBSERVACAO) ",
                "VALUES",
                " (:pIdDetalheVeskoObservacao,",
                "  :pIdDetalhe,",
                "  :pDsObservacao)"});
}

bool ImportarDetalheVeskoObservacoes(TWorker& w, TGateway& g) {
    return w.ReescreverTabela(
        g, ReescritaCatalogo(w.cdsDetalheVeskoObservacoes, QStringLiteral("DETALHE_VESKO_OBSERVACOES"),
                             QStringLiteral("Apagando detalhe Vesko observações..."),
                             QStringLiteral("Importando detalhe Vesko observações "),
                             QStringLiteral("DetalheVeskoObservacoes.dat"), MontarInsertDetalheVeskoObservacao));
}

// ---- ENTREGA_STATUS ------------------------------------------------------------

// True when the status is already there; false when it is missing or the
// query failed (the insert is then attempted and tells the failure).
bool ExisteStatusEntrega(TGateway& g, qint32 Id) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pIdStatusEntrega")).SetAsInteger(Id);
    std::unique_ptr<TQuery> query;
    const bool aberta = g.AbrirQuery(Sql({"SELECT FIRST 1",
                                          "  IDSTATUSENTREGA ",
                                          "FROM",
                                          "  ENTREGA_STATUS ",
                                          "WHERE",
                                          "  IDSTATUSENTREGA = :pIdStatusEntrega"}),
                                     params, query);
    return aberta && !query->IsEmpty();
}

// Adds the status when its id is missing; an existing status keeps its
// description, order and flags.
bool InserirStatusEntrega(TGateway& g, const QString& Descricao, bool Obrigatorio, bool Visivel, qint32 Ordem,
                          qint32 Id) {
    if (ExisteStatusEntrega(g, Id)) return true;
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pIdStatusEntrega")).SetAsInteger(Id);
    params.CreateParam(ftString, QStringLiteral("pDescricao")).SetAsString(Descricao);
    params.CreateParam(ftInteger, QStringLiteral("pObrigatorio")).SetAsInteger(Obrigatorio ? 1 : 0);
    params.CreateParam(ftInteger, QStringLiteral("pVisivel")).SetAsInteger(Visivel ? 1 : 0);
    params.CreateParam(ftInteger, QStringLiteral("pOrdem")).SetAsInteger(Ordem);
    return g.ExecutarInsert(Sql({"INSERT INTO ENTREGA_STATUS",
                                 " (IDSTATUSENTREGA,",
                                 "  DESCRICAO,",
                                 "  OBRIGATORIO,",
                                 "  ORDEM,",
                                 "  VISIVEL) ",
                                 "VALUES",
                                 " (:pIdStatusEntrega,",
                                 "  :pDescricao,",
                                 "  :pObrigatorio,",
                                 "  :pOrdem,",
                                 "  :pVisivel)"}),
                            params);
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarPrazos(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando prazos no banco de dados..."),
                       {[&] { return CarregarPrazos(*this); }, [&] { return ImportarPrazos(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::CadastrarStatusEntrega(TComunicacaoBancoBistrel& Gateway) {
    // The POS's delivery statuses, in the order they are ensured.
    TGateway& g = Gateway;
    return InserirStatusEntrega(g, QStringLiteral("Em Preparo"), true, true, 1, 1) &&
           InserirStatusEntrega(g, QStringLiteral("Pronto"), false, true, 2, 2) &&
           InserirStatusEntrega(g, QStringLiteral("Separado para Entrega"), false, true, 3, 3) &&
           InserirStatusEntrega(g, QStringLiteral("Em Entrega"), false, true, 4, 4) &&
           InserirStatusEntrega(g, QStringLiteral("Entregue"), true, true, 5, 5) &&
           InserirStatusEntrega(g, QStringLiteral("Cancelado"), true, true, 6, 6) &&
           InserirStatusEntrega(g, QStringLiteral("Entrega agendada"), true, true, 7, 7);
}

bool TImportacaoPDVBistrelInterna::SalvarValidacoes(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando validações no banco de dados..."),
                       {[&] { return CarregarValidacoes(*this); }, [&] { return ImportarValidacoes(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarItensCardapio(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando itens do cardápio no banco de dados..."),
                       {[&] { return CarregarItensCardapio(*this); },
                        [&] { return ImportarItensCardapio(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarDetalhesVesko(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando detalhes Vesko no banco de dados..."),
                       {[&] { return CarregarDetalhesVesko(*this); },
                        [&] { return ImportarDetalhesVesko(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarDetalheVeskoOpcoes(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando detalhe Vesko opções no banco de dados..."),
                       {[&] { return CarregarDetalheVeskoOpcoes(*this); },
                        [&] { return ImportarDetalheVeskoOpcoes(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarDetalheVeskoObservacoes(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando detalhe Vesko observações no banco de dados..."),
                       {[&] { return CarregarDetalheVeskoObservacoes(*this); },
                        [&] { return ImportarDetalheVeskoObservacoes(*this, Gateway); }});
}

}  // namespace vesko
