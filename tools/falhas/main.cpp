// vesko-falhas: kills imports and exports of a generated store at random
// moments and checks after each kill that nothing was lost.
//
//   vesko-falhas PASTA [--mortes N] [--semente N] [--servidor HOST/PORTA --senha S]
//
// PASTA is emptied and becomes the program folder (settings file, POS
// database, import and export directories). The database is opened through
// the embedded engine, or with --servidor through a Firebird server (as
// SYSDBA with the password S), the way a store reaches the POS's server: a
// kill then ends a client, not the engine. Imports alternate the
// back-office sets A and B; before each export the POS stand-in adds work.
// After each kill: every import table holds exactly set A's rows or set B's
// (the delivery statuses may be partial until the next run), no row left the
// POS database without its complete file in the export directory, every
// audit day file loads, and the next run succeeds. The last line gives the
// counts; the exit status is 1 on any violation, 2 when the test could not run.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <deque>
#include <exception>
#include <random>
#include <set>
#include <vector>

#include "ConferenciaExportacao.h"
#include "ExecucaoFilho.h"
#include "FotoBanco.h"
#include "audit/LeituraAuditoria.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;
using namespace vesko::falhas;

namespace {

void Linha(const QString& s) {
    std::printf("%s\n", s.toUtf8().constData());
    std::fflush(stdout);
}

struct TErroPreparo : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void Falhar(const QString& s) { throw TErroPreparo(s.toStdString()); }

// How long a complete run of one kind takes: the median of the last few, so
// one run slowed by a busy machine does not stretch the window the kills are
// drawn from (with the longest run as the window, most runs ended before
// their kill once the machine had been busy for a moment).
class TDuracoes {
public:
    void Anotar(qint64 ms) {
        m_ultimas.push_back(ms);
        if (m_ultimas.size() > 7) m_ultimas.pop_front();
    }
    qint64 Tipica() const {
        if (m_ultimas.empty()) return 0;
        std::vector<qint64> v(m_ultimas.begin(), m_ultimas.end());
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    }

private:
    std::deque<qint64> m_ultimas;
};

class TTesteFalhas {
public:
    TTesteFalhas(const QString& pasta, std::uint32_t semente, const QString& servidor, const QString& senha,
                 const QString& travasFilhos)
        : m_pasta(QDir(pasta).absolutePath()), m_bin(QCoreApplication::applicationDirPath()),
          m_servidor(servidor), m_senha(senha), m_travasFilhos(travasFilhos),
          m_exportacao(m_pasta + QStringLiteral("/saida/")), m_rng(semente) {}

    void Preparar();
    void Rodar(int mortes);
    bool Violou() const { return m_violacoes > 0; }
    QString Contagem() const {
        return QStringLiteral("mortes=%1 checagens=%2 violacoes=%3 duplicatas=%4 conjuntos-parciais=%5 "
                              "concluidas-antes=%6 travamentos=%7")
            .arg(m_mortes).arg(m_checagens).arg(m_violacoes).arg(m_exportacao.Duplicatas())
            .arg(m_exportacao.ConjuntosParciais()).arg(m_concluidas).arg(m_travamentos);
    }

private:
    QString Caminho(const QString& nome) const { return m_pasta + QLatin1Char('/') + nome; }
    QString Banco() const { return Caminho(QStringLiteral("base/VESKO.GDB")); }
    TResultadoFilho Programa(const QStringList& args, int matarAposMs = -1);
    TResultadoFilho ExecutarComRetomada(const QString& programa, const QStringList& args, int matarAposMs);
    void Ferramenta(const QString& nome, const QStringList& args);
    void CopiarConjunto(int variante);
    void Violacao(const QString& s);
    void ImportarCompleto(int variante, const QString& contexto);
    void ExportarCompleto(const QString& contexto);
    void ConferirImportacao(int variante, bool aposMorte, const QString& contexto);
    void ConferirExportacao(const TFotoExportacao& antes, const QString& contexto);
    void ConferirAuditoria(const QString& contexto);
    void RodadaImportacao(int n);
    void RodadaExportacao(int n);
    int Atraso(const TDuracoes& d) { return std::uniform_int_distribution<int>(0, int(d.Tipica()))(m_rng); }

    bool Embutido() const { return m_servidor.isEmpty(); }

    QString m_pasta, m_bin, m_servidor, m_senha, m_travasFilhos;
    TConferenciaExportacao m_exportacao;
    std::mt19937 m_rng;
    TFotoImportacao m_ref[2];
    int m_variante = 0;  // the set the database holds
    TDuracoes m_duracaoImportacao, m_duracaoExportacao;
    int m_mortes = 0, m_checagens = 0, m_violacoes = 0, m_concluidas = 0, m_travamentos = 0, m_semente = 1000;
    std::set<QString> m_faltasVistas;
};

TResultadoFilho TTesteFalhas::Programa(const QStringList& args, int matarAposMs) {
    return ExecutarComRetomada(m_bin + QStringLiteral("/src/app/Quorvel_IntegradorVesko"),
                               QStringList{QStringLiteral("--home"), m_pasta} + args, matarAposMs);
}

// A child that does not end within its time limit is counted as hung and run
// again once. With the lock directories of Principal no hang is expected; if
// one still happens, the trace area (the one shared-memory mutex every engine
// of the directory takes at its start, see Principal) is removed first (the
// next engine makes a new one; the lock tables stay).
TResultadoFilho TTesteFalhas::ExecutarComRetomada(const QString& programa, const QStringList& args, int matarAposMs) {
    for (int tentativa = 0;; ++tentativa) {
        if (Embutido() && !EsperarBancoLivre(Banco()))
            Falhar(QStringLiteral("o banco continua aberto por outro processo"));
        const TResultadoFilho r = ExecutarFilho(programa, args, Caminho(QStringLiteral("filhos.log")), matarAposMs);
        if (!r.Travado || tentativa == 1) return r;
        ++m_travamentos;
        Linha(QStringLiteral("TRAVAMENTO %1 %2: não terminou em %3 ms%4")
                  .arg(QFileInfo(programa).fileName(), args.join(QLatin1Char(' '))).arg(r.Duracao)
                  .arg(Embutido() ? QStringLiteral("; área de rastreamento refeita") : QString()));
        if (Embutido()) QFile::remove(m_travasFilhos + QStringLiteral("/fb12_trace"));
    }
}

void TTesteFalhas::Ferramenta(const QString& nome, const QStringList& args) {
    const TResultadoFilho r = ExecutarComRetomada(m_bin + QLatin1Char('/') + nome, args, -1);
    if (!r.Erro.isEmpty() || r.Status != 0) Falhar(nome + QStringLiteral(" falhou (veja filhos.log)"));
}

void TTesteFalhas::CopiarConjunto(int variante) {
    const QDir entrada(Caminho(QStringLiteral("entrada")));
    for (const QString& f : entrada.entryList(QDir::Files)) QFile::remove(entrada.filePath(f));
    const QDir origem(Caminho(variante ? QStringLiteral("B") : QStringLiteral("A")));
    for (const QString& f : origem.entryList(QDir::Files))
        if (!QFile::copy(origem.filePath(f), entrada.filePath(f))) Falhar(QStringLiteral("cópia falhou: ") + f);
}

void TTesteFalhas::Preparar() {
    QDir(m_pasta).removeRecursively();
    for (const char* d : {"entrada", "saida", "base", "A", "B"}) QDir().mkpath(Caminho(QString::fromLatin1(d)));
    QDir().mkpath(m_travasFilhos);
    QDir().mkpath(QFile::decodeName(qgetenv("FIREBIRD_LOCK")));
    QFile ini(Caminho(QStringLiteral("Quorvel_IntegradorVesko.ini")));
    if (!ini.open(QIODevice::WriteOnly)) Falhar(QStringLiteral("sem arquivo de configurações"));
    const QString banco = Embutido() ? QStringLiteral("Servidor=embutido\n")
                                     : QStringLiteral("Servidor=%1\nUsuario=SYSDBA\nSenha=%2\n").arg(m_servidor, m_senha);
    ini.write(QStringLiteral("[CONFIGS]\nDiretorioImportacao=%1/entrada/\nDiretorioExportacao=%1/saida/\n"
                             "IntervaloImportacao=1\nIntervaloExportacao=1\nDiretorioBaseDeDados=%1/base/\n"
                             "NumeroDiasBackupLogs=30\n\n[BANCO]\n%2")
                  .arg(m_pasta, banco).toUtf8());
    ini.close();
    DefinirDiretorioPrograma(m_pasta);
    Ferramenta(QStringLiteral("vesko-retaguarda"), {Caminho(QStringLiteral("A")), QStringLiteral("--variante"), QStringLiteral("A")});
    Ferramenta(QStringLiteral("vesko-retaguarda"), {Caminho(QStringLiteral("B")), QStringLiteral("--variante"), QStringLiteral("B")});
    const TResultadoFilho base = Programa({QStringLiteral("criar-base"), Caminho(QStringLiteral("base"))});
    if (base.Status != 0) Falhar(QStringLiteral("criar-base falhou (veja filhos.log)"));
    // The first run makes the version backup; the references come after it.
    for (int v : {0, 1}) {
        ImportarCompleto(v, QStringLiteral("preparo"));
        m_ref[v] = FotografarImportacao(Banco());
    }
    ImportarCompleto(0, QStringLiteral("preparo"));
    ConferirImportacao(0, false, QStringLiteral("preparo (o conjunto A de novo)"));
    for (const QString& t : TabelasImportacao())
        if (m_ref[0].at(t) == m_ref[1].at(t) && t != QLatin1String("ENTREGA_STATUS"))
            Linha(QStringLiteral("aviso: %1 é igual nos conjuntos A e B").arg(t));
    Ferramenta(QStringLiteral("vesko-pdv-demo"), {QStringLiteral("--home"), m_pasta, QStringLiteral("--semente"), QString::number(++m_semente)});
    ExportarCompleto(QStringLiteral("preparo"));
    if (m_violacoes) Falhar(QStringLiteral("a rodada sem morte já viola: a conferência não serve"));
    Linha(QStringLiteral("preparo (%3): importação %1 ms, exportação %2 ms")
              .arg(m_duracaoImportacao.Tipica()).arg(m_duracaoExportacao.Tipica())
              .arg(Embutido() ? QStringLiteral("motor embutido") : QStringLiteral("servidor ") + m_servidor));
}

void TTesteFalhas::Violacao(const QString& s) {
    ++m_violacoes;
    Linha(QStringLiteral("VIOLAÇÃO ") + s);
}

void TTesteFalhas::ImportarCompleto(int variante, const QString& contexto) {
    CopiarConjunto(variante);
    const TResultadoFilho r = Programa({QStringLiteral("importar")});
    m_duracaoImportacao.Anotar(r.Duracao);
    if (r.Status != 0 || !r.Erro.isEmpty())
        Violacao(QStringLiteral("%1: a importação seguinte terminou com status %2 %3").arg(contexto).arg(r.Status).arg(r.Erro));
    m_variante = variante;
    if (!m_ref[variante].empty())
        ConferirImportacao(variante, false, contexto + QStringLiteral(", depois da importação seguinte"));
}

void TTesteFalhas::ExportarCompleto(const QString& contexto) {
    const TFotoExportacao antes = FotografarExportacao(Banco());
    const TResultadoFilho r = Programa({QStringLiteral("exportar")});
    m_duracaoExportacao.Anotar(r.Duracao);
    if (r.Status != 0 || !r.Erro.isEmpty())
        Violacao(QStringLiteral("%1: a exportação seguinte terminou com status %2 %3").arg(contexto).arg(r.Status).arg(r.Erro));
    ConferirExportacao(antes, contexto + QStringLiteral(", depois da exportação seguinte"));
}

// After a kill every table holds one of the two sets, except the delivery
// statuses, whose inserts run one by one; after a complete run, `variante`.
void TTesteFalhas::ConferirImportacao(int variante, bool aposMorte, const QString& contexto) {
    ++m_checagens;
    TFotoImportacao foto;
    try {
        foto = FotografarImportacao(Banco());
    } catch (const std::exception& e) {
        Violacao(contexto + QStringLiteral(": o banco não pôde ser lido: ") + QString::fromUtf8(e.what()));
        return;
    }
    for (const QString& t : TabelasImportacao()) {
        const QByteArray& d = foto.at(t);
        if (d == m_ref[variante].at(t)) continue;
        if (aposMorte && (d == m_ref[1 - variante].at(t) || t == QLatin1String("ENTREGA_STATUS"))) continue;
        Violacao(QStringLiteral("%1: a tabela %2 não tem as linhas de %3").arg(contexto, t,
                 aposMorte ? QStringLiteral("nenhum conjunto") : QStringLiteral("conjunto %1").arg(variante ? 'B' : 'A')));
    }
}

void TTesteFalhas::ConferirExportacao(const TFotoExportacao& antes, const QString& contexto) {
    ++m_checagens;
    TFotoExportacao depois;
    try {
        depois = FotografarExportacao(Banco());
    } catch (const std::exception& e) {
        Violacao(contexto + QStringLiteral(": o banco não pôde ser lido: ") + QString::fromUtf8(e.what()));
        return;
    }
    m_exportacao.RegistrarSaidas(antes, depois);
    for (const QString& e : m_exportacao.LerNovosArquivos()) Violacao(contexto + QStringLiteral(": ") + e);
    for (const QString& f : m_exportacao.Faltantes())
        if (m_faltasVistas.insert(f.section(QStringLiteral(" (saídas"), 0, 0)).second)
            Violacao(contexto + QStringLiteral(": ") + f);
}

void TTesteFalhas::ConferirAuditoria(const QString& contexto) {
    ++m_checagens;
    for (const TDiaAuditoria& d : LerAuditoriasRecentes(1))
        if (d.Existe && !d.Legivel)
            Violacao(QStringLiteral("%1: a auditoria de %2 não carrega").arg(contexto, d.Dia.toString(Qt::ISODate)));
}

void TTesteFalhas::RodadaImportacao(int n) {
    const int v = 1 - m_variante;
    CopiarConjunto(v);
    const int atraso = Atraso(m_duracaoImportacao);
    const TResultadoFilho r = Programa({QStringLiteral("importar")}, atraso);
    const QString ctx = QStringLiteral("rodada %1 (importação %2 morta aos %3 ms)").arg(n).arg(v ? 'B' : 'A').arg(atraso);
    if (!r.Morto) {
        ++m_concluidas;
        m_duracaoImportacao.Anotar(r.Duracao);
        if (r.Status != 0) Violacao(ctx + QStringLiteral(": terminou antes, com status %1").arg(r.Status));
        m_variante = v;
        ConferirImportacao(v, false, ctx);
        return;
    }
    ++m_mortes;
    ConferirImportacao(v, true, ctx);
    ConferirAuditoria(ctx);
    ImportarCompleto(v, ctx);
}

void TTesteFalhas::RodadaExportacao(int n) {
    Ferramenta(QStringLiteral("vesko-pdv-demo"), {QStringLiteral("--home"), m_pasta, QStringLiteral("--semente"), QString::number(++m_semente)});
    const TFotoExportacao antes = FotografarExportacao(Banco());
    const int atraso = Atraso(m_duracaoExportacao);
    const TResultadoFilho r = Programa({QStringLiteral("exportar")}, atraso);
    const QString ctx = QStringLiteral("rodada %1 (exportação morta aos %2 ms)").arg(n).arg(atraso);
    if (!r.Morto) {
        ++m_concluidas;
        m_duracaoExportacao.Anotar(r.Duracao);
        if (r.Status != 0) Violacao(ctx + QStringLiteral(": terminou antes, com status %1").arg(r.Status));
        ConferirExportacao(antes, ctx);
        return;
    }
    ++m_mortes;
    ConferirExportacao(antes, ctx);
    ConferirAuditoria(ctx);
    ExportarCompleto(ctx);
}

// A progress line every 25 kills keeps a long run readable while it runs.
void TTesteFalhas::Rodar(int mortes) {
    for (int n = 1; m_mortes < mortes && n <= 3 * mortes; ++n) {
        const int antes = m_mortes;
        if (n % 2) RodadaImportacao(n);
        else RodadaExportacao(n);
        if (m_mortes != antes && m_mortes % 25 == 0 && m_mortes < mortes) Linha(QStringLiteral("... ") + Contagem());
    }
}

int Uso() {
    std::fprintf(stderr, "Uso: vesko-falhas PASTA [--mortes N] [--semente N] [--servidor HOST/PORTA --senha S]\n");
    return 2;
}

int Principal(const QStringList& args) {
    QString pasta, servidor, senha;
    int mortes = 30;
    std::uint32_t semente = 1;
    for (int i = 0; i < args.size(); ++i) {
        bool ok = true;
        if (args[i] == QLatin1String("--mortes") && i + 1 < args.size()) mortes = args[++i].toInt(&ok);
        else if (args[i] == QLatin1String("--semente") && i + 1 < args.size()) semente = args[++i].toUInt(&ok);
        else if (args[i] == QLatin1String("--servidor") && i + 1 < args.size()) servidor = args[++i];
        else if (args[i] == QLatin1String("--senha") && i + 1 < args.size()) senha = args[++i];
        else if (args[i].startsWith(QLatin1String("--")) || !pasta.isEmpty()) return Uso();
        else pasta = args[i];
        if (!ok) return Uso();
    }
    if (pasta.isEmpty() || mortes < 1 || servidor.isEmpty() != senha.isEmpty()) return Uso();
    // The import's one-second look at its files before it reads them would
    // take most kills drawn within an import's time; that look has tests of
    // its own, the kills are for the steps.
    if (!qEnvironmentVariableIsSet("VESKO_TESTE_PAUSA_IMPORTACAO_MS")) qputenv("VESKO_TESTE_PAUSA_IMPORTACAO_MS", "0");
    // Every embedded engine starting on a Firebird lock directory takes the
    // directory's trace-area mutex, which lives in shared memory and is not
    // released when its holder is killed. The first engine to map that area
    // makes it afresh; a later one, while another live process has it mapped,
    // waits on the dead holder's mutex forever. This test keeps its own engine
    // loaded (its checks read the database) while it starts and kills the
    // children, so the two must not share a directory: the children get one
    // of their own, where each child after a kill is the first again, and the
    // test another. Both are inside the test's folder, away from the machine's
    // shared one that other embedded-engine programs (tests running beside
    // this one) use. Sharing no lock directory is sound here because the test
    // and a child never have the database open at once (see
    // EsperarBancoLivre), and the embedded engine opens it exclusively.
    const QString base = QDir(pasta).absolutePath();
    const QString travasFilhos = qEnvironmentVariableIsSet("FIREBIRD_LOCK")
                                     ? qEnvironmentVariable("FIREBIRD_LOCK")
                                     : base + QStringLiteral("/firebird-lock");
    DefinirTravasFilhos(travasFilhos);
    qputenv("FIREBIRD_LOCK", QFile::encodeName(base + QStringLiteral("/firebird-lock-conferencia")));
    TTesteFalhas teste(pasta, semente, servidor, senha, travasFilhos);
    teste.Preparar();
    teste.Rodar(mortes);
    Linha(teste.Contagem());
    return teste.Violou() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    try {
        return Principal(app.arguments().mid(1));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vesko-falhas: %s\n", e.what());
        return 2;
    } catch (...) {
        std::fprintf(stderr, "vesko-falhas: erro desconhecido\n");
        return 2;
    }
}
