// vesko-dat: looks into data-packet files and builds them from JSON.
//   vesko-dat dump FILE [--json | --csv]
//   vesko-dat from-json IN.json OUT.dat
//   vesko-dat check FILE
// Exit status: 0 success, 1 a bad or unreadable file, 2 bad arguments.
#include "PacoteJson.h"

#include "base/Excecoes.h"
#include "datapacket/ClientDataSet.h"

#include <QFile>
#include <QStringList>
#include <cstdio>
#include <iostream>

using namespace vesko;

namespace {

constexpr int kOk = 0, kArquivoRuim = 1, kUso = 2;

const char* const kUso_ =
    "uso: vesko-dat dump ARQUIVO [--json | --csv]\n"
    "     vesko-dat from-json ENTRADA.json SAIDA.dat\n"
    "     vesko-dat check ARQUIVO\n";

int Uso(const QString& problema = {}) {
    if (!problema.isEmpty()) std::cerr << "vesko-dat: " << problema.toStdString() << "\n";
    std::cerr << kUso_;
    return kUso;
}

int Falha(const QString& arquivo, const QString& mensagem) {
    std::cerr << "vesko-dat: " << arquivo.toStdString() << ": " << mensagem.toStdString() << "\n";
    return kArquivoRuim;
}

void Escrever(const QByteArray& b) {
    std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), stdout);
    std::fflush(stdout);
}

int Dump(const QString& arquivo, const QString& forma) {
    TClientDataSet ds;
    try {
        ds.LoadFromFile(arquivo);
        if (forma == u"--json")
            Escrever(QByteArray::fromStdString(dat::ParaJson(ds).dump(2)) + '\n');
        else if (forma == u"--csv")
            Escrever(dat::ParaCsv(ds));
        else
            Escrever(dat::ParaTabela(ds).toUtf8());
    } catch (const std::exception& e) {
        return Falha(arquivo, MensagemExcecao(e));
    }
    return kOk;
}

int DeJson(const QString& entrada, const QString& saida) {
    QFile f(entrada);
    if (!f.open(QIODevice::ReadOnly)) return Falha(entrada, QStringLiteral("não foi possível abrir: %1").arg(f.errorString()));
    dat::Json doc;
    try {
        doc = dat::Json::parse(f.readAll().toStdString());
    } catch (const dat::Json::exception& e) {
        return Falha(entrada, QStringLiteral("JSON inválido: %1").arg(QString::fromUtf8(e.what())));
    }
    try {
        TClientDataSet ds;
        dat::DeJson(doc, ds);
        try {
            ds.SaveToFile(saida);
        } catch (const std::exception& e) {
            return Falha(saida, MensagemExcecao(e));
        }
    } catch (const std::exception& e) {
        return Falha(entrada, MensagemExcecao(e));
    }
    return kOk;
}

int Verificar(const QString& arquivo) {
    try {
        TClientDataSet ds;
        ds.LoadFromFile(arquivo);
    } catch (const std::exception& e) {
        return Falha(arquivo, MensagemExcecao(e));
    }
    return kOk;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList a;
    for (int i = 1; i < argc; ++i) a << QString::fromLocal8Bit(argv[i]);
    if (a.isEmpty()) return Uso();
    const QString comando = a.takeFirst();
    if (comando == u"--help" || comando == u"-h" || comando == u"help") {
        std::cout << kUso_;
        return kOk;
    }
    if (comando == u"dump") {
        if (a.size() == 1 && !a[0].startsWith(u"--")) return Dump(a[0], {});
        if (a.size() == 2 && (a[1] == u"--json" || a[1] == u"--csv") && !a[0].startsWith(u"--")) return Dump(a[0], a[1]);
        if (a.size() == 2 && (a[0] == u"--json" || a[0] == u"--csv") && !a[1].startsWith(u"--")) return Dump(a[1], a[0]);
        return Uso(QStringLiteral("dump: argumentos inválidos"));
    }
    if (comando == u"from-json") {
        if (a.size() != 2) return Uso(QStringLiteral("from-json: indique ENTRADA.json e SAIDA.dat"));
        return DeJson(a[0], a[1]);
    }
    if (comando == u"check") {
        if (a.size() != 1) return Uso(QStringLiteral("check: indique um arquivo"));
        return Verificar(a[0]);
    }
    return Uso(QStringLiteral("comando desconhecido: %1").arg(comando));
}
