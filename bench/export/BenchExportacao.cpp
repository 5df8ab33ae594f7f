// A whole export of a large day of sales (by default 10,000 sales of 5 items
// and 3 document rows of 4, 16 and 40 KB, 2,000 checkout customers, 20,000
// event-log rows), put into a fresh POS database by the POS stand-in
// (tools/pdv-demo), measured three ways:
//  1. a baseline that only runs the sales selection and writes each sale's
//     header file (GetVendaHeader without items and payments, one fopen /
//     fwrite / fclose per sale): the rate the sales step is held against;
//  2. the export run in this process, through TExportacaoPDVBistrel::Exportar
//     (what `exportar` runs), with a hint sink that timestamps every text and
//     reads the process's commit counter: each step's time, the sales per
//     second, and the time spent in commits apart from the rest (target:
//     outside the commits the sales step reaches 0.7 of the baseline's rate);
//  3. `Quorvel_IntegradorVesko --home DIR exportar` as a child process on a
//     copy of the same database, its standard error sent to a file: the
//     whole run's wall time as the scheduler sees it.
//
//   bench_exportacao [--pequeno] [--vendas N] [--itens N] [--documentos KB,KB,...]
//                    [--clientes N] [--logs N] [--sem-filho] [--manter]
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <exception>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

#include "../ApoioBench.h"
#include "GeradorPdv.h"
#include "base/Excecoes.h"
#include "base/Hint.h"
#include "export/ExportacaoPDVBistrel.h"
#include "export/SelecaoVendas.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/ContagemConfirmacoes.h"
#include "firebird/ParametrosConexao.h"
#include "firebird/Query.h"
#include "platform/DiretorioPrograma.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"
#include "settings/IniFile.h"
#include "store/MetodosComuns.h"

extern char** environ;

using namespace vesko;

namespace {

using bench::CpuThread;
using bench::Parede;
using bench::TFilho;

// ---- options -------------------------------------------------------------------------

struct TOpcoes {
    int Vendas = 10000, Itens = 5, Clientes = 2000, Logs = 20000;
    QList<int> DocumentosKB{4, 16, 40};
    bool Filho = true, Manter = false;
};

bool LerOpcoes(const QStringList& args, TOpcoes& o) {
    if (args.contains(QStringLiteral("--pequeno"))) o.Vendas = 500, o.Clientes = 100, o.Logs = 1000;
    const std::map<QString, int*> inteiros{{QStringLiteral("--vendas"), &o.Vendas},
                                           {QStringLiteral("--itens"), &o.Itens},
                                           {QStringLiteral("--clientes"), &o.Clientes},
                                           {QStringLiteral("--logs"), &o.Logs}};
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--pequeno")) continue;
        if (args[i] == QLatin1String("--sem-filho")) {
            o.Filho = false;
            continue;
        }
        if (args[i] == QLatin1String("--manter")) {
            o.Manter = true;
            continue;
        }
        if (i + 1 >= args.size()) return false;
        const QString v = args[++i];
        if (args[i - 1] == QLatin1String("--documentos")) {
            o.DocumentosKB.clear();
            for (const QString& p : v.split(QLatin1Char(','), Qt::SkipEmptyParts)) o.DocumentosKB << p.toInt();
            continue;
        }
        const auto it = inteiros.find(args[i - 1]);
        bool ok = false;
        if (it == inteiros.end()) return false;
        *it->second = v.toInt(&ok);
        if (!ok || *it->second < 0) return false;
    }
    for (const int kb : o.DocumentosKB)
        if (kb < 1) return false;
    return o.Vendas > 0 && o.Itens > 0;
}

// ---- clocks ---------------------------------------------------------------------------

struct TMomento {
    double parede = 0, cpu = 0;
    TContagemConfirmacoes confirmacoes;
};

TMomento Agora() { return {Parede(), CpuThread(), ConfirmacoesDoProcesso()}; }

struct TIntervalo {
    double parede = 0, cpu = 0, commits = 0, commitsCpu = 0;
    std::uint64_t nCommits = 0;
};

TIntervalo Entre(const TMomento& a, const TMomento& b) {
    return {b.parede - a.parede, b.cpu - a.cpu, b.confirmacoes.Segundos - a.confirmacoes.Segundos,
            b.confirmacoes.SegundosCpu - a.confirmacoes.SegundosCpu,
            b.confirmacoes.Quantidade - a.confirmacoes.Quantidade};
}

QString Taxa(double n, double segundos) {
    return segundos > 0 ? QString::number(n / segundos, 'f', 0) : QStringLiteral("-");
}

void Linha(const char* formato, auto... valores) {
    std::printf(formato, valores...);
    std::fflush(stdout);
}

// A text for printf; the temporary lives to the end of the full expression.
#define U(s) (QString(s).toUtf8().constData())

// ---- the program folder and the child process --------------------------------------------

void EscreverConfiguracoes(const QString& home) {
    for (const char* d : {"base", "saida"}) QDir().mkpath(home + QLatin1Char('/') + QLatin1String(d));
    TIniFile ini(home + QStringLiteral("/Quorvel_IntegradorVesko.ini"));
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioExportacao"), home + QStringLiteral("/saida"));
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), home + QStringLiteral("/base"));
    ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("embutido"));
}

TFilho RodarIntegrador(const QStringList& args, const QString& arquivoErros) {
    return bench::RodarPrograma(VESKO_EXECUTAVEL_INTEGRADOR, args, arquivoErros);
}

qint64 TamanhoArquivos(const QString& pasta, int* quantos = nullptr) {
    qint64 total = 0;
    int n = 0;
    for (QDirIterator it(pasta, QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++n)
        total += QFileInfo(it.next()).size();
    if (quantos) *quantos = n;
    return total;
}

// ---- the hint sink --------------------------------------------------------------------

class THintCronometrado : public IHint {
public:
    struct TMarca {
        TMomento Quando;
        QString Texto;
    };
    THintCronometrado() { m_marcas.reserve(200000); }
    void DefinirHint(const QString& texto) override {
        m_marcas.push_back({Agora(), texto});
        m_atual = texto;
    }
    QString Hint() const override { return m_atual; }
    // The first mark whose text starts with `inicio`; `fim` when none.
    TMomento Marca(const QString& inicio, const TMomento& fim) const {
        for (const TMarca& m : m_marcas)
            if (m.Texto.startsWith(inicio)) return m.Quando;
        return fim;
    }

private:
    std::vector<TMarca> m_marcas;
    QString m_atual;
};

// ---- the baseline -----------------------------------------------------------------------

struct TLinhaDeBase {
    int Vendas = 0;
    TIntervalo Selecao, Total;
};

// The sales step's selection, with the values the step gives it.
auto SelecionarVendas(TConexaoFirebird& c) {
    TParams p;
    PreencherParametrosSelecaoVendas(p);
    return c.Consultar(SqlSelecaoVendas(), &p);
}

TLinhaDeBase LinhaDeBase(const QString& destino) {
    QDir().mkpath(destino);
    TConexaoFirebird c(TParametrosConexao::DoPrograma());
    c.Conectar();
    TLinhaDeBase r;
    // One read-only pass: no commit per sale.
    c.IniciarTransacao();
    const TMomento inicio = Agora();
    auto vendas = SelecionarVendas(c);
    r.Selecao = Entre(inicio, Agora());
    for (vendas->First(); !vendas->Eof(); vendas->Next()) {
        const TVendaHeader h = TMetodosComuns::GetVendaHeader(*vendas, nullptr, nullptr, 0, c);
        const QByteArray caminho = (destino + QStringLiteral("/HDoc%1.dat")
                                                  .arg(vendas->FieldByName(QStringLiteral("IDMOVIMENTO")).AsInteger()))
                                       .toLocal8Bit();
        FILE* f = std::fopen(caminho.constData(), "wb");
        if (!f) throw EInOutError(QStringLiteral("não foi possível gravar %1").arg(QString::fromLocal8Bit(caminho)));
        const QByteArray bytes = h.Bytes();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), f);
        std::fclose(f);
        ++r.Vendas;
    }
    r.Total = Entre(inicio, Agora());
    c.ReverterTransacao();
    c.Desconectar();
    return r;
}

// An extra yardstick, not the target's: the same selection and header, then
// the set of files the run writes per sale (header, items of `Itens`
// records, one file per document size) each under a temporary name, closed,
// renamed into place, and copied into a backup folder with one read and one
// write; plain stdio and rename, no statement per sale.
bool GravarStdio(const QByteArray& caminho, const QByteArray& bytes) {
    FILE* f = std::fopen(caminho.constData(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), f) ==
                    static_cast<size_t>(bytes.size());
    return std::fclose(f) == 0 && ok;
}

QByteArray LerStdio(const QByteArray& caminho) {
    QByteArray r;
    FILE* f = std::fopen(caminho.constData(), "rb");
    if (!f) return r;
    char bloco[65536];
    for (size_t n; (n = std::fread(bloco, 1, sizeof bloco, f)) > 0;) r.append(bloco, static_cast<qsizetype>(n));
    std::fclose(f);
    return r;
}

TLinhaDeBase LinhaDeBaseArquivos(const QString& destino, const TOpcoes& o) {
    const QString copias = destino + QStringLiteral("/Backups");
    QDir().mkpath(copias);
    QList<QByteArray> conteudos{QByteArray(o.Itens * TVendaItemRec::Tamanho, 'I')};
    for (const int kb : o.DocumentosKB) conteudos << QByteArray(kb * 1024, 'D');
    TConexaoFirebird c(TParametrosConexao::DoPrograma());
    c.Conectar();
    TLinhaDeBase r;
    c.IniciarTransacao();
    const TMomento inicio = Agora();
    auto vendas = SelecionarVendas(c);
    r.Selecao = Entre(inicio, Agora());
    for (vendas->First(); !vendas->Eof(); vendas->Next()) {
        const TVendaHeader h = TMetodosComuns::GetVendaHeader(*vendas, nullptr, nullptr, 0, c);
        const int id = vendas->FieldByName(QStringLiteral("IDMOVIMENTO")).AsInteger();
        QList<QByteArray> nomes;
        for (int k = 0; k <= conteudos.size(); ++k) {
            const QByteArray nome = QStringLiteral("/A%1_%2.dat").arg(k).arg(id).toLocal8Bit();
            const QByteArray temporario = (destino + QStringLiteral("/~")).toLocal8Bit() + nome.mid(1) + ".tmp";
            if (!GravarStdio(temporario, k == 0 ? h.Bytes() : conteudos[k - 1]))
                throw EInOutError(QStringLiteral("não foi possível gravar %1").arg(QString::fromLocal8Bit(temporario)));
            nomes << nome;
        }
        for (const QByteArray& nome : nomes)
            if (std::rename(((destino + QStringLiteral("/~")).toLocal8Bit() + nome.mid(1) + ".tmp").constData(),
                            (destino.toLocal8Bit() + nome).constData()) != 0)
                throw EInOutError(QStringLiteral("não foi possível renomear %1").arg(QString::fromLocal8Bit(nome)));
        for (const QByteArray& nome : nomes)
            if (!GravarStdio(copias.toLocal8Bit() + nome, LerStdio(destino.toLocal8Bit() + nome)))
                throw EInOutError(QStringLiteral("não foi possível copiar %1").arg(QString::fromLocal8Bit(nome)));
        ++r.Vendas;
    }
    r.Total = Entre(inicio, Agora());
    c.ReverterTransacao();
    c.Desconectar();
    return r;
}

// ---- the report -----------------------------------------------------------------------

// Wall clock first, the thread's CPU clock in parentheses.
void Intervalo(const char* nome, const TIntervalo& t, int n, const char* unidade) {
    Linha("  %-28s %8.2f s (%7.2f)  commits %6llu: %7.2f s (%6.2f)  %6d %-8s %6s/s (%6s/s)  fora dos commits "
          "%6s/s (%6s/s)\n",
          nome, t.parede, t.cpu, static_cast<unsigned long long>(t.nCommits), t.commits, t.commitsCpu, n, unidade,
          U(Taxa(n, t.parede)), U(Taxa(n, t.cpu)), U(Taxa(n, t.parede - t.commits)), U(Taxa(n, t.cpu - t.commitsCpu)));
}

int Executar(const TOpcoes& o) {
    QTemporaryDir raiz;
    raiz.setAutoRemove(!o.Manter);
    const QString home = raiz.path() + QStringLiteral("/integrador");
    const QString copia = raiz.path() + QStringLiteral("/filho");
    EscreverConfiguracoes(home);
    Linha("pasta: %s%s\n", U(raiz.path()), o.Manter ? " (mantida)" : "");

    // The database, as the POS installation hands it over, connected once
    // (the first connection's backup and schema check stay out of the runs).
    for (const QStringList& args : {QStringList{QStringLiteral("criar-base"), home + QStringLiteral("/base")},
                                    QStringList{QStringLiteral("conectar")}}) {
        const TFilho f = RodarIntegrador(QStringList{QStringLiteral("--home"), home} + args, home + QStringLiteral("/preparo.log"));
        if (f.Codigo != 0) {
            Linha("%s falhou (código %d)\n", U(args.first()), f.Codigo);
            return 1;
        }
    }

    // The day of sales.
    DefinirDiretorioPrograma(home);
    pdv::TOpcoesPdv g;
    g.Vendas = o.Vendas;
    g.ItensPorVenda = o.Itens;
    g.DocumentosKB = o.DocumentosKB;
    g.Canceladas = 0;
    g.NaoFiscais = 0;
    g.Clientes = o.Clientes;
    g.Logs = o.Logs;
    g.DocumentoCaixa = false;
    g.VendasPorTransacao = 500;
    double t = Parede();
    pdv::TResumoPdv resumo;
    {
        TConexaoFirebird c(TParametrosConexao::DoPrograma());
        c.Conectar();
        resumo = pdv::GerarMovimentoPdv(c, g);
        c.Desconectar();
    }
    const QString banco = CaminhoBancoDeDados(home + QStringLiteral("/base"));
    Linha("dados do PDV gravados em %.1f s; banco %.1f MiB:\n%s", Parede() - t, QFileInfo(banco).size() / 1048576.0,
          U(pdv::TextoResumo(resumo)));

    // 1. The baseline.
    const TLinhaDeBase base = LinhaDeBase(raiz.path() + QStringLiteral("/linha-de-base"));
    Linha("\nlinha de base (seleção das vendas + GetVendaHeader sem itens e recebimentos + fopen/fwrite/fclose):\n"
          "  seleção %.2f s; total %.2f s (CPU %.2f s): %d vendas, %s vendas/s\n",
          base.Selecao.parede, base.Total.parede, base.Total.cpu, base.Vendas, U(Taxa(base.Vendas, base.Total.parede)));

    const TLinhaDeBase baseArquivos = LinhaDeBaseArquivos(raiz.path() + QStringLiteral("/linha-de-base-arquivos"), o);
    Linha("extra, não é a meta (o mesmo, e por venda os %lld arquivos da execução com nome temporário, renomeados e "
          "copiados para Backups/):\n  total %.2f s (CPU %.2f s): %d vendas, %s vendas/s (%s/s CPU)\n",
          static_cast<long long>(o.DocumentosKB.size() + 2), baseArquivos.Total.parede, baseArquivos.Total.cpu, baseArquivos.Vendas,
          U(Taxa(baseArquivos.Vendas, baseArquivos.Total.parede)), U(Taxa(baseArquivos.Vendas, baseArquivos.Total.cpu)));

    // The copy for the child, taken before the run empties the queues.
    if (o.Filho) {
        EscreverConfiguracoes(copia);
        if (!QFile::copy(banco, CaminhoBancoDeDados(copia + QStringLiteral("/base")))) {
            Linha("não foi possível copiar o banco para o processo filho\n");
            return 1;
        }
    }

    // 2. The run in this process.
    THintCronometrado hint;
    bool primeira = false;
    const TMomento inicio = Agora();
    const bool completa = TExportacaoPDVBistrel::Exportar(hint, false, home + QStringLiteral("/saida"), primeira);
    const TMomento fim = Agora();
    const TMomento mLogs = hint.Marca(QStringLiteral("Recebendo logs"), fim);
    const TMomento mClientes = hint.Marca(QStringLiteral("Recebendo clientes"), fim);
    const TMomento mVendas = hint.Marca(QStringLiteral("Recebendo vendas"), fim);
    const TMomento mNaoFiscais = hint.Marca(QStringLiteral("Recebendo movimentos não fiscais"), fim);
    int arquivos = 0;
    const qint64 bytes = TamanhoArquivos(home + QStringLiteral("/saida"), &arquivos);
    Linha("\nexportação no processo (TExportacaoPDVBistrel::Exportar, dicas só com hora marcada): %s; %d arquivos, "
          "%.1f MiB (e a mesma quantidade em Backups/)\n",
          completa ? "completa" : "INCOMPLETA", arquivos, bytes / 1048576.0);
    Intervalo("conexão", Entre(inicio, mLogs), 0, "-");
    Intervalo("log de eventos (passo 2)", Entre(mLogs, mClientes), resumo.Logs, "linhas");
    Intervalo("clientes (passo 3)", Entre(mClientes, mVendas), resumo.ClientesComVenda + resumo.ClientesAlterados,
              "clientes");
    const TIntervalo vendas = Entre(mVendas, mNaoFiscais);
    Intervalo("vendas (passo 4)", vendas, resumo.Vendas, "vendas");
    Intervalo("passos 5 a 10 e desconexão", Entre(mNaoFiscais, fim), 0, "-");
    const TIntervalo total = Entre(inicio, fim);
    Intervalo("execução inteira", total, resumo.Vendas, "vendas");

    // Wall clock and CPU: on a shared machine the wall clock also measures the
    // other processes and the disk.
    const int n = std::max(1, resumo.Vendas);
    for (const bool cpu : {false, true}) {
        const double tBase = cpu ? base.Total.cpu : base.Total.parede;
        const double tFora = cpu ? vendas.cpu - vendas.commitsCpu : vendas.parede - vendas.commits;
        const double tCommits = cpu ? vendas.commitsCpu : vendas.commits;
        const double razao = tFora > 0 && tBase > 0 ? (n / tFora) / (base.Vendas / tBase) : 0;
        Linha("\n%s: vendas fora dos commits %.0f/s, linha de base %.0f/s: razão %.3f (meta >= 0,70: %s); por venda "
              "%.3f ms fora dos commits + %.3f ms no commit, linha de base %.3f ms\n",
              cpu ? "CPU da thread" : "relógio", n / tFora, base.Vendas / tBase, razao,
              razao >= 0.7 ? "atingida" : "NÃO atingida", 1000 * tFora / n, 1000 * tCommits / n,
              1000 * tBase / std::max(1, base.Vendas));
        const double tArquivos = cpu ? baseArquivos.Total.cpu : baseArquivos.Total.parede;
        const double razaoArquivos =
            tFora > 0 && tArquivos > 0 ? (n / tFora) / (baseArquivos.Vendas / tArquivos) : 0;
        Linha("  extra: contra a linha de base com os mesmos arquivos (%.3f ms por venda): razão %.3f\n",
              1000 * tArquivos / std::max(1, baseArquivos.Vendas), razaoArquivos);
    }
    DefinirDiretorioPrograma(QString());

    // 3. exportar as a child process, on the copy.
    if (o.Filho) {
        const TFilho f = RodarIntegrador({QStringLiteral("--home"), copia, QStringLiteral("exportar")},
                                         copia + QStringLiteral("/exportar.log"));
        int n = 0;
        const qint64 b = TamanhoArquivos(copia + QStringLiteral("/saida"), &n);
        Linha("\nexportar (processo filho, stderr em arquivo): código %d, %.2f s, %d arquivos (%.1f MiB), %s vendas/s "
              "na execução inteira\n",
              f.Codigo, f.Segundos, n, b / 1048576.0, U(Taxa(resumo.Vendas, f.Segundos)));
        if (f.Codigo != 0) return 1;
    }
    return completa ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        QStringList args = app.arguments();
        args.removeFirst();
        TOpcoes o;
        if (!LerOpcoes(args, o)) {
            std::fprintf(stderr,
                         "Uso: bench_exportacao [--pequeno] [--vendas N] [--itens N] [--documentos KB,KB,...] "
                         "[--clientes N]\n       [--logs N] [--sem-filho] [--manter]\n");
            return 2;
        }
        return Executar(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Erro: %s: %s\n", NomeClasseExcecao(e).toUtf8().constData(),
                     MensagemExcecao(e).toUtf8().constData());
        return 1;
    }
}
