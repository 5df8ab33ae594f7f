// Reading a header file back: the bytes as written, and a clear error of our
// exception family (never a crash) for missing, short, long or corrupt input.
#include <gtest/gtest.h>

#include <QRandomGenerator>

#include "TestSupport.h"
#include "base/Excecoes.h"
#include "records/ClienteExportacaoRec.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"

using namespace vesko;
using vesko::teste::GravarArquivo;
using vesko::teste::PastaTemporaria;

namespace {

TVendaHeader HeaderPreenchido() {
    TVendaHeader h;
    h.Definir(TVendaHeader::IdMovimento, 4711);
    h.Definir(TVendaHeader::IpTerminal, QStringLiteral("CAIXA01"));
    h.Definir(TVendaHeader::DataFechamento, QStringLiteral("08/12/2026"));
    h.Definir(TVendaHeader::HoraFechamento, QStringLiteral("14:30:05"));
    h.Definir(TVendaHeader::NrOrdem, QStringLiteral("1234"));
    h.Definir(TVendaHeader::Observacao, QStringLiteral("sem cebola"));
    h.Definir(TVendaHeader::QtdeRecebimentos, 1);
    h.Definir(TVendaHeader::NoRecebimento(0, TVendaHeader::RecDsTpRec), QStringLiteral("DINHEIRO"));
    h.Definir(TVendaHeader::NoRecebimento(0, TVendaHeader::RecVlRecebido), 50.0);
    return h;
}

}  // namespace

TEST(LeituraHeader, LeOQueFoiGravado) {
    PastaTemporaria pasta;
    const TVendaHeader gravado = HeaderPreenchido();
    GravarArquivo(pasta.Arquivo("HDoc.dat"), gravado.Bytes());
    TVendaHeader lido;
    TLeituraVendaHeaderCorvane::GetVendaHeader(pasta.Arquivo("HDoc.dat"), lido);
    EXPECT_EQ(lido.Bytes(), gravado.Bytes());
    EXPECT_EQ(lido.Valor(TVendaHeader::NrOrdem), QStringLiteral("1234"));
    EXPECT_EQ(lido.Valor(TVendaHeader::Observacao), QStringLiteral("sem cebola"));
    EXPECT_DOUBLE_EQ(lido.Valor(TVendaHeader::NoRecebimento(0, TVendaHeader::RecVlRecebido)), 50.0);
}

TEST(LeituraHeader, ArquivoAusenteCurtoOuLongoDaErroClaro) {
    PastaTemporaria pasta;
    TVendaHeader h = HeaderPreenchido();
    EXPECT_THROW(TLeituraVendaHeaderCorvane::GetVendaHeader(pasta.Arquivo("nao-existe.dat"), h), EFOpenError);
    EXPECT_EQ(h.Bytes(), TVendaHeader().Bytes());

    const QByteArray bytes = HeaderPreenchido().Bytes();
    for (const QByteArray& conteudo : {QByteArray(), bytes.left(14943), bytes.left(100), bytes + bytes.left(1), bytes + bytes}) {
        GravarArquivo(pasta.Arquivo("HDoc.dat"), conteudo);
        h = HeaderPreenchido();
        try {
            TLeituraVendaHeaderCorvane::GetVendaHeader(pasta.Arquivo("HDoc.dat"), h);
            ADD_FAILURE() << conteudo.size() << " bytes read as a header";
        } catch (const EReadError& e) {
            EXPECT_TRUE(e.Mensagem().contains(QStringLiteral("14944"))) << e.Mensagem().toStdString();
        }
        EXPECT_EQ(h.Bytes(), TVendaHeader().Bytes()) << "left cleared";
    }
    h = HeaderPreenchido();
    EXPECT_THROW(TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView(bytes.left(14000)), h), EReadError);
}

TEST(LeituraHeader, RegistroCorrompidoRecusado) {
    const QByteArray bom = HeaderPreenchido().Bytes();
    TVendaHeader h;
    const auto recusado = [&](QByteArray b, const char* caso) {
        try {
            TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView(b), h);
            ADD_FAILURE() << caso;
        } catch (const EReadError& e) {
            EXPECT_FALSE(e.Mensagem().isEmpty());
        }
    };
    QByteArray b = bom;
    b[8] = char(72);  // terminal text longer than its 71
    recusado(b, "terminal length");
    b = bom;
    b[681] = char(3);  // model longer than its 2
    recusado(b, "model length");
    b = bom;
    b[920] = char(0xE9);  // observation of 1001 characters
    b[921] = char(0x03);
    recusado(b, "observation length");
    b = bom;
    b[14937] = 'X';  // format mark
    recusado(b, "mark");
    b = bom;
    b[396] = char(41);  // more payments than the record holds
    recusado(b, "payment count");
    b = bom;
    b[2000 + 39 * 256 + 66] = char(200);  // description of the last payment
    recusado(b, "payment text");

    // Any other byte may hold anything: flipping random bytes gives either a
    // record or one of our errors.
    QRandomGenerator r(20261208);
    for (int k = 0; k < 2000; ++k) {
        b = bom;
        for (int n = 0; n < 4; ++n) b[r.bounded(b.size())] = char(r.bounded(256));
        try {
            TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView(b), h);
            for (const TDescricaoCampo& c : TVendaHeader::Campos())
                if (c.Tipo == TTipoCampoRegistro::Texto) (void)h.Valor(TCampoTexto{c.Offset, c.Largura});
        } catch (const vesko::Exception&) {
        }
    }
}

TEST(LeituraHeader, ItemEClienteTambemRecusamTamanhoErrado) {
    TVendaItemRec i;
    EXPECT_THROW(i.Carregar(QByteArrayView(QByteArray(1451, '\0'))), EReadError);
    QByteArray b = TVendaItemRec().Bytes();
    b[107] = char(101);
    EXPECT_THROW(i.Carregar(QByteArrayView(b)), EReadError);
    TClienteExportacaoRec c;
    EXPECT_THROW(c.Carregar(QByteArrayView(QByteArray(1075, '\0'))), EReadError);
    EXPECT_NO_THROW(c.Carregar(QByteArrayView(QByteArray(1074, '\0'))));
}
