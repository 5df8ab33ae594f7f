#include "app/AgendadorIntegrador.h"

#include <QDir>
#include <QFileInfo>
#include <climits>
#include <memory>

#include "base/Excecoes.h"
#include "firebird/MonitorSql.h"
#include "platform/DiretorioPrograma.h"
#include "app/TratamentoExecutaveis.h"
#include "audit/AuditoriaNaoGravada.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "export/ExportacaoPDVBistrel.h"
#include "import/ImportacaoPDVBistrel.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "store/ManutencaoBackups.h"

namespace vesko {

TAgendadorIntegrador::TAgendadorIntegrador(IInterfacePrincipal& interface, QObject* parent)
    : QObject(parent), m_interface(interface) {
    TimerImportacao.setObjectName(QStringLiteral("TimerImportacao"));
    TimerExportacao.setObjectName(QStringLiteral("TimerExportacao"));
    TimerGuardian.setObjectName(QStringLiteral("TimerGuardian"));
    TimerGuardian.setInterval(60000);
    // Periods of minutes: exact countdowns, so a kept countdown is really kept.
    for (QTimer* t : {&TimerImportacao, &TimerExportacao, &TimerGuardian}) t->setTimerType(Qt::PreciseTimer);
    connect(&TimerImportacao, &QTimer::timeout, this, [this] { IniciarImportacao(); });
    connect(&TimerExportacao, &QTimer::timeout, this, [this] { IniciarExportacao(true); });
    connect(&TimerGuardian, &QTimer::timeout, this, [this] { VerificarGuardian(); });
    TimerGuardian.start();
    m_importacao = [](IHint& hint, const QString& diretorio, bool& primeiraConexao) {
        TImportacaoPDVBistrel::Importar(hint, diretorio, primeiraConexao);
    };
    m_exportacao = [](IHint& hint, bool Automatico, const QString& diretorio, bool& primeiraConexao) {
        TExportacaoPDVBistrel::Exportar(hint, Automatico, diretorio, primeiraConexao);
    };
}

TAgendadorIntegrador::~TAgendadorIntegrador() = default;

// ---- start-up -------------------------------------------------------------

void TAgendadorIntegrador::FormCreate() {
    FOcupado = true;
    ExecutarPassoInicial("VerificarQueryDebug", [this] {
        if (LerQueryDebug()) MonitorSQL = std::make_unique<TMonitorSql>();
    });
    ExecutarPassoInicial("icone", [this] { m_interface.DefinirIcone(IInterfacePrincipal::IconeOcioso); });
    ExecutarPassoInicial("EfetuarManutencaoLogs", [this] { EfetuarManutencaoLogs(); });
    ExecutarPassoInicial("EfetuarManutencaoBackUPs", [] { EfetuarManutencaoBackUPs(QString(), 180); });
    ExecutarPassoInicial("configurações", [this] { VerificarConfiguracoesIniciais(); });
    ExecutarPassoInicial("guardião", [this] { VerificarGuardian(); });
    PrimeiraConexao = true;
    FOcupado = false;
}

void TAgendadorIntegrador::ExecutarPassoInicial(const char* nome, const std::function<void()>& passo) {
    try {
        passo();
    } catch (const std::exception& e) {
        m_interface.Registrar(QStringLiteral("Falha na inicialização (%1): %2: %3")
                                  .arg(QString::fromUtf8(nome), NomeClasseExcecao(e), MensagemExcecao(e)));
        RegistrarErroExecucao(QStringLiteral("Falha na inicialização do integrador."), QStringLiteral("Integrador"),
                              QStringLiteral("Ocorreu o seguinte erro na inicialização (%1):\r\n\r\n")
                                      .arg(QString::fromUtf8(nome)) + MensagemExcecao(e),
                              NomeClasseExcecao(e));
    }
}

void TAgendadorIntegrador::EfetuarManutencaoLogs() {
    const TConfigsIntegradorPDVBistrel configs;
    EfetuarManutencaoBackUPs(TControleLogIntegradorPDVBistrel::GetDiretorioLogs(), configs.NumeroDiasBackupLogs());
}

void TAgendadorIntegrador::VerificarConfiguracoesIniciais() {
    const TConfigsIntegradorPDVBistrel configs;
    const auto existe = [](const QString& d) { return !d.isEmpty() && QFileInfo(d).isDir(); };
    if (existe(configs.DiretorioImportacao()) && existe(configs.DiretorioExportacao()) &&
        existe(configs.DiretorioBaseDeDados())) {
        ConfigurarTimers(&configs);
        return;
    }
    if (m_interface.Perguntar(QStringLiteral("Não foram encontradas as configurações necessárias para o "
                                             "funcionamento do sistema.\r\n\r\nDeseja fazer estas configurações agora?")))
        m_interface.MostrarConfiguracoes();
}

// ---- timers ---------------------------------------------------------------

int TAgendadorIntegrador::IntervaloEmMs(int minutos) {
    const long long ms = static_cast<long long>(minutos) * 60000LL;
    if (ms <= 0) return 0;
    return ms > INT_MAX ? INT_MAX : static_cast<int>(ms);
}

void TAgendadorIntegrador::ConfigurarTimer(QTimer& timer, int minutos) {
    const int ms = IntervaloEmMs(minutos);
    if (ms == 0) {  // a period of zero never fires
        timer.stop();
        return;
    }
    if (timer.isActive() && timer.interval() == ms) return;  // keeps its running countdown
    timer.setInterval(ms);
    timer.start();
}

void TAgendadorIntegrador::ConfigurarTimers(const TConfigsIntegradorPDVBistrel* Configs) {
    std::unique_ptr<TConfigsIntegradorPDVBistrel> proprio;
    if (!Configs) {
        proprio = std::make_unique<TConfigsIntegradorPDVBistrel>();
        Configs = proprio.get();
    }
    ConfigurarTimer(TimerImportacao, Configs->IntervaloImportacao());
    ConfigurarTimer(TimerExportacao, Configs->IntervaloExportacao());
}

// ---- runs -----------------------------------------------------------------

bool TAgendadorIntegrador::DiretorioImportacaoValido() {
    const TConfigsIntegradorPDVBistrel configs;
    const QString dir = configs.DiretorioImportacao();
    if (!dir.isEmpty() && QFileInfo(dir).isDir()) return true;
    m_interface.Avisar(QStringLiteral("Não foi configurado o diretório de importação. "
                                      "Por favor faça esta configuração antes de importar."));
    return false;
}

bool TAgendadorIntegrador::DiretorioExportacaoValido() {
    const TConfigsIntegradorPDVBistrel configs;
    const QString dir = configs.DiretorioExportacao();
    if (!dir.trimmed().isEmpty() && (QFileInfo(dir).isDir() || QDir().mkpath(dir))) return true;
    m_interface.Avisar(QStringLiteral("Não foi configurado o diretório de exportação. "
                                      "Por favor faça esta configuração antes de exportar."));
    return false;
}

void TAgendadorIntegrador::IniciarImportacao() {
    if (FOcupado || !DiretorioImportacaoValido()) return;
    ExecutarRun(IInterfacePrincipal::IconeImportando, QStringLiteral("Por favor aguarde, importando..."),
                QStringLiteral("Erro ocorrido durante a importação."), QStringLiteral("Importação"),
                QStringLiteral("importação"), [this] {
                    const QString dir = TConfigsIntegradorPDVBistrel().DiretorioImportacao();
                    if (m_importacao) m_importacao(m_interface, dir, PrimeiraConexao);
                });
}

void TAgendadorIntegrador::IniciarExportacao(bool Automatico) {
    if (FOcupado || !DiretorioExportacaoValido()) return;
    ExecutarRun(IInterfacePrincipal::IconeExportando, QStringLiteral("Por favor aguarde, exportando..."),
                QStringLiteral("Erro ocorrido durante a exportação."), QStringLiteral("Exportação"),
                QStringLiteral("exportação"), [this, Automatico] {
                    const QString dir = TConfigsIntegradorPDVBistrel().DiretorioExportacao();
                    if (m_exportacao) m_exportacao(m_interface, Automatico, dir, PrimeiraConexao);
                });
}

void TAgendadorIntegrador::ExecutarRun(IInterfacePrincipal::Icone icone, const QString& hint,
                                       const QString& descricaoErro, const QString& tipoIntegracao,
                                       const QString& acao, const std::function<void()>& execucao) {
    FOcupado = true;
    m_interface.DefinirHint(hint);
    m_interface.DefinirIcone(icone);
    try {
        execucao();
    } catch (const std::exception& e) {
        // Ours and any other kind alike: an unattended program must not stop here.
        const QString detalhes = QStringLiteral("Ocorreu o seguinte erro durante a %1:\r\n\r\n").arg(acao) +
                                 MensagemExcecao(e) + QStringLiteral("\r\n\r\nHint no momento do erro: ") +
                                 m_interface.Hint();
        RegistrarErroExecucao(descricaoErro, tipoIntegracao, detalhes, NomeClasseExcecao(e));
    } catch (...) {
        RegistrarErroExecucao(descricaoErro, tipoIntegracao,
                              QStringLiteral("Ocorreu um erro desconhecido durante a %1.").arg(acao),
                              QStringLiteral("Exception"));
    }
    m_interface.DefinirIcone(IInterfacePrincipal::IconeOcioso);
    m_interface.DefinirHint(HintOcioso());
    FOcupado = false;
}

void TAgendadorIntegrador::RegistrarErroExecucao(const QString& descricao, const QString& tipoIntegracao,
                                                 const QString& detalhes, const QString& tipoExcecao) {
    // The audit trail itself failed (disk full, say): the record goes to the
    // fallback file, and the interface's line shows it where there is one.
    if (const auto motivo = RegistrarAuditoriaOuGuardar({descricao, tipoIntegracao, detalhes, tipoExcecao, taErro}))
        m_interface.Registrar(QStringLiteral("%1 [%2] %3\n%4\n(Não foi possível gravar a auditoria: %5)")
                                  .arg(tipoIntegracao, tipoExcecao, descricao, detalhes, *motivo));
}

// ---- guardian and menu dialogs -----------------------------------------------

void TAgendadorIntegrador::VerificarGuardian() {
    TimerGuardian.stop();
    try {
        if (m_verificacaoGuardian) {
            m_verificacaoGuardian();
        } else {
            const QString nome = QString::fromLatin1(kNomeGuardian);
            const QString caminho = DiretorioPrograma() + nome;
            if (QFileInfo::exists(caminho) && !TTratamentoExecutaveis::ProcessoEmExecucao(nome))
                TTratamentoExecutaveis::ExecutarProcesso(caminho, QString());
        }
    } catch (const std::exception& e) {
        m_interface.Registrar(QStringLiteral("Falha ao verificar o guardião: ") + MensagemExcecao(e));
    } catch (...) {
        m_interface.Registrar(QStringLiteral("Falha ao verificar o guardião."));
    }
    TimerGuardian.start();
}

void TAgendadorIntegrador::ExecutarDialogoMenu(const std::function<void()>& dialogo) {
    FOcupado = true;
    m_interface.MostrarIcone(false);
    try {
        dialogo();
    } catch (const std::exception& e) {
        m_interface.Registrar(QStringLiteral("Falha no diálogo: %1: %2").arg(NomeClasseExcecao(e), MensagemExcecao(e)));
    }
    m_interface.MostrarIcone(true);
    FOcupado = false;
}

}  // namespace vesko
