#include "app/ComandoChavePublica.h"

#include <cstdio>
#include <exception>

#include "base/Excecoes.h"
#include "store/AssinaturaDigitalArquivosPDV.h"

namespace vesko {

int ExecutarComandoChavePublica() {
    try {
        const QString chave = TAssinaturaDigitalArquivosPDV::ChavePublica();
        std::printf("%s\n", chave.toLatin1().constData());
        std::fflush(stdout);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", MensagemExcecao(e).toUtf8().constData());
        std::fflush(stderr);
        return 1;
    }
}

}  // namespace vesko
