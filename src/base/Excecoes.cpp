#include "base/Excecoes.h"

#include <filesystem>
#include <new>
#include <stdexcept>
#include <system_error>
#include <typeinfo>

namespace vesko {

Exception::Exception(QString mensagem) : m_mensagem(std::move(mensagem)), m_utf8(m_mensagem.toStdString()) {}

QString NomeClasseExcecao(const std::exception& e) {
    if (auto* nossa = dynamic_cast<const Exception*>(&e)) return nossa->NomeClasse();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return QStringLiteral("EOutOfMemory");
    if (dynamic_cast<const std::filesystem::filesystem_error*>(&e)) return QStringLiteral("EInOutError");
    if (dynamic_cast<const std::system_error*>(&e)) return QStringLiteral("EOSError");
    if (dynamic_cast<const std::out_of_range*>(&e)) return QStringLiteral("ERangeError");
    if (dynamic_cast<const std::invalid_argument*>(&e)) return QStringLiteral("EArgumentException");
    if (dynamic_cast<const std::bad_cast*>(&e)) return QStringLiteral("EInvalidCast");
    return QStringLiteral("Exception");
}

QString MensagemExcecao(const std::exception& e) {
    if (auto* nossa = dynamic_cast<const Exception*>(&e)) return nossa->Mensagem();
    return QString::fromLocal8Bit(e.what());
}

}  // namespace vesko
