#pragma once
// The ledger of the export: what left the POS database and what lies in the
// export directory under a final name. Every row that left must be found in
// a complete file; a row found more often than it left is a duplicate (a
// run killed between renaming its files and committing).
#include <QString>
#include <QStringList>
#include <set>

#include "FotoBanco.h"

namespace vesko::falhas {

class TConferenciaExportacao {
public:
    explicit TConferenciaExportacao(const QString& diretorioExportacao) : m_diretorio(diretorioExportacao) {}

    // Adds to the ledger the rows that left between the two pictures.
    void RegistrarSaidas(const TFotoExportacao& antes, const TFotoExportacao& depois);
    // Reads the final files not read before; each one that does not parse
    // is a violation (returned, one line each).
    QStringList LerNovosArquivos();
    // The rows that left without their file (one line each).
    QStringList Faltantes() const;
    int Duplicatas() const;
    // Sale headers with items whose items file is not there under the same
    // name (a run killed while renaming a sale's files; the next run sends
    // the whole sale again under a new name).
    int ConjuntosParciais() const;
    int Arquivos() const { return static_cast<int>(m_lidos.size()); }

private:
    void LerArquivo(const QString& nome, const QByteArray& bytes);

    QString m_diretorio;
    std::set<QString> m_lidos;
    std::set<QString> m_cabecalhosComItens;  // names without the "HDoc" prefix
    TMultiConjunto m_saidas;     // rows that left the database, by key
    TMultiConjunto m_nosArquivos;  // the same keys found in the files
};

}  // namespace vesko::falhas
