#pragma once
// Generates a store's back-office data files, the set an import reads, with
// realistic Portuguese data and pictures. Used by the demo, the tests, the
// benchmark and the fault tests. The same options and seed give the same
// files; `Variante` 1 gives a second set that differs in every row the import
// writes (names, prices, flags), so a check can tell which set a table holds.
#include <QString>
#include <cstdint>

namespace vesko::retaguarda {

struct TOpcoesGerador {
    std::uint32_t Semente = 1;
    int Variante = 0;          // 0: set A, 1: set B
    int Grupos = 8;
    int Produtos = 60;
    int ProdutosComImagem = 12;
    int LarguraImagem = 320;   // product pictures (JPEG)
    int AlturaImagem = 240;
    int CodigosPorProduto = 2;
    int Usuarios = 4;
    int Vendedores = 4;
    int RestricoesPorUsuario = 5;
    int Clientes = 25;
    int Catalogo = 12;         // rows of each catalogue table
};

// Every file of the set, into `diretorio` (created when missing).
void GerarRetaguarda(const QString& diretorio, const TOpcoesGerador& opcoes);

// One family each (the files named after each).
void GerarRecebimentos(const QString& diretorio, const TOpcoesGerador& opcoes);      // TpRec, TpRec_SiTef
void GerarConfiguracoes(const QString& diretorio, const TOpcoesGerador& opcoes);     // Config
void GerarUsuarios(const QString& diretorio, const TOpcoesGerador& opcoes);          // Usuarios, Acessos, Vendedores
void GerarProdutos(const QString& diretorio, const TOpcoesGerador& opcoes);          // Grupos, Produtos, Codigos, ImagensProdutos
void GerarCaracteristicas(const QString& diretorio, const TOpcoesGerador& opcoes);   // Caracteristicas, ProdutoCaracteristicas, ProdutoComposicao
void GerarCatalogo(const QString& diretorio, const TOpcoesGerador& opcoes);          // Prazos, Validacao, ItensCardapio, DetalheVesko(+Opcoes, Observacoes)
void GerarClientes(const QString& diretorio, const TOpcoesGerador& opcoes);          // Clientes

}  // namespace vesko::retaguarda
