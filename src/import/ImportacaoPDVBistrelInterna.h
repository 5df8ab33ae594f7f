#pragma once
// The worker of one import run: it checks the import directory and the files
// the run cannot do without, then walks the chain of save steps, each of
// which loads its data files into the worker's datasets and rewrites POS
// tables inside a transaction of its own. The run stops at the first step
// that fails; the steps committed before it stay committed.
//
// The save steps of each table family live in their own source file
// (ImportacaoRecebimentos.cpp, ImportacaoConfiguracoes.cpp, ...); this file
// and ImportacaoPDVBistrelInterna.cpp hold the run's frame: validation, the
// chain, the step transaction, the generic loader and table rewrite, the
// summary and the field helpers.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <functional>
#include <initializer_list>

#include "datapacket/ClientDataSet.h"
#include "firebird/Params.h"

namespace vesko {

class IHint;
class TComunicacaoBancoBistrel;

// One table rewrite in the generic frame: guard, delete, progress, one
// INSERT per record, summary entry.
struct TReescritaTabela {
    TClientDataSet* DataSet = nullptr;
    // Closed or empty dataset: success at once, table untouched.
    bool ComGuarda = true;
    // Shown before the delete when not empty ("Apagando ...").
    QString HintApagando;
    QString SqlDelete;
    // Progress text of each record ("Importando arquivo de ... "), followed
    // by FormatarProgresso(k, N) and "...".
    QString TextoProgresso;
    // The first progress text goes before the delete instead of after it.
    bool ProgressoAntesDoDelete = false;
    // Runs after a successful delete (a sequence restart); its result
    // becomes the success flag.
    std::function<bool()> AposDelete;
    // Builds the current record's INSERT: fills the emptied parameter list
    // and returns the statement text.
    std::function<QString(TParams&)> MontarInsert;
    // Run every record's INSERT and keep the last record's result, instead
    // of stopping at the first failure.
    bool ExecutarTodos = false;
    // The file name listed in the summary on success ("TpRec.dat"); empty:
    // no entry.
    QString ArquivoResumo;
};

class TImportacaoPDVBistrelInterna {
public:
    TImportacaoPDVBistrelInterna(IHint& Tray, const QString& DiretorioImportacao);
    ~TImportacaoPDVBistrelInterna();
    TImportacaoPDVBistrelInterna(const TImportacaoPDVBistrelInterna&) = delete;
    TImportacaoPDVBistrelInterna& operator=(const TImportacaoPDVBistrelInterna&) = delete;

    // ---- validation ------------------------------------------------------
    // The directory, then the ".dat" files holding still for a moment (no
    // copy under way), then the files the run cannot do without.
    bool ValidarImportacao();
    bool VerificarDiretorioImportacao();
    // A file that changed, appeared or vanished during the pause ends the run
    // with one warning ("Importação adiada. ..."); the next tick tries again.
    bool VerificarArquivosEstaveis();
    bool VerificarArquivosImportacao();
    bool VerificarArquivo(const QString& NomeArquivo, bool Avisar);

    // ---- the chain -------------------------------------------------------
    bool ExecutarImportacao(TComunicacaoBancoBistrel& Gateway);
    QString MontarResumoImportacao() const;
    void RegistrarDataUltimaAtualizacao(TComunicacaoBancoBistrel& Gateway);

    // The save steps, in the order the chain runs them.
    bool SalvarRecebimentos(TComunicacaoBancoBistrel& Gateway);             // 1
    bool SalvarPrazos(TComunicacaoBancoBistrel& Gateway);                   // 2
    bool SalvarTiposRecebimentoSiTEF(TComunicacaoBancoBistrel& Gateway);    // 3
    bool SalvarConfiguracoes(TComunicacaoBancoBistrel& Gateway);            // 4
    bool SalvarUsuarios(TComunicacaoBancoBistrel& Gateway);                 // 5
    bool SalvarCaracteristicas(TComunicacaoBancoBistrel& Gateway);          // 6
    bool SalvarCaracteristicasProdutos(TComunicacaoBancoBistrel& Gateway);  // 7
    bool SalvarGruposProdutos(TComunicacaoBancoBistrel& Gateway);           // 8
    bool SalvarComposicaoProdutos(TComunicacaoBancoBistrel& Gateway);       // 9
    bool SalvarCodigosProdutos(TComunicacaoBancoBistrel& Gateway);          // 10
    bool CadastrarStatusEntrega(TComunicacaoBancoBistrel& Gateway);         // 11 (no transaction)
    bool SalvarValidacoes(TComunicacaoBancoBistrel& Gateway);               // 12
    bool SalvarItensCardapio(TComunicacaoBancoBistrel& Gateway);            // 13
    bool SalvarDetalhesVesko(TComunicacaoBancoBistrel& Gateway);            // 14
    bool SalvarDetalheVeskoOpcoes(TComunicacaoBancoBistrel& Gateway);       // 15
    bool SalvarDetalheVeskoObservacoes(TComunicacaoBancoBistrel& Gateway);  // 16
    bool SalvarClientes(TComunicacaoBancoBistrel& Gateway);                 // 17

    // ---- the frame shared by the table families --------------------------
    // Loads a file of the import directory into `DataSet`; a failure is
    // audited ("Erro no carregamento do arquivo de base.") and gives false.
    bool CarregarArquivo(const QString& NomeArquivo, TClientDataSet& DataSet);
    // A required loader: hint, then CarregarArquivo.
    bool CarregarObrigatorio(const QString& NomeArquivo, TClientDataSet& DataSet, const QString& Hint);
    // An optional loader: an absent file is success and leaves the dataset
    // closed; otherwise hint, then CarregarArquivo.
    bool CarregarOpcional(const QString& NomeArquivo, TClientDataSet& DataSet, const QString& Hint);
    // One save step: transaction, the sub-steps while they succeed, the
    // step's hint, commit or roll back.
    bool SalvarPasso(TComunicacaoBancoBistrel& Gateway, const QString& Hint,
                     std::initializer_list<std::function<bool()>> SubPassos);
    bool ReescreverTabela(TComunicacaoBancoBistrel& Gateway, const TReescritaTabela& Reescrita);

    // The value of the field in the current record, or `Padrao` when the
    // dataset lacks the field or the value is null.
    static QVariant ObterValorCampo(TClientDataSet& DataSet, const QString& NomeCampo, const QVariant& Padrao);
    // Appends the bytes of a blob, memo or graphic field of the current
    // record to `Stream` (nothing when absent, null or of another type).
    static void SalvarCampoEmStream(TClientDataSet& DataSet, const QString& NomeCampo, QByteArray& Stream);

    void DefinirHint(const QString& Texto);
    // Record Atual of Total of a rewrite: "<Prefixo>(k de N -> P%)...".
    void DefinirProgresso(const QString& Prefixo, int Atual, int Total);
    // "* " + NomeArquivo + Final + CR LF appended to the summary.
    void AdicionarArquivoImportado(const QString& NomeArquivo, const QString& Final = QStringLiteral(";"));
    // The path of a file of the import directory, found without regard to
    // case (a Windows back office may write PRODUTOS.DAT); the plain path
    // when no such file exists.
    QString CaminhoArquivo(const QString& NomeArquivo) const;
    bool ArquivoExiste(const QString& NomeArquivo) const;
    const QString& DiretorioImportacao() const { return FDiretorioImportacao; }
    const QString& ArquivosImportados() const { return FArquivosImportados; }

    // The twenty datasets, one per input file; each stays loaded to the end
    // of the run so later steps can read what earlier steps loaded.
    TClientDataSet cdsTpRec, cdsPrazos, cdsGrupos, cdsAcessos, cdsCodigos, cdsConfig, cdsUsuarios, cdsClientes,
        cdsProdutos, cdsVendedores, cdsValidacao, cdsTpRecSiTef, cdsDetalheVesko, cdsItensCardapio,
        cdsImagensProdutos, cdsCaracteristicas, cdsProdutoComposicao, cdsDetalheVeskoOpcoes,
        cdsProdutoCaracteristicas, cdsDetalheVeskoObservacoes;

    // ---- products (and groups) --------------------------------------------
    // IDGRUPO of the default group "999999"; 0 until ImportarGrupos sets it.
    int FIdGrupoPadrao = 0;
    // CDGRUPO -> IDGRUPO, read once after the groups are written (the
    // lookup of every product answers from it).
    QHash<QString, int> FIdsGrupos;
    bool FIdsGruposLidos = false;

private:
    // The files whose empty export would wipe what the store cannot work
    // without (catalogue, payment types, settings, logins).
    static bool ExigeRegistros(const QString& NomeArquivo);
    static bool ArquivoSemRegistros(const QString& Caminho);

    IHint& FTrayIcon;
    QString FDiretorioImportacao;
    QString FArquivosImportados;
};

}  // namespace vesko
