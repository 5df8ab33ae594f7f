#include "export/ExportacaoPDVBistrelInterna.h"

#include <QFileInfo>
#include <QStringList>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Hint.h"
#include "datapacket/ClientDataSet.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "export/ArquivosExportacao.h"
#include "store/BackupDat.h"
#include "store/MetodosComuns.h"
#include "store/TextoLoja.h"

namespace vesko {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QStringList Linhas(const QString& Texto) {
    QString t = Texto;
    t.replace(kCrLf, QStringLiteral("\n"));
    return t.split(QLatin1Char('\n'));
}

}  // namespace

TExportacaoPDVBistrelInterna::TExportacaoPDVBistrelInterna(IHint& TrayIcon, const QString& DiretorioExportacao)
    : FTrayIcon(TrayIcon), FDiretorioExportacao(PutLastBackSlash(DiretorioExportacao)) {}

TExportacaoPDVBistrelInterna::~TExportacaoPDVBistrelInterna() = default;

// ---- the run ------------------------------------------------------------------

bool TExportacaoPDVBistrelInterna::ExecutarPassos(TComunicacaoBancoBistrel& Gateway) {
    RemoverTemporariosExportacao(FDiretorioExportacao);
    bool ok = CarregarConfiguracoesCFOP(Gateway);
    ok = ExportarLogs(Gateway) && ok;
    ok = ExportarClientes(Gateway) && ok;
    ok = ExportarVendas(Gateway) && ok;
    ok = ExportarMovimentosNaoFiscais(Gateway) && ok;
    ok = ExportarArquivosDocumentoPorTipo(QStringLiteral("ECXA"), QStringLiteral("ECxa"), Gateway) && ok;
    ok = ExportarArquivosDocumentoPorTipo(QStringLiteral("XDOC"), QStringLiteral("XDoc"), Gateway) && ok;
    ok = ExportarArquivosDocumentoPorTipo(QStringLiteral("INUT"), QStringLiteral("XDocI"), Gateway) && ok;
    ok = ExportarArquivosDocumentoPorTipo(QStringLiteral("CDOCH"), QStringLiteral("CDoc"), Gateway) && ok;
    ok = ExportarArquivosDocumentoPorTipo(QStringLiteral("SDOCC"), QStringLiteral("SDocC"), Gateway) && ok;
    return ok;
}

bool TExportacaoPDVBistrelInterna::CarregarConfiguracoesCFOP(TComunicacaoBancoBistrel& Gateway) {
    FCfop = Gateway.LerConfiguracao(QStringLiteral("CFOP"));
    FCfopIss = Gateway.LerConfiguracao(QStringLiteral("CFOP_ISS"));
    FCfopSt = Gateway.LerConfiguracao(QStringLiteral("CFOP_ST"));
    return true;
}

const QString& TExportacaoPDVBistrelInterna::StRetaguarda(TComunicacaoBancoBistrel& Gateway) {
    if (!FStRetaguarda) FStRetaguarda = Gateway.LerConfiguracao(QStringLiteral("StRetaguarda"));
    return *FStRetaguarda;
}

const QString& TExportacaoPDVBistrelInterna::CdEmpresa(TComunicacaoBancoBistrel& Gateway) {
    if (!FCdEmpresa) FCdEmpresa = TMetodosComuns::LerCdEmpresa(Gateway.GetConexao());
    return *FCdEmpresa;
}

void TExportacaoPDVBistrelInterna::EsquecerConfiguracoesPasso() {
    FStRetaguarda.reset();
    FCdEmpresa.reset();
}

// ---- summary ------------------------------------------------------------------

void TExportacaoPDVBistrelInterna::RegistrarResumo(bool Completa, bool Automatico) {
    const QString exportados = GetArquivosExportados();
    const QString naoExportados = GetArquivosNaoExportados();
    const QString tipo = QStringLiteral("Exportação");
    if (Completa && !exportados.isEmpty()) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Exportação realizada com sucesso!"), tipo,
            QStringLiteral("Arquivos exportados:") + kCrLf + kCrLf + exportados, QString(), taInformacao);
    } else if (Completa && !Automatico && naoExportados.isEmpty() && exportados.isEmpty()) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Nenhum arquivo exportado para a retaguarda"), tipo,
            QStringLiteral("A rotina de exportação foi executada com sucesso, porém, no momento não existe "
                           "nenhum arquivo para ser exportado para o sistema de retaguarda."),
            QString(), taInformacao);
    } else if (!Completa && !Automatico && !naoExportados.isEmpty()) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Arquivos não exportados para a retaguarda"), tipo, naoExportados, QString(), taAviso);
    }
}

QString TExportacaoPDVBistrelInterna::AjustarLista(const QString& Lista) {
    const QString aparada = Lista.trimmed();
    QStringList linhas = Linhas(aparada);
    if (linhas.size() > 1 && linhas.last().startsWith(QString(20, QLatin1Char('-')))) linhas.removeLast();
    return linhas.join(kCrLf).trimmed();
}

QString TExportacaoPDVBistrelInterna::GetArquivosExportados() const { return AjustarLista(FArquivosExportados); }

QString TExportacaoPDVBistrelInterna::GetArquivosNaoExportados() const {
    return AjustarLista(FArquivosNaoExportados);
}

int TExportacaoPDVBistrelInterna::GetTamanhoUltimaLinha(const QString& Lista) {
    const QString aparada = Lista.trimmed();
    if (aparada.isEmpty()) return 0;
    return static_cast<int>(Linhas(aparada).last().size());
}

// ---- file names ---------------------------------------------------------------

QString TExportacaoPDVBistrelInterna::GetNomeMaquina() {
    return GetLocalMachine().remove(QLatin1Char('-'));
}

QString TExportacaoPDVBistrelInterna::GetNomeArquivoExportacao(const QString& Terminal, const QString& NrOrdem,
                                                               const QDateTime& DataHora) {
    // Terminal and order number arrive as short strings.
    const QString terminal = Terminal.left(255);
    const QString nrOrdem = NrOrdem.left(255);
    const QString t = NomeArquivoSeguro((terminal.trimmed().isEmpty() ? GetNomeMaquina() : terminal).left(8));
    const QString a = QStringLiteral("[") + t + QStringLiteral("]");
    const QString b = nrOrdem.trimmed().isEmpty()
                          ? QString()
                          : QStringLiteral("[") + t + QStringLiteral("-") +
                                NomeArquivoSeguro(StrZero(nrOrdem, 9)) + QStringLiteral("]");
    // A missing date-time (a null column) is day zero, midnight.
    const QTime hora = DataHora.isValid() ? DataHora.time() : QTime(0, 0);
    const QString c = QStringLiteral("[") + hora.toString(QStringLiteral("HHmmss")) + QStringLiteral("]");
    return a + b + c + GetRandonSufix() + QStringLiteral(".dat");
}

void TExportacaoPDVBistrelInterna::CriarBackupArquivo(const QString& NomeArquivo) {
    // A missing file is no copy (CriarBackupDAT says so and makes no folder).
    QString texto;
    CriarBackupDAT(NomeArquivo, texto);
}

// ---- shared by the steps --------------------------------------------------------

void TExportacaoPDVBistrelInterna::DefinirHint(const QString& Texto) { FTrayIcon.DefinirHint(Texto); }

void TExportacaoPDVBistrelInterna::AdicionarArquivoExportado(const QString& NomeArquivo) {
    FArquivosExportados += QStringLiteral("* ") + NomeArquivo + QStringLiteral(";") + kCrLf;
}

void TExportacaoPDVBistrelInterna::AdicionarLinhaTracos() {
    const int n = GetTamanhoUltimaLinha(FArquivosExportados);
    if (n > 0) FArquivosExportados += QString(n, QLatin1Char('-')) + kCrLf;
}

void TExportacaoPDVBistrelInterna::AdicionarArquivoNaoExportado(const QString& Mensagem) {
    FArquivosNaoExportados += Mensagem + kCrLf + QString(Mensagem.size(), QLatin1Char('-')) + kCrLf;
}

bool TExportacaoPDVBistrelInterna::ConcluirUnidade(TComunicacaoBancoBistrel& Gateway, TUnidadeExportacao& Unidade,
                                                   bool Ok, bool ListarArquivos) {
    if (Ok && !Unidade.Efetivar()) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Erro na gravação dos arquivos de exportação"), QStringLiteral("Exportação"),
            QStringLiteral("Não foi possível dar o nome final aos arquivos exportados no diretório ") +
                FDiretorioExportacao + QStringLiteral("; a operação foi desfeita e será repetida na próxima "
                                                      "exportação."),
            QString(), taErro);
        Ok = false;
    }
    if (Ok) Ok = Gateway.ConfirmarTransacao();
    if (!Ok) {
        Unidade.Descartar();
        if (Gateway.GetConexao().EmTransacao()) Gateway.ReverterTransacao();
        return false;
    }
    Unidade.Concluir();
    for (const QString& caminho : Unidade.CaminhosFinais()) CriarBackupArquivo(caminho);
    if (ListarArquivos)
        for (const QString& nome : Unidade.NomesFinais()) AdicionarArquivoExportado(nome);
    return true;
}

}  // namespace vesko
