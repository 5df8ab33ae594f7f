#pragma once
// The link that ties a store component to a database connection and labels
// it: the connection's entries in the SQL monitor carry the link's
// identifying text ("BISTREL" for the gateway's connection).
#include <QString>

namespace vesko {

class TConexaoFirebird;

class TConnectionLink {
public:
    TConnectionLink() = default;
    ~TConnectionLink();
    TConnectionLink(const TConnectionLink&) = delete;
    TConnectionLink& operator=(const TConnectionLink&) = delete;

    void SetConnection(TConexaoFirebird* Connection);
    TConexaoFirebird* Connection() const { return m_conexao; }

    const QString& Identificador() const { return m_identificador; }
    void SetIdentificador(const QString& Texto);

private:
    TConexaoFirebird* m_conexao = nullptr;
    QString m_identificador;
};

}  // namespace vesko
