#include "platform/DiretorioPrograma.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "platform/Sistema.h"

namespace vesko {
namespace {
QString& Sobreposto() {
    static QString dir;
    return dir;
}
}  // namespace

QChar SeparadorDiretorio() {
#ifdef _WIN32
    return QLatin1Char('\\');
#else
    return QLatin1Char('/');
#endif
}

QString ComSeparadorFinal(const QString& caminho) {
    if (caminho.endsWith(SeparadorDiretorio()) || caminho.endsWith(QLatin1Char('/'))) return caminho;
    return caminho + SeparadorDiretorio();
}

QString CaminhoExecutavel() { return CaminhoExecutavelSistema(); }

QString DiretorioExecutavel() {
    return ComSeparadorFinal(QDir::toNativeSeparators(QFileInfo(CaminhoExecutavel()).absolutePath()));
}

QString NomeExecutavel() { return QFileInfo(CaminhoExecutavel()).completeBaseName(); }

QString DiretorioPrograma() {
    const QString& s = Sobreposto();
    return s.isEmpty() ? DiretorioExecutavel() : s;
}

void DefinirDiretorioPrograma(const QString& diretorio) {
    Sobreposto() = diretorio.isEmpty()
                       ? QString()
                       : ComSeparadorFinal(QDir::toNativeSeparators(QFileInfo(diretorio).absoluteFilePath()));
}

}  // namespace vesko
