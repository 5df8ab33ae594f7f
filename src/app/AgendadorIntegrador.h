#pragma once
// The integrator's scheduler: the import, export and guardian timers, the busy
// flag, the start-up sequence and the frame every run and menu dialog runs in.
// It has no widgets: the tray form and the headless `servico` present it
// through IInterfacePrincipal, and the runs come in as callables.
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/InterfacePrincipal.h"

namespace vesko {

class TConfigsIntegradorPDVBistrel;
class TMonitorSql;

// import run: hint, import directory, PrimeiraConexao (by reference)
using TExecucaoImportacao = std::function<void(IHint&, const QString&, bool&)>;
// export run: hint, Automatico, export directory, PrimeiraConexao (by reference)
using TExecucaoExportacao = std::function<void(IHint&, bool, const QString&, bool&)>;

class TAgendadorIntegrador : public QObject {
    Q_OBJECT
public:
    explicit TAgendadorIntegrador(IInterfacePrincipal& interface, QObject* parent = nullptr);
    ~TAgendadorIntegrador() override;

    void DefinirImportacao(TExecucaoImportacao execucao) { m_importacao = std::move(execucao); }
    void DefinirExportacao(TExecucaoExportacao execucao) { m_exportacao = std::move(execucao); }
    bool MonitorSQLAtivo() const { return MonitorSQL != nullptr; }

    // The start-up sequence of the main form. A failing step is reported and
    // the next one still runs; the busy flag is always cleared at the end.
    void FormCreate();

    void IniciarImportacao();
    void IniciarExportacao(bool Automatico);
    // Sets both run timers from the settings (a fresh settings object when null).
    void ConfigurarTimers(const TConfigsIntegradorPDVBistrel* Configs);
    // Starts the companion when its file exists and it is not running; the
    // guardian timer runs again afterwards, also when the check raised.
    void VerificarGuardian();
    // Replaces what the guardian check does (tests); null restores it.
    void DefinirVerificacaoGuardian(std::function<void()> verificacao) { m_verificacaoGuardian = std::move(verificacao); }
    // A modal dialog from the menu: busy flag on and tray icon hidden while it is open.
    void ExecutarDialogoMenu(const std::function<void()>& dialogo);

    bool Ocupado() const { return FOcupado; }
    bool PrimeiraConexao = false;

    QTimer TimerImportacao;
    QTimer TimerExportacao;
    QTimer TimerGuardian;

    static constexpr const char* kNomeGuardian = "IntegradorVeskoGuardian.exe";
    static QString HintOcioso() { return QStringLiteral("Integrador Vesko"); }

    // Timer interval for a period in minutes: 64-bit product, capped at the
    // largest interval a timer takes; 0 for a period of 0 or less.
    static int IntervaloEmMs(int minutos);

private:
    bool DiretorioImportacaoValido();
    bool DiretorioExportacaoValido();
    void ExecutarRun(IInterfacePrincipal::Icone icone, const QString& hint, const QString& descricaoErro,
                     const QString& tipoIntegracao, const QString& acao, const std::function<void()>& execucao);
    void RegistrarErroExecucao(const QString& descricao, const QString& tipoIntegracao, const QString& detalhes,
                               const QString& tipoExcecao);
    void ExecutarPassoInicial(const char* nome, const std::function<void()>& passo);
    void EfetuarManutencaoLogs();
    void VerificarConfiguracoesIniciais();
    static void ConfigurarTimer(QTimer& timer, int minutos);

    IInterfacePrincipal& m_interface;
    bool FOcupado = false;
    TExecucaoImportacao m_importacao;
    TExecucaoExportacao m_exportacao;
    std::function<void()> m_verificacaoGuardian;
    std::unique_ptr<TMonitorSql> MonitorSQL;  // the SQL monitor while QueryDebug is on
};

}  // namespace vesko
