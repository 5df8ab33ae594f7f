#include "datapacket/ConversaoCampo.h"

#include "base/Cp1252.h"
#include "base/Excecoes.h"

#include <QRegularExpression>
#include <QTimeZone>
#include <cmath>
#include <limits>

namespace vesko::conversao {

using namespace pacote;

namespace {

constexpr std::int64_t kDiaDataZero = 693594;  // day number of 1899-12-30

[[noreturn]] void Falhar(const QString& m) { throw EConvertError(m); }

QString Campo(const TFieldDef& d) { return QStringLiteral("'%1'").arg(d.Name()); }

[[noreturn]] void NaoLe(const TFieldDef& d, const char* como) {
    Falhar(QStringLiteral("o campo %1 (%2) não pode ser lido como %3").arg(Campo(d), NomeTipoCampo(d.DataType()), QString::fromUtf8(como)));
}
[[noreturn]] void NaoRecebe(const TFieldDef& d, const char* oque) {
    Falhar(QStringLiteral("o campo %1 (%2) não aceita %3").arg(Campo(d), NomeTipoCampo(d.DataType()), QString::fromUtf8(oque)));
}

void Faixa(const TFieldDef& d, std::int64_t& min, std::uint64_t& max) {
    switch (d.DataType()) {
    case ftShortint: min = -128; max = 127; break;
    case ftSmallint: min = -32768; max = 32767; break;
    case ftInteger: case ftAutoInc: min = std::numeric_limits<std::int32_t>::min(); max = std::numeric_limits<std::int32_t>::max(); break;
    case ftByte: min = 0; max = 0xFF; break;
    case ftWord: min = 0; max = 0xFFFF; break;
    case ftLongWord: min = 0; max = 0xFFFFFFFFu; break;
    case ftLargeUInt: min = 0; max = std::numeric_limits<std::uint64_t>::max(); break;
    default: min = std::numeric_limits<std::int64_t>::min(); max = std::numeric_limits<std::int64_t>::max(); break;
    }
}

bool ComSinal(TFieldType t) { return t != ftByte && t != ftWord && t != ftLongWord && t != ftLargeUInt; }

QByteArray BytesLE(int n, std::uint64_t v) {
    QByteArray b(n, Qt::Uninitialized);
    GravarLE(b.data(), n, v);
    return b;
}

QByteArray BytesDouble(double v) {
    QByteArray b(8, Qt::Uninitialized);
    std::memcpy(b.data(), &v, 8);
    return b;
}

int TamanhoFixo(const TFieldDef& d) { return TamanhoDe(d.PalavraTipo()); }

// Longest value the length prefix of the field can announce.
qsizetype CapacidadePrefixo(const TFieldDef& d, bool utf8) {
    const std::uint32_t p = d.PalavraTipo();
    if (!(p & kVariavel) || (utf8 && EhTexto8(d.DataType()))) return 0x7FFFFFFF;
    const int n = TamanhoDe(p);
    return n >= 4 ? 0x7FFFFFFF : (qsizetype{1} << (8 * n)) - 1;
}

bool LerInteiroTexto(const QString& s, qint64& v) {
    bool ok = false;
    v = s.trimmed().toLongLong(&ok, 10);
    return ok;
}

bool LerFloatTexto(const QString& s, double& v) {
    const QString t = s.trimmed();
    bool ok = false;
    v = LocaleNumeros().toDouble(t, &ok);
    if (!ok) v = t.toDouble(&ok);  // machine-written text with a decimal point
    return ok && std::isfinite(v);
}

bool LerBooleanoTexto(const QString& s, bool& v) {
    const QString t = s.trimmed();
    if (t.isEmpty()) return false;
    const QChar c = t[0].toUpper();
    if (c == u'T' || c == u'Y' || c == u'S' || c == u'1') { v = true; return true; }
    if (c == u'F' || c == u'N' || c == u'0') { v = false; return true; }
    return false;
}

QStringList FormatosData() {
    const QString f = FormatoData();
    QString curto = f;
    curto.replace(QLatin1String("dd"), QLatin1String("d")).replace(QLatin1String("MM"), QLatin1String("M"));
    return {f, curto, QStringLiteral("yyyy-MM-dd")};
}

QStringList FormatosHora() {
    const QString f = FormatoHora();
    return {f, QStringLiteral("HH:mm:ss.zzz"), QStringLiteral("HH:mm:ss"), QStringLiteral("HH:mm"), QStringLiteral("H:mm:ss"), QStringLiteral("H:mm")};
}

// Text to a moment; which parts it must carry depends on the field.
bool LerDataHoraTexto(const QString& s, TFieldType t, QDate& data, QTime& hora) {
    const QString x = s.trimmed();
    const QLocale l;
    data = DataZero();
    hora = QTime(0, 0);
    if (t == ftTime) {
        for (const QString& f : FormatosHora())
            if (const QTime h = l.toTime(x, f); h.isValid()) { hora = h; return true; }
        return false;
    }
    for (const QString& fd : FormatosData()) {
        if (const QDate d = l.toDate(x, fd); d.isValid()) { data = d; return true; }
        for (const QString& fh : FormatosHora()) {
            const QDateTime dh = l.toDateTime(x, fd + u' ' + fh);
            if (dh.isValid()) { data = dh.date(); hora = dh.time(); return true; }
        }
    }
    for (const auto formato : {Qt::ISODateWithMs, Qt::ISODate}) {
        const QDateTime dh = QDateTime::fromString(x, formato);
        if (dh.isValid()) { data = dh.date(); hora = dh.time(); return true; }
    }
    return false;
}

QDateTime Momento(const QDate& d, const QTime& t) { return QDateTime(d, t, Qt::UTC); }

double TDateTimeDe(const QDate& d, const QTime& t) {
    return static_cast<double>(DiaDaData(d) - kDiaDataZero) + (t.isValid() ? t.msecsSinceStartOfDay() : 0) / double(kMsPorDia);
}

bool MomentoDeTDateTime(double v, QDate& d, QTime& t) {
    if (!std::isfinite(v) || std::fabs(v) > 1e9) return false;
    return DataHoraDosMs((v + kDiaDataZero) * double(kMsPorDia), d, t);
}

QString TextoMomento(TFieldType t, const QDate& d, const QTime& h) {
    const QLocale l;
    if (t == ftDate) return l.toString(d, FormatoData());
    if (t == ftTime) return l.toString(h, FormatoHora());
    QString r = l.toString(d, FormatoData());
    if (h.msecsSinceStartOfDay() != 0) r += u' ' + l.toString(h, FormatoHora());
    return r;
}

// The moment held by a date, time, date-time or SQL timestamp value.
void LerMomento(const TFieldDef& d, const TValor& v, QDate& data, QTime& hora) {
    data = DataZero();
    hora = QTime(0, 0);
    bool ok = true;
    switch (d.DataType()) {
    case ftDate:
        data = DataDoDia(LerComSinal(v.p, 4));
        ok = data.isValid();
        break;
    case ftTime: {
        const auto ms = LerComSinal(v.p, 4);
        ok = ms >= 0 && ms < kMsPorDia;
        if (ok) hora = QTime::fromMSecsSinceStartOfDay(static_cast<int>(ms));
        break;
    }
    case ftDateTime:
        ok = DataHoraDosMs(LerDouble(v.p), data, hora);
        break;
    case ftTimeStamp:
    case ftTimeStampOffset:
        ok = LerSqlTimestamp(v.p, data, hora);
        break;
    default:
        break;
    }
    if (!ok) Falhar(QStringLiteral("valor de data ou hora inválido no campo %1").arg(Campo(d)));
}

bool EhMomento(TFieldType t) { return t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp || t == ftTimeStampOffset; }
bool EhTextoBytes(TFieldType t) { return EhTexto8(t) || t == ftMemo || t == ftFmtMemo; }

QString TextoDe(const TFieldDef& d, const TValor& v, bool utf8) {
    const TFieldType t = d.DataType();
    if (EhTexto8(t)) return Texto8(v, utf8);
    if (EhTextoLargo(t) || t == ftWideMemo) return TextoUtf16(v);
    if (t == ftMemo || t == ftFmtMemo)
        return utf8 ? QString::fromUtf8(v.p, v.n) : DeCp1252(QByteArrayView(v.p, v.n));
    return DeCp1252(QByteArrayView(v.p, v.n));
}

double FloatDe(const TFieldDef& d, const TValor& v) {
    switch (d.DataType()) {
    case ftFloat: case ftCurrency: return LerDouble(v.p);
    case ftSingle: return LerFloat(v.p);
    case ftExtended: return DoubleDoExtendido(v.p);
    default: return 0;
    }
}

}  // namespace

QDate DataZero() { return QDate(1899, 12, 30); }
QDateTime DataHoraZero() { return Momento(DataZero(), QTime(0, 0)); }

QLocale LocaleNumeros() {
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return l;
}

QString TextoFloat(double v) { return LocaleNumeros().toString(v, 'g', 15); }

QString FormatoData() {
    QString f = QLocale().dateFormat(QLocale::ShortFormat);
    // Always four-digit years.
    if (!f.contains(QLatin1String("yyyy"))) {
        static const QRegularExpression anos(QStringLiteral("y+"));
        f.replace(anos, QStringLiteral("yyyy"));
    }
    return f;
}

QString FormatoHora() {
    QString f = QLocale().timeFormat(QLocale::ShortFormat);
    if (!f.contains(QLatin1String("ss"))) {
        const qsizetype i = f.indexOf(QLatin1String("mm"));
        if (i >= 0) f.insert(i + 2, (i > 0 ? f[i - 1] : QChar(u':')) + QStringLiteral("ss"));
    }
    return f;
}

QString TextoDecimal(const TValor& v) { return TextoBcd(v.p); }

bool BcdDeTexto(const QString& texto, QByteArray& saida) {
    QString t = texto.trimmed();
    bool negativo = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) { negativo = t[0] == u'-'; t.remove(0, 1); }
    const qsizetype ponto = t.indexOf(u'.');
    QString inteira = ponto < 0 ? t : t.left(ponto);
    const QString fracao = ponto < 0 ? QString() : t.mid(ponto + 1);
    while (inteira.size() > 1 && inteira.front() == u'0') inteira.remove(0, 1);
    const QString digitos = inteira + fracao;
    if (digitos.isEmpty() || digitos.size() > 32 || fracao.size() > 0x3F) return false;
    for (QChar c : digitos)
        if (c < u'0' || c > u'9') return false;
    saida = QByteArray(kBytesBcd, '\0');
    saida[0] = static_cast<char>(digitos.size());
    saida[1] = static_cast<char>((negativo ? 0x80 : 0) | fracao.size());
    for (qsizetype i = 0; i < digitos.size(); ++i) {
        const int d = digitos[i].unicode() - u'0';
        char& b = saida[2 + i / 2];
        b = static_cast<char>(i % 2 == 0 ? (b | (d << 4)) : (b | d));
    }
    return true;
}

bool SomenteLeitura(TFieldType t) {
    switch (t) {
    case ftBCD: case ftFMTBcd: case ftSingle: case ftExtended: case ftTimeStamp: case ftTimeStampOffset: case ftDataSet:
        return true;
    default:
        return false;
    }
}

QString ComoTexto(const TFieldDef& d, const TValor& v, bool utf8) {
    if (v.Nulo()) return {};
    const TFieldType t = d.DataType();
    if (EhInteiro(t)) {
        return ComSinal(t) ? QString::number(LerComSinal(v.p, TamanhoFixo(d)))
                           : QString::number(LerSemSinal(v.p, TamanhoFixo(d)));
    }
    if (t == ftBoolean) return ComoBooleano(d, v, utf8) ? QStringLiteral("True") : QStringLiteral("False");
    if (EhFlutuante(t)) return TextoFloat(FloatDe(d, v));
    if (EhDecimal(t)) {
        QString s = TextoDecimal(v);
        return s.replace(u'.', LocaleNumeros().decimalPoint());
    }
    if (EhMomento(t)) {
        QDate data;
        QTime hora;
        LerMomento(d, v, data, hora);
        return TextoMomento(t == ftDate || t == ftTime ? t : ftDateTime, data, hora);
    }
    if (t == ftDataSet) return QStringLiteral("(DataSet)");
    return TextoDe(d, v, utf8);
}

qint64 ComoInteiro(const TFieldDef& d, const TValor& v, bool utf8) {
    if (v.Nulo()) return 0;
    const TFieldType t = d.DataType();
    if (EhInteiro(t)) {
        if (ComSinal(t)) return LerComSinal(v.p, TamanhoFixo(d));
        const std::uint64_t u = LerSemSinal(v.p, TamanhoFixo(d));
        if (u > static_cast<std::uint64_t>(std::numeric_limits<qint64>::max()))
            Falhar(QStringLiteral("o valor %1 do campo %2 não cabe num inteiro").arg(u).arg(Campo(d)));
        return static_cast<qint64>(u);
    }
    if (t == ftBoolean) return ComoBooleano(d, v, utf8) ? 1 : 0;
    if (EhFlutuante(t) || EhDecimal(t)) {
        const double f = EhDecimal(t) ? TextoDecimal(v).toDouble() : FloatDe(d, v);
        if (!std::isfinite(f) || std::fabs(f) >= 9.2e18)
            Falhar(QStringLiteral("o valor %1 do campo %2 não cabe num inteiro").arg(TextoFloat(f), Campo(d)));
        return std::llround(f);
    }
    if (EhTextoBytes(t) || EhTextoLargo(t) || t == ftWideMemo) {
        const QString s = TextoDe(d, v, utf8);
        qint64 r;
        if (s.trimmed().isEmpty()) return 0;
        if (!LerInteiroTexto(s, r)) Falhar(QStringLiteral("'%1' não é um valor inteiro válido (campo %2)").arg(s, Campo(d)));
        return r;
    }
    NaoLe(d, "inteiro");
}

double ComoFloat(const TFieldDef& d, const TValor& v, bool utf8) {
    if (v.Nulo()) return 0;
    const TFieldType t = d.DataType();
    if (EhInteiro(t)) {
        return ComSinal(t) ? static_cast<double>(LerComSinal(v.p, TamanhoFixo(d)))
                           : static_cast<double>(LerSemSinal(v.p, TamanhoFixo(d)));
    }
    if (t == ftBoolean) return ComoBooleano(d, v, utf8) ? 1 : 0;
    if (EhFlutuante(t)) return FloatDe(d, v);
    if (EhDecimal(t)) return TextoDecimal(v).toDouble();
    if (EhMomento(t)) {
        QDate data;
        QTime hora;
        LerMomento(d, v, data, hora);
        return TDateTimeDe(data, hora);
    }
    if (EhTextoBytes(t) || EhTextoLargo(t) || t == ftWideMemo) {
        const QString s = TextoDe(d, v, utf8);
        double r;
        if (s.trimmed().isEmpty()) return 0;
        if (!LerFloatTexto(s, r)) Falhar(QStringLiteral("'%1' não é um número válido (campo %2)").arg(s, Campo(d)));
        return r;
    }
    NaoLe(d, "número");
}

QDateTime ComoDataHora(const TFieldDef& d, const TValor& v, bool utf8) {
    if (v.Nulo()) return DataHoraZero();
    const TFieldType t = d.DataType();
    QDate data;
    QTime hora;
    if (EhMomento(t)) {
        LerMomento(d, v, data, hora);
        return Momento(data, hora);
    }
    if (EhTextoBytes(t) || EhTextoLargo(t) || t == ftWideMemo) {
        const QString s = TextoDe(d, v, utf8);
        if (s.trimmed().isEmpty()) return DataHoraZero();
        if (!LerDataHoraTexto(s, ftDateTime, data, hora))
            Falhar(QStringLiteral("'%1' não é uma data e hora válida (campo %2)").arg(s, Campo(d)));
        return Momento(data, hora);
    }
    if (EhFlutuante(t) || EhInteiro(t)) {
        if (!MomentoDeTDateTime(ComoFloat(d, v, utf8), data, hora))
            Falhar(QStringLiteral("o valor do campo %1 não é uma data e hora válida").arg(Campo(d)));
        return Momento(data, hora);
    }
    NaoLe(d, "data e hora");
}

bool ComoBooleano(const TFieldDef& d, const TValor& v, bool utf8) {
    if (v.Nulo()) return false;
    const TFieldType t = d.DataType();
    if (t == ftBoolean) {
        for (qint64 i = 0; i < v.n; ++i)
            if (v.p[i]) return true;
        return false;
    }
    if (EhInteiro(t)) return ComoInteiro(d, v, utf8) != 0;
    if (EhFlutuante(t)) return FloatDe(d, v) != 0;
    if (EhTextoBytes(t) || EhTextoLargo(t) || t == ftWideMemo) {
        const QString s = TextoDe(d, v, utf8);
        bool r = false;
        if (s.trimmed().isEmpty()) return false;
        if (!LerBooleanoTexto(s, r)) Falhar(QStringLiteral("'%1' não é um valor lógico válido (campo %2)").arg(s, Campo(d)));
        return r;
    }
    NaoLe(d, "valor lógico");
}

QVariant ComoVariant(const TFieldDef& d, const TValor& v, bool utf8) {
    if (v.Nulo()) return {};
    const TFieldType t = d.DataType();
    switch (t) {
    case ftShortint: case ftSmallint: case ftInteger: case ftAutoInc: case ftByte: case ftWord:
        return static_cast<int>(ComoInteiro(d, v, utf8));
    case ftLongWord: case ftLargeint:
        return ComoInteiro(d, v, utf8);
    case ftLargeUInt:
        return static_cast<qulonglong>(LerSemSinal(v.p, 8));
    case ftBoolean:
        return ComoBooleano(d, v, utf8);
    case ftFloat: case ftCurrency: case ftSingle: case ftExtended: case ftBCD: case ftFMTBcd:
        return ComoFloat(d, v, utf8);
    case ftDate: {
        QDate data; QTime hora;
        LerMomento(d, v, data, hora);
        return data;
    }
    case ftTime: {
        QDate data; QTime hora;
        LerMomento(d, v, data, hora);
        return hora;
    }
    case ftDateTime: case ftTimeStamp: case ftTimeStampOffset:
        return ComoDataHora(d, v, utf8);
    case ftString: case ftFixedChar: case ftGuid: case ftWideString: case ftFixedWideChar:
    case ftMemo: case ftWideMemo: case ftFmtMemo:
        return TextoDe(d, v, utf8);
    default:
        return ComoBytes(d, v);
    }
}

QByteArray ComoBytes(const TFieldDef& d, const TValor& v) {
    if (v.Nulo()) return {};
    if (EhTexto8(d.DataType())) {
        const void* nul = std::memchr(v.p, 0, static_cast<std::size_t>(v.n));
        return QByteArray(v.p, nul ? static_cast<const char*>(nul) - v.p : v.n);
    }
    return QByteArray(v.p, v.n);
}

TCarga DeTexto(const TFieldDef& d, const QString& s, bool utf8) {
    const TFieldType t = d.DataType();
    if (EhTexto8(t)) {
        QString x = s;
        if (d.Size() > 0 && x.size() > d.Size()) x.truncate(d.Size());
        QByteArray b = utf8 ? x.toUtf8() : ParaCp1252(x);
        b.truncate(CapacidadePrefixo(d, utf8));
        if (b.isEmpty()) b = QByteArray(1, '\0');  // an empty string is stored as one NUL
        return b;
    }
    if (EhTextoLargo(t)) {
        QString x = s;
        if (d.Size() > 0 && x.size() > d.Size()) x.truncate(d.Size());
        QByteArray b = BytesUtf16(x);
        b.truncate(CapacidadePrefixo(d, utf8) & ~qsizetype{1});
        return b;
    }
    if (t == ftWideMemo) {
        if (s.isEmpty()) return std::nullopt;
        return BytesUtf16(s);
    }
    if (EhBlob(t)) {
        if (s.isEmpty()) return std::nullopt;  // empty BLOBs are null
        return (utf8 && (t == ftMemo || t == ftFmtMemo)) ? s.toUtf8() : ParaCp1252(s);
    }
    if (t == ftBytes || t == ftVarBytes || t == ftUnknown) return DeBytes(d, ParaCp1252(s), utf8);
    if (s.trimmed().isEmpty()) return std::nullopt;  // empty text clears a typed field
    if (EhInteiro(t)) {
        qint64 v;
        if (!LerInteiroTexto(s, v)) {
            if (t == ftLargeUInt) {
                bool ok = false;
                const qulonglong u = s.trimmed().toULongLong(&ok);
                if (ok) return BytesLE(8, u);
            }
            Falhar(QStringLiteral("'%1' não é um valor inteiro válido (campo %2)").arg(s, Campo(d)));
        }
        return DeInteiro(d, v, utf8);
    }
    if (t == ftBoolean) {
        bool v = false;
        if (!LerBooleanoTexto(s, v)) Falhar(QStringLiteral("'%1' não é um valor lógico válido (campo %2)").arg(s, Campo(d)));
        return DeBooleano(d, v, utf8);
    }
    if (EhFlutuante(t)) {
        double v;
        if (!LerFloatTexto(s, v)) Falhar(QStringLiteral("'%1' não é um número válido (campo %2)").arg(s, Campo(d)));
        return DeFloat(d, v, utf8);
    }
    if (EhMomento(t)) {
        QDate data;
        QTime hora;
        if (!LerDataHoraTexto(s, t, data, hora))
            Falhar(QStringLiteral("'%1' não é uma data ou hora válida (campo %2)").arg(s, Campo(d)));
        return DeDataHora(d, Momento(data, hora), utf8);
    }
    NaoRecebe(d, "texto");
}

TCarga DeInteiro(const TFieldDef& d, qint64 v, bool utf8) {
    const TFieldType t = d.DataType();
    if (EhInteiro(t)) {
        std::int64_t min;
        std::uint64_t max;
        Faixa(d, min, max);
        if (v < min || (v > 0 && static_cast<std::uint64_t>(v) > max))
            Falhar(QStringLiteral("o valor %1 está fora da faixa do campo %2 (%3 a %4)").arg(v).arg(Campo(d)).arg(min).arg(max));
        return BytesLE(TamanhoFixo(d), static_cast<std::uint64_t>(v));
    }
    if (t == ftBoolean) return DeBooleano(d, v != 0, utf8);
    if (t == ftFloat || t == ftCurrency) return BytesDouble(static_cast<double>(v));
    if (EhTexto8(t) || EhTextoLargo(t) || EhMemo(t)) return DeTexto(d, QString::number(v), utf8);
    NaoRecebe(d, "inteiros");
}

TCarga DeFloat(const TFieldDef& d, double v, bool utf8) {
    const TFieldType t = d.DataType();
    if (!std::isfinite(v) && t != ftFloat && t != ftCurrency)
        Falhar(QStringLiteral("o campo %1 não aceita o valor %2").arg(Campo(d), QString::number(v)));
    if (t == ftFloat || t == ftCurrency) return BytesDouble(v);
    if (EhInteiro(t)) {
        if (std::fabs(v) >= 9.2e18) Falhar(QStringLiteral("o valor %1 está fora da faixa do campo %2").arg(TextoFloat(v), Campo(d)));
        return DeInteiro(d, std::llround(v), utf8);
    }
    if (t == ftBoolean) return DeBooleano(d, v != 0, utf8);
    if (EhMomento(t)) {
        QDate data;
        QTime hora;
        if (!MomentoDeTDateTime(v, data, hora)) Falhar(QStringLiteral("o valor %1 não é uma data válida (campo %2)").arg(v).arg(Campo(d)));
        return DeDataHora(d, Momento(data, hora), utf8);
    }
    if (EhTexto8(t) || EhTextoLargo(t) || EhMemo(t)) return DeTexto(d, TextoFloat(v), utf8);
    NaoRecebe(d, "números");
}

TCarga DeDataHora(const TFieldDef& d, const QDateTime& v, bool utf8) {
    const TFieldType t = d.DataType();
    const QDate data = v.date();
    const QTime hora = v.time().isValid() ? v.time() : QTime(0, 0);
    if (!v.isValid() || !data.isValid()) Falhar(QStringLiteral("data inválida para o campo %1").arg(Campo(d)));
    switch (t) {
    case ftDate: {
        const qint64 dia = data.toJulianDay() - 1721425;
        if (dia < std::numeric_limits<std::int32_t>::min() || dia > std::numeric_limits<std::int32_t>::max())
            Falhar(QStringLiteral("data fora da faixa do campo %1").arg(Campo(d)));
        return BytesLE(4, static_cast<std::uint32_t>(DiaDaData(data)));
    }
    case ftTime:
        return BytesLE(4, static_cast<std::uint32_t>(hora.msecsSinceStartOfDay()));
    case ftDateTime:
        return BytesDouble(MsDaDataHora(data, hora));
    case ftFloat: case ftCurrency:
        return BytesDouble(TDateTimeDe(data, hora));
    default:
        if (EhTexto8(t) || EhTextoLargo(t) || EhMemo(t)) return DeTexto(d, TextoMomento(ftDateTime, data, hora), utf8);
        NaoRecebe(d, "datas");
    }
}

TCarga DeBooleano(const TFieldDef& d, bool v, bool utf8) {
    const TFieldType t = d.DataType();
    if (t == ftBoolean) return BytesLE(TamanhoFixo(d), v ? 1 : 0);
    if (EhInteiro(t)) return DeInteiro(d, v ? 1 : 0, utf8);
    if (t == ftFloat || t == ftCurrency) return BytesDouble(v ? 1 : 0);
    if (EhTexto8(t) || EhTextoLargo(t) || EhMemo(t)) return DeTexto(d, v ? QStringLiteral("True") : QStringLiteral("False"), utf8);
    NaoRecebe(d, "valores lógicos");
}

TCarga DeBytes(const TFieldDef& d, const QByteArray& b, bool utf8) {
    const TFieldType t = d.DataType();
    if (EhBlob(t)) {
        if (b.isEmpty()) return std::nullopt;
        return b;
    }
    if (t == ftBytes) {
        QByteArray r = b.left(TamanhoFixo(d));
        r.append(QByteArray(TamanhoFixo(d) - r.size(), '\0'));
        return r;
    }
    if (t == ftVarBytes || t == ftUnknown) {
        QByteArray r = b;
        if (t == ftVarBytes && d.Size() > 0) r.truncate(d.Size());
        r.truncate(CapacidadePrefixo(d, utf8));
        if (!(d.PalavraTipo() & kVariavel)) {
            r = r.left(TamanhoFixo(d));
            r.append(QByteArray(TamanhoFixo(d) - r.size(), '\0'));
        }
        return r;
    }
    if (EhTexto8(t)) {
        QByteArray r = d.Size() > 0 ? b.left(d.Size()) : b;
        r.truncate(CapacidadePrefixo(d, utf8));
        if (r.isEmpty()) r = QByteArray(1, '\0');
        return r;
    }
    if (EhTextoLargo(t)) {
        QByteArray r = d.Size() > 0 ? b.left(2 * qsizetype{d.Size()}) : b;
        r.truncate(CapacidadePrefixo(d, utf8) & ~qsizetype{1});
        return r;
    }
    NaoRecebe(d, "bytes");
}

TCarga DeVariant(const TFieldDef& d, const QVariant& v, bool utf8) {
    if (!v.isValid() || v.isNull()) return std::nullopt;
    switch (v.typeId()) {
    case QMetaType::QString: return DeTexto(d, v.toString(), utf8);
    case QMetaType::Bool: return DeBooleano(d, v.toBool(), utf8);
    case QMetaType::Int: case QMetaType::LongLong: case QMetaType::UInt: case QMetaType::Short:
    case QMetaType::UShort: case QMetaType::Char: case QMetaType::SChar: case QMetaType::UChar: case QMetaType::Long:
    case QMetaType::ULong:
        return DeInteiro(d, v.toLongLong(), utf8);
    case QMetaType::ULongLong: {
        const qulonglong u = v.toULongLong();
        if (d.DataType() == ftLargeUInt) return BytesLE(8, u);
        if (u > static_cast<qulonglong>(std::numeric_limits<qint64>::max()))
            Falhar(QStringLiteral("o valor %1 está fora da faixa do campo %2").arg(u).arg(Campo(d)));
        return DeInteiro(d, static_cast<qint64>(u), utf8);
    }
    case QMetaType::Double: case QMetaType::Float: return DeFloat(d, v.toDouble(), utf8);
    case QMetaType::QDate: return DeDataHora(d, Momento(v.toDate(), QTime(0, 0)), utf8);
    case QMetaType::QTime: return DeDataHora(d, Momento(DataZero(), v.toTime()), utf8);
    case QMetaType::QDateTime: return DeDataHora(d, v.toDateTime(), utf8);
    case QMetaType::QByteArray: return DeBytes(d, v.toByteArray(), utf8);
    default:
        if (v.canConvert<QString>()) return DeTexto(d, v.toString(), utf8);
        NaoRecebe(d, v.typeName());
    }
}

}  // namespace vesko::conversao
