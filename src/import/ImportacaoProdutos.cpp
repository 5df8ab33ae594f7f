// Product groups, products with their pictures, and product codes.
//
// Step 8 (SalvarGruposProdutos) loads the groups, products, codes and
// pictures, rewrites GRUPOS (restarting its sequence, the default group
// "GRUPO INDEFINIDO" first), rewrites PRODUTOS with one INSERT per product and
// finally deletes every group no active product uses. Step 10
// (SalvarCodigosProdutos) rewrites CODIGOSPRODUTOS, running every record and
// keeping the last record's result.
//
// Decisions where the rules leave a choice:
//  - ImportarGrupos returns its success flag also when Grupos.dat is absent
//    or empty: a failed delete, sequence restart or default group is never
//    reported as success.
//  - ObterCFOP with an empty Tributacao takes the general "CFOP", as any
//    product not under tax substitution.
//  - A file group whose Imagem is null gets a NULL picture, not an empty blob.
//  - With no products (N = 0) the progress text is the gateway's zero-total
//    text; the table is still emptied. An empty Codigos.dat empties
//    CODIGOSPRODUTOS and is listed in the summary.
//
// Speed: the group of each product comes from a map CDGRUPO -> IDGRUPO read
// once after the groups are written (the last row per code, as the lookup
// query leaves it), and the bar code of each product from an index of the
// codes file built once per step (the first EAN13, else the first "Chamada",
// in file order, as a Locate from the first record finds them); the picture
// search runs only for the products whose IdDetalhe the pictures file holds.
#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>
#include <optional>

#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/Params.h"
#include "firebird/Query.h"
#include "import/ImportacaoPDVBistrelInterna.h"
#include "resources/RecursosImportacao.h"
#include "store/ImagemProduto.h"

namespace vesko {

namespace {

using namespace Qt::StringLiterals;
using TWorker = TImportacaoPDVBistrelInterna;
using TGateway = TComunicacaoBancoBistrel;

const QString kCdGrupoPadrao = QStringLiteral("999999");

// A statement built in a string list: every line followed by CR LF.
QString Sql(std::initializer_list<const char*> linhas) {
    QString s;
    for (const char* linha : linhas) s += QString::fromLatin1(linha) + QStringLiteral("\r\n");
    return s;
}

// A value that travels as a short text (at most 255 characters).
QString TextoCurto(const QString& s) { return s.left(255); }

// Firebird compares CHAR and VARCHAR values ignoring trailing blanks: the
// map of groups keys its codes the same way.
QString ChaveGrupo(const QString& CdGrupo) {
    qsizetype n = CdGrupo.size();
    while (n > 0 && CdGrupo[n - 1] == QLatin1Char(' ')) --n;
    return CdGrupo.left(n);
}

// ---- loaders ---------------------------------------------------------------------

bool CarregarGrupos(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("Grupos.dat"), w.cdsGrupos,
                              QStringLiteral("Carregando arquivo de grupos..."));
}

bool CarregarProdutos(TWorker& w) {
    return w.CarregarObrigatorio(QStringLiteral("Produtos.dat"), w.cdsProdutos,
                                 QStringLiteral("Carregando arquivo de produtos..."));
}

bool CarregarCodigos(TWorker& w) {
    return w.CarregarObrigatorio(QStringLiteral("Codigos.dat"), w.cdsCodigos,
                                 QStringLiteral("Carregando arquivo de códigos..."));
}

bool CarregarImagensProdutos(TWorker& w) {
    if (!w.CarregarOpcional(QStringLiteral("ImagensProdutos.dat"), w.cdsImagensProdutos,
                            QStringLiteral("Carregando arquivo de imagens de produtos...")))
        return false;
    if (!w.cdsImagensProdutos.Active()) return true;  // no pictures file
    w.cdsImagensProdutos.AddIndex(QStringLiteral("idxIdDetalhe"), QStringLiteral("IdDetalhe"), ixPrimary);
    w.cdsImagensProdutos.SetIndexName(QStringLiteral("idxIdDetalhe"));
    return true;
}

// ---- groups ----------------------------------------------------------------------

bool InserirGrupo(TGateway& g, const QString& CdGrupo, bool GrupoPadrao, const QVariant& Imagem,
                  const QString& DsGrupo) {
    if (CdGrupo.trimmed().isEmpty() || DsGrupo.trimmed().isEmpty()) return true;
    const bool nula = !Imagem.isValid() || Imagem.isNull();
    TParams params;
    params.CreateParam(ftString, QStringLiteral("pDsGrupo")).SetAsString(DsGrupo);
    params.CreateParam(ftString, QStringLiteral("pCdGrupo")).SetAsString(CdGrupo);
    TParam& imagem = params.CreateParam(ftBlob, QStringLiteral("pImagem"));
    if (GrupoPadrao && nula)
        imagem.SetAsBlob(CarregarRecurso(QStringLiteral("GRUPO_PADRAO")));
    else if (!nula)
        imagem.SetAsBlob(Imagem.toByteArray());
    // else: a file group without a picture stores NULL (the parameter stays clear)
    params.CreateParam(ftInteger, QStringLiteral("pStProducao")).SetAsInteger(0);
    return g.ExecutarInsert(Sql({"INSERT INTO GRUPOS", " (DSGRUPO,", "  CDGRUPO,", "  IMAGEM,", "  STPRODUCAO) ",
                                 "VALUES", " (:pDsGrupo,", "  :pCdGrupo,", "  :pImagem,", "  :pStProducao)"}),
                            params);
}

// IDGRUPO of the group with that code (the default group's code when blank);
// FIdGrupoPadrao when there is none. Answers from the map once it was read.
int ObterIdGrupo(TWorker& w, TGateway& g, const QString& CdGrupoDado) {
    const QString CdGrupo = CdGrupoDado.trimmed().isEmpty() ? kCdGrupoPadrao : TextoCurto(CdGrupoDado);
    if (w.FIdsGruposLidos) return w.FIdsGrupos.value(ChaveGrupo(CdGrupo), w.FIdGrupoPadrao);
    int resultado = w.FIdGrupoPadrao;
    TParams params;
    params.CreateParam(ftString, QStringLiteral("pCdGrupo")).SetAsString(CdGrupo);
    std::unique_ptr<TQuery> query;
    if (g.AbrirQuery(Sql({"SELECT", "  IDGRUPO ", "FROM", "  GRUPOS ", "WHERE", "  CDGRUPO = :pCdGrupo"}), params, query) &&
        !query->IsEmpty())
        resultado = query->FieldByName(QStringLiteral("IDGRUPO")).AsInteger();  // the last row
    return resultado;
}

// Reads GRUPOS once into the map of ObterIdGrupo. For a code held by more
// than one group the map keeps the row read last, the row the lookup query
// would leave its cursor on. A failed read leaves the lookup on its query.
void LerIdsGrupos(TWorker& w, TGateway& g) {
    w.FIdsGrupos.clear();
    w.FIdsGruposLidos = false;
    std::unique_ptr<TQuery> query;
    if (!g.AbrirQuery(Sql({"SELECT", "  CDGRUPO,", "  IDGRUPO ", "FROM", "  GRUPOS"}), nullptr, query)) return;
    for (query->First(); !query->Eof(); query->Next()) {
        const TCampoConsulta& codigo = query->FieldByName(QStringLiteral("CDGRUPO"));
        if (codigo.IsNull()) continue;
        w.FIdsGrupos.insert(ChaveGrupo(codigo.AsString()), query->FieldByName(QStringLiteral("IDGRUPO")).AsInteger());
    }
    w.FIdsGruposLidos = true;
}

// After "RESTART WITH 0" Firebird 3 hands out 1 next, Firebird 4 and later 0.
// The sequence is set so that its next value is 1 on every version: the
// default group, inserted first, gets IDGRUPO 1.
bool AjustarSequenciaGrupos(TGateway& g) {
    std::unique_ptr<TQuery> query;
    if (!g.AbrirQuery(Sql({"SELECT", "  GEN_ID(GEN_GRUPOS_ID, 0) AS ATUAL ", "FROM", "  RDB$DATABASE"}), nullptr, query))
        return false;
    const qint64 atual = query->FieldByName(QStringLiteral("ATUAL")).AsLargeInt();
    if (atual == 0) return true;
    return g.AbrirQuery(QStringLiteral("SELECT GEN_ID(GEN_GRUPOS_ID, %1) FROM RDB$DATABASE").arg(-atual), nullptr, query);
}

bool ImportarGrupos(TWorker& w, TGateway& g) {
    w.FIdsGrupos.clear();
    w.FIdsGruposLidos = false;

    w.DefinirHint(QStringLiteral("Apagando grupos de produtos..."));
    bool ok = g.ExecutarDelete(QStringLiteral("DELETE FROM GRUPOS"));

    w.DefinirHint(QStringLiteral("Zerando sequencia dos grupos de produtos..."));
    if (ok) ok = g.ExecutarAlter(QStringLiteral("ALTER SEQUENCE GEN_GRUPOS_ID RESTART WITH 0")) && AjustarSequenciaGrupos(g);

    w.DefinirHint(QStringLiteral("Cadastrando grupo padrão de produtos..."));
    if (ok) ok = InserirGrupo(g, kCdGrupoPadrao, true, QVariant(), QStringLiteral("GRUPO INDEFINIDO"));

    w.FIdGrupoPadrao = ObterIdGrupo(w, g, kCdGrupoPadrao);

    TClientDataSet& ds = w.cdsGrupos;
    if (!ds.Active() || ds.IsEmpty()) return ok;  // no file groups: the flag, not a blind success

    w.DefinirHint(QStringLiteral("Importando grupos de produtos..."));
    TField& cdGrupo = ds.FieldByName(QStringLiteral("CdGrupo"));
    TField& imagem = ds.FieldByName(QStringLiteral("Imagem"));
    TField& nmGrupo = ds.FieldByName(QStringLiteral("NmGrupo"));
    for (ds.First(); !ds.Eof(); ds.Next())
        if (ok) ok = InserirGrupo(g, cdGrupo.AsString(), false, imagem.AsVariant(), nmGrupo.AsString());
    if (ok) w.AdicionarArquivoImportado(QStringLiteral("Grupos.dat"));
    return ok;
}

// ---- codes of a product ------------------------------------------------------------

// The first "EAN13" and the first "Chamada" code of each product, in file
// order: what a Locate on "IdDetalhe;TpCodigo" from the first record finds.
// Built on the first lookup, so a file the lookup never needs is not read.
class TIndiceCodigos {
public:
    explicit TIndiceCodigos(TClientDataSet& codigos) : m_codigos(codigos) {}

    // The EAN13 code of the product, else its "Chamada" code, else empty.
    QString ObterCodigoBarras(const QString& IdDetalhe) {
        if (!m_montado) Montar();
        QString chave = IdDetalhe;
        if (m_idNumerico) {
            // A numeric IdDetalhe matches the text that converts to its value.
            bool ok = false;
            const qint64 n = IdDetalhe.trimmed().toLongLong(&ok);
            if (!ok) return QString();
            chave = QString::number(n);
        }
        if (auto it = m_ean13.constFind(chave); it != m_ean13.constEnd()) return it.value();
        if (auto it = m_chamada.constFind(chave); it != m_chamada.constEnd()) return it.value();
        return QString();
    }

private:
    void Montar() {
        m_montado = true;
        TClientDataSet& ds = m_codigos;
        if (!ds.Active() || ds.IsEmpty()) return;
        TField& idDetalhe = ds.FieldByName(QStringLiteral("IdDetalhe"));
        TField& tpCodigo = ds.FieldByName(QStringLiteral("TpCodigo"));
        TField& dsCodigo = ds.FieldByName(QStringLiteral("DsCodigo"));
        m_idNumerico = !EhTexto(idDetalhe.DataType());
        for (ds.First(); !ds.Eof(); ds.Next()) {
            if (idDetalhe.IsNull() || tpCodigo.IsNull()) continue;
            const QString tipo = tpCodigo.AsString();
            QHash<QString, QString>* mapa = tipo == QLatin1String("EAN13")     ? &m_ean13
                                            : tipo == QLatin1String("Chamada") ? &m_chamada
                                                                               : nullptr;
            if (!mapa) continue;
            const QString chave = m_idNumerico ? QString::number(idDetalhe.AsLargeInt()) : idDetalhe.AsString();
            if (!mapa->contains(chave)) mapa->insert(chave, dsCodigo.AsString());
        }
    }

    static bool EhTexto(TFieldType t) {
        return t == ftString || t == ftFixedChar || t == ftWideString || t == ftFixedWideChar || t == ftMemo ||
               t == ftWideMemo || t == ftFmtMemo;
    }

    TClientDataSet& m_codigos;
    bool m_montado = false;
    bool m_idNumerico = false;
    QHash<QString, QString> m_ean13, m_chamada;
};

QString ObterCodigoProduto(TIndiceCodigos& codigos, const QString& IdDetalhe, const QString& CdPrincipal) {
    if (!CdPrincipal.trimmed().isEmpty()) return CdPrincipal;
    const QString codigoBarras = codigos.ObterCodigoBarras(TextoCurto(IdDetalhe));
    return codigoBarras.trimmed().isEmpty() ? CdPrincipal : codigoBarras;
}

// ---- prices and taxes -------------------------------------------------------------

double ObterPrecoVenda(double VlPrecoVenda, double VlPrecoPraticado) {
    if (VlPrecoPraticado > 0) return VlPrecoPraticado;
    if (VlPrecoVenda > 0) return VlPrecoVenda;
    return 0;
}

// The store's CFOP for a product that brings none: services, tax
// substitution ("S..."), or the general one (also for an empty Tributacao).
QString ObterCFOP(TWorker& w, bool StServico, const QString& Tributacao) {
    QString campo = QStringLiteral("CFOP");
    if (StServico)
        campo = QStringLiteral("CFOP_ISS");
    else if (Tributacao.left(1).toUpper() == QLatin1String("S"))
        campo = QStringLiteral("CFOP_ST");
    return w.cdsConfig.FieldByName(campo).AsString();
}

// ---- pictures ---------------------------------------------------------------------

// Fits the picture within 200 x 150; a picture the library cannot read is
// kept as it came, silently.
void RedimensionarImagem(QByteArray& Stream) {
    const QByteArray copia = Stream;
    try {
        TImagemProduto::Redimencionar(Stream, 200, 150);
    } catch (const Exception&) {
        Stream = copia;
    }
}

void ObterImagemProduto(const QString& IdDetalhe, TClientDataSet& Imagens, QByteArray& Stream) {
    if (!Imagens.Active() || Imagens.IsEmpty()) return;
    Imagens.First();
    if (!Imagens.FindKey({IdDetalhe})) return;
    QByteArray imagem = Imagens.FieldByName(QStringLiteral("Imagem")).AsBytes();
    RedimensionarImagem(imagem);
    Stream.append(imagem);
}

// The IdDetalhe values of the pictures file, read once, so that the products
// without a picture (most of them) skip the index search. On a text key the
// search matches exactly the same text, so a product whose IdDetalhe is not
// in the set has no picture; for a key of another type every product is
// searched, as before.
class TChavesImagens {
public:
    explicit TChavesImagens(TClientDataSet& imagens) : m_imagens(imagens) {}

    bool PodeTer(const QString& IdDetalhe) {
        if (!m_montado) Montar();
        return !m_completo || m_chaves.contains(IdDetalhe);
    }

private:
    void Montar() {
        m_montado = true;
        TClientDataSet& ds = m_imagens;
        if (!ds.Active() || ds.IsEmpty()) return;  // the search itself finds nothing
        TField& id = ds.FieldByName(QStringLiteral("IdDetalhe"));
        const TFieldType t = id.DataType();
        if (t != ftString && t != ftWideString && t != ftFixedChar && t != ftFixedWideChar) return;
        for (ds.First(); !ds.Eof(); ds.Next())
            if (!id.IsNull()) m_chaves.insert(id.AsString());
        m_completo = true;
    }

    TClientDataSet& m_imagens;
    bool m_montado = false;
    bool m_completo = false;
    QSet<QString> m_chaves;
};

// "pImagem": the product's picture as a blob, or NULL when it has none.
void AdicionarParametroImagem(TParams& Params, const QString& IdDetalhe, TClientDataSet& Imagens,
                              TChavesImagens& Chaves) {
    QByteArray stream;
    const QString chave = TextoCurto(IdDetalhe);
    if (Chaves.PodeTer(chave)) ObterImagemProduto(chave, Imagens, stream);
    TParam& p = Params.CreateParam(ftBlob, QStringLiteral("pImagem"));
    if (!stream.isEmpty()) p.SetAsBlob(stream);
}

// ---- products ---------------------------------------------------------------------

const QString kInsertProduto = QStringLiteral(
    "INSERT INTO PRODUTOS (IDPRODUTO,  IDDETALHE,  IDGRUPO,  CDPRODUTO,  DSPRODUTO,  DSCURTA,  STINSUMO,  VLVENDA,  "
    "STIMPRIMECOMANDA,  ST_CONTROLA_SERVIDO,  STATIVO,  UNIDADE,  TPTRIBUTACAO,  ALTRIBUTACAO,  ST1,  "
    "STDESCCOMPLEMENTAR,  CDSITTRIB,  ALCARGATRIBUTARIA,  CSOSN,  NCM,  ALCTFEDNAC,  ALCTFEDIMP,  ALCTEST,  ALCTMUN,  "
    "CDSITTRIBPIS,  CDSITTRIBCOFINS,  ALPIS,  ALCOFINS,  NATUREZAOPERACAO,  ORIGEMMERCADORIA,  CEST,  CFOP,  STPESADO,  "
    "STBALANCA,  STUNITARIO,  STPRODUTOCOMPOSTO,  IMAGEM,  FTCONVUNIDTRIBUTARIA,  TPUNIDTRIBUTARIA)VALUES (:pIdProduto,  "
    ":pIdDetalhe,  :pIdGrupo,  :pCdProduto,  :pDsProduto,  :pDsCurta,  :pStInsumo,  :pVlVenda,  :pStImprimeComanda,  "
    ":pStControlaServido,  :pStAtivo,  :pUnidade,  :pTpTributacao,  :pAlTributacao,  :pSt1,  :pStDescComplementar,  "
    ":pCdSitTrib,  :pAlCargaTributaria,  :pCSOSN,  :pNCM,  :pAlCtFedNac,  :pAlCtFedImp,  :pAlCtEst,  :pAlCtMun,  "
    ":pCdSitTribPIS,  :pCdSitTribCOFINS,  :pAlPIS,  :pAlCOFINS,  :pNaturezaOperacao,  :pOrigemMercadoria,  :pCEST,  "
    ":pCFOP,  :pStPesado,  :pStBalanca,  :pStUnitario,  :pStProdutoComposto,  :pImagem,  :pFTConvUnidTributaria,  "
    ":pTPUnidTributaria)");

// The fields of Produtos.dat, found once per rewrite, at its first record (by
// name, without regard to case). A field the INSERT needs and the file lacks
// raises there; the optional ones are null pointers when absent.
struct TCamposProduto {
    explicit TCamposProduto(TClientDataSet& ds)
        : IdProduto(C(ds, "IdProduto")), IdDetalhe(C(ds, "IdDetalhe")), CdGrupo(C(ds, "CdGrupo")),
          CdPrincipal(C(ds, "CdPrincipal")), DsDetalhe(C(ds, "DsDetalhe")), VlPrecoVenda(C(ds, "VlPrecoVenda")),
          VlPrecoPraticado(C(ds, "VlPrecoPraticado")), StAtivo(C(ds, "StAtivo")), DsUnidade(C(ds, "DsUnidade")),
          Tributacao(C(ds, "Tributacao")), AlTributacao(C(ds, "AlTributacao")),
          StDescComplementar(C(ds, "StDescComplementar")), CdSitTrib(C(ds, "CdSitTrib")),
          AlCargaTributaria(C(ds, "AlCargaTributaria")), CSOSN(C(ds, "CSOSN")), NCM(C(ds, "NCM")),
          AlCtFedNac(C(ds, "AlCtFedNac")), AlCtFedImp(C(ds, "AlCtFedImp")), AlCtEst(C(ds, "AlCtEst")),
          AlCtMun(C(ds, "AlCtMun")), CdSitTribPIS(C(ds, "CdSitTribPIS")), CdSitTribCOFINS(C(ds, "CdSitTribCOFINS")),
          AlPIS(C(ds, "AlPIS")), AlCOFINS(C(ds, "AlCOFINS")), NaturezaOperacao(C(ds, "NaturezaOperacao")),
          OrigemMercadoria(C(ds, "OrigemMercadoria")), CEST(C(ds, "CEST")), StPesado(C(ds, "StPesado")),
          StBalanca(C(ds, "StBalanca")), StUnitario(C(ds, "StUnitario")),
          StProdutoComposto(C(ds, "StProdutoComposto")),
          AlTributacaoNFCe(ds.FindField(QStringLiteral("AlTributacaoNFCe"))),
          CFOP(ds.FindField(QStringLiteral("CFOP"))),
          FtConvUnidTributaria(ds.FindField(QStringLiteral("FtConvUnidTributaria"))),
          TpUnidTributaria(ds.FindField(QStringLiteral("TpUnidTributaria"))) {}

    static TField& C(TClientDataSet& ds, const char* nome) { return ds.FieldByName(QString::fromLatin1(nome)); }

    TField &IdProduto, &IdDetalhe, &CdGrupo, &CdPrincipal, &DsDetalhe, &VlPrecoVenda, &VlPrecoPraticado, &StAtivo,
        &DsUnidade, &Tributacao, &AlTributacao, &StDescComplementar, &CdSitTrib, &AlCargaTributaria, &CSOSN, &NCM,
        &AlCtFedNac, &AlCtFedImp, &AlCtEst, &AlCtMun, &CdSitTribPIS, &CdSitTribCOFINS, &AlPIS, &AlCOFINS,
        &NaturezaOperacao, &OrigemMercadoria, &CEST, &StPesado, &StBalanca, &StUnitario, &StProdutoComposto;
    TField* AlTributacaoNFCe;
    TField* CFOP;
    TField* FtConvUnidTributaria;
    TField* TpUnidTributaria;
};

// ObterValorCampo on a field found once: `Padrao` when the file lacks the
// field or the value is null.
QVariant ValorCampo(const TField* campo, const QVariant& Padrao) {
    return !campo || campo->IsNull() ? Padrao : campo->AsVariant();
}

// What does not change from one product to the next.
struct TContextoProdutos {
    TWorker& w;
    TGateway& g;
    std::optional<TCamposProduto> campos;
    TIndiceCodigos codigos;
    TChavesImagens imagens;
    bool usaAliquotaNFCe;
};

// The parameters of the current product, in the order of the INSERT's columns.
QString MontarInsertProduto(TContextoProdutos& x, TParams& p) {
    TWorker& w = x.w;
    TClientDataSet& ds = w.cdsProdutos;
    if (!x.campos) x.campos.emplace(ds);
    const TCamposProduto& c = *x.campos;
    const auto texto = [&p](const QString& nome, const QString& v) {
        p.CreateParam(ftString, nome).SetAsString(v);
    };
    const auto real = [&p](const QString& nome, double v) { p.CreateParam(ftFloat, nome).SetAsFloat(v); };
    const auto inteiro = [&p](const QString& nome, int v) {
        p.CreateParam(ftInteger, nome).SetAsInteger(v);
    };
    const auto pequeno = [&p](const QString& nome, int v) {
        p.CreateParam(ftSmallint, nome).SetAsSmallInt(v);
    };
    const auto logico = [&p](const QString& nome, bool v) {
        p.CreateParam(ftBoolean, nome).SetAsBoolean(v);
    };

    const QString idDetalhe = c.IdDetalhe.AsString();
    const QString dsDetalhe = c.DsDetalhe.AsString();
    const QString tributacao = c.Tributacao.AsString();
    texto(u"pIdProduto"_s, c.IdProduto.AsString());
    texto(u"pIdDetalhe"_s, idDetalhe);
    inteiro(u"pIdGrupo"_s, ObterIdGrupo(w, x.g, c.CdGrupo.AsString()));
    texto(u"pCdProduto"_s, ObterCodigoProduto(x.codigos, idDetalhe, TextoCurto(c.CdPrincipal.AsString())));
    texto(u"pDsProduto"_s, dsDetalhe);
    texto(u"pDsCurta"_s, dsDetalhe.left(40));
    pequeno(u"pStInsumo"_s, 0);
    real(u"pVlVenda"_s, ObterPrecoVenda(c.VlPrecoVenda.AsFloat(), c.VlPrecoPraticado.AsFloat()));
    pequeno(u"pStImprimeComanda"_s, 1);
    pequeno(u"pStControlaServido"_s, 1);
    pequeno(u"pStAtivo"_s, c.StAtivo.AsString().toUpper().trimmed() == QLatin1String("S") ? 1 : 0);
    texto(u"pUnidade"_s, c.DsUnidade.AsString());
    texto(u"pTpTributacao"_s, tributacao);
    real(u"pAlTributacao"_s, x.usaAliquotaNFCe ? c.AlTributacaoNFCe->AsFloat() : c.AlTributacao.AsFloat());
    inteiro(u"pSt1"_s, 0);
    logico(u"pStDescComplementar"_s, c.StDescComplementar.AsBoolean());
    texto(u"pCdSitTrib"_s, c.CdSitTrib.AsString());
    real(u"pAlCargaTributaria"_s, c.AlCargaTributaria.AsFloat());
    texto(u"pCSOSN"_s, c.CSOSN.AsString());
    texto(u"pNCM"_s, c.NCM.AsString());
    real(u"pAlCtFedNac"_s, c.AlCtFedNac.AsFloat());
    real(u"pAlCtFedImp"_s, c.AlCtFedImp.AsFloat());
    real(u"pAlCtEst"_s, c.AlCtEst.AsFloat());
    real(u"pAlCtMun"_s, c.AlCtMun.AsFloat());
    texto(u"pCdSitTribPIS"_s, c.CdSitTribPIS.AsString());
    texto(u"pCdSitTribCOFINS"_s, c.CdSitTribCOFINS.AsString());
    real(u"pAlPIS"_s, c.AlPIS.AsFloat());
    real(u"pAlCOFINS"_s, c.AlCOFINS.AsFloat());
    inteiro(u"pNaturezaOperacao"_s, c.NaturezaOperacao.AsInteger());
    const QString origem = c.OrigemMercadoria.AsString();
    texto(u"pOrigemMercadoria"_s, origem.isEmpty() ? QStringLiteral("0") : origem);
    texto(u"pCEST"_s, c.CEST.AsString());
    texto(u"pCFOP"_s, c.CFOP ? c.CFOP->AsString()
                          : ObterCFOP(w, ds.FieldByName(QStringLiteral("StServico")).AsBoolean(), tributacao));
    logico(u"pStPesado"_s, c.StPesado.AsString().trimmed().toUpper() == QLatin1String("S"));
    logico(u"pStBalanca"_s, c.StBalanca.AsBoolean());
    logico(u"pStUnitario"_s, c.StUnitario.AsBoolean());
    logico(u"pStProdutoComposto"_s, c.StProdutoComposto.AsBoolean());
    AdicionarParametroImagem(p, idDetalhe, w.cdsImagensProdutos, x.imagens);
    real(u"pFTConvUnidTributaria"_s, ValorCampo(c.FtConvUnidTributaria, 0.0).toDouble());
    texto(u"pTpUnidTributaria"_s, ValorCampo(c.TpUnidTributaria, QString()).toString());
    return kInsertProduto;
}

bool ImportarProdutos(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsProdutos;
    LerIdsGrupos(w, g);
    // The NFC-e rate applies only when the file brings it and the store
    // works with SAT/NFC-e as non-fiscal ("1"); the setting does not change
    // during the step, so it is read once.
    const bool temAliquotaNFCe = ds.FindField(QStringLiteral("AlTributacaoNFCe")) != nullptr;
    const bool usaAliquotaNFCe =
        temAliquotaNFCe && g.LerConfiguracao(QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal")) == QLatin1String("1");
    TContextoProdutos contexto{w, g, std::nullopt, TIndiceCodigos(w.cdsCodigos), TChavesImagens(w.cdsImagensProdutos),
                               usaAliquotaNFCe};

    TReescritaTabela r;
    r.DataSet = &ds;
    r.ComGuarda = false;  // always empties PRODUTOS
    r.HintApagando = QStringLiteral("Apagando produtos...");
    r.SqlDelete = QStringLiteral("DELETE FROM PRODUTOS");
    r.TextoProgresso = QStringLiteral("Importando arquivo de produtos ");
    r.MontarInsert = [&contexto](TParams& p) { return MontarInsertProduto(contexto, p); };
    r.ArquivoResumo = QStringLiteral("Produtos.dat");
    const bool ok = w.ReescreverTabela(g, r);
    // Groups are purged next: the map must not outlive this rewrite.
    w.FIdsGrupos.clear();
    w.FIdsGruposLidos = false;
    if (ok && w.ArquivoExiste(QStringLiteral("ImagensProdutos.dat")))
        w.AdicionarArquivoImportado(QStringLiteral("ImagensProdutos.dat"));
    return ok;
}

// ---- purge of unused groups --------------------------------------------------------

bool ApagarGrupo(TGateway& g, int IdGrupo) {
    return g.ExecutarDelete(QStringLiteral("DELETE FROM GRUPOS WHERE IDGRUPO = ") + QString::number(IdGrupo));
}

bool ApagarGrupoSeVazio(TGateway& g, int IdGrupo) {
    TParams params;
    params.CreateParam(ftInteger, QStringLiteral("pIdGrupo")).SetAsInteger(IdGrupo);
    std::unique_ptr<TQuery> query;
    bool ok = g.AbrirQuery(
        Sql({"SELECT FIRST 1", "  IDDETALHE ", "FROM", "  PRODUTOS ", "WHERE", "  STATIVO = 1 AND", "  IDGRUPO = :pIdGrupo"}),
        params, query);
    if (ok && query->IsEmpty()) ok = ApagarGrupo(g, IdGrupo);
    return ok;
}

bool ApagarGruposSemProdutos(TGateway& g) {
    std::unique_ptr<TQuery> query;
    bool ok = g.AbrirQuery(Sql({"SELECT", "  IDGRUPO ", "FROM", "  GRUPOS"}), nullptr, query);
    if (!ok) return false;
    for (query->First(); !query->Eof(); query->Next())
        if (ok) ok = ApagarGrupoSeVazio(g, query->FieldByName(QStringLiteral("IDGRUPO")).AsInteger());
    return ok;
}

// ---- product codes ----------------------------------------------------------------

bool ApagarCodigosProdutos(TGateway& g) { return g.ExecutarDelete(QStringLiteral("DELETE FROM CODIGOSPRODUTOS")); }

// Every record runs, whatever the ones before it gave; the result is the
// last record's (true for a file without records).
bool ImportarCodigosProdutos(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsCodigos;
    const int total = static_cast<int>(ds.RecordCount());
    bool ok = true;
    if (ds.IsEmpty()) return ok;
    const QString sql =
        Sql({"INSERT INTO CODIGOSPRODUTOS (", "IDDETALHE,", "TIPOCODIGO,", "DESCRICAO) VALUES", "(:pIdDetalhe,",
             ":pTipoCodigo,", ":pDescricao)"});
    TField& idDetalhe = ds.FieldByName(QStringLiteral("IdDetalhe"));
    TField& tpCodigo = ds.FieldByName(QStringLiteral("TpCodigo"));
    TField& dsCodigo = ds.FieldByName(QStringLiteral("DsCodigo"));
    const QString prefixo = QStringLiteral("Importando arquivo codigos de produtos ");
    TParams params;  // refilled for every record
    int k = 1;
    for (ds.First(); !ds.Eof(); ds.Next(), ++k) {
        w.DefinirProgresso(prefixo, k, total);
        params.Reutilizar();
        params.CreateParam(ftString, QStringLiteral("pIdDetalhe")).SetAsString(idDetalhe.AsString());
        params.CreateParam(ftString, QStringLiteral("pTipoCodigo")).SetAsString(tpCodigo.AsString());
        params.CreateParam(ftString, QStringLiteral("pDescricao")).SetAsString(dsCodigo.AsString());
        ok = g.ExecutarInsert(sql, params);
    }
    return ok;
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarGruposProdutos(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando grupos e produtos no banco de dados..."),
                       {[&] { return CarregarGrupos(*this); }, [&] { return CarregarProdutos(*this); },
                        [&] { return CarregarCodigos(*this); }, [&] { return CarregarImagensProdutos(*this); },
                        [&] { return ImportarGrupos(*this, Gateway); }, [&] { return ImportarProdutos(*this, Gateway); },
                        [&] { return ApagarGruposSemProdutos(Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarCodigosProdutos(TComunicacaoBancoBistrel& Gateway) {
    const bool ok = SalvarPasso(Gateway, QStringLiteral("Salvando códigos dos produtos no banco de dados..."),
                                {[&] { return CarregarCodigos(*this); }, [&] { return ApagarCodigosProdutos(Gateway); },
                                 [&] { return ImportarCodigosProdutos(*this, Gateway); }});
    if (ok) AdicionarArquivoImportado(QStringLiteral("Codigos.dat"));
    return ok;
}

}  // namespace vesko
