#pragma once
// The application object of every entry point: an exception raised inside an
// event handler (a timer tick, a menu click, a dialog) ends that one event
// with a line on standard error, never the program, which runs unattended.
#include <QString>
#include <cstdio>
#include <exception>

#include "base/Excecoes.h"

namespace vesko {

inline void LinhaErroPadrao(const QString& texto) {
    std::fprintf(stderr, "%s\n", texto.toUtf8().constData());
    std::fflush(stderr);
}

template <typename Base>
class TAplicacaoProtegida : public Base {
public:
    using Base::Base;
    bool notify(QObject* receptor, QEvent* evento) override {
        try {
            return Base::notify(receptor, evento);
        } catch (const std::exception& e) {
            LinhaErroPadrao(QStringLiteral("Erro não tratado: %1: %2").arg(NomeClasseExcecao(e), MensagemExcecao(e)));
        } catch (...) {
            LinhaErroPadrao(QStringLiteral("Erro não tratado de tipo desconhecido."));
        }
        return false;
    }
};

}  // namespace vesko
