#include "datapacket/LeitorBinario.h"

#include "base/Cp1252.h"
#include "base/Excecoes.h"
#include "datapacket/FormatoPacote.h"

#include <QStringDecoder>
#include <algorithm>
#include <optional>
#include <type_traits>

namespace vesko {

using namespace pacote;

namespace {

constexpr int kProfundidadeMaxima = 16;  // nested tables inside nested tables

[[noreturn]] void Falhar(const QString& mensagem) { throw EDBClient(mensagem); }

// Bounds-checked reading over the packet bytes.
class TCursor {
public:
    TCursor(const QByteArray& b) : m_base(b.constData()), m_fim(b.size()) {}

    qint64 Pos() const { return m_pos; }
    qint64 Restante() const { return m_fim - m_pos; }
    const char* Aqui() const { return m_base + m_pos; }

    // `onde` says where the reader is: a text, or something that makes one
    // (formatted only when the bytes run out).
    template <class Onde>
    void Exigir(qint64 n, const Onde& onde) const {
        if (n < 0 || n > m_fim - m_pos) [[unlikely]] {
            QString lugar;
            if constexpr (std::is_invocable_v<Onde>) lugar = onde(); else lugar = onde;
            Falhar(QStringLiteral("arquivo truncado no byte %1 (%2)").arg(m_fim).arg(lugar));
        }
    }
    template <class Onde>
    const char* Bytes(qint64 n, const Onde& onde) {
        Exigir(n, onde);
        const char* p = m_base + m_pos;
        m_pos += n;
        return p;
    }
    template <class Onde>
    std::uint64_t Inteiro(int n, const Onde& onde) { return LerSemSinal(Bytes(n, onde), n); }
    void Ir(qint64 pos) { m_pos = pos; }
    const char* Em(qint64 pos) const { return m_base + pos; }

private:
    const char* m_base;
    qint64 m_pos = 0;
    qint64 m_fim;
};

QString DecodificarNome(QByteArrayView bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString s = utf8(bytes);
    if (!utf8.hasError()) return s;
    return DeCp1252(bytes);
}

QString Hex(std::uint32_t palavra) {
    return QStringLiteral("0x") + QString::number(palavra, 16).rightJustified(8, QLatin1Char('0')).toUpper();
}

TParametroPacote LerParametro(TCursor& c, const QString& onde) {
    TParametroPacote p;
    const qint64 inicio = c.Pos();
    const auto l = static_cast<int>(c.Inteiro(1, onde));
    if (l == 0) Falhar(QStringLiteral("nome de parâmetro vazio no byte %1 (%2)").arg(inicio).arg(onde));
    p.Nome = QByteArray(c.Bytes(l, onde), l);
    const QString ondeParam = onde + QStringLiteral(", parâmetro '%1'").arg(DecodificarNome(p.Nome));
    p.Tipo = static_cast<std::uint32_t>(c.Inteiro(4, ondeParam));
    const int tamanho = TamanhoDe(p.Tipo);
    const qint64 inicioValor = c.Pos();
    if (p.Tipo & kArray) {
        const auto n = static_cast<qint64>(c.Inteiro(4, ondeParam));
        c.Bytes(n * tamanho, ondeParam);
    } else if (p.Tipo & kVariavel) {
        if (tamanho != 1 && tamanho != 2 && tamanho != 4)
            Falhar(QStringLiteral("tipo de parâmetro inválido (%1) no byte %2 (%3)").arg(Hex(p.Tipo)).arg(inicioValor - 4).arg(ondeParam));
        const auto n = static_cast<qint64>(c.Inteiro(tamanho, ondeParam));
        c.Bytes(n, ondeParam);
    } else {
        c.Bytes(tamanho, ondeParam);
    }
    p.Valor = QByteArray(c.Em(inicioValor), c.Pos() - inicioValor);
    return p;
}

std::optional<int> InteiroDoParametro(const TParametroPacote& p) {
    const int codigo = CodigoDe(p.Tipo), tamanho = TamanhoDe(p.Tipo);
    if ((p.Tipo & (kArray | kVariavel)) || (codigo != cInteiro && codigo != cSemSinal) || tamanho < 1 || tamanho > 4)
        return std::nullopt;
    const qint64 v = codigo == cInteiro ? LerComSinal(p.Valor.constData(), tamanho)
                                        : static_cast<qint64>(LerSemSinal(p.Valor.constData(), tamanho));
    if (v < 0 || v > 0xFFFF) return std::nullopt;
    return static_cast<int>(v);
}

std::optional<QString> TextoDoParametro(const TParametroPacote& p) {
    const int prefixo = TamanhoDe(p.Tipo);
    if (!(p.Tipo & kVariavel) || (p.Tipo & kArray) || CodigoDe(p.Tipo) != cTexto) return std::nullopt;
    return Texto8({p.Valor.constData() + prefixo, p.Valor.size() - prefixo}, false);
}

TFieldType TipoDoDescritor(std::uint32_t palavra, const QString& subtipo, const QString& campo, qint64 byte) {
    const int codigo = CodigoDe(palavra), tamanho = TamanhoDe(palavra);
    const bool variavel = palavra & kVariavel;
    const bool prefixoValido = variavel && (tamanho == 1 || tamanho == 2 || tamanho == 4);
    const QString st = subtipo.toLower();
    auto invalido = [&]() -> TFieldType {
        Falhar(QStringLiteral("tipo de campo inválido (%1) no campo '%2', byte %3").arg(Hex(palavra), campo).arg(byte));
    };
    if ((palavra & kArray) || (variavel && !prefixoValido)) return invalido();
    const bool composto = palavra & kPseudo;
    if (composto && codigo != cTabela && codigo != cAdt && codigo != cArray && codigo != cReferencia) return invalido();
    switch (codigo) {
    case cDesconhecido:
        return ftUnknown;
    case cInteiro:
        if (variavel) return invalido();
        switch (tamanho) {
        case 1: return ftShortint;
        case 2: return ftSmallint;
        case 4: return st == u"autoinc" ? ftAutoInc : ftInteger;
        case 8: return ftLargeint;
        default: return invalido();
        }
    case cSemSinal:
        if (variavel) return invalido();
        switch (tamanho) {
        case 1: return ftByte;
        case 2: return ftWord;
        case 4: return ftLongWord;
        case 8: return ftLargeUInt;
        default: return invalido();
        }
    case cBooleano:
        if (variavel || (tamanho != 1 && tamanho != 2 && tamanho != 4)) return invalido();
        return ftBoolean;
    case cFlutuante:
        if (variavel) return invalido();
        if (tamanho == 8) return st == u"money" ? ftCurrency : ftFloat;
        if (tamanho == 10) return ftExtended;
        return invalido();
    case cBcd:
    case cFmtBcd:
        if (variavel) return invalido();
        return codigo == cBcd ? ftBCD : ftFMTBcd;
    case cData:
    case cHora:
        if (variavel || tamanho != 4) return invalido();
        return codigo == cData ? ftDate : ftTime;
    case cDataHora:
        if (variavel || tamanho != 8) return invalido();
        return ftDateTime;
    case cTexto:
        if (!variavel) return invalido();
        if (st == u"fixedchar") return ftFixedChar;
        if (st == u"guid") return ftGuid;
        return ftString;
    case cTextoUnicode:
        if (!variavel) return invalido();
        return st == u"fixedchar" ? ftFixedWideChar : ftWideString;
    case cBytes:
        if (!variavel) return ftBytes;
        if (tamanho != 4) return ftVarBytes;
        if (st == u"text") return ftMemo;
        if (st == u"widetext") return ftWideMemo;
        if (st == u"formatted") return ftFmtMemo;
        if (st == u"graphics") return ftGraphic;
        if (st == u"typedbinary") return ftTypedBinary;
        return ftBlob;
    case cTabela:
        if (!composto) return invalido();
        return ftDataSet;
    case cAdt:
    case cArray:
    case cReferencia:
        Falhar(QStringLiteral("o campo '%1' é de um tipo composto (objeto, vetor ou referência), que não é suportado").arg(campo));
    case cDecimalGrande:
        if (!variavel) return invalido();
        return ftUnknown;
    case cSqlTimestamp:
        if (variavel || tamanho != 16) return invalido();
        return ftTimeStamp;
    case cSqlTimestampOffset:
        if (variavel || tamanho != 20) return invalido();
        return ftTimeStampOffset;
    case cSingle:
        if (variavel || tamanho != 4) return invalido();
        return ftSingle;
    default:
        Falhar(QStringLiteral("tipo de campo desconhecido (%1) no campo '%2', byte %3").arg(Hex(palavra), campo).arg(byte));
    }
}

class TLeitor {
public:
    explicit TLeitor(QByteArray bytes) : m_bytes(std::move(bytes)), m_c(m_bytes) {}

    TDadosPacote Ler();

private:
    void LerNivel(int descritores, TFieldDefs& defs, int profundidade, bool topo);
    TFieldDef LerDescritor(int numero);
    void ValidarRegistro(const TLayout& layout, const TFieldDefs& defs, qint64 registro, int profundidade);
    void ResolverRegistroDeAlteracoes(const TParametroPacote& log, const std::vector<qint64>& registros,
                                      const TLayout& layout, TDadosPacote& d);

    QByteArray m_bytes;
    TCursor m_c;
    TPacketParams m_params;
    std::optional<TParametroPacote> m_log;
};

TFieldDef TLeitor::LerDescritor(int numero) {
    const QString onde = QStringLiteral("campo %1").arg(numero);
    const qint64 inicio = m_c.Pos();
    const auto l = static_cast<int>(m_c.Inteiro(1, onde));
    if (l == 0) Falhar(QStringLiteral("nome de campo vazio no byte %1 (%2)").arg(inicio).arg(onde));
    const QString nome = DecodificarNome(QByteArrayView(m_c.Bytes(l, onde), l));
    const QString ondeNome = QStringLiteral("campo '%1'").arg(nome);
    const qint64 bytePalavra = m_c.Pos();
    const auto palavra = static_cast<std::uint32_t>(m_c.Inteiro(4, ondeNome));
    const auto atributos = static_cast<std::uint16_t>(m_c.Inteiro(2, ondeNome));
    const auto nParametros = static_cast<int>(m_c.Inteiro(2, ondeNome));

    QList<TParametroPacote> todos;
    for (int i = 0; i < nParametros; ++i) todos.append(LerParametro(m_c, ondeNome));
    int iSubtipo = -1, iLargura = -1, iDecimais = -1;
    QString subtipo;
    int largura = 0, decimais = 0;
    for (int i = 0; i < todos.size(); ++i) {
        const QByteArray n = todos[i].Nome.toUpper();
        if (n == "SUBTYPE" && iSubtipo < 0) {
            if (auto t = TextoDoParametro(todos[i])) { iSubtipo = i; subtipo = *t; }
        } else if (n == "WIDTH" && iLargura < 0) {
            if (auto v = InteiroDoParametro(todos[i])) { iLargura = i; largura = *v; }
        } else if (n == "DECIMALS" && iDecimais < 0) {
            if (auto v = InteiroDoParametro(todos[i])) { iDecimais = i; decimais = *v; }
        }
    }

    const TFieldType tipo = TipoDoDescritor(palavra, subtipo, nome, bytePalavra);
    TFieldDef def(nome, tipo);
    def.DefinirPalavraTipo(palavra);
    def.SetAttributes(atributos);
    def.SetSubType(subtipo);
    if (tipo == ftBytes) def.SetSize(TamanhoDe(palavra));

    // WIDTH and DECIMALS become the definition's size where they mean one;
    // elsewhere they stay among the parameters written back as they came.
    if (iLargura >= 0) {
        if (EhDecimal(tipo)) {
            def.SetPrecision(largura);
        } else if (EhTextoLargo(tipo)) {
            if (largura % 2 == 0) def.SetSize(largura / 2); else iLargura = -1;
        } else if (EhTexto8(tipo) || EhBlob(tipo) || tipo == ftVarBytes) {
            def.SetSize(largura);
        } else {
            iLargura = -1;
        }
    }
    if (iDecimais >= 0 && EhDecimal(tipo)) def.SetScale(decimais); else iDecimais = -1;
    QList<TParametroPacote> outros;
    for (int i = 0; i < todos.size(); ++i)
        if (i != iSubtipo && i != iLargura && i != iDecimais) outros.append(std::move(todos[i]));
    def.ParametrosExtras() = std::move(outros);
    return def;
}

void TLeitor::LerNivel(int descritores, TFieldDefs& defs, int profundidade, bool topo) {
    int lidos = 0;
    while (lidos < descritores) {
        TFieldDef def = LerDescritor(defs.Count() + 1);
        ++lidos;
        if (def.DataType() == ftDataSet) {
            const int abaixo = TamanhoDe(def.PalavraTipo());
            if (abaixo > descritores - lidos)
                Falhar(QStringLiteral("a tabela aninhada '%1' declara %2 campos, mais do que o pacote tem").arg(def.Name()).arg(abaixo));
            if (profundidade >= kProfundidadeMaxima)
                Falhar(QStringLiteral("tabelas aninhadas em mais de %1 níveis").arg(kProfundidadeMaxima));
            auto filhos = std::make_shared<TFieldDefs>();
            LerNivel(abaixo, *filhos, profundidade + 1, false);
            def.DefinirFilhos(std::move(filhos));
            lidos += abaixo;
        }
        defs.Add(std::move(def));
    }
    const QString onde = topo ? QStringLiteral("parâmetros do pacote") : QStringLiteral("parâmetros de tabela aninhada");
    const auto n = static_cast<int>(m_c.Inteiro(2, onde));
    for (int i = 0; i < n; ++i) {
        TParametroPacote p = LerParametro(m_c, onde);
        if (!topo) continue;
        if (p.Nome.compare("CHANGE_LOG", Qt::CaseInsensitive) == 0)
            m_log = std::move(p);
        else
            m_params.Set(std::move(p));
    }
}

// Checks that one record fits in the bytes left, and moves past it.
void TLeitor::ValidarRegistro(const TLayout& layout, const TFieldDefs& defs, qint64 registro, int profundidade) {
    const auto doRegistro = [&] { return QStringLiteral("registro %1").arg(registro); };
    m_c.Bytes(1, doRegistro);
    const int nb = BytesBrancos(layout.size());
    const auto* brancos = reinterpret_cast<const unsigned char*>(m_c.Bytes(nb, doRegistro));
    for (std::size_t k = 0; k < layout.size(); ++k) {
        if ((brancos[k >> 2] >> ((k & 3) * 2)) & 3) continue;
        const auto onde = [&] { return QStringLiteral("registro %1, campo '%2'").arg(registro).arg(defs[static_cast<int>(k)].Name()); };
        const TLayoutCampo& l = layout[k];
        switch (l.forma) {
        case TLayoutCampo::Fixo:
            m_c.Bytes(l.tamanho, onde);
            break;
        case TLayoutCampo::Variavel: {
            const qint64 byte = m_c.Pos();
            const auto n = m_c.Inteiro(static_cast<int>(l.tamanho), onde);
            if (l.tamanho == 4 && (n & 0x80000000u))
                Falhar(QStringLiteral("valor não incluído no arquivo no byte %1 (%2)").arg(byte).arg(onde()));
            m_c.Bytes(static_cast<qint64>(n), onde);
            break;
        }
        case TLayoutCampo::Aninhado: {
            const auto n = m_c.Inteiro(4, onde);
            if (n & 0x80000000u) break;
            const TFieldDefs& filhos = *defs[static_cast<int>(k)].Filhos();
            const qint64 minimo = 1 + BytesBrancos(l.filhos->size());
            if (static_cast<qint64>(n) > m_c.Restante() / minimo)
                Falhar(QStringLiteral("contagem de linhas aninhadas (%1) além do fim do arquivo no byte %2 (%3)").arg(n).arg(m_c.Pos() - 4).arg(onde()));
            for (std::uint64_t i = 0; i < n; ++i) ValidarRegistro(*l.filhos, filhos, static_cast<qint64>(i + 1), profundidade + 1);
            break;
        }
        }
    }
}

TDadosPacote TLeitor::Ler() {
    if (m_bytes.size() < 4 || LerSemSinal(m_bytes.constData(), 4) != kMagia)
        Falhar(QStringLiteral("não é um pacote de dados"));
    const QString cab = QStringLiteral("cabeçalho");
    m_c.Bytes(4, cab);
    const auto maior = static_cast<int>(m_c.Inteiro(2, cab));
    const auto menor = static_cast<int>(m_c.Inteiro(2, cab));
    if (maior > 3 || menor > 3) Falhar(QStringLiteral("versão %1.%2 do pacote não suportada").arg(maior).arg(menor));
    const auto tamanhoCabecalho = static_cast<qint64>(m_c.Inteiro(4, cab));
    const auto descritores = static_cast<int>(m_c.Inteiro(2, cab));
    const auto registros = static_cast<qint64>(m_c.Inteiro(4, cab));
    const auto propriedades = static_cast<std::uint32_t>(m_c.Inteiro(4, cab));
    const auto offsetDados = static_cast<qint64>(m_c.Inteiro(2, cab));
    if (tamanhoCabecalho < kTamanhoCabecalho || tamanhoCabecalho > m_bytes.size())
        Falhar(QStringLiteral("tamanho de cabeçalho inválido (%1)").arg(tamanhoCabecalho));
    if (descritores == 0) Falhar(QStringLiteral("o pacote não define nenhum campo"));
    m_c.Ir(tamanhoCabecalho);

    TDadosPacote d;
    LerNivel(descritores, d.campos, 0, true);
    if ((propriedades & kPropOffsetDados) && offsetDados != m_c.Pos())
        Falhar(QStringLiteral("início dos registros (byte %1) não confere com o fim dos campos (byte %2)").arg(offsetDados).arg(m_c.Pos()));

    const TLayout layout = LayoutDe(d.campos);
    const qint64 minimo = 1 + BytesBrancos(layout.size());
    if (registros > m_c.Restante() / minimo)
        Falhar(QStringLiteral("o cabeçalho declara %1 registros, mais do que cabe no arquivo").arg(registros));
    std::vector<qint64> todos;
    todos.reserve(static_cast<std::size_t>(registros));
    for (qint64 r = 0; r < registros; ++r) {
        todos.push_back(m_c.Pos());
        ValidarRegistro(layout, d.campos, r + 1, 0);
    }
    if (m_c.Restante() > 0)
        Falhar(QStringLiteral("%1 bytes a mais depois do último registro, a partir do byte %2").arg(m_c.Restante()).arg(m_c.Pos()));

    d.parametros = std::move(m_params);
    if (m_log) {
        ResolverRegistroDeAlteracoes(*m_log, todos, layout, d);
    } else {
        d.linhas.reserve(todos.size());
        for (qint64 o : todos)
            if (!(static_cast<unsigned char>(m_bytes.constData()[o]) & kStatusOculto)) d.linhas.push_back(o);
    }
    d.arena = std::move(m_bytes);
    return d;
}

// The change log pairs each modified record with its previous version. The
// current rows are the visible records, in the order of the first record of
// their chain; a field marked "not changed" takes its value from the nearest
// earlier version that stores it.
void TLeitor::ResolverRegistroDeAlteracoes(const TParametroPacote& log, const std::vector<qint64>& registros,
                                           const TLayout& layout, TDadosPacote& d) {
    const auto n = static_cast<qint64>(registros.size());
    const auto erro = [](const QString& detalhe) {
        Falhar(QStringLiteral("registro de alterações (CHANGE_LOG) inválido: %1").arg(detalhe));
    };
    if (!(log.Tipo & kArray) || TamanhoDe(log.Tipo) != 4) erro(QStringLiteral("tipo %1").arg(Hex(log.Tipo)));
    const auto elementos = static_cast<qint64>(LerSemSinal(log.Valor.constData(), 4));
    if (elementos % 3) erro(QStringLiteral("%1 números, que não formam trios").arg(elementos));

    std::vector<std::int32_t> anterior(static_cast<std::size_t>(n + 1), 0), proximo(static_cast<std::size_t>(n + 1), 0);
    for (qint64 i = 0; i < elementos; i += 3) {
        const char* e = log.Valor.constData() + 4 + 4 * i;
        const auto reg = static_cast<qint64>(LerSemSinal(e, 4));
        const auto ant = static_cast<qint64>(LerSemSinal(e + 4, 4));
        const auto acao = LerSemSinal(e + 8, 4);
        if (reg < 1 || reg > n) erro(QStringLiteral("aponta para o registro %1, que não existe").arg(reg));
        if (!(acao & kStatusModificado) || ant == 0) continue;
        if (ant < 1 || ant > n || ant == reg) erro(QStringLiteral("aponta para o registro %1, que não existe").arg(ant));
        if (anterior[reg] || proximo[ant]) erro(QStringLiteral("o registro %1 aparece em duas cadeias").arg(reg));
        anterior[reg] = static_cast<std::int32_t>(ant);
        proximo[ant] = static_cast<std::int32_t>(reg);
    }

    auto visivel = [&](qint64 r) { return !(static_cast<unsigned char>(m_bytes.constData()[registros[r - 1]]) & kStatusOculto); };
    const std::size_t f = layout.size();
    std::vector<TValor> atual(f), proprios(f);
    std::vector<std::int32_t> origem(static_cast<std::size_t>(n + 1), 0);
    std::vector<std::pair<std::int32_t, qint64>> linhas;  // (chain origin, offset; negative = rebuilt)
    QByteArray novos;
    for (qint64 o = 1; o <= n; ++o) {
        if (anterior[o]) continue;
        std::fill(atual.begin(), atual.end(), TValor{});
        for (qint64 r = o; r; r = proximo[r]) {
            origem[r] = static_cast<std::int32_t>(o);
            const char* reg = m_bytes.constData() + registros[r - 1];
            LocalizarValores(reg, layout, proprios.data());
            const auto* brancos = reinterpret_cast<const unsigned char*>(reg + 1);
            bool herdou = false;
            for (std::size_t k = 0; k < f; ++k) {
                const unsigned bits = (brancos[k >> 2] >> ((k & 3) * 2)) & 3;
                if (bits & 2) {
                    herdou = herdou || !atual[k].Nulo();
                } else {
                    atual[k] = proprios[k];
                }
            }
            if (!visivel(r)) continue;
            if (herdou) {
                linhas.emplace_back(static_cast<std::int32_t>(o), -1 - novos.size());
                AnexarRegistro(novos, layout, atual.data());
            } else {
                linhas.emplace_back(static_cast<std::int32_t>(o), registros[r - 1]);
            }
        }
    }
    for (qint64 r = 1; r <= n; ++r)
        if (!origem[r]) erro(QStringLiteral("a cadeia do registro %1 é circular").arg(r));

    std::stable_sort(linhas.begin(), linhas.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    const qint64 base = m_bytes.size();
    m_bytes.append(novos);
    d.linhas.reserve(linhas.size());
    for (const auto& [o, offset] : linhas) d.linhas.push_back(offset >= 0 ? offset : base + (-1 - offset));
    d.deRegistroDeAlteracoes = true;
}

}  // namespace

bool TLeitorPacoteBinario::Reconhece(QByteArrayView inicio) {
    return inicio.size() >= 4 && LerSemSinal(inicio.data(), 4) == kMagia;
}

TDadosPacote TLeitorPacoteBinario::Ler(QByteArray bytes) {
    try {
        return TLeitor(std::move(bytes)).Ler();
    } catch (const std::bad_alloc&) {
        throw EDBClient(QStringLiteral("memória insuficiente para ler o pacote"));
    }
}

}  // namespace vesko
