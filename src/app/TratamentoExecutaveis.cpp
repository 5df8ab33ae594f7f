#include "app/TratamentoExecutaveis.h"

#include <QCoreApplication>
#include <QFileInfo>

#include "platform/Processos.h"

namespace vesko {
namespace {
QString NomeArquivo(const QString& caminho) {
    const qsizetype barra = std::max(caminho.lastIndexOf(QLatin1Char('/')), caminho.lastIndexOf(QLatin1Char('\\')));
    return caminho.mid(barra + 1);
}
}  // namespace

bool TTratamentoExecutaveis::ProcessoEmExecucao(const QString& NomeExecutavel) {
    const QString procurado = NomeExecutavel.toUpper();
    for (const auto& p : ListarProcessos())
        if (NomeArquivo(p.Executavel).toUpper() == procurado) return true;
    return false;
}

bool TTratamentoExecutaveis::EncerrarProcesso(const QString& NomeExecutavel) {
    const QString procurado = NomeExecutavel.toUpper();
    const long long eu = QCoreApplication::applicationPid();
    bool encerrou = false;
    for (const auto& p : ListarProcessos()) {
        if (p.Id == eu) continue;
        if (NomeArquivo(p.Executavel).toUpper() == procurado || p.Executavel.toUpper() == procurado)
            encerrou = TerminarProcesso(p.Id) || encerrou;
    }
    return encerrou;
}

bool TTratamentoExecutaveis::ExecutarProcesso(const QString& Caminho, const QString& Parametros) {
    return CriarProcesso(Caminho, Parametros, QFileInfo(Caminho).absolutePath());
}

}  // namespace vesko
