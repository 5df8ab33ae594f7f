#pragma once
// Reader of the binary data packet. Every fault of the input (wrong magic,
// truncation, counts or lengths past the end, unknown type words, empty
// names, a broken change log) raises one EDBClient with a short Portuguese
// message; no allocation exceeds what the bytes at hand can describe.
#include "datapacket/DadosPacote.h"

#include <QByteArray>
#include <QByteArrayView>

namespace vesko {

class TLeitorPacoteBinario {
public:
    // True when the bytes start with the packet's magic number.
    static bool Reconhece(QByteArrayView inicio);
    // Reads a whole packet; the bytes become the rows' storage.
    static TDadosPacote Ler(QByteArray bytes);
};

}  // namespace vesko
