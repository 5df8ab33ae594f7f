#include "app/Servico.h"

#include <QCoreApplication>
#include <cstdio>

#include "platform/Sinais.h"

namespace vesko {

TServico::TServico() : m_agendador(*this), m_hint(TAgendadorIntegrador::HintOcioso()) {}

void TServico::DefinirHint(const QString& texto) {
    if (texto == Hint()) return;
    m_hint = texto;
    if (m_ritmoHint.Mostrar(texto)) Registrar(texto);
}

void TServico::DefinirProgresso(const QString& prefixo, int atual, int total) {
    if (!m_ritmoHint.MostrarProgresso(prefixo, atual, total)) return;  // kept as pending, not built
    m_hint = TextoProgresso(prefixo, atual, total);
    Registrar(m_hint);
}

void TServico::Avisar(const QString& mensagem) { Registrar(mensagem); }

bool TServico::Perguntar(const QString& mensagem) {
    if (!m_perguntou) Registrar(QString(mensagem).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    m_perguntou = true;
    return false;
}

void TServico::Registrar(const QString& linha) {
    std::fprintf(stderr, "%s\n", linha.toUtf8().constData());
    std::fflush(stderr);
}

int ExecutarServico() {
    TServico servico;
    InstalarEncerramentoPorSinal(qApp, [] { QCoreApplication::exit(0); });
    servico.Agendador().FormCreate();
    return QCoreApplication::exec();
}

}  // namespace vesko
