#include "store/EsquemaPdv.h"

namespace vesko {
namespace {

// Column types used throughout.
constexpr const char* kId = "VARCHAR(40)";         // ids the back office sends as text
constexpr const char* kInteiro = "INTEGER";
constexpr const char* kFlag = "SMALLINT";          // 0/1 flags
constexpr const char* kDinheiro = "NUMERIC(15,2)";
constexpr const char* kTaxa = "NUMERIC(15,4)";     // rates and percentages
constexpr const char* kQuantidade = "NUMERIC(15,3)";
constexpr const char* kFator = "NUMERIC(18,6)";
constexpr const char* kData = "DATE";
constexpr const char* kDataHora = "TIMESTAMP";
constexpr const char* kBinario = "BLOB SUB_TYPE 0"; // pictures and documents

std::vector<TTabelaPdv> MontarTabelas() {
    std::vector<TTabelaPdv> t;

    // ---- settings ----
    t.push_back({"FOOD_CONFIG",
                 {{"NAME", "VARCHAR(60)", nullptr, true},
                  {"SECTION", "VARCHAR(60)", nullptr, true},
                  {"IDENT", "VARCHAR(60)", nullptr, true},
                  {"DATA_VALUE", "VARCHAR(4000)"},
                  {"MEMO", kBinario}},
                 nullptr, "NAME, SECTION, IDENT"});

    // ---- payment types ----
    // The import inserts into GRUPOSTPREC by position: these six columns, in
    // this order, and no other.
    t.push_back({"GRUPOSTPREC",
                 {{"IDGRUPOTPREC", kInteiro, nullptr, true},
                  {"CDGRUPOTPREC", "VARCHAR(10)"},
                  {"DSGRUPOTPREC", "VARCHAR(60)"},
                  {"IMAGEM", kBinario},
                  {"DSOBSERVACAO", "VARCHAR(100)"},
                  {"STINATIVO", kFlag, "0"}},
                 "IDGRUPOTPREC"});
    t.push_back({"TPREC",
                 {{"IDTPREC", kId, nullptr, true},
                  {"IDGRUPOTPREC", kInteiro},
                  {"CDTPREC", "VARCHAR(20)"},
                  {"DSTPREC", "VARCHAR(100)"},
                  {"IMAGEM", kBinario},
                  {"STCHEQUEPRE", kFlag, "0"},
                  {"IDXCERTIFICADA", kFlag, "0"},
                  {"CNPJADMCARTAO", "VARCHAR(20)"},
                  {"STTEF", kFlag, "0"},
                  {"TPRECEBIMENTO", "VARCHAR(1)"},
                  {"STTRABALHAADMINISTRADORA", kFlag, "0"},
                  {"STPGTOUNICAPARCELA", kFlag, "0"},
                  {"NR_MAXIMOPARCELAMENTOSADMCARTAO", kInteiro, "0"},
                  {"NR_PARCELASSEMJUROSADMCARTAO", kInteiro, "0"},
                  {"LISTA_ADQUIRENTES", "VARCHAR(4000)"}},
                 "IDTPREC"});
    t.push_back({"TPRECSITEF",
                 {{"CDBANDEIRA", "VARCHAR(20)"},
                  {"CDMODALIDADEXX", "VARCHAR(20)"},
                  {"IDTPRECEBIMENTO", kId},
                  {"OPCAOSITEF", kInteiro},
                  {"NRPARCELAINI", kInteiro},
                  {"NRPARCELAFIM", kInteiro}}});
    t.push_back({"PRAZOS",
                 {{"ID_PRAZO", kId, nullptr, true},
                  {"CD_PRAZO", "VARCHAR(20)"},
                  {"DS_PRAZO", "VARCHAR(100)"},
                  {"NR_PARCELAS", kInteiro},
                  {"INTERVALO", kInteiro},
                  {"PRIMEIRA_A_VISTA", kFlag, "0"},
                  {"NR_DIAS_PRIMEIRA", kInteiro},
                  {"ALIQUOTA_PRIMEIRA", kTaxa},
                  {"BAIXA_PRIMEIRA", kFlag, "0"},
                  {"ALIQUOTA_ACRESCIMO", kTaxa},
                  {"ID_TPREC_DEMAIS", kId},
                  {"ST_PRAZO_PESSOA", "VARCHAR(20)"},
                  {"ID_TPREC_A_VISTA", kId},
                  {"VENCIMENTO_FIXO", kFlag, "0"},
                  {"VL_ACRESCIMO_PRIMEIRA", kDinheiro},
                  {"VL_ACRESCIMO_DEMAIS", kDinheiro},
                  {"VL_ACRESICMO_GERAL", kDinheiro},
                  {"VL_MINIMO", kDinheiro}},
                 "ID_PRAZO"});

    // ---- users, waiters and access rights ----
    t.push_back({"FUNCIONARIOS",
                 {{"IDFUNCIONARIO", kId, nullptr, true},
                  {"CDFUNCIONARIO", "VARCHAR(40)"},
                  {"NMFUNCIONARIO", "VARCHAR(100)"},
                  {"NMCURTO", "VARCHAR(40)"},
                  {"ALDESCONTOMAXIMO", kTaxa, "0"},
                  {"SENHA", "VARCHAR(255)"},
                  {"TPFUNCIONARIO", "VARCHAR(1)"}}});
    t.push_back({"USUARIOS_ACESSOS",
                 {{"ID", kInteiro, nullptr, true},
                  {"CODIGO", "VARCHAR(20)"},
                  {"DESCRICAO", "VARCHAR(200)"}},
                 "ID", nullptr, "GEN_USUARIOS_ACESSOS_ID", "ID"});
    t.push_back({"USUARIOS_RESTRICOES",
                 {{"ID", kInteiro, nullptr, true},
                  {"ID_USUARIO", kId},
                  {"ID_ACESSO", kInteiro},
                  {"TP_RESTRICAO", "VARCHAR(1)"}},
                 "ID", nullptr, "GEN_USUARIOS_RESTRICOES_ID", "ID"});
    t.push_back({"SENHAS_GARCONS",
                 {{"ID_GARCOM", kId, nullptr, true},
                  {"SENHA", "VARCHAR(255)", "''"},
                  {"SENHA_MAITRE", kFlag, "0"}},
                 "ID_GARCOM"});

    // ---- products ----
    t.push_back({"CARACTERISTICAS",
                 {{"IDCARACTERISTICA", kId, nullptr, true},
                  {"DSCARACTERISTICA", "VARCHAR(100)"}},
                 "IDCARACTERISTICA"});
    t.push_back({"PRODUTOCARACTERISTICAS",
                 {{"IDCARACTERISTICA", kId},
                  {"IDDETALHE", kId}}});
    t.push_back({"GRUPOS",
                 {{"IDGRUPO", kInteiro, nullptr, true},
                  {"DSGRUPO", "VARCHAR(100)"},
                  {"CDGRUPO", "VARCHAR(20)"},
                  {"IMAGEM", kBinario},
                  {"STPRODUCAO", kFlag, "0"}},
                 "IDGRUPO", nullptr, "GEN_GRUPOS_ID", "IDGRUPO"});
    t.push_back({"PRODUTOS",
                 {{"IDPRODUTO", kId},
                  {"IDDETALHE", kId, nullptr, true},
                  {"IDGRUPO", kInteiro},
                  {"CDPRODUTO", "VARCHAR(40)"},
                  {"DSPRODUTO", "VARCHAR(150)"},
                  {"DSCURTA", "VARCHAR(40)"},
                  {"STINSUMO", kFlag, "0"},
                  {"VLVENDA", kDinheiro, "0"},
                  {"STIMPRIMECOMANDA", kFlag, "1"},
                  {"ST_CONTROLA_SERVIDO", kFlag, "1"},
                  {"STATIVO", kFlag, "1"},
                  {"UNIDADE", "VARCHAR(10)"},
                  {"TPTRIBUTACAO", "VARCHAR(10)"},
                  {"ALTRIBUTACAO", kTaxa, "0"},
                  {"ST1", kInteiro, "0"},
                  {"STDESCCOMPLEMENTAR", kFlag, "0"},
                  {"CDSITTRIB", "VARCHAR(10)"},
                  {"ALCARGATRIBUTARIA", kTaxa, "0"},
                  {"CSOSN", "VARCHAR(10)"},
                  {"NCM", "VARCHAR(20)"},
                  {"ALCTFEDNAC", kTaxa, "0"},
                  {"ALCTFEDIMP", kTaxa, "0"},
                  {"ALCTEST", kTaxa, "0"},
                  {"ALCTMUN", kTaxa, "0"},
                  {"CDSITTRIBPIS", "VARCHAR(10)"},
                  {"CDSITTRIBCOFINS", "VARCHAR(10)"},
                  {"ALPIS", kTaxa, "0"},
                  {"ALCOFINS", kTaxa, "0"},
                  {"NATUREZAOPERACAO", kInteiro},
                  {"ORIGEMMERCADORIA", "VARCHAR(10)"},
                  {"CEST", "VARCHAR(10)"},
                  {"CFOP", "VARCHAR(10)"},
                  {"STPESADO", kFlag, "0"},
                  {"STBALANCA", kFlag, "0"},
                  {"STUNITARIO", kFlag, "0"},
                  {"STPRODUTOCOMPOSTO", kFlag, "0"},
                  {"IMAGEM", kBinario},
                  {"FTCONVUNIDTRIBUTARIA", kFator, "0"},
                  {"TPUNIDTRIBUTARIA", "VARCHAR(10)"}},
                 "IDDETALHE"});
    t.push_back({"PRODUTO_COMPOSICAO",
                 {{"IDDETALHE", kId},
                  {"IDDETALHE_INSUMO", kId},
                  {"QUANTIDADE_INSUMO", kFator, "0"}}});
    t.push_back({"CODIGOSPRODUTOS",
                 {{"IDDETALHE", kId},
                  {"TIPOCODIGO", "VARCHAR(20)"},
                  {"DESCRICAO", "VARCHAR(60)"}}});

    // ---- catalogue ----
    t.push_back({"ENTREGA_STATUS",
                 {{"IDSTATUSENTREGA", kInteiro, nullptr, true},
                  {"DESCRICAO", "VARCHAR(60)"},
                  {"OBRIGATORIO", kFlag, "0"},
                  {"ORDEM", kInteiro, "0"},
                  {"VISIVEL", kFlag, "1"}},
                 "IDSTATUSENTREGA"});
    t.push_back({"VALIDACOES",
                 {{"ID_VALIDACAO", kInteiro, nullptr, true},
                  {"MSG_VALIDACAO", "VARCHAR(1000)"},
                  {"COR_VALIDACAO", "VARCHAR(20)"},
                  {"ACAO_VALIDACAO", kInteiro}},
                 "ID_VALIDACAO"});
    t.push_back({"ITENS_CARDAPIO",
                 {{"IDITEMCARDAPIO", kId, nullptr, true},
                  {"DSITEMCARDAPIO", "VARCHAR(150)"}},
                 "IDITEMCARDAPIO"});
    t.push_back({"DETALHE_VESKO",
                 {{"IDDETALHEVESKO", kId, nullptr, true},
                  {"IDDETALHE", kId},
                  {"CDCARDAPIO", "VARCHAR(20)"},
                  {"DSCARDAPIO", "VARCHAR(150)"},
                  {"QTDETALHE", kQuantidade, "0"},
                  {"QTOPCOES", kInteiro, "0"},
                  {"STCOBRADOAPARTE", kFlag, "0"},
                  {"STOPCIONAL", kFlag, "0"}},
                 "IDDETALHEVESKO"});
    t.push_back({"DETALHE_VESKO_OPCOES",
                 {{"IDDETALHEVESKOOPCAO", kId, nullptr, true},
                  {"IDDETALHEVESKO", kId},
                  {"QTITEM", kQuantidade, "0"},
                  {"STDEFAULT", kFlag, "0"},
                  {"IDITEMCARDAPIO", kId}},
                 "IDDETALHEVESKOOPCAO"});
    t.push_back({"DETALHE_VESKO_OBSERVACOES",
                 {{"IDDETALHEVESKOOBSERVACAO", kId, nullptr, true},
                  {"IDDETALHE", kId},
                  {"DSOBSERVACAO", "VARCHAR(200)"}},
                 "IDDETALHEVESKOOBSERVACAO"});

    // ---- customers ----
    t.push_back({"CLIENTES",
                 {{"IDCLIENTE", kId, nullptr, true},
                  {"CDCLIENTE", "VARCHAR(40)"},
                  {"CPF_CNPJ", "VARCHAR(30)"},
                  {"TPPESSOA", kFlag, "0"},
                  {"DSAPELIDONMFANTASIA", "VARCHAR(60)"},
                  {"NMCLIENTE", "VARCHAR(150)"},
                  {"DSENDERECO", "VARCHAR(200)"},
                  {"NMBAIRRO", "VARCHAR(100)"},
                  {"NMCIDADE", "VARCHAR(100)"},
                  {"CDUF", "VARCHAR(2)"},
                  {"CDCEP", "VARCHAR(10)"},
                  {"ALDESCONTO", kTaxa, "0"},
                  {"CI_IE", "VARCHAR(30)"},
                  {"OBS", "VARCHAR(4000)"},
                  {"NR_TELEFONE", "VARCHAR(30)"},
                  {"SEXO", kFlag, "1"},
                  {"NRCELULAR", "VARCHAR(30)"},
                  {"DTNASCIMENTO", kData},
                  {"EMAIL", "VARCHAR(150)"},
                  {"ATIVO", kFlag, "1"},
                  {"COMPLEMENTO_ENDERECO", "VARCHAR(100)"},
                  {"CADASTRADO_NO_CHECKOUT", kFlag, "0", true},
                  {"VALIDADE_LIM_CREDITO", kData},
                  {"VL_LIMITE_CREDITO", kDinheiro, "0"},
                  {"CREDITO_BLOQUEADO", kFlag, "0"},
                  {"VL_MAIOR_COMPRA", kDinheiro, "0"},
                  {"NR_DIAS_MAIOR_ATRASO", kInteiro, "0"},
                  {"DATA_PRIMEIRA_COMPRA", kData},
                  {"DATA_ULTIMA_COMPRA", kData},
                  {"VL_TITULOS_ABERTOS", kDinheiro, "0"},
                  {"NR_TITULOS_ABERTOS", kInteiro, "0"},
                  {"NR_TITULOS_VENCIDOS", kInteiro, "0"},
                  {"VL_MEDIA_COMPRA", kDinheiro, "0"},
                  {"ID_PRAZO", kId},
                  {"OBS_ANALISE_CREDITO", "VARCHAR(4000)"},
                  {"PONTO_REFERENCIA", "VARCHAR(200)"}}});
    t.push_back({"CLIENTE_COMPLEMENTO",
                 {{"IDCLIENTE", kId},
                  {"PONTO_REFERENCIA", "VARCHAR(200)"}}});
    t.push_back({"CLIENTEEXP",
                 {{"IDCLIENTE", kId},
                  {"NOME", "VARCHAR(150)"},
                  {"CPF_CNPJ", "VARCHAR(30)"},
                  {"NR_TELEFONE", "VARCHAR(30)"},
                  {"IPTERMINAL", "VARCHAR(60)"},
                  {"DSENDERECO", "VARCHAR(200)"},
                  {"NMBAIRRO", "VARCHAR(100)"},
                  {"NMCIDADE", "VARCHAR(100)"},
                  {"CDUF", "VARCHAR(2)"},
                  {"CDCEP", "VARCHAR(10)"},
                  {"NRCELULAR", "VARCHAR(30)"},
                  {"EMAIL", "VARCHAR(150)"},
                  {"DTNASCIMENTO", kData},
                  {"IDMUNICIPIO", kInteiro},
                  {"ALTERACAO_CADASTRO", kFlag, "0"},
                  {"DATAHORA_ALTERACAO", kDataHora},
                  {"COMPLEMENTO_ENDERECO", "VARCHAR(100)"}}});

    // ---- sales ----
    // Columns read without a table prefix in joins live in one table only:
    // ST_ENTREGA, ST_ENTREGAFINALIZADA and DATA_HORA_PEDIDO in MOVIMENTO;
    // NRORDEM and IPTERMINAL in MOVIMENTO_COMPLEMENTO; IPTERMINAL,
    // TIPOARQUIVO and CONTEUDOARQUIVO in ARQUIVOSDOCUMENTO.
    t.push_back({"MESAS",
                 {{"IDMESA", kInteiro, nullptr, true},
                  {"ID_CLIENTE", kId}},
                 "IDMESA", nullptr, "GEN_MESAS_ID", "IDMESA"});
    t.push_back({"MOVIMENTO",
                 {{"IDMOVIMENTO", kInteiro, nullptr, true},
                  {"HRFECHAMENTO", kDataHora},
                  {"DATA_HORA_PEDIDO", kDataHora},
                  {"IDVENDEDOR", kId},
                  {"ID_USUARIO", kId},
                  {"ID_CLIENTE", kId},
                  {"CPF_CNPJ", "VARCHAR(30)"},
                  {"ST_MOVIMENTO", kFlag, "0"},
                  {"ST_MOVIMENTO_EXPORTADO", kFlag, "0"},
                  {"NUMERO_PEDIDO", kInteiro},
                  {"TIPO_OPERACAO", "VARCHAR(1)"},
                  {"TIPO_MOVIMENTO", "VARCHAR(1)"},
                  {"ST_ENTREGA", kFlag, "0"},
                  {"ST_ENTREGAFINALIZADA", kFlag, "0"}},
                 "IDMOVIMENTO", nullptr, "GEN_MOVIMENTO_ID", "IDMOVIMENTO"});
    t.push_back({"MOVIMENTO_COMPLEMENTO",
                 {{"MOVIMENTO_ID", kInteiro},
                  {"VALOR", kDinheiro, "0"},
                  {"OBSERVACAO", "VARCHAR(1000)"},
                  {"VLACRESCIMO", kDinheiro},
                  {"VLSERVICO", kDinheiro},
                  {"VLDESCONTO", kDinheiro},
                  {"NRMODELONF", "VARCHAR(10)"},
                  {"NRSERIE", "VARCHAR(10)"},
                  {"NRORDEM", "VARCHAR(20)"},
                  {"TERMINALGUID", "VARCHAR(60)"},
                  {"IPTERMINAL", "VARCHAR(60)"},
                  {"DOCABERTURAENCERRAMENTO", "VARCHAR(60)"},
                  {"VLTRIBFEDNAC", kDinheiro},
                  {"VLTRIBFEDIMP", kDinheiro},
                  {"VLTRIBEST", kDinheiro},
                  {"VLTRIBMUN", kDinheiro}}});
    // Items and payments of a movement, as the POS recorded them at the sale.
    // The item row keeps the product's data as sold; a column it leaves null
    // is read from PRODUTOS (the items query joins them by IDDETALHE, with
    // the same types on both sides).
    t.push_back({"MOVIMENTO_ITENS",
                 {{"IDMOVIMENTOITEM", kInteiro, nullptr, true},
                  {"IDMOVIMENTO", kInteiro},
                  {"NRSEQUENCIA", kInteiro},
                  {"IDPRODUTO", kId},
                  {"IDDETALHE", kId},
                  {"CDPRODUTO", "VARCHAR(40)"},
                  {"DSPRODUTO", "VARCHAR(150)"},
                  {"QTDEPRODUTO", kQuantidade, "0"},
                  {"VLUNITARIO", kDinheiro, "0"},
                  {"VLTOTALPRODUTO", kDinheiro, "0"},
                  {"UNIDADE", "VARCHAR(10)"},
                  {"TPTRIBUTACAO", "VARCHAR(10)"},
                  {"ALTRIBUTACAO", kTaxa},
                  {"CDSITTRIB", "VARCHAR(10)"},
                  {"NATUREZAOPERACAO", kInteiro},
                  {"OBS_ITEM", "VARCHAR(1000)"},
                  {"ALCARGATRIBUTARIA", kTaxa},
                  {"STPESADO", kFlag},
                  {"ORIGEMMERCADORIA", "VARCHAR(10)"},
                  {"CSOSN", "VARCHAR(10)"},
                  {"NCM", "VARCHAR(20)"},
                  {"ALCTFEDNAC", kTaxa},
                  {"ALCTFEDIMP", kTaxa},
                  {"ALCTEST", kTaxa},
                  {"ALCTMUN", kTaxa},
                  {"CEST", "VARCHAR(10)"},
                  {"ALPIS", kTaxa},
                  {"ALCOFINS", kTaxa},
                  {"CDSITTRIBCOFINS", "VARCHAR(10)"},
                  {"CDSITTRIBPIS", "VARCHAR(10)"},
                  {"CFOP", "VARCHAR(10)"}},
                 "IDMOVIMENTOITEM", nullptr, "GEN_MOVIMENTO_ITENS_ID", "IDMOVIMENTOITEM"});
    t.push_back({"MOVIMENTO_RECEBIMENTOS",
                 {{"IDMOVIMENTORECEBIMENTO", kInteiro, nullptr, true},
                  {"IDMOVIMENTO", kInteiro},
                  {"NRSEQUENCIA", kInteiro},
                  {"IDTPREC", kId},
                  {"DSTPREC", "VARCHAR(100)"},
                  {"VLRECEBIDO", kDinheiro, "0"},
                  {"VLTROCO", kDinheiro, "0"},
                  {"NRPARCELAS", kInteiro, "1"},
                  {"CDBANDEIRA", "VARCHAR(20)"},
                  {"CDAUTORIZACAO", "VARCHAR(16)"},
                  {"STCANCELADO", kFlag, "0"}},
                 "IDMOVIMENTORECEBIMENTO", nullptr, "GEN_MOVIMENTO_RECEBIMENTOS_ID", "IDMOVIMENTORECEBIMENTO"});
    t.push_back({"ARQUIVOSDOCUMENTO",
                 {{"IDARQUIVODOCUMENTO", kInteiro, nullptr, true},
                  {"IDMOVIMENTO", kInteiro},
                  {"TIPOARQUIVO", "VARCHAR(10)"},
                  {"CONTEUDOARQUIVO", kBinario},
                  {"IPTERMINAL", "VARCHAR(60)"}},
                 "IDARQUIVODOCUMENTO", nullptr, "GEN_ARQUIVOSDOCUMENTO_ID", "IDARQUIVODOCUMENTO"});
    t.push_back({"LOGEVT",
                 {{"IDLOG", kInteiro, nullptr, true},
                  {"DSUSUARIOLOGADO", "VARCHAR(30)"},
                  {"DSNOMEMAQUINA", "VARCHAR(50)"},
                  {"DSDESCRICAOCURTA", "VARCHAR(250)"},
                  {"DSDESCRICAOLONGA", "VARCHAR(4000)"},
                  {"TPLOG", kInteiro, "0"},
                  {"DTLOG", kDataHora, "CURRENT_TIMESTAMP"}},
                 "IDLOG", nullptr, "GEN_LOGEVT_ID", "IDLOG"});
    return t;
}

}  // namespace

const std::vector<TTabelaPdv>& TabelasPdv() {
    static const std::vector<TTabelaPdv> t = MontarTabelas();
    return t;
}

const std::vector<TIndicePdv>& IndicesPdv() {
    static const std::vector<TIndicePdv> i = {
        {"IDX_TPREC_IDGRUPOTPREC", "TPREC", "IDGRUPOTPREC"},
        {"IDX_FUNCIONARIOS_ID", "FUNCIONARIOS", "IDFUNCIONARIO"},
        {"IDX_USUARIOS_ACESSOS_CODIGO", "USUARIOS_ACESSOS", "CODIGO"},
        {"IDX_USUARIOS_RESTR_USUARIO", "USUARIOS_RESTRICOES", "ID_USUARIO"},
        {"IDX_GRUPOS_CDGRUPO", "GRUPOS", "CDGRUPO"},
        {"IDX_PRODUTOS_IDGRUPO", "PRODUTOS", "IDGRUPO"},
        {"IDX_PRODUTOCARACT_IDDETALHE", "PRODUTOCARACTERISTICAS", "IDDETALHE"},
        {"IDX_PRODUTO_COMPOSICAO_DET", "PRODUTO_COMPOSICAO", "IDDETALHE"},
        {"IDX_CODIGOSPRODUTOS_IDDETALHE", "CODIGOSPRODUTOS", "IDDETALHE"},
        {"IDX_CLIENTES_IDCLIENTE", "CLIENTES", "IDCLIENTE"},
        {"IDX_CLIENTES_CPF_CNPJ", "CLIENTES", "CPF_CNPJ"},
        {"IDX_CLIENTES_NRCELULAR", "CLIENTES", "NRCELULAR"},
        {"IDX_CLIENTE_COMPL_IDCLIENTE", "CLIENTE_COMPLEMENTO", "IDCLIENTE"},
        {"IDX_CLIENTEEXP_IDCLIENTE", "CLIENTEEXP", "IDCLIENTE"},
        {"IDX_MESAS_ID_CLIENTE", "MESAS", "ID_CLIENTE"},
        {"IDX_MOVIMENTO_ID_CLIENTE", "MOVIMENTO", "ID_CLIENTE"},
        {"IDX_MOVIMENTO_EXPORTADO", "MOVIMENTO", "ST_MOVIMENTO_EXPORTADO"},
        {"IDX_MOVIMENTO_COMPL_MOV", "MOVIMENTO_COMPLEMENTO", "MOVIMENTO_ID"},
        {"IDX_MOVIMENTO_ITENS_MOV", "MOVIMENTO_ITENS", "IDMOVIMENTO"},
        {"IDX_MOVIMENTO_RECEB_MOV", "MOVIMENTO_RECEBIMENTOS", "IDMOVIMENTO"},
        {"IDX_ARQUIVOSDOC_IDMOVIMENTO", "ARQUIVOSDOCUMENTO", "IDMOVIMENTO"},
        {"IDX_ARQUIVOSDOC_TIPO", "ARQUIVOSDOCUMENTO", "TIPOARQUIVO"},
    };
    return i;
}

}  // namespace vesko
