#pragma once
// The binary data-packet layout shared by the readers, the writer and the
// dataset: type words, the shape of a value inside a record, and the codecs of
// single values. Rows are kept in memory in the packet's own record layout
// (status byte, blank bits, values), so loading is mostly indexing and saving
// mostly copying.
#include "datapacket/TiposCampo.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QTime>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace vesko::pacote {

constexpr std::uint32_t kMagia = 0xBDE01996u;
constexpr int kTamanhoCabecalho = 24;
constexpr std::uint32_t kPropMetadados = 0x1;
constexpr std::uint32_t kPropOffsetDados = 0x2;

// Base type codes (bits 16..21 of a type word).
enum Codigo : int {
    cDesconhecido = 0, cInteiro = 1, cSemSinal = 2, cBooleano = 3, cFlutuante = 4, cBcd = 5,
    cData = 6, cHora = 7, cDataHora = 8, cTexto = 9, cTextoUnicode = 10, cBytes = 11,
    cAdt = 12, cArray = 13, cTabela = 14, cReferencia = 15, cDecimalGrande = 16,
    cSqlTimestamp = 17, cFmtBcd = 18, cSingle = 27, cSqlTimestampOffset = 36,
};

constexpr std::uint32_t kVariavel = 0x00400000u;
constexpr std::uint32_t kArray = 0x00800000u;
constexpr std::uint32_t kPseudo = 0x01000000u;
constexpr std::uint32_t kEmbutido = 0x04000000u;

constexpr int TamanhoDe(std::uint32_t palavra) { return static_cast<int>(palavra & 0xFFFFu); }
constexpr int CodigoDe(std::uint32_t palavra) { return static_cast<int>((palavra >> 16) & 0x3Fu); }
constexpr std::uint32_t Palavra(int codigo, int tamanho, std::uint32_t flags = 0) {
    return flags | (static_cast<std::uint32_t>(codigo) << 16) | (static_cast<std::uint32_t>(tamanho) & 0xFFFFu);
}

// Record status bits; a record is visible when none of kStatusOculto is set.
constexpr std::uint8_t kStatusOriginal = 0x01, kStatusExcluido = 0x02, kStatusInserido = 0x04,
                       kStatusModificado = 0x08, kStatusOculto = 0x23;

// BCD, FMTBcd and single values occupy more bytes in records than their type
// word says.
constexpr int kBytesBcd = 18;
constexpr int kBytesSingle = 8;

// Where a field's value sits in a record.
struct TLayoutCampo {
    enum Forma : std::uint8_t { Fixo, Variavel, Aninhado };
    Forma forma = Fixo;
    std::uint32_t tamanho = 0;  // Fixo: bytes; Variavel: bytes of the length prefix
    std::shared_ptr<const std::vector<TLayoutCampo>> filhos;  // Aninhado: the child level
};
using TLayout = std::vector<TLayoutCampo>;

// Layout of a field as the packet stores it; with `texto8Utf8` the 8-bit
// strings are kept as UTF-8 behind a 4-byte prefix (datasets read from UTF-8
// XML whose text the code page cannot hold).
TLayoutCampo LayoutDe(const TFieldDef& def, bool texto8Utf8 = false);
TLayout LayoutDe(const TFieldDefs& defs, bool texto8Utf8 = false);

inline int BytesBrancos(std::size_t campos) { return static_cast<int>((campos + 3) / 4); }

// One value inside a record: for fixed values the bytes, for varying ones the
// bytes after the length prefix, for nested tables everything stored.
struct TValor {
    const char* p = nullptr;  // nullptr: null
    std::int64_t n = 0;
    bool Nulo() const { return p == nullptr; }
};

// Over memory already validated (or built here): the values of one record, and
// the end of that record. A field with either blank bit set is null.
const char* LocalizarValores(const char* registro, const TLayout& layout, TValor* saida);
const char* PularRegistro(const char* registro, const TLayout& layout);

// Appends one record with status 0 (or `status`) and the given values.
void AnexarRegistro(QByteArray& destino, const TLayout& layout, const TValor* valores, std::uint8_t status = 0);

// Little-endian integers and IEEE doubles.
inline std::uint64_t LerSemSinal(const char* p, int n) {
    std::uint64_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(p[i]);
    return v;
}
inline std::int64_t LerComSinal(const char* p, int n) {
    const std::uint64_t v = LerSemSinal(p, n);
    if (n >= 8) return static_cast<std::int64_t>(v);
    const std::uint64_t sinal = std::uint64_t{1} << (8 * n - 1);
    return static_cast<std::int64_t>((v ^ sinal) - sinal);
}
inline void GravarLE(char* p, int n, std::uint64_t v) {
    for (int i = 0; i < n; ++i) { p[i] = static_cast<char>(v & 0xFF); v >>= 8; }
}
inline double LerDouble(const char* p) { double d; std::memcpy(&d, p, 8); return d; }
inline float LerFloat(const char* p) { float f; std::memcpy(&f, p, 4); return f; }

// Day numbers count 0001-01-01 (proleptic Gregorian) as day 1.
constexpr std::int64_t kMsPorDia = 86400000;
std::int32_t DiaDaData(const QDate& d);
QDate DataDoDia(std::int64_t dia);
// Date-times are milliseconds since day 0; false when the number is not a
// usable moment (NaN, infinite, or millions of years away).
double MsDaDataHora(const QDate& d, const QTime& t);
bool DataHoraDosMs(double ms, QDate& data, QTime& hora);

// 18-byte packed decimal to its text ("-123.45"); throws EConvertError when
// the bytes are not a decimal.
QString TextoBcd(const char* p);
// 80-bit extended float to double.
double DoubleDoExtendido(const char* p);
// SQL timestamp structure (16 or 20 bytes) to date and time; false when invalid.
bool LerSqlTimestamp(const char* p, QDate& data, QTime& hora);

// 8-bit text of a value (cut at the first NUL), Windows-1252 or UTF-8.
QString Texto8(const TValor& v, bool utf8);
// UTF-16LE text of a value (cut at the first NUL).
QString TextoUtf16(const TValor& v);
QByteArray BytesUtf16(const QString& s);

}  // namespace vesko::pacote
