// Users (Usuarios.dat), their access restrictions (Acessos.dat) and the
// waiters (Vendedores.dat) of a restaurant's back office.
#include <QStringList>
#include <algorithm>
#include <utility>
#include <array>
#include <random>
#include <vector>

#include "GeradorRetaguarda.h"
#include "PacoteRetaguarda.h"

namespace vesko::retaguarda {

namespace {

const QStringList kNomes = {
    QStringLiteral("Ana"),      QStringLiteral("João"),     QStringLiteral("Maria"),   QStringLiteral("José"),
    QStringLiteral("Francisca"), QStringLiteral("Antônio"), QStringLiteral("Luíza"),   QStringLiteral("Carlos"),
    QStringLiteral("Beatriz"),  QStringLiteral("Paulo"),    QStringLiteral("Juliana"), QStringLiteral("Sebastião"),
    QStringLiteral("Fernanda"), QStringLiteral("Raimundo"), QStringLiteral("Patrícia"), QStringLiteral("Márcio"),
    QStringLiteral("Letícia"),  QStringLiteral("Cícero"),   QStringLiteral("Aline"),   QStringLiteral("Gonçalo"),
    QStringLiteral("Conceição"), QStringLiteral("Rogério"), QStringLiteral("Tânia"),   QStringLiteral("Vinícius")};

const QStringList kSobrenomes = {
    QStringLiteral("Silva"),    QStringLiteral("Santos"),   QStringLiteral("Oliveira"),  QStringLiteral("Souza"),
    QStringLiteral("Rodrigues"), QStringLiteral("Ferreira"), QStringLiteral("Alves"),    QStringLiteral("Pereira"),
    QStringLiteral("Lima"),     QStringLiteral("Gomes"),    QStringLiteral("Ribeiro"),   QStringLiteral("Carvalho"),
    QStringLiteral("Araújo"),   QStringLiteral("Magalhães"), QStringLiteral("Conceição"), QStringLiteral("Brandão"),
    QStringLiteral("Assunção"), QStringLiteral("Gonçalves"), QStringLiteral("Mendonça"),  QStringLiteral("Falcão")};

// The access codes the POS knows (credit releases and POS functions).
std::vector<int> CodigosAcesso() {
    std::vector<int> c;
    for (int i = 5002; i <= 5009; ++i) c.push_back(i);
    for (int i = 9800; i <= 9833; ++i) c.push_back(i);
    return c;
}

// Fisher-Yates with the generator's raw numbers: the same order on every
// platform (std::shuffle's distribution is the library's own).
void Embaralhar(std::vector<int>& v, std::mt19937& rng) {
    for (size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[rng() % i]);
}

struct TPessoa {
    int Nome, Sobrenome1, Sobrenome2;
};

TPessoa SortearPessoa(std::mt19937& rng) {
    const auto n = [&rng](qsizetype limite) { return static_cast<int>(rng() % static_cast<std::uint32_t>(limite)); };
    const int nome = n(kNomes.size());
    const int sobrenome1 = n(kSobrenomes.size());
    const int sobrenome2 = (sobrenome1 + 1 + n(kSobrenomes.size() - 1)) % static_cast<int>(kSobrenomes.size());
    return {nome, sobrenome1, sobrenome2};
}

// The second set changes the first name (and so every name) of each person.
TPessoa NaVariante(TPessoa p, int variante) {
    if (variante == 1) p.Nome = (p.Nome + 7) % static_cast<int>(kNomes.size());
    return p;
}

QString NomeCompleto(const TPessoa& p) {
    return kNomes[p.Nome] + QLatin1Char(' ') + kSobrenomes[p.Sobrenome1] + QStringLiteral(" ") +
           kSobrenomes[p.Sobrenome2];
}

void GerarArquivoUsuarios(const QString& diretorio, const TOpcoesGerador& o, std::mt19937& rng) {
    static constexpr std::array<double, 5> kDescontos{0.0, 5.0, 10.0, 12.5, 20.0};
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdUsuario"), ftInteger)
        .Campo(QStringLiteral("NmUsuario"), ftString, 60)
        .Campo(QStringLiteral("NmCurto"), ftString, 20)
        .Campo(QStringLiteral("AlDescontoMax"), ftFloat)
        .Campo(QStringLiteral("DsSenha"), ftString, 20);
    for (int id = 1; id <= o.Usuarios; ++id) {
        const TPessoa pessoa = NaVariante(SortearPessoa(rng), o.Variante);
        const double desconto = kDescontos[rng() % kDescontos.size()] + (o.Variante == 1 ? 2.5 : 0.0);
        const int pin = 1000 + static_cast<int>(rng() % 9000);
        const int outroPin = 1000 + (pin - 1000 + 1 + static_cast<int>(rng() % 8998)) % 9000;  // never pin
        const int senha = o.Variante == 1 ? outroPin : pin;
        const QString curto = kNomes[pessoa.Nome] + QLatin1Char(' ') + kSobrenomes[pessoa.Sobrenome1].left(1) +
                              QLatin1Char('.');
        p.Linha({id, NomeCompleto(pessoa), curto, desconto, QString::number(senha)});
    }
    p.Gravar(diretorio + QStringLiteral("/Usuarios.dat"));
}

// Each user gets RestricoesPorUsuario different codes; the second set keeps
// the codes and turns every restriction the other way.
void GerarArquivoAcessos(const QString& diretorio, const TOpcoesGerador& o, std::mt19937& rng) {
    std::vector<int> codigos = CodigosAcesso();
    const int porUsuario = std::min<int>(o.RestricoesPorUsuario, static_cast<int>(codigos.size()));
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdUsuario"), ftInteger)
        .Campo(QStringLiteral("IdAcesso"), ftInteger)
        .Campo(QStringLiteral("Valor"), ftBoolean);
    for (int id = 1; id <= o.Usuarios; ++id) {
        Embaralhar(codigos, rng);
        for (int i = 0; i < porUsuario; ++i) {
            const bool permitido = rng() % 3 != 0;
            p.Linha({id, codigos[static_cast<size_t>(i)], o.Variante == 1 ? !permitido : permitido});
        }
    }
    p.Gravar(diretorio + QStringLiteral("/Acessos.dat"));
}

void GerarArquivoVendedores(const QString& diretorio, const TOpcoesGerador& o, std::mt19937& rng) {
    TPacoteRetaguarda p;
    p.Campo(QStringLiteral("IdVendedor"), ftInteger)
        .Campo(QStringLiteral("CdChamada"), ftString, 10)
        .Campo(QStringLiteral("NmVendedor"), ftString, 60);
    for (int i = 1; i <= o.Vendedores; ++i) {
        const TPessoa pessoa = NaVariante(SortearPessoa(rng), o.Variante);
        p.Linha({100 + i, QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')), NomeCompleto(pessoa)});
    }
    p.Gravar(diretorio + QStringLiteral("/Vendedores.dat"));
}

}  // namespace

void GerarUsuarios(const QString& diretorio, const TOpcoesGerador& opcoes) {
    std::mt19937 rng(opcoes.Semente * 2654435761u + 5u);
    GerarArquivoUsuarios(diretorio, opcoes, rng);
    GerarArquivoAcessos(diretorio, opcoes, rng);
    GerarArquivoVendedores(diretorio, opcoes, rng);
}

}  // namespace vesko::retaguarda
