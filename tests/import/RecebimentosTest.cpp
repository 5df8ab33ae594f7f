// Payment types: TpRec.dat into GRUPOSTPREC and TPREC, TpRec_SiTef.dat into
// TPRECSITEF, and the pictures stored with them.
#include <gtest/gtest.h>

#include <QImage>

#include "ApoioImportacao.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/ImportacaoPDVBistrelInterna.h"
#include "resources/RecursosImportacao.h"

using namespace vesko;
using retaguarda::TPacoteRetaguarda;
using teste::AmbienteImportacao;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// One payment type: id, letter, name; the other fields of a plain type.
struct TTipo {
    QString Id, Letra, Nome;
};

// TpRec.dat as the back office writes it; `adquirentes` adds the field
// that older files lack.
void GravarTpRec(const QString& caminho, const QList<TTipo>& tipos, bool adquirentes = true) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdTpRecebimento"), ftString, 60)
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
        .Campo(QStringLiteral("Nr_ParcelasSemJurosADMCartao"), ftInteger);
    if (adquirentes) p.Campo(QStringLiteral("ListaDeAdiquirentes"), ftString, 100);
    for (const TTipo& t : tipos) {
        const bool cartao = t.Letra.compare(QStringLiteral("A"), Qt::CaseInsensitive) == 0;
        p.Linha({t.Id, t.Letra, QStringLiteral("C") + t.Id, t.Nome, t.Letra == QStringLiteral("P"), cartao ? 2 : 0,
                 cartao ? QStringLiteral("12.345.678/0001-95") : QString(), cartao, cartao, !cartao, cartao ? 12 : 0,
                 cartao ? 3 : 0, cartao ? QStringLiteral("00001;00125") : QVariant()});
    }
    p.Gravar(caminho);
}

void GravarSiTef(const QString& caminho, const QStringList& nomesCampos, int linhas) {
    TPacoteRetaguarda p;
    for (int i = 0; i < 3; ++i) p.Campo(nomesCampos[i], ftString, 10);
    for (int i = 3; i < 6; ++i) p.Campo(nomesCampos[i], ftInteger);
    for (int i = 1; i <= linhas; ++i)
        p.Linha({QStringLiteral("0000%1").arg(i), QStringLiteral("02"), QStringLiteral("003"), 10 + i, 2, 12});
    p.Gravar(caminho);
}

const QStringList kCamposSiTef{QStringLiteral("cdbandeira"),  QStringLiteral("cdmodalidadexx"),
                               QStringLiteral("idtprecebimento"), QStringLiteral("opcaositef"),
                               QStringLiteral("nrparcelaini"), QStringLiteral("nrparcelafim")};

QByteArray Blob(const AmbienteImportacao& amb, const QString& select) {
    auto c = amb.Conexao();
    auto q = c->Consultar(select);
    return q->IsEmpty() ? QByteArray() : q->Fields(0).AsBytes();
}

// A 64 x 64, 24-bit Windows bitmap file.
void EsperarBitmap(const QByteArray& bmp) {
    ASSERT_GE(bmp.size(), 54);
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(static_cast<quint8>(bmp[28]), 24);  // bits per pixel
    const QImage imagem = QImage::fromData(bmp, "BMP");
    EXPECT_EQ(imagem.size(), QSize(64, 64));
}

// Runs one save step on a connected gateway, as the chain does.
template <typename Passo>
bool Rodar(AmbienteImportacao& amb, THintMemoria& hint, Passo passo) {
    TComunicacaoBancoBistrel g(kImportacao);
    if (!g.Conectar(amb.PrimeiraConexao)) return false;
    TImportacaoPDVBistrelInterna w(hint, amb.Entrada());
    const bool ok = passo(w, g);
    g.Desconectar();
    return ok;
}

bool SalvarRecebimentos(AmbienteImportacao& amb, THintMemoria& hint, QString* resumo = nullptr) {
    return Rodar(amb, hint, [&](TImportacaoPDVBistrelInterna& w, TComunicacaoBancoBistrel& g) {
        const bool ok = w.SalvarRecebimentos(g);
        if (resumo) *resumo = w.ArquivosImportados();
        return ok;
    });
}

bool SalvarSiTef(AmbienteImportacao& amb, THintMemoria& hint, QString* resumo = nullptr) {
    return Rodar(amb, hint, [&](TImportacaoPDVBistrelInterna& w, TComunicacaoBancoBistrel& g) {
        const bool ok = w.SalvarTiposRecebimentoSiTEF(g);
        if (resumo) *resumo = w.ArquivosImportados();
        return ok;
    });
}

}  // namespace

TEST(RecursosImportacao, EightDistinctPaymentBitmapsAndTheDefaultGroupJpeg) {
    QSet<QByteArray> vistos;
    for (const QString& nome : ImagensTipoRecebimento()) {
        SCOPED_TRACE(nome.toStdString());
        const QByteArray bmp = CarregarBitmapRecurso(nome);
        EsperarBitmap(bmp);
        EXPECT_EQ(CarregarRecurso(nome), bmp);
        vistos.insert(bmp);
    }
    EXPECT_EQ(vistos.size(), 8);
    const QByteArray jpeg = CarregarRecurso(QStringLiteral("GRUPO_PADRAO"));
    EXPECT_TRUE(jpeg.startsWith("\xFF\xD8\xFF"));
    EXPECT_EQ(QImage::fromData(jpeg, "JPEG").size(), QSize(108, 125));
    EXPECT_THROW(CarregarRecurso(QStringLiteral("NAO_EXISTE")), EResNotFound);
    EXPECT_THROW(CarregarBitmapRecurso(QStringLiteral("GRUPO_PADRAO")), EResNotFound);  // not a bitmap
    EXPECT_THROW(CarregarBitmapRecurso(QString()), EResNotFound);
}

TEST(Recebimentos, LettersGroupsPicturesAndTheOtherTypesRemoved) {
    AmbienteImportacao amb;
    {
        auto c = amb.Conexao();  // a previous import's rows: all replaced
        c->Executar(QStringLiteral("INSERT INTO GRUPOSTPREC VALUES (4, '000004', 'TICKET', NULL, NULL, 0)"));
        c->Executar(QStringLiteral("INSERT INTO TPREC (IDTPREC, IDGRUPOTPREC, TPRECEBIMENTO) VALUES ('099', 4, 'T')"));
    }
    GravarTpRec(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")),
                {{"001", "d", "Dinheiro"},
                 {"002", "C", "Cheque"},
                 {"003", "a", "Cartão de crédito"},
                 {"004", "O", "Cortesia"},
                 {"005", "o", "Permuta"},
                 {"006", "X", "Troca"},
                 {"007", "P", "Cheque pré-datado"},
                 {"008", "", "Sem tipo"},
                 {"009", "Z", "Desconhecido"}});
    THintMemoria hint;
    QString resumo;
    ASSERT_TRUE(SalvarRecebimentos(amb, hint, &resumo));
    EXPECT_EQ(resumo, QStringLiteral("* TpRec.dat;\r\n"));

    // O rows went in and were removed; an empty letter is kept as an
    // unknown one (group 0, empty letter).
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDTPREC, IDGRUPOTPREC, TPRECEBIMENTO, DSTPREC FROM TPREC ORDER BY 1")),
              (QStringList{QStringLiteral("001|1|D|Dinheiro"), QStringLiteral("002|2|C|Cheque"),
                           QStringLiteral("003|3|A|Cartão de crédito"), QStringLiteral("006|0|X|Troca"),
                           QStringLiteral("007|0|P|Cheque pré-datado"), QStringLiteral("008|0||Sem tipo"),
                           QStringLiteral("009|0|Z|Desconhecido")}));
    // Groups 4 to 6 are unused and removed; cash always stays.
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDGRUPOTPREC, CDGRUPOTPREC, DSGRUPOTPREC, DSOBSERVACAO, STINATIVO "
                                        "FROM GRUPOSTPREC ORDER BY 1")),
              (QStringList{QStringLiteral("1|000001|DINHEIRO|<null>|0"), QStringLiteral("2|000002|CHEQUE|<null>|0"),
                           QStringLiteral("3|000003|CARTÃO|<null>|0")}));

    // Pictures: the kind of the letter, 64 x 64 bitmaps.
    const auto imagemTipo = [&](const char* id) {
        return Blob(amb, QStringLiteral("SELECT IMAGEM FROM TPREC WHERE IDTPREC = '%1'").arg(QLatin1String(id)));
    };
    EXPECT_EQ(imagemTipo("001"), CarregarBitmapRecurso(QStringLiteral("DINHEIRO")));
    EXPECT_EQ(imagemTipo("003"), CarregarBitmapRecurso(QStringLiteral("CARTAO")));
    EXPECT_EQ(imagemTipo("006"), CarregarBitmapRecurso(QStringLiteral("TROCA")));
    EXPECT_EQ(imagemTipo("007"), CarregarBitmapRecurso(QStringLiteral("CHEQUE_PRE")));
    EXPECT_EQ(imagemTipo("008"), CarregarBitmapRecurso(QStringLiteral("DINHEIRO")));
    EsperarBitmap(imagemTipo("002"));
    EXPECT_EQ(Blob(amb, QStringLiteral("SELECT IMAGEM FROM GRUPOSTPREC WHERE IDGRUPOTPREC = 3")),
              CarregarBitmapRecurso(QStringLiteral("CARTAO")));
    EsperarBitmap(Blob(amb, QStringLiteral("SELECT IMAGEM FROM GRUPOSTPREC WHERE IDGRUPOTPREC = 1")));

    // The progress text of TPREC goes before its delete, then counts the records.
    const QStringList h = hint.Historico();
    ASSERT_GE(h.size(), 5);
    EXPECT_EQ(h.mid(0, 4), (QStringList{QStringLiteral("Carregando arquivo de formas de pagamento..."),
                                        QStringLiteral("Criando os grupos das formas de pagamento..."),
                                        QStringLiteral("Importando arquivo de formas de pagamento (1 de 9 -> 11,11%)..."),
                                        QStringLiteral("Importando arquivo de formas de pagamento (1 de 9 -> 11,11%)...")}));
    EXPECT_EQ(h.mid(h.size() - 2), (QStringList{QStringLiteral("Importando arquivo de formas de pagamento (9 de 9 -> 100,00%)..."),
                                                QStringLiteral("Salvando recebimentos no banco de dados...")}));
}

TEST(Recebimentos, FieldsFlagsAndAFileWithoutTheAcquirersList) {
    AmbienteImportacao amb;
    GravarTpRec(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")), {{"001", "D", "Dinheiro"}, {"003", "A", "Crédito"}});
    THintMemoria hint;
    ASSERT_TRUE(SalvarRecebimentos(amb, hint));
    EXPECT_EQ(amb.Linhas(QStringLiteral(
                  "SELECT CDTPREC, STCHEQUEPRE, IDXCERTIFICADA, CNPJADMCARTAO, STTEF, STTRABALHAADMINISTRADORA, "
                  "STPGTOUNICAPARCELA, NR_MAXIMOPARCELAMENTOSADMCARTAO, NR_PARCELASSEMJUROSADMCARTAO, LISTA_ADQUIRENTES "
                  "FROM TPREC ORDER BY IDTPREC")),
              (QStringList{QStringLiteral("C001|0|0||0|0|1|0|0|"),
                           QStringLiteral("C003|0|2|12.345.678/0001-95|1|1|0|12|3|00001;00125")}));
    // Only cash and card: groups 1 and 3 remain.
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDGRUPOTPREC FROM GRUPOSTPREC ORDER BY 1")),
              (QStringList{QStringLiteral("1"), QStringLiteral("3")}));

    GravarTpRec(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")), {{"003", "A", "Crédito"}}, false);
    ASSERT_TRUE(SalvarRecebimentos(amb, hint));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDTPREC, LISTA_ADQUIRENTES FROM TPREC")),
              QStringList{QStringLiteral("003|")});  // empty, not null
}

TEST(Recebimentos, AFailingInsertRollsBackTheWholeStep) {
    AmbienteImportacao amb;
    GravarTpRec(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")), {{"001", "D", "Dinheiro"}, {"002", "C", "Cheque"}});
    THintMemoria hint;
    ASSERT_TRUE(SalvarRecebimentos(amb, hint));
    const QStringList antes = amb.Linhas(QStringLiteral("SELECT IDTPREC, DSTPREC FROM TPREC ORDER BY 1"));

    // A duplicate key: the second insert fails, groups and types stay as they were.
    GravarTpRec(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")),
                {{"005", "A", "Cartão"}, {"005", "T", "Ticket"}, {"006", "V", "Vale"}});
    QString resumo;
    EXPECT_FALSE(SalvarRecebimentos(amb, hint, &resumo));
    EXPECT_TRUE(resumo.isEmpty());
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDTPREC, DSTPREC FROM TPREC ORDER BY 1")), antes);
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDGRUPOTPREC FROM GRUPOSTPREC ORDER BY 1")),
              (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_EQ(AmbienteImportacao::Descricoes(), QStringList{QStringLiteral("Erro na execução de query.")});
    EXPECT_EQ(hint.Hint(), QStringLiteral("Salvando recebimentos no banco de dados..."));
}

TEST(Recebimentos, AFieldTheFileLacksRaisesAndCommitsNothing) {
    AmbienteImportacao amb;
    GravarTpRec(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")), {{"001", "D", "Dinheiro"}});
    THintMemoria hint;
    ASSERT_TRUE(SalvarRecebimentos(amb, hint));
    TPacoteRetaguarda p;  // no CdTipoRec, among others
    p.Campo(QStringLiteral("IdTpRecebimento"), ftString, 10).Campo(QStringLiteral("TpRecebimento"), ftString, 1);
    p.Linha({QStringLiteral("002"), QStringLiteral("C")});
    p.Gravar(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")));
    EXPECT_THROW(SalvarRecebimentos(amb, hint), EDBClient);  // the gateway goes out of scope mid-step
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT IDTPREC FROM TPREC")), QStringList{QStringLiteral("001")});
    EXPECT_EQ(amb.Contar(QStringLiteral("GRUPOSTPREC")), 1);
}

TEST(RecebimentosSiTEF, AbsentFileKeepsTheRowsPresentFileReplacesThemWhateverTheFieldNamesCase) {
    AmbienteImportacao amb;
    {
        auto c = amb.Conexao();
        c->Executar(QStringLiteral("INSERT INTO TPRECSITEF VALUES ('99999', '01', '003', 1, 1, 1)"));
    }
    THintMemoria hint;
    QString resumo;
    ASSERT_TRUE(SalvarSiTef(amb, hint, &resumo));
    EXPECT_TRUE(resumo.isEmpty());
    EXPECT_EQ(amb.Contar(QStringLiteral("TPRECSITEF")), 1);
    EXPECT_EQ(hint.Historico(), QStringList{QStringLiteral("Salvando tipos de recebimento SiTEF no banco de dados...")});

    // An empty file is guarded too.
    GravarSiTef(amb.ArquivoEntrada(QStringLiteral("TpRec_SiTef.dat")), kCamposSiTef, 0);
    ASSERT_TRUE(SalvarSiTef(amb, hint, &resumo));
    EXPECT_TRUE(resumo.isEmpty());
    EXPECT_EQ(amb.Contar(QStringLiteral("TPRECSITEF")), 1);

    const QStringList maiusculas{QStringLiteral("CDBANDEIRA"), QStringLiteral("CdModalidadeXX"),
                                 QStringLiteral("IdTpRecebimento"), QStringLiteral("OPCAOSITEF"),
                                 QStringLiteral("NrParcelaIni"), QStringLiteral("NRPARCELAFIM")};
    GravarSiTef(amb.ArquivoEntrada(QStringLiteral("TPREC_SITEF.DAT")), maiusculas, 2);
    QFile::remove(amb.ArquivoEntrada(QStringLiteral("TpRec_SiTef.dat")));
    THintMemoria hint2;
    ASSERT_TRUE(SalvarSiTef(amb, hint2, &resumo));
    EXPECT_EQ(resumo, QStringLiteral("* TpRec_SiTef.dat;\r\n"));
    EXPECT_EQ(amb.Linhas(QStringLiteral("SELECT * FROM TPRECSITEF ORDER BY CDBANDEIRA")),
              (QStringList{QStringLiteral("00001|02|003|11|2|12"), QStringLiteral("00002|02|003|12|2|12")}));
    EXPECT_EQ(hint2.Historico(),
              (QStringList{QStringLiteral("Carregando tipos de recebimento SiTEF..."),
                           QStringLiteral("Apagando tipos de recebimento SiTEF..."),
                           QStringLiteral("Importando tipos de recebimento SiTEF (1 de 2 -> 50,00%)..."),
                           QStringLiteral("Importando tipos de recebimento SiTEF (1 de 2 -> 50,00%)..."),
                           QStringLiteral("Importando tipos de recebimento SiTEF (2 de 2 -> 100,00%)..."),
                           QStringLiteral("Salvando tipos de recebimento SiTEF no banco de dados...")}));
}

TEST(RecebimentosGerador, EveryLetterAndTheSecondSetDiffersInEveryRow) {
    AmbienteImportacao amb;
    retaguarda::TOpcoesGerador a;
    retaguarda::GerarRecebimentos(amb.Entrada(), a);
    TClientDataSet ds;
    ds.LoadFromFile(amb.ArquivoEntrada(QStringLiteral("TpRec.dat")));
    QString letras;
    for (ds.First(); !ds.Eof(); ds.Next()) letras += ds.FieldByName(QStringLiteral("TpRecebimento")).AsString();
    for (QChar l : QStringLiteral("DCATRVO")) EXPECT_TRUE(letras.contains(l)) << l.toLatin1();

    THintMemoria hint;
    ASSERT_TRUE(SalvarRecebimentos(amb, hint));
    ASSERT_TRUE(SalvarSiTef(amb, hint));
    const QString tipos = QStringLiteral("SELECT IDTPREC, IDGRUPOTPREC, DSTPREC FROM TPREC ORDER BY 1");
    const QString sitef = QStringLiteral("SELECT * FROM TPRECSITEF ORDER BY CDBANDEIRA, CDMODALIDADEXX");
    const QStringList tiposA = amb.Linhas(tipos), sitefA = amb.Linhas(sitef);
    EXPECT_EQ(amb.Contar(QStringLiteral("GRUPOSTPREC")), 6);
    EXPECT_EQ(amb.Contar(QStringLiteral("TPREC WHERE TPRECEBIMENTO = 'O'")), 0);

    retaguarda::TOpcoesGerador b;
    b.Variante = 1;
    retaguarda::GerarRecebimentos(amb.Entrada(), b);
    ASSERT_TRUE(SalvarRecebimentos(amb, hint));
    ASSERT_TRUE(SalvarSiTef(amb, hint));
    const QStringList tiposB = amb.Linhas(tipos), sitefB = amb.Linhas(sitef);
    ASSERT_EQ(tiposA.size(), tiposB.size());
    ASSERT_EQ(sitefA.size(), sitefB.size());
    for (int i = 0; i < tiposA.size(); ++i) {
        EXPECT_EQ(tiposA[i].section(QLatin1Char('|'), 0, 1), tiposB[i].section(QLatin1Char('|'), 0, 1));
        EXPECT_NE(tiposA[i], tiposB[i]);
    }
    for (int i = 0; i < sitefA.size(); ++i) {
        EXPECT_EQ(sitefA[i].section(QLatin1Char('|'), 0, 2), sitefB[i].section(QLatin1Char('|'), 0, 2));
        EXPECT_NE(sitefA[i], sitefB[i]);
    }
}
