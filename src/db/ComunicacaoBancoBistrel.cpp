#include "db/ComunicacaoBancoBistrel.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <cmath>
#include <vector>

#include "audit/AuditoriaNaoGravada.h"
#include "base/Hint.h"
#include "base/Versao.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "store/BackupVesko.h"
#include "store/ConnectionLink.h"
#include "store/DBIniFileBistrel.h"
#include "store/DmInstala.h"
#include "store/ManutencaoBackups.h"

namespace vesko {
namespace {

const QString kTabelaConfig = QStringLiteral("FOOD_CONFIG");
const QString kSecao = QStringLiteral("BISTREL");
const QString kChaveVersao = QStringLiteral("VersaoIntegrador");
const QString kFalhaComunicacao = QStringLiteral("Falha de comunicação com o banco de dados");

std::vector<const std::function<void(const TRegistroAuditoriaBanco&)>*>& Escutas() {
    static std::vector<const std::function<void(const TRegistroAuditoriaBanco&)>*> e;
    return e;
}

void Registrar(const TRegistroAuditoriaBanco& r) {
    for (const auto* f : Escutas()) (*f)(r);
    // The operation still reports its failure; a record the audit trail
    // cannot take goes to standard error and to the fallback file.
    RegistrarAuditoriaOuGuardar({r.DescricaoCurta, r.TipoIntegracao, r.Detalhes, r.TipoExcecao, r.TipoAuditoria});
}

}  // namespace

TEscutaAuditoriaBanco::TEscutaAuditoriaBanco(std::function<void(const TRegistroAuditoriaBanco&)> f) : m_f(std::move(f)) {
    Escutas().push_back(&m_f);
}

TEscutaAuditoriaBanco::~TEscutaAuditoriaBanco() {
    auto& e = Escutas();
    std::erase(e, &m_f);
}

TComunicacaoBancoBistrel::TComunicacaoBancoBistrel(const QString& TipoIntegracao)
    : FTipoIntegracao(TipoIntegracao.left(255)),
      FCaminhoBanco(CaminhoBancoDeDados(TConfigsIntegradorPDVBistrel().DiretorioBaseDeDados())),
      FConexao(std::make_unique<TConexaoFirebird>(TParametrosConexao::DaConfiguracao(FCaminhoBanco))),
      FLinkConexao(std::make_unique<TConnectionLink>()) {
    FLinkConexao->SetConnection(FConexao.get());
    FLinkConexao->SetIdentificador(kSecao);
}

TComunicacaoBancoBistrel::~TComunicacaoBancoBistrel() {
    FLinkConexao.reset();
    FConexao.reset();  // rolls back an open transaction, then closes
}

void TComunicacaoBancoBistrel::RegistrarErro(const QString& DescricaoCurta, const QString& Detalhes, const Exception& e) {
    Registrar({DescricaoCurta, FTipoIntegracao, Detalhes, e.NomeClasse(), taErro, ServidorNaoRespondeu(e)});
}

void TComunicacaoBancoBistrel::RegistrarErroQuery(const QString& SQL, const Exception& e) {
    RegistrarErro(QStringLiteral("Erro na execução de query."),
                  QStringLiteral("Ocorreu o erro \"") + e.Mensagem() + QStringLiteral("\" ao executar ") +
                      QStringLiteral("a seguinte query:") + QStringLiteral("\r\n\r\n") + SQL,
                  e);
}

// ---- connection ----------------------------------------------------------------

namespace {

// The backup before a new version first uses the database. Its failure keeps
// the error's kind (and what it says of the server) with a text that tells
// the operator what to do.
void FazerBackupDeVersao() {
    const auto texto = [](const Exception& e) {
        return QStringLiteral("Não foi possível fazer o backup do banco de dados que o integrador faz antes de "
                              "usá-lo pela primeira vez nesta versão: ") +
               e.Mensagem() +
               QStringLiteral("\r\n\r\nO integrador não usa o banco de dados sem esse backup e tentará de novo na "
                              "próxima execução. Verifique se o servidor de banco de dados do PDV está em execução, "
                              "se há espaço livre em disco e se a pasta de backups do integrador (") +
               QDir::toNativeSeparators(DiretorioBackupsPrograma()) +
               QStringLiteral(") pode ser gravada pelo usuário que executa o integrador.");
    };
    QString arquivo;
    try {
        TBackupVesko::Execute(arquivo, true);
    } catch (const EFirebirdError& e) {
        throw EFirebirdError(texto(e), e.SqlCode(), e.CodigoGds());
    } catch (const EInOutError& e) {
        throw EInOutError(texto(e));
    } catch (const EDatabaseError& e) {
        throw EDatabaseError(texto(e));
    }
}

}  // namespace

void TComunicacaoBancoBistrel::EfetuarBackupSeVersaoMudou() {
    // A missing database is seen on this machine's disk only; the file of a
    // server elsewhere is the server's to find (the backup comes back
    // through the connection all the same).
    if (FConexao->Parametros().ArquivoLocal() && !QFileInfo::exists(FCaminhoBanco)) return;
    FConexao->Conectar();
    try {
        // A database without the settings table has no stored version.
        auto q = FConexao->Consultar(QStringLiteral(
            "SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = 'FOOD_CONFIG'"));
        const QString versao = q->IsEmpty() ? QString() : LerConfiguracao(kChaveVersao);
        if (versao != QStringLiteral(VESKO_VERSAO)) FazerBackupDeVersao();
    } catch (...) {
        FConexao->Desconectar();
        throw;
    }
    FConexao->Desconectar();
}

void TComunicacaoBancoBistrel::VerificarEstruturaBanco() {
    TDmInstala dm;
    dm.VerificaTables(true, FCaminhoBanco);
}

void TComunicacaoBancoBistrel::GravarVersaoIntegrador() {
    GravarConfiguracao(kChaveVersao, QStringLiteral(VESKO_VERSAO));
}

bool TComunicacaoBancoBistrel::Conectar(bool& PrimeiraConexao) {
    try {
        if (PrimeiraConexao) {
            EfetuarBackupSeVersaoMudou();
            VerificarEstruturaBanco();
        }
        FConexao->Conectar();
        if (FConexao->Conectado()) {
            PrimeiraConexao = false;
            GravarVersaoIntegrador();
        }
        return FConexao->Conectado();
    } catch (const Exception& e) {
        RegistrarErro(kFalhaComunicacao,
                      QStringLiteral("Ocorreu o seguinte erro ao tentar conectar à base de dados: \r\n\r\n") + e.Mensagem(),
                      e);
        return false;
    }
}

bool TComunicacaoBancoBistrel::Desconectar() {
    try {
        FConexao->Desconectar();
        return !FConexao->Conectado();
    } catch (const Exception& e) {
        RegistrarErro(kFalhaComunicacao,
                      QStringLiteral("Ocorreu o seguinte erro ao tentar desconectar a base de dados: \r\n\r\n") + e.Mensagem(),
                      e);
        return false;
    }
}

// ---- transactions --------------------------------------------------------------

bool TComunicacaoBancoBistrel::IniciarTransacao() {
    try {
        FConexao->IniciarTransacao();
        return true;
    } catch (const Exception& e) {
        RegistrarErro(QStringLiteral("Não foi possível iniciar a transação no banco."),
                      QStringLiteral("Ocorreu o seguinte erro ao iniciar a transação no banco de dados: \r\n") + e.Mensagem(),
                      e);
        return false;
    }
}

bool TComunicacaoBancoBistrel::ConfirmarTransacao() {
    try {
        FConexao->ConfirmarTransacao();
        return true;
    } catch (const Exception& e) {
        RegistrarErro(QStringLiteral("Erro ao entregar os dados da transação ao banco."),
                      QStringLiteral("Ocorreu o seguinte erro ao entregar os dados da transação ao banco de dados: \r\n") +
                          e.Mensagem(),
                      e);
        return false;
    }
}

bool TComunicacaoBancoBistrel::ReverterTransacao() {
    try {
        FConexao->ReverterTransacao();
        return true;
    } catch (const Exception& e) {
        RegistrarErro(QStringLiteral("Não foi possível reverter a transação no banco."),
                      QStringLiteral("Ocorreu o seguinte erro ao reverter a transação no banco de dados: \r\n") + e.Mensagem(),
                      e);
        return false;
    }
}

// ---- commands and queries --------------------------------------------------------

TDesconexaoAoFinal::~TDesconexaoAoFinal() {
    if (!Conectado) return;
    try {
        m_g.Desconectar();
    } catch (...) {  // the gateway audits its own failures
    }
}

bool TComunicacaoBancoBistrel::ExecutarQuery(const QString& SQL, const TParams* Params, bool IgnorarLinhasAfetadas) {
    try {
        const std::uint64_t linhas = FConexao->Executar(SQL, Params, !IgnorarLinhasAfetadas);
        return IgnorarLinhasAfetadas || linhas > 0;
    } catch (const Exception& e) {
        RegistrarErroQuery(SQL, e);
        return false;
    }
}

bool TComunicacaoBancoBistrel::ExecutarDelete(const QString& SQL, const TParams* Params) {
    return ExecutarQuery(SQL, Params, true);
}

bool TComunicacaoBancoBistrel::ExecutarAlter(const QString& SQL, const TParams* Params) {
    return ExecutarQuery(SQL, Params, true);
}

bool TComunicacaoBancoBistrel::ExecutarInsert(const QString& SQL, const TParams* Params) {
    return ExecutarQuery(SQL, Params, false);
}

bool TComunicacaoBancoBistrel::ExecutarUpdate(const QString& SQL, const TParams* Params) {
    return ExecutarQuery(SQL, Params, false);
}

bool TComunicacaoBancoBistrel::AbrirQuery(const QString& SQL, const TParams* Params, std::unique_ptr<TQuery>& Query) {
    Query = std::make_unique<TQuery>();
    Query->SetSQL(SQL);
    try {
        FConexao->Consultar(SQL, Params, *Query);
        Query->Last();
        return true;
    } catch (const Exception& e) {
        Query->Close();
        RegistrarErroQuery(SQL, e);
        return false;
    }
}

// ---- settings table --------------------------------------------------------------

QString TComunicacaoBancoBistrel::LerConfiguracao(const QString& Chave) {
    TDBIniFileBistrel ini(*FConexao, kTabelaConfig);
    return ini.ReadString(kSecao, Chave.left(255), QString());
}

void TComunicacaoBancoBistrel::GravarConfiguracao(const QString& Chave, const QString& Valor) {
    TDBIniFileBistrel ini(*FConexao, kTabelaConfig);
    ini.WriteString(kSecao, Chave.left(255), Valor.left(255));
}

// ---- progress ---------------------------------------------------------------------

QString TComunicacaoBancoBistrel::FormatarProgresso(int Atual, int Total) {
    QString texto;
    texto.reserve(48);
    AnexarProgresso(texto, Atual, Total);
    return texto;
}

}  // namespace vesko
