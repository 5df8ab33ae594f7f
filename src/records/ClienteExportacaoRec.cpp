#include "records/ClienteExportacaoRec.h"

#include "records/CamposRegistro.h"

namespace vesko {

using registro::D;

TClienteExportacaoRec::TClienteExportacaoRec() : TRegistroFixo(Tamanho) {}

void ClearClienteExportacaoRec(TClienteExportacaoRec& Cliente) { Cliente.Zerar(); }

const std::vector<TDescricaoCampo>& TClienteExportacaoRec::Campos() {
    static const std::vector<TDescricaoCampo> c = {
        D("IdCliente", IdCliente),
        D("CpfCnpj", CpfCnpj),
        D("Nome", Nome),
        D("Logradouro", Logradouro),
        D("Numero", Numero),
        D("Complemento", Complemento),
        D("NrTelefone", NrTelefone),
        D("NmCidade", NmCidade),
        D("NmBairro", NmBairro),
        D("CdUf", CdUf),
        D("CdCep", CdCep),
        D("Email", Email),
        D("DtNascimento", DtNascimento),
        D("AlteracaoCadastro", AlteracaoCadastro),
        D("IdMunicipio", IdMunicipio),
        D("NrCelular", NrCelular),
        D("DataHoraAlteracao", DataHoraAlteracao),
    };
    return c;
}

void TClienteExportacaoRec::Carregar(QByteArrayView bytes) {
    try {
        CarregarBytes(bytes, "de cliente");
        ValidarTextos(Campos(), "de cliente");
    } catch (...) {
        ClearClienteExportacaoRec(*this);
        throw;
    }
}

}  // namespace vesko
