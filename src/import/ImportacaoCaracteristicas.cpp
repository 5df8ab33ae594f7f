// Product characteristics and compositions.
//
// Three save steps, each loading one optional file and rewriting one link
// table of the products. Their rewrite departs from the generic frame: one
// "Importando" hint without a record count, and records whose keys are blank
// are skipped without a word (the back office exports such half-filled rows).
#include <QStringList>
#include <functional>

#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/Params.h"
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

QString Texto(TClientDataSet& ds, const char* campo) {
    return ds.FieldByName(QString::fromLatin1(campo)).AsString();
}

bool Branco(const QString& valor) { return valor.trimmed().isEmpty(); }

void ParametroTexto(TParams& params, const char* nome, const QString& valor) {
    params.CreateParam(ftString, QString::fromLatin1(nome)).SetAsString(valor);
}

// The rewrite of the family: guard, "Apagando" hint, delete, one
// "Importando" hint, then each record through its insert operation while
// all before it succeeded; the summary line on success.
struct TReescritaLigacao {
    TClientDataSet* DataSet = nullptr;
    QString HintApagando;
    QString SqlDelete;
    QString HintImportando;
    std::function<bool()> InserirRegistro;  // the current record
    QString ArquivoResumo;
};

bool ReescreverLigacao(TWorker& w, TGateway& g, const TReescritaLigacao& r) {
    TClientDataSet& ds = *r.DataSet;
    if (!ds.Active() || ds.IsEmpty()) return true;
    w.DefinirHint(r.HintApagando);
    bool ok = g.ExecutarDelete(r.SqlDelete);
    w.DefinirHint(r.HintImportando);
    for (ds.First(); ok && !ds.Eof(); ds.Next()) ok = r.InserirRegistro();
    if (ok) w.AdicionarArquivoImportado(r.ArquivoResumo);
    return ok;
}

// ---- insert operations: nothing is written, and success reported, when a
// key is blank; the values go to the database untrimmed --------------------------

bool InserirCaracteristica(TGateway& g, const QString& IdCaracteristica, const QString& DsCaracteristica) {
    if (Branco(IdCaracteristica) || Branco(DsCaracteristica)) return true;
    TParams params;
    ParametroTexto(params, "pIdCaracteristica", IdCaracteristica);
    ParametroTexto(params, "pDsCaracteristica", DsCaracteristica);
    return g.ExecutarInsert(Sql({"INSERT INTO CARACTERISTICAS",
                                 " (IDCARACTERISTICA,",
                                 "  DSCARACTERISTICA) ",
                                 "VALUES",
                                 " (:pIdCaracteristica,",
                                 "  :pDsCaracteristica)"}),
                            params);
}

bool InserirCaracteristicaProduto(TGateway& g, const QString& IdCaracteristica, const QString& IdDetalhe) {
    if (Branco(IdCaracteristica) || Branco(IdDetalhe)) return true;
    TParams params;
    ParametroTexto(params, "pIdCaracteristica", IdCaracteristica);
    ParametroTexto(params, "pIdDetalhe", IdDetalhe);
    return g.ExecutarInsert(Sql({"INSERT INTO PRODUTOCARACTERISTICAS",
                                 " (IDCARACTERISTICA,",
                                 "  IDDETALHE) ",
                                 "VALUES",
                                 " (:pIdCaracteristica,",
                                 "  :pIdDetalhe)"}),
                            params);
}

bool InserirComposicaoProduto(TGateway& g, const QString& IdDetalhe, double QtdInsumo,
                              const QString& IdDetalheInsumo) {
    if (Branco(IdDetalhe) || Branco(IdDetalheInsumo)) return true;
    TParams params;
    ParametroTexto(params, "pIdDetalhe", IdDetalhe);
    ParametroTexto(params, "pIdDetalheInsumo", IdDetalheInsumo);
    params.CreateParam(ftFloat, QStringLiteral("pQuantidadeInsumo")).SetAsFloat(QtdInsumo);
    return g.ExecutarInsert(Sql({"INSERT INTO PRODUTO_COMPOSICAO",
                                 " (IDDETALHE,",
                                 "  IDDETALHE_INSUMO,",
                                 "  QUANTIDADE_INSUMO) ",
                                 "VALUES",
                                 " (:pIdDetalhe,",
                                 "  :pIdDetalheInsumo,",
                                 "  :pQuantidadeInsumo)"}),
                            params);
}

// ---- loaders ---------------------------------------------------------------------

bool CarregarCaracteristicas(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("Caracteristicas.dat"), w.cdsCaracteristicas,
                              QStringLiteral("Carregando arquivo de caracteristicas..."));
}

bool CarregarCaracteristicasProdutos(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("ProdutoCaracteristicas.dat"), w.cdsProdutoCaracteristicas,
                              QStringLiteral("Carregando arquivo de caracteristicas dos produtos..."));
}

bool CarregarComposicaoProdutos(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("ProdutoComposicao.dat"), w.cdsProdutoComposicao,
                              QStringLiteral("Carregando arquivo de composição de produtos..."));
}

// ---- rewrites --------------------------------------------------------------------

bool ImportarCaracteristicas(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsCaracteristicas;
    TReescritaLigacao r;
    r.DataSet = &ds;
    r.HintApagando = QStringLiteral("Apagando características...");
    r.SqlDelete = QStringLiteral("DELETE FROM CARACTERISTICAS");
    r.HintImportando = QStringLiteral("Importando caracteristicas...");
    r.InserirRegistro = [&] {
        return InserirCaracteristica(g, Texto(ds, "IdCaracteristica"), Texto(ds, "DsCaracteristica"));
    };
    r.ArquivoResumo = QStringLiteral("Caracteristicas.dat");
    return ReescreverLigacao(w, g, r);
}

bool ImportarCaracteristicasProdutos(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsProdutoCaracteristicas;
    TReescritaLigacao r;
    r.DataSet = &ds;
    r.HintApagando = QStringLiteral("Apagando características dos produtos...");
    r.SqlDelete = QStringLiteral("DELETE FROM PRODUTOCARACTERISTICAS");
    r.HintImportando = QStringLiteral("Importando caracteristicas dos produtos...");
    r.InserirRegistro = [&] {
        return InserirCaracteristicaProduto(g, Texto(ds, "IdCaracteristica"), Texto(ds, "IdDetalhe"));
    };
    r.ArquivoResumo = QStringLiteral("ProdutoCaracteristicas.dat");
    return ReescreverLigacao(w, g, r);
}

bool ImportarComposicaoProdutos(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsProdutoComposicao;
    TReescritaLigacao r;
    r.DataSet = &ds;
    r.HintApagando = QStringLiteral("Apagando composição de produtos...");
    r.SqlDelete = QStringLiteral("DELETE FROM PRODUTO_COMPOSICAO");
    r.HintImportando = QStringLiteral("Importando composições de produtos...");
    r.InserirRegistro = [&] {
        return InserirComposicaoProduto(g, Texto(ds, "IdDetalhe"),
                                        ds.FieldByName(QStringLiteral("QtdInsumo")).AsFloat(),
                                        Texto(ds, "IdDetalheInsumo"));
    };
    r.ArquivoResumo = QStringLiteral("ProdutoComposicao.dat");
    return ReescreverLigacao(w, g, r);
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarCaracteristicas(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando características no banco de dados..."),
                       {[&] { return CarregarCaracteristicas(*this); },
                        [&] { return ImportarCaracteristicas(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarCaracteristicasProdutos(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando características dos produtos no banco de dados..."),
                       {[&] { return CarregarCaracteristicasProdutos(*this); },
                        [&] { return ImportarCaracteristicasProdutos(*this, Gateway); }});
}

bool TImportacaoPDVBistrelInterna::SalvarComposicaoProdutos(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando composição de produtos no banco de dados..."),
                       {[&] { return CarregarComposicaoProdutos(*this); },
                        [&] { return ImportarComposicaoProdutos(*this, Gateway); }});
}

}  // namespace vesko
