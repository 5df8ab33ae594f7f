#include "firebird/MensagensFirebird.h"

#include <QDateTime>
#include <QLocale>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/Cp1252.h"
#include "base/Excecoes.h"
#include "firebird/ClienteFirebird.h"
#include "firebird/SqlParametros.h"

using namespace Firebird;

namespace vesko::fb {

namespace {

constexpr unsigned kTamanhoSegmento = 32768;

IUtil* Util() {
    static IUtil* u = Mestre()->getUtilInterface();
    return u;
}

bool EhTexto(unsigned tipo) { return tipo == SQL_TEXT || tipo == SQL_VARYING; }

std::vector<Descricao> Descrever(CheckStatusWrapper& st, IMessageMetadata* m) {
    std::vector<Descricao> r;
    if (!m) return r;
    const unsigned n = m->getCount(&st);
    Verificar(st);
    r.resize(n);
    for (unsigned i = 0; i < n; ++i) {
        r[i].tipo = m->getType(&st, i) & ~1u;
        r[i].comprimento = m->getLength(&st, i);
        r[i].escala = m->getScale(&st, i);
        r[i].subtipo = m->getSubType(&st, i);
        r[i].charset = m->getCharSet(&st, i);
        Verificar(st);
    }
    return r;
}

TFieldType TipoCampo(const Descricao& d) {
    switch (d.tipo) {
        case SQL_TEXT:
        case SQL_VARYING: return ftString;
        case SQL_SHORT: return d.escala < 0 ? ftFloat : ftSmallint;
        case SQL_LONG: return d.escala < 0 ? ftFloat : ftInteger;
        case SQL_INT64: return d.escala < 0 ? ftFloat : ftLargeint;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return ftFloat;
        case SQL_TIMESTAMP: return ftDateTime;
        case SQL_TYPE_DATE: return ftDate;
        case SQL_TYPE_TIME: return ftTime;
        case SQL_BOOLEAN: return ftBoolean;
        case SQL_BLOB: return d.subtipo == 1 ? ftMemo : ftBlob;
        default: return ftUnknown;
    }
}

// ---- text in the connection's character set ------------------------------------

// The same as Codificar into `destino`, whose memory is reused from row to row.
void CodificarEm(const QString& t, QByteArray& destino, unsigned cs) {
    const qsizetype n = t.size();
    destino.resize(n);
    char* o = destino.data();
    const char16_t* u = reinterpret_cast<const char16_t*>(t.constData());
    if (cs != kCsUtf8) {
        qsizetype i = 0;
        for (; i < n; ++i) {
            const char16_t c = u[i];
            if (c >= 0x80 && (c < 0xA0 || c > 0xFF)) break;  // Latin-1 part only here
            o[i] = static_cast<char>(c);
        }
        if (i == n) return;
    }
    destino = Codificar(t, cs);
}

QString Decodificar(const char* p, int n, unsigned cs) {
    return cs == kCsUtf8 ? QString::fromUtf8(p, n) : DeCp1252(QByteArrayView(p, n));
}

// ---- parameter values ----------------------------------------------------------

// How a parameter's value travels, by its type.
enum class TCategoria { Texto, Inteiro, Logico, Real, DataHora };

TCategoria Categoria(TFieldType t) {
    if (EhInteiro(t)) return TCategoria::Inteiro;
    if (t == ftBoolean) return TCategoria::Logico;
    if (EhFlutuante(t) || EhDecimal(t)) return TCategoria::Real;
    if (t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp) return TCategoria::DataHora;
    return TCategoria::Texto;  // text, memos, blobs (bytes travel as bytes), unknown
}

// A double as the database stores it in an exact numeric of `casas`
// decimals: scaled by the power of ten, rounded half away from zero with the
// database's own tolerance, truncated. False when it does not fit (the
// database then converts it, and refuses it).
bool NumericoComoOBanco(double v, int casas, qint64& resultado) {
    static const double potencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                       1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    if (!std::isfinite(v)) return false;
    double d = v * potencias[casas];
    const double meio = 0.5 + 1e-14;
    d = d > 0 ? d + meio : d - meio;
    if (d <= -9.2233720368547e18 || d >= 9.2233720368547e18) return false;
    resultado = static_cast<qint64>(d);
    return true;
}

[[noreturn]] void ErroValor(const TParam& p) {
    throw EConvertError(QStringLiteral("Valor inválido para o parâmetro '%1': '%2'.").arg(p.Name(), p.AsString()));
}

qint64 InteiroDe(const TParam& p) {
    const QVariant& v = p.Value();
    switch (v.typeId()) {  // the usual kinds first, without a conversion
        case QMetaType::Int: return *static_cast<const int*>(v.constData());
        case QMetaType::LongLong: return *static_cast<const qlonglong*>(v.constData());
        default: break;
    }
    if (v.typeId() == QMetaType::Double) return std::llround(v.toDouble());
    bool ok = false;
    const qint64 n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
    if (!ok) ErroValor(p);
    return n;
}

double RealDe(const TParam& p) {
    const QVariant& v = p.Value();
    if (v.typeId() == QMetaType::Double) return *static_cast<const double*>(v.constData());
    bool ok = false;
    double r = 0;
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        r = QLocale().toDouble(t, &ok);
        if (!ok) r = t.toDouble(&ok);
    } else {
        r = v.toDouble(&ok);
    }
    if (!ok) ErroValor(p);
    return r;
}

bool LogicoDe(const TParam& p) {
    const QVariant& v = p.Value();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
        return InteiroDe(p) != 0;
    }
    return v.toBool();
}

QDateTime DataHoraDe(const TParam& p) {
    const QVariant& v = p.Value();
    QDateTime dt;
    switch (v.typeId()) {
        case QMetaType::QDateTime: dt = v.toDateTime(); break;
        case QMetaType::QDate: dt = QDateTime(v.toDate(), QTime(0, 0)); break;
        case QMetaType::QTime: dt = QDateTime(QDate(1899, 12, 30), v.toTime()); break;
        case QMetaType::Double:
        case QMetaType::Int:
        case QMetaType::LongLong: {
            const double s = v.toDouble();
            const double dias = std::floor(s);
            dt = QDateTime(QDate(1899, 12, 30).addDays(static_cast<qint64>(dias)), QTime(0, 0))
                     .addMSecs(std::llround((s - dias) * 86400000.0));
            break;
        }
        default: dt = QDateTime::fromString(v.toString().trimmed(), Qt::ISODate); break;
    }
    if (!dt.isValid()) ErroValor(p);
    return dt;
}

// ---- the forms values travel in ------------------------------------------------
// Each returns the description of the form the value `v` took.

Descricao ComoInteiro(const TParam& p, const Descricao& desc, Valor& v) {
    v.inteiro = p.DataType() == ftBoolean ? (LogicoDe(p) ? 1 : 0) : InteiroDe(p);
    // An integer column takes the value as it is; anything else converts it
    // (and refuses what does not fit).
    const bool cabe = desc.escala == 0 &&
                      ((desc.tipo == SQL_SHORT && v.inteiro >= INT16_MIN && v.inteiro <= INT16_MAX) ||
                       (desc.tipo == SQL_LONG && v.inteiro >= INT32_MIN && v.inteiro <= INT32_MAX) ||
                       desc.tipo == SQL_INT64);
    return cabe ? desc : Descricao{SQL_INT64, 8, 0, 0, 0};
}

Descricao ComoReal(const TParam& p, const Descricao& desc, Valor& v) {
    v.real = RealDe(p);
    if (desc.tipo == SQL_INT64 && desc.escala < 0 && desc.escala >= -18 &&
        NumericoComoOBanco(v.real, -desc.escala, v.inteiro))
        return desc;  // a NUMERIC column: the scaled value, rounded as the database would
    return desc.tipo == SQL_DOUBLE ? desc : Descricao{SQL_DOUBLE, 8, 0, 0, 0};
}

Descricao ComoDataHora(const TParam& p, Valor& v) {
    const QDateTime dt = DataHoraDe(p);
    // Days since 17 November 1858 and tenths of milliseconds.
    v.data = static_cast<ISC_DATE>(dt.date().toJulianDay() - 2400001);
    v.hora = static_cast<ISC_TIME>(dt.time().msecsSinceStartOfDay()) * 10u;
    const unsigned tipo = p.DataType() == ftDate   ? SQL_TYPE_DATE
                          : p.DataType() == ftTime ? SQL_TYPE_TIME
                                                   : SQL_TIMESTAMP;
    if (tipo == SQL_TYPE_DATE) v.hora = 0;
    return {tipo, tipo == SQL_TIMESTAMP ? 8u : 4u, 0, 0, 0};
}

Descricao ComoTexto(const TParam& p, const Descricao& desc, Valor& v, unsigned csConexao) {
    const QVariant& val = p.Value();
    unsigned cs = csConexao;
    if (val.typeId() == QMetaType::QByteArray) {
        v.bytes = val.toByteArray();
        cs = kCsOctets;
    } else if (val.typeId() == QMetaType::QString) {
        CodificarEm(*static_cast<const QString*>(val.constData()), v.bytes, csConexao);
    } else {
        v.bytes = Codificar(p.AsString(), csConexao);
    }
    unsigned comp = static_cast<unsigned>(v.bytes.size());
    // The declared length keeps the message the same from row to row; a
    // longer value is left for the database to refuse.
    if (EhTexto(desc.tipo) && desc.comprimento >= comp)
        comp = desc.comprimento;
    else
        comp = (comp + 63) / 64 * 64;
    if (comp == 0) comp = 1;
    if (comp > 32765) throw EDatabaseError(QStringLiteral("Texto longo demais para o parâmetro '%1'.").arg(p.Name()));
    return {SQL_VARYING, comp, 0, 0, cs};
}

// The value of `p` (nullptr: null) for a placeholder described by `desc`.
Descricao Converter(const TParam* p, const Descricao& desc, Valor& v, unsigned cs) {
    v.nulo = true;
    if (!p || p->IsNull()) return desc;
    v.nulo = false;
    if (desc.tipo == SQL_BLOB) {
        const QVariant& val = p->Value();
        v.bytes = val.typeId() == QMetaType::QByteArray ? val.toByteArray() : Codificar(p->AsString(), cs);
        return desc;
    }
    if (desc.tipo == SQL_BOOLEAN) {
        v.logico = LogicoDe(*p);
        return {SQL_BOOLEAN, 1, 0, 0, 0};
    }
    switch (Categoria(p->DataType())) {
        case TCategoria::Inteiro:
        case TCategoria::Logico: return ComoInteiro(*p, desc, v);
        case TCategoria::Real: return ComoReal(*p, desc, v);
        case TCategoria::DataHora: return ComoDataHora(*p, v);
        default: return ComoTexto(*p, desc, v, cs);
    }
}

// ---- blobs ---------------------------------------------------------------------

// A text blob in a character set of its own is converted on the way in and
// out; bytes and text in the connection's own set travel as they are.
bool ConverteTexto(const Descricao& d, unsigned cs) {
    return d.subtipo == 1 && d.charset != kCsNone && d.charset != kCsOctets && d.charset != cs;
}

std::vector<unsigned char> BpbTexto(unsigned de, unsigned para) {
    return {isc_bpb_version1,
            isc_bpb_source_type, 1, 1,
            isc_bpb_source_interp, 1, static_cast<unsigned char>(de),
            isc_bpb_target_type, 1, 1,
            isc_bpb_target_interp, 1, static_cast<unsigned char>(para)};
}

ISC_QUAD CriarBlob(Contexto& cx, const QByteArray& bytes, const Descricao& d) {
    ISC_QUAD id{};
    std::vector<unsigned char> bpb;
    if (ConverteTexto(d, cx.cs)) bpb = BpbTexto(cx.cs, d.charset);
    IBlob* b = cx.att->createBlob(&cx.st, cx.t, &id, static_cast<unsigned>(bpb.size()), bpb.empty() ? nullptr : bpb.data());
    Verificar(cx.st);
    for (qsizetype pos = 0; pos < bytes.size(); pos += kTamanhoSegmento) {
        const unsigned n = static_cast<unsigned>(std::min<qsizetype>(kTamanhoSegmento, bytes.size() - pos));
        b->putSegment(&cx.st, n, bytes.constData() + pos);
        if (cx.st.getState() & IStatus::STATE_ERRORS) {
            CheckStatusWrapper st2(Mestre()->getStatus());
            b->cancel(&st2);
            st2.dispose();
            Verificar(cx.st);
        }
    }
    b->close(&cx.st);
    Verificar(cx.st);
    return id;
}

QByteArray LerBlob(Contexto& cx, ISC_QUAD id, const Descricao& d) {
    std::vector<unsigned char> bpb;
    if (ConverteTexto(d, cx.cs)) bpb = BpbTexto(d.charset, cx.cs);
    IBlob* b = cx.att->openBlob(&cx.st, cx.t, &id, static_cast<unsigned>(bpb.size()), bpb.empty() ? nullptr : bpb.data());
    Verificar(cx.st);
    QByteArray r;
    char seg[kTamanhoSegmento];
    for (;;) {
        unsigned lidos = 0;
        const int res = b->getSegment(&cx.st, sizeof seg, seg, &lidos);
        if (res == IStatus::RESULT_ERROR) {
            CheckStatusWrapper st2(Mestre()->getStatus());
            b->close(&st2);
            if (st2.getState() & IStatus::STATE_ERRORS) b->release();
            st2.dispose();
            Verificar(cx.st);
        }
        if (res == IStatus::RESULT_NO_DATA) break;
        r.append(seg, static_cast<qsizetype>(lidos));
    }
    b->close(&cx.st);
    Verificar(cx.st);
    return r;
}

// ---- the input message ---------------------------------------------------------

// The placeholders of `p`, the `k`-th parameter of its collection.
const std::vector<unsigned>& PosicoesDe(Entrada& e, const TParam& p, size_t k) {
    if (k < e.ultimosNomes.size() && MesmoTexto(e.ultimosNomes[k], p.Name())) return *e.ultimasPosicoes[k];
    // Most parameters are spelled as their placeholder; the others are
    // matched without regard to case.
    auto it = e.posicoesComoEscritas.constFind(p.Name());
    if (it == e.posicoesComoEscritas.constEnd()) {
        it = e.posicoes.constFind(p.Name().toUpper());
        if (it == e.posicoes.constEnd())
            throw EDatabaseError(QStringLiteral("Parâmetro '%1' não encontrado.").arg(p.Name()));
    }
    const std::vector<unsigned>* posicoes = &it.value();
    if (k < e.ultimosNomes.size()) {
        e.ultimosNomes[k] = p.Name();
        e.ultimasPosicoes[k] = posicoes;
    } else {
        e.ultimosNomes.push_back(p.Name());
        e.ultimasPosicoes.push_back(posicoes);
    }
    return *posicoes;
}

// Fills `e.porPosicao`: the parameter of each placeholder, or nullptr.
void Associar(Entrada& e, const TParams* params) {
    e.porPosicao.assign(e.nomes.size(), nullptr);
    if (!params) return;
    size_t k = 0;
    for (const TParam& p : *params) {
        for (unsigned pos : PosicoesDe(e, p, k)) e.porPosicao[pos] = &p;  // the last of a name wins
        ++k;
    }
}

// Every placeholder must have its parameter: a misspelt one would otherwise
// store NULL without a word. A NULL is asked for by a cleared parameter.
void ExigirTodos(const Entrada& e) {
    for (size_t i = 0; i < e.porPosicao.size(); ++i) {
        if (e.porPosicao[i]) continue;
        QString nome = e.nomes[i].isEmpty() ? QStringLiteral("?") : QLatin1Char(':') + e.nomes[i];
        for (auto it = e.posicoesComoEscritas.constBegin(); it != e.posicoesComoEscritas.constEnd(); ++it)
            for (unsigned pos : it.value())
                if (pos == i) nome = QLatin1Char(':') + it.key();  // as the statement spells it
        throw EDatabaseError(QStringLiteral("Nenhum parâmetro foi informado para '%1'.").arg(nome));
    }
}

// Converts every value, and notes the form of each in `e.sig`.
void Converter(Entrada& e, unsigned cs) {
    const size_t n = e.nomes.size();
    e.sig.resize(n);
    e.valores.resize(n);
    for (size_t i = 0; i < n; ++i) e.sig[i] = Converter(e.porPosicao[i], e.descricao[i], e.valores[i], cs);
}

// A message like `base` whose fields take the forms of `sig`.
IMessageMetadata* NovaMensagem(CheckStatusWrapper& st, IMessageMetadata* base, const std::vector<Descricao>& sig) {
    IMetadataBuilder* b = base->getBuilder(&st);
    Verificar(st);
    for (unsigned i = 0; i < sig.size(); ++i) {
        b->setType(&st, i, sig[i].tipo | 1u);
        b->setLength(&st, i, sig[i].comprimento);
        b->setScale(&st, i, sig[i].escala);
        b->setSubType(&st, i, sig[i].subtipo);
        b->setCharSet(&st, i, sig[i].charset);
    }
    IMessageMetadata* m = b->getMetadata(&st);
    b->release();
    Verificar(st);
    return m;
}

// Makes `m`, whose reference it takes, the message of the values.
void TrocarMensagem(Entrada& e, CheckStatusWrapper& st, IMessageMetadata* m) {
    if (e.mensagem) e.mensagem->release();
    e.mensagem = m;
    e.assinatura = e.sig;
    e.layout.Ler(st, m);
}

// The message for the forms of `e.sig`: the one kept, when they are the same.
void EscolherMensagem(Entrada& e, CheckStatusWrapper& st) {
    if (e.sig == e.descricao) {
        // Every value travels in its column's own form: the statement's own
        // message serves.
        if (e.mensagem == e.metadados) return;
        e.metadados->addRef();
        TrocarMensagem(e, st, e.metadados);
    } else if (!e.mensagem || !(e.sig == e.assinatura)) {
        TrocarMensagem(e, st, NovaMensagem(st, e.metadados, e.sig));
    }
}

void GravarValor(Contexto& cx, const Valor& v, const Descricao& forma, unsigned char* alvo) {
    switch (forma.tipo) {
        case SQL_BLOB: {
            const ISC_QUAD id = CriarBlob(cx, v.bytes, forma);
            std::memcpy(alvo, &id, sizeof id);
            break;
        }
        case SQL_BOOLEAN: *reinterpret_cast<FB_BOOLEAN*>(alvo) = v.logico ? FB_TRUE : FB_FALSE; break;
        case SQL_INT64: std::memcpy(alvo, &v.inteiro, 8); break;
        case SQL_LONG: {
            const auto n32 = static_cast<ISC_LONG>(v.inteiro);
            std::memcpy(alvo, &n32, 4);
            break;
        }
        case SQL_SHORT: {
            const auto n16 = static_cast<ISC_SHORT>(v.inteiro);
            std::memcpy(alvo, &n16, 2);
            break;
        }
        case SQL_DOUBLE: std::memcpy(alvo, &v.real, 8); break;
        case SQL_TYPE_DATE: std::memcpy(alvo, &v.data, 4); break;
        case SQL_TYPE_TIME: std::memcpy(alvo, &v.hora, 4); break;
        case SQL_TIMESTAMP: {
            ISC_TIMESTAMP ts{v.data, v.hora};
            std::memcpy(alvo, &ts, sizeof ts);
            break;
        }
        case SQL_VARYING: {
            const auto len = static_cast<unsigned short>(v.bytes.size());
            std::memcpy(alvo, &len, 2);
            std::memcpy(alvo + 2, v.bytes.constData(), len);
            break;
        }
        default: break;
    }
}

// Writes the values into a fresh buffer laid out as the chosen message.
unsigned char* GravarValores(Entrada& e, Contexto& cx) {
    unsigned char* dados = e.buffer.Preparar(e.layout.comprimento);
    for (size_t i = 0; i < e.valores.size(); ++i) {
        const Valor& v = e.valores[i];
        auto* nulo = reinterpret_cast<short*>(dados + e.layout.nulos[i]);
        *nulo = v.nulo ? -1 : 0;
        if (!v.nulo) GravarValor(cx, v, e.sig[i], dados + e.layout.dados[i]);
    }
    return dados;
}

// ---- the output message --------------------------------------------------------

QVariant Escalado(qint64 n, const Descricao& d) {
    if (d.escala >= 0) return d.tipo == SQL_INT64 ? QVariant(n) : QVariant(static_cast<int>(n));
    return QVariant(static_cast<double>(n) / std::pow(10.0, -d.escala));
}

QDate Data(ISC_DATE v) {
    unsigned a, m, d;
    Util()->decodeDate(v, &a, &m, &d);
    return QDate(static_cast<int>(a), static_cast<int>(m), static_cast<int>(d));
}

QTime Hora(ISC_TIME v) {
    unsigned h, mi, s, f;
    Util()->decodeTime(v, &h, &mi, &s, &f);
    return QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f / 10));
}

// The T stored at `p`, which need not be aligned for it.
template <typename T>
T Copia(const unsigned char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

QVariant LerTexto(const Descricao& d, const unsigned char* p, unsigned cs) {
    const char* s = reinterpret_cast<const char*>(p);
    if (d.tipo == SQL_VARYING) {
        const auto n = Copia<unsigned short>(p);
        s += 2;
        if (d.charset == kCsOctets) return QByteArray(s, n);
        return Decodificar(s, n, cs);
    }
    if (d.charset == kCsOctets) return QByteArray(s, static_cast<qsizetype>(d.comprimento));
    int n = static_cast<int>(d.comprimento);
    while (n > 0 && s[n - 1] == ' ') --n;
    return Decodificar(s, n, cs);
}

QVariant LerColuna(const Saida& s, size_t i, const unsigned char* dados, Contexto& cx) {
    if (*reinterpret_cast<const short*>(dados + s.layout.nulos[i])) return QVariant();
    const Descricao& d = s.colunas[i].d;
    const unsigned char* p = dados + s.layout.dados[i];
    switch (d.tipo) {
        case SQL_TEXT:
        case SQL_VARYING: return LerTexto(d, p, cx.cs);
        case SQL_SHORT: return Escalado(Copia<short>(p), d);
        case SQL_LONG: return Escalado(Copia<ISC_LONG>(p), d);
        case SQL_INT64: return Escalado(Copia<ISC_INT64>(p), d);
        case SQL_FLOAT: return static_cast<double>(Copia<float>(p));
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return Copia<double>(p);
        case SQL_TYPE_DATE: return Data(Copia<ISC_DATE>(p));
        case SQL_TYPE_TIME: return Hora(Copia<ISC_TIME>(p));
        case SQL_TIMESTAMP: {
            const auto v = Copia<ISC_TIMESTAMP>(p);
            return QDateTime(Data(v.timestamp_date), Hora(v.timestamp_time));
        }
        case SQL_BOOLEAN: return *reinterpret_cast<const FB_BOOLEAN*>(p) != FB_FALSE;
        case SQL_BLOB: {
            const QByteArray bytes = LerBlob(cx, Copia<ISC_QUAD>(p), d);
            if (d.subtipo == 1) return Decodificar(bytes.constData(), static_cast<int>(bytes.size()), cx.cs);
            return bytes;
        }
        default: return QVariant();
    }
}

}  // namespace

void Layout::Ler(CheckStatusWrapper& st, IMessageMetadata* m) {
    const unsigned n = m ? m->getCount(&st) : 0;
    dados.resize(n);
    nulos.resize(n);
    for (unsigned i = 0; i < n; ++i) {
        dados[i] = m->getOffset(&st, i);
        nulos[i] = m->getNullOffset(&st, i);
    }
    comprimento = m ? m->getMessageLength(&st) : 0;
    Verificar(st);
}

void Entrada::Liberar() {
    if (mensagem) mensagem->release();
    if (metadados) metadados->release();
    mensagem = metadados = nullptr;
}

void Saida::Liberar() {
    if (metadados) metadados->release();
    metadados = nullptr;
}

QByteArray Codificar(const QString& t, unsigned cs) { return cs == kCsUtf8 ? t.toUtf8() : ParaCp1252(t); }

void DescreverEntrada(CheckStatusWrapper& st, const TSqlAnalisado& a, Entrada& e) {
    e.descricao = Descrever(st, e.metadados);
    e.nomes = a.Nomes;
    for (unsigned i = 0; i < a.Nomes.size(); ++i) {
        if (a.Nomes[i].isEmpty()) continue;
        e.posicoes[a.Nomes[i]].push_back(i);
        e.posicoesComoEscritas[a.NomesComoEscritos[i]].push_back(i);
    }
    for (auto it = e.posicoesComoEscritas.begin(); it != e.posicoesComoEscritas.end(); ++it)
        it.value() = e.posicoes.value(it.key().toUpper());
}

void DescreverSaida(CheckStatusWrapper& st, Saida& s) {
    const auto desc = Descrever(st, s.metadados);
    if (desc.empty()) return;
    s.layout.Ler(st, s.metadados);
    for (unsigned i = 0; i < desc.size(); ++i) {
        const char* alias = s.metadados->getAlias(&st, i);
        const char* campo = s.metadados->getField(&st, i);
        Verificar(st);
        QString nome = QString::fromUtf8(alias && *alias ? alias : campo);
        s.colunas.push_back({nome, desc[i], TipoCampo(desc[i])});
    }
}

IMessageMetadata* MontarEntrada(Entrada& e, const TParams* params, Contexto& cx, unsigned char*& dados) {
    Associar(e, params);
    ExigirTodos(e);
    if (e.nomes.empty()) {
        dados = nullptr;
        return nullptr;
    }
    Converter(e, cx.cs);
    EscolherMensagem(e, cx.st);
    dados = GravarValores(e, cx);
    return e.mensagem;
}

std::vector<std::pair<QString, std::pair<TFieldType, int>>> Campos(const Saida& s) {
    std::vector<std::pair<QString, std::pair<TFieldType, int>>> campos;
    for (const ColunaSaida& col : s.colunas)
        campos.push_back({col.nome, {col.tipo, static_cast<int>(col.d.comprimento)}});
    return campos;
}

std::vector<QVariant> LerLinha(const Saida& s, const unsigned char* dados, Contexto& cx) {
    std::vector<QVariant> linha(s.colunas.size());
    for (size_t i = 0; i < linha.size(); ++i) linha[i] = LerColuna(s, i, dados, cx);
    return linha;
}

}  // namespace vesko::fb
