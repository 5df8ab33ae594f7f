// The gateway: first connection (backup, schema check, version stamp), the
// success rule and audit record of each operation, transactions as the runs
// rely on them, the progress text, and the two database commands.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "ApoioBanco.h"
#include "audit/AuditoriaNaoGravada.h"
#include "base/Relogio.h"
#include "base/Versao.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "db/ComandosBanco.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/MonitorSql.h"
#include "store/DBIniFileBistrel.h"

using namespace vesko;
using vesko::teste::AmbienteBanco;

namespace {

const QString kImportacao = QStringLiteral("Importação");

// Collects the audit records the gateways write while it lives.
struct Registros {
    std::vector<TRegistroAuditoriaBanco> lista;
    TEscutaAuditoriaBanco escuta{[this](const TRegistroAuditoriaBanco& r) { lista.push_back(r); }};
};

QString Versao(AmbienteBanco& amb) {
    auto c = amb.Conexao();
    return TDBIniFileBistrel(*c, QStringLiteral("FOOD_CONFIG"))
        .ReadString(QStringLiteral("BISTREL"), QStringLiteral("VersaoIntegrador"), QStringLiteral("<nenhuma>"));
}

int Backups(const AmbienteBanco& amb) {
    return static_cast<int>(QDir(amb.Arquivo(QStringLiteral("Backups"))).entryList(QDir::Files).size());
}

int VerificacoesDeEstrutura() {
    QFile f(TMonitorSql::NomeArquivo());
    if (!f.open(QIODevice::ReadOnly)) return 0;
    return static_cast<int>(QString::fromUtf8(f.readAll()).count(QStringLiteral("verificação da estrutura do banco")));
}

TEST(Gateway, CaminhoDoBancoComOuSemSeparadorFinal) {
    EXPECT_EQ(CaminhoBancoDeDados(QStringLiteral("/srv/dados")), QStringLiteral("/srv/dados/VESKO.GDB"));
    EXPECT_EQ(CaminhoBancoDeDados(QStringLiteral("/srv/dados/")), QStringLiteral("/srv/dados/VESKO.GDB"));
    EXPECT_EQ(CaminhoBancoDeDados(QStringLiteral("C:\\Dados\\")), QStringLiteral("C:\\Dados\\VESKO.GDB"));
    AmbienteBanco amb(false);
    EXPECT_EQ(TComunicacaoBancoBistrel(kImportacao).GetCaminhoBancoDeDados(), amb.CaminhoBanco());
    TIniFile(TConfigsIntegradorPDVBistrel::GetNomeArquivo())
        .WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), amb.Pasta() + QLatin1Char('/'));
    EXPECT_EQ(TComunicacaoBancoBistrel(kImportacao).GetCaminhoBancoDeDados(), amb.CaminhoBanco());
}

TEST(Gateway, PrimeiraConexaoFazBackupVerificaEstruturaEGravaAVersaoUmaVezSo) {
    AmbienteBanco amb;
    TMonitorSql monitor;
    Registros reg;
    bool primeira = true;
    {
        TComunicacaoBancoBistrel g(kImportacao);
        ASSERT_TRUE(g.Conectar(primeira));
        EXPECT_FALSE(primeira);
        EXPECT_EQ(g.LerConfiguracao(QStringLiteral("VersaoIntegrador")), QStringLiteral(VESKO_VERSAO));
        EXPECT_TRUE(g.Desconectar());
    }
    EXPECT_EQ(Versao(amb), QStringLiteral("6.13.11.2"));
    EXPECT_EQ(Backups(amb), 1);
    EXPECT_EQ(VerificacoesDeEstrutura(), 1);

    // The next run of the same program start does neither.
    amb.Conexao()->ExecutarDireto(QStringLiteral("ALTER TABLE CLIENTES DROP PONTO_REFERENCIA"));
    {
        TComunicacaoBancoBistrel g(kImportacao);
        ASSERT_TRUE(g.Conectar(primeira));
        EXPECT_TRUE(g.Desconectar());
    }
    EXPECT_EQ(Backups(amb), 1);
    EXPECT_EQ(VerificacoesDeEstrutura(), 1);
    EXPECT_EQ(AmbienteBanco::Contar(*amb.Conexao(), QStringLiteral(
        "RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'CLIENTES' AND RDB$FIELD_NAME = 'PONTO_REFERENCIA'")), 0);

    // A new program start on the same version: the schema check, no backup.
    primeira = true;
    {
        TComunicacaoBancoBistrel g(kImportacao);
        ASSERT_TRUE(g.Conectar(primeira));
    }
    EXPECT_EQ(Backups(amb), 1);
    EXPECT_EQ(VerificacoesDeEstrutura(), 2);
    EXPECT_EQ(AmbienteBanco::Contar(*amb.Conexao(), QStringLiteral(
        "RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME = 'CLIENTES' AND RDB$FIELD_NAME = 'PONTO_REFERENCIA'")), 1);
    EXPECT_TRUE(reg.lista.empty());
}

TEST(Gateway, BancoInexistenteNaoTentaBackupNemCriaNadaEFalhaComRegistro) {
    AmbienteBanco amb(false);
    TMonitorSql monitor;
    Registros reg;
    bool primeira = true;
    TComunicacaoBancoBistrel g(QStringLiteral("Exportação"));
    EXPECT_FALSE(g.Conectar(primeira));
    EXPECT_TRUE(primeira);
    EXPECT_EQ(VerificacoesDeEstrutura(), 1);  // called all the same
    EXPECT_FALSE(QFile::exists(amb.CaminhoBanco()));
    EXPECT_EQ(Backups(amb), 0);
    ASSERT_EQ(reg.lista.size(), 1u);
    const TRegistroAuditoriaBanco& r = reg.lista[0];
    EXPECT_EQ(r.DescricaoCurta, QStringLiteral("Falha de comunicação com o banco de dados"));
    EXPECT_EQ(r.TipoIntegracao, QStringLiteral("Exportação"));
    EXPECT_TRUE(r.Detalhes.startsWith(QStringLiteral("Ocorreu o seguinte erro ao tentar conectar à base de dados: \r\n\r\n")));
    EXPECT_GT(r.Detalhes.size(), 64);
    EXPECT_EQ(r.TipoExcecao, QStringLiteral("EFirebirdError"));
    EXPECT_EQ(r.TipoAuditoria, taErro);
}

// A backup that cannot be made: one error record that says what to do, no
// connection, and the next run tries again (and succeeds once it can).
TEST(Gateway, BackupQueFalhaFazAConexaoFalharEPrimeiraConexaoContinuaVerdadeira) {
    AmbienteBanco amb;
    const QString backups = amb.Arquivo(QStringLiteral("Backups"));
    vesko::teste::GravarArquivo(backups, "não é uma pasta");
    Registros reg;
    bool primeira = true;
    {
        TComunicacaoBancoBistrel g(kImportacao);
        EXPECT_FALSE(g.Conectar(primeira));
    }
    EXPECT_TRUE(primeira);
    ASSERT_EQ(reg.lista.size(), 1u);
    EXPECT_EQ(reg.lista[0].TipoExcecao, QStringLiteral("EInOutError"));
    EXPECT_EQ(reg.lista[0].TipoAuditoria, taErro);
    EXPECT_EQ(reg.lista[0].DescricaoCurta, QStringLiteral("Falha de comunicação com o banco de dados"));
    const QString& detalhes = reg.lista[0].Detalhes;
    EXPECT_TRUE(detalhes.contains(QStringLiteral("Não foi possível fazer o backup do banco de dados"))) << qPrintable(detalhes);
    EXPECT_TRUE(detalhes.contains(QStringLiteral("tentará de novo na próxima execução"))) << qPrintable(detalhes);
    EXPECT_TRUE(detalhes.contains(QDir::toNativeSeparators(backups))) << qPrintable(detalhes);
    EXPECT_EQ(Versao(amb), QStringLiteral("<nenhuma>"));

    ASSERT_TRUE(QFile::remove(backups));
    {
        TComunicacaoBancoBistrel g(kImportacao);
        EXPECT_TRUE(g.Conectar(primeira));
    }
    EXPECT_FALSE(primeira);
    EXPECT_EQ(Backups(amb), 1);
    EXPECT_EQ(reg.lista.size(), 1u);
    EXPECT_EQ(Versao(amb), QStringLiteral(VESKO_VERSAO));
}

class GatewayConectado : public ::testing::Test {
protected:
    AmbienteBanco amb;
    Registros reg;
    std::unique_ptr<TComunicacaoBancoBistrel> g = std::make_unique<TComunicacaoBancoBistrel>(kImportacao);
    void SetUp() override {
        bool primeira = false;
        ASSERT_TRUE(g->Conectar(primeira));
        ASSERT_TRUE(g->ExecutarInsert(QStringLiteral("INSERT INTO ITENS_CARDAPIO (IDITEMCARDAPIO, DSITEMCARDAPIO) VALUES ('1', 'Arroz')")));
        ASSERT_TRUE(g->ExecutarInsert(QStringLiteral("INSERT INTO ITENS_CARDAPIO (IDITEMCARDAPIO, DSITEMCARDAPIO) VALUES ('2', 'Feijão')")));
    }
    int Itens() { return AmbienteBanco::Contar(*amb.Conexao(), QStringLiteral("ITENS_CARDAPIO")); }
};

TEST_F(GatewayConectado, UpdateSemLinhaEFalsoSemRegistroMasODeleteAceita) {
    const QString sql = QStringLiteral("UPDATE ITENS_CARDAPIO SET DSITEMCARDAPIO = 'x' WHERE IDITEMCARDAPIO = '99'");
    EXPECT_FALSE(g->ExecutarUpdate(sql));
    EXPECT_TRUE(g->ExecutarDelete(sql));
    EXPECT_TRUE(g->ExecutarAlter(QStringLiteral("ALTER SEQUENCE GEN_GRUPOS_ID RESTART WITH 0")));
    EXPECT_TRUE(g->ExecutarUpdate(QStringLiteral("UPDATE ITENS_CARDAPIO SET DSITEMCARDAPIO = 'x'")));
    EXPECT_TRUE(reg.lista.empty());
}

TEST_F(GatewayConectado, ParametroDesconhecidoFalhaComORegistroEOTextoDaQuery) {
    const QString sql = QStringLiteral("INSERT INTO ITENS_CARDAPIO\r\n (IDITEMCARDAPIO)\r\nVALUES\r\n (:pIdItemCardapio)");
    TParams p;
    p.CreateParam(TFieldType::ftString, QStringLiteral("pIdItemCardapio")).SetAsString(QStringLiteral("3"));
    p.CreateParam(TFieldType::ftString, QStringLiteral("pDsItemCardapio")).SetAsString(QStringLiteral("Farofa"));
    EXPECT_FALSE(g->ExecutarInsert(sql, p));
    ASSERT_EQ(reg.lista.size(), 1u);
    const TRegistroAuditoriaBanco& r = reg.lista[0];
    EXPECT_EQ(r.DescricaoCurta, QStringLiteral("Erro na execução de query."));
    EXPECT_EQ(r.Detalhes, QStringLiteral("Ocorreu o erro \"Parâmetro 'pDsItemCardapio' não encontrado.\" ao executar "
                                         "a seguinte query:\r\n\r\n") + sql);
    EXPECT_EQ(r.TipoExcecao, QStringLiteral("EDatabaseError"));
    EXPECT_EQ(r.TipoIntegracao, kImportacao);
    EXPECT_EQ(Itens(), 2);

    EXPECT_FALSE(g->ExecutarDelete(QStringLiteral("DELETE FROM TABELA_QUE_NAO_EXISTE")));
    ASSERT_EQ(reg.lista.size(), 2u);
    EXPECT_EQ(reg.lista[1].TipoExcecao, QStringLiteral("EFirebirdError"));
}

TEST_F(GatewayConectado, MarcadorMalEscritoFalhaComRegistroQueONomeia) {
    const QString sql = QStringLiteral("INSERT INTO ITENS_CARDAPIO\r\n (IDITEMCARDAPIO, DSITEMCARDAPIO)\r\nVALUES\r\n "
                                       "(:pIdItemCardapio, :pDsItemCardpio)");
    TParams p;
    p.CreateParam(TFieldType::ftString, QStringLiteral("pIdItemCardapio")).SetAsString(QStringLiteral("3"));
    EXPECT_FALSE(g->ExecutarInsert(sql, p));
    ASSERT_EQ(reg.lista.size(), 1u);
    EXPECT_TRUE(reg.lista[0].Detalhes.contains(QStringLiteral("':pDsItemCardpio'"))) << reg.lista[0].Detalhes.toStdString();
    EXPECT_EQ(Itens(), 2);
}

TEST_F(GatewayConectado, AbrirQueryBuscaTudoEDeixaNaUltimaLinha) {
    std::unique_ptr<TQuery> q;
    ASSERT_TRUE(g->AbrirQuery(QStringLiteral("SELECT IDITEMCARDAPIO, DSITEMCARDAPIO FROM ITENS_CARDAPIO ORDER BY 1"), nullptr, q));
    EXPECT_EQ(q->RecordCount(), 2);
    EXPECT_EQ(q->FieldByName(QStringLiteral("DsItemCardapio")).AsString(), QStringLiteral("Feijão"));
    q->First();
    EXPECT_EQ(q->FieldByName(QStringLiteral("DsItemCardapio")).AsString(), QStringLiteral("Arroz"));

    std::unique_ptr<TQuery> ruim;
    EXPECT_FALSE(g->AbrirQuery(QStringLiteral("SELECT NADA FROM ITENS_CARDAPIO"), nullptr, ruim));
    ASSERT_NE(ruim, nullptr);
    EXPECT_FALSE(ruim->Active());
    ASSERT_EQ(reg.lista.size(), 1u);
    EXPECT_EQ(reg.lista[0].DescricaoCurta, QStringLiteral("Erro na execução de query."));
}

TEST_F(GatewayConectado, PassoRevertidoMantemOCarimboGravadoForaDaTransacao) {
    g->GravarConfiguracao(QStringLiteral("DataUltimaAtualizacao"), QStringLiteral("2026-12-08 11:20:09"));
    ASSERT_TRUE(g->IniciarTransacao());
    EXPECT_TRUE(g->ExecutarDelete(QStringLiteral("DELETE FROM ITENS_CARDAPIO")));
    EXPECT_EQ(AmbienteBanco::Contar(*amb.Conexao(), QStringLiteral("ITENS_CARDAPIO")), 2);  // not yet for others
    ASSERT_TRUE(g->ReverterTransacao());
    EXPECT_EQ(Itens(), 2);
    auto c = amb.Conexao();
    EXPECT_EQ(TDBIniFileBistrel(*c, QStringLiteral("FOOD_CONFIG"))
                  .ReadString(QStringLiteral("BISTREL"), QStringLiteral("DataUltimaAtualizacao"), QString()),
              QStringLiteral("2026-12-08 11:20:09"));

    ASSERT_TRUE(g->IniciarTransacao());
    EXPECT_TRUE(g->ExecutarDelete(QStringLiteral("DELETE FROM ITENS_CARDAPIO WHERE IDITEMCARDAPIO = '1'")));
    ASSERT_TRUE(g->ConfirmarTransacao());
    EXPECT_EQ(Itens(), 1);
}

TEST_F(GatewayConectado, GatewayLiberadoNoMeioDeUmPassoNaoConfirmaNada) {
    try {
        ASSERT_TRUE(g->IniciarTransacao());
        ASSERT_TRUE(g->ExecutarDelete(QStringLiteral("DELETE FROM ITENS_CARDAPIO")));
        throw EConvertError(QStringLiteral("campo ausente no arquivo"));
    } catch (const EConvertError&) {
        g.reset();
    }
    EXPECT_EQ(Itens(), 2);
}

TEST_F(GatewayConectado, TransacaoEDesconexaoForaDeHoraFalhamComSeusRegistros) {
    EXPECT_FALSE(g->ConfirmarTransacao());
    EXPECT_FALSE(g->ReverterTransacao());
    ASSERT_TRUE(g->IniciarTransacao());
    EXPECT_FALSE(g->IniciarTransacao());
    ASSERT_EQ(reg.lista.size(), 3u);
    EXPECT_EQ(reg.lista[0].DescricaoCurta, QStringLiteral("Erro ao entregar os dados da transação ao banco."));
    EXPECT_TRUE(reg.lista[0].Detalhes.startsWith(
        QStringLiteral("Ocorreu o seguinte erro ao entregar os dados da transação ao banco de dados: \r\n")));
    EXPECT_EQ(reg.lista[1].DescricaoCurta, QStringLiteral("Não foi possível reverter a transação no banco."));
    EXPECT_EQ(reg.lista[2].DescricaoCurta, QStringLiteral("Não foi possível iniciar a transação no banco."));

    ASSERT_TRUE(g->ExecutarDelete(QStringLiteral("DELETE FROM ITENS_CARDAPIO")));
    EXPECT_TRUE(g->Desconectar());  // rolls the open step back
    EXPECT_EQ(Itens(), 2);
    EXPECT_FALSE(g->ExecutarDelete(QStringLiteral("DELETE FROM ITENS_CARDAPIO")));
    EXPECT_THROW(g->LerConfiguracao(QStringLiteral("CFOP")), EDatabaseError);
}

TEST_F(GatewayConectado, RegistroQueAAuditoriaNaoAceitaVaiParaOErroPadraoEParaOArquivoReserva) {
    // The day's folder cannot be made: a plain file holds its path.
    const QDateTime agora(QDate(2026, 12, 7), QTime(10, 15, 30));
    Relogio::Definir([agora] { return agora; });
    const QString dia = QFileInfo(TControleLogIntegradorPDVBistrel::GetArquivoAuditoria()).absolutePath();
    QDir().mkpath(QFileInfo(dia).absolutePath());
    vesko::teste::GravarArquivo(dia, "no lugar da pasta do dia");

    ::testing::internal::CaptureStderr();
    EXPECT_FALSE(g->ExecutarDelete(QStringLiteral("DELETE FROM TABELA_QUE_NAO_EXISTE")));
    const QString erros = QString::fromStdString(::testing::internal::GetCapturedStderr());
    Relogio::Definir({});
    ASSERT_EQ(reg.lista.size(), 1u);  // the operation still reports its failure as always
    EXPECT_TRUE(erros.contains(QStringLiteral("Não foi possível gravar o registro de auditoria: Não foi possível criar "
                                              "o diretório \"") + dia + QStringLiteral("\".")))
        << erros.toStdString();

    const QStringList linhas = QString::fromUtf8(vesko::teste::LerArquivo(amb.Arquivo(QStringLiteral("AuditoriaNaoGravada.txt"))))
                                   .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(linhas.size(), 1);
    EXPECT_TRUE(linhas[0].startsWith(QStringLiteral("07/12/2026 10:15:30 | Importação | Erro | Erro na execução de query. | "
                                                    "Ocorreu o erro \"")))
        << linhas[0].toStdString();
    EXPECT_TRUE(linhas[0].contains(QStringLiteral("ao executar a seguinte query: / DELETE FROM TABELA_QUE_NAO_EXISTE | "
                                                  "Exceção: EFirebirdError | Motivo da falha na gravação: Não foi "
                                                  "possível criar o diretório")))
        << linhas[0].toStdString();
    EXPECT_EQ(ContarAuditoriasNaoGravadas(), 1);
}

TEST_F(GatewayConectado, MonitorRegistraCadaComandoComSeusValores) {
    TMonitorSql monitor;
    TParams p;
    p.CreateParam(TFieldType::ftString, QStringLiteral("pId")).SetAsString(QStringLiteral("3"));
    p.CreateParam(TFieldType::ftString, QStringLiteral("pDs")).SetAsString(QStringLiteral("Açaí"));
    ASSERT_TRUE(g->ExecutarInsert(QStringLiteral("INSERT INTO ITENS_CARDAPIO (IDITEMCARDAPIO, DSITEMCARDAPIO) VALUES (:pId, :pDs)"), p));
    const QString log = QString::fromUtf8(vesko::teste::LerArquivo(TMonitorSql::NomeArquivo()));
    EXPECT_TRUE(log.contains(QStringLiteral("[BISTREL]")));
    EXPECT_TRUE(log.contains(QStringLiteral("VALUES (:pId, :pDs)")));
    EXPECT_TRUE(log.contains(QStringLiteral(":pDs (ftString) = 'Açaí'")));
}

TEST(GatewaySemTabelaDeConfiguracoes, LeituraEGravacaoDeixamOErroPassar) {
    AmbienteBanco amb(true, false);
    TComunicacaoBancoBistrel g(kImportacao);
    g.GetConexao().Conectar();
    EXPECT_THROW(g.LerConfiguracao(QStringLiteral("CFOP")), EDatabaseError);
    EXPECT_THROW(g.GravarConfiguracao(QStringLiteral("CFOP"), QStringLiteral("5102")), EDatabaseError);
}

TEST(FormatarProgresso, NoFormatoNumericoRegional) {
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1, 3), QStringLiteral("(1 de 3 -> 33,33%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(2, 3), QStringLiteral("(2 de 3 -> 66,67%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(5, 20), QStringLiteral("(5 de 20 -> 25,00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1, 1), QStringLiteral("(1 de 1 -> 100,00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1500, 3000), QStringLiteral("(1500 de 3000 -> 50,00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1500, 10), QStringLiteral("(1500 de 10 -> 15.000,00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1, 8000), QStringLiteral("(1 de 8000 -> 0,01%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(30000000, 60000000), QStringLiteral("(30000000 de 60000000 -> 50,00%)"));
    // Nothing to do counts as done.
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1, 0), QStringLiteral("(1 de 0 -> 100,00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(0, 0), QStringLiteral("(0 de 0 -> 100,00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(-1, 3), QStringLiteral("(-1 de 3 -> -33,33%)"));
    // The regional settings are read again when they change.
    const QLocale antes;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1500, 10), QStringLiteral("(1500 de 10 -> 15,000.00%)"));
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1, 3), QStringLiteral("(1 de 3 -> 33.33%)"));
    QLocale::setDefault(antes);
    EXPECT_EQ(TComunicacaoBancoBistrel::FormatarProgresso(1, 3), QStringLiteral("(1 de 3 -> 33,33%)"));
}

TEST(ComandosBanco, CriarBaseComoOPdvEntregaria) {
    AmbienteBanco amb(false);
    EXPECT_EQ(ExecutarComandoCriarBase({amb.Arquivo(QStringLiteral("nao-existe"))}), 2);
    EXPECT_EQ(ExecutarComandoCriarBase({}), 2);

    EXPECT_EQ(ExecutarComandoCriarBase({QStringLiteral("criar-base"), amb.Pasta()}), 0);
    ASSERT_TRUE(QFileInfo(amb.CaminhoBanco()).isFile());
    {
        auto c = amb.Conexao();
        EXPECT_EQ(c->CharSetBanco(), QStringLiteral("WIN1252"));
        EXPECT_EQ(AmbienteBanco::Contar(*c, QStringLiteral("FOOD_CONFIG")), 0);
        EXPECT_EQ(c->Consultar(QStringLiteral("SELECT MON$FORCED_WRITES FROM MON$DATABASE"))->Fields(0).AsInteger(), 1);
        TDmInstala dm;
        EXPECT_NO_THROW(dm.VerificaTables(false, *c));
    }
    const QByteArray antes = vesko::teste::LerArquivo(amb.CaminhoBanco());
    EXPECT_EQ(ExecutarComandoCriarBase({amb.Pasta()}), 1);
    EXPECT_EQ(vesko::teste::LerArquivo(amb.CaminhoBanco()), antes);

    // The connection check then connects as a first run would.
    EXPECT_EQ(ExecutarComandoConectar(), 0);
    EXPECT_EQ(Versao(amb), QStringLiteral("6.13.11.2"));
    EXPECT_EQ(Backups(amb), 1);
}

TEST(ComandosBanco, ConectarSemBancoFalha) {
    AmbienteBanco amb(false);
    EXPECT_EQ(ExecutarComandoConectar(), 1);
    EXPECT_FALSE(QFile::exists(amb.CaminhoBanco()));
}

}  // namespace
