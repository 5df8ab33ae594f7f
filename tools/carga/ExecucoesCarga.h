#pragma once
// The runs of the load test: imports and exports of the program, one after
// the other as child processes, until the time is up. Before each import a
// new back-office set (variant A and B alternately, so every row changes)
// is generated into the import directory when a generator is given.
#include <QString>
#include <QStringList>
#include <vector>

namespace vesko::carga {

struct TExecucao {
    QString Tipo;          // "importar" or "exportar"
    double Segundos = 0;
    int Status = 0;        // exit status; -1 when it crashed or was stopped
    bool Estourou = false;  // still running at the limit (stopped)
};

struct TOpcoesExecucoes {
    QString Programa;      // the program's executable
    QString Home;          // its program folder
    QString Retaguarda;    // the back-office generator, or empty
    QString Entrada;       // the import directory
    QString Log;           // the runs' output is appended here
    int LimiteSegundos = 600;
    int Produtos = 300;
};

class TExecucoesCarga {
public:
    explicit TExecucoesCarga(TOpcoesExecucoes o) : m_opcoes(std::move(o)) {}
    // Runs until `ateMs` (a QDateTime::currentMSecsSinceEpoch() value);
    // the run under way at that moment is waited for. Never raises.
    void Executar(qint64 ateMs);
    const std::vector<TExecucao>& Execucoes() const { return m_execucoes; }
    const QStringList& Erros() const { return m_erros; }

private:
    TExecucao Rodar(const QString& tipo);
    bool GerarRetaguarda();

    TOpcoesExecucoes m_opcoes;
    std::vector<TExecucao> m_execucoes;
    QStringList m_erros;
    int m_importacoes = 0;
};

}  // namespace vesko::carga
