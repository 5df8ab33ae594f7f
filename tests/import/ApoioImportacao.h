#pragma once
// Test support for the import: a program directory with an embedded POS
// database (ApoioBanco.h), an import directory beside it, the run itself, and
// what it left behind (audit records with their details, table contents).
#include <QByteArray>
#include <QDir>
#include <ostream>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include "ApoioBanco.h"
#include "GeradorRetaguarda.h"
#include "PacoteRetaguarda.h"
#include "audit/LeituraAuditoria.h"
#include "base/Hint.h"
#include "base/Relogio.h"
#include "import/ImportacaoPDVBistrel.h"

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace vesko::teste {

struct RegistroImportacao {
    QString Descricao;
    QString Detalhes;  // as the viewer shows them (trimmed)
    QString TipoExcecao;
    int Tipo = 0;
};

// The pause in which a run watches its files hold still, shortened by every
// AmbienteImportacao for the many runs of this suite (a second each would add
// up); a PausaVerificacaoReal made after it puts the real second back for its
// scope.
inline const char* const kVariavelPausa = "VESKO_TESTE_PAUSA_IMPORTACAO_MS";

class PausaVerificacaoReal {
public:
    PausaVerificacaoReal() : m_anterior(qgetenv(kVariavelPausa)) { qunsetenv(kVariavelPausa); }
    ~PausaVerificacaoReal() {
        if (m_anterior.isNull())
            qunsetenv(kVariavelPausa);
        else
            qputenv(kVariavelPausa, m_anterior);
    }
    PausaVerificacaoReal(const PausaVerificacaoReal&) = delete;
    PausaVerificacaoReal& operator=(const PausaVerificacaoReal&) = delete;
private:
    QByteArray m_anterior;
};

class AmbienteImportacao : public AmbienteBanco {
public:
    AmbienteImportacao() {
        QDir().mkpath(Entrada());
        qputenv(kVariavelPausa, "100");
    }

    QString Entrada() const { return Arquivo(QStringLiteral("entrada")); }
    QString ArquivoEntrada(const QString& nome) const { return Entrada() + QLatin1Char('/') + nome; }
    void Remover(const QString& nome) const { QFile::remove(ArquivoEntrada(nome)); }

    // The generated back-office set (every file) into the import directory.
    void GerarRetaguarda(const retaguarda::TOpcoesGerador& opcoes = {}) const {
        retaguarda::GerarRetaguarda(Entrada(), opcoes);
    }

    // One run as the tray starts it. True when it wrote its success record.
    bool Importar() {
        return TImportacaoPDVBistrel::Importar(Hint, Entrada(), PrimeiraConexao);
    }

    // Today's audit records with their details, in file order.
    static QList<RegistroImportacao> Auditorias() {
        QList<RegistroImportacao> r;
        const QDate hoje = Relogio::Hoje();
        for (const TRegistroAuditoria& a : LerAuditoriasDoDia(hoje).Registros)
            r.append({a.DescricaoCurta, GetDetalhes(hoje, QString::number(a.IdAuditoria)), a.TipoExcecao, a.TipoAuditoria});
        return r;
    }
    static QStringList Descricoes() {
        QStringList r;
        for (const auto& a : Auditorias()) r << a.Descricao;
        return r;
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
    QString Valor(const QString& select) const {
        const QStringList l = Linhas(select);
        return l.isEmpty() ? QString() : l.first();
    }
    int Contar(const QString& tabela) const {
        auto c = Conexao();
        return AmbienteBanco::Contar(*c, tabela);
    }

    THintMemoria Hint;
    bool PrimeiraConexao = true;
};

}  // namespace vesko::teste
