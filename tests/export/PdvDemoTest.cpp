// The POS stand-in `vesko-pdv-demo` on a fresh POS database, then a whole
// export run: every sale, customer, event-log row and document the tool put
// in leaves the database with its file.
#include <gtest/gtest.h>

#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>

#include "ApoioExportacao.h"
#include "datapacket/ClientDataSet.h"
#include "firebird/Query.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;
using W = vesko::TExportacaoPDVBistrelInterna;

namespace {

teste::ResultadoPrograma RodarPdv(const QStringList& args) {
    QProcess p;
    p.setProcessEnvironment(teste::AmbienteBrasileiro());
    p.start(teste::ExecutavelConstruido(QStringLiteral("vesko-pdv-demo")), args);
    if (!p.waitForFinished(240000)) {
        p.kill();
        p.waitForFinished();
        return {};
    }
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -2, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

struct Venda {
    int Id = 0;
    bool Cancelada = false;
    QString NrOrdem;
    int Itens = 0;
};

struct Documento {
    int IdMovimento = 0;  // 0: none
    QString Tipo;
    QByteArray Conteudo;
};

// What the tool left in the database, read before the export.
struct Retrato {
    QList<Venda> Vendas;
    int NaoFiscais = 0;
    QList<Documento> Documentos;
    QStringList Cpfs;
    QStringList Logs;
};

Retrato Retratar(const AmbienteExportacao& a) {
    Retrato r;
    auto c = a.Conexao();
    auto v = c->Consultar(QStringLiteral(
        "SELECT M.IDMOVIMENTO, M.ST_MOVIMENTO, MC.NRORDEM, M.TIPO_OPERACAO, (SELECT COUNT(*) FROM MOVIMENTO_ITENS I "
        "WHERE I.IDMOVIMENTO = M.IDMOVIMENTO) FROM MOVIMENTO M JOIN MOVIMENTO_COMPLEMENTO MC ON "
        "MC.MOVIMENTO_ID = M.IDMOVIMENTO ORDER BY M.IDMOVIMENTO"));
    for (v->First(); !v->Eof(); v->Next()) {
        if (v->Fields(3).AsString() != QLatin1String("V")) {
            ++r.NaoFiscais;
            continue;
        }
        r.Vendas.append({v->Fields(0).AsInteger(), v->Fields(1).AsInteger() == 2, v->Fields(2).AsString(),
                         v->Fields(4).AsInteger()});
    }
    auto d = c->Consultar(QStringLiteral("SELECT IDMOVIMENTO, TIPOARQUIVO, CONTEUDOARQUIVO FROM ARQUIVOSDOCUMENTO"));
    for (d->First(); !d->Eof(); d->Next())
        r.Documentos.append({d->Fields(0).AsInteger(), d->Fields(1).AsString(), d->Fields(2).AsBytes()});
    auto k = c->Consultar(QStringLiteral("SELECT CPF_CNPJ FROM CLIENTEEXP"));
    for (k->First(); !k->Eof(); k->Next()) r.Cpfs << k->Fields(0).AsString();
    auto l = c->Consultar(QStringLiteral("SELECT DSDESCRICAOCURTA FROM LOGEVT ORDER BY IDLOG"));
    for (l->First(); !l->Eof(); l->Next()) r.Logs << l->Fields(0).AsString();
    return r;
}

QByteArray Ler(const AmbienteExportacao& a, const QString& nome) {
    QFile f(a.ArquivoSaida(nome));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The files starting with `prefixo` whose name holds `trecho`.
QStringList Com(const AmbienteExportacao& a, const QString& prefixo, const QString& trecho) {
    QStringList r;
    for (const QString& nome : a.ArquivosSaida(prefixo + QStringLiteral("*")))
        if (nome.contains(trecho)) r << nome;
    return r;
}

// The file prefix a sale's document row of `tipo` is written under.
QString PrefixoDaVenda(const QString& tipo) {
    static const QHash<QString, QString> p{{QStringLiteral("IDDOC"), QStringLiteral("IDDoc")},
                                           {QStringLiteral("SDOC"), QStringLiteral("SDoc")},
                                           {QStringLiteral("XDOC"), QStringLiteral("XDoc")},
                                           {QStringLiteral("DANFE"), QStringLiteral("Danfe")}};
    return p.value(tipo);
}

// The prefix of a document row sent by type.
QString PrefixoPorTipo(const QString& tipo) {
    static const QHash<QString, QString> p{{QStringLiteral("ECXA"), QStringLiteral("ECxa")},
                                           {QStringLiteral("INUT"), QStringLiteral("XDocI")},
                                           {QStringLiteral("CDOCH"), QStringLiteral("CDoc")}};
    return p.value(tipo);
}

}  // namespace

TEST(PdvDemo, EverythingTheToolPutsInLeavesTheDatabaseWithItsFile) {
    AmbienteExportacao a;
    const teste::ResultadoPrograma r =
        RodarPdv({QStringLiteral("--home"), a.Pasta(), QStringLiteral("--vendas"), QStringLiteral("7"),
                  QStringLiteral("--canceladas"), QStringLiteral("2"), QStringLiteral("--clientes"), QStringLiteral("5"),
                  QStringLiteral("--logs"), QStringLiteral("9"), QStringLiteral("--documentos"), QStringLiteral("1,3")});
    ASSERT_EQ(r.codigo, 0) << r.erros.toStdString();
    EXPECT_TRUE(r.saida.contains(QStringLiteral("vendas fechadas: 7 ("))) << r.saida.toStdString();

    const Retrato antes = Retratar(a);
    ASSERT_EQ(antes.Vendas.size(), 9);
    EXPECT_EQ(antes.NaoFiscais, 1);
    // Two per sale, the cancellation documents, one invalidation, one of the cash register.
    ASSERT_EQ(antes.Documentos.size(), 9 * 2 + 2 + 1 + 1);
    ASSERT_EQ(antes.Cpfs.size(), 5);
    ASSERT_EQ(antes.Logs.size(), 9);

    ASSERT_TRUE(a.Exportar(false));

    for (const char* tabela : {"ARQUIVOSDOCUMENTO", "CLIENTEEXP", "LOGEVT"})
        EXPECT_EQ(a.Contar(QString::fromLatin1(tabela)), 0) << tabela;
    EXPECT_EQ(a.Contar(QStringLiteral("MOVIMENTO WHERE ST_MOVIMENTO_EXPORTADO <> 1")), 0);

    QSet<QString> contados;
    QHash<int, QString> baseDaVenda;
    for (const Venda& v : antes.Vendas) {
        const QStringList h = Com(a, QStringLiteral("HDoc"), QStringLiteral("-%1]").arg(v.NrOrdem, 9, QLatin1Char('0')));
        ASSERT_EQ(h.size(), 1) << v.NrOrdem.toStdString();
        const QString base = h.first().mid(4);
        baseDaVenda[v.Id] = base;
        EXPECT_EQ(Ler(a, h.first()).size(), 14944);
        EXPECT_EQ(Ler(a, QStringLiteral("DDoc") + base).size(), v.Itens * 1452);
        contados << h.first() << QStringLiteral("DDoc") + base;
        if (v.Cancelada) {
            EXPECT_EQ(Ler(a, QStringLiteral("CDoc") + base), Ler(a, h.first()));
            contados << QStringLiteral("CDoc") + base;
        }
    }
    const QStringList naoFiscal = Com(a, QStringLiteral("HDoc"), QStringLiteral("-000000CNF]"));
    ASSERT_EQ(naoFiscal.size(), 1);
    contados << naoFiscal.first();

    for (const Documento& d : antes.Documentos) {
        if (!PrefixoDaVenda(d.Tipo).isEmpty()) {
            const QString nome = PrefixoDaVenda(d.Tipo) + baseDaVenda.value(d.IdMovimento);
            EXPECT_EQ(Ler(a, nome), d.Conteudo) << nome.toStdString();
            contados << nome;
            continue;
        }
        ASSERT_FALSE(PrefixoPorTipo(d.Tipo).isEmpty()) << d.Tipo.toStdString();
        QString achado;
        for (const QString& nome : a.ArquivosSaida(PrefixoPorTipo(d.Tipo) + QStringLiteral("*")))
            if (!contados.contains(nome) && Ler(a, nome) == d.Conteudo) achado = nome;
        EXPECT_FALSE(achado.isEmpty()) << d.Tipo.toStdString();
        contados << achado;
    }

    QStringList cpfs;
    for (const QString& nome : a.ArquivosSaida(QStringLiteral("CCad*"))) {
        const QByteArray b = Ler(a, nome);
        ASSERT_EQ(b.size(), 1074);
        cpfs << QString::fromLatin1(b.mid(103, static_cast<unsigned char>(b.at(102))));
        contados << nome;
    }
    QStringList esperados = antes.Cpfs;
    esperados.sort();
    cpfs.sort();
    EXPECT_EQ(cpfs, esperados);

    const QStringList levt = a.ArquivosSaida(QStringLiteral("LEvt*"));
    ASSERT_EQ(levt.size(), 1);
    TClientDataSet logs;
    logs.LoadFromFile(a.ArquivoSaida(levt.first()));
    QStringList descricoes;
    for (logs.First(); !logs.Eof(); logs.Next()) descricoes << logs.FieldByName(QStringLiteral("DsDescricaoCurta")).AsString();
    EXPECT_EQ(descricoes, antes.Logs);
    contados << levt.first();

    // Nothing else in the directory, no temporary left, one success record.
    const QStringList todos = a.ArquivosSaida();
    EXPECT_EQ(QSet<QString>(todos.begin(), todos.end()), contados);
    EXPECT_TRUE(AmbienteExportacao::Descricoes().contains(QStringLiteral("Exportação realizada com sucesso!")));
    for (const auto& registro : AmbienteExportacao::Auditorias())
        EXPECT_NE(registro.Tipo, 0) << registro.Descricao.toStdString() << ": " << registro.Detalhes.toStdString();
}

TEST(PdvDemo, ASecondRunAddsNewRowsBesideTheFirst) {
    AmbienteExportacao a;
    const QStringList args{QStringLiteral("--home"), a.Pasta(), QStringLiteral("--vendas"), QStringLiteral("3"),
                           QStringLiteral("--clientes"), QStringLiteral("2"), QStringLiteral("--documentos"),
                           QStringLiteral("1")};
    ASSERT_EQ(RodarPdv(args).codigo, 0);
    ASSERT_EQ(RodarPdv(args).codigo, 0);
    EXPECT_EQ(a.Contar(QStringLiteral("MOVIMENTO WHERE TIPO_OPERACAO = 'V'")), 8);
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT COUNT(DISTINCT NRORDEM) FROM MOVIMENTO_COMPLEMENTO WHERE NRORDEM IS NOT NULL")),
              QStringList{QStringLiteral("8")});
    EXPECT_EQ(a.Linhas(QStringLiteral("SELECT COUNT(DISTINCT IDCLIENTE) FROM CLIENTEEXP")), QStringList{QStringLiteral("4")});
    ASSERT_TRUE(a.Exportar(false));
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("HDoc*")).size(), 10);  // 8 sales, 2 non-fiscal
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("CCad*")).size(), 4);
}

TEST(PdvDemo, BadInputGetsAReadableLineAndWritesNothing) {
    AmbienteExportacao a;
    const auto rodar = [&](QStringList extra) { return RodarPdv(QStringList{QStringLiteral("--home"), a.Pasta()} + extra); };
    teste::ResultadoPrograma r = rodar({QStringLiteral("--lojas"), QStringLiteral("2")});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_TRUE(r.erros.contains(QStringLiteral("Opção desconhecida: --lojas"))) << r.erros.toStdString();
    r = rodar({QStringLiteral("--documentos"), QStringLiteral("4,0")});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_TRUE(r.erros.contains(QStringLiteral("--documentos"))) << r.erros.toStdString();
    r = rodar({QStringLiteral("--vendas"), QStringLiteral("-1")});
    EXPECT_EQ(r.codigo, 2);
    r = RodarPdv({QStringLiteral("--vendas"), QStringLiteral("1")});
    EXPECT_EQ(r.codigo, 2);
    EXPECT_TRUE(r.erros.contains(QStringLiteral("--home"))) << r.erros.toStdString();
    EXPECT_EQ(a.Contar(QStringLiteral("MOVIMENTO")), 0);

    // A program folder whose database is missing: one line, exit 1.
    QFile::remove(a.CaminhoBanco());
    r = rodar({});
    EXPECT_EQ(r.codigo, 1);
    EXPECT_TRUE(r.erros.contains(QStringLiteral("não existe"))) << r.erros.toStdString();
    EXPECT_FALSE(QFile::exists(a.CaminhoBanco()));
}

// Indexes made on the empty tables of a new POS database have no
// selectivity; the search of each customer's sale then read every sale. The
// customers step gives them one before its searches.
TEST(ClientesDoPdv, TheSaleSearchIndexesGetASelectivityBeforeTheSearches) {
    AmbienteExportacao a;
    ASSERT_EQ(RodarPdv({QStringLiteral("--home"), a.Pasta(), QStringLiteral("--vendas"), QStringLiteral("60"),
                        QStringLiteral("--clientes"), QStringLiteral("10"), QStringLiteral("--documentos"),
                        QStringLiteral("1")})
                  .codigo,
              0);
    const QString estatistica = QStringLiteral(
        "SELECT COUNT(*) FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
        "WHERE ((I.RDB$RELATION_NAME = 'MOVIMENTO' AND S.RDB$FIELD_NAME = 'ID_CLIENTE') OR "
        "(I.RDB$RELATION_NAME = 'MOVIMENTO_COMPLEMENTO' AND S.RDB$FIELD_NAME = 'MOVIMENTO_ID')) AND "
        "COALESCE(I.RDB$STATISTICS, 0) %1");
    EXPECT_EQ(a.Linhas(estatistica.arg(QStringLiteral("= 0"))), QStringList{QStringLiteral("2")});

    auto g = a.Gateway();
    W w(a.Hint, a.Saida());
    ASSERT_TRUE(w.ExportarClientes(*g));
    g.reset();
    EXPECT_EQ(a.Linhas(estatistica.arg(QStringLiteral("> 0"))), QStringList{QStringLiteral("2")});
    EXPECT_EQ(a.ArquivosSaida(QStringLiteral("CCad*")).size(), 10);
    EXPECT_EQ(a.Contar(QStringLiteral("CLIENTEEXP")), 0);
}
