// The store configuration: Config.dat into FOOD_CONFIG rows of section
// "BISTREL", one row per setting, each replacing the row of its key. Keys
// the file does not carry keep their rows: the table is never emptied.
#include "import/ImportacaoPDVBistrelInterna.h"

#include <QStringList>

#include "db/ComunicacaoBancoBistrel.h"

namespace vesko {

namespace {

using TInterna = TImportacaoPDVBistrelInterna;

const QString kCrLf = QStringLiteral("\r\n");

// How a setting's value is taken from its field.
enum class TConversao {
    Texto,           // the field's text; the field must exist
    Flag,            // "1" / "0" from the field's Boolean; the field must exist
    TextoOpcional,   // the field's text, or the default when absent or null
    FlagOpcional,    // "1" / "0" from the field's Boolean, or from the default
};

struct TChaveConfiguracao {
    const char* Chave;   // IDENT
    const char* Campo;   // field of Config.dat
    TConversao Conversao;
    QVariant Padrao;     // of the optional conversions
};

using enum TConversao;

// Row order is write order.
const std::vector<TChaveConfiguracao>& ChavesConfiguracao() {
    static const std::vector<TChaveConfiguracao> chaves{
        {"TrabalhaClientes", "StTrabalhaClientes", Flag, {}},
        {"NmEmpresa", "NmEmpresa", Texto, {}},
        {"EnderecoEmpresa", "DsEndereco", Texto, {}},
        {"BairroEmpresa", "NmBairro", Texto, {}},
        {"CidadeEmpresa", "NmCidade", Texto, {}},
        {"UFEmpresa", "CdUF", Texto, {}},
        {"CEPEmpresa", "CdCep", Texto, {}},
        {"TelefoneEmpresa", "NrTelefone", Texto, {}},
        {"IEEmpresa", "NrInscEst", Texto, {}},
        {"IMEmpresa", "NrInscMunicipal", Texto, {}},
        {"CNPJEmpresa", "NrCGC", Texto, {}},
        {"CdEmpresa", "CdEmpresa", Texto, {}},
        {"CdRegimeTributario", "CdRegimeTributario", Texto, {}},
        {"IdClientePadrao", "IdClientePadrao", Texto, {}},
        {"CNAE", "CNAE", Texto, {}},
        {"CFOP", "CFOP", Texto, {}},
        {"CFOP_ST", "CFOP_ST", Texto, {}},
        {"CFOP_ISS", "CFOP_ISS", Texto, {}},
        {"AmbienteNFCe", "AmbienteNFCe", Texto, {}},
        {"TokenNFCe", "TokenNFCe", Texto, {}},
        {"CodigoTokenNFCe", "CodigoTokenNFCe", Texto, {}},
        {"StCalculaPISCOFINS", "StCalculaPISCOFINS", Flag, {}},
        {"LimiteVendaNFCe", "LimiteVendaNFCe", Texto, {}},
        {"ImpressaoDANFE_NFCe", "ImpressaoDANFE_NFCe", Texto, {}},
        {"ArmazDanfeNFCeConting", "ArmazDanfeNFCeConting", Texto, {}},
        {"LimiteVendaSemClienteNFCe", "LimiteVendaSemClienteNFCe", Texto, {}},
        {"TipoCertificado", "TipoCertificado", Texto, {}},
        {"EnviarEmail", "EnviarEmail", TextoOpcional, QStringLiteral("0")},
        {"ExibirTelaDecreto", "ExibirTelaDecreto", Flag, {}},
        {"ExibeDescComplementar", "ExibeDescComplementarPDV", Flag, {}},
        {"ConfigEmail", "ConfigEmail", TextoOpcional, QString()},
        {"StRetaguarda", "StRetaguarda", TextoOpcional, QStringLiteral("0")},
        {"TextoEmailNFCe", "TextoEmailNFCe", TextoOpcional, QString()},
        {"StBalEtiq", "StBalEtiq", Flag, {}},
        {"TamCdProdEtiq", "TamCdProdEtiq", TextoOpcional, QString()},
        {"NrCDecEtiq", "NrCDecEtiq", TextoOpcional, QString()},
        {"PrefixoDoc", "PrefixoDoc", TextoOpcional, QString()},
        {"TpEtiqBal", "TpEtiqBal", TextoOpcional, QString()},
        {"DvBal", "DvBal", TextoOpcional, QString()},
        {"IdentUsuarioLogin", "IdentUsuarioLogin", Flag, {}},
        {"StSolicitaDadosCartao", "StSolicitaDadosCartao", Flag, {}},
        {"ExibeTelaEmailFinalVenda", "ExibeTelaEmailFinalVenda", FlagOpcional, true},
        {"EditaQuantidade", "EditaQuantidade", TextoOpcional, QStringLiteral("S")},
        {"StObrigaCadClienteComCPF", "StObrigaCadClienteComCPF", FlagOpcional, true},
        {"StObrigaCadClienteComEndereco", "StObrigaCadClienteComEndereco", FlagOpcional, true},
        {"StNFStock", "StNFStock", FlagOpcional, true},
        {"NmOperacao", "NmOperacao", TextoOpcional, QString()},
        {"ChaveAcessoIntegrador", "ChaveAcessoIntegrador", TextoOpcional, QString()},
        {"PermiteContingenciaManual", "PermiteContingenciaManual", FlagOpcional, false},
        {"SuprimirCentavos", "SuprimirCentavos", FlagOpcional, false},
        {"TpSomaCentavos", "TpSomaCentavos", TextoOpcional, 0},
        {"DiaVencPadrao", "DiaVencPadrao", TextoOpcional, 1},
        {"NrDiasMaiorAtraso", "NrDiasMaiorAtraso", TextoOpcional, 0},
        {"LimiteValorCompra", "PercMedia", TextoOpcional, 0},
        {"ValidaCliAvancada", "ValidaCliAvancada", Flag, {}},
        {"MesmoDiaEmissao", "MesmoDiaEmissao", Flag, {}},
        {"StImprimePromissoria", "StImprimePromissoria", Flag, {}},
        {"TextoCabecalhoPromissoria", "TextoCabecalhoPromissoria", Texto, {}},
        {"TextoRodapePromissoria", "TextoRodapePromissoria", Texto, {}},
        {"VersaoNFCe", "VersaoNFCe", TextoOpcional, QStringLiteral("3.10")},
        {"NmRazaoSocial", "NmRazaoSocial", TextoOpcional, QString()},
        {"StNmFantasia", "StNmFantasia", FlagOpcional, false},
        {"StUtilizaLogo", "StUtilizaLogo", FlagOpcional, false},
    };
    return chaves;
}

QString TextoFlag(bool Valor) { return Valor ? QStringLiteral("1") : QStringLiteral("0"); }

// The setting's value from the current record of Config.dat. A field that a
// "text" or "flag" row needs and the file lacks raises (EDBClient). The
// optional rows take ObterValorCampo's rule (absent or null: the default);
// a present value is converted by its field, as any text of the file is
// (numbers in the regional format).
QString ValorConfiguracao(TClientDataSet& Config, const TChaveConfiguracao& C) {
    const QString campo = QString::fromLatin1(C.Campo);
    switch (C.Conversao) {
    case Texto: return Config.FieldByName(campo).AsString();
    case Flag: return TextoFlag(Config.FieldByName(campo).AsBoolean());
    case TextoOpcional:
    case FlagOpcional: break;
    }
    TField* f = Config.FindField(campo);
    const bool presente = f && !f->IsNull();
    if (C.Conversao == TextoOpcional) return presente ? f->AsString() : C.Padrao.toString();
    return TextoFlag(presente ? f->AsBoolean() : C.Padrao.toBool());
}

TParams ParametrosChave(const QString& Chave) {
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pName")).SetAsString(QStringLiteral("FOOD_CONFIG"));
    p.CreateParam(ftString, QStringLiteral("pSection")).SetAsString(QStringLiteral("BISTREL"));
    p.CreateParam(ftString, QStringLiteral("pIdent")).SetAsString(Chave);
    return p;
}

bool ApagarConfiguracao(TComunicacaoBancoBistrel& Gateway, const QString& Chave) {
    static const QString sql =
        QStringList{QStringLiteral("DELETE FROM"), QStringLiteral("  FOOD_CONFIG "), QStringLiteral("WHERE"),
                    QStringLiteral("  NAME = :pName AND"), QStringLiteral("  SECTION = :pSection AND"),
                    QStringLiteral("  IDENT = :pIdent")}
            .join(kCrLf);
    return Gateway.ExecutarDelete(sql, ParametrosChave(Chave));
}

bool GravarConfiguracaoImportada(TComunicacaoBancoBistrel& Gateway, const QString& Chave, const QString& Valor) {
    static const QString sql =
        QStringList{QStringLiteral("INSERT INTO FOOD_CONFIG"), QStringLiteral(" (NAME,"), QStringLiteral("  SECTION,"),
                    QStringLiteral("  IDENT,"), QStringLiteral("  DATA_VALUE) "), QStringLiteral("VALUES"),
                    QStringLiteral(" (:pName,"), QStringLiteral("  :pSection,"), QStringLiteral("  :pIdent,"),
                    QStringLiteral("  :pDataValue)")}
            .join(kCrLf);
    if (!ApagarConfiguracao(Gateway, Chave)) return false;
    TParams p = ParametrosChave(Chave);
    p.CreateParam(ftString, QStringLiteral("pDataValue")).SetAsString(Valor);
    return Gateway.ExecutarInsert(sql, p);
}

bool GravarConfiguracaoMemo(TComunicacaoBancoBistrel& Gateway, const QString& Chave, const QByteArray& Memo,
                            const QString& Valor) {
    static const QString sql =
        QStringList{QStringLiteral("INSERT INTO FOOD_CONFIG"), QStringLiteral(" (NAME,"), QStringLiteral("  MEMO,"),
                    QStringLiteral("  IDENT,"), QStringLiteral("  SECTION,"), QStringLiteral("  DATA_VALUE) "),
                    QStringLiteral("VALUES"), QStringLiteral(" (:pName,"), QStringLiteral("  :pMemo,"),
                    QStringLiteral("  :pIdent,"), QStringLiteral("  :pSection,"), QStringLiteral("  :pDataValue)")}
            .join(kCrLf);
    if (!ApagarConfiguracao(Gateway, Chave)) return false;
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pName")).SetAsString(QStringLiteral("FOOD_CONFIG"));
    p.CreateParam(ftMemo, QStringLiteral("pMemo")).SetAsMemo(Memo);
    p.CreateParam(ftString, QStringLiteral("pIdent")).SetAsString(Chave);
    p.CreateParam(ftString, QStringLiteral("pSection")).SetAsString(QStringLiteral("BISTREL"));
    p.CreateParam(ftString, QStringLiteral("pDataValue")).SetAsString(Valor);
    return Gateway.ExecutarInsert(sql, p);
}

bool CarregarConfiguracoes(TInterna& W) {
    return W.CarregarObrigatorio(QStringLiteral("Config.dat"), W.cdsConfig,
                                 QStringLiteral("Carregando arquivo de configurações..."));
}

bool ImportarConfiguracoes(TInterna& W, TComunicacaoBancoBistrel& Gateway) {
    TClientDataSet& config = W.cdsConfig;
    W.DefinirHint(QStringLiteral("Importando arquivo de configurações..."));
    config.First();  // only the first record is read
    bool ok = true;
    for (const TChaveConfiguracao& c : ChavesConfiguracao()) {
        ok = GravarConfiguracaoImportada(Gateway, QString::fromLatin1(c.Chave), ValorConfiguracao(config, c));
        if (!ok) break;
    }
    // Written only when the store has no value of its own yet.
    const QString naoFiscal = QStringLiteral("TrabalhaSAT_NFCe_NaoFiscal");
    if (ok && Gateway.LerConfiguracao(naoFiscal).isEmpty())
        ok = GravarConfiguracaoImportada(Gateway, naoFiscal, QStringLiteral("2"));
    // A file without a logo keeps the stored one.
    QByteArray logo;
    TInterna::SalvarCampoEmStream(config, QStringLiteral("LogoEmpresaBinario"), logo);
    if (ok && !logo.isEmpty())
        ok = GravarConfiguracaoMemo(Gateway, QStringLiteral("LogoEmpresaBinario"), logo, QStringLiteral(""));
    if (ok) W.AdicionarArquivoImportado(QStringLiteral("Config.dat"));
    return ok;
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarConfiguracoes(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando consigurações no banco de dados..."),
                       {[&] { return CarregarConfiguracoes(*this); },
                        [&] { return ImportarConfiguracoes(*this, Gateway); }});
}

}  // namespace vesko
