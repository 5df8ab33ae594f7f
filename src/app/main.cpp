// Program entry: the tray application, or one of the subcommands.
#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <cstdio>
#include <memory>

#include "app/AplicacaoProtegida.h"
#include "app/ComandoChavePublica.h"
#include "app/ComandoExportar.h"
#include "app/ComandoImportar.h"
#include "app/LinhaComando.h"
#include "app/Principal.h"
#include "app/Servico.h"
#include "audit/ComandoAuditoria.h"
#include "db/ComandosBanco.h"
#include "base/Excecoes.h"
#include "base/Versao.h"
#include "platform/DiretorioPrograma.h"
#include "platform/InstanciaUnica.h"

namespace {

using namespace vesko;

void Linha(const QString& texto) { LinhaErroPadrao(texto); }

const char* kUso =
    "Uso: Quorvel_IntegradorVesko [--home DIR] [versao | servico | importar | exportar | auditoria | criar-base DIR | conectar | chave-publica]\n"
    "  sem comando  o integrador na área de notificação\n"
    "  versao       mostra a versão\n"
    "  servico      o agendador sem ícone (máquinas sem área de trabalho)\n"
    "  importar     uma importação, como a do menu; 0 quando realizada com sucesso\n"
    "  exportar [--automatico]\n"
    "               uma exportação, como a do menu (a do temporizador com --automatico);\n"
    "               0 quando completa, 1 quando não, 2 sem diretório de exportação\n"
    "  auditoria [--dias N] [--json] [--detalhes]\n"
    "               as auditorias de hoje e dos N dias anteriores\n"
    "  criar-base DIR  cria um VESKO.GDB vazio em DIR, com as tabelas do PDV\n"
    "  conectar     conecta uma vez ao banco do PDV, como a primeira conexão de uma integração\n"
    "  chave-publica  mostra a chave pública com que a retaguarda confere as assinaturas\n";

using TAplicacao = TAplicacaoProtegida<QApplication>;
using TAplicacaoConsole = TAplicacaoProtegida<QCoreApplication>;

void CarregarTraducoes(QCoreApplication& app) {
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const char* nome : {"qtbase_pt_BR", "qt_pt_BR"}) {
        auto* t = new QTranslator(&app);
        if (t->load(QString::fromLatin1(nome), dir))
            app.installTranslator(t);
        else
            delete t;
    }
}

int ExecutarBandeja(int argc, char** argv) {
    TInstanciaUnica trava;
    if (!trava.Adquirir()) return 0;  // another instance runs: end silently
    TAplicacao app(argc, argv);
    app.setQuitOnLastWindowClosed(false);
    app.setApplicationName(QStringLiteral("Integrador Vesko"));
    CarregarTraducoes(app);
    TfrmPrincipal frm;
    frm.FormCreate();
    return app.exec();
}

int ExecutarComando(const TLinhaComando& lc, int argc, char** argv) {
    if (lc.Comando.isEmpty()) return ExecutarBandeja(argc, argv);
    TAplicacaoConsole app(argc, argv);
    CarregarTraducoes(app);
    if (lc.Comando == QLatin1String("versao")) {
        std::printf("%s\n", VESKO_VERSAO);
        return 0;
    }
    if (lc.Comando == QLatin1String("servico")) {
        TInstanciaUnica trava;
        if (!trava.Adquirir()) return 0;
        return ExecutarServico();
    }
    if (lc.Comando == QLatin1String("auditoria")) return ExecutarComandoAuditoria(lc.Argumentos);
    if (lc.Comando == QLatin1String("chave-publica")) return ExecutarComandoChavePublica();
    TInstanciaUnica trava;  // held until the command ends
    if (ComandoUsaTravaExclusiva(lc.Comando)) {
        if (!trava.Adquirir()) {
            Linha(QStringLiteral("O Integrador Vesko já está em execução nesta máquina."));
            return 1;
        }
    }
    if (lc.Comando == QLatin1String("criar-base")) return ExecutarComandoCriarBase(lc.Argumentos);
    if (lc.Comando == QLatin1String("conectar")) return ExecutarComandoConectar();
    if (lc.Comando == QLatin1String("importar")) return ExecutarComandoImportar();
    if (lc.Comando == QLatin1String("exportar")) return ExecutarComandoExportar(lc.Argumentos);
    Linha(QStringLiteral("Comando desconhecido: %1").arg(lc.Comando));
    std::fputs(kUso, stderr);
    return 2;
}

int Executar(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    QString erro;
    const auto lc = TLinhaComando::Interpretar(args, erro);
    if (!lc) {
        Linha(erro);
        std::fputs(kUso, stderr);
        return 2;
    }
    if (!lc->Home.isEmpty()) DefinirDiretorioPrograma(lc->Home);
    return ExecutarComando(*lc, argc, argv);
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Executar(argc, argv);
    } catch (const std::exception& e) {
        Linha(QStringLiteral("Erro fatal: %1: %2").arg(vesko::NomeClasseExcecao(e), vesko::MensagemExcecao(e)));
    } catch (...) {
        Linha(QStringLiteral("Erro fatal de tipo desconhecido."));
    }
    return 1;
}
