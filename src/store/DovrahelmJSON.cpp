#include "store/DovrahelmJSON.h"

#include <nlohmann/json.hpp>

#include "base/Cp1252.h"

namespace vesko {

struct TDovrahelmJSON::TDados {
    nlohmann::ordered_json objeto = nlohmann::ordered_json::object();
};

namespace {

std::string Utf8(const QString& texto) {
    const QByteArray b = texto.toUtf8();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// True for a character written as \uXXXX: the control characters DEL and C1
// (some have no Windows-1252 byte, the rest no meaning) and every character
// outside the code page. Either half of a surrogate pair is outside it.
bool Escapar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x7F) return false;
    if (u <= 0x9F) return true;
    return !CabeEmCp1252(QString(c));
}

// nlohmann's compact text leaves every non-ASCII character as it is; only
// texts can hold one, so escaping them anywhere keeps the JSON valid.
QString EscaparForaDoCp1252(const QString& json) {
    QString r;
    r.reserve(json.size());
    for (QChar c : json) {
        if (Escapar(c))
            r += QStringLiteral("\\u%1").arg(int(c.unicode()), 4, 16, QLatin1Char('0'));
        else
            r += c;
    }
    return r;
}

}  // namespace

TDovrahelmJSON::TDovrahelmJSON(std::initializer_list<TMembroJSON> membros) : m_dados(std::make_unique<TDados>()) {
    for (const TMembroJSON& m : membros) {
        if (const auto* n = std::get_if<qint64>(&m.Valor))
            AdicionarInteiro(m.Nome, *n);
        else
            AdicionarTexto(m.Nome, std::get<QString>(m.Valor));
    }
}

TDovrahelmJSON::~TDovrahelmJSON() = default;

void TDovrahelmJSON::AdicionarInteiro(const QString& Nome, qint64 Valor) {
    m_dados->objeto[Utf8(Nome)] = static_cast<std::int64_t>(Valor);
}

void TDovrahelmJSON::AdicionarTexto(const QString& Nome, const QString& Valor) {
    m_dados->objeto[Utf8(Nome)] = Utf8(Valor);
}

QString TDovrahelmJSON::TextoJSON() const {
    // QString::toUtf8 never yields invalid UTF-8; "replace" only guards.
    const std::string json = m_dados->objeto.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
    return EscaparForaDoCp1252(QString::fromUtf8(json.data(), static_cast<qsizetype>(json.size())));
}

QByteArray TDovrahelmJSON::TextoJSONCp1252() const { return ParaCp1252(TextoJSON()); }

}  // namespace vesko
