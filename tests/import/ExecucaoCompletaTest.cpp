// Whole runs on a generated store: the chain in its order, the summary, the
// stamp of the last update, a run stopped by a failing step, and a run whose
// exception leaves the step uncommitted.
#include <gtest/gtest.h>

#include <QDateTime>
#include <vector>

#include "ApoioImportacao.h"
#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "base/Relogio.h"

using namespace vesko;
using teste::AmbienteImportacao;

namespace {

// The entries the chain appends, in step order.
const QStringList kOrdem{
    QStringLiteral("* TpRec.dat;"),           QStringLiteral("* Prazos.dat;"),
    QStringLiteral("* TpRec_SiTef.dat;"),     QStringLiteral("* Config.dat;"),
    QStringLiteral("* Usuarios.dat;"),        QStringLiteral("* Caracteristicas.dat;"),
    QStringLiteral("* ProdutoCaracteristicas.dat;"), QStringLiteral("* Grupos.dat;"),
    QStringLiteral("* Produtos.dat;"),        QStringLiteral("* ImagensProdutos.dat;"),
    QStringLiteral("* ProdutoComposicao.dat;"), QStringLiteral("* Codigos.dat;"),
    QStringLiteral("* Validacao.dat;"),       QStringLiteral("* ItensCardapio.dat;"),
    QStringLiteral("* DetalheVesko.dat;"),    QStringLiteral("* DetalheVeskoOpcoes.dat;"),
    QStringLiteral("* DetalheVeskoObservacoes.dat;"), QStringLiteral("* Clientes.dat.")};

// Records each hint with the moment it arrived.
class HintComHora : public IHint {
public:
    void DefinirHint(const QString& texto) override {
        m_atual = texto;
        Textos.push_back({texto, QDateTime::currentDateTime()});
    }
    QString Hint() const override { return m_atual; }
    QDateTime Quando(const QString& texto) const {
        for (auto it = Textos.rbegin(); it != Textos.rend(); ++it)
            if (it->first == texto) return it->second;
        return {};
    }
    std::vector<std::pair<QString, QDateTime>> Textos;

private:
    QString m_atual;
};

QString Configuracao(AmbienteImportacao& amb, const QString& chave) {
    return amb.Valor(QStringLiteral("SELECT DATA_VALUE FROM FOOD_CONFIG WHERE SECTION = 'BISTREL' AND IDENT = '%1'")
                         .arg(chave));
}

}  // namespace

TEST(ImportacaoCompleta, TheSummaryListsTheFilesInStepOrderAndTheStampIsTheRunsEnd) {
    AmbienteImportacao amb;
    amb.GerarRetaguarda();
    HintComHora hint;
    const QDateTime inicio = QDateTime::currentDateTime();
    ASSERT_TRUE(TImportacaoPDVBistrel::Importar(hint, amb.Entrada(), amb.PrimeiraConexao));
    const QDateTime fim = QDateTime::currentDateTime();

    const auto r = AmbienteImportacao::Auditorias();
    ASSERT_FALSE(r.isEmpty());
    const auto& sucesso = r.last();
    EXPECT_EQ(sucesso.Descricao, QStringLiteral("Importação realizada com sucesso!"));
    EXPECT_EQ(sucesso.Tipo, taInformacao);
    EXPECT_TRUE(sucesso.TipoExcecao.isEmpty());
    ASSERT_TRUE(sucesso.Detalhes.startsWith(QStringLiteral("Arquivos importados:\r\n\r\n"))) << sucesso.Detalhes.toStdString();
    qsizetype anterior = -1;
    for (const QString& entrada : kOrdem) {
        const qsizetype pos = sucesso.Detalhes.indexOf(entrada + QStringLiteral("\r\n"));
        const qsizetype ultima = entrada.endsWith(QLatin1Char('.')) ? sucesso.Detalhes.indexOf(entrada) : pos;
        ASSERT_GE(ultima, 0) << entrada.toStdString() << " missing from\n" << sucesso.Detalhes.toStdString();
        EXPECT_GT(ultima, anterior) << entrada.toStdString();
        anterior = ultima;
    }
    EXPECT_TRUE(sucesso.Detalhes.endsWith(QStringLiteral("* Clientes.dat."))) << sucesso.Detalhes.toStdString();

    // The stamp is written after the last step, to the second.
    const QDateTime carimbo =
        QDateTime::fromString(Configuracao(amb, QStringLiteral("DataUltimaAtualizacao")), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    ASSERT_TRUE(carimbo.isValid());
    const QDateTime ultimoPasso = hint.Quando(QStringLiteral("Salvando clientes no banco de dados..."));
    ASSERT_TRUE(ultimoPasso.isValid());
    EXPECT_GE(carimbo.toSecsSinceEpoch(), ultimoPasso.toSecsSinceEpoch());
    EXPECT_LE(carimbo.toSecsSinceEpoch(), fim.toSecsSinceEpoch());
    EXPECT_GE(carimbo.toSecsSinceEpoch(), inicio.toSecsSinceEpoch());
    EXPECT_FALSE(amb.PrimeiraConexao);
}

TEST(ImportacaoCompleta, ARunThatFailsAtStepFiveKeepsStepsOneToFourCommitted) {
    AmbienteImportacao amb;
    amb.GerarRetaguarda();
    amb.Remover(QStringLiteral("Vendedores.dat"));
    EXPECT_FALSE(amb.Importar());
    const QStringList d = AmbienteImportacao::Descricoes();
    ASSERT_FALSE(d.isEmpty());
    EXPECT_EQ(d.last(), QStringLiteral("Erro no carregamento do arquivo de base."));
    EXPECT_FALSE(d.contains(QStringLiteral("Importação realizada com sucesso!")));
    EXPECT_GT(amb.Contar(QStringLiteral("TPREC")), 0);                 // 1
    EXPECT_GT(amb.Contar(QStringLiteral("PRAZOS")), 0);                // 2
    EXPECT_GT(amb.Contar(QStringLiteral("TPRECSITEF")), 0);            // 3
    EXPECT_FALSE(Configuracao(amb, QStringLiteral("NmEmpresa")).isEmpty());  // 4
    EXPECT_EQ(amb.Contar(QStringLiteral("FUNCIONARIOS")), 0);          // 5 rolled back
    EXPECT_EQ(amb.Contar(QStringLiteral("PRODUTOS")), 0);              // never reached
    EXPECT_TRUE(Configuracao(amb, QStringLiteral("DataUltimaAtualizacao")).isEmpty());
}

TEST(ImportacaoCompleta, EveryTableHoldsTheLastSetImported) {
    AmbienteImportacao amb;
    retaguarda::TOpcoesGerador a;
    amb.GerarRetaguarda(a);
    ASSERT_TRUE(amb.Importar());
    const QString produtosA = amb.Linhas(QStringLiteral("SELECT IDPRODUTO, DSPRODUTO, VLVENDA FROM PRODUTOS ORDER BY 1")).join('\n');
    const QString clientesA = amb.Linhas(QStringLiteral("SELECT IDCLIENTE, NMCLIENTE FROM CLIENTES ORDER BY 1")).join('\n');
    retaguarda::TOpcoesGerador b;
    b.Variante = 1;
    amb.GerarRetaguarda(b);
    ASSERT_TRUE(amb.Importar());
    const QString produtosB = amb.Linhas(QStringLiteral("SELECT IDPRODUTO, DSPRODUTO, VLVENDA FROM PRODUTOS ORDER BY 1")).join('\n');
    EXPECT_NE(produtosA, produtosB);
    EXPECT_NE(clientesA, amb.Linhas(QStringLiteral("SELECT IDCLIENTE, NMCLIENTE FROM CLIENTES ORDER BY 1")).join('\n'));
    amb.GerarRetaguarda(a);
    ASSERT_TRUE(amb.Importar());
    EXPECT_EQ(produtosA, amb.Linhas(QStringLiteral("SELECT IDPRODUTO, DSPRODUTO, VLVENDA FROM PRODUTOS ORDER BY 1")).join('\n'));
    EXPECT_EQ(clientesA, amb.Linhas(QStringLiteral("SELECT IDCLIENTE, NMCLIENTE FROM CLIENTES ORDER BY 1")).join('\n'));
}
