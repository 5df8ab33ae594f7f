#include "app/TratamentoExecutaveis.h"

#include <QFileInfo>
#include <QLocale>

#include "platform/Processos.h"

namespace vesko {
namespace {

constexpr int kTamanhoNomeComando = 15;  // the kernel keeps this much of a command's name

QString Maiusculas(const QString& texto) { return QLocale().toUpper(texto); }

QString NomeArquivo(const QString& caminho) {
    const qsizetype barra = std::max(caminho.lastIndexOf(QLatin1Char('/')), caminho.lastIndexOf(QLatin1Char('\\')));
    return caminho.mid(barra + 1);
}

QString SemApagado(const QString& caminho) {
    static const QString kApagado = QStringLiteral(" (deleted)");
    return caminho.endsWith(kApagado) ? caminho.chopped(kApagado.size()) : caminho;
}

// The paths under which a process may be known as the companion: its
// executable; a script's path among its first three words when the kernel
// named the process after it; the first word when the executable is hidden.
QStringList CaminhosConhecidos(const TProcessoSistema& p) {
    QStringList caminhos;
    if (!p.Executavel.isEmpty()) caminhos << SemApagado(p.Executavel);
    const QString comando = Maiusculas(p.NomeComando);
    if (!comando.isEmpty())
        for (const QString& palavra : p.Argumentos)
            if (Maiusculas(NomeArquivo(palavra).left(kTamanhoNomeComando)) == comando) caminhos << palavra;
    if (p.Executavel.isEmpty() && !p.Argumentos.isEmpty()) caminhos << p.Argumentos.first();
    return caminhos;
}

}  // namespace

bool TTratamentoExecutaveis::Corresponde(const TProcessoSistema& Processo, const QString& Procurado,
                                         bool caminhoInteiro) {
    const QString procurado = Maiusculas(Procurado);
    for (const QString& caminho : CaminhosConhecidos(Processo)) {
        if (Maiusculas(NomeArquivo(caminho)) == procurado) return true;
        if (caminhoInteiro && Maiusculas(caminho) == procurado) return true;
    }
    return false;
}

bool TTratamentoExecutaveis::ProcessoEmExecucao(const QString& NomeExecutavel) {
    for (const auto& p : ListarProcessos())
        if (Corresponde(p, NomeExecutavel, false)) return true;
    return false;
}

bool TTratamentoExecutaveis::EncerrarProcesso(const QString& NomeExecutavel) {
    const TResultadoEncerramento r =
        EncerrarProcessos([&](const TProcessoSistema& p) { return Corresponde(p, NomeExecutavel, true); });
    return r.Encontrados > 0 && r.Restantes == 0;
}

bool TTratamentoExecutaveis::ExecutarProcesso(const QString& Caminho, const QString& Parametros) {
    return CriarProcesso(Caminho, Parametros, QFileInfo(Caminho).absolutePath());
}

}  // namespace vesko
