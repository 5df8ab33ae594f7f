// The first connection against a Firebird server installed from the
// packages, which runs as its own system user (firebird): that user may
// write its database folder but not the program's folder (root's, 0755), so
// the version backup has to come back through the client. ctest starts the
// server (scripts/firebird-server.sh start-usuario, fixture FirebirdUsuario);
// where it cannot, the tests skip with the setup's reason.
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUuid>

#include "ApoioBanco.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "settings/IniFile.h"
#include "store/BackupVesko.h"

using namespace vesko;

namespace {

const QString kUsuarioServidor = QStringLiteral("firebird");
constexpr int kLinhasVolume = 20000;

QString LerTexto(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

class ServidorUsuario : public ::testing::Test {
protected:
    void SetUp() override {
        m_estado = QString::fromLocal8Bit(qgetenv("VESKO_FB_USUARIO_DIR"));
        const QString& estado = m_estado;
        if (estado.isEmpty()) GTEST_SKIP() << "VESKO_FB_USUARIO_DIR não definido: rode pelo ctest";
        const QString motivo = LerTexto(estado + QStringLiteral("/indisponivel"));
        if (!motivo.isEmpty()) GTEST_SKIP() << motivo.toStdString();
        m_porta = LerTexto(estado + QStringLiteral("/porta"));
        const QString& porta = m_porta;
        ASSERT_FALSE(porta.isEmpty()) << "servidor de teste não iniciado em " << estado.toStdString();

        const passwd* pw = ::getpwnam(kUsuarioServidor.toLatin1().constData());
        ASSERT_NE(pw, nullptr);
        // The server really runs as its own user.
        ASSERT_EQ(QFileInfo(QStringLiteral("/proc/") + LerTexto(estado + QStringLiteral("/pid"))).ownerId(), pw->pw_uid);

        // The database in a folder of the server's user; the program's
        // folder root's and closed to others' writes, as installed.
        m_dados = estado + QStringLiteral("/dados/") + QUuid::createUuid().toString(QUuid::WithoutBraces);
        ASSERT_TRUE(QDir().mkpath(m_dados));
        ASSERT_EQ(::chown(QFile::encodeName(m_dados).constData(), pw->pw_uid, pw->pw_gid), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(amb.Pasta()).constData(), 0755), 0);
        TIniFile ini(amb.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")));
        ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), m_dados);
        ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("127.0.0.1/") + porta);

        TConexaoFirebird c(amb.Parametros(Banco()));
        c.CriarBanco(false);
        c.ExecutarDireto(QStringLiteral("CREATE TABLE T (NOME VARCHAR(20))"));
        for (const QString& nome : Nomes())
            c.Executar(QStringLiteral("INSERT INTO T VALUES ('%1')").arg(nome));
        // Enough data for the backup to come back in many answers.
        c.ExecutarDireto(QStringLiteral("CREATE TABLE VOLUME (N INTEGER, TEXTO VARCHAR(200))"));
        c.ExecutarDireto(QStringLiteral(
            "EXECUTE BLOCK AS DECLARE I INTEGER = 0; BEGIN WHILE (I < %1) DO BEGIN "
            "INSERT INTO VOLUME VALUES (:I, UUID_TO_CHAR(GEN_UUID()) || UUID_TO_CHAR(GEN_UUID()) || "
            "UUID_TO_CHAR(GEN_UUID()) || UUID_TO_CHAR(GEN_UUID()) || UUID_TO_CHAR(GEN_UUID())); "
            "I = I + 1; END END").arg(kLinhasVolume));
        m_resumoVolume = ResumoVolume(c);
        c.Desconectar();
    }

    void TearDown() override {
        if (!m_dados.isEmpty()) QDir(m_dados).removeRecursively();
    }

    // Rows, keys and a checksum of the texts of VOLUME.
    static QString ResumoVolume(TConexaoFirebird& c) {
        auto q = c.Consultar(QStringLiteral(
            "SELECT COUNT(*), SUM(N), SUM(MOD(HASH(TEXTO), 1000003)), SUM(CHAR_LENGTH(TEXTO)) FROM VOLUME"));
        QStringList campos;
        for (int i = 0; i < 4; ++i) campos << q->Fields(i).AsString();
        return campos.join(QLatin1Char(' '));
    }

    static QStringList Nomes() { return {QStringLiteral("ação"), QStringLiteral("pão"), QStringLiteral("ôba")}; }
    QString Banco() const { return CaminhoBancoDeDados(m_dados); }
    QString PastaBackups() const { return amb.Arquivo(QStringLiteral("Backups")); }

    // Restores `fbk` with gbak into the program's folder and reads T there
    // through the embedded engine.
    QStringList Restaurar(const QString& fbk) const {
        const QString gbak = QStandardPaths::findExecutable(QStringLiteral("gbak"));
        if (gbak.isEmpty()) throw std::runtime_error("gbak não encontrado");
        const QString restaurado = amb.Arquivo(QStringLiteral("RESTAURADO.FDB"));
        QProcess p;
        p.start(gbak, {QStringLiteral("-c"), QStringLiteral("-user"), QStringLiteral("SYSDBA"), fbk, restaurado});
        p.waitForFinished(120000);
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            throw std::runtime_error("gbak -c: " + p.readAllStandardError().toStdString());
        TParametrosConexao embutido = amb.Parametros(restaurado);
        embutido.Servidor = QString::fromLatin1(TParametrosConexao::kEmbutido);
        TConexaoFirebird c(embutido);
        c.Conectar();
        QStringList r;
        auto q = c.Consultar(QStringLiteral("SELECT NOME FROM T ORDER BY NOME"));
        for (q->First(); !q->Eof(); q->Next()) r << q->Fields(0).AsString();
        r << ResumoVolume(c);
        return r;
    }

    teste::AmbienteBanco amb{false};
    // The first connection of a run, as the gateway makes it: connects, and
    // the first connection is then over; no audit record.
    void PrimeiraConexao() {
        std::vector<TRegistroAuditoriaBanco> registros;
        TEscutaAuditoriaBanco escuta([&](const TRegistroAuditoriaBanco& r) { registros.push_back(r); });
        bool primeira = true;
        {
            TComunicacaoBancoBistrel g(QStringLiteral("Importação"));
            const bool conectou = g.Conectar(primeira);
            ASSERT_TRUE(conectou) << (registros.empty() ? std::string() : registros[0].Detalhes.toStdString());
            g.Desconectar();
        }
        EXPECT_FALSE(primeira);
        EXPECT_TRUE(registros.empty());
    }

    // The one finished backup in Backups/, written by this program (the
    // server could not); empty when there is not exactly one.
    QString BackupUnico() const {
        const QStringList arquivos = QDir(PastaBackups()).entryList(QDir::Files);
        EXPECT_EQ(arquivos.size(), 1) << arquivos.join(QLatin1Char(' ')).toStdString();
        if (arquivos.size() != 1) return QString();
        EXPECT_TRUE(arquivos[0].startsWith(QStringLiteral("VESKO_")) && arquivos[0].endsWith(QStringLiteral(".fbk")));
        const QString fbk = QDir(PastaBackups()).filePath(arquivos[0]);
        EXPECT_EQ(QFileInfo(fbk).ownerId(), ::getuid());
        return fbk;
    }

    QStringList Esperado() const {
        QStringList esperado = Nomes();
        esperado.sort();
        return esperado << m_resumoVolume;
    }

    QString m_estado, m_porta;
    QString m_dados;
    QString m_resumoVolume;
};

TEST_F(ServidorUsuario, PrimeiraConexaoFazOBackupPeloClienteEOBackupRestaura) {
    PrimeiraConexao();
    const QString fbk = BackupUnico();
    ASSERT_FALSE(fbk.isEmpty());
    EXPECT_FALSE(QFileInfo(PastaBackups()).permissions() & QFileDevice::WriteOther);
    EXPECT_TRUE(m_resumoVolume.startsWith(QString::number(kLinhasVolume) + QLatin1Char(' '))) << m_resumoVolume.toStdString();
    EXPECT_GT(QFileInfo(fbk).size(), 2'000'000);  // many answers of the service
    EXPECT_EQ(Restaurar(fbk), Esperado());
}

// A server on another machine: reached at an address the program does not
// take for this machine (IPv4 loopback written as IPv6), its database under
// a name only the server knows (an alias of its databases.conf), so the file
// cannot be seen here. The first connection still makes the backup.
TEST_F(ServidorUsuario, ServidorDeOutraMaquinaTambemDevolveOBackup) {
    const QString pastaRemota = QStringLiteral("/vesko-outra-maquina/") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    const QString bancoRemoto = CaminhoBancoDeDados(pastaRemota);
    {
        QFile conf(m_estado + QStringLiteral("/raiz/databases.conf"));
        ASSERT_TRUE(conf.open(QIODevice::Append));
        conf.write((QStringLiteral("\n") + bancoRemoto + QStringLiteral(" = ") + Banco() + QStringLiteral("\n")).toUtf8());
    }
    TIniFile ini(amb.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")));
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), pastaRemota);
    ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("[::ffff:127.0.0.1]/") + m_porta);
    ASSERT_FALSE(amb.Parametros(bancoRemoto).ArquivoLocal());
    ASSERT_FALSE(QFileInfo::exists(bancoRemoto));
    try {
        amb.Conexao(bancoRemoto);
    } catch (const Exception& e) {
        if (ServidorNaoRespondeu(e)) GTEST_SKIP() << "sem IPv6 nesta máquina: " << e.Mensagem().toStdString();
        FAIL() << e.Mensagem().toStdString();
    }

    PrimeiraConexao();
    const QString fbk = BackupUnico();
    ASSERT_FALSE(fbk.isEmpty());
    EXPECT_EQ(Restaurar(fbk), Esperado());
}

TEST_F(ServidorUsuario, BackupDiretoNuncaSubstituiEDeixaSoArquivosProntos) {
    QString primeiro, segundo;
    ASSERT_TRUE(TBackupVesko::Execute(primeiro, true));
    ASSERT_TRUE(TBackupVesko::Execute(segundo, true));
    EXPECT_NE(primeiro, segundo);
    const QStringList arquivos = QDir(PastaBackups()).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(arquivos, (QStringList{QFileInfo(primeiro).fileName(), QFileInfo(segundo).fileName()}));
    EXPECT_GT(QFileInfo(segundo).size(), 0);

    // A database the server cannot find: an error, and nothing left behind.
    TIniFile(amb.Arquivo(QStringLiteral("Quorvel_IntegradorVesko.ini")))
        .WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), m_dados + QStringLiteral("/nenhum"));
    QString texto;
    EXPECT_FALSE(TBackupVesko::Execute(texto, false));
    EXPECT_FALSE(texto.isEmpty());
    EXPECT_EQ(QDir(PastaBackups()).entryList(QDir::Files).size(), 2);
}

}  // namespace
