#pragma once
// What the fault test reads from the POS database between runs: a digest of
// every table the import writes, and the rows an export still has to send.
#include <QString>
#include <QStringList>
#include <map>
#include <set>

namespace vesko::falhas {

// Table name -> digest of its rows (order-independent).
using TFotoImportacao = std::map<QString, QByteArray>;

// Key -> how many rows carry it (a multiset of what is still to be sent).
using TMultiConjunto = std::map<QString, int>;

struct TFotoExportacao {
    TMultiConjunto Pendentes;  // keys "L:", "C:", "D:", "V:" (see ChaveLog & co.)
};

// The tables the import writes, in the order the import writes them.
const QStringList& TabelasImportacao();

// Both read the database of `caminhoBanco` (the program directory must be set).
TFotoImportacao FotografarImportacao(const QString& caminhoBanco);
TFotoExportacao FotografarExportacao(const QString& caminhoBanco);

// The keys both sides (database rows and export files) are reduced to.
QString ChaveLog(const QString& usuario, const QString& maquina, const QString& curta);
QString ChaveCliente(const QString& cpf, const QString& nome);
QString ChaveDocumento(const QByteArray& conteudo);
QString ChaveVenda(int idMovimento);

}  // namespace vesko::falhas
