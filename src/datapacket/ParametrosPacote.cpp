#include "datapacket/ParametrosPacote.h"

#include "base/Cp1252.h"
#include "datapacket/FormatoPacote.h"

namespace vesko {

using namespace pacote;

int TPacketParams::Find(const QString& nome) const {
    const QByteArray n = nome.toLatin1();
    for (int i = 0; i < m_lista.size(); ++i)
        if (m_lista[i].Nome.compare(n, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

void TPacketParams::Remove(const QString& nome) {
    const int i = Find(nome);
    if (i >= 0) m_lista.removeAt(i);
}

void TPacketParams::Set(TParametroPacote parametro) {
    const int i = Find(QString::fromLatin1(parametro.Nome));
    if (i >= 0)
        m_lista[i] = std::move(parametro);
    else
        m_lista.append(std::move(parametro));
}

void TPacketParams::SetInteger(const QString& nome, qint32 valor) {
    QByteArray v(4, Qt::Uninitialized);
    GravarLE(v.data(), 4, static_cast<std::uint32_t>(valor));
    Set({nome.toLatin1(), Palavra(cInteiro, 4), v});
}

void TPacketParams::SetFieldList(const QString& nome, const QList<int>& campos) {
    QByteArray v(4 + 2 * campos.size(), Qt::Uninitialized);
    GravarLE(v.data(), 4, static_cast<std::uint64_t>(campos.size()));
    for (int i = 0; i < campos.size(); ++i) GravarLE(v.data() + 4 + 2 * i, 2, static_cast<std::uint16_t>(campos[i]));
    Set({nome.toLatin1(), Palavra(cSemSinal, 2, kArray), v});
}

void TPacketParams::SetText(const QString& nome, const QString& valor) {
    QByteArray texto = ParaCp1252(valor);
    texto.append('\0');
    QByteArray v(2, Qt::Uninitialized);
    GravarLE(v.data(), 2, static_cast<std::uint64_t>(texto.size()));
    Set({nome.toLatin1(), Palavra(cTexto, 2, kVariavel), v + texto});
}

std::optional<qint64> TPacketParams::Integer(const QString& nome) const {
    const int i = Find(nome);
    if (i < 0) return std::nullopt;
    const TParametroPacote& p = m_lista[i];
    const int codigo = CodigoDe(p.Tipo), tamanho = TamanhoDe(p.Tipo);
    if ((p.Tipo & (kArray | kVariavel)) || (codigo != cInteiro && codigo != cSemSinal) || tamanho < 1 ||
        tamanho > 8 || p.Valor.size() != tamanho)
        return std::nullopt;
    return codigo == cInteiro ? LerComSinal(p.Valor.constData(), tamanho)
                              : static_cast<qint64>(LerSemSinal(p.Valor.constData(), tamanho));
}

QList<qint64> TPacketParams::Array(const QString& nome) const {
    QList<qint64> r;
    const int i = Find(nome);
    if (i < 0) return r;
    const TParametroPacote& p = m_lista[i];
    const int tamanho = TamanhoDe(p.Tipo);
    if (!(p.Tipo & kArray) || tamanho < 1 || tamanho > 8 || p.Valor.size() < 4) return r;
    const auto n = static_cast<qsizetype>(LerSemSinal(p.Valor.constData(), 4));
    if (n > (p.Valor.size() - 4) / tamanho) return r;
    for (qsizetype k = 0; k < n; ++k) {
        const char* e = p.Valor.constData() + 4 + k * tamanho;
        r.append(CodigoDe(p.Tipo) == cInteiro ? LerComSinal(e, tamanho) : static_cast<qint64>(LerSemSinal(e, tamanho)));
    }
    return r;
}

QString TPacketParams::Text(const QString& nome) const {
    const int i = Find(nome);
    if (i < 0) return {};
    const TParametroPacote& p = m_lista[i];
    const int prefixo = TamanhoDe(p.Tipo);
    if (!(p.Tipo & kVariavel) || prefixo < 1 || prefixo > 4 || p.Valor.size() < prefixo) return {};
    return Texto8({p.Valor.constData() + prefixo, p.Valor.size() - prefixo}, false);
}

}  // namespace vesko
