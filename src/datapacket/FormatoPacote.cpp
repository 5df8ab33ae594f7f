#include "datapacket/FormatoPacote.h"

#include "base/Cp1252.h"
#include "base/Excecoes.h"

#include <algorithm>
#include <cmath>

namespace vesko::pacote {

TLayoutCampo LayoutDe(const TFieldDef& def, bool texto8Utf8) {
    TLayoutCampo l;
    switch (def.DataType()) {
    case ftBCD:
    case ftFMTBcd:
        l.tamanho = kBytesBcd;
        return l;
    case ftSingle:
        l.tamanho = kBytesSingle;
        return l;
    case ftDataSet:
        l.forma = TLayoutCampo::Aninhado;
        l.filhos = std::make_shared<const TLayout>(def.Filhos() ? LayoutDe(*def.Filhos()) : TLayout{});
        return l;
    default:
        break;
    }
    const std::uint32_t palavra = def.PalavraTipo();
    if (palavra & kVariavel) {
        l.forma = TLayoutCampo::Variavel;
        l.tamanho = static_cast<std::uint32_t>(TamanhoDe(palavra));
        if (texto8Utf8 && EhTexto8(def.DataType())) l.tamanho = 4;
    } else {
        l.tamanho = static_cast<std::uint32_t>(TamanhoDe(palavra));
    }
    return l;
}

TLayout LayoutDe(const TFieldDefs& defs, bool texto8Utf8) {
    TLayout l;
    l.reserve(static_cast<std::size_t>(defs.Count()));
    for (const TFieldDef& d : defs) l.push_back(LayoutDe(d, texto8Utf8));
    return l;
}

namespace {

const char* PularAninhado(const char* p, const TLayout& filhos) {
    const std::uint32_t linhas = static_cast<std::uint32_t>(LerSemSinal(p, 4));
    p += 4;
    if (linhas & 0x80000000u) return p;
    for (std::uint32_t i = 0; i < linhas; ++i) p = PularRegistro(p, filhos);
    return p;
}

inline const char* ValorEm(const char* p, const TLayoutCampo& l, TValor& v) {
    switch (l.forma) {
    case TLayoutCampo::Fixo:
        v = {p, l.tamanho};
        return p + l.tamanho;
    case TLayoutCampo::Variavel: {
        const auto n = static_cast<std::int64_t>(LerSemSinal(p, static_cast<int>(l.tamanho)));
        v = {p + l.tamanho, n};
        return p + l.tamanho + n;
    }
    case TLayoutCampo::Aninhado: {
        const char* fim = PularAninhado(p, *l.filhos);
        v = {p, fim - p};
        return fim;
    }
    }
    return p;
}

}  // namespace

const char* LocalizarValores(const char* registro, const TLayout& layout, TValor* saida) {
    const auto* brancos = reinterpret_cast<const unsigned char*>(registro + 1);
    const char* p = registro + 1 + BytesBrancos(layout.size());
    for (std::size_t k = 0; k < layout.size(); ++k) {
        if ((brancos[k >> 2] >> ((k & 3) * 2)) & 3) {
            saida[k] = {};
            continue;
        }
        p = ValorEm(p, layout[k], saida[k]);
    }
    return p;
}

const char* PularRegistro(const char* registro, const TLayout& layout) {
    const auto* brancos = reinterpret_cast<const unsigned char*>(registro + 1);
    const char* p = registro + 1 + BytesBrancos(layout.size());
    TValor v;
    for (std::size_t k = 0; k < layout.size(); ++k)
        if (!((brancos[k >> 2] >> ((k & 3) * 2)) & 3)) p = ValorEm(p, layout[k], v);
    return p;
}

void AnexarRegistro(QByteArray& destino, const TLayout& layout, const TValor* valores, std::uint8_t status) {
    const int nb = BytesBrancos(layout.size());
    qsizetype tamanho = 1 + nb;
    for (std::size_t k = 0; k < layout.size(); ++k) {
        const TValor& v = valores[k];
        if (v.Nulo()) continue;
        const TLayoutCampo& l = layout[k];
        if (l.forma == TLayoutCampo::Variavel) {
            const std::uint64_t limite = l.tamanho >= 4 ? 0x7FFFFFFFu : (std::uint64_t{1} << (8 * l.tamanho)) - 1;
            if (static_cast<std::uint64_t>(v.n) > limite)
                throw EDBClient(QStringLiteral("valor de %1 bytes não cabe no campo %2").arg(v.n).arg(k + 1));
            tamanho += l.tamanho;
        } else if (l.forma == TLayoutCampo::Fixo && v.n != l.tamanho) {
            throw EDBClient(QStringLiteral("valor de %1 bytes num campo de %2 bytes").arg(v.n).arg(l.tamanho));
        }
        tamanho += v.n;
    }
    const qsizetype inicio = destino.size();
    if (destino.capacity() < inicio + tamanho) destino.reserve(qMax(inicio + tamanho, destino.capacity() * 3 / 2));
    destino.resize(inicio + tamanho);
    char* p = destino.data() + inicio;
    *p++ = static_cast<char>(status);
    char* brancos = p;
    std::memset(brancos, 0, static_cast<std::size_t>(nb));
    p += nb;
    for (std::size_t k = 0; k < layout.size(); ++k) {
        const TValor& v = valores[k];
        if (v.Nulo()) {
            brancos[k >> 2] = static_cast<char>(brancos[k >> 2] | (1 << ((k & 3) * 2)));
            continue;
        }
        if (layout[k].forma == TLayoutCampo::Variavel) {
            GravarLE(p, static_cast<int>(layout[k].tamanho), static_cast<std::uint64_t>(v.n));
            p += layout[k].tamanho;
        }
        if (v.n) std::memcpy(p, v.p, static_cast<std::size_t>(v.n));
        p += v.n;
    }
}

namespace {
constexpr std::int64_t kJulianoDia0 = 1721425;  // Julian day of the day before 0001-01-01
}

std::int32_t DiaDaData(const QDate& d) { return static_cast<std::int32_t>(d.toJulianDay() - kJulianoDia0); }

QDate DataDoDia(std::int64_t dia) { return QDate::fromJulianDay(dia + kJulianoDia0); }

double MsDaDataHora(const QDate& d, const QTime& t) {
    return static_cast<double>(DiaDaData(d)) * static_cast<double>(kMsPorDia) +
           (t.isValid() ? t.msecsSinceStartOfDay() : 0);
}

bool DataHoraDosMs(double ms, QDate& data, QTime& hora) {
    if (!std::isfinite(ms) || std::fabs(ms) > 1e17) return false;
    auto dia = static_cast<std::int64_t>(std::floor(ms / static_cast<double>(kMsPorDia)));
    auto resto = static_cast<std::int64_t>(std::llround(ms - static_cast<double>(dia) * static_cast<double>(kMsPorDia)));
    if (resto >= kMsPorDia) { ++dia; resto -= kMsPorDia; }
    if (resto < 0) { --dia; resto += kMsPorDia; }
    data = DataDoDia(dia);
    hora = QTime::fromMSecsSinceStartOfDay(static_cast<int>(resto));
    return data.isValid() && hora.isValid();
}

QString TextoBcd(const char* p) {
    const auto precisao = static_cast<unsigned char>(p[0]);
    const auto sinal = static_cast<unsigned char>(p[1]);
    const int casas = sinal & 0x3F;
    if (precisao > 32 || casas > precisao || (sinal & 0x40))
        throw EConvertError(QStringLiteral("valor BCD inválido"));
    QString digitos;
    digitos.reserve(precisao);
    for (int i = 0; i < precisao; ++i) {
        const auto byte = static_cast<unsigned char>(p[2 + i / 2]);
        const int d = (i % 2 == 0) ? (byte >> 4) : (byte & 0x0F);
        if (d > 9) throw EConvertError(QStringLiteral("valor BCD inválido"));
        digitos.append(QChar(u'0' + d));
    }
    QString inteira = digitos.left(precisao - casas);
    while (inteira.size() > 1 && inteira.front() == u'0') inteira.remove(0, 1);
    if (inteira.isEmpty()) inteira = QStringLiteral("0");
    QString r = inteira;
    if (casas) r += u'.' + digitos.right(casas);
    const bool zero = std::all_of(digitos.cbegin(), digitos.cend(), [](QChar c) { return c == u'0'; });
    if ((sinal & 0x80) && !zero) r.prepend(u'-');
    return r;
}

double DoubleDoExtendido(const char* p) {
    const std::uint64_t mantissa = LerSemSinal(p, 8);
    const auto se = static_cast<std::uint16_t>(LerSemSinal(p + 8, 2));
    const bool negativo = se & 0x8000;
    const int expoente = se & 0x7FFF;
    double v;
    if (expoente == 0x7FFF)
        v = (mantissa << 1) ? std::nan("") : HUGE_VAL;
    else if (expoente == 0 && mantissa == 0)
        v = 0.0;
    else
        v = std::ldexp(static_cast<double>(mantissa), (expoente ? expoente : 1) - 16383 - 63);
    return negativo ? -v : v;
}

bool LerSqlTimestamp(const char* p, QDate& data, QTime& hora) {
    const auto ano = static_cast<int>(LerComSinal(p, 2));
    const auto mes = static_cast<int>(LerSemSinal(p + 2, 2));
    const auto dia = static_cast<int>(LerSemSinal(p + 4, 2));
    const auto h = static_cast<int>(LerSemSinal(p + 6, 2));
    const auto m = static_cast<int>(LerSemSinal(p + 8, 2));
    const auto s = static_cast<int>(LerSemSinal(p + 10, 2));
    const auto fracao = LerSemSinal(p + 12, 4);
    if (fracao >= 1000) return false;
    data = QDate(ano, mes, dia);
    hora = QTime(h, m, s, static_cast<int>(fracao));
    return data.isValid() && hora.isValid();
}

QString Texto8(const TValor& v, bool utf8) {
    if (v.Nulo()) return {};
    const void* nul = std::memchr(v.p, 0, static_cast<std::size_t>(v.n));
    const qsizetype n = nul ? static_cast<const char*>(nul) - v.p : v.n;
    return utf8 ? QString::fromUtf8(v.p, n) : DeCp1252(QByteArrayView(v.p, n));
}

QString TextoUtf16(const TValor& v) {
    if (v.Nulo()) return {};
    const qsizetype n = v.n / 2;
    QString s(n, Qt::Uninitialized);
    char16_t* d = reinterpret_cast<char16_t*>(s.data());
    for (qsizetype i = 0; i < n; ++i) {
        d[i] = static_cast<char16_t>(static_cast<unsigned char>(v.p[2 * i]) |
                                     (static_cast<unsigned char>(v.p[2 * i + 1]) << 8));
        if (d[i] == 0) { s.truncate(i); break; }
    }
    return s;
}

QByteArray BytesUtf16(const QString& s) {
    QByteArray b(s.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < s.size(); ++i) GravarLE(b.data() + 2 * i, 2, s[i].unicode());
    return b;
}

}  // namespace vesko::pacote
