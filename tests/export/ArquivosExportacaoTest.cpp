// How export files reach the export directory: temporary names, set
// renames, rollback, stale temporaries, unsafe characters, backup copies.
#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include "ApoioExportacao.h"
#include "export/ArquivosExportacao.h"
#include "store/BackupDat.h"

using namespace vesko;
using vesko::teste::AmbienteExportacao;

namespace {

const QString kBase = QStringLiteral("[CAIXA01][CAIXA01-000001234][143005]ABC123.dat");

QString Diretorio(const AmbienteExportacao& a) { return a.Saida() + QLatin1Char('/'); }

}  // namespace

TEST(ArquivosExportacao, AFileIsWrittenUnderATemporaryNameAndAppearsOnlyWhenRenamed) {
    AmbienteExportacao a;
    TUnidadeExportacao u(Diretorio(a));
    u.Gravar(QStringLiteral("HDoc"), kBase, "cabecalho");
    u.Gravar(QStringLiteral("DDoc"), kBase, "itens");
    const QStringList antes = a.ArquivosSaida();
    ASSERT_EQ(antes.size(), 2);
    for (const QString& n : antes) {
        EXPECT_TRUE(n.startsWith(QLatin1Char('~'))) << n.toStdString();
        EXPECT_TRUE(n.endsWith(QLatin1String(".tmp"))) << n.toStdString();
        EXPECT_FALSE(n.startsWith(QLatin1String("HDoc")) || n.startsWith(QLatin1String("DDoc")));
    }
    EXPECT_TRUE(u.Contem(QStringLiteral("HDoc"), kBase));
    EXPECT_FALSE(u.Contem(QStringLiteral("CDoc"), kBase));

    ASSERT_TRUE(u.Efetivar());
    u.Concluir();
    EXPECT_EQ(a.ArquivosSaida(), (QStringList{QStringLiteral("DDoc") + kBase, QStringLiteral("HDoc") + kBase}));
    EXPECT_EQ(u.NomesFinais(), (QStringList{QStringLiteral("HDoc") + kBase, QStringLiteral("DDoc") + kBase}));
    EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(QStringLiteral("HDoc") + kBase)), QByteArray("cabecalho"));
}

TEST(ArquivosExportacao, ASetWhoseNameIsTakenGetsOneNewSuffixForAllItsFilesAndNothingIsOverwritten) {
    AmbienteExportacao a;
    // Only the DDoc name is taken: the HDoc must move with it.
    teste::GravarArquivo(a.ArquivoSaida(QStringLiteral("DDoc") + kBase), "anterior");
    TUnidadeExportacao u(Diretorio(a));
    const QString outra = QStringLiteral("[CAIXA01][CAIXA01-000001235][143006]XYZ789.dat");
    u.Gravar(QStringLiteral("HDoc"), kBase, "h");
    u.Gravar(QStringLiteral("DDoc"), kBase, "d");
    u.Gravar(QStringLiteral("HDoc"), outra, "h2");
    ASSERT_TRUE(u.Efetivar());
    u.Concluir();

    EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(QStringLiteral("DDoc") + kBase)), QByteArray("anterior"));
    EXPECT_FALSE(QFile::exists(a.ArquivoSaida(QStringLiteral("HDoc") + kBase)));
    const QString h = u.NomeFinal(QStringLiteral("HDoc"), kBase);
    const QString d = u.NomeFinal(QStringLiteral("DDoc"), kBase);
    const QRegularExpression forma(QStringLiteral(R"(^HDoc\[CAIXA01\]\[CAIXA01-000001234\]\[143005\]([A-Z0-9]{6})\.dat$)"));
    const auto m = forma.match(h);
    ASSERT_TRUE(m.hasMatch()) << h.toStdString();
    EXPECT_NE(m.captured(1), QStringLiteral("ABC123"));
    EXPECT_EQ(d, QStringLiteral("D") + h.mid(1));  // the same new suffix for the whole set
    EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(h)), QByteArray("h"));
    EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(d)), QByteArray("d"));
    // The other set was free and keeps its name.
    EXPECT_EQ(u.NomeFinal(QStringLiteral("HDoc"), outra), QStringLiteral("HDoc") + outra);
    EXPECT_TRUE(a.ArquivosSaida(QStringLiteral("~*")).isEmpty());
}

TEST(ArquivosExportacao, AUnitLeftWithoutConclusionLeavesNoFiles) {
    AmbienteExportacao a;
    {
        TUnidadeExportacao u(Diretorio(a));
        u.Gravar(QStringLiteral("CCad"), kBase, "x");
    }  // an exception or a rollback: no conclusion
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    {
        TUnidadeExportacao u(Diretorio(a));
        u.Gravar(QStringLiteral("CCad"), kBase, "x");
        ASSERT_TRUE(u.Efetivar());
        u.Descartar();  // the commit failed after the rename
    }
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
}

TEST(ArquivosExportacao, AFileThatCannotBeWrittenRaisesAndLeavesNothing) {
    AmbienteExportacao a;
    teste::GravarArquivo(a.Arquivo(QStringLiteral("arquivo")), "não é pasta");
    TUnidadeExportacao u(a.Arquivo(QStringLiteral("arquivo")) + QLatin1Char('/'));
    EXPECT_THROW(u.Gravar(QStringLiteral("CCad"), kBase, "x"), EInOutError);
}

TEST(ArquivosExportacao, StaleTemporariesAreRemovedAndNothingElse) {
    AmbienteExportacao a;
    for (const char* n : {"~HDoc[A][1]X.dat.tmp", "~qualquer.tmp", "~HDoc.dat", "HDoc[A][1]X.dat", "dados.tmp",
                          "~LEvt[A][1]X.dat.tmp.~vesko-Ab12Cd", "~LEvt[A][1]X.dat.tmp.~vesko-curto",
                          "LEvt[A][1]X.dat.~vesko-Ab12Cd"})
        teste::GravarArquivo(a.ArquivoSaida(QString::fromLatin1(n)), "x");
    EXPECT_EQ(RemoverTemporariosExportacao(Diretorio(a)), 3);
    EXPECT_EQ(a.ArquivosSaida(), (QStringList{QStringLiteral("HDoc[A][1]X.dat"), QStringLiteral("LEvt[A][1]X.dat.~vesko-Ab12Cd"),
                                              QStringLiteral("dados.tmp"), QStringLiteral("~HDoc.dat"),
                                              QStringLiteral("~LEvt[A][1]X.dat.tmp.~vesko-curto")}));
}

TEST(ArquivosExportacao, EveryCharacterAWindowsNameCannotHoldBecomesAnUnderscore) {
    EXPECT_EQ(NomeArquivoSeguro(QStringLiteral("PDV:01")), QStringLiteral("PDV_01"));
    EXPECT_EQ(NomeArquivoSeguro(QStringLiteral("a\\b/c:d*e?f\"g<h>i|j")), QStringLiteral("a_b_c_d_e_f_g_h_i_j"));
    EXPECT_EQ(NomeArquivoSeguro(QStringLiteral("x\ty\nz") + QChar(0x1F) + QChar(0x7F)), QStringLiteral("x_y_z__"));
    // Everything else stays as it is.
    EXPECT_EQ(NomeArquivoSeguro(QStringLiteral("Caixa-01 [São] #1.+")), QStringLiteral("Caixa-01 [São] #1.+"));
}

TEST(ArquivosExportacao, ACommittedUnitIsRenamedCopiedAndListedARolledBackOneLeavesNoTrace) {
    AmbienteExportacao a;
    a.Executar(QStringLiteral("INSERT INTO LOGEVT (IDLOG, DSNOMEMAQUINA) VALUES (1, 'M')"));
    a.Executar(QStringLiteral("INSERT INTO LOGEVT (IDLOG, DSNOMEMAQUINA) VALUES (2, 'M')"));
    auto g = a.Gateway();
    TExportacaoPDVBistrelInterna w(a.Hint, a.Saida());

    // Rolled back: the deletion comes back, no file, no copy, no entry.
    ASSERT_TRUE(g->IniciarTransacao());
    {
        TUnidadeExportacao u(w.DiretorioExportacao());
        u.Gravar(QStringLiteral("LEvt"), kBase, "um");
        ASSERT_TRUE(g->ExecutarDelete(QStringLiteral("DELETE FROM LOGEVT WHERE IDLOG = 1")));
        EXPECT_FALSE(w.ConcluirUnidade(*g, u, false));
    }
    EXPECT_FALSE(g->GetConexao().EmTransacao());
    EXPECT_EQ(a.Contar(QStringLiteral("LOGEVT")), 2);
    EXPECT_TRUE(a.ArquivosSaida().isEmpty());
    EXPECT_FALSE(QDir(DiretorioBackupsDAT(QDate::currentDate())).exists());
    EXPECT_TRUE(w.GetArquivosExportados().isEmpty());

    // Committed: renamed, copied, listed under the final name.
    teste::GravarArquivo(a.ArquivoSaida(QStringLiteral("LEvt") + kBase), "ocupado");
    ASSERT_TRUE(g->IniciarTransacao());
    TUnidadeExportacao u(w.DiretorioExportacao());
    u.Gravar(QStringLiteral("LEvt"), kBase, "dois");
    ASSERT_TRUE(g->ExecutarDelete(QStringLiteral("DELETE FROM LOGEVT WHERE IDLOG = 2")));
    EXPECT_TRUE(w.ConcluirUnidade(*g, u, true));
    EXPECT_EQ(a.Contar(QStringLiteral("LOGEVT")), 1);
    const QString final = u.NomeFinal(QStringLiteral("LEvt"), kBase);
    EXPECT_NE(final, QStringLiteral("LEvt") + kBase);
    EXPECT_EQ(teste::LerArquivo(a.ArquivoSaida(final)), QByteArray("dois"));
    EXPECT_EQ(teste::LerArquivo(DiretorioBackupsDAT(QDate::currentDate()) + final), QByteArray("dois"));
    EXPECT_EQ(w.GetArquivosExportados(), QStringLiteral("* ") + final + QLatin1Char(';'));
}
