#pragma once
// Helpers shared by the GoogleTest suites.
#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vesko::teste {

// Folder of the public sample packets, named by the environment variable
// VESKO_AMOSTRAS (a relative path counts from the current folder); empty when
// the variable is unset or names no folder. FaltaAmostras() says which, in one
// line, and is empty when the folder is there.
QString DiretorioAmostras();
QString FaltaAmostras();

// A fresh temporary folder, removed when the object goes out of scope.
class PastaTemporaria {
public:
    PastaTemporaria();
    QString Caminho() const;               // without trailing separator
    QString Arquivo(const QString& nome) const;
private:
    QTemporaryDir m_dir;
};

QByteArray LerArquivo(const QString& caminho);
void GravarArquivo(const QString& caminho, const QByteArray& dados);

// Environment for a child process with the stores' regional settings
// (Brazilian Portuguese), as the tests themselves run.
QProcessEnvironment AmbienteBrasileiro();

// Path of an executable built by this tree (for tests that run the program).
QString ExecutavelConstruido(const QString& nome);

// The program run with `--home home` and `args` under Brazilian regional
// settings; codigo -1 when it did not end in time, -2 when it crashed.
struct ResultadoPrograma {
    int codigo = -1;
    QString saida;
    QString erros;
};
ResultadoPrograma RodarPrograma(const QString& home, const QStringList& args, int limiteMs = 240000);

}  // namespace vesko::teste
