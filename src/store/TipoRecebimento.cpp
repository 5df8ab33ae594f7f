#include "store/TipoRecebimento.h"

namespace vesko {

TTipoRecebimento RetornaTipoRecebimento(QChar Letra) {
    switch (Letra.toUpper().unicode()) {
    case u'D': return trDinheiro;
    case u'C': return trCheque;
    case u'A': return trCartao;
    case u'T': return trTicket;
    case u'R': return trParcelado;
    case u'V': return trVale;
    case u'X': return trTroca;
    case u'P': return trChequePre;
    default: return trDinheiro;
    }
}

TTipoRecebimento RetornaTipoRecebimento(const QString& Codigo) {
    return Codigo.isEmpty() ? trDinheiro : RetornaTipoRecebimento(Codigo.front());
}

}  // namespace vesko
