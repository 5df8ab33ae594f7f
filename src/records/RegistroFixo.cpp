#include "records/RegistroFixo.h"

#include <QDateTime>
#include <QLocale>
#include <QtEndian>
#include <cmath>
#include <cstring>

#include "base/Cp1252.h"
#include "base/Excecoes.h"

namespace vesko {

TRegistroFixo::TRegistroFixo(int tamanho) : m_bytes(tamanho, '\0') {}

void TRegistroFixo::Zerar() { m_bytes.fill('\0'); }

void TRegistroFixo::Conferir(int offset, int bytes) const {
    if (offset < 0 || bytes < 0 || offset + bytes > m_bytes.size())
        throw EArgumentException(QStringLiteral("Campo fora do registro: offset %1, %2 bytes, registro de %3 bytes.")
                                     .arg(offset).arg(bytes).arg(m_bytes.size()));
}

quint8 TRegistroFixo::ByteEm(int offset) const {
    Conferir(offset, 1);
    return static_cast<quint8>(m_bytes[offset]);
}

quint8 TRegistroFixo::Valor(TCampoByte c) const { return ByteEm(c.Offset); }

void TRegistroFixo::Definir(TCampoByte c, quint8 v) {
    Conferir(c.Offset, 1);
    m_bytes[c.Offset] = static_cast<char>(v);
}

bool TRegistroFixo::Valor(TCampoBooleano c) const { return ByteEm(c.Offset) != 0; }

void TRegistroFixo::Definir(TCampoBooleano c, bool v) { Definir(TCampoByte{c.Offset}, v ? 1 : 0); }

qint32 TRegistroFixo::Valor(TCampoInteiro c) const {
    Conferir(c.Offset, 4);
    return qFromLittleEndian<qint32>(m_bytes.constData() + c.Offset);
}

void TRegistroFixo::Definir(TCampoInteiro c, qint32 v) {
    Conferir(c.Offset, 4);
    qToLittleEndian<qint32>(v, m_bytes.data() + c.Offset);
}

float TRegistroFixo::Valor(TCampoReal c) const {
    Conferir(c.Offset, 4);
    const quint32 bits = qFromLittleEndian<quint32>(m_bytes.constData() + c.Offset);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

void TRegistroFixo::Definir(TCampoReal c, float v) {
    Conferir(c.Offset, 4);
    quint32 bits;
    std::memcpy(&bits, &v, 4);
    qToLittleEndian<quint32>(bits, m_bytes.data() + c.Offset);
}

qint64 TRegistroFixo::ValorBruto(TCampoMoeda c) const {
    Conferir(c.Offset, 8);
    return qFromLittleEndian<qint64>(m_bytes.constData() + c.Offset);
}

double TRegistroFixo::Valor(TCampoMoeda c) const { return static_cast<double>(ValorBruto(c)) / 10000.0; }

void TRegistroFixo::Definir(TCampoMoeda c, double v) {
    Conferir(c.Offset, 8);
    const double escalado = std::round(v * 10000.0);
    // Beyond what the 64-bit currency holds (or not a number): refuse
    // rather than write a wrapped value.
    if (!std::isfinite(escalado) || std::fabs(escalado) >= 9.2e18)
        throw EConvertError(QStringLiteral("Valor monetário fora do intervalo do registro: %1").arg(v));
    qToLittleEndian<qint64>(static_cast<qint64>(escalado), m_bytes.data() + c.Offset);
}

QString TRegistroFixo::Valor(TCampoTexto c) const {
    Conferir(c.Offset, c.Largura + 1);
    const int n = static_cast<quint8>(m_bytes[c.Offset]);
    if (n > c.Largura)
        throw EReadError(QStringLiteral("Registro corrompido: texto de %1 caracteres no campo de %2 (offset %3).")
                             .arg(n).arg(c.Largura).arg(c.Offset));
    return DeCp1252(QByteArrayView(m_bytes.constData() + c.Offset + 1, n));
}

void TRegistroFixo::Definir(TCampoTexto c, const QString& v) {
    Conferir(c.Offset, c.Largura + 1);
    if (c.Largura > 255)
        throw EArgumentException(QStringLiteral("Texto curto de %1 caracteres: o limite é 255.").arg(c.Largura));
    const QByteArray b = ParaCp1252(v).left(c.Largura);
    char* p = m_bytes.data() + c.Offset;
    std::memset(p, 0, static_cast<size_t>(c.Largura) + 1);
    p[0] = static_cast<char>(b.size());
    std::memcpy(p + 1, b.constData(), static_cast<size_t>(b.size()));
}

QString TRegistroFixo::Valor(TCampoTextoLongo c) const {
    Conferir(c.Offset, c.Largura + 2);
    const int n = qFromLittleEndian<quint16>(m_bytes.constData() + c.Offset);
    if (n > c.Largura)
        throw EReadError(QStringLiteral("Registro corrompido: texto de %1 caracteres no campo de %2 (offset %3).")
                             .arg(n).arg(c.Largura).arg(c.Offset));
    return DeCp1252(QByteArrayView(m_bytes.constData() + c.Offset + 2, n));
}

void TRegistroFixo::Definir(TCampoTextoLongo c, const QString& v) {
    Conferir(c.Offset, c.Largura + 2);
    const QByteArray b = ParaCp1252(v).left(c.Largura);
    char* p = m_bytes.data() + c.Offset;
    std::memset(p, 0, static_cast<size_t>(c.Largura) + 2);
    qToLittleEndian<quint16>(static_cast<quint16>(b.size()), p);
    std::memcpy(p + 2, b.constData(), static_cast<size_t>(b.size()));
}

void TRegistroFixo::CarregarBytes(QByteArrayView bytes, const char* nomeRegistro) {
    if (bytes.size() != m_bytes.size())
        throw EReadError(QStringLiteral("Registro %1 com %2 bytes; o tamanho esperado é %3 bytes.")
                             .arg(QLatin1String(nomeRegistro)).arg(bytes.size()).arg(m_bytes.size()));
    std::memcpy(m_bytes.data(), bytes.data(), static_cast<size_t>(bytes.size()));
}

void TRegistroFixo::ValidarTextos(const std::vector<TDescricaoCampo>& campos, const char* nomeRegistro) const {
    for (const TDescricaoCampo& d : campos) {
        int n = -1;
        if (d.Tipo == TTipoCampoRegistro::Texto || d.Tipo == TTipoCampoRegistro::Constante)
            n = ByteEm(d.Offset);
        else if (d.Tipo == TTipoCampoRegistro::TextoLongo)
            n = qFromLittleEndian<quint16>(m_bytes.constData() + d.Offset);
        if (n > d.Largura)
            throw EReadError(QStringLiteral("Registro %1 corrompido: o campo %2 (offset %3) declara %4 caracteres, "
                                            "mais que os %5 que cabem nele.")
                                 .arg(QLatin1String(nomeRegistro), QLatin1String(d.Nome))
                                 .arg(d.Offset).arg(n).arg(d.Largura));
    }
}

// ---- regional text forms ----

namespace {

// The first character of a regional format that is not part of a pattern
// letter (the separator of "dd/MM/yyyy", "HH:mm:ss").
QChar SeparadorDe(const QString& formato, QChar padrao) {
    for (QChar c : formato)
        if (!c.isLetter() && !c.isSpace() && c != u'\'') return c;
    return padrao;
}

QString Literal(QChar c) { return QStringLiteral("'") + c + QStringLiteral("'"); }

QString PadraoData() {
    const QString s = Literal(SeparadorDataRegional());
    return QStringLiteral("dd") + s + QStringLiteral("MM") + s + QStringLiteral("yyyy");
}

QString PadraoHora() {
    const QString s = Literal(SeparadorHoraRegional());
    return QStringLiteral("HH") + s + QStringLiteral("mm") + s + QStringLiteral("ss");
}

}  // namespace

QChar SeparadorDataRegional() { return SeparadorDe(QLocale().dateFormat(QLocale::ShortFormat), u'/'); }

QChar SeparadorHoraRegional() { return SeparadorDe(QLocale().timeFormat(QLocale::ShortFormat), u':'); }

QString TextoNumeroRegional(double v) {
    if (!std::isfinite(v) || v == 0.0) v = 0.0;  // no "-0", no "nan"
    QLocale l;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(v, 'f', QLocale::FloatingPointShortest);
}

QString TextoDataRegional(const QDate& d) { return QLocale::c().toString(d, PadraoData()); }

QString TextoHoraRegional(const QTime& t) { return QLocale::c().toString(t, PadraoHora()); }

QString TextoDataHoraRegional(const QDateTime& dh) {
    return TextoDataRegional(dh.date()) + QLatin1Char(' ') + TextoHoraRegional(dh.time());
}

QDate LerDataRegional(const QString& texto) { return QDate::fromString(texto.trimmed(), PadraoData()); }

QTime LerHoraRegional(const QString& texto) { return QTime::fromString(texto.trimmed(), PadraoHora()); }

}  // namespace vesko
