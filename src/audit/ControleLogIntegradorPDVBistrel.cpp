#include "audit/ControleLogIntegradorPDVBistrel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include "base/Excecoes.h"
#include "base/Relogio.h"
#include "datapacket/ClientDataSet.h"
#include "platform/DiretorioPrograma.h"
#include "platform/GravacaoAtomica.h"

namespace vesko {

QString TextoTipoAuditoria(int tipo) {
    switch (tipo) {
    case taErro: return QStringLiteral("Erro");
    case taAviso: return QStringLiteral("Aviso");
    case taInformacao: return QStringLiteral("Informação");
    default: return QString();
    }
}

QString TControleLogIntegradorPDVBistrel::GetDiretorioAplicacao() { return DiretorioPrograma(); }

QString TControleLogIntegradorPDVBistrel::GetDiretorioLogs() {
    return GetDiretorioAplicacao() + QStringLiteral("LogsIntegradorVesko") + SeparadorDiretorio();
}

namespace {
// YYYY/<month's full name>/Dia_DD/ under the audit root.
QString DiretorioDia(const QDate& d) {
    const QChar s = SeparadorDiretorio();
    return TControleLogIntegradorPDVBistrel::GetDiretorioLogs() + QString::number(d.year()).rightJustified(4, u'0') + s +
           QLocale().monthName(d.month(), QLocale::LongFormat) + s + QStringLiteral("Dia_") +
           QString::number(d.day()).rightJustified(2, u'0') + s;
}
}  // namespace

QString TControleLogIntegradorPDVBistrel::GetArquivoAuditoria(const QDate& Data) {
    return DiretorioDia(Data) + QStringLiteral("AuditoriaIntegradorVesko_") + Data.toString(QStringLiteral("ddMMyyyy")) +
           QStringLiteral(".dat");
}

QString TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria(const QDate& Data) {
    return DiretorioDia(Data) + QStringLiteral("DetalhesAuditoriaIntegradorVesko_") +
           Data.toString(QStringLiteral("ddMMyyyy")) + QStringLiteral(".dat");
}

QString TControleLogIntegradorPDVBistrel::GetArquivoAuditoria() { return GetArquivoAuditoria(Relogio::Hoje()); }

QString TControleLogIntegradorPDVBistrel::GetArquivoDetalhesAuditoria() {
    return GetArquivoDetalhesAuditoria(Relogio::Hoje());
}

// ---- structure ---------------------------------------------------------------

void TControleLogIntegradorPDVBistrel::CriarEstruturaAuditoria(TClientDataSet& DataSet) {
    DataSet.Close();
    DataSet.FieldDefs().Clear();
    DataSet.FieldDefs().Add(QStringLiteral("IdAuditoria"), ftAutoInc);
    DataSet.FieldDefs().Add(QStringLiteral("TipoIntegracao"), ftString, 10);
    DataSet.FieldDefs().Add(QStringLiteral("TipoExcecao"), ftString, 40);
    DataSet.FieldDefs().Add(QStringLiteral("DescricaoCurta"), ftString, 50);
    DataSet.FieldDefs().Add(QStringLiteral("DataOcorrencia"), ftDate);
    DataSet.FieldDefs().Add(QStringLiteral("HoraOcorrencia"), ftTime);
    DataSet.FieldDefs().Add(QStringLiteral("TipoAuditoria"), ftSmallint);
    DataSet.CreateDataSet();
}

void TControleLogIntegradorPDVBistrel::CriarEstruturaDetalhes(TClientDataSet& DataSet) {
    DataSet.Close();
    DataSet.FieldDefs().Clear();
    DataSet.FieldDefs().Add(QStringLiteral("IdAuditoria"), ftAutoInc);
    DataSet.FieldDefs().Add(QStringLiteral("DetalhesLog"), ftMemo);
    DataSet.CreateDataSet();
}

bool TControleLogIntegradorPDVBistrel::ArquivoValido(const QString& NomeArquivo) {
    try {
        TClientDataSet rascunho;
        rascunho.LoadFromFile(NomeArquivo);
        return true;
    } catch (...) {
        return false;
    }
}

void TControleLogIntegradorPDVBistrel::GravarArquivoTexto(const QString& NomeArquivo, const QString& Texto) {
    QFile f(NomeArquivo);
    const QByteArray bytes = (Texto + QStringLiteral("\r\n")).toUtf8();
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size())
        throw EFCreateError(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(NomeArquivo, f.errorString()));
}

// ---- writing -------------------------------------------------------------------

namespace {

// A day file that no longer loads is started again, but its bytes are kept
// beside it as "<file>.danificado-yyyyMMdd-HHmmss" (never over another file),
// so whoever looks after the store can still recover its records. When it
// cannot be set aside, nothing is overwritten: the record fails instead.
void GuardarArquivoDanificado(const QString& arquivo) {
    const QString base = arquivo + QStringLiteral(".danificado-") +
                         Relogio::Agora().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString destino = base;
    for (int n = 2; QFileInfo::exists(destino) || QFileInfo(destino).isSymLink(); ++n)
        destino = base + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(arquivo, destino))
        throw EInOutError(
            QStringLiteral("O arquivo de auditoria \"%1\" está danificado e não pôde ser guardado como \"%2\".")
                .arg(arquivo, destino));
}

// Loads `arquivo` when it exists and loads; otherwise starts it empty with `criar`.
void AbrirOuCriar(TClientDataSet& ds, const QString& arquivo, void (*criar)(TClientDataSet&)) {
    const QFileInfo info(arquivo);
    if (info.exists()) {
        if (TControleLogIntegradorPDVBistrel::ArquivoValido(arquivo)) {
            ds.LoadFromFile(arquivo);
            return;
        }
        if (info.isFile()) GuardarArquivoDanificado(arquivo);  // anything else in its place fails the save
    }
    criar(ds);
}

}  // namespace

void TControleLogIntegradorPDVBistrel::RegistrarAuditoria(const QString& DescricaoCurta, const QString& TipoIntegracao,
                                                          const QString& Detalhes, const QString& TipoExcecao,
                                                          TTipoAuditoria TipoAuditoria) {
    // One moment for the whole record: date, time and the day's files agree
    // even when the call runs across midnight.
    const QDateTime agora = Relogio::Agora();
    const QString arquivoAuditoria = GetArquivoAuditoria(agora.date());
    const QString arquivoDetalhes = GetArquivoDetalhesAuditoria(agora.date());

    TClientDataSet auditoria;
    TClientDataSet detalhes;
    AbrirOuCriar(auditoria, arquivoAuditoria, &CriarEstruturaAuditoria);
    AbrirOuCriar(detalhes, arquivoDetalhes, &CriarEstruturaDetalhes);

    const qint64 n = auditoria.RecordCount();
    auditoria.Append();
    auditoria.FieldByName("IdAuditoria").SetAsInteger(n + 1);
    auditoria.FieldByName("TipoIntegracao").SetAsString(TipoIntegracao);
    auditoria.FieldByName("DataOcorrencia").SetAsDate(agora.date());
    auditoria.FieldByName("HoraOcorrencia").SetAsTime(agora.time());
    auditoria.FieldByName("DescricaoCurta").SetAsString(DescricaoCurta);
    auditoria.FieldByName("TipoExcecao").SetAsString(TipoExcecao);
    auditoria.FieldByName("TipoAuditoria").SetAsInteger(TipoAuditoria);
    auditoria.Post();

    detalhes.Append();
    detalhes.FieldByName("IdAuditoria").SetAsInteger(n + 1);
    detalhes.FieldByName("DetalhesLog").SetAsString(Detalhes + QStringLiteral("\r\n"));
    detalhes.Post();

    const QString diretorio = QFileInfo(arquivoAuditoria).absolutePath();
    if (!QDir().mkpath(diretorio))
        throw EInOutError(QStringLiteral("Não foi possível criar o diretório \"%1\".").arg(diretorio));
    // A save interrupted by a crash leaves its temporary "<file>.~vesko-XXXXXX"
    // behind; readers never open it and the next save of the day removes it,
    // and nothing else: a copy the user keeps beside the file stays.
    RemoverTemporariosGravacao(arquivoAuditoria);
    RemoverTemporariosGravacao(arquivoDetalhes);
    auditoria.SaveToFile(arquivoAuditoria);  // complete file or none: see TClientDataSet::SaveToFile
    detalhes.SaveToFile(arquivoDetalhes);
}

}  // namespace vesko
