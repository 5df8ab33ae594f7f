#pragma once
// Internal to the Firebird client (src/firebird): our parameters (TParams)
// into a statement's input message, and the columns of its output message
// back into values.
//
// A value travels in its column's own form when it is of that kind; any
// other is sent in a form of its own (a 64-bit integer, a double, a date,
// a varying text) and the database converts it, refusing what does not fit.
// The message built for one set of forms is kept while the values keep
// them, so a run inserting row after row builds it once.
#include <firebird/Interface.h>

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <utility>
#include <vector>

#include "datapacket/TiposCampo.h"
#include "firebird/Params.h"

namespace vesko {
struct TSqlAnalisado;
}

namespace vesko::fb {

// One field of a message as the database describes it.
struct Descricao {
    unsigned tipo = SQL_NULL;  // without the nullable bit
    unsigned comprimento = 0;
    int escala = 0;
    int subtipo = 0;
    unsigned charset = 0;
    bool operator==(const Descricao& o) const {
        return tipo == o.tipo && comprimento == o.comprimento && escala == o.escala && subtipo == o.subtipo &&
               charset == o.charset;
    }
};

// Where each field and its null flag sit in a message.
struct Layout {
    std::vector<unsigned> dados, nulos;
    unsigned comprimento = 0;
    void Ler(Firebird::CheckStatusWrapper& st, Firebird::IMessageMetadata* m);
};

// A message buffer aligned for every field type.
struct Buffer {
    std::vector<std::uint64_t> mem;
    unsigned char* Preparar(unsigned bytes) {
        mem.assign((bytes + 7) / 8 + 1, 0);
        return reinterpret_cast<unsigned char*>(mem.data());
    }
};

// One input value, converted to the form it travels in.
struct Valor {
    bool nulo = true;
    QByteArray bytes;
    qint64 inteiro = 0;
    double real = 0;
    ISC_DATE data = 0;
    ISC_TIME hora = 0;
    bool logico = false;
};

struct ColunaSaida {
    QString nome;
    Descricao d;
    TFieldType tipo;
};

// The input of a statement: its placeholders, by name and as the database
// describes them, and the message of the last execution.
struct Entrada {
    Firebird::IMessageMetadata* metadados = nullptr;  // as the database describes it
    std::vector<Descricao> descricao;
    std::vector<QString> nomes;
    QHash<QString, std::vector<unsigned>> posicoes;  // upper-case name -> placeholders
    QHash<QString, std::vector<unsigned>> posicoesComoEscritas;  // the same by the text's spelling
    // Scratch of each execution, kept to spare allocations.
    std::vector<const TParam*> porPosicao;
    // The parameter names of the last execution, in order, with their
    // placeholders: the runs send the same names row after row.
    std::vector<QString> ultimosNomes;
    std::vector<const std::vector<unsigned>*> ultimasPosicoes;
    std::vector<Valor> valores;
    std::vector<Descricao> sig;
    Buffer buffer;
    // The input message of the last execution, kept while the values keep
    // the same types.
    std::vector<Descricao> assinatura;
    Firebird::IMessageMetadata* mensagem = nullptr;
    Layout layout;

    void Liberar();
};

// The output of a statement: its columns and where they sit in a row.
struct Saida {
    Firebird::IMessageMetadata* metadados = nullptr;
    std::vector<ColunaSaida> colunas;
    Layout layout;

    void Liberar();
};

// What a message needs of the connection it travels on: the status its
// calls fill, the attachment and the transaction that blobs belong to, and
// the connection's character set.
struct Contexto {
    Firebird::CheckStatusWrapper& st;
    Firebird::IAttachment* att;
    Firebird::ITransaction* t;
    unsigned cs;
};

// Equal texts, found at once when both share their data (the same literal
// or the same string handed again).
inline bool MesmoTexto(const QString& a, const QString& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// Text in the connection's character set `cs` (UTF8 or WIN1252).
QByteArray Codificar(const QString& t, unsigned cs);

// Reads the database's description of the placeholders (`e.metadados`) and
// takes their names from the analysed text.
void DescreverEntrada(Firebird::CheckStatusWrapper& st, const TSqlAnalisado& a, Entrada& e);
// Reads the columns of the output (`s.metadados`).
void DescreverSaida(Firebird::CheckStatusWrapper& st, Saida& s);

// Binds the parameters into the input message, by name. Returns the message
// and points `dados` at its buffer; both are nullptr for a statement
// without placeholders.
Firebird::IMessageMetadata* MontarEntrada(Entrada& e, const TParams* params, Contexto& cx, unsigned char*& dados);

// The columns as a query declares them: name, type, declared length.
std::vector<std::pair<QString, std::pair<TFieldType, int>>> Campos(const Saida& s);
// The values of the output row in `dados` (blobs read whole).
std::vector<QVariant> LerLinha(const Saida& s, const unsigned char* dados, Contexto& cx);

}  // namespace vesko::fb
