#include "base/Relogio.h"

namespace vesko {
namespace {
std::function<QDateTime()>& Fonte() {
    static std::function<QDateTime()> fonte;
    return fonte;
}
}  // namespace

QDateTime Relogio::Agora() {
    const auto& f = Fonte();
    return f ? f() : QDateTime::currentDateTime();
}

QDate Relogio::Hoje() { return Agora().date(); }

void Relogio::Definir(std::function<QDateTime()> fonte) { Fonte() = std::move(fonte); }

}  // namespace vesko
