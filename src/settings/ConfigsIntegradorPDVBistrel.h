#pragma once
// The integrator's settings: section "CONFIGS" of "Quorvel_IntegradorVesko.ini"
// in the program directory. Each user builds a fresh object (which reads the
// whole file), takes what it needs and drops it, so a change of the file is
// seen by the next read without a restart.
#include <QString>

namespace vesko {

class TConfigsIntegradorPDVBistrel {
public:
    TConfigsIntegradorPDVBistrel();  // reads the file; a missing file gives the defaults

    const QString& DiretorioImportacao() const { return m_DiretorioImportacao; }
    const QString& DiretorioExportacao() const { return m_DiretorioExportacao; }
    int IntervaloExportacao() const { return m_IntervaloExportacao; }
    int IntervaloImportacao() const { return m_IntervaloImportacao; }
    const QString& DiretorioBaseDeDados() const { return m_DiretorioBaseDeDados; }
    int NumeroDiasBackupLogs() const { return m_NumeroDiasBackupLogs; }

    void SetDiretorioImportacao(const QString& v) { m_DiretorioImportacao = v; }
    void SetDiretorioExportacao(const QString& v) { m_DiretorioExportacao = v; }
    void SetIntervaloExportacao(int v) { m_IntervaloExportacao = v; }
    void SetIntervaloImportacao(int v) { m_IntervaloImportacao = v; }
    void SetDiretorioBaseDeDados(const QString& v) { m_DiretorioBaseDeDados = v; }
    void SetNumeroDiasBackupLogs(int v) { m_NumeroDiasBackupLogs = v; }

    // Writes all six values at once; other sections and keys of the file stay.
    // Raises EIniFileException when the file cannot be written, and the file
    // is then left as it was.
    void Gravar() const;

    static QString GetNomeArquivo();

    static constexpr const char* kSecao = "CONFIGS";

private:
    QString m_DiretorioImportacao;
    QString m_DiretorioExportacao;
    int m_IntervaloExportacao = 5;
    int m_IntervaloImportacao = 8;
    QString m_DiretorioBaseDeDados;
    int m_NumeroDiasBackupLogs = 30;
};

// The debug switch: key "QueryDebug" of section "GERAL" in the INI file named
// after the executable (in the program directory). Non-zero integer: on.
QString GetNomeArquivoQueryDebug();
bool LerQueryDebug();

}  // namespace vesko
