// vesko-retaguarda: writes a store's back-office data files (the set an
// import reads) into a folder, for the demo, the benchmark and fault tests.
//
//   vesko-retaguarda DIR [--semente N] [--variante A|B] [--produtos N]
//                        [--com-imagem N] [--codigos-por-produto N]
//                        [--usuarios N] [--vendedores N] [--restricoes N]
//                        [--clientes N] [--catalogo N] [--grupos N]
//                        [--imagem LARGURAxALTURA]
#include <QGuiApplication>
#include <QStringList>
#include <cstdio>
#include <exception>
#include <map>

#include "GeradorRetaguarda.h"
#include "base/Excecoes.h"

using namespace vesko;
using namespace vesko::retaguarda;

namespace {

const char* kUso =
    "Uso: vesko-retaguarda DIR [--semente N] [--variante A|B] [--produtos N] [--com-imagem N]\n"
    "       [--codigos-por-produto N] [--usuarios N] [--vendedores N] [--restricoes N]\n"
    "       [--clientes N] [--catalogo N] [--grupos N] [--imagem LARGURAxALTURA]\n";

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

// Reads the options into `o`; an empty text when they are fine.
QString LerOpcoes(const QStringList& args, TOpcoesGerador& o, QString& dir) {
    std::map<QString, int*> inteiros{
        {QStringLiteral("--produtos"), &o.Produtos},       {QStringLiteral("--com-imagem"), &o.ProdutosComImagem},
        {QStringLiteral("--codigos-por-produto"), &o.CodigosPorProduto},
        {QStringLiteral("--usuarios"), &o.Usuarios},       {QStringLiteral("--vendedores"), &o.Vendedores},
        {QStringLiteral("--restricoes"), &o.RestricoesPorUsuario},
        {QStringLiteral("--clientes"), &o.Clientes},       {QStringLiteral("--catalogo"), &o.Catalogo},
        {QStringLiteral("--grupos"), &o.Grupos}};
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(QLatin1String("--"))) {
            if (!dir.isEmpty()) return QStringLiteral("Mais de uma pasta: %1").arg(a);
            dir = a;
            continue;
        }
        if (i + 1 >= args.size()) return QStringLiteral("Falta o valor de %1").arg(a);
        const QString v = args[++i];
        int semente = 0;
        if (auto it = inteiros.find(a); it != inteiros.end()) {
            if (!Inteiro(v, *it->second)) return QStringLiteral("Valor inválido para %1: %2").arg(a, v);
        } else if (a == QLatin1String("--semente")) {
            if (!Inteiro(v, semente)) return QStringLiteral("Valor inválido para --semente: %1").arg(v);
            o.Semente = static_cast<std::uint32_t>(semente);
        } else if (a == QLatin1String("--variante")) {
            if (v != QLatin1String("A") && v != QLatin1String("B")) return QStringLiteral("--variante é A ou B");
            o.Variante = v == QLatin1String("B") ? 1 : 0;
        } else if (a == QLatin1String("--imagem")) {
            const QStringList p = v.split(QLatin1Char('x'));
            if (p.size() != 2 || !Inteiro(p[0], o.LarguraImagem) || !Inteiro(p[1], o.AlturaImagem) ||
                o.LarguraImagem < 1 || o.AlturaImagem < 1)
                return QStringLiteral("--imagem é LARGURAxALTURA: %1").arg(v);
        } else {
            return QStringLiteral("Opção desconhecida: %1").arg(a);
        }
    }
    return dir.isEmpty() ? QStringLiteral("Falta a pasta de destino") : QString();
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);  // pictures are drawn with Qt Gui
        QStringList args = app.arguments();
        args.removeFirst();
        TOpcoesGerador opcoes;
        QString dir;
        const QString erro = LerOpcoes(args, opcoes, dir);
        if (!erro.isEmpty()) return Erro(erro);
        GerarRetaguarda(dir, opcoes);
        std::fprintf(stderr, "Arquivos da retaguarda gravados em %s\n", dir.toUtf8().constData());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "Erro: %s: %s\n", NomeClasseExcecao(e).toUtf8().constData(),
                     MensagemExcecao(e).toUtf8().constData());
        return 1;
    }
}
