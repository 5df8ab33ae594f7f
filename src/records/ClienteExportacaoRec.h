#pragma once
// TClienteExportacaoRec: the customer record of the CCad files, 1074 bytes,
// all zero when cleared. Layout in docs/registros-exportacao.md.
#include <QString>
#include <vector>

#include "records/RegistroFixo.h"

namespace vesko {

class TClienteExportacaoRec : public TRegistroFixo {
public:
    static constexpr int Tamanho = 1074;

    static constexpr TCampoTexto IdCliente{0, 50};            // changed registration only
    static constexpr TCampoTexto CpfCnpj{102, 18};
    static constexpr TCampoTexto Nome{121, 100};
    static constexpr TCampoTexto Logradouro{222, 100};        // street without its number
    static constexpr TCampoTexto Numero{323, 20};             // number of the address
    static constexpr TCampoTexto Complemento{344, 50};
    static constexpr TCampoTexto NrTelefone{395, 20};
    static constexpr TCampoTexto NmCidade{416, 50};
    static constexpr TCampoTexto NmBairro{467, 50};
    static constexpr TCampoTexto CdUf{518, 2};
    static constexpr TCampoTexto CdCep{521, 8};               // without "-"
    static constexpr TCampoTexto Email{561, 60};
    static constexpr TCampoTexto DtNascimento{622, 10};       // "DD/MM/YYYY"
    static constexpr TCampoBooleano AlteracaoCadastro{633};
    static constexpr TCampoTexto IdMunicipio{634, 5};
    static constexpr TCampoTexto NrCelular{640, 20};
    static constexpr TCampoTexto DataHoraAlteracao{661, 20};  // "DD/MM/YYYY HH:NN:SS"

    // A cleared record: 1074 zero bytes.
    TClienteExportacaoRec();
    friend void ClearClienteExportacaoRec(TClienteExportacaoRec& Cliente);

    static const std::vector<TDescricaoCampo>& Campos();

    // Replaces the content; EReadError on a wrong size or a corrupt text field.
    void Carregar(QByteArrayView bytes);
};

void ClearClienteExportacaoRec(TClienteExportacaoRec& Cliente);

}  // namespace vesko
