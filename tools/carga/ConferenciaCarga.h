#pragma once
// The check after the load: everything the stand-in point of sale committed
// is either still unexported in the database or in exactly one complete set
// of files in the export directory.
//
// A set is the files sharing one base name ("[terminal][terminal-order]
// [time]<suffix>.dat") behind a prefix. A sale's set holds an HDoc (one
// header record naming the sale) and a DDoc (one item record per item); a
// cancellation's set holds a CDoc. Every document row carries a unique mark
// in its content: a row no longer in the database must be in exactly one
// file (its sale's set, or a file of its own for the kinds sent by type).
#include <QHash>
#include <QString>
#include <QStringList>

#include "PdvCarga.h"

namespace vesko {
class TConexaoFirebird;
}

namespace vesko::carga {

struct TConferencia {
    int VendasConferidas = 0, VendasNoBanco = 0;
    int CancelamentosConferidos = 0, CancelamentosNoBanco = 0;
    int DocumentosConferidos = 0, DocumentosNoBanco = 0;
    int Conjuntos = 0;    // sets of files found
    int ConjuntosPorTipo = 0;  // of them, single document files sent by type
    QStringList Violacoes;
};

// What the export directory holds, read once: the sets by the sale their
// header names, and how many files carry each document mark.
struct TDiretorioExportacao {
    QHash<int, QStringList> ConjuntosVenda;          // sale id -> base names of its HDoc sets
    QHash<int, QStringList> ConjuntosCancelamento;   // sale id -> base names of its CDoc sets
    QHash<QString, int> Marcas;                      // document mark -> files holding it
    int Conjuntos = 0, ConjuntosPorTipo = 0;
    QStringList Problemas;                           // unreadable or incomplete sets, leftovers
};

TDiretorioExportacao LerDiretorioExportacao(const QString& diretorio);

// Checks `registro` against the database (through `conexao`, connected)
// and the export directory.
TConferencia Conferir(const TRegistroCarga& registro, TConexaoFirebird& conexao, const QString& diretorio);

}  // namespace vesko::carga
