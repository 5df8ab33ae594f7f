#include <gtest/gtest.h>

#include "TestSupport.h"
#include "app/LinhaComando.h"

using namespace vesko;

TEST(LinhaComando, HomeBeforeTheSubcommandAndItsArguments) {
    teste::PastaTemporaria pasta;
    QString erro;
    auto lc = TLinhaComando::Interpretar({"--home", pasta.Caminho(), "auditoria", "--dias", "3"}, erro);
    ASSERT_TRUE(lc);
    EXPECT_EQ(lc->Home, pasta.Caminho());
    EXPECT_EQ(lc->Comando, "auditoria");
    EXPECT_EQ(lc->Argumentos, QStringList({"--dias", "3"}));

    lc = TLinhaComando::Interpretar({}, erro);
    ASSERT_TRUE(lc);
    EXPECT_TRUE(lc->Comando.isEmpty());

    EXPECT_FALSE(TLinhaComando::Interpretar({"--home", pasta.Caminho() + "/nao-existe", "versao"}, erro));
    EXPECT_TRUE(erro.contains("não existe"));
    EXPECT_FALSE(TLinhaComando::Interpretar({"--home"}, erro));
}

TEST(LinhaComando, WhichSubcommandsRefuseASecondInstance) {
    for (const char* c : {"importar", "exportar", "conectar"}) EXPECT_TRUE(ComandoUsaTravaExclusiva(c));
    for (const char* c : {"versao", "auditoria", "criar-base", "chave-publica", "servico"})
        EXPECT_FALSE(ComandoUsaTravaExclusiva(c));
}
