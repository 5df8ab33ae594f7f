#include "base/Hint.h"

#include <QRegularExpression>

namespace vesko {

void THintMemoria::DefinirHint(const QString& texto) {
    m_atual = texto;
    m_historico << texto;
}

namespace {

struct TProgresso {
    QString Prefixo;
    qint64 Atual = 0;
    qint64 Total = 0;
};

// "<text>(k de N -> P%)..." of the gateway's progress text.
bool LerProgresso(const QString& texto, TProgresso& p) {
    if (!texto.endsWith(QLatin1String("%)..."))) return false;
    static const QRegularExpression forma(QStringLiteral(R"(^(.*)\((-?\d+) de (-?\d+) -> [^()]*%\)\.\.\.$)"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = forma.match(texto);
    if (!m.hasMatch()) return false;
    p.Prefixo = m.captured(1);
    p.Atual = m.captured(2).toLongLong();
    p.Total = m.captured(3).toLongLong();
    return true;
}

}  // namespace

bool TRitmoHint::Mostrar(const QString& texto) {
    TProgresso p;
    bool mostrar = true;
    if (LerProgresso(texto, p)) {
        const bool primeiro = p.Prefixo != m_prefixoProgresso;
        const bool ultimo = p.Atual >= p.Total;
        const bool espacado = !m_ultimo.isValid() || m_ultimo.elapsed() >= m_intervaloMs;
        mostrar = primeiro || ultimo || espacado;
        if (mostrar) m_prefixoProgresso = p.Prefixo;
    } else {
        m_prefixoProgresso.clear();
    }
    if (mostrar) m_ultimo.start();
    return mostrar;
}

}  // namespace vesko
