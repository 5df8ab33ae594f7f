// Clientes.dat: the back office's customers, people with a CPF and a few
// companies with a CNPJ, with addresses, phones and credit data.
#include <QDate>
#include <QDir>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>

#include "GeradorRetaguarda.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {

const char* const kNomesFemininos[] = {"Ana", "Maria", "Juliana", "Fernanda", "Camila", "Beatriz", "Larissa",
                                       "Patrícia", "Aline", "Gabriela", "Luciana", "Renata", "Vanessa", "Letícia",
                                       "Mariana", "Cláudia", "Adriana", "Tatiane", "Simone", "Débora"};
const char* const kNomesMasculinos[] = {"João", "José", "Carlos", "Paulo", "Lucas", "Rafael", "Marcos", "Bruno",
                                        "Felipe", "Rodrigo", "Gustavo", "André", "Thiago", "Eduardo", "Ricardo",
                                        "Fábio", "Leandro", "Vinícius", "Sérgio", "Márcio"};
const char* const kSobrenomes[] = {"Silva", "Santos", "Oliveira", "Souza", "Rodrigues", "Ferreira", "Alves",
                                   "Pereira", "Lima", "Gomes", "Costa", "Ribeiro", "Martins", "Carvalho",
                                   "Almeida", "Lopes", "Soares", "Fernandes", "Vieira", "Barbosa", "Rocha",
                                   "Dias", "Nascimento", "Andrade", "Moreira", "Nunes", "Marques", "Machado",
                                   "Mendes", "Freitas", "Cardoso", "Teixeira", "Araújo", "Cavalcanti"};
const char* const kEmpresas[] = {"Padaria Pão Dourado", "Mercearia Boa Vista", "Lanchonete Sabor da Terra",
                                 "Construtora Horizonte", "Auto Peças Central", "Farmácia Vida Nova",
                                 "Escritório Contábil Exato", "Academia Corpo em Forma", "Floricultura Jardim Real",
                                 "Distribuidora Nordeste", "Clínica Sorriso Feliz", "Papelaria Ponto Certo"};
const char* const kFormasEmpresa[] = {"Ltda", "ME", "EIRELI", "S.A."};
const char* const kLogradouros[] = {"Rua das Flores", "Avenida Brasil", "Rua Sete de Setembro", "Rua XV de Novembro",
                                    "Avenida Paulista", "Rua da Consolação", "Rua Augusta", "Avenida Getúlio Vargas",
                                    "Rua Tiradentes", "Rua Santos Dumont", "Avenida Beira Mar", "Rua do Comércio",
                                    "Travessa São José", "Rua Dom Pedro II", "Alameda dos Anjos",
                                    "Rua Marechal Deodoro"};
const char* const kBairros[] = {"Centro", "Jardim América", "Vila Nova", "Boa Vista", "Santa Cecília", "Copacabana",
                                "Aldeota", "Savassi", "Moinhos de Vento", "Batel", "Pituba", "Boa Viagem",
                                "Jardim Botânico", "Vila Mariana", "Tijuca", "Meireles"};
const char* const kComplementos[] = {"", "", "", "Apto 101", "Apto 302", "Casa 2", "Bloco B", "Fundos", "Sala 504",
                                     "Loja 3"};
const char* const kObservacoes[] = {"", "", "Cliente desde a inauguração.", "Prefere entrega após as 19h.",
                                    "Alérgico a amendoim.", "Pede nota fiscal com CPF.", "Cliente VIP.",
                                    "Avisar sobre promoções de fim de semana."};
const char* const kAnalisesCredito[] = {"", "Crédito aprovado após análise cadastral.",
                                        "Limite revisto por atraso recorrente.", "Bom pagador, sem restrições.",
                                        "Aguardando documentação para aumento de limite."};

struct TCidade {
    const char* Nome;
    const char* UF;
    int DDD;
    int PrefixoCep;  // first five digits
};
const TCidade kCidades[] = {{"São Paulo", "SP", 11, 1310},      {"Rio de Janeiro", "RJ", 21, 22041},
                            {"Belo Horizonte", "MG", 31, 30130}, {"Porto Alegre", "RS", 51, 90010},
                            {"Curitiba", "PR", 41, 80010},       {"Salvador", "BA", 71, 40020},
                            {"Recife", "PE", 81, 50010},         {"Fortaleza", "CE", 85, 60060},
                            {"Campinas", "SP", 19, 13010},       {"Florianópolis", "SC", 48, 88010}};

template <typename T, size_t N>
const T& Escolher(QRandomGenerator& rng, const T (&lista)[N]) {
    return lista[rng.bounded(static_cast<quint32>(N))];
}

template <typename T, size_t N>
constexpr int Tamanho(const T (&)[N]) {
    return static_cast<int>(N);
}

QString Digitos(QRandomGenerator& rng, int n) {
    QString s;
    for (int i = 0; i < n; ++i) s += QChar(static_cast<int>(u'0') + static_cast<int>(rng.bounded(10)));
    return s;
}

// The check digit of the mod-11 rule over `base`, with weights from `peso`
// down to 2 (restarting at 9 for the CNPJ).
int DigitoVerificador(const QString& base, int pesoInicial, int pesoMaximo) {
    int soma = 0, peso = pesoInicial;
    for (int i = 0; i < base.size(); ++i) {
        soma += base[i].digitValue() * peso;
        peso = peso == 2 ? pesoMaximo : peso - 1;
    }
    const int resto = soma % 11;
    return resto < 2 ? 0 : 11 - resto;
}

// "123.456.789-09": nine digits and the two check digits.
QString GerarCpf(QRandomGenerator& rng) {
    QString n = Digitos(rng, 9);
    n += QString::number(DigitoVerificador(n, 10, 10));
    n += QString::number(DigitoVerificador(n, 11, 11));
    return n.left(3) + u'.' + n.mid(3, 3) + u'.' + n.mid(6, 3) + u'-' + n.mid(9);
}

// "12.345.678/0001-90": the root, branch 0001 and the two check digits.
QString GerarCnpj(QRandomGenerator& rng) {
    QString n = Digitos(rng, 8) + QStringLiteral("0001");
    n += QString::number(DigitoVerificador(n, 5, 9));
    n += QString::number(DigitoVerificador(n, 6, 9));
    return n.left(2) + u'.' + n.mid(2, 3) + u'.' + n.mid(5, 3) + u'/' + n.mid(8, 4) + u'-' + n.mid(12);
}

// "12.345.678-9" (the identity card number).
QString GerarRg(QRandomGenerator& rng) {
    const QString n = Digitos(rng, 9);
    return n.left(2) + u'.' + n.mid(2, 3) + u'.' + n.mid(5, 3) + u'-' + n.mid(8);
}

QString Telefone(int ddd, bool celular, QRandomGenerator& rng) {
    const QString numero = celular ? QStringLiteral("9") + Digitos(rng, 4) : QString::number(3 + rng.bounded(2)) + Digitos(rng, 3);
    return QStringLiteral("(%1) %2-%3").arg(ddd).arg(numero, Digitos(rng, 4));
}

QString SemAcentos(const QString& s) {
    QString r = s.normalized(QString::NormalizationForm_D);
    r.remove(QRegularExpression(QStringLiteral("[^a-zA-Z0-9 ]")));
    return r;
}

QString Email(const QString& nome, int i) {
    const QStringList partes = SemAcentos(nome).toLower().split(u' ', Qt::SkipEmptyParts);
    static const char* const dominios[] = {"gmail.com", "hotmail.com", "yahoo.com.br", "uol.com.br", "outlook.com"};
    return partes.value(0) + u'.' + partes.value(partes.size() - 1) + QString::number(i % 97) + u'@' +
           QLatin1String(dominios[i % 5]);
}

double Centavos(QRandomGenerator& rng, int maximoReais) {
    return static_cast<double>(rng.bounded(maximoReais * 100)) / 100.0;
}

}  // namespace

void GerarClientes(const QString& diretorio, const TOpcoesGerador& opcoes) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdPessoa"), ftString, 20)
        .Campo(QStringLiteral("CdChamada"), ftString, 10)
        .Campo(QStringLiteral("CPF_CNPJ"), ftString, 18)
        .Campo(QStringLiteral("NmCliente"), ftString, 100)
        .Campo(QStringLiteral("DsLogradouro"), ftString, 100)
        .Campo(QStringLiteral("NmBairro"), ftString, 60)
        .Campo(QStringLiteral("NmCidade"), ftString, 60)
        .Campo(QStringLiteral("NmUF"), ftString, 2)
        .Campo(QStringLiteral("CdCep"), ftString, 9)
        .Campo(QStringLiteral("AlDesconto"), ftFloat)
        .Campo(QStringLiteral("NrCI"), ftString, 20)
        .Campo(QStringLiteral("NmObservacao"), ftString, 200)
        .Campo(QStringLiteral("NrTelefone"), ftString, 20)
        .Campo(QStringLiteral("Sexo"), ftString, 10)
        .Campo(QStringLiteral("NrCelular"), ftString, 20)
        .Campo(QStringLiteral("DtNascimento"), ftDate)
        .Campo(QStringLiteral("Email"), ftString, 100)
        .Campo(QStringLiteral("StAtivo"), ftBoolean)
        .Campo(QStringLiteral("DsComplemento"), ftString, 60)
        .Campo(QStringLiteral("DtValidadeLimCredito"), ftDate)
        .Campo(QStringLiteral("VlLimiteCredito"), ftCurrency)
        .Campo(QStringLiteral("StCreditoBloqueado"), ftBoolean)
        .Campo(QStringLiteral("VlMaiorCompra"), ftCurrency)
        .Campo(QStringLiteral("NrDiasMaiorAtraso"), ftInteger)
        .Campo(QStringLiteral("Dt1aCompra"), ftDate)
        .Campo(QStringLiteral("DtUltimaCompra"), ftDate)
        .Campo(QStringLiteral("VlTitulosAberto"), ftCurrency)
        .Campo(QStringLiteral("NrTitulosAberto"), ftInteger)
        .Campo(QStringLiteral("NrTitulosVencidos"), ftInteger)
        .Campo(QStringLiteral("VlTitulosVencidos"), ftCurrency)
        .Campo(QStringLiteral("IdPrazo"), ftString, 10)
        .Campo(QStringLiteral("ObsAnaliseCredito"), ftMemo);

    // The draws do not depend on the variant, so both sets share their keys;
    // the second set then changes the name (and with it the e-mail) and the
    // credit limit of every row.
    QRandomGenerator rng(opcoes.Semente ^ 0x436C6965u);  // "Clie"
    const bool b = opcoes.Variante == 1;
    const QDate hoje(2024, 6, 1);
    for (int i = 1; i <= opcoes.Clientes; ++i) {
        const bool empresa = i % 10 == 0;
        const bool feminino = rng.bounded(2) == 0;
        const int nomeProprio = static_cast<int>(rng.bounded(20));
        const int sobrenome1 = static_cast<int>(rng.bounded(static_cast<quint32>(Tamanho(kSobrenomes))));
        const int sobrenome2 = static_cast<int>(rng.bounded(static_cast<quint32>(Tamanho(kSobrenomes))));
        const int empresaNome = static_cast<int>(rng.bounded(static_cast<quint32>(Tamanho(kEmpresas))));
        const TCidade& cidade = Escolher(rng, kCidades);

        QString nome;
        if (empresa) {
            nome = QString::fromUtf8(kEmpresas[(empresaNome + (b ? 1 : 0)) % Tamanho(kEmpresas)]) + u' ' +
                   QString::fromUtf8(Escolher(rng, kFormasEmpresa));
        } else {
            // The second set takes the next first name of the same list: a
            // different name in every row, of the same sex.
            const int n = (nomeProprio + (b ? 1 : 0)) % 20;
            nome = QString::fromUtf8(feminino ? kNomesFemininos[n] : kNomesMasculinos[n]) + u' ' +
                   QString::fromUtf8(kSobrenomes[sobrenome1]) + u' ' + QString::fromUtf8(kSobrenomes[sobrenome2]);
        }
        const QString cpfCnpj = empresa ? GerarCnpj(rng) : GerarCpf(rng);
        const QString logradouro = QString::fromUtf8(Escolher(rng, kLogradouros)) + QStringLiteral(", ") +
                                   QString::number(10 + rng.bounded(2990));
        const QString cep = QStringLiteral("%1-%2").arg(cidade.PrefixoCep, 5, 10, QLatin1Char('0')).arg(Digitos(rng, 3));
        const QDate nascimento = empresa ? QDate() : hoje.addDays(-(18 * 365 + static_cast<int>(rng.bounded(50 * 365))));
        const QDate primeira = hoje.addDays(-(30 + static_cast<int>(rng.bounded(2000))));
        const QDate ultima = primeira.addDays(static_cast<int>(rng.bounded(static_cast<quint32>(primeira.daysTo(hoje)) + 1)));
        const double limite = 100.0 * (1 + rng.bounded(50)) + (b ? 50.0 : 0.0);
        const int titulosAbertos = static_cast<int>(rng.bounded(4));
        const int titulosVencidos = titulosAbertos == 0 ? 0 : static_cast<int>(rng.bounded(static_cast<quint32>(titulosAbertos) + 1));
        const bool ativo = rng.bounded(20) != 0;

        p.Linha({QString::number(100000 + i),
                 QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')),
                 cpfCnpj,
                 nome,
                 logradouro,
                 QString::fromUtf8(Escolher(rng, kBairros)),
                 QString::fromUtf8(cidade.Nome),
                 QString::fromLatin1(cidade.UF),
                 cep,
                 static_cast<double>(rng.bounded(3)) * 5.0,
                 empresa ? QString() : GerarRg(rng),
                 QString::fromUtf8(Escolher(rng, kObservacoes)),
                 Telefone(cidade.DDD, false, rng),
                 empresa ? QString() : (feminino ? QStringLiteral("Feminino") : QStringLiteral("Masculino")),
                 Telefone(cidade.DDD, true, rng),
                 nascimento.isValid() ? QVariant(nascimento) : QVariant(),
                 Email(nome, i),
                 ativo,
                 QString::fromUtf8(Escolher(rng, kComplementos)),
                 hoje.addDays(30 + static_cast<int>(rng.bounded(365))),
                 limite,
                 rng.bounded(15) == 0,
                 Centavos(rng, 800),
                 static_cast<int>(rng.bounded(45)),
                 primeira,
                 ultima,
                 titulosAbertos * Centavos(rng, 300),
                 titulosAbertos,
                 titulosVencidos,
                 titulosVencidos * Centavos(rng, 300),
                 QStringLiteral("%1").arg(1 + rng.bounded(5), 3, 10, QLatin1Char('0')),
                 QString::fromUtf8(Escolher(rng, kAnalisesCredito))});
    }
    QDir().mkpath(diretorio);
    p.Gravar(diretorio + QStringLiteral("/Clientes.dat"));
}

}  // namespace vesko::retaguarda
