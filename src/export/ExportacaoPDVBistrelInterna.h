#pragma once
// The worker of one export run: it lives for one run, carries the CFOP
// settings, the export directory and the two lists the summary is made of,
// and runs the ten steps in order, each whatever the steps before it gave.
//
// The steps of each family live in their own source file:
//   ExportacaoPDVBistrelInterna.cpp  the frame: lists, file names, CFOP, backups
//   ExportacaoLogsClientes.cpp       event log (LEvt) and customers (CCad)
//   ExportacaoVendas.cpp             sales (HDoc, DDoc, CDoc, ADoc, document files)
//   ExportacaoNaoFiscais.cpp         non-fiscal movements and documents by type
//
// Every export file is written through a TUnidadeExportacao
// (ArquivosExportacao.h): under a temporary name first, renamed into place
// just before the unit's commit, removed when the unit rolls back.
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace vesko {

class IHint;
class TComunicacaoBancoBistrel;
class TClientDataSet;
class TQuery;
class TUnidadeExportacao;
class TVendaHeader;
class TVendaItemRec;

// The sale under way in the sales step: its unit of work, the statuses the
// selection read (the mark requires them still), its base name and the
// document prefixes it used (plain, or the alteration ones).
struct TVendaEmExportacao {
    explicit TVendaEmExportacao(TUnidadeExportacao& Unidade_) : Unidade(Unidade_) {}
    TUnidadeExportacao& Unidade;
    int StMovimento = 0;
    int StMovimentoExportado = 0;
    QString NomeBase;
    QStringList PrefixosDocumentos;
};

class TExportacaoPDVBistrelInterna {
public:
    // Stores the hint and the directory (with a trailing separator); both
    // lists start empty.
    TExportacaoPDVBistrelInterna(IHint& TrayIcon, const QString& DiretorioExportacao);
    ~TExportacaoPDVBistrelInterna();
    TExportacaoPDVBistrelInterna(const TExportacaoPDVBistrelInterna&) = delete;
    TExportacaoPDVBistrelInterna& operator=(const TExportacaoPDVBistrelInterna&) = delete;

    // ---- the run ---------------------------------------------------------
    // Removes the stale temporaries of the export directory, then runs the
    // ten steps in order, each whether or not the ones before succeeded.
    // True when all ten returned true.
    bool ExecutarPassos(TComunicacaoBancoBistrel& Gateway);

    // The ten steps, in the order the run calls them.
    bool CarregarConfiguracoesCFOP(TComunicacaoBancoBistrel& Gateway);  // 1
    bool ExportarLogs(TComunicacaoBancoBistrel& Gateway);               // 2
    bool ExportarClientes(TComunicacaoBancoBistrel& Gateway);           // 3
    bool ExportarVendas(TComunicacaoBancoBistrel& Gateway);             // 4
    bool ExportarMovimentosNaoFiscais(TComunicacaoBancoBistrel& Gateway);  // 5
    // 6 to 10: ("ECXA", "ECxa"), ("XDOC", "XDoc"), ("INUT", "XDocI"),
    // ("CDOCH", "CDoc"), ("SDOCC", "SDocC").
    bool ExportarArquivosDocumentoPorTipo(const QString& TipoArquivo, const QString& Prefixo,
                                          TComunicacaoBancoBistrel& Gateway);

    // ---- summary ---------------------------------------------------------
    // The summary record of a finished run (none in the cases that leave no
    // trace). `Completa`: connected and all ten steps returned true.
    void RegistrarResumo(bool Completa, bool Automatico);
    QString GetArquivosExportados() const;
    QString GetArquivosNaoExportados() const;
    // Length of the last line of the trimmed list; 0 for an empty list.
    static int GetTamanhoUltimaLinha(const QString& Lista);
    // The list trimmed, its last line dropped when the list has more than
    // one line and that line starts with 20 "-", trimmed again.
    static QString AjustarLista(const QString& Lista);

    // ---- file names --------------------------------------------------------
    // "[T]" + "[T-" + StrZero(NrOrdem, 9) + "]" (when NrOrdem is not blank)
    // + "[HHNNSS]" + GetRandonSufix() + ".dat". T: the first 8 characters of
    // the terminal, or of the machine name when the terminal is blank. Text
    // from the database is made safe for a file name first.
    static QString GetNomeArquivoExportacao(const QString& Terminal, const QString& NrOrdem,
                                            const QDateTime& DataHora);
    // The local machine name without "-".
    static QString GetNomeMaquina();
    // Hands an existing file to CriarBackupDAT; the answer is ignored.
    static void CriarBackupArquivo(const QString& NomeArquivo);

    // ---- shared by the steps ---------------------------------------------
    void DefinirHint(const QString& Texto);
    // "* " + NomeArquivo + ";" + CR LF appended to the exported list.
    void AdicionarArquivoExportado(const QString& NomeArquivo);
    // A line of "-" as long as the list's last line, + CR LF (nothing when
    // the list is empty).
    void AdicionarLinhaTracos();
    // A failed sale's message, then a line of "-" as long as it.
    void AdicionarArquivoNaoExportado(const QString& Mensagem);
    // The end of a unit of work that wrote files: when `Ok`, the unit's
    // files are renamed into place and the transaction committed; the files
    // are then copied to the backups and their names listed (without
    // directory). Otherwise, or when the rename or the commit fails, the
    // transaction is rolled back and the unit's files removed. True when
    // committed.
    bool ConcluirUnidade(TComunicacaoBancoBistrel& Gateway, TUnidadeExportacao& Unidade, bool Ok,
                         bool ListarArquivos = true);

    const QString& DiretorioExportacao() const { return FDiretorioExportacao; }
    const QString& Cfop() const { return FCfop; }
    const QString& CfopIss() const { return FCfopIss; }
    const QString& CfopSt() const { return FCfopSt; }
    // "StRetaguarda" and "CdEmpresa", read at their first use in a step and
    // kept until the next step starts (EsquecerConfiguracoesPasso): the
    // sales and non-fiscal steps need them once per movement. A failing
    // read raises (the movement fails) and is tried again by the next one.
    const QString& StRetaguarda(TComunicacaoBancoBistrel& Gateway);
    const QString& CdEmpresa(TComunicacaoBancoBistrel& Gateway);
    void EsquecerConfiguracoesPasso();
    QString& ArquivosExportados() { return FArquivosExportados; }
    QString& ArquivosNaoExportados() { return FArquivosNaoExportados; }

    // ---- event log (step 2) -----------------------------------------------
    bool GravarArquivoLogs(TComunicacaoBancoBistrel& Gateway, TQuery& Logs, TUnidadeExportacao& Unidade);
    // The LEvt dataset: six fields, created and open.
    static std::unique_ptr<TClientDataSet> CriarDataSetLogs();
    bool ApagarLog(TComunicacaoBancoBistrel& Gateway, int IdLog);

    // ---- customers (step 3) -----------------------------------------------
    bool GravarArquivosClientes(TComunicacaoBancoBistrel& Gateway, TQuery& Clientes, TUnidadeExportacao& Unidade);
    bool GravarArquivoCliente(TComunicacaoBancoBistrel& Gateway, TQuery& Clientes, TUnidadeExportacao& Unidade);
    // 1: the customer's finished sale found (NrOrdem, IpTerminal, DataHora
    // of it); 0: no such sale; -1: the query did not open.
    int BuscarMovimentoCliente(TComunicacaoBancoBistrel& Gateway, const QString& IdCliente, QString& NrOrdem,
                               QString& IpTerminal, QDateTime& DataHora);
    // Deletes the CLIENTEEXP row the selection returned, by its RDB$DB_KEY.
    bool ApagarClienteExportado(TComunicacaoBancoBistrel& Gateway, const QByteArray& ChaveLinha);

    // ---- sales (step 4) ----------------------------------------------------
    // The sale on the current row of `Vendas`, in the transaction just
    // started: files, mark, then commit or rollback. False when it failed;
    // a sale the POS changed since the selection is rolled back and left
    // for the next run (with an informative record), which is no failure.
    bool ExportarVenda(TComunicacaoBancoBistrel& Gateway, TQuery& Vendas);
    // Itens and Recebimentos: TMetodosComuns::GetDataSetItensVenda and
    // GetDataSetRecebimentosVenda. The files go into Estado's unit under
    // their temporary names.
    bool GravarArquivosVenda(TComunicacaoBancoBistrel& Gateway, TQuery& Venda, TQuery& Itens, TQuery& Recebimentos,
                             TVendaEmExportacao& Estado);
    // Marks the movement exported only while it still holds the two status
    // values the selection read; false when no row changed.
    bool MarcarMovimentoExportado(TComunicacaoBancoBistrel& Gateway, int IdMovimento, int StMovimento,
                                  int StMovimentoExportado);
    // True when the movement no longer holds the status values the selection
    // read, or is gone (the POS changed it meanwhile).
    bool MovimentoAlteradoDesdeSelecao(TComunicacaoBancoBistrel& Gateway, int IdMovimento, int StMovimento,
                                       int StMovimentoExportado);
    void MontarItemVenda(TQuery& Itens, const QString& IdVendedor, TVendaItemRec& Item);
    static unsigned char GetTipoTributacao(QChar Letra);
    // The row's CFOP, or the setting for the tax type (CFOP_ST, CFOP_ISS or CFOP).
    QString GetCFOPItem(unsigned char TipoTributacao, const QString& Cfop) const;
    void GravarArquivoAlteracao(const QString& NomeArquivo, const TVendaHeader& Header, const QDateTime& DataPedido,
                                const QDateTime& DataEmissao, const QString& NumeroVenda);
    void CorrigirDataCancelamento(const QString& NomeArquivo, bool Corrigir, const QDateTime& DataPedido);
    void AtualizarDataHoraPedido(TComunicacaoBancoBistrel& Gateway, int IdMovimento, const QDateTime& DataHora);
    // The sale's document rows into files of Estado's unit (under Estado's
    // base name), then exactly those rows deleted; sets the prefixes used.
    bool ExportarArquivosDocumentoVenda(TComunicacaoBancoBistrel& Gateway, int IdMovimento,
                                        TVendaEmExportacao& Estado);
    bool UsarArquivosAlteracao(TComunicacaoBancoBistrel& Gateway, const QString& ArquivoADoc,
                               const QString& ArquivoHDoc);

    // ---- non-fiscal movements and documents by type (steps 5 to 10) -------
    // Movimentos: the selection of step 5, its files go into `Unidade`.
    // `Adiado` becomes true when a mark found its movement changed by the POS
    // since the selection (the step is then rolled back and deferred).
    bool GravarArquivosNaoFiscais(TComunicacaoBancoBistrel& Gateway, TQuery& Movimentos, TUnidadeExportacao& Unidade,
                                  bool& Adiado);
    bool GravarArquivoNaoFiscal(TComunicacaoBancoBistrel& Gateway, TQuery& Movimentos, TQuery& Recebimentos,
                                TUnidadeExportacao& Unidade);
    // Each row's file is renamed into place, then its row deleted by
    // IDARQUIVODOCUMENTO. False when a rename or a deletion fails.
    bool GravarArquivosDocumentoPorTipo(TComunicacaoBancoBistrel& Gateway, const QString& Prefixo,
                                        TQuery& Documentos);

private:
    IHint& FTrayIcon;
    QString FCfop;
    QString FCfopIss;
    QString FCfopSt;
    std::optional<QString> FStRetaguarda;
    std::optional<QString> FCdEmpresa;
    QString FDiretorioExportacao;
    QString FArquivosExportados;
    QString FArquivosNaoExportados;
};

}  // namespace vesko
