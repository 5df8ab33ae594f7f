#pragma once
// `servico`: the scheduler without a tray icon, for machines without a
// desktop. Hint changes and every message go to standard error; it never asks.
#include "app/AgendadorIntegrador.h"

namespace vesko {

class TServico : public IInterfacePrincipal {
public:
    TServico();
    TAgendadorIntegrador& Agendador() { return m_agendador; }

    void DefinirHint(const QString& texto) override;
    void DefinirProgresso(const QString& prefixo, int atual, int total) override;
    QString Hint() const override { return m_ritmoHint.TemPendente() ? m_ritmoHint.Pendente() : m_hint; }
    void DefinirIcone(Icone) override {}
    void MostrarIcone(bool) override {}
    void Avisar(const QString& mensagem) override;
    bool Perguntar(const QString& mensagem) override;  // prints the question once, answers No
    void MostrarConfiguracoes() override {}
    void Registrar(const QString& linha) override;

private:
    TAgendadorIntegrador m_agendador;
    QString m_hint;
    TRitmoHint m_ritmoHint;  // which texts are printed
    bool m_perguntou = false;
};

// Runs `servico` until SIGTERM or SIGINT; returns the exit status.
int ExecutarServico();

}  // namespace vesko
