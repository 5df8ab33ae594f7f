#pragma once
// Reader of the two XML renderings of a data packet: plain XML (8-bit text in
// Windows-1252, no encoding declared) and UTF-8 XML (declared, or marked by a
// byte-order mark). Faults raise one EDBClient with a Portuguese message.
#include "datapacket/DadosPacote.h"

#include <QByteArray>
#include <QByteArrayView>

namespace vesko {

class TLeitorPacoteXml {
public:
    // True when the bytes look like XML: an optional byte-order mark and
    // blanks, then '<'.
    static bool Reconhece(QByteArrayView inicio);
    static TDadosPacote Ler(const QByteArray& bytes);
};

}  // namespace vesko
