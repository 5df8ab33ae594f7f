#pragma once
// Pictures of the products as the POS stores them.
#include <QByteArray>

#include "base/Excecoes.h"

namespace vesko {

// Bytes that are not a picture this library can read (or write back).
VESKO_DECLARAR_EXCECAO(EInvalidGraphic, Exception)

class TImagemProduto {
public:
    // Fits the picture held in `Stream` within `Largura` x `Altura`, keeping
    // its proportions. A picture that already fits is left byte for byte; a
    // larger one is scaled down (smooth) and re-encoded in its own format
    // (JPEG at quality kQualidadeJpeg). Raises EInvalidGraphic, leaving
    // `Stream` untouched, when the bytes are not a picture or its format
    // cannot be written back.
    static void Redimencionar(QByteArray& Stream, int Largura, int Altura);

    static constexpr int kQualidadeJpeg = 90;
};

}  // namespace vesko
