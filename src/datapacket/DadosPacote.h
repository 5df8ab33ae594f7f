#pragma once
// What a reader hands to the dataset: the field definitions, the packet
// parameters and the current rows, each row a record in the packet layout
// inside one byte buffer.
#include "datapacket/ParametrosPacote.h"
#include "datapacket/TiposCampo.h"

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace vesko {

struct TDadosPacote {
    TFieldDefs campos;
    TPacketParams parametros;
    QByteArray arena;                  // the records (from a binary file: the whole file)
    std::vector<std::int64_t> linhas;  // offsets in `arena` of the current rows, in order
    bool texto8Utf8 = false;           // 8-bit strings held as UTF-8 (see pacote::LayoutDe)
    bool deRegistroDeAlteracoes = false;  // rows rebuilt from a change log
};

}  // namespace vesko
