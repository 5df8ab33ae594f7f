// A whole import of a large generated store, three ways:
//  1. `Quorvel_IntegradorVesko --home DIR importar` as a child process, its
//     standard error sent to a file: the run's wall time and the child's
//     peak memory (wait4, ru_maxrss), against twice the input files' size
//     plus 256 MiB;
//  2. the same import once more in this process, through
//     TImportacaoPDVBistrel::Importar with a hint sink that timestamps every
//     text: the rows per second of each step (a step ends at its "Salvando
//     ..." text; it holds the commit of the step before it), of the whole
//     run, and of ImportarProdutos from "Apagando produtos..." to its last
//     progress text, split into the products without and with a picture;
//  3. the bare client library writing the same PRODUTOS rows (read back
//     from the table, pictures taken from the file and fitted with the same
//     Redimencionar) with one prepared statement in one transaction, after
//     the same DELETE: the rate the products rewrite is held against (the
//     target for the products without a picture is 0.7 of the bare rate).
// Then the cost of one Criptografy, which every user of every import pays.
//
//   bench_importacao [--pequeno] [--produtos N] [--com-imagem N] [--codigos N]
//                    [--usuarios N] [--vendedores N] [--restricoes N]
//                    [--clientes N] [--catalogo N] [--senhas N] [--manter]
#include <firebird/Interface.h>

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

#include "../ApoioBench.h"
#include "GeradorRetaguarda.h"
#include "base/Excecoes.h"
#include "base/Hint.h"
#include "datapacket/ClientDataSet.h"
#include "firebird/ParametrosConexao.h"
#include "import/ImportacaoPDVBistrel.h"
#include "platform/DiretorioPrograma.h"
#include "settings/IniFile.h"
#include "store/Criptografia.h"
#include "store/ImagemProduto.h"

extern char** environ;

using namespace vesko;

namespace {

using bench::CpuThread;
using bench::Parede;
using bench::TFilho;

// ---- options -------------------------------------------------------------------------

struct TOpcoes {
    int Produtos = 50000, ComImagem = 10000, Codigos = 100000, Usuarios = 2000, Vendedores = 2000,
        Restricoes = 20000, Clientes = 30000, Catalogo = 20000, Senhas = 10;
    bool Manter = false;
};

void Pequeno(TOpcoes& o) {
    o.Produtos = 2000, o.ComImagem = 400, o.Codigos = 4000, o.Usuarios = 20, o.Vendedores = 20, o.Restricoes = 200,
    o.Clientes = 1000, o.Catalogo = 1200, o.Senhas = 3;
}

bool LerOpcoes(const QStringList& args, TOpcoes& o) {
    if (args.contains(QStringLiteral("--pequeno"))) Pequeno(o);
    const std::map<QString, int*> inteiros{
        {QStringLiteral("--produtos"), &o.Produtos},     {QStringLiteral("--com-imagem"), &o.ComImagem},
        {QStringLiteral("--codigos"), &o.Codigos},       {QStringLiteral("--usuarios"), &o.Usuarios},
        {QStringLiteral("--vendedores"), &o.Vendedores}, {QStringLiteral("--restricoes"), &o.Restricoes},
        {QStringLiteral("--clientes"), &o.Clientes},     {QStringLiteral("--catalogo"), &o.Catalogo},
        {QStringLiteral("--senhas"), &o.Senhas}};
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--pequeno")) continue;
        if (args[i] == QLatin1String("--manter")) {
            o.Manter = true;
            continue;
        }
        const auto it = inteiros.find(args[i]);
        bool ok = false;
        if (it == inteiros.end() || i + 1 >= args.size()) return false;
        *it->second = args[++i].toInt(&ok);
        if (!ok || *it->second < 0) return false;
    }
    return o.Produtos > 0 && o.Usuarios > 0;
}

// The generator's options for these sizes: codes and restrictions per
// product and per user; the catalogue rows spread over its six files.
retaguarda::TOpcoesGerador OpcoesGerador(const TOpcoes& o) {
    retaguarda::TOpcoesGerador g;
    g.Produtos = o.Produtos;
    g.ProdutosComImagem = o.ComImagem;
    g.LarguraImagem = 800;
    g.AlturaImagem = 600;
    g.Grupos = 40;
    g.CodigosPorProduto = std::max(1, (o.Codigos + o.Produtos - 1) / o.Produtos);
    g.Usuarios = o.Usuarios;
    g.Vendedores = o.Vendedores;
    g.RestricoesPorUsuario = std::max(0, (o.Restricoes + o.Usuarios - 1) / o.Usuarios);
    g.Clientes = o.Clientes;
    g.Catalogo = std::max(1, (o.Catalogo + 5) / 6);
    return g;
}

// ---- clocks ---------------------------------------------------------------------------

struct TTempo {
    double parede = 0, cpu = 0;
    TTempo operator-(const TTempo& o) const { return {parede - o.parede, cpu - o.cpu}; }
    TTempo& operator+=(const TTempo& o) {
        parede += o.parede, cpu += o.cpu;
        return *this;
    }
};

TTempo Agora() { return {Parede(), CpuThread()}; }

QString Taxa(double linhas, double segundos) {
    return segundos > 0 ? QString::number(linhas / segundos, 'f', 0) : QStringLiteral("-");
}

// ---- the program directory ------------------------------------------------------------

struct TLoja {
    QString Home, Entrada, Base;
};

TLoja PrepararLoja(const QString& raiz) {
    TLoja l{raiz, raiz + QStringLiteral("/entrada"), raiz + QStringLiteral("/base")};
    for (const QString& d : {l.Entrada, l.Base, raiz + QStringLiteral("/saida")}) QDir().mkpath(d);
    TIniFile ini(raiz + QStringLiteral("/Quorvel_IntegradorVesko.ini"));
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioImportacao"), l.Entrada);
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioExportacao"), raiz + QStringLiteral("/saida"));
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), l.Base);
    ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("embutido"));
    return l;
}

qint64 TamanhoArquivos(const QString& pasta) {
    qint64 total = 0;
    for (QDirIterator it(pasta, QDir::Files); it.hasNext();) total += QFileInfo(it.next()).size();
    return total;
}

// ---- the child process ----------------------------------------------------------------

TFilho RodarIntegrador(const QStringList& args, const QString& arquivoErros) {
    return bench::RodarPrograma(VESKO_EXECUTAVEL_INTEGRADOR, args, arquivoErros);
}

// ---- the hint sink --------------------------------------------------------------------

class THintCronometrado : public IHint {
public:
    struct TMarca {
        TTempo Quando;
        QString Texto;
        // A progress given by its parts, as the program's presenters take it
        // (they build only the texts they show).
        bool Progresso = false;
        QString Prefixo;
        int K = 0, N = 0;
    };
    THintCronometrado() { m_marcas.reserve(400000); }
    void DefinirHint(const QString& texto) override {
        m_marcas.push_back({Agora(), texto, false, QString(), 0, 0});
        m_atual = texto;
    }
    void DefinirProgresso(const QString& prefixo, int k, int n) override {
        m_marcas.push_back({Agora(), QString(), true, prefixo, k, n});
    }
    QString Hint() const override { return m_atual; }
    const std::vector<TMarca>& Marcas() const { return m_marcas; }

private:
    std::vector<TMarca> m_marcas;
    QString m_atual;
};

// "Importando arquivo de produtos (12 de 500 -> 2,40%)..." -> prefix, k, N.
struct TProgresso {
    QString Prefixo;
    int k = 0, N = 0;
};

bool LerProgresso(const QString& texto, TProgresso& p);

bool LerProgresso(const THintCronometrado::TMarca& m, TProgresso& p) {
    if (!m.Progresso) return LerProgresso(m.Texto, p);
    p = {m.Prefixo.toLower(), m.K, m.N};
    return true;
}

bool LerProgresso(const QString& texto, TProgresso& p) {
    static const QRegularExpression re(QStringLiteral("^(.*)\\((\\d+) de (\\d+) ->"));
    if (!texto.endsWith(QLatin1String("%)..."))) return false;
    const QRegularExpressionMatch m = re.match(texto);
    if (!m.hasMatch()) return false;
    p = {m.captured(1).toLower(), m.captured(2).toInt(), m.captured(3).toInt()};
    return true;
}

// ---- the products file ---------------------------------------------------------------

// IdDetalhe of each product in file order, and the pictures by IdDetalhe.
struct TArquivosProdutos {
    QStringList IdsDetalhe;
    QHash<QString, QByteArray> Imagens;
    qint64 BytesImagens = 0;
};

TArquivosProdutos LerArquivosProdutos(const QString& entrada) {
    TArquivosProdutos a;
    TClientDataSet produtos;
    produtos.LoadFromFile(entrada + QStringLiteral("/Produtos.dat"));
    TField& id = produtos.FieldByName(QStringLiteral("IdDetalhe"));
    for (produtos.First(); !produtos.Eof(); produtos.Next()) a.IdsDetalhe << id.AsString();
    TClientDataSet imagens;
    imagens.LoadFromFile(entrada + QStringLiteral("/ImagensProdutos.dat"));
    TField& idImagem = imagens.FieldByName(QStringLiteral("IdDetalhe"));
    TField& imagem = imagens.FieldByName(QStringLiteral("Imagem"));
    for (imagens.First(); !imagens.Eof(); imagens.Next()) {
        const QByteArray bytes = imagem.AsBytes();
        if (!a.Imagens.contains(idImagem.AsString())) a.Imagens.insert(idImagem.AsString(), bytes);
        a.BytesImagens += bytes.size();
    }
    return a;
}

// ---- what the in-process run gave -------------------------------------------------------

struct TPassoMedido {
    QString Nome;
    TTempo Tempo;
    int Linhas = 0;
};

struct TProdutosMedidos {
    TTempo Delete, SemImagem, ComImagem, Total;
    int NSem = 0, NCom = 0;
    bool Achou = false;
};

std::vector<TPassoMedido> MedirPassos(const std::vector<THintCronometrado::TMarca>& marcas, TTempo inicio,
                                      TTempo fim) {
    std::vector<TPassoMedido> passos;
    TTempo anterior = inicio;
    std::map<QString, int> totais;
    const auto fechar = [&](const QString& nome, TTempo quando) {
        int linhas = 0;
        for (const auto& [prefixo, n] : totais) linhas += n;
        passos.push_back({nome, quando - anterior, linhas});
        totais.clear();
        anterior = quando;
    };
    for (const auto& m : marcas) {
        TProgresso p;
        if (LerProgresso(m, p)) totais[p.Prefixo] = std::max(totais[p.Prefixo], p.N);
        if (m.Texto.startsWith(QLatin1String("Salvando "))) fechar(m.Texto, m.Quando);
    }
    fechar(QStringLiteral("(fim: data da última atualização, registro de sucesso)"), fim);
    return passos;
}

// The steps that show no per-record progress: their rows are the records
// of the file they write.
void ContarSemProgresso(std::vector<TPassoMedido>& passos, const QString& entrada) {
    const std::map<QString, const char*> arquivos{
        {QStringLiteral("Salvando características no banco de dados..."), "Caracteristicas.dat"},
        {QStringLiteral("Salvando características dos produtos no banco de dados..."), "ProdutoCaracteristicas.dat"},
        {QStringLiteral("Salvando composição de produtos no banco de dados..."), "ProdutoComposicao.dat"}};
    for (TPassoMedido& p : passos) {
        const auto it = arquivos.find(p.Nome);
        if (p.Linhas > 0 || it == arquivos.end()) continue;
        TClientDataSet ds;
        ds.LoadFromFile(entrada + QLatin1Char('/') + QString::fromLatin1(it->second));
        p.Linhas = static_cast<int>(ds.RecordCount());
    }
}

TProdutosMedidos MedirProdutos(const std::vector<THintCronometrado::TMarca>& marcas, const TArquivosProdutos& a) {
    TProdutosMedidos r;
    size_t i = 0;
    while (i < marcas.size() && marcas[i].Texto != QLatin1String("Apagando produtos...")) ++i;
    if (i == marcas.size()) return r;
    const TTempo apagando = marcas[i].Quando;
    const QString prefixo = QStringLiteral("importando arquivo de produtos ");
    TTempo anterior{};
    int registro = -1;  // the first text comes before the first record
    for (++i; i < marcas.size(); ++i) {
        TProgresso p;
        if (!LerProgresso(marcas[i], p) || p.Prefixo != prefixo) {
            if (registro >= 0) break;  // past the rewrite
            continue;
        }
        const TTempo t = marcas[i].Quando;
        if (registro < 0) {
            r.Delete = t - apagando;
        } else if (registro < a.IdsDetalhe.size()) {
            const bool comImagem = a.Imagens.contains(a.IdsDetalhe[registro]);
            (comImagem ? r.ComImagem : r.SemImagem) += t - anterior;
            ++(comImagem ? r.NCom : r.NSem);
        }
        anterior = t;
        ++registro;
        r.Total = t - apagando;
    }
    r.Achou = registro > 0;
    return r;
}

// ---- the bare client loop -------------------------------------------------------------

const char* const kColunasProduto =
    "IDPRODUTO, IDDETALHE, IDGRUPO, CDPRODUTO, DSPRODUTO, DSCURTA, STINSUMO, VLVENDA, STIMPRIMECOMANDA, "
    "ST_CONTROLA_SERVIDO, STATIVO, UNIDADE, TPTRIBUTACAO, ALTRIBUTACAO, ST1, STDESCCOMPLEMENTAR, CDSITTRIB, "
    "ALCARGATRIBUTARIA, CSOSN, NCM, ALCTFEDNAC, ALCTFEDIMP, ALCTEST, ALCTMUN, CDSITTRIBPIS, CDSITTRIBCOFINS, ALPIS, "
    "ALCOFINS, NATUREZAOPERACAO, ORIGEMMERCADORIA, CEST, CFOP, STPESADO, STBALANCA, STUNITARIO, STPRODUTOCOMPOSTO, "
    "IMAGEM, FTCONVUNIDTRIBUTARIA, TPUNIDTRIBUTARIA";
constexpr unsigned kColunaIdDetalhe = 1, kColunaImagem = 36, kColunas = 39;

struct TDireto {
    TTempo Delete, SemImagem, ComImagem, Commit;
    double Redimensionar = 0;  // wall seconds in Redimencionar
    int NSem = 0, NCom = 0;
};

class TClienteDireto {
public:
    explicit TClienteDireto(const QString& banco) : m_master(Firebird::fb_get_master_interface()),
                                                    m_st(m_master->getStatus()) {
        Firebird::IUtil* u = m_master->getUtilInterface();
        Firebird::IXpbBuilder* dpb = u->getXpbBuilder(&m_st, Firebird::IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&m_st, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&m_st, isc_dpb_lc_ctype, "WIN1252");
        dpb->insertString(&m_st, isc_dpb_config, "Providers=Engine12");
        const QByteArray caminho = banco.toLocal8Bit();
        m_att = m_master->getDispatcher()->attachDatabase(&m_st, caminho.constData(), dpb->getBufferLength(&m_st),
                                                          dpb->getBuffer(&m_st));
        dpb->dispose();
        Verificar();
    }
    ~TClienteDireto() {
        if (m_att) m_att->detach(&m_st);
        m_st.dispose();
    }

    // The same DELETE, then the rows read back from PRODUTOS, each with its
    // file picture fitted by Redimencionar, in one transaction.
    TDireto Escrever(const TArquivosProdutos& a) {
        using namespace Firebird;
        const QByteArray insert = QByteArrayLiteral("INSERT INTO PRODUTOS (") + kColunasProduto +
                                  QByteArrayLiteral(") VALUES (?") + QByteArray(kColunas - 1, ',').replace(",", ", ?") +
                                  QByteArrayLiteral(")");
        const QByteArray select = QByteArrayLiteral("SELECT ") + kColunasProduto + QByteArrayLiteral(" FROM PRODUTOS");
        ITransaction* tra = m_att->startTransaction(&m_st, 0, nullptr);
        Verificar();
        IStatement* stmt = m_att->prepare(&m_st, tra, 0, insert.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
        Verificar();
        IMessageMetadata* meta = stmt->getInputMetadata(&m_st);
        const unsigned tamanho = meta->getMessageLength(&m_st);
        const unsigned offImagem = meta->getOffset(&m_st, kColunaImagem),
                       nulImagem = meta->getNullOffset(&m_st, kColunaImagem);

        // The rows as they stand, in the insert's own message layout.
        std::vector<std::vector<unsigned char>> linhas;
        IResultSet* rs = m_att->openCursor(&m_st, tra, 0, select.constData(), 3, nullptr, nullptr, meta, nullptr, 0);
        Verificar();
        std::vector<unsigned char> buf(tamanho + 8);
        while (rs->fetchNext(&m_st, buf.data()) == IStatus::RESULT_OK) linhas.emplace_back(buf.begin(), buf.end());
        Verificar();
        rs->close(&m_st);
        tra->commit(&m_st);
        Verificar();

        TDireto r;
        tra = m_att->startTransaction(&m_st, 0, nullptr);
        stmt->free(&m_st);
        stmt = m_att->prepare(&m_st, tra, 0, insert.constData(), 3, IStatement::PREPARE_PREFETCH_METADATA);
        Verificar();
        TTempo t = Agora();
        m_att->execute(&m_st, tra, 0, "DELETE FROM PRODUTOS", 3, nullptr, nullptr, nullptr, nullptr);
        Verificar();
        r.Delete = Agora() - t;
        // One clock reading per row, as the hint sink of the import takes.
        TTempo anterior = Agora();
        for (auto& linha : linhas) {
            unsigned char* b = linha.data();
            const QByteArray* original = nullptr;
            if (const auto it = a.Imagens.constFind(IdDetalhe(meta, b)); it != a.Imagens.constEnd()) original = &it.value();
            *reinterpret_cast<short*>(b + nulImagem) = original ? 0 : -1;
            if (original) {
                QByteArray imagem = *original;
                const double r0 = Parede();
                try {
                    TImagemProduto::Redimencionar(imagem, 200, 150);
                } catch (const Exception&) {
                    imagem = *original;
                }
                r.Redimensionar += Parede() - r0;
                ISC_QUAD id{};
                IBlob* blob = m_att->createBlob(&m_st, tra, &id, 0, nullptr);
                Verificar();
                for (qsizetype p = 0; p < imagem.size(); p += 32768)
                    blob->putSegment(&m_st, static_cast<unsigned>(std::min<qsizetype>(32768, imagem.size() - p)),
                                     imagem.constData() + p);
                blob->close(&m_st);
                Verificar();
                std::memcpy(b + offImagem, &id, sizeof id);
            }
            stmt->execute(&m_st, tra, meta, b, nullptr, nullptr);
            Verificar();
            const TTempo agora = Agora();
            (original ? r.ComImagem : r.SemImagem) += agora - anterior;
            anterior = agora;
            ++(original ? r.NCom : r.NSem);
        }
        t = Agora();
        tra->commit(&m_st);
        Verificar();
        r.Commit = Agora() - t;
        meta->release();
        stmt->free(&m_st);
        return r;
    }

private:
    QString IdDetalhe(Firebird::IMessageMetadata* meta, const unsigned char* b) {
        const unsigned off = meta->getOffset(&m_st, kColunaIdDetalhe);
        if (*reinterpret_cast<const short*>(b + meta->getNullOffset(&m_st, kColunaIdDetalhe))) return QString();
        switch (meta->getType(&m_st, kColunaIdDetalhe) & ~1u) {
            case SQL_VARYING: {
                const auto n = *reinterpret_cast<const unsigned short*>(b + off);
                return QString::fromLatin1(reinterpret_cast<const char*>(b + off + 2), n);
            }
            case SQL_LONG: return QString::number(*reinterpret_cast<const ISC_LONG*>(b + off));
            case SQL_INT64: return QString::number(*reinterpret_cast<const ISC_INT64*>(b + off));
            default: return QString();
        }
    }

    void Verificar() {
        if (!(m_st.getState() & Firebird::IStatus::STATE_ERRORS)) return;
        char texto[1024];
        m_master->getUtilInterface()->formatStatus(texto, sizeof texto, &m_st);
        throw Exception(QStringLiteral("cliente Firebird: ") + QString::fromLocal8Bit(texto));
    }

    Firebird::IMaster* m_master;
    Firebird::CheckStatusWrapper m_st;
    Firebird::IAttachment* m_att = nullptr;
};

// ---- the report -----------------------------------------------------------------------

void Linha(const char* formato, auto... valores) {
    std::printf(formato, valores...);
    std::fflush(stdout);
}

// A text for printf; the temporary lives to the end of the full expression.
#define U(s) (QString(s).toUtf8().constData())

// A step's name padded to a column (by characters, not bytes).
#define NOME(s) U(QString(s).leftJustified(62, QLatin1Char(' '), true))

int Executar(const TOpcoes& o) {
    QTemporaryDir raiz;
    raiz.setAutoRemove(!o.Manter);
    const TLoja loja = PrepararLoja(raiz.path());
    Linha("pasta do programa: %s%s\n", U(loja.Home), o.Manter ? " (mantida)" : "");

    // The store.
    const retaguarda::TOpcoesGerador g = OpcoesGerador(o);
    TTempo t = Agora();
    retaguarda::GerarRetaguarda(loja.Entrada, g);
    const qint64 entrada = TamanhoArquivos(loja.Entrada);
    const TArquivosProdutos arquivos = LerArquivosProdutos(loja.Entrada);
    qint64 menor = std::numeric_limits<qint64>::max(), maior = 0;
    for (const QByteArray& b : arquivos.Imagens) menor = std::min<qint64>(menor, b.size()), maior = std::max<qint64>(maior, b.size());
    Linha("loja gerada em %.1f s: %d produtos (%lld com imagem JPEG %dx%d, %lld a %lld KB), %d códigos por produto, "
          "%d usuários com %d restrições cada, %d garçons, %d clientes, %d linhas em cada um dos 6 arquivos do "
          "cardápio; arquivos de entrada: %.1f MiB\n",
          (Agora() - t).parede, g.Produtos, static_cast<long long>(arquivos.Imagens.size()), g.LarguraImagem,
          g.AlturaImagem, static_cast<long long>(arquivos.Imagens.isEmpty() ? 0 : menor / 1024),
          static_cast<long long>(maior / 1024), g.CodigosPorProduto, g.Usuarios, g.RestricoesPorUsuario,
          g.Vendedores, g.Clientes, g.Catalogo, entrada / 1048576.0);

    const TFilho base = RodarIntegrador({QStringLiteral("--home"), loja.Home, QStringLiteral("criar-base"), loja.Base},
                                        loja.Home + QStringLiteral("/criar-base.log"));
    if (base.Codigo != 0) {
        Linha("criar-base falhou (código %d)\n", base.Codigo);
        return 1;
    }

    // 1. importar as a child process.
    const TFilho filho = RodarIntegrador({QStringLiteral("--home"), loja.Home, QStringLiteral("importar")},
                                         loja.Home + QStringLiteral("/importar.log"));
    const double limiteMiB = 2.0 * entrada / 1048576.0 + 256;
    Linha("\nimportar (processo filho, stderr em arquivo): código %d, %.1f s, pico de memória %.1f MiB "
          "(limite 2 x entrada + 256 MiB = %.1f MiB: %s)\n",
          filho.Codigo, filho.Segundos, filho.PicoKiB / 1024.0, limiteMiB,
          filho.PicoKiB / 1024.0 <= limiteMiB ? "dentro" : "ACIMA");
    if (filho.Codigo != 0) return 1;

    // 2. the same import in this process, every hint timestamped.
    DefinirDiretorioPrograma(loja.Home);
    THintCronometrado hint;
    bool primeira = true;
    const TTempo inicio = Agora();
    const bool sucesso = TImportacaoPDVBistrel::Importar(hint, loja.Entrada, primeira);
    const TTempo fim = Agora();
    if (!sucesso) {
        Linha("a importação no processo falhou\n");
        return 1;
    }
    std::vector<TPassoMedido> passos = MedirPassos(hint.Marcas(), inicio, fim);
    ContarSemProgresso(passos, loja.Entrada);
    int linhasTotal = 0;
    Linha("\nimportação no processo, por passo (relógio; CPU da thread entre parênteses):\n");
    for (const TPassoMedido& p : passos) {
        linhasTotal += p.Linhas;
        Linha("  %s %8.2f s (%8.2f s) %7d linhas %8s linhas/s\n", NOME(p.Nome), p.Tempo.parede, p.Tempo.cpu, p.Linhas,
              U(Taxa(p.Linhas, p.Tempo.parede)));
    }
    const TTempo total = fim - inicio;
    Linha("  %s %8.2f s (%8.2f s) %7d linhas %8s linhas/s\n", NOME(QStringLiteral("execução inteira")), total.parede, total.cpu,
          linhasTotal, U(Taxa(linhasTotal, total.parede)));
    Linha("  %s %8.2f s            %7d linhas %8s linhas/s\n", NOME(QStringLiteral("processo filho (importar), só relógio")), filho.Segundos,
          linhasTotal, U(Taxa(linhasTotal, filho.Segundos)));

    // 3. the bare client on the same rows.
    const TProdutosMedidos im = MedirProdutos(hint.Marcas(), arquivos);
    if (!im.Achou) {
        Linha("os textos de progresso dos produtos não foram encontrados\n");
        return 1;
    }
    const TDireto d = TClienteDireto(CaminhoBancoDeDados(loja.Base)).Escrever(arquivos);
    const auto comparar = [](const char* nome, int n, TTempo imp, int nd, TTempo dir) {
        Linha("  %-22s importação %6d em %7.2f s (%7.2f s CPU) = %7s/s (%7s/s CPU); cliente direto %6d em %7.2f s "
              "(%7.2f s CPU) = %7s/s (%7s/s CPU); razão %.2f (CPU %.2f)\n",
              nome, n, imp.parede, imp.cpu, U(Taxa(n, imp.parede)), U(Taxa(n, imp.cpu)), nd, dir.parede, dir.cpu,
              U(Taxa(nd, dir.parede)), U(Taxa(nd, dir.cpu)), imp.parede > 0 ? dir.parede / imp.parede : 0,
              imp.cpu > 0 ? dir.cpu / imp.cpu : 0);
    };
    Linha("\nImportarProdutos, de \"Apagando produtos...\" ao último progresso, contra o cliente direto "
          "(um comando preparado, uma transação; razão = taxa da importação / taxa direta):\n");
    Linha("  DELETE FROM PRODUTOS: importação %.2f s, cliente direto %.2f s\n", im.Delete.parede, d.Delete.parede);
    comparar("sem imagem:", im.NSem, im.SemImagem, d.NSem, d.SemImagem);
    comparar("com imagem:", im.NCom, im.ComImagem, d.NCom, d.ComImagem);
    TTempo dTotal = d.Delete;
    dTotal += d.SemImagem;
    dTotal += d.ComImagem;
    comparar("tudo (com o DELETE):", im.NSem + im.NCom, im.Total, d.NSem + d.NCom, dTotal);
    const double razaoSem = im.SemImagem.parede > 0 ? (d.SemImagem.parede / d.NSem) / (im.SemImagem.parede / im.NSem) : 0;
    const double razaoSemCpu = im.SemImagem.cpu > 0 ? (d.SemImagem.cpu / d.NSem) / (im.SemImagem.cpu / im.NSem) : 0;
    // Judged on the thread's CPU time: the wall clock of a shared machine
    // measures the other processes and the disk as much as the import.
    Linha("  meta sem imagem (razão de CPU >= 0,70): CPU %.2f: %s (relógio %.2f, só informativo)\n", razaoSemCpu,
          razaoSemCpu >= 0.7 ? "atingida" : "NÃO atingida", razaoSem);
    if (d.NCom > 0)
        Linha("  Redimencionar: %.2f ms por imagem (no laço direto); com imagem, por produto: importação %.2f ms, "
              "direto %.2f ms\n",
              1000 * d.Redimensionar / d.NCom, 1000 * im.ComImagem.parede / std::max(1, im.NCom),
              1000 * d.ComImagem.parede / d.NCom);
    Linha("  commit do laço direto: %.2f s\n", d.Commit.parede);

    // 4. Criptografy, once per user of every import.
    t = Agora();
    for (int i = 0; i < o.Senhas; ++i) Criptografy(QStringLiteral("%1").arg(1000 + i));
    const TTempo c = Agora() - t;
    const double porUsuario = c.parede / std::max(1, o.Senhas);
    Linha("\nCriptografy: %.1f ms por usuário (média de %d; CPU %.1f ms); %d usuários: %.1f s por importação\n",
          1000 * porUsuario, o.Senhas, 1000 * c.cpu / std::max(1, o.Senhas), g.Usuarios, porUsuario * g.Usuarios);
    DefinirDiretorioPrograma(QString());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);  // the generator draws the pictures with Qt Gui
        QStringList args = app.arguments();
        args.removeFirst();
        TOpcoes o;
        if (!LerOpcoes(args, o)) {
            std::fprintf(stderr,
                         "Uso: bench_importacao [--pequeno] [--produtos N] [--com-imagem N] [--codigos N] "
                         "[--usuarios N]\n       [--vendedores N] [--restricoes N] [--clientes N] [--catalogo N] "
                         "[--senhas N] [--manter]\n");
            return 2;
        }
        return Executar(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Erro: %s: %s\n", NomeClasseExcecao(e).toUtf8().constData(),
                     MensagemExcecao(e).toUtf8().constData());
        return 1;
    }
}
