#include "store/DmInstala.h"

#include <QFileInfo>
#include <QHash>
#include <QSet>

#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/MonitorSql.h"
#include "store/EsquemaPdv.h"

namespace vesko {
namespace {

const QString kOrigem = QStringLiteral("VerificaTables");

struct Catalogo {
    QHash<QString, bool> relacoes;             // name -> is a view
    QHash<QString, QSet<QString>> colunas;     // table -> columns
    QSet<QString> sequencias;
    QSet<QString> gatilhos;
    QSet<QString> nomesIndices;
    QHash<QString, QList<QStringList>> indices;  // table -> column lists of its indexes

    void Ler(TConexaoFirebird& c) {
        auto q = c.Consultar(QStringLiteral(
            "SELECT TRIM(RDB$RELATION_NAME), CASE WHEN RDB$VIEW_BLR IS NULL THEN 0 ELSE 1 END "
            "FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"));
        for (q->First(); !q->Eof(); q->Next()) relacoes.insert(q->Fields(0).AsString(), q->Fields(1).AsInteger() != 0);
        q = c.Consultar(QStringLiteral(
            "SELECT TRIM(RDB$RELATION_NAME), TRIM(RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS "
            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0"));
        for (q->First(); !q->Eof(); q->Next()) colunas[q->Fields(0).AsString()].insert(q->Fields(1).AsString());
        q = c.Consultar(QStringLiteral("SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS"));
        for (q->First(); !q->Eof(); q->Next()) sequencias.insert(q->Fields(0).AsString());
        q = c.Consultar(QStringLiteral("SELECT TRIM(RDB$TRIGGER_NAME) FROM RDB$TRIGGERS"));
        for (q->First(); !q->Eof(); q->Next()) gatilhos.insert(q->Fields(0).AsString());
        q = c.Consultar(QStringLiteral(
            "SELECT TRIM(I.RDB$RELATION_NAME), TRIM(I.RDB$INDEX_NAME), TRIM(S.RDB$FIELD_NAME) "
            "FROM RDB$INDICES I JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = I.RDB$INDEX_NAME "
            "ORDER BY I.RDB$INDEX_NAME, S.RDB$FIELD_POSITION"));
        QString atual;
        for (q->First(); !q->Eof(); q->Next()) {
            const QString tabela = q->Fields(0).AsString(), nome = q->Fields(1).AsString();
            if (nome != atual) {
                indices[tabela].append(QStringList());
                nomesIndices.insert(nome);
                atual = nome;
            }
            indices[tabela].last().append(q->Fields(2).AsString());
        }
    }

    bool TemIndice(const QString& tabela, const QStringList& cols) const {
        for (const QStringList& l : indices.value(tabela))
            if (l == cols) return true;
        return false;
    }
};

QString Nome(const char* s) { return QString::fromLatin1(s); }

QStringList Lista(const char* s) {
    QStringList r;
    for (const QString& p : Nome(s).split(QLatin1Char(','))) r.append(p.trimmed());
    return r;
}

QString DefinicaoColuna(const TColunaPdv& c, bool novaTabela) {
    QString d = Nome(c.Nome) + QLatin1Char(' ') + Nome(c.Tipo);
    if (c.Padrao) d += QStringLiteral(" DEFAULT ") + Nome(c.Padrao);
    if (c.Obrigatoria && novaTabela) d += QStringLiteral(" NOT NULL");
    return d;
}

}  // namespace

void TDmInstala::VerificaTables(bool Flag, const QString& DatabasePath) {
    m_alteracoes.clear();
    TMonitorSql::Registrar(kOrigem, QStringLiteral("-- verificação da estrutura do banco: ") + DatabasePath);
    const TParametrosConexao p = TParametrosConexao::DaConfiguracao(DatabasePath);
    // The POS creates its database; the check never does.
    if (p.ArquivoLocal() && !QFileInfo(DatabasePath).isFile()) return;
    TConexaoFirebird c(p);
    c.SetIdentificacao(kOrigem);
    c.Conectar();
    VerificaTables(Flag, c);
    c.Desconectar();
}

void TDmInstala::VerificaTables(bool Flag, TConexaoFirebird& c) {
    m_alteracoes.clear();
    Catalogo cat;
    cat.Ler(c);
    const auto aplicar = [&](const QString& descricao, const QString& ddl) {
        m_alteracoes.append(descricao);
        if (Flag) c.ExecutarDireto(ddl);
    };

    for (const TTabelaPdv& t : TabelasPdv())
        if (t.Sequencia && !cat.sequencias.contains(Nome(t.Sequencia)))
            aplicar(QStringLiteral("sequência ") + Nome(t.Sequencia), QStringLiteral("CREATE SEQUENCE ") + Nome(t.Sequencia));

    QList<const TTabelaPdv*> chavesNovas;  // existing tables that got their sequence key now
    for (const TTabelaPdv& t : TabelasPdv()) {
        const QString tabela = Nome(t.Nome);
        if (!cat.relacoes.contains(tabela)) {
            QStringList defs;
            for (const TColunaPdv& col : t.Colunas) defs.append(DefinicaoColuna(col, true));
            if (t.ChavePrimaria)
                defs.append(QStringLiteral("CONSTRAINT PK_%1 PRIMARY KEY (%2)").arg(tabela, Nome(t.ChavePrimaria)));
            if (t.Unica) defs.append(QStringLiteral("CONSTRAINT UQ_%1 UNIQUE (%2)").arg(tabela, Nome(t.Unica)));
            aplicar(QStringLiteral("tabela ") + tabela,
                    QStringLiteral("CREATE TABLE %1 (\n  %2\n)").arg(tabela, defs.join(QStringLiteral(",\n  "))));
            continue;
        }
        const QSet<QString>& existentes = cat.colunas[tabela];
        const bool visao = cat.relacoes.value(tabela);
        for (const TColunaPdv& col : t.Colunas) {
            if (existentes.contains(Nome(col.Nome))) continue;
            const QString descricao = QStringLiteral("coluna %1.%2").arg(tabela, Nome(col.Nome));
            if (visao) {
                // A view cannot gain columns; it is reported, not changed.
                if (!Flag) m_alteracoes.append(descricao);
                continue;
            }
            aplicar(descricao, QStringLiteral("ALTER TABLE %1 ADD %2").arg(tabela, DefinicaoColuna(col, false)));
            if (t.ColunaSequencia && qstrcmp(t.ColunaSequencia, col.Nome) == 0) chavesNovas.append(&t);
        }
    }

    // A key column just added to a table with rows gets values for them.
    if (Flag)
        for (const TTabelaPdv* t : chavesNovas)
            c.ExecutarDireto(QStringLiteral("UPDATE %1 SET %2 = NEXT VALUE FOR %3 WHERE %2 IS NULL")
                                 .arg(Nome(t->Nome), Nome(t->ColunaSequencia), Nome(t->Sequencia)));

    for (const TTabelaPdv& t : TabelasPdv()) {
        if (!t.Sequencia) continue;
        const QString tabela = Nome(t.Nome);
        if (cat.relacoes.value(tabela)) continue;
        const QString gatilho = tabela + QStringLiteral("_BI");
        if (cat.gatilhos.contains(gatilho)) continue;
        aplicar(QStringLiteral("gatilho ") + gatilho,
                QStringLiteral("CREATE TRIGGER %1 FOR %2 ACTIVE BEFORE INSERT POSITION 0 AS\n"
                               "BEGIN\n"
                               "  IF (NEW.%3 IS NULL) THEN NEW.%3 = NEXT VALUE FOR %4;\n"
                               "END")
                    .arg(gatilho, tabela, Nome(t.ColunaSequencia), Nome(t.Sequencia)));
    }

    for (const TIndicePdv& i : IndicesPdv()) {
        const QString tabela = Nome(i.Tabela);
        if (cat.relacoes.value(tabela)) continue;
        if (cat.TemIndice(tabela, Lista(i.Colunas)) || cat.nomesIndices.contains(Nome(i.Nome))) continue;
        aplicar(QStringLiteral("índice ") + Nome(i.Nome),
                QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(Nome(i.Nome), tabela, Nome(i.Colunas)));
    }

    if (!Flag && !m_alteracoes.isEmpty())
        throw EDatabaseError(QStringLiteral("Estrutura do banco de dados incompleta. Falta: ") +
                             m_alteracoes.join(QStringLiteral(", ")) + QLatin1Char('.'));
}

}  // namespace vesko
