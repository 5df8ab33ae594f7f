// vesko-carga: the load test against a real Firebird server, run by hand
// (tools/carga/carga.sh prepares the server and the program folder).
//
//   vesko-carga --home DIR --programa EXE [--retaguarda EXE] [--minutos N]
//               [--semente N] [--produtos N] [--repetir-tipos]
//
// For the given minutes a stand-in point of sale commits sales, document
// rows and cancellations into the POS database of the program folder while
// imports and exports of the program run back to back. Then it checks that
// every run ended within 10 minutes, that the slowest commit stayed under
// 10 s and that everything committed is either unexported in the database
// or in exactly one complete set of files. Prints a summary; exit status 1
// on any violation, 2 on bad options.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <exception>
#include <thread>

#include "ConferenciaCarga.h"
#include "ExecucoesCarga.h"
#include "PdvCarga.h"
#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/ParametrosConexao.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;
using namespace vesko::carga;

namespace {

const char* kUso =
    "Uso: vesko-carga --home DIR --programa EXE [--retaguarda EXE] [--minutos N] [--semente N] [--produtos N]\n"
    "       [--repetir-tipos]\n";

constexpr double kLimiteCommitMs = 10000;

struct TOpcoes {
    QString Home, Programa, Retaguarda;
    double Minutos = 5;
    int Semente = 1, Produtos = 300;
    bool RepetirTipos = false;
};

void Linha(const QString& texto) { std::printf("%s\n", texto.toUtf8().constData()); std::fflush(stdout); }

QString LerOpcoes(const QStringList& args, TOpcoes& o) {
    for (int i = 0; i < args.size(); i += 2) {
        if (args[i] == QLatin1String("--repetir-tipos")) {
            o.RepetirTipos = true;
            --i;
            continue;
        }
        if (i + 1 >= args.size()) return QStringLiteral("Falta o valor de %1").arg(args[i]);
        const QString& a = args[i];
        const QString& v = args[i + 1];
        bool ok = true;
        if (a == QLatin1String("--home")) o.Home = v;
        else if (a == QLatin1String("--programa")) o.Programa = v;
        else if (a == QLatin1String("--retaguarda")) o.Retaguarda = v;
        else if (a == QLatin1String("--minutos")) o.Minutos = v.toDouble(&ok), ok = ok && o.Minutos > 0;
        else if (a == QLatin1String("--semente")) o.Semente = v.toInt(&ok);
        else if (a == QLatin1String("--produtos")) o.Produtos = v.toInt(&ok), ok = ok && o.Produtos > 0;
        else return QStringLiteral("Opção desconhecida: %1").arg(a);
        if (!ok) return QStringLiteral("Valor inválido para %1: %2").arg(a, v);
    }
    if (o.Home.isEmpty() || !QFileInfo(o.Home).isDir()) return QStringLiteral("Falta a pasta do programa (--home DIR)");
    if (o.Programa.isEmpty() || !QFileInfo(o.Programa).isExecutable())
        return QStringLiteral("Falta o executável do programa (--programa EXE)");
    return QString();
}

double Percentil(std::vector<double> v, double p) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t i = static_cast<size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

// The runs' part of the summary; their violations are added to `violacoes`.
void ResumirExecucoes(const TExecucoesCarga& ex, QStringList& violacoes) {
    int importacoes = 0, exportacoes = 0;
    double maior = 0;
    for (const TExecucao& e : ex.Execucoes()) {
        (e.Tipo == QLatin1String("importar") ? importacoes : exportacoes) += 1;
        maior = std::max(maior, e.Segundos);
        if (e.Estourou) violacoes << QStringLiteral("%1 passou de 10 minutos (%2 s)").arg(e.Tipo).arg(e.Segundos, 0, 'f', 1);
        else if (e.Status != 0) violacoes << QStringLiteral("%1 terminou com status %2 (%3 s)").arg(e.Tipo).arg(e.Status).arg(e.Segundos, 0, 'f', 1);
    }
    violacoes += ex.Erros();
    Linha(QStringLiteral("execuções: %1 importações, %2 exportações; a mais longa: %3 s")
              .arg(importacoes).arg(exportacoes).arg(maior, 0, 'f', 1));
    for (const TExecucao& e : ex.Execucoes())
        Linha(QStringLiteral("  %1 %2 s status %3").arg(e.Tipo, -8).arg(e.Segundos, 7, 'f', 1).arg(e.Status));
}

void ResumirPdv(const TRegistroCarga& r, QStringList& violacoes) {
    const double p99 = Percentil(r.DuracoesMs, 0.99);
    const double max = Percentil(r.DuracoesMs, 1.0);
    Linha(QStringLiteral("PDV: %1 commits (%2 vendas, %3 documentos, %4 cancelamentos), %5 leituras de PRODUTOS, %6 falhas")
              .arg(r.DuracoesMs.size()).arg(r.Vendas.size()).arg(r.Documentos.size()).arg(r.Cancelamentos.size())
              .arg(r.LeiturasProdutos).arg(r.Falhas));
    Linha(QStringLiteral("tempo de commit do PDV: mediana %1 ms, p99 %2 ms, máximo %3 ms")
              .arg(Percentil(r.DuracoesMs, 0.5), 0, 'f', 1).arg(p99, 0, 'f', 1).arg(max, 0, 'f', 1));
    if (max >= kLimiteCommitMs) violacoes << QStringLiteral("o commit mais lento do PDV levou %1 ms").arg(max, 0, 'f', 0);
    for (const QString& m : r.MensagensFalha) violacoes << QStringLiteral("falha do PDV: ") + m;
    if (r.Falhas > r.MensagensFalha.size())
        violacoes << QStringLiteral("e mais %1 falhas do PDV").arg(r.Falhas - r.MensagensFalha.size());
}

int Carga(const TOpcoes& o) {
    const QString home = QDir(o.Home).absolutePath();
    DefinirDiretorioPrograma(home);
    QSettings ini(home + QStringLiteral("/Quorvel_IntegradorVesko.ini"), QSettings::IniFormat);
    const QString saida = ini.value(QStringLiteral("CONFIGS/DiretorioExportacao")).toString();
    const QString entrada = ini.value(QStringLiteral("CONFIGS/DiretorioImportacao")).toString();
    const TParametrosConexao parametros = TParametrosConexao::DoPrograma();
    Linha(QStringLiteral("carga: %1 min contra %2").arg(o.Minutos).arg(parametros.TextoConexao()));

    TPdvCarga pdv(parametros, static_cast<std::uint32_t>(o.Semente));
    pdv.SetRepetirTipos(o.RepetirTipos);
    std::atomic<bool> parar{false};
    std::thread fio([&] { pdv.Executar(parar); });
    TExecucoesCarga execucoes({QFileInfo(o.Programa).absoluteFilePath(),
                               home,
                               o.Retaguarda.isEmpty() ? QString() : QFileInfo(o.Retaguarda).absoluteFilePath(),
                               entrada,
                               home + QStringLiteral("/carga-execucoes.log"),
                               600,
                               o.Produtos});
    execucoes.Executar(QDateTime::currentMSecsSinceEpoch() + static_cast<qint64>(o.Minutos * 60000));
    parar = true;
    fio.join();

    QStringList violacoes;
    ResumirExecucoes(execucoes, violacoes);
    ResumirPdv(pdv.Registro(), violacoes);
    TConexaoFirebird conexao(parametros);
    conexao.SetIdentificacao(QStringLiteral("Conferência da carga"));
    conexao.Conectar();
    const TConferencia c = Conferir(pdv.Registro(), conexao, saida);
    conexao.Desconectar();
    violacoes += c.Violacoes;
    Linha(QStringLiteral("conferidos: %1 vendas (%2 não exportadas), %3 cancelamentos (%4 não exportados), "
                         "%5 documentos (%6 ainda no banco); %7 conjuntos de arquivos (%8 documentos por tipo)")
              .arg(c.VendasConferidas).arg(c.VendasNoBanco).arg(c.CancelamentosConferidos).arg(c.CancelamentosNoBanco)
              .arg(c.DocumentosConferidos).arg(c.DocumentosNoBanco).arg(c.Conjuntos).arg(c.ConjuntosPorTipo));
    for (const QString& v : violacoes.mid(0, 50)) Linha(QStringLiteral("VIOLAÇÃO: ") + v);
    Linha(QStringLiteral("violações: %1").arg(violacoes.size()));
    return violacoes.isEmpty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        QStringList args = app.arguments();
        args.removeFirst();
        TOpcoes o;
        const QString erro = LerOpcoes(args, o);
        if (!erro.isEmpty()) {
            std::fprintf(stderr, "%s\n%s", erro.toUtf8().constData(), kUso);
            return 2;
        }
        return Carga(o);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Erro: %s: %s\n", NomeClasseExcecao(e).toUtf8().constData(),
                     MensagemExcecao(e).toUtf8().constData());
        return 1;
    }
}
