#pragma once
// The payment kind of a payment-type letter, which picks the picture the
// import stores with each payment type (resources/RecursosImportacao.h,
// ImagensTipoRecebimento, in the same order).
#include <QChar>
#include <QString>

namespace vesko {

enum TTipoRecebimento : int {
    trDinheiro = 0,   // D  cash
    trCheque = 1,     // C  cheque
    trCartao = 2,     // A  card
    trTicket = 3,     // T  meal ticket
    trParcelado = 4,  // R  instalments
    trVale = 5,       // V  voucher
    trTroca = 6,      // X  exchange credit
    trChequePre = 7,  // P  post-dated cheque
};

// The kind of `Letra`, without regard to case. D C A T R V follow the
// payment-type groups 1 to 6; X is an exchange and P a post-dated cheque.
// Any other letter, O ("other" payment types, which the import removes), a
// blank and the NUL character are cash: the neutral picture.
TTipoRecebimento RetornaTipoRecebimento(QChar Letra);
// The kind of the first character of `Codigo`; an empty code is cash.
TTipoRecebimento RetornaTipoRecebimento(const QString& Codigo);

}  // namespace vesko
