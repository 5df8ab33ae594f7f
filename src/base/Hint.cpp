#include "base/Hint.h"

namespace vesko {

void THintMemoria::DefinirHint(const QString& texto) {
    m_atual = texto;
    m_historico << texto;
}

}  // namespace vesko
