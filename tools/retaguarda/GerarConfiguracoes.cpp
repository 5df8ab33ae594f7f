// Config.dat: the store's one-record settings file, with every field the
// import reads (company identity and address, tax regime and CFOP codes,
// consumer invoice, scale labels, checkout flags, credit rules, promissory
// note texts) and the company logo. Variant 1 is another store: every value
// differs, flags inverted, and the logo is another picture.
#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QVariantList>
#include <random>
#include <vector>

#include "GeradorRetaguarda.h"

#include "ApoioGerador.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {


QString Digitos(std::mt19937& rng, int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(u'0' + Sortear(rng, 10));
    return s;
}


// A token of the consumer invoice service: 36 hexadecimal capitals in the
// 8-4-4-4-12 form.
QString Token(std::mt19937& rng) {
    static const char hex[] = "0123456789ABCDEF";
    QString s;
    for (int i = 0; i < 32; ++i) {
        if (i == 8 || i == 12 || i == 16 || i == 20) s += QLatin1Char('-');
        s += QLatin1Char(hex[Sortear(rng, 16)]);
    }
    return s;
}

// The company logo for receipts, a 24-bit bitmap drawn with shapes only (no
// fonts, so no GUI session is needed): a steaming bowl (variant 0) or a
// chef's hat (variant 1) in a frame.
QByteArray Logo(int variante) {
    QImage imagem(160, 96, QImage::Format_RGB888);
    imagem.fill(Qt::white);
    QPainter p(&imagem);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor cor = variante == 1 ? QColor(30, 90, 160) : QColor(170, 40, 30);
    p.setPen(QPen(cor, 4));
    p.drawRoundedRect(QRectF(4, 4, 152, 88), 12, 12);
    p.setBrush(cor);
    if (variante == 1) {
        p.drawEllipse(QPointF(62, 40), 18, 16);
        p.drawEllipse(QPointF(80, 32), 20, 18);
        p.drawEllipse(QPointF(98, 40), 18, 16);
        p.drawRect(QRectF(62, 44, 36, 26));
    } else {
        QPainterPath tigela(QPointF(44, 46));
        tigela.lineTo(116, 46);
        tigela.cubicTo(QPointF(116, 70), QPointF(100, 78), QPointF(80, 78));
        tigela.cubicTo(QPointF(60, 78), QPointF(44, 70), QPointF(44, 46));
        p.drawPath(tigela);
        p.setBrush(Qt::NoBrush);
        for (int x : {64, 80, 96}) {
            QPainterPath vapor(QPointF(x, 40));
            vapor.cubicTo(QPointF(x - 6, 32), QPointF(x + 6, 26), QPointF(x, 16));
            p.drawPath(vapor);
        }
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    imagem.save(&buffer, "BMP");
    return bytes;
}

struct TLoja {
    const char* Nome;
    const char* RazaoSocial;
    const char* Endereco;
    const char* Bairro;
    const char* Cidade;
    const char* Uf;
    const char* PrefixoCep;
    const char* Ddd;
    const char* Cnae;
    const char* Cfop[3];  // CFOP, CFOP_ST, CFOP_ISS
};

const TLoja kLojas[2] = {
    {"Restaurante Sabor da Serra", "Sabor da Serra Alimentação Ltda", "Rua das Acácias, 1250", "Centro",
     "Belo Horizonte", "MG", "30110", "31", "5611201", {"5102", "5405", "5933"}},
    {"Cantina Bela Vista", "Bela Vista Comércio de Refeições ME", "Avenida Beira Mar, 480", "Meireles", "Fortaleza",
     "CE", "60165", "85", "5611203", {"5101", "5403", "5949"}},
};

}  // namespace

void GerarConfiguracoes(const QString& diretorio, const TOpcoesGerador& opcoes) {
    const int v = opcoes.Variante == 1 ? 1 : 0;
    // The variant takes part in the seed: random numbers and codes differ too.
    std::seed_seq semente{opcoes.Semente, static_cast<std::uint32_t>(v)};
    std::mt19937 rng(semente);
    const bool s = v == 0;  // the flags of variant 0; variant 1 inverts every one
    const TLoja& loja = kLojas[v];
    const auto t = [](const char* texto) { return QString::fromUtf8(texto); };

    // Field, type, width and value, in the order of the import's key table.
    struct TCampo {
        const char* Nome;
        TFieldType Tipo;
        int Tamanho;
        QVariant Valor;
    };
    const std::vector<TCampo> campos{
        {"StTrabalhaClientes", ftBoolean, 0, s},
        {"NmEmpresa", ftString, 60, t(loja.Nome)},
        {"DsEndereco", ftString, 100, t(loja.Endereco)},
        {"NmBairro", ftString, 60, t(loja.Bairro)},
        {"NmCidade", ftString, 60, t(loja.Cidade)},
        {"CdUF", ftString, 2, t(loja.Uf)},
        {"CdCep", ftString, 9, t(loja.PrefixoCep) + QLatin1Char('-') + Digitos(rng, 3)},
        {"NrTelefone", ftString, 20,
         QStringLiteral("(%1) 3%2-%3").arg(t(loja.Ddd), Digitos(rng, 3), Digitos(rng, 4))},
        {"NrInscEst", ftString, 20, Digitos(rng, 13)},
        {"NrInscMunicipal", ftString, 20, Digitos(rng, 9)},
        {"NrCGC", ftString, 18, Cnpj(rng)},
        {"CdEmpresa", ftString, 10, v == 0 ? QStringLiteral("1") : QStringLiteral("2")},
        {"CdRegimeTributario", ftString, 2, v == 0 ? QStringLiteral("1") : QStringLiteral("3")},
        {"IdClientePadrao", ftString, 20, v == 0 ? QStringLiteral("100000") : QStringLiteral("100001")},
        {"CNAE", ftString, 10, t(loja.Cnae)},
        {"CFOP", ftString, 4, t(loja.Cfop[0])},
        {"CFOP_ST", ftString, 4, t(loja.Cfop[1])},
        {"CFOP_ISS", ftString, 4, t(loja.Cfop[2])},
        {"AmbienteNFCe", ftString, 1, v == 0 ? QStringLiteral("2") : QStringLiteral("1")},
        {"TokenNFCe", ftString, 36, Token(rng)},
        {"CodigoTokenNFCe", ftString, 6, v == 0 ? QStringLiteral("000001") : QStringLiteral("000002")},
        {"StCalculaPISCOFINS", ftBoolean, 0, !s},
        {"LimiteVendaNFCe", ftFloat, 0, v == 0 ? 10000.0 : 5000.0},
        {"ImpressaoDANFE_NFCe", ftString, 1, v == 0 ? QStringLiteral("4") : QStringLiteral("5")},
        {"ArmazDanfeNFCeConting", ftString, 1, v == 0 ? QStringLiteral("S") : QStringLiteral("N")},
        {"LimiteVendaSemClienteNFCe", ftFloat, 0, v == 0 ? 200.0 : 500.0},
        {"TipoCertificado", ftString, 2, v == 0 ? QStringLiteral("A1") : QStringLiteral("A3")},
        {"EnviarEmail", ftString, 1, v == 0 ? QStringLiteral("1") : QStringLiteral("0")},
        {"ExibirTelaDecreto", ftBoolean, 0, !s},
        {"ExibeDescComplementarPDV", ftBoolean, 0, s},
        {"ConfigEmail", ftString, 200,
         v == 0 ? QStringLiteral("smtp.sabordaserra.com.br;587;nfce@sabordaserra.com.br;TLS")
                : QStringLiteral("smtp.cantinabelavista.com.br;465;fiscal@cantinabelavista.com.br;SSL")},
        {"StRetaguarda", ftString, 1, v == 0 ? QStringLiteral("1") : QStringLiteral("0")},
        {"TextoEmailNFCe", ftMemo, 0,
         v == 0 ? t("Olá! Segue a sua NFC-e. Obrigado pela preferência e volte sempre.")
                : t("Prezado cliente, segue em anexo o documento fiscal da sua compra.")},
        {"StBalEtiq", ftBoolean, 0, s},
        {"TamCdProdEtiq", ftString, 2, v == 0 ? QStringLiteral("5") : QStringLiteral("6")},
        {"NrCDecEtiq", ftString, 2, v == 0 ? QStringLiteral("3") : QStringLiteral("2")},
        {"PrefixoDoc", ftString, 2, v == 0 ? QStringLiteral("2") : QStringLiteral("20")},
        {"TpEtiqBal", ftString, 1, v == 0 ? QStringLiteral("P") : QStringLiteral("V")},
        {"DvBal", ftString, 1, v == 0 ? QStringLiteral("S") : QStringLiteral("N")},
        {"IdentUsuarioLogin", ftBoolean, 0, !s},
        {"StSolicitaDadosCartao", ftBoolean, 0, s},
        {"ExibeTelaEmailFinalVenda", ftBoolean, 0, !s},
        {"EditaQuantidade", ftString, 1, v == 0 ? QStringLiteral("S") : QStringLiteral("N")},
        {"StObrigaCadClienteComCPF", ftBoolean, 0, !s},
        {"StObrigaCadClienteComEndereco", ftBoolean, 0, s},
        {"StNFStock", ftBoolean, 0, !s},
        {"NmOperacao", ftString, 60, v == 0 ? t("Venda ao consumidor") : t("Venda de refeição")},
        {"ChaveAcessoIntegrador", ftString, 36, Token(rng)},
        {"PermiteContingenciaManual", ftBoolean, 0, s},
        {"SuprimirCentavos", ftBoolean, 0, s},
        {"TpSomaCentavos", ftInteger, 0, v == 0 ? 1 : 2},
        {"DiaVencPadrao", ftInteger, 0, v == 0 ? 10 : 15},
        {"NrDiasMaiorAtraso", ftInteger, 0, v == 0 ? 30 : 45},
        {"PercMedia", ftFloat, 0, v == 0 ? 30.0 : 25.0},
        {"ValidaCliAvancada", ftBoolean, 0, s},
        {"MesmoDiaEmissao", ftBoolean, 0, !s},
        {"StImprimePromissoria", ftBoolean, 0, s},
        {"TextoCabecalhoPromissoria", ftString, 250,
         v == 0 ? t("NOTA PROMISSÓRIA - Pagarei por esta única via de nota promissória a quantia abaixo.")
                : t("PROMISSÓRIA - No vencimento indicado pagarei a importância abaixo.")},
        {"TextoRodapePromissoria", ftString, 250,
         v == 0 ? t("Pagável em %1 - %2.").arg(t(loja.Cidade), t(loja.Uf))
                : t("Praça de pagamento: %1/%2.").arg(t(loja.Cidade), t(loja.Uf))},
        {"VersaoNFCe", ftString, 5, v == 0 ? QStringLiteral("4.00") : QStringLiteral("3.10")},
        {"NmRazaoSocial", ftString, 100, t(loja.RazaoSocial)},
        {"StNmFantasia", ftBoolean, 0, s},
        {"StUtilizaLogo", ftBoolean, 0, s},
        {"LogoEmpresaBinario", ftBlob, 0, Logo(v)},
    };
    TPacoteRetaguarda p;
    QVariantList linha;
    for (const TCampo& c : campos) {
        p.Campo(QString::fromLatin1(c.Nome), c.Tipo, c.Tamanho);
        linha << c.Valor;
    }
    p.Linha(linha);
    p.Gravar(diretorio + QStringLiteral("/Config.dat"));
}

}  // namespace vesko::retaguarda
