// Customers: the back office's customers rewritten from Clientes.dat, the
// customers registered at the checkout merged into their back-office
// counterparts, and each customer's reference point copied from its
// complement.
//
// CLIENTES holds both kinds, told apart by CADASTRADO_NO_CHECKOUT (0: back
// office, 1: checkout). The rewrite deletes only the back-office rows. A
// checkout customer is merged (its sales, tables and complement moved to the
// back-office id, then its own row deleted) once the back office has sent
// its registration back; until then it keeps its own id and waits.
#include "import/ImportacaoPDVBistrelInterna.h"

#include <QStringList>
#include <memory>

#include "db/ComunicacaoBancoBistrel.h"
#include "store/TextoLoja.h"

namespace vesko {

namespace {

using TImportacao = TImportacaoPDVBistrelInterna;
using TGateway = TComunicacaoBancoBistrel;

const QString kClientesDat = QStringLiteral("Clientes.dat");

QString Linhas(std::initializer_list<QString> linhas) {
    return QStringList(linhas).join(QStringLiteral("\r\n"));
}

// Runs a statement that may rightly change no row (a customer without sales,
// tables or complement; a store without customers): true whenever it ran. A
// database error is still audited by the gateway and gives false. (The
// gateway's ExecutarUpdate would also fail on zero rows, which is no error
// here.)
bool ExecutarAtualizacao(TGateway& Gateway, const QString& Sql, const TParams* Params = nullptr) {
    return Gateway.ExecutarDelete(Sql, Params);
}

TParams ParametrosTransferencia(const QString& IdAntigo, const QString& IdNovo) {
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pIdClienteAntigo")).SetAsString(IdAntigo);
    p.CreateParam(ftString, QStringLiteral("pIdClienteNovo")).SetAsString(IdNovo);
    return p;
}

TParams ParametroCliente(const QString& IdCliente) {
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pIdCliente")).SetAsString(IdCliente);
    return p;
}

// ---- the file -------------------------------------------------------------

bool CarregarClientes(TImportacao& Importacao) {
    return Importacao.CarregarOpcional(kClientesDat, Importacao.cdsClientes,
                                       QStringLiteral("Carregando arquivo de clientes..."));
}

// 1 for a company number (14 digits), 0 otherwise.
int ObterTipoPessoa(const QString& CpfCnpj) {
    return OnlyNumber(CpfCnpj, 0).trimmed().size() == 14 ? 1 : 0;
}

// 2 for "FEMININO" (any case, blanks around it), 1 for anything else.
int ObterSexo(const QString& Sexo) {
    return Sexo.trimmed().toUpper() == QStringLiteral("FEMININO") ? 2 : 1;
}

QString SqlInsertCliente() {
    static const QString sql = Linhas({
        QStringLiteral("INSERT INTO CLIENTES"),
        QStringLiteral(" (IDCLIENTE,"),
        QStringLiteral("  CDCLIENTE,"),
        QStringLiteral("  CPF_CNPJ,"),
        QStringLiteral("  TPPESSOA,"),
        QStringLiteral("  DSAPELIDONMFANTASIA,"),
        QStringLiteral("  NMCLIENTE,"),
        QStringLiteral("  DSENDERECO,"),
        QStringLiteral("  NMBAIRRO,"),
        QStringLiteral("  NMCIDADE,"),
        QStringLiteral("  CDUF,"),
        QStringLiteral("  CDCEP,"),
        QStringLiteral("  ALDESCONTO,"),
        QStringLiteral("  CI_IE,"),
        QStringLiteral("  OBS,"),
        QStringLiteral("  NR_TELEFONE,"),
        QStringLiteral("  SEXO,"),
        QStringLiteral("  NRCELULAR,"),
        QStringLiteral("  DTNASCIMENTO,"),
        QStringLiteral("  EMAIL,"),
        QStringLiteral("  ATIVO,"),
        QStringLiteral("  COMPLEMENTO_ENDERECO,"),
        QStringLiteral("  CADASTRADO_NO_CHECKOUT,"),
        QStringLiteral("  VALIDADE_LIM_CREDITO,"),
        QStringLiteral("  VL_LIMITE_CREDITO,"),
        QStringLiteral("  CREDITO_BLOQUEADO,"),
        QStringLiteral("  VL_MAIOR_COMPRA,"),
        QStringLiteral("  NR_DIAS_MAIOR_ATRASO,"),
        QStringLiteral("  DATA_PRIMEIRA_COMPRA,"),
        QStringLiteral("  DATA_ULTIMA_COMPRA,"),
        QStringLiteral("  VL_TITULOS_ABERTOS,"),
        QStringLiteral("  NR_TITULOS_ABERTOS,"),
        QStringLiteral("  NR_TITULOS_VENCIDOS,"),
        QStringLiteral("  VL_MEDIA_COMPRA,"),
        QStringLiteral("  ID_PRAZO,"),
        QStringLiteral("  OBS_ANALISE_CREDITO) "),
        QStringLiteral("VALUES"),
        QStringLiteral(" (:pIdCliente,"),
        QStringLiteral("  :pCdCliente,"),
        QStringLiteral("  :pCPF_CNPJ,"),
        QStringLiteral("  :pTpPessoa,"),
        QStringLiteral("  :pDsApelidoNmFantasia,"),
        QStringLiteral("  :pNmCliente,"),
        QStringLiteral("  :pNmEndereco,"),
        QStringLiteral("  :pNmBairro,"),
        QStringLiteral("  :pNmCidade,"),
        QStringLiteral("  :pCdUF,"),
        QStringLiteral("  :pCdCEP,"),
        QStringLiteral("  :pAlDesconto,"),
        QStringLiteral("  :pCI_IE,"),
        QStringLiteral("  :pOBS,"),
        QStringLiteral("  :pNrTelefone,"),
        QStringLiteral("  :pSexo,"),
        QStringLiteral("  :pCelular,"),
        QStringLiteral("  :pNascimento,"),
        QStringLiteral("  :pEmail,"),
        QStringLiteral("  :pAtivo,"),
        QStringLiteral("  :pComplementoEndereco,"),
        QStringLiteral("  :pFalse,"),
        QStringLiteral("  :pValidadeLimiteCredito,"),
        QStringLiteral("  :pValorLimiteCredito,"),
        QStringLiteral("  :pCreditoBloqueado,"),
        QStringLiteral("  :pValorMaiorCompra,"),
        QStringLiteral("  :pNrDiasMaiorAtraso,"),
        QStringLiteral("  :pDataPrimeiraCompra,"),
        QStringLiteral("  :pDataUltimaCompra,"),
        QStringLiteral("  :pValorTitulosAbertos,"),
        QStringLiteral("  :pNumeroTitulosAbertos,"),
        QStringLiteral("  :pNumeroTitulosVencidos,"),
        QStringLiteral("  :pValorMedioCompras,"),
        QStringLiteral("  :pIdPrazo,"),
        QStringLiteral("  :pObsAnaliseCredito)"),
    });
    return sql;
}

// The INSERT of the current record of Clientes.dat. Fields are read with
// their own conversion (null: empty text, 0, the zero date); a field the
// file lacks raises, except ObsAnaliseCredito, which older files do not have.
QString MontarInsertCliente(TClientDataSet& Clientes, TParams& P) {
    const auto texto = [&](const char* campo) { return Clientes.FieldByName(QLatin1String(campo)).AsString(); };
    const auto numero = [&](const char* campo) { return Clientes.FieldByName(QLatin1String(campo)).AsFloat(); };
    const auto inteiro = [&](const char* campo) { return Clientes.FieldByName(QLatin1String(campo)).AsInteger(); };
    const auto data = [&](const char* campo) { return Clientes.FieldByName(QLatin1String(campo)).AsDate(); };
    const auto flag = [&](const char* campo) { return Clientes.FieldByName(QLatin1String(campo)).AsBoolean() ? 1 : 0; };
    const auto par = [&](TFieldType tipo, const char* nome) -> TParam& {
        return P.CreateParam(tipo, QLatin1String(nome));
    };

    const QString cpfCnpj = texto("CPF_CNPJ");
    const QString nome = texto("NmCliente");
    par(ftString, "pIdCliente").SetAsString(texto("IdPessoa"));
    par(ftString, "pCdCliente").SetAsString(texto("CdChamada"));
    par(ftString, "pCPF_CNPJ").SetAsString(cpfCnpj);
    par(ftSmallint, "pTpPessoa").SetAsSmallInt(ObterTipoPessoa(cpfCnpj));
    par(ftString, "pDsApelidoNmFantasia").SetAsString(nome.left(50));
    par(ftString, "pNmCliente").SetAsString(nome);
    par(ftString, "pNmEndereco").SetAsString(texto("DsLogradouro"));
    par(ftString, "pNmBairro").SetAsString(texto("NmBairro"));
    par(ftString, "pNmCidade").SetAsString(texto("NmCidade"));
    par(ftString, "pCdUF").SetAsString(texto("NmUF"));
    par(ftString, "pCdCEP").SetAsString(texto("CdCep"));
    par(ftFloat, "pAlDesconto").SetAsFloat(numero("AlDesconto"));
    par(ftString, "pCI_IE").SetAsString(texto("NrCI"));
    par(ftString, "pOBS").SetAsString(texto("NmObservacao"));
    par(ftString, "pNrTelefone").SetAsString(texto("NrTelefone"));
    par(ftSmallint, "pSexo").SetAsSmallInt(ObterSexo(texto("Sexo")) == 2 ? 0 : 1);
    par(ftString, "pCelular").SetAsString(texto("NrCelular"));
    par(ftDate, "pNascimento").SetAsDate(data("DtNascimento"));
    par(ftString, "pEmail").SetAsString(texto("Email"));
    par(ftInteger, "pAtivo").SetAsInteger(flag("StAtivo"));
    par(ftString, "pComplementoEndereco").SetAsString(texto("DsComplemento"));
    par(ftInteger, "pFalse").SetAsInteger(0);
    par(ftDate, "pValidadeLimiteCredito").SetAsDate(data("DtValidadeLimCredito"));
    par(ftFloat, "pValorLimiteCredito").SetAsFloat(numero("VlLimiteCredito"));
    par(ftInteger, "pCreditoBloqueado").SetAsInteger(flag("StCreditoBloqueado"));
    par(ftFloat, "pValorMaiorCompra").SetAsFloat(numero("VlMaiorCompra"));
    par(ftInteger, "pNrDiasMaiorAtraso").SetAsInteger(inteiro("NrDiasMaiorAtraso"));
    par(ftDate, "pDataPrimeiraCompra").SetAsDate(data("Dt1aCompra"));
    par(ftDate, "pDataUltimaCompra").SetAsDate(data("DtUltimaCompra"));
    par(ftFloat, "pValorTitulosAbertos").SetAsFloat(numero("VlTitulosAberto"));
    par(ftInteger, "pNumeroTitulosAbertos").SetAsInteger(inteiro("NrTitulosAberto"));
    par(ftInteger, "pNumeroTitulosVencidos").SetAsInteger(inteiro("NrTitulosVencidos"));
    // There is no VL_TITULOS_VENCIDOS column: this field fills VL_MEDIA_COMPRA.
    par(ftFloat, "pValorMedioCompras").SetAsFloat(numero("VlTitulosVencidos"));
    par(ftString, "pIdPrazo").SetAsString(texto("IdPrazo"));
    par(ftString, "pObsAnaliseCredito")
        .SetAsString(TImportacao::ObterValorCampo(Clientes, QStringLiteral("ObsAnaliseCredito"), QString()).toString());
    return SqlInsertCliente();
}

// ---- the search for a checkout customer's back-office counterpart ----------

enum class TResultadoBusca { Falhou, Unico, NenhumOuVarios };

struct TBusca {
    TResultadoBusca Resultado = TResultadoBusca::NenhumOuVarios;
    QString IdCliente;
    QString CpfCnpj;  // read by the searches that check it
};

// One search query among the back-office customers: the fixed first line and
// the condition lines. It settles the search when it returns exactly one row.
TBusca ConsultarClienteRetaguarda(TGateway& Gateway, std::initializer_list<QString> Condicoes,
                                  const TParams& Params, bool LerCpfCnpj) {
    QStringList linhas{LerCpfCnpj
                           ? QStringLiteral("SELECT IDCLIENTE, CPF_CNPJ FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 0 AND ")
                           : QStringLiteral("SELECT IDCLIENTE FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 0 AND ")};
    linhas.append(QStringList(Condicoes));
    std::unique_ptr<TQuery> q;
    TBusca b;
    if (!Gateway.AbrirQuery(linhas.join(QStringLiteral("\r\n")), Params, q)) {
        b.Resultado = TResultadoBusca::Falhou;
        return b;
    }
    if (q->RecordCount() != 1) return b;
    q->First();
    b.Resultado = TResultadoBusca::Unico;
    b.IdCliente = q->FieldByName(QStringLiteral("IdCliente")).AsString();
    if (LerCpfCnpj) b.CpfCnpj = q->FieldByName(QStringLiteral("CPF_CNPJ")).AsString();
    return b;
}

// A match found by mobile number or by name is the same person only when its
// CPF/CNPJ is empty or has the same digits as the checkout customer's: a
// spouse sharing a phone is someone else.
bool MesmoCpfCnpj(const QString& Encontrado, const QString& CpfCnpjCheckout) {
    const QString digitos = OnlyNumber(Encontrado, 0);
    return digitos.isEmpty() || digitos == OnlyNumber(CpfCnpjCheckout, 0);
}

// The IDCLIENTE of the one back-office customer that matches, by CPF/CNPJ as
// stored, else by mobile number, else by mobile number and name; empty when
// none is unique, when the match fails the CPF rule, or when a query could
// not be opened (a failed search never falls through to a weaker one).
QString BuscarClienteRetaguarda(TGateway& Gateway, const QString& CpfCnpj, const QString& Celular,
                                const QString& Nome) {
    if (!CpfCnpj.isEmpty()) {
        TParams p;
        p.CreateParam(ftString, QStringLiteral("pCpfCnpj")).SetAsString(CpfCnpj);
        const TBusca b = ConsultarClienteRetaguarda(Gateway, {QStringLiteral("  CPF_CNPJ = :pCpfCnpj ")}, p, false);
        if (b.Resultado == TResultadoBusca::Falhou) return {};
        if (b.Resultado == TResultadoBusca::Unico) return b.IdCliente;
    }
    const auto aceitar = [&](const TBusca& b) { return MesmoCpfCnpj(b.CpfCnpj, CpfCnpj) ? b.IdCliente : QString(); };
    if (!Celular.isEmpty()) {
        TParams p;
        p.CreateParam(ftString, QStringLiteral("pNrTelefone")).SetAsString(Celular);
        const TBusca b = ConsultarClienteRetaguarda(Gateway, {QStringLiteral("  NRCELULAR = :pNrTelefone ")}, p, true);
        if (b.Resultado == TResultadoBusca::Falhou) return {};
        if (b.Resultado == TResultadoBusca::Unico) return aceitar(b);
    }
    // Runs also without a mobile number: then it matches an empty one.
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pNrTelefone")).SetAsString(Celular);
    p.CreateParam(ftString, QStringLiteral("pNMCliente")).SetAsString(Nome);
    const TBusca b = ConsultarClienteRetaguarda(
        Gateway, {QStringLiteral("  NRCELULAR = :pNrTelefone AND"), QStringLiteral("  NMCLIENTE = :pNMCliente ")}, p,
        true);
    return b.Resultado == TResultadoBusca::Unico ? aceitar(b) : QString();
}

// True while the export queue still holds the checkout customer's
// registration (or when that cannot be told): the export sends it only once
// it finds a sale under the checkout id, and after a merge no sale carries
// that id, so the merge waits for a later run.
bool AguardandoExportacao(TGateway& Gateway, const QString& IdCliente) {
    std::unique_ptr<TQuery> q;
    if (!Gateway.AbrirQuery(QStringLiteral("SELECT IDCLIENTE FROM CLIENTEEXP WHERE IDCLIENTE = :pIdCliente"),
                            ParametroCliente(IdCliente), q))
        return true;
    return !q->IsEmpty();
}

// ---- the merge -------------------------------------------------------------

// Sales and tables of the checkout customer to the back-office id. True when
// both statements ran (a customer without sales or tables is normal).
bool TransferirClienteMovimento(TGateway& Gateway, const QString& IdAntigo, const QString& IdNovo) {
    const TParams p = ParametrosTransferencia(IdAntigo, IdNovo);
    const bool movimento = ExecutarAtualizacao(Gateway,
                                               Linhas({QStringLiteral("UPDATE"), QStringLiteral("  MOVIMENTO "),
                                                       QStringLiteral("SET"),
                                                       QStringLiteral("  ID_CLIENTE = :pIdClienteNovo "),
                                                       QStringLiteral("WHERE"),
                                                       QStringLiteral("  ID_CLIENTE = :pIdClienteAntigo ")}),
                                               &p);
    const bool mesas = ExecutarAtualizacao(Gateway,
                                           Linhas({QStringLiteral("UPDATE"), QStringLiteral("  MESAS "),
                                                   QStringLiteral("SET"),
                                                   QStringLiteral("  ID_CLIENTE = :pIdClienteNovo "),
                                                   QStringLiteral("WHERE"),
                                                   QStringLiteral("  ID_CLIENTE = :pIdClienteAntigo ")}),
                                           &p);
    return movimento && mesas;
}

// The checkout customer's complement to the back-office id, only when the
// back-office customer has none: a customer with two complements would make
// the copy of the reference points fail in every later run. When it has one,
// the checkout customer's complement stays where it is; that is success.
bool TransferirClienteComplemento(TGateway& Gateway, const QString& IdAntigo, const QString& IdNovo) {
    std::unique_ptr<TQuery> q;
    if (!Gateway.AbrirQuery(QStringLiteral("SELECT IDCLIENTE FROM CLIENTE_COMPLEMENTO WHERE IDCLIENTE = :pIdCliente"),
                            ParametroCliente(IdNovo), q))
        return false;
    if (!q->IsEmpty()) return true;
    const TParams p = ParametrosTransferencia(IdAntigo, IdNovo);
    return ExecutarAtualizacao(Gateway,
                               Linhas({QStringLiteral("UPDATE"), QStringLiteral("  CLIENTE_COMPLEMENTO"),
                                       QStringLiteral("SET"), QStringLiteral("  IDCLIENTE = :pIdClienteNovo "),
                                       QStringLiteral("WHERE"), QStringLiteral("  IDCLIENTE = :pIdClienteAntigo")}),
                               &p);
}

// Only a checkout-registered row can be removed this way.
bool ExcluirClienteCheckout(TGateway& Gateway, const QString& IdAntigo) {
    return Gateway.ExecutarDelete(Linhas({QStringLiteral("DELETE FROM"), QStringLiteral("  CLIENTES "),
                                          QStringLiteral("WHERE"), QStringLiteral("  CADASTRADO_NO_CHECKOUT = 1 AND"),
                                          QStringLiteral("  IDCLIENTE = :pIdCliente")}),
                                  ParametroCliente(IdAntigo));
}

// Merges every checkout customer that has a unique back-office counterpart.
// The checkout row is deleted only when its sales, tables and complement
// were all moved; a customer whose search or transfer failed stays as it is
// and is examined again by the next run. Always true: a customer left
// unmerged is no failure of the import.
bool UnificarClientesCheckout(TGateway& Gateway) {
    std::unique_ptr<TQuery> q;
    const QString sql = Linhas({QStringLiteral("SELECT"), QStringLiteral("  CPF_CNPJ, "), QStringLiteral("  NMCLIENTE, "),
                                QStringLiteral("  NR_TELEFONE, "), QStringLiteral("  NRCELULAR, "),
                                QStringLiteral("  IDCLIENTE "), QStringLiteral("FROM"), QStringLiteral("  CLIENTES "),
                                QStringLiteral("WHERE "), QStringLiteral("  CADASTRADO_NO_CHECKOUT = 1")});
    if (!Gateway.AbrirQuery(sql, nullptr, q)) return true;  // the checkout customers stay unchanged
    for (q->First(); !q->Eof(); q->Next()) {
        const QString idAntigo = q->FieldByName(QStringLiteral("IDCLIENTE")).AsString();
        if (AguardandoExportacao(Gateway, idAntigo)) continue;
        const QString idNovo = BuscarClienteRetaguarda(Gateway, q->FieldByName(QStringLiteral("CPF_CNPJ")).AsString(),
                                                       q->FieldByName(QStringLiteral("NRCELULAR")).AsString(),
                                                       q->FieldByName(QStringLiteral("NMCLIENTE")).AsString());
        if (idNovo.isEmpty()) continue;
        if (TransferirClienteMovimento(Gateway, idAntigo, idNovo) &&
            TransferirClienteComplemento(Gateway, idAntigo, idNovo))
            ExcluirClienteCheckout(Gateway, idAntigo);
    }
    return true;
}

// The generic rewrite with its guard: the hint before the delete, which
// removes the back-office customers only; after the last record the merge;
// the summary entry ends with a point.
bool ImportarClientes(TImportacao& Importacao, TGateway& Gateway) {
    TClientDataSet& clientes = Importacao.cdsClientes;
    if (!clientes.Active() || clientes.IsEmpty()) return true;
    TReescritaTabela r;
    r.DataSet = &clientes;
    r.SqlDelete = QStringLiteral("DELETE FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 0");
    r.TextoProgresso = QStringLiteral("Importando arquivo de clientes ");
    r.ProgressoAntesDoDelete = true;
    r.MontarInsert = [&clientes](TParams& p) { return MontarInsertCliente(clientes, p); };
    const bool ok = Importacao.ReescreverTabela(Gateway, r);
    UnificarClientesCheckout(Gateway);
    if (ok) Importacao.AdicionarArquivoImportado(kClientesDat, QStringLiteral("."));
    return ok;
}

// Every customer row takes the reference point of its complement (null when
// it has none). Runs in every run; a store without customers has nothing to
// copy, which is success. A customer with two complements is a database
// error and fails the step.
bool AtualizarPontoReferencia(TGateway& Gateway) {
    return ExecutarAtualizacao(
        Gateway, Linhas({QStringLiteral("UPDATE"), QStringLiteral("  CLIENTES C "), QStringLiteral("SET"),
                         QStringLiteral("  C.PONTO_REFERENCIA = (SELECT"),
                         QStringLiteral("                          CP.PONTO_REFERENCIA"),
                         QStringLiteral("                        FROM"),
                         QStringLiteral("                          CLIENTE_COMPLEMENTO CP"),
                         QStringLiteral("                        WHERE"),
                         QStringLiteral("                          CP.IDCLIENTE = C.IDCLIENTE)")}));
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarClientes(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando clientes no banco de dados..."),
                       {[&] { return CarregarClientes(*this); },
                        [&] { return ImportarClientes(*this, Gateway); },
                        [&] { return AtualizarPontoReferencia(Gateway); }});
}

}  // namespace vesko
