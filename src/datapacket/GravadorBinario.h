#pragma once
// Writer of the binary data packet: the header, the field descriptors with
// their type words, attributes and SUBTYPE / DECIMALS / WIDTH parameters, the
// dataset parameters as kept, and every row as a record with status 0 in the
// order given. No change log is written. Fields whose value layout rests on a
// single source (BCD, FMTBcd, single, extended, SQL timestamps, nested tables)
// are refused with an EDBClient.
#include "datapacket/DadosPacote.h"

#include <QByteArray>
#include <QIODevice>
#include <cstdint>
#include <vector>

namespace vesko {

class TGravadorPacoteBinario {
public:
    // Throws EDBClient naming the first field that cannot be written.
    static void VerificarCampos(const TFieldDefs& campos);
    static void Gravar(const TDadosPacote& dados, const std::vector<std::int64_t>& linhas, QIODevice& destino);
    static QByteArray Gravar(const TDadosPacote& dados);
};

}  // namespace vesko
