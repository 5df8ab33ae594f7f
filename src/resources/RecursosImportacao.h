#pragma once
// The pictures the import writes into the POS database, compiled into the
// program as Qt resources (RecursosImportacao.qrc), so the program, the
// tests and the tools store the same bytes:
//
// - the eight payment-kind bitmaps (64 x 64, 24-bit Windows bitmaps), in the
//   order of ImagensTipoRecebimento(): the ordinal that RetornaTipoRecebimento
//   (store/TipoRecebimento.h) gives for a payment-type letter picks one;
// - "GRUPO_PADRAO", the picture of the default product group (JPEG,
//   108 x 125).
//
// The files themselves are drawn by tools/imagens-importacao.
#include <QByteArray>
#include <QString>
#include <array>

#include "base/Excecoes.h"

namespace vesko {

// A resource name that the program does not carry.
VESKO_DECLARAR_EXCECAO(EResNotFound, Exception)

// DINHEIRO, CHEQUE, CARTAO, TICKET, PARCELADO, VALE, TROCA, CHEQUE_PRE:
// ordinal 0 to 7.
const std::array<QString, 8>& ImagensTipoRecebimento();

// The bytes of the named resource, whole (for "GRUPO_PADRAO": the JPEG
// file). Raises EResNotFound for a name the program does not carry.
QByteArray CarregarRecurso(const QString& Nome);

// The named payment-kind bitmap as a complete Windows BMP file (file header
// included). Raises EResNotFound for a name that is not one of the bitmaps.
QByteArray CarregarBitmapRecurso(const QString& Nome);

}  // namespace vesko
