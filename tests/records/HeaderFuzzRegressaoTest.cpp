// Replays our sample header files and every input the header fuzz target
// once failed on; the samples must also load as headers, so the fuzzer starts
// from records past the size and format checks.
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>

#include "TestSupport.h"
#include "fuzz/ExercitarHeader.h"

using namespace vesko;
using vesko::teste::ExercitarHeader;
using vesko::teste::LerArquivo;
using vesko::teste::PastaTemporaria;

TEST(HeaderFuzzRegressao, SementesSaoRegistrosValidos) {
    int n = 0;
    QDirIterator it(QStringLiteral(DIR_SEMENTES_HEADER), QDir::Files);
    while (it.hasNext()) {
        const QString arquivo = it.next();
        TVendaHeader h;
        EXPECT_NO_THROW(TLeituraVendaHeaderCorvane::GetVendaHeader(arquivo, h)) << arquivo.toStdString();
        PastaTemporaria pasta;
        const QString falha = ExercitarHeader(LerArquivo(arquivo), pasta.Caminho());
        EXPECT_TRUE(falha.isEmpty()) << arquivo.toStdString() << ": " << falha.toStdString();
        ++n;
    }
    EXPECT_GE(n, 3);
}

TEST(HeaderFuzzRegressao, EntradasGuardadas) {
    QDirIterator it(QStringLiteral(DIR_REGRESSAO_HEADER), QDir::Files);
    while (it.hasNext()) {
        const QString arquivo = it.next();
        if (arquivo.endsWith(QLatin1String(".md"))) continue;
        PastaTemporaria pasta;
        const QString falha = ExercitarHeader(LerArquivo(arquivo), pasta.Caminho());
        EXPECT_TRUE(falha.isEmpty()) << arquivo.toStdString() << ": " << falha.toStdString();
    }
}

// Damaged samples: a length byte past its width, a payment count past the
// maximum, a missing mark; each is one of our errors and leaves the record clear.
TEST(HeaderFuzzRegressao, SementesDanificadasDaoErroClaro) {
    QByteArray venda = LerArquivo(QStringLiteral(DIR_SEMENTES_HEADER "/venda.dat"));
    ASSERT_EQ(venda.size(), TVendaHeader::Tamanho);
    QByteArray largo = venda, muitos = venda, semMarca = venda;
    largo[TVendaHeader::NrOrdem.Offset] = char(21);
    muitos[TVendaHeader::QtdeRecebimentos.Offset] = char(41);
    semMarca[TVendaHeader::MarcaFormato.Offset + 1] = 'X';
    for (const QByteArray& b : {largo, muitos, semMarca}) {
        TVendaHeader h;
        h.Definir(TVendaHeader::IdMovimento, 5);
        EXPECT_THROW(TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView(b), h), EReadError);
        EXPECT_EQ(h.Bytes(), TVendaHeader().Bytes());
        PastaTemporaria pasta;
        EXPECT_TRUE(ExercitarHeader(b, pasta.Caminho()).isEmpty());
    }
}
