// Payment types (TPREC, GRUPOSTPREC) and the SiTEF mappings (TPRECSITEF).
#include "import/ImportacaoPDVBistrelInterna.h"

#include <QStringList>
#include <memory>

#include "db/ComunicacaoBancoBistrel.h"
#include "resources/RecursosImportacao.h"
#include "store/TipoRecebimento.h"

namespace vesko {

namespace {

using TInterna = TImportacaoPDVBistrelInterna;

const QString kCrLf = QStringLiteral("\r\n");

// The payment-type letter: the first character of TpRecebimento,
// upper-cased. An empty (or null) TpRecebimento has no letter (a null QChar):
// the record is stored like one of an unknown letter, with an empty
// TPRECEBIMENTO, group 0 and the cash picture, so the back office's payment
// type and the rows that point at it stay usable.
QChar LetraFormaPagamento(TClientDataSet& TpRec) {
    const QString tipo = TpRec.FieldByName(QStringLiteral("TpRecebimento")).AsString();
    return tipo.isEmpty() ? QChar() : tipo.front().toUpper();
}

// "INSERT INTO <tabela>", " (<col1>,", "  <col2>,", ..., "  <colN>) ",
// "VALUES", " (:<par1>,", ..., "  :<parN>)": one column or parameter per line.
QString MontarInsert(const QString& Tabela, const QStringList& Colunas, const QStringList& Parametros) {
    QStringList linhas{QStringLiteral("INSERT INTO ") + Tabela};
    for (qsizetype i = 0; i < Colunas.size(); ++i)
        linhas << (i == 0 ? QStringLiteral(" (") : QStringLiteral("  ")) + Colunas[i] +
                      (i + 1 < Colunas.size() ? QStringLiteral(",") : QStringLiteral(") "));
    linhas << QStringLiteral("VALUES");
    for (qsizetype i = 0; i < Parametros.size(); ++i)
        linhas << (i == 0 ? QStringLiteral(" (:") : QStringLiteral("  :")) + Parametros[i] +
                      (i + 1 < Parametros.size() ? QStringLiteral(",") : QStringLiteral(")"));
    return linhas.join(kCrLf);
}

int ObterGrupoFormaPagamento(QChar Letra) {
    switch (Letra.toUpper().unicode()) {
    case u'D': return 1;
    case u'C': return 2;
    case u'A': return 3;
    case u'T': return 4;
    case u'R': return 5;
    case u'V': return 6;
    case u'O': return 7;
    default: return 0;
    }
}

// ---- SalvarRecebimentos ----------------------------------------------------

bool CarregarFormasPagamento(TInterna& W) {
    return W.CarregarObrigatorio(QStringLiteral("TpRec.dat"), W.cdsTpRec,
                                 QStringLiteral("Carregando arquivo de formas de pagamento..."));
}

bool CriarGruposFormasPagamento(TInterna& W, TComunicacaoBancoBistrel& Gateway) {
    struct TGrupo {
        const char* Sql;
        const char* Imagem;
    };
    static constexpr TGrupo kGrupos[] = {
        {"INSERT INTO GRUPOSTPREC VALUES (1, '000001', 'DINHEIRO', :pImagem, null, 0)", "DINHEIRO"},
        {"INSERT INTO GRUPOSTPREC VALUES (2, '000002', 'CHEQUE', :pImagem, null, 0)", "CHEQUE"},
        {"INSERT INTO GRUPOSTPREC VALUES (3, '000003', 'CARTÃO', :pImagem, null, 0)", "CARTAO"},
        {"INSERT INTO GRUPOSTPREC VALUES (4, '000004', 'TICKET', :pImagem, null, 0)", "TICKET"},
        {"INSERT INTO GRUPOSTPREC VALUES (5, '000005', 'PARCELADO', :pImagem, null, 0)", "PARCELADO"},
        {"INSERT INTO GRUPOSTPREC VALUES (6, '000006', 'VALE', :pImagem, null, 0)", "VALE"},
    };
    W.DefinirHint(QStringLiteral("Criando os grupos das formas de pagamento..."));
    // Payment types first: they point at their group.
    bool ok = Gateway.ExecutarDelete(QStringLiteral("DELETE FROM TPREC")) &&
              Gateway.ExecutarDelete(QStringLiteral("DELETE FROM GRUPOSTPREC"));
    for (const TGrupo& grupo : kGrupos) {
        if (!ok) break;
        TParams params;
        params.CreateParam(ftBlob, QStringLiteral("pImagem"))
            .SetAsBlob(CarregarBitmapRecurso(QString::fromLatin1(grupo.Imagem)));
        ok = Gateway.ExecutarInsert(QString::fromUtf8(grupo.Sql), params);
    }
    return ok;
}

QString MontarInsertFormaPagamento(TClientDataSet& TpRec, TParams& P) {
    // The same text for every record.
    static const QString sql = MontarInsert(
        QStringLiteral("TPREC"),
        {QStringLiteral("IDTPREC"), QStringLiteral("IDGRUPOTPREC"), QStringLiteral("CDTPREC"),
         QStringLiteral("DSTPREC"), QStringLiteral("IMAGEM"), QStringLiteral("STCHEQUEPRE"),
         QStringLiteral("IDXCERTIFICADA"), QStringLiteral("CNPJADMCARTAO"), QStringLiteral("STTEF"),
         QStringLiteral("TPRECEBIMENTO"),
         QStringLiteral("STTRABALHAADMINISTRADORA"), QStringLiteral("STPGTOUNICAPARCELA"),
         QStringLiteral("NR_MAXIMOPARCELAMENTOSADMCARTAO"), QStringLiteral("NR_PARCELASSEMJUROSADMCARTAO"),
         QStringLiteral("LISTA_ADQUIRENTES")},
        {QStringLiteral("pIdTpRec"), QStringLiteral("pIdGrupoTpRec"), QStringLiteral("pCdTpRec"),
         QStringLiteral("pDsTpRec"), QStringLiteral("pImagem"), QStringLiteral("pStChequePre"),
         QStringLiteral("pIdxCertificada"), QStringLiteral("pCNPJAdmCartao"), QStringLiteral("pStTEF"),
         QStringLiteral("pTpRecebimento"), QStringLiteral("pStTrabalhaAdministradora"),
         QStringLiteral("pStPgtoUnicaParcela"), QStringLiteral("pNr_MaximoParcelamentosADMCartao"),
         QStringLiteral("pNr_ParcelasSemJurosADMCartao"), QStringLiteral("pListaAdquirentes")});
    const auto campo = [&TpRec](const char* nome) -> TField& { return TpRec.FieldByName(QString::fromLatin1(nome)); };
    const auto param = [&P](TFieldType tipo, const char* nome) -> TParam& {
        return P.CreateParam(tipo, QString::fromLatin1(nome));
    };
    const auto flag = [&campo](const char* nome) { return campo(nome).AsBoolean() ? 1 : 0; };
    const QChar letra = LetraFormaPagamento(TpRec);
    param(ftString, "pIdTpRec").SetAsString(campo("IdTpRecebimento").AsString());
    param(ftInteger, "pIdGrupoTpRec").SetAsInteger(ObterGrupoFormaPagamento(letra));
    param(ftString, "pCdTpRec").SetAsString(campo("CdTipoRec").AsString());
    param(ftString, "pDsTpRec").SetAsString(campo("NmTpRecebimento").AsString());
    param(ftBlob, "pImagem").SetAsBlob(CarregarBitmapRecurso(ImagensTipoRecebimento()[RetornaTipoRecebimento(letra)]));
    param(ftSmallint, "pStChequePre").SetAsSmallInt(flag("StChequePre"));
    param(ftSmallint, "pIdxCertificada").SetAsSmallInt(campo("IndexCertificada").AsInteger());
    param(ftString, "pCNPJAdmCartao").SetAsString(campo("CNPJADMCartao").AsString());
    param(ftSmallint, "pStTEF").SetAsSmallInt(flag("StTEF"));
    param(ftString, "pTpRecebimento").SetAsString(letra.isNull() ? QStringLiteral("") : QString(letra));
    param(ftBoolean, "pStTrabalhaAdministradora").SetAsBoolean(campo("StTrabalhaAdministradora").AsBoolean());
    param(ftBoolean, "pStPgtoUnicaParcela").SetAsBoolean(campo("StPgtoUnicaParcela").AsBoolean());
    param(ftInteger, "pNr_MaximoParcelamentosADMCartao")
        .SetAsInteger(campo("Nr_MaximoParcelamentosADMCartao").AsInteger());
    param(ftInteger, "pNr_ParcelasSemJurosADMCartao").SetAsInteger(campo("Nr_ParcelasSemJurosADMCartao").AsInteger());
    param(ftString, "pListaAdquirentes")
        .SetAsString(TInterna::ObterValorCampo(TpRec, QStringLiteral("ListaDeAdiquirentes"), QString()).toString());
    return sql;
}

// TPREC: no empty-dataset guard, and the first progress text goes before
// the delete.
bool ImportarFormasPagamento(TInterna& W, TComunicacaoBancoBistrel& Gateway) {
    TReescritaTabela r;
    r.DataSet = &W.cdsTpRec;
    r.ComGuarda = false;
    r.SqlDelete = QStringLiteral("DELETE FROM TPREC");
    r.TextoProgresso = QStringLiteral("Importando arquivo de formas de pagamento ");
    r.ProgressoAntesDoDelete = true;
    r.MontarInsert = [&W](TParams& P) { return MontarInsertFormaPagamento(W.cdsTpRec, P); };
    r.ArquivoResumo = QStringLiteral("TpRec.dat");
    return W.ReescreverTabela(Gateway, r);
}

// Payment types of letter O go in with the others and are removed here:
// they never remain in TPREC.
bool ExcluirFormasPagamentoOutras(TComunicacaoBancoBistrel& Gateway) {
    return Gateway.ExecutarDelete(QStringLiteral("DELETE FROM TPREC WHERE UPPER(TPRECEBIMENTO) = 'O'"));
}

// Groups 2 to 6 that no payment type uses are removed; group 1 (cash)
// always stays.
bool ExcluirGruposSemFormasPagamento(TComunicacaoBancoBistrel& Gateway) {
    for (int grupo = 2; grupo <= 6; ++grupo) {
        std::unique_ptr<TQuery> query;
        if (!Gateway.AbrirQuery(QStringLiteral("SELECT IDTPREC FROM TPREC WHERE IDGRUPOTPREC = %1").arg(grupo),
                                nullptr, query))
            return false;
        if (query->IsEmpty() &&
            !Gateway.ExecutarDelete(QStringLiteral("DELETE FROM GRUPOSTPREC WHERE IDGRUPOTPREC = %1").arg(grupo)))
            return false;
    }
    return true;
}

// ---- SalvarTiposRecebimentoSiTEF -------------------------------------------

bool CarregarTiposRecebimentoSiTEF(TInterna& W) {
    return W.CarregarOpcional(QStringLiteral("TpRec_SiTef.dat"), W.cdsTpRecSiTef,
                              QStringLiteral("Carregando tipos de recebimento SiTEF..."));
}

QString MontarInsertTipoRecebimentoSiTEF(TClientDataSet& SiTef, TParams& P) {
    static const QString sql =
        MontarInsert(QStringLiteral("TPRECSITEF"),
                     {QStringLiteral("CDBANDEIRA"), QStringLiteral("CDMODALIDADEXX"), QStringLiteral("IDTPRECEBIMENTO"),
                      QStringLiteral("OPCAOSITEF"), QStringLiteral("NRPARCELAINI"), QStringLiteral("NRPARCELAFIM")},
                     {QStringLiteral("pCdBandeira"), QStringLiteral("pCdModalidadeXX"),
                      QStringLiteral("pIdTpRecebimento"), QStringLiteral("pOpcaoSiTEF"),
                      QStringLiteral("pNrParcelaIni"), QStringLiteral("pNrParcelaFim")});
    const auto campo = [&SiTef](const char* nome) -> TField& { return SiTef.FieldByName(QString::fromLatin1(nome)); };
    const auto param = [&P](TFieldType tipo, const char* nome) -> TParam& {
        return P.CreateParam(tipo, QString::fromLatin1(nome));
    };
    param(ftString, "pCdBandeira").SetAsString(campo("cdbandeira").AsString());
    param(ftString, "pCdModalidadeXX").SetAsString(campo("cdmodalidadexx").AsString());
    param(ftString, "pIdTpRecebimento").SetAsString(campo("idtprecebimento").AsString());
    param(ftInteger, "pOpcaoSiTEF").SetAsInteger(campo("opcaositef").AsInteger());
    param(ftInteger, "pNrParcelaIni").SetAsInteger(campo("nrparcelaini").AsInteger());
    param(ftInteger, "pNrParcelaFim").SetAsInteger(campo("nrparcelafim").AsInteger());
    return sql;
}

bool ImportarTiposRecebimentoSiTEF(TInterna& W, TComunicacaoBancoBistrel& Gateway) {
    TReescritaTabela r;
    r.DataSet = &W.cdsTpRecSiTef;
    r.HintApagando = QStringLiteral("Apagando tipos de recebimento SiTEF...");
    r.SqlDelete = QStringLiteral("DELETE FROM TPRECSITEF");
    r.TextoProgresso = QStringLiteral("Importando tipos de recebimento SiTEF ");
    r.MontarInsert = [&W](TParams& P) { return MontarInsertTipoRecebimentoSiTEF(W.cdsTpRecSiTef, P); };
    r.ArquivoResumo = QStringLiteral("TpRec_SiTef.dat");
    return W.ReescreverTabela(Gateway, r);
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarRecebimentos(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando recebimentos no banco de dados..."),
                       {[&] { return CarregarFormasPagamento(*this); },
                        [&] { return CriarGruposFormasPagamento(*this, Gateway); },
                        [&] { return ImportarFormasPagamento(*this, Gateway); },
                        [&] { return ExcluirFormasPagamentoOutras(Gateway); },
                        [&] { return ExcluirGruposSemFormasPagamento(Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarTiposRecebimentoSiTEF(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando tipos de recebimento SiTEF no banco de dados..."),
                       {[&] { return CarregarTiposRecebimentoSiTEF(*this); },
                        [&] { return ImportarTiposRecebimentoSiTEF(*this, Gateway); }});
}

}  // namespace vesko
