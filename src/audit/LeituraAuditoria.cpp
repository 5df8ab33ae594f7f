#include "audit/LeituraAuditoria.h"

#include <QFile>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Relogio.h"
#include "datapacket/ClientDataSet.h"

namespace vesko {

QString TipoAuditoriaStr(int tipo) {
    switch (tipo) {
    case taErro: return QStringLiteral("Erro");
    case taAviso: return QStringLiteral("Aviso");
    default: return QStringLiteral("Informação");
    }
}

QString AvisoDiaIlegivel(const QDate& dia) {
    return QStringLiteral("Não foi possível ler as auditorias do dia %1.").arg(dia.toString(QStringLiteral("dd/MM/yyyy")));
}

TDiaAuditoria LerAuditoriasDoDia(const QDate& dia) {
    TDiaAuditoria d;
    d.Dia = dia;
    const QString arquivo = TControleLogIntegradorPDVBistrel::GetArquivoAuditoria(dia);
    d.Existe = QFile::exists(arquivo);
    if (!d.Existe) return d;
    try {
        TClientDataSet ds;
        ds.LoadFromFile(arquivo);
        for (ds.First(); !ds.Eof(); ds.Next()) {
            TRegistroAuditoria r;
            r.IdAuditoria = ds.FieldByName("IdAuditoria").AsInteger();
            r.TipoIntegracao = ds.FieldByName("TipoIntegracao").AsString();
            r.TipoExcecao = ds.FieldByName("TipoExcecao").AsString();
            r.DescricaoCurta = ds.FieldByName("DescricaoCurta").AsString();
            r.DataOcorrencia = ds.FieldByName("DataOcorrencia").AsDate();
            r.HoraOcorrencia = ds.FieldByName("HoraOcorrencia").AsTime();
            r.TipoAuditoria = ds.FieldByName("TipoAuditoria").AsInteger();
            d.Registros << r;
        }
    } catch (const std::exception&) {
        d.Legivel = false;
        d.Registros.clear();
    }
    return d;
}

QList<TDiaAuditoria> LerAuditoriasRecentes(int dias) {
    QList<TDiaAuditoria> lista;
    const QDate hoje = Relogio::Hoje();
    for (int n = dias; n >= 0; --n) lista << LerAuditoriasDoDia(hoje.addDays(-n));
    return lista;
}

QString LerDetalhesArmazenados(const QDate& dia, int IdAuditoria) {
    const QString arquivo = TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria(dia);
    if (!QFile::exists(arquivo)) return QString();
    try {
        TClientDataSet ds;
        ds.LoadFromFile(arquivo);
        if (ds.Locate(QStringLiteral("IdAuditoria"), IdAuditoria)) return ds.FieldByName("DetalhesLog").AsString();
    } catch (const std::exception&) {
    }
    return QString();
}

QString GetDetalhes(const QDate& dia, const QString& IdAuditoria) {
    bool ok = false;
    const int id = IdAuditoria.toInt(&ok);
    if (!ok) return QString();
    QString texto = LerDetalhesArmazenados(dia, id);
    // Trimmed of leading and trailing blanks and line breaks.
    qsizetype inicio = 0, fim = texto.size();
    auto branco = [](QChar c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; };
    while (inicio < fim && branco(texto[inicio])) ++inicio;
    while (fim > inicio && branco(texto[fim - 1])) --fim;
    return texto.mid(inicio, fim - inicio);
}

}  // namespace vesko
