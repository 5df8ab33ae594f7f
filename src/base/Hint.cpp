#include "base/Hint.h"

#include <QLocale>
#include <QStringView>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace vesko {

void THintMemoria::DefinirHint(const QString& texto) {
    m_atual = texto;
    m_historico << texto;
}

namespace {

struct TProgresso {
    QStringView Prefixo;
    qint64 Atual = 0;
    qint64 Total = 0;
};

// An optionally negative decimal number at `i`, which moves past it.
bool LerNumero(QStringView t, qsizetype& i, qint64& n) {
    const qsizetype inicio = i;
    if (i < t.size() && t[i] == QLatin1Char('-')) ++i;
    const qsizetype digitos = i;
    while (i < t.size() && t[i] >= QLatin1Char('0') && t[i] <= QLatin1Char('9')) ++i;
    if (i == digitos) return false;
    bool ok = false;
    n = t.mid(inicio, i - inicio).toLongLong(&ok);
    return ok;
}

bool Literal(QStringView t, qsizetype& i, QLatin1StringView s) {
    if (!t.mid(i).startsWith(s)) return false;
    i += s.size();
    return true;
}

// "<text>(k de N -> P%)..." of the gateway's progress text: the last "(" of
// the text opens it, and nothing after the arrow holds a parenthesis.
bool LerProgresso(const QString& texto, TProgresso& p) {
    const QLatin1StringView fim("%)...");
    if (!texto.endsWith(fim)) return false;
    const QStringView t(texto);
    const qsizetype abre = t.lastIndexOf(QLatin1Char('('));
    if (abre < 0) return false;
    qsizetype i = abre + 1;
    if (!LerNumero(t, i, p.Atual) || !Literal(t, i, QLatin1StringView(" de ")) || !LerNumero(t, i, p.Total) ||
        !Literal(t, i, QLatin1StringView(" -> ")))
        return false;
    if (t.mid(i, t.size() - fim.size() - i).contains(QLatin1Char(')'))) return false;
    p.Prefixo = t.left(abre);
    return true;
}

}  // namespace

bool TRitmoHint::Decidir(QStringView prefixo, qint64 atual, qint64 total) {
    const bool primeiro = prefixo != m_prefixoProgresso;
    const bool ultimo = atual >= total;
    const bool espacado = !m_ultimo.isValid() || m_ultimo.elapsed() >= m_intervaloMs;
    const bool mostrar = primeiro || ultimo || espacado;
    if (mostrar) {
        if (primeiro) m_prefixoProgresso = prefixo.toString();
        m_ultimo.start();
    }
    return mostrar;
}

bool TRitmoHint::Mostrar(const QString& texto) {
    m_pendente.Existe = false;
    TProgresso p;
    if (LerProgresso(texto, p)) return Decidir(p.Prefixo, p.Atual, p.Total);
    m_prefixoProgresso.clear();
    m_ultimo.start();
    return true;
}

bool TRitmoHint::MostrarProgresso(const QString& prefixo, int atual, int total) {
    const bool mostrar = Decidir(prefixo, atual, total);
    m_pendente.Existe = !mostrar;
    if (!mostrar) {
        if (m_pendente.Prefixo.constData() != prefixo.constData()) m_pendente.Prefixo = prefixo;
        m_pendente.Atual = atual;
        m_pendente.Total = total;
    }
    return mostrar;
}

QString TRitmoHint::Pendente() const {
    return m_pendente.Existe ? IHint::TextoProgresso(m_pendente.Prefixo, m_pendente.Atual, m_pendente.Total)
                             : QString();
}

// ---- the progress text ------------------------------------------------------------

namespace {

// What the progress text needs of the regional settings, read again only
// when they change: every imported record makes one of these texts.
struct TFormatoProgresso {
    QLocale Local;
    QString Menos;
    QString Ponto;
    bool DigitosAscii = true;
    bool Lido = false;

    void Atualizar() {
        const QLocale atual;
        if (Lido && atual == Local) return;
        Local = atual;
        Menos = atual.negativeSign();
        Ponto = atual.decimalPoint();
        DigitosAscii = atual.zeroDigit() == QLatin1String("0");
        Lido = true;
    }
};

void AnexarInteiro(QString& texto, qint64 n) {
    char buf[24];
    const auto r = std::to_chars(buf, buf + sizeof buf, n);
    texto += QLatin1StringView(buf, r.ptr - buf);
}

}  // namespace

void AnexarProgresso(QString& texto, int atual, int total) {
    // The percentage as a four-decimal fixed-point value, then shown with two
    // decimals rounded half away from zero.
    qint64 decimosMilesimos = 100 * 10000;
    if (total > 0) {
        const double p = static_cast<double>(static_cast<qint64>(atual) * 100) / static_cast<double>(total);
        decimosMilesimos = std::llround(p * 10000.0);
    }
    const bool negativo = decimosMilesimos < 0;
    const qint64 centesimos = (std::llabs(decimosMilesimos) + 50) / 100;
    thread_local TFormatoProgresso formato;
    formato.Atualizar();
    texto += QLatin1Char('(');
    AnexarInteiro(texto, atual);
    texto += QLatin1String(" de ");
    AnexarInteiro(texto, total);
    texto += QLatin1String(" -> ");
    if (negativo && centesimos != 0) texto += formato.Menos;
    const qint64 inteiros = centesimos / 100;
    // Below 1000 there is no thousands separator to place.
    if (formato.DigitosAscii && inteiros < 1000)
        AnexarInteiro(texto, inteiros);
    else
        texto += formato.Local.toString(inteiros);
    texto += formato.Ponto;
    const int fracao = static_cast<int>(centesimos % 100);
    texto += QLatin1Char(static_cast<char>('0' + fracao / 10));
    texto += QLatin1Char(static_cast<char>('0' + fracao % 10));
    texto += QLatin1String("%)");
}

QString IHint::TextoProgresso(const QString& prefixo, int atual, int total) {
    QString texto;
    texto.reserve(prefixo.size() + 48);
    texto += prefixo;
    AnexarProgresso(texto, atual, total);
    texto += QLatin1String("...");
    return texto;
}

}  // namespace vesko
