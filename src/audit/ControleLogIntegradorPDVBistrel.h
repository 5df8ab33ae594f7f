#pragma once
// The audit trail: two data-packet files per day under the program directory's
// "LogsIntegradorVesko" tree, a main file with one row per event and a details
// file with each event's long text. Class operations only.
#include <QDate>
#include <QString>
#include <cstdint>

namespace vesko {

class TClientDataSet;

enum TTipoAuditoria : std::uint8_t { taErro = 0, taAviso = 1, taInformacao = 2 };

// "Erro", "Aviso", "Informação"; other codes give an empty text.
QString TextoTipoAuditoria(int tipo);

class TControleLogIntegradorPDVBistrel {
public:
    TControleLogIntegradorPDVBistrel() = delete;

    // Appends one event to today's files. Errors while writing reach the caller
    // (RegistrarAuditoriaOuGuardar, audit/AuditoriaNaoGravada.h, keeps the
    // record in the fallback file instead).
    static void RegistrarAuditoria(const QString& DescricaoCurta, const QString& TipoIntegracao,
                                   const QString& Detalhes, const QString& TipoExcecao,
                                   TTipoAuditoria TipoAuditoria);

    // True when the file loads as a data packet.
    static bool ArquivoValido(const QString& NomeArquivo);

    static QString GetDiretorioAplicacao();  // program directory, trailing separator
    static QString GetDiretorioLogs();       // GetDiretorioAplicacao + "LogsIntegradorVesko/"
    static QString GetArquivoAuditoria();
    static QString GetArquivoAuditoria(const QDate& Data);
    static QString GetArquivoDetalhesAuditoria();
    static QString GetArquivoDetalhesAuditoria(const QDate& Data);

    static void CriarEstruturaAuditoria(TClientDataSet& DataSet);
    static void CriarEstruturaDetalhes(TClientDataSet& DataSet);
    static void GravarArquivoTexto(const QString& NomeArquivo, const QString& Texto);
};

}  // namespace vesko
