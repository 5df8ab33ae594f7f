#pragma once
// Test support for the export: a program directory with an embedded POS
// database (ApoioBanco.h), an export directory beside it, a connected gateway
// for single steps, the whole run, and what it left behind (audit records,
// files, table contents).
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>

#include "ApoioBanco.h"
#include "audit/LeituraAuditoria.h"
#include "base/Hint.h"
#include "base/Relogio.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ExportacaoPDVBistrel.h"
#include "export/ExportacaoPDVBistrelInterna.h"

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vesko::teste {

struct RegistroExportacao {
    QString Descricao;
    QString Detalhes;
    int Tipo = 0;
};

// A hint that, the first time a text starting with `Inicio` arrives, runs
// `Acao` (what the POS does meanwhile, on a connection of its own).
class THintAcao : public IHint {
public:
    THintAcao(QString Inicio, std::function<void()> Acao) : m_inicio(std::move(Inicio)), m_acao(std::move(Acao)) {}
    void DefinirHint(const QString& texto) override {
        m_atual = texto;
        if (m_executada || !texto.startsWith(m_inicio)) return;
        m_executada = true;
        m_acao();
    }
    QString Hint() const override { return m_atual; }
    bool Executada() const { return m_executada; }

private:
    QString m_inicio;
    std::function<void()> m_acao;
    QString m_atual;
    bool m_executada = false;
};

class AmbienteExportacao : public AmbienteBanco {
public:
    AmbienteExportacao() { QDir().mkpath(Saida()); }

    // The export directory, without trailing separator.
    QString Saida() const { return Arquivo(QStringLiteral("saida")); }
    QString ArquivoSaida(const QString& nome) const { return Saida() + QLatin1Char('/') + nome; }
    // The file names of the export directory, sorted (hidden ones too).
    QStringList ArquivosSaida(const QString& filtro = QStringLiteral("*")) const {
        return QDir(Saida()).entryList({filtro}, QDir::Files | QDir::Hidden, QDir::Name);
    }

    // One run as the tray starts it; true when complete.
    bool Exportar(bool Automatico) {
        return TExportacaoPDVBistrel::Exportar(Hint, Automatico, Saida(), PrimeiraConexao);
    }

    // A gateway connected to the test database, for single steps.
    std::unique_ptr<TComunicacaoBancoBistrel> Gateway() {
        auto g = std::make_unique<TComunicacaoBancoBistrel>(QStringLiteral("Exportação"));
        bool primeira = false;
        if (!g->Conectar(primeira)) throw std::runtime_error("sem conexão ao banco de teste");
        return g;
    }

    void Executar(const QString& sql) const {
        auto c = Conexao();
        c->Executar(sql);
    }

    // The rows of a SELECT, each row's columns joined by "|" (null as "<null>").
    QStringList Linhas(const QString& select) const {
        auto c = Conexao();
        auto q = c->Consultar(select);
        QStringList r;
        for (q->First(); !q->Eof(); q->Next()) {
            QStringList colunas;
            for (int i = 0; i < q->FieldCount(); ++i)
                colunas << (q->Fields(i).IsNull() ? QStringLiteral("<null>") : q->Fields(i).AsString());
            r << colunas.join(QLatin1Char('|'));
        }
        return r;
    }
    int Contar(const QString& tabela) const {
        auto c = Conexao();
        return AmbienteBanco::Contar(*c, tabela);
    }

    static QList<RegistroExportacao> Auditorias() {
        QList<RegistroExportacao> r;
        const QDate hoje = Relogio::Hoje();
        for (const TRegistroAuditoria& a : LerAuditoriasDoDia(hoje).Registros)
            r.append({a.DescricaoCurta, GetDetalhes(hoje, QString::number(a.IdAuditoria)), a.TipoAuditoria});
        return r;
    }
    static QStringList Descricoes() {
        QStringList r;
        for (const auto& a : Auditorias()) r << a.Descricao;
        return r;
    }

    THintMemoria Hint;
    bool PrimeiraConexao = true;
};

}  // namespace vesko::teste
