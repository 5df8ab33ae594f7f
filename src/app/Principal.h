#pragma once
// The hidden main form: the tray icon with its hint and menu, presenting the
// scheduler on the desktop.
#include <QElapsedTimer>
#include <QIcon>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>

#include "app/AgendadorIntegrador.h"
#include "app/MenuMargem.h"

class QAction;

namespace vesko {

class TfrmPrincipal : public QWidget, public IInterfacePrincipal {
    Q_OBJECT
public:
    explicit TfrmPrincipal(QWidget* parent = nullptr);
    ~TfrmPrincipal() override;

    // Runs the start-up sequence (icon, housekeeping, settings, guardian).
    void FormCreate();

    TAgendadorIntegrador& Agendador() { return m_agendador; }

    // Dialogs that later layers supply; each runs inside the menu-dialog frame.
    std::function<void(QWidget*)> DialogoConfiguracoes;
    std::function<void(QWidget*)> DialogoLogs;

    QSystemTrayIcon Tray;
    TMenuMargem PopupMenu;

    // IInterfacePrincipal
    void DefinirHint(const QString& texto) override;
    void DefinirProgresso(const QString& prefixo, int atual, int total) override;
    QString Hint() const override { return m_ritmoHint.TemPendente() ? m_ritmoHint.Pendente() : m_hint; }
    void DefinirIcone(Icone icone) override;
    void MostrarIcone(bool visivel) override;
    void Avisar(const QString& mensagem) override;
    bool Perguntar(const QString& mensagem) override;
    void MostrarConfiguracoes() override;
    void Registrar(const QString& linha) override;

    void ImportacaoClick();
    void ExportacaoClick();
    void EntradaClick();
    void SaidaClick();
    void Basededados1Click();
    void ConfiguracoesClick();
    void LogsOcorrnciasClick();
    void SairClick();

signals:
    void Encerrado();

private:
    enum class Diretorio { Importacao, Exportacao, BaseDeDados };
    void AbrirDiretorio(Diretorio qual);
    void MontarMenu();
    QAction* Entrada(QMenu& menu, const QString& texto, const QString& nome, int imagem, void (TfrmPrincipal::*acao)());
    void AtualizarHintBandeja();

    TAgendadorIntegrador m_agendador;
    std::array<QIcon, 3> m_icones;
    QString m_hint;
    TRitmoHint m_ritmoHint;  // which texts reach the tooltip
};

}  // namespace vesko
