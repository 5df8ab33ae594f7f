#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

#include "base/Excecoes.h"

using namespace vesko;

TEST(Excecoes, ClassNamesAreReadableAndSurviveSlicingThroughTheRoot) {
    try {
        throw EFOpenError(QStringLiteral("Não foi possível abrir \"x.dat\""));
    } catch (const Exception& e) {
        EXPECT_EQ(e.NomeClasse(), "EFOpenError");
        EXPECT_EQ(e.Mensagem(), QStringLiteral("Não foi possível abrir \"x.dat\""));
        EXPECT_STREQ(e.what(), "Não foi possível abrir \"x.dat\"");
    }
    EXPECT_EQ(NomeClasseExcecao(EDBClient(QString())), "EDBClient");
    const EDBClient cliente{QString()};
    EXPECT_TRUE(dynamic_cast<const EDatabaseError*>(static_cast<const Exception*>(&cliente)));
}

TEST(Excecoes, StandardExceptionsMapToProgramNames) {
    EXPECT_EQ(NomeClasseExcecao(std::bad_alloc()), "EOutOfMemory");
    EXPECT_EQ(NomeClasseExcecao(std::out_of_range("x")), "ERangeError");
    EXPECT_EQ(NomeClasseExcecao(std::runtime_error("x")), "Exception");
    EXPECT_EQ(MensagemExcecao(std::runtime_error("falhou")), "falhou");
}
