#include "store/DBIniFileBistrel.h"

#include <QRegularExpression>

#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"

namespace vesko {
namespace {

TParams ParametrosChave(const QString& nome, const QString& secao, const QString& chave) {
    TParams p;
    p.CreateParam(TFieldType::ftString, QStringLiteral("pName")).SetAsString(nome);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pSection")).SetAsString(secao);
    p.CreateParam(TFieldType::ftString, QStringLiteral("pIdent")).SetAsString(chave);
    return p;
}

}  // namespace

TDBIniFileBistrel::TDBIniFileBistrel(TConexaoFirebird& Connection, const QString& TableName)
    : m_conexao(Connection), m_tabela(TableName.trimmed().toUpper()) {
    static const QRegularExpression identificador(QStringLiteral("^[A-Z][A-Z0-9_$]{0,30}$"));
    if (!identificador.match(m_tabela).hasMatch())
        throw EDatabaseError(QStringLiteral("Nome de tabela de configurações inválido: '%1'.").arg(TableName));
}

QString TDBIniFileBistrel::ReadString(const QString& Section, const QString& Ident, const QString& Default) {
    const TParams p = ParametrosChave(m_tabela, Section, Ident);
    auto q = m_conexao.Consultar(QStringLiteral("SELECT FIRST 1 DATA_VALUE FROM %1 "
                                                "WHERE NAME = :pName AND SECTION = :pSection AND IDENT = :pIdent")
                                     .arg(m_tabela),
                                 &p);
    if (q->IsEmpty()) return Default;
    return q->Fields(0).AsString();
}

bool TDBIniFileBistrel::ValueExists(const QString& Section, const QString& Ident) {
    const TParams p = ParametrosChave(m_tabela, Section, Ident);
    auto q = m_conexao.Consultar(QStringLiteral("SELECT FIRST 1 1 FROM %1 "
                                                "WHERE NAME = :pName AND SECTION = :pSection AND IDENT = :pIdent")
                                     .arg(m_tabela),
                                 &p);
    return !q->IsEmpty();
}

void TDBIniFileBistrel::WriteString(const QString& Section, const QString& Ident, const QString& Value) {
    m_conexao.EmUmaTransacao([&] {
        const TParams chave = ParametrosChave(m_tabela, Section, Ident);
        m_conexao.Executar(QStringLiteral("DELETE FROM %1 WHERE NAME = :pName AND SECTION = :pSection AND IDENT = :pIdent")
                               .arg(m_tabela),
                           &chave, false);
        TParams p = ParametrosChave(m_tabela, Section, Ident);
        p.CreateParam(TFieldType::ftString, QStringLiteral("pDataValue")).SetAsString(Value);
        m_conexao.Executar(QStringLiteral("INSERT INTO %1 (NAME, SECTION, IDENT, DATA_VALUE) "
                                          "VALUES (:pName, :pSection, :pIdent, :pDataValue)")
                               .arg(m_tabela),
                           &p, false);
    });
}

}  // namespace vesko
