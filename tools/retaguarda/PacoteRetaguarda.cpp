#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

TPacoteRetaguarda& TPacoteRetaguarda::Campo(const QString& nome, TFieldType tipo, int tamanho) {
    m_ds.FieldDefs().Add(nome, tipo, tamanho);
    return *this;
}

void TPacoteRetaguarda::Criar() {
    if (!m_ds.Active()) m_ds.CreateDataSet();
}

void TPacoteRetaguarda::Linha(const QVariantList& valores) {
    Criar();
    m_ds.Append();
    for (int i = 0; i < valores.size() && i < m_ds.FieldCount(); ++i)
        if (valores[i].isValid()) m_ds.Fields(i).SetAsVariant(valores[i]);
    m_ds.Post();
}

void TPacoteRetaguarda::Gravar(const QString& caminho) {
    Criar();
    m_ds.SaveToFile(caminho);
}

TClientDataSet& TPacoteRetaguarda::DataSet() {
    Criar();
    return m_ds;
}

}  // namespace vesko::retaguarda
