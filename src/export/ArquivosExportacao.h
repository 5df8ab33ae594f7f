#pragma once
// How export files reach the export directory. The back office picks files
// up as soon as they appear, so a file is first written under a temporary
// name ("~" ... ".tmp", which matches no prefix it looks for) and renamed
// into place only when its unit of work (a sale, a step) is about to
// commit; a unit that rolls back removes its temporaries, also when an
// exception leaves it (the destructor does it).
//
// A unit's files that share a base name (a sale's HDoc, DDoc, CDoc, ADoc and
// document files) form a set: when any final name of the set is taken, one
// new random suffix is drawn for the whole set before any of it is renamed,
// so the back office can still pair them. A file is never renamed over an
// existing one.
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace vesko {

class TComunicacaoBancoBistrel;

// `Texto` with every character a Windows file name cannot hold
// (\ / : * ? " < > | and control characters) replaced by "_".
QString NomeArquivoSeguro(const QString& Texto);

// Deletes the files "~*.tmp" of `Diretorio` (left by a run that was cut
// short), and the save temporaries "~*.tmp.~vesko-XXXXXX" of those written
// as data packets; returns how many were deleted.
int RemoverTemporariosExportacao(const QString& Diretorio);

class TUnidadeExportacao {
public:
    // `Diretorio`: the export directory, with its trailing separator.
    explicit TUnidadeExportacao(const QString& Diretorio);
    // Removes the files of a unit that was neither committed nor discarded.
    ~TUnidadeExportacao();
    TUnidadeExportacao(const TUnidadeExportacao&) = delete;
    TUnidadeExportacao& operator=(const TUnidadeExportacao&) = delete;

    // The temporary path of the file that will be Prefixo + NomeBase; the
    // same path for the same name (a later write replaces the content).
    // `NomeBase` ends in a bracket group, the random suffix and ".dat"
    // (GetNomeArquivoExportacao).
    QString CaminhoTemporario(const QString& Prefixo, const QString& NomeBase);
    // Writes `Conteudo` as the whole content of the file's temporary.
    // Raises EInOutError when it cannot be written.
    void Gravar(const QString& Prefixo, const QString& NomeBase, const QByteArray& Conteudo);
    // True when this unit holds the file Prefixo + NomeBase (written).
    bool Contem(const QString& Prefixo, const QString& NomeBase) const;
    bool Vazia() const { return m_arquivos.empty(); }

    // Renames every file into place, set by set. False when a rename
    // fails: the files of the unit already renamed are then removed too.
    bool Efetivar();
    // After Efetivar: the final paths and names (without directory), in
    // the order the files were first added.
    QStringList CaminhosFinais() const;
    QStringList NomesFinais() const;
    // After Efetivar: the final name of the file added as Prefixo + NomeBase.
    QString NomeFinal(const QString& Prefixo, const QString& NomeBase) const;

    // The files stay where they are (the unit committed).
    void Concluir() { m_concluida = true; }
    // Removes the unit's files, temporary or already renamed.
    void Descartar();

private:
    struct TArquivo {
        QString Prefixo;
        QString NomeBase;   // as added
        QString NomeFinal;  // Prefixo + base with the suffix drawn at Efetivar
        bool Renomeado = false;
    };
    QString Temporario(const TArquivo& a) const;
    const TArquivo* Procurar(const QString& Prefixo, const QString& NomeBase) const;

    QString m_diretorio;
    std::vector<TArquivo> m_arquivos;
    bool m_concluida = false;
};

// Rolls back the gateway's transaction when it is still open as the guard
// goes out of scope (an exception left the step): no exception commits.
class TGuardaTransacao {
public:
    explicit TGuardaTransacao(TComunicacaoBancoBistrel& Gateway) : m_gateway(Gateway) {}
    ~TGuardaTransacao();
    TGuardaTransacao(const TGuardaTransacao&) = delete;
    TGuardaTransacao& operator=(const TGuardaTransacao&) = delete;

private:
    TComunicacaoBancoBistrel& m_gateway;
};

}  // namespace vesko
