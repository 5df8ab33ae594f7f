#include "import/ImportacaoPDVBistrelInterna.h"

#include <QDir>
#include <QFileInfo>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Excecoes.h"
#include "base/Hint.h"
#include "base/Relogio.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "import/EstabilidadeArquivos.h"
#include "store/TextoLoja.h"

namespace vesko {

namespace {

const QString kImportacao = QStringLiteral("Importação");
const QString kCrLf = QStringLiteral("\r\n");

void RegistrarAviso(const QString& descricao, const QString& detalhes) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(descricao, kImportacao, detalhes, QString(), taAviso);
}

// "... pois o arquivo "X" <situação>" CR LF CR LF "Por favor, ..."
QString DetalhesArquivo(const QString& nomeArquivo, const QString& situacao) {
    return QStringLiteral("Não foi possível realizar a importação da base de dados do Vesko, pois o arquivo ") +
           QLatin1Char('"') + QFileInfo(nomeArquivo).fileName() + QLatin1Char('"') + QLatin1Char(' ') + situacao +
           kCrLf + kCrLf + QStringLiteral("Por favor, faça uma nova exportação de dados no ") +
           QStringLiteral("servidor e tente novamente.");
}

}  // namespace

TImportacaoPDVBistrelInterna::TImportacaoPDVBistrelInterna(IHint& Tray, const QString& DiretorioImportacao)
    : FTrayIcon(Tray), FDiretorioImportacao(PutLastBackSlash(DiretorioImportacao)) {}

TImportacaoPDVBistrelInterna::~TImportacaoPDVBistrelInterna() = default;

// ---- validation ---------------------------------------------------------------

bool TImportacaoPDVBistrelInterna::ValidarImportacao() {
    return VerificarDiretorioImportacao() && VerificarArquivosEstaveis() && VerificarArquivosImportacao();
}

bool TImportacaoPDVBistrelInterna::VerificarDiretorioImportacao() {
    if (QFileInfo(FDiretorioImportacao).isDir()) return true;
    RegistrarAviso(QStringLiteral("Importação não realizada. Diretório não encontrado"),
                   QStringLiteral("Não foi possível realizar a importação da base de dados do Vesko, pois o "
                                  "diretório de integração configurado para importação não existe."));
    return false;
}

bool TImportacaoPDVBistrelInterna::VerificarArquivosEstaveis() {
    const QStringList alteracoes = AlteracoesDuranteAPausa(FDiretorioImportacao, FTrayIcon, PausaVerificacaoPadrao());
    if (alteracoes.isEmpty()) return true;
    RegistrarAviso(QStringLiteral("Importação adiada. Arquivos em alteração."),
                   QStringLiteral("A importação da base de dados do Vesko foi adiada, pois os arquivos abaixo "
                                  "mudaram enquanto eram verificados (a retaguarda ainda pode estar gravando os "
                                  "arquivos):") +
                       kCrLf + kCrLf + alteracoes.join(kCrLf) + kCrLf + kCrLf +
                       QStringLiteral("A importação será tentada novamente no próximo ciclo de importação."));
    return false;
}

bool TImportacaoPDVBistrelInterna::VerificarArquivosImportacao() {
    DefinirHint(QStringLiteral("Verificando arquivos de importação..."));
    const bool obrigatorios = VerificarArquivo(QStringLiteral("Produtos.dat"), true) &&
                              VerificarArquivo(QStringLiteral("TpRec.dat"), true) &&
                              VerificarArquivo(QStringLiteral("Config.dat"), true) &&
                              VerificarArquivo(QStringLiteral("Usuarios.dat"), true);
    if (!obrigatorios || !ArquivoExiste(QStringLiteral("Clientes.dat"))) return obrigatorios;
    return VerificarArquivo(QStringLiteral("Clientes.dat"), true);
}

bool TImportacaoPDVBistrelInterna::VerificarArquivo(const QString& NomeArquivo, bool Avisar) {
    const QString caminho = CaminhoArquivo(NomeArquivo);
    QString descricao, situacao;
    if (!QFileInfo(caminho).isFile()) {
        descricao = QStringLiteral("Importação não realizada. Arquivo não encontrado.");
        situacao = QStringLiteral("não foi encontrado.");
    } else if (!TControleLogIntegradorPDVBistrel::ArquivoValido(caminho)) {
        descricao = QStringLiteral("Importação não realizada. Arquivo inválido.");
        situacao = QStringLiteral("está corrompido.");
    } else if (ExigeRegistros(NomeArquivo) && ArquivoSemRegistros(caminho)) {
        // A mistaken empty export must never wipe the catalogue, the payment
        // types, the settings or the logins.
        descricao = QStringLiteral("Importação não realizada. Arquivo vazio.");
        situacao = QStringLiteral("não contém registros.");
    } else {
        return true;
    }
    if (Avisar) RegistrarAviso(descricao, DetalhesArquivo(NomeArquivo, situacao));
    return false;
}

bool TImportacaoPDVBistrelInterna::ExigeRegistros(const QString& NomeArquivo) {
    for (const char* nome : {"Produtos.dat", "TpRec.dat", "Config.dat", "Usuarios.dat"})
        if (NomeArquivo.compare(QLatin1String(nome), Qt::CaseInsensitive) == 0) return true;
    return false;
}

bool TImportacaoPDVBistrelInterna::ArquivoSemRegistros(const QString& Caminho) {
    TClientDataSet ds;
    try {
        ds.LoadFromFile(Caminho);
    } catch (const Exception&) {
        return false;  // not ours to judge here: the trial load already passed
    }
    return ds.IsEmpty();
}

// ---- the chain ----------------------------------------------------------------

bool TImportacaoPDVBistrelInterna::ExecutarImportacao(TComunicacaoBancoBistrel& Gateway) {
    TComunicacaoBancoBistrel& G = Gateway;
    const bool ok = SalvarRecebimentos(G) &&              // 1
                    SalvarPrazos(G) &&                    // 2
                    SalvarTiposRecebimentoSiTEF(G) &&     // 3
                    SalvarConfiguracoes(G) &&             // 4
                    SalvarUsuarios(G) &&                  // 5
                    SalvarCaracteristicas(G) &&           // 6
                    SalvarCaracteristicasProdutos(G) &&   // 7
                    SalvarGruposProdutos(G) &&            // 8
                    SalvarComposicaoProdutos(G) &&        // 9
                    SalvarCodigosProdutos(G) &&           // 10
                    CadastrarStatusEntrega(G) &&          // 11
                    SalvarValidacoes(G) &&                // 12
                    SalvarItensCardapio(G) &&             // 13
                    SalvarDetalhesVesko(G) &&             // 14
                    SalvarDetalheVeskoOpcoes(G) &&        // 15
                    SalvarDetalheVeskoObservacoes(G) &&   // 16
                    SalvarClientes(G);                    // 17
    if (ok) RegistrarDataUltimaAtualizacao(G);
    return ok;
}

QString TImportacaoPDVBistrelInterna::MontarResumoImportacao() const {
    // Trim blanks and line breaks at both ends (QString::trimmed does both).
    return QStringLiteral("Arquivos importados:\r\n\r\n") + FArquivosImportados.trimmed();
}

void TImportacaoPDVBistrelInterna::RegistrarDataUltimaAtualizacao(TComunicacaoBancoBistrel& Gateway) {
    const QString agora = Relogio::Agora().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    try {
        Gateway.GravarConfiguracao(QStringLiteral("DataUltimaAtualizacao"), agora);
    } catch (const Exception& e) {
        // The stamp does not change the run's result; its failure is told.
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Erro ao registrar a data da última atualização."), kImportacao,
            QStringLiteral("Ocorreu o seguinte erro ao gravar DataUltimaAtualizacao: \r\n\r\n") + e.Mensagem(),
            e.NomeClasse(), taErro);
    }
}

// ---- the frame ----------------------------------------------------------------

bool TImportacaoPDVBistrelInterna::SalvarPasso(TComunicacaoBancoBistrel& Gateway, const QString& Hint,
                                               std::initializer_list<std::function<bool()>> SubPassos) {
    const bool iniciada = Gateway.IniciarTransacao();
    bool ok = iniciada;
    for (const auto& subPasso : SubPassos) {
        if (!ok) break;
        ok = subPasso();
    }
    DefinirHint(Hint);
    if (ok) ok = Gateway.ConfirmarTransacao();
    if (!ok && iniciada) Gateway.ReverterTransacao();
    return ok;
}

bool TImportacaoPDVBistrelInterna::CarregarArquivo(const QString& NomeArquivo, TClientDataSet& DataSet) {
    try {
        DataSet.LoadFromFile(CaminhoArquivo(NomeArquivo));
        return true;
    } catch (const Exception& e) {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
            QStringLiteral("Erro no carregamento do arquivo de base."), kImportacao,
            QStringLiteral("Houve o seguinte problema ao tentar carregar o arquivo ") + QLatin1Char('"') +
                NomeArquivo + QLatin1Char('"') + QLatin1Char(':') + kCrLf + e.Mensagem(),
            e.NomeClasse(), taErro);
        return false;
    }
}

bool TImportacaoPDVBistrelInterna::CarregarObrigatorio(const QString& NomeArquivo, TClientDataSet& DataSet,
                                                       const QString& Hint) {
    DefinirHint(Hint);
    return CarregarArquivo(NomeArquivo, DataSet);
}

bool TImportacaoPDVBistrelInterna::CarregarOpcional(const QString& NomeArquivo, TClientDataSet& DataSet,
                                                    const QString& Hint) {
    if (!ArquivoExiste(NomeArquivo)) return true;
    DefinirHint(Hint);
    return CarregarArquivo(NomeArquivo, DataSet);
}

bool TImportacaoPDVBistrelInterna::ReescreverTabela(TComunicacaoBancoBistrel& Gateway, const TReescritaTabela& R) {
    TClientDataSet& ds = *R.DataSet;
    if (R.ComGuarda && (!ds.Active() || ds.IsEmpty())) return true;
    const int total = ds.Active() ? static_cast<int>(ds.RecordCount()) : 0;
    int k = 1;
    const auto progresso = [&] { DefinirProgresso(R.TextoProgresso, k, total); };
    if (R.ProgressoAntesDoDelete) progresso();
    if (!R.HintApagando.isEmpty()) DefinirHint(R.HintApagando);
    bool ok = Gateway.ExecutarDelete(R.SqlDelete);
    if (ok && R.AposDelete) ok = R.AposDelete();
    if (!R.ProgressoAntesDoDelete) progresso();
    if (ds.Active()) {
        TParams params;  // refilled for every record
        for (ds.First(); !ds.Eof();) {
            params.Reutilizar();
            const QString sql = R.MontarInsert(params);
            if (R.ExecutarTodos)
                ok = Gateway.ExecutarInsert(sql, params);
            else if (ok)
                ok = Gateway.ExecutarInsert(sql, params);
            ds.Next();
            progresso();
            ++k;
        }
    }
    if (ok && !R.ArquivoResumo.isEmpty()) AdicionarArquivoImportado(R.ArquivoResumo);
    return ok;
}

QVariant TImportacaoPDVBistrelInterna::ObterValorCampo(TClientDataSet& DataSet, const QString& NomeCampo,
                                                       const QVariant& Padrao) {
    TField* campo = DataSet.FindField(NomeCampo);
    if (!campo || campo->IsNull()) return Padrao;
    return campo->AsVariant();
}

void TImportacaoPDVBistrelInterna::SalvarCampoEmStream(TClientDataSet& DataSet, const QString& NomeCampo,
                                                       QByteArray& Stream) {
    TField* campo = DataSet.FindField(NomeCampo);
    if (!campo || campo->IsNull() || !campo->IsBlob()) return;
    Stream.append(campo->AsBytes());
}

void TImportacaoPDVBistrelInterna::DefinirHint(const QString& Texto) { FTrayIcon.DefinirHint(Texto); }

void TImportacaoPDVBistrelInterna::DefinirProgresso(const QString& Prefixo, int Atual, int Total) {
    FTrayIcon.DefinirProgresso(Prefixo, Atual, Total);
}

void TImportacaoPDVBistrelInterna::AdicionarArquivoImportado(const QString& NomeArquivo, const QString& Final) {
    FArquivosImportados += QStringLiteral("* ") + NomeArquivo + Final + kCrLf;
}

QString TImportacaoPDVBistrelInterna::CaminhoArquivo(const QString& NomeArquivo) const {
    const QString exato = FDiretorioImportacao + NomeArquivo;
    if (QFileInfo::exists(exato)) return exato;
    const QStringList nomes = QDir(FDiretorioImportacao).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& nome : nomes)
        if (nome.compare(NomeArquivo, Qt::CaseInsensitive) == 0) return FDiretorioImportacao + nome;
    return exato;
}

bool TImportacaoPDVBistrelInterna::ArquivoExiste(const QString& NomeArquivo) const {
    return QFileInfo(CaminhoArquivo(NomeArquivo)).isFile();
}

}  // namespace vesko
