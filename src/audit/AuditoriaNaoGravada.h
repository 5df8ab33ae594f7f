#pragma once
// Records the audit trail could not take. When a day's files cannot be
// written (disk full, the day's folder unusable), the record is not lost: a
// line goes to standard error and the record is appended, one line each, to
// "AuditoriaNaoGravada.txt" in the program directory (UTF-8). The viewer and
// the `auditoria` command point that file out while it holds anything; the
// store owner deletes it after reading.
#include <QString>
#include <optional>

#include "audit/ControleLogIntegradorPDVBistrel.h"

namespace vesko {

struct TAuditoriaNaoGravada {
    QString DescricaoCurta;
    QString TipoIntegracao;
    QString Detalhes;
    QString TipoExcecao;
    TTipoAuditoria TipoAuditoria = taErro;
};

// Full path of the fallback file.
QString ArquivoAuditoriaNaoGravada();

// Writes the record to the audit trail. When that fails, hands it to
// GuardarAuditoriaNaoGravada and returns why it failed; an empty optional
// when the record was written. Never throws.
std::optional<QString> RegistrarAuditoriaOuGuardar(const TAuditoriaNaoGravada& Registro) noexcept;

// Writes "Não foi possível gravar o registro de auditoria: <Motivo>" on
// standard error and appends one line to the fallback file (opened and
// closed here): date and time, run, type, short text, long text on one line,
// the exception's class and why the write failed. A fallback file that cannot
// be written is left at the standard-error line. Never throws.
void GuardarAuditoriaNaoGravada(const TAuditoriaNaoGravada& Registro, const QString& Motivo) noexcept;

// The line appended for a record (without the line break).
QString LinhaAuditoriaNaoGravada(const TAuditoriaNaoGravada& Registro, const QString& Motivo);

// Lines in the fallback file; 0 when it is missing or empty.
int ContarAuditoriasNaoGravadas();

// "Atenção: N registro(s) de auditoria não puderam ser gravados e estão no
// arquivo <path>." or an empty text when the fallback file holds nothing.
QString AvisoAuditoriaNaoGravada();

}  // namespace vesko
