#include "datapacket/GravadorBinario.h"

#include "base/Cp1252.h"
#include "base/Excecoes.h"
#include "datapacket/FormatoPacote.h"

#include <QBuffer>

namespace vesko {

using namespace pacote;

namespace {

constexpr qsizetype kBloco = 1 << 20;

void AnexarLE(QByteArray& b, int n, std::uint64_t v) {
    char t[8];
    GravarLE(t, n, v);
    b.append(t, n);
}

QByteArray NomeEmBytes(const QString& nome) {
    // ASCII names are the same in every code page; others go as UTF-8, as the
    // Unicode-era writers do.
    return nome.toUtf8();
}

void AnexarParametro(QByteArray& b, const TParametroPacote& p) {
    b.append(static_cast<char>(p.Nome.size()));
    b.append(p.Nome);
    AnexarLE(b, 4, p.Tipo);
    b.append(p.Valor);
}

TParametroPacote ParametroTexto(const char* nome, const QString& valor) {
    QByteArray v = ParaCp1252(valor);
    v.append('\0');
    QByteArray bytes;
    AnexarLE(bytes, 2, static_cast<std::uint64_t>(v.size()));
    return {nome, Palavra(cTexto, 2, kVariavel), bytes + v};
}

TParametroPacote ParametroWord(const char* nome, int valor) {
    QByteArray v;
    AnexarLE(v, 2, static_cast<std::uint16_t>(valor));
    return {nome, Palavra(cSemSinal, 2), v};
}

int LarguraDe(const TFieldDef& d) {
    const TFieldType t = d.DataType();
    if (EhTextoLargo(t)) return 2 * d.Size();
    if (EhTexto8(t) || EhBlob(t) || t == ftVarBytes) return d.Size();
    return 0;
}

QByteArray Metadados(const TDadosPacote& dados) {
    QByteArray b;
    for (const TFieldDef& d : dados.campos) {
        const QByteArray nome = NomeEmBytes(d.Name());
        b.append(static_cast<char>(nome.size()));
        b.append(nome);
        AnexarLE(b, 4, d.PalavraTipo());
        AnexarLE(b, 2, d.Attributes());
        QList<TParametroPacote> params;
        if (!d.SubType().isEmpty()) params.append(ParametroTexto("SUBTYPE", d.SubType()));
        if (const int largura = LarguraDe(d); largura > 0) params.append(ParametroWord("WIDTH", largura));
        params.append(d.ParametrosExtras());
        AnexarLE(b, 2, static_cast<std::uint64_t>(params.size()));
        for (const TParametroPacote& p : params) AnexarParametro(b, p);
    }
    AnexarLE(b, 2, static_cast<std::uint64_t>(dados.parametros.List().size()));
    for (const TParametroPacote& p : dados.parametros.List()) AnexarParametro(b, p);
    return b;
}

class TSaida {
public:
    explicit TSaida(QIODevice& d) : m_d(d) { m_b.reserve(kBloco + 4096); }
    QByteArray& Buffer() { return m_b; }
    void Talvez() { if (m_b.size() >= kBloco) Descarregar(); }
    void Descarregar() {
        if (!m_b.isEmpty() && m_d.write(m_b) != m_b.size())
            throw EWriteError(QStringLiteral("erro ao gravar o pacote: %1").arg(m_d.errorString()));
        m_b.clear();
    }

private:
    QIODevice& m_d;
    QByteArray m_b;
};

}  // namespace

void TGravadorPacoteBinario::VerificarCampos(const TFieldDefs& campos) {
    if (campos.Count() == 0) throw EDBClient(QStringLiteral("o conjunto de dados não tem campos"));
    if (campos.Count() > 0xFFFF) throw EDBClient(QStringLiteral("campos demais (%1)").arg(campos.Count()));
    for (const TFieldDef& d : campos) {
        const QByteArray nome = NomeEmBytes(d.Name());
        if (nome.isEmpty()) throw EDBClient(QStringLiteral("campo sem nome"));
        if (nome.size() > 255) throw EDBClient(QStringLiteral("nome de campo longo demais: '%1'").arg(d.Name()));
        switch (d.DataType()) {
        case ftBCD: case ftFMTBcd: case ftSingle: case ftExtended: case ftTimeStamp: case ftTimeStampOffset:
        case ftDataSet:
            throw EDBClient(QStringLiteral("o campo '%1' é do tipo %2, que este programa lê mas ainda não grava")
                                .arg(d.Name(), NomeTipoCampo(d.DataType())));
        default:
            break;
        }
        if (d.Size() < 0 || LarguraDe(d) > 0xFFFF)
            throw EDBClient(QStringLiteral("tamanho inválido (%1) no campo '%2'").arg(d.Size()).arg(d.Name()));
        const std::uint32_t palavra = d.PalavraTipo();
        if ((palavra & kVariavel) && TamanhoDe(palavra) < 4) {
            const int largura = EhTextoLargo(d.DataType()) ? 2 * d.Size() : d.Size();
            if (largura >= (1 << (8 * TamanhoDe(palavra))))
                throw EDBClient(QStringLiteral("tamanho inválido (%1) no campo '%2'").arg(d.Size()).arg(d.Name()));
        }
    }
}

void TGravadorPacoteBinario::Gravar(const TDadosPacote& dados, const std::vector<std::int64_t>& linhas, QIODevice& destino) {
    VerificarCampos(dados.campos);
    if (linhas.size() > 0xFFFFFFFFu) throw EDBClient(QStringLiteral("registros demais (%1)").arg(linhas.size()));
    const QByteArray meta = Metadados(dados);
    const qint64 fimMeta = kTamanhoCabecalho + meta.size();

    int maior = 1;
    for (const TFieldDef& d : dados.campos)
        if (CodigoDe(d.PalavraTipo()) > cBytes) maior = 2;

    TSaida saida(destino);
    QByteArray& b = saida.Buffer();
    AnexarLE(b, 4, kMagia);
    AnexarLE(b, 2, static_cast<std::uint64_t>(maior));
    AnexarLE(b, 2, 0);
    AnexarLE(b, 4, kTamanhoCabecalho);
    AnexarLE(b, 2, static_cast<std::uint64_t>(dados.campos.Count()));
    AnexarLE(b, 4, linhas.size());
    const bool cabe = fimMeta <= 0xFFFF;
    AnexarLE(b, 4, cabe ? (kPropMetadados | kPropOffsetDados) : kPropMetadados);
    AnexarLE(b, 2, cabe ? static_cast<std::uint64_t>(fimMeta) : 0);
    b.append(meta);

    const TLayout layout = LayoutDe(dados.campos, dados.texto8Utf8);
    const std::size_t f = layout.size();
    const int nb = BytesBrancos(f);
    const char* arena = dados.arena.constData();
    if (!dados.texto8Utf8) {
        // Rows already hold the file's bytes: status 0, blank bits reduced to
        // "null", values copied.
        for (std::int64_t o : linhas) {
            const char* reg = arena + o;
            const char* fim = PularRegistro(reg, layout);
            const qsizetype inicio = b.size();
            b.append(reg, fim - reg);
            char* r = b.data() + inicio;
            r[0] = 0;
            for (int i = 0; i < nb; ++i) {
                const auto x = static_cast<unsigned char>(r[1 + i]);
                r[1 + i] = static_cast<char>((x | (x >> 1)) & 0x55);
            }
            saida.Talvez();
        }
    } else {
        const TLayout layoutArquivo = LayoutDe(dados.campos, false);
        std::vector<TValor> valores(f);
        std::vector<QByteArray> convertidos(f);
        for (std::int64_t o : linhas) {
            LocalizarValores(arena + o, layout, valores.data());
            for (std::size_t k = 0; k < f; ++k) {
                const TFieldType t = dados.campos[static_cast<int>(k)].DataType();
                if (valores[k].Nulo() || !(EhTexto8(t) || t == ftMemo || t == ftFmtMemo)) continue;
                convertidos[k] = ParaCp1252(QString::fromUtf8(valores[k].p, valores[k].n));
                valores[k] = {convertidos[k].constData(), convertidos[k].size()};
            }
            AnexarRegistro(b, layoutArquivo, valores.data());
            saida.Talvez();
        }
    }
    saida.Descarregar();
}

QByteArray TGravadorPacoteBinario::Gravar(const TDadosPacote& dados) {
    QByteArray r;
    QBuffer buffer(&r);
    buffer.open(QIODevice::WriteOnly);
    Gravar(dados, dados.linhas, buffer);
    return r;
}

}  // namespace vesko
