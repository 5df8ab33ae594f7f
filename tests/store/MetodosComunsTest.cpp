// The shared sale routines against a real POS database: the header of a sale
// as the export's selection gives it, the items query (item row as sold wins
// over the product, order by sequence), the payments query, and the split of
// an address into street and number.
#include <gtest/gtest.h>

#include "ApoioBanco.h"
#include "store/DBIniFileBistrel.h"
#include "store/MetodosComuns.h"

using namespace vesko;
using vesko::teste::AmbienteBanco;

namespace {

// A sale: MOVIMENTO 1 closed 08/12/2026 14:30:05, ordered 23:50 the day before,
// with its complement, three items inserted out of order, two payments (one
// cancelled) and CdEmpresa in FOOD_CONFIG.
void CriarVenda(TConexaoFirebird& c) {
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, DATA_HORA_PEDIDO, IDVENDEDOR, ID_USUARIO, ID_CLIENTE, CPF_CNPJ, "
        "ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO, NUMERO_PEDIDO, TIPO_OPERACAO, TIPO_MOVIMENTO) VALUES "
        "(1, '2026-12-08 14:30:05', '2026-12-07 23:50:00', '12', 'U1', 'C9', '12345678909', 1, 0, 77, 'V', 'S')"));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, VALOR, OBSERVACAO, VLACRESCIMO, VLSERVICO, VLDESCONTO, NRMODELONF, "
        "NRSERIE, NRORDEM, TERMINALGUID, IPTERMINAL, DOCABERTURAENCERRAMENTO, VLTRIBFEDNAC, VLTRIBFEDIMP, VLTRIBEST, VLTRIBMUN) "
        "VALUES (1, 57.35, 'Mesa 4', 1.5, 5.2, 0.5, '65', '1', '1234', '{GUID-1}', 'CAIXA01', 'DOC-1', 2.11, 0, 3.3, 0)"));
    c.Executar(QStringLiteral(
        "INSERT INTO PRODUTOS (IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, UNIDADE, TPTRIBUTACAO, CFOP, NCM) VALUES "
        "('10', '10.1', '789', 'X-BURGUER', 'UN', 'T', '5102', '21069090')"));
    c.Executar(QStringLiteral(
        "INSERT INTO PRODUTOS (IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, UNIDADE, TPTRIBUTACAO, NCM) VALUES "
        "('20', '20.1', '790', 'REFRIGERANTE', 'LT', 'S', '22021000')"));
    // Sequence 3 first, then 1, then 2; item 2 has no data of its own but
    // the product and its amounts.
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, QTDEPRODUTO, "
        "VLUNITARIO, VLTOTALPRODUTO, UNIDADE, TPTRIBUTACAO, CFOP, OBS_ITEM) VALUES "
        "(1, 3, '10', '10.1', '789', 'X-BURGUER', 1, 25.9, 25.9, 'UN', 'T', '5405', 'sem cebola')"));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDPRODUTO, IDDETALHE, CDPRODUTO, DSPRODUTO, QTDEPRODUTO, "
        "VLUNITARIO, VLTOTALPRODUTO, UNIDADE, TPTRIBUTACAO) VALUES "
        "(1, 1, '10', '10.1', '789', 'X-BURGUER', 0.5, 12.5, 6.25, 'UN', 'T')"));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDDETALHE, QTDEPRODUTO, VLUNITARIO, VLTOTALPRODUTO) VALUES "
        "(1, 2, '20.1', 3, 6.5, 19.5)"));
    // Another sale's item must not appear.
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_ITENS (IDMOVIMENTO, NRSEQUENCIA, IDDETALHE, QTDEPRODUTO) VALUES (2, 1, '10.1', 9)"));
    c.Executar(QStringLiteral(
        "INSERT INTO TPREC (IDTPREC, CDTPREC, DSTPREC, TPRECEBIMENTO, CNPJADMCARTAO) VALUES "
        "('001', '01', 'DINHEIRO', 'D', NULL)"));
    c.Executar(QStringLiteral(
        "INSERT INTO TPREC (IDTPREC, CDTPREC, DSTPREC, TPRECEBIMENTO, CNPJADMCARTAO) VALUES "
        "('003', '03', 'CARTÃO', 'A', '01027058000191')"));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, IDTPREC, VLRECEBIDO, VLTROCO, NRPARCELAS, CDBANDEIRA, "
        "CDAUTORIZACAO, STCANCELADO) VALUES (1, 2, '003', 20, 0, 2, 'VISA', 'A1B2C3', 0)"));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, IDTPREC, DSTPREC, VLRECEBIDO, VLTROCO) VALUES "
        "(1, 1, '001', 'DINHEIRO (CAIXA)', 50, 12.65)"));
    c.Executar(QStringLiteral(
        "INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, IDTPREC, VLRECEBIDO, STCANCELADO) VALUES "
        "(1, 3, '003', 99, 1)"));
    TDBIniFileBistrel(c, QStringLiteral("FOOD_CONFIG")).WriteString(QStringLiteral("BISTREL"), QStringLiteral("CdEmpresa"),
                                                                  QStringLiteral("0001"));
}

// The export's sale selection, as it sends it.
std::unique_ptr<TQuery> SelecaoVendas(TConexaoFirebird& c) {
    return c.Consultar(QStringLiteral(
        "SELECT M.IDMOVIMENTO, M.HRFECHAMENTO, M.DATA_HORA_PEDIDO, COALESCE(M.IDVENDEDOR, '') AS IDVENDEDOR, M.ID_USUARIO, "
        "M.ID_CLIENTE, M.CPF_CNPJ, M.ST_MOVIMENTO, M.ST_MOVIMENTO_EXPORTADO, MC.VALOR, MC.OBSERVACAO, "
        "COALESCE(MC.VLACRESCIMO, 0.00) + COALESCE(MC.VLSERVICO, 0.00) AS VLACRESCIMO, COALESCE(MC.VLSERVICO, 0.00) AS VLSERVICO, "
        "MC.VLDESCONTO, MC.NRMODELONF, MC.NRSERIE, MC.NRORDEM, M.NUMERO_PEDIDO, MC.TERMINALGUID, MC.IPTERMINAL, "
        "MC.DOCABERTURAENCERRAMENTO, MC.VLTRIBFEDNAC, MC.VLTRIBFEDIMP, MC.VLTRIBEST, MC.VLTRIBMUN "
        "FROM MOVIMENTO M INNER JOIN MOVIMENTO_COMPLEMENTO MC ON M.IDMOVIMENTO = MC.MOVIMENTO_ID"));
}

QStringList Coluna(TQuery& q, const char* nome) {
    QStringList r;
    for (q.First(); !q.Eof(); q.Next()) r << q.FieldByName(QLatin1String(nome)).AsString();
    q.First();
    return r;
}

}  // namespace

TEST(MetodosComuns, ItensNaOrdemDaVendaComOsDadosComoVendidos) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    CriarVenda(*c);
    // The product is renamed and re-taxed after the sale.
    c->Executar(QStringLiteral("UPDATE PRODUTOS SET DSPRODUTO = 'X-BURGUER ESPECIAL', TPTRIBUTACAO = 'N', CFOP = '5933' "
                               "WHERE IDDETALHE = '10.1'"));

    auto itens = TMetodosComuns::GetDataSetItensVenda(1, *c);
    ASSERT_EQ(itens->RecordCount(), 3);
    EXPECT_EQ(Coluna(*itens, "NRSEQUENCIA"), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(Coluna(*itens, "DSPRODUTO"), (QStringList{"X-BURGUER", "REFRIGERANTE", "X-BURGUER"}));
    EXPECT_EQ(Coluna(*itens, "TPTRIBUTACAO"), (QStringList{"T", "S", "T"}));
    // CFOP: the item's own ("5405"), else the product's at reading time.
    EXPECT_EQ(Coluna(*itens, "CFOP"), (QStringList{"5933", "", "5405"}));
    // Item 2 takes what it lacks from its product.
    EXPECT_EQ(Coluna(*itens, "IDPRODUTO"), (QStringList{"10", "20", "10"}));
    EXPECT_EQ(Coluna(*itens, "UNIDADE"), (QStringList{"UN", "LT", "UN"}));
    EXPECT_EQ(Coluna(*itens, "NCM"), (QStringList{"21069090", "22021000", "21069090"}));
    EXPECT_EQ(Coluna(*itens, "OBS_ITEM"), (QStringList{"", "", "sem cebola"}));

    // Numbers through typed accessors.
    itens->First();
    EXPECT_DOUBLE_EQ(itens->FieldByName("QTDEPRODUTO").AsFloat(), 0.5);
    EXPECT_DOUBLE_EQ(itens->FieldByName("VLUNITARIO").AsFloat(), 12.5);
    EXPECT_EQ(TextoNumeroRegional(itens->FieldByName("VLUNITARIO").AsFloat()), QStringLiteral("12,5"));
    EXPECT_EQ(TextoNumeroRegional(itens->FieldByName("VLTOTALPRODUTO").AsFloat()), QStringLiteral("6,25"));

    EXPECT_EQ(TMetodosComuns::GetDataSetItensVenda(3, *c)->RecordCount(), 0);
}

TEST(MetodosComuns, RecebimentosNaOrdemSemOsCancelados) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    CriarVenda(*c);
    c->Executar(QStringLiteral("UPDATE TPREC SET DSTPREC = 'ESPÉCIE' WHERE IDTPREC = '001'"));

    auto r = TMetodosComuns::GetDataSetRecebimentosVenda(1, *c, true);
    ASSERT_EQ(r->RecordCount(), 2);
    EXPECT_EQ(Coluna(*r, "IDTPREC"), (QStringList{"001", "003"}));
    // The description kept with the payment wins; else the type's.
    EXPECT_EQ(Coluna(*r, "DSTPREC"), (QStringList{"DINHEIRO (CAIXA)", "CARTÃO"}));
    EXPECT_EQ(Coluna(*r, "TPRECEBIMENTO"), (QStringList{"D", "A"}));
    r->First();
    EXPECT_DOUBLE_EQ(r->FieldByName("VLTROCO").AsFloat(), 12.65);
    EXPECT_EQ(TMetodosComuns::GetDataSetRecebimentosVenda(1, *c, false)->RecordCount(), 3);
}

TEST(MetodosComuns, CabecalhoDaVendaNosOffsetsLidosPelaExportacao) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    CriarVenda(*c);
    auto venda = SelecaoVendas(*c);
    auto itens = TMetodosComuns::GetDataSetItensVenda(1, *c);
    auto receb = TMetodosComuns::GetDataSetRecebimentosVenda(1, *c, true);
    itens->Last();

    const TVendaHeader h = TMetodosComuns::GetVendaHeader(*venda, itens.get(), receb.get(), 0, *c);
    const QByteArray& b = h.Bytes();
    ASSERT_EQ(b.size(), 14944);
    const auto curto = [&](int offset) { return QString::fromLatin1(b.mid(offset + 1, static_cast<quint8>(b[offset]))); };
    EXPECT_EQ(b[0], 0);
    EXPECT_EQ(curto(8), QStringLiteral("CAIXA01"));
    EXPECT_EQ(curto(80), QStringLiteral("08/12/2026"));
    EXPECT_EQ(curto(91), QStringLiteral("14:30:05"));
    EXPECT_EQ(curto(100), QStringLiteral("0001"));
    EXPECT_EQ(curto(681), QStringLiteral("65"));
    EXPECT_EQ(curto(684), QStringLiteral("1234"));
    EXPECT_EQ(curto(705), QStringLiteral("1"));
    EXPECT_EQ(curto(856), QStringLiteral("{GUID-1}"));

    using H = TVendaHeader;
    EXPECT_EQ(h.Valor(H::IdMovimento), 1);
    EXPECT_EQ(h.Valor(H::StMovimento), 1);
    EXPECT_EQ(h.Valor(H::DataPedido), QStringLiteral("07/12/2026"));
    EXPECT_EQ(h.Valor(H::HoraPedido), QStringLiteral("23:50:00"));
    EXPECT_EQ(h.Valor(H::IdVendedor), QStringLiteral("12"));
    EXPECT_EQ(h.Valor(H::NumeroPedido), 77);
    EXPECT_EQ(h.Valor(H::Observacao), QStringLiteral("Mesa 4"));
    EXPECT_EQ(h.ValorBruto(H::VlMovimento), 573500);
    EXPECT_EQ(h.ValorBruto(H::VlAcrescimo), 67000);  // 1,50 + 5,20 as the selection sums them
    EXPECT_EQ(h.ValorBruto(H::VlTribFedNac), 21100);
    EXPECT_EQ(h.Valor(H::QtdeItens), 3);
    EXPECT_EQ(h.ValorBruto(H::VlTotalItens), 516500);
    EXPECT_EQ(h.Valor(H::QtdeRecebimentos), 2);
    EXPECT_EQ(h.Valor(H::NoRecebimento(0, H::RecDsTpRec)), QStringLiteral("DINHEIRO (CAIXA)"));
    EXPECT_EQ(h.Valor(H::NoRecebimento(1, H::RecCdBandeira)), QStringLiteral("VISA"));
    EXPECT_EQ(h.Valor(H::NoRecebimento(1, H::RecNrParcelas)), 2);
    EXPECT_EQ(h.ValorBruto(H::VlTotalRecebido), 700000);
    EXPECT_EQ(h.ValorBruto(H::VlTroco), 126500);
    // The datasets are handed back on their first row.
    EXPECT_EQ(itens->RecNo(), 1);
    EXPECT_EQ(receb->RecNo(), 1);

    // A header read back from its bytes is the same record.
    TVendaHeader lido;
    TLeituraVendaHeaderCorvane::GetVendaHeader(QByteArrayView(b), lido);
    EXPECT_EQ(lido.Bytes(), b);

    // With the company code read once and handed in: the same bytes.
    const QString empresa = TMetodosComuns::LerCdEmpresa(*c);
    EXPECT_EQ(empresa, QStringLiteral("0001"));
    EXPECT_EQ(TMetodosComuns::GetVendaHeader(*venda, itens.get(), receb.get(), 0, empresa).Bytes(), b);
    EXPECT_THROW(TMetodosComuns::GetVendaHeader(*venda, nullptr, nullptr, 256, empresa), EArgumentException);
}

TEST(MetodosComuns, CabecalhoDeMovimentoNaoFiscalSemItensEComNulos) {
    AmbienteBanco amb;
    auto c = amb.Conexao();
    c->Executar(QStringLiteral("INSERT INTO MOVIMENTO (IDMOVIMENTO, HRFECHAMENTO, ST_MOVIMENTO, TIPO_OPERACAO, TIPO_MOVIMENTO) "
                               "VALUES (5, '2026-12-08 09:00:00', 1, 'E', 'U')"));
    c->Executar(QStringLiteral("INSERT INTO MOVIMENTO_COMPLEMENTO (MOVIMENTO_ID, IPTERMINAL) VALUES (5, 'PDV:01')"));
    auto mov = c->Consultar(QStringLiteral(
        "SELECT M.IDMOVIMENTO, M.HRFECHAMENTO, M.HRFECHAMENTO AS DATA_HORA_PEDIDO, M.IDVENDEDOR, M.TIPO_OPERACAO, MC.VALOR, "
        "MC.IPTERMINAL, COALESCE(MC.VLDESCONTO, 0.00) AS VLDESCONTO, COALESCE(MC.NRORDEM, '') AS NRORDEM, MC.TERMINALGUID "
        "FROM MOVIMENTO M INNER JOIN MOVIMENTO_COMPLEMENTO MC ON M.IDMOVIMENTO = MC.MOVIMENTO_ID"));
    auto receb = TMetodosComuns::GetDataSetRecebimentosVenda(5, *c, true);
    const TVendaHeader h = TMetodosComuns::GetVendaHeader(*mov, nullptr, receb.get(), 2, *c);
    EXPECT_EQ(h.Valor(TVendaHeader::TipoRegistro), 2);
    EXPECT_EQ(h.Valor(TVendaHeader::IpTerminal), QStringLiteral("PDV:01"));
    EXPECT_EQ(h.Valor(TVendaHeader::TipoOperacao), QStringLiteral("E"));
    EXPECT_EQ(h.Valor(TVendaHeader::CdEmpresa), QString());  // no setting
    EXPECT_EQ(h.Valor(TVendaHeader::NrOrdem), QString());
    EXPECT_EQ(h.Valor(TVendaHeader::QtdeItens), 0);
    EXPECT_EQ(h.Valor(TVendaHeader::QtdeRecebimentos), 0);
    EXPECT_EQ(h.Valor(TVendaHeader::DataPedido), QStringLiteral("08/12/2026"));

    // More payments than the record holds: an error, not a cut list.
    for (int i = 0; i < 41; ++i)
        c->Executar(QStringLiteral("INSERT INTO MOVIMENTO_RECEBIMENTOS (IDMOVIMENTO, NRSEQUENCIA, VLRECEBIDO) VALUES (5, %1, 1)").arg(i));
    auto muitos = TMetodosComuns::GetDataSetRecebimentosVenda(5, *c, true);
    EXPECT_THROW(TMetodosComuns::GetVendaHeader(*mov, nullptr, muitos.get(), 2, *c), EArgumentException);
}

TEST(MetodosComuns, EnderecoEmLogradouroENumero) {
    const auto partes = [](const char* e) {
        const QString t = QString::fromUtf8(e);
        return std::make_pair(TMetodosComuns::GetLogradouroSemNumero(t), TMetodosComuns::GetNumeroLogradouro(t));
    };
    using P = std::pair<QString, QString>;
    EXPECT_EQ(partes("Rua das Flores, 123"), P("Rua das Flores", "123"));
    EXPECT_EQ(partes("Rua das Flores,123"), P("Rua das Flores", "123"));
    EXPECT_EQ(partes("Av. Brasil, nº 1500"), P("Av. Brasil", "1500"));
    EXPECT_EQ(partes("Av. Brasil, 1500 - Bloco B"), P("Av. Brasil", "1500 - Bloco B"));
    EXPECT_EQ(partes("Rua das Flores 123"), P("Rua das Flores", "123"));
    EXPECT_EQ(partes("Rua das Flores nº 123"), P("Rua das Flores", "123"));
    EXPECT_EQ(partes("Rua das Flores, S/N"), P("Rua das Flores", "S/N"));
    EXPECT_EQ(partes("Rua 25 de Março"), P("Rua 25 de Março", ""));
    EXPECT_EQ(partes("Rua 7 de Setembro, 45"), P("Rua 7 de Setembro", "45"));
    EXPECT_EQ(partes("Rua Bela Vista, Centro"), P("Rua Bela Vista, Centro", ""));
    EXPECT_EQ(partes("  Rua   Larga ,  10 "), P("Rua Larga", "10"));
    EXPECT_EQ(partes("123"), P("123", ""));
    EXPECT_EQ(partes(""), P("", ""));
}
