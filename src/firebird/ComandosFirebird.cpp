#include "firebird/ComandosFirebird.h"

#include <QRegularExpression>
#include <utility>

#include "firebird/ClienteFirebird.h"
#include "firebird/SqlParametros.h"

using namespace Firebird;

namespace vesko::fb {

void Comando::Liberar() {
    entrada.Liberar();
    saida.Liberar();
    if (stmt) stmt->release();
    stmt = nullptr;
}

Comando* CacheComandos::Preparar(const QString& sql, Contexto& cx, unsigned dialeto) {
    if (m_ultimo && MesmoTexto(m_ultimo->sql, sql)) return m_ultimo;
    const auto achado = m_comandos.constFind(sql);
    if (achado != m_comandos.constEnd()) {
        m_ordem.splice(m_ordem.begin(), m_ordem, achado.value());  // now the most recent
        return m_ultimo = m_ordem.front();
    }
    std::unique_ptr<Comando> c = Compilar(sql, cx, dialeto);
    ++m_compilados;
    while (m_comandos.size() >= kMaximo) LiberarMenosUsado();
    m_ordem.push_front(c.release());
    m_comandos.insert(sql, m_ordem.begin());
    return m_ultimo = m_ordem.front();
}

void CacheComandos::LiberarMenosUsado() {
    Comando* c = m_ordem.back();
    m_ordem.pop_back();
    m_comandos.remove(c->sql);
    if (m_ultimo == c) m_ultimo = nullptr;
    c->Liberar();
    delete c;
}

void CacheComandos::Limpar() {
    m_ultimo = nullptr;
    for (Comando* c : m_ordem) {
        c->Liberar();
        delete c;
    }
    m_ordem.clear();
    m_comandos.clear();
}

std::unique_ptr<Comando> CacheComandos::Compilar(const QString& sql, Contexto& cx, unsigned dialeto) {
    const TSqlAnalisado a = AnalisarParametrosSql(sql);
    const QByteArray texto = Codificar(a.Texto, cx.cs);
    auto c = std::make_unique<Comando>();
    try {
        c->stmt = cx.att->prepare(&cx.st, cx.t, static_cast<unsigned>(texto.size()), texto.constData(), dialeto,
                                  IStatement::PREPARE_PREFETCH_METADATA);
        Verificar(cx.st);
        c->tipo = c->stmt->getType(&cx.st);
        c->entrada.metadados = c->stmt->getInputMetadata(&cx.st);
        Verificar(cx.st);
        c->saida.metadados = c->stmt->getOutputMetadata(&cx.st);
        Verificar(cx.st);
        DescreverEntrada(cx.st, a, c->entrada);
        DescreverSaida(cx.st, c->saida);
        c->sql = sql;
        if (c->tipo == isc_info_sql_stmt_insert) c->umaLinha = InsercaoDeUmaLinhaEmTabela(a.Texto);
    } catch (...) {
        c->Liberar();
        throw;
    }
    return c;
}

// "INSERT INTO name [(columns)] VALUES (...)" (or DEFAULT VALUES) whose
// target is a table, not a view.
bool CacheComandos::InsercaoDeUmaLinhaEmTabela(const QString& texto) const {
    static const QRegularExpression forma(QStringLiteral(
        R"(^\s*INSERT\s+INTO\s+("[^"]+"|[A-Za-z][A-Za-z0-9_$]*)\s*(\([^()]*\))?\s*(VALUES\s*\(|DEFAULT\s+VALUES))"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = forma.match(texto);
    if (!m.hasMatch()) return false;
    QString tabela = m.captured(1);
    tabela = tabela.startsWith(QLatin1Char('"')) ? tabela.mid(1, tabela.size() - 2) : tabela.toUpper();
    return m_ehTabela(tabela);
}

}  // namespace vesko::fb
