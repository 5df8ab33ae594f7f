#include "store/ConnectionLink.h"

#include "firebird/ConexaoFirebird.h"

namespace vesko {

TConnectionLink::~TConnectionLink() {
    if (m_conexao && m_conexao->Identificacao() == m_identificador) m_conexao->SetIdentificacao(QString());
}

void TConnectionLink::SetConnection(TConexaoFirebird* Connection) {
    m_conexao = Connection;
    if (m_conexao) m_conexao->SetIdentificacao(m_identificador);
}

void TConnectionLink::SetIdentificador(const QString& Texto) {
    m_identificador = Texto;
    if (m_conexao) m_conexao->SetIdentificacao(m_identificador);
}

}  // namespace vesko
