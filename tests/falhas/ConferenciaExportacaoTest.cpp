// The export ledger of the fault test, on real files in a real folder: if it
// missed a loss, the kill runs would prove nothing.
#include <gtest/gtest.h>

#include <QFile>

#include "ConferenciaExportacao.h"
#include "FotoBanco.h"
#include "TestSupport.h"
#include "records/ClienteExportacaoRec.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"

using namespace vesko;
using namespace vesko::falhas;

namespace {

void Gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray Cabecalho(int idMovimento) {
    TVendaHeader h;
    h.Definir(TVendaHeader::IdMovimento, idMovimento);
    return h.Bytes();
}

TFotoExportacao Foto(std::initializer_list<QString> chaves) {
    TFotoExportacao f;
    for (const QString& c : chaves) ++f.Pendentes[c];
    return f;
}

}  // namespace

TEST(ConferenciaExportacao, RowThatLeftNeedsItsFileAndExtraFilesAreDuplicates) {
    teste::PastaTemporaria pasta;
    TConferenciaExportacao c(pasta.Caminho() + QLatin1Char('/'));
    c.RegistrarSaidas(Foto({ChaveVenda(5), ChaveVenda(6), ChaveVenda(7)}), Foto({ChaveVenda(7)}));
    Gravar(pasta.Arquivo(QStringLiteral("HDoc[CX][1][100000]AAAAAA.dat")), Cabecalho(5));
    Gravar(pasta.Arquivo(QStringLiteral("HDoc[CX][1][100000]BBBBBB.dat")), Cabecalho(5));
    EXPECT_TRUE(c.LerNovosArquivos().isEmpty());
    const QStringList faltas = c.Faltantes();
    ASSERT_EQ(faltas.size(), 1);
    EXPECT_TRUE(faltas[0].contains(ChaveVenda(6))) << faltas[0].toStdString();
    EXPECT_EQ(c.Duplicatas(), 1);

    // The missing header arrives with the next run: nothing is missing any more.
    Gravar(pasta.Arquivo(QStringLiteral("HDoc[CX][2][100000]CCCCCC.dat")), Cabecalho(6));
    EXPECT_TRUE(c.LerNovosArquivos().isEmpty());
    EXPECT_TRUE(c.Faltantes().isEmpty());
    EXPECT_EQ(c.Arquivos(), 3);
}

TEST(ConferenciaExportacao, HeaderWithItemsButNoItemsFileIsAPartialSet) {
    teste::PastaTemporaria pasta;
    TConferenciaExportacao c(pasta.Caminho() + QLatin1Char('/'));
    TVendaHeader h;
    h.Definir(TVendaHeader::IdMovimento, 5);
    h.Definir(TVendaHeader::QtdeItens, 1);
    Gravar(pasta.Arquivo(QStringLiteral("HDoc[CX][1][100000]AAAAAA.dat")), h.Bytes());
    Gravar(pasta.Arquivo(QStringLiteral("HDoc[CX][1][100000]BBBBBB.dat")), h.Bytes());
    Gravar(pasta.Arquivo(QStringLiteral("DDoc[CX][1][100000]BBBBBB.dat")), QByteArray(TVendaItemRec::Tamanho, '\0'));
    EXPECT_TRUE(c.LerNovosArquivos().isEmpty());
    EXPECT_EQ(c.ConjuntosParciais(), 1);
}

TEST(ConferenciaExportacao, FileCutShortIsReportedAndTemporariesAreIgnored) {
    teste::PastaTemporaria pasta;
    TConferenciaExportacao c(pasta.Caminho() + QLatin1Char('/'));
    Gravar(pasta.Arquivo(QStringLiteral("HDoc[CX][1][100000]AAAAAA.dat")), Cabecalho(5).left(100));
    TClienteExportacaoRec cliente;
    Gravar(pasta.Arquivo(QStringLiteral("CCad[CX][100000]BBBBBB.dat")), cliente.Bytes().left(10));
    Gravar(pasta.Arquivo(QStringLiteral("LEvt[CX][100000]CCCCCC.dat")), QByteArray("não é um pacote"));
    Gravar(pasta.Arquivo(QStringLiteral("~HDoc[CX][2][100000]DDDDDD.dat.tmp")), QByteArray("x"));
    const QStringList erros = c.LerNovosArquivos();
    EXPECT_EQ(erros.size(), 3) << erros.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(c.LerNovosArquivos().isEmpty());  // each file is read once
}

TEST(ConferenciaExportacao, DocumentRowsAreMatchedByContentAndCustomersByRecord) {
    teste::PastaTemporaria pasta;
    TConferenciaExportacao c(pasta.Caminho() + QLatin1Char('/'));
    const QByteArray danfe("<nfe>conteúdo do documento</nfe>");
    const QString chaveCliente = ChaveCliente(QStringLiteral("123.456.789-09"), QStringLiteral("Maria da Silva"));
    c.RegistrarSaidas(Foto({ChaveDocumento(danfe), chaveCliente}), Foto({}));
    EXPECT_EQ(c.Faltantes().size(), 2);
    Gravar(pasta.Arquivo(QStringLiteral("Danfe[CX][1][100000]AAAAAA.dat")), danfe);
    TClienteExportacaoRec cliente;
    cliente.Definir(TClienteExportacaoRec::CpfCnpj, QStringLiteral("123.456.789-09"));
    cliente.Definir(TClienteExportacaoRec::Nome, QStringLiteral("Maria da Silva"));
    Gravar(pasta.Arquivo(QStringLiteral("CCad[CX][100000]BBBBBB.dat")), cliente.Bytes());
    EXPECT_TRUE(c.LerNovosArquivos().isEmpty());
    EXPECT_TRUE(c.Faltantes().isEmpty());
}
