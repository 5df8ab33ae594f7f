// vesko-pdv-demo: stands in for the point of sale, putting a day of sales,
// customers, event-log rows and fiscal documents into the POS database of a
// program folder (its settings file names the database and the server), for
// the demo, the tests and the export benchmark.
//
//   vesko-pdv-demo --home DIR [--semente N] [--vendas N] [--itens N]
//                  [--documentos KB,KB,...] [--canceladas N]
//                  [--nao-fiscais N] [--clientes N] [--logs N]
//                  [--sem-documento-caixa]
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <map>

#include "GeradorPdv.h"
#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/ParametrosConexao.h"
#include "platform/DiretorioPrograma.h"

using namespace vesko;
using namespace vesko::pdv;

namespace {

const char* kUso =
    "Uso: vesko-pdv-demo --home DIR [--semente N] [--vendas N] [--itens N] [--documentos KB,KB,...]\n"
    "       [--canceladas N] [--nao-fiscais N] [--clientes N] [--logs N] [--sem-documento-caixa]\n"
    "Grava no banco do PDV da pasta do programa DIR (o arquivo de configurações diz qual banco e servidor)\n"
    "vendas fechadas com itens, recebimentos e documentos fiscais, vendas canceladas, movimentos não\n"
    "fiscais, clientes cadastrados no caixa, linhas do log de eventos e um documento de caixa.\n";

int Erro(const QString& linha) {
    std::fprintf(stderr, "%s\n%s", linha.toUtf8().constData(), kUso);
    return 2;
}

bool Inteiro(const QString& texto, int& destino) {
    bool ok = false;
    const int v = texto.toInt(&ok);
    if (!ok || v < 0) return false;
    destino = v;
    return true;
}

bool Tamanhos(const QString& texto, QList<int>& destino) {
    destino.clear();
    if (texto.trimmed().isEmpty()) return true;  // no documents
    for (const QString& parte : texto.split(QLatin1Char(','))) {
        int kb = 0;
        if (!Inteiro(parte.trimmed(), kb) || kb < 1 || kb > 102400) return false;
        destino.append(kb);
    }
    return true;
}

// Reads the options into `o`; an empty text when they are fine.
QString LerOpcoes(const QStringList& args, TOpcoesPdv& o, QString& home) {
    int semente = static_cast<int>(o.Semente);
    std::map<QString, int*> inteiros{
        {QStringLiteral("--semente"), &semente},        {QStringLiteral("--vendas"), &o.Vendas},
        {QStringLiteral("--itens"), &o.ItensPorVenda},  {QStringLiteral("--canceladas"), &o.Canceladas},
        {QStringLiteral("--nao-fiscais"), &o.NaoFiscais}, {QStringLiteral("--clientes"), &o.Clientes},
        {QStringLiteral("--logs"), &o.Logs}};
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--sem-documento-caixa")) {
            o.DocumentoCaixa = false;
            continue;
        }
        if (i + 1 >= args.size()) return QStringLiteral("Falta o valor de %1").arg(a);
        const QString v = args[++i];
        if (auto it = inteiros.find(a); it != inteiros.end()) {
            if (!Inteiro(v, *it->second)) return QStringLiteral("Valor inválido para %1: %2").arg(a, v);
        } else if (a == QLatin1String("--documentos")) {
            if (!Tamanhos(v, o.DocumentosKB))
                return QStringLiteral("--documentos é uma lista de tamanhos em KB (1 a 102400): %1").arg(v);
        } else if (a == QLatin1String("--home")) {
            home = v;
        } else {
            return QStringLiteral("Opção desconhecida: %1").arg(a);
        }
    }
    o.Semente = static_cast<std::uint32_t>(semente);
    if (home.isEmpty()) return QStringLiteral("Falta a pasta do programa (--home DIR)");
    if (!QFileInfo(home).isDir()) return QStringLiteral("A pasta do programa não existe: %1").arg(home);
    return QString();
}

int Gerar(const QString& home, const TOpcoesPdv& opcoes) {
    DefinirDiretorioPrograma(QDir(home).absolutePath());
    const TParametrosConexao parametros = TParametrosConexao::DoPrograma();
    if (parametros.ArquivoLocal() && !QFileInfo::exists(parametros.Banco)) {
        std::fprintf(stderr, "O banco de dados do PDV não existe: %s\n", parametros.Banco.toUtf8().constData());
        return 1;
    }
    TConexaoFirebird conexao(parametros);
    conexao.SetIdentificacao(QStringLiteral("PDV (demonstração)"));
    conexao.Conectar();
    const TResumoPdv resumo = GerarMovimentoPdv(conexao, opcoes);
    conexao.Desconectar();
    std::printf("Gravado no banco do PDV %s:\n%s", parametros.Banco.toUtf8().constData(),
                TextoResumo(resumo).toUtf8().constData());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        QCoreApplication app(argc, argv);
        QStringList args = app.arguments();
        args.removeFirst();
        TOpcoesPdv opcoes;
        QString home;
        const QString erro = LerOpcoes(args, opcoes, home);
        if (!erro.isEmpty()) return Erro(erro);
        return Gerar(home, opcoes);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Erro: %s: %s\n", NomeClasseExcecao(e).toUtf8().constData(),
                     MensagemExcecao(e).toUtf8().constData());
        return 1;
    }
}
