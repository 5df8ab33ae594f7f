#include "firebird/ClienteFirebird.h"

#include <QString>
#include <cstdint>

#include "base/Cp1252.h"
#include "firebird/ConexaoFirebird.h"

using namespace Firebird;

namespace vesko::fb {

IMaster* Mestre() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

void Verificar(CheckStatusWrapper& st) {
    if (!(st.getState() & IStatus::STATE_ERRORS)) return;
    char texto[4096];
    Mestre()->getUtilInterface()->formatStatus(texto, sizeof texto, &st);
    const ISC_STATUS* erros = st.getErrors();
    const int sqlCode = static_cast<int>(isc_sqlcode(erros));
    const std::intptr_t gds = (erros[0] == isc_arg_gds) ? erros[1] : 0;
    QString msg = QString::fromUtf8(texto);
    if (msg.contains(QChar::ReplacementCharacter)) msg = DeCp1252(QByteArray(texto));
    st.init();
    throw EFirebirdError(msg.trimmed(), sqlCode, gds);
}

}  // namespace vesko::fb

namespace vesko {

bool ServidorNaoRespondeu(const std::exception& e) {
    const auto* erro = dynamic_cast<const EFirebirdError*>(&e);
    return erro && erro->CodigoGds() == isc_network_error;
}

}  // namespace vesko
