#pragma once
// Reading the audit trail back: the records of one day, the long text of one
// record. Used by the viewer and by the `auditoria` command.
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

namespace vesko {

struct TRegistroAuditoria {
    int IdAuditoria = 0;
    QString TipoIntegracao;
    QString TipoExcecao;
    QString DescricaoCurta;
    QDate DataOcorrencia;
    QTime HoraOcorrencia;
    int TipoAuditoria = 0;
};

struct TDiaAuditoria {
    QDate Dia;
    bool Existe = false;   // the day's main file is there
    bool Legivel = true;   // ... and loads
    QList<TRegistroAuditoria> Registros;  // in file order
};

// The records of `dia` from its main file. A missing file gives no records;
// a file that does not load gives Legivel = false and no records.
TDiaAuditoria LerAuditoriasDoDia(const QDate& dia);

// The days from `dias` days ago up to today, oldest first.
QList<TDiaAuditoria> LerAuditoriasRecentes(int dias);

// The long text of record `IdAuditoria` of `dia` as stored ("" when the
// details file is missing, unreadable or has no such record).
QString LerDetalhesArmazenados(const QDate& dia, int IdAuditoria);

// The same, trimmed of leading and trailing blanks and line breaks (as shown).
QString GetDetalhes(const QDate& dia, const QString& IdAuditoria);

// Text of an audit type as shown: "Erro" for 0, "Aviso" for 1, "Informação"
// for any other value.
QString TipoAuditoriaStr(int tipo);

// "Não foi possível ler as auditorias do dia DD/MM/YYYY."
QString AvisoDiaIlegivel(const QDate& dia);

}  // namespace vesko
